#include "controls/std_grid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <climits>
#include <stdexcept>

namespace kovra::controls {
namespace {

constexpr int sizing_margin = 3;

int element_of_type(int cell_type) {
  switch (cell_type) {
  case ct_header: return elem_header;
  case ct_group: return elem_group_name;
  case ct_element: return elem_element_name;
  case ct_blocked: return elem_blocked;
  case ct_browsed: return elem_browsed;
  default: return elem_basic;
  }
}

int qt_text_flags(int format) {
  int f = format & tf_center ? Qt::AlignHCenter : format & tf_right ? Qt::AlignRight : Qt::AlignLeft;
  f |= format & tf_vcenter ? Qt::AlignVCenter : Qt::AlignTop;
  if (format & tf_single_line) f |= Qt::TextSingleLine;
  else if (format & tf_word_wrap) f |= Qt::TextWordWrap;
  return f;
}

void draw_edge(QPainter& p, const QRect& r, bool raised) {
  const QPalette pal = QApplication::palette();
  const QColor light = pal.color(QPalette::Light), dark = pal.color(QPalette::Dark);
  p.setPen(raised ? light : dark);
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(raised ? dark : light);
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
}

} // namespace

VL_std_grid::VL_std_grid(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setMouseTracking(true);
  set_col_count(5);
  set_row_count(5);
}

VL_std_grid::~VL_std_grid() = default;

void VL_std_grid::set_source(VL_grid_source* source) {
  source_ = source;
  invalidate_heights(0, row_count() - 1);
  viewport()->update();
}

void VL_std_grid::set_vl_font_table(const std::vector<VL_FONT>* fonts) {
  fonts_ = fonts;
  invalidate_heights(0, row_count() - 1);
  viewport()->update();
}

void VL_std_grid::set_text_elem_table(const std::vector<TEXT_ELEM>* elements) {
  elements_ = elements;
  invalidate_heights(0, row_count() - 1);
  viewport()->update();
}

void VL_std_grid::use_screen_look() {
  set_vl_font_table(&screen_fonts());
  set_text_elem_table(&screen_elements());
}

// ---- size and layout ----

void VL_std_grid::set_col_count(int n) {
  n = std::max(n, 0);
  col_widths_.resize(std::size_t(n), default_col_width_);
  if (use_cells_)
    for (auto& c : cells_) c.resize(std::size_t(n));
  col_ = std::clamp(col_, fixed_cols_, std::max(n - 1, fixed_cols_));
  left_col_ = std::clamp(left_col_, fixed_cols_, std::max(n - 1, fixed_cols_));
  adjust_col_widths();
  update_scroll_bars();
  viewport()->update();
}

void VL_std_grid::set_row_count(int n) {
  n = std::max(n, 0);
  const int old = row_count();
  row_heights_.resize(std::size_t(n), std::max(default_row_height_, min_row_height_));
  height_known_.resize(std::size_t(n), 0);
  if (use_cells_) cells_.resize(std::size_t(n), std::vector<QString>(std::size_t(col_count())));
  if (use_checks_) {
    std::size_t bytes = (std::size_t(n) + 7) / 8;
    if (marks_.size() < bytes) marks_.resize((bytes + 99) / 100 * 100, 0);
    if (n < old)
      for (int r = n; r < old; ++r)
        if (marks_[std::size_t(r) / 8] & (1 << (r % 8))) {
          marks_[std::size_t(r) / 8] &= uint8_t(~(1 << (r % 8)));
          --checked_count_;
        }
  }
  row_ = std::clamp(row_, fixed_rows_, std::max(n - 1, fixed_rows_));
  top_row_ = std::clamp(top_row_, fixed_rows_, std::max(n - 1, fixed_rows_));
  adjust_col_widths();
  update_scroll_bars();
  viewport()->update();
}

void VL_std_grid::set_fixed_cols(int n) {
  // Kept as asked even when the grid has no data rows or columns for a while.
  // A grid not scrolled sideways stays so: its left column is the first one not fixed.
  const bool at_start = left_col_ <= fixed_cols_;
  fixed_cols_ = std::max(n, 0);
  col_ = std::max(col_, fixed_cols_);
  left_col_ = at_start ? fixed_cols_ : std::max(left_col_, fixed_cols_);
  adjust_col_widths();
  update_scroll_bars();
  viewport()->update();
}

void VL_std_grid::set_fixed_rows(int n) {
  const bool at_start = top_row_ <= fixed_rows_;
  fixed_rows_ = std::max(n, 0);
  row_ = std::max(row_, fixed_rows_);
  top_row_ = at_start ? fixed_rows_ : std::max(top_row_, fixed_rows_);
  update_scroll_bars();
  viewport()->update();
}

void VL_std_grid::set_default_row_height(int h) {
  default_row_height_ = h;
  const int d = std::max(h, min_row_height_);
  std::fill(row_heights_.begin(), row_heights_.end(), d);
  invalidate_heights(0, row_count() - 1);
  update_scroll_bars();
  viewport()->update();
}

void VL_std_grid::set_grid_line_width(int w) {
  line_width_ = std::max(w, 0);
  adjust_col_widths();
  update_scroll_bars();
  viewport()->update();
}

void VL_std_grid::set_row_select(bool on) {
  row_select_ = on;
  viewport()->update();
}

void VL_std_grid::set_col_widths(int col, int width) {
  if (col < 0 || col >= col_count()) return;
  width = std::max(width, -1);
  col_widths_[std::size_t(col)] = width;
  if (col == align_col_) align_col_min_width_ = width;
  adjust_col_widths();
  update_scroll_bars();
  viewport()->update();
}

int VL_std_grid::get_col_widths(int col) const {
  return col >= 0 && col < col_count() ? col_widths_[std::size_t(col)] : 0;
}

void VL_std_grid::set_row_heights(int row, int height) {
  if (row < 0 || row >= row_count()) return;
  row_heights_[std::size_t(row)] = std::max(height, 0);
  height_known_[std::size_t(row)] = 1;
  update_scroll_bars();
  viewport()->update();
}

int VL_std_grid::get_row_heights(int row) {
  if (row < 0 || row >= row_count()) return 0;
  ensure_row_height(row);
  return row_heights_[std::size_t(row)];
}

void VL_std_grid::set_align_col_number(int col) {
  align_col_ = col < 0 || col >= col_count() ? -1 : col;
  if (align_col_ >= 0) align_col_min_width_ = col_widths_[std::size_t(align_col_)];
  adjust_col_widths();
  viewport()->update();
}

void VL_std_grid::set_line_color(const QColor& c) {
  line_color_ = c;
  viewport()->update();
}

void VL_std_grid::set_line_color_on(bool on) {
  line_color_on_ = on;
  viewport()->update();
}

void VL_std_grid::set_auto_row_height(bool on) {
  auto_row_height_ = on;
  invalidate_heights(0, row_count() - 1);
  update_scroll_bars();
  viewport()->update();
}

void VL_std_grid::set_min_row_height(int h) {
  min_row_height_ = std::max(h, 0);
  if (default_row_height_ < min_row_height_)
    for (auto& rh : row_heights_) rh = std::max(rh, min_row_height_);
  invalidate_heights(0, row_count() - 1);
  update_scroll_bars();
  viewport()->update();
}

void VL_std_grid::set_sort_col_number(int col) {
  sort_col_ = col;
  viewport()->update();
}

void VL_std_grid::set_sort_col_type(SORT_COL_TYPE t) {
  sort_type_ = t;
  viewport()->update();
}

void VL_std_grid::set_popup_menu(int index, QMenu* menu) {
  if (index == 0 || index == 1) menus_[index] = menu;
}

void VL_std_grid::set_use_cells(bool on) {
  use_cells_ = on;
  cells_.clear();
  if (on) cells_.assign(std::size_t(row_count()), std::vector<QString>(std::size_t(col_count())));
}

QString VL_std_grid::cells(int col, int row) const {
  if (!use_cells_) throw std::logic_error("Próba użycia VL_std_grid->Cells przy wyłączonym UseCells!");
  if (row < 0 || row >= int(cells_.size()) || col < 0 || col >= int(cells_[std::size_t(row)].size())) return {};
  return cells_[std::size_t(row)][std::size_t(col)];
}

void VL_std_grid::set_cells(int col, int row, const QString& text) {
  if (!use_cells_) throw std::logic_error("Próba użycia VL_std_grid->Cells przy wyłączonym UseCells!");
  if (row < 0 || row >= int(cells_.size()) || col < 0 || col >= int(cells_[std::size_t(row)].size())) return;
  cells_[std::size_t(row)][std::size_t(col)] = text;
  if (auto_row_height_) invalidate_heights(row, row);
  InvalidateCell(col, row);
}

// ---- current cell and scrolling ----

bool VL_std_grid::set_current(int col, int row) {
  if (row_count() <= fixed_rows_ || col_count() <= fixed_cols_) return false;
  col = std::clamp(col, fixed_cols_, col_count() - 1);
  row = std::clamp(row, fixed_rows_, row_count() - 1);
  if (source_ && !source_->can_select_cell(*this, col, row)) return false;
  const int old_col = col_, old_row = row_;
  col_ = col;
  row_ = row;
  if (row_select_) {
    InvalidateRow(old_row);
    InvalidateRow(row);
  } else {
    InvalidateCell(old_col, old_row);
    InvalidateCell(col, row);
  }
  ensure_visible(col, row);
  if (old_col != col || old_row != row) emit current_changed(col, row);
  return true;
}

void VL_std_grid::set_top_row(int row) { scroll_rows(row); }

void VL_std_grid::scroll_rows(int top) {
  top = std::clamp(top, fixed_rows_, std::max(last_visible_top(), fixed_rows_));
  if (top == top_row_) return;
  top_row_ = top;
  verticalScrollBar()->blockSignals(true);
  verticalScrollBar()->setValue(top - fixed_rows_);
  verticalScrollBar()->blockSignals(false);
  geometry_changed();
  viewport()->update();
}

void VL_std_grid::set_left_col(int col) {
  col = std::clamp(col, fixed_cols_, std::max(col_count() - 1, fixed_cols_));
  if (col == left_col_) return;
  left_col_ = col;
  horizontalScrollBar()->blockSignals(true);
  horizontalScrollBar()->setValue(col - fixed_cols_);
  horizontalScrollBar()->blockSignals(false);
  geometry_changed();
  viewport()->update();
}

int VL_std_grid::visible_row_count() {
  const int h = viewport()->height();
  int y = 0;
  for (int r = 0; r < fixed_rows_; ++r) y += get_row_heights(r) + line_width_;
  int n = 0;
  for (int r = top_row_; r < row_count(); ++r) {
    y += get_row_heights(r);
    if (y > h) break;
    y += line_width_;
    ++n;
  }
  return std::max(n, 1);
}

int VL_std_grid::last_visible_top() {
  int avail = viewport()->height();
  for (int r = 0; r < fixed_rows_; ++r) avail -= get_row_heights(r) + line_width_;
  int top = row_count() - 1;
  int used = 0;
  for (int r = row_count() - 1; r >= fixed_rows_; --r) {
    used += get_row_heights(r) + line_width_;
    if (used - line_width_ > avail) break;
    top = r;
  }
  return std::max(top, fixed_rows_);
}

bool VL_std_grid::is_visible_current_row() {
  return row_ >= top_row_ && row_ < top_row_ + visible_row_count();
}

void VL_std_grid::set_visible_current_row(bool on) {
  if (on && !is_visible_current_row()) scroll_rows(row_);
}

void VL_std_grid::ensure_visible(int col, int row) {
  if (row >= fixed_rows_) {
    if (row < top_row_) scroll_rows(row);
    else if (row >= top_row_ + visible_row_count()) {
      // Scroll so that the row is the last one shown whole.
      int avail = viewport()->height();
      for (int r = 0; r < fixed_rows_; ++r) avail -= get_row_heights(r) + line_width_;
      int top = row, used = get_row_heights(row) + line_width_;
      while (top > fixed_rows_ && used + get_row_heights(top - 1) + line_width_ <= avail + line_width_) {
        --top;
        used += get_row_heights(top) + line_width_;
      }
      scroll_rows(top);
    }
  }
  if (col >= fixed_cols_ && !row_select_) {
    if (col < left_col_) set_left_col(col);
    else {
      int avail = viewport()->width() - get_some_cols_width(0, fixed_cols_ - 1);
      int left = left_col_;
      while (left < col && get_some_cols_width(left, col) > avail) ++left;
      set_left_col(left);
    }
  }
}

void VL_std_grid::update_scroll_bars() {
  if (!update_view_) return;
  QScrollBar* v = verticalScrollBar();
  v->blockSignals(true);
  v->setRange(0, std::max(last_visible_top() - fixed_rows_, 0));
  v->setPageStep(visible_row_count());
  v->setSingleStep(1);
  v->setValue(top_row_ - fixed_rows_);
  v->blockSignals(false);
  // Columns: the last left column that still shows the last column whole.
  int avail = viewport()->width() - get_some_cols_width(0, fixed_cols_ - 1);
  int left = col_count() - 1, used = 0;
  for (int c = col_count() - 1; c >= fixed_cols_; --c) {
    used += std::max(col_widths_[std::size_t(c)], 0) + (col_widths_[std::size_t(c)] < 0 ? 0 : line_width_);
    if (used > avail) break;
    left = c;
  }
  QScrollBar* h = horizontalScrollBar();
  h->blockSignals(true);
  h->setRange(0, std::max(left - fixed_cols_, 0));
  h->setPageStep(1);
  h->setValue(left_col_ - fixed_cols_);
  h->blockSignals(false);
}

void VL_std_grid::scrollContentsBy(int, int) {
  top_row_ = fixed_rows_ + verticalScrollBar()->value();
  left_col_ = fixed_cols_ + horizontalScrollBar()->value();
  geometry_changed();
  viewport()->update();
}

// ---- updating ----

void VL_std_grid::DontUpdateView() { update_view_ = false; }

void VL_std_grid::UpdateView(int first_row, int last_row) {
  update_view_ = true;
  if (first_row < 0 || last_row < 0) invalidate_heights(0, row_count() - 1);
  else invalidate_heights(first_row, last_row);
  adjust_col_widths();
  update_scroll_bars();
  if (repaint_) viewport()->update();
}

void VL_std_grid::set_valid_data(bool on) {
  if (!on) {
    update_view_ = false;
    return;
  }
  UpdateView(-1, -1);
}

void VL_std_grid::DenyRepaint() { repaint_ = false; }

void VL_std_grid::AllowRepaint() {
  repaint_ = true;
  viewport()->update();
}

void VL_std_grid::InvalidateCell(int col, int row) {
  if (!repaint_) return;
  QRect r = cell_rect(col, row);
  if (!r.isEmpty()) viewport()->update(r.adjusted(-line_width_, -line_width_, line_width_, line_width_));
}

void VL_std_grid::InvalidateRow(int row) {
  if (!repaint_) return;
  const int y = row_y(row);
  if (y < 0) return;
  viewport()->update(QRect(0, y - line_width_, viewport()->width(), get_row_heights(row) + 2 * line_width_));
}

void VL_std_grid::InvalidateCol(int col) {
  if (!repaint_) return;
  const int x = col_x(col);
  if (x == INT_MIN) return;
  viewport()->update(QRect(x - line_width_, 0, std::max(get_col_widths(col), 0) + 2 * line_width_,
                           viewport()->height()));
}

void VL_std_grid::invalidate_heights(int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, row_count() - 1);
  for (int r = first; r <= last; ++r) height_known_[std::size_t(r)] = 0;
}

