// Splits and merges at the stated offsets, followed on the stored blocks.
#include <cstring>

#include "store/key_index_fixture.h"
#include "store/key_index_header.h"

using namespace kovra::store;
using kovra::test::KeyIndexTest;
namespace kb = kovra::store::key_block;

namespace {

// 6-byte raw keys: entry size 10, fifty entries to a block.
key_entry six(int n, int32_t value) {
  key_entry e;
  e.key()[0] = uint8_t(n >> 8);
  e.key()[1] = uint8_t(n);
  e.set_value(value);
  return e;
}
int six_of(const uint8_t* key) { return key[0] << 8 | key[1]; }

} // namespace

class KeySplitMerge : public KeyIndexTest {
protected:
  const uint8_t* block(int32_t pos) { return io.image().data() + pos; }
  index_header header() {
    EXPECT_EQ(write_key_index(object, 0), KEY_OK);
    return decode_index_header(io.image().data());
  }
  // Keys of a stored block in order.
  std::vector<int> keys_of(int32_t pos) {
    std::vector<int> out;
    const uint8_t* b = block(pos);
    for (int off = 0; off < kb::used(b); off += 10) out.push_back(six_of(kb::entry_key(kb::entry(b, off))));
    return out;
  }
  // Root of a two-level index: its entries' child positions.
  std::vector<int32_t> children() {
    const index_header h = header();
    std::vector<int32_t> out;
    const uint8_t* r = block(h.indexes[0].root);
    for (int off = 0; off < kb::used(r); off += 10) out.push_back(kb::entry_value(kb::entry(r, off)));
    return out;
  }
  int ix = -1;
  void fill_one_block() {
    ix = open_one(KEY_BYTES, 1, 6);
    for (int n = 1; n <= 49; ++n) ASSERT_EQ(key_insert_unique(ix, six(10 * n, n)), KEY_OK);
    ASSERT_EQ(header().indexes[0].levels, 1);  // 49 keys and the end marker: 500 bytes, one block
  }
};

TEST_F(KeySplitMerge, TheFiftyFirstEntrySplitsAtOffset250AndTheTreeGrows) {
  fill_one_block();
  const int32_t old_root = header().indexes[0].root;
  ASSERT_EQ(key_insert_unique(ix, six(495, 50)), KEY_OK);
  const index_header h = header();
  EXPECT_EQ(h.indexes[0].levels, 2);
  EXPECT_NE(h.indexes[0].root, old_root);
  const std::vector<int32_t> kids = children();
  ASSERT_EQ(kids.size(), 2u);
  // The new block keeps the first 26 entries, up to the separator; the old one the other 25.
  const std::vector<int> left = keys_of(kids[0]);
  const std::vector<int> right = keys_of(kids[1]);
  ASSERT_EQ(left.size(), 26u);
  ASSERT_EQ(right.size(), 25u);
  EXPECT_EQ(kids[1], old_root);
  EXPECT_EQ(left.back(), 260);
  EXPECT_EQ(right.front(), 270);
  EXPECT_EQ(right[23], 495);
  EXPECT_EQ(right.back(), 0xFFFF);  // end marker
  // The separator is the 26th entry's key, pointing at the new block.
  const uint8_t* r = block(h.indexes[0].root);
  EXPECT_EQ(six_of(kb::entry_key(kb::entry(r, 0))), 260);
  EXPECT_EQ(kb::level(block(kids[0])), 0);
  EXPECT_EQ(kb::level(r), 1);
  EXPECT_TRUE(check().ok());
  EXPECT_EQ(key_count(ix), 50);
}

TEST_F(KeySplitMerge, TheCursorFollowsTheInsertedEntryIntoEitherHalf) {
  fill_one_block();
  // Into the front half: the cursor then stands on the entry after the new one.
  ASSERT_EQ(key_insert_unique(ix, six(15, 100)), KEY_OK);
  key_entry e;
  ASSERT_EQ(key_current(e), KEY_OK);
  EXPECT_EQ(six_of(e.key()), 20);
  ASSERT_EQ(key_prev(e), KEY_OK);
  EXPECT_EQ(six_of(e.key()), 15);
  ASSERT_EQ(release_key_index(object), KEY_OK);
  io = memory_key_block_io();
  fill_one_block();  // a fresh file: again 49 keys in one block
  ASSERT_EQ(key_insert_unique(ix, six(485, 101)), KEY_OK);
  ASSERT_EQ(key_current(e), KEY_OK);
  EXPECT_EQ(six_of(e.key()), 490);
  ASSERT_EQ(key_prev(e), KEY_OK);
  EXPECT_EQ(six_of(e.key()), 485);
}

