#include "report/print_look.h"

namespace kovra::report {

print_look default_print_look() {
  print_look look;
  auto& e = look.elements;
  e[PE_TEXT_PREVIEW] = {"Courier New", 10, 0, 0, 238};
  e[PE_TITLE] = {"Arial", 14, PRINT_STYLE_BOLD, 0, 238};
  e[PE_TABLE_HEADER] = {"Arial", 8, PRINT_STYLE_BOLD, 0, 238};
  e[PE_BODY] = {"Arial", 8, 0, 0, 238};
  e[PE_ELEMENT] = {"Arial", 9, PRINT_STYLE_BOLD, 0, 238};
  e[PE_EMPHASIS] = {"Arial", 8, PRINT_STYLE_BOLD, 0, 238};
  e[PE_PAGE_BAND] = {"Arial", 7, PRINT_STYLE_ITALIC, 0, 238};
  e[PE_GROUP] = {"Arial", 9, PRINT_STYLE_BOLD | PRINT_STYLE_ITALIC, 0, 238};
  return look;
}

} // namespace kovra::report
