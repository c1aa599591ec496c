#include "report/printer_code_page.h"

#include "store/codepage.h"

namespace kovra::report {
namespace {

struct polish_letter {
  uint8_t mazovia;
  char plain;       // the letter without its diacritic
  uint8_t latin2;   // code page 852
  uint8_t font;     // place in the downloaded Polish fonts
};

// The 18 Polish letters of Mazovia, in Mazovia order.
constexpr polish_letter letters[] = {
    {0x86, 'a', 0xA5, 204}, {0x8D, 'c', 0x86, 181}, {0x8F, 'A', 0xA4, 216}, {0x90, 'E', 0xA8, 210},
    {0x91, 'e', 0xA9, 193}, {0x92, 'l', 0x88, 217}, {0x95, 'C', 0x8F, 180}, {0x98, 'S', 0x97, 215},
    {0x9C, 'L', 0x9D, 211}, {0x9E, 's', 0x98, 196}, {0xA0, 'Z', 0x8D, 214}, {0xA1, 'Z', 0xBD, 220},
    {0xA2, 'o', 0xA2, 206}, {0xA3, 'O', 0xE0, 218}, {0xA4, 'n', 0xE4, 183}, {0xA5, 'N', 0xE3, 182},
    {0xA6, 'z', 0xAB, 205}, {0xA7, 'z', 0xBE, 197},
};

code_page_table identity() {
  code_page_table t{};
  for (int i = 0; i < code_page_span; ++i) t[i] = uint8_t(code_page_first + i);
  return t;
}

template <class F>
code_page_table with_letters(code_page_table t, F value) {
  for (const auto& l : letters) t[l.mazovia - code_page_first] = value(l);
  return t;
}

const std::array<code_page_table, code_page_count>& tables() {
  static const std::array<code_page_table, code_page_count> t = {
      with_letters(identity(), [](const polish_letter& l) { return uint8_t(l.plain); }),
      identity(),
      with_letters(identity(), [](const polish_letter& l) { return l.latin2; }),
      with_letters(identity(), [](const polish_letter& l) { return store::mazovia_to_1250(l.mazovia); }),
  };
  return t;
}

} // namespace

std::string_view code_page_name(int id) {
  static constexpr std::string_view names[] = {"ASCII", "Mazovia", "Latin 2", "Win ANSI"};
  return id >= 0 && id < code_page_count ? names[id] : std::string_view();
}

const code_page_table& code_page(int id) {
  return tables()[id >= 0 && id < code_page_count ? id : CODE_PAGE_MAZOVIA];
}

const code_page_table& font_download_code_page() {
  static const code_page_table t = [] {
    code_page_table f{};
    f.fill('~');
    return with_letters(f, [](const polish_letter& l) { return l.font; });
  }();
  return t;
}

} // namespace kovra::report
