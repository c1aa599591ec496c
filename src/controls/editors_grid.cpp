#include "controls/editors_grid.h"

#include "controls/combo.h"
#include "controls/multi_edit.h"
#include "controls/standard_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>

#include <stdexcept>

namespace kovra::controls {

VL_editors_grid::VL_editors_grid(QWidget* parent) : VL_std_grid(parent) {}

VL_editor_base* VL_editors_grid::base_of(QWidget* w) { return dynamic_cast<VL_editor_base*>(w); }

void VL_editors_grid::set_editor(int col, QWidget* editor) {
  if (!editor) {
    editors_.erase(col);
    return;
  }
  if (!dynamic_cast<VL_standard_edit*>(editor) && !dynamic_cast<VL_multi_edit*>(editor) &&
      !dynamic_cast<VL_combo*>(editor))
    throw std::invalid_argument("Niedozwolony typ edytora w VL_editors_grid!");
  editor->setParent(viewport());
  editor->hide();
  editor->setFocusPolicy(Qt::ClickFocus);
  if (auto* le = dynamic_cast<QLineEdit*>(editor)) le->setFrame(false);
  if (auto* cb = dynamic_cast<QComboBox*>(editor)) cb->setFrame(false);
  if (auto* me = dynamic_cast<QPlainTextEdit*>(editor)) {
    me->setFrameShape(QFrame::NoFrame);
    me->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    me->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }
  base_of(editor)->grid_link().grid = this;
  editors_[col] = editor;
}

QWidget* VL_editors_grid::get_editor(int col) const {
  auto it = editors_.find(col);
  return it == editors_.end() ? nullptr : it->second;
}

QWidget* VL_editors_grid::editor_for(int col, bool) const {
  QWidget* e = get_editor(col);
  if (!e && UseDefaultEditor) {
    if (!default_editor_) {
      auto* self = const_cast<VL_editors_grid*>(this);
      auto* le = new VL_line_edit();
      self->set_editor(-1, le);
      self->editors_.erase(-1);
      self->default_editor_ = le;
    }
    e = default_editor_;
  }
  return e;
}

VL_cell VL_editors_grid::default_cell(int col, int row, const QRect& rect) const {
  VL_cell cell = VL_std_grid::default_cell(col, row, rect);
  if (row < fixed_rows()) return cell;
  if (QWidget* e = get_editor(col)) {
    if (dynamic_cast<VL_number_edit*>(e)) cell.text_format = tf_right;
    else if (dynamic_cast<VL_multi_edit*>(e)) cell.text_format = tf_word_wrap;
    else cell.text_format = tf_end_ellipsis;
  }
  return cell;
}

bool VL_editors_grid::can_edit(int col, int row) {
  return can_edit_part(col, row, current_extra() && col == this->col() && row == this->row());
}

bool VL_editors_grid::can_edit_part(int col, int row, bool extra) {
  if (row < fixed_rows() || col < fixed_cols() || row >= row_count() || col >= col_count()) return false;
  VL_cell cell = ask_cell(col, row, edit_rect(col, row, extra), true, extra);
  if (!editor_for(col, extra)) cell.draw_flags |= df_disabled;
  return (cell.draw_flags & df_editable) && !(cell.draw_flags & df_disabled);
}

QRect VL_editors_grid::edit_rect(int col, int row, bool) { return cell_rect(col, row); }

void VL_editors_grid::place_editor() {
  if (!editing_ || !edit_widget_) return;
  const QRect r = edit_rect(edit_col_, edit_row_, edit_extra_);
  if (r.isEmpty()) edit_widget_->hide();
  else {
    edit_widget_->setGeometry(r);
    edit_widget_->show();
  }
}

bool VL_editors_grid::start_edit(const QString& first_char) {
  if (editing_) return false;
  const int c = col(), r = row();
  if (!can_edit(c, r)) return false;
  const bool extra = current_extra();
  QWidget* ed = editor_for(c, extra);
  VL_editor_base* base = base_of(ed);
  if (use_checks() && fixed_rows() > 0 && IsChecked()) ClearChecks();
  ensure_visible(c, r);
  VL_cell cell = ask_cell(c, r, edit_rect(c, r, extra), true, extra);
  const TEXT_ELEM te = element_for(cell);
  const VL_FONT* vf = vl_font(te.font);
  const QFont f = vf ? vf->font : font();
  const int margin = (vf ? vf->char_width : QFontMetrics(f).averageCharWidth()) / 2;
  ed->setFont(f);
  if (auto* le = dynamic_cast<QLineEdit*>(ed)) le->setTextMargins(margin, 0, margin, 0);
  if (auto* me = dynamic_cast<QPlainTextEdit*>(ed)) me->document()->setDocumentMargin(margin);
  base->begin_cell_edit(cell.text);
  editing_ = true;
  edit_col_ = c;
  edit_row_ = r;
  edit_extra_ = extra;
  edit_widget_ = ed;
  setContextMenuPolicy(Qt::NoContextMenu);
  place_editor();
  ed->setFocus(Qt::OtherFocusReason);
  if (!first_char.isEmpty()) {
    if (auto* le = dynamic_cast<QLineEdit*>(ed)) le->selectAll();
    if (auto* me = dynamic_cast<QPlainTextEdit*>(ed)) me->selectAll();
    QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, first_char);
    QApplication::sendEvent(ed, &key);
  }
  InvalidateCell(c, r);
  return true;
}

