#include "calc/rounding.h"

#include "calc/rounding_settings.h"

#include <algorithm>
#include <cmath>

namespace kovra::calc {
namespace {

// Steps of the precision codes −3..3, written out so that no power is computed.
constexpr double code_steps[7] = {0.000001, 0.00001, 0.0001, 0.001, 0.01, 0.1, 1.0};

// Beyond this many steps a double cannot hold a fraction of a step any more: adding the
// bias would move the value by a whole step, so such values are left as they are.
constexpr double exact_step_limit = 4503599627370496.0;  // 2^52

double no_negative_zero(double v) { return v == 0.0 ? 0.0 : v; }

} // namespace

int normalized_code(int code) { return code < -3 || code > 3 ? 0 : code; }

int decimals_for_code(int code) { return 3 - normalized_code(code); }

double round_to(double value, double step) {
  // A step of 0 (or a nonsense step) would turn every value into NaN.
  if (!(step > 0.0) || !std::isfinite(step) || !std::isfinite(value)) return value;
  const bool negative = value < 0.0;
  const double magnitude = negative ? -value : value;
  const double steps = magnitude / step;
  if (steps >= exact_step_limit) return value;
  const double r = std::floor(steps + 0.5000001) * step;
  return no_negative_zero(negative ? -r : r);
}

double round_money(double value) { return round_to(value, 0.01); }
double round_percent(float value) { return round_to(static_cast<double>(value), 0.01); }
double round_norm(float value) { return round_to(static_cast<double>(value), 0.001); }
double round_tenth(float value) { return round_to(static_cast<double>(value), 0.1); }

double round_by_code(double value, int code) {
  return round_to(value, code_steps[normalized_code(code) + 3]);
}

double round_total(double value) { return round_to(value, effective_total_rounding_step()); }

double round_price(double value) { return round_to(value, value > 999999.99 ? 1.0 : 0.01); }

double round_amount_auto(double value) {
  const double m = std::fabs(value);
  double step = 0.01;
  if (m <= 999.99999) step = 0.00001;
  else if (m <= 9999.9999) step = 0.0001;
  else if (m <= 99999.999) step = 0.001;
  return round_to(value, step);
}

double round_norm_auto(double value) {
  double step;
  if (value >= 0.0) {
    if (value <= 99.99999) step = 0.00001;
    else if (value <= 999.9999) step = 0.0001;
    else if (value <= 99999.99) step = 0.01;
    else step = 0.1;
  } else {
    if (value >= -9.99999) step = 0.00001;
    else if (value >= -99.9999) step = 0.0001;
    else if (value >= -999.999) step = 0.001;
    else if (value >= -9999.9) step = 0.1;
    else step = 1.0;
  }
  return round_to(value, step);
}

double round_2(double value) {
  if (!std::isfinite(value)) return value;
  const bool negative = value < 0.0;
  const double hundredths = std::fabs(value) * 100.0;
  if (hundredths >= exact_step_limit) return value;
  const double r = std::trunc(hundredths + 0.5) / 100.0;
  return no_negative_zero(negative ? -r : r);
}

// The plain formula trunc(value × 100 + 0.5) / 100 pulls negative values towards zero
// (−1.234 would give −1.22), so negative values are rounded as their magnitude.
double round_2_simple(double value) { return round_2(value); }

int combine_codes(int a, int b) {
  const int decimals = std::min(6, decimals_for_code(a) + decimals_for_code(b));
  return 3 - decimals;
}

int decimals_for_magnitude(double value) {
  if (value <= 99.99999) return 5;
  if (value <= 999.9999) return 4;
  if (value <= 99999.99) return 2;
  return 1;
}

} // namespace kovra::calc
