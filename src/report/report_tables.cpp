#include "report/report_tables.h"

#include <algorithm>
#include <cmath>

namespace kovra::report {

namespace {

report_font font_of(const shell::look_font& lf, uint32_t colour) {
  report_font f;
  f.height = std::max(1, static_cast<int32_t>(std::lround(lf.size * 96.0 / 72.0)));
  f.weight = (lf.style & shell::font_bold) ? 700 : 400;
  f.italic = (lf.style & shell::font_italic) != 0;
  f.underline = (lf.style & shell::font_underline) != 0;
  f.strikeout = (lf.style & shell::font_strikeout) != 0;
  f.charset = static_cast<uint8_t>(lf.charset == 0 ? shell::east_european_charset : lf.charset);
  f.face = lf.face;
  // A system colour (top bit set) has no meaning on paper: black.
  f.colour = (colour & 0x80000000u) ? 0 : static_cast<int32_t>(colour & 0x00FFFFFFu);
  return f;
}

std::vector<report_font> elements_fonts(const shell::design_look& d) {
  std::vector<report_font> fonts;
  for (const auto& e : d.elements) {
    if (e.font < 0 || static_cast<std::size_t>(e.font) >= d.fonts.size()) {
      fonts.push_back(font_of(shell::look_font{}, e.colour));
      continue;
    }
    fonts.push_back(font_of(d.fonts[static_cast<std::size_t>(e.font)], e.colour));
  }
  return fonts;
}

} // namespace

std::vector<report_font> font_table_from_look(const shell::print_look& look) {
  std::vector<report_font> fonts = elements_fonts(look.design);
  if (fonts.size() < static_cast<std::size_t>(shell::print_element_count)) {
    const std::vector<report_font> defaults = elements_fonts(shell::default_print_look().design);
    for (std::size_t i = fonts.size(); i < defaults.size(); ++i) fonts.push_back(defaults[i]);
  }
  return fonts;
}

std::vector<report_pen> pen_table_from_look(const shell::print_look& look) {
  auto clamp = [](int w) { return std::clamp(w, 0, 1000); };
  return {report_pen{clamp(look.inner_rule), 0}, report_pen{clamp(look.outer_rule), 0}};
}

} // namespace kovra::report
