#include "document/build_tree.h"
#include "document/general_data.h"
#include "document/scaffold_links.h"
#include "document/tree_iterators.h"
#include "document/tree_moves.h"
#include "shell/message_sink.h"
#include "fatal_texts.h"
#include "tree_support.h"

#include <gtest/gtest.h>

using namespace kovra::document;
using document_test::fatal_texts;
using namespace kovra::document::testing;
using strings = std::vector<std::string>;

namespace {
struct fixture : memory_tree {
  uint8_t stored_level(rec_pos p) {
    std::vector<uint8_t> d;
    m->read(CHAIN_ELPZ, p, d);
    return elpz_record::from_bytes(d).level();
  }
};

struct counting_observer : tree_observer {
  int attached = 0, removed = 0, moved = 0;
  void node_attached(Base_Node&, int, const std::string&) override { ++attached; }
  void node_removed(Base_Node&) override { ++removed; }
  void node_moved(Base_Node&) override { ++moved; }
};
} // namespace

TEST(BuildTree, LevelsDecideNestingAndPositionsHangUnderTheLatestGroup) {
  fixture f;
  add_node(*f.m, NODE_POSITION, 0, "p0");  // before any group: under the root
  add_node(*f.m, NODE_WORK_GROUP, 0, "g1");
  add_node(*f.m, NODE_ELEMENT, 1, "e1");
  add_node(*f.m, NODE_POSITION, 2, "p1");
  add_node(*f.m, NODE_ELEMENT, 1, "e2");
  add_node(*f.m, NODE_WORK_GROUP, 0, "g2");
  add_node(*f.m, NODE_POSITION, 0, "p2");
  build_result r = f.build();
  EXPECT_EQ(r.attached, 7);
  EXPECT_EQ(tree_numbers(f.tree), (strings{"p0@1", "g1@1", "e1@2", "p1@3", "e2@2", "g2@1", "p2@2"}));
  EXPECT_EQ(f.tree.count, 8);
  // Level bytes follow the depths, without counting as a change.
  EXPECT_EQ(f.stored_level(f.node("p1")->pos), 3);
  EXPECT_EQ(f.node("g1")->record.level(), 1);
  EXPECT_FALSE(f.m->modified());
}

TEST(BuildTree, DamagedLevelsAndTypesAreHeldNotTrusted) {
  fixture f;
  add_node(*f.m, NODE_WORK_GROUP, 3, "g1");
  add_node(*f.m, NODE_ELEMENT, 9, "e1");   // jumps deeper than any open group
  add_node(*f.m, NODE_WORK_GROUP, 0, "g0");  // above the first record's level
  add_node(*f.m, NODE_ELEMENT, 5, "e2");   // must not reach back into g1's branch
  add_node(*f.m, NODE_TYPE_7, 4, "t7");    // hangs like a position
  add_node(*f.m, NODE_TYPE_8, 4, "t8");    // not shown
  elpz_record bad = new_elpz_record(NODE_POSITION);
  bad.set_i16(ep::TYPE, 42);
  bad.set_number("bad");
  f.m->insert(CHAIN_ELPZ, LAST_REC, NO_POS, std::span(bad.bytes.data(), 100));
  build_result r = f.build();
  EXPECT_EQ(r.skipped, 2);
  EXPECT_EQ(tree_numbers(f.tree), (strings{"g1@1", "e1@2", "g0@1", "e2@2", "t7@3"}));
}

TEST(BuildTree, CaptionsAndPictures) {
  fixture f;
  add_node(*f.m, NODE_WORK_GROUP, 0, "1", std::string(200, 'a'));
  add_node(*f.m, NODE_SCAFFOLD, 1, "2", "Rusztowanie");
  counting_observer obs;
  f.tree.observer = &obs;
  f.build();
  EXPECT_EQ(obs.attached, 2);
  std::string caption = f.node("1")->caption();
  EXPECT_EQ(caption.size(), 127u);
  EXPECT_EQ(caption.substr(0, 4), "1  a");
  EXPECT_EQ(caption.substr(124), "...");
  EXPECT_EQ(f.node("2")->caption(), "2  Rusztowanie");
  EXPECT_EQ(picture_of(*f.node("1")), 3);
  EXPECT_EQ(picture_of(*f.node("2")), 8);
  EXPECT_EQ(picture_of(*f.root), 0);
  EXPECT_EQ(picture_of_type(0), 4);
  EXPECT_EQ(picture_of_type(5), 7);
  EXPECT_EQ(picture_of_type(3), 6);
}

