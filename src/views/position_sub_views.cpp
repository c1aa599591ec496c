#include "views/position_sub_views.h"

#include "calc/estimate_model.h"
#include "calc/number_text.h"
#include "calc/one_off_sheet.h"
#include "calc/position_costing.h"
#include "calc/recalc_options.h"
#include "calc/rounding.h"
#include "calc/scaffold_sheet.h"
#include "calc/simplified_sheet.h"
#include "calc/special_positions.h"
#include "calc/survey.h"
#include "calc/survey_display.h"
#include "controls/std_grid.h"
#include "document/basis_text.h"
#include "document/cpv_collect.h"
#include "document/estimate_nodes.h"
#include "printouts/node_texts.h"
#include "store/codepage.h"
#include "views/cost_dialogs.h"
#include "views/define_view.h"
#include "views/estimate_values.h"
#include "views/view_host.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <memory>
#include <optional>

namespace kovra::views {
namespace {

using document::Elpz_Node;

QString shown_text(std::string_view internal) { return QString::fromStdString(store::mazovia_to_utf8(internal)); }
QString utf8(const char* text) { return QString::fromUtf8(text); }
QString trimmed(const char* text) { return QString::fromLatin1(text).trimmed(); }
// A pair without a supplementary code leaves its cell empty.
QString code_text(const document::cpv_code& c) { return c.empty() ? QString() : QString::fromStdString(c.shown()); }

printouts::node_texts texts_of(Tfrm_define& owner, Elpz_Node* e) {
  document::record_source* records = e && e->records ? e->records : owner.host().records();
  if (!e || !records) return {};
  return printouts::read_node_texts(*records, e->pos);
}

} // namespace

node_sub_view::node_sub_view(const char* view_class, QWidget* parent) : TTabForm(parent) {
  setObjectName(view_class);
}

void node_sub_view::make_sheet(const QStringList& headers, const std::vector<int>& widths_in_chars) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  buttons_ = new QWidget(this);
  auto* bl = new QHBoxLayout(buttons_);
  bl->setContentsMargins(2, 0, 2, 0);
  buttons_->hide();
  layout->addWidget(buttons_);
  grid_ = new controls::VL_std_grid(this);
  grid_->use_screen_look();
  grid_->set_use_cells(true);
  grid_->set_col_count(int(headers.size()));
  grid_->set_fixed_cols(1);
  grid_->set_fixed_rows(1);
  grid_->set_row_count(2);
  grid_->set_auto_row_height(true);
  const QFontMetrics fm(grid_->font());
  for (int c = 0; c < int(headers.size()); ++c) {
    grid_->set_cells(c, 0, headers[c]);
    const int chars = c < int(widths_in_chars.size()) ? widths_in_chars[size_t(c)] : 10;
    grid_->set_col_widths(c, fm.horizontalAdvance(QString(chars, '8')) + 8);
  }
  grid_->set_source(this);
  layout->addWidget(grid_, 1);
  note_ = new QPlainTextEdit(this);
  note_->setReadOnly(true);
  note_->setMaximumHeight(80);
  note_->hide();
  layout->addWidget(note_);
}

void node_sub_view::set_rows(int data_rows) {
  grid_->set_row_count(std::max(2, data_rows + 1));
  styles_.assign(size_t(grid_->row_count()), controls::ct_basic);
  for (int r = 1; r < grid_->row_count(); ++r)
    for (int c = 0; c < grid_->col_count(); ++c) grid_->set_cells(c, r, QString());
}

void node_sub_view::put(int col, int row, const QString& text) {
  if (row < grid_->row_count()) grid_->set_cells(col, row, text);
}

void node_sub_view::set_row_style(int row, int cell_type) {
  if (row >= 0 && row < int(styles_.size())) styles_[size_t(row)] = cell_type;
}

int node_sub_view::row_style(int row) const {
  return row >= 0 && row < int(styles_.size()) ? styles_[size_t(row)] : controls::ct_basic;
}

void node_sub_view::set_cell_data(controls::VL_std_grid&, int col, int row, controls::VL_cell& cell) {
  if (row > 0 && col > 0 && row_style(row) != controls::ct_basic) cell.cell_type = row_style(row);
}

