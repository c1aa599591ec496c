#pragma once
// The decimal separator of the user's locale. Display texts are built with "." and turned
// into the user's separator last; text the user typed is turned back before it is parsed.
#include <string>

namespace kovra::calc {

// The separator of the locale's LC_NUMERIC (as the environment selects it: LC_ALL,
// LC_NUMERIC, LANG), read once; "." when the locale is unknown or its separator is not a
// single byte. The program's own C locale is left alone, so printf and strtod stay "C".
char system_decimal_separator();
// Fixes the separator (the windowed program may take it from its own locale settings).
void set_system_decimal_separator(char separator);
// Forgets the fixed or cached separator; the next use reads the locale again.
void reset_system_decimal_separator();

// In place: every "." becomes the system separator when that is not ".".
void to_display_separator(char* text);
void to_display_separator(std::string& text);
// In place: every system separator becomes "." when it is not ".".
void from_display_separator(char* text);
void from_display_separator(std::string& text);

// Removes leading and trailing spaces in place.
void trim_spaces(char* text);

} // namespace kovra::calc