TEST(BuildTree, ScaffoldLinksAndTheirRemoval) {
  fixture f;
  add_node(*f.m, NODE_ELEMENT, 0, "e");
  rec_pos p1 = add_node(*f.m, NODE_POSITION, 1, "p1");
  rec_pos p2 = add_node(*f.m, NODE_POSITION, 1, "p2");
  std::vector<rec_pos> links = {p1, 999999, p2};
  std::vector<uint8_t> block = encode_scaffold_links(links);
  rec_pos lp = f.m->insert(CHAIN_RMS_BLK, FIRST_REC, NO_POS, block);
  elpz_record s = new_elpz_record(NODE_SCAFFOLD);
  s.set_number("s");
  s.set_scaffold_links_pos(lp);
  f.m->insert(CHAIN_ELPZ, LAST_REC, NO_POS, std::span(s.bytes.data(), s.used_length()));
  build_result r = f.build();
  EXPECT_EQ(r.links, 2);
  EXPECT_EQ(r.bad_links, 1);
  Elpz_Node* scaffold = f.node("s");
  ASSERT_EQ(scaffold->linked.size(), 2u);
  EXPECT_EQ(f.node("p1")->scaffold, scaffold);

  remove_node(f.tree, f.node("p1"));
  ASSERT_EQ(scaffold->linked.size(), 1u);
  EXPECT_EQ(scaffold->linked[0], f.node("p2"));
  remove_node(f.tree, scaffold);
  EXPECT_EQ(f.node("p2")->scaffold, nullptr);
}

TEST(EstimateTree, CountAfterDeletes) {
  fixture f;
  add_node(*f.m, NODE_WORK_GROUP, 0, "g");
  add_node(*f.m, NODE_ELEMENT, 1, "e");
  add_node(*f.m, NODE_POSITION, 2, "p");
  add_node(*f.m, NODE_POSITION, 2, "q");
  add_node(*f.m, NODE_WORK_GROUP, 0, "h");
  f.build();
  EXPECT_EQ(f.tree.count, 6);
  delete_subtree(f.tree, f.node("q"));
  EXPECT_EQ(f.tree.count, 5);
  delete_subtree(f.tree, f.node("g"));
  EXPECT_EQ(f.tree.count, 2);
  EXPECT_EQ(recount(f.tree), 2);
}

TEST(EstimateTree, SubtreeIterationStopsAtTheRootsEnd) {
  fixture f;
  add_node(*f.m, NODE_WORK_GROUP, 0, "g");
  add_node(*f.m, NODE_ELEMENT, 1, "e");
  add_node(*f.m, NODE_POSITION, 2, "p");
  add_node(*f.m, NODE_WORK_GROUP, 0, "h");
  f.build();
  strings seen;
  for_each_below(f.node("g"), [&](Smp_Node* n) { seen.push_back(static_cast<Elpz_Node*>(n)->record.number()); });
  EXPECT_EQ(seen, (strings{"e", "p"}));
  Elpz_Node_Iterator it;
  EXPECT_EQ(first_below(it, f.node("p")), nullptr);
}

TEST(MoveNode, RelinksTheChainAndWritesLevels) {
  fixture f;
  add_node(*f.m, NODE_WORK_GROUP, 0, "g1");
  add_node(*f.m, NODE_ELEMENT, 1, "e1");
  add_node(*f.m, NODE_POSITION, 2, "p1");
  add_node(*f.m, NODE_WORK_GROUP, 0, "g2");
  add_node(*f.m, NODE_ELEMENT, 1, "e2");
  f.build();
  counting_observer obs;
  f.tree.observer = &obs;
  ASSERT_TRUE(move_node(f.tree, f.node("e2"), f.node("e1"), MOVE_LAST_CHILD));
  EXPECT_EQ(tree_numbers(f.tree), (strings{"g1@1", "g2@1", "e2@2", "e1@3", "p1@4"}));
  EXPECT_EQ(chain_numbers(*f.m), (strings{"g1", "g2", "e2", "e1", "p1"}));
  EXPECT_EQ(f.stored_level(f.node("p1")->pos), 4);
  EXPECT_EQ(obs.moved, 1);
  // A node cannot go into its own subtree.
  EXPECT_FALSE(move_node(f.tree, f.node("p1"), f.node("e1"), MOVE_LAST_CHILD));
  EXPECT_FALSE(move_node(f.tree, f.node("e1"), f.node("e1"), MOVE_BEFORE));
  ASSERT_TRUE(move_node(f.tree, f.node("g1"), f.node("e1"), MOVE_BEFORE));
  EXPECT_EQ(chain_numbers(*f.m), (strings{"e1", "p1", "g1", "g2", "e2"}));
  EXPECT_EQ(tree_numbers(f.tree), (strings{"e1@1", "p1@2", "g1@1", "g2@1", "e2@2"}));
  EXPECT_EQ(f.tree.count, 6);
}

