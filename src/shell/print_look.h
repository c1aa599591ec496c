#pragma once
// The look of printouts and of the screen as kept in kovra.ini: text elements (font number,
// colour, a third value, name) and fonts (size, pitch, style bits, face, character set).
// The print look adds the rule widths, the page-number settings and the line spacing.
#include <cstdint>
#include <string>
#include <vector>

namespace kovra::shell {

class ini_file;

inline constexpr const char* print_look_section = "Ustawienie elementow i czcionek drukarkowych";
inline constexpr const char* screen_look_section = "Ustawienie elementow i czcionek ekranowych";
inline constexpr int print_element_count = 8;

// Style bits of a font.
inline constexpr int font_bold = 1;
inline constexpr int font_italic = 2;
inline constexpr int font_underline = 4;
inline constexpr int font_strikeout = 8;
inline constexpr int east_european_charset = 238;

struct look_font {
  int size = 8;  // points
  int pitch = 0;
  int style = 0;
  std::string face;  // UTF-8
  int charset = east_european_charset;
};

struct look_element {
  int font = 0;
  uint32_t colour = 0;  // 0x00BBGGRR, or a system colour with the top bit set
  uint32_t third = 0;   // background on the screen
  std::string name;     // UTF-8; a stored line with another name is ignored
};

struct design_look {
  std::vector<look_element> elements;
  std::vector<look_font> fonts;
};

struct print_look {
  design_look design;  // 8 elements, element i uses font i
  int inner_rule = 1;  // pen 0, printer units, 0-1000
  int outer_rule = 5;  // pen 1
  int page_number_1 = 0;
  int page_number_2 = 0;
  int line_spacing = 0;  // vertical cell padding, 0-28
};

print_look default_print_look();
// The labels of the eight print elements (without the colon), which are also their names.
const char* print_element_label(int element);

// "Element<n>" and "Czcionka<n>" keys of a section, numbered from 1. A missing key, a line
// with too few values or a name that differs from the element's keeps the default; a font
// number outside the font table keeps a print element's default and makes a screen element
// use font 0; character set 0 is read as 238.
void read_design(const ini_file& ini, const std::string& section, design_look& look);
void write_design(ini_file& ini, const std::string& section, const design_look& look);

// The print look with "ElementWydruku" 1 (inner rule), 2 (outer rule), 3 (page number),
// 4 (line spacing); values outside their range keep the default.
void read_print_look(const ini_file& ini, print_look& look);
void write_print_look(ini_file& ini, const print_look& look);

// The process-wide print look: loaded from kovra.ini at start-up, saved when the print
// dialog closes with OK (a value that cannot be written is dropped).
print_look& current_print_look();
void reset_print_look();  // back to the defaults (tests)
void load_print_look(const std::string& ini_path);
bool save_print_look(const std::string& ini_path);

// An older binary design file beside kovra.ini: a 32-bit version 1, then 1,015 bytes: for
// each screen element its font number, text colour and background (32 bits each), then the
// fonts as 60-byte system font records; the rest is not used. When the file holds such a
// version, its values replace those of `look`, are written into `section` of the INI file
// and the file is deleted. True when converted.
bool convert_design_file(const std::string& des_path, const std::string& ini_path, const std::string& section,
                         design_look& look);

} // namespace kovra::shell
