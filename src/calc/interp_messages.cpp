#include "calc/interp_messages.h"

#include <cstdio>

namespace kovra::calc {
namespace {

const char* const messages[interp_code_count] = {
    "",
    "Błąd syntaktyczny",
    "Nieznany operator arytmetyczny: %s",
    "Nieznana funkcja: %s",
    "Brak nawiasu '('",
    "Brak nawiasu ')'",
    "Niezdefiniowana zmienna: %s",
    "Dzielenie przez zero",
    "Błędny argument funkcji: %s(%lf)",
    "Nieznany błąd w wyrażeniu",
    "Redefiniowana zmienna: %s",
};

} // namespace

const char* interp_message(int code) {
  return code >= 0 && code < interp_code_count ? messages[code] : "";
}

void format_interp_error(const VL_interp_error& error, char* buffer, std::size_t size) {
  if (!buffer || size == 0) return;
  const char* format = interp_message(error.code);
  // Every message takes the text (unused ones ignore it); only code 8 takes the argument.
  if (error.code == interp_bad_argument) {
    // The argument is shown with a point whatever locale the program runs in.
    char argument[400];
    std::snprintf(argument, sizeof argument, "%lf", error.argument);
    for (char* p = argument; *p; ++p)
      if (*p == ',') *p = '.';
    std::string with_text = format;
    with_text.replace(with_text.find("%lf"), 3, "%s");
    std::snprintf(buffer, size, with_text.c_str(), error.text.c_str(), argument);
  } else
    std::snprintf(buffer, size, format, error.text.c_str());
}

} // namespace kovra::calc
