// Estimate documents whose records contradict each other or their own layout: node types
// outside the table, records shorter or longer than they should be, texts without their
// terminator, counts larger than the record that holds them, positions that name nothing or
// a record of another chain, chapter records that name no sub-set or file. Each is held to
// what the record really holds; nothing crashes, the tree walk ends, and a read-only open
// leaves the file as it was.
#include "estimate_doc_support.h"
#include "tree_support.h"

#include "document/basis_text.h"
#include "document/build_tree.h"
#include "document/data_chain.h"
#include "document/document_settings.h"
#include "document/estimate_json.h"
#include "document/estimate_layout.h"
#include "document/inputs_block.h"
#include "document/node_blocks.h"
#include "document/price_records.h"
#include "document/scaffold_links.h"
#include "document/zest_record.h"
#include "store/container.h"
#include "store/integrity_check.h"
#include "store/paths.h"
#include "store/record_set.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

using namespace kovra::document;
using namespace kovra::document::testing;
using estimate_doc_test::bytes_of;
using estimate_doc_test::EstimateDocs;
using estimate_doc_test::write_bytes;
using nlohmann::json;
using strings = std::vector<std::string>;

namespace {

struct tree_fixture : memory_tree {
  build_result build() {
    build_result r = memory_tree::build();
    EXPECT_EQ(recount(tree), tree.count);
    return r;
  }
  std::vector<uint8_t> stored(int chain, rec_pos p) { return read_or_empty(*m, chain, p); }
  rec_pos add_raw(std::vector<uint8_t> bytes, int chain = CHAIN_ELPZ) {
    return m->insert(chain, LAST_REC, NO_POS, bytes);
  }
  rec_pos add_record(elpz_record r) { return add_raw({r.bytes.begin(), r.bytes.begin() + r.used_length()}); }
};

elpz_record node_of(int16_t type, uint8_t level, const std::string& number) {
  elpz_record r = new_elpz_record(type);
  r.set_level(level);
  r.set_number(number);
  return r;
}

// A node record with its type field overwritten (types the table does not know).
std::vector<uint8_t> typed(int16_t type, uint8_t level, const std::string& number) {
  elpz_record r = node_of(NODE_POSITION, level, number);
  std::vector<uint8_t> bytes(r.bytes.begin(), r.bytes.begin() + r.used_length());
  put_i16(bytes.data() + ep::TYPE, type);
  return bytes;
}

// Opens the file for writing, lets `damage` change its records, and stores it again.
void damage_records(const std::string& path, const std::function<void(store_records&)>& damage) {
  auto set = open_estimate_set(path, false);
  ASSERT_TRUE(set) << open_error_text(path);
  damage(*set);
  ASSERT_TRUE(kovra::store::flush_record_set(set->set()));
  ASSERT_TRUE(kovra::store::flush_container(kovra::store::set_handle(set->set())));
  ASSERT_TRUE(set->close());
}

std::vector<rec_pos> positions(const record_source& src, int chain) {
  std::vector<rec_pos> out;
  for (rec_pos p = src.locate(chain, FIRST_REC, NO_POS); p != NO_POS; p = src.locate(chain, NEXT_REC, p))
    out.push_back(p);
  return out;
}

// The node record with this number, as stored, and its position.
std::pair<rec_pos, elpz_record> node_in(const record_source& src, const std::string& number) {
  for (rec_pos p : positions(src, CHAIN_ELPZ)) {
    elpz_record r = elpz_record::from_bytes(read_or_empty(src, CHAIN_ELPZ, p));
    if (r.number() == number) return {p, r};
  }
  ADD_FAILURE() << "no node " << number;
  return {NO_POS, {}};
}

void put_node(store_records& set, rec_pos p, const elpz_record& r) {
  ASSERT_NE(set.rewrite(CHAIN_ELPZ, p, std::span(r.bytes.data(), r.used_length())), NO_POS);
}

struct walk {
  bool opened = false;
  build_result built;
  strings numbers;
};

// Opens the file by its kind the way its window does and builds the tree of a simple
// estimate; the walk must end with the tree's count matching its nodes.
walk open_and_walk(const std::string& path, bool read_only) {
  walk w;
  const int kind = document_kind(path);
  if (kind < 0) return w;
  auto doc = open_estimate_by_kind(path, kind, read_only);
  if (!doc) return w;
  w.opened = true;
  if (doc->structure_kind == LAYOUT_SIMPLE) {
    doc->tree = std::make_unique<Kvr_Tree8>();
    auto* root = new Koszt_Node;
    attach_last(*doc->tree, nullptr, root, 0, "Kosztorys");
    w.built = build_tree(*doc->records, *doc->tree, *root, doc.get());
    EXPECT_EQ(recount(*doc->tree), doc->tree->count);
    w.numbers = tree_numbers(*doc->tree);
  }
  free_estimate(doc);
  return w;
}

json five_nodes() {
  return json::parse(R"({
    "general": {"name": "Uszkodzony"},
    "additions": [{"name": "Zaplecze", "amount": 100}],
    "authors": [{"name": "Jan", "function": "kosztorysant"}],
    "description_text": "Opis",
    "prices": [{"kind": 1, "id": 1, "sub": 0, "unit": "r-g", "price": 20, "name": "Robotnicy"},
               {"kind": 2, "id": 7, "sub": 0, "unit": "m3", "price": 50, "name": "Piasek"}],
    "nodes": [{"type": 9, "level": 1, "number": "g", "description": "Grupa"},
              {"type": 0, "level": 2, "number": "e", "description": "Element"},
              {"type": 1, "level": 3, "number": "p", "description": "Wykop", "quantity": 3, "note": "uwaga",
               "inputs": {"current": 0, "variants": [{"entries": [{"kind": 1, "id": 1, "sub": 0, "norm": 2}]}]}},
              {"type": 6, "level": 3, "number": "s", "description": "Rusztowanie", "links": [2]},
              {"type": 1, "level": 3, "number": "q", "description": "Zasypanie", "quantity": 1}]})");
}

} // namespace

// ---- node types outside the table --------------------------------------------------------