void node_sub_view::set_note(const QString& text, bool visible) {
  note_->setPlainText(text);
  note_->setVisible(visible && !text.isEmpty());
}

QString node_sub_view::cell(int col, int row) const {
  if (row < 0 || row >= grid_->row_count() || col < 0 || col >= grid_->col_count()) return {};
  return grid_->cells(col, row);
}

int node_sub_view::rows() const { return grid_->row_count(); }
QString node_sub_view::note_text() const { return note_->isVisibleTo(this) ? note_->toPlainText() : QString(); }

// Inputs of a position -------------------------------------------------------------------

Tfrm_naklady::Tfrm_naklady(QWidget* parent) : node_sub_view("Tfrm_naklady", parent) {
  make_sheet({"RMS", utf8("Nakład"), "Jednostka", "Norma", utf8("Ilość jedn."), "Inw.", "Cena (M z k.z.)",
              utf8("Wart.jedn.")},
             {5, 40, 9, 10, 12, 4, 11, 13});
  auto* bl = static_cast<QHBoxLayout*>(buttons_->layout());
  btn_cost_ = new QToolButton(buttons_);
  btn_cost_->setText(QString::fromUtf8("Σ"));
  btn_cost_->setToolTip("Koszty pozycji");
  bl->addWidget(btn_cost_);
  connect(btn_cost_, &QToolButton::clicked, this, [this] {
    std::unique_ptr<QDialog> d(make_cost_dialog(this));
    if (d) d->exec();
  });
  btn_note_ = new QToolButton(buttons_);
  btn_note_->setText("&Notatka");
  btn_note_->setCheckable(true);
  btn_note_->setChecked(true);
  bl->addWidget(btn_note_);
  connect(btn_note_, &QToolButton::toggled, this, [this](bool on) { note_->setVisible(on && !note_->toPlainText().isEmpty()); });
  variant_ = new QLabel(buttons_);
  bl->addWidget(variant_);
  bl->addStretch(1);
  buttons_->show();
}

void Tfrm_naklady::set_total_quantities(bool on) {
  total_quantities_ = on;
  if (owner_) show_row(*owner_, node_);
}

Tfrm_naklady::row_state Tfrm_naklady::state_of(int row) const {
  return row > 0 && row < int(states_.size()) ? states_[size_t(row)] : row_header;
}

QDialog* Tfrm_naklady::make_cost_dialog(QWidget* parent) const {
  const estimate_values* v = owner_ ? owner_->host().values() : nullptr;
  const calc::model_node* m = owner_ ? owner_->model_of(node_) : nullptr;
  if (!v || !m || (m->type != calc::node_position && m->type != calc::node_position_plain)) return nullptr;
  return new Tdlg_sum(*v, int(m - v->model.nodes.data()), parent);
}

