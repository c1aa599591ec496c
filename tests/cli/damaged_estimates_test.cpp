// Estimate files whose records contradict each other, read the ways a user reads them: the
// tree a window shows, the dump and the recalculation. Each damaged part is left out, cut
// or clamped to what its record holds; nothing crashes, nothing is written, and what is
// sound around the damage reads as before.
#include "cli_run.h"
#include "document/elpz_record.h"
#include "document/estimate_file.h"
#include "document/estimate_layout.h"
#include "store/container.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

using kovra::test::run_cli;
using nlohmann::json;
namespace doc = kovra::document;

namespace {

const auto& bytes_of = kovra::test::file_bytes;

struct reading {
  std::string tree;  // lines after the title
  json dump;
  json recalc;
};

struct damaged_files : kovra::test::cli_folder {
  // Opens the file's records for writing, lets `hurt` change them as a faulty writer would
  // and stores the result.
  static void damage(const std::string& path, const std::function<void(doc::store_records&)>& hurt) {
    kovra::store::reset_containers();
    auto records = doc::open_estimate_set(path, false);
    ASSERT_TRUE(records) << doc::open_error_text(path);
    hurt(*records);
    ASSERT_TRUE(kovra::store::flush_record_set(records->set()));
    ASSERT_TRUE(kovra::store::flush_container(kovra::store::set_handle(records->set())));
    ASSERT_TRUE(records->close());
    kovra::store::reset_containers();
  }

  // Tree, dump and recalculation of the file; each must succeed and leave it unchanged.
  static reading read(const std::string& path) {
    reading r;
    const std::string before = bytes_of(path);
    auto tree = run_cli({"tree", path});
    EXPECT_EQ(tree.exit_code, 0) << tree.err;
    r.tree = tree.out.substr(std::min(tree.out.size(), tree.out.find('\n') + 1));
    auto dump = run_cli({"dump", path});
    EXPECT_EQ(dump.exit_code, 0) << dump.err;
    r.dump = json::parse(dump.out, nullptr, false);
    auto recalc = run_cli({"recalc", path, "--json"});
    EXPECT_EQ(recalc.exit_code, 0) << recalc.err;
    r.recalc = json::parse(recalc.out, nullptr, false);
    auto verify = run_cli({"verify", path});
    EXPECT_EQ(verify.exit_code, 0) << verify.out;
    EXPECT_EQ(bytes_of(path), before) << "reading changed the file";
    return r;
  }
};

// Labour 20 a r-g, sand 50 a m3; three positions of 1 r-g + 0.5 m3 each (45.00 apiece).
json estimate() {
  return json::parse(R"({"general": {"name": "Uszkodzony"},
    "prices": [{"kind": 0, "id": 1, "sub": 0, "unit": "r-g", "price": 20, "name": "Robotnicy"},
               {"kind": 1, "id": 7, "sub": 0, "unit": "m3", "price": 50, "name": "Piasek"}],
    "nodes": [
      {"type": 9, "level": 1, "number": "1", "description": "Roboty ziemne"},
      {"type": 1, "level": 2, "number": "1.1", "description": "Wykop", "quantity": 1,
       "inputs": {"current": 0, "variants": [{"name": "", "entries": [
         {"kind": 0, "id": 1, "sub": 0, "norm": 1}, {"kind": 1, "id": 7, "sub": 0, "norm": 0.5}]}]}},
      {"type": 1, "level": 2, "number": "1.2", "description": "Zasypka", "quantity": 1,
       "inputs": {"current": 0, "variants": [{"name": "", "entries": [
         {"kind": 0, "id": 1, "sub": 0, "norm": 1}, {"kind": 1, "id": 7, "sub": 0, "norm": 0.5}]}]}},
      {"type": 1, "level": 2, "number": "1.3", "description": "Plantowanie", "quantity": 1,
       "inputs": {"current": 0, "variants": [{"name": "", "entries": [
         {"kind": 0, "id": 1, "sub": 0, "norm": 1}, {"kind": 1, "id": 7, "sub": 0, "norm": 0.5}]}]}},
      {"type": 6, "level": 2, "number": "1.4", "description": "Rusztowanie", "quantity": 10, "links": [1]}]})");
}

// The record position of the node numbered `number`, from the dump.
doc::rec_pos pos_of(const json& dump, const std::string& number) {
  for (const json& n : dump["nodes"])
    if (n["number"] == number) return n["pos"].get<doc::rec_pos>();
  ADD_FAILURE() << "no node " << number;
  return doc::NO_POS;
}

const json* node_of(const json& recalc, const std::string& number) {
  for (const json& n : recalc["nodes"])
    if (n["number"] == number) return &n;
  return nullptr;
}

