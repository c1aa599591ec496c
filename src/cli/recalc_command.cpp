// kovra-cli recalc FILE [--json]
//
// Runs the recalculation that opening the estimate's window runs and prints the results.
// An estimate file (.kvr) is opened read-only and recalculated over its records; the values
// the window would write back are printed instead and the file stays as it was. Estimates
// in their JSON form (*.json, as the demo estimates are kept) are recalculated the same way.
#include "cli/command.h"

#include <cstdio>
#include <ostream>

#include <nlohmann/json.hpp>

#include "calc/recalc_json.h"
#include "cli/recalculated_file.h"
#include "store/codepage.h"

namespace kovra::cli {
namespace {

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
  recalculated_file f;
  int status = exit_ok;
  const std::string error = recalculate_file(file, f, status);
  if (!error.empty()) {
    err << error << "\n";
    return status;
  }
  if (f.compound) {
    const calc::compound_model& model = f.compound_model;
    const calc::compound_result& r = f.compound_result;
    if (as_json) {
      out << calc::compound_recalc_json(file, model, r).dump(2) << "\n";
      return exit_ok;
    }
    out << "Compound estimate " << store::mazovia_to_utf8(model.settings.name) << "\n";
    for (size_t i = 0; i < model.chapters.size(); ++i) {
      const auto& c = model.chapters[i];
      if (!c.available) {
        out << "Chapter " << store::mazovia_to_utf8(c.number) << "  (cannot be opened, left out)\n";
        continue;
      }
      out << "Chapter " << store::mazovia_to_utf8(c.number) << "  " << store::mazovia_to_utf8(c.doc.settings.name)
          << "  x" << c.quantity << "\n";
      print_nodes(out, c.doc, 1);
      print_totals(out, r.chapters[i].totals, "  ");
    }
    out << "Totals\n";
    print_totals(out, r.totals, "  ");
    return exit_ok;
  }
  if (as_json) {
    out << calc::simple_recalc_json(file, f.model, f.result).dump(2) << "\n";
    return exit_ok;
  }
  out << "Estimate " << store::mazovia_to_utf8(f.model.settings.name) << "\n";
  print_nodes(out, f.model, 0);
  out << "Totals\n";
  print_totals(out, f.result.totals, "  ");
  return exit_ok;
}

const command_registration reg{
    {"recalc", "FILE [--json]", "recalculate an estimate (.kvr read-only, or its JSON form) and print its values; writes nothing", run_recalc}};

} // namespace
} // namespace kovra::cli
