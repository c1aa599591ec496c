#include "controls/extra_editors_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kovra::controls {

VL_extra_editors_grid::VL_extra_editors_grid(QWidget* parent) : VL_editors_grid(parent) {
  // Another cell becomes current in its main part unless the move says otherwise.
  connect(this, &VL_std_grid::current_changed, this, [this] { extra_cell_ = false; });
}

void VL_extra_editors_grid::set_extra_ed_col_number(int col) {
  extra_col_ = col;
  if (col < 0) extra_cell_ = false;
  UpdateView();
}

void VL_extra_editors_grid::set_extra_editor(QWidget* editor) {
  // Registered like a column editor (the type check and the link), then kept apart.
  set_editor(-2, editor);
  set_editor(-2, nullptr);
  extra_editor_ = editor;
}

void VL_extra_editors_grid::set_extra_cell_heights(int row, int h) {
  if (row < 0) return;
  if (std::size_t(row) >= extra_heights_.size()) extra_heights_.resize(std::size_t(row) + 1, 0);
  extra_heights_[std::size_t(row)] = std::max(h, 0);
  if (h <= 0 && row == this->row() && extra_cell_) {
    if (editing_ && edit_extra_) finish_edit(0, false);
    extra_cell_ = false;
  }
  if (updating() && auto_row_height()) UpdateView(row, row);
  else InvalidateRow(row);
}

int VL_extra_editors_grid::get_extra_cell_heights(int row) const {
  return row >= 0 && std::size_t(row) < extra_heights_.size() && row < row_count() ? extra_heights_[std::size_t(row)]
                                                                                   : 0;
}

void VL_extra_editors_grid::set_extra_cell(bool on) {
  on = on && col() == extra_col_ && has_extra(row());
  if (on == extra_cell_) return;
  if (editing_) finish_edit(0, false);
  extra_cell_ = on;
  InvalidateCell(col(), row());
}

bool VL_extra_editors_grid::set_current_part(int col, int row, bool extra) {
  if (editing_ && !finish_edit(0, true)) return false;
  if (!set_current(col, row)) return false;
  extra_cell_ = extra && this->col() == extra_col_ && has_extra(this->row());
  InvalidateCell(this->col(), this->row());
  return true;
}

VL_cell VL_extra_editors_grid::ask_cell(int col, int row, const QRect& rect, bool edited, bool extra) {
  const int outer = asking_;
  asking_ = extra ? 2 : 1;
  VL_cell cell = VL_editors_grid::ask_cell(col, row, rect, edited, extra);
  asking_ = outer;
  return cell;
}

QWidget* VL_extra_editors_grid::editor_for(int col, bool extra) const {
  if (extra && col == extra_col_) return extra_editor_;
  return VL_editors_grid::editor_for(col, false);
}

QRect VL_extra_editors_grid::edit_rect(int col, int row, bool extra) {
  QRect r = cell_rect(col, row);
  if (col != extra_col_ || r.isEmpty() || !has_extra(row)) return r;
  const int h = get_extra_cell_heights(row);
  if (extra) return QRect(r.left(), r.top(), r.width(), h);
  r.setTop(r.top() + h);
  return r;
}

void VL_extra_editors_grid::draw_cell(QPainter& p, int col, int row, const QRect& rect) {
  // First pass: the main part of the extra column lies below the extra part.
  QRect r = rect;
  if (col == extra_col_ && row >= fixed_rows() && has_extra(row)) r.setTop(r.top() + get_extra_cell_heights(row));
  do_paint_cell(p, col, row, r, false);
}

void VL_extra_editors_grid::paint_extra(QPainter& p, const QRect& clip) {
  if (extra_col_ < 0 || extra_col_ >= col_count()) return;
  for (int r = top_row(); r < row_count(); ++r) {
    const QRect cr = cell_rect(extra_col_, r);
    if (cr.isEmpty()) {
      if (row_y(r) < 0) break;
      continue;
    }
    if (!has_extra(r)) continue;
    const QRect part(cr.left(), cr.top(), cr.width(), get_extra_cell_heights(r));
    if (!part.intersects(clip)) continue;
    do_paint_cell(p, extra_col_, r, part, true);
  }
}

