// The expression interpreter on any bytes: each line of the input is one text, all evaluated
// by one interpreter (as survey lines are), so variables carry over. Never crashes or hangs;
// a failure always has a code and a message.
#include "calc/interpreter.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kovra::calc::VL_simp_interpret interpreter;
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t start = 0;
  while (start <= input.size()) {
    std::size_t end = input.find('\n', start);
    if (end == std::string::npos) end = input.size();
    const std::string text = input.substr(start, end - start);  // an embedded NUL ends it early
    double value = 0.0;
    if (interpreter.evaluate(text.c_str(), value)) {
      if (!std::isfinite(value) || interpreter.error_code() != 0) std::abort();
    } else {
      const int code = interpreter.error_code();
      if (code < 1 || code > 10) std::abort();
      char message[512];
      interpreter.error_text(message, sizeof message);
      if (message[0] == '\0') std::abort();
    }
    start = end + 1;
  }
  return 0;
}
