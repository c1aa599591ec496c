#pragma once
// The totals a recalculation leaves with the open estimate (not stored in the file).
#include "calc/element_overhead_table.h"

namespace kovra::calc {

// Purchase-cost summary: 0 uniform (with its rate), 1 mixed, 2 none.
struct purchase_cost_summary {
  int state = 2;
  double rate = 0;
  double smallest = 0;
  double largest = 0;
};

struct estimate_totals {
  double labour = 0;
  double materials = 0;
  double equipment = 0;
  double materials_base = 0;
  double labour_hours = 0;
  double equipment_hours = 0;
  double investor_materials = 0;
  double investor_materials_base = 0;
  double materials_other = 0;
  double equipment_other = 0;
  double materials_other_r = 0;
  double materials_other_m = 0;
  double equipment_other_r = 0;
  double equipment_other_s = 0;
  double simplified_labour = 0;
  double simplified_materials = 0;
  double simplified_equipment = 0;
  double one_off = 0;
  double other_amounts = 0; // all-in amounts of simplified positions
  double additions = 0;
  double net = 0;
  double vat = 0;
  double gross = 0;
  element_overhead_table overheads;
  purchase_cost_summary kz_summary;
  bool any_value = false;
  double largest = 0;
  double smallest = 0;

  void note_value(double v);
  // Adds another estimate's totals (a chapter into its compound estimate).
  void add(const estimate_totals& o);
};

} // namespace kovra::calc
