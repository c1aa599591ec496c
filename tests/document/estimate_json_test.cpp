#include "document/build_tree.h"
#include "document/estimate_json.h"
#include "document/estimate_layout.h"
#include "document/general_data.h"
#include "document/memory_compound.h"
#include "document/node_blocks.h"
#include "document/price_records.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kovra::document;
using nlohmann::json;

namespace {
json load(const std::string& name) {
  std::ifstream in(std::string(KOVRA_SOURCE_DIR) + "/examples/" + name);
  return json::parse(in);
}

// A stand-in survey codec for the tests: the lines as compact JSON text in the record.
survey_json_codec text_survey_codec() {
  survey_json_codec c;
  c.to_json = [](std::span<const uint8_t> r) { return json::parse(std::string(r.begin(), r.end())); };
  c.from_json = [](const json& lines) -> std::optional<std::vector<uint8_t>> {
    if (!lines.is_array()) return std::nullopt;
    if (lines.empty()) return std::vector<uint8_t>{};
    std::string s = lines.dump();
    return std::vector<uint8_t>(s.begin(), s.end());
  };
  return c;
}

// Every value the file gives reads back the same from the dump (the dump has more).
void expect_contained(const json& spec, const json& dump, const std::string& where) {
  if (spec.is_object()) {
    ASSERT_TRUE(dump.is_object()) << where;
    for (auto& [k, v] : spec.items()) {
      ASSERT_TRUE(dump.contains(k)) << where << "." << k;
      expect_contained(v, dump[k], where + "." + k);
    }
  } else if (spec.is_array()) {
    ASSERT_TRUE(dump.is_array()) << where;
    ASSERT_EQ(spec.size(), dump.size()) << where;
    for (std::size_t i = 0; i < spec.size(); ++i) expect_contained(spec[i], dump[i], where + "[" + std::to_string(i) + "]");
  } else if (spec.is_number()) {
    EXPECT_EQ(spec.get<double>(), dump.get<double>()) << where;
  } else {
    EXPECT_EQ(spec, dump) << where;
  }
}

} // namespace

TEST(EstimateJson, DemoHouseBuildsAndDumpsStably) {
  survey_json_codec codec = text_survey_codec();
  json_options opts{&codec};
  json_build_result built = estimate_from_json(load("demo_house.json"), opts);
  ASSERT_TRUE(built.image) << built.error;
  json first = estimate_to_json(*built.image, opts);
  json_build_result again = estimate_from_json(first, opts);
  ASSERT_TRUE(again.image) << again.error;
  json second = estimate_to_json(*again.image, opts);
  EXPECT_EQ(first, second);
  expect_contained(load("demo_house.json"), first, "");

  // Field for field: what the demo says is what the records hold.
  const memory_records& m = *built.image->records;
  general_data g = general_data::from_bytes(m.user_header());
  EXPECT_FLOAT_EQ(g.purchase_cost_percent(), 5.0f);
  // The demo names no purchase-cost rates: the percentage sets both, as entering it does.
  EXPECT_FLOAT_EQ(g.kz_rate_simplified(), 5.0f);
  EXPECT_FLOAT_EQ(g.kz_rate_other(), 5.0f);
  EXPECT_EQ(g.estimate_date(), "261209");
  EXPECT_EQ(first["nodes"].size(), load("demo_house.json")["nodes"].size());
  EXPECT_EQ(first["nodes"][2]["survey"].size(), 2u);
  EXPECT_EQ(first["nodes"][2]["inputs"]["variants"][0]["entries"][1]["id"], 3940);
  EXPECT_EQ(first["nodes"][44]["links"], json::array({17, 18}));
  EXPECT_EQ(first["nodes"][45]["one_off_distance"], load("demo_house.json")["nodes"][45]["one_off_distance"]);
  EXPECT_EQ(first["additions"].size(), 2u);
  EXPECT_EQ(first["overheads"]["rows"][1]["rates"][0], 65.0);
  EXPECT_EQ(first["note"], load("demo_house.json")["note"]);
  EXPECT_NE(find_zest(m, 999, 0), NO_POS);

  // The linked positions know their scaffolding, and the tree links them.
  Kvr_Tree8 tree;
  auto root = new Koszt_Node();
  attach_last(tree, nullptr, root, 0, "Kosztorys");
  memory_records& mm = *built.image->records;
  build_result r = build_tree(mm, tree, *root);
  EXPECT_EQ(r.attached, 46);
  EXPECT_EQ(r.links, 2);
  EXPECT_EQ(r.bad_links, 0);
}