TEST(DamagedNodeRecords, TypesOutsideTheTableAreLeftOutAndTheWalkGoesOn) {
  tree_fixture f;
  f.add_record(node_of(NODE_WORK_GROUP, 0, "g"));
  const rec_pos neg = f.add_raw(typed(-1, 7, "neg"));
  f.add_raw(typed(10, 7, "ten"));
  f.add_raw(typed(0x7FFF, 7, "max"));
  f.add_raw(typed(256, 0, "big"));
  f.add_record(node_of(NODE_POSITION, 1, "p"));
  f.add_record(node_of(NODE_TYPE_8, 1, "t8"));
  f.add_record(node_of(NODE_ELEMENT, 1, "e"));
  f.add_record(node_of(NODE_POSITION, 2, "q"));
  build_result r = f.build();
  EXPECT_EQ(r.skipped, 5);
  EXPECT_EQ(r.attached, 4);
  // A record left out opens no group: the position after it still hangs under the group.
  EXPECT_EQ(tree_numbers(f.tree), (strings{"g@1", "p@2", "e@2", "q@3"}));
  // Nothing is written back into a record that was left out.
  EXPECT_EQ(elpz_record::from_bytes(f.stored(CHAIN_ELPZ, neg)).level(), 7);

  // Held as they are: no description or individual code is read from an unknown layout,
  // and the dump lists every record with its stored type.
  elpz_record unknown = elpz_record::from_bytes(typed(10, 0, "x"));
  EXPECT_EQ(unknown.description(), "");
  EXPECT_EQ(individual_code_of(unknown), "");
  EXPECT_EQ(basis_text(unknown, false), "");
  json dumped = simple_document_to_json(*f.m);
  ASSERT_EQ(dumped["nodes"].size(), 9u);
  EXPECT_EQ(dumped["nodes"][1]["type"], -1);
  EXPECT_EQ(dumped["nodes"][3]["type"], 0x7FFF);
  EXPECT_EQ(dumped["nodes"][3]["description"], "");
}

// ---- records shorter or longer than their layout ----------------------------------------

TEST(DamagedNodeRecords, RecordsShorterThanTheirLayoutReadAsZeroAndKeepTheirLength) {
  tree_fixture f;
  f.add_record(node_of(NODE_ELEMENT, 0, "e"));
  elpz_record p = node_of(NODE_POSITION, 5, "short");
  p.set_i16(ep::CATALOGUE_NUMBER, 202);
  // Cut after the level byte: no catalogue reference, inputs, survey or description.
  const rec_pos cut = f.add_raw({p.bytes.begin(), p.bytes.begin() + 60});
  // Cut inside the text positions, before the level byte.
  const rec_pos cut40 = f.add_raw({p.bytes.begin(), p.bytes.begin() + 40});
  build_result r = f.build();
  EXPECT_EQ(r.attached, 3);
  EXPECT_EQ(tree_numbers(f.tree), (strings{"e@1", "short@2", "short@2"}));

  Elpz_Node* n = f.node("short");
  ASSERT_TRUE(n);
  EXPECT_EQ(n->record.description(), "");
  EXPECT_EQ(basis_text(n->record, false), "");  // the catalogue number was cut off
  EXPECT_TRUE(read_inputs(*f.m, n->record).variants.empty());
  EXPECT_TRUE(read_inputs_variant(*f.m, n->record, 0).empty());
  EXPECT_TRUE(read_survey_bytes(*f.m, n->record).empty());
  for (int w = 0; w < 3; ++w) EXPECT_FALSE(read_node_text(*f.m, n->record, w));
  // The level follows the depth where the record holds a level byte; the stored lengths stay.
  std::vector<uint8_t> s = f.stored(CHAIN_ELPZ, cut);
  ASSERT_EQ(s.size(), 60u);
  EXPECT_EQ(s[ep::LEVEL], 2);
  EXPECT_EQ(f.stored(CHAIN_ELPZ, cut40).size(), 40u);
  EXPECT_FALSE(f.m->modified());
}

TEST(DamagedNodeRecords, RecordWithoutTerminatorIsCutAtItsFields) {
  tree_fixture f;
  std::vector<uint8_t> raw(900, 'x');
  put_i16(raw.data() + ep::TYPE, NODE_POSITION);
  raw[ep::LEVEL] = 0;
  put_i16(raw.data() + ep::CATALOGUE_NUMBER, 202);
  put_i16(raw.data() + ep::TABLE_NUMBER, 101);
  put_i16(raw.data() + ep::COLUMN_NUMBER, 3);
  const rec_pos at = f.add_raw(raw);
  build_result r = f.build();
  ASSERT_EQ(r.attached, 1);
  Elpz_Node* n = dynamic_cast<Elpz_Node*>(f.root->first_child);
  ASSERT_TRUE(n);
  // Each text ends at its field; the description where a 676-byte record would end.
  EXPECT_EQ(n->record.number(), std::string(26, 'x'));
  EXPECT_EQ(n->record.unit(), std::string(8, 'x'));
  EXPECT_EQ(n->record.description(), std::string(675 - 441, 'x'));
  EXPECT_EQ(individual_code_of(n->record), std::string(64, 'x'));
  EXPECT_EQ(n->record.basis_text_field(), std::string(26, 'x'));
  EXPECT_EQ(n->record.used_length(), 676u);
  const std::string caption = n->caption();
  EXPECT_EQ(caption.size(), 127u);
  EXPECT_EQ(caption.substr(124), "...");
  // The "xxxx" positions name nothing; the variant count and current variant are garbage.
  EXPECT_TRUE(read_inputs(*f.m, n->record).variants.empty());
  EXPECT_FALSE(read_node_text(*f.m, n->record, 0));
  // A current variant not below the number of variants counts as the first.
  EXPECT_EQ(basis_text(n->record, false), "XXXXX 202/101/3 (1)");
  // The level write-back keeps the stored length.
  EXPECT_EQ(f.stored(CHAIN_ELPZ, at).size(), 900u);
  json dumped = simple_document_to_json(*f.m);
  EXPECT_EQ(dumped["nodes"][0]["description"].get<std::string>().size(), 675u - 441u);
}

// ---- levels that jump --------------------------------------------------------------------