void Tfrm_naklady::show_row(Tfrm_define& owner, document::Base_Node* node) {
  owner_ = &owner;
  node_ = node;
  const calc::model_node* m = owner.model_of(node);
  const estimate_values* v = owner.host().values();
  const calc::input_variant* variant = nullptr;
  int current = 0;
  if (m && !m->variants.empty()) {
    current = std::clamp(m->current_variant, 0, int(m->variants.size()) - 1);
    variant = &m->variants[size_t(current)];
  }
  const bool formula_2 = v && v->model.settings.investor_table == 0 && v->model.settings.calc_method == calc::method_formula_2;
  const bool totals = formula_2 || total_quantities_;
  grid_->set_cells(1, 0, variant ? utf8("Nakład %1/%2").arg(current + 1).arg(m->variants.size()) : utf8("Nakład"));
  grid_->set_cells(4, 0, totals ? utf8("Ilość") : utf8("Ilość jedn."));
  grid_->set_cells(7, 0, totals ? utf8("Wartość") : utf8("Wart.jedn."));
  variant_name_ = variant ? shown_text(variant->name.empty() ? variant->short_name : variant->name).trimmed() : QString();
  variant_->setText(variant_name_.isEmpty() ? QString() : utf8("Wariant: ") + variant_name_);
  btn_cost_->setEnabled(m && v);

  // Each kind's inputs in the order the calculation sheets list them: materials, then the
  // other-materials items on labour and on materials; equipment, then its other items.
  std::vector<const calc::input_entry*> groups[3];
  if (variant)
    for (const calc::input_entry& e : variant->entries) {
      if (e.kind > calc::kind_percent) continue;
      groups[e.kind == calc::kind_percent ? (e.sub <= 1 ? 1 : 2) : e.kind].push_back(&e);
    }
  auto rank = [](const calc::input_entry* e) { return e->kind != calc::kind_percent ? 0 : e->sub == 1 || e->sub == 2 ? 1 : 2; };
  for (auto& g : groups)
    std::stable_sort(g.begin(), g.end(), [&](auto* a, auto* b) { return rank(a) < rank(b); });
  set_rows(3 + int(groups[0].size() + groups[1].size() + groups[2].size()));
  states_.assign(size_t(grid_->row_count()), row_header);

  const int index = m && v ? int(m - v->model.nodes.data()) : -1;
  std::optional<calc::costing_context> ctx;
  calc::position_costs sheet;
  double q = 0;
  if (index >= 0 && variant) {
    ctx = calc::make_costing_context(v->model, calc::options_from_settings(v->model.settings));
    q = calc::position_quantity(v->model, *m);
    calc::input_table scratch = v->result.table;  // costing adds to the table's sums
    sheet = calc::cost_position(*ctx, index, totals ? q : 1.0, scratch);
  }
  static const char* kind_names[3] = {"Robocizna", "Materiały", "Sprzęt"};
  static const char* percent_names[4] = {"Materiały inne (Materiały)", "Materiały inne (Robocizna)",
                                         "Sprzęt inny (Robocizna)", "Sprzęt inny (Sprzęt)"};
  int row = 1;
  for (int k = 0; k < 3; ++k) {
    set_row_style(row, controls::ct_header);
    if (m && std::fabs(m->coef[size_t(k)] - 1.0f) > 1e-6f) put(0, row, trimmed(calc::text_coefficient(m->coef[size_t(k)], false)));
    put(1, row, utf8(kind_names[k]));
    ++row;
    for (const calc::input_entry* e : groups[k]) {
      if (e->coef != 1.0f) put(0, row, trimmed(calc::text_coefficient(e->coef, false)));
      states_[size_t(row)] = e->excluded ? row_excluded : e->blocked ? row_blocked : row_active;
      if (e->kind == calc::kind_percent) {
        const double amount = e->sub == 0 ? sheet.materials_other_m : e->sub == 1 ? sheet.materials_other_r
                              : e->sub == 2 ? sheet.equipment_other_r : sheet.equipment_other_s;
        put(1, row, utf8(percent_names[e->sub & 3]));
        put(2, row, "%");
        put(3, row, trimmed(calc::text_norm(e->norm)));
        if (ctx && !e->excluded) put(7, row, trimmed(calc::text_money_e(amount)));
      } else {
        const calc::input_table_entry* t = v ? v->result.table.find(e->id, e->sub) : nullptr;
        if (t) {
          put(1, row, shown_text(t->rec.name).trimmed());
          put(2, row, shown_text(t->rec.unit).trimmed());
          put(6, row, trimmed(calc::text_price(t->price)));
          const uint8_t mode = e->mp_mode == 0 ? 0 : (t->rec.mp_mode != 0 ? t->rec.mp_mode : e->mp_mode);
          if (e->kind == calc::kind_material && (mode == 1 || mode == 2) && !e->excluded) states_[size_t(row)] = row_investor;
        }
        put(3, row, trimmed(calc::text_norm(e->norm)));
        if (ctx) {
          const double x = totals ? q : 1.0;
          const double qty = calc::round_amount_auto(formula_2 || !totals ? calc::input_quantity(*ctx, *e, index, x)
                                                                          : calc::input_total_quantity(*ctx, *e, index, q));
          put(4, row, trimmed(calc::text_amount(qty)));
          if (t && !e->excluded) put(7, row, trimmed(calc::text_money_e(calc::round_money(qty * t->price))));
        }
      }
      if (states_[size_t(row)] == row_excluded || states_[size_t(row)] == row_blocked) set_row_style(row, controls::ct_blocked);
      ++row;
    }
  }
  grid_->UpdateView();
  set_note(shown_text(texts_of(owner, dynamic_cast<Elpz_Node*>(node)).note), btn_note_->isChecked());
}

