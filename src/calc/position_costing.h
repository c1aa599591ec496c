#pragma once
// Costing one position from its inputs: quantities, values, purchase costs, investor
// materials and the percentage items; and its value under each calculation method.
#include <array>
#include <vector>

#include "calc/estimate_model.h"
#include "calc/input_table.h"
#include "calc/overheads.h"
#include "calc/position_costs.h"
#include "calc/recalc_options.h"

namespace kovra::calc {

// What costing needs besides the node: the estimate, the run's options and the cumulative
// R/M/S factors of every node (document and element coefficients).
struct costing_context {
  const estimate_model* model = nullptr;
  recalc_options options;
  overhead_settings overhead;
  std::vector<std::array<double, 3>> factors; // by node index
  double kz_other_rate = 0;                   // purchase-cost percentage of other-materials items

  const model_node& node(int i) const { return model->nodes[static_cast<size_t>(i)]; }
};

// The model's tree must be built (build_tree).
costing_context make_costing_context(const estimate_model& model, const recalc_options& options);

// Cumulative factors: document coefficient (0 counts as 1) times the coefficients of every
// group and element above, each rounded to the norm step before multiplying.
std::vector<std::array<double, 3>> cumulative_factors(const estimate_model& model);

// The position quantity, with the chapter multiplier of a compound estimate's chapter.
double position_quantity(const estimate_model& model, const model_node& node);

// The entries of the node's current variant, or null when it has none.
const std::vector<input_entry>* current_entries(const model_node& node);

// One input's quantity for x position units (x is Q or 1 as the method decides).
double input_quantity(const costing_context& ctx, const input_entry& entry, int node_index, double x);

// Quantity of an input in the whole position, as the run's input table counts it.
double input_total_quantity(const costing_context& ctx, const input_entry& entry, int node_index, double q);

// Fills the cost sheet of a position valued with x units.
position_costs cost_position(const costing_context& ctx, int node_index, double x, input_table& table,
                             bool prices_without_kz = false);

struct position_value {
  bool skipped = false;  // a catalogue position without inputs keeps its stored values
  position_costs costs;  // full quantities, or one unit under the per-unit methods
  overheads added;       // the overheads added to the sheet (per position or per unit)
  double quantity = 0;   // Q
  double net = 0;
  double gross = 0;
};

// Net and gross value of a position of type 1 or 2.
position_value value_position(const costing_context& ctx, int node_index, input_table& table);

} // namespace kovra::calc
