#include "views/additions_view.h"

#include <QVBoxLayout>

#include "calc/number_text.h"
#include "controls/std_grid.h"
#include "views/estimate_values.h"
#include "views/summary_rows.h"
#include "views/view_host.h"

namespace kovra::views {

using namespace controls;

namespace {
constexpr std::size_t max_additions = 250;
}

Tfrm_dodatki::Tfrm_dodatki(view_host& host, QWidget* parent) : TTabForm(parent), host_(host) {
  setObjectName("Tfrm_dodatki");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  grid_ = new VL_std_grid(this);
  grid_->setObjectName("grid_dodatki");
  grid_->set_source(this);
  grid_->use_screen_look();
  grid_->set_col_count(3);
  grid_->set_fixed_cols(1);
  grid_->set_row_count(2);
  grid_->set_fixed_rows(1);
  grid_->set_auto_row_height(true);
  layout->addWidget(grid_);
}

void Tfrm_dodatki::activate(int stage) {
  TTabForm::activate(stage);
  if (stage == 0) fill();
}

void Tfrm_dodatki::set_shown(bool shown) {
  TTabForm::set_shown(shown);
  if (shown) fill();
}

void Tfrm_dodatki::values_changed() { fill(); }

void Tfrm_dodatki::fill() {
  lines_.clear();
  const std::vector<calc::addition>* list = nullptr;
  double total = 0;
  bool compound = false;
  if (const compound_values* c = host_.chapter() ? nullptr : host_.compound()) {
    list = &c->model.additions;
    total = c->result.totals.additions;
    compound = true;
  } else if (const estimate_values* v = host_.values()) {
    list = &v->model.additions;
    total = v->result.totals.additions;
  }
  double listed = 0;
  if (list) {
    for (std::size_t i = 0; i < list->size() && i < max_additions; ++i) {
      const calc::addition& a = (*list)[i];
      lines_.push_back({QString::number(i + 1) + ".", screen_text(a.name), trimmed(calc::text_money(a.amount))});
      listed += a.amount;
    }
  }
  const std::size_t count = lines_.size();
  if (count < max_additions) lines_.push_back({QString::number(count + 1) + ".", "", ""});
  if (compound) lines_.push_back({"Razem rozdziały:", "", trimmed(calc::text_money(total - listed)), true});
  lines_.push_back({"Razem:", "", trimmed(calc::text_money(total)), true});

  grid_->DontUpdateView();
  grid_->set_row_count(1 + int(lines_.size()));
  const QFont f = grid_->font();
  grid_->set_col_widths(0, std::max(grid_->grid_cell_width(f, "Lp."),
                                    grid_->grid_cell_width(f, QString::number(count + 1) + ".")));
  grid_->set_col_widths(1, std::max(grid_->grid_cell_width(f, "Nazwa"), grid_->grid_cell_width(f, "888888888888888")));
  grid_->set_col_widths(2, std::max(grid_->grid_cell_width(f, "Kwota"), grid_->grid_cell_width(f, "-99999999,99")));
  grid_->set_align_col_number(1);
  grid_->UpdateView();
}

QString Tfrm_dodatki::cell_text(int col, int row) {
  if (row < 1 || row > int(lines_.size())) return {};
  const line& l = lines_[size_t(row - 1)];
  return col == 0 ? l.number : col == 1 ? l.name : l.amount;
}

void Tfrm_dodatki::set_cell_data(VL_std_grid& grid, int col, int row, VL_cell& cell) {
  static const char* titles[] = {"Lp.", "Nazwa", "Kwota"};
  if (row == 0) {
    cell.text = titles[col];
    cell.text_format = tf_center | tf_vcenter | tf_single_line;
    return;
  }
  if (row - 1 >= int(lines_.size())) return;
  const line& l = lines_[size_t(row - 1)];
  if (l.closing) {
    cell.cell_type = ct_fixed;
    if (col == 0) {
      cell.rect.setRight(grid.cell_rect(1, row).right());
      cell.text = l.number;
      cell.text_format = tf_right | tf_vcenter | tf_single_line;
    } else if (col == 1) {
      cell.cell_state = 0;
    } else {
      cell.text = l.amount;
      cell.text_format = tf_right | tf_vcenter | tf_single_line;
    }
    return;
  }
  cell.text = cell_text(col, row);
  if (col == 0 || col == 2) cell.text_format = tf_right | tf_vcenter;
}

} // namespace kovra::views
