#pragma once
// VL_prt_item: one table row of up to 15 cells, and the helpers that measure it and record
// it into a report.
#include "report/page_replay.h"
#include "report/text_format.h"

#include <array>
#include <cstdint>
#include <string>

namespace kovra::report {

class VL_raport;

inline constexpr int PRT_ITEM_CELLS = 15;
// Horizontal inset of cell texts, device units.
inline constexpr int32_t CELL_INSET = 15;

struct prt_cell {
  std::string text;  // Mazovia
  int32_t width = 0;
  bool rule_after = true;  // vertical rule at the cell's right edge
  uint16_t format = DT_WORDBREAK | DT_LEFT;
  uint8_t font = 3;
};

struct VL_prt_item {
  std::array<prt_cell, PRT_ITEM_CELLS> cells;
  int count = 0;
  page_rect rect;
  int32_t height = 0;

  // Empties every text, zeroes the widths and restores the per-cell defaults.
  void clear();
};

// Row height. With auto_widths every cell but the stretch cell gets the width of its text
// on one line and the stretch cell the rest of total_width. Cells whose word-breaking text
// is too wide are re-flowed after "*+-/ " and, failing that, broken inside words (the cell's
// text and format are changed accordingly).
int32_t measure_row(VL_raport& r, VL_prt_item& item, int min_lines, bool auto_widths, int32_t total_width,
                    int stretch_cell, int32_t padding);
// Records the row at y (band-relative) and returns its height.
int32_t draw_row(VL_raport& r, VL_prt_item& item, int32_t y, bool outer_frame, int32_t padding);
// As draw_row, with a dot leader appended to one cell.
int32_t draw_row_with_leader(VL_raport& r, VL_prt_item& item, int32_t y, int32_t padding, bool outer_frame,
                             int leader_cell);
// Vertical rules only: outer edges with pen 1, inner rules with pen 0 where rule_after is set.
void draw_row_rules(VL_raport& r, const VL_prt_item& item, int32_t y, int32_t height);
// A horizontal line across the row rectangle at dy, with pen 1.
void draw_row_line(VL_raport& r, const VL_prt_item& item, int32_t dy);

// The text cut after "*+-/ " into pieces of at most `piece` characters, joined by single blanks
// (a piece with no break character within the limit runs on to the next one).
std::string reflow_text(const std::string& text, int piece);

} // namespace kovra::report