TEST_F(KeySplitMerge, ADeletedBlockBelowHalfMergesWithItsLeftSiblingWhenBothFit) {
  fill_one_block();
  ASSERT_EQ(key_insert_unique(ix, six(495, 50)), KEY_OK);  // left 260 bytes, right 250
  const std::vector<int32_t> kids = children();
  ASSERT_EQ(key_delete(ix, six(270, 0)), KEY_OK);  // right falls to 240: 260 + 240 fit in 500
  const index_header h = header();
  EXPECT_EQ(h.indexes[0].levels, 2);  // the tree never shrinks
  const std::vector<int32_t> after = children();
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0], kids[1]);
  EXPECT_EQ(keys_of(after[0]).size(), 50u);
  EXPECT_EQ(h.free_blocks, kids[0]);  // the left block went to the index's own list
  EXPECT_EQ(kb::used(block(kids[0])), 0);
  EXPECT_EQ(kb::next_free(block(kids[0])), -1);
  EXPECT_TRUE(check().ok());
  key_entry e;
  ASSERT_EQ(key_current(e), KEY_OK);  // on the entry after the deleted one
  EXPECT_EQ(six_of(e.key()), 280);
}

TEST_F(KeySplitMerge, NoMergeWhenTheSiblingsTogetherExceed500Bytes) {
  fill_one_block();
  ASSERT_EQ(key_insert_unique(ix, six(495, 50)), KEY_OK);
  for (int n = 1; n <= 5; ++n) ASSERT_EQ(key_insert_unique(ix, six(n, 0)), KEY_OK);  // left: 310 bytes
  ASSERT_EQ(key_delete(ix, six(270, 0)), KEY_OK);  // right: 240; 550 do not fit
  const std::vector<int32_t> kids = children();
  ASSERT_EQ(kids.size(), 2u);
  EXPECT_EQ(keys_of(kids[0]).size(), 31u);
  EXPECT_EQ(keys_of(kids[1]).size(), 24u);
  EXPECT_EQ(header().free_blocks, -1);
  EXPECT_TRUE(check().ok());
}

TEST_F(KeySplitMerge, ALeftmostBlockMergesIntoItsRightSibling) {
  fill_one_block();
  ASSERT_EQ(key_insert_unique(ix, six(495, 50)), KEY_OK);
  const std::vector<int32_t> kids = children();
  ASSERT_EQ(key_delete(ix, six(10, 0)), KEY_OK);  // 250: still at the threshold
  EXPECT_EQ(children().size(), 2u);
  ASSERT_EQ(key_delete(ix, six(20, 0)), KEY_OK);  // 240 + 250 fit
  const std::vector<int32_t> after = children();
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0], kids[1]);
  const std::vector<int> keys = keys_of(after[0]);
  ASSERT_EQ(keys.size(), 49u);
  EXPECT_EQ(keys.front(), 30);
  EXPECT_EQ(header().free_blocks, kids[0]);
  key_entry e;
  ASSERT_EQ(key_current(e), KEY_OK);
  EXPECT_EQ(six_of(e.key()), 30);
  EXPECT_TRUE(check().ok());
}

TEST_F(KeySplitMerge, DeletingABlocksLastKeyUpdatesTheParentAndFreedBlocksAreReused) {
  fill_one_block();
  ASSERT_EQ(key_insert_unique(ix, six(495, 50)), KEY_OK);
  for (int n = 1; n <= 5; ++n) ASSERT_EQ(key_insert_unique(ix, six(n, 0)), KEY_OK);
  ASSERT_EQ(key_delete(ix, six(260, 0)), KEY_OK);  // the separator's own key
  const index_header h = header();
  const uint8_t* r = block(h.indexes[0].root);
  EXPECT_EQ(six_of(kb::entry_key(kb::entry(r, 0))), 250);
  EXPECT_TRUE(check().ok());

  // Empty the index again: blocks go to the free list and the next splits take them back.
  for (auto [k, v] : walk_ints(ix)) (void)k, (void)v;
  key_entry e;
  while (key_first(ix, e) == KEY_OK) ASSERT_EQ(key_delete(ix, e), KEY_OK);
  EXPECT_EQ(key_count(ix), 0);
  const key_index_check emptied = check();
  EXPECT_TRUE(emptied.ok());
  EXPECT_GE(emptied.free_key_blocks, 1);
  const size_t size_before = io.image().size();
  for (int n = 1; n <= 60; ++n) ASSERT_EQ(key_insert_unique(ix, six(n, n)), KEY_OK);
  EXPECT_EQ(io.image().size(), size_before);  // no new blocks appended
  EXPECT_TRUE(check().ok());
}

TEST_F(KeySplitMerge, TheContainerRefusingBlocksLeavesTheIndexUnchanged) {
  fill_one_block();
  const std::vector<uint8_t> before_image = (write_key_index(object, 0), io.image());
  io.set_allocation_limit(1);  // a split needs two here: the new leaf and the new root
  EXPECT_EQ(key_insert_unique(ix, six(495, 50)), KEY_NO_GROWTH);
  EXPECT_EQ(key_count(ix), 49);
  EXPECT_EQ(key_levels(ix), 1);
  const key_index_check c = check();
  EXPECT_TRUE(c.ok());
  EXPECT_EQ(c.free_key_blocks, 1);  // the one block it got waits on the free list
  EXPECT_EQ(walk_ints(ix).size(), 49u);
  io.set_allocation_limit(1);  // with the free list that is enough now
  EXPECT_EQ(key_insert_unique(ix, six(495, 50)), KEY_OK);
  EXPECT_EQ(key_levels(ix), 2);
  EXPECT_TRUE(check().ok());
  EXPECT_EQ(check().free_key_blocks, 0);
}
