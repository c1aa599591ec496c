#pragma once
// Command codes of the page file. Every number in the file is a little-endian int32;
// a command is its code followed by its operands (see doc/page-file.md).
#include <cstdint>

namespace kovra::report {

enum page_opcode : int32_t {
  OP_PEN = 1,             // pen number
  OP_RECTANGLE = 2,       // left, top, right, bottom, brush colour (-1 none)
  OP_ROUND_RECT = 3,      // left, top, right, bottom, corner, brush colour (-1 none)
  OP_LINE = 4,            // x1, y1, x2, y2
  OP_VLINE = 5,           // x, y1, y2
  OP_HLINE = 6,           // x1, x2, y
  OP_TEXT = 7,            // format, h inset, v inset, length with zero, rectangle, bytes
  OP_FONT = 8,            // font number
  OP_TEXT_COLOUR = 9,     // colour
  OP_ADVANCE = 10,        // dy
  OP_PAGE = 11,           // page number, previous record, next record
  OP_PAGE_NUMBER = 12,    // rectangle
  OP_ORIGIN = 13,         // y
  OP_END = 14,            // none
  OP_SPACE = 15,          // dy
  OP_ARC = 16,            // eight coordinates
  OP_TEXT_VCENTRED = 17,  // four values, length, bytes
};

// A page record: opcode, page number, previous and next record offsets.
inline constexpr int PAGE_RECORD_SIZE = 16;

// Colours are 0x00BBGGRR; -1 means "no colour" (no fill).
inline constexpr int32_t NO_COLOUR = -1;

} // namespace kovra::report
