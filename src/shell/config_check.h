#pragma once
// The structural check of a configuration or users file: its header and every section,
// located by offset. Opens the file read-only and changes nothing.
#include <cstdint>
#include <string>
#include <vector>

namespace kovra::shell {

struct section_summary {
  std::string tag;
  int version = 0;
  int current = 0;
  int count = 0;
  uint64_t offset = 0;  // from the start of the file
  uint64_t size = 0;    // header included
};

struct config_check_report {
  bool readable = false;      // a configuration container of this program that could be read
  std::string open_problem;   // why not (UTF-8)
  bool users_file = false;    // "USER"/"CMNY" sections rather than the configuration's
  int file_type = 0;
  int version = 0;
  int revision = 0;
  uint64_t length = 0;
  std::vector<section_summary> sections;
  std::vector<std::string> problems;  // "offset N: what"
  bool ok() const { return readable && problems.empty(); }
};

config_check_report check_config_file(const std::string& path);
// The same over the bytes after the header (offsets still count the header).
void check_config_sections(const uint8_t* data, std::size_t size, config_check_report& report);

} // namespace kovra::shell
