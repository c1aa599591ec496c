// Long random runs of inserts and deletes checked against std::map / std::multimap.
#include <map>
#include <random>

#include "store/key_index_fixture.h"

using namespace kovra::store;
using kovra::test::int_entry;
using kovra::test::KeyIndexTest;

namespace {

// Keys of the long (32-byte) index: the number in the first four bytes, the rest fixed,
// so that blocks hold only 13 entries and the tree gets deep.
key_entry long_entry(int32_t key, int32_t value) {
  key_entry e = int_entry(key, value);
  for (int i = 4; i < 32; ++i) e.key()[i] = uint8_t(i);
  return e;
}

} // namespace

class KeyRandom : public KeyIndexTest {
protected:
  void expect_same(int ix, const std::multimap<int32_t, int32_t>& model) {
    const auto walked = walk_ints(ix);
    ASSERT_EQ(walked.size(), model.size());
    size_t i = 0;
    for (const auto& [k, v] : model) {
      ASSERT_EQ(walked[i].first, k) << i;
      ASSERT_EQ(walked[i].second, v) << i;
      ++i;
    }
    EXPECT_EQ(key_count(ix), int32_t(model.size()));
    const key_index_check c = check();
    EXPECT_TRUE(c.ok()) << (c.problems.empty() ? "" : c.problems.front());
  }
};

TEST_F(KeyRandom, UniqueKeysAgainstAMap) {
  for (int key_length : {4, 32}) {
    reset_key_index_state();
    io = memory_key_block_io();
    const int ix = open_one(KEY_INT32, 1, key_length);
    std::mt19937 rng(1234 + key_length);
    std::map<int32_t, int32_t> model;
    std::multimap<int32_t, int32_t> as_multi;
    for (int step = 0; step < 20000; ++step) {
      const int32_t k = int32_t(rng() % 3000) - 1500;
      const key_entry e = key_length == 4 ? int_entry(k, step) : long_entry(k, step);
      if (rng() % 100 < 60) {
        const int r = key_insert_unique(ix, e);
        ASSERT_EQ(r, model.count(k) ? KEY_EXISTS : KEY_OK) << step;
        model.emplace(k, step);
      } else {
        const int r = key_delete(ix, e);
        ASSERT_EQ(r, model.count(k) ? KEY_OK : KEY_NOT_FOUND) << step;
        model.erase(k);
      }
      if (step % 5000 == 4999) {
        as_multi = std::multimap<int32_t, int32_t>(model.begin(), model.end());
        expect_same(ix, as_multi);
        // Found keys come back with their values; missing ones leave the cursor on the next greater.
        for (int probe = -1500; probe < 1500; probe += 97) {
          key_entry f = key_length == 4 ? int_entry(probe, 0) : long_entry(probe, 0);
          const int r = key_find(ix, f);
          auto it = model.lower_bound(probe);
          if (it != model.end() && it->first == probe) {
            ASSERT_EQ(r, KEY_OK);
            EXPECT_EQ(f.value(), it->second);
          } else {
            ASSERT_EQ(r, KEY_NOT_FOUND);
            key_entry cur;
            if (it == model.end()) {
              EXPECT_EQ(key_current(cur), KEY_END);
            } else {
              ASSERT_EQ(key_current(cur), KEY_OK);
              EXPECT_EQ(kovra::test::key_i32(cur), it->first);
            }
          }
        }
      }
    }
    EXPECT_GE(key_levels(ix), key_length == 32 ? 3 : 2);
    // Everything survives writing back and a cold cache.
    ASSERT_EQ(cycle(), ix);
    expect_same(ix, std::multimap<int32_t, int32_t>(model.begin(), model.end()));
    // Walking backwards gives the same keys in reverse.
    key_entry e;
    auto it = model.rbegin();
    for (int r = key_last(ix, e); r == KEY_OK; r = key_prev(e), ++it) {
      ASSERT_NE(it, model.rend());
      EXPECT_EQ(kovra::test::key_i32(e), it->first);
    }
    EXPECT_EQ(it, model.rend());
    EXPECT_EQ(release_key_index(object), KEY_OK);
  }
}

TEST_F(KeyRandom, RepeatedKeysAgainstAMultimap) {
  const int ix = open_one(KEY_INT32, 2, 4);
  std::mt19937 rng(99);
  std::multimap<int32_t, int32_t> model;
  int32_t next_value = 1;
  for (int step = 0; step < 30000; ++step) {
    const int32_t k = int32_t(rng() % 200);  // many equal keys, spanning blocks
    const unsigned what = rng() % 100;
    if (what < 30) {  // after all equal keys, as multimap::insert does
      ASSERT_EQ(key_insert(ix, int_entry(k, next_value), LAST_REC, 0), KEY_OK) << step;
      model.emplace(k, next_value++);
    } else if (what < 45) {  // before all equal keys
      ASSERT_EQ(key_insert(ix, int_entry(k, next_value), FIRST_REC, 0), KEY_OK) << step;
      model.emplace_hint(model.lower_bound(k), k, next_value++);
    } else if (what < 60 && model.count(k)) {  // right after a chosen one
      auto range = model.equal_range(k);
      auto pick = std::next(range.first, long(rng() % model.count(k)));
      ASSERT_EQ(key_insert(ix, int_entry(k, next_value), NEXT_REC, pick->second), KEY_OK) << step;
      model.emplace_hint(std::next(pick), k, next_value++);
    } else if (what < 70 && model.count(k)) {  // right before a chosen one
      auto range = model.equal_range(k);
      auto pick = std::next(range.first, long(rng() % model.count(k)));
      ASSERT_EQ(key_insert(ix, int_entry(k, next_value), PREV_REC, pick->second), KEY_OK) << step;
      model.emplace_hint(pick, k, next_value++);
    } else if (model.count(k)) {  // delete a chosen one
      auto range = model.equal_range(k);
      auto pick = std::next(range.first, long(rng() % model.count(k)));
      ASSERT_EQ(key_delete_at(ix, int_entry(k, 0), THIS_REC, pick->second), KEY_OK) << step;
      model.erase(pick);
    } else {
      ASSERT_EQ(key_delete_at(ix, int_entry(k, 0), THIS_REC, 1), KEY_NOT_FOUND) << step;
    }
    if (step % 10000 == 9999) expect_same(ix, model);
  }
  // Drain it completely: every block but the end-marker path goes back to the free list.
  while (!model.empty()) {
    const auto it = model.begin();
    ASSERT_EQ(key_delete_at(ix, int_entry(it->first, 0), FIRST_REC, 0), KEY_OK);
    model.erase(it);
  }
  expect_same(ix, model);
  const key_index_check c = check();
  EXPECT_EQ(c.key_blocks, key_levels(ix));
}