// ---- geometry ----

int VL_std_grid::col_x(int col) const {
  if (col < 0 || col >= col_count()) return INT_MIN;
  if (col >= fixed_cols_ && col < left_col_) return INT_MIN;
  int x = 0;
  for (int c = 0; c < col; ++c) {
    if (c >= fixed_cols_ && c < left_col_) continue;
    const int w = col_widths_[std::size_t(c)];
    if (w >= 0) x += w + line_width_;
  }
  return x;
}

int VL_std_grid::row_y(int row) {
  if (row < 0 || row >= row_count()) return -1;
  if (row >= fixed_rows_ && row < top_row_) return -1;
  int y = 0;
  for (int r = 0; r < fixed_rows_ && r < row; ++r) y += get_row_heights(r) + line_width_;
  if (row < fixed_rows_) return y;
  const int h = viewport()->height();
  for (int r = top_row_; r < row; ++r) {
    y += get_row_heights(r) + line_width_;
    if (y >= h) return -1;
  }
  return y < h ? y : -1;
}

QRect VL_std_grid::cell_rect(int col, int row) {
  const int x = col_x(col);
  const int y = row_y(row);
  if (x == INT_MIN || y < 0 || get_col_widths(col) < 0) return {};
  return QRect(x, y, get_col_widths(col), get_row_heights(row));
}

