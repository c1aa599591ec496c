#include "document/collation.h"
#include "document/compound_nodes.h"
#include "document/estimate_layout.h"
#include "document/memory_compound.h"
#include "document/memory_records.h"
#include "document/price_records.h"
#include "store/codepage.h"
#include "fatal_texts.h"

#include <gtest/gtest.h>

using namespace kovra::document;
using document_test::fatal_texts;
using kovra::store::utf8_to_mazovia;

namespace {
zest_record price(uint8_t kind, uint32_t id, const std::string& name) {
  zest_record z;
  z.set_kind(kind);
  z.set_key(id, 0);
  z.set_unit("t");
  z.set_name(name);
  return z;
}

std::vector<std::string> chain_names(const memory_records& m) {
  std::vector<std::string> out;
  std::vector<uint8_t> d;
  for (rec_pos p = m.locate(CHAIN_ZEST, FIRST_REC, NO_POS); p != NO_POS; p = m.locate(CHAIN_ZEST, NEXT_REC, p)) {
    m.read(CHAIN_ZEST, p, d);
    out.push_back(zest_record::from_bytes(d).name());
  }
  return out;
}

// Records whose key index refuses entries of one index (as a damaged or full index does).
struct refusing_keys : memory_records {
  int refused_index = 0;
  explicit refusing_keys(bool compound)
      : memory_records(compound ? std::vector<bool>(std::begin(COMPOUND_CHAIN_AUTO_NUMBER), std::end(COMPOUND_CHAIN_AUTO_NUMBER))
                                : std::vector<bool>(std::begin(SIMPLE_CHAIN_AUTO_NUMBER), std::end(SIMPLE_CHAIN_AUTO_NUMBER)),
                       2, GENERAL_DATA_SIZE) {}
  int key_insert(int index, std::span<const uint8_t> key, rec_pos value, int mode, rec_pos ref) override {
    if (index == refused_index) return KEY_REF_NOT_FOUND;
    return memory_records::key_insert(index, key, value, mode, ref);
  }
};

std::vector<std::string> key1_names(const memory_records& m) {
  std::vector<std::string> out;
  std::vector<uint8_t> d;
  for (const key_entry& e : m.key_entries(KEY_BY_NAME)) {
    m.read(CHAIN_ZEST, e.value, d);
    out.push_back(zest_record::from_bytes(d).name());
  }
  return out;
}
} // namespace

TEST(PriceChain, NewRecordsKeepNameOrderInChainAndKey1) {
  auto m = memory_records::simple_estimate();
  for (auto [kind, id, name] : std::vector<std::tuple<uint8_t, uint32_t, std::string>>{
           {1, 1, "Cement 32,5"}, {1, 2, "Piasek"}, {0, 3, "Robotnicy"}, {1, 4, "Cement 4"},
           {1, 5, "Stal zbrojeniowa fi 12"}, {1, 6, "Stal zbrojeniowa fi 8"}, {2, 7, "Koparka"},
           {1, 8, "Stal zbrojeniowa fi 10"}}) {
    zest_record z = price(kind, id, name);
    ASSERT_NE(write_zestaw_record(*m, z, NO_POS), NO_POS) << name;
    EXPECT_EQ(z.serial(), id);  // the chain numbered it in the caller's copy
  }
  // Key 1 orders by the collated ten-character prefix; names sharing a prefix follow the
  // name comparison, numeric runs as numbers.
  std::vector<std::string> expected = {"Robotnicy",          "Cement 32,5",           "Cement 4",
                                       "Piasek",             "Stal zbrojeniowa fi 8", "Stal zbrojeniowa fi 10",
                                       "Stal zbrojeniowa fi 12", "Koparka"};
  EXPECT_EQ(chain_names(*m), expected);
  EXPECT_EQ(key1_names(*m), expected);
  EXPECT_NE(find_zest(*m, 4, 0), NO_POS);
  EXPECT_EQ(find_zest(*m, 4, 1), NO_POS);
}