// One-off equipment costs ------------------------------------------------------------------

Tfrm_jednoraz::Tfrm_jednoraz(QWidget* parent) : node_sub_view("Tfrm_jednoraz", parent) {
  make_sheet({"", "Nakład", "Norma", "Ilość", "Cena", "Wartość"}, {2, 22, 9, 12, 10, 12});
}

void Tfrm_jednoraz::show_row(Tfrm_define& owner, document::Base_Node* node) {
  const calc::model_node* m = owner.model_of(node);
  const estimate_values* v = owner.host().values();
  set_rows(4);
  if (!m || !v) return;
  const calc::one_off_sheet s = calc::one_off_sheet_of(v->model, *m);
  for (int i = 0; i < 4; ++i) {
    const auto& r = s.rows[size_t(i)];
    if (s.not_valued) set_row_style(i + 1, controls::ct_blocked);
    put(1, i + 1, shown_text(r.input));
    put(2, i + 1, QString::fromLatin1(r.norm.c_str()).trimmed());
    put(3, i + 1, QString::fromLatin1(r.quantity.c_str()).trimmed());
    put(4, i + 1, QString::fromLatin1(r.price.c_str()).trimmed());
    put(5, i + 1, QString::fromLatin1(r.value.c_str()).trimmed());
  }
  grid_->UpdateView();
  set_note(shown_text(texts_of(owner, dynamic_cast<Elpz_Node*>(node)).note), true);
}

// Simplified positions -----------------------------------------------------------------------

Tfrm_scalona::Tfrm_scalona(QWidget* parent) : node_sub_view("Tfrm_scalona", parent) {
  make_sheet({"", "Nakład", "Cena", "Wartość"}, {2, 30, 10, 12});
}

void Tfrm_scalona::show_row(Tfrm_define& owner, document::Base_Node* node) {
  const calc::model_node* m = owner.model_of(node);
  const estimate_values* v = owner.host().values();
  set_rows(4);
  if (!m || !v) return;
  const calc::simplified_sheet s = calc::simplified_sheet_of(v->model, *m);
  for (int i = 0; i < 4; ++i) {
    const auto& r = s.rows[size_t(i)];
    if (s.not_valued) set_row_style(i + 1, controls::ct_blocked);
    put(1, i + 1, shown_text(r.input));
    put(2, i + 1, QString::fromLatin1(r.price.c_str()).trimmed());
    put(3, i + 1, QString::fromLatin1(r.value.c_str()).trimmed());
  }
  grid_->UpdateView();
  set_note(shown_text(texts_of(owner, dynamic_cast<Elpz_Node*>(node)).note), true);
}

// Scaffolding --------------------------------------------------------------------------------

Tfrm_ruszt::Tfrm_ruszt(QWidget* parent) : node_sub_view("Tfrm_ruszt", parent) {
  make_sheet({"", "Opis", "Jedn.", "Wartość", "Wynik"}, {2, 48, 6, 12, 14});
  auto* bl = static_cast<QHBoxLayout*>(buttons_->layout());
  for (int d = 0; d <= 6; ++d) {
    decimals_[d] = new QToolButton(buttons_);
    decimals_[d]->setText(d == 0 ? QString(",") : QString::number(d));
    decimals_[d]->setCheckable(true);
    decimals_[d]->setToolTip(utf8("Miejsca po przecinku ilości całkowitej"));
    connect(decimals_[d], &QToolButton::clicked, this, [this, d] { set_count_decimals(d); });
    bl->addWidget(decimals_[d]);
  }
  btn_note_ = new QToolButton(buttons_);
  btn_note_->setText("&Notatka");
  btn_note_->setCheckable(true);
  connect(btn_note_, &QToolButton::toggled, this, [this](bool on) { note_->setVisible(on); });
  bl->addWidget(btn_note_);
  bl->addStretch(1);
  buttons_->show();
}

