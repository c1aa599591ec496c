#pragma once
// Error codes and texts of the expression interpreter.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kovra::calc {

enum interp_code : uint8_t {
  interp_ok = 0,
  interp_syntax = 1,             // "Błąd syntaktyczny"
  interp_unknown_operator = 2,   // "Nieznany operator arytmetyczny: %s"
  interp_unknown_function = 3,   // reserved: an unknown name is a variable
  interp_missing_open = 4,       // "Brak nawiasu '('"
  interp_missing_close = 5,      // "Brak nawiasu ')'"
  interp_undefined_variable = 6, // "Niezdefiniowana zmienna: %s"
  interp_division_by_zero = 7,   // "Dzielenie przez zero"
  interp_bad_argument = 8,       // "Błędny argument funkcji: %s(%lf)"
  interp_unknown_error = 9,      // "Nieznany błąd w wyrażeniu"
  interp_redefined_variable = 10 // reserved: variables may be reassigned
};

inline constexpr int interp_code_count = 11;

// What went wrong: also the object thrown inside the interpreter (never outside it).
struct VL_interp_error {
  uint8_t code = interp_ok;
  std::string text;       // a name, or the offending character; may be empty
  double argument = 0.0;  // code 8 only
};

// The message of a code (UTF-8, printf form), "" for 0 and for codes outside the table.
const char* interp_message(int code);

// The message with the error's text and argument filled in (UTF-8; the text is inserted as
// it is), truncated to size − 1 characters and always terminated.
void format_interp_error(const VL_interp_error& error, char* buffer, std::size_t size);

} // namespace kovra::calc
