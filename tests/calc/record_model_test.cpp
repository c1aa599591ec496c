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
#include "document/estimate_file.h"
#include "shell/temp_folder.h"
#include "store/container.h"
#include "store/record_set.h"

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
  // A second opening finds everything up to date: nothing is rewritten, the estimate stays
  // unmodified.
  EXPECT_TRUE(records.modified());
  records.set_modified(false);
  estimate_model second;
  recalc_result r3;
  ASSERT_TRUE(recalculate_records(records, true, second, r3, error, &failed)) << error;
  EXPECT_EQ(failed, 0);
  EXPECT_FALSE(records.modified());
  EXPECT_DOUBLE_EQ(r3.totals.gross, result.totals.gross);

  // A record keeps its stored length: the description after the values is untouched.
  std::vector<uint8_t> data;
  for (doc::rec_pos p = records.locate(doc::CHAIN_ELPZ, doc::FIRST_REC, doc::NO_POS); p != doc::NO_POS;
       p = records.locate(doc::CHAIN_ELPZ, doc::NEXT_REC, p)) {
    ASSERT_TRUE(records.read(doc::CHAIN_ELPZ, p, data));
    const doc::elpz_record r = doc::elpz_record::from_bytes(data);
    EXPECT_EQ(data.size(), r.used_length());
  }
}

TEST(RecordModel, WithoutAnOverheadRecordTheDefaultsBringTheirSettings) {
  // The general data asks for FORMUŁA I per position, but the estimate has no overhead
  // record of its own: it takes the default standard table and with it FORMUŁA II per
  // element, as opening the file does.
  const nlohmann::json spec = nlohmann::json::parse(R"({
    "general": {"calc_method": 1, "overheads_per_position": 1},
    "prices": [{"kind": 0, "id": 1, "sub": 0, "unit": "r-g", "name": "Robotnik", "price": 10.0, "base_price": 10.0}],
    "nodes": [
      {"type": 0, "level": 0, "number": "1", "unit": ""},
      {"type": 1, "level": 1, "number": "1", "unit": "m2", "quantity": 3.0, "precision_code": 1, "multiplicity": 1.0,
       "inputs": {"current": 0, "variants": [{"name": "", "entries": [
         {"kind": 0, "id": 1, "sub": 0, "norm": 0.3333, "coef": 1.0}]}]}}]})");
  doc::json_build_result built = doc::estimate_from_json(spec);
  ASSERT_TRUE(built.image) << built.error;
  estimate_model model;
  recalc_result result;
  std::string error;
  ASSERT_TRUE(recalculate_records(*built.image->records, false, model, result, error)) << error;
  EXPECT_EQ(model.settings.calc_method, method_formula_2);
  EXPECT_EQ(model.settings.overheads_per_position, 0);
  // Full quantities: 0.3333 × 3 = 0.9999 r-g, × 10.00 = 9.999 → 10.00 (per unit it would be
  // 3.333 → 3.33 × 3 = 9.99). The default table charges nothing.
  EXPECT_DOUBLE_EQ(model.nodes[1].net, 10.00);
  EXPECT_DOUBLE_EQ(result.totals.net, 10.00);
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

// A compound estimate file opened for writing and recalculated as its window does: the
// chapters' records (internal sub-sets and the external file) and the compound's summary
// records get the run's values, and a second run over what was written gives the same.
TEST(RecordModel, CompoundFileWritesChaptersAndSummaryRecordsBack) {
  kovra::store::set_disk_sync(false);
  kovra::test::temp_folder dir;
  const std::string path = dir.path() + "c.kvr";
  std::ifstream in(kovra::test::source_path("examples/demo_compound.json"));
  ASSERT_EQ(doc::build_estimate_file(nlohmann::json::parse(in), path), "");

  compound_result first;
  {
    auto file = doc::open_compound_file(path, false);
    ASSERT_TRUE(file);
    compound_records c;
    std::string error;
    ASSERT_TRUE(compound_from_file(*file, path, c, error)) << error;
    ASSERT_EQ(c.model.chapters.size(), 3u);
    EXPECT_TRUE(c.model.summary.empty()); // a built file has no summary records yet
    int failed = -1;
    first = recalculate_compound_records(c, *file->set, true, &failed);
    EXPECT_EQ(failed, 0);
    // Saved as the window's save does: every set flushed, then the files written.
    for (auto& chapter : c.chapters) {
      ASSERT_TRUE(chapter);
      EXPECT_TRUE(kovra::store::flush_record_set(chapter->set().set()));
      EXPECT_TRUE(kovra::store::flush_container(kovra::store::set_handle(chapter->set().set())));
    }
    close_chapters(c);
    EXPECT_TRUE(kovra::store::flush_record_set(file->set->set()));
    EXPECT_TRUE(kovra::store::flush_container(kovra::store::set_handle(file->set->set())));
    EXPECT_TRUE(file->set->close());
  }
  auto file = doc::open_compound_file(path, true);
  ASSERT_TRUE(file);
  compound_records c;
  std::string error;
  ASSERT_TRUE(compound_from_file(*file, path, c, error)) << error;
  // Every key any chapter used now has its summary record, in key order after the run.
  ASSERT_FALSE(c.model.summary.empty());
  for (const summary_record& s : c.model.summary) EXPECT_GE(s.pos, 0);
  double labour = 0;
  for (const summary_record& s : c.model.summary)
    if (s.kind == kind_labour) labour += s.value;
  EXPECT_NEAR(labour, first.totals.labour, 0.001);
  // The chapters' nodes hold the values of the run (chapter 1, position 1: 99.39).
  ASSERT_TRUE(c.model.chapters[0].available);
  bool found = false;
  for (const model_node& n : c.model.chapters[0].doc.nodes)
    if (n.type == node_position && n.number == "1") {
      found = true;
      EXPECT_DOUBLE_EQ(n.net, 99.39);
    }
  EXPECT_TRUE(found);
  ASSERT_TRUE(c.model.chapters[2].available); // the external chapter was written as well
  EXPECT_NE(c.model.chapters[2].doc.nodes.front().net, 0);
  const compound_result again = recalculate_compound_records(c, *file->set, false);
  EXPECT_DOUBLE_EQ(again.totals.net, first.totals.net);
  EXPECT_DOUBLE_EQ(again.totals.gross, first.totals.gross);
  close_chapters(c);
  file->set->close();
}