void Tfrm_ruszt::show_row(Tfrm_define& owner, document::Base_Node* node) {
  owner_ = &owner;
  node_ = node;
  const int index = owner.model_index(node);
  const estimate_values* v = owner.host().values();
  set_rows(11);
  if (index < 0 || !v) return;
  const calc::costing_context* ctx = owner.costing();
  if (!ctx) return;
  const calc::scaffold_sheet s = calc::scaffold_sheet_of(*ctx, index, v->result.table);
  for (int i = 0; i < 11; ++i) {
    const auto& r = s.rows[size_t(i)];
    put(1, i + 1, shown_text(r.label));
    put(2, i + 1, shown_text(r.unit).trimmed());
    put(3, i + 1, QString::fromLatin1(r.value.c_str()).trimmed());
    put(4, i + 1, QString::fromLatin1(r.result.c_str()).trimmed());
  }
  const int decimals = std::clamp(3 - int(v->model.nodes[size_t(index)].scaffold_count_code), 0, 6);
  for (int d = 0; d <= 6; ++d) decimals_[d]->setChecked(d == decimals);
  grid_->UpdateView();
  note_->setPlainText(shown_text(texts_of(owner, dynamic_cast<Elpz_Node*>(node)).note));
  note_->setVisible(btn_note_->isChecked());
}

bool Tfrm_ruszt::set_count_decimals(int decimals) {
  auto* e = dynamic_cast<Elpz_Node*>(node_);
  if (!owner_ || !e || e->type() != calc::node_scaffold || decimals < 0 || decimals > 6) return false;
  e->record.set_scaffold_count_code(int8_t(3 - decimals));
  if (!document::rewrite_elpz(*e)) return false;
  // The window's run is replaced: every page reads it again, this one included.
  Tfrm_define* owner = owner_;
  if (!owner->host().recalculate()) return false;
  show_row(*owner, node_);
  return true;
}

// Work groups and elements -------------------------------------------------------------------

Tfrm_element::Tfrm_element(QWidget* parent) : node_sub_view("Tfrm_element", parent) {
  make_sheet({"", "", ""}, {2, 28, 60});
}

void Tfrm_element::show_row(Tfrm_define& owner, document::Base_Node* node) {
  const calc::model_node* m = owner.model_of(node);
  set_rows(4);
  put(1, 0, utf8("Element"));
  if (!m) {
    put(1, 1, utf8("Kosztorys"));
    return;
  }
  put(1, 1, utf8("Numer:"));
  put(2, 1, shown_text(m->number).trimmed());
  put(1, 2, utf8("Opis:"));
  put(2, 2, shown_text(m->description));
  put(1, 3, utf8("Współczynniki R, M, S:"));
  put(2, 3, QString("%1  %2  %3")
                .arg(trimmed(calc::text_coefficient(m->coef[0], true)), trimmed(calc::text_coefficient(m->coef[1], true)),
                     trimmed(calc::text_coefficient(m->coef[2], true))));
  put(1, 4, utf8("Wartość:"));
  put(2, 4, trimmed(calc::text_money(m->net)));
  grid_->UpdateView();
  set_note(shown_text(texts_of(owner, dynamic_cast<Elpz_Node*>(node)).note), true);
}

// Merged elements -------------------------------------------------------------------------

Tfrm_el_scalony::Tfrm_el_scalony(QWidget* parent) : node_sub_view("Tfrm_el_scalony", parent) {
  make_sheet({"", "Opis", utf8("Ilość"), "Jednostka"}, {2, 18, 14, 9});
}

void Tfrm_el_scalony::show_row(Tfrm_define& owner, document::Base_Node* node) {
  const calc::model_node* m = owner.model_of(node);
  const estimate_values* v = owner.host().values();
  set_rows(m ? int(m->children.size()) : 0);
  if (!m || !v) return;
  // One row per child of the element, in tree order.
  int row = 1;
  for (int child : m->children) {
    const calc::model_node& c = v->model.nodes[size_t(child)];
    put(1, row, shown_text(c.description));
    switch (c.type) {
    case calc::node_position:
    case calc::node_position_plain:
    case calc::node_simplified:
    case calc::node_simplified_plain:
      put(2, row, trimmed(calc::text_quantity(calc::position_quantity(v->model, c), c.precision_code)));
      put(3, row, shown_text(c.unit).trimmed());
      break;
    case calc::node_one_off:
      put(2, row, trimmed(calc::text_integer(c.one_off_count)));
      put(3, row, "Il.dow.");
      break;
    case calc::node_scaffold:
      if (const calc::costing_context* ctx = owner.costing())
        put(2, row, trimmed(calc::text_money_e(calc::scaffold_quantities(*ctx, child).count)));
      put(3, row, shown_text(c.unit).trimmed());
      break;
    default:
      break;
    }
    ++row;
  }
  grid_->UpdateView();
}

