#include "views/summary_view.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QMenu>
#include <QRadioButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

#include "calc/estimate_model.h"
#include "controls/std_grid.h"
#include "document/compound_nodes.h"
#include "document/estimate_doc.h"
#include "document/estimate_nodes.h"
#include "document/general_data.h"
#include "shell/config.h"
#include "shell/general_settings.h"
#include "shell/ini_file.h"
#include "shell/ini_form.h"
#include "views/estimate_values.h"
#include "views/view_host.h"

namespace kovra::views {

using namespace controls;

const char* summary_sort_key(int kind) {
  static const char* keys[] = {"Zestawienie R", "Zestawienie M", "Zestawienie S"};
  return keys[kind < 0 || kind > 2 ? 0 : kind];
}

int summary_kind_of(const QString& caption) { return caption.endsWith('M') ? 1 : caption.endsWith('S') ? 2 : 0; }

Tfrm_zestrms::Tfrm_zestrms(view_host& host, int kind, bool compound, QWidget* parent)
    : TTabForm(parent), host_(host), kind_(kind), compound_(compound) {
  setObjectName(compound ? "Tfrm_zest_multi" : "Tfrm_zest_simple");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  auto* panel = new QHBoxLayout;
  panel->setContentsMargins(4, 2, 4, 0);
  auto button = [&](const QString& text, const QString& shortcut, auto slot) {
    auto* b = new QToolButton(this);
    b->setText(text);
    b->setToolTip(text + "  (" + shortcut + ")");
    b->setShortcut(QKeySequence(shortcut));
    b->setAutoRaise(true);
    panel->addWidget(b);
    connect(b, &QToolButton::clicked, this, slot);
    return b;
  };
  const char* filters[] = {"Ceny zerowe", "Ceny niezerowe", "Ceny wszystkie"};
  const char* filter_keys[] = {"Alt+F1", "Alt+F2", "Alt+F3"};
  auto* group = new QButtonGroup(this);
  for (int f = 0; f < 3; ++f) {
    filter_buttons_[size_t(f)] = button(filters[f], filter_keys[f], [this, f] { set_filter(f); });
    filter_buttons_[size_t(f)]->setCheckable(true);
    group->addButton(filter_buttons_[size_t(f)]);
  }
  filter_buttons_[2]->setChecked(true);
  button("Sortuj", "Alt+S", [this] { open_sort_dialog(); });
  button("Kolumny", "Alt+Q", [this] { open_columns_dialog(); });
  one_line_button_ = button("Lista jednowierszowa", "Alt+J", [this] { set_one_line(!one_line_); });
  one_line_button_->setCheckable(true);
  panel->addStretch();
  layout->addLayout(panel);

  grid_ = new VL_std_grid(this);
  grid_->setObjectName("zest_rms_grid");
  grid_->set_source(this);
  grid_->use_screen_look();
  grid_->set_col_count(summary_columns);
  grid_->set_fixed_cols(1);
  grid_->set_row_count(2);
  grid_->set_fixed_rows(1);
  grid_->set_auto_row_height(true);
  layout->addWidget(grid_, 1);
  connect(grid_, &VL_std_grid::OnClickHead, this, [this](int col) { click_head(col); });

  menu_ = new QMenu(this);
  QAction* copy = menu_->addAction("&Kopiuj wiersze");
  copy->setShortcut(QKeySequence::Copy);
  connect(copy, &QAction::triggered, this, [this] { copy_rows(); });
  grid_->set_popup_menu(0, menu_);
  grid_->set_popup_menu(1, menu_);
  auto* copy_key = new QShortcut(QKeySequence::Copy, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
  connect(copy_key, &QShortcut::activated, this, [this] { copy_rows(); });

  // The sort kept from the last session.
  const std::string& ini = shell::ini_filename();
  if (!ini.empty()) {
    if (auto v = shell::ini_read(ini, summary_sort_section, summary_sort_key(kind_))) {
      const int stored = std::atoi(v->c_str());
      if (stored != 0 && std::abs(stored) <= summary_columns) {
        sort_col_ = std::abs(stored) - 1;
        ascending_ = stored > 0;
      }
    }
  }
  shown_.fill(true);
}

void Tfrm_zestrms::store_sort() const {
  const std::string& ini = shell::ini_filename();
  if (ini.empty()) return;
  shell::ini_write(ini, summary_sort_section, summary_sort_key(kind_),
                   std::to_string((sort_col_ + 1) * (ascending_ ? 1 : -1)));
}

void Tfrm_zestrms::load() {
  rows_.clear();
  if (compound_) {
    if (const compound_values* c = host_.compound()) rows_.load_compound(c->model, c->result.totals, uint8_t(kind_));
  } else if (const estimate_values* v = host_.values()) {
    rows_.load_simple(v->model, v->result.totals, uint8_t(kind_));
  }
  loaded_ = true;
  // Columns a labour or equipment view does not have do not sort it; nor do those of a
  // compound summary in a simple one.
  if (!rows_.column_exists(sort_col_)) sort_col_ = sc_eto;
  apply_columns();
  rows_.sort(sort_col_, ascending_);
  refill();
}

void Tfrm_zestrms::activate(int stage) {
  TTabForm::activate(stage);
  if (stage == 0 && !loaded_) load();
}

void Tfrm_zestrms::deactivate(int stage) {
  TTabForm::deactivate(stage);
  if (stage == 0) {
    loaded_ = false;
    rows_.clear();
  }
}

void Tfrm_zestrms::set_shown(bool shown) {
  TTabForm::set_shown(shown);
  if (shown) {
    deactivate(0);
    activate(0);
  }
}

void Tfrm_zestrms::values_changed() {
  if (loaded_ || isVisible()) load();
}

uint16_t Tfrm_zestrms::hidden_mask() const {
  uint16_t mask = 0;
  for (int c = 0; c < summary_columns; ++c)
    if (!shown_[size_t(c)] && rows_.column_exists(c)) mask |= uint16_t(1u << c);
  return mask;
}

void Tfrm_zestrms::apply_columns() {
  uint16_t mask = uint16_t(shell::general_settings().hidden_columns(kind_));
  if (const document::general_data* g = host_.general()) mask = uint16_t(g->hidden_columns(kind_));
  for (int c = 0; c < summary_columns; ++c) shown_[size_t(c)] = c == sc_name || !(mask & (1u << c));
  const QFont font = grid_->font();
  static const char* samples[] = {"", "88888888", "RRRRRRRRRRRRRRRR", "88888888", "88888888888", "888888888",
                                  "888888888", "888888888", "888888888", "888888888", "-99999999,99", "",
                                  "88888888888", "-99999999,99"};
  for (int c = 0; c < summary_columns; ++c) {
    int w;
    if (!rows_.column_exists(c)) w = -1;
    else if (!shown_[size_t(c)]) w = 1;
    else {
      QString sample = c == sc_lp ? QString::number(rows_.shown_count() + 1) + "." : c == sc_mp ? rows_.title(c)
                                                                                             : samples[c];
      w = std::max(grid_->grid_cell_width(font, rows_.title(c)), grid_->grid_cell_width(font, sample));
    }
    grid_->set_col_widths(c, w);
  }
  grid_->set_align_col_number(sc_name);
}

void Tfrm_zestrms::refill() {
  grid_->DontUpdateView();
  grid_->set_row_count(1 + rows_.shown_count() + int(rows_.closing().size()));
  grid_->set_sort_col_number(summary_rows::sortable(sort_col_) ? sort_col_ : -1);
  grid_->set_sort_col_type(ascending_ ? sctUp : sctDown);
  grid_->UpdateView();
  for (int f = 0; f < 3; ++f) filter_buttons_[size_t(f)]->setChecked(rows_.filter() == f);
}

void Tfrm_zestrms::set_filter(int filter) {
  rows_.set_filter(filter);
  refill();
}

void Tfrm_zestrms::sort_by(int col, bool ascending) {
  if (!summary_rows::sortable(col) || !rows_.column_exists(col)) return;
  const int row = grid_->row() - 1;
  uint32_t id = 0;
  uint16_t sub = 0;
  const bool had = row >= 0 && row < rows_.shown_count();
  if (had) id = rows_.shown(row).id, sub = rows_.shown(row).sub;
  sort_col_ = col;
  ascending_ = ascending;
  rows_.sort(col, ascending);
  store_sort();
  refill();
  if (had) {
    const int again = rows_.find_shown(id, sub);
    if (again >= 0) grid_->set_current(grid_->col(), again + 1);
  }
}

void Tfrm_zestrms::click_head(int col) {
  if (!summary_rows::sortable(col) || !rows_.column_exists(col)) return;
  sort_by(col, col == sort_col_ ? !ascending_ : ascending_);
}

void Tfrm_zestrms::set_hidden_mask(uint16_t mask) {
  mask &= uint16_t(~(1u << sc_name));
  shell::general_settings().set_hidden_columns(kind_, int16_t(mask));
  if (!shell::config_path().empty()) shell::save_general_settings(shell::general_settings());
  if (document::general_data* g = host_.general()) g->set_hidden_columns(kind_, int16_t(mask));
  if (host_.chapter() || compound_) spread_hidden_columns(mask);
  apply_columns();
  // A hidden sort column gives way to the next shown sortable column to its right, else
  // the first one from the left.
  if (!shown_[size_t(sort_col_)]) {
    auto fits = [this](int c) { return shown_[size_t(c)] && rows_.column_exists(c) && summary_rows::sortable(c); };
    int next = -1;
    for (int c = sort_col_ + 1; c < summary_columns && next < 0; ++c)
      if (fits(c)) next = c;
    for (int c = 0; c < sort_col_ && next < 0; ++c)
      if (fits(c)) next = c;
    if (next >= 0) sort_by(next, ascending_);
  }
  refill();
}

void Tfrm_zestrms::set_one_line(bool on) {
  one_line_ = on;
  one_line_button_->setChecked(on);
  refill();
}

QString Tfrm_zestrms::second_line(int row, int col) const {
  const int i = row - 1;
  if ((col != sc_quantity && col != sc_value) || i < 0 || i >= rows_.shown_count() || !shown_[size_t(col)]) return {};
  QString second;
  rows_.cell(i, col, &second);
  return second;
}

QFont Tfrm_zestrms::small_font() const {
  QFont f = grid_->font();
  if (f.pixelSize() > 0) f.setPixelSize(std::max(8, f.pixelSize() * 4 / 5));
  else f.setPointSizeF(std::max(6.0, f.pointSizeF() * 0.8));
  return f;
}

void Tfrm_zestrms::count_height(VL_std_grid&, int row, int& add) {
  // A line with an excluded part is tall enough for the smaller line below.
  if (!second_line(row, sc_quantity).isEmpty() || !second_line(row, sc_value).isEmpty())
    add += QFontMetrics(small_font()).height();
}

void Tfrm_zestrms::draw_cell_finish(VL_std_grid&, QPainter& p, int col, int row, const VL_cell& cell,
                                    const TEXT_ELEM& te) {
  const QString second = second_line(row, col);
  if (second.isEmpty()) return;
  p.save();
  p.setFont(small_font());
  p.setPen(te.text);
  p.drawText(cell.rect.adjusted(2, 0, -3, -2), Qt::AlignRight | Qt::AlignBottom, second);
  p.restore();
}

QString Tfrm_zestrms::cell_text(int col, int row) {
  VL_cell cell;
  cell.rect = QRect(0, 0, 100, 20);
  set_cell_data(*grid_, col, row, cell);
  return cell.text;
}

void Tfrm_zestrms::copy_rows() const { QApplication::clipboard()->setText(rows_.tab_separated()); }

void Tfrm_zestrms::set_cell_data(VL_std_grid& grid, int col, int row, VL_cell& cell) {
  if (row == 0) {
    cell.text = rows_.title(col);
    cell.text_format = tf_center | tf_vcenter | tf_single_line;
    return;
  }
  const int i = row - 1;
  const bool numeric = col == sc_quantity || (col >= sc_base_price && col <= sc_value) || col == sc_investor_quantity ||
                       col == sc_investor_value;
  if (i < rows_.shown_count()) {
    cell.text = rows_.cell(i, col);
    if (col == sc_lp) cell.text_format = tf_right | tf_vcenter;
    else if (numeric) cell.text_format = tf_right;
    else if (col == sc_mp) cell.text_format = tf_center;
    else if (col == sc_name && one_line_) cell.text_format = tf_single_line | tf_end_ellipsis;
    return;
  }
  const int c = i - rows_.shown_count();
  if (c < 0 || c >= int(rows_.closing().size())) return;
  const int end = rows_.closing_label_end(c);
  cell.cell_type = ct_fixed;
  if (col <= end) {
    if (col == 0) {
      cell.rect.setRight(grid.cell_rect(end, row).right());
      cell.text = rows_.closing_cell(c, 0);
      cell.text_format = tf_right | tf_vcenter | tf_single_line;
    } else {
      cell.cell_state = 0;
    }
    return;
  }
  cell.text = rows_.closing_cell(c, col);
  cell.text_format = tf_right | tf_vcenter | tf_single_line;
}

void Tfrm_zestrms::keyPressEvent(QKeyEvent* e) {
  // A letter selects the first line whose name begins with it (cursor in columns 0 to 4).
  const QString t = e->text();
  if (t.size() == 1 && t[0].isLetter() && !(e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) &&
      grid_->col() <= sc_quantity) {
    const QChar letter = t[0].toUpper();
    for (int i = 0; i < rows_.shown_count(); ++i)
      if (rows_.cell(i, sc_name).startsWith(letter, Qt::CaseInsensitive)) {
        grid_->set_current(sc_name, i + 1);
        return;
      }
    return;
  }
  TTabForm::keyPressEvent(e);
}

void Tfrm_zestrms::spread_hidden_columns(uint16_t mask) {
  // Every estimate of a compound one keeps the same masks: the compound and each chapter.
  document::estimate_doc* doc = host_.document();
  if (!doc || !doc->tree || !doc->tree->first) return;
  for (document::Smp_Node* n = doc->tree->first->first_child; n; n = n->next) {
    auto* b = static_cast<document::Base_Node*>(n);
    if (b->kind != document::KIND_CHAPTER) continue;
    if (document::chapter_document* c = static_cast<document::Rozdz_Node*>(b)->chapter())
      c->general().set_hidden_columns(kind_, int16_t(mask));
  }
  doc->general.set_hidden_columns(kind_, int16_t(mask));
}

bool Tfrm_zestrms::open_sort_dialog() {
  QDialog d(this);
  d.setWindowTitle("Sortowanie");
  auto* layout = new QVBoxLayout(&d);
  auto* by = new QGroupBox("Według kolumny", &d);
  auto* grid = new QGridLayout(by);
  struct radio { const char* text; int col; };
  const radio radios[] = {{"&ETO", 1}, {"&Nazwa", 2}, {"&Jednostka", 3}, {"&Ilość", 4}, {"Cena &wyj.", 5},
                          {"&Kz [%]", 6}, {"Cena &min", 7}, {"&Cena", 8}, {"Cena ma&x", 9}, {"&Wartość", 10},
                          {"M&p", 11}, {"Il&ość inwestora", 12}, {"W&artość inwestora", 13}, {"&Lp.", 0}};
  std::vector<std::pair<QRadioButton*, int>> buttons;
  int n = 0;
  for (const radio& r : radios) {
    auto* b = new QRadioButton(QString::fromUtf8(r.text), by);
    b->setEnabled(r.col == sc_lp || r.col == sc_mp || rows_.column_exists(r.col));
    b->setChecked(r.col == sort_col_);
    grid->addWidget(b, n % 7, n / 7);
    buttons.emplace_back(b, r.col);
    ++n;
  }
  layout->addWidget(by);
  auto* how = new QGroupBox("Sposób", &d);
  auto* hl = new QHBoxLayout(how);
  auto* up = new QRadioButton("&Rosnąco", how);
  auto* down = new QRadioButton("&Malejąco", how);
  (ascending_ ? up : down)->setChecked(true);
  hl->addWidget(up);
  hl->addWidget(down);
  layout->addWidget(how);
  auto* box = new QDialogButtonBox(&d);
  box->addButton("&OK", QDialogButtonBox::AcceptRole);
  box->addButton("&Zrezygnuj", QDialogButtonBox::RejectRole);
  connect(box, &QDialogButtonBox::accepted, &d, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, &d, &QDialog::reject);
  layout->addWidget(box);
  if (d.exec() != QDialog::Accepted) return false;
  for (auto& [b, col] : buttons)
    if (b->isChecked()) {
      if (col == 0 || !summary_rows::sortable(col)) {
        // "Lp.": the lines keep their order.
        sort_col_ = col;
        ascending_ = up->isChecked();
        store_sort();
        refill();
      } else {
        sort_by(col, up->isChecked());
      }
    }
  return true;
}

bool Tfrm_zestrms::open_columns_dialog() {
  QDialog d(this);
  d.setWindowTitle("Wyświetl kolumny");
  auto* layout = new QVBoxLayout(&d);
  struct box { const char* text; int col; };
  const box boxes[] = {{"&ETO", 1}, {"&Nazwa", 2}, {"&Jednostka", 3}, {"&Ilość", 4}, {"Cena w&yjściowa", 5},
                       {"Wartość &Kz", 6}, {"Cen&a min", 7}, {"&Cena", 8}, {"Cena ma&x", 9}, {"&Wartość", 10},
                       {"&Mp", 11}, {"Il&ość inwestora", 12}, {"Wa&rtość inwestora", 13}, {"&Lp.", 0}};
  std::vector<std::pair<QCheckBox*, int>> checks;
  for (const box& b : boxes) {
    auto* c = new QCheckBox(QString::fromUtf8(b.text), &d);
    const bool exists = rows_.column_exists(b.col);
    c->setChecked(exists && shown_[size_t(b.col)]);
    c->setEnabled(exists && b.col != sc_name);
    layout->addWidget(c);
    checks.emplace_back(c, b.col);
  }
  auto* buttons = new QDialogButtonBox(&d);
  buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
  buttons->addButton("&Zrezygnuj", QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
  layout->addWidget(buttons);
  if (d.exec() != QDialog::Accepted) return false;
  uint16_t mask = 0;
  for (auto& [c, col] : checks)
    if (!c->isChecked() && rows_.column_exists(col)) mask |= uint16_t(1u << col);
  set_hidden_mask(mask);
  return true;
}

} // namespace kovra::views
