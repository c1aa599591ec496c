// The text writer: spool-file layout, page breaks, blocks, the text transforms, and the
// file handling around it.
#include "report/text_writer.h"
#include "shell/messages.h"
#include "shell/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kovra::report;

namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string dashes() { return std::string(120, '-'); }

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + what.size())) ++n;
  return n;
}

class TextWriter : public ::testing::Test {
protected:
  void SetUp() override { kovra::shell::set_message_sink(&sink); }
  void TearDown() override { kovra::shell::set_message_sink(nullptr); }

  std::string path() const { return dir.path() + "spool.txt"; }
  // Opens a spool with lines_per_page and no page-number line.
  void open(int lines_per_page, bool doubled = false) {
    w.set_layout(lines_per_page, doubled);
    ASSERT_TRUE(w.open_spool(path(), 1));
  }
  std::string close(int final_slot = 16) {
    EXPECT_TRUE(w.close_spool(final_slot));
    return slurp(path());
  }

  kovra::test::temp_folder dir;
  kovra::shell::recording_message_sink sink;
  text_writer w;
};

} // namespace

TEST_F(TextWriter, PagesWithHeadingAndPageNumber) {
  open(10);
  w.write_printer_init({16, 8});
  w.set_page_line(2, "%s", "Head %3d\n");
  w.heading_add("H1\n");
  for (int i = 1; i <= 7; ++i) w.block_add_flush("L%d\n", i);
  EXPECT_EQ(w.page_number(), 2);
  w.end_page();
  EXPECT_EQ(w.lines_used(), text_writer::page_ended);
  const std::string page_top = "\r\n\r\nHead   %\r\n" + dashes() + "\r\n\r\nH1\r\n";
  auto top = [&](int n) {
    std::string t = page_top;
    t.replace(t.find('%'), 1, std::to_string(n));
    return t;
  };
  EXPECT_EQ(close(), "\x1b\x10\x1b\x08\r\n" + top(1) + "L1\r\nL2\r\nL3\r\nL4\r\nL5\r\nL6\r\n" +
                         "\x1b\x01" + top(2) + "L7\r\n" + "\x1b\x01\x1b\x10");
}

TEST_F(TextWriter, BlocksStayTogetherOrFlowOverLongPages) {
  open(6);
  w.set_auto_flush(false);
  w.block_add("a1\na2\na3\na4\n");
  w.flush_block();
  w.block_add("b1\nb2\nb3\n");  // two lines left: the block goes to a new page whole
  w.flush_block();
  EXPECT_EQ(w.page_number(), 2);
  EXPECT_EQ(w.lines_used(), 3);
  w.block_add("c\n");
  for (int i = 0; i < 13; ++i) w.block_add("d%02d\n", i);  // longer than a page
  w.flush_block();
  const std::string s = close();
  EXPECT_EQ(s, "a1\r\na2\r\na3\r\na4\r\n\x1b\x01" "b1\r\nb2\r\nb3\r\n\x1b\x01"
               "c\r\nd00\r\nd01\r\nd02\r\nd03\r\nd04\r\n\x1b\x01"
               "d05\r\nd06\r\nd07\r\nd08\r\nd09\r\nd10\r\n\x1b\x01"
               "d11\r\nd12\r\n\x1b\x10");
}

TEST_F(TextWriter, FourLinesPerInchDoublesEveryLineFeed) {
  open(10, true);
  w.set_page_line(1, "%s", "P%3d\n");
  for (int i = 0; i < 4; ++i) w.block_add_flush("x\n");
  const std::string s = close();
  // Top blank line, page line and rule count 2 + 4 = 6 of the 10 lines; two text lines fit.
  const std::string top = "\r\n\r\nP  %\r\n\r\n" + dashes() + "\r\n\r\n\r\n\r\n";
  std::string p1 = top, p2 = top;
  p1.replace(p1.find('%'), 1, "1");
  p2.replace(p2.find('%'), 1, "2");
  EXPECT_EQ(s, p1 + "x\r\n\r\nx\r\n\r\n\x1b\x01" + p2 + "x\r\n\r\nx\r\n\r\n\x1b\x10");
}

TEST_F(TextWriter, TextTransforms) {
  open(60);
  w.block_add_flush("a\xfa" "b|@5-=|@12 *|@x|@3|@|@99999 #|@2 \n");
  w.block_add_flush("esc\x1b" "1 bell\n");
  w.block_add_flush("dot@3 \xfa|\n");
  const std::string s = close();
  const std::string expected = std::string("a b|=====|************|@x|@@@|") + std::string(240, '#') + "|@2 \r\n" +
                               "esc 1 bell\r\n" + "dot   |\r\n" + "\x1b\x10";
  EXPECT_EQ(s, expected);
}

