#include "views/results_view.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cmath>
#include <cstdio>

#include "calc/decimal_separator.h"
#include "calc/number_text.h"
#include "calc/result_summaries.h"
#include "controls/std_grid.h"
#include "views/estimate_values.h"
#include "views/summary_rows.h"
#include "views/view_host.h"

namespace kovra::views {

using namespace controls;

Tfrm_wyniki::Tfrm_wyniki(view_host& host, bool compound, QWidget* parent)
    : TTabForm(parent), host_(host), compound_(compound) {
  setObjectName(compound ? "Tfrm_wynikiM" : "Tfrm_wynikiS");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  title_ = new QLabel(this);
  title_->setObjectName("pnl_title");
  title_->setAlignment(Qt::AlignCenter);
  QFont f = title_->font();
  f.setBold(true);
  if (f.pixelSize() > 0) f.setPixelSize(f.pixelSize() * 13 / 10);
  else f.setPointSizeF(f.pointSizeF() * 1.3);
  title_->setFont(f);
  title_->setContentsMargins(4, 6, 4, 6);
  layout->addWidget(title_);
  grid_ = new VL_std_grid(this);
  grid_->setObjectName("grid_statystyka");
  grid_->set_source(this);
  grid_->use_screen_look();
  grid_->set_col_count(4);
  grid_->set_fixed_cols(0);
  grid_->set_row_count(2);
  grid_->set_fixed_rows(1);
  grid_->set_row_select(true);
  layout->addWidget(grid_, 1);
  grid_->installEventFilter(this);
}

QString Tfrm_wyniki::title() const { return title_->text(); }

void Tfrm_wyniki::activate(int stage) {
  TTabForm::activate(stage);
  if (stage == 0) fill();
}

void Tfrm_wyniki::values_changed() { fill(); }

void Tfrm_wyniki::fill() {
  rows_.clear();
  sum_abs_ = 0;
  std::vector<calc::component_line> lines;
  bool formula_2 = false;
  if (compound_) {
    if (const compound_values* c = host_.compound()) {
      formula_2 = c->model.settings.calc_method == calc::method_formula_2;
      const calc::compound_model& m = c->model;
      lines = calc::results_by_component(c->result.totals, formula_2, calc::titles_of(m, c->result));
    }
  } else if (const estimate_values* v = host_.values()) {
    formula_2 = v->model.settings.calc_method == calc::method_formula_2;
    lines = calc::results_by_component(v->result.totals, formula_2, calc::titles_of(v->model.overheads));
  }
  title_->setText(formula_2 ? "Podsumowanie kosztorysu" : "Koszty Bezpośrednie");
  bool negative = false;
  for (const calc::component_line& l : lines) {
    if (l.value == 0) continue;
    if (rows_.size() == 40) break;
    result_row r;
    r.name = screen_text(l.title);
    r.value = l.value;
    r.amount = trimmed(calc::text_money(l.value));
    char share[32];
    std::snprintf(share, sizeof share, "%5.1lf", l.share);
    r.share = QString::fromLatin1(share).replace('.', QChar(calc::system_decimal_separator()));
    negative = negative || l.value < 0;
    sum_abs_ += std::fabs(l.value);
    rows_.push_back(r);
  }
  if (negative)
    for (result_row& r : rows_) r.share.clear();

  grid_->DontUpdateView();
  grid_->set_row_count(1 + int(rows_.size()) + 1);
  const QFont font = grid_->font();
  int name_w = grid_->grid_cell_width(font, "Składnik");
  int amount_w = grid_->grid_cell_width(font, "-99 999 999,99");
  for (const result_row& r : rows_) {
    name_w = std::max(name_w, grid_->grid_cell_width(font, r.name));
    amount_w = std::max(amount_w, grid_->grid_cell_width(font, r.amount));
  }
  grid_->set_col_widths(0, name_w + 30);
  grid_->set_col_widths(1, amount_w);
  grid_->set_col_widths(2, grid_->grid_cell_width(font, "100,0 %"));
  grid_->set_col_widths(3, 120);  // the least; the chart takes the width that remains
  grid_->set_align_col_number(3);
  grid_->UpdateView();
  // The closing row carries the axis and its labels.
  grid_->set_row_heights(grid_->row_count() - 1, grid_->default_row_height() + 7);
}

int Tfrm_wyniki::bar_length(int i, int width) const {
  if (i < 0 || i >= int(rows_.size()) || sum_abs_ < 0.005) return 0;
  return int(std::lround((width - 20) * std::fabs(rows_[size_t(i)].value) / sum_abs_));
}

void Tfrm_wyniki::set_cell_data(VL_std_grid&, int col, int row, VL_cell& cell) {
  static const char* titles[] = {"Składnik", "zł", "%", ""};
  cell.text_format = tf_vcenter | tf_single_line;
  if (row == 0) {
    cell.text = QString::fromUtf8(titles[col]);
    cell.text_format |= tf_center;
    return;
  }
  const int i = row - 1;
  if (i >= int(rows_.size())) return;
  const result_row& r = rows_[size_t(i)];
  if (col == 0) cell.text = r.name;
  if (col == 1) cell.text = r.amount, cell.text_format |= tf_right;
  if (col == 2) cell.text = r.share, cell.text_format |= tf_right;
}

void Tfrm_wyniki::draw_cell_finish(VL_std_grid&, QPainter& p, int col, int row, const VL_cell& cell,
                                   const TEXT_ELEM& te) {
  if (col != 3 || row == 0) return;
  const QRect r = cell.rect;
  const int width = r.width();
  const int i = row - 1;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  if (i < int(rows_.size())) {
    const int len = bar_length(i, width);
    if (len > 0) {
      const QRect bar(r.left() + 5, r.top() + r.height() / 4, len, std::max(2, r.height() / 2));
      const QColor colour(46, 110, 180);
      p.setPen(colour.darker(130));
      if (rows_[size_t(i)].value >= 0) p.fillRect(bar, colour);
      else p.setBrush(Qt::NoBrush);
      p.drawRect(bar.adjusted(0, 0, -1, -1));
    }
  } else {
    // The axis: from the bars' origin over the chart's length, an arrowhead at the end and
    // ticks every quarter labelled with the percentage.
    p.setPen(te.text);
    QFont f = p.font();
    if (f.pixelSize() > 0) f.setPixelSize(std::max(8, f.pixelSize() * 8 / 10));
    else f.setPointSizeF(std::max(6.0, f.pointSizeF() * 0.8));
    p.setFont(f);
    const int y = r.top() + 4;
    const int x0 = r.left() + 5, len = width - 20;
    if (len > 10) {
      p.drawLine(x0, y, x0 + len + 8, y);
      QPainterPath arrow;
      arrow.moveTo(x0 + len + 12, y);
      arrow.lineTo(x0 + len + 6, y - 3);
      arrow.lineTo(x0 + len + 6, y + 3);
      arrow.closeSubpath();
      p.fillPath(arrow, te.text);
      const QFontMetrics fm(f);
      for (int k = 0; k <= 4; ++k) {
        const int x = x0 + len * k / 4;
        p.drawLine(x, y - 2, x, y + 3);
        const QString label = QString::number(k * 25);
        const int lw = fm.horizontalAdvance(label);
        int lx = x - lw / 2;
        lx = std::clamp(lx, r.left() + 1, r.right() - lw - 1);
        p.drawText(lx, y + 4 + fm.ascent(), label);
      }
    }
  }
  p.restore();
}

bool Tfrm_wyniki::eventFilter(QObject* watched, QEvent* e) {
  if (watched != grid_ || e->type() != QEvent::KeyPress) return TTabForm::eventFilter(watched, e);
  QScrollBar* v = grid_->verticalScrollBar();
  QScrollBar* h = grid_->horizontalScrollBar();
  switch (static_cast<QKeyEvent*>(e)->key()) {
    case Qt::Key_Up: v->setValue(v->value() - v->pageStep()); return true;
    case Qt::Key_Down: v->setValue(v->value() + v->pageStep()); return true;
    case Qt::Key_Left: h->setValue(h->value() - h->pageStep()); return true;
    case Qt::Key_Right: h->setValue(h->value() + h->pageStep()); return true;
    default: return false;
  }
}

} // namespace kovra::views
