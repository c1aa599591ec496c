// The code-page tables are checked against the system's iconv (Windows-1250, code page 852
// and code page 437, which Mazovia follows outside the Polish letters).
#include "store/codepage.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <set>
#include <string>

using namespace kovra::store;

namespace {

std::optional<std::string> iconv_convert(const char* from, const char* to, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == iconv_t(-1)) return std::nullopt;
  std::string src = in;
  std::string out(in.size() * 4 + 8, '\0');
  char* ip = src.data();
  size_t il = src.size();
  char* op = out.data();
  size_t ol = out.size();
  size_t r = iconv(cd, &ip, &il, &op, &ol);
  iconv_close(cd);
  if (r == size_t(-1)) return std::nullopt;
  out.resize(out.size() - ol);
  return out;
}

std::string byte(int b) { return std::string(1, char(b)); }

// The Polish letters, as UTF-8.
const char* const polish[] = {"ą", "ć", "ę", "ł", "ń", "ó", "ś", "ź", "ż",
                              "Ą", "Ć", "Ę", "Ł", "Ń", "Ó", "Ś", "Ź", "Ż"};

// Mazovia codes of the Polish letters, in the order above.
const int mazovia_codes[] = {0x86, 0x8D, 0x91, 0x92, 0xA4, 0xA2, 0x9E, 0xA6, 0xA7,
                             0x8F, 0x95, 0x90, 0x9C, 0xA5, 0xA3, 0x98, 0xA0, 0xA1};

} // namespace

TEST(Codepage, SystemHasTheCodePagesWeCompareWith) {
  ASSERT_TRUE(iconv_convert("CP1250", "UTF-8", "a"));
  ASSERT_TRUE(iconv_convert("CP852", "UTF-8", "a"));
  ASSERT_TRUE(iconv_convert("CP437", "UTF-8", "a"));
}

TEST(Codepage, MazoviaHoldsThePolishLettersAndCodePage437Elsewhere) {
  std::set<int> polish_bytes(std::begin(mazovia_codes), std::end(mazovia_codes));
  for (int i = 0; i < 18; ++i)
    EXPECT_EQ(mazovia_to_utf8(byte(mazovia_codes[i])), polish[i]) << std::hex << mazovia_codes[i];
  for (int b = 0x80; b < 0x100; ++b) {
    if (polish_bytes.count(b)) continue;
    auto expected = iconv_convert("CP437", "UTF-8", byte(b));
    ASSERT_TRUE(expected);
    EXPECT_EQ(mazovia_to_utf8(byte(b)), *expected) << std::hex << b;
  }
}

TEST(Codepage, PolishLettersRoundTripThroughWindows1250AndUtf8) {
  for (int i = 0; i < 18; ++i) {
    auto w = iconv_convert("UTF-8", "CP1250", polish[i]);
    ASSERT_TRUE(w);
    std::string text = *w;
    cp1250_to_mazovia(text);
    EXPECT_EQ(uint8_t(text[0]), mazovia_codes[i]) << polish[i];
    mazovia_to_1250(text);
    EXPECT_EQ(text, *w) << polish[i];
    EXPECT_TRUE(is_polish_letter(uint8_t((*w)[0]))) << polish[i];
    EXPECT_EQ(utf8_to_mazovia(polish[i]), byte(mazovia_codes[i])) << polish[i];
  }
}

TEST(Codepage, EveryByteOfWindows1250TableMatchesIconv) {
  for (int b = 0x80; b < 0x100; ++b) {
    uint8_t m = cp1250_to_mazovia(uint8_t(b));
    auto unicode = iconv_convert("CP1250", "UTF-8", byte(b));
    if (m != '?') {
      ASSERT_TRUE(unicode) << std::hex << b << " is undefined in 1250 but mapped";
      EXPECT_EQ(mazovia_to_utf8(byte(m)), *unicode) << std::hex << b;
      EXPECT_EQ(mazovia_to_1250(m), b) << "no round trip for " << std::hex << b;
    } else if (unicode) {
      // Only characters Mazovia cannot hold become '?'.
      EXPECT_EQ(utf8_to_mazovia(*unicode), "?") << std::hex << b;
    }
  }
}

TEST(Codepage, EveryByteOfMazoviaTableMatchesIconv) {
  for (int m = 0x80; m < 0x100; ++m) {
    uint8_t w = mazovia_to_1250(uint8_t(m));
    std::string unicode = mazovia_to_utf8(byte(m));
    if (w != '?') {
      auto back = iconv_convert("CP1250", "UTF-8", byte(w));
      ASSERT_TRUE(back);
      EXPECT_EQ(*back, unicode) << std::hex << m;
      EXPECT_EQ(cp1250_to_mazovia(w), m);
    } else {
      EXPECT_FALSE(iconv_convert("UTF-8", "CP1250", unicode)) << std::hex << m << " has a 1250 form";
    }
  }
}

TEST(Codepage, BytesBelow128AreLeftAlone) {
  std::string all;
  for (int b = 1; b < 0x80; ++b) all += char(b);
  std::string t = all;
  mazovia_to_1250(t);
  EXPECT_EQ(t, all);
  cp1250_to_mazovia(t);
  EXPECT_EQ(t, all);
  latin2_to_mazovia(t);
  EXPECT_EQ(t, all);
  EXPECT_EQ(mazovia_to_utf8(all), all);
  EXPECT_EQ(utf8_to_mazovia(all), all);
}

TEST(Codepage, InPlaceConversionStopsAtTheGivenLength) {
  char buf[] = {char(0xB9), char(0xB9), 0};
  cp1250_to_mazovia(buf, 1);
  EXPECT_EQ(uint8_t(buf[0]), 0x86);
  EXPECT_EQ(uint8_t(buf[1]), 0xB9);
}

TEST(Codepage, IsPolishLetterCountsExactlyEighteenBytes) {
  int n = 0;
  for (int b = 0; b < 0x100; ++b) n += is_polish_letter(uint8_t(b));
  EXPECT_EQ(n, 18);
  EXPECT_FALSE(is_polish_letter('a'));
  EXPECT_FALSE(is_polish_letter(0xE9));  // é
}

TEST(Codepage, Latin2PolishLettersBecomeMazovia) {
  for (int i = 0; i < 18; ++i) {
    auto l2 = iconv_convert("UTF-8", "CP852", polish[i]);
    ASSERT_TRUE(l2);
    std::string t = *l2;
    latin2_to_mazovia(t);
    EXPECT_EQ(uint8_t(t[0]), mazovia_codes[i]) << polish[i];
  }
  // Other code-page-852 bytes stay as they are.
  std::string other = "\xE9\x82x";  // Ú, é
  latin2_to_mazovia(other);
  EXPECT_EQ(other, "\xE9\x82x");
}

TEST(Codepage, Utf8ThatMazoviaCannotHoldBecomesQuestionMark) {
  EXPECT_EQ(utf8_to_mazovia("Zażółć €"), "Za\xA7\xA2\x92\x8D ?");
  EXPECT_EQ(utf8_to_mazovia("x\xC3"), "x?");          // cut sequence
  EXPECT_EQ(utf8_to_mazovia("\xC0\xAF"), "??");        // overlong form
  EXPECT_EQ(utf8_to_mazovia("\xED\xA0\x80"), "???");   // surrogate
  EXPECT_EQ(utf8_to_mazovia("\xF0\x9F\x98\x80"), "?"); // outside the code page
  EXPECT_EQ(mazovia_to_utf8(utf8_to_mazovia("Zażółć gęślą jaźń")), "Zażółć gęślą jaźń");
}
