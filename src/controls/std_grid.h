#pragma once
// VL_std_grid: a drawn grid whose cells its owner supplies on demand (grid_cell.h). It keeps
// only the geometry (column widths, row heights), the current cell, the scroll position and
// the row marks; painting asks for the visible cells alone. Vertical scrolling moves by whole
// rows, so a row's height is needed only once the row is shown: automatic heights are
// measured when a row comes into view after UpdateView (all rows, or the range it names) or
// after the column widths changed.
#include "controls/grid_cell.h"
#include "controls/screen_look.h"

#include <QAbstractScrollArea>
#include <QPointer>

#include <cstdint>
#include <vector>

class QMenu;

namespace kovra::controls {

enum SORT_COL_TYPE { sctUp, sctDown };

// A range of rows, both included.
struct TRange {
  int first = 0;
  int last = 0;
};

class VL_std_grid : public QAbstractScrollArea {
  Q_OBJECT
public:
  // The check symbol of marked rows (drawn in the grid's font).
  static constexpr char16_t CHECK = 0x221A;

  explicit VL_std_grid(QWidget* parent = nullptr);
  ~VL_std_grid() override;

  // The owner that answers for the cells; not owned.
  void set_source(VL_grid_source* source);
  VL_grid_source* source() const { return source_; }

  void set_vl_font_table(const std::vector<VL_FONT>* fonts);
  void set_text_elem_table(const std::vector<TEXT_ELEM>* elements);
  // Both tables of the program-wide screen look.
  void use_screen_look();
  bool has_look() const { return fonts_ && elements_; }

  // Size and layout.
  void set_col_count(int n);
  void set_row_count(int n);
  int col_count() const { return int(col_widths_.size()); }
  int row_count() const { return int(row_heights_.size()); }
  void set_fixed_cols(int n);
  void set_fixed_rows(int n);
  int fixed_cols() const { return fixed_cols_; }
  int fixed_rows() const { return fixed_rows_; }
  void set_default_row_height(int h);
  int default_row_height() const { return default_row_height_; }
  void set_default_col_width(int w) { default_col_width_ = w; }
  void set_grid_line_width(int w);
  int grid_line_width() const { return line_width_; }
  void set_row_select(bool on);
  bool row_select() const { return row_select_; }

  void set_col_widths(int col, int width);
  int get_col_widths(int col) const;
  void set_row_heights(int row, int height);
  int get_row_heights(int row);  // measures a row whose automatic height is not known yet

  void set_align_col_number(int col);
  int align_col_number() const { return align_col_; }
  void set_align_col_min_width(int w) { align_col_min_width_ = w; }
  int align_col_min_width() const { return align_col_min_width_; }
  void set_line_color(const QColor& c);
  void set_line_color_on(bool on);
  QColor line_color() const { return line_color_; }
  void set_auto_row_height(bool on);
  bool auto_row_height() const { return auto_row_height_; }
  void set_min_row_height(int h);
  int min_row_height() const { return min_row_height_; }
  void set_sort_col_number(int col);
  void set_sort_col_type(SORT_COL_TYPE t);
  int sort_col_number() const { return sort_col_; }
  // index 0: menu of data rows, 1: menu of header rows. Not owned.
  void set_popup_menu(int index, QMenu* menu);
  bool drawing() const { return drawing_; }

  // Cells stored by the grid (only with UseCells).
  void set_use_cells(bool on);
  bool use_cells() const { return use_cells_; }
  QString cells(int col, int row) const;
  void set_cells(int col, int row, const QString& text);

  // Current cell and scrolling.
  int col() const { return col_; }
  int row() const { return row_; }
  // Makes the cell current (when the owner lets it) and scrolls it into view.
  bool set_current(int col, int row);
  int top_row() const { return top_row_; }
  void set_top_row(int row);
  int left_col() const { return left_col_; }
  void set_left_col(int col);
  // Data rows shown whole from the top row on.
  int visible_row_count();
  bool is_visible_current_row();
  void set_visible_current_row(bool on);

  // Updating.
  void DontUpdateView();
  void UpdateView(int first_row = -1, int last_row = -1);
  void set_valid_data(bool on);
  bool updating() const { return update_view_; }
  void DenyRepaint();
  void AllowRepaint();
  void InvalidateCell(int col, int row);
  void InvalidateRow(int row);
  void InvalidateCol(int col);

  // Cell geometry in viewport coordinates (empty when the cell is not shown).
  QRect cell_rect(int col, int row);
  // The cell under a viewport point; false outside the cells.
  bool cell_at(const QPoint& p, int& col, int& row);
  // The draw_flags of a cell after asking the owner.
  int get_cell_state(int col, int row);
  // The owner's answer for a cell, as drawing would get it (extra: the extra part).
  virtual VL_cell ask_cell(int col, int row, const QRect& rect, bool edited = false, bool extra = false);
  // The element a cell is drawn with: by cell_type, then the colour overrides of draw_flags.
  TEXT_ELEM element_for(const VL_cell& cell) const;
  const VL_FONT* vl_font(int index) const;