TEST(EstimateJson, DemoCompoundBuildsWithInternalAndExternalChapters) {
  survey_json_codec codec = text_survey_codec();
  json_options opts{&codec};
  json_build_result built = estimate_from_json(load("demo_compound.json"), opts);
  ASSERT_TRUE(built.image) << built.error;
  EXPECT_TRUE(built.image->compound());
  EXPECT_EQ(built.image->externals.size(), 1u);
  json first = estimate_to_json(*built.image, opts);
  ASSERT_EQ(first["chapters"].size(), 3u);
  EXPECT_EQ(first["chapters"][0]["storage_name"], "internal");
  EXPECT_EQ(first["chapters"][2]["path"], "demo_garage.kvr");
  EXPECT_EQ(first["chapters"][2]["quantity"], 2.0);
  EXPECT_EQ(first["chapters"][1]["document"]["nodes"].size(), 5u);
  json second = estimate_to_json(*estimate_from_json(first, opts).image, opts);
  EXPECT_EQ(first, second);
  expect_contained(load("demo_compound.json"), first, "");

  memory_compound source(*built.image->records, built.image->externals);
  int chapters = 0;
  Compound_Iterator it(source);
  for (chapter_document* c = it.first_chapter(); c; c = it.next_chapter()) ++chapters;
  EXPECT_EQ(chapters, 3);
}

TEST(EstimateJson, UnnamedBytesAndTextsSurvive) {
  json spec;
  spec["general"]["name"] = "Zażółć gęślą jaźń";
  spec["general"]["unnamed"] = json::array({{{"offset", 4400}, {"hex", "0a0b"}}});
  json node;
  node["type"] = 1;
  node["description"] = "Poz";
  node["unnamed"] = json::array({{{"offset", 60}, {"hex", "ff"}}});
  node["specification"] = "D-01\x01reszta";
  node["note"] = "uwaga";
  spec["nodes"] = json::array({node});
  json_build_result built = estimate_from_json(spec);
  ASSERT_TRUE(built.image) << built.error;
  json dump = estimate_to_json(*built.image);
  EXPECT_EQ(dump["general"]["name"], "Zażółć gęślą jaźń");
  EXPECT_EQ(dump["general"]["unnamed"], json::array({{{"offset", 4400}, {"hex", "0a0b"}}}));
  EXPECT_EQ(dump["nodes"][0]["unnamed"], json::array({{{"offset", 60}, {"hex", "ff"}}}));
  EXPECT_EQ(dump["nodes"][0]["specification"], "D-01\x01reszta");
  // New-record defaults for what the file leaves out.
  EXPECT_EQ(dump["nodes"][0]["unit"], "???    ");
  EXPECT_EQ(dump["nodes"][0]["multiplicity"], 1.0);
  EXPECT_EQ(dump["general"]["units_count"], 1.0);
}

