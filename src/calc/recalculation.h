#pragma once
// Recalculation of one estimate: input quantities (pass 1), the input table's purchase
// costs, values of every node (pass 2), the estimate totals, and the write-back of values
// into the nodes and of prices into the price records.
#include "calc/estimate_model.h"
#include "calc/estimate_totals.h"
#include "calc/input_table.h"
#include "calc/recalc_options.h"

namespace kovra::calc {

struct recalc_result {
  estimate_totals totals;
  input_table table;
};

// One run with the given options. Writes net and gross values (and the scaffolding hours,
// one-off lines and merged-element fields) into the nodes; leaves the price records alone.
recalc_result run_single(estimate_model& model, const recalc_options& options);

// The recalculation that opening an estimate runs: options from the estimate's settings,
// then the prices of the input table written back to the price records.
recalc_result recalculate(estimate_model& model);

// A run with a printout's options that writes no prices back; gives the VAT and the net
// total (gross − VAT).
void recalculate_totals(estimate_model& model, const recalc_options& options, double& out_vat, double& out_net);

// Purchase-cost summary over the estimate's two purchase-cost rates and every used material
// that is not an investor material.
purchase_cost_summary summarise_purchase_costs(const estimate_model& model, const input_table& table);

} // namespace kovra::calc
