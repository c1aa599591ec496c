// Overheads: the standard and investor formulas, VAT and the estimate's additions.
#include <gtest/gtest.h>

#include "calc/overheads.h"
#include "calc/recalculation.h"
#include "calc_builders.h"

using namespace kovra::calc;
using namespace kovra::test;

namespace {

overhead_table kp_z_table() {
  overhead_table t = default_standard_overheads();
  t.rows[row_kp].rates[col_r] = 70;
  t.rows[row_kp].rates[col_s] = 70;
  t.rows[row_kp].rates[col_m] = 0;
  for (int c : {col_r, col_kp_r, col_s, col_kp_s}) t.rows[row_profit].rates[c] = 12;
  return t;
}

} // namespace

TEST(StandardOverheads, KpAndProfitOnEqualPairs) {
  const overheads o = standard_overheads(kp_z_table(), 200.00, 100.00, 50.00, false);
  EXPECT_DOUBLE_EQ(o.item[comp_r][row_kp], 70.00);
  EXPECT_DOUBLE_EQ(o.item[comp_s][row_kp], 35.00);
  EXPECT_DOUBLE_EQ(o.item[comp_m][row_kp], 0);
  // 12 % of 170.00 and of 85.00 in one computation each.
  EXPECT_DOUBLE_EQ(o.item[comp_r][row_profit], 20.40);
  EXPECT_DOUBLE_EQ(o.item[comp_s][row_profit], 10.20);
  EXPECT_DOUBLE_EQ(o.item[comp_m][row_profit], 0);
}

TEST(StandardOverheads, ProfitWithDifferentRatesOnComponentAndKp) {
  overhead_table t = kp_z_table();
  t.rows[row_profit].rates[col_kp_r] = 10;
  const overheads o = standard_overheads(t, 0, 100.00, 0, false);
  // 12 % of 100.00 plus 10 % of 70.00.
  EXPECT_DOUBLE_EQ(o.item[comp_r][row_profit], 19.00);
}

TEST(StandardOverheads, HarmfulConditionsRaiseTheKpBaseOfROnly) {
  overhead_table t = kp_z_table();
  t.rows[row_harmful].rates[col_r] = 10;
  t.kp_plus_ws = 1;
  const overheads o = standard_overheads(t, 0, 100.00, 50.00, false);
  EXPECT_DOUBLE_EQ(o.item[comp_r][row_kp], 77.00); // 70 % of 110.00
  EXPECT_DOUBLE_EQ(o.item[comp_s][row_kp], 35.00); // S unchanged
  EXPECT_DOUBLE_EQ(o.item[comp_r][row_harmful], 10.00); // also charged as an item of its own
}

TEST(StandardOverheads, ActiveSiteRaisesTheProfitBasesAndItemsUseComponentKpAndRunningTotal) {
  overhead_table t = kp_z_table();
  t.rows[row_active_site].rates[col_r] = 10;
  t.rows[row_active_site].rates[col_s] = 10;
  t.z_plus_cz = 1;
  t.rows[5].rates[col_r] = 3; // on R and Kp(R) alike, and 1 % on the running total
  t.rows[5].rates[col_kp_r] = 3;
  t.rows[5].rates[col_running] = 1;
  const overheads o = standard_overheads(t, 0, 100.00, 50.00, false);
  // Kp on the plain bases: 70.00 and 35.00.
  EXPECT_DOUBLE_EQ(o.item[comp_r][row_kp], 70.00);
  EXPECT_DOUBLE_EQ(o.item[comp_s][row_kp], 35.00);
  // Z bases raised by row 3: R 110, S 55. Z 12 % of 110 + 70 = 21.60 and of 55 + 35 = 10.80.
  EXPECT_DOUBLE_EQ(o.item[comp_r][row_profit], 21.60);
  EXPECT_DOUBLE_EQ(o.item[comp_s][row_profit], 10.80);
  // Row 3 charged on the plain components: 10.00 and 5.00.
  EXPECT_DOUBLE_EQ(o.item[comp_r][row_active_site], 10.00);
  EXPECT_DOUBLE_EQ(o.item[comp_s][row_active_site], 5.00);
  // Row 5 on R: 3 % of 100 + 70 = 5.10, plus 1 % of the running total 100 + 70 + 21.60 + 10
  // = 201.60 → 2.016 → 2.02: 7.12. On S only the running total: 1 % of 50 + 35 + 10.80 + 5
  // = 100.80 → 1.008 → 1.01.
  EXPECT_NEAR(o.item[comp_r][5], 7.12, 1e-9);
  EXPECT_DOUBLE_EQ(o.item[comp_s][5], 1.01);
  EXPECT_DOUBLE_EQ(o.item[comp_m][5], 0);
}

