#include "views/overheads_view.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QRadioButton>
#include <QVBoxLayout>

#include "calc/number_text.h"
#include "calc/overhead_texts.h"
#include "calc/rounding.h"
#include "controls/std_grid.h"
#include "document/estimate_layout.h"
#include "document/general_data.h"
#include "document/node_blocks.h"
#include "document/record_source.h"
#include "views/estimate_values.h"
#include "views/summary_rows.h"
#include "views/view_host.h"

namespace kovra::views {

using namespace controls;

namespace {

QGroupBox* radio_box(QWidget* parent, const QString& title, const QStringList& items, std::vector<QRadioButton*>& out) {
  auto* box = new QGroupBox(title, parent);
  auto* l = new QVBoxLayout(box);
  l->setContentsMargins(6, 2, 6, 2);
  l->setSpacing(0);
  for (const QString& t : items) {
    auto* b = new QRadioButton(t, box);
    b->setEnabled(false);
    l->addWidget(b);
    out.push_back(b);
  }
  return box;
}

} // namespace

Tfrm_ovrhd::Tfrm_ovrhd(view_host& host, bool compound, QWidget* parent)
    : TTabForm(parent), host_(host), compound_(compound) {
  setObjectName(compound ? "Tfrm_ovrhd_multi" : "Tfrm_ovrhd_simple");
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  auto* tabs = new QTabWidget(this);
  outer->addWidget(tabs);
  auto* page = new QWidget(tabs);
  tabs->addTab(page, "Narzuty");
  note_ = new QPlainTextEdit(tabs);
  note_->setObjectName("memo_note");
  note_->setReadOnly(true);
  tabs->addTab(note_, "Notatka");
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(2, 2, 2, 2);
  grid_ = new VL_std_grid(this);
  grid_->setObjectName("grid_ovrhd");
  grid_->set_source(this);
  grid_->use_screen_look();
  grid_->set_fixed_cols(0);
  grid_->set_fixed_rows(1);
  grid_->set_row_count(12);
  layout->addWidget(grid_, 1);

  auto* settings = new QHBoxLayout;
  method_box_ = radio_box(this, "Metoda kalkulacji", {"FORMUŁA I", "Inwestorska UPZP", "FORMUŁA II", "Uproszczona"}, methods_);
  settings->addWidget(method_box_);
  settings->addWidget(radio_box(this, "Narzuty wyliczane", {"dla Pozycji", "dla Elementu"}, levels_));
  auto* merged = new QGroupBox("Elementy scalone", this);
  auto* ml = new QVBoxLayout(merged);
  ml->setContentsMargins(6, 2, 6, 2);
  correction_ = new QCheckBox("korekta wartości", merged);
  multiplicity_ = new QCheckBox("Krotność w wartości jednostkowej", merged);
  for (QCheckBox* c : {correction_, multiplicity_}) {
    c->setEnabled(false);
    ml->addWidget(c);
  }
  settings->addWidget(merged);
  profit_box_ = radio_box(this, "Sposób liczenia zysku", {"Z(R)+Z(S)+Z(M)+Z(Kp)", "Z(R+S+M+Kp)"}, profits_);
  settings->addWidget(profit_box_);
  for (QGroupBox** box : {&kp_box_, &z_box_}) {
    *box = new QGroupBox(box == &kp_box_ ? "R, S dla Kp większe o" : "R, S dla Z większe o", this);
    auto* bl = new QVBoxLayout(*box);
    bl->setContentsMargins(6, 2, 6, 2);
    for (const char* t : {"Czynny zakład", "Warunki szkodliwe"}) {
      auto* c = new QCheckBox(QString::fromUtf8(t), *box);
      c->setEnabled(false);
      bl->addWidget(c);
      raises_.push_back(c);
    }
    settings->addWidget(*box);
  }
  settings->addStretch();
  layout->addLayout(settings);
  info_ = new QLabel(this);
  info_->setObjectName("pnl_info");
  info_->setFrameShape(QFrame::StyledPanel);
  info_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  info_->setContentsMargins(6, 4, 6, 4);
  layout->addWidget(info_);
}

void Tfrm_ovrhd::activate(int stage) {
  TTabForm::activate(stage);
  if (stage == 0) fill();
}

void Tfrm_ovrhd::values_changed() { fill(); }

QString Tfrm_ovrhd::information() const { return info_->text(); }

QString Tfrm_ovrhd::note() const { return note_->toPlainText(); }

void Tfrm_ovrhd::fill() {
  rows_.clear();
  formulas_.clear();
  const calc::estimate_settings* s = nullptr;
  const calc::overhead_table* table = nullptr;
  const calc::estimate_totals* totals = nullptr;
  const calc::estimate_model* model = nullptr;
  if (compound_ && !host_.chapter()) {
    if (const compound_values* c = host_.compound()) {
      s = &c->model.settings;
      table = &c->model.overheads;
      totals = &c->result.totals;
    }
  } else if (const estimate_values* v = host_.values()) {
    model = &v->model;
    s = &v->model.settings;
    table = &v->model.overheads;
    totals = &v->result.totals;
  }
  const bool investor = s && s->investor_table;
  titles_ = investor ? QStringList{"Opis", "R", "M+Kz", "S", "Kp", "Suma", "Kwota"}
                     : QStringList{"Opis", "R", "M+Kz", "S", "Kp(R)", "Kp(M)", "Kp(S)", "Suma", "Kwota"};
  const std::vector<int> rate_columns = investor ? std::vector<int>{0, 1, 2, 5, 6} : std::vector<int>{0, 1, 2, 3, 4, 5, 6};
  if (table && totals) {
    for (int r = 1; r <= calc::row_vat; ++r) {
      const calc::overhead_row_rates& row = table->rows[size_t(r)];
      QStringList cells{screen_text(row.name)};
      for (int c : rate_columns) {
        const float rate = row.rates[size_t(c)];
        cells << (rate > 0 ? trimmed(calc::text_percent(calc::round_percent(rate), 7)) : QString());
      }
      const double amount = r == calc::row_vat ? totals->vat
                                               : totals->overheads.cell[size_t(calc::row_first_item + r - 1)][calc::ec_total];
      cells << trimmed(calc::text_money(amount));
      rows_.push_back(cells);
      if (model) {
        calc::formula_context ctx{model, totals, true};
        const std::string f = calc::overhead_formula_text(ctx, r);
        if (!f.empty()) formulas_ << screen_text(row.name).trimmed() + ": " + screen_text(f);
      }
    }
  }
  // Settings, shown and not changeable.
  QStringList info;
  if (s) {
    const int method_index[] = {2, 0, 1, 3};  // FORMUŁA II, I, investor, simplified → box order
    for (size_t i = 0; i < methods_.size(); ++i) methods_[i]->setChecked(int(i) == method_index[s->calc_method & 3]);
    levels_[0]->setChecked(s->overheads_per_position == 1);
    levels_[1]->setChecked(s->overheads_per_position != 1);
    profits_[0]->setChecked(s->profit_per_component != 0);
    profits_[1]->setChecked(s->profit_per_component == 0);
    correction_->setChecked(s->merged_value_correction != 0);
    multiplicity_->setChecked(s->multiplicity_in_unit != 0);
    raises_[0]->setChecked(table->kp_plus_cz != 0);
    raises_[1]->setChecked(table->kp_plus_ws != 0);
    raises_[2]->setChecked(table->z_plus_cz != 0);
    raises_[3]->setChecked(table->z_plus_ws != 0);
    // The investor table's own name, whatever the method.
    calc::estimate_settings shown = *s;
    if (investor) shown.calc_method = calc::method_investor;
    info << screen_text(calc::method_name(shown));
    for (const std::string& line : calc::method_description(shown)) info << "    " + screen_text(line);
    if (!formulas_.isEmpty()) info << "" << formulas_;
  }
  profit_box_->setVisible(investor);
  kp_box_->setVisible(!investor);
  z_box_->setVisible(!investor);
  info_->setText(info.join('\n'));
  // The estimate's note about its overheads and prices, from its data records.
  QString note;
  if (document::record_source* rec = host_.records(); rec && host_.general()) {
    document::general_data g = *host_.general();
    const int chain = compound_ && !host_.chapter() ? document::CHAIN_COMPOUND_DATA : document::CHAIN_DATA;
    if (auto text = document::read_estimate_text_raw(*rec, g, 0, chain)) note = screen_text(*text);
  }
  note_->setPlainText(note.replace("\r\n", "\n"));

  grid_->DontUpdateView();
  grid_->set_col_count(int(titles_.size()));
  grid_->set_row_count(1 + std::max(1, int(rows_.size())));
  const QFont f = grid_->font();
  grid_->set_col_widths(0, grid_->grid_cell_width(f, "MMMMMMMMMMMMMMMMMMMMMM"));
  for (int c = 1; c < int(titles_.size()); ++c)
    grid_->set_col_widths(c, std::max(grid_->grid_cell_width(f, titles_[c]), grid_->grid_cell_width(f, "888,88")));
  grid_->set_col_widths(int(titles_.size()) - 1, grid_->grid_cell_width(f, "-99 999 999,99"));
  grid_->set_align_col_number(0);
  grid_->UpdateView();
}

void Tfrm_ovrhd::set_cell_data(VL_std_grid&, int col, int row, VL_cell& cell) {
  if (row == 0) {
    cell.text = col < titles_.size() ? titles_[col] : QString();
    cell.text_format = tf_center | tf_vcenter | tf_single_line;
    return;
  }
  if (row - 1 >= int(rows_.size()) || col >= rows_[size_t(row - 1)].size()) return;
  cell.text = rows_[size_t(row - 1)][col];
  cell.text_format = tf_vcenter | tf_single_line | (col > 0 ? tf_right : 0);
}

} // namespace kovra::views
