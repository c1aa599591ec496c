// The editing protocol of VL_editors_grid and the extra part of VL_extra_editors_grid.
#include "calc/decimal_separator.h"
#include "controls/extra_editors_grid.h"
#include "controls/multi_edit.h"
#include "controls/standard_edit.h"
#include "controls_support.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

namespace kovra::controls {
namespace {

using test::lambda_source;

void show_grid(VL_std_grid& g, lambda_source& src, int cols, int rows) {
  g.set_source(&src);
  g.use_screen_look();
  g.set_col_count(cols);
  g.set_row_count(rows);
  g.set_default_row_height(22);
  for (int c = 0; c < cols; ++c) g.set_col_widths(c, 70);
  g.resize(500, 300);
  g.show();
  QApplication::setActiveWindow(&g);
  g.setFocus();
  QApplication::processEvents();
}

// Columns 1 and 3 edit text, column 2 numbers, column 4 has no editor; (3,1) and (4,3) are
// answered as disabled, (1,3) refuses editing.
struct editing_fixture : ::testing::Test {
  VL_editors_grid g;
  lambda_source src;
  VL_line_edit* text1 = new VL_line_edit;
  VL_number_edit* number = new VL_number_edit;
  VL_line_edit* text3 = new VL_line_edit;

  void SetUp() override {
    src.answer = [](int col, int row, VL_cell& cell) {
      if (row == 0) return;
      cell.text = QString("%1,%2").arg(row).arg(col);
      if ((col == 3 && row == 1) || (col == 4 && row == 3)) cell.draw_flags |= df_disabled;
      if (cell.edited && col == 1 && row == 3) cell.draw_flags &= ~df_editable;
    };
    show_grid(g, src, 5, 4);
    g.set_editor(1, text1);
    g.set_editor(2, number);
    g.set_editor(3, text3);
  }
  std::pair<int, int> at() const { return {g.col(), g.row()}; }
};

TEST_F(editing_fixture, EnterEditsTabCommitsAndMovesToTheNextFreeCell) {
  g.set_current(3, 1);
  QTest::keyClick(&g, Qt::Key_Return);  // disabled: no edit
  EXPECT_FALSE(g.editing());

  g.set_current(1, 1);
  QTest::keyClick(&g, Qt::Key_Return);
  ASSERT_TRUE(g.editing());
  EXPECT_EQ(g.active_editor(), text1);
  EXPECT_TRUE(text1->isVisible());
  EXPECT_EQ(text1->geometry(), g.cell_rect(1, 1));
  EXPECT_EQ(text1->text(), "1,1");
  QTest::keyClicks(text1, "X");
  QTest::keyClick(text1, Qt::Key_Tab);
  EXPECT_FALSE(g.editing());
  EXPECT_FALSE(text1->isVisible());
  ASSERT_EQ(src.edits.size(), 1u);
  EXPECT_EQ(src.edits[0].text, "1,1X");
  EXPECT_EQ(at(), std::pair(2, 1));
  // From the grid, Tab passes over the disabled (3,1) to (4,1), then on to the next row.
  QTest::keyClick(&g, Qt::Key_Tab);
  EXPECT_EQ(at(), std::pair(4, 1));
  QTest::keyClick(&g, Qt::Key_Tab);
  EXPECT_EQ(at(), std::pair(1, 2));

  // In the last free cell of the last row Tab stays.
  g.set_current(3, 3);
  QTest::keyClick(&g, Qt::Key_F2);
  ASSERT_TRUE(g.editing());
  QTest::keyClick(text3, Qt::Key_Tab);
  EXPECT_FALSE(g.editing());
  EXPECT_EQ(at(), std::pair(3, 3));
}

TEST_F(editing_fixture, TypingStartsAnEditThatEscapeTakesBack) {
  g.set_current(1, 2);
  QTest::keyClick(&g, '+');  // dropped by the grid
  EXPECT_FALSE(g.editing());
  QTest::keyClick(&g, 'Q');
  ASSERT_TRUE(g.editing());
  EXPECT_EQ(text1->text(), "Q");  // the first character replaces the text
  QTest::keyClick(text1, Qt::Key_Escape);
  EXPECT_FALSE(g.editing());
  ASSERT_EQ(src.edits.size(), 1u);
  EXPECT_EQ(src.edits[0].text, "2,1");
  EXPECT_EQ(at(), std::pair(2, 2));

  // Up ends the edit and moves up a row.
  g.set_current(1, 2);
  QTest::keyClick(&g, Qt::Key_F2);
  QTest::keyClick(text1, Qt::Key_Up);
  EXPECT_FALSE(g.editing());
  EXPECT_EQ(at(), std::pair(1, 1));

  // A click on another cell ends the edit with its text and moves there.
  g.set_current(1, 2);
  QTest::keyClick(&g, Qt::Key_F2);
  ASSERT_TRUE(text1->hasFocus());
  QTest::keyClicks(text1, "m");
  QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, g.cell_rect(2, 3).center());
  EXPECT_FALSE(g.editing());
  EXPECT_EQ(src.edits.back().text, "2,1m");
  EXPECT_EQ(at(), std::pair(2, 3));
}

TEST_F(editing_fixture, TheOwnerAndTheColumnsDecideWhatMayBeEdited) {
  EXPECT_FALSE(g.can_edit(1, 3));  // the owner cleared the editable flag
  EXPECT_FALSE(g.can_edit(4, 1));  // no editor
  EXPECT_TRUE(g.can_edit(2, 1));
  g.UseDefaultEditor = true;
  EXPECT_TRUE(g.can_edit(4, 1));
  g.set_current(4, 1);
  EXPECT_TRUE(g.start_edit());
  EXPECT_NE(g.active_editor(), nullptr);
  QTest::keyClick(g.active_editor(), Qt::Key_Escape);
  EXPECT_FALSE(g.editing());

  QLineEdit plain;
  try {
    g.set_editor(4, &plain);
    FAIL();
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "Niedozwolony typ edytora w VL_editors_grid!");
  }
  // Number columns are right-aligned by default; the others end in an ellipsis.
  EXPECT_EQ(g.ask_cell(2, 1, QRect()).text_format, tf_right);
  EXPECT_EQ(g.ask_cell(1, 1, QRect()).text_format, tf_end_ellipsis);
  EXPECT_EQ(g.ask_cell(1, 0, QRect()).text_format, tf_word_wrap);
}