bool VL_editors_grid::finish_edit(int key, bool run_checks) {
  if (!editing_) return true;
  QWidget* ed = edit_widget_;
  VL_editor_base* base = base_of(ed);
  if (run_checks && !base->exit_checks()) return false;
  base->exit_checked = true;
  const QString text = base->editor_text();
  editing_ = false;
  end_key_ = key;
  const int c = edit_col_, r = edit_row_;
  const bool extra = edit_extra_;
  if (ed->hasFocus()) setFocus(Qt::OtherFocusReason);
  ed->hide();
  base->exit_checked = false;
  setContextMenuPolicy(Qt::DefaultContextMenu);
  if (use_cells() && !extra) set_cells(c, r, text);
  if (source_) source_->set_edit_text(*this, c, r, extra, text);
  if (auto_row_height()) UpdateView(r, r);
  InvalidateRow(r);
  return true;
}

void VL_editors_grid::end_edit(int key) {
  if (!editing_) return;
  if (!finish_edit(key, key != Qt::Key_Escape)) return;
  if (key == Qt::Key_Up || key == Qt::Key_Down) {
    QKeyEvent move(QEvent::KeyPress, key, Qt::NoModifier);
    VL_std_grid::keyPressEvent(&move);
    return;
  }
  after_edit_ = true;
  select_next_cell(key);
  after_edit_ = false;
}

void VL_editors_grid::editor_left(QWidget* editor) {
  if (editing_ && editor == edit_widget_) finish_edit(0, false);
}

void VL_editors_grid::editor_text_changed() {
  if (!editing_ || !auto_row_height()) return;
  UpdateView(edit_row_, edit_row_);
  place_editor();
}

void VL_editors_grid::set_ed_valid_data(bool on) {
  if (!on && editing_) end_edit(Qt::Key_Return);
  set_valid_data(on);
}

bool VL_editors_grid::selectable_for_next(int c, int r) {
  if (source_ && !source_->can_select_cell(*this, c, r)) return false;
  return !(get_cell_state(c, r) & (df_fixed | df_disabled));
}

bool VL_editors_grid::find_next_cell(int& col_out, int& row_out) {
  for (int r = row(); r < row_count(); ++r)
    for (int c = r == row() ? col() + 1 : fixed_cols(); c < col_count(); ++c)
      if (get_col_widths(c) > 0 && selectable_for_next(c, r)) {
        col_out = c;
        row_out = r;
        return true;
      }
  return false;
}

void VL_editors_grid::select_next_cell(int exit_key) {
  const int old_col = col(), old_row = row();
  int c = old_col, r = old_row;
  if (exit_key != Qt::Key_Up && exit_key != Qt::Key_Down) find_next_cell(c, r);
  if (source_) source_->select_next_cell(*this, old_col, old_row, c, r, exit_key);
  set_current(c, r);
}

bool VL_editors_grid::event(QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
      keyPressEvent(k);
      return true;
    }
  }
  return VL_std_grid::event(e);
}

bool VL_editors_grid::cell_key(QKeyEvent* e) {
  switch (e->key()) {
  case Qt::Key_Tab:
  case Qt::Key_Backtab:
    select_next_cell(e->key());
    return true;
  case Qt::Key_Return:
  case Qt::Key_Enter:
    // A cell that answers "disabled" ignores Enter, unless whole rows are selected.
    if (!row_select() && (get_cell_state(col(), row()) & df_disabled)) return true;
    start_key_ = e->key();
    start_edit();
    return true;
  case Qt::Key_F2:
    start_key_ = e->key();
    start_edit();
    return true;
  default: break;
  }
  const QString t = e->text();
  if (t.size() == 1 && is_printable(t[0]) && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    if (t == "+") return true;  // the grid drops "+"
    start_key_ = 0;
    start_edit(t);
    return true;
  }
  return false;
}

void VL_editors_grid::mousePressEvent(QMouseEvent* e) {
  if (editing_) {
    // When the click took the focus from the editor, the editor was asked already (and
    // either ended the edit or refused to be left).
    if (!edit_widget_->hasFocus() || !finish_edit(0, true)) return;
  }
  VL_std_grid::mousePressEvent(e);
}

void VL_editors_grid::mouseDoubleClickEvent(QMouseEvent* e) {
  VL_std_grid::mouseDoubleClickEvent(e);
  int c, r;
  if (cell_at(e->position().toPoint(), c, r) && r >= fixed_rows() && c >= fixed_cols() && c == col() && r == row())
    start_edit();
}

void VL_editors_grid::resizeEvent(QResizeEvent* e) {
  if (editing_) finish_edit(0, false);
  VL_std_grid::resizeEvent(e);
}

void VL_editors_grid::geometry_changed() { place_editor(); }

void VL_editors_grid::painting_cell(int c, int r, VL_cell& cell) {
  if (editing_ && c == edit_col_ && r == edit_row_ && cell.extra == edit_extra_ && edit_widget_)
    cell.text = base_of(edit_widget_)->editor_text();
}

int VL_editors_grid::min_lines(int r) {
  if (editing_ && r == edit_row_)
    if (auto* me = dynamic_cast<VL_multi_edit*>(edit_widget_)) return me->line_count();
  return 0;
}

} // namespace kovra::controls
