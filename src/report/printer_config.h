#pragma once
// "prnconf.cfg": the chosen character printer, its control codes and the text-page geometry.
//
// Exactly 512 bytes, little-endian, 16-bit signed values:
//   0 format number 315        2 port (0..3 = LPT1..LPT4)     4 reserved (4 bytes)
//   8 model name (30 bytes, zero-terminated; empty when no definition was chosen)
//  38 paper option  40 font download  42 printer kind  44 Polish letters of the model
//  46 right margin (mm)  48 saved code page + 1 while Win ANSI is selected for a file, else 0
//  50 reserved (6 bytes)  56 code page  58 lines per page  60 left margin (mm)
//  62 top margin (mm)  64 bottom margin (mm)  66 paper length  68 print density
//  70 reserved  72 22 codes of 20 bytes: the length (0..19), then the code bytes
#include "report/printer_codes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kovra::report {

struct printer_model;

inline constexpr std::size_t printer_config_size = 512;
inline constexpr int printer_config_format = 315;
inline constexpr std::size_t printer_model_name_size = 30;  // terminator included
inline constexpr int default_lines_per_page = 66;
// Lines per page stay well below the writer's "no page open" markers (998, 999).
inline constexpr int max_lines_per_page = 500;
inline constexpr int max_margin_mm = 999;

enum paper_length_id : int { PAPER_A4 = 0, PAPER_11_INCH = 1, PAPER_12_INCH = 2 };
enum density_id : int { DENSITY_8_LPI = 0, DENSITY_6_LPI = 1, DENSITY_4_LPI = 2, DENSITY_3_LPI = 3 };

struct printer_config {
  int port = 0;
  std::string model_name;
  int paper = 0;
  int font = 0;
  int kind = 0;
  int letters = 0;
  int right_margin = 0;
  int saved_code_page = 0;
  int code_page = 0;
  int lines_per_page = default_lines_per_page;
  int left_margin = 0;
  int top_margin = 0;
  int bottom_margin = 0;
  int paper_length = PAPER_A4;
  int density = DENSITY_8_LPI;
  printer_codes codes;

  bool operator==(const printer_config&) const = default;
};

using printer_config_bytes = std::array<uint8_t, printer_config_size>;

printer_config_bytes encode_printer_config(const printer_config& config);
// nullopt when the bytes are not a sound configuration: another format number, a value out
// of its range, a code longer than 19 bytes, or a model name without its terminator.
std::optional<printer_config> decode_printer_config(const uint8_t* bytes, std::size_t size);

// missing: no file; replaced: the file was read and was not a sound configuration, so it
// was deleted; unreadable: the file could not be read (permissions, not a plain file) and
// stays as it is.
enum class printer_config_source { file, missing, replaced, unreadable };

struct printer_config_read {
  printer_config config;
  printer_config_source source = printer_config_source::missing;
};

// Reads the file; the defaults stand in for a file that is missing or not sound. Only a
// file that was read and found unsound (wrong size included) is deleted.
printer_config_read read_printer_config(const std::string& path);

// The configuration text printing uses: read once at start-up (load_current_printer_config
// is the start-up step), changed by the printer dialog, which writes it back.
printer_config& current_printer_config();
printer_config_source load_current_printer_config(const std::string& path);
void reset_current_printer_config();
// Writes all 512 bytes; false when the file cannot be written.
bool write_printer_config(const std::string& path, const printer_config& config);

// Captions of the combo boxes.
const char* port_name(int port);          // "LPT1".."LPT4"
const char* paper_length_name(int id);    // "A4", "11\"", "12\"" (UTF-8)
const char* density_name(int id);         // "8 lpi", "6 lpi", "4 lpi", "3 lpi"

int paper_length_mm(int paper_length);
// "8 lpi" and "4 lpi" print with 8 (9 on ink-jets) lines per inch, the others with 6.
bool eight_lpi_family(int density);
// At "4 lpi" and "3 lpi" every line feed is sent twice.
bool doubled_line_feeds(int density);

// Lines per page for the printer kind, paper length, bottom margin and density (at least 1).
int compute_lines_per_page(int kind, int paper_length, int bottom_margin, int density);
// The left margin in columns of 1/17 inch.
int left_margin_columns(const printer_config& config);
// Blank lines at the top of every page, from the top margin.
int top_blank_lines(const printer_config& config);

// Builds the left-margin code (slot 9) from its template (slot 10) and the line-spacing
// code (slot 14) from its template (slot 15). A template that cannot be used leaves its
// code empty.
void build_setting_codes(printer_config& config);

// Takes a model from the definitions: its name, options and codes; a model with fixed
// Polish letters fixes the code page, a cut-sheet model the paper length (A4); the lines
// per page are computed again.
void choose_printer_model(printer_config& config, const printer_model& model, const printer_codes& codes);

} // namespace kovra::report