TEST(DamagedNodeRecords, LevelsThatJumpUnderAChapterAreHeldToOpenGroups) {
  // The nodes of a chapter hang one level deeper than those of a simple estimate.
  tree_fixture f;
  auto* chapter = new Koszt_Node();
  attach_last(f.tree, f.root, chapter, 0, "Rozdział");
  f.add_record(node_of(NODE_WORK_GROUP, 200, "g1"));
  f.add_record(node_of(NODE_ELEMENT, 255, "e1"));     // deeper than any open group
  f.add_record(node_of(NODE_POSITION, 0, "p1"));      // a position's level does not count
  f.add_record(node_of(NODE_WORK_GROUP, 199, "g0"));  // above the first record
  f.add_record(node_of(NODE_ELEMENT, 0, "e0"));       // far above: beside g0
  f.add_record(node_of(NODE_ELEMENT, 201, "e2"));     // under e0's group slot, not g1's
  f.m->set_modified(false);
  build_result r = build_tree(*f.m, f.tree, *chapter);
  EXPECT_EQ(r.attached, 6);
  EXPECT_EQ(tree_numbers(f.tree), (strings{"g1@2", "e1@3", "p1@4", "g0@2", "e0@2", "e2@3"}));
  EXPECT_EQ(recount(f.tree), f.tree.count);
  // Every level byte now tells the depth, so the next build gives the same tree.
  for (const auto& [number, depth] : std::vector<std::pair<std::string, int>>{{"g1", 2}, {"p1", 4}, {"e2", 3}})
    EXPECT_EQ(elpz_record::from_bytes(f.stored(CHAIN_ELPZ, f.node(number)->pos)).level(), depth) << number;
  Kvr_Tree8 again;
  auto* root = new Koszt_Node();
  attach_last(again, nullptr, root, 0, "");
  auto* chapter2 = new Koszt_Node();
  attach_last(again, root, chapter2, 0, "");
  build_tree(*f.m, again, *chapter2);
  EXPECT_EQ(tree_numbers(again), tree_numbers(f.tree));
}

// ---- links to missing records ------------------------------------------------------------

TEST(DamagedLinks, ScaffoldLinksThatNameNoPositionAreSkipped) {
  tree_fixture f;
  f.add_record(node_of(NODE_ELEMENT, 0, "e"));
  const rec_pos p1 = f.add_record(node_of(NODE_POSITION, 1, "p1"));
  const rec_pos p2 = f.add_record(node_of(NODE_POSITION, 1, "p2"));
  // s1: a missing record, itself, p1 twice and the links block itself; more links
  // announced than stored.
  elpz_record s1 = node_of(NODE_SCAFFOLD, 1, "s1");
  const rec_pos s1_at = f.add_record(s1);
  std::vector<rec_pos> bad = {p1, 999999, s1_at, p1};
  std::vector<uint8_t> block = encode_scaffold_links(bad);
  block.resize(block.size() + SCAFFOLD_LINK_SIZE, 0);
  const rec_pos block_at = f.add_raw(block, CHAIN_RMS_BLK);
  put_i32(block.data() + 4 + SCAFFOLD_LINK_SIZE * 4 + 4, block_at);
  put_i32(block.data(), 100000);
  ASSERT_NE(f.m->rewrite(CHAIN_RMS_BLK, block_at, block), NO_POS);
  s1.set_scaffold_links_pos(block_at);
  ASSERT_NE(f.m->rewrite(CHAIN_ELPZ, s1_at, std::span(s1.bytes.data(), s1.used_length())), NO_POS);
  // s2: its links position names a node record; s3: nothing; s4: a negative count.
  elpz_record s2 = node_of(NODE_SCAFFOLD, 1, "s2");
  s2.set_scaffold_links_pos(p2);
  f.add_record(s2);
  elpz_record s3 = node_of(NODE_SCAFFOLD, 1, "s3");
  s3.set_scaffold_links_pos(123456);
  f.add_record(s3);
  std::vector<uint8_t> negative = encode_scaffold_links(std::vector<rec_pos>{p2});
  put_i32(negative.data(), -3);
  elpz_record s4 = node_of(NODE_SCAFFOLD, 1, "s4");
  s4.set_scaffold_links_pos(f.add_raw(negative, CHAIN_RMS_BLK));
  f.add_record(s4);
  // s5 takes p1 over from s1: a position belongs to one scaffolding.
  elpz_record s5 = node_of(NODE_SCAFFOLD, 1, "s5");
  s5.set_scaffold_links_pos(f.add_raw(encode_scaffold_links(std::vector<rec_pos>{p2, p1}), CHAIN_RMS_BLK));
  f.add_record(s5);

  build_result r = f.build();
  EXPECT_EQ(r.links, 3);
  EXPECT_EQ(r.bad_links, 4);
  EXPECT_TRUE(f.node("s1")->linked.empty());
  for (const char* s : {"s2", "s3", "s4"}) EXPECT_TRUE(f.node(s)->linked.empty()) << s;
  ASSERT_EQ(f.node("s5")->linked.size(), 2u);
  EXPECT_EQ(f.node("p1")->scaffold, f.node("s5"));
  EXPECT_EQ(f.node("p2")->scaffold, f.node("s5"));
  EXPECT_EQ(f.node("s1")->scaffold, nullptr);

  // The dump keeps the stored links that name a node (by its place in the list) and drops
  // those that name none.
  json dumped = simple_document_to_json(*f.m);
  EXPECT_EQ(dumped["nodes"][3]["links"], json::array({1, 3, 1}));
  EXPECT_EQ(dumped["nodes"][4]["links"], json::array());

  delete_subtree(f.tree, f.node("s5"));
  EXPECT_EQ(f.node("p1")->scaffold, nullptr);
  EXPECT_EQ(f.node("p2")->scaffold, nullptr);
  EXPECT_EQ(recount(f.tree), f.tree.count);
}

