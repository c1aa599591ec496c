#pragma once
// Small text helpers for stored texts (Mazovia bytes; a blank is the byte ' ').
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::store {

// split_lines flags
inline constexpr int SPLIT_LINE_FEEDS_TO_BLANKS = 1;  // line feeds become blanks before splitting
inline constexpr int SPLIT_MARK_BREAKS = 2;           // each break is written into `text` as a line feed
inline constexpr int SPLIT_AT_LINE_FEEDS = 4;         // a line feed is a forced break

// Splits `text` into lines of at most `width` characters. Words stay whole: a line is
// broken at the last blank that keeps it within width (blanks at a break are dropped).
// A carriage return before a line feed goes with the line feed. Empty text gives no
// lines; a final line feed does not start another line. Fails (nullopt) when a word is
// longer than width or width is below 1; `text` is then left as it was. `text` changes
// only with SPLIT_MARK_BREAKS (and then also carries the blanks of flag 1).
std::optional<std::vector<std::string>> split_lines(std::string& text, int width, int flags);

// Copies at most size - 1 bytes of `text` into `out` and always terminates (size 0
// writes nothing); a null text gives an empty string. Returns the length copied.
std::size_t bounded_copy(char* out, std::string_view text, std::size_t size);
std::size_t bounded_copy(char* out, const char* text, std::size_t size);

// Appends to the terminated text in `out` (capacity `size`, terminator included) as
// much of `text` as fits. A buffer without a terminator within `size` is taken as full
// and terminated at its end. Returns the resulting length.
std::size_t bounded_append(char* out, std::string_view text, std::size_t size);
std::size_t bounded_append(char* out, const char* text, std::size_t size);

// bounded_copy of the texts one after the other. Returns the resulting length.
std::size_t join_texts(char* out, std::size_t size, std::initializer_list<std::string_view> texts);

// Without the blanks at both ends.
std::string trim(std::string_view text);
// Without any blank.
std::string remove_blanks(std::string_view text);

} // namespace kovra::store
