#include "store/key_block_io.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace kovra::store;

TEST(MemoryKeyBlockIo, AllocatedBlocksReadBackWhatWasWrittenAndCarryAKeyBlockHeader) {
  memory_key_block_io io;
  const int32_t a = io.allocate_key_block(7);
  const int32_t b = io.allocate_key_block(7);
  ASSERT_EQ(a, index_header_size + 17);
  ASSERT_EQ(b, a + 529);
  const uint8_t* h = io.image().data() + a - 17;
  EXPECT_EQ(h[0], 101);
  EXPECT_EQ(h[1] | (h[2] << 8), 7);
  EXPECT_EQ(h[3] | (h[4] << 8), 529);
  EXPECT_EQ(h[5] | (h[6] << 8), 512);

  uint8_t data[key_block_size];
  for (int i = 0; i < key_block_size; ++i) data[i] = uint8_t(i);
  ASSERT_TRUE(io.write_key_block(b, data));
  uint8_t back[key_block_size] = {};
  ASSERT_TRUE(io.read_key_block(b, back));
  EXPECT_EQ(std::memcmp(data, back, key_block_size), 0);
  ASSERT_TRUE(io.read_key_block(a, back));
  EXPECT_EQ(back[5], 0);
}

TEST(MemoryKeyBlockIo, PositionsThatHoldNoKeyBlockAreRefused) {
  memory_key_block_io io;
  const int32_t a = io.allocate_key_block(0);
  uint8_t data[key_block_size];
  EXPECT_FALSE(io.read_key_block(-1, data));
  EXPECT_FALSE(io.read_key_block(a + 1, data));
  EXPECT_FALSE(io.read_key_block(a + 529, data));
  EXPECT_FALSE(io.read_key_block(INT32_MAX, data));
  io.free_key_block(a);
  EXPECT_FALSE(io.read_key_block(a, data));
  EXPECT_FALSE(io.write_key_block(a, data));
}

TEST(MemoryKeyBlockIo, InjectedFaults) {
  memory_key_block_io io;
  io.set_allocation_limit(1);
  EXPECT_NE(io.allocate_key_block(0), -1);
  EXPECT_EQ(io.allocate_key_block(0), -1);
  io.set_allocation_limit(-1);
  const int32_t b = io.allocate_key_block(0);
  ASSERT_NE(b, -1);
  io.set_writes_fail(true);
  uint8_t data[key_block_size] = {};
  EXPECT_FALSE(io.write_key_block(b, data));
  uint8_t header[index_header_size] = {};
  EXPECT_FALSE(io.write_index_header(0, header));
  io.set_max_image_size(io.image().size());
  EXPECT_EQ(io.allocate_key_block(0), -1);
}