TEST(DamagedLinks, ScaffoldLinkToAPositionOutsideTheWalkedSubtreeIsSkipped) {
  // Each chapter links the scaffoldings below its own node; a position of another branch
  // is not found there.
  tree_fixture f;
  f.add_record(node_of(NODE_ELEMENT, 0, "e1"));
  const rec_pos p = f.add_record(node_of(NODE_POSITION, 1, "p"));
  f.add_record(node_of(NODE_ELEMENT, 0, "e2"));
  elpz_record s = node_of(NODE_SCAFFOLD, 1, "s");
  s.set_scaffold_links_pos(f.add_raw(encode_scaffold_links(std::vector<rec_pos>{p}), CHAIN_RMS_BLK));
  f.add_record(s);
  f.build();
  ASSERT_EQ(f.node("p")->scaffold, f.node("s"));  // linked when the whole estimate is walked
  remove_node(f.tree, f.node("s"));
  ASSERT_EQ(f.node("p")->scaffold, nullptr);
  auto* again = new Elpz_Node();
  again->record = s;
  again->pos = NO_POS;
  attach_last(f.tree, f.node("e2"), again, 0, "s");
  int bad = 0;
  EXPECT_EQ(link_scaffolds(*f.m, *f.node("e2"), &bad), 0);
  EXPECT_EQ(bad, 1);
  EXPECT_EQ(f.node("p")->scaffold, nullptr);
  EXPECT_TRUE(again->linked.empty());
}

TEST(DamagedLinks, BlockTextAndDataPositionsThatNameNoRecordOfTheirChainGiveNone) {
  tree_fixture f;
  const rec_pos g = f.add_record(node_of(NODE_WORK_GROUP, 0, "g"));
  const rec_pos text = f.add_raw({'o', 'k', 0}, CHAIN_TEXT);
  const rec_pos data = f.add_raw({'d', 'a', 't', 'a', 0}, CHAIN_DATA);
  inputs_block one;
  one.variants.push_back({"", "", {{0, 1, 0, 2.0, 1.0f, 0, 0, 0}}});
  const rec_pos inputs = f.add_raw(encode_inputs_block(one), CHAIN_RMS_BLK);
  for (rec_pos wrong : {g, rec_pos(0), rec_pos(777777), data}) {
    elpz_record p = node_of(NODE_POSITION, 1, "p");
    p.set_i32(ep::INPUTS, wrong);
    p.set_i32(ep::POSITION_SURVEY, wrong);
    for (int w = 0; w < 3; ++w) p.set_text_pos(w, wrong);
    EXPECT_TRUE(read_inputs(*f.m, p).variants.empty()) << wrong;
    EXPECT_TRUE(read_inputs_variant(*f.m, p, 0).empty()) << wrong;
    EXPECT_TRUE(read_survey_bytes(*f.m, p).empty()) << wrong;
    for (int w = 0; w < 3; ++w) EXPECT_FALSE(read_node_text(*f.m, p, w)) << wrong;
  }
  // The same positions where they do name records of the right chains.
  elpz_record sound = node_of(NODE_POSITION, 1, "p");
  sound.set_i32(ep::INPUTS, inputs);
  sound.set_text_pos(0, text);
  EXPECT_EQ(read_inputs(*f.m, sound).variants.size(), 1u);
  EXPECT_EQ(read_node_text(*f.m, sound, 0), "ok");
  // An inputs position on a node that has no inputs is not followed.
  elpz_record group = node_of(NODE_WORK_GROUP, 0, "g");
  group.set_i32(ep::INPUTS, inputs);
  EXPECT_TRUE(read_inputs(*f.m, group).variants.empty());

  // The general data names records of the data chain only.
  general_data gd_ = new_general_data();
  gd_.set_description_record(g);
  gd_.set_additions_record(777777);
  gd_.set_authors_record(0);
  put_i32(gd_.at(gd::NOTE_TEXT), 0);
  put_i32(gd_.at(gd::CPV_TEXT), text);  // a record of the node-text chain
  gd_.set_print_config_record(g);
  gd_.set_standard_overheads_record(inputs);
  EXPECT_FALSE(read_description_raw(*f.m, gd_, CHAIN_DATA));
  EXPECT_TRUE(read_additions(*f.m, gd_, CHAIN_DATA).empty());
  EXPECT_TRUE(read_authors(*f.m, gd_, CHAIN_DATA).empty());
  EXPECT_EQ(gd_.authors_record(), NO_POS);  // a stored 0 means none
  EXPECT_FALSE(read_estimate_text(*f.m, gd_, 0, CHAIN_DATA));
  EXPECT_EQ(get_i32(gd_.at(gd::NOTE_TEXT)), NO_POS);
  EXPECT_FALSE(read_estimate_text(*f.m, gd_, 1, CHAIN_DATA));
  EXPECT_FALSE(read_print_config(*f.m, gd_.print_config_record(), CHAIN_DATA));
  EXPECT_FALSE(read_overhead_record(*f.m, gd_.standard_overheads_record(), CHAIN_DATA));
  // Storing a record at a position that names another chain's record adds a new one and
  // leaves the other record alone.
  const std::vector<uint8_t> node_before = f.stored(CHAIN_ELPZ, g);
  const std::vector<uint8_t> additions = encode_additions(std::vector<addition>{{"Zaplecze", 1.0}});
  const rec_pos stored = store_data_record(*f.m, g, additions, CHAIN_DATA);
  EXPECT_NE(stored, g);
  EXPECT_EQ(f.stored(CHAIN_DATA, stored), additions);
  EXPECT_EQ(f.stored(CHAIN_ELPZ, g), node_before);
  EXPECT_EQ(store_data_record(*f.m, g, {}, CHAIN_DATA), NO_POS);  // removing it removes nothing
  EXPECT_EQ(f.stored(CHAIN_ELPZ, g), node_before);
}

// ---- counts larger than the record -------------------------------------------------------

