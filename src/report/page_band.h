#pragma once
// Page header and footer bands: the 251-byte definitions kept in a document's print
// settings, the texts of their items and the recording of the bands into a report.
#include <array>
#include <cstdint>
#include <string>

namespace kovra::report {

class VL_raport;

inline constexpr int BAND_DEFINITION_SIZE = 251;
inline constexpr int BAND_ITEM_SLOTS = 20;
inline constexpr int BAND_FREE_TEXT_MAX = 100;

inline constexpr uint8_t BAND_FLAG_LINE = 1;        // separating line
inline constexpr uint8_t BAND_FLAG_TITLE_PAGE = 2;  // also on the title page

enum band_position : uint8_t { BAND_LEFT = 0, BAND_CENTRE = 1, BAND_RIGHT = 2 };

// Item kinds 1 to 7; 0 is an empty slot.
enum band_item_kind : uint8_t {
  BI_LOGO = 1,
  BI_FILE_NAME = 2,
  BI_TREE_NAME = 3,
  BI_GENERAL_NAME = 4,
  BI_PAGE_NUMBER = 5,
  BI_DATE = 6,
  BI_FREE_TEXT = 7,
};

struct band_item {
  uint8_t kind = 0;
  bool selected = false;
  bool hidden = false;
  bool new_line = false;
  uint8_t position = BAND_LEFT;
};

struct band_definition {
  uint8_t created = 1;
  bool print = true;
  uint8_t flags = 0;
  std::string free_text;  // Mazovia, at most 100 characters
  std::array<band_item, BAND_ITEM_SLOTS> items{};
};

// The list caption of an item kind ("Logo Kovra", ..., "Dowolny tekst"); "???" for others.
const char* band_item_caption(int kind);

band_definition default_header_definition();
band_definition default_footer_definition();
// Reads a stored definition; the free text stops at its zero or after 100 characters.
band_definition parse_band_definition(const uint8_t* bytes);
void write_band_definition(const band_definition& def, uint8_t* out);

// What the items show for one document (Mazovia texts).
struct band_context {
  std::string program_label = "Kovra";
  std::string file_path;     // the document's file; only the name without extension is shown
  std::string tree_name;     // the estimate's name as its tree shows it
  std::string general_name;  // the estimate's name from its general data
  std::string date;          // "yymmdd"
};

// The token replaced by the page number in a band.
inline constexpr const char* PAGE_NO_TOKEN = "<page_no>";

// "yymmdd" as day.month.year (day without a leading zero; years from "80" are 19xx); an
// unreadable date gives "".
std::string format_band_date(const std::string& yymmdd);
std::string band_item_text(int kind, const band_definition& def, const band_context& ctx);
// The texts of the three positions; items that start a new line are separated by '\n'.
std::array<std::string, 3> band_position_texts(const band_definition& def, const band_context& ctx);

// Records the bands into page header and footer variant 0 (font 6). A band that is not to be
// printed is stored empty with height 0. Return the stored height.
int32_t record_page_header(VL_raport& r, const band_definition& def, const band_context& ctx);
int32_t record_page_footer(VL_raport& r, const band_definition& def, const band_context& ctx);

} // namespace kovra::report
