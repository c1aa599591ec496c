// Whole runs: the demo estimates checked by hand, the input table and the estimate totals.
#include <fstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "calc/compound_recalc.h"
#include "calc/estimate_json.h"
#include "calc/rounding_settings.h"
#include "calc/recalculation.h"
#include "calc_builders.h"

using namespace kovra::calc;
using namespace kovra::test;

namespace {

nlohmann::json read_json(const std::string& relative) {
  std::ifstream in(source_path(relative));
  return nlohmann::json::parse(in);
}

estimate_model demo_house() {
  estimate_model m;
  std::string error;
  EXPECT_TRUE(estimate_from_json(read_json("examples/demo_house.json"), m, error)) << error;
  return m;
}

const model_node& by_number(const estimate_model& m, int16_t type, const std::string& number) {
  for (const model_node& n : m.nodes)
    if (n.type == type && n.number == number) return n;
  static model_node none;
  ADD_FAILURE() << "no node " << number;
  return none;
}

} // namespace

TEST(DemoHouse, PositionsOfEveryKindByHand) {
  estimate_model m = demo_house();
  const recalc_result r = recalculate(m);
  // Position 1, 144 m2: labour 0.0053 × 144 = 0.7632 r-g × 34.00 = 25.9488 → 25.95;
  // equipment 0.0034 × 144 = 0.4896 m-g × 150.00 = 73.44; net 99.39, gross + 8 % = 107.34.
  EXPECT_DOUBLE_EQ(by_number(m, node_position, "1").net, 99.39);
  EXPECT_DOUBLE_EQ(by_number(m, node_position, "1").gross, 107.34);
  // Position 6 with "Materiały inne (Materiały)" 2.5 %, Q 2.6: labour 3.952 × 37 = 146.22;
  // concrete (base material) 2.652 × 294 = 779.688 → 779.69; water 0.13 × 9.60 = 1.25;
  // mixer 0.208 × 18 = 3.74; 2.5 % of 779.688 = 19.49; sum 950.39.
  EXPECT_DOUBLE_EQ(by_number(m, node_position, "6").net, 950.39);
  // Position 10 with "Materiały inne (Robocizna)" 1.5 %, Q 31.2: labour 46.176 × 38 = 1754.69;
  // blocks 414.96 × 4.30 = 1784.33; mortar 1.17936 × 325.50 = 383.88; mixer 0.624 × 18 = 11.23;
  // 1.5 % of 1754.69 = 26.32; sum 3960.45.
  EXPECT_DOUBLE_EQ(by_number(m, node_position, "10").net, 3960.45);
  // Position 28 with an investor material (mode 1) and "Sprzęt inny (Robocizna)" 1.5 %,
  // Q 132: labour 48.84 × 39 = 1904.76; roofing 149.16 × 44.10 = 6577.96 removed again;
  // screws 1056 × 0.37 = 390.72; van 1.32 × 75 = 99.00; 1.5 % of 1904.76 = 28.57;
  // net 1904.76 + 390.72 + 99.00 + 28.57 = 2423.05.
  EXPECT_DOUBLE_EQ(by_number(m, node_position, "28").net, 2423.05);
  // Position 30 with a blocked input of 1 m-g, Q 22: labour 5.5 × 39 = 214.50; sheet
  // 7.7 × 44.10 = 339.57; van fixed 1 × 75 = 75.00; sum 629.07.
  EXPECT_DOUBLE_EQ(by_number(m, node_position, "30").net, 629.07);
  // Position 31 is flagged as not valued.
  EXPECT_DOUBLE_EQ(by_number(m, node_position, "31").net, 0);
  // Simplified 32 (type 4, column 3): 22 × (12.40 + 38.50 + 0.80) = 272.80 + 847.00 + 17.60.
  EXPECT_DOUBLE_EQ(by_number(m, node_simplified, "32").net, 1137.40);
  // Simplified 33 (type 5), 12 m with multiplicity 2: q = 24; 242.40 + 717.60.
  EXPECT_DOUBLE_EQ(by_number(m, node_simplified_plain, "33").net, 960.00);
  // Scaffolding 34 linked to positions 13 and 14: 1.37 × 107.6 + 6.6 × 3.12 = 147.412 +
  // 20.592 = 168.004 r-g; t = 168.004 / (8 × 0.9) = 23.33389; n = 100; q = 2333.389 m-g;
  // 2333.389 × 6.50 = 15167.0285 → 15167.03.
  const model_node& s = by_number(m, node_scaffold, "34");
  EXPECT_DOUBLE_EQ(s.scaffold_labour_hours, 168.004);
  EXPECT_DOUBLE_EQ(s.net, 15167.03);
  EXPECT_DOUBLE_EQ(r.table.find(3160, 0)->rec.quantity, 2333.389);
  // One-off 35: 23 km, bands of 5 km: 150 + 150 + 90 + 4 × 45 = 570.00.
  EXPECT_DOUBLE_EQ(by_number(m, node_one_off, "35").net, 570.00);
  EXPECT_DOUBLE_EQ(r.totals.one_off, 570.00);
  EXPECT_DOUBLE_EQ(r.totals.simplified_labour, 272.80 + 242.40);
  EXPECT_DOUBLE_EQ(r.totals.simplified_materials, 847.00 + 717.60);
}