TEST(DamagedCounts, InputsBlockCountsAreHeldToTheBlock) {
  tree_fixture f;
  inputs_block b;
  b.named = true;
  b.variants.push_back({"a", "Pierwszy", {{0, 1, 0, 1.5, 1.0f, 0, 0, 0}, {1, 7, 0, 0.3, 1.0f, 0, 0, 0}}});
  b.variants.push_back({"b", "Drugi", {{2, 5, 0, 2.0, 1.0f, 0, 0, 0}}});
  std::vector<uint8_t> sound = encode_inputs_block(b);
  elpz_record p = node_of(NODE_POSITION, 1, "p");
  p.set_i16(ep::VARIANTS_NAMED, 1);
  p.set_i16(ep::VARIANT_COUNT, 2);
  p.set_i32(ep::INPUTS, f.add_raw(sound, CHAIN_RMS_BLK));
  ASSERT_EQ(read_inputs(*f.m, p), b);

  // More variants announced than the block's table holds: only the rows that fit.
  p.set_i16(ep::VARIANT_COUNT, 30000);
  inputs_block many = read_inputs(*f.m, p);
  EXPECT_EQ(many.variants.size(), sound.size() / VARIANT_ROW_SIZE);
  for (const auto& v : many.variants) EXPECT_LE(v.entries.size(), 3u);
  // A negative count: no inputs at all.
  p.set_i16(ep::VARIANT_COUNT, -2);
  EXPECT_TRUE(read_inputs(*f.m, p).variants.empty());
  EXPECT_TRUE(read_inputs_variant(*f.m, p, 0).empty());
  p.set_i16(ep::VARIANT_COUNT, 2);

  // A row whose entries run past the block keeps only the entries that exist; its input
  // count is the count it really has.
  std::vector<uint8_t> rows = sound;
  rows[2] = 200;  // variant 0 claims 200 entries
  put_u16(rows.data() + VARIANT_ROW_SIZE, 60000);  // variant 1 starts beyond the block
  p.set_i16(ep::VARIANTS_NAMED, 0);
  p.set_i32(ep::INPUTS, f.add_raw(rows, CHAIN_RMS_BLK));
  inputs_block cut = read_inputs(*f.m, p);
  ASSERT_EQ(cut.variants.size(), 2u);
  EXPECT_EQ(cut.variants[0].entries.size(), (rows.size() - 2 * VARIANT_ROW_SIZE) / INPUT_ENTRY_SIZE);
  EXPECT_TRUE(cut.variants[1].entries.empty());
  std::vector<uint8_t> v0 = read_inputs_variant(*f.m, p, 0);
  ASSERT_GE(v0.size(), 3u);
  EXPECT_EQ(v0.size(), 3 + INPUT_ENTRY_SIZE * std::size_t(v0[2]));
  EXPECT_TRUE(read_inputs_variant(*f.m, p, 1).empty());

  // A names block that was cut or points outside itself: the names it holds, cut at
  // their fields.
  std::vector<uint8_t> names = sound;
  const std::size_t names_at = 2 * VARIANT_ROW_SIZE + 3 * INPUT_ENTRY_SIZE;
  std::fill_n(names.begin() + long(names_at), 8, uint8_t('N'));            // short name without terminator
  put_u16(names.data() + names_at + 8, 0xFFFF);                            // full name beyond the block
  names.resize(names.size() - 2);                                          // "Drugi" loses its terminator
  p.set_i16(ep::VARIANTS_NAMED, 1);
  p.set_i32(ep::INPUTS, f.add_raw(names, CHAIN_RMS_BLK));
  inputs_block named = read_inputs(*f.m, p);
  ASSERT_EQ(named.variants.size(), 2u);
  EXPECT_EQ(named.variants[0].short_name, "NNNNNNNN");
  EXPECT_EQ(named.variants[0].name, "");
  EXPECT_EQ(named.variants[1].short_name, "b");
  EXPECT_EQ(named.variants[1].name, "Drug");
  EXPECT_EQ(named.variants[0].entries.size(), 2u);
  // The names flag set on a block without names: the entries are read, the names are none.
  inputs_block unnamed = b;
  unnamed.named = false;
  std::vector<uint8_t> bare = encode_inputs_block(unnamed);
  p.set_i32(ep::INPUTS, f.add_raw(bare, CHAIN_RMS_BLK));
  inputs_block flagged = read_inputs(*f.m, p);
  ASSERT_EQ(flagged.variants.size(), 2u);
  EXPECT_EQ(flagged.variants[1].entries.size(), 1u);
  EXPECT_EQ(flagged.variants[0].name, "");
}

TEST(DamagedCounts, CurrentVariantOutsideTheTableCountsAsTheFirst) {
  tree_fixture f;
  inputs_block b;
  b.variants.push_back({"", "", {{0, 1, 0, 1.0, 1.0f, 0, 0, 0}}});
  b.variants.push_back({"", "", {{0, 2, 0, 1.0, 1.0f, 0, 0, 0}}});
  b.variants.push_back({"", "", {{0, 3, 0, 1.0, 1.0f, 0, 0, 0}}});
  elpz_record p = node_of(NODE_POSITION, 1, "p");
  p.set_catalogue_name("KNR");
  p.set_i16(ep::CATALOGUE_NUMBER, 202);
  p.set_i16(ep::TABLE_NUMBER, 101);
  p.set_i16(ep::COLUMN_NUMBER, 3);
  p.set_i16(ep::VARIANT_COUNT, 3);
  p.set_i32(ep::INPUTS, f.add_raw(encode_inputs_block(b), CHAIN_RMS_BLK));
  p.set_current_variant(2);
  EXPECT_EQ(basis_text(p, false), "KNR 202/101/3 (3)");
  for (int16_t wrong : {int16_t(3), int16_t(7), int16_t(-1), int16_t(-32768)}) {
    p.set_current_variant(wrong);
    EXPECT_EQ(basis_text(p, false), "KNR 202/101/3 (1)") << wrong;
    EXPECT_TRUE(read_inputs_variant(*f.m, p, p.current_variant()).empty()) << wrong;
  }
  // The simplified style with its four-digit table number.
  elpz_record s = node_of(NODE_SIMPLIFIED, 1, "s");
  s.set_catalogue_name("KNR");
  s.set_i16(ep::CATALOGUE_NUMBER, 202);
  s.set_i16(ep::TABLE_NUMBER, 101);
  s.set_i16(ep::COLUMN_NUMBER, 3);
  s.bytes[ep::REF_STYLE] = 1;
  s.set_i16(ep::VARIANT_COUNT, 1);
  s.set_current_variant(-32768);
  EXPECT_EQ(basis_text(s, false), "KNR 202/0101-0301");
  s.set_i16(ep::VARIANT_COUNT, 0);
  s.set_current_variant(0);
  EXPECT_EQ(basis_text(s, false), "KNR 202/0101-0301");
}

