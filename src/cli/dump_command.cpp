// kovra-cli dump FILE [--json]: the whole document in its JSON form (read only).
// kovra-cli build SPEC.json -o FILE: a new estimate file from that form.
#include "cli/command.h"
#include "cli/survey_codec.h"
#include "document/estimate_file.h"

#include <fstream>
#include <ostream>

namespace kovra::cli {
namespace {

int run_dump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string file;
  for (const auto& a : args) {
    if (a == "--json") continue;  // JSON is the only form
    if (file.empty() && !a.empty() && a[0] != '-') file = a;
    else {
      err << "usage: kovra-cli dump FILE [--json]\n";
      return exit_usage;
    }
  }
  if (file.empty()) {
    err << "usage: kovra-cli dump FILE [--json]\n";
    return exit_usage;
  }
  nlohmann::json doc;
  std::string error = document::dump_estimate_file(file, doc, document_json_options());
  if (!error.empty()) {
    err << "kovra-cli: " << error << "\n";
    return exit_cannot_open;
  }
  out << doc.dump(1) << "\n";
  return exit_ok;
}

int run_build(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string spec, target;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size()) target = args[++i];
    else if (spec.empty() && !args[i].empty() && args[i][0] != '-') spec = args[i];
    else spec.clear(), target.clear(), i = args.size();
  }
  if (spec.empty() || target.empty()) {
    err << "usage: kovra-cli build SPEC.json -o FILE\n";
    return exit_usage;
  }
  std::ifstream in(spec, std::ios::binary);
  if (!in) {
    err << "kovra-cli: " << spec << ": cannot open the file\n";
    return exit_cannot_open;
  }
  nlohmann::json doc = nlohmann::json::parse(in, nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) {
    err << "kovra-cli: " << spec << ": not an estimate in JSON form\n";
    return exit_cannot_open;
  }
  std::string error = document::build_estimate_file(doc, target, document_json_options());
  if (!error.empty()) {
    err << "kovra-cli: " << spec << ": " << error << "\n";
    return exit_failed;
  }
  (void)out;
  return exit_ok;
}

const command_registration dump_reg{{"dump", "FILE [--json]", "print a whole estimate as JSON", run_dump}};
const command_registration build_reg{
    {"build", "SPEC.json -o FILE", "write a new estimate file from its JSON form", run_build}};

} // namespace
} // namespace kovra::cli