TEST(StandardOverheads, RunningTotalAndUnusedRates) {
  overhead_table t = kp_z_table();
  t.rows[row_general_contracting].rates[col_running] = 10;
  t.rows[5].rates[col_r] = -1; // −1 and 0 add nothing
  t.rows[6].rates[col_r] = 0;
  const overheads o = standard_overheads(t, 0, 100.00, 0, true);
  // Running total of R before row 10: 100 + 70 + 20.40 = 190.40; 10 % = 19.04.
  EXPECT_DOUBLE_EQ(o.item[comp_r][row_general_contracting], 19.04);
  EXPECT_DOUBLE_EQ(o.item[comp_r][5], 0);
  EXPECT_DOUBLE_EQ(o.item[comp_r][6], 0);
  EXPECT_DOUBLE_EQ(o.sum(comp_r, false), 70.00 + 20.40 + 19.04);
}

TEST(InvestorOverheads, ProfitOnTheSumTakesTheKpRate) {
  overhead_table t = default_investor_overheads();
  t.rows[row_kp].rates[col_r] = 60;
  t.rows[row_profit].rates[col_r] = 10;
  t.rows[row_profit].rates[col_s] = 11;
  t.rows[row_profit].rates[col_kp_s] = 15;
  t.rows[row_vat].rates[col_running] = 23;
  const overheads o = investor_overheads(t, 200.00, 100.00, 50.00, true, true);
  EXPECT_DOUBLE_EQ(o.item[comp_r][row_kp], 90.00); // 60 % of R + S
  // 15 % of R + S + Kp = 240.00; M bears no profit.
  EXPECT_DOUBLE_EQ(o.item[comp_r][row_profit], 36.00);
  EXPECT_DOUBLE_EQ(o.item[comp_r][row_vat], 109.48); // 23 % of 476.00
  // Per component: 10 % of 100 + 11 % of 50 + 15 % of 90.
  const overheads p = investor_overheads(t, 200.00, 100.00, 50.00, false, false);
  EXPECT_DOUBLE_EQ(p.item[comp_r][row_profit], 10.00 + 5.50 + 13.50);
  EXPECT_DOUBLE_EQ(p.item[comp_m][row_kp], 0);
}

TEST(EstimateTotals, AdditionsBearNoOverheadsButVat) {
  estimate_model m = plain_estimate();
  set_rate(m, row_vat, col_running, 23);
  set_rate(m, row_kp, col_r, 50); // would apply to R, not to additions
  model_node n;
  n.type = node_simplified_plain;
  n.quantity = 1;
  n.precision_code = 3;
  n.unit_price[3] = 9000.00; // all-in, no overheads
  m.nodes.push_back(n);
  m.additions.push_back({"Dodatek", 1000.00});
  const recalc_result r = run_single(m, options_from_settings(m.settings));
  EXPECT_DOUBLE_EQ(r.totals.additions, 1000.00);
  EXPECT_DOUBLE_EQ(r.totals.net, 10000.00);
  EXPECT_DOUBLE_EQ(r.totals.vat, 2300.00);
  EXPECT_DOUBLE_EQ(r.totals.gross, 12300.00);
  EXPECT_DOUBLE_EQ(r.totals.overheads.cell[row_estimate][1], 1000.00);
}

TEST(OverheadLevels, PerPositionAndPerElementRoundDifferently) {
  // Two positions of R = 0.05 each at Kp 50 %: per position each gets 0.03 (0.025 rounded
  // up), together 0.06; per element the sum 0.10 gets 0.05.
  for (uint8_t per_position : {0, 1}) {
    estimate_model m = plain_estimate();
    m.settings.overheads_per_position = per_position;
    set_rate(m, row_kp, col_r, 50);
    add_price(m, kind_labour, 1, 0.05);
    add_element(m);
    add_input(add_position(m, 1, 3), kind_labour, 1, 1);
    add_input(add_position(m, 1, 3), kind_labour, 1, 1);
    const recalc_result r = run_single(m, options_from_settings(m.settings));
    EXPECT_DOUBLE_EQ(m.nodes[0].net, per_position ? 0.16 : 0.15);
    EXPECT_DOUBLE_EQ(m.nodes[1].net, per_position ? 0.08 : 0.05);
    EXPECT_DOUBLE_EQ(r.totals.overheads.cell[3][ec_r], per_position ? 0.06 : 0.05); // Kp row
    EXPECT_DOUBLE_EQ(r.totals.overheads.cell[0][ec_r], 0.10);
  }
}
