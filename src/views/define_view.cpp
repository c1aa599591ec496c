#include "views/define_view.h"

#include "calc/estimate_model.h"
#include "calc/number_text.h"
#include "calc/position_costing.h"
#include "calc/recalc_options.h"
#include "calc/special_positions.h"
#include "controls/screen_look.h"
#include "controls/std_grid.h"
#include "document/basis_text.h"
#include "document/estimate_nodes.h"
#include "document/tree_iterators.h"
#include "shell/general_settings.h"
#include "store/codepage.h"
#include "views/estimate_values.h"
#include "views/position_sub_views.h"
#include "views/view_host.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kovra::views {
namespace {

using document::Elpz_Node;

QString shown_text(std::string_view internal) { return QString::fromStdString(store::mazovia_to_utf8(internal)); }

QString trimmed(const char* text) { return QString::fromLatin1(text).trimmed(); }

bool is_position(int type) { return type == calc::node_position || type == calc::node_position_plain; }
bool is_simplified(int type) { return type == calc::node_simplified || type == calc::node_simplified_plain; }
bool is_aggregate(int type) { return type == calc::node_element || type == calc::node_group; }

// "R", "M", "S": upper case where the coefficient (to 0.001) is not 1.
QString coefficient_letters(const std::array<float, 3>& coef) {
  static const char upper[] = "RMS", lower[] = "rms";
  QString s;
  for (int i = 0; i < 3; ++i) {
    const long milli = std::lround(double(coef[size_t(i)]) * 1000.0);
    s += QChar(milli != 1000 ? upper[i] : lower[i]);
  }
  return s;
}

QString factor_unless_one(double f) {
  char buffer[16];
  return QString::fromLatin1(calc::text_factor_or_blank(f, buffer, sizeof buffer)).trimmed();
}

constexpr int col_number = 1, col_text = 2, col_quantity = 3, col_unit = 4, col_factor = 5;

} // namespace

