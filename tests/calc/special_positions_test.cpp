// Scaffolding, simplified positions and one-off equipment costs.
#include <gtest/gtest.h>

#include "calc/recalculation.h"
#include "calc/special_positions.h"
#include "calc/decimal_separator.h"
#include "calc/one_off_sheet.h"
#include "calc/scaffold_sheet.h"
#include "calc/simplified_sheet.h"
#include "store/codepage.h"
#include "calc_builders.h"

using namespace kovra::calc;
using namespace kovra::test;

namespace {

std::string trimmed(const std::string& s) {
  const size_t b = s.find_first_not_of(' ');
  return b == std::string::npos ? std::string() : s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// An element with one position of 120 r-g (norm 120, quantity 1) and a scaffolding linked
// to it whose equipment input 50 costs 5.00 per machine-hour.
estimate_model scaffold_estimate(double per_set, int8_t code) {
  estimate_model m = plain_estimate();
  add_price(m, kind_labour, 1, 10.00);
  add_price(m, kind_equipment, 50, 5.00);
  add_element(m);
  add_input(add_position(m, 1, 3), kind_labour, 1, 120);
  model_node s;
  s.type = node_scaffold;
  s.level = 1;
  s.scaffold_input_id = 50;
  s.scaffold_w = 2.5;
  s.scaffold_s = 4;
  s.scaffold_p = 1.0;
  s.scaffold_sets = 2;
  s.scaffolds_per_set = per_set;
  s.scaffold_k = 1;
  s.scaffold_count_code = code;
  s.links = {1};
  m.nodes.push_back(s);
  return m;
}

} // namespace

TEST(Scaffolding, WorkingTimeCountAndEquipmentQuantity) {
  estimate_model m = scaffold_estimate(3, 1);
  const recalc_result r = run_single(m, options_from_settings(m.settings));
  costing_context ctx = make_costing_context(m, options_from_settings(m.settings));
  const scaffold_values v = scaffold_quantities(ctx, 2);
  EXPECT_DOUBLE_EQ(v.labour_hours, 120);
  EXPECT_DOUBLE_EQ(v.working_time, 12);   // 120 / (4 × 2.5) × 1.0
  EXPECT_DOUBLE_EQ(v.count, 6.00);        // 2 × 3 / 1
  EXPECT_DOUBLE_EQ(v.quantity, 72);       // 6 × 12
  EXPECT_DOUBLE_EQ(m.nodes[2].scaffold_labour_hours, 120);
  EXPECT_DOUBLE_EQ(r.table.find(50, 0)->rec.quantity, 72);
  EXPECT_DOUBLE_EQ(m.nodes[2].net, 360.00); // 72 × 5.00
  // Per unit: 12 × 5.00 = 60.00 per scaffold, times 6.
  m.settings.calc_method = method_formula_1;
  run_single(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(m.nodes[2].net, 360.00);
}

TEST(Scaffolding, PerUnitHoursOfALinkedPositionRoundedOnceOnItsSum) {
  // FORMUŁA I, a linked position of 2.5 m2 with two labour inputs of 0.10001 and 0.20001
  // r-g per unit. The scaffolding takes the unit sum 0.30002 × 2.5 = 0.75005 and rounds that
  // once. The input table rounds each input: 0.250025 → 0.25003 and 0.500025 → 0.50003, so
  // the estimate's man-hours are 0.75006.
  estimate_model m = scaffold_estimate(3, 1);
  m.settings.calc_method = method_formula_1;
  m.nodes[1] = model_node{};
  m.nodes[1].pos = 1;
  m.nodes[1].level = 1;
  m.nodes[1].quantity = 2.5;
  m.nodes[1].precision_code = 1;
  m.nodes[1].has_inputs = true;
  m.nodes[1].variants.emplace_back();
  add_input(m.nodes[1], kind_labour, 1, 0.10001);
  add_input(m.nodes[1], kind_labour, 1, 0.20001);
  const recalc_result r = run_single(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(m.nodes[2].scaffold_labour_hours, 0.75005);
  EXPECT_DOUBLE_EQ(r.totals.labour_hours, 0.75006);
  // Working time 0.75005 / (4 × 2.5) × 1.0 = 0.075005 → 0.07501.
  costing_context ctx = make_costing_context(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(scaffold_quantities(ctx, 2).working_time, 0.07501);
}

TEST(Scaffolding, CountRoundedToWholeNumbers) {
  estimate_model m = scaffold_estimate(1.25, 3); // 2 × 1.25 = 2.5 → 3
  run_single(m, options_from_settings(m.settings));
  costing_context ctx = make_costing_context(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(scaffold_quantities(ctx, 2).count, 3);
}

TEST(Scaffolding, ExcludedUnlinkedAndZeroCoefficients) {
  estimate_model m = scaffold_estimate(3, 1);
  m.nodes[2].flags = flag_not_valued_8;
  recalc_result r = run_single(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(r.table.find(50, 0)->rec.excluded_quantity, 72);
  EXPECT_DOUBLE_EQ(r.table.find(50, 0)->rec.quantity, 0);
  EXPECT_DOUBLE_EQ(m.nodes[2].net, 0);

  m = scaffold_estimate(3, 1);
  m.nodes[2].links.clear();
  r = run_single(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(m.nodes[2].scaffold_labour_hours, 0);
  EXPECT_DOUBLE_EQ(m.nodes[2].net, 0);

  m = scaffold_estimate(3, 1);
  m.nodes[2].scaffold_s = 0; // would divide by zero: no working time
  m.nodes[2].scaffold_k = 0;
  r = run_single(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(m.nodes[2].net, 0);
}

namespace {

model_node simplified(double quantity, double r, double mat, double s, double all_in, float multiplicity = 1.0f) {
  model_node n;
  n.type = node_simplified_plain;
  n.level = 1;
  n.quantity = quantity;
  n.precision_code = 1;
  n.multiplicity = multiplicity;
  n.unit_price = {r, mat, s, all_in};
  return n;
}

} // namespace

TEST(SimplifiedPositions, AmountsAndMultiplicity) {
  estimate_model m = plain_estimate();
  simplified_costs c = value_simplified(m, simplified(10, 12.50, 30.00, 5.00, 0), false);
  EXPECT_DOUBLE_EQ(c.amount[0], 125.00);
  EXPECT_DOUBLE_EQ(c.amount[1], 300.00);
  EXPECT_DOUBLE_EQ(c.amount[2], 50.00);
  c = value_simplified(m, simplified(10, 12.50, 30.00, 5.00, 0, 2.0f), false);
  EXPECT_DOUBLE_EQ(c.q, 20);
  EXPECT_DOUBLE_EQ(c.amount[0], 250.00);
  EXPECT_DOUBLE_EQ(c.amount[1], 600.00);
  EXPECT_DOUBLE_EQ(c.amount[2], 100.00);
}

TEST(SimplifiedPositions, AllInPriceBearsNoOverheadsUnderEveryMethod) {
  for (uint8_t method : {method_formula_2, method_formula_1, method_simplified}) {
    for (uint8_t per_position : {0, 1}) {
      estimate_model m = plain_estimate();
      set_rate(m, row_kp, col_r, 70);
      m.settings.calc_method = method;
      m.settings.overheads_per_position = per_position;
      add_element(m);
      m.nodes.push_back(simplified(3, 0, 0, 0, 80.00));
      run_single(m, options_from_settings(m.settings));
      EXPECT_DOUBLE_EQ(m.nodes[1].net, 240.00) << int(method) << " " << int(per_position);
    }
  }
}

TEST(SimplifiedPositions, PerUnitValueAndTheUnvaluedCatalogueKind) {
  estimate_model m = plain_estimate();
  m.settings.calc_method = method_formula_1;
  add_element(m);
  m.nodes.push_back(simplified(2.5, 10.01, 0, 0, 0));
  const recalc_result r = run_single(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(m.nodes[1].net, 25.03); // 10.01 × 2.5 = 25.025
  EXPECT_DOUBLE_EQ(r.totals.simplified_labour, 25.03);
  // Type 4 with flag 4 clear and byte 106 (column number) 0 is not valued.
  model_node n = simplified(2.5, 10.01, 0, 0, 0);
  n.type = node_simplified;
  EXPECT_FALSE(value_simplified(m, n, false).valued);
  n.column_number = 3;
  EXPECT_TRUE(value_simplified(m, n, false).valued);
}

namespace {

model_node one_off(double count, float distance, std::array<double, 4> prices, std::array<double, 4> norms) {
  model_node n;
  n.type = node_one_off;
  n.level = 1;
  n.one_off_count = count;
  n.one_off_distance = distance;
  for (size_t i = 0; i < 4; ++i) {
    n.lines[i].price = prices[i];
    n.lines[i].norm = norms[i];
  }
  return n;
}

} // namespace

TEST(OneOffCosts, LinesAndAmount) {
  estimate_model m = plain_estimate();
  const model_node n = one_off(2, 17, {100, 80, 50, 30}, {1, 1, 5, 5});
  const one_off_values v = compute_one_off(m, n);
  EXPECT_DOUBLE_EQ(v.further_bands, 3); // ceil(12 / 5)
  EXPECT_DOUBLE_EQ(v.lines[0].quantity, 2);
  EXPECT_DOUBLE_EQ(v.lines[1].quantity, 2);
  EXPECT_DOUBLE_EQ(v.lines[2].quantity, 2);
  EXPECT_DOUBLE_EQ(v.lines[3].quantity, 6);
  EXPECT_DOUBLE_EQ(v.lines[0].value, 200);
  EXPECT_DOUBLE_EQ(v.lines[1].value, 160);
  EXPECT_DOUBLE_EQ(v.lines[2].value, 100);
  EXPECT_DOUBLE_EQ(v.lines[3].value, 180);
  EXPECT_DOUBLE_EQ(v.amount, 640);
  // Valued per unit: 640 / 2 = 320.00 per unit, 640.00 in all.
  m.settings.calc_method = method_formula_1;
  add_element(m);
  m.nodes.push_back(n);
  const recalc_result r = run_single(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(m.nodes[1].net, 640.00);
  EXPECT_DOUBLE_EQ(r.totals.one_off, 640.00);
  EXPECT_DOUBLE_EQ(m.nodes[1].one_off_amount, 640.00);
}

TEST(OneOffCosts, DistancesCountsAndBands) {
  estimate_model m = plain_estimate();
  // Distance 0: neither band.
  one_off_values v = compute_one_off(m, one_off(1, 0, {1, 1, 1, 1}, {1, 1, 5, 5}));
  EXPECT_DOUBLE_EQ(v.lines[2].quantity, 0);
  EXPECT_DOUBLE_EQ(v.lines[3].quantity, 0);
  // Shorter than the first band: no further bands.
  v = compute_one_off(m, one_off(1, 3, {1, 1, 1, 1}, {1, 1, 5, 5}));
  EXPECT_DOUBLE_EQ(v.lines[2].quantity, 1);
  EXPECT_DOUBLE_EQ(v.lines[3].quantity, 0);
  // A further-band norm of 0: no further bands whatever the distance.
  v = compute_one_off(m, one_off(1, 300, {1, 1, 1, 1}, {1, 1, 5, 0}));
  EXPECT_DOUBLE_EQ(v.lines[3].quantity, 0);
  // A count of 2.9 alone counts 2; in a chapter of quantity 1.5, 4.35 rounds up to 5.
  EXPECT_EQ(compute_one_off(m, one_off(2.9, 0, {}, {1, 1, 5, 5})).count, 2);
  m.is_chapter = true;
  m.chapter_multiplier = 1.5;
  EXPECT_EQ(compute_one_off(m, one_off(2.9, 0, {}, {1, 1, 5, 5})).count, 5);
  EXPECT_EQ(compute_one_off(m, one_off(-2.9, 0, {}, {1, 1, 5, 5})).count, -5);
}

TEST(Scaffolding, PageRowsAndFormulaLines) {
  set_system_decimal_separator('.');
  estimate_model m = scaffold_estimate(3, 1);
  m.nodes[2].unit2 = "m2";
  const recalc_result r = run_single(m, options_from_settings(m.settings));
  costing_context ctx = make_costing_context(m, options_from_settings(m.settings));
  const scaffold_sheet s = scaffold_sheet_of(ctx, 2, r.table);
  const std::string mazovia_r = kovra::store::utf8_to_mazovia(" Czas pracy ");
  EXPECT_EQ(s.rows[4].label, mazovia_r + "\n120 / ( 2.50 * 4 ) * 1.00 = ");
  EXPECT_EQ(trimmed(s.rows[4].result), "12");
  EXPECT_EQ(s.rows[8].label.substr(s.rows[8].label.find('\n') + 1), "2 * 3.00 / 1 = ");
  EXPECT_EQ(trimmed(s.rows[8].result), "6.00");
  EXPECT_EQ(s.rows[6].unit, "m2");
  EXPECT_EQ(s.rows[9].label, " Cena \"input 50\" ");
  // Under FORMUŁA II: t * n = q, eleven blanks, q * p.
  EXPECT_EQ(s.rows[10].label.substr(s.rows[10].label.find('\n') + 1), "12 * 6.00 = 72           72 * 5.00 = ");
  EXPECT_EQ(trimmed(s.rows[10].result), "360.00");
  reset_system_decimal_separator();
}

TEST(SimplifiedPositions, PageRowsUseFullQuantities) {
  set_system_decimal_separator('.');
  estimate_model m = plain_estimate();
  m.settings.calc_method = method_formula_1; // the page values full quantities anyway
  model_node n = simplified(10, 12.50, 30.00, 0, 80.00);
  n.type = node_simplified; // not valued by the run (flag 4 clear, byte 106 0), shown all the same
  const simplified_sheet s = simplified_sheet_of(m, n);
  EXPECT_EQ(trimmed(s.rows[0].value), "125.00");
  EXPECT_EQ(trimmed(s.rows[1].price), "30.00");
  EXPECT_EQ(trimmed(s.rows[2].value), ""); // zero is blank
  EXPECT_EQ(trimmed(s.rows[3].value), "800.00");
  reset_system_decimal_separator();
}

TEST(OneOffCosts, ViewLinesOfTheNode) {
  set_system_decimal_separator('.');
  estimate_model m = plain_estimate();
  // Count 2, 17 km, norms 1, 1, 5, 5, prices 100, 80, 50, 30 (the costing example).
  model_node n = one_off(2, 17, {100, 80, 50, 30}, {1, 1, 5, 5});
  const one_off_sheet s = one_off_sheet_of(m, n);
  EXPECT_FALSE(s.not_valued);
  EXPECT_EQ(s.rows[0].input, kovra::store::utf8_to_mazovia("Montaż"));
  EXPECT_EQ(s.rows[2].input, "Pierwsze       [km]");
  EXPECT_EQ(s.rows[3].input, kovra::store::utf8_to_mazovia("Każde następne [km]"));
  const char* quantities[4] = {"2", "2", "2", "6"};
  const char* values[4] = {"200.00", "160.00", "100.00", "180.00"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(trimmed(s.rows[i].quantity), quantities[i]) << i;
    EXPECT_EQ(trimmed(s.rows[i].value), values[i]) << i;
  }
  EXPECT_EQ(trimmed(s.rows[2].norm), "5");
  EXPECT_EQ(trimmed(s.rows[3].price), "30.00");
  EXPECT_DOUBLE_EQ(s.values.amount, 640);
  // Distance 0: the bands are empty (blank) and the node flagged 8 is shaded.
  n = one_off(2, 0, {100, 80, 50, 30}, {1, 1, 5, 5});
  n.flags = flag_not_valued_8;
  const one_off_sheet t = one_off_sheet_of(m, n);
  EXPECT_TRUE(t.not_valued);
  EXPECT_EQ(trimmed(t.rows[2].value), "");
  EXPECT_EQ(trimmed(t.rows[3].quantity), "");
  reset_system_decimal_separator();
}

TEST(Scaffolding, LinksAreSettledBeforeTheyCount) {
  estimate_model m = scaffold_estimate(3, 1);
  model_node stray; // a record of no known type: not in the tree
  stray.type = 8;
  m.nodes.push_back(stray);
  m.nodes[2].links = {1, 1, 2, 3, 17, -4};
  build_tree(m);
  settle_scaffold_links(m);
  // Itself, the detached record and indexes outside the model go; the repeat counts once.
  EXPECT_EQ(m.nodes[2].links, std::vector<int>{1});
  const recalc_result r = run_single(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(m.nodes[2].scaffold_labour_hours, 120);
  EXPECT_DOUBLE_EQ(r.table.find(50, 0)->rec.quantity, 72);
}
