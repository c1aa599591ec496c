#include "store/container_key_io.h"

#include "store/check_block.h"
#include "store/container.h"
#include "store/log.h"
#include "store/open_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "store/temp_folder_support.h"

using namespace kovra::store;

TEST(ContainerKeyIoTest, KeyBlocksAreAppendedAndGuarded) {
  reset_containers();
  kovra::test::temp_folder dir;
  set_program_folder(dir.folder());
  const int h = create_container(dir.folder() + "k.kvr", STORAGE_IMAGE, header_template(), 2, 800);
  ASSERT_GE(h, 0);
  ASSERT_GE(expand_file(h, 226), 0);
  int32_t heads[5] = {-1, -1, -1, -1, -1};
  container_key_block_io io(h, free_lists{h, heads});

  const int32_t a = io.allocate_key_block(4);
  EXPECT_EQ(a, 519 + 17);
  block_header bh;
  ASSERT_TRUE(read_block_header(h, a - 17, bh));
  EXPECT_EQ(bh.type, REC_TYPE_BTREE_LEAF);
  EXPECT_EQ(bh.set_no, 4);
  EXPECT_EQ(bh.size, 529);
  EXPECT_EQ(bh.capacity, 512);
  EXPECT_EQ(bh.used, 512);
  EXPECT_EQ(bh.prev, -1);
  EXPECT_EQ(file_length(h), 519 + 529);

  uint8_t block[key_block_size];
  for (int i = 0; i < key_block_size; ++i) block[i] = uint8_t(i);
  EXPECT_TRUE(io.write_key_block(a, block));
  uint8_t back[key_block_size] = {};
  EXPECT_TRUE(io.read_key_block(a, back));
  EXPECT_EQ(back[511], uint8_t(511));
  // Positions that do not hold a key block are refused.
  EXPECT_FALSE(io.read_key_block(a - 17, back));
  EXPECT_FALSE(io.read_key_block(100, back));
  EXPECT_FALSE(io.write_key_block(a + 1, block));
  EXPECT_FALSE(io.read_key_block(1 << 30, back));

  uint8_t header[index_header_size];
  for (int i = 0; i < index_header_size; ++i) header[i] = uint8_t(i + 1);
  EXPECT_TRUE(io.write_index_header(451, header));
  uint8_t header_back[index_header_size] = {};
  EXPECT_TRUE(io.read_index_header(451, header_back));
  EXPECT_EQ(header_back[67], 68);
  EXPECT_FALSE(io.read_index_header(10, header_back));

  const int32_t b = io.allocate_key_block(4);
  EXPECT_EQ(b, a + 529);
  io.free_key_block(a);
  ASSERT_TRUE(read_block_header(h, a - 17, bh));
  EXPECT_EQ(bh.type, REC_TYPE_FREE);
  EXPECT_EQ(heads[3], a - 17);
  EXPECT_FALSE(io.read_key_block(a, back));

  io.report_corruption(b, "bad level");
  EXPECT_TRUE(std::filesystem::exists(dir.folder() + "opis_bledu_multi_zbioru.err"));
  reset_containers();
  reset_open_files();
  reset_log_state();
}
