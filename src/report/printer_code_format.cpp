#include "report/printer_code_format.h"

#include "report/printer_codes.h"

#include <cstdio>
#include <vector>

namespace kovra::report {

std::optional<std::string> format_printer_code(std::string_view code_template, std::initializer_list<int> values) {
  std::vector<int> args(values);
  std::size_t next_arg = 0;
  std::string out;
  for (std::size_t i = 0; i < code_template.size(); ++i) {
    char c = code_template[i];
    if (c != '%') {
      out += c;
      continue;
    }
    if (++i >= code_template.size()) return std::nullopt;
    if (code_template[i] == '%') {
      out += '%';
      continue;
    }
    std::string conversion = "%";
    while (i < code_template.size() && std::string_view("-+ 0#").find(code_template[i]) != std::string_view::npos)
      conversion += code_template[i++];
    int width = 0;
    while (i < code_template.size() && code_template[i] >= '0' && code_template[i] <= '9') {
      width = width * 10 + (code_template[i] - '0');
      if (width > int(printer_code_max_bytes)) return std::nullopt;
      conversion += code_template[i++];
    }
    if (i >= code_template.size()) return std::nullopt;
    const char conv = code_template[i];
    if (std::string_view("diuxXoc").find(conv) == std::string_view::npos) return std::nullopt;
    if (next_arg >= args.size()) return std::nullopt;
    const int value = args[next_arg++];
    if (conv == 'c') {
      // A code byte may be zero, which a C string cannot carry: build it here.
      std::string pad(std::size_t(width > 1 ? width - 1 : 0), ' ');
      const char byte = char(static_cast<unsigned char>(value));
      out += conversion.find('-') != std::string::npos ? std::string(1, byte) + pad : pad + byte;
      continue;
    }
    conversion += conv;
    char buffer[32];
    int n = std::snprintf(buffer, sizeof buffer, conversion.c_str(), value);
    if (n < 0 || std::size_t(n) >= sizeof buffer) return std::nullopt;
    out.append(buffer, std::size_t(n));
    if (out.size() > printer_code_max_bytes) return std::nullopt;
  }
  if (out.size() > printer_code_max_bytes) return std::nullopt;
  return out;
}

} // namespace kovra::report
