#pragma once
// The copy of a document kept beside it while it is open for work (".kvr" -> ".kv~"). A
// copy found at open is a leftover of a program that did not close the document: the
// caller's decision says whether to restore it over the document.
#include <cstdint>
#include <functional>
#include <string>

namespace kovra::store {

enum class leftover_choice { ignore, restore, stop };
using leftover_decision = std::function<leftover_choice(const std::string& document, const std::string& copy)>;

// Ignores a copy that is both smaller and older than the document; otherwise shows
// message 180 with the document's path and restores.
leftover_choice standard_leftover_decision(const std::string& document, const std::string& copy);

// Before the document is opened: handles a leftover copy. Returns the last-open-error code
// (0 to go on; 243 refused; 244 restoring failed; 245 no document). `open_mode` is forced
// to 3 (bit 3 kept) when the document is read-only on disk. `copy_is_ours` becomes false
// when the copy belongs to another open of the same document that is still alive: it is
// then neither restored nor replaced.
uint8_t prepare_working_copy(const std::string& document, const leftover_decision& decision, int& open_mode,
                             bool& copy_is_ours);

// Writes a fresh copy of the document's disk bytes (64 KB steps) and flushes it.
bool write_working_copy(const std::string& document, const std::string& copy);

} // namespace kovra::store
