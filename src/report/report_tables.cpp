#include "report/report_tables.h"

#include <cmath>

namespace kovra::report {

std::vector<report_font> font_table_from_look(const print_look& look) {
  std::vector<report_font> fonts;
  for (const auto& e : look.elements) {
    report_font f;
    f.height = static_cast<int32_t>(std::lround(e.size_pt * 96.0 / 72.0));
    if (f.height < 1) f.height = 1;
    f.weight = (e.style & PRINT_STYLE_BOLD) ? 700 : 400;
    f.italic = (e.style & PRINT_STYLE_ITALIC) != 0;
    f.underline = (e.style & PRINT_STYLE_UNDERLINE) != 0;
    f.strikeout = (e.style & PRINT_STYLE_STRIKEOUT) != 0;
    f.charset = e.charset == 0 ? 238 : e.charset;
    f.face = e.face;
    f.colour = e.colour;
    fonts.push_back(f);
  }
  return fonts;
}

std::vector<report_pen> pen_table_from_look(const print_look& look) {
  auto clamp = [](int w) { return w < 0 ? 0 : (w > 1000 ? 1000 : w); };
  return {report_pen{clamp(look.inner_rule), 0}, report_pen{clamp(look.outer_rule), 0}};
}

} // namespace kovra::report
