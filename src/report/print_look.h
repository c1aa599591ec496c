#pragma once
// The program-wide look of graphic printouts: eight print elements (font, colour), the
// widths of inner and outer rules and the vertical cell padding. Element i is font number i
// of the report engine.
#include <array>
#include <cstdint>
#include <string>

namespace kovra::report {

inline constexpr int PRINT_ELEMENT_COUNT = 8;

// Font style bits of a print element.
inline constexpr int PRINT_STYLE_BOLD = 1;
inline constexpr int PRINT_STYLE_ITALIC = 2;
inline constexpr int PRINT_STYLE_UNDERLINE = 4;
inline constexpr int PRINT_STYLE_STRIKEOUT = 8;

struct print_element {
  std::string face = "Arial";
  int size_pt = 10;
  int style = 0;            // PRINT_STYLE_* bits
  int32_t colour = 0;       // 0x00BBGGRR
  uint8_t charset = 238;    // East European
};

struct print_look {
  std::array<print_element, PRINT_ELEMENT_COUNT> elements;
  int inner_rule = 1;   // pen 0, printer device units
  int outer_rule = 5;   // pen 1
  int line_spacing = 0; // vertical cell padding of table rows
};

// Element indexes (font numbers) by use.
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

// The look used until the configuration supplies one.
print_look default_print_look();

} // namespace kovra::report
