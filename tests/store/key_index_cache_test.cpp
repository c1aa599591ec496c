// The shared 20-block cache: eviction between indexes, cursors that outlive their blocks,
// write-back at release.
#include "store/key_index_fixture.h"

using namespace kovra::store;
using kovra::test::int_entry;
using kovra::test::key_i32;
using kovra::test::KeyIndexTest;

namespace {

key_entry long_entry(int32_t key, int32_t value) {
  key_entry e = int_entry(key, value);
  for (int i = 4; i < 32; ++i) e.key()[i] = 'x';
  return e;
}

} // namespace

class KeyCache : public KeyIndexTest {
protected:
  // Two indexes in one header, each far larger than the cache (13 entries per block).
  void SetUp() override {
    KeyIndexTest::SetUp();
    key_descriptor d[2] = {{KEY_INT32, 1, 32, &a}, {KEY_INT32, 1, 32, &b}};
    ASSERT_EQ(create_key_index(io, 0, d, 2, 0), KEY_OK);
    bool error = false;
    object = open_key_index(io, 0, 0, error, 0, d, 2);
    ASSERT_NE(object, nullptr);
    for (int32_t k = 0; k < 600; ++k) {
      ASSERT_EQ(key_insert_unique(a, long_entry(k, k)), KEY_OK);
      ASSERT_EQ(key_insert_unique(b, long_entry(k, 1000 + k)), KEY_OK);
    }
  }
  int16_t a = -1, b = -1;
};

TEST_F(KeyCache, AWalkGoesOnAfterAnotherIndexEvictedAllItsBlocks) {
  key_entry e = long_entry(100, 0);
  ASSERT_EQ(key_find(a, e), KEY_OK);
  // Touch every block of b: all of a's cached blocks are pushed out.
  std::vector<int32_t> seen_b;
  key_entry f;
  for (int r = key_first(b, f); r == KEY_OK; r = key_next(f)) seen_b.push_back(key_i32(f));
  ASSERT_EQ(seen_b.size(), 600u);
  // Selecting a again continues its walk where it stood.
  ASSERT_EQ(key_find(a, e), KEY_OK);  // reselect a
  for (int32_t k = 101; k < 600; ++k) {
    ASSERT_EQ(key_next(e), KEY_OK);
    ASSERT_EQ(key_i32(e), k);
  }
  EXPECT_EQ(key_next(e), KEY_END);
}

TEST_F(KeyCache, InterleavedWalksOfTwoIndexesKeepTheirOwnCursors) {
  key_entry ea, eb;
  ASSERT_EQ(key_first(a, ea), KEY_OK);
  ASSERT_EQ(key_last(b, eb), KEY_OK);
  for (int32_t i = 1; i < 600; ++i) {
    // Selecting by a call that takes the number, then stepping the selected index.
    ASSERT_EQ(key_current(ea), KEY_OK);  // still b selected: reads b's cursor
    ASSERT_EQ(ea.value(), 1000 + 600 - i);
    key_entry probe = long_entry(i - 1, 0);
    ASSERT_EQ(key_find(a, probe), KEY_OK);
    ASSERT_EQ(key_next(ea), KEY_OK);
    ASSERT_EQ(key_i32(ea), i);
    key_entry back = long_entry(600 - i, 0);
    ASSERT_EQ(key_find(b, back), KEY_OK);
    ASSERT_EQ(key_prev(eb), KEY_OK);
    ASSERT_EQ(key_i32(eb), 599 - i);
  }
}

TEST_F(KeyCache, ModifiedBlocksEvictedOrStillCachedAllReachTheFileAtRelease) {
  // Changes to both indexes, far more blocks than the cache holds.
  for (int32_t k = 0; k < 600; k += 3) {
    ASSERT_EQ(key_delete(a, long_entry(k, 0)), KEY_OK);
    ASSERT_EQ(key_insert_unique(b, long_entry(1000 + k, k)), KEY_OK);
  }
  ASSERT_EQ(release_key_index(object), KEY_OK);
  const key_index_check c = verify_key_index(io, 0);
  EXPECT_TRUE(c.ok()) << (c.problems.empty() ? "" : c.problems.front());
  ASSERT_EQ(c.indexes.size(), 2u);
  EXPECT_EQ(c.indexes[0].count, 400);
  EXPECT_EQ(c.indexes[1].count, 800);

  // A cold open sees exactly that.
  key_descriptor d[2] = {{0, 0, 0, &a}, {0, 0, 0, &b}};
  bool error = false;
  object = open_key_index(io, 0, 0, error, 0, d, 2);
  ASSERT_NE(object, nullptr);
  key_entry e = long_entry(3, 0);
  EXPECT_EQ(key_find(a, e), KEY_NOT_FOUND);
  e = long_entry(4, 0);
  EXPECT_EQ(key_find(a, e), KEY_OK);
  e = long_entry(1597, 0);
  ASSERT_EQ(key_find(b, e), KEY_OK);
  EXPECT_EQ(e.value(), 597);
}

TEST_F(KeyCache, WriteKeepsBlocksCachedAndMakesTheFileWhole) {
  ASSERT_EQ(write_key_index(object, 0), KEY_OK);
  EXPECT_TRUE(verify_key_index(io, 0).ok());
  const int reads = io.reads();
  key_entry e = long_entry(599, 0);
  ASSERT_EQ(key_find(b, e), KEY_OK);  // the path of the last insert is still cached
  EXPECT_EQ(io.reads(), reads);
}