// Quantity survey ------------------------------------------------------------------------------

Tfrm_survey::Tfrm_survey(QWidget* parent) : node_sub_view("Tfrm_survey", parent) {
  make_sheet({"", "Opis", "Wyrażenie", "Ilość"}, {3, 30, 40, 14});
  totals_ = new QLabel(this);
  layout()->addWidget(totals_);
}

QString Tfrm_survey::totals_text() const { return totals_->text(); }

void Tfrm_survey::show_row(Tfrm_define& owner, document::Base_Node* node) {
  auto* e = dynamic_cast<Elpz_Node*>(node);
  const calc::model_node* m = owner.model_of(node);
  const estimate_values* v = owner.host().values();
  const printouts::node_texts texts = texts_of(owner, e);
  const calc::survey_lines& lines = texts.survey;
  set_rows(int(lines.size()));
  const bool owner_not_valued = m && m->not_valued();
  for (size_t i = 0; i < lines.size(); ++i) {
    const int row = int(i) + 1;
    put(0, row, QString::number(row));
    put(1, row, shown_text(lines[i].description));
    put(2, row, shown_text(lines[i].expression));
    if (!lines[i].is_comment()) put(3, row, QString::fromStdString(calc::survey_line_quantity_text(lines[i])));
    if (calc::survey_line_shaded(lines[i], owner_not_valued)) set_row_style(row, controls::ct_blocked);
  }
  grid_->UpdateView();
  if (!m || !v) {
    totals_->clear();
    return;
  }
  const calc::survey_owner_kind kind = m->type == calc::node_one_off ? calc::survey_owner_kind::one_off
                                       : m->is_aggregate()           ? calc::survey_owner_kind::element
                                                                     : calc::survey_owner_kind::position;
  calc::survey_owner so;
  so.kind = kind;
  so.precision_code = m->precision_code;
  const int code = calc::survey_precision(so, m->precision_code);
  const bool chapter = v->model.is_chapter;
  const calc::survey_totals t = calc::survey_totals_for(lines, kind, code, chapter ? v->model.chapter_multiplier : 1.0,
                                                        chapter ? v->model.chapter_code : 0);
  QString text = utf8(calc::survey_total_label) + QString::fromLatin1(t.total_text.c_str()).trimmed();
  if (t.show_multiplier) {
    text += "\n" + utf8(calc::survey_multiplier_label) + QString::fromLatin1(t.multiplier_text.c_str()).trimmed();
    text += "\n" + utf8(calc::survey_multiplied_label) + QString::fromLatin1(t.multiplied_text.c_str()).trimmed();
  }
  totals_->setText(text);
}

// Positions of a scaffolding -------------------------------------------------------------------

Tfrm_choose_poz::Tfrm_choose_poz(QWidget* parent) : node_sub_view("Tfrm_choose_poz", parent) {
  make_sheet({"", "Numer", "Nazwa"}, {2, 13, 60});
}