double net_of(const json& recalc, const std::string& number) {
  const json* n = node_of(recalc, number);
  return n ? (*n)["net"].get<double>() : -1;
}

void edit_node(doc::store_records& r, doc::rec_pos pos, const std::function<void(std::vector<uint8_t>&)>& edit) {
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(r.read(doc::CHAIN_ELPZ, pos, bytes));
  edit(bytes);
  ASSERT_TRUE(r.rewrite_keep_size(doc::CHAIN_ELPZ, pos, bytes));
}

void put16(std::vector<uint8_t>& b, int at, int16_t v) { std::memcpy(b.data() + at, &v, 2); }
void put32(std::vector<uint8_t>& b, int at, int32_t v) { std::memcpy(b.data() + at, &v, 4); }

} // namespace

TEST(DamagedEstimates, SoundFileReadsAsExpected) {
  // The reference the damaged cases compare with: 20 + 25 = 45.00 a position.
  damaged_files files;
  const std::string path = files.build(estimate(), "dobry.kvr");
  reading r = damaged_files::read(path);
  EXPECT_DOUBLE_EQ(net_of(r.recalc, "1.1"), 45.0);
  EXPECT_DOUBLE_EQ(net_of(r.recalc, "1.3"), 45.0);
  EXPECT_EQ(r.recalc["nodes"].size(), 5u);
}

TEST(DamagedEstimates, LevelsThatJumpNestUnderTheGroupsOpenAtTheTime) {
  json spec = estimate();
  spec["nodes"][0]["level"] = 4;  // the first record sets the base
  spec["nodes"][1]["level"] = 9;  // positions hang under the latest group whatever their level
  spec["nodes"].push_back({{"type", 0}, {"level", 12}, {"number", "2"}, {"description", "Element"}});
  spec["nodes"].push_back({{"type", 0}, {"level", 1}, {"number", "3"}, {"description", "Wyzej niz pierwszy"}});
  damaged_files files;
  const std::string path = files.build(spec, "poziomy.kvr");
  reading r = damaged_files::read(path);
  std::vector<std::pair<std::string, int>> depths;
  for (const json& n : r.recalc["nodes"]) depths.emplace_back(n["number"], n["depth"]);
  // An element deeper than any open group goes one below the deepest; one above the first
  // record's level becomes top-level.
  EXPECT_EQ(depths, (std::vector<std::pair<std::string, int>>{
                        {"1", 1}, {"1.1", 2}, {"1.2", 2}, {"1.3", 2}, {"1.4", 2}, {"2", 2}, {"3", 1}}));
  EXPECT_DOUBLE_EQ(net_of(r.recalc, "1"), net_of(r.recalc, "1.1") + net_of(r.recalc, "1.2") +
                                              net_of(r.recalc, "1.3") + net_of(r.recalc, "1.4"));
}

TEST(DamagedEstimates, NodeTypesOutOfRangeAreLeftOutOfTreeAndTotals) {
  damaged_files files;
  const std::string path = files.build(estimate(), "typy.kvr");
  const json before = damaged_files::read(path).recalc;
  json dump = damaged_files::read(path).dump;
  damaged_files::damage(path, [&](doc::store_records& r) {
    edit_node(r, pos_of(dump, "1.2"), [](auto& b) { put16(b, doc::ep::TYPE, 42); });
    edit_node(r, pos_of(dump, "1.3"), [](auto& b) { put16(b, doc::ep::TYPE, -3); });
  });
  reading r = damaged_files::read(path);
  EXPECT_EQ(node_of(r.recalc, "1.2"), nullptr);
  EXPECT_EQ(node_of(r.recalc, "1.3"), nullptr);
  EXPECT_EQ(r.tree.find("Zasypka"), std::string::npos);
  EXPECT_EQ(r.tree.find("Plantowanie"), std::string::npos);
  EXPECT_NE(r.tree.find("Rusztowanie"), std::string::npos);  // the walk went on past them
  EXPECT_DOUBLE_EQ(net_of(r.recalc, "1.1"), 45.0);
  EXPECT_NEAR(r.recalc["totals"]["labour"].get<double>(), before["totals"]["labour"].get<double>() - 40.0, 0.005);
  // The dump still shows the records as stored.
  EXPECT_EQ(r.dump["nodes"].size(), dump["nodes"].size());
}

