// Damaged key blocks: the fatal path with an error back, nothing half-written.
#include <cstring>

#include "store/key_index_fixture.h"
#include "store/key_index_header.h"

using namespace kovra::store;
using kovra::test::int_entry;
using kovra::test::KeyIndexTest;
namespace kb = kovra::store::key_block;

class KeyCorruption : public KeyIndexTest {
protected:
  // A two-level index of 500 keys, written out, reopened with a cold cache.
  void build() {
    ix = open_one(KEY_INT32, 1, 4);
    for (int32_t k = 0; k < 500; ++k) ASSERT_EQ(key_insert_unique(ix, int_entry(k * 2, k)), KEY_OK);
    ASSERT_GE(key_levels(ix), 2);
    ix = cycle();
    header = decode_index_header(io.image().data());
  }
  uint8_t* block(int32_t pos) { return io.image().data() + pos; }
  int32_t first_leaf() { return kb::entry_value(kb::entry(block(header.indexes[0].root), 0)); }
  int ix = -1;
  index_header header;
};

TEST_F(KeyCorruption, ABlockOfTheWrongLevelTakesTheFatalPathAndLogsTheCache) {
  build();
  kb::set_level(block(first_leaf()), 3);
  key_entry e = int_entry(4, 0);
  EXPECT_EQ(key_find(ix, e), KEY_ERROR);
  ASSERT_EQ(handler.texts.size(), 1u);
  EXPECT_EQ(handler.texts[0], "btree: bad key block");
  ASSERT_EQ(io.corruption_reports().size(), 1u);
  EXPECT_EQ(io.corruption_reports()[0], std::to_string(first_leaf()) + ": btree: bad key block");
  kovra::store::flush_log();
  const std::string log = log_text();
  EXPECT_NE(log.find("btree: bad key block.\n"), std::string::npos);
  EXPECT_NE(log.find("\nCACHE\n"), std::string::npos);
  EXPECT_NE(log.find("\nKEY_DSC\n"), std::string::npos);
  EXPECT_NE(log.find("i= 0  lvl=0  curr_block="), std::string::npos);
}

TEST_F(KeyCorruption, UsedBytesOutOfRangeOrNotWholeEntriesAreDamage) {
  build();
  const std::vector<uint8_t> good = io.image();
  for (int used : {0, 7, 504, 30000, -8}) {
    reset_key_index_state();
    io.image() = good;
    kb::set_used(block(first_leaf()), used);
    ix = reopen();
    key_entry e;
    EXPECT_EQ(key_first(ix, e), KEY_ERROR) << used;
  }
}

TEST_F(KeyCorruption, AChildPointerToNoKeyBlockIsDamage) {
  build();
  for (int32_t bad : {-1, 3, 1 << 30, int32_t(io.image().size())}) {
    reset_key_index_state();
    build();
    kb::set_entry_value(kb::entry(block(header.indexes[0].root), 0), bad);
    key_entry e = int_entry(0, 0);
    EXPECT_EQ(key_find(ix, e), KEY_ERROR) << bad;
  }
}

TEST_F(KeyCorruption, ASearchRunningPastABlockIsFindKeyError) {
  build();
  // The root's last entry no longer holds the maximum key: a large key finds nothing there.
  uint8_t* root = block(header.indexes[0].root);
  kb::put32(kb::entry_key(kb::entry(root, kb::used(root) - 8)), 10);
  key_entry e = int_entry(900, 0);
  EXPECT_EQ(key_find(ix, e), KEY_ERROR);
  ASSERT_FALSE(handler.texts.empty());
  EXPECT_EQ(handler.texts.back(), "btree: FIND_KEY_ERROR");
}

TEST_F(KeyCorruption, DamageFoundDuringAChangeWritesNothingMoreAndTheIndexIsRefused) {
  build();
  // The right sibling of the first leaf is damaged; deleting from the first leaf until it
  // wants to merge reaches it.
  const int32_t second = kb::entry_value(kb::entry(block(header.indexes[0].root), 8));
  kb::set_level(block(second), 5);
  const std::vector<uint8_t> before = io.image();
  int r = KEY_OK;
  for (int32_t k = 0; k < 100 && r == KEY_OK; ++k) r = key_delete(ix, int_entry(k * 2, 0));
  EXPECT_EQ(r, KEY_ERROR);
  EXPECT_EQ(io.image(), before);  // the changes made so far never reached the file
  key_entry e;
  EXPECT_EQ(key_first(ix, e), KEY_ERROR);
  EXPECT_EQ(key_insert_unique(ix, int_entry(1, 1)), KEY_ERROR);
  EXPECT_EQ(release_key_index(object), KEY_ERROR);
  EXPECT_EQ(io.image(), before);
}

TEST_F(KeyCorruption, AFreeListPointingAtALiveBlockIsDamage) {
  build();
  ASSERT_EQ(release_key_index(object), KEY_OK);
  // Put a live leaf on the free list.
  kb::put32(io.image().data() + 2, first_leaf());
  ix = reopen();
  int r = KEY_OK;
  for (int32_t k = 0; k < 200 && r == KEY_OK; ++k) r = key_insert_unique(ix, int_entry(k * 2 + 1, k));
  EXPECT_EQ(r, KEY_ERROR);
  ASSERT_FALSE(handler.texts.empty());
  EXPECT_EQ(handler.texts.back(), "btree: free list points at a live key block");
  EXPECT_FALSE(verify_key_index(io, 0).ok());
}

TEST_F(KeyCorruption, KeyTypeSixIsFatalWheneverKeysAreCompared) {
  ix = open_one(KEY_UPPER_POLISH, 2, 10);
  key_entry e;
  EXPECT_EQ(key_first(ix, e), KEY_END);  // no comparison needed
  e.set_key_text("ABC");
  EXPECT_EQ(key_find(ix, e), KEY_ERROR);
  ASSERT_EQ(handler.texts.size(), 1u);
  EXPECT_EQ(handler.texts[0], "UPPER_POLISH_KEY not implemented");
  EXPECT_EQ(key_insert_unique(ix, e), KEY_ERROR);
}

TEST_F(KeyCorruption, CallsOnIndexesThatAreNotOpenFailQuietly) {
  key_entry e;
  EXPECT_EQ(key_first(0, e), KEY_ERROR);
  EXPECT_EQ(key_next(e), KEY_ERROR);
  EXPECT_EQ(key_find(-5, e), KEY_ERROR);
  EXPECT_EQ(key_insert(3, e, FIRST_REC, 0), KEY_ERROR);
  EXPECT_TRUE(handler.texts.empty());
  ix = open_one(KEY_INT32, 1, 4);
  EXPECT_EQ(key_next(e), KEY_ERROR);  // nothing selected yet
  EXPECT_EQ(key_insert(ix, int_entry(1, 1), 7, 0), KEY_ERROR);
  EXPECT_EQ(key_current(e), KEY_END);  // selected now, but not on an entry
}