Tfrm_define::Tfrm_define(view_host& host, QWidget* parent) : TTabForm(parent), host_(host) {
  setObjectName("Tfrm_define");
  start_column_ = shell::general_settings().name_column_first() ? 2 : 1;
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  // The speed panel: navigation and the value panels.
  pnl_speed_ = new QWidget(this);
  auto* speed = new QHBoxLayout(pnl_speed_);
  speed->setContentsMargins(2, 2, 2, 2);
  static const char* arrows[4] = {"|<", "<", ">", ">|"};
  static const char* tips[4] = {"Pierwsza pozycja (Alt+PgUp)", "Poprzednia pozycja (Alt+Home)",
                                "Następna pozycja (Alt+End)", "Ostatnia pozycja (Alt+PgDn)"};
  for (int i = 0; i < 4; ++i) {
    nav_[i] = new QToolButton(pnl_speed_);
    nav_[i]->setText(arrows[i]);
    nav_[i]->setToolTip(QString::fromUtf8(tips[i]));
    connect(nav_[i], &QToolButton::clicked, this, [this, i] { go(i); });
    speed->addWidget(nav_[i]);
  }
  lbl_value_ = new QLabel(pnl_speed_);
  lbl_value_->setMinimumWidth(108);
  lbl_price_ = new QLabel(pnl_speed_);
  lbl_price_->setMinimumWidth(108);
  lbl_price_->hide();
  speed->addWidget(lbl_value_);
  speed->addWidget(lbl_price_);
  speed->addStretch(1);
  layout->addWidget(pnl_speed_);

  splt_naklady_ = new QSplitter(Qt::Vertical, this);
  grid_ = new controls::VL_std_grid(splt_naklady_);
  grid_->use_screen_look();
  grid_->set_col_count(6);
  grid_->set_fixed_cols(1);
  grid_->set_fixed_rows(1);
  grid_->set_row_count(2);
  grid_->set_auto_row_height(true);
  grid_->set_align_col_number(col_text);
  const QFontMetrics fm(grid_->font());
  const int margin = 8;
  grid_->set_col_widths(0, fm.horizontalAdvance("88") + margin);
  grid_->set_col_widths(col_number, fm.horizontalAdvance("88888888") + margin);
  grid_->set_col_widths(col_text, 300);
  grid_->set_col_widths(col_quantity, fm.horizontalAdvance("88888888888888") + margin);
  grid_->set_col_widths(col_unit, fm.horizontalAdvance("88888888") + margin);
  grid_->set_col_widths(col_factor, std::max(fm.horizontalAdvance("88888"), fm.horizontalAdvance(QString::fromUtf8("Krotność"))) + margin);
  grid_->set_source(this);
  connect(grid_, &controls::VL_std_grid::current_changed, this, [this](int, int row) {
    if (row >= 1 && row < int(rows_.size())) {
      if (!quiet_) {  // the user's (or a button's) choice: the tree follows
        following_ = true;
        host_.select_node(rows_[size_t(row)]);
        following_ = false;
      }
      update_buttons();
      refresh_sub_view();
    }
  });

  pnl_bottom_ = new QWidget(splt_naklady_);
  auto* bottom = new QVBoxLayout(pnl_bottom_);
  bottom->setContentsMargins(0, 0, 0, 0);
  bottom->setSpacing(0);
  tabs_ = new QTabBar(pnl_bottom_);
  for (const char* t : {"Lista", "RMS", "Przedmiar", "Kod"}) tabs_->addTab(QString::fromUtf8(t));
  bottom->addWidget(tabs_);
  stack_ = new QStackedWidget(pnl_bottom_);
  bottom->addWidget(stack_, 1);
  stack_->addWidget(new QWidget(stack_));  // "Lista": nothing below the grid
  subs_ = {new Tfrm_naklady(stack_), new Tfrm_jednoraz(stack_), new Tfrm_scalona(stack_), new Tfrm_ruszt(stack_),
           new Tfrm_element(stack_), new Tfrm_el_scalony(stack_), new Tfrm_survey(stack_),
           new Tfrm_choose_poz(stack_), new Tfrm_cpv(stack_)};
  for (auto* s : subs_) stack_->addWidget(s);
  connect(tabs_, &QTabBar::currentChanged, this, [this](int) {
    layout_bottom();
    refresh_sub_view();
  });
  splt_naklady_->setStretchFactor(0, 1);
  splt_naklady_->setStretchFactor(1, 3);
  layout->addWidget(splt_naklady_, 1);
  tabs_->setCurrentIndex(page_rms);
  layout_bottom();
}

Tfrm_define::~Tfrm_define() { grid_->set_source(nullptr); }

void Tfrm_define::activate(int stage) {
  TTabForm::activate(stage);
  pnl_speed_->show();
  if (stage == 0) {
    layout_bottom();
    refresh_sub_view();
  }
}

void Tfrm_define::deactivate(int stage) {
  TTabForm::deactivate(stage);
  pnl_speed_->hide();
}

void Tfrm_define::resizeEvent(QResizeEvent* e) {
  TTabForm::resizeEvent(e);
  fit_columns();
}

void Tfrm_define::fit_columns() {
  // "Podstawa / Opis" takes what the other columns leave.
  int others = 0;
  for (int c = 0; c < grid_->col_count(); ++c)
    if (c != col_text) others += grid_->get_col_widths(c) + grid_->grid_line_width();
  const int rest = grid_->viewport()->width() - others - grid_->grid_line_width();
  grid_->set_col_widths(col_text, std::max(120, rest));
  grid_->set_left_col(1);
}

void Tfrm_define::set_shown(bool shown) {
  TTabForm::set_shown(shown);
  if (!shown) return;
  rebuild_rows();
}

const calc::costing_context* Tfrm_define::costing() const {
  const estimate_values* v = host_.values();
  if (!v) return nullptr;
  if (!costing_ || costing_->model != &v->model)
    costing_ = std::make_unique<calc::costing_context>(
        calc::make_costing_context(v->model, calc::options_from_settings(v->model.settings)));
  return costing_.get();
}

