#include "store/trace.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using namespace kovra::store;

namespace {

class TraceTest : public ::testing::Test {
protected:
  void SetUp() override { reset_trace(); }
  void TearDown() override { reset_trace(); }
};

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

} // namespace

TEST_F(TraceTest, RingKeepsTheLast301StepsOldestFirst) {
  const int32_t heads[5] = {1, 2, 3, 4, 5};
  for (int i = 0; i < 400; ++i) {
    const std::string name = "step " + std::to_string(i);
    trace_free_list(name.c_str(), 3, i, 10, heads);
    trace_end();
  }
  EXPECT_EQ(trace_entry_count(), 301);
  const auto lines = lines_of(trace_text());
  // Each kind-2 entry is its name, one values line and five free-list lines.
  ASSERT_EQ(lines.size(), 301u * 7);
  for (int k = 0; k < 301; ++k) {
    EXPECT_EQ(lines[size_t(k) * 7], " step " + std::to_string(99 + k)) << k;
    EXPECT_EQ(lines[size_t(k) * 7 + 1], "   fh=3  offset=" + std::to_string(99 + k) + "  length=10") << k;
  }
}

TEST_F(TraceTest, RingBeforeWrappingHoldsOnlyWhatWasTraced) {
  trace_record("a", 1, -1, -1, 2, 0, FIRST_REC);
  trace_end();
  trace_record("b", 1, -1, -1, 2, 0, FIRST_REC);
  trace_end();
  EXPECT_EQ(trace_entry_count(), 2);
  const auto lines = lines_of(trace_text());
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], " a");
  EXPECT_EQ(lines[2], " b");
}

TEST_F(TraceTest, RecordEntryFormat) {
  trace_record("inslk rec", 5, 519, 1024, 2, 777, NEXT_REC);
  trace_end();
  trace_record("del rec", 5, -1, -1, 3, 40, NO_REC_MODE);
  trace_end();
  EXPECT_EQ(trace_text(),
            " inslk rec\n"
            "   fh=5  first=519  last=1024  rec_type=2  offset=777  NEXT_REC\n"
            " del rec\n"
            "   fh=5  first=-1  last=-1  rec_type=3  offset=40  \n");
}

TEST_F(TraceTest, FreeListEntryFormat) {
  const int32_t heads[5] = {-1, 600, -1, 70000, -1};
  trace_free_list("get free", 4, 1200, 64, heads);
  trace_end();
  EXPECT_EQ(trace_text(),
            " get free\n"
            "   fh=4  offset=1200  length=64\n"
            "   free space[0]=-1\n"
            "   free space[1]=600\n"
            "   free space[2]=-1\n"
            "   free space[3]=70000\n"
            "   free space[4]=-1\n");
}

TEST_F(TraceTest, BlockEntryFormatDecodesTheHeader) {
  // type 2, set 0, size 120, capacity 103, used 90, prev -1, next 4096
  const uint8_t header[17] = {2, 0, 0, 120, 0, 103, 0, 90, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x10, 0, 0};
  trace_block("check", 4, 519, header);
  trace_end();
  trace_block("none", 4, -1, nullptr);
  trace_end();
  EXPECT_EQ(trace_text(),
            " check\n"
            "       519   REC_TYPE_ELPZ             ( 120  103   90)      -1    4096\n"
            " none\n"
            "        -1   REC_TYPE_NONE             (   0    0    0)       0       0\n");
}

TEST_F(TraceTest, CallHistoryIndentsNestedOperations) {
  {
    Call_History_t guard("insert_elpz_record8", "C:\\src\\posrec8.cpp", 120);
    EXPECT_EQ(trace_depth(), 1);
    trace_record("inslk rec", 2, -1, -1, 2, 0, FIRST_REC);
    EXPECT_EQ(trace_depth(), 2);
    {
      Call_History_t inner("inner", "src/document/tree.cpp", 7);
      EXPECT_EQ(trace_depth(), 3);
    }
    trace_end();
  }
  EXPECT_EQ(trace_depth(), 0);
  EXPECT_EQ(trace_text(),
            " insert_elpz_record8\n"
            "--> file=posrec8.cpp  line=120\n"
            "   inslk rec\n"
            "     fh=2  first=-1  last=-1  rec_type=2  offset=0  FIRST_REC\n"
            "     inner\n"
            "-->     file=tree.cpp  line=7\n");
}

TEST_F(TraceTest, StrayEndDoesNotGoBelowZero) {
  trace_end();
  trace_end();
  EXPECT_EQ(trace_depth(), 0);
  trace_record("x", 1, 0, 0, 0, 0, FIRST_REC);
  EXPECT_EQ(lines_of(trace_text())[0], " x");
}

TEST_F(TraceTest, ResetEmptiesTheRing) {
  trace_record("x", 1, 0, 0, 0, 0, FIRST_REC);
  reset_trace();
  EXPECT_EQ(trace_entry_count(), 0);
  EXPECT_EQ(trace_depth(), 0);
  EXPECT_EQ(trace_text(), "");
}

TEST(TraceNames, DiagnosticTypeNames) {
  EXPECT_STREQ(record_type_diag_name(0), "REC_TYPE_NONE");
  EXPECT_STREQ(record_type_diag_name(6), "REC_TYPE_DANE_OGOL_OPIS");
  EXPECT_STREQ(record_type_diag_name(14), "REC_TYPE_HGRAM_LINK");
  EXPECT_STREQ(record_type_diag_name(100), "REC_TYPE_SUBFILE_HDR");
  EXPECT_STREQ(record_type_diag_name(101), "REC_TYPE_BTREE_LEAF");
  // Named types outside 0-14, 100, 101 and unknown codes all print as free.
  for (int code : {15, 99, 102, 103, 104, 200, 255, -1})
    EXPECT_STREQ(record_type_diag_name(code), "REC_TYPE_FREE") << code;
}