bool VL_std_grid::cell_at(const QPoint& p, int& col, int& row) {
  col = row = -1;
  int y = 0;
  auto within_row = [&](int r) {
    const int h = get_row_heights(r);
    if (p.y() >= y && p.y() < y + h + line_width_) {
      row = r;
      return true;
    }
    y += h + line_width_;
    return false;
  };
  for (int r = 0; r < fixed_rows_ && row < 0; ++r) within_row(r);
  for (int r = top_row_; r < row_count() && row < 0 && y < viewport()->height(); ++r) within_row(r);
  if (row < 0) return false;
  int x = 0;
  auto within_col = [&](int c) {
    const int w = col_widths_[std::size_t(c)];
    if (w < 0) return false;
    if (p.x() >= x && p.x() < x + w + line_width_) {
      col = c;
      return true;
    }
    x += w + line_width_;
    return false;
  };
  for (int c = 0; c < fixed_cols_ && col < 0; ++c) within_col(c);
  for (int c = left_col_; c < col_count() && col < 0 && x < viewport()->width(); ++c) within_col(c);
  return col >= 0;
}

// ---- the cell protocol ----

VL_cell VL_std_grid::default_cell(int col, int row, const QRect& rect) const {
  VL_cell cell;
  cell.rect = rect;
  const bool fixed = row < fixed_rows_ || col < fixed_cols_;
  cell.cell_type = fixed && row == 0 ? (col == pressed_head_col_ ? ct_pressed : ct_header) : ct_basic;
  if (use_cells_ && row < int(cells_.size()) && col < int(cells_[std::size_t(row)].size()))
    cell.text = cells_[std::size_t(row)][std::size_t(col)];
  if (fixed) cell.draw_flags = df_fixed;
  else if (row == row_ && (row_select_ || col == col_)) {
    const bool focus = hasFocus() || (focusWidget() && isAncestorOf(QApplication::focusWidget()));
    cell.draw_flags = focus ? df_selected | df_focused : df_selected;
  }
  return cell;
}

