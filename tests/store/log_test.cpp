#include "store/log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/temp_folder_support.h"

using namespace kovra::store;
using kovra::test::temp_folder;

namespace {

class recording_handler : public fatal_handler {
public:
  void fatal(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

class LogTest : public ::testing::Test {
protected:
  void SetUp() override {
    set_program_folder(dir.folder());
    set_fatal_handler(&handler);
  }
  void TearDown() override {
    reset_log_state();
    set_fatal_handler(nullptr);
    set_program_folder("");
  }
  std::string log_content() {
    flush_log();
    return dir.read("LOG.LOG");
  }
  temp_folder dir;
  recording_handler handler;
};

} // namespace

TEST_F(LogTest, FirstUseTruncatesTheOldLogAndLaterTextIsAppended) {
  dir.write("LOG.LOG", "left over from the last run");
  EXPECT_EQ(log_path(), dir.folder() + "LOG.LOG");
  log_text("one %d\n", 1);
  log_text("two %s\n", "x");
  EXPECT_EQ(log_content(), "one 1\ntwo x\n");
  EXPECT_TRUE(handler.texts.empty());
  EXPECT_FALSE(fatal_error_raised());
}

TEST_F(LogTest, LogTextKeepsAtMost500Characters) {
  const std::string long_text(700, 'a');
  log_text("%s", long_text.c_str());
  log_text("|");
  EXPECT_EQ(log_content(), std::string(500, 'a') + "|");
}

TEST_F(LogTest, FatalErrorLogsTellsTheHandlerAndReturns) {
  log_text("before");
  fatal_error("Za malo pamieci.");
  EXPECT_TRUE(fatal_error_raised());
  EXPECT_EQ(last_fatal_text(), "Za malo pamieci.");
  ASSERT_EQ(handler.texts.size(), 1u);
  EXPECT_EQ(handler.texts[0], "Za malo pamieci.");
  // fatal_error pushes its text to disk itself: read without flushing first.
  EXPECT_EQ(dir.read("LOG.LOG"), "before\nError Exit: Za malo pamieci.\n");
}

TEST_F(LogTest, FatalErrorTextIsCutAt512Characters) {
  const std::string long_text(600, 'b');
  fatal_error("%s", long_text.c_str());
  EXPECT_EQ(last_fatal_text(), std::string(512, 'b'));
  EXPECT_EQ(log_content(), "\nError Exit: " + std::string(512, 'b') + "\n");
}

TEST_F(LogTest, UnopenableLogIsReportedOnceAndNotRetried) {
  const std::string folder = dir.folder() + "missing/";
  set_program_folder(folder);
  log_text("lost");
  ASSERT_EQ(handler.texts.size(), 1u);
  EXPECT_EQ(handler.texts[0], "Nie mozna otworzyc zbioru: " + folder + "LOG.LOG\n");
  log_text("lost again");
  fatal_error("later");
  ASSERT_EQ(handler.texts.size(), 2u);
  EXPECT_EQ(handler.texts[1], "later");
  EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST_F(LogTest, ResetClosesTheLogAndForgetsTheFatalState) {
  fatal_error("broken %d", 7);
  reset_log_state();
  EXPECT_FALSE(fatal_error_raised());
  EXPECT_EQ(last_fatal_text(), "");
  EXPECT_EQ(dir.read("LOG.LOG"), "\nError Exit: broken 7\n");
  // The next use opens the log anew, truncated.
  log_text("fresh");
  EXPECT_EQ(log_content(), "fresh");
}

TEST_F(LogTest, DefaultHandlerWritesToStandardError) {
  set_fatal_handler(nullptr);
  ::testing::internal::CaptureStderr();
  fatal_error("Error %s", "text");
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Error text"), std::string::npos);
  EXPECT_TRUE(fatal_error_raised());
}
