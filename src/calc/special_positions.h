#pragma once
// Quantities of the position kinds that are not priced from inputs: scaffolding, simplified
// positions and one-off equipment costs.
#include <array>
#include <cstdint>

#include "calc/position_costing.h"

namespace kovra::calc {

// Scaffolding: labour hours of the linked positions, working time t, total count n and the
// equipment quantity q = n × t.
struct scaffold_values {
  double labour_hours = 0;
  double working_time = 0;  // t
  double count = 0;         // n
  int count_code = 1;       // precision code the page shows n with
  double quantity = 0;      // q
};

// Labour hours of one position as a scaffolding counts them.
double position_labour_hours(const costing_context& ctx, int node_index);
scaffold_values scaffold_quantities(const costing_context& ctx, int node_index);

// Working values of one valuation of a simplified position.
struct simplified_costs {
  bool valued = false;
  double quantity = 0;       // Q
  double multiplicity = 0;   // k
  double quantity_used = 0;  // Q′
  double q = 0;              // quantity of each component
  std::array<double, 4> unit_price{}; // R, M, S, all-in
  std::array<double, 4> amount{};     // R, M, S, all-in
};

// `unit` values one unit (per-unit methods) instead of the full quantity.
simplified_costs value_simplified(const estimate_model& model, const model_node& node, bool unit);

// One-off equipment costs: the whole count, the further bands, the four lines and the amount.
struct one_off_values {
  int16_t count = 0;
  double further_bands = 0;
  std::array<one_off_line, 4> lines{};
  double amount = 0;
};

int16_t one_off_whole_count(const estimate_model& model, const model_node& node);
one_off_values compute_one_off(const estimate_model& model, const model_node& node);

} // namespace kovra::calc