VL_cell VL_std_grid::ask_cell(int col, int row, const QRect& rect, bool edited, bool extra) {
  VL_cell cell = default_cell(col, row, rect);
  cell.edited = edited;
  cell.extra = extra;
  if (edited) cell.draw_flags |= df_editable;
  if (update_view_ && source_) source_->set_cell_data(*this, col, row, cell);
  return cell;
}

int VL_std_grid::get_cell_state(int col, int row) {
  QRect r = cell_rect(col, row);
  if (r.isEmpty()) r = QRect(0, 0, std::max(get_col_widths(col), 0), 0);
  return ask_cell(col, row, r).draw_flags;
}

const VL_FONT* VL_std_grid::vl_font(int index) const {
  if (!fonts_ || fonts_->empty()) return nullptr;
  if (index < 0 || index >= int(fonts_->size())) index = 0;
  return &(*fonts_)[std::size_t(index)];
}

TEXT_ELEM VL_std_grid::element_for(const VL_cell& cell) const {
  if (!has_look() || int(elements_->size()) < screen_element_count) {
    const QPalette& pal = palette();
    return TEXT_ELEM{{}, -1, pal.color(QPalette::Text), pal.color(QPalette::Base)};
  }
  const auto& el = *elements_;
  TEXT_ELEM te = el[std::size_t(element_of_type(cell.cell_type))];
  if (cell.draw_flags & df_disabled) {
    te.background = el[elem_unavailable].background;
    if (cell.cell_type == ct_basic) te.text = el[elem_unavailable].text;
  }
  if (cell.draw_flags & df_fixed) {
    te.text = el[elem_header].text;
    te.background = el[elem_header].background;
  }
  if (cell.draw_flags & df_selected) {
    te.text = el[elem_highlighted].text;
    te.background = el[elem_highlighted].background;
  }
  if (cell.draw_flags & df_focused) {
    te.text = el[elem_active].text;
    te.background = el[elem_active].background;
  }
  return te;
}

