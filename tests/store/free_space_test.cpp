#include "store/free_space.h"

#include "store/check_block.h"
#include "store/container.h"
#include "store/corruption.h"
#include "store/log.h"
#include "store/open_files.h"
#include "store/trace.h"

#include <gtest/gtest.h>

#include "store/temp_folder_support.h"

using namespace kovra::store;
using kovra::test::temp_folder;

namespace {

class recording_handler : public corruption_handler {
public:
  void corrupted(const std::string& path, bool written) override {
    calls++;
    report_path = path;
    report_written = written;
  }
  int calls = 0;
  std::string report_path;
  bool report_written = false;
};

class FreeSpaceTest : public ::testing::Test {
protected:
  void SetUp() override {
    reset_containers();
    reset_trace();
    reset_corruption_state();
    set_program_folder(dir.folder());
    set_corruption_handler(&handler);
    handle = create_container(dir.folder() + "f.kvr", STORAGE_IMAGE, header_template(), 2, 800);
    ASSERT_GE(handle, 0);
    // Space for the headers of a main set, so that blocks start where records would.
    ASSERT_GE(expand_file(handle, 226), 0);
    lists = free_lists{handle, heads};
  }
  void TearDown() override {
    set_corruption_handler(nullptr);
    reset_containers();
    reset_open_files();
    reset_log_state();
  }

  // A block of `size` bytes at the end of the file, marked as a record of type 2.
  rec_pos record_block(int32_t size) {
    const rec_pos p = get_free_block(lists, size);
    block_header h;
    h.type = REC_TYPE_ELPZ;
    h.size = uint16_t(size);
    h.capacity = h.used = uint16_t(size - 17);
    EXPECT_TRUE(write_block_header(handle, p, h));
    return p;
  }

  block_header header(rec_pos p) {
    block_header h;
    EXPECT_TRUE(read_block_header(handle, p, h));
    return h;
  }

  temp_folder dir;
  recording_handler handler;
  int handle = -1;
  int32_t heads[5] = {-1, -1, -1, -1, -1};
  free_lists lists;
};

} // namespace

TEST(FreeClassTest, SizesFallIntoTheirClasses) {
  EXPECT_EQ(free_class(65535), 0);
  EXPECT_EQ(free_class(16384), 0);
  EXPECT_EQ(free_class(16383), 1);
  EXPECT_EQ(free_class(4096), 1);
  EXPECT_EQ(free_class(4095), 2);
  EXPECT_EQ(free_class(1024), 2);
  EXPECT_EQ(free_class(1023), 3);
  EXPECT_EQ(free_class(256), 3);
  EXPECT_EQ(free_class(255), 4);
  EXPECT_EQ(free_class(64), 4);
  EXPECT_EQ(free_class(63), 5);
  EXPECT_EQ(free_class(18), 5);
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(free_class(free_class_lower(c)), c);
    EXPECT_EQ(free_class(free_class_upper(c) - 1), c);
  }
}

TEST_F(FreeSpaceTest, SameClassBlocksAreNotSearched) {
  const rec_pos a = record_block(150);
  record_block(100);  // keeps a from merging with the end
  ASSERT_TRUE(put_free_block(lists, a, 150));
  EXPECT_EQ(heads[4], a);
  const int64_t end = file_length(handle);
  // 100 + 17 is in class 4 like the 150-byte block: only larger classes are looked at.
  EXPECT_EQ(get_free_block(lists, 100), rec_pos(end));
  EXPECT_EQ(file_length(handle), end + 100);
  EXPECT_EQ(heads[4], a);
}

TEST_F(FreeSpaceTest, BlockIsCutFromTheTailOfALargerClass) {
  const rec_pos big = record_block(1000);
  record_block(100);
  ASSERT_TRUE(put_free_block(lists, big, 1000));
  ASSERT_EQ(heads[3], big);
  // Remainder 900 stays in class 3: the free block shrinks in place.
  EXPECT_EQ(get_free_block(lists, 100), big + 900);
  EXPECT_EQ(heads[3], big);
  EXPECT_EQ(header(big).size, 900);
  EXPECT_EQ(header(big).capacity, 883);
  EXPECT_EQ(header(big).used, 883);
  // A request whose size + 17 is in class 3 too is not served from it.
  const int64_t end = file_length(handle);
  EXPECT_EQ(get_free_block(lists, 600), rec_pos(end));
  // Remainder 200 falls to class 4: the block moves to that list.
  const rec_pos mid = record_block(300);
  record_block(40);
  ASSERT_TRUE(put_free_block(lists, mid, 300));
  ASSERT_EQ(heads[3], mid);
  EXPECT_EQ(header(mid).next, big);
  EXPECT_EQ(get_free_block(lists, 100), mid + 200);
  EXPECT_EQ(heads[3], big);
  EXPECT_EQ(header(big).prev, -1);
  EXPECT_EQ(heads[4], mid);
  EXPECT_EQ(header(mid).size, 200);
  EXPECT_EQ(header(mid).type, REC_TYPE_FREE);
  EXPECT_NE(trace_text().find("offset from free"), std::string::npos);
}