// Scaffold links as the tree settles them: a position serves one scaffolding (the last
// one that links it) and a repeated link counts once.
TEST(RecordModel, ScaffoldLinksAreSettledLikeTheTree) {
  nlohmann::json spec = demo_house_json();
  nlohmann::json& nodes = spec["nodes"];
  ASSERT_EQ(nodes[44]["type"], 6);
  nlohmann::json second = nodes[44];
  second["number"] = "34a";
  second["links"] = {18, 18};
  nodes.insert(nodes.begin() + 45, second);
  doc::json_build_result built = doc::estimate_from_json(spec);
  ASSERT_TRUE(built.image) << built.error;
  estimate_model model;
  recalc_result result;
  std::string error;
  ASSERT_TRUE(recalculate_records(*built.image->records, false, model, result, error)) << error;
  ASSERT_EQ(model.nodes[44].type, node_scaffold);
  ASSERT_EQ(model.nodes[45].type, node_scaffold);
  // Position 14 counts for both: the first keeps positions 13 and 14,
  // 1.37 × 107.6 + 6.6 × 3.12 = 147.412 + 20.592 = 168.004 r-g.
  EXPECT_EQ(model.nodes[44].links, (std::vector<int>{17, 18}));
  EXPECT_DOUBLE_EQ(model.nodes[44].scaffold_labour_hours, 168.004);
  // The second names position 14 twice and counts it once: 6.6 × 3.12 = 20.592 r-g.
  EXPECT_EQ(model.nodes[45].links, std::vector<int>{18});
  EXPECT_DOUBLE_EQ(model.nodes[45].scaffold_labour_hours, 20.592);
}

// A simple estimate file opened for writing and recalculated as its window opens it: the
// values land in the file's records, and the overhead record the file lacked is stored.
TEST(RecordModel, SimpleFileOpenedForWritingGetsTheRunsValues) {
  kovra::store::set_disk_sync(false);
  kovra::test::temp_folder dir;
  const std::string path = dir.path() + "h.kvr";
  nlohmann::json spec = demo_house_json();
  spec.erase("overheads");
  spec.erase("standard_overheads");
  spec["header"]["revision"] = 8;
  ASSERT_EQ(doc::build_estimate_file(spec, path), "");
  kovra::store::file_header header;
  ASSERT_TRUE(doc::read_estimate_header(path, header));
  double net = 0;
  {
    auto set = doc::open_estimate_set(path, false);
    ASSERT_TRUE(set);
    EXPECT_LT(doc::general_data::from_bytes(set->user_header()).standard_overheads_record(), 0);
    estimate_model model;
    recalc_result r;
    std::string error;
    int failed = -1;
    ASSERT_TRUE(recalculate_opened(*set, header, true, model, r, error, &failed)) << error;
    EXPECT_EQ(failed, 0);
    net = r.totals.net;
    EXPECT_TRUE(kovra::store::flush_record_set(set->set()));
    EXPECT_TRUE(kovra::store::flush_container(kovra::store::set_handle(set->set())));
    EXPECT_TRUE(set->close());
  }
  auto set = doc::open_estimate_set(path, true);
  ASSERT_TRUE(set);
  // The default table is now the file's own record.
  EXPECT_GE(doc::general_data::from_bytes(set->user_header()).standard_overheads_record(), 0);
  estimate_model stored;
  std::string error;
  ASSERT_TRUE(model_from_records(*set, stored, error)) << error;
  double top = 0;
  for (const model_node& n : stored.nodes)
    if (n.depth == 1) top += n.net;
  // Without overheads (the default table has none) the file's top-level values and the
  // additions (2500 + 3200) make the run's net total.
  EXPECT_NEAR(top + 5700.00, net, 0.001);
  bool scaffold = false;
  for (const model_node& n : stored.nodes)
    if (n.type == node_scaffold) {
      scaffold = true;
      EXPECT_DOUBLE_EQ(n.scaffold_labour_hours, 168.004);
    }
  EXPECT_TRUE(scaffold);
  set->close();
}
