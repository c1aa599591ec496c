#pragma once
// Builds a control code from a code template of the printer definition.
//
// Some codes depend on settings (the left margin, the line spacing), so the definition gives
// them as a printf-style template in another slot. The template comes from a data file, so it
// is never handed to printf: only integer conversions (%d %i %u %x %X %o %c, with flags
// "-+ 0#" and a width up to 19) and "%%" are understood. A template that asks for anything
// else, for more values than given, or whose result does not fit in one code, gives nullopt.
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace kovra::report {

std::optional<std::string> format_printer_code(std::string_view code_template, std::initializer_list<int> values);

} // namespace kovra::report
