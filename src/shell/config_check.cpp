#include "shell/config_check.h"

#include "shell/config.h"
#include "shell/section_file.h"
#include "shell/users.h"
#include "store/container.h"
#include "store/file_header.h"

#include <fstream>

namespace kovra::shell {
namespace {

constexpr uint32_t TAG_USER = section_tag("USER");
constexpr uint32_t TAG_CMNY = section_tag("CMNY");

} // namespace

void check_config_sections(const uint8_t* data, std::size_t size, config_check_report& report) {
  // The first section decides which file this is.
  report.users_file = false;
  if (size >= 4) {
    uint32_t first = get_u32(data);
    report.users_file = first == TAG_USER || first == TAG_CMNY;
  }
  Config c;
  Cfg_Psd psd;
  byte_reader r(data, size);
  while (true) {
    const uint8_t* start = r.position();
    uint64_t offset = store::file_header_size + uint64_t(start - data);
    section_header h;
    section_read s = report.users_file ? read_users_section(psd, r, h) : read_config_section(c, r, h);
    if (s == section_read::end) {
      if (r.remaining() > 0)
        report.problems.push_back("offset " + std::to_string(offset) + ": " + std::to_string(r.remaining()) +
                                  " bytes after the last section");
      return;
    }
    if (s == section_read::unknown_tag) {
      report.problems.push_back("offset " + std::to_string(offset) + ": unknown section \"" + tag_text(h.tag) + "\"");
      return;
    }
    if (s == section_read::cut_short) {
      report.problems.push_back("offset " + std::to_string(offset) + ": section \"" + tag_text(h.tag) +
                                "\" is cut short");
      return;
    }
    report.sections.push_back(section_summary{tag_text(h.tag), h.version, h.current, h.count, offset,
                                              uint64_t(r.position() - start)});
  }
}

config_check_report check_config_file(const std::string& path) {
  config_check_report report;
  section_open_status status;
  auto file = open_section_file(path, section_access::read_shared, status);
  if (!file) {
    switch (status) {
    case section_open_status::missing: report.open_problem = "no such file"; break;
    case section_open_status::foreign: report.open_problem = "not a configuration file of this program"; break;
    case section_open_status::wrong_version: report.open_problem = "another format version"; break;
    default: report.open_problem = "cannot be opened"; break;
    }
    return report;
  }
  std::ifstream f(path, std::ios::binary);
  uint8_t raw[store::file_header_size] = {};
  f.read(reinterpret_cast<char*>(raw), sizeof raw);
  store::file_header h = store::decode_file_header(raw);
  report.file_type = h.file_type;
  report.version = h.version;
  report.revision = h.revision;
  auto body = file->read_body();
  if (!body) {
    report.open_problem = "cannot be read";
    return report;
  }
  report.readable = true;
  report.length = store::file_header_size + body->size();
  check_config_sections(body->data(), body->size(), report);
  return report;
}

} // namespace kovra::shell