void VL_std_grid::do_paint_cell(QPainter& p, int col, int row, const QRect& rect, bool extra) {
  ++painted_cells_;
  VL_cell cell = ask_cell(col, row, rect, false, extra);
  if (use_checks_ && (checks_options_ & 2) && row >= fixed_rows_ && get_checks(row)) cell.draw_flags |= df_selected;
  painting_cell(col, row, cell);
  draw_answer(p, col, row, cell);
}

void VL_std_grid::draw_cell(QPainter& p, int col, int row, const QRect& rect) {
  do_paint_cell(p, col, row, rect, false);
}

void VL_std_grid::draw_answer(QPainter& p, int col, int row, VL_cell& cell) {
  drawing_ = true;
  TEXT_ELEM te = element_for(cell);
  if (source_) source_->before_draw_cell(*this, col, row, te);
  const VL_FONT* vf = vl_font(te.font);
  const QFont font = te.font >= 0 && vf ? vf->font : this->font();
  const int char_width = vf ? vf->char_width : QFontMetrics(font).averageCharWidth();
  QRect r = cell.rect;
  // A header reaches over the zero-width columns that follow it.
  QRect fill = r;
  if (cell.cell_type == ct_header)
    for (int c = col + 1; c < col_count() && col_widths_[std::size_t(c)] == 0; ++c)
      fill.setRight(fill.right() + line_width_);

  if ((cell.cell_state & cs_background) && cell.cell_type != ct_transparent) p.fillRect(fill, te.background);
  if (cell.cell_state & cs_text) {
    QRect tr = r.adjusted(char_width / 2, 2, -(char_width / 2), -2);
    if (row < fixed_rows_ && col == sort_col_) {
      // The sort arrow: a small outlined triangle at the right edge.
      const int w = 6, h = 3, x = r.right() - 2 - w, y = r.center().y() - h / 2;
      QPolygon tri;
      if (sort_type_ == sctDown) tri << QPoint(x, y) << QPoint(x + w, y) << QPoint(x + w / 2, y + h);
      else tri << QPoint(x, y + h) << QPoint(x + w, y + h) << QPoint(x + w / 2, y);
      p.setPen(te.text);
      p.setBrush(Qt::NoBrush);
      p.drawPolygon(tri);
      tr.setRight(std::min(tr.right(), x - 2));
    }
    p.setFont(font);
    p.setPen(te.text);
    QString text = cell.text;
    if (cell.text_format & tf_end_ellipsis)
      text = QFontMetrics(font).elidedText(text, Qt::ElideRight, std::max(tr.width(), 0));
    p.drawText(tr, qt_text_flags(cell.text_format), text);
  }
  if (cell.cell_state & cs_background) {
    if (cell.cell_type == ct_header || cell.cell_type == ct_fixed) draw_edge(p, fill.adjusted(0, 0, -1, -1), true);
    else if (cell.cell_type == ct_pressed) draw_edge(p, fill.adjusted(0, 0, -1, -1), false);
  }
  if (line_width_ > 0 && (cell.cell_state & (cs_line_top | cs_line_bottom | cs_line_left | cs_line_right))) {
    const QColor lc = line_color_on_ ? line_color_ : palette().color(QPalette::Mid);
    const int lw = line_width_;
    if (cell.cell_state & cs_line_top) p.fillRect(QRect(r.left() - lw, r.top() - lw, r.width() + 2 * lw, lw), lc);
    if (cell.cell_state & cs_line_bottom) p.fillRect(QRect(r.left() - lw, r.bottom() + 1, r.width() + 2 * lw, lw), lc);
    if (cell.cell_state & cs_line_left) p.fillRect(QRect(r.left() - lw, r.top() - lw, lw, r.height() + 2 * lw), lc);
    if (cell.cell_state & cs_line_right) p.fillRect(QRect(r.right() + 1, r.top() - lw, lw, r.height() + 2 * lw), lc);
  }
  if (col == 0 && use_checks_ && (checks_options_ & 1) && row >= fixed_rows_ && get_checks(row)) {
    p.setFont(font);
    p.setPen(te.text);
    p.drawText(r, Qt::AlignCenter, QString(QChar(CHECK)));
  }
  if (source_) source_->draw_cell_finish(*this, p, col, row, cell, te);
  drawing_ = false;
}

