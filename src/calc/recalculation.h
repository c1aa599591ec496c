#pragma once
// Recalculation of one estimate: input quantities (pass 1), the input table's purchase
// costs, values of every node (pass 2), the estimate totals, and the write-back of values
// into the nodes and of prices into the price records.
#include <memory>

#include "calc/estimate_model.h"
#include "calc/estimate_totals.h"
#include "calc/input_table.h"
#include "calc/recalc_options.h"

namespace kovra::calc {

struct recalc_result {
  estimate_totals totals;
  input_table table;
  // With recalc_options::keep_aggregate_tables: the overhead table of every work group and
  // element by node index (FORMUŁA II only; empty tables for other nodes). Printouts close
  // their containers with them.
  std::vector<element_overhead_table> aggregate_tables;
};

// The steps of one run, for callers that look at them one by one (benchmarks):
// quantities() loads the input table and runs pass 1 (steps 2 to 5), values() runs pass 2
// (step 6), finish() the purchase-cost summary and the totals (steps 7 to 9). run_single
// does the three in order.
class recalc_steps {
 public:
  recalc_steps(estimate_model& model, const recalc_options& options);
  ~recalc_steps();
  recalc_steps(const recalc_steps&) = delete;
  recalc_steps& operator=(const recalc_steps&) = delete;
  void quantities();
  void values();
  recalc_result finish();

 private:
  class run;
  std::unique_ptr<run> run_;
};

// One run with the given options. Writes net and gross values (and the scaffolding hours,
// one-off lines and merged-element fields) into the nodes; leaves the price records alone.
recalc_result run_single(estimate_model& model, const recalc_options& options);

// The prices, purchase-cost modes and quantities of a run's input table into the model's
// price records.
void write_prices_back(estimate_model& model, const input_table& table);

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
