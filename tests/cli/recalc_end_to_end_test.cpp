// Whole estimates written with `kovra-cli build` from JSON and recalculated with
// `kovra-cli recalc --json`: each calculation method, both overhead levels, both profit
// options, the base-raising switches, investor materials, purchase-cost modes 4 to 7, a
// labour rate, blocked and excluded inputs, flags 2, 8 and 16, merged elements, scaffolding
// and one-off costs per unit, and a compound estimate with chapter multipliers.
//
// Every expected value is worked out by hand in the comments from the costing rules:
// quantities rounded by magnitude (below 1000: 5 decimals), money to the grosz, an
// overhead = rate × base / 100 rounded to the grosz, Z on a component and its Kp computed
// once on the sum when both rates are equal. Values are chosen so that no rounding falls on
// a half grosz.
#include <fstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/cli_run.h"
#include "shell/temp_folder.h"

using nlohmann::json;
using kovra::test::run_cli;

namespace {

// ---- builders of the JSON form ----------------------------------------------------------

// An overhead record with every rate off (−1) and the usual row names.
json no_overheads() {
  const char* names[12] = {"Koszty zakupu", "Koszty pośrednie", "Zysk", "Czynny zakład", "Warunki szkodliwe", "", "", "",
                           "", "", "Generalne wykonawstwo", "VAT"};
  json rows = json::array();
  for (const char* n : names) rows.push_back({{"name", n}, {"rates", {-1, -1, -1, -1, -1, -1, -1}}});
  return {{"rows", rows}, {"kp_plus_cz", 0}, {"kp_plus_ws", 0}, {"z_plus_cz", 0}, {"z_plus_ws", 0}};
}

void rate(json& oh, int row, int column, double value) { oh["rows"][row]["rates"][column] = value; }

// VAT 8 % on the running total.
json vat_only() {
  json oh = no_overheads();
  rate(oh, 11, 6, 8);
  return oh;
}

// The standard table of most cases: Kp 70 % on R and S, Z 10 % on R, Kp(R), S, Kp(S) and 5 %
// on M (none on Kp(M)), VAT 8 %.
json standard_overheads() {
  json oh = vat_only();
  rate(oh, 1, 0, 70);
  rate(oh, 1, 2, 70);
  for (int c : {0, 2, 3, 5}) rate(oh, 2, c, 10);
  rate(oh, 2, 1, 5);
  return oh;
}

json price(int kind, uint32_t id, const char* name, double price, double base = -1, int kz_mode = 0,
           double kz_value = 0, int base_material = 0) {
  return {{"kind", kind}, {"id", id}, {"sub", 0}, {"unit", kind == 0 ? "r-g" : kind == 2 ? "m-g" : "szt"},
          {"name", name}, {"price", price}, {"base_price", base < 0 ? price : base}, {"kz_mode", kz_mode},
          {"kz_value", kz_value}, {"base_material", base_material}};
}

json entry(int kind, uint32_t id, double norm, uint16_t sub = 0) {
  return {{"kind", kind}, {"id", id}, {"sub", sub}, {"norm", norm}, {"coef", 1.0}};
}

json position(const char* number, double quantity, json entries, uint8_t level = 1) {
  return {{"type", 1}, {"level", level}, {"number", number}, {"unit", "m2"}, {"quantity", quantity},
          {"precision_code", 1}, {"multiplicity", 1.0},
          {"inputs", {{"current", 0}, {"variants", {{{"name", ""}, {"entries", std::move(entries)}}}}}}};
}

json element(const char* number, uint8_t level = 0) {
  return {{"type", 0}, {"level", level}, {"number", number}, {"unit", ""}};
}

json estimate(json general, json overheads, json prices, json nodes, json additions = json::array()) {
  return {{"general", std::move(general)}, {"overheads", std::move(overheads)}, {"prices", std::move(prices)},
          {"nodes", std::move(nodes)}, {"additions", std::move(additions)}};
}

// The prices of most cases: labour 40.00, a base material 10.50 with 5 % purchase costs on
// 10.00, equipment 120.00.
json common_prices() {
  return json::array({price(0, 100, "Robotnik", 40.0), price(1, 200, "Cement", 10.5, 10.0, 4, 5, 1),
                      price(2, 300, "Koparka", 120.0)});
}

// Two positions under one element. P1: Q 10 with labour 1.5, cement 2, equipment 0.1.
// P2: Q 4 with labour 2.25, cement 0.5, "Materiały inne (Materiały)" 4 % and "Sprzęt inny
// (Robocizna)" 2 %. One addition of 100.00.
json two_positions(json general, json overheads) {
  json nodes = json::array({element("1"),
                            position("1", 10, {entry(0, 100, 1.5), entry(1, 200, 2), entry(2, 300, 0.1)}),
                            position("2", 4, {entry(0, 100, 2.25), entry(1, 200, 0.5), entry(3, 88888888, 4, 0),
                                              entry(3, 88888888, 2, 2)})});
  return estimate(std::move(general), std::move(overheads), common_prices(), nodes,
                  json::array({{{"name", "Dodatek"}, {"amount", 100.0}}}));
}

// ---- running the program ----------------------------------------------------------------

// Builds the estimate into a file and recalculates it; null when either step failed. The
// file is written in the current format revision (8) unless the JSON names another, so
// that opening it applies no format upgrades.
json recalc(json spec) {
  kovra::test::temp_folder dir;
  const std::string spec_path = dir.path() + "spec.json", kvr = dir.path() + "e.kvr";
  if (!spec.contains("header")) spec["header"] = {{"revision", 8}};
  std::ofstream(spec_path) << spec.dump();
  const auto built = run_cli({"build", spec_path, "-o", kvr});
  EXPECT_EQ(built.exit_code, 0) << built.err;
  if (built.exit_code != 0) return nullptr;
  const auto r = run_cli({"recalc", kvr, "--json"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  if (r.exit_code != 0) return nullptr;
  return json::parse(r.out);
}

double net_of(const json& nodes, const char* number, int type = 1) {
  for (const json& n : nodes)
    if (n["number"] == number && n["type"] == type) return n["net"].get<double>();
  ADD_FAILURE() << "no node " << number;
  return -1;
}
double gross_of(const json& nodes, const char* number, int type = 1) {
  for (const json& n : nodes)
    if (n["number"] == number && n["type"] == type) return n["gross"].get<double>();
  ADD_FAILURE() << "no node " << number;
  return -1;
}
const json& input_of(const json& r, uint32_t id) {
  for (const json& i : r["inputs"])
    if (i["id"] == id) return i;
  ADD_FAILURE() << "no input " << id;
  static const json none = json::object();
  return none;
}

constexpr double grosz = 0.001; // amounts compare to well below a grosz

} // namespace

// ---- the four calculation methods and the two overhead levels ----------------------------

TEST(RecalcEndToEnd, FormulaTwoOverheadsPerElement) {
  const json r = recalc(two_positions({{"calc_method", 0}, {"overheads_per_position", 0}}, standard_overheads()));
  ASSERT_FALSE(r.is_null());
  const json& nodes = r["nodes"];
  // P1, Q 10: labour 15 r-g × 40 = 600.00; cement 20 × 10.50 = 210.00; equipment 1 × 120 =
  // 120.00; direct costs only: 930.00, VAT 8 % 74.40.
  EXPECT_NEAR(net_of(nodes, "1"), 930.00, grosz);
  EXPECT_NEAR(gross_of(nodes, "1"), 1004.40, grosz);
  // P2, Q 4: labour 9 × 40 = 360.00; cement 2 × 10.50 = 21.00; other materials 4 % of the
  // base materials 21.00 = 0.84; other equipment 2 % of R = 7.20. Net 389.04, VAT 31.12.
  EXPECT_NEAR(net_of(nodes, "2"), 389.04, grosz);
  EXPECT_NEAR(gross_of(nodes, "2"), 420.16, grosz);
  // The element: R 960.00, M 210 + 21 + 0.84 = 231.84, S 120 + 7.20 = 127.20.
  // Kp: 70 % of 960 = 672.00, none on M, 70 % of 127.20 = 89.04.
  // Z: 10 % of (960 + 672) = 163.20; 5 % of 231.84 = 11.592 → 11.59; 10 % of (127.20 +
  // 89.04) = 21.624 → 21.62. Net 960 + 231.84 + 127.20 + 672 + 89.04 + 163.20 + 11.59 +
  // 21.62 = 2276.49; VAT 182.1192 → 182.12.
  EXPECT_NEAR(net_of(nodes, "1", 0), 2276.49, grosz);
  EXPECT_NEAR(gross_of(nodes, "1", 0), 2458.61, grosz);
  // Estimate: 2276.49 + addition 100.00 = 2376.49; VAT 190.1192 → 190.12.
  const json& t = r["totals"];
  EXPECT_NEAR(t["net"].get<double>(), 2376.49, grosz);
  EXPECT_NEAR(t["vat"].get<double>(), 190.12, grosz);
  EXPECT_NEAR(t["gross"].get<double>(), 2566.61, grosz);
  EXPECT_NEAR(t["additions"].get<double>(), 100.00, grosz);
  // Input table: labour 24 r-g × 40 = 960.00; cement 22 × 10.50 = 231.00 (at base 220.00);
  // equipment 1 m-g = 120.00; the percentage items 0.84 and 7.20.
  EXPECT_NEAR(t["labour"].get<double>(), 960.00, grosz);
  EXPECT_NEAR(t["materials"].get<double>(), 231.00, grosz);
  EXPECT_NEAR(t["materials_base"].get<double>(), 220.00, grosz);
  EXPECT_NEAR(t["equipment"].get<double>(), 120.00, grosz);
  EXPECT_NEAR(t["labour_hours"].get<double>(), 24, 1e-9);
  EXPECT_NEAR(t["equipment_hours"].get<double>(), 1, 1e-9);
  EXPECT_NEAR(t["materials_other"].get<double>(), 0.84, grosz);
  EXPECT_NEAR(t["equipment_other"].get<double>(), 7.20, grosz);
  EXPECT_NEAR(input_of(r, 200)["quantity"].get<double>(), 22, 1e-9);
  EXPECT_NEAR(input_of(r, 200)["price"].get<double>(), 10.50, 1e-9);
  EXPECT_NEAR(input_of(r, 200)["base_price"].get<double>(), 10.00, 1e-9);
}

TEST(RecalcEndToEnd, FormulaTwoOverheadsPerPosition) {
  const json r = recalc(two_positions({{"calc_method", 0}, {"overheads_per_position", 1}}, standard_overheads()));
  ASSERT_FALSE(r.is_null());
  const json& nodes = r["nodes"];
  // P1: R 600, M 210, S 120. Kp 420.00 and 84.00; Z 10 % of 1020 = 102.00, 5 % of 210 =
  // 10.50, 10 % of 204 = 20.40. Net 1122.00 + 220.50 + 224.40 = 1566.90; VAT 125.352 → 125.35.
  EXPECT_NEAR(net_of(nodes, "1"), 1566.90, grosz);
  EXPECT_NEAR(gross_of(nodes, "1"), 1692.25, grosz);
  // P2: R 360, M 21 + 0.84 = 21.84, S 0 + other equipment 7.20. Kp 252.00 and 70 % of 7.20 =
  // 5.04; Z 10 % of 612 = 61.20, 5 % of 21.84 = 1.092 → 1.09, 10 % of 12.24 = 1.224 → 1.22.
  // Net 673.20 + 22.93 + 6.26 + 7.20 = 709.59; VAT 56.7672 → 56.77.
  EXPECT_NEAR(net_of(nodes, "2"), 709.59, grosz);
  EXPECT_NEAR(gross_of(nodes, "2"), 766.36, grosz);
  // The element sums its positions' overhead tables: 2276.49; the estimate adds 100.00.
  EXPECT_NEAR(net_of(nodes, "1", 0), 2276.49, grosz);
  EXPECT_NEAR(r["totals"]["net"].get<double>(), 2376.49, grosz);
  EXPECT_NEAR(r["totals"]["vat"].get<double>(), 190.12, grosz);
}

TEST(RecalcEndToEnd, FormulaOnePerUnit) {
  const json r = recalc(two_positions({{"calc_method", 1}}, standard_overheads()));
  ASSERT_FALSE(r.is_null());
  const json& nodes = r["nodes"];
  // P1 per unit: R 1.5 × 40 = 60.00, M 2 × 10.50 = 21.00, S 0.1 × 120 = 12.00. Kp 42.00 and
  // 8.40; Z 10 % of 102 = 10.20, 5 % of 21 = 1.05, 10 % of 20.40 = 2.04. Unit total 112.20 +
  // 22.05 + 22.44 = 156.69; × 10 = 1566.90.
  EXPECT_NEAR(net_of(nodes, "1"), 1566.90, grosz);
  // P2 per unit: R 2.25 × 40 = 90.00, M 0.5 × 10.50 = 5.25, other materials 4 % of 5.25 =
  // 0.21, other equipment 2 % of 90 = 1.80. Kp 63.00 and 70 % of 1.80 = 1.26; Z 10 % of
  // 153 = 15.30, 5 % of 5.46 = 0.273 → 0.27, 10 % of 3.06 = 0.306 → 0.31. Unit total 168.30 +
  // 5.73 + 1.57 + 1.80 = 177.40; × 4 = 709.60 (per element it was 709.59).
  EXPECT_NEAR(net_of(nodes, "2"), 709.60, grosz);
  // The element is the sum of its positions: 2276.50; with the addition 2376.50, VAT 190.12.
  EXPECT_NEAR(net_of(nodes, "1", 0), 2276.50, grosz);
  const json& t = r["totals"];
  EXPECT_NEAR(t["net"].get<double>(), 2376.50, grosz);
  EXPECT_NEAR(t["vat"].get<double>(), 190.12, grosz);
  EXPECT_NEAR(t["gross"].get<double>(), 2566.62, grosz);
  // Quantities are the unit quantities × Q: labour 15 + 9 = 24, cement 20 + 2 = 22; the
  // percentage items per unit × Q: 0.21 × 4 = 0.84 and 1.80 × 4 = 7.20.
  EXPECT_NEAR(t["labour"].get<double>(), 960.00, grosz);
  EXPECT_NEAR(t["materials"].get<double>(), 231.00, grosz);
  EXPECT_NEAR(t["materials_other"].get<double>(), 0.84, grosz);
  EXPECT_NEAR(t["equipment_other"].get<double>(), 7.20, grosz);
}

// Investor table: Kp 60 % on R + S; Z 10 % on R, 8 % on S, 12 % on Kp, none on M; VAT 8 %.
json investor_overheads() {
  json oh = vat_only();
  rate(oh, 1, 0, 60);
  rate(oh, 2, 0, 10);
  rate(oh, 2, 2, 8);
  rate(oh, 2, 5, 12);
  return oh;
}

TEST(RecalcEndToEnd, InvestorMethodProfitOnTheSum) {
  const json r = recalc(two_positions({{"calc_method", 2}, {"profit_per_component", 0}}, investor_overheads()));
  ASSERT_FALSE(r.is_null());
  const json& nodes = r["nodes"];
  // P1 per unit: R 60, M 21, S 12. Kp 60 % of 72 = 43.20. Z on R + S + Kp = 115.20 at the
  // rate of the Kp column (12 %, it wins over S and R): 13.824 → 13.82. Unit 60 + 43.20 +
  // 13.82 + 21 + 12 = 150.02; × 10 = 1500.20.
  EXPECT_NEAR(net_of(nodes, "1"), 1500.20, grosz);
  // P2 per unit: R 90, M 5.25 + 0.21, S 0 + other equipment 1.80. Kp 60 % of 91.80 = 55.08;
  // Z 12 % of (90 + 1.80 + 55.08 = 146.88) = 17.6256 → 17.63. Unit 162.71 + 5.46 + 1.80 =
  // 169.97; × 4 = 679.88.
  EXPECT_NEAR(net_of(nodes, "2"), 679.88, grosz);
  // 2180.08 + 100.00 = 2280.08; VAT 182.4064 → 182.41.
  EXPECT_NEAR(r["totals"]["net"].get<double>(), 2280.08, grosz);
  EXPECT_NEAR(r["totals"]["vat"].get<double>(), 182.41, grosz);
  EXPECT_NEAR(r["totals"]["gross"].get<double>(), 2462.49, grosz);
}

TEST(RecalcEndToEnd, InvestorMethodProfitPerComponent) {
  const json r = recalc(two_positions({{"calc_method", 2}, {"profit_per_component", 1}}, investor_overheads()));
  ASSERT_FALSE(r.is_null());
  const json& nodes = r["nodes"];
  // P1: Kp 43.20; Z 10 % of 60 = 6.00 + 8 % of 12 = 0.96 + 12 % of 43.20 = 5.184 → 5.18:
  // 12.14. Unit 60 + 43.20 + 12.14 + 21 + 12 = 148.34; × 10 = 1483.40.
  EXPECT_NEAR(net_of(nodes, "1"), 1483.40, grosz);
  // P2: Kp 55.08; Z 9.00 + 8 % of 1.80 = 0.144 → 0.14 + 12 % of 55.08 = 6.6096 → 6.61: 15.75.
  // Unit 90 + 55.08 + 15.75 + 5.46 + 1.80 = 168.09; × 4 = 672.36.
  EXPECT_NEAR(net_of(nodes, "2"), 672.36, grosz);
  // 2155.76 + 100.00 = 2255.76; VAT 180.4608 → 180.46.
  EXPECT_NEAR(r["totals"]["net"].get<double>(), 2255.76, grosz);
  EXPECT_NEAR(r["totals"]["vat"].get<double>(), 180.46, grosz);
}

TEST(RecalcEndToEnd, SimplifiedMethodWithSimplifiedPositions) {
  json nodes = json::array({element("1")});
  // Type 5 (no catalogue data), Q 2.5, unit prices R 12.40, M 30.00, S 5.00.
  nodes.push_back({{"type", 5}, {"level", 1}, {"number", "1"}, {"quantity", 2.5}, {"precision_code", 1},
                   {"multiplicity", 1.0}, {"unit_price_r", 12.40}, {"unit_price_m", 30.0}, {"unit_price_s", 5.0}});
  // Only an all-in price of 80.00, Q 3.
  nodes.push_back({{"type", 5}, {"level", 1}, {"number", "2"}, {"quantity", 3.0}, {"precision_code", 1},
                   {"multiplicity", 1.0}, {"unit_price_all_in", 80.0}});
  // Type 4 with flag 4 clear and column byte 0: not valued at all.
  nodes.push_back({{"type", 4}, {"level", 1}, {"number", "3"}, {"quantity", 3.0}, {"precision_code", 1},
                   {"multiplicity", 1.0}, {"column_number", 0}, {"unit_price_r", 50.0}});
  const json r = recalc(estimate({{"calc_method", 3}}, standard_overheads(), json::array(), nodes));
  ASSERT_FALSE(r.is_null());
  // Per unit: R 12.40, M 30.00, S 5.00. Kp 70 % of 12.40 = 8.68 and of 5.00 = 3.50; Z 10 % of
  // 21.08 = 2.108 → 2.11, 5 % of 30 = 1.50, 10 % of 8.50 = 0.85. Unit 23.19 + 31.50 + 9.35 =
  // 64.04; × 2.5 = 160.10.
  EXPECT_NEAR(net_of(r["nodes"], "1", 5), 160.10, grosz);
  // The all-in price bears no overheads: 80 × 3 = 240.00.
  EXPECT_NEAR(net_of(r["nodes"], "2", 5), 240.00, grosz);
  EXPECT_NEAR(net_of(r["nodes"], "3", 4), 0, grosz);
  // 400.10, VAT 32.008 → 32.01. Simplified totals per unit × Q: 31.00, 75.00, 12.50.
  const json& t = r["totals"];
  EXPECT_NEAR(t["net"].get<double>(), 400.10, grosz);
  EXPECT_NEAR(t["vat"].get<double>(), 32.01, grosz);
  EXPECT_NEAR(t["simplified_labour"].get<double>(), 31.00, grosz);
  EXPECT_NEAR(t["simplified_materials"].get<double>(), 75.00, grosz);
  EXPECT_NEAR(t["simplified_equipment"].get<double>(), 12.50, grosz);
  EXPECT_NEAR(t["materials_base"].get<double>(), 75.00, grosz);
}

// ---- switches and the running-total column ----------------------------------------------

TEST(RecalcEndToEnd, SwitchesRaiseTheBasesOfKpAndZ) {
  json oh = vat_only();
  rate(oh, 1, 0, 70);
  rate(oh, 1, 2, 70);
  for (int c : {0, 2, 3, 5}) rate(oh, 2, c, 12);
  rate(oh, 3, 0, 10); // "Czynny zakład" on R and S
  rate(oh, 3, 2, 10);
  rate(oh, 4, 0, 5);  // "Warunki szkodliwe" on R
  rate(oh, 10, 6, 2); // "Generalne wykonawstwo" on the running total
  oh["kp_plus_cz"] = 1;
  oh["kp_plus_ws"] = 1;
  oh["z_plus_ws"] = 1;
  json nodes = json::array({element("1"), position("1", 1, {entry(0, 100, 2.5), entry(2, 301, 0.5)})});
  json prices = json::array({price(0, 100, "Robotnik", 40.0), price(2, 301, "Betoniarka", 100.0)});
  const json r = recalc(estimate({{"calc_method", 0}, {"overheads_per_position", 1}}, oh, prices, nodes));
  ASSERT_FALSE(r.is_null());
  // R = 100.00, S = 50.00, M = 0.
  // Kp bases: R 100 + row 3 10.00 + row 4 5.00 = 115; S 50 + row 3 5.00 = 55 (row 4 does not
  // raise S). Kp 80.50 and 38.50.
  // Z bases (only "Warunki szkodliwe" switched): R 105, S 50. Z 12 % of 185.50 = 22.26 and of
  // 88.50 = 10.62.
  // Items on the plain components: row 3 10.00 on R, 5.00 on S; row 4 5.00 on R.
  // Row 10, 2 % of the running totals: R 100 + 80.50 + 22.26 + 10 + 5 = 217.76 → 4.3552 →
  // 4.36; S 50 + 38.50 + 10.62 + 5 = 104.12 → 2.0824 → 2.08.
  // Net 222.12 + 106.20 = 328.32; VAT 26.2656 → 26.27.
  EXPECT_NEAR(net_of(r["nodes"], "1"), 328.32, grosz);
  EXPECT_NEAR(gross_of(r["nodes"], "1"), 354.59, grosz);
  EXPECT_NEAR(r["totals"]["net"].get<double>(), 328.32, grosz);
  EXPECT_NEAR(r["totals"]["vat"].get<double>(), 26.27, grosz);
}

// ---- inputs: investor materials, purchase costs, labour rate, blocked and excluded --------

TEST(RecalcEndToEnd, InvestorMaterialsOfBothModes) {
  json prices = json::array({price(1, 201, "Blacha", 11.0, 10.0), price(1, 202, "Papa", 11.0, 10.0),
                             price(1, 203, "Gwoździe", 5.0)});
  auto investor = [](uint32_t id, double norm, int mode) {
    json e = entry(1, id, norm);
    e["mp_mode"] = mode;
    return e;
  };
  json nodes = json::array({element("1"), position("1", 3, {investor(201, 1, 1), entry(1, 203, 2)}),
                            position("2", 3, {investor(202, 1, 2)}),
                            position("3", 1, {investor(201, 1, 2)})});
  const json r = recalc(estimate({{"calc_method", 0}}, no_overheads(), prices, nodes));
  ASSERT_FALSE(r.is_null());
  // P1: sheet 3 × 11.00 = 33.00 (base 30.00) as mode 1, removed whole; nails 6 × 5 = 30.00.
  EXPECT_NEAR(net_of(r["nodes"], "1"), 30.00, grosz);
  // P2: roofing felt 3 × 11.00 = 33.00 as mode 2: the base value 30.00 is removed, the
  // purchase costs 3.00 stay.
  EXPECT_NEAR(net_of(r["nodes"], "2"), 3.00, grosz);
  // P3 asks for mode 2 on the sheet, but the first position gave it mode 1: 11.00 removed.
  EXPECT_NEAR(net_of(r["nodes"], "3"), 0.00, grosz);
  const json& t = r["totals"];
  // Table: sheet 4 × 11 = 44.00, felt 33.00, nails 30.00 = 107.00; at base 40 + 30 + 30.
  EXPECT_NEAR(t["materials"].get<double>(), 107.00, grosz);
  EXPECT_NEAR(t["materials_base"].get<double>(), 100.00, grosz);
  // Investor: sheet (mode 1) 4 × 11.00 = 44.00, at base 40.00; felt (mode 2) 3 × 10.00 =
  // 30.00 in both. 74.00 and 70.00.
  EXPECT_NEAR(t["investor_materials"].get<double>(), 74.00, grosz);
  EXPECT_NEAR(t["investor_materials_base"].get<double>(), 70.00, grosz);
  EXPECT_NEAR(input_of(r, 201)["investor_quantity"].get<double>(), 4, 1e-9);
  EXPECT_NEAR(input_of(r, 202)["investor_quantity"].get<double>(), 3, 1e-9);
  // The estimate is what the contractor charges: 30.00 + 3.00 + 0 = 33.00 = 107 − 74.
  EXPECT_NEAR(t["net"].get<double>(), 33.00, grosz);
}

TEST(RecalcEndToEnd, PurchaseCostModesFourToSeven) {
  json prices = json::array({price(1, 211, "A procent", 10.50, 10.0, 4, 5),
                             price(1, 212, "B na jednostke", 12.80, 12.0, 5, 0.80),
                             price(1, 213, "C kwota", 0, 20.0, 6, 30.0),
                             price(1, 214, "D kwota", 0, 3.0, 7, 10.0),
                             price(1, 215, "E bez", 8.0, 8.0, 0, 0)});
  json nodes = json::array({element("1"),
                            position("1", 4, {entry(1, 211, 1), entry(1, 212, 1), entry(1, 213, 2), entry(1, 214, 1)}),
                            position("2", 4, {entry(1, 213, 1), entry(1, 214, 0.75), entry(1, 215, 1.25)})});
  const json r = recalc(estimate({{"calc_method", 0}}, no_overheads(), prices, nodes));
  ASSERT_FALSE(r.is_null());
  // Modes 4 and 5 keep their prices: 10.50 and 12.80.
  // Mode 6: amount 30.00 over the total quantity 8 + 4 = 12 plus the base price:
  // 30 / 12 + 20 = 22.50. Mode 7: 10.00 / (4 + 3) + 3.00 = 4.428571 → 4.43.
  EXPECT_NEAR(input_of(r, 211)["price"].get<double>(), 10.50, 1e-9);
  EXPECT_NEAR(input_of(r, 212)["price"].get<double>(), 12.80, 1e-9);
  EXPECT_NEAR(input_of(r, 213)["price"].get<double>(), 22.50, 1e-9);
  EXPECT_NEAR(input_of(r, 214)["price"].get<double>(), 4.43, 1e-9);
  EXPECT_NEAR(input_of(r, 215)["price"].get<double>(), 8.00, 1e-9);
  // P1: 4 × 10.50 + 4 × 12.80 + 8 × 22.50 + 4 × 4.43 = 42.00 + 51.20 + 180.00 + 17.72 = 290.92.
  EXPECT_NEAR(net_of(r["nodes"], "1"), 290.92, grosz);
  // P2: 4 × 22.50 + 3 × 4.43 + 5 × 8.00 = 90.00 + 13.29 + 40.00 = 143.29.
  EXPECT_NEAR(net_of(r["nodes"], "2"), 143.29, grosz);
  // Table: 42.00 + 51.20 + 270.00 + 31.01 + 40.00 = 434.21; at base 40 + 48 + 240 + 21 + 40.
  EXPECT_NEAR(r["totals"]["materials"].get<double>(), 434.21, grosz);
  EXPECT_NEAR(r["totals"]["materials_base"].get<double>(), 389.00, grosz);
  EXPECT_NEAR(r["totals"]["net"].get<double>(), 434.21, grosz);
}

TEST(RecalcEndToEnd, LabourRatePricesEveryLabourInput) {
  json prices = json::array({price(0, 100, "Robotnik", 40.0), price(0, 101, "Murarz", 30.0)});
  json nodes = json::array({element("1"), position("1", 10, {entry(0, 100, 1.5), entry(0, 101, 1)})});
  const json r = recalc(estimate({{"calc_method", 0}, {"labour_rate", 45.0}}, no_overheads(), prices, nodes));
  ASSERT_FALSE(r.is_null());
  // Both at 45.00 a man-hour: 15 × 45 + 10 × 45 = 675.00 + 450.00 = 1125.00.
  EXPECT_NEAR(net_of(r["nodes"], "1"), 1125.00, grosz);
  EXPECT_NEAR(r["totals"]["labour"].get<double>(), 1125.00, grosz);
  EXPECT_NEAR(input_of(r, 101)["price"].get<double>(), 45.0, 1e-9);
  EXPECT_NEAR(input_of(r, 101)["base_price"].get<double>(), 45.0, 1e-9);
}

json blocked_and_excluded(int method) {
  json blocked = entry(0, 100, 12);
  blocked["blocked"] = 1;
  json excluded = entry(1, 200, 1);
  excluded["excluded"] = 1;
  json nodes = json::array({element("1"), position("1", 5, {blocked, excluded, entry(2, 300, 0.2)})});
  return estimate({{"calc_method", method}}, no_overheads(), common_prices(), nodes);
}

TEST(RecalcEndToEnd, BlockedAndExcludedInputsUnderFormulaTwo) {
  const json r = recalc(blocked_and_excluded(0));
  ASSERT_FALSE(r.is_null());
  // Blocked labour: 12 r-g whatever the quantity, 480.00; cement excluded (5 listed, not
  // valued); equipment 0.2 × 5 = 1 m-g, 120.00. Net 600.00.
  EXPECT_NEAR(net_of(r["nodes"], "1"), 600.00, grosz);
  EXPECT_NEAR(input_of(r, 100)["quantity"].get<double>(), 12, 1e-9);
  EXPECT_NEAR(input_of(r, 200)["quantity"].get<double>(), 0, 1e-9);
  EXPECT_NEAR(input_of(r, 200)["excluded_quantity"].get<double>(), 5, 1e-9);
  EXPECT_NEAR(r["totals"]["materials"].get<double>(), 0, grosz);
}

TEST(RecalcEndToEnd, BlockedAndExcludedInputsUnderFormulaOne) {
  const json r = recalc(blocked_and_excluded(1));
  ASSERT_FALSE(r.is_null());
  // Per unit the blocked 12 r-g are 480.00 and the equipment 0.2 m-g 24.00: 504.00 × 5 =
  // 2520.00. The labour quantity is 12 per unit, 60 in all: 2400.00.
  EXPECT_NEAR(net_of(r["nodes"], "1"), 2520.00, grosz);
  EXPECT_NEAR(input_of(r, 100)["quantity"].get<double>(), 60, 1e-9);
  EXPECT_NEAR(r["totals"]["labour"].get<double>(), 2400.00, grosz);
  EXPECT_NEAR(input_of(r, 200)["excluded_quantity"].get<double>(), 5, 1e-9);
}

// ---- node flags ---------------------------------------------------------------------------

TEST(RecalcEndToEnd, FlagsTwoEightAndSixteen) {
  // Position 1 also names an equipment key that has no price record.
  json p1 = position("1", 10, {entry(0, 100, 1), entry(2, 999999, 1)});
  p1["flags"] = 2;
  json p2 = position("2", 2, {entry(0, 100, 1)});
  p2["flags"] = 8;
  json p3 = position("3", 3, {entry(1, 200, 1)});
  p3["flags"] = 16;
  json s = {{"type", 5}, {"level", 1}, {"number", "5"}, {"quantity", 2.0}, {"precision_code", 1},
            {"multiplicity", 1.0}, {"unit_price_r", 10.0}, {"flags", 2}};
  json nodes = json::array({element("1"), p1, p2, p3, position("4", 1, {entry(0, 100, 1)}), s});
  const json r = recalc(estimate({{"calc_method", 0}}, vat_only(), common_prices(), nodes));
  ASSERT_FALSE(r.is_null());
  // Flag 2: valued (10 × 40 = 400.00) but left out of the input totals.
  EXPECT_NEAR(net_of(r["nodes"], "1"), 400.00, grosz);
  // Flags 8 and 16: not valued; their inputs are listed as excluded.
  EXPECT_NEAR(net_of(r["nodes"], "2"), 0, grosz);
  EXPECT_NEAR(net_of(r["nodes"], "3"), 0, grosz);
  EXPECT_NEAR(net_of(r["nodes"], "4"), 40.00, grosz);
  // A simplified position with flag 2: valued 2 × 10 = 20.00, not in the simplified totals.
  EXPECT_NEAR(net_of(r["nodes"], "5", 5), 20.00, grosz);
  EXPECT_NEAR(r["totals"]["simplified_labour"].get<double>(), 0, grosz);
  // Labour in the table: only position 4, 1 r-g = 40.00; 2 r-g excluded from position 2.
  EXPECT_NEAR(input_of(r, 100)["quantity"].get<double>(), 1, 1e-9);
  EXPECT_NEAR(input_of(r, 100)["excluded_quantity"].get<double>(), 2, 1e-9);
  EXPECT_NEAR(input_of(r, 200)["excluded_quantity"].get<double>(), 3, 1e-9);
  EXPECT_NEAR(r["totals"]["labour"].get<double>(), 40.00, grosz);
  EXPECT_NEAR(r["totals"]["labour_hours"].get<double>(), 1, 1e-9);
  // The unknown key is in the table under its placeholder name, with no quantity and price 0.
  const json& unknown = input_of(r, 999999);
  EXPECT_EQ(unknown["name"], "Nieznany Ss= 999999  0");
  EXPECT_EQ(unknown["unit"], "???    ");
  EXPECT_EQ(unknown["kind"], 1);
  EXPECT_NEAR(unknown["quantity"].get<double>(), 0, 1e-12);
  EXPECT_NEAR(unknown["price"].get<double>(), 0, 1e-12);
  // The estimate: 400 + 40 + 20 = 460.00; VAT 36.80.
  EXPECT_NEAR(r["totals"]["net"].get<double>(), 460.00, grosz);
  EXPECT_NEAR(r["totals"]["vat"].get<double>(), 36.80, grosz);
}

// ---- merged elements ----------------------------------------------------------------------

TEST(RecalcEndToEnd, MergedElementsWithAndWithoutValueCorrection) {
  auto merged = [](const char* number) {
    json e = element(number);
    e["merged"] = 1;
    e["merged_quantity"] = 3.0;
    e["merged_precision_code"] = 1;
    return e;
  };
  // Each element holds one position worth 2.5 × 40 = 100.00.
  json nodes = json::array({merged("1"), position("1", 1, {entry(0, 100, 2.5)}), merged("2"),
                            position("2", 1, {entry(0, 100, 2.5)})});
  const json on = recalc(estimate({{"calc_method", 0}, {"merged_value_correction", 1}}, vat_only(), common_prices(), nodes));
  ASSERT_FALSE(on.is_null());
  // Quantity 3, value 100.00: unit price 33.33; corrected value 3 × 33.33 = 99.99, VAT 7.9992
  // → 8.00. The estimate: 199.98, VAT 15.9984 → 16.00.
  EXPECT_NEAR(net_of(on["nodes"], "1", 0), 99.99, grosz);
  EXPECT_NEAR(gross_of(on["nodes"], "1", 0), 107.99, grosz);
  EXPECT_NEAR(on["totals"]["net"].get<double>(), 199.98, grosz);
  EXPECT_NEAR(on["totals"]["vat"].get<double>(), 16.00, grosz);
  // Without the correction the element keeps 100.00.
  const json off = recalc(estimate({{"calc_method", 0}}, vat_only(), common_prices(), nodes));
  ASSERT_FALSE(off.is_null());
  EXPECT_NEAR(net_of(off["nodes"], "1", 0), 100.00, grosz);
  EXPECT_NEAR(off["totals"]["net"].get<double>(), 200.00, grosz);
}

// ---- scaffolding and one-off costs per unit -----------------------------------------------

TEST(RecalcEndToEnd, ScaffoldingAndOneOffCostsUnderFormulaOne) {
  json prices = json::array({price(0, 100, "Robotnik", 40.0), price(2, 3160, "Rusztowanie", 6.50)});
  json scaffold = {{"type", 6}, {"level", 1}, {"number", "2"}, {"unit", "m2"},
                   {"scaffold_input_id", 3160}, {"scaffold_input_sub", 0}, {"scaffold_w", 2.5}, {"scaffold_s", 4},
                   {"scaffold_p", 1.0}, {"scaffold_sets", 2}, {"scaffolds_per_set", 3.0}, {"scaffold_k", 1},
                   {"scaffold_count_code", 1}, {"links", {1}}};
  json one_off = {{"type", 3}, {"level", 1}, {"number", "3"}, {"one_off_count", 2.0}, {"one_off_distance", 17.0},
                  {"line0_price", 100.0}, {"line0_norm", 1.0}, {"line1_price", 80.0}, {"line1_norm", 1.0},
                  {"line2_price", 50.0}, {"line2_norm", 5.0}, {"line3_price", 30.0}, {"line3_norm", 5.0}};
  json nodes = json::array({element("1"), position("1", 10, {entry(0, 100, 12)}), scaffold, one_off});
  const json r = recalc(estimate({{"calc_method", 1}}, no_overheads(), prices, nodes));
  ASSERT_FALSE(r.is_null());
  // The position: 12 r-g per unit × 10 = 120 r-g, 4800.00.
  EXPECT_NEAR(net_of(r["nodes"], "1"), 4800.00, grosz);
  // Scaffolding: 120 r-g / (4 × 2.5) × 1 = 12 working hours; 2 sets × 3 / 1 = 6.00 scaffolds;
  // 72 m-g. Per unit 6.50 × 12 = 78.00, × 6 = 468.00.
  EXPECT_NEAR(net_of(r["nodes"], "2", 6), 468.00, grosz);
  EXPECT_NEAR(input_of(r, 3160)["quantity"].get<double>(), 72, 1e-9);
  // One-off: count 2, 17 km: further bands ceil(12 / 5) = 3; 2 × 100 + 2 × 80 + 2 × 50 +
  // 6 × 30 = 640.00; per unit 320.00, × 2 = 640.00.
  EXPECT_NEAR(net_of(r["nodes"], "3", 3), 640.00, grosz);
  const json& t = r["totals"];
  EXPECT_NEAR(t["one_off"].get<double>(), 640.00, grosz);
  // Equipment: the scaffolding's 72 m-g × 6.50 = 468.00 plus the one-off 640.00.
  EXPECT_NEAR(t["equipment"].get<double>(), 1108.00, grosz);
  EXPECT_NEAR(t["net"].get<double>(), 4800.00 + 468.00 + 640.00, grosz);
}

// ---- compound estimate ----------------------------------------------------------------------

TEST(RecalcEndToEnd, CompoundEstimateWithChapterMultipliers) {
  json one_off = {{"type", 3}, {"level", 1}, {"number", "2"}, {"one_off_count", 1.4}, {"one_off_distance", 0.0},
                  {"line0_price", 100.0}, {"line0_norm", 1.0}, {"line1_price", 50.0}, {"line1_norm", 1.0},
                  {"line2_price", 0.0}, {"line2_norm", 5.0}, {"line3_price", 0.0}, {"line3_norm", 5.0}};
  json first = estimate({{"name", "Rozdział pierwszy"}}, vat_only(), common_prices(),
                        json::array({element("1"), position("1", 2.5, {entry(0, 100, 1.2), entry(1, 200, 0.4)}),
                                     one_off}));
  json p = position("1", 1.37, {entry(0, 100, 2)});
  json second = estimate({{"name", "Rozdział drugi"}}, vat_only(), common_prices(), json::array({element("1"), p}));
  json spec = {{"general", {{"name", "Złożony"}}},
               {"overheads", vat_only()},
               {"additions", {{{"name", "Dodatek"}, {"amount", 50.0}}}},
               {"chapters",
                {{{"number", "1"}, {"storage_name", "internal"}, {"quantity", 2.0}, {"precision_code", 3},
                  {"document", first}},
                 {{"number", "2"}, {"storage_name", "internal"}, {"quantity", 2.5}, {"precision_code", 2},
                  {"document", second}}}}};
  const json r = recalc(spec);
  ASSERT_FALSE(r.is_null());
  ASSERT_EQ(r["kind"], "compound");
  ASSERT_EQ(r["chapters"].size(), 2u);
  const json& c1 = r["chapters"][0];
  const json& c2 = r["chapters"][1];
  EXPECT_EQ(c1["name"], "Rozdział pierwszy");
  // Chapter 1 (× 2, code 3 combined with the position's code 1: 2 decimals): Q = 2.5 × 2 =
  // 5.00; labour 6 × 40 = 240.00, cement 2 × 10.50 = 21.00: 261.00. The one-off count
  // 1.4 × 2 = 2.8 is rounded up to 3: 3 × 100 + 3 × 50 = 450.00. Chapter 711.00, VAT 56.88.
  EXPECT_NEAR(net_of(c1["nodes"], "1"), 261.00, grosz);
  EXPECT_NEAR(net_of(c1["nodes"], "2", 3), 450.00, grosz);
  EXPECT_NEAR(c1["totals"]["net"].get<double>(), 711.00, grosz);
  EXPECT_NEAR(c1["totals"]["vat"].get<double>(), 56.88, grosz);
  EXPECT_NEAR(c1["totals"]["one_off"].get<double>(), 450.00, grosz);
  // Chapter 2 (× 2.5, code 2 with the position's 1: 3 decimals): Q = 1.37 × 2.5 = 3.425 kept
  // to three places; labour 6.85 r-g × 40 = 274.00, VAT 21.92.
  EXPECT_NEAR(net_of(c2["nodes"], "1"), 274.00, grosz);
  EXPECT_NEAR(c2["totals"]["net"].get<double>(), 274.00, grosz);
  // The compound: 711.00 + 274.00 + addition 50.00 = 1035.00; VAT 56.88 + 21.92 + 4.00 =
  // 82.80; gross 1117.80.
  const json& t = r["totals"];
  EXPECT_NEAR(t["net"].get<double>(), 1035.00, grosz);
  EXPECT_NEAR(t["vat"].get<double>(), 82.80, grosz);
  EXPECT_NEAR(t["gross"].get<double>(), 1117.80, grosz);
  EXPECT_NEAR(t["additions"].get<double>(), 50.00, grosz);
  // The merged summary: labour 6 + 6.85 = 12.85 r-g worth 240.00 + 274.00 = 514.00; cement
  // 2 worth 21.00.
  EXPECT_NEAR(input_of(r, 100)["quantity"].get<double>(), 12.85, 1e-9);
  EXPECT_NEAR(input_of(r, 100)["value"].get<double>(), 514.00, grosz);
  EXPECT_NEAR(input_of(r, 200)["quantity"].get<double>(), 2, 1e-9);
  EXPECT_NEAR(input_of(r, 200)["value"].get<double>(), 21.00, grosz);
}

// "Krotność w wartości jednostkowej": under FORMUŁA I the multiplicity goes into the unit
// value when the setting is on, else it multiplies the position's value.
TEST(RecalcEndToEnd, MultiplicityInsideOrOutsideTheUnitValue) {
  json oh = no_overheads();
  rate(oh, 1, 0, 70);
  json p = position("1", 10, {entry(0, 100, 1.333)});
  p["multiplicity"] = 2.0;
  json nodes = json::array({element("1"), p});
  const json outside = recalc(estimate({{"calc_method", 1}, {"multiplicity_in_unit", 0}}, oh, common_prices(), nodes));
  ASSERT_FALSE(outside.is_null());
  // Outside: unit labour 1.333 × 40 = 53.32, Kp 37.324 → 37.32, unit 90.64; × 10 × 2 =
  // 1812.80. The table counts 10 × 2 × 1.333 = 26.66 r-g = 1066.40.
  EXPECT_NEAR(net_of(outside["nodes"], "1"), 1812.80, grosz);
  EXPECT_NEAR(input_of(outside, 100)["quantity"].get<double>(), 26.66, 1e-9);
  EXPECT_NEAR(outside["totals"]["labour"].get<double>(), 1066.40, grosz);
  const json inside = recalc(estimate({{"calc_method", 1}, {"multiplicity_in_unit", 1}}, oh, common_prices(), nodes));
  ASSERT_FALSE(inside.is_null());
  // Inside: unit labour 2 × 1.333 = 2.666 r-g × 40 = 106.64, Kp 74.648 → 74.65, unit
  // 181.29; × 10 = 1812.90. The same 26.66 r-g in the table.
  EXPECT_NEAR(net_of(inside["nodes"], "1"), 1812.90, grosz);
  EXPECT_NEAR(input_of(inside, 100)["quantity"].get<double>(), 26.66, 1e-9);
  // FORMUŁA II always takes it inside: 10 × 2 × 1.333 = 26.66 r-g = 1066.40 direct.
  const json f2 = recalc(estimate({{"calc_method", 0}}, no_overheads(), common_prices(), nodes));
  ASSERT_FALSE(f2.is_null());
  EXPECT_NEAR(net_of(f2["nodes"], "1"), 1066.40, grosz);
}

// A chapter's precision code is signed in its byte: 255 is −1, four decimals.
TEST(RecalcEndToEnd, ChapterPrecisionCodeIsSigned) {
  json doc = estimate(json::object(), no_overheads(), common_prices(),
                      json::array({element("1"), position("1", 1.37, {entry(0, 100, 1)})}));
  json spec = {{"general", {{"name", "Złożony"}}},
               {"overheads", no_overheads()},
               {"chapters",
                {{{"number", "1"}, {"storage_name", "internal"}, {"quantity", 1.2345}, {"precision_code", 255},
                  {"document", doc}}}}};
  const json r = recalc(spec);
  ASSERT_FALSE(r.is_null());
  // Codes −1 (chapter) and 1 (position): 4 + 2 decimals, six. Q = 1.37 × 1.2345 = 1.691265;
  // labour 1.69127 r-g (five decimals below 1000) × 40 = 67.6508 → 67.65. Read as an
  // unsigned 255 the code would fall back to three decimals: 1.691 × 40 = 67.64.
  EXPECT_NEAR(r["chapters"][0]["totals"]["net"].get<double>(), 67.65, grosz);
  EXPECT_NEAR(input_of(r, 100)["quantity"].get<double>(), 1.69127, 1e-9);
}

// Opening a file applies the format upgrades of its revision before the run: below
// revision 6 the estimate's R, M and S coefficients become 1.0, below 7
// "Krotność w wartości jednostkowej" is cleared.
TEST(RecalcEndToEnd, FormatUpgradesOfOlderRevisionsApplyBeforeTheRun) {
  json nodes = json::array({element("1"), position("1", 10, {entry(0, 100, 1)})});
  json spec = estimate({{"calc_method", 0}, {"coef_r", 1.5}}, no_overheads(), common_prices(), nodes);
  // Revision 8: labour 1.5 × 1 × 10 = 15 r-g × 40 = 600.00.
  spec["header"] = {{"revision", 8}};
  const json current = recalc(spec);
  ASSERT_FALSE(current.is_null());
  EXPECT_NEAR(net_of(current["nodes"], "1"), 600.00, grosz);
  // Revision 5: the coefficient is reset, 10 r-g = 400.00.
  spec["header"] = {{"revision", 5}};
  const json old = recalc(spec);
  ASSERT_FALSE(old.is_null());
  EXPECT_NEAR(net_of(old["nodes"], "1"), 400.00, grosz);
}
