#include "views/overhead_summary_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include "calc/number_text.h"
#include "calc/result_summaries.h"
#include "controls/std_grid.h"
#include "views/estimate_values.h"
#include "views/summary_rows.h"
#include "views/view_host.h"

namespace kovra::views {

using namespace controls;

Tdlg_zest_sub::Tdlg_zest_sub(QWidget* parent) : TTabForm(parent) {
  setObjectName("Tdlg_zest_sub");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  grid_ = new VL_std_grid(this);
  grid_->set_source(this);
  grid_->use_screen_look();
  grid_->set_col_count(3);
  grid_->set_fixed_cols(0);
  grid_->set_row_count(2);
  grid_->set_fixed_rows(1);
  grid_->set_auto_row_height(true);
  empty_ = new QLabel("Brak danych", this);
  empty_->setAlignment(Qt::AlignCenter);
  layout->addWidget(grid_, 1);
  layout->addWidget(empty_, 1);
  set_lines({});
}

void Tdlg_zest_sub::set_lines(std::vector<QStringList> lines) {
  lines_ = std::move(lines);
  grid_->setVisible(!lines_.empty());
  empty_->setVisible(lines_.empty());
  grid_->DontUpdateView();
  grid_->set_row_count(1 + int(lines_.size()));
  const QFont f = grid_->font();
  int w0 = grid_->grid_cell_width(f, "Rozdział"), w2 = grid_->grid_cell_width(f, "-99 999 999,99");
  for (const QStringList& l : lines_) {
    w0 = std::max(w0, grid_->grid_cell_width(f, l[0]));
    w2 = std::max(w2, grid_->grid_cell_width(f, l[2]));
  }
  grid_->set_col_widths(0, std::min(w0 + 8, 300));
  grid_->set_col_widths(2, w2);
  grid_->set_col_widths(1, grid_->grid_cell_width(f, "  Formuła narzutu  "));
  grid_->set_align_col_number(1);
  grid_->UpdateView();
}

void Tdlg_zest_sub::set_cell_data(VL_std_grid&, int col, int row, VL_cell& cell) {
  static const char* titles[] = {"Rozdział", "  Formuła narzutu  ", "Kwota"};
  if (row == 0) {
    cell.text = titles[col];
    cell.text_format = tf_center | tf_vcenter | tf_single_line;
    return;
  }
  if (row - 1 >= int(lines_.size())) return;
  cell.text = lines_[size_t(row - 1)][col];
  if (col == 2) cell.text_format = tf_right;
}

Tfrm_zest_N::Tfrm_zest_N(view_host& host, QWidget* parent) : TTabForm(parent), host_(host) {
  setObjectName("Tfrm_zest_N");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  auto* panel = new QHBoxLayout;
  panel->setContentsMargins(4, 2, 4, 0);
  btn_details_ = new QToolButton(this);
  btn_details_->setObjectName("btn_details");
  btn_details_->setText("Pokaż szczegóły");
  btn_details_->setCheckable(true);
  btn_details_->setAutoRaise(true);
  panel->addWidget(btn_details_);
  panel->addStretch();
  layout->addLayout(panel);
  auto* splitter = new QSplitter(Qt::Vertical, this);
  grid_ = new VL_std_grid(splitter);
  grid_->set_source(this);
  grid_->use_screen_look();
  grid_->set_col_count(2);
  grid_->set_fixed_cols(0);
  grid_->set_row_count(2);
  grid_->set_fixed_rows(1);
  grid_->set_row_select(true);
  details_ = new Tdlg_zest_sub(splitter);
  details_->hide();
  splitter->addWidget(grid_);
  splitter->addWidget(details_);
  layout->addWidget(splitter, 1);
  auto* menu = new QMenu(this);
  QAction* toggle = menu->addAction("&Pokaż szczegóły");
  toggle->setCheckable(true);
  grid_->set_popup_menu(0, menu);
  connect(btn_details_, &QToolButton::toggled, this, [this](bool on) { show_details(on); });
  connect(toggle, &QAction::triggered, this, [this] { show_details(!details_shown()); });
  connect(menu, &QMenu::aboutToShow, this, [this, toggle] { toggle->setChecked(details_shown()); });
  connect(grid_, &VL_std_grid::current_changed, this, [this](int, int row) {
    if (details_shown()) select_row(row);
  });
}

void Tfrm_zest_N::activate(int stage) {
  TTabForm::activate(stage);
  if (stage == 0) fill();
}

void Tfrm_zest_N::values_changed() { fill(); }

void Tfrm_zest_N::fill() {
  rows_.clear();
  chapters_ = 0;
  if (const compound_values* c = host_.compound()) {
    for (const calc::chapter_model& ch : c->model.chapters) chapters_ += ch.available ? 1 : 0;
    if (chapters_ > 0) {
      const calc::compound_model& m = c->model;
      double own_additions = 0;
      for (const calc::addition& a : m.additions) own_additions += a.amount;
      for (const calc::overhead_summary_line& l : calc::compound_overhead_summary(m, c->result)) {
        QString title = screen_text(l.title);
        if (l.row == calc::row_vat && own_additions != 0) title += " (bez VAT od dodatków globalnych)";
        rows_.push_back({title, trimmed(calc::text_money(l.amount))});
      }
    }
  }
  btn_details_->setEnabled(chapters_ > 0);
  if (chapters_ == 0) show_details(false);
  grid_->DontUpdateView();
  grid_->set_row_count(1 + std::max(1, int(rows_.size())));
  const QFont f = grid_->font();
  grid_->set_col_widths(1, grid_->grid_cell_width(f, "-99 999 999,99"));
  grid_->set_col_widths(0, 300);
  grid_->set_align_col_number(0);
  grid_->UpdateView();
  if (details_shown()) select_row(std::max(1, grid_->row()));
}

bool Tfrm_zest_N::details_shown() const { return !details_->isHidden(); }

void Tfrm_zest_N::show_details(bool on) {
  on = on && chapters_ > 0;
  details_->setVisible(on);
  btn_details_->setChecked(on);
  if (on) select_row(std::max(1, grid_->row()));
}

void Tfrm_zest_N::select_row(int row) {
  std::vector<QStringList> lines;
  const compound_values* c = host_.compound();
  if (c && row >= 1 && row <= calc::row_vat) {
    const calc::compound_model& m = c->model;
    double sum = 0;
    for (const calc::chapter_formula_line& l : calc::chapter_formulas(m, c->result, row)) {
      // As the tree names the chapter: its number, two blanks, its name.
      QString chapter = screen_text(l.chapter_number);
      if (!l.chapter_name.empty()) chapter += "  " + screen_text(l.chapter_name);
      if (row >= 5 && row <= 9 && !l.row_name.empty()) chapter += " <" + screen_text(l.row_name) + ">";
      lines.push_back({chapter, screen_text(l.formula), trimmed(calc::text_money(l.amount))});
      sum += l.amount;
    }
    if (!lines.empty()) lines.push_back({"Razem:", "", trimmed(calc::text_money(sum))});
  }
  details_->set_lines(std::move(lines));
}

void Tfrm_zest_N::set_cell_data(VL_std_grid& grid, int col, int row, VL_cell& cell) {
  if (row == 0) {
    cell.text = col == 0 ? "Opis" : "Kwota";
    cell.text_format = tf_center | tf_vcenter | tf_single_line;
    return;
  }
  if (rows_.empty()) {
    if (col == 0) {
      cell.rect.setRight(grid.cell_rect(1, row).right());
      cell.text = "Brak rozdziałów.";
      cell.text_format = tf_center | tf_vcenter | tf_single_line;
    } else {
      cell.cell_state = 0;
    }
    return;
  }
  if (row - 1 >= int(rows_.size())) return;
  cell.text = rows_[size_t(row - 1)][col];
  cell.text_format = tf_vcenter | tf_single_line | (col == 1 ? tf_right : 0);
}

} // namespace kovra::views
