#pragma once
// A container file of sections (kovra.cfg, kovra.psd) held for one operation: the header is
// checked at open, the sections after it are read and rewritten as a whole.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kovra::shell {

enum class section_open_status {
  ok,
  missing,        // no such file
  cannot_open,    // exists but cannot be opened (rights, held by another program)
  foreign,        // not a configuration container of this program
  wrong_version,  // a configuration container of another format version
  create_failed,
};

enum class section_access {
  read_shared,      // read-only; others may read too
  write_exclusive,  // read-write; nobody else may open the file meanwhile
};

// Bodies larger than this are not read (a configuration is a few tens of kilobytes).
inline constexpr std::size_t section_body_limit = 64u << 20;

class section_file {
public:
  virtual ~section_file() = default;
  // Every byte after the 293-byte header; nothing when it cannot be read or is too large.
  virtual std::optional<std::vector<uint8_t>> read_body() = 0;
  // Replaces everything after the header with `body` and flushes.
  virtual bool write_body(std::span<const uint8_t> body) = 0;
};

// Opens `path` checking that it is a configuration container (file type 41) of the program's
// format version; the file's open counter is left alone.
std::unique_ptr<section_file> open_section_file(const std::string& path, section_access access,
                                                section_open_status& status);
// Creates (or truncates) `path` as an empty configuration container described as
// "Konfiguracja programu", held exclusively.
std::unique_ptr<section_file> create_section_file(const std::string& path, section_open_status& status);

} // namespace kovra::shell