TEST_F(editing_fixture, StoredCellsMarksAndTheNumberCheck) {
  g.set_use_cells(true);
  g.set_use_checks(true);
  g.set_fixed_cols(1);
  g.SetCheckOnly(2);
  g.set_current(1, 1);
  ASSERT_TRUE(g.start_edit());
  EXPECT_FALSE(g.IsChecked());  // editing clears the marks
  QTest::keyClicks(text1, "ab");
  QTest::keyClick(text1, Qt::Key_Return);
  EXPECT_EQ(g.cells(1, 1), "1,1ab");

  // A number out of range keeps the edit open.
  QString shown;
  set_control_message_handler([&](QWidget*, const QString&, const QString& text) { shown = text; });
  calc::set_system_decimal_separator(',');
  number->Max = 100;
  g.set_current(2, 1);
  QTest::keyClick(&g, '5');
  QTest::keyClicks(number, "00");
  QTest::keyClick(number, Qt::Key_Tab);
  EXPECT_TRUE(shown.startsWith("Zbyt duża wartość."));
  EXPECT_TRUE(g.editing());
  QTest::keyClick(number, Qt::Key_Backspace);
  QTest::keyClick(number, Qt::Key_Tab);  // 50
  EXPECT_FALSE(g.editing());
  EXPECT_EQ(g.cells(2, 1), "50,00");  // written back in the display form
  EXPECT_EQ(src.edits.back().col, 2);
  set_control_message_handler(nullptr);
  calc::reset_system_decimal_separator();

  // The owner may send an ended edit elsewhere.
  struct redirecting : lambda_source {
    void select_next_cell(VL_editors_grid&, int, int, int& col, int& row, int) override {
      col = 1;
      row = 3;
    }
  } redirect;
  g.set_source(&redirect);
  g.set_current(1, 1);
  g.select_next_cell(Qt::Key_Tab);
  EXPECT_EQ(at(), std::pair(1, 3));
}