TEST(DemoHouse, ElementOverheadsAndEstimateTotals) {
  estimate_model m = demo_house();
  const recalc_result r = recalculate(m);
  // Element 1.1: R = 25.95 + 30.29 + 322.48 + 514.08 + 0 = 892.80,
  // S = 73.44 + 199.58 + 133.06 + 94.15 = 500.23. Kp 65 %: 580.32 and 325.15;
  // Z 12 % on R + Kp(R) = 1473.12 → 176.77 and on S + Kp(S) = 825.38 → 99.05.
  // Net 892.80 + 500.23 + 580.32 + 325.15 + 176.77 + 99.05 = 2574.32.
  EXPECT_DOUBLE_EQ(by_number(m, node_element, "1.1").net, 2574.32);
  EXPECT_DOUBLE_EQ(by_number(m, node_element, "1.1").gross, 2780.27); // + 205.9456 → 205.95
  // The estimate: top-level values + additions 2500 + 3200; VAT 8 % of the whole.
  double top = 0;
  for (int i : m.roots) top += m.nodes[static_cast<size_t>(i)].net;
  EXPECT_DOUBLE_EQ(r.totals.additions, 5700.00);
  EXPECT_NEAR(r.totals.net, top + 5700.00, 1e-6);
  EXPECT_DOUBLE_EQ(r.totals.vat, std::floor(r.totals.net * 8 + 0.5000001) / 100);
  EXPECT_NEAR(r.totals.gross, r.totals.net + r.totals.vat, 1e-9);
  EXPECT_NEAR(r.totals.overheads.cell[row_estimate][2], r.totals.net, 1e-9);
  // Row 14 adds up: direct costs plus Kp and Z give the positions' total.
  EXPECT_NEAR(r.totals.overheads.total(), top, 1e-6);
  // The labour hours of the run include the scaffolding's linked work once per position.
  EXPECT_GT(r.totals.labour_hours, 168.004);
}

TEST(DemoHouse, InvestorMaterialAndWriteBack) {
  estimate_model m = demo_house();
  recalculate(m);
  // Roofing sheet 1830101: 149.16 m2 as investor material (position 28) plus 7.7 (30);
  // position 31 is not valued: its 2 m2 count as excluded.
  for (const price_record& p : m.prices) {
    if (p.id != 1830101) continue;
    EXPECT_DOUBLE_EQ(p.quantity, 156.86);
    EXPECT_DOUBLE_EQ(p.investor_quantity, 149.16);
    EXPECT_DOUBLE_EQ(p.excluded_quantity, 2);
    EXPECT_EQ(p.mp_mode, 1);
  }
  // Water had no purchase-cost mode: it becomes a percentage of 0.
  for (const price_record& p : m.prices) {
    if (p.id == 2990101) {
      EXPECT_EQ(p.kz_mode, 4);
    }
  }
}

