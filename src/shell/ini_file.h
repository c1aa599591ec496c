#pragma once
// The program's INI file ("kovra.ini") and others of its kind. Sections and keys are kept as
// they stand in the file, whether written by the program or by hand, together with comments
// and blank lines, and written back in the same order. A key is any text before the first
// "=" (file paths included: "/" has no special meaning). Section names match without regard
// to the case of ASCII letters; keys match exactly, since paths differing only in case are
// different files here. Values are kept as bytes, whatever their code page.
#include <optional>
#include <string>
#include <vector>

namespace kovra::shell {

// Larger files are not read.
inline constexpr std::size_t ini_size_limit = 16u << 20;

class ini_file {
public:
  // Replaces the content with the file's; false (and empty) when it cannot be read.
  bool load(const std::string& path);
  // Writes the content to `path` through a temporary file in the same folder; on failure
  // `error_code` gets the system's error number and the old file stays. A file without
  // write permission (read-only) is refused with EACCES and left as it is.
  bool save(const std::string& path, int* error_code = nullptr) const;

  void parse(const std::string& text);
  std::string text() const;

  std::optional<std::string> read(const std::string& section, const std::string& key) const;
  std::string read_string(const std::string& section, const std::string& key, const std::string& fallback) const;
  // Leading blanks, an optional sign and decimal digits; fallback when there are none.
  long read_int(const std::string& section, const std::string& key, long fallback) const;
  // Replaces the value of an existing key, else appends the key at the end of its section
  // (a missing section is added at the end of the file).
  void write(const std::string& section, const std::string& key, const std::string& value);
  bool erase_key(const std::string& section, const std::string& key);
  void erase_section(const std::string& section);

  std::vector<std::string> sections() const;
  std::vector<std::string> keys(const std::string& section) const;
  bool has_section(const std::string& section) const;

private:
  struct line {
    std::string raw;      // the line as read (without the line end), for comments and blanks
    std::string key;      // entries
    std::string value;
    bool entry = false;
  };
  struct section_lines {
    std::string name;  // "" for lines before the first section
    std::vector<line> lines;
  };
  section_lines* find(const std::string& section);
  const section_lines* find(const std::string& section) const;

  std::vector<section_lines> sections_;
};

// One read or write of a file (what the program does for each value it stores). A file that
// exists but cannot be read is not written over.
std::optional<std::string> ini_read(const std::string& path, const std::string& section, const std::string& key);
bool ini_write(const std::string& path, const std::string& section, const std::string& key,
               const std::string& value, int* error_code = nullptr);

} // namespace kovra::shell
