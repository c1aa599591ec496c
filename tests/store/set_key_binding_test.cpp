#include "store/set_key_binding.h"

#include "store/integrity_check.h"
#include "store/log.h"
#include "store/open_files.h"
#include "store/trace.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "record_set_support.h"
#include "store/temp_folder_support.h"

using namespace kovra::store;
using namespace kovra::test;

namespace {

class SetKeyBindingTest : public ::testing::Test {
protected:
  void SetUp() override {
    reset_containers();
    reset_key_index_state();
    set_program_folder(dir.folder());
    path = dir.folder() + "keys.kvr";
    descriptors[0] = {KEY_BYTES, 3, 6, &slots[0]};
    descriptors[1] = {KEY_BYTES, 3, 11, &slots[1]};
  }
  void TearDown() override {
    reset_key_index_state();
    reset_containers();
    reset_open_files();
    reset_log_state();
  }

  kovra::test::temp_folder dir;
  std::string path;
  int16_t slots[2] = {-1, -1};
  key_descriptor descriptors[2];
};

} // namespace

TEST_F(SetKeyBindingTest, SetsCarryTheirKeyIndexThroughCloseAndReopen) {
  create_set_request c;
  c.path = path;
  c.header_template = header_template();
  c.file_type = FILE_TYPE_ESTIMATE;
  c.version = CONTAINER_VERSION;
  c.class_count = 3;
  c.user_header_size = 100;
  c.keys = bind_key_indexes(descriptors, 2);
  ASSERT_TRUE(create_record_set(c));
  // Two indexes of three levels: six key blocks right after the user header.
  EXPECT_EQ(std::filesystem::file_size(path), 293u + 158 + 68 + 100 + 6 * 529);
  integrity_report fresh = check_container(path);
  EXPECT_TRUE(fresh.ok()) << (fresh.problems.empty() ? "" : fresh.problems[0]);
  ASSERT_EQ(fresh.sets.at(0).keys.size(), 2u);
  EXPECT_EQ(fresh.sets[0].keys[0].levels, 3);

  test_classes classes;
  open_set_request r = test_open_request(path, classes, STORAGE_COMPRESSED);
  r.keys = bind_key_indexes(descriptors, 2);
  record_set* s = open_record_set(r);
  ASSERT_NE(s, nullptr) << int(last_open_error());
  ASSERT_GE(slots[0], 0);
  ASSERT_GE(slots[1], 0);
  for (int i = 0; i < 200; ++i) {
    std::vector<uint8_t> d = pattern(40, uint8_t(i));
    const rec_pos p = add_record(classes.c[1], d.data(), 40);
    key_entry e;
    e.set_value(p);
    char key[12];
    std::snprintf(key, sizeof key, "K%05d", i);
    e.set_key(key, 6);
    ASSERT_EQ(key_insert_unique(slots[0], e), KEY_OK);
  }
  EXPECT_EQ(key_count(slots[0]), 200);
  ASSERT_TRUE(flush_record_set(s));
  ASSERT_TRUE(flush_container(set_handle(s)));
  ASSERT_TRUE(close_record_set(s));

  integrity_report filled = check_container(path);
  EXPECT_TRUE(filled.ok()) << (filled.problems.empty() ? "" : filled.problems[0]);
  EXPECT_EQ(filled.sets.at(0).keys.at(0).count, 200);
  EXPECT_EQ(filled.checksum, "ok");

  test_classes again;
  open_set_request r2 = test_open_request(path, again, STORAGE_COMPRESSED, OPEN_READ_SHARED);
  r2.keys = bind_key_indexes(descriptors, 2);
  int result = -1;
  record_set* t = open_record_set(r2, &result);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(result, CHECKSUM_OK);
  key_entry find;
  find.set_key("K00123", 6);
  ASSERT_EQ(key_find(slots[0], find), KEY_OK);
  std::vector<uint8_t> record;
  ASSERT_TRUE(read_record_new(again.c[1], find.value(), record));
  EXPECT_EQ(record.size(), 40u);
  EXPECT_EQ(record[5], pattern(40, 123)[5]);
  ASSERT_TRUE(close_record_set(t));
}

TEST_F(SetKeyBindingTest, SubsetsHaveTheirOwnIndex) {
  ASSERT_TRUE(create_test_set(path));
  test_classes classes;
  record_set* s = open_record_set(test_open_request(path, classes));
  ASSERT_NE(s, nullptr);
  const rec_pos sub = create_subset(classes.c[0], 3, 2, 20, bind_key_indexes(descriptors, 2), {});
  ASSERT_GT(sub, 0);
  record_class sc[2] = {{REC_TYPE_ELPZ, 1}, {REC_TYPE_ZEST, 1}};
  ASSERT_NE(open_subset(classes.c[0], sub, sc, 2, bind_key_indexes(descriptors, 2), {}, {}), nullptr);
  key_entry e;
  e.set_value(1234);
  e.set_key("ABCDEF", 6);
  ASSERT_EQ(key_insert_unique(slots[0], e), KEY_OK);
  ASSERT_TRUE(close_subset(sc));
  ASSERT_TRUE(close_record_set(s));
  const integrity_report r = check_container(path);
  EXPECT_TRUE(r.ok()) << (r.problems.empty() ? "" : r.problems[0]);
  ASSERT_EQ(r.sets.size(), 2u);
  EXPECT_EQ(r.sets[1].set_no, 3);
  ASSERT_EQ(r.sets[1].keys.size(), 2u);
  EXPECT_EQ(r.sets[1].keys[0].count, 1);
}
