#include "calc/decimal_separator.h"
#include "calc/display_ring.h"
#include "calc/number_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

using namespace kovra::calc;

namespace {

class NumberText : public ::testing::Test {
protected:
  void SetUp() override { set_system_decimal_separator('.'); }
  void TearDown() override { reset_system_decimal_separator(); }
};

std::string s(const char* t) { return t; }
std::string spaces(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
std::string stars(int n) { return std::string(static_cast<std::size_t>(n), '*'); }
constexpr double nan_value = std::numeric_limits<double>::quiet_NaN();

} // namespace

TEST_F(NumberText, QuantityByCodePaddedTo14) {
  EXPECT_EQ(s(text_quantity(1.23456, 1)), "          1.23");
  EXPECT_EQ(s(text_quantity(1.23456, 1, false)), "      1.23    ");
  EXPECT_EQ(s(text_quantity(1.23456, 2)), "           1.2");
  EXPECT_EQ(s(text_quantity(1.23456, 0)), "         1.235");
  EXPECT_EQ(s(text_quantity(1.23456, 7)), "         1.235");
  EXPECT_EQ(s(text_quantity(1.23456, -1)), "        1.2346");
  EXPECT_EQ(s(text_quantity(1.23456, -3)), "      1.234560");
  EXPECT_EQ(s(text_quantity(123456.7, 3)), "       123 457");
  EXPECT_EQ(s(text_quantity(999999.999999, -3)), "999 999.999999");
  EXPECT_EQ(s(text_quantity(-12345.5, 1)), "    -12 345.50");
}

TEST_F(NumberText, QuantityZeroBlankAndRangeStars) {
  EXPECT_EQ(s(text_quantity(0.0, 1)), spaces(14));
  EXPECT_EQ(s(text_quantity(0.0004, 0)), spaces(14));  // rounds to zero
  EXPECT_EQ(s(text_quantity(1000000.0, 1)), stars(14));
  EXPECT_EQ(s(text_quantity(-100000.0, 1)), stars(14));
  EXPECT_EQ(s(text_quantity(nan_value, 1)), stars(14));
}

TEST_F(NumberText, QuantityShortTrimsTheFraction) {
  EXPECT_EQ(s(text_quantity_short(1.5, -3)), "           1.5");
  EXPECT_EQ(s(text_quantity_short(2.0, -3)), "           2.0");
  EXPECT_EQ(s(text_quantity_short(10.125, -3)), "        10.125");
  EXPECT_EQ(s(text_quantity_short(1234.5, -3)), "       1 234.5");
  // A whole number moves one place left.
  EXPECT_EQ(s(text_quantity_short(5.0, 3)), "            5 ");
  EXPECT_EQ(s(text_quantity_short(0.0, -3)), spaces(14));
  EXPECT_EQ(s(text_quantity_short(0.0, 3)), spaces(14));
  EXPECT_EQ(s(text_quantity_short(2000000.0, 3)), stars(14));
}

TEST_F(NumberText, MoneyGroupsWhenItFits) {
  EXPECT_EQ(s(text_money(0.0)), spaces(11));
  EXPECT_EQ(s(text_money(123456.784)), " 123 456.78");
  EXPECT_EQ(s(text_money(1234567.891)), " 1234567.89");
  EXPECT_EQ(s(text_money(12345678.9)), "12345678.90");
  EXPECT_EQ(s(text_money(-999999.99)), "-999 999.99");
  EXPECT_EQ(s(text_money(-9999999.99)), "-9999999.99");
  EXPECT_EQ(s(text_money(1.005)), "       1.01");
  EXPECT_EQ(s(text_money(-0.004)), spaces(11));  // rounds to zero: no "-0.00"
}

TEST_F(NumberText, MoneyBeyondTheNormalRange) {
  EXPECT_EQ(s(text_money(123456789.0)), "  123456789");
  EXPECT_EQ(s(text_money(-12345678.0)), "  -12345678");
  EXPECT_EQ(s(text_money(9999999999.0)), " 9999999999");
  EXPECT_EQ(s(text_money(1e11)), "      1e+11");
  EXPECT_EQ(s(text_money(-1e12)), "     -1e+12");
  EXPECT_EQ(s(text_money_e(123456789.0)), "  123456789");
  EXPECT_EQ(s(text_money_e(1e11)), " 1.0000E+11");
  EXPECT_EQ(s(text_money_e(12345.6)), "  12 345.60");
}

TEST_F(NumberText, Prices) {
  EXPECT_EQ(s(text_price(-1.0)), stars(9));
  EXPECT_EQ(s(text_price(1500000.0)), "1 500 000");
  EXPECT_EQ(s(text_price(12.5)), "    12.50");
  EXPECT_EQ(s(text_price(999999.99)), "999999.99");
  EXPECT_EQ(s(text_price(0.0)), spaces(9));
  EXPECT_EQ(s(text_price(10000000.0)), stars(9));
  EXPECT_EQ(s(text_price_signed(-5.0)), "    -5.00");
  // Grouped it would not fit with its sign: shown ungrouped.
  EXPECT_EQ(s(text_price_signed(-12345.678)), "-12345.68");
  EXPECT_EQ(s(text_price_signed(-1234.5)), "-1 234.50");
  EXPECT_EQ(s(text_price_signed(1500000.0)), "1 500 000");
  // Too wide for nine characters: stars, not a price that lost its sign.
  EXPECT_EQ(s(text_price_signed(-999999.0)), stars(9));
  EXPECT_EQ(s(text_price_signed(-1000000.0)), stars(9));
}

TEST_F(NumberText, CoefficientAndTenths) {
  EXPECT_EQ(s(text_coefficient(1.5f, false)), " 1.500");
  EXPECT_EQ(s(text_coefficient(0.0f, false)), spaces(6));
  EXPECT_EQ(s(text_coefficient(0.0f, true)), " 0.000");
  EXPECT_EQ(s(text_coefficient(-9.0f, false)), "-9.000");
  EXPECT_EQ(s(text_coefficient(-9.5f, false)), stars(6));
  EXPECT_EQ(s(text_coefficient(100.0f, false)), stars(6));
  EXPECT_EQ(s(text_tenths(0.0)), stars(9));
  EXPECT_EQ(s(text_tenths(12.34)), "     12.3");
  EXPECT_EQ(s(text_tenths(999999.1)), "999 999.1");
  EXPECT_EQ(s(text_tenths(1000000.0)), stars(9));
}

TEST_F(NumberText, Norms) {
  EXPECT_EQ(s(text_norm(12345.67)), "12345.67");
  EXPECT_EQ(s(text_norm(1234.56)), "1 234.56");
  EXPECT_EQ(s(text_norm(0.5)), "     0.5");
  EXPECT_EQ(s(text_norm(10000000.0)), stars(8));
  EXPECT_EQ(s(text_norm(2.0)), "       2");
  EXPECT_EQ(s(text_norm(0.0)), spaces(8));
  EXPECT_EQ(s(text_norm(123.45678)), "123.4568");
  EXPECT_EQ(s(text_norm(-1.5)), "    -1.5");
  EXPECT_EQ(s(text_norm(-5000.06)), "-5 000.1");
  EXPECT_EQ(s(text_norm(-123456.0)), "-123 456");
  // Too wide for eight characters: stars, not a norm without its sign.
  EXPECT_EQ(s(text_norm(-10000000.0)), stars(8));
}

TEST_F(NumberText, Amounts) {
  EXPECT_EQ(s(text_amount(1.5)), "        1.5");
  EXPECT_EQ(s(text_amount(100.0)), "        100");
  EXPECT_EQ(s(text_amount(12345.678)), " 12 345.678");
  EXPECT_EQ(s(text_amount(-999999.99)), "-999 999.99");
  EXPECT_EQ(s(text_amount(1234567.0)), "    1.2E+06");
  EXPECT_EQ(s(text_amount(-1e10)), "   -1.0E+10");
  EXPECT_EQ(s(text_amount(0.0)), spaces(11));
  EXPECT_EQ(s(text_amount(0.000004)), spaces(11));
}

TEST_F(NumberText, Percents) {
  EXPECT_EQ(s(text_percent(-5.0, 7)), spaces(7));
  EXPECT_EQ(s(text_percent(1000.0, 7)), stars(7));
  EXPECT_EQ(s(text_percent(23.0, 7)), "  23.00");
  EXPECT_EQ(s(text_percent(23.0, 3)), "  23.00");
  EXPECT_EQ(s(text_percent(23.0, 10)), "     23.00");
  EXPECT_EQ(s(text_percent(999.99, 7)), " 999.99");
  EXPECT_EQ(s(text_percent_signed(23.0, 10)), "%    23.00");
  EXPECT_EQ(s(text_percent_signed(23.0, 8)), "%  23.00");
  EXPECT_EQ(s(text_percent_signed(23.0, 7)), "  23.00");
  EXPECT_EQ(s(text_percent_signed(0.0, 9)), spaces(9));
  EXPECT_EQ(s(text_percent_signed(5000.0, 9)), stars(9));
}

TEST_F(NumberText, DistanceFactorInteger) {
  EXPECT_EQ(s(text_distance(12.34f)), " 12.3 km");
  EXPECT_EQ(s(text_distance(0.0f)), "  0.0 km");
  EXPECT_EQ(s(text_factor(1.5)), " 1.50");
  EXPECT_EQ(s(text_factor(25.26)), " 25.3");
  EXPECT_EQ(s(text_factor(150.0)), "  150");
  EXPECT_EQ(s(text_factor(-0.001)), " 0.00");
  EXPECT_EQ(s(text_factor(123456.0)), "*****");
  EXPECT_EQ(s(text_factor(1e300)), "*****");
  char buffer[8];
  EXPECT_EQ(s(text_factor_or_blank(1.0, buffer, sizeof buffer)), "     ");
  EXPECT_EQ(s(text_factor_or_blank(2.0, buffer, sizeof buffer)), " 2.00");
  char small[3];
  EXPECT_EQ(s(text_factor_or_blank(2.0, small, sizeof small)), " 2");
  EXPECT_EQ(s(text_integer(-3.7)), "-4");
  EXPECT_EQ(s(text_integer(123456789.0)), "1234568");
  EXPECT_EQ(s(text_integer(0.0)), "0");
  EXPECT_EQ(s(text_integer(-0.3)), "0");
  EXPECT_EQ(s(text_integer(-123456789.0)), "-1234568");
  EXPECT_EQ(s(text_integer(nan_value)), stars(7));
}

TEST_F(NumberText, TheRingKeepsNineResults) {
  reset_display_ring();
  const char* texts[10];
  for (int i = 0; i < 10; ++i) texts[i] = text_integer(i + 1);
  EXPECT_EQ(texts[9], texts[0]);
  for (int i = 1; i < 9; ++i) {
    EXPECT_EQ(s(texts[i]), std::to_string(i + 1));
    for (int j = i + 1; j < 10; ++j) EXPECT_NE(texts[i], texts[j]);
  }
  EXPECT_EQ(s(texts[9]), "10");
}

TEST_F(NumberText, SystemSeparatorInEveryText) {
  set_system_decimal_separator(',');
  EXPECT_EQ(s(text_money(1234.5)), "   1 234,50");
  EXPECT_EQ(s(text_norm(0.5)), "     0,5");
  EXPECT_EQ(s(text_quantity(1.5, 1)), "          1,50");
  EXPECT_EQ(s(text_quantity_short(1.5, -3)), "           1,5");
  EXPECT_EQ(s(text_amount(1.25)), "       1,25");
  EXPECT_EQ(s(text_price(2.5)), "     2,50");
  EXPECT_EQ(s(text_percent(7.5, 7)), "   7,50");
  EXPECT_EQ(s(text_distance(1.5f)), "  1,5 km");
  EXPECT_EQ(s(text_factor(1.5)), " 1,50");
  EXPECT_EQ(s(text_coefficient(1.5f, false)), " 1,500");
  EXPECT_EQ(s(text_tenths(1.5)), "      1,5");
  EXPECT_EQ(s(text_money_e(1e11)), " 1,0000E+11");
}

TEST(FormatChecked, CoreRules) {
  EXPECT_EQ(s(format_checked(5.0, 10.0, 0.0, 6, "%5.1lf", false)), "  5.0");
  EXPECT_EQ(s(format_checked(11.0, 10.0, 0.0, 6, "%5.1lf", false)), "*****");
  EXPECT_EQ(s(format_checked(0.0, 10.0, 0.0, 6, "%5.1lf", false)), "     ");
  EXPECT_EQ(s(format_checked(0.0, 10.0, 0.0, 6, "%5.1lf", true)), "  0.0");
  EXPECT_EQ(s(format_checked(5.0, 10.0, 0.0, 3, "%5.1lf", false)), "**");  // digits would be lost
  EXPECT_EQ(s(format_checked(1e300, 1e301, 0.0, 6, "%lf", false)), "*****");
}

TEST(GroupDigits, ThreesWithTheRoomRule) {
  char t[40];
  std::strcpy(t, "1234567.5");
  group_digits(t, sizeof t, 0);
  EXPECT_EQ(s(t), "1 234 567.5");
  std::strcpy(t, "-1234");
  group_digits(t, sizeof t, 0);
  EXPECT_EQ(s(t), "-1 234");
  std::strcpy(t, "  123,25");
  group_digits(t, sizeof t, 0);
  EXPECT_EQ(s(t), "  123.25");
  std::strcpy(t, "1234.56");  // room 7: 7 − 3 < 4 + 1
  group_digits(t, sizeof t, 7);
  EXPECT_EQ(s(t), "1234.56");
  std::strcpy(t, "1234.56");  // room 8: fits
  group_digits(t, sizeof t, 8);
  EXPECT_EQ(s(t), "1 234.56");
  std::strcpy(t, "12345678");
  group_digits(t, 10, 0);  // no capacity for the spaces: left as it is
  EXPECT_EQ(s(t), "12345678");
}

TEST(TrimFraction, ZerosBecomeSpaces) {
  char t[40];
  std::strcpy(t, "  1.500");
  trim_fraction(t, true, false);
  EXPECT_EQ(s(t), "    1.5");
  std::strcpy(t, "  1.000");
  trim_fraction(t, false, false);
  EXPECT_EQ(s(t), "  1    ");
  std::strcpy(t, "  1.000");
  trim_fraction(t, false, true);
  EXPECT_EQ(s(t), "  1.0  ");
  std::strcpy(t, "  100.000");
  trim_fraction(t, true, false);
  EXPECT_EQ(s(t), "      100");
  std::strcpy(t, "  100");
  trim_fraction(t, true, false);
  EXPECT_EQ(s(t), "  100");
  std::strcpy(t, " 5. ");  // no zero freed: nothing to put the decimal into
  trim_fraction(t, true, true);
  EXPECT_EQ(s(t), " 5. ");
}
