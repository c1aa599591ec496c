// Page structure of recorded reports, checked by replaying the page file onto a canvas that
// writes down what is drawn where.
#include "report/page_file.h"
#include "report/page_opcodes.h"
#include "report/raport.h"
#include "report/raport_buffer.h"
#include "report/recording_canvas.h"

#include <gtest/gtest.h>

namespace kovra::report {
namespace {

using test::recording_canvas;

// Printable area: x from 50, body from y 100, 1000 high. Header 100, footer 50: 850 for rows.
constexpr int32_t TOP = 100, HEIGHT = 1000;

class layout : public ::testing::Test {
protected:
  void begin(int first_page_no = 1) {
    r.begin_report(50, 800, nullptr, {}, {}, nullptr, first_page_no, 96, HEIGHT, TOP);
  }
  void band(int variant, bool header, const std::string& text, int32_t h) {
    if (header) r.begin_page_header(variant);
    else r.begin_page_footer(variant);
    r.draw_text(text, {0, 0, 100, h}, 0, 0, 0);
    if (header) r.end_page_header(variant, h);
    else r.end_page_footer(variant, h);
  }
  void bands() {
    band(BAND_DEFAULT, true, "H0", 100);
    band(BAND_DEFAULT, false, "F0", 50);
  }
  void row(const std::string& text, int32_t h) {
    r.draw_text(text, {0, 0, 100, h}, 0, 0, 0);
    r.end_row(h);
  }
  void table_bands(int32_t header_h = 40, int32_t footer_h = 30) {
    r.begin_table_header();
    r.draw_text("TH", {0, 0, 100, header_h}, 0, 0, 0);
    r.end_table_header(header_h);
    r.begin_table_footer();
    r.draw_text("TF", {0, 0, 100, footer_h}, 0, 0, 0);
    r.end_table_footer(footer_h);
  }
  recording_canvas replay(int first = 1, int last = 0, page_filter filter = {}) {
    recording_canvas c;
    r.replay(c, false, filter, last, first);
    return c;
  }