TEST_F(TextWriter, PageLineIsTextApartFromThePageNumber) {
  open(20);
  w.set_page_line(0, "%s", "100%% of %s %n %d %3d %3d\n");
  w.block_add_flush("x\n");
  const std::string s = close();
  EXPECT_EQ(s.substr(0, s.find("\r\n")), "100% of %s %n %d   1 %3d");
  EXPECT_EQ(page_line_text("%%3d %3d", 12), "%3d  12");
}

TEST_F(TextWriter, MarksInHeadingAndBlock) {
  open(20);
  w.heading_code(4);
  w.heading_add("T\n");
  w.heading_code(5);
  w.heading_code(1);   // not in a heading
  w.block_code(10);    // a template slot, never a mark
  w.block_code(0);
  w.block_code(22);
  w.block_code(17);
  w.block_add_flush("bar\n");
  w.block_code(1);     // ends the page
  EXPECT_EQ(w.lines_used(), text_writer::page_ended);
  w.block_add_flush("next\n");
  EXPECT_EQ(close(12), "\x1b\x04T\r\n\x1b\x05\x1b\x11" "bar\r\n\x1b\x01\x1b\x04T\r\n\x1b\x05next\r\n\x1b\x0c");
}

TEST_F(TextWriter, BlankLinesPaddingAndLinesLeft) {
  open(10);
  w.heading_add("h\n");
  EXPECT_EQ(w.lines_left(), 9);  // a fresh page: the heading takes one line
  w.block_add("a\n");
  EXPECT_EQ(w.lines_left(), 8);
  w.flush_block();
  w.pad_to_line(5);
  EXPECT_EQ(w.block(), "\n\n\n");
  w.flush_block();
  EXPECT_EQ(w.lines_left(), 5);
  w.blank_lines(5);
  EXPECT_EQ(w.block(), "\n\n\n\n\n");
  w.flush_block();
  w.blank_lines(1);  // nothing left: the page ends instead
  EXPECT_EQ(w.lines_used(), text_writer::page_ended);
  EXPECT_TRUE(w.block().empty());
  close();
}

TEST_F(TextWriter, HeadingShowStartsANewPageWhenLittleRoomIsLeft) {
  open(10);
  for (int i = 0; i < 6; ++i) w.block_add_flush("a\n");
  w.heading_show("H\n");  // 4 lines left, heading + 3 = 4: stays
  EXPECT_EQ(w.page_number(), 1);
  EXPECT_EQ(w.lines_used(), 7);
  w.block_add_flush("b\n");
  w.heading_show("I\n");  // 2 left, needs 5: a new page, which shows the whole heading
  EXPECT_EQ(w.page_number(), 2);
  EXPECT_EQ(w.lines_used(), 2);
  EXPECT_EQ(close(), "a\r\na\r\na\r\na\r\na\r\na\r\nH\r\nb\r\n\x1b\x01H\r\nI\r\n\x1b\x10");
}

TEST_F(TextWriter, NothingIsLostAtTheEdges) {
  open(60);
  w.set_auto_flush(false);
  // Far more than the block buffer holds: the block is written when full, not cut.
  for (int i = 0; i < 2000; ++i) w.block_add("line%04d\n", i);
  w.block_add("pending\n");
  // A heading longer than its buffer is cut, never overrun.
  for (int i = 0; i < 200; ++i) w.heading_add("heading text\n");
  EXPECT_LT(w.heading().size(), text_writer::heading_capacity);
  const std::string s = close();  // the pending block is written before closing
  for (int i = 0; i < 2000; i += 111) {
    char line[16];
    std::snprintf(line, sizeof line, "line%04d\r\n", i);
    EXPECT_EQ(count(s, line), 1) << line;
  }
  EXPECT_EQ(count(s, "line1999\r\n"), 1);
  EXPECT_EQ(count(s, "pending\r\n"), 1);
  EXPECT_LT(s.find("line1999"), s.find("pending"));
}

TEST_F(TextWriter, OpeningAskBeforeOverwriting) {
  std::ofstream(path()) << "keep";
  sink.script({kovra::shell::result_cancel});
  EXPECT_FALSE(w.open_spool(path(), 1));
  ASSERT_EQ(sink.requests().size(), 1u);
  EXPECT_EQ(sink.requests()[0].number, 26);
  EXPECT_EQ(slurp(path()), "keep");

  sink.script({kovra::shell::result_ok});
  ASSERT_TRUE(w.open_spool(path(), 5));
  EXPECT_EQ(w.page_number(), 4);
  w.block_add_flush("x\n");
  EXPECT_EQ(w.page_number(), 5);
  EXPECT_EQ(close(), "x\r\n\x1b\x10");

  sink.clear();
  EXPECT_FALSE(w.open_spool(dir.path() + "no/such/folder/spool", 1));
  ASSERT_EQ(sink.requests().size(), 1u);
  EXPECT_EQ(sink.requests()[0].number, 285);
  EXPECT_FALSE(w.close_spool(16));
}
