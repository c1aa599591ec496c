#include "cli/csv_text.h"

#include <cmath>
#include <cstdio>

namespace kovra::cli {

std::string csv_field(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

std::string csv_record(const std::vector<std::string>& fields) {
  std::string out;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) out += ',';
    out += csv_field(fields[i]);
  }
  return out + "\r\n";
}

std::string csv_fixed(double value, int decimals) {
  if (!std::isfinite(value)) return {};
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  std::string s = buf;
  if (s.find_first_not_of("-0.") == std::string::npos && s[0] == '-') s.erase(0, 1);
  return s;
}

std::string csv_quantity(double value) {
  const double m = std::fabs(value);
  std::string s = csv_fixed(value, m < 1000 ? 5 : m < 10000 ? 4 : m < 100000 ? 3 : 2);
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  return s;
}

} // namespace kovra::cli
