// Keys with repeated values: the five modes of insert and delete.
#include "store/key_index_fixture.h"

using namespace kovra::store;
using kovra::test::int_entry;
using kovra::test::KeyIndexTest;

class KeyRepeated : public KeyIndexTest {
protected:
  void SetUp() override {
    KeyIndexTest::SetUp();
    ix = open_one(KEY_INT32, 1, 4);
  }
  // Values of the entries with key k, in order.
  std::vector<int32_t> values(int32_t k) {
    std::vector<int32_t> out;
    for (auto [key, value] : walk_ints(ix))
      if (key == k) out.push_back(value);
    return out;
  }
  int ix = -1;
};

TEST_F(KeyRepeated, EachInsertModePlacesTheNewEntry) {
  const int32_t K = 7;
  ASSERT_EQ(key_insert(ix, int_entry(K, 1), FIRST_REC, 0), KEY_OK);
  ASSERT_EQ(key_insert(ix, int_entry(K, 2), LAST_REC, 0), KEY_OK);
  ASSERT_EQ(key_insert(ix, int_entry(K, 3), FIRST_REC, 0), KEY_OK);
  EXPECT_EQ(values(K), (std::vector<int32_t>{3, 1, 2}));
  ASSERT_EQ(key_insert(ix, int_entry(K, 4), NEXT_REC, 1), KEY_OK);
  EXPECT_EQ(values(K), (std::vector<int32_t>{3, 1, 4, 2}));
  ASSERT_EQ(key_insert(ix, int_entry(K, 5), PREV_REC, 1), KEY_OK);
  EXPECT_EQ(values(K), (std::vector<int32_t>{3, 5, 1, 4, 2}));
  ASSERT_EQ(key_insert(ix, int_entry(K, 6), THIS_REC, 4), KEY_OK);
  EXPECT_EQ(values(K), (std::vector<int32_t>{3, 5, 1, 6, 2}));
  EXPECT_EQ(key_count(ix), 5);  // replacing does not count
  ASSERT_EQ(key_insert(ix, int_entry(K, 8), NEXT_REC, 2), KEY_OK);  // after the last one
  ASSERT_EQ(key_insert(ix, int_entry(K, 9), PREV_REC, 3), KEY_OK);  // before the very first entry
  EXPECT_EQ(values(K), (std::vector<int32_t>{9, 3, 5, 1, 6, 2, 8}));
  EXPECT_TRUE(check().ok());
}

TEST_F(KeyRepeated, TheSameKeyAndValueTwiceIsRefusedInEveryMode) {
  ASSERT_EQ(key_insert(ix, int_entry(7, 1), FIRST_REC, 0), KEY_OK);
  ASSERT_EQ(key_insert(ix, int_entry(7, 2), LAST_REC, 0), KEY_OK);
  for (int mode : {FIRST_REC, PREV_REC, THIS_REC, NEXT_REC, LAST_REC})
    EXPECT_EQ(key_insert(ix, int_entry(7, 1), mode, 2), KEY_EXISTS) << mode;
  // The same value under another key is fine.
  EXPECT_EQ(key_insert(ix, int_entry(8, 1), LAST_REC, 0), KEY_OK);
  EXPECT_EQ(key_count(ix), 3);
}

TEST_F(KeyRepeated, AValueNotAmongTheEqualKeysGivesTwo) {
  ASSERT_EQ(key_insert(ix, int_entry(7, 1), FIRST_REC, 0), KEY_OK);
  ASSERT_EQ(key_insert(ix, int_entry(8, 5), FIRST_REC, 0), KEY_OK);
  for (int mode : {PREV_REC, THIS_REC, NEXT_REC}) {
    EXPECT_EQ(key_insert(ix, int_entry(7, 9), mode, 5), KEY_NOT_FOUND) << mode;  // 5 is under key 8
    EXPECT_EQ(key_insert(ix, int_entry(6, 9), mode, 1), KEY_NOT_FOUND) << mode;  // no key 6 at all
    EXPECT_EQ(key_delete_at(ix, int_entry(7, 0), mode, 5), KEY_NOT_FOUND) << mode;
  }
  EXPECT_EQ(key_delete_at(ix, int_entry(6, 0), FIRST_REC, 0), KEY_NOT_FOUND);
  // FIRST_REC and LAST_REC insert a key that is not there yet at its place.
  EXPECT_EQ(key_insert(ix, int_entry(6, 2), LAST_REC, 0), KEY_OK);
  EXPECT_EQ(key_insert(ix, int_entry(9, 3), FIRST_REC, 0), KEY_OK);
  EXPECT_EQ(walk_ints(ix), (std::vector<std::pair<int32_t, int32_t>>{{6, 2}, {7, 1}, {8, 5}, {9, 3}}));
}

