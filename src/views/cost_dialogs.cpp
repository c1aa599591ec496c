#include "views/cost_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "calc/input_table.h"
#include "calc/number_text.h"
#include "calc/overheads.h"
#include "calc/position_costing.h"
#include "calc/recalc_options.h"
#include "calc/result_summaries.h"
#include "calc/rounding.h"
#include "controls/std_grid.h"
#include "views/estimate_values.h"
#include "views/summary_rows.h"

namespace kovra::views {

using namespace controls;

int node_index_of(const estimate_values& values, int pos) {
  const auto& nodes = values.model.nodes;
  for (size_t i = 0; i < nodes.size(); ++i)
    if (nodes[i].pos == pos) return int(i);
  return -1;
}

cost_sheet position_cost_sheet(const estimate_values& values, int node_index, bool with_investor_materials) {
  cost_sheet sheet;
  const calc::estimate_model& model = values.model;
  if (node_index < 0 || node_index >= int(model.nodes.size())) return sheet;
  const calc::model_node& node = model.nodes[size_t(node_index)];
  if (node.type != calc::node_position && node.type != calc::node_position_plain) return sheet;
  const calc::estimate_settings& st = model.settings;
  const bool investor = st.investor_table != 0;
  const bool formula_2 = !investor && st.calc_method == calc::method_formula_2;
  if (investor) {
    sheet = {"Tdlg_sum_inwestor", "Koszty pozycji bez VAT", "Koszty pozycji - Metoda kalkulacji: Inwestorska UPZP",
             "Podsumowanie pozycji inwestorskie", {}};
  } else if (formula_2) {
    sheet = {"Tdlg_sum_vat", "Koszty pozycji",
             QString("Koszty pozycji - Metoda kalkulacji: FORMUŁA II") +
                 (st.overheads_per_position == 1 ? ", narzuty dla Pozycji" : ", narzuty dla Elementu"),
             "Podsumowanie pozycji", {}};
  } else {
    sheet = {"Tdlg_sum_unit", "Koszty pozycji bez VAT", "Koszty pozycji - Metoda kalkulacji: FORMUŁA I",
             "Podsumowanie pozycji bez VAT", {}};
  }

  // The position's sheet as the run costs it: its whole quantity under FORMUŁA II, one unit
  // otherwise; then the overheads of the estimate's formula on it.
  const calc::costing_context ctx = calc::make_costing_context(model, calc::options_from_settings(st));
  const double q = calc::position_quantity(model, node);
  calc::input_table scratch = values.result.table;  // the run's prices; costing adds to its sums
  const calc::position_costs c = calc::cost_position(ctx, node_index, formula_2 ? q : 1.0, scratch);
  const double r = c.labour, s = c.equipment + c.equipment_other;
  const double m = c.materials + c.materials_other + (with_investor_materials ? c.investor_materials : 0);
  const calc::overheads o = calc::compute_overheads(ctx.overhead, m, r, s, false);
  auto add = [&sheet](QString label, double lr, double lm, double ls) {
    if (lr == 0 && lm == 0 && ls == 0) return;
    sheet.lines.push_back({std::move(label), lr, lm, ls, lr + lm + ls, false});
  };
  add("Koszty bezpośrednie", r, m, s);
  const calc::overhead_titles titles = calc::titles_of(model.overheads);
  for (int row = 1; row <= calc::row_general_contracting; ++row) {
    std::string t = titles[size_t(row)];
    if (t.empty()) t = calc::own_overhead_title(row);
    add(screen_text(t), o.item[calc::comp_r][size_t(row)], o.item[calc::comp_m][size_t(row)],
        o.item[calc::comp_s][size_t(row)]);
  }
  const double ur = r + o.sum(calc::comp_r, false), um = m + o.sum(calc::comp_m, false), us = s + o.sum(calc::comp_s, false);
  if (formula_2) {
    const double net = calc::round_money(ur + um + us);
    const double vat = calc::vat(model.overheads, net);
    sheet.lines.push_back({"Wartość pozycji\n(bez VAT)", ur, um, us, net, false});
    sheet.lines.push_back({"VAT", 0, 0, 0, vat, true});
    sheet.lines.push_back({"Wartość pozycji z VAT", 0, 0, 0, net + vat, true});
    if (q != 0) sheet.lines.push_back({"Wartość jednostkowa pozycji", 0, 0, 0, (net + vat) / q, true});
  } else {
    sheet.lines.push_back({"Wartość jednostkowa pozycji", ur, um, us, ur + um + us, false});
    sheet.lines.push_back({"Wartość pozycji", 0, 0, 0, calc::round_money((ur + um + us) * q), true});
  }
  return sheet;
}

Tdlg_sum::Tdlg_sum(const estimate_values& values, int node_index, QWidget* parent)
    : QDialog(parent), values_(values), node_(node_index) {
  auto* layout = new QVBoxLayout(this);
  title_ = new QLabel(this);
  QFont f = title_->font();
  f.setBold(true);
  title_->setFont(f);
  header_ = new QLabel(this);
  layout->addWidget(title_);
  layout->addWidget(header_);
  grid_ = new VL_std_grid(this);
  grid_->set_source(this);
  grid_->use_screen_look();
  grid_->set_col_count(5);
  grid_->set_fixed_cols(1);
  grid_->set_fixed_rows(1);
  grid_->set_auto_row_height(true);
  layout->addWidget(grid_, 1);
  investor_ = new QCheckBox("Koszty pozycji powiększone o materiały inwestora", this);
  layout->addWidget(investor_);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* close = buttons->addButton("&Zamknij", QDialogButtonBox::RejectRole);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(buttons);
  connect(investor_, &QCheckBox::toggled, this, [this] { fill(); });
  resize(620, 380);
  fill();
}

void Tdlg_sum::fill() {
  sheet_ = position_cost_sheet(values_, node_, investor_->isChecked());
  setObjectName(sheet_.dialog);
  setWindowTitle(sheet_.caption);
  title_->setText(sheet_.title);
  header_->setText(sheet_.header);
  grid_->DontUpdateView();
  grid_->set_row_count(1 + std::max(1, int(sheet_.lines.size())));
  const QFont font = grid_->font();
  grid_->set_col_widths(0, grid_->grid_cell_width(font, "Wartość jednostkowa pozycji"));
  for (int c = 1; c < 5; ++c) grid_->set_col_widths(c, grid_->grid_cell_width(font, "-99 999 999,99"));
  grid_->UpdateView();
}

void Tdlg_sum::set_lines_in_row(VL_std_grid&, int row, int& lines) {
  if (row >= 1 && row - 1 < int(sheet_.lines.size())) lines = std::max(lines, int(sheet_.lines[size_t(row - 1)].label.count('\n')) + 1);
}

void Tdlg_sum::set_cell_data(VL_std_grid&, int col, int row, VL_cell& cell) {
  static const char* titles[] = {"", "R", "M + Kz", "S", "Razem"};
  cell.text_format = tf_vcenter | (col > 0 ? tf_right : 0);
  if (row == 0) {
    cell.text = titles[col];
    cell.text_format = tf_center | tf_vcenter;
    return;
  }
  if (row - 1 >= int(sheet_.lines.size())) return;
  const cost_line& l = sheet_.lines[size_t(row - 1)];
  const double v[] = {0, l.r, l.m, l.s, l.total};
  if (col == 0) cell.text = l.label;
  else if (!l.total_only || col == 4) cell.text = trimmed(calc::text_money(v[col]));
}

} // namespace kovra::views
