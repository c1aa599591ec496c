#pragma once
// VL_editors_grid: a VL_std_grid whose cells are edited by the program's editors, one per
// column. The owner decides which cells may be edited (the editing query of the cell
// protocol) and receives the text when an edit ends (VL_grid_source::set_edit_text).
#include "controls/std_grid.h"

#include <map>

namespace kovra::controls {

class VL_editor_base;

class VL_editors_grid : public VL_std_grid {
  Q_OBJECT
public:
  explicit VL_editors_grid(QWidget* parent = nullptr);

  // Registers the editor of a column: a VL_standard_edit (or a kind of it), VL_multi_edit or
  // VL_combo; any other type throws std::invalid_argument. The grid takes the editor as a
  // child, hides it and takes away its tab stop and border. nullptr removes it.
  void set_editor(int col, QWidget* editor);
  QWidget* get_editor(int col) const;
  // false: a column without editor is not editable.
  bool UseDefaultEditor = false;

  // Switching off while an edit is open first gives the editor Enter, ending the edit.
  void set_ed_valid_data(bool on);

  bool editing() const { return editing_; }
  QWidget* active_editor() const { return editing_ ? edit_widget_ : nullptr; }
  // The editing query: may the cell be edited now?
  bool can_edit(int col, int row);
  // The same for one part of a cell (extra: the extra part of VL_extra_editors_grid).
  bool can_edit_part(int col, int row, bool extra);
  // Opens the editor over the current cell; a printable first character goes on to it.
  bool start_edit(const QString& first_char = {});
  // The key that started and the key that ended the last edit.
  int start_key() const { return start_key_; }
  int end_key() const { return end_key_; }

  // Moves to the next cell that may be selected and is neither fixed nor disabled (keys other
  // than Up and Down); stays when there is none.
  virtual void select_next_cell(int exit_key);

  // Called by the editors.
  void end_edit(int key);
  void editor_left(QWidget* editor);
  void editor_text_changed();

protected:
  bool event(QEvent* e) override;
  bool cell_key(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void geometry_changed() override;
  void painting_cell(int col, int row, VL_cell& cell) override;
  int min_lines(int row) override;
  VL_cell default_cell(int col, int row, const QRect& rect) const override;

  // The editor for a column (extra: the extra part of VL_extra_editors_grid).
  virtual QWidget* editor_for(int col, bool extra) const;
  // The rectangle of the part being edited.
  virtual QRect edit_rect(int col, int row, bool extra);
  virtual bool current_extra() const { return false; }
  // Commits the editor's text and hides it; false when the editor refuses to be left.
  bool finish_edit(int key, bool run_checks);
  // Where the search of select_next_cell lands; false when nothing fits.
  bool find_next_cell(int& col, int& row);
  bool selectable_for_next(int col, int row);

  bool editing_ = false;
  int edit_col_ = -1, edit_row_ = -1;
  bool edit_extra_ = false;
  bool after_edit_ = false;  // select_next_cell runs for an edit that just ended
  QWidget* edit_widget_ = nullptr;

private:
  void place_editor();
  static VL_editor_base* base_of(QWidget* w);

  std::map<int, QWidget*> editors_;
  QWidget* default_editor_ = nullptr;
  int start_key_ = 0, end_key_ = 0;
};

} // namespace kovra::controls
