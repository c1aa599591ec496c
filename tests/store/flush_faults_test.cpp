// A write or sync of the disk that fails at any step of saving and closing a document:
// the failure is reported, and the working copy beside the document is kept whole, so
// that the next open can restore it.
#include "store/file_access.h"
#include "store/integrity_check.h"
#include "store/log.h"
#include "store/open_files.h"
#include "store/paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "record_set_support.h"
#include "store/temp_folder_support.h"

using namespace kovra::store;
using namespace kovra::test;

namespace {

class FlushFaultTest : public ::testing::TestWithParam<int> {
protected:
  void SetUp() override {
    reset_containers();
    set_program_folder(dir.folder());
    set_corruption_handler(&corruption);
    set_disk_sync(false);  // the syncs are still steps that can fail
    path = dir.folder() + "doc.kvr";
    copy = working_copy_name(path);
  }
  void TearDown() override {
    fail_file_step(0);
    set_disk_sync(true);
    set_corruption_handler(nullptr);
    reset_containers();
    reset_open_files();
    reset_log_state();
  }

  record_set* open_for_work() {
    open_set_request r = test_open_request(path, classes, GetParam());
    r.working_copy = true;
    return open_record_set(r);
  }

  // Two chains of records and a blob, changed in place, moved, deleted and added to.
  void change(bool first_time) {
    for (int i = 0; i < 6; ++i) {
      std::vector<uint8_t> d = pattern(size_t(40 + 300 * i), uint8_t(i));
      add_record(classes.c[i % 2 == 0 ? 0 : 2], d.data(), int32_t(d.size()));
    }
    if (first_time) return;
    std::vector<uint8_t> grown = pattern(5000, 9), blob = pattern(70000, 8);
    rewrite_record(classes.c[0], set_header_of(set).first[0], grown.data(), int32_t(grown.size()));
    delete_record(classes.c[2], set_header_of(set).last[2]);
    add_record(classes.c[2], blob.data(), int32_t(blob.size()));
  }

  bool save_and_close() {
    bool ok = flush_record_set(set);
    ok = flush_container(set_handle(set)) && ok;
    ok = close_record_set(set) && ok;
    set = nullptr;
    return ok;
  }

  temp_folder dir;
  recording_corruption corruption;
  test_classes classes;
  std::string path, copy;
  record_set* set = nullptr;
};

// Where two files differ (-1: nowhere), leaving out the open count, which the open raised
// before it took the copy.
long first_difference(std::string a, std::string b) {
  if (a.size() > 7 && b.size() > 7) a[7] = b[7] = 0;
  if (a == b) return -1;
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  return long(i);
}

} // namespace

TEST_P(FlushFaultTest, FailureAtAnyStepIsReportedAndKeepsTheWorkingCopyWhole) {
  ASSERT_TRUE(create_test_set(path));
  set = open_for_work();
  ASSERT_NE(set, nullptr);
  change(true);
  ASSERT_TRUE(save_and_close());
  const std::string saved = dir.read("doc.kvr");

  int64_t step = 1;
  for (;; ++step) {
    dir.write("doc.kvr", saved);
    std::filesystem::remove(copy);
    set = open_for_work();
    ASSERT_NE(set, nullptr) << "step " << step;
    change(false);
    fail_file_step(step);
    const bool ok = save_and_close();
    const bool failed_here = file_steps() >= step;
    fail_file_step(0);
    if (!failed_here) {
      // Past the last step: a clean save, the copy gone, the document sound.
      EXPECT_TRUE(ok);
      EXPECT_FALSE(std::filesystem::exists(copy));
      EXPECT_TRUE(check_container(path).ok());
      break;
    }
    EXPECT_FALSE(ok) << "a failure at step " << step << " was reported as success";
    ASSERT_TRUE(std::filesystem::exists(copy)) << "step " << step;
    EXPECT_EQ(first_difference(dir.read(std::filesystem::path(copy).filename().string()), saved), -1)
        << "step " << step;
  }
  EXPECT_GT(step, 4);  // the writes and syncs of a save were all tried
  EXPECT_EQ(corruption.calls, 0);
}

INSTANTIATE_TEST_SUITE_P(StorageModes, FlushFaultTest,
                         ::testing::Values(int(STORAGE_DIRECT), int(STORAGE_IMAGE), int(STORAGE_COMPRESSED)));

TEST(OpenFaultTest, FailedConversionOfAPlainFileToCompressedLeavesItWhole) {
  reset_containers();
  temp_folder dir;
  const std::string path = dir.folder() + "plain.kvr";
  ASSERT_TRUE(create_test_set(path));
  const std::string plain = dir.read("plain.kvr");
  set_disk_sync(false);
  int64_t step = 1;
  for (;; ++step) {
    dir.write("plain.kvr", plain);
    fail_file_step(step);
    const int h = open_container(path, STORAGE_COMPRESSED, OPEN_EXCLUSIVE, FILE_TYPE_ESTIMATE, CONTAINER_VERSION,
                                 CHECK_FILE_TYPE, nullptr);
    const bool failed_here = file_steps() >= step;
    fail_file_step(0);
    if (h >= 0) close_container(h);
    const integrity_report report = check_container(path);
    EXPECT_TRUE(report.ok()) << "step " << step << ": " << (report.problems.empty() ? "" : report.problems[0]);
    if (!failed_here) break;
  }
  set_disk_sync(true);
  EXPECT_GT(step, 3);
  reset_containers();
  reset_open_files();
}