TEST(DamagedCounts, DataRecordCountsAreHeldToTheRecord) {
  tree_fixture f;
  general_data g = new_general_data();
  std::vector<uint8_t> adds = encode_additions(std::vector<addition>{{"Zaplecze", 10.0}, {"Kierownik", 20.0}});
  put_u16(adds.data(), 0xFFFF);
  adds.resize(adds.size() - 1);  // the second entry is one byte short
  g.set_additions_record(f.add_raw(adds, CHAIN_DATA));
  std::vector<uint8_t> people = encode_authors(std::vector<author>{{"Jan", "kosztorysant"}});
  put_u16(people.data(), 0xFFFF);
  g.set_authors_record(f.add_raw(people, CHAIN_DATA));
  ASSERT_EQ(read_additions(*f.m, g, CHAIN_DATA).size(), 1u);
  EXPECT_EQ(read_additions(*f.m, g, CHAIN_DATA)[0].amount, 10.0);
  ASSERT_EQ(read_authors(*f.m, g, CHAIN_DATA).size(), 1u);
  EXPECT_EQ(read_authors(*f.m, g, CHAIN_DATA)[0].function, "kosztorysant");
  // A record shorter than its count field.
  g.set_additions_record(f.add_raw({7}, CHAIN_DATA));
  g.set_authors_record(f.add_raw({7}, CHAIN_DATA));
  EXPECT_TRUE(read_additions(*f.m, g, CHAIN_DATA).empty());
  EXPECT_TRUE(read_authors(*f.m, g, CHAIN_DATA).empty());
  // A print configuration longer than its layout is cut, a shorter one filled with zeros;
  // an overhead record likewise.
  std::vector<uint8_t> long_config(PRINT_CONFIG_SIZE + 100, 0xAB);
  g.set_print_config_record(f.add_raw(long_config, CHAIN_DATA));
  EXPECT_EQ(load_print_config(*f.m, g, CHAIN_DATA).size(), PRINT_CONFIG_SIZE);
  g.set_print_config_record(f.add_raw({1, 2, 3}, CHAIN_DATA));
  std::vector<uint8_t> short_config = load_print_config(*f.m, g, CHAIN_DATA);
  ASSERT_EQ(short_config.size(), PRINT_CONFIG_SIZE);
  EXPECT_EQ(short_config[2], 3);
  EXPECT_EQ(short_config[3], 0);
  g.set_standard_overheads_record(f.add_raw({9, 0}, CHAIN_DATA));
  overhead_record o = load_overhead_record(*f.m, g, CHAIN_DATA);
  EXPECT_EQ(o.head(), 9);
  EXPECT_EQ(o.tail(), 1.0);  // the zero the short record leaves is a factor other than 1.0
}

// ---- texts without terminator -------------------------------------------------------------

TEST(DamagedTexts, TextsWithoutTerminatorEndAtTheirFieldOrRecord) {
  tree_fixture f;
  // A node text that fills its record.
  elpz_record p = node_of(NODE_POSITION, 1, "p");
  p.set_text_pos(0, f.add_raw({'u', 'w', 'a', 'g', 'a'}, CHAIN_TEXT));
  p.set_text_pos(2, f.add_raw({'D', '-', '0', '1'}, CHAIN_TEXT));
  EXPECT_EQ(read_node_text(*f.m, p, 0), "uwaga");
  EXPECT_EQ(specification_number(*read_node_text(*f.m, p, 2)), "D-01");
  // A price record whose name runs past the longest record.
  std::vector<uint8_t> price(600, 'c');
  price[2] = 1;
  const rec_pos price_at = f.add_raw(price, CHAIN_ZEST);
  zest_record z = zest_record::from_bytes(f.stored(CHAIN_ZEST, price_at));
  EXPECT_EQ(z.name().size(), 374u - 123u - 1u);
  EXPECT_EQ(z.used_length(), 374u);
  json dumped = simple_document_to_json(*f.m);
  EXPECT_EQ(dumped["prices"][0]["name"].get<std::string>().size(), 250u);
  EXPECT_EQ(dumped["prices"][0]["unit"].get<std::string>().size(), 8u);
  // The estimate's name fills its field: its first 55 characters are the name.
  general_data g;
  std::fill_n(g.at(gd::NAME), 56, uint8_t('n'));
  EXPECT_EQ(g.name(), std::string(55, 'n'));
  // A chapter's number and path without terminator.
  std::vector<uint8_t> chapter(CHAPTER_RECORD_SIZE, 'r');
  chapter_record c = chapter_record::from_bytes(chapter);
  EXPECT_EQ(c.number(), std::string(20, 'r'));
  EXPECT_EQ(c.path(), std::string(260, 'r'));
  EXPECT_FALSE(c.internal());
}

// ---- damaged files --------------------------------------------------------------------------

class DamagedFiles : public EstimateDocs {
protected:
  // Opens read-only and for the dump: both must leave the file as it was, without a
  // working copy.
  walk read_only_walk(const std::string& path) {
    const std::string before = bytes_of(path);
    walk w = open_and_walk(path, true);
    json dumped;
    (void)dump_estimate_file(path, dumped);
    EXPECT_TRUE(bytes_of(path) == before) << path;
    EXPECT_FALSE(std::filesystem::exists(kovra::store::working_copy_name(path)));
    kovra::store::reset_containers();
    return w;
  }
};