void VL_extra_editors_grid::painting_cell(int col, int row, VL_cell& cell) {
  VL_editors_grid::painting_cell(col, row, cell);
  if (col != extra_col_ || row < fixed_rows() || !has_extra(row)) return;
  // Selection colours only on the part that holds the cursor.
  if (row == this->row() && cell.extra != extra_cell_) cell.draw_flags &= ~(df_selected | df_focused);
  if (!editor_for(col, cell.extra)) cell.draw_flags |= df_disabled;
}

int VL_extra_editors_grid::measure_cell_height(int col, int row, int width) {
  const int h = VL_editors_grid::measure_cell_height(col, row, width);
  if (col != extra_col_ || !has_extra(row)) return h;
  return h + get_extra_cell_heights(row) + (align_col_number() == extra_col_ ? 1 : 0);
}

void VL_extra_editors_grid::mousePressEvent(QMouseEvent* e) {
  VL_editors_grid::mousePressEvent(e);
  if (editing_) return;
  int c, r;
  if (!cell_at(e->position().toPoint(), c, r) || r < fixed_rows() || c != extra_col_ || r != row() || c != col())
    return;
  const QRect cr = cell_rect(c, r);
  const bool part = has_extra(r) && e->position().toPoint().y() - cr.top() < get_extra_cell_heights(r);
  if (part != extra_cell_) {
    extra_cell_ = part;
    InvalidateCell(c, r);
  }
}

bool VL_extra_editors_grid::cell_key(QKeyEvent* e) {
  if (extra_col_ >= 0 && !row_select() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    const int c = col(), r = row();
    switch (e->key()) {
    case Qt::Key_Right:
      if (c == extra_col_ - 1 && has_extra(r)) return set_current_part(extra_col_, r, true), true;
      if (c == extra_col_ && extra_cell_) return set_current_part(c, r, false), true;
      break;
    case Qt::Key_Left:
      if (c == extra_col_ && !extra_cell_ && has_extra(r)) return set_current_part(c, r, true), true;
      if (c == extra_col_ && extra_cell_) return set_current_part(c - 1 >= fixed_cols() ? c - 1 : c, r, false), true;
      break;
    case Qt::Key_Up:
      if (c == extra_col_ && !extra_cell_ && has_extra(r)) return set_current_part(c, r, true), true;
      if (c == extra_col_ && extra_cell_) {
        if (r > fixed_rows()) set_current_part(c, r - 1, false);
        return true;
      }
      break;
    case Qt::Key_Down:
      if (c == extra_col_ && extra_cell_) return set_current_part(c, r, false), true;
      if (c == extra_col_ && r + 1 < row_count()) return set_current_part(c, r + 1, has_extra(r + 1)), true;
      break;
    default: break;
    }
  }
  return VL_editors_grid::cell_key(e);
}

void VL_extra_editors_grid::select_next_cell(int exit_key) {
  const int old_col = col(), old_row = row();
  if (after_edit_ && extra_cell_ && exit_key != Qt::Key_Up && exit_key != Qt::Key_Down &&
      old_col == extra_col_) {
    // An edit ended in the extra part: on to the main part of the same cell.
    int c = old_col, r = old_row;
    if (source_) source_->select_next_cell(*this, old_col, old_row, c, r, exit_key);
    set_current_part(c, r, false);
    return;
  }
  if (exit_key != Qt::Key_Up && exit_key != Qt::Key_Down && old_col == extra_col_ - 1 && has_extra(old_row) &&
      extra_editor_) {
    // Forward from the column before: into the extra part when it may be edited.
    if (can_edit_part(extra_col_, old_row, true)) {
      int c = extra_col_, r = old_row;
      if (source_) source_->select_next_cell(*this, old_col, old_row, c, r, exit_key);
      set_current_part(c, r, c == extra_col_ && r == old_row);
      return;
    }
  }
  extra_cell_ = false;
  VL_editors_grid::select_next_cell(exit_key);
}

} // namespace kovra::controls
