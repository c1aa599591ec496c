#include "store/checked_alloc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "store/log.h"
#include "store/temp_folder_support.h"

using namespace kovra::store;
using kovra::test::temp_folder;

namespace {

class recording_handler : public fatal_handler {
public:
  void fatal(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

class CheckedAllocTest : public ::testing::Test {
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
  void expect_reported_once() {
    ASSERT_EQ(handler.texts.size(), 1u);
    EXPECT_EQ(handler.texts[0], "Za malo pamieci.");
    flush_log();
    EXPECT_EQ(dir.read("LOG.LOG"), "\nMALLOC_T\n\nError Exit: Za malo pamieci.\n");
  }
  temp_folder dir;
  recording_handler handler;
};

// A request no allocator can serve (more than half the address space).
constexpr std::size_t impossible = SIZE_MAX / 2 + 1;

#if defined(__SANITIZE_ADDRESS__)
#define SKIP_UNDER_ASAN() GTEST_SKIP() << "the address sanitizer aborts on impossible requests"
#else
#define SKIP_UNDER_ASAN() (void)0
#endif

} // namespace

TEST_F(CheckedAllocTest, ServesOrdinaryRequests) {
  char* p = static_cast<char*>(checked_alloc(100));
  ASSERT_NE(p, nullptr);
  p[99] = 1;
  p = static_cast<char*>(checked_realloc(p, 100000));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p[99], 1);
  std::free(p);
  auto* z = static_cast<unsigned char*>(checked_calloc(10, 10));
  ASSERT_NE(z, nullptr);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(z[i], 0);
  std::free(z);
  EXPECT_TRUE(handler.texts.empty());
}

TEST_F(CheckedAllocTest, ZeroByteRequestsAreNotOutOfMemory) {
  std::free(checked_alloc(0));
  std::free(checked_calloc(0, 8));
  std::free(checked_calloc(8, 0));
  void* p = checked_alloc(16);
  EXPECT_EQ(checked_realloc(p, 0), nullptr);  // freed
  EXPECT_TRUE(handler.texts.empty());
  EXPECT_FALSE(fatal_error_raised());
}

TEST_F(CheckedAllocTest, FailedAllocationIsReportedThenThrown) {
  SKIP_UNDER_ASAN();
  ::testing::internal::CaptureStderr();
  EXPECT_THROW(checked_alloc(impossible), std::bad_alloc);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "\a");
  expect_reported_once();
  EXPECT_TRUE(fatal_error_raised());
}

TEST_F(CheckedAllocTest, FailedCallocIsReported) {
  SKIP_UNDER_ASAN();
  EXPECT_THROW(checked_calloc(impossible, 4), std::bad_alloc);
  expect_reported_once();
}

TEST_F(CheckedAllocTest, FailedReallocKeepsTheOldBlock) {
  SKIP_UNDER_ASAN();
  char* p = static_cast<char*>(checked_alloc(8));
  p[0] = 'k';
  EXPECT_THROW(checked_realloc(p, impossible), std::bad_alloc);
  EXPECT_EQ(p[0], 'k');
  std::free(p);
  expect_reported_once();
}

TEST_F(CheckedAllocTest, NewHandlerReportsFailedNew) {
  SKIP_UNDER_ASAN();
  const new_handler_fn previous = install_out_of_memory_handler();
  EXPECT_TRUE(out_of_memory_handler_installed());
  volatile std::size_t n = impossible;  // not a constant, so the compiler cannot drop the call
  EXPECT_THROW(::operator delete(::operator new(n)), std::bad_alloc);
  std::set_new_handler(previous);
  EXPECT_FALSE(out_of_memory_handler_installed());
  expect_reported_once();
}