TEST_F(DamagedFiles, ContradictoryRecordsOpenHeldToWhatTheyHold) {
  const std::string path = build(five_nodes());
  rec_pos g_at = NO_POS, price_at = NO_POS;
  damage_records(path, [&](store_records& set) {
    auto [g, gr] = node_in(set, "g");
    g_at = g;
    auto [e, er] = node_in(set, "e");
    er.set_i16(ep::TYPE, 77);
    put_node(set, e, er);
    auto [p, pr] = node_in(set, "p");
    pr.set_level(250);
    pr.set_i32(ep::INPUTS, g);  // a node record, not an inputs block
    pr.set_text_pos(0, 123456);
    pr.set_i16(ep::VARIANT_COUNT, 9000);
    pr.set_current_variant(-5);
    put_node(set, p, pr);
    auto [s, sr] = node_in(set, "s");
    sr.set_scaffold_links_pos(pr.inputs_pos());
    put_node(set, s, sr);
    // The general data names records of other chains, and a price record lost its tail.
    general_data gd_ = general_data::from_bytes(set.user_header());
    gd_.set_print_config_record(g);
    gd_.set_description_record(positions(set, CHAIN_ZEST)[0]);
    set.set_user_header(gd_.bytes);
    price_at = positions(set, CHAIN_ZEST)[1];
    std::vector<uint8_t> cut = read_or_empty(set, CHAIN_ZEST, price_at);
    cut.resize(5);
    ASSERT_NE(set.rewrite(CHAIN_ZEST, price_at, cut), NO_POS);
  });

  walk ro = read_only_walk(path);
  ASSERT_TRUE(ro.opened);
  EXPECT_EQ(ro.built.skipped, 1);
  // The element is gone; its position hangs under the latest group: the group itself.
  EXPECT_EQ(ro.numbers, (strings{"g@1", "p@2", "s@2", "q@2"}));
  EXPECT_TRUE(sink.requests().empty());
  json dumped;
  ASSERT_EQ(dump_estimate_file(path, dumped), "");
  EXPECT_FALSE(dumped.contains("description_text"));
  EXPECT_EQ(dumped["prices"].size(), 2u);
  EXPECT_EQ(dumped["nodes"][2]["inputs"]["variants"], json::array());

  // Opened for work, the missing print configuration is stored as a new record of the
  // data chain; the node record the general data named stays as it was.
  std::vector<uint8_t> g_before;
  {
    auto set = open_estimate_set(path, true);
    ASSERT_TRUE(set);
    g_before = read_or_empty(*set, CHAIN_ELPZ, g_at);
  }
  kovra::store::reset_containers();
  estimate_doc doc;
  ASSERT_TRUE(open_simple_estimate(doc, path));
  EXPECT_NE(doc.general.print_config_record(), g_at);
  EXPECT_EQ(read_or_empty(*doc.records, CHAIN_DATA, doc.general.print_config_record()).size(), PRINT_CONFIG_SIZE);
  EXPECT_EQ(read_or_empty(*doc.records, CHAIN_ELPZ, g_at), g_before);
  EXPECT_TRUE(close_estimate(doc));
  EXPECT_FALSE(std::filesystem::exists(kovra::store::working_copy_name(path)));
  walk again = read_only_walk(path);
  EXPECT_EQ(again.numbers, ro.numbers);
}

TEST_F(DamagedFiles, EveryDamagedByteIsReadWithoutWritingOrRefusedWithItsMessage) {
  // Each byte of an uncompressed file in turn, with the checksum mended so that the damage
  // reaches the records instead of being caught by the checksum.
  const std::string path = build(estimate_doc_test::uncompressed(five_nodes()));
  const std::string sound = bytes_of(path);
  const std::set<int> refusals = {1, 77, 172, 237, 238, 239, 293};
  const std::size_t checksum_at = kovra::store::file_header_size + 148;
  const std::size_t step = std::max<std::size_t>(1, sound.size() / 300);
  int opened = 0, refused = 0;
  for (std::size_t i = 0; i < sound.size(); i += step) {
    std::string damaged = sound;
    const uint8_t old = uint8_t(damaged[i]);
    const uint8_t now = old == 0xFF ? 0x00 : 0xFF;
    damaged[i] = char(now);
    if (i >= kovra::store::file_header_size && (i < checksum_at || i >= checksum_at + 4)) {
      int32_t sum;
      std::memcpy(&sum, damaged.data() + checksum_at, 4);
      sum = int32_t(uint32_t(sum) + uint32_t(now) - uint32_t(old));
      std::memcpy(damaged.data() + checksum_at, &sum, 4);
    }
    write_bytes(path, damaged);
    sink.clear();
    walk w = read_only_walk(path);
    if (w.opened) ++opened;
    else ++refused;
    for (int n : asked()) EXPECT_TRUE(refusals.count(n)) << "byte " << i << ": message " << n;
    if (w.opened) {
      EXPECT_TRUE(asked().empty()) << "byte " << i;
    }

    // Opened for work, it closes again without leaving its working copy.
    walk work = open_and_walk(path, false);
    EXPECT_FALSE(std::filesystem::exists(kovra::store::working_copy_name(path))) << "byte " << i;
    if (work.opened && w.opened) {
      EXPECT_EQ(work.numbers, w.numbers) << "byte " << i;
    }
    kovra::store::reset_containers();
    kovra::store::reset_open_files();
  }
  // Most of the file is records: most damage opens, some is refused.
  EXPECT_GT(opened, refused);
  EXPECT_GT(refused, 0);
}

// ---- damaged chapter records ---------------------------------------------------------------

TEST_F(DamagedFiles, ChapterRecordsThatNameNoSubsetOrNoFileLeaveTheirChapterOut) {
  using namespace compound_test;
  json chapters = json::array({internal_chapter("1"), internal_chapter("2"), external_chapter("3", "e.kvr"),
                               internal_chapter("4"), internal_chapter("5")});
  const std::string path = build(compound_spec(chapters), "z.kvr");
  damage_records(path, [&](store_records& set) {
    std::vector<rec_pos> at = positions(set, CHAIN_CHPT_NODE);
    ASSERT_EQ(at.size(), 5u);
    auto record = [&](int k) { return chapter_record::from_bytes(read_or_empty(set, CHAIN_CHPT_NODE, at[k])); };
    // 1: its sub-set position names the second chapter's record.
    chapter_record c1 = record(0);
    c1.set_subset_pos(at[1]);
    ASSERT_NE(set.rewrite(CHAIN_CHPT_NODE, at[0], c1.bytes), NO_POS);
    // 3: the path fills its field without terminator.
    chapter_record c3 = record(2);
    std::fill_n(c3.bytes.begin() + 34, 260, uint8_t('x'));
    ASSERT_NE(set.rewrite(CHAIN_CHPT_NODE, at[2], c3.bytes), NO_POS);
    // 4: cut before its storage byte: an external chapter without a path.
    chapter_record c4 = record(3);
    ASSERT_NE(set.rewrite(CHAIN_CHPT_NODE, at[3], std::span(c4.bytes.data(), 20)), NO_POS);
    // 5: its sub-set position points into the middle of a sub-set block.
    chapter_record c5 = record(4);
    c5.set_subset_pos(c5.subset_pos() + 8);
    ASSERT_NE(set.rewrite(CHAIN_CHPT_NODE, at[4], c5.bytes), NO_POS);
  });
  const std::string before = bytes_of(path);
  const std::string ext_before = bytes_of(dir / "e.kvr");
  {
    open_compound c;
    ASSERT_TRUE(c.open(path, true));
    open_all_result r;
    EXPECT_TRUE(open_all_chapters(c.tree, *c.estimate, *c.compound, {}, &r));
    EXPECT_EQ(r.attached, 1);
    EXPECT_EQ(r.left_out, 4);
    ASSERT_EQ(c.chapter_nodes().size(), 1u);
    EXPECT_EQ(c.chapter_nodes()[0]->chapter()->chapter.number(), "2");
    EXPECT_EQ(recount(c.tree), c.tree.count);
    // The two external chapters that name no file are asked about; the path is shown as
    // the field holds it.
    EXPECT_EQ(asked(), (std::vector<int>{294, 294}));
    ASSERT_EQ(sink.requests().size(), 2u);
    EXPECT_NE(sink.requests()[0].text.find(std::string(260, 'x')), std::string::npos);
    EXPECT_EQ(sink.requests()[0].text.find(std::string(261, 'x')), std::string::npos);

    // A walk without a tree ends at the first chapter that does not open.
    Compound_Iterator it(*c.compound);
    EXPECT_EQ(it.first_chapter(), nullptr);
    EXPECT_EQ(it.failed(), 0);
    EXPECT_EQ(it.next_chapter(), nullptr);
  }
  EXPECT_EQ(bytes_of(path), before);
  EXPECT_EQ(bytes_of(dir / "e.kvr"), ext_before);
  EXPECT_FALSE(std::filesystem::exists(kovra::store::working_copy_name(path)));

  // The dump reads every chapter record; only the sound one carries a document.
  json dumped;
  ASSERT_EQ(dump_estimate_file(path, dumped), "");
  ASSERT_EQ(dumped["chapters"].size(), 5u);
  int with_document = 0;
  for (const json& ch : dumped["chapters"]) with_document += ch.contains("document") ? 1 : 0;
  EXPECT_EQ(with_document, 1);
  EXPECT_EQ(bytes_of(path), before);
}

