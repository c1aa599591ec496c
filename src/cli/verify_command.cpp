// kovra-cli verify FILE [--json]: the integrity check of a container.
#include "cli/command.h"
#include "shell/config_check.h"
#include "store/file_header.h"
#include "store/integrity_check.h"

#include <nlohmann/json.hpp>
#include <fstream>
#include <ostream>

namespace kovra::cli {
namespace {

nlohmann::ordered_json report_json(const store::integrity_report& r) {
  nlohmann::ordered_json j;
  j["ok"] = r.ok();
  j["file_type"] = r.header.file_type;
  j["version"] = r.header.version;
  j["revision"] = r.header.revision;
  j["kind"] = r.header.kind();
  j["compressed"] = r.header.compressed();
  j["length"] = r.length;
  j["blocks"] = r.blocks;
  j["free_blocks"] = r.free_blocks;
  j["free_bytes"] = r.free_bytes;
  nlohmann::ordered_json sets = nlohmann::ordered_json::array();
  for (const auto& s : r.sets) {
    nlohmann::ordered_json set;
    set["set_no"] = s.set_no;
    nlohmann::ordered_json chains = nlohmann::ordered_json::array();
    for (const auto& c : s.chains) chains.push_back({{"chain", c.chain}, {"type", c.type}, {"count", c.count}});
    set["chains"] = chains;
    nlohmann::ordered_json keys = nlohmann::ordered_json::array();
    for (const auto& k : s.keys) keys.push_back({{"index", k.index}, {"count", k.count}, {"levels", k.levels}});
    set["keys"] = keys;
    sets.push_back(set);
  }
  j["sets"] = sets;
  j["checksum"] = r.checksum;
  j["problems"] = r.problems;
  return j;
}

// Configuration and users files hold sections after the header, not blocks.
bool is_config_container(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  uint8_t raw[store::file_header_size];
  if (!f.read(reinterpret_cast<char*>(raw), sizeof raw)) return false;
  store::file_header h = store::decode_file_header(raw);
  return h.magic_ok() && h.file_type == store::FILE_TYPE_CONFIG;
}

int verify_config(const std::string& path, bool json, std::ostream& out, std::ostream& err) {
  const shell::config_check_report r = shell::check_config_file(path);
  if (!r.readable) {
    err << "kovra-cli: " << path << ": " << r.open_problem << "\n";
    return exit_cannot_open;
  }
  if (json) {
    nlohmann::ordered_json j;
    j["ok"] = r.ok();
    j["file_type"] = r.file_type;
    j["version"] = r.version;
    j["revision"] = r.revision;
    j["length"] = r.length;
    j["users_file"] = r.users_file;
    nlohmann::ordered_json sections = nlohmann::ordered_json::array();
    for (const auto& s : r.sections)
      sections.push_back({{"tag", s.tag}, {"version", s.version}, {"current", s.current}, {"count", s.count},
                          {"offset", s.offset}, {"size", s.size}});
    j["sections"] = sections;
    j["problems"] = r.problems;
    out << j.dump(2) << "\n";
  } else if (r.ok()) {
    out << "ok\n";
  } else {
    for (const auto& p : r.problems) out << p << "\n";
  }
  return r.ok() ? exit_ok : exit_failed;
}

int run_verify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  bool json = false;
  bool bad = false;
  std::string path;
  for (const auto& a : args) {
    if (a == "--json") json = true;
    else if (path.empty() && !a.empty() && a[0] != '-') path = a;
    else bad = true;
  }
  if (path.empty() || bad) {
    err << "usage: kovra-cli verify FILE [--json]\n";
    return exit_usage;
  }
  if (is_config_container(path)) return verify_config(path, json, out, err);
  const store::integrity_report r = store::check_container(path);
  if (!r.is_container) {
    err << "kovra-cli: " << path << ": " << r.open_problem << "\n";
    return exit_cannot_open;
  }
  if (json) {
    out << report_json(r).dump(2) << "\n";
  } else if (r.ok()) {
    out << "ok\n";
  } else {
    for (const auto& p : r.problems) out << p << "\n";
  }
  return r.ok() ? exit_ok : exit_failed;
}

const command_registration reg{
    {"verify", "FILE [--json]", "check a container's blocks, lists, chains, key indexes and checksum", run_verify}};

} // namespace
} // namespace kovra::cli