void VL_std_grid::paint_cells(QPainter& p, const QRect& clip) {
  const int vw = viewport()->width(), vh = viewport()->height();
  p.fillRect(clip, palette().color(QPalette::Window));
  auto paint_row = [&](int row, int y, int h) {
    int x = 0;
    auto paint_col = [&](int c) {
      const int w = col_widths_[std::size_t(c)];
      if (w < 0) return;
      // Every cell of a row that is drawn at all: a cell may answer a rectangle that
      // reaches over its neighbours (a message across the row).
      draw_cell(p, c, row, QRect(x, y, w, h));
      x += w + line_width_;
    };
    for (int c = 0; c < fixed_cols_ && c < col_count(); ++c) paint_col(c);
    for (int c = left_col_; c < col_count() && x < vw; ++c) paint_col(c);
  };
  int y = 0;
  for (int r = 0; r < fixed_rows_ && r < row_count(); ++r) {
    const int h = get_row_heights(r);
    if (QRect(0, y, vw, h + line_width_).intersects(clip)) paint_row(r, y, h);
    y += h + line_width_;
  }
  for (int r = top_row_; r < row_count() && y < vh; ++r) {
    const int h = get_row_heights(r);
    if (QRect(0, y - line_width_, vw, h + 2 * line_width_).intersects(clip)) paint_row(r, y, h);
    y += h + line_width_;
  }
  paint_extra(p, clip);
}

void VL_std_grid::paintEvent(QPaintEvent* e) {
  QPainter p(viewport());
  paint_cells(p, e->rect());
}

// ---- measuring ----

int VL_std_grid::grid_cell_height(const QFont& font, int width, const QString& text, int format) const {
  QFontMetrics fm(font);
  if (text.isEmpty() || (format & tf_single_line)) return fm.height() + 4;
  int flags = qt_text_flags(format) & ~(Qt::AlignVCenter | Qt::AlignBottom);
  return fm.boundingRect(QRect(0, 0, std::max(width, 1), INT_MAX / 4), flags, text).height() + 4;
}

int VL_std_grid::grid_cell_height_lines(const VL_FONT& font, int lines) const {
  return font.line_height * std::max(lines, 1) + 4;
}

int VL_std_grid::grid_cell_width(const QFont& font, const QString& text) const {
  QFontMetrics fm(font);
  return fm.horizontalAdvance(text) + fm.averageCharWidth() / 2 * 2;
}

int VL_std_grid::get_some_cols_width(int from, int to) const {
  int sum = 0;
  for (int c = std::max(from, 0); c <= to && c < col_count(); ++c)
    if (col_widths_[std::size_t(c)] >= 0) sum += col_widths_[std::size_t(c)] + line_width_;
  return sum;
}

int VL_std_grid::get_some_rows_height(int from, int to) {
  int sum = 0;
  for (int r = std::max(from, 0); r <= to && r < row_count(); ++r) sum += get_row_heights(r) + line_width_;
  return sum;
}

int VL_std_grid::measure_cell_height(int col, int row, int width) {
  VL_cell cell = ask_cell(col, row, QRect(0, 0, width, std::max(default_row_height_, min_row_height_)));
  TEXT_ELEM te = element_for(cell);
  const VL_FONT* vf = vl_font(te.font);
  const QFont font = vf ? vf->font : this->font();
  const int cw = vf ? vf->char_width : QFontMetrics(font).averageCharWidth();
  int add = 0;
  if (source_) source_->count_height(*this, row, add);
  return grid_cell_height(font, width - cw / 2 * 2, cell.text, cell.text_format) + add;
}

void VL_std_grid::ensure_row_height(int row) {
  if (!auto_row_height_ || !update_view_ || row < fixed_rows_ || height_known_[std::size_t(row)]) return;
  height_known_[std::size_t(row)] = 1;
  compute_row_height(row);
}

void VL_std_grid::compute_row_height(int row) {
  int h = 0;
  if (align_col_ >= 0) {
    h = measure_cell_height(align_col_, row, std::max(col_widths_[std::size_t(align_col_)], 0));
    if (source_) source_->set_row_height(*this, row, h);
  } else {
    for (int c = fixed_cols_; c < col_count(); ++c)
      if (col_widths_[std::size_t(c)] > 0) h = std::max(h, measure_cell_height(c, row, col_widths_[std::size_t(c)]));
  }
  int lines = 0;
  if (source_) source_->set_lines_in_row(*this, row, lines);
  lines = std::max(lines, min_lines(row));
  if (lines > 0 && has_look() && int(elements_->size()) > elem_basic)
    if (const VL_FONT* vf = vl_font((*elements_)[elem_basic].font)) h = std::max(h, grid_cell_height_lines(*vf, lines));
  h = std::max(h, min_row_height_);
  if (h > 0) row_heights_[std::size_t(row)] = h;
}

