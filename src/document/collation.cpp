#include "document/collation.h"

#include "store/codepage.h"

#include <array>
#include <cstdlib>

namespace kovra::document {

namespace {
uint8_t mazovia(const char* utf8) { return uint8_t(store::utf8_to_mazovia(utf8)[0]); }

std::array<uint8_t, 256> build_table() {
  std::array<uint8_t, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = uint8_t(i);
  const char* latin = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  const uint8_t weight[26] = {0x41, 0x43, 0x44, 0x46, 0x47, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x51,
                              0x52, 0x54, 0x56, 0x57, 0x58, 0x59, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x60, 0x61};
  for (int i = 0; i < 26; ++i) {
    t[uint8_t(latin[i])] = weight[i];
    t[uint8_t(latin[i] + 32)] = weight[i];
  }
  struct polish {
    const char *upper, *lower;
    uint8_t w;
  };
  const polish letters[] = {{"Ą", "ą", 0x42}, {"Ć", "ć", 0x45}, {"Ę", "ę", 0x48},
                            {"Ł", "ł", 0x50}, {"Ń", "ń", 0x53}, {"Ó", "ó", 0x55},
                            {"Ś", "ś", 0x5A}, {"Ż", "ż", 0x62}, {"Ź", "ź", 0x63}};
  std::array<bool, 256> is_letter{};
  for (const auto& l : letters) {
    t[mazovia(l.upper)] = l.w;
    t[mazovia(l.lower)] = l.w;
    is_letter[mazovia(l.upper)] = is_letter[mazovia(l.lower)] = true;
  }
  // The six bytes after "Z" ("[", "\\", "]", "^", "_", "`") would weigh as T-Y: they go
  // right after "ź", to weights no letter uses.
  for (int c = 0x5B; c <= 0x60; ++c) t[c] = uint8_t(0x64 + (c - 0x5B));
  // The other bytes of 0x7B-0x9F keep their order above the letters.
  uint8_t next = 0x8D;
  for (int c = 0x7B; c <= 0x9F; ++c)
    if (!is_letter[c]) t[c] = next++;
  return t;
}

const std::array<uint8_t, 256>& table() {
  static const std::array<uint8_t, 256> t = build_table();
  return t;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Reads a run of digits with at most one "," or "." between digits; returns its value.
double read_number(std::string_view s, std::size_t& i) {
  std::string run;
  bool point = false;
  while (i < s.size()) {
    char c = s[i];
    if (is_digit(c)) {
      run += c;
    } else if ((c == ',' || c == '.') && !point && i + 1 < s.size() && is_digit(s[i + 1])) {
      run += '.';
      point = true;
    } else {
      break;
    }
    ++i;
  }
  return std::strtod(run.c_str(), nullptr);
}
} // namespace

uint8_t collation_weight(uint8_t c) { return table()[c]; }

std::string collate(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (char c : name)
    if (c != ' ') out += char(collation_weight(uint8_t(c)));
  return out;
}

key1_t make_key1(uint8_t kind, std::string_view name) {
  key1_t k{};
  k[0] = kind;
  std::size_t n = 1;
  for (char c : name) {
    if (c == '\0' || n == KEY1_LENGTH) break;
    if (c != ' ') k[n++] = collation_weight(uint8_t(c));
  }
  return k;
}

int compare_names(std::string_view a_name, std::string_view b_name) {
  std::string a = collate(a_name), b = collate(b_name);
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (is_digit(a[i]) && is_digit(b[j])) {
      double x = read_number(a, i), y = read_number(b, j);
      if (x != y) return x < y ? -1 : 1;
      continue;
    }
    if (a[i] != b[j]) return uint8_t(a[i]) < uint8_t(b[j]) ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

} // namespace kovra::document