TEST(Recalculation, InvestorModeComesFromThisRunsInputsOnly) {
  // Material 5 at 12.00 with purchase costs, 10.00 without; one position uses 5 units.
  estimate_model m = plain_estimate();
  add_price(m, kind_material, 5, 12.0, 10.0);
  add_element(m);
  input_entry& in = add_input(add_position(m, 1.0), kind_material, 5, 5.0);
  // A record left with mode 2 by an earlier run; the input now says mode 1.
  m.prices[0].mp_mode = 2;
  in.mp_mode = 1;
  estimate_model again = m;
  recalc_result r = recalculate(m);
  EXPECT_EQ(m.prices[0].mp_mode, 1);
  EXPECT_DOUBLE_EQ(r.totals.investor_materials, 60.0);       // 5 × 12.00
  EXPECT_DOUBLE_EQ(r.totals.investor_materials_base, 50.0);  // 5 × 10.00
  // The input no longer supplies it: the material is bought again, whatever the record held.
  m.nodes.back().variants[0].entries[0].mp_mode = 0;
  r = recalculate(m);
  EXPECT_EQ(m.prices[0].mp_mode, 0);
  EXPECT_DOUBLE_EQ(m.prices[0].investor_quantity, 0.0);
  EXPECT_DOUBLE_EQ(r.totals.investor_materials, 0.0);
  // Two runs of the same estimate give the same records.
  recalculate(again);
  const price_record first = again.prices[0];
  recalculate(again);
  EXPECT_EQ(again.prices[0].mp_mode, first.mp_mode);
  EXPECT_EQ(again.prices[0].investor_quantity, first.investor_quantity);
}

TEST(Recalculation, PurchaseCostsFillRowsOneAndTwoWhenPricesLeaveThemOut) {
  // Material 1: 3 × 11.00 (base 10.00); material 2: 1 × 22.00 (base 20.00) supplied by the
  // investor with its purchase costs charged (mode 2). Without purchase costs in the
  // prices: rate ((33 + 2) − 2 − 30) × 100 / 30 = 10 %, Kz = 30.00 × 10 % = 3.00, Kz on the
  // investor material 2.00, M = 30.00 + 3.00 + 2.00 = 35.00.
  for (bool per_position : {false, true}) {
    estimate_model m = plain_estimate();
    m.settings.overheads_per_position = per_position ? 1 : 0;
    add_price(m, kind_material, 1, 11.0, 10.0);
    add_price(m, kind_material, 2, 22.0, 20.0);
    add_element(m);
    model_node& p = add_position(m, 1.0);
    add_input(p, kind_material, 1, 3.0);
    add_input(p, kind_material, 2, 1.0).mp_mode = 2;
    recalc_options o = options_from_settings(m.settings);
    o.prices_include_kz = false;
    const recalc_result r = run_single(m, o);
    const auto& t = r.totals.overheads.cell;
    EXPECT_DOUBLE_EQ(t[row_direct][ec_m], 30.0) << per_position;
    EXPECT_DOUBLE_EQ(t[row_kz_investor][ec_m], 2.0) << per_position;
    EXPECT_DOUBLE_EQ(t[row_kz][ec_m], 3.0) << per_position;
    EXPECT_DOUBLE_EQ(t[row_sums][ec_m], 35.0) << per_position;
    EXPECT_DOUBLE_EQ(r.totals.net, 35.0) << per_position;
  }
}

TEST(Recalculation, EmptyEstimate) {
  estimate_model m = plain_estimate();
  const recalc_result r = recalculate(m);
  EXPECT_EQ(r.totals.net, 0);
  EXPECT_EQ(r.totals.gross, 0);
  EXPECT_TRUE(r.table.entries().empty());
}

TEST(Recalculation, TableTotalsRoundOnTheSummedQuantity) {
  // Two positions each using 0.015 of a material at 0.33: each is worth 0.00495 → 0.00, but
  // the table holds 0.03 and its M total is 0.0099 → 0.01.
  estimate_model m = plain_estimate();
  add_price(m, kind_material, 5, 0.33);
  add_element(m);
  add_input(add_position(m, 1, 3), kind_material, 5, 0.015);
  add_input(add_position(m, 1, 3), kind_material, 5, 0.015);
  const recalc_result r = recalculate(m);
  EXPECT_DOUBLE_EQ(r.table.find(5, 0)->rec.quantity, 0.03);
  EXPECT_DOUBLE_EQ(r.totals.materials, 0.01);
  EXPECT_DOUBLE_EQ(m.nodes[0].net, 0);
}