TEST(DamagedEstimates, TextsWithoutTerminatorAreCutAtTheirField) {
  damaged_files files;
  json spec = estimate();
  spec["prices"][1]["name"] = "Piasek";
  const std::string path = files.build(spec, "teksty.kvr");
  json dump = damaged_files::read(path).dump;
  damaged_files::damage(path, [&](doc::store_records& r) {
    edit_node(r, pos_of(dump, "1.1"), [](auto& b) {
      std::memset(b.data() + doc::ep::NUMBER, 'N', doc::ep::NUMBER_WIDTH);
      std::memset(b.data() + doc::ep::UNIT, 'u', doc::ep::UNIT_WIDTH);
      std::memset(b.data() + doc::ep::POSITION_DESCRIPTION, 'x', b.size() - doc::ep::POSITION_DESCRIPTION);
    });
  });
  reading r = damaged_files::read(path);
  const json& n = r.dump["nodes"][1];
  const std::string number = n["number"], unit = n["unit"], description = n["description"];
  EXPECT_LE(number.size(), std::size_t(doc::ep::NUMBER_WIDTH));
  EXPECT_EQ(number.find_first_not_of('N'), std::string::npos);
  EXPECT_LE(unit.size(), std::size_t(doc::ep::UNIT_WIDTH));
  // Records are stored only as long as their texts: "Wykop" and its terminator became six
  // letters that end with the record.
  EXPECT_EQ(description, "xxxxxx");
  // The next field is not read into this one.
  EXPECT_EQ(r.dump["nodes"][2]["number"], "1.2");
  // The tree caption keeps to its 124 characters and "...".
  std::istringstream lines(r.tree);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 4u + 124u + 3u) << line;
  EXPECT_DOUBLE_EQ(r.recalc["nodes"][1]["net"].get<double>(), 45.0);
}

TEST(DamagedEstimates, CountsLargerThanTheirRecordKeepWhatTheRecordHolds) {
  damaged_files files;
  const std::string path = files.build(estimate(), "liczby.kvr");
  json dump = damaged_files::read(path).dump;
  damaged_files::damage(path, [&](doc::store_records& r) {
    // Variant row of 1.1 claims 255 entries; the block holds two.
    std::vector<uint8_t> node;
    ASSERT_TRUE(r.read(doc::CHAIN_ELPZ, pos_of(dump, "1.1"), node));
    const doc::rec_pos block = doc::elpz_record::from_bytes(node).inputs_pos();
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(r.read(doc::CHAIN_RMS_BLK, block, bytes));
    ASSERT_GE(bytes.size(), 3u + 2 * 22u);
    bytes[2] = 255;  // the row is (first entry u16, entry count u8)
    ASSERT_TRUE(r.rewrite_keep_size(doc::CHAIN_RMS_BLK, block, bytes));
    // 1.2 claims 300 variants with 1.2's current one far beyond them.
    edit_node(r, pos_of(dump, "1.2"), [](auto& b) {
      put16(b, doc::ep::VARIANT_COUNT, 300);
      put16(b, doc::ep::CURRENT_VARIANT, 299);
    });
  });
  reading r = damaged_files::read(path);
  const json& entries = r.dump["nodes"][1]["inputs"]["variants"][0]["entries"];
  EXPECT_EQ(entries.size(), 2u);
  // Only the rows the block can hold are read as variants: 3 + 2 × 22 bytes give 15.
  EXPECT_EQ(r.dump["nodes"][2]["inputs"]["variants"].size(), 15u);
  // What is there is priced as stored; a current variant that does not exist has no inputs.
  EXPECT_DOUBLE_EQ(net_of(r.recalc, "1.1"), 45.0);
  EXPECT_DOUBLE_EQ(net_of(r.recalc, "1.2"), 0.0);
  EXPECT_DOUBLE_EQ(net_of(r.recalc, "1.3"), 45.0);
}

