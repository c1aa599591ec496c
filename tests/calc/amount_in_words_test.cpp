#include "calc/amount_in_words.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "store/codepage.h"

namespace kovra::calc {
namespace {

const char* const zl = "z\x92"; // "zł" in the internal code page

std::string words(double value, std::size_t width = 0, std::size_t limit = std::string::npos) {
  return store::mazovia_to_utf8(amount_in_words(value, width, zl, limit));
}

TEST(AmountInWords, UnitsTeensAndTens) {
  EXPECT_EQ(words(1), "jeden  0/100 zł");
  EXPECT_EQ(words(2), "dwa  0/100 zł");
  EXPECT_EQ(words(5), "pięć  0/100 zł");
  EXPECT_EQ(words(10), "dziesięć  0/100 zł");
  const char* teens[] = {"jedenaście", "dwanaście", "trzynaście", "czternaście", "piętnaście",
                         "szesnaście", "siedemnaście", "osiemnaście", "dziewiętnaście"};
  for (int n = 11; n <= 19; ++n) EXPECT_EQ(words(n), std::string(teens[n - 11]) + "  0/100 zł") << n;
  EXPECT_EQ(words(21), "dwadzieścia jeden  0/100 zł");
  EXPECT_EQ(words(22), "dwadzieścia dwa  0/100 zł");
  EXPECT_EQ(words(25), "dwadzieścia pięć  0/100 zł");
  EXPECT_EQ(words(100), "sto  0/100 zł");
  EXPECT_EQ(words(999), "dziewięćset dziewięćdziesiąt dziewięć  0/100 zł");
  EXPECT_EQ(words(214), "dwieście czternaście  0/100 zł");
}

TEST(AmountInWords, GroupNounsTakeTheFormOfTheirNumber) {
  EXPECT_EQ(words(1000), "jeden tysiąc  0/100 zł");
  EXPECT_EQ(words(2000), "dwa tysiące  0/100 zł");
  EXPECT_EQ(words(5000), "pięć tysięcy  0/100 zł");
  EXPECT_EQ(words(12000), "dwanaście tysięcy  0/100 zł");
  EXPECT_EQ(words(14000), "czternaście tysięcy  0/100 zł");
  EXPECT_EQ(words(22000), "dwadzieścia dwa tysiące  0/100 zł");
  EXPECT_EQ(words(25000), "dwadzieścia pięć tysięcy  0/100 zł");
  EXPECT_EQ(words(101000), "sto jeden tysięcy  0/100 zł");
  EXPECT_EQ(words(1000000), "jeden milion  0/100 zł");
  EXPECT_EQ(words(2000000), "dwa miliony  0/100 zł");
  EXPECT_EQ(words(22000000), "dwadzieścia dwa miliony  0/100 zł");
  EXPECT_EQ(words(13000000), "trzynaście milionów  0/100 zł");
  EXPECT_EQ(words(1000000000), "jeden miliard  0/100 zł");
  EXPECT_EQ(words(3000000000.0), "trzy miliardy  0/100 zł");
  EXPECT_EQ(words(2001002003), "dwa miliardy jeden milion dwa tysiące trzy  0/100 zł");
}

TEST(AmountInWords, GroszeSignAndLimits) {
  EXPECT_EQ(words(1234.05), "jeden tysiąc dwieście trzydzieści cztery  5/100 zł");
  EXPECT_EQ(words(-1234.05), "minus jeden tysiąc dwieście trzydzieści cztery  5/100 zł");
  EXPECT_EQ(words(0.29), "29/100 zł");
  EXPECT_EQ(words(17.5), "siedemnaście 50/100 zł");
  // Rounded to the grosz before splitting: no "one złoty and zero grosze" for 1.999.
  EXPECT_EQ(words(1.999), "dwa  0/100 zł");
  EXPECT_EQ(words(0), "");
  EXPECT_EQ(words(0.004), "");
  EXPECT_EQ(words(999999999999.0),
            "dziewięćset dziewięćdziesiąt dziewięć miliardów dziewięćset dziewięćdziesiąt dziewięć milionów "
            "dziewięćset dziewięćdziesiąt dziewięć tysięcy dziewięćset dziewięćdziesiąt dziewięć  0/100 zł");
  EXPECT_EQ(words(999999999999.5), "");
  EXPECT_EQ(words(1e13), "");
  EXPECT_EQ(words(-1e13), ""); // a large negative amount is beyond the limit too
  EXPECT_EQ(words(NAN), "");
  EXPECT_EQ(store::mazovia_to_utf8(amount_in_words(3)), "trzy  0/100");
}

TEST(AmountInWords, WrapsAtTheLineWidthAndStopsAtTheLimit) {
  EXPECT_EQ(words(1234.05, 20), "jeden tysiąc\ndwieście trzydzieści\ncztery  5/100 zł");
  EXPECT_EQ(words(1234.05, 0, 25), "jeden tysiąc dwieście");
  EXPECT_EQ(words(1234.05, 0, 3), "");
}

} // namespace
} // namespace kovra::calc
