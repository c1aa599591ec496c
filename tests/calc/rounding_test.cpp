#include "calc/rounding.h"
#include "calc/rounding_settings.h"
#include "shell/general_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace kovra::calc;

TEST(RoundTo, HalvesRoundAwayFromZeroWithTheBias) {
  EXPECT_DOUBLE_EQ(round_to(2.675, 0.01), 2.68);
  EXPECT_DOUBLE_EQ(round_to(-2.675, 0.01), -2.68);
  EXPECT_EQ(round_to(0.0004999, 0.001), 0.0);
  EXPECT_DOUBLE_EQ(round_to(0.00049999999, 0.001), 0.001);
  EXPECT_DOUBLE_EQ(round_to(7.0, 2.0), 8.0);
  EXPECT_DOUBLE_EQ(round_to(1234.4, 1.0), 1234.0);
}

TEST(RoundTo, NeverGivesNegativeZero) {
  const double r = round_to(-0.004, 0.01);
  EXPECT_EQ(r, 0.0);
  EXPECT_FALSE(std::signbit(r));
  EXPECT_FALSE(std::signbit(round_money(-0.0)));
}

TEST(RoundTo, UnusableStepsLeaveTheValue) {
  EXPECT_DOUBLE_EQ(round_to(1.2345, 0.0), 1.2345);
  EXPECT_DOUBLE_EQ(round_to(1.2345, -0.01), 1.2345);
  EXPECT_DOUBLE_EQ(round_to(1.2345, std::numeric_limits<double>::quiet_NaN()), 1.2345);
  EXPECT_TRUE(std::isinf(round_to(std::numeric_limits<double>::infinity(), 0.01)));
  // Too many steps for a fraction of a step to exist: adding the bias would add a whole one.
  const double big = 4503599627370497.0;  // 2^52 + 1
  EXPECT_EQ(round_to(big, 1.0), big);
}

// Property: just below each half rounds down, the half itself and just above round up,
// mirrored for negative values.
TEST(RoundTo, AroundEveryHalf) {
  for (double step : {1.0, 0.1, 0.01, 0.001, 0.000001}) {
    for (int k = 0; k < 20000; k += (k < 200 ? 1 : 37)) {
      const double down = k * step, up = (k + 1) * step;
      const double below = (k + 0.5 - 1e-6) * step;
      const double half = (k + 0.5) * step;
      const double above = (k + 0.5 + 1e-6) * step;
      ASSERT_DOUBLE_EQ(round_to(below, step), down) << step << " " << k;
      ASSERT_DOUBLE_EQ(round_to(half, step), up) << step << " " << k;
      ASSERT_DOUBLE_EQ(round_to(above, step), up) << step << " " << k;
      ASSERT_DOUBLE_EQ(round_to(-below, step), -down) << step << " " << k;
      ASSERT_DOUBLE_EQ(round_to(-half, step), -up) << step << " " << k;
      ASSERT_DOUBLE_EQ(round_to(-above, step), -up) << step << " " << k;
    }
  }
}

TEST(RoundFixedSteps, MoneyPercentNormTenth) {
  EXPECT_DOUBLE_EQ(round_money(1.005), 1.01);
  EXPECT_DOUBLE_EQ(round_money(-123.456), -123.46);
  EXPECT_DOUBLE_EQ(round_percent(7.35f), 7.35);
  // Single-precision inputs: 1.0005f is 1.000499963..., which rounds down; the double
  // 1.0005 rounds up.
  EXPECT_DOUBLE_EQ(round_norm(1.0005f), 1.0);
  EXPECT_DOUBLE_EQ(round_to(1.0005, 0.001), 1.001);
  EXPECT_DOUBLE_EQ(round_tenth(12.35f), 12.4);
}

TEST(RoundByCode, DecimalsFollowTheCode) {
  EXPECT_DOUBLE_EQ(round_by_code(1.23456, 1), 1.23);
  EXPECT_DOUBLE_EQ(round_by_code(1.23456, 3), 1.0);
  EXPECT_DOUBLE_EQ(round_by_code(1.23456, -3), 1.23456);
  EXPECT_DOUBLE_EQ(round_by_code(1.23456, 7), 1.235);
  EXPECT_DOUBLE_EQ(round_by_code(1.23456, -4), 1.235);
  EXPECT_DOUBLE_EQ(round_by_code(1.25, 2), 1.3);
  EXPECT_DOUBLE_EQ(round_by_code(1.234565, -2), 1.23457);
  EXPECT_DOUBLE_EQ(round_by_code(1.23455, -1), 1.2346);
  EXPECT_EQ(decimals_for_code(3), 0);
  EXPECT_EQ(decimals_for_code(-3), 6);
  EXPECT_EQ(decimals_for_code(100), 3);
  EXPECT_EQ(decimals_for_code(-128), 3);
}

TEST(RoundPrice, WholeUnitsAboveAMillion) {
  EXPECT_DOUBLE_EQ(round_price(999999.984), 999999.98);
  EXPECT_DOUBLE_EQ(round_price(999999.994), 1000000.0);  // above 999 999.99: whole units
  EXPECT_DOUBLE_EQ(round_price(1234567.4), 1234567.0);
  EXPECT_DOUBLE_EQ(round_price(1234567.5), 1234568.0);
  EXPECT_DOUBLE_EQ(round_price(-1234567.456), -1234567.46);
}

