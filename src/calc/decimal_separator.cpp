#include "calc/decimal_separator.h"

#include <cstring>
#include <langinfo.h>
#include <locale.h>

namespace kovra::calc {
namespace {

char cached = 0;  // 0: not read yet

char read_locale_separator() {
  locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
  if (!loc) return '.';
  const char* radix = nl_langinfo_l(RADIXCHAR, loc);
  char separator = radix && radix[0] != '\0' && radix[1] == '\0' ? radix[0] : '.';
  freelocale(loc);
  return separator;
}

void replace_all(char* text, char from, char to) {
  if (!text || from == to) return;
  for (char* p = text; *p; ++p)
    if (*p == from) *p = to;
}

} // namespace

char system_decimal_separator() {
  if (cached == 0) cached = read_locale_separator();
  return cached;
}

void set_system_decimal_separator(char separator) { cached = separator == 0 ? '.' : separator; }

void reset_system_decimal_separator() { cached = 0; }

void to_display_separator(char* text) { replace_all(text, '.', system_decimal_separator()); }

void to_display_separator(std::string& text) {
  const char sep = system_decimal_separator();
  if (sep == '.') return;
  for (char& c : text)
    if (c == '.') c = sep;
}

void from_display_separator(char* text) { replace_all(text, system_decimal_separator(), '.'); }

void from_display_separator(std::string& text) {
  const char sep = system_decimal_separator();
  if (sep == '.') return;
  for (char& c : text)
    if (c == sep) c = '.';
}

void trim_spaces(char* text) {
  if (!text) return;
  std::size_t len = std::strlen(text);
  while (len > 0 && text[len - 1] == ' ') text[--len] = '\0';
  std::size_t start = 0;
  while (text[start] == ' ') ++start;
  if (start > 0) std::memmove(text, text + start, len - start + 1);
}

} // namespace kovra::calc