TEST(PriceChain, RepeatedKeyIsRefusedWithoutChange) {
  fatal_texts fatal;
  auto m = memory_records::simple_estimate();
  zest_record a = price(1, 10, "Cement");
  write_zestaw_record(*m, a, NO_POS);
  zest_record b = price(1, 10, "Inny cement");
  EXPECT_EQ(write_zestaw_record(*m, b, NO_POS), NO_POS);
  EXPECT_EQ(m->count(CHAIN_ZEST), 1u);
  EXPECT_EQ(m->key_entries(KEY_BY_NAME).size(), 1u);
  EXPECT_EQ(fatal.texts, std::vector<std::string>{"write_zestaw_record"});
}

TEST(PriceChain, RefusedKeyEntriesLeaveNothingHalfWrittenAndStopFatally) {
  fatal_texts fatal;
  for (int index : {KEY_BY_CODE, KEY_BY_NAME}) {
    refusing_keys m(false);
    zest_record a = price(1, 10, "Cement");
    m.refused_index = -1;
    ASSERT_NE(write_zestaw_record(m, a, NO_POS), NO_POS);
    m.refused_index = index;
    zest_record b = price(1, 11, "Piasek");
    EXPECT_EQ(write_zestaw_record(m, b, NO_POS), NO_POS) << index;
    EXPECT_EQ(chain_names(m), std::vector<std::string>{"Cement"}) << index;
    EXPECT_EQ(key1_names(m), std::vector<std::string>{"Cement"}) << index;
    EXPECT_EQ(m.key_entries(KEY_BY_CODE).size(), 1u) << index;
  }
  EXPECT_EQ(fatal.texts, (std::vector<std::string>{"write_zestaw_record", "write_zestaw_record"}));

  // The compound's summary records stop with their own text.
  fatal.texts.clear();
  refusing_keys c(true);
  chpt_zest_record z = new_chpt_zest_record(1, 1, 0, "t", "Cement");
  EXPECT_EQ(write_chpt_zest_record(c, z, NO_POS), NO_POS);
  EXPECT_EQ(c.count(CHAIN_CHPT_ZEST), 0u);
  EXPECT_TRUE(c.key_entries(KEY_BY_NAME).empty());
  EXPECT_EQ(fatal.texts, std::vector<std::string>{"insert_chpt_zestaw_and_key"});

  // Rebuilding key 0 over an index that refuses a sound record keeps every record.
  refusing_keys r(false);
  r.refused_index = -1;
  zest_record d = price(1, 20, "Drut"), e = price(1, 21, "Gwozdzie");
  write_zestaw_record(r, d, NO_POS);
  write_zestaw_record(r, e, NO_POS);
  r.refused_index = KEY_BY_CODE;
  EXPECT_EQ(rebuild_key0(r), -1);
  EXPECT_EQ(r.count(CHAIN_ZEST), 2u);
  EXPECT_EQ(r.key_entries(KEY_BY_NAME).size(), 2u);
}

TEST(PriceChain, RenamedRecordTakesItsNewPlaceInChainAndKey1) {
  auto m = memory_records::simple_estimate();
  zest_record a = price(1, 10, "Cement"), b = price(1, 11, "Piasek"), c = price(1, 12, "Wapno");
  const rec_pos pa = write_zestaw_record(*m, a, NO_POS);
  write_zestaw_record(*m, b, NO_POS);
  write_zestaw_record(*m, c, NO_POS);
  // Same length: rewritten in place, yet its name now sorts last.
  a.set_name("Zaprawa");
  EXPECT_EQ(write_zestaw_record(*m, a, pa), pa);
  EXPECT_EQ(chain_names(*m), (std::vector<std::string>{"Piasek", "Wapno", "Zaprawa"}));
  EXPECT_EQ(key1_names(*m), (std::vector<std::string>{"Piasek", "Wapno", "Zaprawa"}));
  EXPECT_EQ(m->key_values(KEY_BY_NAME, make_key1(1, "Zaprawa")), std::vector<rec_pos>{pa});
  EXPECT_TRUE(m->key_values(KEY_BY_NAME, make_key1(1, "Cement")).empty());
  // A longer name moves the record; both keys follow it.
  a.set_name("Beton towarowy klasy C16/20");
  const rec_pos moved = write_zestaw_record(*m, a, pa);
  ASSERT_NE(moved, NO_POS);
  EXPECT_EQ(chain_names(*m), (std::vector<std::string>{"Beton towarowy klasy C16/20", "Piasek", "Wapno"}));
  EXPECT_EQ(key1_names(*m), chain_names(*m));
  EXPECT_EQ(find_zest(*m, 10, 0), moved);
  EXPECT_EQ(m->key_entries(KEY_BY_NAME).size(), 3u);
}

