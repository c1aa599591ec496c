#include "calc/number_text.h"

#include "calc/decimal_separator.h"
#include "calc/display_ring.h"
#include "calc/rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace kovra::calc {
namespace {

constexpr double no_limit = std::numeric_limits<double>::infinity();
constexpr std::size_t work_size = 128;
constexpr int quantity_width = 14;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A "-" in front of nothing but zeros (a negative value that rounds to zero) is dropped:
// "-0.00" reads as a real negative amount.
void drop_negative_zero(char* text) {
  char* minus = std::strchr(text, '-');
  if (!minus) return;
  for (const char* p = text; *p; ++p) {
    if (*p == 'e' || *p == 'E') break;  // exponent digits do not make a value non-zero
    if (is_digit(*p) && *p != '0') return;
  }
  *minus = ' ';
}

// snprintf with one double; the text uses "." whatever the C locale says. False when the
// text would not fit.
bool print_value(char* out, std::size_t size, const char* format, double value) {
  const int n = std::snprintf(out, size, format, value);
  if (n < 0 || static_cast<std::size_t>(n) >= size) {
    out[0] = '\0';
    return false;
  }
  for (char* p = out; *p; ++p)
    if (*p == ',') *p = '.';
  drop_negative_zero(out);
  return true;
}

void fill(char* out, char c, int count) {
  count = std::clamp(count, 0, static_cast<int>(display_buffer_size) - 1);
  std::memset(out, c, static_cast<std::size_t>(count));
  out[count] = '\0';
}

void copy_text(char* out, std::size_t size, const char* text) {
  if (size == 0) return;
  std::size_t n = std::min(std::strlen(text), size - 1);
  std::memcpy(out, text, n);
  out[n] = '\0';
}

// Pads text with spaces to `width` characters, in front or behind.
void pad(char* text, int width, bool in_front) {
  const int len = static_cast<int>(std::strlen(text));
  if (len >= width) return;
  const int extra = width - len;
  if (in_front) {
    std::memmove(text + extra, text, static_cast<std::size_t>(len) + 1);
    std::memset(text, ' ', static_cast<std::size_t>(extra));
  } else {
    std::memset(text + len, ' ', static_cast<std::size_t>(extra));
    text[width] = '\0';
  }
}

bool all_spaces(const char* text) {
  for (; *text; ++text)
    if (*text != ' ') return false;
  return true;
}

// Whether text fits in `visible` characters once leading padding is dropped.
bool fits_after_padding(const char* text, int visible) {
  const char* p = text;
  while (*p == ' ' && static_cast<int>(std::strlen(p)) > visible) ++p;
  return static_cast<int>(std::strlen(p)) <= visible;
}

const char* cut_padding(const char* text, int visible) {
  while (*text == ' ' && static_cast<int>(std::strlen(text)) > visible) ++text;
  return text;
}

// format_checked into a given buffer (display_buffer_size bytes).
void format_into(char* out, double value, double max, double min, int width, const char* format,
                 bool show_zero) {
  width = std::clamp(width, 1, static_cast<int>(display_buffer_size));
  if (std::isnan(value) || value < min || value > max) {
    fill(out, '*', width - 1);
    return;
  }
  if (value == 0.0 && !show_zero) {
    fill(out, ' ', width - 1);
    return;
  }
  char work[work_size];
  if (!print_value(work, sizeof work - 16, format, value)) {
    fill(out, '*', width - 1);
    return;
  }
  char grouped[work_size];
  copy_text(grouped, sizeof grouped, work);
  group_digits(grouped, sizeof grouped, width - 1);
  // Cut to width − 1: only padding may go, never a sign or a digit. The room rule does not
  // count a sign, so a grouped negative number may not fit where the plain one does.
  if (fits_after_padding(grouped, width - 1)) copy_text(out, display_buffer_size, cut_padding(grouped, width - 1));
  else if (fits_after_padding(work, width - 1)) copy_text(out, display_buffer_size, cut_padding(work, width - 1));
  else fill(out, '*', width - 1);
}

const char* quantity_format(int code) {
  switch (code) {
  case 1: return "%10.2lf";
  case 2: return "%9.1lf";
  case 3: return "%7.0lf";
  case -1: return "%12.4lf";
  case -2: return "%13.5lf";
  case -3: return "%14.6lf";
  default: return "%11.3lf";
  }
}

void quantity_into(char* out, double value, int code, bool right_aligned) {
  const double v = round_by_code(value, code);
  format_into(out, v, 999999.999999, -99999.999999, quantity_width + 1, quantity_format(code), false);
  pad(out, quantity_width, right_aligned);
}

// The money paths: within the normal range through format_checked, beyond it printed
// directly without decimals, and beyond that in exponent form.
const char* money_text(double value, const char* outermost_format) {
  char* out = next_display_buffer();
  const double v = round_money(value);
  if (v < -9999999.99 || v > 99999999.99) {
    const char* format = v >= -999999999.0 && v <= 9999999999.0 ? "%11.0lf" : outermost_format;
    if (!print_value(out, display_buffer_size, format, v)) fill(out, '*', 11);
  } else {
    format_into(out, v, no_limit, -no_limit, 12, "%11.2lf", false);
  }
  to_display_separator(out);
  return out;
}

const char* price_format(double v) { return std::fabs(v) > 999999.99 ? "%9.0lf" : "%9.2lf"; }

const char* norm_format(double v) {
  if (v >= 0.0) {
    if (v <= 99.99999) return "%8.5f";
    if (v <= 999.9999) return "%8.4f";
    if (v <= 99999.99) return "%8.2f";
    return "%8.1f";
  }
  if (v >= -9.99999) return "%8.5f";
  if (v >= -99.9999) return "%8.4f";
  if (v >= -999.999) return "%8.3f";
  if (v >= -9999.9) return "%8.1f";
  return "%8.0f";
}

void percent_into(char* out, double value, int width) {
  char format[16];
  std::snprintf(format, sizeof format, "%%%d.%dlf", 7, 2);
  const double v = value < 0.0 ? 0.0 : value;
  format_into(out, v, 999.99, -no_limit, width + 1, format, false);
  pad(out, width, true);
}

int percent_width(int width) {
  return std::clamp(width, 7, static_cast<int>(display_buffer_size) - 2);
}

// text_factor into a buffer of at least 6 bytes.
void factor_into(char* out, std::size_t size, double value) {
  const double m = std::fabs(value);
  const int decimals = m <= 9.99 ? 2 : m <= 99.9 ? 1 : 0;
  char work[work_size];
  const int n = std::isfinite(value) ? std::snprintf(work, sizeof work, "%*.*lf", 5, decimals, value) : -1;
  if (n < 0 || n > 5) {
    copy_text(out, size, "*****");
    return;
  }
  for (char* p = work; *p; ++p)
    if (*p == ',') *p = '.';
  drop_negative_zero(work);
  copy_text(out, size, work);
}

} // namespace