  // Measuring.
  int grid_cell_height(const QFont& font, int width, const QString& text, int format) const;
  int grid_cell_height_lines(const VL_FONT& font, int lines) const;
  int grid_cell_width(const QFont& font, const QString& text) const;
  int get_some_cols_width(int from, int to) const;
  int get_some_rows_height(int from, int to);
  int extra_cell_height() const { return 4; }
  int extra_cell_width(const VL_FONT& font) const { return font.char_width / 2 * 2; }

  // Marks.
  void set_use_checks(bool on);
  bool use_checks() const { return use_checks_; }
  void set_use_checks_options(int bits) { checks_options_ = bits; }
  int use_checks_options() const { return checks_options_; }
  bool IsChecked() const { return checked_count_ > 0; }
  int checked_count() const { return checked_count_; }
  void SetCheckOnly(int row);
  void SetCheckAdd(int row);
  void SetCheckUpTo(int row);
  void ClearChecks();
  bool get_checks(int row) const;
  void set_checks(int row, bool on);

  // Counters for tests and benchmarks: cells asked for while painting since the last reset.
  long painted_cells() const { return painted_cells_; }
  void reset_painted_cells() { painted_cells_ = 0; }
  // Paints the visible part into a painter (the viewport's paint, also used off screen).
  void paint_cells(QPainter& p, const QRect& clip);

signals:
  void OnClickHead(int col);
  void OnDblClickHead(int col);
  void OnCheckChanged(kovra::controls::TRange range);
  void OnCheckRowChanged(int row, bool old_state);
  void OnColSizeChanged();
  void current_changed(int col, int row);

protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;

  // Hooks for the editing grids.
  virtual void draw_cell(QPainter& p, int col, int row, const QRect& rect);
  virtual void paint_extra(QPainter&, const QRect&) {}
  virtual int measure_cell_height(int col, int row, int width);
  virtual void move_to(int col, int row, int key);  // keyboard moves
  virtual bool cell_key(QKeyEvent*) { return false; }  // true: the key was used
  virtual void geometry_changed() {}
  // The answer about to be drawn (after the owner and the marks).
  virtual void painting_cell(int, int, VL_cell&) {}
  // The least text lines of a row beyond what the owner says (an open multi-line editor).
  virtual int min_lines(int) { return 0; }
  // The default answer before the owner is asked.
  virtual VL_cell default_cell(int col, int row, const QRect& rect) const;
  // Draws a cell from its answer (used by both painting passes).
  void draw_answer(QPainter& p, int col, int row, VL_cell& cell);
  void do_paint_cell(QPainter& p, int col, int row, const QRect& rect, bool extra);
  int row_y(int row);  // viewport top of a shown row, -1 when hidden
  int col_x(int col) const;
  void ensure_visible(int col, int row);
  void update_scroll_bars();
  void adjust_col_widths();
  void invalidate_heights(int first, int last);
  int first_data_col() const { return fixed_cols_; }
  int last_visible_top();

  VL_grid_source* source_ = nullptr;
  const std::vector<VL_FONT>* fonts_ = nullptr;
  const std::vector<TEXT_ELEM>* elements_ = nullptr;
  int mouse_col_ = -1, mouse_row_ = -1;  // the cell under the last press

private:
  void set_mark(int row, bool on);
  void ensure_row_height(int row);
  void compute_row_height(int row);
  void scroll_rows(int top);

  std::vector<int> col_widths_;
  std::vector<int> row_heights_;
  std::vector<uint8_t> height_known_;  // automatic heights: measured since the last change
  int fixed_cols_ = 1, fixed_rows_ = 1;
  int default_row_height_ = 24, default_col_width_ = 64;
  int line_width_ = 1;
  bool row_select_ = false;
  int col_ = 1, row_ = 1, top_row_ = 1, left_col_ = 1;

  int align_col_ = -1, align_col_min_width_ = 0;
  QColor line_color_ = Qt::black;
  bool line_color_on_ = false;
  bool auto_row_height_ = false;
  int min_row_height_ = 0;
  bool use_cells_ = false;
  std::vector<std::vector<QString>> cells_;
  int sort_col_ = -1;
  SORT_COL_TYPE sort_type_ = sctDown;
  QPointer<QMenu> menus_[2];
  bool drawing_ = false;

  bool update_view_ = true;
  bool repaint_ = true;
  std::vector<int> measured_widths_;  // the widths the known row heights were measured with

  bool use_checks_ = false;
  int checks_options_ = 3;
  std::vector<uint8_t> marks_;  // a bit per row
  int checked_count_ = 0;
  int anchor_ = -1;
  bool pending_mark_ = false;
  int sizing_col_ = -1, sizing_start_x_ = 0, sizing_start_w_ = 0;
  int pressed_head_col_ = -1;  // a double-clicked header is drawn pressed until released

  long painted_cells_ = 0;
  bool adjusting_ = false;
};

} // namespace kovra::controls