TEST(PriceChain, RewriteAndDelete) {
  auto m = memory_records::simple_estimate();
  zest_record a = price(1, 10, "Cement");
  rec_pos p = write_zestaw_record(*m, a, NO_POS);
  a.set_price(412.5);
  EXPECT_EQ(write_zestaw_record(*m, a, p), p);
  std::vector<uint8_t> d;
  m->read(CHAIN_ZEST, p, d);
  EXPECT_EQ(d.size(), 124 + 6u);
  EXPECT_EQ(zest_record::from_bytes(d).price(), 412.5);
  EXPECT_TRUE(delete_zest(*m, p));
  EXPECT_EQ(find_zest(*m, 10, 0), NO_POS);
  EXPECT_TRUE(m->key_entries(KEY_BY_NAME).empty());
  EXPECT_EQ(m->count(CHAIN_ZEST), 0u);
}

TEST(PriceChain, RebuildingKey0DropsRepeatedKeys) {
  auto m = memory_records::simple_estimate();
  zest_record a = price(1, 10, "Cement"), b = price(1, 11, "Piasek"), c = price(1, 10, "Cement bis");
  write_zestaw_record(*m, a, NO_POS);
  write_zestaw_record(*m, b, NO_POS);
  // An older file: a second record with the same key, no key-0 entry for it.
  rec_pos dup = m->insert(CHAIN_ZEST, LAST_REC, NO_POS, std::span(c.bytes.data(), c.used_length()));
  key1_t k1 = make_key1(1, "Cement bis");
  m->key_insert(KEY_BY_NAME, k1, dup, LAST_REC, NO_POS);
  EXPECT_EQ(rebuild_key0(*m), 1);
  EXPECT_EQ(m->count(CHAIN_ZEST), 2u);
  EXPECT_EQ(m->key_entries(KEY_BY_CODE).size(), 2u);
  EXPECT_EQ(m->key_entries(KEY_BY_NAME).size(), 2u);
}

TEST(PriceChain, CompoundSummaryRecordsUseTheirOwnNameOffset) {
  auto m = memory_records::compound_estimate();
  chpt_zest_record b = new_chpt_zest_record(1, 2, 0, "m3", "Piasek");
  chpt_zest_record a = new_chpt_zest_record(1, 1, 0, "t", "Cement");
  write_chpt_zest_record(*m, b, NO_POS);
  rec_pos pa = write_chpt_zest_record(*m, a, NO_POS);
  EXPECT_EQ(m->locate(CHAIN_CHPT_ZEST, FIRST_REC, NO_POS), pa);
  std::vector<uint8_t> d;
  m->read(CHAIN_CHPT_ZEST, pa, d);
  EXPECT_EQ(d.size(), 187 + 6u);
  EXPECT_TRUE(delete_zest(*m, pa));
  EXPECT_EQ(m->key_entries(KEY_BY_NAME).size(), 1u);
}

namespace {
rec_pos add_chapter(memory_records& m, const std::string& number, bool internal, const std::string& path = "") {
  chapter_record c = new_chapter_record();
  c.set_number(number);
  c.set_storage(internal ? CHAPTER_INTERNAL : 0);
  c.set_path(path);
  return m.insert(CHAIN_CHPT_NODE, LAST_REC, NO_POS, c.bytes);
}

struct counting_chapters : compound_source {
  memory_compound inner;
  int open = 0, most_open = 0;
  struct tracked : chapter_document {
    std::unique_ptr<chapter_document> doc;
    int& open;
    tracked(std::unique_ptr<chapter_document> d, int& o) : doc(std::move(d)), open(o) { ++open; }
    ~tracked() override { --open; }
    record_source& records() override { return doc->records(); }
    general_data& general() override { return doc->general(); }
  };
  counting_chapters(memory_records& m, std::map<std::string, std::unique_ptr<memory_records>>& e) : inner(m, e) {}
  std::vector<chapter_entry> chapters() const override { return inner.chapters(); }
  std::unique_ptr<chapter_document> open_chapter(const chapter_entry& e) override {
    auto d = inner.open_chapter(e);
    if (!d) return nullptr;
    auto t = std::make_unique<tracked>(std::move(d), open);
    t->chapter = t->doc->chapter;
    most_open = std::max(most_open, open);
    return t;
  }
};
} // namespace