TEST(Recalculation, UnknownInputGetsAPlaceholder) {
  estimate_model m = plain_estimate();
  add_element(m);
  add_input(add_position(m, 2, 3), kind_labour, 12345, 1, 7);
  const recalc_result r = recalculate(m);
  const input_table_entry* e = r.table.find(12345, 7);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->rec.name, "Nieznany Ss= 12345  7");
  EXPECT_EQ(e->rec.unit, "???    ");
  EXPECT_EQ(e->rec.kind, kind_material);
  EXPECT_EQ(e->price, 0);
  EXPECT_EQ(m.nodes[1].net, 0);
  EXPECT_TRUE(m.prices.empty()); // nothing is invented in the price records
}

TEST(Recalculation, UnknownKeysAmongKnownOnesEachOnceInKeyOrder) {
  estimate_model m = plain_estimate();
  add_price(m, kind_labour, 500, 10.00);
  add_price(m, kind_material, 20, 2.00);
  add_element(m);
  // Unknown keys around and between the known ones, repeated across positions and kinds;
  // a scaffolding with an unknown equipment key and one left out of everything.
  model_node& a = add_position(m, 1, 3);
  add_input(a, kind_labour, 900, 1);
  add_input(a, kind_labour, 500, 2);
  add_input(a, kind_material, 20, 3, 1);
  add_input(a, kind_equipment, 7, 1);
  model_node& b = add_position(m, 1, 3);
  add_input(b, kind_material, 900, 1);
  add_input(b, kind_material, 20, 1, 1);
  add_input(b, kind_material, 20, 1);
  model_node s;
  s.type = node_scaffold;
  s.level = 1;
  s.scaffold_input_id = 3000;
  m.nodes.push_back(s);
  s.scaffold_input_id = 4000;
  s.flags = flag_no_input_totals | flag_not_valued_8; // reaches neither pass
  m.nodes.push_back(s);
  const recalc_result r = recalculate(m);
  std::vector<std::pair<uint32_t, uint16_t>> keys;
  for (const input_table_entry& e : r.table.entries()) keys.emplace_back(e.rec.id, e.rec.sub);
  const std::vector<std::pair<uint32_t, uint16_t>> expected{{7, 0}, {20, 0}, {20, 1}, {500, 0}, {900, 0}, {3000, 0}};
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(r.table.find(20, 0)->rec.name, "input 20"); // the record's own copy
  EXPECT_EQ(r.table.find(20, 1)->rec.name, "Nieznany Ss= 20  1");
  // Only the known inputs carry a price: 2 r-g × 10.00 in the first, 1 × 2.00 in the second.
  EXPECT_DOUBLE_EQ(m.nodes[1].net, 20.00);
  EXPECT_DOUBLE_EQ(m.nodes[2].net, 2.00);
  EXPECT_DOUBLE_EQ(r.table.find(900, 0)->rec.quantity, 2);
}

TEST(Recalculation, MergedElementUnitPriceAndValueCorrection) {
  for (uint8_t correction : {0, 1}) {
    estimate_model m = plain_estimate();
    m.settings.merged_value_correction = correction;
    model_node& e = add_element(m);
    e.merged = 1;
    e.merged_quantity = 3;
    e.merged_precision_code = 3;
    model_node p;
    p.type = node_simplified_plain;
    p.level = 1;
    p.quantity = 1;
    p.precision_code = 3;
    p.unit_price[3] = 100.00;
    m.nodes.push_back(p);
    const recalc_result r = recalculate(m);
    EXPECT_DOUBLE_EQ(m.nodes[0].merged_unit_price, 33.33);
    EXPECT_DOUBLE_EQ(m.nodes[0].net, correction ? 99.99 : 100.00);
    EXPECT_DOUBLE_EQ(r.totals.net, correction ? 99.99 : 100.00);
  }
  // A negative value keeps a positive unit price and negates the quantity.
  estimate_model m = plain_estimate();
  model_node& e = add_element(m);
  e.merged = 1;
  e.merged_quantity = 4;
  e.merged_precision_code = 3;
  model_node p;
  p.type = node_simplified_plain;
  p.level = 1;
  p.quantity = 1;
  p.unit_price[3] = -10.00;
  m.nodes.push_back(p);
  recalculate(m);
  EXPECT_DOUBLE_EQ(m.nodes[0].merged_unit_price, 2.50);
  EXPECT_DOUBLE_EQ(m.nodes[0].merged_quantity, -4);
}

