#include "cli/recalculated_file.h"

#include <fstream>

#include <nlohmann/json.hpp>

#include "calc/estimate_json.h"
#include "calc/record_model.h"
#include "cli/command.h"

namespace kovra::cli {

namespace {

bool ends_with(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string from_json_file(const std::string& file, recalculated_file& out, int& exit_status) {
  exit_status = exit_cannot_open;
  std::ifstream in(file, std::ios::binary);
  if (!in) return file + ": cannot open the file";
  const nlohmann::json doc = nlohmann::json::parse(in, nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) return file + ": not an estimate in JSON form";
  std::string error;
  out.compound = calc::json_is_compound(doc);
  if (out.compound) {
    if (!calc::compound_from_json(doc, out.compound_model, error)) return file + ": " + error;
    out.compound_result = calc::recalculate_compound(out.compound_model);
  } else {
    if (!calc::estimate_from_json(doc, out.model, error)) return file + ": " + error;
    out.result = calc::recalculate(out.model);
  }
  exit_status = exit_ok;
  return {};
}

std::string from_estimate_file(const std::string& file, recalculated_file& out, int& exit_status) {
  std::string error;
  exit_status = calc::recalculate_estimate_file(file, out, error) ? exit_ok : exit_cannot_open;
  return error;
}

} // namespace

std::string recalculate_file(const std::string& file, recalculated_file& out, int& exit_status) {
  out = recalculated_file{};
  return ends_with(file, ".json") ? from_json_file(file, out, exit_status) : from_estimate_file(file, out, exit_status);
}

} // namespace kovra::cli