void Tfrm_define::values_changed() {
  costing_.reset();
  model_by_pos_.clear();
  if (const estimate_values* v = host_.values()) {
    model_by_pos_.reserve(v->model.nodes.size());
    for (size_t i = 0; i < v->model.nodes.size(); ++i) model_by_pos_.emplace(v->model.nodes[i].pos, int(i));
  }
  rebuild_rows();
}

void Tfrm_define::node_changed(document::Base_Node* node) {
  if (following_) return;
  show_node(node);
}

void Tfrm_define::rebuild_rows() {
  document::Base_Node* keep = row_node(current_row());
  rows_.clear();
  scaffolds_.clear();
  document::Base_Node* root = host_.estimate_node();
  rows_.push_back(root);
  if (root) {
    document::for_each_below(root, [this](document::Smp_Node* n) {
      auto* e = dynamic_cast<Elpz_Node*>(n);
      if (!e) return;
      // Nodes under a merged element are shown only while it is expanded: this edition
      // shows every node.
      if (e->type() == calc::node_scaffold) scaffolds_.push_back(e);
      rows_.push_back(e);
    });
  }
  grid_->set_row_count(std::max(2, int(rows_.size())));
  grid_->UpdateView();
  // The tree's choice when it is a row, else the row that was current.
  int row = 1;
  document::Base_Node* chosen = host_.current_node();
  for (size_t i = 1; i < rows_.size(); ++i)
    if (rows_[i] == keep && row == 1) row = int(i);
  for (size_t i = 1; i < rows_.size(); ++i)
    if (rows_[i] == chosen) row = int(i);
  quiet_ = true;
  grid_->set_current(start_column_, row);
  quiet_ = false;
  fit_columns();
  update_buttons();
  refresh_sub_view();
}

document::Base_Node* Tfrm_define::row_node(int row) const {
  if (row < 1 || row >= int(rows_.size())) return nullptr;
  return rows_[size_t(row)];
}

int Tfrm_define::current_row() const { return grid_ ? grid_->row() : 0; }

int Tfrm_define::model_index(const document::Base_Node* node) const {
  auto* e = dynamic_cast<const Elpz_Node*>(node);
  if (!e) return -1;
  auto it = model_by_pos_.find(e->pos);
  return it == model_by_pos_.end() ? -1 : it->second;
}

const calc::model_node* Tfrm_define::model_of(const document::Base_Node* node) const {
  const int i = model_index(node);
  const estimate_values* v = host_.values();
  if (i < 0 || !v || i >= int(v->model.nodes.size())) return nullptr;
  return &v->model.nodes[size_t(i)];
}

int Tfrm_define::scaffold_place(const Elpz_Node* scaffold) const {
  for (size_t i = 0; i < scaffolds_.size(); ++i)
    if (scaffolds_[i] == scaffold) return int(i) + 1;
  return 0;
}

