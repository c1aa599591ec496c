// Costing of positions from their inputs.
#include <gtest/gtest.h>

#include "calc/position_costing.h"
#include "calc/recalculation.h"
#include "calc_builders.h"

using namespace kovra::calc;
using namespace kovra::test;

namespace {

struct costed {
  position_costs costs;
  recalc_result run;
};

// Runs the whole estimate and costs node `index` again with full quantities.
costed cost_node(estimate_model& m, int index) {
  costed c;
  c.run = run_single(m, options_from_settings(m.settings));
  costing_context ctx = make_costing_context(m, options_from_settings(m.settings));
  c.costs = cost_position(ctx, index, position_quantity(m, m.nodes[static_cast<size_t>(index)]), c.run.table);
  return c;
}

} // namespace

TEST(PositionCosting, BlockedInputKeepsItsQuantityPerPositionOrPerUnit) {
  estimate_model m = plain_estimate();
  add_price(m, kind_labour, 1, 10.0);
  add_element(m);
  model_node& p = add_position(m, 5, 3);
  add_input(p, kind_labour, 1, 12).blocked = 1;
  // FORMUŁA II: the fixed quantity 12 whatever the position quantity; R = 12 × 10.
  recalc_result r = run_single(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(r.table.find(1, 0)->rec.quantity, 12);
  EXPECT_DOUBLE_EQ(m.nodes[1].net, 120.00);
  // FORMUŁA I: 12 per unit, 60 in all; value 12 × 10 × 5 = 600.
  m.settings.calc_method = method_formula_1;
  r = run_single(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(r.table.find(1, 0)->rec.quantity, 60);
  EXPECT_DOUBLE_EQ(m.nodes[1].net, 600.00);
}

TEST(PositionCosting, PurchaseCostsAndInvestorMaterials) {
  for (uint8_t mode : {0, 1, 2}) {
    estimate_model m = plain_estimate();
    add_price(m, kind_material, 7, 11.00, 10.00);
    add_element(m);
    model_node& p = add_position(m, 1, 3);
    add_input(p, kind_material, 7, 3).mp_mode = mode;
    const costed c = cost_node(m, 1);
    // Quantity 3: value 33.00, base value 30.00, purchase costs 3.00.
    EXPECT_NEAR(c.costs.purchase_costs, 3.00, 1e-9);
    if (mode == 0) {
      EXPECT_DOUBLE_EQ(c.costs.materials, 33.00);
      EXPECT_DOUBLE_EQ(c.costs.materials_base, 30.00);
    } else if (mode == 1) {
      // Not charged at all.
      EXPECT_DOUBLE_EQ(c.costs.materials, 0);
      EXPECT_DOUBLE_EQ(c.costs.investor_materials, 33.00);
      EXPECT_NEAR(c.costs.investor_kz_dropped, 3.00, 1e-9);
      EXPECT_DOUBLE_EQ(m.nodes[1].net, 0);
    } else {
      // Only the purchase costs stay charged: 33.00 − 30.00.
      EXPECT_DOUBLE_EQ(c.costs.materials, 3.00);
      EXPECT_NEAR(c.costs.investor_kz_kept, 3.00, 1e-9);
      EXPECT_DOUBLE_EQ(m.nodes[1].net, 3.00);
    }
    if (mode != 0) {
      // The table's investor quantity, and the estimate's investor totals: mode 1 at price
      // and base price (33.00, 30.00), mode 2 the base-price value in both (30.00).
      EXPECT_DOUBLE_EQ(c.run.table.find(7, 0)->rec.investor_quantity, 3);
      EXPECT_DOUBLE_EQ(c.run.totals.investor_materials, mode == 1 ? 33.00 : 30.00);
      EXPECT_DOUBLE_EQ(c.run.totals.investor_materials_base, 30.00);
    }
  }
}

TEST(PositionCosting, PercentageItems) {
  estimate_model m = plain_estimate();
  m.settings.kz_rate_other = 10; // on "Materiały inne (Robocizna)"
  add_price(m, kind_labour, 1, 200.00);
  add_price(m, kind_material, 2, 105.00, 100.00, 1);
  add_price(m, kind_equipment, 3, 40.00);
  add_element(m);
  model_node& p = add_position(m, 1, 3);
  add_input(p, kind_labour, 1, 1);
  add_input(p, kind_material, 2, 1);
  add_input(p, kind_equipment, 3, 1);
  add_input(p, kind_percent, percent_item_id, 5, 2);   // Sprzęt inny (Robocizna)
  add_input(p, kind_percent, percent_item_id, 10, 3);  // Sprzęt inny (Sprzęt)
  add_input(p, kind_percent, percent_item_id, 2, 0);   // Materiały inne (Materiały)
  add_input(p, kind_percent, percent_item_id, 1.5, 1); // Materiały inne (Robocizna)
  const costed c = cost_node(m, 1);
  // 5 % of R = 200.00 is 10.00; 10 % of S = 40.00 is 4.00.
  EXPECT_DOUBLE_EQ(c.costs.equipment_other_r, 10.00);
  EXPECT_DOUBLE_EQ(c.costs.equipment_other_s, 4.00);
  EXPECT_DOUBLE_EQ(c.costs.equipment_other, 14.00);
  // 2 % of the base material's 105.00 = 2.10, without purchase costs 2 % of 100.00 = 2.00.
  EXPECT_DOUBLE_EQ(c.costs.materials_other_m, 2.10);
  EXPECT_DOUBLE_EQ(c.costs.materials_other_m_base, 2.00);
  // 1.5 % of 200.00 = 3.00, without purchase costs 3.00 / 1.10 = 2.727… → 2.73.
  EXPECT_DOUBLE_EQ(c.costs.materials_other_r, 3.00);
  EXPECT_DOUBLE_EQ(c.costs.materials_other_r_base, 2.73);
  EXPECT_NEAR(c.costs.materials_other, 5.10, 1e-9);
  // Position value: 200 + 105 + 40 + 5.10 + 14.00 = 364.10.
  EXPECT_DOUBLE_EQ(m.nodes[1].net, 364.10);
}

TEST(PositionCosting, PurchaseCostsShownSeparatelyWhenPricesExcludeThem) {
  estimate_model m = plain_estimate();
  m.settings.kz_rate_other = 10;
  add_price(m, kind_labour, 1, 100.00);
  add_price(m, kind_material, 2, 11.00, 10.00, 1); // 10 %
  add_price(m, kind_material, 3, 10.50, 10.00);    // 5 %
  add_price(m, kind_material, 4, 21.00, 20.00);    // 5 %, investor material keeping its Kz
  add_element(m);
  model_node& p = add_position(m, 1, 3);
  add_input(p, kind_labour, 1, 1);
  add_input(p, kind_material, 2, 30);
  add_input(p, kind_material, 3, 10);
  add_input(p, kind_material, 4, 2).mp_mode = 2;
  add_input(p, kind_percent, percent_item_id, 2, 1); // Materiały inne (Robocizna)
  recalc_options o = options_from_settings(m.settings);
  recalc_result run = run_single(m, o);
  o.prices_include_kz = false;
  const costing_context ctx = make_costing_context(m, o);
  const position_costs c = cost_position(ctx, 1, 1.0, run.table);
  // Materials: 330.00 (base 300.00), 105.00 (base 100.00), investor 42.00 (base 40.00, its
  // 2.00 Kz kept). Other materials 2 % of R 100.00 = 2.00, without Kz 2.00 / 1.10 =
  // 1.8181… → 1.82. Charged: 330 + 105 + 2 + 2 = 439; less the kept 2 = 437. Base c =
  // 300 + 100 + 1.8181… = 401.8181…; rate (437 − 401.8181…) × 100 / 401.8181… = 8.7557 →
  // 8.76 %.
  EXPECT_NEAR(c.purchase_costs, 30 + 5 + 2 + 2 - 2 / 1.1, 1e-9);
  EXPECT_DOUBLE_EQ(c.materials_base, 400.00);
  EXPECT_DOUBLE_EQ(c.materials_other_base, 1.82);
  // Kz = (400 + 1.82) × 8.76 % = 35.199… → 35.20; on the investor material 2.00.
  EXPECT_DOUBLE_EQ(c.kz_amount, 35.20);
  EXPECT_DOUBLE_EQ(c.kz_on_investor, 2.00);
  // M = 400 + 1.82 + 35.20 + 2.00 − 2.00 = 437.02 (437.00 when prices include Kz).
  EXPECT_NEAR(c.materials, 437.02, 1e-9);
  EXPECT_NEAR(cost_position(make_costing_context(m, options_from_settings(m.settings)), 1, 1.0, run.table).materials,
              437.00, 1e-9);
}

TEST(PositionCosting, ExcludedInputsAndZeroPrices) {
  estimate_model m = plain_estimate();
  add_price(m, kind_labour, 1, 10.00);
  add_price(m, kind_material, 2, 0);
  add_element(m);
  model_node& p = add_position(m, 4, 3);
  add_input(p, kind_labour, 1, 1).excluded = 1;
  add_input(p, kind_material, 2, 2.5);
  const recalc_result r = run_single(m, options_from_settings(m.settings));
  // The excluded input is listed with its quantity but changes no total.
  EXPECT_DOUBLE_EQ(r.table.find(1, 0)->rec.excluded_quantity, 4);
  EXPECT_DOUBLE_EQ(r.table.find(1, 0)->rec.quantity, 0);
  EXPECT_DOUBLE_EQ(r.totals.labour, 0);
  // The unpriced material still gets its quantity 2.5 × 4 = 10 and adds 0.
  EXPECT_DOUBLE_EQ(r.table.find(2, 0)->rec.quantity, 10);
  EXPECT_DOUBLE_EQ(m.nodes[1].net, 0);
}

TEST(PositionCosting, CatalogueInputsMissingKeepStoredValues) {
  estimate_model m = plain_estimate();
  add_element(m);
  model_node& p = add_position(m, 4, 3);
  p.variants.clear();
  p.has_inputs = false;
  p.net = 123.45;
  p.gross = 151.84;
  run_single(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(m.nodes[1].net, 123.45);
  EXPECT_DOUBLE_EQ(m.nodes[1].gross, 151.84);
  // The element still counts the stored value.
  EXPECT_DOUBLE_EQ(m.nodes[0].net, 123.45);
}

TEST(PositionCosting, CoefficientsMultiplicityAndChapterMultiplier) {
  estimate_model m = plain_estimate();
  m.settings.coef = {0.0f, 1.0f, 1.0f}; // a document coefficient of 0 counts as 1
  add_price(m, kind_labour, 1, 10.00);
  model_node& e = add_element(m);
  e.coef = {1.1f, 1.0f, 1.0f};
  model_node& p = add_position(m, 2, 3);
  p.coef = {1.2f, 1.0f, 1.0f};
  p.multiplicity = 1.5f;
  add_input(p, kind_labour, 1, 1);
  // FORMUŁA II: 1.5 × 1.2 × 1.1 × 1 × 2 = 3.96 r-g → 39.60.
  recalc_result r = run_single(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(r.table.find(1, 0)->rec.quantity, 3.96);
  EXPECT_DOUBLE_EQ(m.nodes[1].net, 39.60);
  // FORMUŁA I, "Krotność w wartości jednostkowej" off: unit 1.2 × 1.1 = 1.32 r-g = 13.20,
  // value 13.20 × 2 × 1.5 = 39.60; the table still counts the multiplicity (3.96).
  m.settings.calc_method = method_formula_1;
  r = run_single(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(m.nodes[1].net, 39.60);
  EXPECT_DOUBLE_EQ(r.table.find(1, 0)->rec.quantity, 3.96);
  // With the switch on the multiplicity is inside the unit: 1.98 r-g = 19.80 per unit.
  m.settings.multiplicity_in_unit = 1;
  r = run_single(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(m.nodes[1].net, 39.60);
  costing_context ctx = make_costing_context(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(input_quantity(ctx, m.nodes[1].variants[0].entries[0], 1, 1.0), 1.98);
}

TEST(PositionCosting, ChapterMultiplierComesBeforeRounding) {
  estimate_model m = plain_estimate();
  model_node& p = add_position(m, 1.25, 2); // one decimal
  // Alone: 1.25 → 1.3.
  EXPECT_DOUBLE_EQ(position_quantity(m, p), 1.3);
  // In a chapter with quantity 2 (whole number code): 2.5, rounded to one decimal.
  m.is_chapter = true;
  m.chapter_multiplier = 2;
  m.chapter_code = 3;
  EXPECT_DOUBLE_EQ(position_quantity(m, m.nodes[0]), 2.5);
}
