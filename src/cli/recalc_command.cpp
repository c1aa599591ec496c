// kovra-cli recalc FILE [--json]
//
// Runs the recalculation that opening the estimate's window runs and prints the results.
// FILE is read only. This build reads estimates given in their JSON form (the form the demo
// estimates are kept in, *.json) and estimate files (.kvr), which are opened read-only.
#include "cli/command.h"

#include <cstdio>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "calc/estimate_json.h"
#include "calc/recalc_json.h"
#include "cli/survey_codec.h"
#include "document/estimate_file.h"
#include "store/codepage.h"

namespace kovra::cli {
namespace {

bool ends_with(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string money(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

void print_nodes(std::ostream& out, const calc::estimate_model& m, int indent_base) {
  for (const calc::model_node& n : m.nodes) {
    if (n.depth < 0) continue;
    out << std::string(static_cast<size_t>(2 * (n.depth + indent_base)), ' ') << store::mazovia_to_utf8(n.number)
        << "  " << store::mazovia_to_utf8(n.description) << "  net " << money(n.net) << "  gross " << money(n.gross)
        << "\n";
  }
}

void print_totals(std::ostream& out, const calc::estimate_totals& t, const char* indent) {
  out << indent << "R " << money(t.labour) << "  M " << money(t.materials) << "  S " << money(t.equipment) << "\n"
      << indent << "additions " << money(t.additions) << "  net " << money(t.net) << "  VAT " << money(t.vat)
      << "  gross " << money(t.gross) << "\n";
}

int run_recalc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string file;
  bool as_json = false;
  for (const auto& a : args) {
    if (a == "--json") as_json = true;
    else if (file.empty() && !a.empty() && a[0] != '-') file = a;
    else {
      err << "kovra-cli recalc: unexpected argument \"" << a << "\"\n";
      return exit_usage;
    }
  }
  if (file.empty()) {
    err << "usage: kovra-cli recalc FILE [--json]\n";
    return exit_usage;
  }
  nlohmann::json doc;
  if (ends_with(file, ".json")) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      err << file << ": cannot open the file\n";
      return exit_cannot_open;
    }
    doc = nlohmann::json::parse(in, nullptr, false);
    if (doc.is_discarded() || !doc.is_object()) {
      err << file << ": not an estimate in JSON form\n";
      return exit_cannot_open;
    }
  } else {
    const std::string read_error = document::dump_estimate_file(file, doc, document_json_options());
    if (!read_error.empty()) {
      err << read_error << "\n";
      return exit_cannot_open;
    }
  }
  std::string error;
  if (calc::json_is_compound(doc)) {
    calc::compound_model model;
    if (!calc::compound_from_json(doc, model, error)) {
      err << file << ": " << error << "\n";
      return exit_cannot_open;
    }
    const calc::compound_result r = calc::recalculate_compound(model);
    if (as_json) {
      out << calc::compound_recalc_json(file, model, r).dump(2) << "\n";
      return exit_ok;
    }
    out << "Compound estimate " << store::mazovia_to_utf8(model.settings.name) << "\n";
    for (size_t i = 0; i < model.chapters.size(); ++i) {
      const auto& c = model.chapters[i];
      if (!c.available) continue;
      out << "Chapter " << store::mazovia_to_utf8(c.number) << "  " << store::mazovia_to_utf8(c.doc.settings.name)
          << "  x" << c.quantity << "\n";
      print_nodes(out, c.doc, 1);
      print_totals(out, r.chapters[i].totals, "  ");
    }
    out << "Totals\n";
    print_totals(out, r.totals, "  ");
    return exit_ok;
  }
  calc::estimate_model model;
  if (!calc::estimate_from_json(doc, model, error)) {
    err << file << ": " << error << "\n";
    return exit_cannot_open;
  }
  const calc::recalc_result r = calc::recalculate(model);
  if (as_json) {
    out << calc::simple_recalc_json(file, model, r).dump(2) << "\n";
    return exit_ok;
  }
  out << "Estimate " << store::mazovia_to_utf8(model.settings.name) << "\n";
  print_nodes(out, model, 0);
  out << "Totals\n";
  print_totals(out, r.totals, "  ");
  return exit_ok;
}

const command_registration reg{
    {"recalc", "FILE [--json]", "recalculate an estimate (.kvr or its JSON form) and print its values", run_recalc}};

} // namespace
} // namespace kovra::cli