define_row_texts Tfrm_define::row_texts(int row) const {
  define_row_texts t;
  auto* e = dynamic_cast<Elpz_Node*>(row_node(row));
  if (!e) return t;
  const int type = e->type();
  const calc::model_node* m = model_of(e);
  t.number = shown_text(e->record.number()).trimmed();
  t.unit = shown_text(e->record.unit()).trimmed();
  t.description = m ? shown_text(m->description) : QString();
  t.not_valued = m && m->not_valued();
  if (is_aggregate(type) && !(m && m->merged)) {
    t.across = true;
    t.factor = m ? coefficient_letters(m->coef) : QString();
    return t;
  }
  if (!m) return t;
  if (is_aggregate(type)) {  // a merged element
    t.quantity = trimmed(calc::text_quantity(m->merged_quantity, m->merged_precision_code));
    t.factor = trimmed(calc::text_factor(m->multiplicity));
    return t;
  }
  t.basis = shown_text(document::basis_text(e->record, false)).trimmed();
  // A basis given as text is followed by the one built from the catalogue reference.
  if (e->record.flags() & document::FLAG_BASIS_AS_TEXT) {
    const QString built = shown_text(document::basis_text(e->record, true)).trimmed();
    if (!built.isEmpty()) t.basis += " <" + built + ">";
  }
  if (type == calc::node_one_off) {
    t.quantity = trimmed(calc::text_integer(m->one_off_count));
    t.factor = trimmed(calc::text_distance(m->one_off_distance));
    if (t.basis.isEmpty()) t.basis.clear();
    return t;
  }
  const shell::general_record& settings = shell::general_settings();
  if (t.basis.isEmpty() && type != calc::node_scaffold) t.basis = shown_text(settings.catalogue_prefix()).trimmed();
  if (type == calc::node_scaffold) {
    if (const calc::costing_context* ctx = costing()) {
      const calc::scaffold_values sv = calc::scaffold_quantities(*ctx, model_index(e));
      t.quantity = trimmed(calc::text_quantity(sv.count, sv.count_code));
    }
    t.factor = trimmed(calc::text_factor(m->multiplicity));
    return t;
  }
  t.quantity = trimmed(calc::text_quantity(m->quantity, m->precision_code));
  const bool survey_linked = e->record.survey_pos() != -1 && uint8_t(m->precision_code) != 253;
  const bool other_kind = type == 7 || type == 8 || type > calc::node_group;
  if ((((is_position(type) || is_simplified(type)) && survey_linked) || other_kind) && !settings.no_tilde_marks())
    t.quantity = "~" + t.quantity;
  if (is_position(type) && e->scaffold)
    if (const int place = scaffold_place(e->scaffold)) t.quantity += QString("\nR%1 ").arg(place);
  t.factor = factor_unless_one(m->multiplicity);
  return t;
}

void Tfrm_define::set_cell_data(controls::VL_std_grid&, int col, int row, controls::VL_cell& cell) {
  if (row == 0) {
    static const char* heads[6] = {"", "Numer", "Podstawa / Opis", "Ilość", "Jednostka", "Krotność"};
    cell.text = QString::fromUtf8(heads[col]);
    cell.text_format = controls::tf_center | controls::tf_vcenter | controls::tf_single_line;
    return;
  }
  if (col == 0) return;
  if (rows_.size() <= 1) {
    if (row == 1 && col == 1) {
      cell.text = "Brak pozycji.";
      cell.rect.setRight(cell.rect.left() + grid_->get_some_cols_width(1, 5));
    } else if (row == 1) {
      cell.cell_state = 0;
    }
    return;
  }
  if (row >= int(rows_.size())) return;
  const define_row_texts t = row_texts(row);
  const int type = static_cast<Elpz_Node*>(rows_[size_t(row)])->type();
  if (t.across) {
    cell.cell_type = type == calc::node_group ? controls::ct_group : controls::ct_element;
    if (col == col_text) {
      cell.text = t.description;
      cell.rect.setRight(cell.rect.left() + grid_->get_some_cols_width(col_text, col_unit));
    } else if (col == col_quantity || col == col_unit) {
      cell.cell_state = 0;
    } else {
      cell.text = col == col_number ? t.number : t.factor;
    }
    return;
  }
  if (t.not_valued) cell.cell_type = controls::ct_blocked;
  switch (col) {
  case col_number: cell.text = t.number; break;
  case col_text: cell.text = t.basis.isEmpty() ? t.description : t.basis + "\n" + t.description; break;
  case col_quantity:
    cell.text = t.quantity;
    cell.text_format = controls::tf_right | controls::tf_word_wrap;
    break;
  case col_unit: cell.text = t.unit; break;
  case col_factor:
    cell.text = t.factor;
    cell.text_format = controls::tf_right | controls::tf_word_wrap;
    break;
  }
}

void Tfrm_define::select_row(int row) {
  if (row < 1 || row >= int(rows_.size())) return;
  grid_->set_current(std::max(1, grid_->col()), row);
}

