#pragma once
// "printer.dat": the text file that defines the character printers the user can choose.
//
// Format (one item per line, at most 199 characters; "//" starts a comment; lines are trimmed
// and empty lines skipped; line numbers count every physical line):
//   - the format number 315;
//   - printer definitions until the first line that starts with "#", each of seven
//     whitespace-separated tokens: manufacturer, model name ("_" for a space), code block
//     name, LOAD_FONT|DONT_LOAD, CHOOSE|CUT_SHEET, DOT|LASER|INK,
//     CHOOSE|ASCII|MAZOVIA|LATIN2 (keywords in any case);
//   - code blocks: "#NAME", then one line per code slot 0..21 with the code's bytes as
//     decimal numbers (at most 19 are kept; "-" alone is an empty code). Lines after the
//     22nd are ignored.
#include "report/printer_codes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::report {

inline constexpr int printer_dat_format = 315;
inline constexpr std::size_t printer_dat_line_max = 199;
// A definitions file is a few kilobytes; anything far larger is not one.
inline constexpr std::size_t printer_dat_max_size = 1 << 20;

enum paper_option : int { PAPER_CHOOSE = 0, PAPER_CUT_SHEET = 1 };
enum font_option : int { FONT_DONT_LOAD = 0, FONT_LOAD = 1 };
enum printer_kind : int { PRINTER_DOT = 0, PRINTER_LASER = 1, PRINTER_INK = 2 };
enum letters_option : int { LETTERS_CHOOSE = 0, LETTERS_ASCII = 1, LETTERS_MAZOVIA = 2, LETTERS_LATIN2 = 3 };

struct printer_model {
  std::string name;  // "_" already turned into spaces
  int paper = PAPER_CHOOSE;
  int font = FONT_DONT_LOAD;
  int kind = PRINTER_DOT;
  int letters = LETTERS_CHOOSE;
  int code_block = -1;  // index into printer_definitions::blocks
};

struct printer_maker {
  std::string name;
  std::vector<printer_model> models;  // sorted by name
};

struct code_block {
  std::string name;
  std::size_t position = 0;  // byte offset just after its "#" line
  bool opened = false;       // a "#" line for it was found
  printer_codes codes;
};

struct printer_definitions {
  std::vector<printer_maker> makers;  // sorted by name
  std::vector<code_block> blocks;

  // The model of that name (compared without regard to case; "_" matches a space), the
  // first one found in manufacturer order; nullptr when none.
  const printer_model* find_model(std::string_view name) const;
  const printer_codes& codes_of(const printer_model& model) const;
};

// What is wrong with a definitions file, as the catalogue message that reports it:
// 21 wrong format number, 23 code block never defined (`name`), 24 bad field (`line`, `name`).
struct printer_dat_error {
  int message = 0;
  int line = 0;
  std::string name;
};

struct printer_dat_result {
  std::optional<printer_definitions> definitions;
  printer_dat_error error;  // when definitions is empty
};

// Parses the text of a definitions file.
printer_dat_result parse_printer_dat(std::string_view text);

// Reads the file and parses it; reports a failure with its catalogue message (20 missing,
// 21, 23, 24 as above, 22 too large) and gives nullopt.
std::optional<printer_definitions> load_printer_dat(const std::string& path);

} // namespace kovra::report