// Column 2 has an extra part of 16 pixels in rows 1 and 2.
struct extra_fixture : ::testing::Test {
  VL_extra_editors_grid g;
  lambda_source src;
  std::set<std::pair<int, bool>> asked;  // column 2 rows asked, with the part
  VL_line_edit* main_editor = new VL_line_edit;
  VL_line_edit* extra_editor = new VL_line_edit;

  void SetUp() override {
    src.answer = [this](int col, int row, VL_cell& cell) {
      if (row == 0 || col != 2) return;
      asked.insert({row, cell.extra});
      EXPECT_EQ(cell.extra, g.extra_cell());
      cell.text = cell.extra ? QString("basis %1").arg(row) : QString("desc %1").arg(row);
    };
    show_grid(g, src, 4, 4);
    g.set_editor(1, new VL_line_edit);
    g.set_editor(2, main_editor);
    g.set_extra_editor(extra_editor);
    g.set_extra_ed_col_number(2);
    g.set_extra_cell_heights(1, 16);
    g.set_extra_cell_heights(2, 16);
  }
  std::tuple<int, int, bool> at() const { return {g.col(), g.row(), g.extra_cell()}; }
};

TEST_F(extra_fixture, PaintingAsksForBothParts) {
  asked.clear();
  g.grab();
  EXPECT_EQ(asked, (std::set<std::pair<int, bool>>{{1, false}, {1, true}, {2, false}, {2, true}, {3, false}}));
  // The main part lies below the extra part.
  g.set_current_part(2, 1, true);
  ASSERT_TRUE(g.start_edit());
  EXPECT_EQ(g.active_editor(), extra_editor);
  EXPECT_EQ(extra_editor->geometry().height(), 16);
  EXPECT_EQ(extra_editor->geometry().top(), g.cell_rect(2, 1).top());
  QTest::keyClick(extra_editor, Qt::Key_Escape);
}

TEST_F(extra_fixture, KeysMoveBetweenTheParts) {
  g.set_current(1, 1);
  QTest::keyClick(&g, Qt::Key_Right);
  EXPECT_EQ(at(), std::tuple(2, 1, true));
  QTest::keyClick(&g, Qt::Key_Down);
  EXPECT_EQ(at(), std::tuple(2, 1, false));
  QTest::keyClick(&g, Qt::Key_Down);  // the next row's extra part
  EXPECT_EQ(at(), std::tuple(2, 2, true));
  QTest::keyClick(&g, Qt::Key_Up);  // from the extra part: the row above
  EXPECT_EQ(at(), std::tuple(2, 1, false));
  QTest::keyClick(&g, Qt::Key_Up);  // from the main part: its extra part
  EXPECT_EQ(at(), std::tuple(2, 1, true));
  QTest::keyClick(&g, Qt::Key_Right);
  EXPECT_EQ(at(), std::tuple(2, 1, false));
  g.set_current(2, 2);
  QTest::keyClick(&g, Qt::Key_Down);  // row 3 has no extra part
  EXPECT_EQ(at(), std::tuple(2, 3, false));
  // A row that loses its extra part takes the cursor out of it.
  g.set_current_part(2, 2, true);
  g.set_extra_cell_heights(2, 0);
  EXPECT_EQ(at(), std::tuple(2, 2, false));
}

TEST_F(extra_fixture, EditsEnterAndLeaveTheExtraPart) {
  g.set_current(1, 2);
  QTest::keyClick(&g, Qt::Key_Tab);  // forward into the extra part
  EXPECT_EQ(at(), std::tuple(2, 2, true));
  QTest::keyClick(&g, Qt::Key_Return);
  ASSERT_EQ(g.active_editor(), extra_editor);
  EXPECT_EQ(extra_editor->text(), "basis 2");
  QTest::keyClicks(extra_editor, "b");
  QTest::keyClick(extra_editor, Qt::Key_Return);
  ASSERT_EQ(src.edits.size(), 1u);
  EXPECT_TRUE(src.edits[0].extra);
  EXPECT_EQ(src.edits[0].text, "basis 2b");
  EXPECT_EQ(at(), std::tuple(2, 2, false));  // on to the main part
  QTest::keyClick(&g, Qt::Key_Return);
  EXPECT_EQ(g.active_editor(), main_editor);
  EXPECT_EQ(main_editor->text(), "desc 2");
  QTest::keyClick(main_editor, Qt::Key_Escape);
}

} // namespace
} // namespace kovra::controls
