// VL_std_grid: drawing only what is shown, the cell protocol's defaults and colours, row
// heights, column widths, keyboard moves and row marks.
#include "controls/std_grid.h"
#include "controls_support.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>

namespace kovra::controls {
namespace {

using test::lambda_source;

// A shown grid of `rows` rows (row 0 the header) and `cols` columns (column 0 fixed).
void setup(VL_std_grid& g, lambda_source& src, int cols, int rows, QSize size = {400, 300}) {
  g.set_source(&src);
  g.use_screen_look();
  g.set_col_count(cols);
  g.set_row_count(rows);
  g.set_fixed_cols(1);
  g.set_fixed_rows(1);
  g.set_default_row_height(20);
  for (int c = 0; c < cols; ++c) g.set_col_widths(c, 60);
  g.resize(size);
  g.show();
  QApplication::setActiveWindow(&g);
  g.setFocus();
  QApplication::processEvents();
}

TEST(StdGrid, PaintsOnlyTheRowsShown) {
  VL_std_grid g;
  lambda_source src;
  src.answer = [](int, int row, VL_cell& cell) { cell.text = QString::number(row); };
  setup(g, src, 4, 10001);
  const int page = g.visible_row_count();
  ASSERT_GT(page, 5);
  ASSERT_LT(page, 15);  // 300 pixels of 21-pixel rows

  auto rows_painted = [&] {
    src.asked_rows.clear();
    g.grab();
    return std::set<int>(src.asked_rows.begin(), src.asked_rows.end());
  };
  std::set<int> rows = rows_painted();
  EXPECT_EQ(*rows.begin(), 0);
  EXPECT_LE(*rows.rbegin(), page + 1);  // the header, the page and a part row
  EXPECT_LE(int(rows.size()), page + 2);

  g.set_top_row(5000);
  rows = rows_painted();
  EXPECT_TRUE(rows.count(0));  // the header stays
  EXPECT_EQ(*std::next(rows.begin()), 5000);
  EXPECT_LE(*rows.rbegin(), 5000 + page);
  EXPECT_LE(int(rows.size()), page + 2);

  // Page Down moves the current row and the top row by a page.
  g.set_current(1, 5000);
  QTest::keyClick(&g, Qt::Key_PageDown);
  EXPECT_EQ(g.row(), 5000 + page);
  EXPECT_EQ(g.top_row(), 5000 + page);
  // The last page: Ctrl+End makes the last row current and shows it.
  QTest::keyClick(&g, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(g.row(), 10000);
  EXPECT_TRUE(g.is_visible_current_row());
  EXPECT_EQ(g.top_row(), 10000 - page + 1);
}

TEST(StdGrid, ArrowKeysWrapBetweenRowsAndStayOffTheHeader) {
  VL_std_grid g;
  lambda_source src;
  setup(g, src, 4, 6);
  g.set_current(3, 2);
  QTest::keyClick(&g, Qt::Key_Right);  // last column: first data column of the next row
  EXPECT_EQ(std::pair(g.col(), g.row()), std::pair(1, 3));
  QTest::keyClick(&g, Qt::Key_Left);  // first data column: last column of the row before
  EXPECT_EQ(std::pair(g.col(), g.row()), std::pair(3, 2));
  g.set_current(1, 1);
  QTest::keyClick(&g, Qt::Key_Left);  // the row before is the header
  QTest::keyClick(&g, Qt::Key_Up);
  EXPECT_EQ(std::pair(g.col(), g.row()), std::pair(1, 1));
  QTest::keyClick(&g, Qt::Key_End);
  QTest::keyClick(&g, Qt::Key_Down);
  EXPECT_EQ(std::pair(g.col(), g.row()), std::pair(3, 2));
  QTest::keyClick(&g, Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClick(&g, Qt::Key_Home);
  EXPECT_EQ(std::pair(g.col(), g.row()), std::pair(1, 1));
  QTest::keyClick(&g, Qt::Key_Right);  // an ordinary move
  EXPECT_EQ(std::pair(g.col(), g.row()), std::pair(2, 1));

  // An owner that forbids a cell keeps the cursor where it is.
  struct refusing : lambda_source {
    bool can_select_cell(VL_std_grid&, int col, int) override { return col != 3; }
  } no3;
  g.set_source(&no3);
  QTest::keyClick(&g, Qt::Key_Right);
  EXPECT_EQ(g.col(), 2);

  // Moving past the right edge scrolls the columns; the fixed column stays.
  g.set_row_count(6);
  g.set_col_count(12);
  for (int c = 0; c < 12; ++c) g.set_col_widths(c, 60);
  g.set_current(11, 2);
  EXPECT_GT(g.left_col(), 1);
  const QRect last = g.cell_rect(11, 2);
  ASSERT_FALSE(last.isEmpty());
  EXPECT_LE(last.right(), g.viewport()->width());
  EXPECT_EQ(g.cell_rect(0, 2).left(), 0);
  QTest::keyClick(&g, Qt::Key_Right);  // wraps to the first data column, scrolled back
  EXPECT_EQ(std::pair(g.col(), g.row()), std::pair(1, 3));
  EXPECT_EQ(g.left_col(), 1);

  // A grid left with its header alone keeps its fixed row for the rows that come back.
  g.set_row_count(1);
  g.grab();
  QTest::keyClick(&g, Qt::Key_Down);
  EXPECT_FALSE(g.set_current(1, 1));
  g.set_row_count(4);
  EXPECT_EQ(g.fixed_rows(), 1);
  EXPECT_TRUE(g.set_current(1, 3));
}

TEST(StdGrid, DefaultAnswersAndTheirColours) {
  VL_std_grid g;
  std::vector<std::tuple<int, int, int, int>> seen;  // col, row, type, flags as the grid preset them
  lambda_source src;
  src.answer = [&](int col, int row, VL_cell& cell) {
    seen.emplace_back(col, row, cell.cell_type, cell.draw_flags);
    EXPECT_EQ(cell.cell_state, 63);
    EXPECT_EQ(cell.text_format, tf_word_wrap);
  };
  setup(g, src, 4, 6);
  g.set_current(2, 3);
  ASSERT_TRUE(g.hasFocus());
  auto preset = [&](int col, int row) {
    seen.clear();
    g.ask_cell(col, row, QRect());
    return std::pair(std::get<2>(seen.at(0)), std::get<3>(seen.at(0)));
  };
  EXPECT_EQ(preset(1, 0), std::pair(ct_header, df_fixed));  // a header cell
  EXPECT_EQ(preset(0, 0), std::pair(ct_header, df_fixed));
  EXPECT_EQ(preset(0, 3), std::pair(ct_basic, df_fixed));  // the fixed column
  EXPECT_EQ(preset(2, 3), std::pair(ct_basic, df_selected | df_focused));
  EXPECT_EQ(preset(1, 3), std::pair(ct_basic, 0));
  g.set_row_select(true);
  EXPECT_EQ(preset(1, 3), std::pair(ct_basic, df_selected | df_focused));
  g.clearFocus();
  EXPECT_EQ(preset(3, 3), std::pair(ct_basic, df_selected));

  const auto& el = screen_elements();
  VL_cell cell;
  cell.cell_type = ct_element;
  cell.draw_flags = df_disabled;  // only the background of "Pole niedostępne" for other kinds
  TEXT_ELEM te = g.element_for(cell);
  EXPECT_EQ(te.text, el[elem_element_name].text);
  EXPECT_EQ(te.background, el[elem_unavailable].background);
  EXPECT_EQ(te.font, el[elem_element_name].font);
  cell.cell_type = ct_basic;
  te = g.element_for(cell);
  EXPECT_EQ(te.text, el[elem_unavailable].text);
  cell.draw_flags = df_fixed | df_selected;  // 1 is applied after 4
  EXPECT_EQ(g.element_for(cell).background, el[elem_highlighted].background);
  cell.draw_flags = df_selected | df_focused | df_disabled;  // 2 last of all
  EXPECT_EQ(g.element_for(cell).background, el[elem_active].background);
  EXPECT_EQ(g.element_for(cell).text, el[elem_active].text);
  cell.draw_flags = 0;
  cell.cell_type = ct_group;
  EXPECT_EQ(g.element_for(cell).font, el[elem_group_name].font);
  cell.cell_type = ct_blocked;
  EXPECT_EQ(g.element_for(cell).font, el[elem_blocked].font);
}

TEST(StdGrid, AutomaticRowHeights) {
  VL_std_grid g;
  lambda_source src;
  QString long_text;
  src.answer = [&](int col, int row, VL_cell& cell) {
    if (row == 2 && col == 2) cell.text = "a\nb\nc";
    if (row == 3 && col == 1) cell.text = long_text;
  };
  setup(g, src, 4, 6);
  g.set_auto_row_height(true);
  g.UpdateView();
  const int line = screen_fonts()[std::size_t(screen_elements()[elem_basic].font)].line_height;
  EXPECT_EQ(g.get_row_heights(1), line + 4);  // all cells empty: one line and 4 pixels
  EXPECT_EQ(g.get_row_heights(2), 3 * line + 4);
  EXPECT_EQ(g.get_row_heights(0), 20);  // the header keeps its height

  long_text = "word word word word word word word word word word word";  // wraps in 60 pixels
  g.UpdateView(3, 3);
  EXPECT_GT(g.get_row_heights(3), 3 * line + 4);

  g.set_min_row_height(40);
  g.UpdateView();
  EXPECT_EQ(g.get_row_heights(1), 40);
  EXPECT_EQ(g.get_row_heights(2), std::max(40, 3 * line + 4));

  // While updating is off, nothing is asked.
  g.DontUpdateView();
  src.asked_rows.clear();
  g.grab();
  EXPECT_TRUE(src.asked_rows.empty());
}

TEST(StdGrid, TheAlignColumnTakesTheRestButKeepsItsMinimum) {
  VL_std_grid g;
  lambda_source src;
  setup(g, src, 4, 3, {500, 200});
  g.set_col_widths(2, 100);
  g.set_align_col_number(2);
  EXPECT_EQ(g.align_col_min_width(), 100);
  // Client width less the other three columns and one line per column.
  EXPECT_EQ(g.get_col_widths(2), g.viewport()->width() - 3 * 60 - 4);
  g.resize(220, 200);
  QApplication::processEvents();
  EXPECT_EQ(g.get_col_widths(2), 100);
  // An explicit width becomes the minimum.
  g.set_col_widths(2, 120);
  EXPECT_EQ(g.align_col_min_width(), 120);
  EXPECT_EQ(g.get_col_widths(2), 120);
  g.set_col_widths(1, -5);
  EXPECT_EQ(g.get_col_widths(1), -1);
}

TEST(StdGrid, RowMarksAndHeaderClicksByMouse) {
  VL_std_grid g;
  lambda_source src;
  setup(g, src, 4, 12, {400, 400});
  g.set_use_checks(true);
  QSignalSpy ranges(&g, &VL_std_grid::OnCheckChanged);
  QSignalSpy rows(&g, &VL_std_grid::OnCheckRowChanged);
  auto click = [&](int col, int row, Qt::KeyboardModifiers mods = {}) {
    QTest::mouseClick(g.viewport(), Qt::LeftButton, mods, g.cell_rect(col, row).center());
  };
  auto last_range = [&] {
    auto r = ranges.takeLast().at(0).value<TRange>();
    return std::pair(r.first, r.last);
  };
  click(0, 5);
  EXPECT_EQ(last_range(), std::pair(5, 5));
  click(0, 8, Qt::ShiftModifier);
  EXPECT_EQ(last_range(), std::pair(6, 8));
  for (int r = 1; r < 12; ++r) EXPECT_EQ(g.get_checks(r), r >= 5 && r <= 8) << r;
  EXPECT_EQ(g.checked_count(), 4);
  click(2, 6, Qt::ControlModifier);  // a marked row, anywhere
  EXPECT_FALSE(g.get_checks(6));
  EXPECT_EQ(last_range(), std::pair(6, 6));
  EXPECT_EQ(g.checked_count(), 3);
  rows.clear();
  click(2, 2);  // a data cell of an unmarked row
  EXPECT_FALSE(g.IsChecked());
  EXPECT_EQ(last_range(), std::pair(0, 11));
  EXPECT_EQ(rows.count(), 3);  // one report per row that changed
  // A right click never counts (but makes the cell current).
  click(0, 3);
  QTest::mouseClick(g.viewport(), Qt::RightButton, {}, g.cell_rect(2, 9).center());
  EXPECT_TRUE(g.get_checks(3));
  EXPECT_EQ(std::pair(g.col(), g.row()), std::pair(2, 9));

  // Header clicks are reported; like any click that marks nothing, they clear the marks.
  QSignalSpy heads(&g, &VL_std_grid::OnClickHead);
  QSignalSpy double_heads(&g, &VL_std_grid::OnDblClickHead);
  click(2, 0);
  ASSERT_EQ(heads.count(), 1);
  EXPECT_EQ(heads.at(0).at(0).toInt(), 2);
  QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, g.cell_rect(3, 0).center());
  ASSERT_EQ(double_heads.count(), 1);
  EXPECT_EQ(double_heads.at(0).at(0).toInt(), 3);
  EXPECT_FALSE(g.IsChecked());
}

TEST(StdGrid, StoredCellsAndMarksOnlyWhenSwitchedOn) {
  VL_std_grid g;
  try {
    g.cells(1, 1);
    FAIL();
  } catch (const std::logic_error& e) {
    EXPECT_STREQ(e.what(), "Próba użycia VL_std_grid->Cells przy wyłączonym UseCells!");
  }
  try {
    g.get_checks(1);
    FAIL();
  } catch (const std::logic_error& e) {
    EXPECT_STREQ(e.what(), "Próba użycia VL_std_grid->Checks przy wyłączonym UseChecks!");
  }
  g.set_use_cells(true);
  g.set_cells(2, 3, "x");
  EXPECT_EQ(g.cells(2, 3), "x");
  EXPECT_EQ(g.ask_cell(2, 3, QRect()).text, "x");  // the stored text is the default answer
}

// Without fixed columns or rows the first column and row are the left and top ones and are
// drawn; a grid scrolled sideways keeps its place when the fixed count changes.
TEST(StdGrid, NoFixedColumnsOrRowsShowsTheFirstOnes) {
  VL_std_grid g;
  lambda_source src;
  std::set<int> cols;
  src.answer = [&cols](int col, int, VL_cell& cell) { cols.insert(col); cell.text = "x"; };
  setup(g, src, 6, 20);
  g.set_fixed_cols(0);
  g.set_fixed_rows(0);
  EXPECT_EQ(g.left_col(), 0);
  EXPECT_EQ(g.top_row(), 0);
  cols.clear();
  src.asked_rows.clear();
  g.grab();
  EXPECT_TRUE(cols.count(0));
  EXPECT_EQ(*std::min_element(src.asked_rows.begin(), src.asked_rows.end()), 0);
  g.set_fixed_cols(1);
  EXPECT_EQ(g.left_col(), 1);
  g.set_left_col(3);
  g.set_fixed_cols(0);
  EXPECT_EQ(g.left_col(), 3);
}

} // namespace
} // namespace kovra::controls
