// An estimate recalculated over its stored records, as opening its window does: the model
// read from the records, the run, and the results written back into the records.
#include <fstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "calc/estimate_json.h"
#include "calc/record_model.h"
#include "calc_builders.h"
#include "document/elpz_record.h"
#include "document/estimate_json.h"
#include "document/estimate_layout.h"
#include "document/zest_record.h"

using namespace kovra::calc;
namespace doc = kovra::document;

namespace {

nlohmann::json demo_house_json() {
  std::ifstream in(kovra::test::source_path("examples/demo_house.json"));
  return nlohmann::json::parse(in);
}

} // namespace

TEST(RecordModel, RunOverRecordsWritesValuesAndPricesBack) {
  const nlohmann::json spec = demo_house_json();
  doc::json_build_result built = doc::estimate_from_json(spec);
  ASSERT_TRUE(built.image) << built.error;
  doc::memory_records& records = *built.image->records;

  estimate_model model;
  recalc_result result;
  std::string error;
  int failed = -1;
  ASSERT_TRUE(recalculate_records(records, true, model, result, error, &failed)) << error;
  EXPECT_EQ(failed, 0);

  // The same run over the JSON form gives the same totals.
  estimate_model from_json;
  ASSERT_TRUE(estimate_from_json(spec, from_json, error)) << error;
  const recalc_result r2 = recalculate(from_json);
  EXPECT_DOUBLE_EQ(result.totals.net, r2.totals.net);
  EXPECT_DOUBLE_EQ(result.totals.gross, r2.totals.gross);

  // Read back: every node holds the value the run gave it, the scaffolding its hours
  // (168.004 r-g from positions 13 and 14), the one-off node its amount (570.00), and the
  // price records the quantities of the run.
  estimate_model again;
  ASSERT_TRUE(model_from_records(records, again, error)) << error;
  ASSERT_EQ(again.nodes.size(), model.nodes.size());
  for (size_t i = 0; i < model.nodes.size(); ++i) {
    EXPECT_EQ(again.nodes[i].net, model.nodes[i].net) << i;
    EXPECT_EQ(again.nodes[i].gross, model.nodes[i].gross) << i;
    if (model.nodes[i].type == node_scaffold) {
      EXPECT_DOUBLE_EQ(again.nodes[i].scaffold_labour_hours, 168.004);
    }
    if (model.nodes[i].type == node_one_off) {
      EXPECT_DOUBLE_EQ(again.nodes[i].one_off_amount, 570.00);
    }
  }
  for (const price_record& p : again.prices) {
    if (p.id == 1830101) {  // roofing sheet: 149.16 m2 investor material + 7.7, 2 excluded
      EXPECT_DOUBLE_EQ(p.quantity, 156.86);
      EXPECT_DOUBLE_EQ(p.investor_quantity, 149.16);
      EXPECT_DOUBLE_EQ(p.excluded_quantity, 2);
      EXPECT_EQ(p.mp_mode, 1);
    }
    if (p.id == 3160) {
      EXPECT_DOUBLE_EQ(p.quantity, 2333.389);  // the scaffolding's input
    }
  }
  // A record keeps its stored length: the description after the values is untouched.
  std::vector<uint8_t> data;
  for (doc::rec_pos p = records.locate(doc::CHAIN_ELPZ, doc::FIRST_REC, doc::NO_POS); p != doc::NO_POS;
       p = records.locate(doc::CHAIN_ELPZ, doc::NEXT_REC, p)) {
    ASSERT_TRUE(records.read(doc::CHAIN_ELPZ, p, data));
    const doc::elpz_record r = doc::elpz_record::from_bytes(data);
    EXPECT_EQ(data.size(), r.used_length());
  }
}

TEST(RecordModel, WithoutWriteBackTheRecordsStayAsTheyWere) {
  doc::json_build_result built = doc::estimate_from_json(demo_house_json());
  ASSERT_TRUE(built.image) << built.error;
  doc::memory_records& records = *built.image->records;
  const nlohmann::json before = doc::simple_document_to_json(records);
  estimate_model model;
  recalc_result result;
  std::string error;
  ASSERT_TRUE(recalculate_records(records, false, model, result, error)) << error;
  EXPECT_GT(result.totals.net, 0);
  EXPECT_EQ(doc::simple_document_to_json(records), before);
}

TEST(RecordModel, ACompoundRecordSetIsNotASimpleEstimate) {
  auto compound = doc::memory_records::compound_estimate();
  estimate_model model;
  std::string error;
  EXPECT_FALSE(model_from_records(*compound, model, error));
  EXPECT_FALSE(error.empty());
}

TEST(RecordModel, NodesOfUnknownTypesStayOutOfTheTree) {
  auto records = doc::memory_records::simple_estimate();
  doc::elpz_record r;
  r.set_i16(doc::ep::TYPE, 8);
  r.set_net(12.5);
  std::vector<uint8_t> bytes(r.bytes.begin(), r.bytes.begin() + 200);
  records->insert(doc::CHAIN_ELPZ, doc::LAST_REC, doc::NO_POS, bytes);
  estimate_model model;
  recalc_result result;
  std::string error;
  ASSERT_TRUE(recalculate_records(*records, true, model, result, error)) << error;
  ASSERT_EQ(model.nodes.size(), 1u);
  EXPECT_LT(model.nodes[0].depth, 0);
  EXPECT_EQ(result.totals.net, 0);
}