  VL_raport r;
};

TEST_F(layout, rows_fill_pages_and_break_when_the_next_does_not_fit) {
  begin(5);
  bands();
  for (int i = 1; i <= 20; ++i) row("R" + std::to_string(i), 100);
  r.end_report();
  // 850 free per page: 8 rows a page.
  EXPECT_EQ(r.count_pages(), 3);
  const auto c = replay();
  EXPECT_EQ(c.pages, (std::vector<int32_t>{5, 6, 7}));
  EXPECT_EQ(c.texts_on(5).front(), "H0");
  EXPECT_EQ(c.texts_on(5)[1], "F0");
  EXPECT_EQ(c.texts_on(5)[2], "R1");
  EXPECT_EQ(c.texts_on(5).back(), "R8");
  EXPECT_EQ(c.texts_on(6)[2], "R9");
  // Rows start under the header; the footer sits at the bottom of the printable area.
  EXPECT_EQ(c.find_text("R1")->y, TOP + 100);
  EXPECT_EQ(c.find_text("R2")->y, TOP + 200);
  EXPECT_EQ(c.find_text("R9")->y, TOP + 100);
  EXPECT_EQ(c.texts_on(5)[1], "F0");
  for (const auto& d : c.items) {
    if (d.text == "F0") EXPECT_EQ(d.y, TOP + HEIGHT - 50);
  }
  // x is taken relative to the printable area.
  EXPECT_EQ(c.find_text("R1")->x, 50);
}

TEST_F(layout, page_records_form_a_doubly_linked_chain_and_the_file_ends_with_end) {
  begin();
  for (int i = 0; i < 25; ++i) row("x", 100);  // no bands: 10 rows a page
  r.end_report();
  ASSERT_EQ(r.count_pages(), 3);
  const page_file& f = r.file();
  int64_t offset = r.first_page_offset();
  EXPECT_EQ(offset, 0);
  int64_t previous = -1;
  for (int page = 1; page <= 3; ++page) {
    uint8_t rec[PAGE_RECORD_SIZE];
    ASSERT_EQ(f.read_at(offset, rec, sizeof rec), sizeof rec);
    EXPECT_EQ(load_i32(rec), OP_PAGE);
    EXPECT_EQ(load_i32(rec + 4), page);
    EXPECT_EQ(load_i32(rec + 8), previous);
    const int32_t next = load_i32(rec + 12);
    if (page == 3) EXPECT_EQ(next, -1);
    else EXPECT_GT(next, offset);
    previous = offset;
    offset = next;
  }
  uint8_t last[4];
  ASSERT_EQ(f.read_at(f.size() - 4, last, 4), 4u);
  EXPECT_EQ(load_i32(last), OP_END);
}

TEST_F(layout, header_and_footer_variants_first_odd_and_default) {
  begin(1);
  band(BAND_DEFAULT, true, "H0", 100);
  band(BAND_ODD, true, "H1", 100);
  band(BAND_FIRST, true, "H2", 100);
  band(BAND_DEFAULT, false, "F0", 50);
  band(BAND_FIRST, false, "F2", 50);
  for (int i = 0; i < 8 * 4; ++i) row("r", 100);
  r.end_report();
  const auto c = replay();
  ASSERT_EQ(c.pages.size(), 4u);
  EXPECT_EQ(c.texts_on(1)[0], "H2");
  EXPECT_EQ(c.texts_on(1)[1], "F2");
  EXPECT_EQ(c.texts_on(2)[0], "H0");
  EXPECT_EQ(c.texts_on(2)[1], "F0");
  EXPECT_EQ(c.texts_on(3)[0], "H1");
  EXPECT_EQ(c.texts_on(3)[1], "F0");  // no odd-page footer defined
  EXPECT_EQ(c.texts_on(4)[0], "H0");
}

TEST_F(layout, the_first_page_variant_follows_the_first_page_number) {
  begin(2);  // the first page is even: first-page header, then odd, then default
  band(BAND_DEFAULT, true, "H0", 100);
  band(BAND_ODD, true, "H1", 100);
  band(BAND_FIRST, true, "H2", 100);
  for (int i = 0; i < 9 * 3; ++i) row("r", 100);
  r.end_report();
  const auto c = replay();
  ASSERT_EQ(c.pages, (std::vector<int32_t>{2, 3, 4}));
  EXPECT_EQ(c.texts_on(2)[0], "H2");
  EXPECT_EQ(c.texts_on(3)[0], "H1");
  EXPECT_EQ(c.texts_on(4)[0], "H0");
}

TEST_F(layout, a_table_over_a_page_break_closes_with_its_footer_and_repeats_its_header) {
  begin();
  bands();
  table_bands();
  r.start_table();
  for (int i = 1; i <= 12; ++i) row("R" + std::to_string(i), 100);
  r.end_table();
  row("after", 100);
  r.end_report();
  const auto c = replay();
  ASSERT_EQ(c.pages.size(), 2u);
  // 850 free: header 40 + row 100 + reserved footer 30, then rows while 130 fit: R1..R7.
  const std::vector<std::string> page1 = {"H0", "F0", "TH", "R1", "R2", "R3", "R4", "R5", "R6", "R7", "TF"};
  EXPECT_EQ(c.texts_on(1), page1);
  const std::vector<std::string> page2 = {"H0", "F0", "TH", "R8", "R9", "R10", "R11", "R12", "TF", "after"};
  EXPECT_EQ(c.texts_on(2), page2);
  // The closing footer stands right under the last row and above the page footer.
  const test::drawn* r7 = c.find_text("R7");
  for (const auto& d : c.items) {
    if (d.text == "TF" && d.page == 1) {
      EXPECT_EQ(d.y, r7->y + 100);
      EXPECT_LE(d.y + 30, TOP + HEIGHT - 50);
    }
  }
}

TEST_F(layout, end_row_and_flush_ends_the_table_without_footer) {
  begin();
  table_bands();
  r.start_table();
  row("R1", 100);
  r.draw_text("last", {0, 0, 100, 100}, 0, 0, 0);
  r.end_row_and_flush(100);
  EXPECT_FALSE(r.table_active());
  for (int i = 0; i < 10; ++i) row("plain", 100);
  r.end_report();
  const auto c = replay();
  int headers = 0, footers = 0;
  for (const auto& d : c.items) {
    headers += d.text == "TH";
    footers += d.text == "TF";
  }
  EXPECT_EQ(headers, 1);
  EXPECT_EQ(footers, 0);
}

TEST_F(layout, a_keep_together_block_moves_whole_to_the_next_page) {
  begin();
  bands();
  for (int i = 0; i < 6; ++i) row("a", 100);  // 250 left
  r.begin_keep_together();
  row("K1", 100);
  row("K2", 100);
  row("K3", 100);
  r.end_keep_together();
  r.end_report();
  const auto c = replay();
  ASSERT_EQ(c.pages.size(), 2u);
  EXPECT_EQ(c.find_text("K1")->page, 2);
  EXPECT_EQ(c.find_text("K3")->page, 2);
  EXPECT_EQ(c.find_text("K1")->y, TOP + 100);
}

TEST_F(layout, a_keep_together_block_taller_than_a_page_is_split_without_an_empty_page) {
  begin();
  bands();
  row("before", 100);
  r.begin_keep_together();
  for (int i = 1; i <= 12; ++i) row("K" + std::to_string(i), 100);
  r.end_keep_together();
  r.end_report();
  const auto c = replay();
  // The block cannot fit any page: K1..K8 fill one page, the rest goes on.
  for (int32_t page : c.pages) {
    int rows = 0;
    for (const auto& t : c.texts_on(page)) rows += t[0] == 'K' || t == "before";
    EXPECT_GT(rows, 0) << "page " << page << " is empty";
  }
  ASSERT_EQ(c.pages.size(), 3u);
  EXPECT_EQ(c.find_text("before")->page, 1);
  EXPECT_EQ(c.find_text("K1")->page, 2);
  EXPECT_EQ(c.find_text("K8")->page, 2);
  EXPECT_EQ(c.find_text("K9")->page, 3);
  for (const auto& d : c.items) {
    if (d.text[0] == 'K') EXPECT_LE(d.bottom, TOP + HEIGHT - 50) << d.text;
  }
}

TEST_F(layout, space_and_forced_breaks) {
  begin();
  EXPECT_TRUE(r.at_page_top());  // nothing placed yet
  bands();
  row("A", 100);
  r.add_space(50);
  row("B", 100);
  EXPECT_EQ(r.remaining(), 850 - 250);
  r.add_space(r.remaining());  // forced break with nothing waiting
  row("C", 100);
  EXPECT_FALSE(r.at_page_top());
  r.add_space(r.remaining());
  EXPECT_TRUE(r.at_page_top());  // generators skip a second forced break here
  r.add_space(r.remaining());  // a second break right away adds no empty page
  row("D", 100);
  EXPECT_FALSE(r.at_page_top());
  r.end_report();
  const auto c = replay();
  ASSERT_EQ(c.pages.size(), 3u);
  EXPECT_EQ(c.find_text("B")->y, TOP + 100 + 150);
  EXPECT_EQ(c.find_text("C")->page, 2);
  EXPECT_EQ(c.find_text("D")->page, 3);
}

TEST_F(layout, space_inside_a_keep_together_block_counts_in_its_height) {
  begin();
  bands();
  for (int i = 0; i < 6; ++i) row("a", 100);  // 250 left
  r.begin_keep_together();
  row("K1", 100);
  r.add_space(100);
  r.add_space(10);
  row("K2", 50);
  r.end_keep_together();
  row("tail", 100);
  r.end_report();
  const auto c = replay();
  // 260 with the spaces does not fit the 250 left: the block goes to page 2 as a whole.
  EXPECT_EQ(c.find_text("K1")->page, 2);
  EXPECT_EQ(c.find_text("K2")->y, TOP + 100 + 210);
  EXPECT_EQ(c.find_text("tail")->y, TOP + 100 + 260);
  for (const auto& d : c.items) {
    if (d.text != "F0") EXPECT_LE(d.bottom, TOP + HEIGHT - 50) << d.text;
  }
}

TEST_F(layout, replay_of_a_range_with_a_filter_and_page_number_fields) {
  begin(10);
  r.begin_page_header(BAND_DEFAULT);
  r.page_number_field({700, 0, 800, 50});
  r.end_page_header(BAND_DEFAULT, 100);
  for (int i = 1; i <= 36; ++i) row("R" + std::to_string(i), 100);  // 9 a page: pages 10..13
  r.end_report();
  ASSERT_EQ(r.count_pages(), 4);
  auto c = replay(2, 3);
  EXPECT_EQ(c.pages, (std::vector<int32_t>{11, 12}));
  std::vector<std::string> numbers;
  for (const auto& d : c.items)
    if (d.what == "number") numbers.push_back(d.text);
  EXPECT_EQ(numbers, (std::vector<std::string>{"11", "12"}));
  EXPECT_EQ(c.texts_on(11).front(), "R10");

  c = replay(1, 0, [](int32_t page, bool) { return page % 2 == 1; });
  EXPECT_EQ(c.pages, (std::vector<int32_t>{11, 13}));
  EXPECT_EQ(c.texts_on(13).front(), "R28");  // origins stay right on skipped pages

  c = replay(5, 9);  // beyond the last page
  EXPECT_TRUE(c.pages.empty());
  EXPECT_TRUE(c.items.empty());
}

TEST_F(layout, a_new_begin_report_starts_over_and_an_empty_report_has_no_pages) {
  begin();
  for (int i = 0; i < 30; ++i) row("old", 100);
  r.end_report();
  EXPECT_EQ(r.count_pages(), 3);
  begin();
  r.end_report();
  EXPECT_EQ(r.count_pages(), 0);
  EXPECT_EQ(r.file().size(), 4);
  EXPECT_TRUE(replay().pages.empty());
  begin();
  row("new", 100);
  r.end_report();
  EXPECT_EQ(r.count_pages(), 1);
  EXPECT_EQ(replay().texts_on(1), (std::vector<std::string>{"new"}));
}

TEST_F(layout, a_block_still_held_at_the_end_is_placed) {
  begin();
  r.begin_keep_together();
  row("held", 100);
  r.end_report();
  EXPECT_EQ(replay().texts_on(1), (std::vector<std::string>{"held"}));
}

TEST_F(layout, table_of_contents_entries_take_the_page_of_what_follows) {
  begin();
  bands();
  r.add_toc_entry(0, "1", "Kosztorys");
  row("a", 100);
  r.add_toc_entry(1, "1.1", std::string(300, 'x'));
  for (int i = 0; i < 7; ++i) row("b", 100);  // page 1 is full now
  r.add_space(r.remaining());
  r.add_toc_entry(0, "12345678901234567", "Zestawienie");
  row("c", 100);
  r.end_report();
  const auto& toc = r.toc_entries();
  ASSERT_EQ(toc.size(), 3u);
  EXPECT_EQ(toc[0].page_no, 1);
  EXPECT_EQ(toc[1].page_no, 1);
  EXPECT_EQ(toc[1].title.size(), 255u);
  EXPECT_EQ(toc[2].page_no, 2);
  EXPECT_EQ(toc[2].number, "1234567890123");
}

TEST_F(layout, raw_commands_reach_the_canvas_at_band_positions) {
  begin();
  r.select_pen(1);
  r.draw_rectangle({0, 0, 100, 50}, 0xFF);
  r.draw_round_rectangle({0, 0, 100, 50}, 10);
  r.draw_line(0, 10, 100, 20);
  r.draw_horizontal_line(0, 100, 30);
  r.draw_vertical_line(5, 0, 50);
  r.draw_arc({0, 0, 40, 40}, 40, 20, 0, 20);
  r.draw_text_vcentred("v", {0, 0, 100, 50});
  r.end_row(50);
  r.draw_line(0, 0, 1, 1);
  r.end_row(50);
  r.end_report();
  const auto c = replay();
  std::vector<std::string> kinds;
  for (const auto& d : c.items) kinds.push_back(d.what);
  EXPECT_EQ(kinds, (std::vector<std::string>{"rect", "round", "line", "line", "line", "arc", "vtext", "line"}));
  EXPECT_EQ(c.items[2].y, TOP + 10);
  EXPECT_EQ(c.items[3].y, TOP + 30);
  EXPECT_EQ(c.items.back().y, TOP + 50);
}

} // namespace
} // namespace kovra::report