void VL_std_grid::adjust_col_widths() {
  if (!update_view_ || adjusting_) return;
  adjusting_ = true;
  const int cw = viewport()->width();
  const int cols = col_count();
  if (align_col_ >= 0 && align_col_ < cols) {
    int others = 0;
    for (int c = 0; c < cols; ++c)
      if (c != align_col_) others += std::max(col_widths_[std::size_t(c)], 0);
    col_widths_[std::size_t(align_col_)] = std::max(cw - others - line_width_ * cols, align_col_min_width_);
  }
  // The widest column is narrowed to the space left when the next widest fits into it.
  int space = cw - 10 - get_some_cols_width(0, fixed_cols_ - 1) - line_width_;
  int widest = -1, next = -1;
  for (int c = fixed_cols_; c < cols; ++c) {
    if (c == align_col_) continue;
    const int w = col_widths_[std::size_t(c)];
    if (widest < 0 || w > col_widths_[std::size_t(widest)]) {
      next = widest;
      widest = c;
    } else if (next < 0 || w > col_widths_[std::size_t(next)]) {
      next = c;
    }
  }
  if (widest >= 0 && col_widths_[std::size_t(widest)] > space && space > 0 &&
      (next < 0 || col_widths_[std::size_t(next)] <= space))
    col_widths_[std::size_t(widest)] = space;
  // Heights follow the widths: every row is measured again when it is next shown.
  if (col_widths_ != measured_widths_) {
    measured_widths_ = col_widths_;
    invalidate_heights(0, row_count() - 1);
  }
  adjusting_ = false;
}

void VL_std_grid::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  adjust_col_widths();
  update_scroll_bars();
  geometry_changed();
}

// ---- keys ----

void VL_std_grid::move_to(int col, int row, int) { set_current(col, row); }

void VL_std_grid::keyPressEvent(QKeyEvent* e) {
  if (cell_key(e)) return;
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  const int last_col = col_count() - 1, last_row = row_count() - 1;
  switch (e->key()) {
  case Qt::Key_Up:
    if (row_ > fixed_rows_) move_to(col_, row_ - 1, e->key());
    break;
  case Qt::Key_Down:
    if (row_ < last_row) move_to(col_, row_ + 1, e->key());
    break;
  case Qt::Key_Left:
    if (row_select_) set_left_col(left_col_ - 1);
    else if (col_ > fixed_cols_) move_to(col_ - 1, row_, e->key());
    else if (row_ - 1 >= fixed_rows_) move_to(last_col, row_ - 1, e->key());
    break;
  case Qt::Key_Right:
    if (row_select_) set_left_col(left_col_ + 1);
    else if (col_ < last_col) move_to(col_ + 1, row_, e->key());
    else if (row_ < last_row) move_to(fixed_cols_, row_ + 1, e->key());
    break;
  case Qt::Key_PageDown: {
    const int page = visible_row_count();
    const int top = top_row_;
    scroll_rows(top_row_ + page);
    move_to(col_, std::min(row_ + (top_row_ - top == 0 ? page : top_row_ - top), last_row), e->key());
    break;
  }
  case Qt::Key_PageUp: {
    const int page = visible_row_count();
    const int top = top_row_;
    scroll_rows(top_row_ - page);
    move_to(col_, std::max(row_ - (top - top_row_ == 0 ? page : top - top_row_), fixed_rows_), e->key());
    break;
  }
  case Qt::Key_Home:
    if (ctrl) move_to(col_, fixed_rows_, e->key());
    else move_to(fixed_cols_, row_, e->key());
    break;
  case Qt::Key_End:
    if (ctrl) move_to(col_, last_row, e->key());
    else move_to(last_col, row_, e->key());
    break;
  default:
    QAbstractScrollArea::keyPressEvent(e);
  }
}

// ---- mouse ----

void VL_std_grid::mousePressEvent(QMouseEvent* e) {
  setFocus(Qt::MouseFocusReason);
  int c, r;
  const QPoint pos = e->position().toPoint();
  if (!cell_at(pos, c, r)) {
    mouse_col_ = mouse_row_ = -1;
    return;
  }
  // A press near the right edge of a header column starts resizing it.
  if (e->button() == Qt::LeftButton && r < fixed_rows_) {
    const QRect cr = cell_rect(c, r);
    if (std::abs(pos.x() - (cr.right() + 1)) <= sizing_margin) {
      sizing_col_ = c;
      sizing_start_x_ = pos.x();
      sizing_start_w_ = get_col_widths(c);
      return;
    }
  }
  mouse_col_ = c;
  mouse_row_ = r;
  pending_mark_ = true;
  if (r >= fixed_rows_) set_current(c >= fixed_cols_ ? c : col_, r);
  else if (e->button() == Qt::LeftButton) emit OnClickHead(c);
}

