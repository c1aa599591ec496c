// Table rows: measuring with re-flow, drawing, rules and the dot leader.
#include "shell/print_look.h"
#include "report/prt_item.h"
#include "report/raport.h"
#include "report/recording_canvas.h"
#include "report/report_qt_support.h"
#include "report/report_tables.h"

#include <gtest/gtest.h>

namespace kovra::report {
namespace {

TEST(reflow_text, cuts_after_operators_and_blanks_and_never_inside_a_word) {
  EXPECT_EQ(reflow_text("12*34+56", 3), "12* 34+ 56");
  EXPECT_EQ(reflow_text("1.25*3-4/5+6", 5), "1.25* 3-4/ 5+6");
  EXPECT_EQ(reflow_text("abcdefgh+ij", 3), "abcdefgh+ ij");  // no break within 3: runs on
  EXPECT_EQ(reflow_text("ab  cd", 3), "ab cd");
  EXPECT_EQ(reflow_text("abcdef", 2), "abcdef");
  EXPECT_EQ(reflow_text("", 4), "");
  EXPECT_EQ(reflow_text("a+b", 0), "a+ b");
}

class rows : public ::testing::Test {
protected:
  void SetUp() override {
    r.begin_report(0, 4000, nullptr, pen_table_from_look(shell::default_print_look()),
                   font_table_from_look(shell::default_print_look()), &test::measuring_device(600), 1, 96, 6000, 0);
  }
  static VL_prt_item cells(std::initializer_list<std::pair<std::string, int32_t>> list) {
    VL_prt_item item;
    item.clear();
    for (const auto& [text, width] : list) {
      item.cells[static_cast<std::size_t>(item.count)].text = text;
      item.cells[static_cast<std::size_t>(item.count)].width = width;
      ++item.count;
    }
    return item;
  }
  VL_raport r;
};

TEST_F(rows, a_long_formula_is_reflowed_after_its_operators_before_breaking_inside_words) {
  const std::string formula = "2*3.5+4.25*12-1/3*7+8*125.75-16.5*2.25+1234.5/7*3";
  VL_prt_item item = cells({{formula, 500}});
  const int32_t one_line = r.measure_lines(1, 3);
  const int32_t h = measure_row(r, item, 1, false, 500, -1, 0);
  EXPECT_GT(h, one_line);
  EXPECT_NE(item.cells[0].text, formula);
  EXPECT_NE(item.cells[0].text.find("* "), std::string::npos);
  // Only blanks were added.
  std::string without = item.cells[0].text;
  std::erase(without, ' ');
  EXPECT_EQ(without, formula);
}

TEST_F(rows, a_word_longer_than_its_cell_is_broken_inside_as_the_last_resort) {
  const std::string word = "Konstantynopolitanczykowianeczka";
  VL_prt_item item = cells({{word, 250}, {"x", 300}});
  const int32_t one_line = r.measure_lines(1, 3);
  const int32_t h = measure_row(r, item, 1, false, 550, -1, 0);
  EXPECT_TRUE(item.cells[0].format & DT_EDITCONTROL);
  EXPECT_GT(h, one_line);
  EXPECT_FALSE(item.cells[1].format & DT_EDITCONTROL);
}

// Breaking inside words is for words that do not fit: short words still break at their gaps.
TEST_F(rows, edit_control_breaking_keeps_short_words_whole) {
  r.select_font_now(3);
  const uint32_t format = DT_WORDBREAK | DT_LEFT | DT_EDITCONTROL;
  const int32_t ab = r.text_size("Ab", 1 << 20, DT_SINGLELINE).width();
  const int32_t cd = r.text_size("Cd", 1 << 20, DT_SINGLELINE).width();
  const int32_t width = r.text_size("Ab C", 1 << 20, DT_SINGLELINE).width() + 1;
  const QSize two_words = r.text_size("Ab Cd", width, format);
  EXPECT_LE(two_words.width(), std::max(ab, cd) + 1);  // "Ab" / "Cd", not "Ab C" / "d"
  EXPECT_EQ(two_words.height(), r.text_size("Ab\nCd", width, DT_WORDBREAK).height());
  // A word wider than the width is still cut to fit.
  EXPECT_LE(r.text_size("Konstantynopolitanczykowianeczka", 250, format).width(), 250);
}

TEST_F(rows, text_that_fits_is_left_alone_and_the_row_has_its_minimum_height) {
  VL_prt_item item = cells({{"  Beton  ", 1000}, {"m3", 400}});
  const int32_t padding = 20;
  const int32_t h = measure_row(r, item, 2, false, 1400, -1, padding);
  EXPECT_EQ(item.cells[0].text, "Beton");
  EXPECT_EQ(h, r.measure_lines(2, 3) + 2 * padding);
  EXPECT_EQ(item.rect.right, 1400);
  EXPECT_EQ(item.rect.bottom, h);
}

TEST_F(rows, stored_line_breaks_count_once) {
  VL_prt_item crlf = cells({{"Wykop\r\nfundamentowy", 2000}});
  VL_prt_item cr = cells({{"Wykop\rfundamentowy", 2000}});
  const int32_t two_lines = r.measure_lines(2, 3);
  EXPECT_EQ(measure_row(r, crlf, 1, false, 2000, -1, 0), two_lines);
  EXPECT_EQ(measure_row(r, cr, 1, false, 2000, -1, 0), two_lines);
}

TEST_F(rows, auto_widths_give_the_stretch_cell_the_rest) {
  VL_prt_item item = cells({{"1", 0}, {"Roboty ziemne", 0}, {"123,45", 0}});
  measure_row(r, item, 1, true, 3000, 1, 0);
  EXPECT_EQ(item.cells[0].width, r.measure_text_width("1", 3));
  EXPECT_EQ(item.cells[2].width, r.measure_text_width("123,45", 3));
  EXPECT_GT(item.cells[2].width, item.cells[0].width);
  EXPECT_EQ(item.cells[0].width + item.cells[1].width + item.cells[2].width, 3000);
}

TEST_F(rows, draw_row_records_rules_cells_and_the_outer_frame) {
  VL_prt_item item = cells({{"a", 300}, {"", 0}, {"b", 400}, {"c", 200}});
  item.cells[3].rule_after = false;
  const int32_t h = draw_row(r, item, 0, true, 10);
  r.end_row(h);
  r.end_report();
  test::recording_canvas c;
  r.replay(c, false, {}, 0, 1);
  std::vector<int32_t> lines_x;
  std::vector<std::string> texts;
  for (const auto& d : c.items) {
    if (d.what == "line") lines_x.push_back(d.x);
    if (d.what == "text") {
      texts.push_back(d.text);
      EXPECT_EQ(d.bottom - d.y, h - 2 * 10);  // padding as the vertical inset
    }
  }
  // Rules after a and b (the empty zero-width cell is skipped), then the frame at 0 and 900.
  EXPECT_EQ(lines_x, (std::vector<int32_t>{300, 700, 0, 900}));
  EXPECT_EQ(texts, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(c.find_text("a")->x, CELL_INSET);  // the horizontal inset
}

TEST_F(rows, rules_and_row_lines) {
  VL_prt_item item = cells({{"a", 300}, {"b", 400}, {"c", 200}});
  item.cells[1].rule_after = false;
  measure_row(r, item, 1, false, 900, -1, 0);
  draw_row_rules(r, item, 0, 100);
  draw_row_line(r, item, 100);
  r.end_row(100);
  r.end_report();
  test::recording_canvas c;
  r.replay(c, false, {}, 0, 1);
  std::vector<int32_t> xs;
  for (const auto& d : c.items) xs.push_back(d.x);
  // Inner rule after a only (b has none, c's is the outer edge), outer edges, then the line.
  EXPECT_EQ(xs, (std::vector<int32_t>{300, 0, 900, 0}));
  EXPECT_EQ(c.items.back().y, 100);
}

TEST_F(rows, the_dot_leader_fills_the_cell_unless_the_text_is_long_already) {
  VL_prt_item item = cells({{"Spis", 2000}, {"12", 300}});
  item.cells[0].format = DT_SINGLELINE | DT_LEFT;
  draw_row_with_leader(r, item, 0, 0, false, 0);
  const std::string& text = item.cells[0].text;
  ASSERT_GT(text.size(), 10u);
  EXPECT_EQ(text.substr(0, 6), "Spis. ");
  EXPECT_EQ(text.back(), '.');
  r.select_font_now(3);
  const int32_t leader = r.text_size(text.substr(4), 1 << 24, DT_SINGLELINE).width();
  EXPECT_GE(leader, 2000 * 9 / 10);
  EXPECT_LE(leader, 2000 * 12 / 10);

  const std::string long_text(400, 'x');
  VL_prt_item full = cells({{long_text, 2000}});
  full.cells[0].format = DT_SINGLELINE;
  draw_row_with_leader(r, full, 0, 0, false, 0);
  EXPECT_EQ(full.cells[0].text, long_text);
}

TEST(prt_item, clear_restores_the_cell_defaults) {
  VL_prt_item item;
  item.cells[4] = {"x", 100, false, DT_CENTER, 5};
  item.count = 5;
  item.clear();
  EXPECT_EQ(item.count, 0);
  EXPECT_EQ(item.cells[4].text, "");
  EXPECT_EQ(item.cells[4].width, 0);
  EXPECT_TRUE(item.cells[4].rule_after);
  EXPECT_EQ(item.cells[4].format, DT_WORDBREAK | DT_LEFT);
  EXPECT_EQ(item.cells[4].font, 3);
}

} // namespace
} // namespace kovra::report