TEST(CompoundIterator, OneChapterOpenAtATimeAndInternalSubsetsMadeOnFirstOpen) {
  auto m = memory_records::compound_estimate();
  general_data g = new_general_data();
  g.set_labour_rate(31.0);
  g.set_price_list_file(0, "robocizna.cen");
  m->set_user_header(g.bytes);
  add_chapter(*m, "1", true);
  add_chapter(*m, "2", false, "missing.kvr");
  add_chapter(*m, "3", false, "garaz.kvr");
  std::map<std::string, std::unique_ptr<memory_records>> externals;
  externals["garaz.kvr"] = memory_records::simple_estimate();

  counting_chapters source(*m, externals);
  Compound_Iterator it(source);
  std::vector<std::string> seen;
  for (chapter_document* c = it.first_chapter(); c; c = it.next_chapter()) {
    seen.push_back(c->chapter.number());
    if (c->chapter.number() == "1") {
      EXPECT_EQ(c->general().labour_rate(), 31.0);
      EXPECT_EQ(c->general().price_list_file(0), "robocizna.cen");
      EXPECT_EQ(c->general().units_count(), 1.0);
    }
  }
  // The missing external chapter ends the walk; "3" is not reached.
  EXPECT_EQ(seen, (std::vector<std::string>{"1"}));
  EXPECT_EQ(it.failed(), 1);
  EXPECT_EQ(it.next_chapter(), nullptr);
  EXPECT_EQ(source.most_open, 1);
  EXPECT_EQ(source.open, 0);

  // The internal chapter's record now names its sub-set, numbered with the serial.
  std::vector<uint8_t> d;
  m->read(CHAIN_CHPT_NODE, m->locate(CHAIN_CHPT_NODE, FIRST_REC, NO_POS), d);
  chapter_record first = chapter_record::from_bytes(d);
  ASSERT_NE(first.subset_pos(), NO_POS);
  EXPECT_EQ(m->subset_number(first.subset_pos()), first.serial());
}

TEST(CompoundIterator, NodeIteratorWalksTheChapterNodes) {
  auto m = memory_records::compound_estimate();
  add_chapter(*m, "1", true);
  add_chapter(*m, "2", true);
  std::map<std::string, std::unique_ptr<memory_records>> externals;
  memory_compound source(*m, externals);
  Kvr_Tree8 tree;
  auto estimate = new Koszt_Node();
  attach_last(tree, nullptr, estimate, 0, "Kosztorys");
  for (const chapter_entry& e : source.chapters()) {
    auto node = new Rozdz_Node(source.open_chapter(e));
    attach_last(tree, estimate, node, chapter_picture(*node), node->caption());
  }
  Compound_Node_Iterator it(*estimate);
  std::vector<std::string> seen;
  for (chapter_document* c = it.first_chapter(); c; c = it.next_chapter()) seen.push_back(c->chapter.number());
  EXPECT_EQ(seen, (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(chapter_picture(*static_cast<Rozdz_Node*>(estimate->first_child)), 1);
  EXPECT_EQ(picture_of(*static_cast<Rozdz_Node*>(estimate->first_child)), 1);
  EXPECT_EQ(picture_of(*estimate), 0);
  // An external chapter has a picture of its own.
  externals["zewn.kvr"] = memory_records::simple_estimate();
  rec_pos ext = add_chapter(*m, "3", false, "zewn.kvr");
  chapter_entry e{ext, chapter_record::from_bytes(read_or_empty(*m, CHAIN_CHPT_NODE, ext))};
  Rozdz_Node external(source.open_chapter(e));
  EXPECT_EQ(picture_of(external), 2);
  // The estimate node's text: the compound's name, "Kosztorys" for a simple estimate.
  general_data g = new_general_data();
  g.set_name(utf8_to_mazovia("Budynek świetlicy"));
  EXPECT_EQ(estimate_node_text(g, true), "Budynek \x9Cwietlicy");
  EXPECT_EQ(estimate_node_text(g, false), "Kosztorys");
  EXPECT_EQ(static_cast<Rozdz_Node*>(estimate->first_child)->caption(), "1  ");
}