void VL_std_grid::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  if (sizing_col_ >= 0) {
    set_col_widths(sizing_col_, std::max(sizing_start_w_ + pos.x() - sizing_start_x_, 0));
    return;
  }
  int c, r;
  bool edge = false;
  if (cell_at(pos, c, r) && r < fixed_rows_) edge = std::abs(pos.x() - (cell_rect(c, r).right() + 1)) <= sizing_margin;
  viewport()->setCursor(edge ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void VL_std_grid::mouseReleaseEvent(QMouseEvent* e) {
  if (pressed_head_col_ >= 0) {
    InvalidateCell(pressed_head_col_, 0);
    pressed_head_col_ = -1;
  }
  if (sizing_col_ >= 0) {
    sizing_col_ = -1;
    emit OnColSizeChanged();
    return;
  }
  if (!use_checks_ || fixed_cols_ < 1 || !pending_mark_) return;
  pending_mark_ = false;
  int c, r;
  if (!cell_at(e->position().toPoint(), c, r) || r != mouse_row_ || e->button() == Qt::RightButton) return;
  const auto mods = e->modifiers();
  if (e->button() == Qt::LeftButton && !(mods & Qt::AltModifier) && r >= fixed_rows_ &&
      (mouse_col_ < fixed_cols_ || get_checks(r))) {
    if (mods & Qt::ShiftModifier) SetCheckUpTo(r);
    else if (mods & Qt::ControlModifier) SetCheckAdd(r);
    else SetCheckOnly(r);
  } else {
    ClearChecks();
  }
}

void VL_std_grid::mouseDoubleClickEvent(QMouseEvent* e) {
  pending_mark_ = false;
  int c, r;
  if (!cell_at(e->position().toPoint(), c, r)) return;
  if (r < fixed_rows_) {
    emit OnDblClickHead(c);
    pressed_head_col_ = c;
    InvalidateCell(c, r);
  }
}

void VL_std_grid::contextMenuEvent(QContextMenuEvent* e) {
  int c, r;
  if (!cell_at(e->pos(), c, r)) return;
  QMenu* menu = r < fixed_rows_ ? menus_[1] : menus_[0];
  if (menu && contextMenuPolicy() != Qt::NoContextMenu) menu->popup(e->globalPos());
}

void VL_std_grid::wheelEvent(QWheelEvent* e) {
  const int steps = e->angleDelta().y() / 40;
  if (steps) scroll_rows(top_row_ - steps);
}

void VL_std_grid::focusInEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusInEvent(e);
  if (row_select_) InvalidateRow(row_);
  else InvalidateCell(col_, row_);
}

void VL_std_grid::focusOutEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusOutEvent(e);
  if (row_select_) InvalidateRow(row_);
  else InvalidateCell(col_, row_);
}

// ---- marks ----

void VL_std_grid::set_use_checks(bool on) {
  use_checks_ = on;
  marks_.assign(on ? ((std::size_t(row_count()) + 7) / 8 + 99) / 100 * 100 : 0, 0);
  checked_count_ = 0;
  anchor_ = -1;
}

bool VL_std_grid::get_checks(int row) const {
  if (!use_checks_) throw std::logic_error("Próba użycia VL_std_grid->Checks przy wyłączonym UseChecks!");
  if (row < 0 || row >= row_count()) return false;
  return marks_[std::size_t(row) / 8] & (1 << (row % 8));
}

void VL_std_grid::set_checks(int row, bool on) {
  if (!use_checks_) throw std::logic_error("Próba użycia VL_std_grid->Checks przy wyłączonym UseChecks!");
  set_mark(row, on);
}

void VL_std_grid::set_mark(int row, bool on) {
  if (row < 0 || row >= row_count()) return;
  const bool old = get_checks(row);
  if (old == on) return;
  if (on) {
    marks_[std::size_t(row) / 8] |= uint8_t(1 << (row % 8));
    ++checked_count_;
  } else {
    marks_[std::size_t(row) / 8] &= uint8_t(~(1 << (row % 8)));
    --checked_count_;
  }
  emit OnCheckRowChanged(row, old);
  InvalidateRow(row);
}

void VL_std_grid::SetCheckOnly(int row) {
  ClearChecks();
  anchor_ = row;
  SetCheckAdd(row);
}

void VL_std_grid::SetCheckAdd(int row) {
  set_checks(row, !get_checks(row));
  emit OnCheckChanged(TRange{row, row});
}

void VL_std_grid::SetCheckUpTo(int row) {
  if (!use_checks_) throw std::logic_error("Próba użycia VL_std_grid->Checks przy wyłączonym UseChecks!");
  if (checked_count_ == 0 || anchor_ < 0) anchor_ = row;
  const int lo = std::min(anchor_, row), hi = std::max(anchor_, row);
  for (int r = lo; r <= hi; ++r) set_mark(r, true);
  if (row > anchor_) emit OnCheckChanged(TRange{anchor_ + 1, row});
  else if (row < anchor_) emit OnCheckChanged(TRange{row, anchor_ - 1});
  else emit OnCheckChanged(TRange{row, row});
}

void VL_std_grid::ClearChecks() {
  if (!use_checks_) return;
  bool changed = false;
  if (checked_count_ > 0)
    for (int r = 0; r < row_count() && checked_count_ > 0; ++r)
      if (get_checks(r)) {
        set_mark(r, false);
        changed = true;
      }
  if (changed) emit OnCheckChanged(TRange{0, row_count() - 1});
}

} // namespace kovra::controls
