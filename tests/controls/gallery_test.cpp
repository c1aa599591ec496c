// Pictures of the grids and editors: saved as PNG files when KOVRA_SCREENSHOT_DIR is set;
// without it the widgets are still drawn and checked for a size.
#include "controls/apply_look.h"
#include "controls/combo.h"
#include "controls/extra_editors_grid.h"
#include "controls/multi_edit.h"
#include "controls/page_ctrl.h"
#include "controls/standard_edit.h"
#include "controls/sum_panel.h"
#include "controls_support.h"

#include <QApplication>
#include <QDir>
#include <QFormLayout>
#include <QPixmap>

#include <gtest/gtest.h>

namespace kovra::controls {
namespace {

using test::lambda_source;

void save(QWidget& w, const char* name) {
  QApplication::processEvents();
  const QPixmap pic = w.grab();
  EXPECT_FALSE(pic.isNull()) << name;
  EXPECT_GT(pic.width(), 0) << name;
  const QString dir = qEnvironmentVariable("KOVRA_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  EXPECT_TRUE(pic.save(dir + "/" + name + ".png")) << name;
}

// Rows of an estimate-like table: a group, an element, positions, a blocked one.
void sample_answer(int col, int row, VL_cell& cell) {
  static const char* heads[] = {"", "Numer", "Opis", "Ilość", "Jedn.", "Wartość"};
  if (row == 0) {
    cell.text = heads[col];
    cell.text_format = tf_center | tf_vcenter | tf_single_line;
    return;
  }
  if (col == 0) {
    cell.text = QString::number(row);
    cell.text_format = tf_right;
    return;
  }
  const int kind = row % 6;
  if (kind == 1) {
    cell.cell_type = ct_group;
    if (col == 2) cell.text = "Roboty ziemne";
  } else if (kind == 2) {
    cell.cell_type = ct_element;
    if (col == 2) cell.text = "Wykopy fundamentowe";
  } else {
    if (kind == 5) cell.cell_type = ct_blocked;
    switch (col) {
    case 1: cell.text = QString("%1.%2").arg(row / 6 + 1).arg(kind); break;
    case 2: cell.text = "Wykopy ręczne w gruncie kat. III z transportem urobku na odległość do 1 km"; break;
    case 3: cell.text = "12,500"; cell.text_format = tf_right; break;
    case 4: cell.text = "m3"; break;
    case 5: cell.text = QString("%1,%2").arg(row * 137).arg(row % 100, 2, 10, QChar('0')); cell.text_format = tf_right; break;
    }
  }
}

void sample_grid(VL_std_grid& g, lambda_source& src) {
  src.answer = sample_answer;
  g.set_source(&src);
  apply_screen_look(&g);
  g.set_col_count(6);
  g.set_row_count(40);
  const int widths[] = {30, 50, 200, 70, 40, 80};
  for (int c = 0; c < 6; ++c) g.set_col_widths(c, widths[c]);
  g.set_align_col_number(2);
  g.set_auto_row_height(true);
  g.resize(560, 360);
  g.show();
  g.UpdateView();
}

TEST(gallery, Grids) {
  VL_std_grid std_grid;
  lambda_source src1;
  sample_grid(std_grid, src1);
  std_grid.set_use_checks(true);
  std_grid.SetCheckOnly(3);
  std_grid.SetCheckUpTo(4);
  std_grid.set_sort_col_number(1);
  std_grid.set_row_select(true);
  std_grid.set_current(1, 6);
  save(std_grid, "controls_std_grid");

  VL_editors_grid ed_grid;
  lambda_source src2;
  sample_grid(ed_grid, src2);
  ed_grid.set_editor(2, new VL_multi_edit);
  auto* quantity = new VL_number_edit;
  quantity->set_char_range("0123456789-,");
  ed_grid.set_editor(3, quantity);
  apply_screen_look(&ed_grid);
  ed_grid.set_current(3, 4);
  ed_grid.start_edit();
  save(ed_grid, "controls_editors_grid");

  VL_extra_editors_grid extra;
  lambda_source src3;
  sample_grid(extra, src3);
  src3.answer = [](int col, int row, VL_cell& cell) {
    sample_answer(col, row, cell);
    if (cell.extra) {
      cell.text = QString("KNR 2-01 0%1-0%2").arg(row % 9 + 1).arg(row % 4 + 1);
      cell.cell_type = ct_browsed;
    }
  };
  extra.set_extra_ed_col_number(2);
  extra.set_extra_editor(new VL_line_edit);
  extra.set_editor(2, new VL_multi_edit);
  apply_screen_look(&extra);
  for (int r = 3; r < 40; r += 6)
    for (int k = 0; k < 3; ++k) extra.set_extra_cell_heights(r + k, screen_fonts()[3].line_height + 4);
  extra.UpdateView();
  extra.set_current_part(2, 4, true);
  save(extra, "controls_extra_editors_grid");
}

TEST(gallery, Editors) {
  QWidget form;
  auto* layout = new QFormLayout(&form);
  auto* line = new VL_line_edit;
  line->setText("Budynek mieszkalny");
  auto* number = new VL_number_edit;
  number->set_value(1234567.5);
  auto* multi = new VL_multi_edit;
  multi->set_text("Roboty budowlane\nwraz z transportem");
  multi->setFixedHeight(60);
  auto* combo = new VL_combo;
  combo->addItems({"Kalkulacja uproszczona", "Kalkulacja szczegółowa"});
  auto* list = new VL_list_box;
  list->addItems({"Robocizna", "Materiały", "Sprzęt"});
  list->setFixedHeight(70);
  auto* panel = new VL_sum_panel;
  auto* pages = new VL_page_ctrl;
  pages->addTab(new QWidget, "Pozycje");
  pages->addTab(new QWidget, "Nakłady");
  pages->addTab(new QWidget, "Narzuty");
  pages->setFixedHeight(60);
  layout->addRow("Nazwa:", line);
  layout->addRow("Ilość:", number);
  layout->addRow("Opis:", multi);
  layout->addRow("Metoda:", combo);
  layout->addRow("Zestawienie:", list);
  layout->addRow("Suma:", panel);
  layout->addRow(pages);
  apply_screen_look(&form);
  panel->set_caption("Wartość: 1 234,56");
  form.resize(420, 380);
  form.show();
  QApplication::setActiveWindow(&form);
  line->setFocus();
  save(form, "controls_editors");
}

} // namespace
} // namespace kovra::controls