TEST(Recalculation, LabourRatePricesEveryLabourInput) {
  estimate_model m = plain_estimate();
  m.settings.labour_rate = 41.50;
  add_price(m, kind_labour, 1, 30.00);
  add_element(m);
  add_input(add_position(m, 2, 3), kind_labour, 1, 1.5);
  const recalc_result r = recalculate(m);
  EXPECT_DOUBLE_EQ(m.nodes[1].net, 124.50); // 3 r-g × 41.50
  EXPECT_DOUBLE_EQ(r.totals.labour, 124.50);
  EXPECT_DOUBLE_EQ(r.totals.labour_hours, 3);
}

TEST(Recalculation, FlagTwoLeavesInputTotalsButNotTheValue) {
  estimate_model m = plain_estimate();
  add_price(m, kind_labour, 1, 10.00);
  add_element(m);
  model_node& p = add_position(m, 2, 3);
  p.flags = flag_no_input_totals;
  add_input(p, kind_labour, 1, 1);
  const recalc_result r = recalculate(m);
  EXPECT_DOUBLE_EQ(m.nodes[1].net, 20.00);
  EXPECT_DOUBLE_EQ(r.table.find(1, 0)->rec.quantity, 0);
  EXPECT_DOUBLE_EQ(r.totals.labour, 0);
  EXPECT_DOUBLE_EQ(r.totals.net, 20.00);
}

TEST(Recalculation, PurchaseCostsGivenAsAnAmount) {
  estimate_model m = plain_estimate();
  price_record& pr = add_price(m, kind_material, 9, 0, 20.00);
  pr.kz_mode = 6;
  pr.kz_value = 50.00; // spread over the 25 units used: 2.00 each
  add_element(m);
  add_input(add_position(m, 25, 3), kind_material, 9, 1);
  const recalc_result r = recalculate(m);
  EXPECT_DOUBLE_EQ(r.table.find(9, 0)->price, 22.00);
  EXPECT_DOUBLE_EQ(r.table.find(9, 0)->kz_percent, 10.00);
  EXPECT_DOUBLE_EQ(m.nodes[1].net, 550.00);
  EXPECT_DOUBLE_EQ(m.prices[0].price, 22.00); // written back
}

TEST(CompoundRecalculation, DemoChaptersAndAdditions) {
  compound_model c;
  std::string error;
  ASSERT_TRUE(compound_from_json(read_json("examples/demo_compound.json"), c, error)) << error;
  const compound_result r = recalculate_compound(c);
  ASSERT_EQ(r.chapters.size(), 3u);
  // Chapter 1 holds positions 1 to 5 of the house at the top level: 2574.32 as element 1.1.
  EXPECT_DOUBLE_EQ(r.chapters[0].totals.net, 2574.32);
  // Chapter 3 has the quantity 2: position 13 counts 2 × 107.6 = 215.2 m2, and its mason
  // hours 1.37 × 215.2 = 294.824 r-g.
  EXPECT_DOUBLE_EQ(r.chapters[2].table.find(1022, 0)->rec.quantity, 294.824 + 2 * 16.5 * 0.21);
  // Compound: chapters' nets and VAT, plus the additions 1800 with 8 % VAT (144.00).
  const double nets = r.chapters[0].totals.net + r.chapters[1].totals.net + r.chapters[2].totals.net;
  const double vats = r.chapters[0].totals.vat + r.chapters[1].totals.vat + r.chapters[2].totals.vat;
  EXPECT_NEAR(r.totals.net, nets + 1800.00, 1e-6);
  EXPECT_NEAR(r.totals.vat, vats + 144.00, 1e-6);
  EXPECT_NEAR(r.totals.gross, r.totals.net + r.totals.vat, 1e-9);

  // With a total-rounding step of 1.00 the compound's total comes out whole.
  struct whole_steps : rounding_settings {
    double total_rounding_step() const override { return 1.0; }
    void set_total_rounding_step(double) override {}
  } whole;
  set_rounding_settings(&whole);
  ASSERT_TRUE(compound_from_json(read_json("examples/demo_compound.json"), c, error)) << error;
  const compound_result rounded = recalculate_compound(c);
  set_rounding_settings(nullptr);
  EXPECT_EQ(rounded.totals.gross, std::round(r.totals.gross));
  EXPECT_NE(r.totals.gross, std::round(r.totals.gross));  // the demo's total has grosze
}

