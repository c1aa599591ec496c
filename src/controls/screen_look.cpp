#include "controls/screen_look.h"

#include "shell/ini_file.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>

#include <filesystem>
#include <fstream>

namespace kovra::controls {
namespace {

constexpr int fixed_pitch = 1;

struct element_default {
  const char* name;
  int font;
  uint32_t text;
  uint32_t background;
};

const element_default element_defaults[screen_element_count] = {
    {"Markowany tekst", 0, clr_highlight_text, clr_highlight},
    {"Nagłówek tabeli", 2, rgb_colour(0x7F, 0x00, 0x7F), clr_button_face},
    {"Nakład zablokowany", 6, clr_window_text, clr_window},
    {"Pole aktywne", 0, rgb_colour(0xFF, 0xFF, 0xFF), rgb_colour(0x80, 0x40, 0x40)},
    {"Pole wyróżnione", 0, rgb_colour(0xFF, 0xFF, 0xFF), rgb_colour(0x00, 0x7F, 0x7F)},
    {"Nazwa elementu", 5, rgb_colour(0xFF, 0x00, 0x00), clr_window},
    {"Opis opcji", 0, clr_window_text, clr_window},
    {"Pole edytowane", 0, rgb_colour(0, 0, 0), rgb_colour(0xFF, 0xFF, 0x80)},
    {"Pole niedostępne", 0, clr_button_text, clr_button_face},
    {"Pole podstawowe", 0, clr_window_text, clr_window},
    {"Tekst stały", 0, clr_window_text, clr_window},
    {"Teksty przeglądane", 3, clr_window_text, clr_window},
    {"Zakładka aktywna", 1, rgb_colour(0xFF, 0x00, 0x00), clr_button_face},
    {"Zakładka nieaktywna", 1, rgb_colour(0, 0, 0), clr_button_face},
    {"Nazwa grupy", 4, rgb_colour(0x00, 0x00, 0xFF), clr_window},
};

// The faces of the Windows program's look, as every Linux desktop has them.
QString linux_face(const std::string& face) {
  QString f = QString::fromStdString(face);
  const QString lower = f.toLower();
  if (lower == "ms sans serif" || lower == "ms shell dlg" || lower == "ms shell dlg 2" || lower == "arial" ||
      lower == "tahoma")
    return "DejaVu Sans";
  if (lower == "courier new" || lower == "courier") return "DejaVu Sans Mono";
  return f;
}

struct program_look {
  shell::design_look design = default_screen_design();
  std::vector<VL_FONT> fonts;
  std::vector<TEXT_ELEM> elements;
  bool built = false;
};

program_look& look() {
  static program_look l;
  if (!l.built) {
    l.fonts = build_font_table(l.design);
    l.elements = build_element_table(l.design);
    l.built = true;
  }
  return l;
}

} // namespace

shell::design_look default_screen_design() {
  shell::design_look d;
  for (const auto& e : element_defaults) d.elements.push_back(shell::look_element{e.font, e.text, e.background, e.name});
  const shell::look_font sans{8, 0, 0, "DejaVu Sans", shell::east_european_charset};
  d.fonts = {sans,
             sans,
             sans,
             shell::look_font{8, fixed_pitch, 0, "DejaVu Sans Mono", shell::east_european_charset},
             shell::look_font{11, 0, shell::font_bold, "DejaVu Sans", shell::east_european_charset},
             shell::look_font{10, 0, shell::font_bold, "DejaVu Sans", shell::east_european_charset},
             shell::look_font{8, 0, shell::font_italic, "DejaVu Sans", shell::east_european_charset}};
  return d;
}

void read_screen_design(const shell::ini_file& ini, shell::design_look& look) {
  shell::read_design(ini, shell::screen_look_section, look);
}

void write_screen_design(shell::ini_file& ini, const shell::design_look& look) {
  shell::write_design(ini, shell::screen_look_section, look);
}

QColor platform_colour(uint32_t colour) {
  if (!(colour & system_colour)) return QColor(int(colour & 0xFF), int(colour >> 8 & 0xFF), int(colour >> 16 & 0xFF));
  const QPalette pal = QGuiApplication::palette();
  switch (colour & 0xFF) {
  case 0: return pal.color(QPalette::Button);           // scroll bar
  case 1: return pal.color(QPalette::Window);           // desktop
  case 2: case 27: return pal.color(QPalette::Highlight);  // active caption
  case 3: case 28: return pal.color(QPalette::Mid);        // inactive caption
  case 4: return pal.color(QPalette::Window);           // menu
  case 5: return pal.color(QPalette::Base);             // window
  case 6: return pal.color(QPalette::Shadow);           // window frame
  case 7: return pal.color(QPalette::WindowText);       // menu text
  case 8: return pal.color(QPalette::Text);             // window text
  case 9: return pal.color(QPalette::HighlightedText);  // caption text
  case 10: case 11: return pal.color(QPalette::Mid);    // borders
  case 12: return pal.color(QPalette::Dark);            // MDI background
  case 13: return pal.color(QPalette::Highlight);
  case 14: return pal.color(QPalette::HighlightedText);
  case 15: return pal.color(QPalette::Button);          // button face
  case 16: return pal.color(QPalette::Dark);            // button shadow
  case 17: return pal.color(QPalette::Disabled, QPalette::Text);
  case 18: return pal.color(QPalette::ButtonText);
  case 19: return pal.color(QPalette::WindowText);      // inactive caption text
  case 20: return pal.color(QPalette::Light);           // button highlight
  case 21: return pal.color(QPalette::Shadow);          // 3-D dark shadow
  case 22: return pal.color(QPalette::Midlight);        // 3-D light
  case 23: return pal.color(QPalette::ToolTipText);
  case 24: return pal.color(QPalette::ToolTipBase);
  default: return pal.color(QPalette::Text);
  }
}

QFont look_qfont(const shell::look_font& f) {
  QFont font(linux_face(f.face));
  font.setPointSize(f.size > 0 ? f.size : 8);
  font.setBold(f.style & shell::font_bold);
  font.setItalic(f.style & shell::font_italic);
  font.setUnderline(f.style & shell::font_underline);
  font.setStrikeOut(f.style & shell::font_strikeout);
  if (f.pitch == fixed_pitch) {
    font.setFixedPitch(true);
    font.setStyleHint(QFont::TypeWriter);
  }
  return font;
}

VL_FONT make_vl_font(const QFont& font) {
  QFontMetrics fm(font);
  return VL_FONT{font, fm.height(), fm.averageCharWidth()};
}

std::vector<VL_FONT> build_font_table(const shell::design_look& look) {
  std::vector<VL_FONT> fonts;
  for (const auto& f : look.fonts) fonts.push_back(make_vl_font(look_qfont(f)));
  return fonts;
}

std::vector<TEXT_ELEM> build_element_table(const shell::design_look& look) {
  std::vector<TEXT_ELEM> elements;
  for (const auto& e : look.elements)
    elements.push_back(TEXT_ELEM{QString::fromStdString(e.name), e.font, platform_colour(e.colour),
                                 platform_colour(e.third)});
  return elements;
}

const shell::design_look& screen_design() { return look().design; }
const std::vector<VL_FONT>& screen_fonts() { return look().fonts; }
const std::vector<TEXT_ELEM>& screen_elements() { return look().elements; }

void set_screen_design(const shell::design_look& design) {
  program_look& l = look();
  l.design = design;
  // Assign element by element so that tables held by grids stay where they are.
  auto fonts = build_font_table(design);
  auto elements = build_element_table(design);
  l.fonts.assign(fonts.begin(), fonts.end());
  l.elements.assign(elements.begin(), elements.end());
}

void reset_screen_look() { set_screen_design(default_screen_design()); }

void load_screen_look(const std::string& ini_path) {
  shell::design_look design = default_screen_design();
  const std::string des = (std::filesystem::path(ini_path).parent_path() / "kovra.des").string();
  if (!shell::convert_design_file(des, ini_path, shell::screen_look_section, design)) {
    shell::ini_file ini;
    if (ini.load(ini_path)) read_screen_design(ini, design);
  }
  set_screen_design(design);
}

bool save_screen_look(const std::string& ini_path) {
  shell::ini_file ini;
  if (!ini.load(ini_path) && std::ifstream(ini_path).good()) return false;
  write_screen_design(ini, screen_design());
  return ini.save(ini_path);
}

} // namespace kovra::controls
