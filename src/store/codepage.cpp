#include "store/codepage.h"

#include <array>

namespace kovra::store {
namespace {

// Unicode characters of the bytes 0x80-0xFF. Mazovia is code page 437 with the Polish
// letters at 86 8D 8F 90 91 92 95 98 9C 9E A0-A7.
constexpr std::array<char16_t, 128> mazovia_high = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x0105, 0x00E7,  // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x0107, 0x00C4, 0x0104,  // 88
    0x0118, 0x0119, 0x0142, 0x00F4, 0x00F6, 0x0106, 0x00FB, 0x00F9,  // 90
    0x015A, 0x00D6, 0x00DC, 0x00A2, 0x0141, 0x00A5, 0x015B, 0x0192,  // 98
    0x0179, 0x017B, 0x00F3, 0x00D3, 0x0144, 0x0143, 0x017A, 0x017C,  // A0
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // B0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // C8
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // D0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // D8
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,  // E0
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,  // E8
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,  // F0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,  // F8
};

// Windows-1250; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char16_t, 128> cp1250_high = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

// The byte-for-byte tables follow from the two character tables: each byte goes to the byte
// of the other code page that holds the same character.
constexpr std::array<uint8_t, 128> cross_table(const std::array<char16_t, 128>& from,
                                               const std::array<char16_t, 128>& to) {
  std::array<uint8_t, 128> t{};
  for (int i = 0; i < 128; ++i) {
    t[i] = '?';
    for (int j = 0; j < 128; ++j)
      if (from[i] != 0 && to[j] == from[i]) t[i] = uint8_t(0x80 + j);
  }
  return t;
}

constexpr auto mazovia_to_1250_table = cross_table(mazovia_high, cp1250_high);
constexpr auto cp1250_to_mazovia_table = cross_table(cp1250_high, mazovia_high);

static_assert(mazovia_to_1250_table[0x86 - 0x80] == 0xB9, "ą");
static_assert(cp1250_to_mazovia_table[0xAF - 0x80] == 0xA1, "Ż");

void translate(char* text, std::size_t length, const std::array<uint8_t, 128>& table) {
  for (std::size_t i = 0; i < length; ++i) {
    auto c = uint8_t(text[i]);
    if (c >= 0x80) text[i] = char(table[c - 0x80]);
  }
}

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 character at text[i]; returns its length, or 0 when the bytes are not
// a valid, shortest-form sequence.
std::size_t decode_utf8(std::string_view text, std::size_t i, char32_t& cp) {
  auto b0 = uint8_t(text[i]);
  std::size_t n;
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    n = 2;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    n = 3;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    n = 4;
    cp = b0 & 0x07;
  } else {
    return 0;
  }
  if (text.size() - i < n) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    auto b = uint8_t(text[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  static constexpr char32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < shortest[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

} // namespace

uint8_t mazovia_to_1250(uint8_t c) { return c < 0x80 ? c : mazovia_to_1250_table[c - 0x80]; }
uint8_t cp1250_to_mazovia(uint8_t c) { return c < 0x80 ? c : cp1250_to_mazovia_table[c - 0x80]; }

void mazovia_to_1250(char* text, std::size_t length) { translate(text, length, mazovia_to_1250_table); }
void cp1250_to_mazovia(char* text, std::size_t length) { translate(text, length, cp1250_to_mazovia_table); }
void mazovia_to_1250(std::string& text) { mazovia_to_1250(text.data(), text.size()); }
void cp1250_to_mazovia(std::string& text) { cp1250_to_mazovia(text.data(), text.size()); }

void latin2_to_mazovia(char* text, std::size_t length) {
  // Code page 852 byte -> Mazovia byte for the Polish letters (ó is 0xA2 in both; Ó is not
  // the same: 0xE0 in 852, 0xA3 in Mazovia).
  static constexpr uint8_t pairs[][2] = {
      {0xA5, 0x86}, {0x86, 0x8D}, {0xA9, 0x91}, {0x88, 0x92}, {0xE4, 0xA4}, {0xA2, 0xA2},
      {0x98, 0x9E}, {0xAB, 0xA6}, {0xBE, 0xA7}, {0xA4, 0x8F}, {0x8F, 0x95}, {0xA8, 0x90},
      {0x9D, 0x9C}, {0xE3, 0xA5}, {0xE0, 0xA3}, {0x97, 0x98}, {0x8D, 0xA0}, {0xBD, 0xA1},
  };
  for (std::size_t i = 0; i < length; ++i) {
    for (const auto& p : pairs) {
      if (uint8_t(text[i]) == p[0]) {
        text[i] = char(p[1]);
        break;
      }
    }
  }
}

void latin2_to_mazovia(std::string& text) { latin2_to_mazovia(text.data(), text.size()); }

bool is_polish_letter(uint8_t c) {
  switch (c) {
  case 0xB9: case 0xBF: case 0x9C: case 0x9F: case 0xEA: case 0xE6: case 0xF1: case 0xF3: case 0xB3:
  case 0xA5: case 0xAF: case 0x8C: case 0x8F: case 0xCA: case 0xC6: case 0xD1: case 0xD3: case 0xA3:
    return true;
  default:
    return false;
  }
}

char32_t mazovia_code_point(uint8_t c) { return c < 0x80 ? char32_t(c) : char32_t(mazovia_high[c - 0x80]); }

std::string mazovia_to_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (char c : text) append_utf8(out, mazovia_code_point(uint8_t(c)));
  return out;
}

std::string utf8_to_mazovia(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    std::size_t n = decode_utf8(text, i, cp);
    if (n == 0) {  // not UTF-8: one '?' per stray byte
      out += '?';
      ++i;
      continue;
    }
    i += n;
    char m = '?';
    if (cp < 0x80) {
      m = char(cp);
    } else {
      for (int j = 0; j < 128; ++j)
        if (mazovia_high[j] == cp) m = char(0x80 + j);
    }
    out += m;
  }
  return out;
}

} // namespace kovra::store
