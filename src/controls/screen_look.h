#pragma once
// The screen look: 15 text elements and 7 fonts shared by every grid and editor of the
// program, kept in kovra.ini beside the print look and in the same form. The stored form is
// the shell's design_look (colours as platform colour numbers); the tables the controls draw
// with hold the resolved Qt fonts and colours.
#include "shell/print_look.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace kovra::controls {

inline constexpr int screen_element_count = 15;
inline constexpr int screen_font_count = 7;

// Element numbers.
enum screen_element : int {
  elem_marked = 0,        // "Markowany tekst"
  elem_header = 1,        // "Nagłówek tabeli"
  elem_blocked = 2,       // "Nakład zablokowany"
  elem_active = 3,        // "Pole aktywne"
  elem_highlighted = 4,   // "Pole wyróżnione"
  elem_element_name = 5,  // "Nazwa elementu"
  elem_option = 6,        // "Opis opcji"
  elem_edited = 7,        // "Pole edytowane"
  elem_unavailable = 8,   // "Pole niedostępne"
  elem_basic = 9,         // "Pole podstawowe"
  elem_fixed_text = 10,   // "Tekst stały"
  elem_browsed = 11,      // "Teksty przeglądane"
  elem_tab_active = 12,   // "Zakładka aktywna"
  elem_tab_inactive = 13, // "Zakładka nieaktywna"
  elem_group_name = 14,   // "Nazwa grupy"
};

// Platform colour numbers: 0x00BBGGRR, or a system colour index with the top bit set.
inline constexpr uint32_t system_colour = 0x80000000u;
inline constexpr uint32_t clr_window = system_colour | 5;
inline constexpr uint32_t clr_window_text = system_colour | 8;
inline constexpr uint32_t clr_highlight = system_colour | 13;
inline constexpr uint32_t clr_highlight_text = system_colour | 14;
inline constexpr uint32_t clr_button_face = system_colour | 15;
inline constexpr uint32_t clr_gray_text = system_colour | 17;
inline constexpr uint32_t clr_button_text = system_colour | 18;
constexpr uint32_t rgb_colour(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }

// A font as the controls use it, with its metrics measured once.
struct VL_FONT {
  QFont font;
  int line_height = 0;  // pixels
  int char_width = 0;   // average character width, pixels
};

// A text element resolved for drawing.
struct TEXT_ELEM {
  QString name;
  int font = 0;  // into the font table
  QColor text;
  QColor background;
};

// The defaults: element names, fonts and colours as a new kovra.ini gets them.
shell::design_look default_screen_design();

// "Element1".."Element15" and "Czcionka1".."Czcionka7" of the screen section.
void read_screen_design(const shell::ini_file& ini, shell::design_look& look);
void write_screen_design(shell::ini_file& ini, const shell::design_look& look);

// Resolving the stored form. System colours follow the application palette; the Windows
// faces of older files are mapped to the fonts every Linux desktop has.
QColor platform_colour(uint32_t colour);
QFont look_qfont(const shell::look_font& font);
VL_FONT make_vl_font(const QFont& font);
std::vector<VL_FONT> build_font_table(const shell::design_look& look);
std::vector<TEXT_ELEM> build_element_table(const shell::design_look& look);

// The program-wide look. The tables are rebuilt in place, so a grid that holds them keeps
// seeing the current look.
const shell::design_look& screen_design();
const std::vector<VL_FONT>& screen_fonts();
const std::vector<TEXT_ELEM>& screen_elements();
void set_screen_design(const shell::design_look& look);
void reset_screen_look();  // the defaults (tests)
// At start-up: an older "kovra.des" beside the INI file is converted into it and deleted;
// otherwise the look is read from the INI file when it exists.
void load_screen_look(const std::string& ini_path);
// Writes the current look into the INI file, keeping its other sections; false when the
// file exists but cannot be read, or cannot be written.
bool save_screen_look(const std::string& ini_path);

} // namespace kovra::controls
