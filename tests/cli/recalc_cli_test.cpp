// kovra-cli recalc on estimates given in their JSON form.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/cli_run.h"

using kovra::test::run_cli;

namespace {
std::string example(const char* name) { return std::string(KOVRA_SOURCE_DIR) + "/examples/" + name; }
} // namespace

TEST(CliRecalc, SimpleEstimateJsonForm) {
  const auto r = run_cli({"recalc", example("demo_house.json"), "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["kind"], "simple");
  EXPECT_EQ(j["calc_method"], 0);
  for (const char* key : {"labour", "materials", "equipment", "materials_base", "labour_hours", "equipment_hours",
                          "investor_materials", "investor_materials_base", "materials_other", "equipment_other",
                          "simplified_labour", "simplified_materials", "simplified_equipment", "one_off",
                          "additions", "net", "vat", "gross"})
    EXPECT_TRUE(j["totals"].contains(key)) << key;
  EXPECT_EQ(j["totals"]["additions"], 5700.0);
  EXPECT_EQ(j["totals"]["one_off"], 570.0);
  // Nodes in pre-order: the first work group at depth 1, the first position (99.39) at 3.
  ASSERT_GE(j["nodes"].size(), 3u);
  EXPECT_EQ(j["nodes"][0]["type"], 9);
  EXPECT_EQ(j["nodes"][0]["depth"], 1);
  EXPECT_EQ(j["nodes"][2]["depth"], 3);
  EXPECT_EQ(j["nodes"][2]["net"], 99.39);
  // Inputs ordered by (id, sub), with the run's quantities.
  const auto& inputs = j["inputs"];
  ASSERT_FALSE(inputs.empty());
  for (size_t i = 1; i < inputs.size(); ++i) EXPECT_LT(inputs[i - 1]["id"], inputs[i]["id"]);
  EXPECT_EQ(inputs[0]["id"], 999);
  EXPECT_EQ(inputs[0]["name"], "Robotnicy");
  for (const char* key : {"kind", "sub", "unit", "price", "base_price", "quantity", "excluded_quantity", "investor_quantity"})
    EXPECT_TRUE(inputs[0].contains(key)) << key;
}

TEST(CliRecalc, CompoundEstimateJsonForm) {
  const auto r = run_cli({"recalc", example("demo_compound.json"), "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["kind"], "compound");
  ASSERT_EQ(j["chapters"].size(), 3u);
  EXPECT_EQ(j["chapters"][2]["storage"], "external");
  EXPECT_EQ(j["chapters"][2]["quantity"], 2.0);
  EXPECT_EQ(j["chapters"][0]["name"], "Roboty ziemne");
  EXPECT_EQ(j["chapters"][0]["totals"]["net"], 2574.32);
  for (const char* key : {"kind", "id", "sub", "name", "unit", "quantity", "value", "excluded_quantity", "excluded_value"})
    EXPECT_TRUE(j["inputs"][0].contains(key)) << key;
}

TEST(CliRecalc, ReadableSummaryAndErrors) {
  const auto r = run_cli({"recalc", example("demo_house.json")});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_NE(r.out.find("additions 5700.00"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("net 99.39"), std::string::npos) << r.out;
  EXPECT_EQ(run_cli({"recalc"}).exit_code, 64);
  const auto missing = run_cli({"recalc", "/nonexistent/x.json", "--json"});
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_TRUE(missing.out.empty());
  EXPECT_NE(missing.err.find("/nonexistent/x.json"), std::string::npos);
  EXPECT_EQ(run_cli({"recalc", example("README.md")}).exit_code, 2);
}

TEST(CliSummary, EquipmentGroupOfTheDemoHouse) {
  const auto r = run_cli({"summary", example("demo_house.json"), "--kind", "S", "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  ASSERT_EQ(j["extras"].size(), 4u);
  EXPECT_EQ(j["extras"][3]["title"], "Koszty jednorazowe sprzętu :");
  EXPECT_EQ(j["extras"][3]["value"], 570.0);
  EXPECT_EQ(j["closing"]["title"], "Razem (z dokładnością do zaokrągleń):");
  // The scaffolding's input: 2333.389 m-g at 6.50 = 15167.03.
  bool found = false;
  for (const auto& l : j["lines"]) {
    if (l["id"] != 3160) continue;
    found = true;
    EXPECT_EQ(l["value"], 15167.03);
  }
  EXPECT_TRUE(found);
  EXPECT_EQ(run_cli({"summary", example("demo_house.json"), "--kind", "X"}).exit_code, 64);
}