TEST(IndentOutdent, OutdentingTheMiddleElementSplitsTheGroup) {
  fixture f;
  add_node(*f.m, NODE_WORK_GROUP, 0, "g");
  add_node(*f.m, NODE_ELEMENT, 1, "e1");
  add_node(*f.m, NODE_ELEMENT, 1, "e2");
  add_node(*f.m, NODE_POSITION, 2, "p2");
  add_node(*f.m, NODE_ELEMENT, 1, "e3");
  f.build();
  EXPECT_EQ(outdent_node(f.tree, f.node("e2"), nullptr), move_result::moved);
  EXPECT_EQ(tree_numbers(f.tree), (strings{"g@1", "e1@2", "e2@1", "p2@2", "@1", "e3@2"}));
  EXPECT_EQ(chain_numbers(*f.m), (strings{"g", "e1", "e2", "p2", "", "e3"}));

  // Indent takes it back into the group before it, at the end.
  EXPECT_EQ(indent_node(f.tree, f.node("e2"), nullptr), move_result::moved);
  EXPECT_EQ(tree_numbers(f.tree), (strings{"g@1", "e1@2", "e2@2", "p2@3", "@1", "e3@2"}));
  EXPECT_EQ(indent_node(f.tree, f.node("e1"), nullptr), move_result::nothing);  // no group before it
  EXPECT_EQ(chain_numbers(*f.m), (strings{"g", "e1", "e2", "p2", "", "e3"}));
}

TEST(IndentOutdent, OutdentOfTheLastChildNeedsNoNewGroup) {
  fixture f;
  add_node(*f.m, NODE_WORK_GROUP, 0, "g");
  add_node(*f.m, NODE_ELEMENT, 1, "e1");
  add_node(*f.m, NODE_ELEMENT, 1, "e2");
  f.build();
  int made = 0;
  auto maker = [&](Kvr_Tree8& t, Elpz_Node& after) {
    ++made;
    return make_work_group_after(t, after);
  };
  EXPECT_EQ(outdent_node(f.tree, f.node("e2"), nullptr, maker), move_result::moved);
  EXPECT_EQ(made, 0);
  EXPECT_EQ(tree_numbers(f.tree), (strings{"g@1", "e1@2", "e2@1"}));
  EXPECT_EQ(outdent_node(f.tree, f.node("e2"), nullptr, maker), move_result::nothing);  // parent is no group
}

TEST(IndentOutdent, EstimatesChaptersAndPositionsAreRefused) {
  fixture f;
  add_node(*f.m, NODE_WORK_GROUP, 0, "g");
  add_node(*f.m, NODE_POSITION, 1, "p");
  f.build();
  kovra::shell::recording_message_sink sink;
  EXPECT_EQ(indent_node(f.tree, f.root, &sink), move_result::refused);
  EXPECT_EQ(outdent_node(f.tree, f.node("p"), &sink), move_result::refused);
  ASSERT_EQ(sink.requests().size(), 2u);
  EXPECT_EQ(sink.requests()[0].text, "Nie mozna przeniesc kosztorysu ani rozdziału.");
  EXPECT_EQ(sink.requests()[0].caption, "Błąd");
  EXPECT_EQ(sink.requests()[1].text, "Nie mozna przeniesc rozdzialu i pozycji");
  EXPECT_EQ(sink.requests()[1].caption, "Error");
}

namespace {
// Node records whose chain takes no new record (a full or damaged file).
struct no_inserts : memory_records {
  no_inserts() : memory_records(std::vector<bool>(std::begin(SIMPLE_CHAIN_AUTO_NUMBER), std::end(SIMPLE_CHAIN_AUTO_NUMBER)),
                                2, GENERAL_DATA_SIZE) {}
  bool refuse = false;
  rec_pos insert(int chain, int mode, rec_pos pos, std::span<uint8_t> data) override {
    return refuse ? NO_POS : memory_records::insert(chain, mode, pos, data);
  }
};
} // namespace

TEST(IndentOutdent, NewGroupThatCannotBeStoredMovesNothing) {
  fatal_texts fatal;
  fixture f;
  auto records = std::make_unique<no_inserts>();
  no_inserts* m = records.get();
  f.m = std::move(records);
  add_node(*f.m, NODE_WORK_GROUP, 0, "g");
  add_node(*f.m, NODE_ELEMENT, 1, "e1");
  add_node(*f.m, NODE_ELEMENT, 1, "e2");
  add_node(*f.m, NODE_ELEMENT, 1, "e3");
  f.build();
  m->refuse = true;
  EXPECT_EQ(outdent_node(f.tree, f.node("e2"), nullptr), move_result::nothing);
  EXPECT_EQ(tree_numbers(f.tree), (strings{"g@1", "e1@2", "e2@2", "e3@2"}));
  EXPECT_EQ(chain_numbers(*f.m), (strings{"g", "e1", "e2", "e3"}));
  EXPECT_EQ(f.tree.count, 5);
  EXPECT_EQ(fatal.texts, strings{"insert_pos_record"});
}