void Tfrm_choose_poz::show_row(Tfrm_define& owner, document::Base_Node* node) {
  auto* scaffold = dynamic_cast<Elpz_Node*>(node);
  struct entry {
    Elpz_Node* node;
    bool mark;
  };
  std::vector<entry> shown;
  Elpz_Node* pending = nullptr;
  for (int r = 1; r < owner.row_count(); ++r) {
    auto* e = dynamic_cast<Elpz_Node*>(owner.row_node(r));
    if (!e) continue;
    const int type = e->type();
    if (type == calc::node_element) pending = e;
    if (type != calc::node_position && type != calc::node_position_plain) continue;
    if (pending) shown.push_back({pending, false});
    pending = nullptr;
    shown.push_back({e, scaffold && e->scaffold == scaffold});
  }
  set_rows(int(shown.size()));
  if (shown.empty()) {
    put(1, 1, scaffold ? utf8("Brak pozycji! Wstaw pozycje z nakładami !")
                       : utf8("Brak rusztowań! Wstaw pozycje typu rusztowanie!"));
    grid_->UpdateView();
    return;
  }
  for (size_t i = 0; i < shown.size(); ++i) {
    Elpz_Node* e = shown[i].node;
    const int row = int(i) + 1;
    put(0, row, shown[i].mark ? QString(QChar(0x221A)) : QString());
    put(1, row, shown_text(e->record.number()).trimmed());
    const calc::model_node* m = owner.model_of(e);
    const QString description = m ? shown_text(m->description) : QString();
    const calc::model_node* sm = owner.model_of(scaffold);
    if ((sm && sm->not_valued()) || (e->scaffold && e->scaffold != scaffold)) set_row_style(row, controls::ct_blocked);
    if (e->type() == calc::node_element) {
      put(2, row, description);
      if (row_style(row) == controls::ct_basic) set_row_style(row, controls::ct_element);
    } else
      put(2, row, shown_text(document::basis_text(e->record, false)).trimmed() + "\n" + description);
  }
  grid_->UpdateView();
}

// CPV codes -------------------------------------------------------------------------------------

Tfrm_cpv::Tfrm_cpv(QWidget* parent) : node_sub_view("Tfrm_cpv", parent) {
  make_sheet({"", "Kod CPV", "Kod CPV Pomocniczy"}, {2, 60, 30});
  auto* bl = static_cast<QHBoxLayout*>(buttons_->layout());
  static const char* captions[3] = {"Pokaż kody wstawione", "Pokaż kody zebrane", "Pokaż kody agregowane"};
  for (int i = 0; i < 3; ++i) {
    modes_[i] = new QToolButton(buttons_);
    modes_[i]->setText(utf8(captions[i]));
    modes_[i]->setCheckable(true);
    modes_[i]->setEnabled(false);  // the display mode is stored with the document: shown, not changed
    bl->addWidget(modes_[i]);
  }
  bl->addStretch(1);
}

void Tfrm_cpv::show_row(Tfrm_define& owner, document::Base_Node* node) { bind_cpv(owner.host(), node); }

void Tfrm_cpv::bind_cpv(view_host& host, document::Base_Node* node) {
  document::Base_Node* n = node ? node : host.estimate_node();
  document::estimate_doc* doc = host.document();
  const bool position = node && node->kind == document::KIND_POSITION &&
                        dynamic_cast<Elpz_Node*>(node)->type() != calc::node_element &&
                        dynamic_cast<Elpz_Node*>(node)->type() != calc::node_group;
  int mode = doc ? document::cpv_display_mode(*doc) : 1;
  if (mode == 0 && !position) mode = 1;  // a document that never chose shows the attached codes
  buttons_->setVisible(!position);
  for (int i = 0; i < 3; ++i) modes_[i]->setChecked(mode & (1 << i));
  struct line {
    QString main, supplementary;
  };
  std::vector<line> lines;
  if (n && position) {
    if (!n->cpv_own.empty())
      lines.push_back({code_text(n->cpv_own[0].main), code_text(n->cpv_own[0].supplementary)});
  } else if (n) {
    if (mode & 4)
      for (const document::cpv_code& c : n->cpv_aggregated) lines.push_back({QString::fromStdString(c.shown()), {}});
    if (mode & 2)
      for (const document::cpv_code& c : n->cpv_collected) lines.push_back({QString::fromStdString(c.shown()), {}});
    if (mode & 1) {
      for (const document::cpv_pair& p : n->cpv_own)
        lines.push_back({code_text(p.main), code_text(p.supplementary)});
      lines.push_back({});  // the row for a new code
    }
  }
  set_rows(int(lines.size()));
  for (size_t i = 0; i < lines.size(); ++i) {
    put(1, int(i) + 1, lines[i].main);
    put(2, int(i) + 1, lines[i].supplementary);
  }
  if (lines.empty() && !(mode & 1) && !position)
    put(1, 1, utf8("Naciśnij przycisk \"Pokaż kody wstawione  \", aby móc edytować kody CPV !"));
  grid_->UpdateView();
}

} // namespace kovra::views