TEST_F(FreeSpaceTest, ListsAreDoublyLinkedNewestFirst) {
  const rec_pos a = record_block(300);
  record_block(40);
  const rec_pos b = record_block(300);
  record_block(40);
  const rec_pos c = record_block(300);
  record_block(40);
  for (rec_pos p : {a, b, c}) ASSERT_TRUE(put_free_block(lists, p, 300));
  EXPECT_EQ(heads[3], c);
  EXPECT_EQ(header(c).next, b);
  EXPECT_EQ(header(b).prev, c);
  EXPECT_EQ(header(b).next, a);
  EXPECT_EQ(header(a).next, -1);
  // The head's remainder changes class: b becomes the head, c moves to list 4.
  EXPECT_EQ(get_free_block(lists, 200), c + 100);
  EXPECT_EQ(heads[3], b);
  EXPECT_EQ(header(b).prev, -1);
  EXPECT_EQ(heads[4], c);
  EXPECT_EQ(header(c).type, REC_TYPE_FREE);
  EXPECT_EQ(header(c).size, 100);
  EXPECT_TRUE(free_heads_sound(lists));
}

TEST_F(FreeSpaceTest, FreeingMergesForwardOnlyBelow65535) {
  const rec_pos a = record_block(100);
  const rec_pos b = record_block(200);
  const rec_pos c = record_block(300);
  record_block(40);
  ASSERT_TRUE(put_free_block(lists, c, 300));
  ASSERT_TRUE(put_free_block(lists, a, 100));  // not merged backwards or across b
  EXPECT_EQ(header(a).size, 100);
  ASSERT_TRUE(put_free_block(lists, b, 200));  // merges with c, never with a before it
  EXPECT_EQ(header(b).size, 500);
  EXPECT_EQ(heads[3], b);
  EXPECT_EQ(heads[4], a);

  const rec_pos x = record_block(535);
  const rec_pos y = record_block(65000);
  record_block(40);
  ASSERT_TRUE(put_free_block(lists, y, 65000));
  ASSERT_TRUE(put_free_block(lists, x, 535));  // 535 + 65,000 = 65,535: no merge
  EXPECT_EQ(header(x).size, 535);
  EXPECT_EQ(header(y).size, 65000);
}

TEST_F(FreeSpaceTest, SmallFreedBlockSitsOnNoList) {
  const rec_pos a = record_block(40);
  const rec_pos b = record_block(300);
  record_block(40);
  ASSERT_TRUE(put_free_block(lists, a, 40));
  EXPECT_EQ(header(a).type, REC_TYPE_FREE);
  EXPECT_EQ(header(a).next, -1);
  for (int c = 0; c < 5; ++c) EXPECT_EQ(heads[c], -1);
  // Freeing the block after it does not reach back; freeing one in front merges into it.
  ASSERT_TRUE(put_free_block(lists, b, 300));
  EXPECT_EQ(header(a).size, 40);
  EXPECT_EQ(header(b).size, 300);
}

TEST_F(FreeSpaceTest, DamagedListHeadTakesTheCorruptionPath) {
  const rec_pos a = record_block(300);
  record_block(40);
  ASSERT_TRUE(put_free_block(lists, a, 300));
  block_header h = header(a);
  h.prev = 12345;  // a head must have no previous block
  ASSERT_TRUE(write_block_header(handle, a, h));
  EXPECT_EQ(get_free_block(lists, 100), -1);
  EXPECT_EQ(handler.calls, 1);
  EXPECT_TRUE(handler.report_written);
  EXPECT_TRUE(corruption_reported());
  const std::string report = dir.read(corruption_report_name);
  EXPECT_EQ(report.rfind("\nZbior: " + dir.folder() + "f.kvr\n\n", 0), 0u) << report;
  EXPECT_NE(report.find("get_free_block"), std::string::npos);
  // The broken block's line between its neighbours' lines.
  EXPECT_NE(report.find(corruption_block_line(a, h)), std::string::npos);
  EXPECT_NE(report.find("     -1   REC_TYPE_NONE"), std::string::npos);
}

TEST_F(FreeSpaceTest, CheckBlockFindsBrokenLinks) {
  const rec_pos a = record_block(100);
  const rec_pos b = record_block(100);
  block_header ha = header(a), hb = header(b);
  ha.next = b;
  hb.prev = a;
  write_block_header(handle, a, ha);
  write_block_header(handle, b, hb);
  EXPECT_TRUE(block_is_sound(handle, a));
  EXPECT_TRUE(block_is_sound(handle, -1));
  hb.prev = -1;
  write_block_header(handle, b, hb);
  EXPECT_FALSE(block_is_sound(handle, a));
  hb.prev = a;
  hb.type = REC_TYPE_ZEST;
  write_block_header(handle, b, hb);
  EXPECT_FALSE(block_is_sound(handle, a));
  hb.type = REC_TYPE_BLOB;  // a blob header may sit among records of any type
  write_block_header(handle, b, hb);
  EXPECT_TRUE(block_is_sound(handle, a));
  ha.used = 200;
  write_block_header(handle, a, ha);
  EXPECT_FALSE(block_is_sound(handle, a));
  ha.used = 10;
  ha.next = a;
  write_block_header(handle, a, ha);
  EXPECT_FALSE(check_block(handle, a));
  EXPECT_EQ(handler.calls, 1);
}