TEST_F(KeyRepeated, EachDeleteModeRemovesItsEntry) {
  ASSERT_EQ(key_insert(ix, int_entry(5, 50), LAST_REC, 0), KEY_OK);
  for (int32_t v : {1, 2, 3, 4, 5, 6}) ASSERT_EQ(key_insert(ix, int_entry(7, v), LAST_REC, 0), KEY_OK);
  ASSERT_EQ(key_insert(ix, int_entry(9, 90), LAST_REC, 0), KEY_OK);
  ASSERT_EQ(key_delete_at(ix, int_entry(7, 0), FIRST_REC, 0), KEY_OK);
  EXPECT_EQ(values(7), (std::vector<int32_t>{2, 3, 4, 5, 6}));
  ASSERT_EQ(key_delete_at(ix, int_entry(7, 0), LAST_REC, 0), KEY_OK);
  EXPECT_EQ(values(7), (std::vector<int32_t>{2, 3, 4, 5}));
  ASSERT_EQ(key_delete_at(ix, int_entry(7, 0), THIS_REC, 4), KEY_OK);
  EXPECT_EQ(values(7), (std::vector<int32_t>{2, 3, 5}));
  ASSERT_EQ(key_delete_at(ix, int_entry(7, 0), NEXT_REC, 2), KEY_OK);
  EXPECT_EQ(values(7), (std::vector<int32_t>{2, 5}));
  ASSERT_EQ(key_delete_at(ix, int_entry(7, 0), PREV_REC, 5), KEY_OK);
  EXPECT_EQ(values(7), (std::vector<int32_t>{5}));
  // Previous and next go by position, whatever the neighbour's key.
  ASSERT_EQ(key_delete_at(ix, int_entry(7, 0), NEXT_REC, 5), KEY_OK);
  ASSERT_EQ(key_delete_at(ix, int_entry(7, 0), PREV_REC, 5), KEY_OK);
  EXPECT_EQ(walk_ints(ix), (std::vector<std::pair<int32_t, int32_t>>{{7, 5}}));
  // Nothing before the first entry, and the end marker is never deleted.
  EXPECT_EQ(key_delete_at(ix, int_entry(7, 0), PREV_REC, 5), KEY_NOT_FOUND);
  EXPECT_EQ(key_delete_at(ix, int_entry(7, 0), NEXT_REC, 5), KEY_NOT_FOUND);
  EXPECT_EQ(key_count(ix), 1);
  EXPECT_TRUE(check().ok());
}

TEST_F(KeyRepeated, EqualKeysAcrossManyBlocksKeepTheirOrder) {
  // 400 equal keys span eight leaves; values pick the neighbour across block borders.
  for (int32_t v = 0; v < 400; v += 2) ASSERT_EQ(key_insert(ix, int_entry(7, v), LAST_REC, 0), KEY_OK);
  for (int32_t v = 0; v < 400; v += 2) ASSERT_EQ(key_insert(ix, int_entry(7, v + 1), NEXT_REC, v), KEY_OK);
  const std::vector<int32_t> got = values(7);
  ASSERT_EQ(got.size(), 400u);
  for (int32_t v = 0; v < 400; ++v) EXPECT_EQ(got[size_t(v)], v);
  EXPECT_GE(key_levels(ix), 2);
  key_entry e = int_entry(7, 0);
  ASSERT_EQ(key_find(ix, e), KEY_OK);
  EXPECT_EQ(e.value(), 0);  // the first of the equal keys
  EXPECT_TRUE(check().ok());
}

TEST_F(KeyRepeated, StepsStopAtBothEndsWithoutReturningTheEndMarker) {
  for (int32_t k : {1, 2, 3}) ASSERT_EQ(key_insert_unique(ix, int_entry(k, k * 10)), KEY_OK);
  key_entry e;
  ASSERT_EQ(key_first(ix, e), KEY_OK);
  EXPECT_EQ(key_prev(e), KEY_END);  // at the first entry
  ASSERT_EQ(key_current(e), KEY_OK);
  EXPECT_EQ(e.value(), 10);  // the cursor stayed on it
  ASSERT_EQ(key_next(e), KEY_OK);
  ASSERT_EQ(key_next(e), KEY_OK);
  EXPECT_EQ(e.value(), 30);
  EXPECT_EQ(key_next(e), KEY_END);
  EXPECT_EQ(key_next(e), KEY_END);
  EXPECT_EQ(key_current(e), KEY_END);
  ASSERT_EQ(key_prev(e), KEY_OK);
  EXPECT_EQ(e.value(), 30);
  ASSERT_EQ(key_last(ix, e), KEY_OK);
  EXPECT_EQ(e.value(), 30);
}