void Tfrm_define::show_node(document::Base_Node* node) {
  for (size_t i = 1; i < rows_.size(); ++i)
    if (rows_[i] == node) {
      if (current_row() != int(i)) {
        quiet_ = true;
        grid_->set_current(std::max(1, grid_->col()), int(i));
        quiet_ = false;
      }
      update_buttons();
      refresh_sub_view();
      return;
    }
}

bool Tfrm_define::can_go(int where) const {
  const int last = int(rows_.size()) - 1, row = current_row();
  if (last < 1) return false;
  switch (where) {
  case 0: return row != 1;
  case 1: return row > 1;
  case 2: return row < last;
  default: return row != last;
  }
}

void Tfrm_define::go(int where) {
  if (!can_go(where)) return;
  const int last = int(rows_.size()) - 1, row = current_row();
  const int target = where == 0 ? 1 : where == 1 ? row - 1 : where == 2 ? row + 1 : last;
  select_row(target);
}

void Tfrm_define::update_buttons() {
  for (int i = 0; i < 4; ++i) nav_[i]->setEnabled(can_go(i));
  lbl_value_->setText(value_text());
}

QString Tfrm_define::value_text() const {
  const calc::model_node* m = model_of(row_node(current_row()));
  return QString("Wartość: ") + (m ? trimmed(calc::text_money(m->net)) : QString());
}

void Tfrm_define::set_sub_page(int page) { tabs_->setCurrentIndex(page); }
int Tfrm_define::sub_page() const { return tabs_->currentIndex(); }

void Tfrm_define::layout_bottom() {
  const bool list = tabs_->currentIndex() == page_list;
  stack_->setVisible(!list);
  lbl_value_->setVisible(!list);
  splt_naklady_->handle(1)->setVisible(!list);
  const int h = std::max(splt_naklady_->height(), 100);
  const int tab_h = tabs_->sizeHint().height();
  if (list)
    splt_naklady_->setSizes({h - tab_h, tab_h});
  else
    splt_naklady_->setSizes({h - int(h * bottom_share_), int(h * bottom_share_)});
}

node_sub_view* Tfrm_define::sub_view_for(document::Base_Node* node, int page) {
  auto find = [this](const char* cls) -> node_sub_view* {
    for (auto* s : subs_)
      if (s->view_class() == cls) return s;
    return nullptr;
  };
  if (page == page_list) return nullptr;
  if (page == page_code) return find("Tfrm_cpv");
  auto* e = dynamic_cast<Elpz_Node*>(node);
  if (!e) return find("Tfrm_element");
  const int type = e->type();
  const calc::model_node* m = model_of(e);
  if (page == page_survey) {
    if (type == calc::node_scaffold) return find("Tfrm_choose_poz");
    if (type >= 1 && type <= 5) return find("Tfrm_survey");
    if (is_aggregate(type) && m && m->merged) return find("Tfrm_el_scalony");
  }
  if (is_aggregate(type)) return find("Tfrm_element");
  if (is_position(type)) return find("Tfrm_naklady");
  if (type == calc::node_one_off) return find("Tfrm_jednoraz");
  if (is_simplified(type)) return find("Tfrm_scalona");
  if (type == calc::node_scaffold) return find("Tfrm_ruszt");
  return find("Tfrm_element");
}

void Tfrm_define::refresh_sub_view() {
  document::Base_Node* node = row_node(current_row());
  const bool bound = host_.records() != nullptr;
  for (int i = 1; i < tabs_->count(); ++i) tabs_->setTabEnabled(i, bound);
  node_sub_view* s = bound ? sub_view_for(node, tabs_->currentIndex()) : nullptr;
  shown_sub_ = s;
  if (!s) {
    stack_->setCurrentIndex(0);
    return;
  }
  s->show_row(*this, node);
  stack_->setCurrentWidget(s);
  s->show();
}

} // namespace kovra::views
