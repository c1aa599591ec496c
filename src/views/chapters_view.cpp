#include "views/chapters_view.h"

#include "calc/number_text.h"
#include "controls/std_grid.h"
#include "document/compound_nodes.h"
#include "document/estimate_nodes.h"
#include "document/general_data.h"
#include "store/codepage.h"
#include "views/estimate_values.h"
#include "views/view_host.h"

#include <QKeyEvent>
#include <QVBoxLayout>
#include <cmath>

namespace kovra::views {
namespace {

QString shown_text(std::string_view internal) { return QString::fromStdString(store::mazovia_to_utf8(internal)); }
QString trimmed(const char* text) { return QString::fromLatin1(text).trimmed(); }

document::chapter_document* chapter_of(document::Base_Node* node) {
  auto* r = dynamic_cast<document::Rozdz_Node*>(node);
  return r ? r->chapter() : nullptr;
}

} // namespace

Tfrm_chpt_define::Tfrm_chpt_define(view_host& host, QWidget* parent) : TTabForm(parent), host_(host) {
  setObjectName("Tfrm_chpt_define");
  auto* l = new QVBoxLayout(this);
  l->setContentsMargins(0, 0, 0, 0);
  grid_ = new controls::VL_std_grid(this);
  grid_->use_screen_look();
  grid_->set_col_count(8);
  grid_->set_fixed_cols(1);
  grid_->set_fixed_rows(1);
  grid_->set_row_count(2);
  const QFontMetrics fm(grid_->font());
  const char* widths[8] = {"88", "88888888", "", "88888888888888", "88888888", "88888", "888888", "8888888888888"};
  static const char* heads[8] = {"", "Numer", "Nazwa", "Ilość", "Jednostka", "Krotność", "[%]", "Wartość"};
  for (int c = 0; c < 8; ++c) {
    const int w = std::max(fm.horizontalAdvance(widths[c]), fm.horizontalAdvance(QString::fromUtf8(heads[c])));
    grid_->set_col_widths(c, c == 2 ? 300 : w + 8);
  }
  grid_->set_align_col_number(2);
  grid_->set_source(this);
  l->addWidget(grid_);
  connect(grid_, &controls::VL_std_grid::current_changed, this, [this](int col, int row) {
    if (col == 0 && grid_->hasFocus()) open_row(row);
  });
}

Tfrm_chpt_define::~Tfrm_chpt_define() { grid_->set_source(nullptr); }

void Tfrm_chpt_define::set_shown(bool shown) {
  TTabForm::set_shown(shown);
  if (shown) rebuild_rows();
}

void Tfrm_chpt_define::values_changed() { rebuild_rows(); }

void Tfrm_chpt_define::rebuild_rows() {
  rows_.assign(1, nullptr);
  if (document::Base_Node* root = host_.estimate_node())
    for (document::Smp_Node* n = root->first_child; n; n = n->next)
      if (chapter_of(static_cast<document::Base_Node*>(n))) rows_.push_back(static_cast<document::Base_Node*>(n));
  grid_->set_row_count(std::max(2, int(rows_.size())));
  grid_->UpdateView();
}

document::Base_Node* Tfrm_chpt_define::row_node(int row) const {
  return row >= 1 && row < int(rows_.size()) ? rows_[size_t(row)] : nullptr;
}

QString Tfrm_chpt_define::cell_text(int col, int row) const {
  if (row == 0) {
    static const char* heads[8] = {"", "Numer", "Nazwa", "Ilość", "Jednostka", "Krotność", "[%]", "Wartość"};
    return QString::fromUtf8(heads[col]);
  }
  if (rows_.size() <= 1) return row == 1 && col == 1 ? QString::fromUtf8("Brak rozdziałów.") : QString();
  document::Base_Node* node = row_node(row);
  document::chapter_document* c = chapter_of(node);
  if (!c) return {};
  const compound_values* cv = host_.compound();
  const estimate_values* v = cv ? cv->chapter(node) : nullptr;
  switch (col) {
  case 1: return shown_text(c->chapter.number()).trimmed();
  case 2: return shown_text(c->general().name()).trimmed();
  case 3: return trimmed(calc::text_quantity(c->chapter.quantity(), c->chapter.precision_code()));
  case 4: return shown_text(c->general().estimate_unit()).trimmed();
  case 5: {
    if (!v) return {};
    QString s;
    for (int i = 0; i < 3; ++i) {
      const bool differs = std::lround(double(v->model.settings.coef[size_t(i)]) * 1000.0) != 1000;
      s += QChar(differs ? "RMS"[i] : "rms"[i]);
    }
    return s;
  }
  case 6: {
    const double total = cv ? cv->result.totals.gross : 0.0;
    const double value = v && v->total() ? *v->total() : 0.0;
    return trimmed(calc::text_percent(total != 0 ? value * 100.0 / total : 0.0, 7));
  }
  case 7: return v && v->total() ? trimmed(calc::text_money(*v->total())) : QString();
  }
  return {};
}

void Tfrm_chpt_define::set_cell_data(controls::VL_std_grid&, int col, int row, controls::VL_cell& cell) {
  cell.text = cell_text(col, row);
  if (row == 0) {
    cell.text_format = controls::tf_center | controls::tf_vcenter | controls::tf_single_line;
    return;
  }
  if (rows_.size() <= 1 && row == 1 && col == 1)
    cell.rect.setRight(cell.rect.left() + grid_->get_some_cols_width(1, 7));
  if (col >= 3 && col != 4) cell.text_format = controls::tf_right | controls::tf_word_wrap;
}

void Tfrm_chpt_define::open_row(int row) {
  if (document::Base_Node* node = row_node(row)) host_.select_node(node);
}

void Tfrm_chpt_define::resizeEvent(QResizeEvent* e) {
  TTabForm::resizeEvent(e);
  // "Nazwa" takes what the other columns leave.
  int others = 0;
  for (int c = 0; c < grid_->col_count(); ++c)
    if (c != 2) others += grid_->get_col_widths(c) + grid_->grid_line_width();
  grid_->set_col_widths(2, std::max(120, grid_->viewport()->width() - others - grid_->grid_line_width()));
}

void Tfrm_chpt_define::keyPressEvent(QKeyEvent* e) {
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && (e->modifiers() & Qt::ControlModifier)) {
    open_row(grid_->row());
    return;
  }
  TTabForm::keyPressEvent(e);
}

} // namespace kovra::views
