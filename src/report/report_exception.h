#pragma once
// The one exception of the report engine: the page file could not be made.
// It never leaves the public report calls (report_output.h), which turn it into an error text.
#include <stdexcept>
#include <string>

namespace kovra::report {

class VL_raport_exception : public std::runtime_error {
public:
  explicit VL_raport_exception(const std::string& text) : std::runtime_error(text) {}
};

inline constexpr const char* RAPORT_CREATE_FAILED = "Nie można utworzyć obiektu VL_raport";

} // namespace kovra::report
