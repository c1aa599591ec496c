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
  if (error.code == interp_bad_argument)
    std::snprintf(buffer, size, format, error.text.c_str(), error.argument);
  else
    std::snprintf(buffer, size, format, error.text.c_str());
}

} // namespace kovra::calc