TEST(CompoundRecalculation, MergingPricesExtremesAndPurchaseCosts) {
  // Two chapters use material 1: 10 units at 11.00 (base 10.00, 10 %) and 30 units at 12.00
  // (base 10.00, 20 %).
  auto chapter = [](double price, double qty) {
    chapter_model ch;
    ch.doc = plain_estimate();
    add_price(ch.doc, kind_material, 1, price, 10.00);
    add_element(ch.doc);
    add_input(add_position(ch.doc, qty, 3), kind_material, 1, 1);
    return ch;
  };
  compound_model c;
  c.overheads = default_standard_overheads();
  c.chapters.push_back(chapter(11.00, 10));
  c.chapters.push_back(chapter(12.00, 30));
  recalculate_compound(c);
  ASSERT_EQ(c.summary.size(), 1u);
  const summary_record& s = c.summary[0];
  EXPECT_DOUBLE_EQ(s.quantity, 40);
  EXPECT_DOUBLE_EQ(s.value, 110.00 + 360.00);
  EXPECT_DOUBLE_EQ(s.price_low, 11.00);
  EXPECT_DOUBLE_EQ(s.price_high, 12.00);
  EXPECT_DOUBLE_EQ(s.base_price_low, 10.00);
  EXPECT_DOUBLE_EQ(s.basis_quantity, 40);
  EXPECT_DOUBLE_EQ(s.basis_value, 470.00);
  // Average price 470 / 40 = 11.75.
  EXPECT_DOUBLE_EQ(s.average_price(), 11.75);
  // Different percentages: an amount (mode 7): (11.00 − 10.00) × 10 + (12.00 − 10.00) × 30 = 70.
  EXPECT_EQ(s.kz_mode & 0x7f, 7);
  EXPECT_NEAR(s.kz_value, 70.00, 1e-9);
  // A second run starts the sums again.
  recalculate_compound(c);
  EXPECT_DOUBLE_EQ(c.summary[0].quantity, 40);
}

TEST(CompoundRecalculation, SummaryRecordsOfNewKeysJoinInKeyOrder) {
  // The compound already holds records for keys 20 and 40 (out of order, as read); the
  // chapters use 10, 20, 30 and 50, and 30 in both.
  auto chapter = [](std::initializer_list<uint32_t> ids) {
    chapter_model ch;
    ch.doc = plain_estimate();
    add_element(ch.doc);
    model_node& p = add_position(ch.doc, 1, 3);
    for (uint32_t id : ids) {
      add_price(ch.doc, kind_labour, id, 1.00);
      add_input(p, kind_labour, id, 2);
    }
    return ch;
  };
  compound_model c;
  c.overheads = default_standard_overheads();
  for (uint32_t id : {40u, 20u}) {
    summary_record s;
    s.id = id;
    s.pos = static_cast<int32_t>(id);
    s.quantity = 99; // a stale sum of an earlier run
    c.summary.push_back(s);
  }
  c.chapters.push_back(chapter({10, 30}));
  c.chapters.push_back(chapter({20, 30, 50}));
  recalculate_compound(c);
  std::vector<uint32_t> ids;
  for (const summary_record& s : c.summary) ids.push_back(s.id);
  EXPECT_EQ(ids, (std::vector<uint32_t>{10, 20, 30, 40, 50}));
  EXPECT_EQ(c.summary[1].pos, 20); // the stored record keeps its place in the file
  EXPECT_EQ(c.summary[0].pos, -1); // a new key has no record yet
  EXPECT_DOUBLE_EQ(c.summary[2].quantity, 4); // 2 from each chapter
  EXPECT_DOUBLE_EQ(c.summary[3].quantity, 0); // used by no chapter this time
}
