#include "store/text_helpers.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace kovra::store;
using lines_t = std::vector<std::string>;

TEST(SplitLines, BreaksAtTheLastBlankWithinWidth) {
  std::string text = "Roboty ziemne wykonywane koparkami";
  auto lines = split_lines(text, 14, 0);
  ASSERT_TRUE(lines);
  EXPECT_EQ(*lines, (lines_t{"Roboty ziemne", "wykonywane", "koparkami"}));
  EXPECT_EQ(text, "Roboty ziemne wykonywane koparkami");  // unchanged without flag 2
}

TEST(SplitLines, ABlankRightAfterAFullLineIsTheBreak) {
  std::string text = "abcd efgh";
  EXPECT_EQ(*split_lines(text, 4, 0), (lines_t{"abcd", "efgh"}));
  text = "abcd";
  EXPECT_EQ(*split_lines(text, 4, 0), (lines_t{"abcd"}));
}

TEST(SplitLines, AWordLongerThanWidthFails) {
  std::string text = "ab wykopaliska cd";
  EXPECT_FALSE(split_lines(text, 5, SPLIT_MARK_BREAKS));
  EXPECT_EQ(text, "ab wykopaliska cd");  // untouched on failure
  EXPECT_FALSE(split_lines(text, 0, 0));
  std::string word = "abcdef";
  EXPECT_FALSE(split_lines(word, 5, 0));
}

TEST(SplitLines, BlanksAtABreakAreDropped) {
  std::string text = "ab   cd    ef";
  EXPECT_EQ(*split_lines(text, 4, 0), (lines_t{"ab", "cd", "ef"}));
}

TEST(SplitLines, Flag2WritesTheBreaksIntoTheText) {
  std::string text = "jeden dwa trzy cztery";
  EXPECT_EQ(*split_lines(text, 9, SPLIT_MARK_BREAKS), (lines_t{"jeden dwa", "trzy", "cztery"}));
  EXPECT_EQ(text, "jeden dwa\ntrzy\ncztery");
}

TEST(SplitLines, Flag1TurnsLineFeedsIntoBlanks) {
  std::string text = "ab\ncd\r\nef";
  EXPECT_EQ(*split_lines(text, 20, SPLIT_LINE_FEEDS_TO_BLANKS), (lines_t{"ab cd  ef"}));
  EXPECT_EQ(text, "ab\ncd\r\nef");
  EXPECT_EQ(*split_lines(text, 5, SPLIT_LINE_FEEDS_TO_BLANKS | SPLIT_MARK_BREAKS), (lines_t{"ab cd", "ef"}));
  EXPECT_EQ(text, "ab cd\n ef");
}

TEST(SplitLines, Flag4MakesLineFeedsForcedBreaks) {
  std::string text = "a\r\n\nbb cc dd\n";
  EXPECT_EQ(*split_lines(text, 5, SPLIT_AT_LINE_FEEDS), (lines_t{"a", "", "bb cc", "dd"}));
  // Without flag 4 a line feed is just a character of its word.
  EXPECT_EQ(*split_lines(text, 20, 0), (lines_t{"a\r\n\nbb cc dd\n"}));
  EXPECT_EQ(*split_lines(text, 20, SPLIT_LINE_FEEDS_TO_BLANKS | SPLIT_AT_LINE_FEEDS), (lines_t{"a   bb cc dd "}));
}

TEST(SplitLines, EmptyText) {
  std::string text;
  EXPECT_EQ(*split_lines(text, 5, 0), lines_t{});
  text = "      ";
  EXPECT_EQ(*split_lines(text, 3, 0), (lines_t{""}));
}

TEST(BoundedCopy, CopiesAtMostSizeMinusOneAndTerminates) {
  char out[6];
  std::memset(out, 'x', sizeof out);
  EXPECT_EQ(bounded_copy(out, "KOSZTORYS", sizeof out), 5u);
  EXPECT_STREQ(out, "KOSZT");
  EXPECT_EQ(bounded_copy(out, "ab", sizeof out), 2u);
  EXPECT_STREQ(out, "ab");
  EXPECT_EQ(bounded_copy(out, static_cast<const char*>(nullptr), sizeof out), 0u);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(bounded_copy(out, std::string("std string"), sizeof out), 5u);
  EXPECT_STREQ(out, "std s");
  out[0] = 'q';
  EXPECT_EQ(bounded_copy(out, "zz", 0), 0u);
  EXPECT_EQ(out[0], 'q');
}

TEST(BoundedCopy, AppendStopsAtTheBufferEnd) {
  char out[8] = "abc";
  EXPECT_EQ(bounded_append(out, "def", sizeof out), 6u);
  EXPECT_STREQ(out, "abcdef");
  EXPECT_EQ(bounded_append(out, "ghij", sizeof out), 7u);
  EXPECT_STREQ(out, "abcdefg");
  EXPECT_EQ(bounded_append(out, static_cast<const char*>(nullptr), sizeof out), 7u);
  // A buffer with no terminator is taken as full and terminated at its end.
  char raw[4] = {'w', 'x', 'y', 'z'};
  EXPECT_EQ(bounded_append(raw, "more", sizeof raw), 3u);
  EXPECT_EQ(std::string(raw), "wxy");
}

TEST(BoundedCopy, JoinTexts) {
  char out[10];
  EXPECT_EQ(join_texts(out, sizeof out, {"Razem", " ", "z narzutami"}), 9u);
  EXPECT_STREQ(out, "Razem z n");
  EXPECT_EQ(join_texts(out, sizeof out, {}), 0u);
  EXPECT_STREQ(out, "");
}

TEST(TextHelpers, TrimAndRemoveBlanks) {
  EXPECT_EQ(trim("  a b  "), "a b");
  EXPECT_EQ(trim("    "), "");
  EXPECT_EQ(trim(""), "");
  EXPECT_EQ(trim("\tx "), "\tx");
  EXPECT_EQ(remove_blanks(" 1 234,5 6 "), "1234,56");
  EXPECT_EQ(remove_blanks("\xA5\xA4 \x86"), "\xA5\xA4\x86");  // Mazovia bytes stay
}
