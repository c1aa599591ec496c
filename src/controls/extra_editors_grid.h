#pragma once
// VL_extra_editors_grid: one column (ExtraEdColNumber) may carry an extra part at the top of
// its cells, with an editor of its own (the positions view shows a position's basis there).
// While the owner is asked for the extra part, VL_cell::extra and extra_cell() are true.
#include "controls/editors_grid.h"

#include <vector>

namespace kovra::controls {

class VL_extra_editors_grid : public VL_editors_grid {
  Q_OBJECT
public:
  explicit VL_extra_editors_grid(QWidget* parent = nullptr);

  void set_extra_ed_col_number(int col);
  int extra_ed_col_number() const { return extra_col_; }
  // The editor of the extra part (same kinds as set_editor).
  void set_extra_editor(QWidget* editor);
  QWidget* extra_editor() const { return extra_editor_; }
  void set_def_extra_cell_height(int h) { def_extra_height_ = h; }
  int def_extra_cell_height() const { return def_extra_height_; }
  // 0: the row has no extra part (leaving it, and ending an edit in it, when it is current).
  void set_extra_cell_heights(int row, int h);
  int get_extra_cell_heights(int row) const;
  // True while the cursor is in the extra part of the current cell (or the owner is asked
  // for an extra part).
  bool extra_cell() const { return asking_ ? asking_ == 2 : extra_cell_; }
  void set_extra_cell(bool on);
  // Makes a cell current, in its extra part or its main part.
  bool set_current_part(int col, int row, bool extra);

  void select_next_cell(int exit_key) override;
  VL_cell ask_cell(int col, int row, const QRect& rect, bool edited = false, bool extra = false) override;

protected:
  void draw_cell(QPainter& p, int col, int row, const QRect& rect) override;
  void paint_extra(QPainter& p, const QRect& clip) override;
  int measure_cell_height(int col, int row, int width) override;
  bool cell_key(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void painting_cell(int col, int row, VL_cell& cell) override;
  QWidget* editor_for(int col, bool extra) const override;
  QRect edit_rect(int col, int row, bool extra) override;
  bool current_extra() const override { return extra_cell_; }

private:
  bool has_extra(int row) const { return get_extra_cell_heights(row) > 0; }

  int extra_col_ = -1;
  QWidget* extra_editor_ = nullptr;
  int def_extra_height_ = 0;
  std::vector<int> extra_heights_;
  bool extra_cell_ = false;
  int asking_ = 0;  // while the owner is asked: 1 the main part, 2 the extra part
};

} // namespace kovra::controls