void group_digits(char* text, std::size_t capacity, int room) {
  for (char* p = text; *p; ++p)
    if (*p == ',') *p = '.';
  const std::size_t len = std::strlen(text);
  const char* point = std::strchr(text, '.');
  const std::size_t end = point ? static_cast<std::size_t>(point - text) : len;
  const int f = static_cast<int>(len - end);
  std::size_t first = end;
  while (first > 0 && is_digit(text[first - 1])) --first;
  const int d = static_cast<int>(end - first);
  if (room > 0 && room - f < d + (d - 1) / 3) return;
  const int spaces = d > 3 ? (d - 1) / 3 : 0;
  if (spaces == 0 || len + static_cast<std::size_t>(spaces) + 1 > capacity) return;
  // Move the fraction, then copy the digits from the right with a space after every third.
  std::memmove(text + end + spaces, text + end, len - end + 1);
  std::size_t dst = end + spaces;
  int count = 0;
  for (std::size_t src = end; src > first; --src) {
    if (count == 3) {
      text[--dst] = ' ';
      count = 0;
    }
    text[--dst] = text[src - 1];
    ++count;
  }
}

void trim_fraction(char* text, bool right_align, bool keep_one_decimal) {
  if (!std::strchr(text, '.')) return;
  const std::size_t len = std::strlen(text);
  std::size_t last = len;
  while (last > 0 && text[last - 1] == ' ') --last;  // end of the number
  std::size_t cut = last;
  while (cut > 0 && text[cut - 1] == '0') --cut;
  // Only zeros after the point are fraction zeros.
  const char* point = std::strchr(text, '.');
  if (static_cast<std::size_t>(point - text) >= cut) cut = static_cast<std::size_t>(point - text) + 1;
  for (std::size_t i = cut; i < last; ++i) text[i] = ' ';
  if (cut > 0 && text[cut - 1] == '.') {
    if (keep_one_decimal && cut < last) {  // only into a place a zero freed
      text[cut] = '0';
      ++cut;
    } else if (!keep_one_decimal) {
      text[cut - 1] = ' ';
      --cut;
    }
  }
  if (right_align) {
    const std::size_t shift = last - cut;
    if (shift > 0) {
      std::memmove(text + shift, text, cut);
      std::memset(text, ' ', shift);
    }
  }
}

const char* format_checked(double value, double max, double min, int width, const char* format,
                           bool show_zero) {
  char* out = next_display_buffer();
  format_into(out, value, max, min, width, format, show_zero);
  return out;
}

