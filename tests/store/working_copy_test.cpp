#include "store/working_copy.h"

#include "store/log.h"
#include "store/open_files.h"
#include "store/paths.h"
#include "store/store_notice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/time.h>

#include "record_set_support.h"
#include "store/temp_folder_support.h"

using namespace kovra::store;
using namespace kovra::test;

namespace {

class recording_notices : public store_notice_sink {
public:
  void notice(int number, const std::string& value) override { seen.emplace_back(number, value); }
  std::vector<std::pair<int, std::string>> seen;
};

class WorkingCopyTest : public ::testing::Test {
protected:
  void SetUp() override {
    reset_containers();
    set_program_folder(dir.folder());
    set_store_notice_sink(&notices);
    path = dir.folder() + "doc.kvr";
    copy = dir.folder() + "doc.kv~";
    ASSERT_TRUE(create_test_set(path));
  }
  void TearDown() override {
    set_store_notice_sink(nullptr);
    reset_containers();
    reset_open_files();
    reset_log_state();
  }
  record_set* open_for_work(test_classes& classes, leftover_decision decision = {}) {
    open_set_request r = test_open_request(path, classes);
    r.working_copy = true;
    r.decision = std::move(decision);
    return open_record_set(r);
  }
  void set_age(const std::string& file, int seconds_ago) {
    struct timeval times[2];
    gettimeofday(&times[0], nullptr);
    times[0].tv_sec -= seconds_ago;
    times[1] = times[0];
    utimes(file.c_str(), times);
  }

  kovra::test::temp_folder dir;
  recording_notices notices;
  std::string path, copy;
};

} // namespace

TEST_F(WorkingCopyTest, CopyLivesWhileTheDocumentIsOpen) {
  test_classes classes;
  record_set* s = open_for_work(classes);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(set_working_copy(s), copy);
  EXPECT_TRUE(std::filesystem::exists(copy));
  EXPECT_EQ(std::filesystem::file_size(copy), std::filesystem::file_size(path));
  ASSERT_TRUE(close_record_set(s));
  EXPECT_FALSE(std::filesystem::exists(copy));
  EXPECT_TRUE(notices.seen.empty());
}

TEST_F(WorkingCopyTest, NewerOrBiggerLeftoverIsRestoredWithMessage180) {
  const std::string original = dir.read("doc.kvr");
  std::string leftover = original + std::string(17, '\0');
  leftover[900 - 293] = 'L';
  dir.write("doc.kv~", leftover);
  set_age(path, 100);
  test_classes classes;
  record_set* s = open_for_work(classes);
  ASSERT_NE(s, nullptr) << int(last_open_error());
  ASSERT_EQ(notices.seen.size(), 1u);
  EXPECT_EQ(notices.seen[0].first, 180);
  EXPECT_EQ(notices.seen[0].second, path);
  close_record_set(s);
  EXPECT_EQ(dir.read("doc.kvr").size(), leftover.size());
}

TEST_F(WorkingCopyTest, OlderAndSmallerLeftoverIsIgnoredAndReplaced) {
  dir.write("doc.kv~", "old");
  set_age(copy, 100);
  test_classes classes;
  record_set* s = open_for_work(classes);
  ASSERT_NE(s, nullptr);
  EXPECT_TRUE(notices.seen.empty());
  EXPECT_EQ(std::filesystem::file_size(copy), std::filesystem::file_size(path));
  close_record_set(s);
}

TEST_F(WorkingCopyTest, DecisionCanRefuseAndARestoreCanFail) {
  dir.write("doc.kv~", "leftover");
  test_classes classes;
  EXPECT_EQ(open_for_work(classes, [](const std::string&, const std::string&) { return leftover_choice::stop; }),
            nullptr);
  EXPECT_EQ(last_open_error(), OPEN_REFUSED_LEFTOVER);
  EXPECT_EQ(classes.c[0].set, nullptr);

  std::filesystem::remove(copy);
  std::filesystem::create_directory(copy);  // a copy that cannot be read as a file
  EXPECT_EQ(open_for_work(classes, [](const std::string&, const std::string&) { return leftover_choice::restore; }),
            nullptr);
  EXPECT_EQ(last_open_error(), OPEN_COPY_FAILED);
  std::filesystem::remove(copy);

  test_classes other;
  open_set_request r = test_open_request(dir.folder() + "none.kvr", other);
  r.working_copy = true;
  EXPECT_EQ(open_record_set(r), nullptr);
  EXPECT_EQ(last_open_error(), OPEN_NOT_FOUND);
}

TEST_F(WorkingCopyTest, CopyOfAnotherLiveOpenIsNotTaken) {
  test_classes first;
  record_set* s = open_for_work(first);
  ASSERT_NE(s, nullptr);
  const std::string live_copy = dir.read("doc.kv~");
  test_classes second;
  record_set* t = open_for_work(second);  // mode 0 shares with mode 0
  ASSERT_NE(t, nullptr) << int(last_open_error());
  EXPECT_TRUE(notices.seen.empty());  // not mistaken for a leftover
  EXPECT_TRUE(set_working_copy(t).empty());
  close_record_set(t);
  EXPECT_TRUE(std::filesystem::exists(copy));  // still the first open's
  close_record_set(s);
  EXPECT_FALSE(std::filesystem::exists(copy));
}
