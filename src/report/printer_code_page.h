#pragma once
// Code pages of character printers.
//
// Spool files hold Mazovia text. On the way to a printer only the bytes 0x86..0xA7 (the
// range of Mazovia's Polish letters) are translated through one of these 34-byte tables;
// every other byte passes unchanged.
#include <array>
#include <cstdint>
#include <string_view>

namespace kovra::report {

inline constexpr uint8_t code_page_first = 0x86;
inline constexpr uint8_t code_page_last = 0xA7;
inline constexpr int code_page_span = code_page_last - code_page_first + 1;  // 34

using code_page_table = std::array<uint8_t, code_page_span>;

// The code pages the user can choose, in the order the printer dialog offers them.
enum code_page_id : int {
  CODE_PAGE_ASCII = 0,    // Polish letters without their diacritics
  CODE_PAGE_MAZOVIA = 1,  // unchanged
  CODE_PAGE_LATIN2 = 2,   // code page 852
  CODE_PAGE_WIN_ANSI = 3, // Windows-1250
};
inline constexpr int code_page_count = 4;

// Names shown for code pages 0..3 ("ASCII", "Mazovia", "Latin 2", "Win ANSI"); "" otherwise.
std::string_view code_page_name(int id);

// The table of code page 0..3; an id outside that range gives the Mazovia (identity) table.
const code_page_table& code_page(int id);

// Printers that print Polish letters from downloaded fonts when Mazovia is chosen: each
// Polish letter goes to its place in the downloaded font, every other byte of the range
// to '~'.
const code_page_table& font_download_code_page();

// One byte through a table.
inline uint8_t translate_byte(const code_page_table& table, uint8_t c) {
  return c >= code_page_first && c <= code_page_last ? table[c - code_page_first] : c;
}

} // namespace kovra::report
