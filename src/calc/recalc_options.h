#pragma once
// Options of one recalculation run, derived from the estimate's settings at its start.
#include "calc/estimate_model.h"

namespace kovra::calc {

struct recalc_options {
  bool full_quantities = true;         // FORMUŁA II: inputs valued with the position quantity
  bool overheads_per_element = true;   // FORMUŁA II only
  bool profit_on_sum = true;           // investor table only
  bool prices_include_kz = true;       // always on for recalculation
  bool merged_value_correction = false;
  bool multiplicity_outside_unit = false; // per-unit methods with "Krotność w wartości jednostkowej" off
  bool keep_aggregate_tables = false;     // recalc_result::aggregate_tables wanted
};

inline recalc_options options_from_settings(const estimate_settings& s) {
  recalc_options o;
  o.full_quantities = s.calc_method == method_formula_2;
  o.overheads_per_element = s.overheads_per_position != 1;
  o.profit_on_sum = s.profit_per_component == 0;
  o.prices_include_kz = true;
  o.merged_value_correction = s.merged_value_correction != 0;
  o.multiplicity_outside_unit = s.calc_method != method_formula_2 && s.multiplicity_in_unit == 0;
  return o;
}

} // namespace kovra::calc