TEST(RoundAuto, AmountStepByMagnitude) {
  EXPECT_DOUBLE_EQ(round_amount_auto(123.456789), 123.45679);
  EXPECT_DOUBLE_EQ(round_amount_auto(-123.456789), -123.45679);
  EXPECT_DOUBLE_EQ(round_amount_auto(1234.56789), 1234.5679);
  EXPECT_DOUBLE_EQ(round_amount_auto(12345.6789), 12345.679);
  EXPECT_DOUBLE_EQ(round_amount_auto(123456.789), 123456.79);
}

TEST(RoundAuto, NormStepByValueCoarserBelowZero) {
  EXPECT_DOUBLE_EQ(round_norm_auto(5.123456), 5.12346);
  EXPECT_DOUBLE_EQ(round_norm_auto(150.12346), 150.1235);
  EXPECT_DOUBLE_EQ(round_norm_auto(5000.126), 5000.13);
  EXPECT_DOUBLE_EQ(round_norm_auto(123456.78), 123456.8);
  EXPECT_DOUBLE_EQ(round_norm_auto(-5.123456), -5.12346);
  EXPECT_DOUBLE_EQ(round_norm_auto(-50.123456), -50.1235);
  EXPECT_DOUBLE_EQ(round_norm_auto(-500.12346), -500.123);
  EXPECT_DOUBLE_EQ(round_norm_auto(-5000.126), -5000.1);
  EXPECT_DOUBLE_EQ(round_norm_auto(-50000.6), -50001.0);
}

TEST(Round2, NoBiasAndSymmetric) {
  EXPECT_DOUBLE_EQ(round_2(1.005), 1.0);  // 100.4999... without the bias
  EXPECT_DOUBLE_EQ(round_2(1.235), 1.24);
  EXPECT_DOUBLE_EQ(round_2(-1.235), -1.24);
  EXPECT_DOUBLE_EQ(round_2_simple(1.234), 1.23);
  EXPECT_DOUBLE_EQ(round_2_simple(1.236), 1.24);
  // Negative values round like their magnitude rather than towards zero.
  EXPECT_DOUBLE_EQ(round_2_simple(-1.234), -1.23);
  EXPECT_DOUBLE_EQ(round_2_simple(-1.236), -1.24);
  EXPECT_FALSE(std::signbit(round_2_simple(-0.001)));
}

TEST(CombineCodes, DecimalsAddUpToSix) {
  EXPECT_EQ(combine_codes(1, 1), -1);
  EXPECT_EQ(combine_codes(-3, -3), -3);
  EXPECT_EQ(combine_codes(3, 3), 3);
  EXPECT_EQ(combine_codes(1, 0), -2);
  EXPECT_EQ(combine_codes(3, 1), 1);
  // Codes outside −3..3 count as three decimals.
  EXPECT_EQ(combine_codes(9, 1), -2);
  EXPECT_EQ(combine_codes(-100, 3), 0);
}

TEST(DecimalsForMagnitude, Bands) {
  EXPECT_EQ(decimals_for_magnitude(-5.0), 5);
  EXPECT_EQ(decimals_for_magnitude(99.99999), 5);
  EXPECT_EQ(decimals_for_magnitude(100.0), 4);
  EXPECT_EQ(decimals_for_magnitude(999.9999), 4);
  EXPECT_EQ(decimals_for_magnitude(1000.0), 2);
  EXPECT_EQ(decimals_for_magnitude(99999.99), 2);
  EXPECT_EQ(decimals_for_magnitude(100000.0), 1);
}

namespace {
struct fake_settings : rounding_settings {
  double step = 0.01;
  int writes = 0;
  double total_rounding_step() const override { return step; }
  void set_total_rounding_step(double s) override {
    step = s;
    ++writes;
  }
};
} // namespace

TEST(RoundTotal, ProgramSettingsByDefault) {
  kovra::shell::reset_general_settings();
  EXPECT_DOUBLE_EQ(round_total(12.345), 12.35);  // default step 0.01
  kovra::shell::general_settings().set_total_rounding_step(0.005);
  EXPECT_DOUBLE_EQ(round_total(12.345), 12.35);
  EXPECT_EQ(kovra::shell::general_settings().total_rounding_step(), 0.01);  // corrected in place
  kovra::shell::general_settings().set_total_rounding_step(0.5);
  EXPECT_DOUBLE_EQ(round_total(12.2), 12.0);
  kovra::shell::reset_general_settings();
}

TEST(RoundTotal, StepFromInstalledSettingsCorrectedFirst) {
  fake_settings s;
  set_rounding_settings(&s);
  s.step = 0.05;
  EXPECT_DOUBLE_EQ(round_total(12.33), 12.35);
  EXPECT_EQ(s.writes, 0);
  s.step = 0.005;
  EXPECT_DOUBLE_EQ(round_total(12.333), 12.33);
  EXPECT_EQ(s.step, 0.01);
  EXPECT_EQ(s.writes, 1);
  s.step = 1.0;
  EXPECT_DOUBLE_EQ(round_total(1234.5), 1235.0);
  s.step = std::numeric_limits<double>::quiet_NaN();
  EXPECT_DOUBLE_EQ(round_total(1.234), 1.23);
  set_rounding_settings(nullptr);
}
