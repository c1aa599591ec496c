#include "calc/amount_in_words.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "store/codepage.h"

namespace kovra::calc {
namespace {

// The number words, written here in UTF-8 and kept in the internal code page.
struct number_words {
  std::array<std::string, 10> units, teens, tens, hundreds;
  std::array<std::array<std::string, 3>, 3> nouns; // billions, millions, thousands: 1, 2-4, 5+
};

const number_words& words() {
  static const number_words w = [] {
    auto m = [](const char* utf8) { return store::utf8_to_mazovia(utf8); };
    number_words n;
    const char* units[] = {"", "jeden", "dwa", "trzy", "cztery", "pięć", "sześć", "siedem", "osiem", "dziewięć"};
    const char* teens[] = {"dziesięć", "jedenaście", "dwanaście", "trzynaście", "czternaście",
                           "piętnaście", "szesnaście", "siedemnaście", "osiemnaście", "dziewiętnaście"};
    const char* tens[] = {"", "dziesięć", "dwadzieścia", "trzydzieści", "czterdzieści",
                          "pięćdziesiąt", "sześćdziesiąt", "siedemdziesiąt", "osiemdziesiąt", "dziewięćdziesiąt"};
    const char* hundreds[] = {"", "sto", "dwieście", "trzysta", "czterysta",
                              "pięćset", "sześćset", "siedemset", "osiemset", "dziewięćset"};
    for (int i = 0; i < 10; ++i) {
      n.units[i] = m(units[i]);
      n.teens[i] = m(teens[i]);
      n.tens[i] = m(tens[i]);
      n.hundreds[i] = m(hundreds[i]);
    }
    const char* nouns[3][3] = {{"miliard", "miliardy", "miliardów"},
                               {"milion", "miliony", "milionów"},
                               {"tysiąc", "tysiące", "tysięcy"}};
    for (int g = 0; g < 3; ++g)
      for (int f = 0; f < 3; ++f) n.nouns[g][f] = m(nouns[g][f]);
    return n;
  }();
  return w;
}

// Words of one group of three digits (1 to 999), then its noun (group 0 billions, 1 millions,
// 2 thousands, 3 units without a noun).
void group_words(int n, int group, std::vector<std::string>& out) {
  const number_words& w = words();
  const int h = n / 100, t = n / 10 % 10, u = n % 10;
  if (h) out.push_back(w.hundreds[h]);
  if (t == 1) {
    out.push_back(w.teens[u]);
  } else {
    if (t) out.push_back(w.tens[t]);
    if (u) out.push_back(w.units[u]);
  }
  if (group == 3) return;
  const int form = n == 1 ? 0 : (u >= 2 && u <= 4 && t != 1) ? 1 : 2;
  out.push_back(w.nouns[group][form]);
}

} // namespace

std::string amount_in_words(double value, std::size_t line_width, std::string_view currency,
                            std::size_t output_limit) {
  const double magnitude = std::fabs(value);
  if (!(magnitude <= amount_in_words_limit)) return {}; // also NaN
  // Whole złote and grosze from one rounding, so that 1.999 reads as two złote, not one.
  const auto cents = static_cast<int64_t>(std::floor(magnitude * 100.0 + 0.5));
  if (cents == 0) return {};

  std::vector<std::string> list;
  if (value < 0) list.emplace_back("minus");
  int64_t whole = cents / 100;
  const int64_t scale[] = {1'000'000'000, 1'000'000, 1'000, 1};
  for (int g = 0; g < 4; ++g) {
    const int n = static_cast<int>(whole / scale[g]);
    whole %= scale[g];
    if (n) group_words(n, g, list);
  }
  char hundredths[16];
  std::snprintf(hundredths, sizeof hundredths, "%2d/100", static_cast<int>(cents % 100));
  list.emplace_back(hundredths);
  if (!currency.empty()) list.emplace_back(currency);

  std::string text;
  std::size_t line = 0; // length of the current line
  for (const std::string& word : list) {
    const bool wrap = line_width && line && line + 1 + word.size() > line_width;
    const std::size_t grown = text.size() + (text.empty() ? 0 : 1) + word.size();
    if (grown > output_limit) break;
    if (!text.empty()) {
      text += wrap ? '\n' : ' ';
      line = wrap ? 0 : line + 1;
    }
    text += word;
    line += word.size();
  }
  return text;
}

} // namespace kovra::calc
