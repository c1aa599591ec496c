// kovra-cli recalc and summary on estimates given in their JSON form and on estimate files.
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/cli_run.h"
#include "shell/temp_folder.h"

using kovra::test::run_cli;

namespace {
std::string example(const char* name) { return std::string(KOVRA_SOURCE_DIR) + "/examples/" + name; }

std::string bytes_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Everything of a recalc --json answer except the record positions, which differ between
// a file and the JSON form (where nodes are numbered by their index).
nlohmann::json without_positions(nlohmann::json j) {
  for (auto& n : j["nodes"]) n.erase("pos");
  for (auto& c : j["chapters"])
    for (auto& n : c["nodes"]) n.erase("pos");
  j.erase("file");
  return j;
}
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

// A .kvr is recalculated over its records: the same values as the JSON form it was built
// from, record positions that are the file's own, and the file left byte for byte as it was.
TEST(CliRecalc, EstimateFilesGiveTheValuesOfTheirJsonFormAndStayUnchanged) {
  kovra::test::temp_folder dir;
  for (const char* name : {"demo_house", "demo_compound"}) {
    const std::string json_path = example((std::string(name) + ".json").c_str());
    const std::string kvr = dir.path() + name + ".kvr";
    ASSERT_EQ(run_cli({"build", json_path, "-o", kvr}).exit_code, 0) << name;
    const std::string before = bytes_of(kvr);
    const std::string external = dir.path() + "demo_garage.kvr";
    const std::string external_before = bytes_of(external);
    const auto from_file = run_cli({"recalc", kvr, "--json"});
    ASSERT_EQ(from_file.exit_code, 0) << from_file.err;
    const auto from_json = run_cli({"recalc", json_path, "--json"});
    ASSERT_EQ(from_json.exit_code, 0) << from_json.err;
    const auto a = nlohmann::json::parse(from_file.out), b = nlohmann::json::parse(from_json.out);
    EXPECT_EQ(a["file"], kvr);
    EXPECT_EQ(without_positions(a), without_positions(b)) << name;
    EXPECT_EQ(bytes_of(kvr), before) << name << ": the file changed";
    EXPECT_EQ(bytes_of(external), external_before) << "the external chapter changed";
    EXPECT_FALSE(std::filesystem::exists(kvr + ".lck"));
    // Record positions are those of the records in the file: distinct and positive.
    const auto& nodes = a.contains("chapters") ? a["chapters"][0]["nodes"] : a["nodes"];
    ASSERT_GE(nodes.size(), 2u);
    EXPECT_GT(nodes[0]["pos"].get<int>(), 0);
    EXPECT_NE(nodes[0]["pos"], nodes[1]["pos"]);
  }
}

TEST(CliRecalc, CompoundFileWithAMissingExternalChapterLeavesItOut) {
  kovra::test::temp_folder dir;
  const std::string kvr = dir.path() + "c.kvr";
  ASSERT_EQ(run_cli({"build", example("demo_compound.json"), "-o", kvr}).exit_code, 0);
  std::filesystem::remove(dir.path() + "demo_garage.kvr");
  const auto r = run_cli({"recalc", kvr, "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  ASSERT_EQ(j["chapters"].size(), 2u);
  // Chapters 1 and 2 only: 2574.32 + 17513.19 + additions 1800.00.
  EXPECT_NEAR(j["totals"]["net"].get<double>(), 2574.32 + 17513.19 + 1800.00, 1e-6);
  const auto text = run_cli({"recalc", kvr});
  EXPECT_NE(text.out.find("cannot be opened"), std::string::npos) << text.out;
}

TEST(CliRecalc, DamagedOrForeignFilesAreRefused) {
  kovra::test::temp_folder dir;
  const std::string junk = dir.path() + "junk.kvr";
  std::ofstream(junk, std::ios::binary) << std::string(3000, 'x');
  const auto r = run_cli({"recalc", junk, "--json"});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find(junk), std::string::npos);
  EXPECT_EQ(run_cli({"summary", junk, "--kind", "R"}).exit_code, 2);
}

TEST(CliSummary, EstimateFileInNameOrderWithItsClosingLines) {
  kovra::test::temp_folder dir;
  const std::string kvr = dir.path() + "house.kvr";
  ASSERT_EQ(run_cli({"build", example("demo_house.json"), "-o", kvr}).exit_code, 0);
  const auto r = run_cli({"summary", kvr, "--kind", "S", "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  // Name order by the collation: "Betoniarka" first, "Żuraw" (ż after z) last.
  ASSERT_GE(j["lines"].size(), 2u);
  EXPECT_EQ(j["lines"].front()["id"], 3311);
  EXPECT_EQ(j["lines"].back()["id"], 3401);
  // The group: input table S 17 176.28 + one-off 570.00 + simplified 17.60 + "Sprzęt
  // pomocniczy (Robocizna)" 28.57 = 17 792.45.
  EXPECT_DOUBLE_EQ(j["closing"]["total"].get<double>(), 17792.45);
  double lines = 0;
  for (const auto& l : j["lines"]) lines += l["value"].get<double>();
  EXPECT_NEAR(lines, 17176.28, 1e-6);
  const auto text = run_cli({"summary", kvr, "--kind", "S"});
  EXPECT_NE(text.out.find("Razem (z dokładnością do zaokrągleń):   17 792.45"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("Koszty jednorazowe sprzętu :      570.00"), std::string::npos) << text.out;
}

TEST(CliSummary, CompoundFileListsTheMergedRecords) {
  kovra::test::temp_folder dir;
  const std::string kvr = dir.path() + "c.kvr";
  ASSERT_EQ(run_cli({"build", example("demo_compound.json"), "-o", kvr}).exit_code, 0);
  const auto r = run_cli({"summary", kvr, "--kind", "R", "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_TRUE(j["compound"].get<bool>());
  // Labour of the three chapters: the lines add up to the group total (no simplified labour).
  double lines = 0;
  for (const auto& l : j["lines"]) lines += l["value"].get<double>();
  EXPECT_NEAR(lines, j["closing"]["total"].get<double>(), 1e-6);
  EXPECT_EQ(j["extras"].size(), 1u);
}

// The demo compound estimate as a file: its external chapter 3 (the garage walls, kept in
// demo_garage.kvr) counts twice. Worked by hand from the demo's inputs.
TEST(CliRecalc, DemoCompoundFileExternalChapterTimesTwoByHand) {
  kovra::test::temp_folder dir;
  const std::string kvr = dir.path() + "demo_compound.kvr";
  ASSERT_EQ(run_cli({"build", example("demo_compound.json"), "-o", kvr}).exit_code, 0);
  const auto r = run_cli({"recalc", kvr, "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  const auto& garage = j["chapters"][2];
  EXPECT_EQ(garage["storage"], "external");
  ASSERT_GE(garage["nodes"].size(), 2u);
  // Position 13, 107.6 m2 × 2 = 215.20 (the chapter's code 3 with the position's code 1
  // keeps two decimals):
  //   masons 1.37 × 215.2 = 294.824 r-g × 38.00 = 11 203.312 → 11 203.31
  //   blocks 16 × 215.2 = 3 443.2 × 7.25 = 24 963.20
  //   mortar 0.029 × 215.2 = 6.2408 × 567.00 = 3 538.5336 → 3 538.53
  //   water 0.01 × 215.2 = 2.152 × 9.60 = 20.6592 → 20.66
  //   hoist 0.08 × 215.2 = 17.216 m-g × 28.00 = 482.048 → 482.05
  // Direct costs (overheads come per element) 40 207.75; VAT 8 % 3 216.62 → 43 424.37.
  EXPECT_EQ(garage["nodes"][0]["number"], "13");
  EXPECT_NEAR(garage["nodes"][0]["net"].get<double>(), 40207.75, 0.001);
  EXPECT_NEAR(garage["nodes"][0]["gross"].get<double>(), 43424.37, 0.001);
  // Position 15, 16.5 m × 2 = 33: masons 6.93 × 38 = 263.34; mortar 0.066 × 325.50 =
  // 21.483 → 21.48; van 0.33 × 75 = 24.75. 309.57; VAT 24.7656 → 24.77.
  EXPECT_EQ(garage["nodes"][1]["number"], "15");
  EXPECT_NEAR(garage["nodes"][1]["net"].get<double>(), 309.57, 0.001);
  EXPECT_NEAR(garage["nodes"][1]["gross"].get<double>(), 334.34, 0.001);
}

// An estimate in JSON form and the file built from it give the same values also when the
// JSON leaves fields out (they take the new-record defaults on both ways).
TEST(CliRecalc, SparseJsonAndTheFileBuiltFromItAgree) {
  kovra::test::temp_folder dir;
  const std::string json_path = dir.path() + "sparse.json", kvr = dir.path() + "sparse.kvr";
  std::ofstream(json_path) << R"({
    "general": {"purchase_cost_percent": 5},
    "prices": [{"id": 1, "price": 30}, {"kind": 1, "id": 2, "price": 12.5}, {"kind": 2, "id": 3, "price": 80}],
    "nodes": [{"type": 0, "number": "1"},
              {"type": 1, "number": "1", "quantity": 2.5,
               "inputs": {"variants": [{"entries": [{"kind": 0, "id": 1, "norm": 1.2}, {"kind": 1, "id": 2, "norm": 3},
                                                      {"kind": 2, "id": 3, "norm": 0.1}, {"kind": 1, "id": 9, "norm": 1}]}]}},
              {"type": 6, "number": "2", "scaffold_input_id": 3, "links": [1]},
              {"type": 3, "number": "3", "one_off_count": 1, "one_off_distance": 12, "line0_price": 10}]})";
  ASSERT_EQ(run_cli({"build", json_path, "-o", kvr}).exit_code, 0);
  const auto a = run_cli({"recalc", kvr, "--json"}), b = run_cli({"recalc", json_path, "--json"});
  ASSERT_EQ(a.exit_code, 0) << a.err;
  ASSERT_EQ(b.exit_code, 0) << b.err;
  EXPECT_EQ(without_positions(nlohmann::json::parse(a.out)), without_positions(nlohmann::json::parse(b.out)));
  // Position: labour 3 r-g × 30 = 90.00, material 7.5 × 12.50 = 93.75, equipment 0.25 m-g ×
  // 80 = 20.00, the unknown key 0: 203.75 (no overheads in an estimate without a table).
  EXPECT_NEAR(nlohmann::json::parse(a.out)["nodes"][1]["net"].get<double>(), 203.75, 0.001);
}

// The JSON form is recalculated as the file built from it opens: a revision below 6 drops
// the coefficients, below 7 the multiplicity switch, and an estimate without an overhead
// record takes the default table with its method; on both ways alike.
TEST(CliRecalc, JsonFormAndFileAgreeOnWhatOpeningChanges) {
  kovra::test::temp_folder dir;
  struct run_case {
    int revision;
    bool overheads;
    double net;
  };
  // FORMUŁA I, coefficient R 1.5, multiplicity 2 inside the unit value, Kp 70 % on R;
  // a position of 10 with 1.333 r-g at 40.00:
  //   revision 8: unit 2 × 1.5 × 1.333 = 3.999 r-g = 159.96, Kp 111.972 → 111.97, 271.93 × 10 = 2719.30
  //   revision 6: multiplicity outside: 1.9995 r-g = 79.98, Kp 55.986 → 55.99, 135.97 × 10 × 2 = 2719.40
  //   revision 5: no coefficient either: 53.32, Kp 37.324 → 37.32, 90.64 × 20 = 1812.80
  //   no overhead record: FORMUŁA II, nothing on top: 10 × 2 × 1.5 × 1.333 = 39.99 r-g = 1599.60
  for (const run_case& c : {run_case{8, true, 2719.30}, run_case{6, true, 2719.40}, run_case{5, true, 1812.80},
                            run_case{8, false, 1599.60}}) {
    const std::string tag = std::to_string(c.revision) + (c.overheads ? "o" : "");
    const std::string json_path = dir.path() + tag + ".json", kvr = dir.path() + tag + ".kvr";
    nlohmann::json spec = nlohmann::json::parse(R"({
      "general": {"calc_method": 1, "coef_r": 1.5, "multiplicity_in_unit": 1},
      "prices": [{"id": 1, "price": 40}],
      "nodes": [{"type": 0, "number": "1"},
                {"type": 1, "number": "1", "quantity": 10, "multiplicity": 2,
                 "inputs": {"variants": [{"entries": [{"kind": 0, "id": 1, "norm": 1.333}]}]}}]})");
    spec["header"] = {{"revision", c.revision}};
    if (c.overheads) {
      nlohmann::json rows = nlohmann::json::array();
      for (int r = 0; r < 12; ++r) rows.push_back({{"name", ""}, {"rates", {r == 1 ? 70 : -1, -1, -1, -1, -1, -1, -1}}});
      spec["overheads"] = {{"rows", rows}};
    }
    std::ofstream(json_path) << spec.dump();
    ASSERT_EQ(run_cli({"build", json_path, "-o", kvr}).exit_code, 0) << tag;
    const auto a = run_cli({"recalc", kvr, "--json"}), b = run_cli({"recalc", json_path, "--json"});
    ASSERT_EQ(a.exit_code, 0) << a.err;
    ASSERT_EQ(b.exit_code, 0) << b.err;
    const auto ja = nlohmann::json::parse(a.out), jb = nlohmann::json::parse(b.out);
    EXPECT_EQ(without_positions(ja), without_positions(jb)) << tag;
    EXPECT_NEAR(ja["nodes"][1]["net"].get<double>(), c.net, 0.001) << tag;
  }
}
