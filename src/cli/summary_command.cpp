// kovra-cli summary FILE --kind R|M|S [--json]
//
// The labour, material or equipment summary of an estimate as its summary page shows it:
// the inputs of the kind in name order with their line values, then the group's extra
// lines and its closing line. This build reads estimates in their JSON form (*.json).
#include "cli/command.h"

#include <cstdio>
#include <fstream>
#include <ostream>

#include <nlohmann/json.hpp>

#include "calc/estimate_json.h"
#include "calc/recalculation.h"
#include "calc/summaries.h"
#include "store/codepage.h"

namespace kovra::cli {
namespace {

bool ends_with(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

const char* kz_name(calc::kz_shown k) {
  switch (k) {
    case calc::kz_shown::percent: return "percent";
    case calc::kz_shown::per_unit: return "per_unit";
    case calc::kz_shown::amount: return "amount";
    default: return "none";
  }
}

std::string fixed2(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

int run_summary(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string file, kind_text;
  bool as_json = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--json") as_json = true;
    else if (args[i] == "--kind" && i + 1 < args.size()) kind_text = args[++i];
    else if (file.empty() && !args[i].empty() && args[i][0] != '-') file = args[i];
    else {
      err << "kovra-cli summary: unexpected argument \"" << args[i] << "\"\n";
      return exit_usage;
    }
  }
  const uint8_t kind = kind_text == "R" ? calc::kind_labour : kind_text == "M" ? calc::kind_material
                       : kind_text == "S" ? calc::kind_equipment : 255;
  if (file.empty() || kind == 255) {
    err << "usage: kovra-cli summary FILE --kind R|M|S [--json]\n";
    return exit_usage;
  }
  if (!ends_with(file, ".json")) {
    err << file << ": only estimates in their JSON form (*.json) can be summarised by this build\n";
    return exit_cannot_open;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    err << file << ": cannot open the file\n";
    return exit_cannot_open;
  }
  const nlohmann::json doc = nlohmann::json::parse(in, nullptr, false);
  calc::estimate_model model;
  std::string error;
  if (doc.is_discarded() || calc::json_is_compound(doc) || !calc::estimate_from_json(doc, model, error)) {
    err << file << ": " << (error.empty() ? "not a simple estimate in JSON form" : error) << "\n";
    return exit_cannot_open;
  }
  const calc::recalc_result r = calc::recalculate(model);
  const calc::summary_group group = calc::summary_group_of(r.totals, kind);
  auto utf8 = [](const std::string& s) { return store::mazovia_to_utf8(s); };
  nlohmann::json lines = nlohmann::json::array();
  for (int index : calc::inputs_by_name(model.prices, kind)) {
    const calc::price_record& p = model.prices[static_cast<size_t>(index)];
    const calc::summary_line l = calc::summary_line_of(p);
    lines.push_back({{"number", l.number ? nlohmann::json(*l.number) : nlohmann::json(nullptr)},
                     {"id", p.id}, {"sub", p.sub}, {"name", utf8(p.name)}, {"unit", utf8(p.unit)},
                     {"quantity", l.quantity}, {"base_price", l.base_price}, {"price", l.price},
                     {"kz", kz_name(l.kz)}, {"kz_value", l.kz_value}, {"investor_value", l.investor_value},
                     {"value", l.value}, {"excluded_quantity", l.excluded_quantity},
                     {"excluded_value", l.excluded_value}, {"base_material", l.base_material}});
  }
  nlohmann::json extras = nlohmann::json::array();
  for (const auto& e : group.extras) extras.push_back({{"title", utf8(e.title)}, {"value", e.value}});
  if (as_json) {
    out << nlohmann::json{{"file", file}, {"kind", kind_text}, {"lines", lines}, {"extras", extras},
                          {"closing", {{"title", utf8(group.closing_title)}, {"total", group.total}, {"hours", group.hours}}}}
               .dump(2)
        << "\n";
    return exit_ok;
  }
  for (const auto& l : lines)
    out << (l["number"].is_null() ? std::string() : std::to_string(l["number"].get<uint32_t>())) << "  "
        << l["name"].get<std::string>() << "  " << l["unit"].get<std::string>() << "  " << l["quantity"].get<double>()
        << "  " << fixed2(l["price"].get<double>()) << "  " << fixed2(l["value"].get<double>()) << "\n";
  for (const auto& e : group.extras) out << utf8(e.title) << "  " << fixed2(e.value) << "\n";
  out << utf8(group.closing_title) << "  " << fixed2(group.total) << "\n";
  return exit_ok;
}

const command_registration reg{{"summary", "FILE --kind R|M|S [--json]",
                                "print the labour, material or equipment summary of an estimate (JSON form)",
                                run_summary}};

} // namespace
} // namespace kovra::cli
