// Relinking a record inside its chain: every mode, the neighbours and chain ends mended,
// positions and bytes kept, the order surviving a reopen; refusals change nothing.
#include "store/record_move.h"

#include "store/open_files.h"

#include <gtest/gtest.h>

#include "record_set_support.h"
#include "store/temp_folder_support.h"

using namespace kovra::store;
using namespace kovra::test;

namespace {
std::vector<rec_pos> chain_of(record_class& c) {
  std::vector<rec_pos> out;
  for (rec_pos p = locate_record(c, FIRST_REC, 0); p != -1; p = locate_record(c, NEXT_REC, p)) out.push_back(p);
  return out;
}
} // namespace

TEST(RecordMove, EveryModeRelinksInPlaceAndTheOrderSurvivesAReopen) {
  reset_containers();
  temp_folder dir;
  recording_corruption corruption;
  set_corruption_handler(&corruption);
  const std::string path = dir.folder() + "move.kvr";
  ASSERT_TRUE(create_test_set(path));
  test_classes classes;
  int result = -1;
  record_set* set = open_record_set(test_open_request(path, classes), &result);
  ASSERT_NE(set, nullptr);
  record_class& c = classes.c[2];
  std::vector<rec_pos> r;
  for (uint8_t i = 0; i < 4; ++i) {
    std::vector<uint8_t> d = pattern(20, i);
    r.push_back(insert_record(c, LAST_REC, 0, d.data(), 20));
  }
  const rec_pos a = r[0], b = r[1], d = r[2], e = r[3];
  ASSERT_TRUE(move_record(c, e, FIRST_REC, 0));  // the tail to the head
  EXPECT_EQ(chain_of(c), (std::vector<rec_pos>{e, a, b, d}));
  ASSERT_TRUE(move_record(c, e, LAST_REC, 0));  // and back
  EXPECT_EQ(chain_of(c), (std::vector<rec_pos>{a, b, d, e}));
  ASSERT_TRUE(move_record(c, a, NEXT_REC, b));  // after its own next
  EXPECT_EQ(chain_of(c), (std::vector<rec_pos>{b, a, d, e}));
  ASSERT_TRUE(move_record(c, e, PREV_REC, a));
  EXPECT_EQ(chain_of(c), (std::vector<rec_pos>{b, e, a, d}));
  // Refused: a reference outside the chain, the record itself; nothing changes.
  EXPECT_FALSE(move_record(c, b, NEXT_REC, 12345));
  EXPECT_FALSE(move_record(c, b, PREV_REC, b));
  EXPECT_FALSE(move_record(c, b, THIS_REC, 0));
  EXPECT_EQ(chain_of(c), (std::vector<rec_pos>{b, e, a, d}));
  EXPECT_EQ(record_count(c), 4);
  std::vector<uint8_t> bytes(20);
  ASSERT_EQ(read_record(c, THIS_REC, e, bytes.data(), 20), e);
  EXPECT_EQ(bytes, pattern(20, 3));

  ASSERT_TRUE(close_record_set(set));
  set = open_record_set(test_open_request(path, classes), &result);
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(chain_of(classes.c[2]), (std::vector<rec_pos>{b, e, a, d}));
  EXPECT_EQ(result, CHECKSUM_OK);
  EXPECT_EQ(corruption.calls, 0);
  close_record_set(set);
  set_corruption_handler(nullptr);
  reset_containers();
  reset_open_files();
}