TEST(EstimateJson, PrecisionCodesAreSignedBytesBothWays) {
  json spec = {{"nodes", {{{"type", 0}, {"merged", 1}, {"merged_precision_code", -2}, {"merged_quantity", 2.5}},
                          {{"type", 1}, {"level", 1}, {"precision_code", -3}, {"quantity", 1.234567}}}}};
  json_build_result built = estimate_from_json(spec);
  ASSERT_TRUE(built.image) << built.error;
  const memory_records& m = *built.image->records;
  std::vector<uint8_t> d;
  m.read(CHAIN_ELPZ, m.locate(CHAIN_ELPZ, LAST_REC, NO_POS), d);
  EXPECT_EQ(d[141], 0xFD);  // -3 as the file stores it
  json dump = estimate_to_json(*built.image);
  EXPECT_EQ(dump["nodes"][0]["merged_precision_code"], -2);
  EXPECT_EQ(dump["nodes"][1]["precision_code"], -3);
  json_build_result again = estimate_from_json(dump);
  ASSERT_TRUE(again.image) << again.error;
  EXPECT_EQ(estimate_to_json(*again.image), dump);
  // An earlier dump's stored byte (253) is the same code.
  spec["nodes"][1]["precision_code"] = 253;
  again = estimate_from_json(spec);
  ASSERT_TRUE(again.image) << again.error;
  EXPECT_EQ(estimate_to_json(*again.image)["nodes"][1]["precision_code"], -3);

  json compound = {{"chapters", {{{"number", "1"}, {"storage_name", "internal"}, {"precision_code", -1}}}}};
  built = estimate_from_json(compound);
  ASSERT_TRUE(built.image) << built.error;
  dump = estimate_to_json(*built.image);
  EXPECT_EQ(dump["chapters"][0]["precision_code"], -1);
  again = estimate_from_json(dump);
  ASSERT_TRUE(again.image) << again.error;
  EXPECT_EQ(estimate_to_json(*again.image), dump);
}

TEST(EstimateJson, BadSpecsGiveErrorsThatSayWhere) {
  EXPECT_EQ(estimate_from_json(json::array()).error, "document: an object is expected");
  auto e = estimate_from_json({{"nodes", {{{"type", 1}, {"quantity", "many"}}}}});
  EXPECT_FALSE(e.image);
  EXPECT_EQ(e.error, "nodes[0].quantity: a number is expected");
  e = estimate_from_json({{"prices", {{{"kind", 1}, {"id", 5}}, {{"kind", 1}, {"id", 5}}}}});
  EXPECT_EQ(e.error, "prices[1]: the input 5/0 repeats");
  e = estimate_from_json({{"nodes", {{{"type", 6}, {"links", {3}}}}}});
  EXPECT_EQ(e.error, "nodes[0].links: out of range");
  e = estimate_from_json({{"nodes", {{{"type", 0}, {"level", 300}}}}});
  EXPECT_EQ(e.error, "nodes[0].level: out of range");
}

TEST(EstimateJson, SurveysWithoutACodecAreCounted) {
  json_build_result built = estimate_from_json(load("demo_house.json"));
  ASSERT_TRUE(built.image) << built.error;
  EXPECT_GT(built.surveys_skipped, 0);
}

TEST(EstimateJson, PurchaseCostPercentSetsOnlyTheRatesNotGiven) {
  json spec = {{"general", {{"purchase_cost_percent", 7.5}, {"kz_rate_other", 0}}}};
  json_build_result built = estimate_from_json(spec);
  ASSERT_TRUE(built.image) << built.error;
  general_data g = general_data::from_bytes(built.image->records->user_header());
  EXPECT_FLOAT_EQ(g.kz_rate_simplified(), 7.5f);
  EXPECT_EQ(g.kz_rate_other(), 0.0f);  // stored 0, as named: no rate
}

TEST(EstimateJson, InvestorMethodWithoutATableSettingUsesTheInvestorTable) {
  json_build_result built = estimate_from_json(json{{"general", {{"calc_method", 2}}}});
  ASSERT_TRUE(built.image) << built.error;
  EXPECT_EQ(general_data::from_bytes(built.image->records->user_header()).investor_table(), 1);
  built = estimate_from_json(json{{"general", {{"calc_method", 2}, {"investor_table", 0}}}});
  ASSERT_TRUE(built.image) << built.error;
  EXPECT_EQ(general_data::from_bytes(built.image->records->user_header()).investor_table(), 0);
}