TEST_F(DamagedFiles, SubsetNamedByTwoChapterRecordsIsOneChapter) {
  // Two chapter documents over one sub-set would each keep their own key index of it, and
  // what one of them writes the other overwrites: the sub-set is the first record's only.
  using namespace compound_test;
  const std::string path = build(compound_spec(json::array({internal_chapter("1"), internal_chapter("2")})), "z.kvr");
  damage_records(path, [&](store_records& set) {
    std::vector<rec_pos> at = positions(set, CHAIN_CHPT_NODE);
    ASSERT_EQ(at.size(), 2u);
    chapter_record first = chapter_record::from_bytes(read_or_empty(set, CHAIN_CHPT_NODE, at[0]));
    chapter_record second = chapter_record::from_bytes(read_or_empty(set, CHAIN_CHPT_NODE, at[1]));
    second.set_subset_pos(first.subset_pos());
    ASSERT_NE(set.rewrite(CHAIN_CHPT_NODE, at[1], second.bytes), NO_POS);
  });
  ASSERT_TRUE(kovra::store::check_container(path).ok());
  const std::string before = bytes_of(path);
  for (bool read_only : {true, false}) {
    open_compound c;
    ASSERT_TRUE(c.open(path, read_only));
    EXPECT_EQ(c.compound->chapters().size(), 1u);
    open_all_result r;
    EXPECT_TRUE(open_all_chapters(c.tree, *c.estimate, *c.compound, {}, &r));
    EXPECT_EQ(r.attached, 1);
    ASSERT_EQ(c.chapter_nodes().size(), 1u);
    EXPECT_EQ(c.chapter_nodes()[0]->chapter()->chapter.number(), "1");
    EXPECT_EQ(recount(c.tree), c.tree.count);
    if (!read_only) {
      // Prices written into the chapter all stay.
      record_source& chapter = c.chapter_nodes()[0]->chapter()->records();
      const std::size_t had = chapter.count(CHAIN_ZEST);
      for (int i = 0; i < 50; ++i) {
        zest_record z;
        z.set_kind(1);
        z.set_key(uint32_t(1000 + i), 0);
        z.set_name("Materiał " + std::to_string(i));
        z.set_unit("kg");
        EXPECT_NE(write_zestaw_record(chapter, z, NO_POS), NO_POS) << i;
      }
      EXPECT_EQ(chapter.count(CHAIN_ZEST), had + 50);
      EXPECT_TRUE(c.save());
    }
    c.close();
    if (read_only) {
      EXPECT_EQ(bytes_of(path), before);
    }
    EXPECT_TRUE(sink.requests().empty());
    kovra::store::reset_containers();
  }
  EXPECT_TRUE(kovra::store::check_container(path).ok());
  // Both records stay in the file; the dump shows each as stored.
  json dumped;
  ASSERT_EQ(dump_estimate_file(path, dumped), "");
  ASSERT_EQ(dumped["chapters"].size(), 2u);
  EXPECT_EQ(dumped["chapters"][0]["document"]["prices"].size(), 51u);
}

TEST_F(DamagedFiles, FileCutShortIsRefusedWithMessage1AndLeftAsItWas) {
  const std::string path = build(five_nodes());
  const std::string sound = bytes_of(path);
  for (std::size_t length : {std::size_t(0), std::size_t(100), std::size_t(kovra::store::file_header_size), std::size_t(400),
                             sound.size() / 2, sound.size() - 1}) {
    const std::string cut = sound.substr(0, length);
    for (bool read_only : {true, false}) {
      write_bytes(path, cut);
      sink.clear();
      estimate_doc doc;
      EXPECT_FALSE(open_simple_estimate(doc, path, nullptr, true, nullptr, false, read_only)) << length;
      EXPECT_EQ(asked(), std::vector<int>{1}) << length;
      // Asked for the error code instead, the caller gets it and nothing is shown.
      sink.clear();
      uint8_t error = kovra::store::OPEN_OK;
      EXPECT_FALSE(open_simple_estimate(doc, path, &error, true, nullptr, false, read_only)) << length;
      EXPECT_NE(error, kovra::store::OPEN_OK) << length;
      EXPECT_TRUE(asked().empty()) << length;
      EXPECT_TRUE(bytes_of(path) == cut) << length;
      EXPECT_FALSE(std::filesystem::exists(kovra::store::working_copy_name(path))) << length;
      EXPECT_FALSE(open_and_walk(path, read_only).opened) << length;
      kovra::store::reset_containers();
      kovra::store::reset_open_files();
    }
  }
}
