// Key indexes inside a real container: created with the set, changed, flushed, reopened,
// and read clean by the container's integrity check.
#include "store/set_key_binding.h"

#include <gtest/gtest.h>

#include "store/container.h"
#include "store/integrity_check.h"
#include "store/key_index_fixture.h"
#include "store/record_set_support.h"

using namespace kovra::store;
using namespace kovra::test;

class SetKeyIndex : public KeyIndexTest {
protected:
  std::vector<key_descriptor> descriptors() {
    return {{KEY_INT32, 2, 4, &by_number}, {KEY_TEXT, 1, 12, &by_name}};
  }
  bool create(const std::string& path) {
    create_set_request r;
    r.path = path;
    r.header_template = header_template();
    r.file_type = FILE_TYPE_ESTIMATE;
    r.version = CONTAINER_VERSION;
    r.class_count = 3;
    r.user_header_size = test_user_header_size;
    r.keys = bind_key_indexes(descriptors().data(), 2);
    return create_record_set(r);
  }
  record_set* open(const std::string& path, int storage) {
    open_set_request r = test_open_request(path, classes, storage);
    r.keys = bind_key_indexes(descriptors().data(), 2);
    return open_record_set(r);
  }
  test_classes classes;
  int16_t by_number = -1, by_name = -1;
};

TEST_F(SetKeyIndex, IndexesLiveInTheContainerAndSurviveCloseAndReopen) {
  for (int storage : {STORAGE_DIRECT, STORAGE_IMAGE, STORAGE_COMPRESSED}) {
    const std::string path = dir.folder() + "keys" + std::to_string(storage) + ".kvr";
    ASSERT_TRUE(create(path));
    record_set* s = open(path, storage);
    ASSERT_NE(s, nullptr);
    for (int32_t k = 0; k < 2000; ++k) {
      ASSERT_EQ(key_insert_unique(by_number, int_entry(k, 1000 + k)), KEY_OK);
      key_entry n;
      n.set_key_text(("name" + std::to_string(k % 300)).c_str());
      n.set_value(k);
      ASSERT_EQ(key_insert(by_name, n, LAST_REC, 0), KEY_OK);
    }
    for (int32_t k = 0; k < 2000; k += 2) ASSERT_EQ(key_delete(by_number, int_entry(k, 0)), KEY_OK);
    // An image reaches the disk only when flushed (the set's flush writes the index into it).
    ASSERT_TRUE(flush_record_set(s));
    ASSERT_TRUE(flush_container(set_handle(s)));
    ASSERT_TRUE(close_record_set(s));
    EXPECT_EQ(key_count(by_number), -1);  // released with the set
    EXPECT_EQ(by_number, -1);  // and the caller's slots say so
    EXPECT_EQ(by_name, -1);

    const integrity_report report = check_container(path);
    EXPECT_TRUE(report.ok()) << (report.problems.empty() ? report.open_problem : report.problems.front());
    ASSERT_EQ(report.sets.size(), 1u);
    ASSERT_EQ(report.sets[0].keys.size(), 2u);
    EXPECT_EQ(report.sets[0].keys[0].count, 1000);
    EXPECT_EQ(report.sets[0].keys[1].count, 2000);

    s = open(path, storage);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(key_count(by_number), 1000);
    key_entry e = int_entry(1001, 0);
    ASSERT_EQ(key_find(by_number, e), KEY_OK);
    EXPECT_EQ(e.value(), 2001);
    e = int_entry(1000, 0);
    EXPECT_EQ(key_find(by_number, e), KEY_NOT_FOUND);
    key_entry n;
    n.set_key_text("name7");
    ASSERT_EQ(key_find(by_name, n), KEY_OK);
    EXPECT_EQ(n.value(), 7);
    ASSERT_TRUE(close_record_set(s));
  }
}
