#pragma once
// The cell protocol of the grids: for every cell it draws, measures or edits, a grid fills a
// VL_cell with defaults and lets its owner (a VL_grid_source) change it. The grid holds no
// data of its own (unless UseCells is on), so a view with 10,000 rows costs nothing until a
// row is shown.
#include <QRect>
#include <QString>

class QPainter;

namespace kovra::controls {

struct TEXT_ELEM;
class VL_std_grid;
class VL_editors_grid;

// cell_state bits.
inline constexpr int cs_text = 1;        // draw the text
inline constexpr int cs_background = 2;  // fill the background (button edges for header kinds)
inline constexpr int cs_line_top = 4;
inline constexpr int cs_line_bottom = 8;
inline constexpr int cs_line_left = 16;
inline constexpr int cs_line_right = 32;
inline constexpr int cs_all = 63;

// cell_type: which element draws the cell.
inline constexpr int ct_basic = 0;        // "Pole podstawowe"
inline constexpr int ct_header = 1;       // "Nagłówek tabeli", raised
inline constexpr int ct_pressed = 2;      // "Pole podstawowe", sunken
inline constexpr int ct_fixed = 3;        // "Pole podstawowe", raised (a fixed column)
inline constexpr int ct_group = 4;        // "Nazwa grupy"
inline constexpr int ct_element = 5;      // "Nazwa elementu"
inline constexpr int ct_blocked = 6;      // "Nakład zablokowany"
inline constexpr int ct_browsed = 7;      // "Teksty przeglądane"
inline constexpr int ct_transparent = 8;  // no background

// draw_flags: colour overrides, applied in the order 8, 4, 1, 2.
inline constexpr int df_selected = 1;  // "Pole wyróżnione"
inline constexpr int df_focused = 2;   // "Pole aktywne"
inline constexpr int df_fixed = 4;     // "Nagłówek tabeli"
inline constexpr int df_disabled = 8;  // "Pole niedostępne"; also: not editable
inline constexpr int df_editable = 16; // preset while the grid asks whether a cell may be edited

// text_format: the flags of the Windows text-drawing call the stored looks were made with.
inline constexpr int tf_center = 1;
inline constexpr int tf_right = 2;
inline constexpr int tf_vcenter = 4;
inline constexpr int tf_word_wrap = 16;
inline constexpr int tf_single_line = 32;
inline constexpr int tf_end_ellipsis = 0x8000;

// The owner's answer for one cell.
struct VL_cell {
  QRect rect;                   // may be widened (a message across the row) or its top moved
  int cell_state = cs_all;
  int cell_type = ct_basic;     // ct_header for a fixed cell of row 0
  QString text;                 // the stored text with UseCells
  int text_format = tf_word_wrap;
  int draw_flags = 0;
  bool edited = false;          // true when the grid asks whether the cell may be edited
  bool extra = false;           // VL_extra_editors_grid: the extra part of the cell is asked for
};

// What a view implements to feed a grid. Only set_cell_data is required; the rest are the
// grid's other events, with defaults that change nothing.
class VL_grid_source {
public:
  virtual ~VL_grid_source() = default;

  // OnDrawCellSetData: fill the cell's text and change any default. Called for every cell
  // the grid draws or measures, and with cell.edited when it asks whether editing may start.
  virtual void set_cell_data(VL_std_grid& grid, int col, int row, VL_cell& cell) = 0;

  // BeforeDrawCell: may change the element about to be used.
  virtual void before_draw_cell(VL_std_grid&, int /*col*/, int /*row*/, TEXT_ELEM& /*te*/) {}
  // OnDrawCellFinish: draw extra marks over the finished cell.
  virtual void draw_cell_finish(VL_std_grid&, QPainter&, int /*col*/, int /*row*/, const VL_cell&,
                                const TEXT_ELEM&) {}
  // OnDrawCellSetLinesInRow: the least number of text lines of the row.
  virtual void set_lines_in_row(VL_std_grid&, int /*row*/, int& /*lines*/) {}
  // OnDrawCellSetRowHeight: may change the height computed for the row (AlignColNumber set).
  virtual void set_row_height(VL_std_grid&, int /*row*/, int& /*height*/) {}
  // OnCountHeight: pixels added to every computed cell height of the row.
  virtual void count_height(VL_std_grid&, int /*row*/, int& /*add*/) {}
  // OnSelectCell: may forbid a cell to become current.
  virtual bool can_select_cell(VL_std_grid&, int /*col*/, int /*row*/) { return true; }
  // OnSelectNextCell: may change where an ended edit moves to.
  virtual void select_next_cell(VL_editors_grid&, int /*old_col*/, int /*old_row*/, int& /*new_col*/,
                                int& /*new_row*/, int /*exit_key*/) {}
  // OnSetEditText: an edit of the cell ended with this text (Escape gives the text it began with).
  virtual void set_edit_text(VL_editors_grid&, int /*col*/, int /*row*/, bool /*extra*/, const QString& /*text*/) {}
};

} // namespace kovra::controls
