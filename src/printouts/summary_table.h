#pragma once
// The summary table that closes an element, a work group, a constituent estimate or the whole
// estimate in an estimate printout: direct costs, transport and purchase costs, the overhead
// rows, the total and, for chapters and estimates, additions, net, VAT and gross.
#include "calc/element_overhead_table.h"
#include "calc/estimate_model.h"
#include "calc/estimate_totals.h"
#include "printouts/printout_sink.h"

#include <string>

namespace kovra::printouts {

// The amounts of one container: rows 0 to 14 of five amounts (total, "Uproszczone", R, M, S:
// the columns of an element's overhead table, "other" standing for "Uproszczone") and the
// further values of a chapter or estimate.
struct summary_sums {
  calc::element_overhead_table table;
  double kz_rate = 0;
  double additions = 0;         // the chapters' additions in a compound estimate's own summary
  double net = 0;               // total + additions
  double vat = 0;
  double gross = 0;
  double global_additions = 0;  // a compound estimate's own additions
  double global_vat = 0;        // their VAT

  void add(const summary_sums& other) { table.add(other.table); }
};

enum class summary_kind : int { element = 0, group = 1, chapter = 2, estimate = 3 };

struct summary_style {
  summary_kind kind = summary_kind::element;
  bool merged = false;          // a merged element
  bool per_unit = false;        // quantities per unit
  bool details = false;         // R, M, S columns and the detail rows (FORMUŁA II)
  bool formulas = false;        // "Drukuj formuły narzutów"
  bool without_prices = false;  // "Bez cen i wartości": nothing is printed
  bool simplified_column = false;  // the "Uproszczone" column
  bool overheads_per_element = true;
  bool compound_own = false;    // the compound estimate's own summary
  bool short_headers = false;   // graphic: "R", "M", "S", "U"
};

// The document whose overhead names and formula texts label the rows.
struct summary_labels {
  const calc::estimate_model* model = nullptr;
  const calc::estimate_totals* totals = nullptr;
  const calc::overhead_table* overheads = nullptr;
};

void print_summary_table(printout_sink& sink, const summary_sums& sums, const summary_style& style,
                         const std::string& container_name, const summary_labels& labels);

// The table's columns: label, "Razem", ["Uproszczone"], R, M, S.
table_layout summary_layout(const summary_style& style);

} // namespace kovra::printouts
