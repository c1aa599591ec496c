#pragma once
// Rounding helpers the costing code calls. Stand-in until the shared rounding module is in
// place; the bodies follow the program's single rounding rule (halves away from zero with a
// tiny bias above one half).
#include <cmath>

namespace kovra::calc {

inline double round_to(double value, double step) {
  const bool negative = value < 0;
  const double magnitude = negative ? -value : value;
  const double r = std::floor(magnitude / step + 0.5000001) * step;
  return negative ? -r : r;
}
inline double round_money(double v) { return round_to(v, 0.01); }
inline double round_percent(float v) { return round_to(static_cast<double>(v), 0.01); }
inline double round_norm(float v) { return round_to(static_cast<double>(v), 0.001); }
inline int effective_code(int code) { return code < -3 || code > 3 ? 0 : code; }
inline double round_by_code(double v, int code) {
  return round_to(v, std::pow(10.0, effective_code(code) - 3));
}
inline double round_price(double v) { return v > 999999.99 ? round_to(v, 1) : round_to(v, 0.01); }
inline double round_amount_auto(double v) {
  const double a = std::fabs(v);
  if (a <= 999.99999) return round_to(v, 0.00001);
  if (a <= 9999.9999) return round_to(v, 0.0001);
  if (a <= 99999.999) return round_to(v, 0.001);
  return round_to(v, 0.01);
}
inline double round_norm_auto(double v) {
  if (v >= 0) {
    if (v <= 99.99999) return round_to(v, 0.00001);
    if (v <= 999.9999) return round_to(v, 0.0001);
    if (v <= 99999.99) return round_to(v, 0.01);
    return round_to(v, 0.1);
  }
  if (v >= -9.99999) return round_to(v, 0.00001);
  if (v >= -99.9999) return round_to(v, 0.0001);
  if (v >= -999.999) return round_to(v, 0.001);
  if (v >= -9999.9) return round_to(v, 0.1);
  return round_to(v, 1);
}
inline double round_2(double v) {
  const double s = v < 0 ? -1.0 : 1.0;
  return s * std::trunc(std::fabs(v) * 100 + 0.5) / 100;
}
inline double round_2_simple(double v) { return std::trunc(v * 100 + 0.5) / 100; }
inline int combine_codes(int a, int b) {
  int d = (3 - effective_code(a)) + (3 - effective_code(b));
  if (d > 6) d = 6;
  return 3 - d;
}

} // namespace kovra::calc