TEST(DamagedEstimates, LinksToMissingRecordsAreSkipped) {
  damaged_files files;
  json spec = estimate();
  // 1.3 uses an input without a price record: the run names it with a placeholder.
  spec["nodes"][3]["inputs"]["variants"][0]["entries"].push_back({{"kind", 1}, {"id", 4242}, {"sub", 2}, {"norm", 1}});
  const std::string path = files.build(spec, "odnosniki.kvr");
  json dump = damaged_files::read(path).dump;
  damaged_files::damage(path, [&](doc::store_records& r) {
    // 1.2's inputs block points at a position holding no record.
    edit_node(r, pos_of(dump, "1.2"), [](auto& b) { put32(b, doc::ep::INPUTS, 7); });
    // The scaffolding's links block names a node that does not exist besides 1.1.
    std::vector<uint8_t> node;
    ASSERT_TRUE(r.read(doc::CHAIN_ELPZ, pos_of(dump, "1.4"), node));
    const doc::rec_pos links = doc::elpz_record::from_bytes(node).scaffold_links_pos();
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(r.read(doc::CHAIN_RMS_BLK, links, bytes));
    ASSERT_EQ(bytes.size(), 4u + 16u);  // count, then one 16-byte entry naming 1.1
    std::vector<uint8_t> more = bytes;
    more.resize(bytes.size() + 16, 0);
    const int32_t missing = 999999, count = 2;
    std::memcpy(more.data() + bytes.size() + 4, &missing, 4);
    std::memcpy(more.data(), &count, 4);
    ASSERT_NE(r.rewrite(doc::CHAIN_RMS_BLK, links, more), doc::NO_POS);
  });
  reading r = damaged_files::read(path);
  EXPECT_DOUBLE_EQ(net_of(r.recalc, "1.1"), 45.0);
  EXPECT_DOUBLE_EQ(net_of(r.recalc, "1.2"), 0.0);  // no inputs
  bool placeholder = false;
  for (const json& in : r.recalc["inputs"]) placeholder |= in["name"] == "Nieznany Ss= 4242  2";
  EXPECT_TRUE(placeholder);
  EXPECT_NE(r.tree.find("Rusztowanie"), std::string::npos);
}

TEST(DamagedEstimates, CompoundWithDamagedChapterRecordsOpensWhatItCan) {
  json compound = json::parse(R"({"general": {"name": "Złożony"}, "chapters": [
      {"number": "1", "storage_name": "internal", "quantity": 1},
      {"number": "2", "storage_name": "internal", "quantity": 1},
      {"number": "3", "storage_name": "external", "path": "zew.kvr", "quantity": 1}]})");
  for (json& c : compound["chapters"]) c["document"] = estimate();
  compound["chapters"][1]["document"]["general"]["name"] = "Drugi";
  damaged_files files;
  const std::string path = files.build(compound, "zlozony.kvr");
  json dump = damaged_files::read(path).dump;
  ASSERT_EQ(dump["chapters"].size(), 3u);
  damaged_files::damage(path, [&](doc::store_records& r) {
    std::vector<doc::rec_pos> chapters;
    for (doc::rec_pos p = r.locate(doc::CHAIN_CHPT_NODE, doc::FIRST_REC, 0); p != doc::NO_POS;
         p = r.locate(doc::CHAIN_CHPT_NODE, doc::NEXT_REC, p))
      chapters.push_back(p);
    ASSERT_EQ(chapters.size(), 3u);
    std::vector<uint8_t> b;
    // Chapter 1: its sub-set position points into the middle of another record.
    ASSERT_TRUE(r.read(doc::CHAIN_CHPT_NODE, chapters[0], b));
    put32(b, 26, chapters[1] + 3);
    ASSERT_TRUE(r.rewrite_keep_size(doc::CHAIN_CHPT_NODE, chapters[0], b));
    // Chapter 3: a path that fills its field without a terminator.
    ASSERT_TRUE(r.read(doc::CHAIN_CHPT_NODE, chapters[2], b));
    std::memset(b.data() + 34, 'z', 260);
    ASSERT_TRUE(r.rewrite_keep_size(doc::CHAIN_CHPT_NODE, chapters[2], b));
  });
  kovra::store::reset_containers();
  reading r = damaged_files::read(path);
  // Chapter 2 is intact and reads in full.
  ASSERT_TRUE(r.recalc.contains("chapters"));
  bool second = false;
  for (const json& c : r.recalc["chapters"])
    if (c["number"] == "2") {
      second = true;
      EXPECT_EQ(c["name"], "Drugi");
      EXPECT_EQ(c["nodes"].size(), 5u);
    }
  EXPECT_TRUE(second);
  // The other two are left out of the tree and the run; the file keeps their records.
  EXPECT_EQ(r.tree.rfind("2  Drugi", 0), 0u) << r.tree;
  EXPECT_EQ(r.tree.find("\n1  "), std::string::npos) << r.tree;
  EXPECT_EQ(r.tree.find("\n3  "), std::string::npos) << r.tree;
  EXPECT_EQ(r.recalc["chapters"].size(), 1u);
  ASSERT_EQ(r.dump["chapters"].size(), 3u);
  EXPECT_FALSE(r.dump["chapters"][0].contains("document"));
  EXPECT_TRUE(r.dump["chapters"][1].contains("document"));
  EXPECT_FALSE(r.dump["chapters"][2].contains("document"));
  EXPECT_EQ(r.dump["chapters"][2]["path"].get<std::string>().find_first_not_of('z'), std::string::npos);
  EXPECT_LE(r.dump["chapters"][2]["path"].get<std::string>().size(), 260u);
}
