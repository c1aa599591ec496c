#pragma once
// The font and pen tables a report is recorded and replayed with, indexed by the small
// numbers stored in the page file, and how they come from the print look.
#include "shell/print_look.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kovra::report {

// Font numbers of the print elements by use (element i is font i).
enum print_element_id : int {
  PE_TEXT_PREVIEW = 0,
  PE_TITLE = 1,
  PE_TABLE_HEADER = 2,
  PE_BODY = 3,
  PE_ELEMENT = 4,
  PE_EMPHASIS = 5,
  PE_PAGE_BAND = 6,
  PE_GROUP = 7,
};

// A font description at the design resolution (96 dpi).
struct report_font {
  int32_t height = 13;    // em height in pixels at 96 dpi
  int32_t width = 0;      // average character width at 96 dpi; 0 keeps the face's proportions
  int32_t weight = 400;   // 400 normal, 700 bold
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  uint8_t charset = 238;
  std::string face;       // UTF-8
  int32_t colour = 0;     // text colour of the element the font belongs to (0x00BBGGRR)
};

struct report_pen {
  int32_t width = 0;      // device units; 0 is the thinnest line the device draws
  int32_t colour = 0;
};

// One font per print element (eight at least; missing ones take the default look's).
std::vector<report_font> font_table_from_look(const shell::print_look& look);
// Pen 0 draws inner rules, pen 1 outer frames and heavy lines: solid black of the rule widths.
std::vector<report_pen> pen_table_from_look(const shell::print_look& look);

} // namespace kovra::report