const char* text_quantity(double value, int code, bool right_aligned) {
  char* out = next_display_buffer();
  quantity_into(out, value, code, right_aligned);
  to_display_separator(out);
  return out;
}

const char* text_quantity_short(double value, int code) {
  char* out = next_display_buffer();
  quantity_into(out, value, code, true);
  if (std::strchr(out, '.')) {
    trim_fraction(out, true, true);
  } else if (!all_spaces(out) && out[0] == ' ') {
    // A whole number moves one place left, as if it had a one-digit fraction.
    const std::size_t len = std::strlen(out);
    std::memmove(out, out + 1, len - 1);
    out[len - 1] = ' ';
  }
  to_display_separator(out);
  return out;
}

const char* text_money(double value) { return money_text(value, "%11lg"); }

const char* text_money_e(double value) { return money_text(value, "%11.4lE"); }

const char* text_price(double value) {
  char* out = next_display_buffer();
  const double v = round_price(value);
  format_into(out, v, 9999999.0, 0.0, 10, price_format(v), false);
  to_display_separator(out);
  return out;
}

const char* text_price_signed(double value) {
  char* out = next_display_buffer();
  const double v = value < 0.0 ? round_money(value) : round_price(value);
  format_into(out, v, 9999999.0, -999999.0, 10, price_format(v), false);
  to_display_separator(out);
  return out;
}

const char* text_coefficient(float value, bool show_zero) {
  char* out = next_display_buffer();
  format_into(out, round_norm(value), 99.999, -9.0, 7, "%6.3f", show_zero);
  to_display_separator(out);
  return out;
}

const char* text_tenths(double value) {
  char* out = next_display_buffer();
  format_into(out, value, 999999.1, 0.1, 10, "%9.1lf", false);
  to_display_separator(out);
  return out;
}

const char* text_norm(double value) {
  char* out = next_display_buffer();
  const double v = round_norm_auto(value);
  format_into(out, v, 9999999.0, -no_limit, 9, norm_format(v), false);
  trim_fraction(out, true, false);
  to_display_separator(out);
  return out;
}

const char* text_amount(double value) {
  char* out = next_display_buffer();
  const double v = round_amount_auto(value);
  const double m = std::fabs(v);
  if (std::isfinite(v) && m > 999999.99) {
    if (!print_value(out, display_buffer_size, "%11.1lE", v)) fill(out, '*', 11);
  } else {
    const char* format = m <= 999.99999 ? "%11.5lf" : m <= 9999.9999 ? "%11.4lf" : m <= 99999.999 ? "%11.3lf" : "%11.2lf";
    format_into(out, v, no_limit, -no_limit, 12, format, false);
    trim_fraction(out, true, false);
  }
  to_display_separator(out);
  return out;
}

const char* text_percent(double value, int width) {
  char* out = next_display_buffer();
  percent_into(out, value, percent_width(width));
  to_display_separator(out);
  return out;
}

const char* text_percent_signed(double value, int width) {
  char* out = next_display_buffer();
  const int w = percent_width(width);
  if (w <= 7) {
    percent_into(out, value, w);
  } else {
    percent_into(out + 1, value, w - 1);
    if (out[1] == '*' || all_spaces(out + 1)) out[0] = out[1] == '*' ? '*' : ' ';
    else out[0] = '%';
  }
  to_display_separator(out);
  return out;
}

const char* text_distance(float value) {
  char* out = next_display_buffer();
  if (!print_value(out, display_buffer_size, "%5.1f km", round_tenth(value))) copy_text(out, display_buffer_size, "***** km");
  to_display_separator(out);
  return out;
}

const char* text_factor(double value) {
  char* out = next_display_buffer();
  factor_into(out, display_buffer_size, value);
  to_display_separator(out);
  return out;
}

char* text_factor_or_blank(double value, char* buffer, std::size_t size) {
  if (!buffer || size == 0) return buffer;
  if (value == 1.0) {
    copy_text(buffer, size, "     ");
    return buffer;
  }
  factor_into(buffer, size, value);
  to_display_separator(buffer);
  return buffer;
}

const char* text_integer(double value) {
  char* out = next_display_buffer();
  if (!std::isfinite(value)) {
    fill(out, '*', 7);
    return out;
  }
  // Large values of either sign are scaled down; the sign is put back afterwards so that
  // the conversion to a whole number can never overflow.
  double m = std::fabs(value);
  while (m > 10000000.0) m /= 10.0;
  const long r = static_cast<long>(std::trunc(m + 0.5));
  std::snprintf(out, display_buffer_size, "%*ld", 7, value < 0.0 ? -r : r);
  trim_spaces(out);
  return out;
}

} // namespace kovra::calc
