// kovra-cli info FILE: the container's file header as JSON.
#include "cli/command.h"
#include "store/codepage.h"
#include "store/container.h"

#include <cstring>
#include <nlohmann/json.hpp>
#include <ostream>

namespace kovra::cli {
namespace {

std::string header_text(const char* bytes, size_t size) {
  return store::mazovia_to_utf8(std::string_view(bytes, strnlen(bytes, size)));
}

int run_info(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) {
    err << "usage: kovra-cli info FILE\n";
    return exit_usage;
  }
  const std::string& path = args[0];
  store::file_header h;
  const int handle = store::open_container(path, store::STORAGE_DIRECT, store::OPEN_READ_SHARED | store::OPEN_KEEP_COUNT,
                                           0, 0, 0, &h);
  if (handle < 0) {
    const uint8_t code = store::last_open_error();
    err << "kovra-cli: " << path << ": "
        << (code == store::OPEN_BAD_MAGIC ? "not a container" : code == store::OPEN_NOT_FOUND ? "file not found"
                                                                                              : "cannot be opened")
        << " (" << int(code) << ")\n";
    return exit_cannot_open;
  }
  store::close_container(handle);
  nlohmann::ordered_json j;
  j["file"] = path;
  j["magic"] = std::string(h.magic, 2);
  j["file_type"] = h.file_type;
  j["version"] = h.version;
  j["revision"] = h.revision;
  j["open_count"] = h.open_count;
  j["flags"] = h.flags;
  j["kind"] = h.kind();
  j["compressed"] = h.compressed();
  j["label"] = header_text(h.label.data(), h.label.size());
  j["creator"] = header_text(h.creator.data(), h.creator.size());
  j["description"] = store::mazovia_to_utf8(store::header_description(h));
  nlohmann::json lines = nlohmann::json::array();
  for (size_t i = 0; i < 4; ++i) lines.push_back(header_text(h.description.data() + 56 * i, 56));
  j["description_lines"] = lines;
  out << j.dump(2) << "\n";
  return exit_ok;
}

const command_registration reg{{"info", "FILE", "print a container's file header as JSON", run_info}};

} // namespace
} // namespace kovra::cli
