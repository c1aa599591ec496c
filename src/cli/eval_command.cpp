// kovra-cli eval [--vars] EXPR...: the quantity calculator. All expressions share one
// interpreter, so a variable assigned in one is known in the next.
#include "calc/interpreter.h"
#include "cli/command.h"

#include <cstdio>
#include <ostream>

namespace kovra::cli {
namespace {

std::string number_text(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17g", v + 0.0);  // + 0.0: no "-0"
  return buffer;
}

int run_eval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::size_t first = 0;
  const bool show_vars = !args.empty() && args[0] == "--vars";
  if (show_vars) first = 1;
  if (first >= args.size()) {
    err << "kovra-cli eval: no expression given\nusage: kovra-cli eval [--vars] EXPR...\n";
    return exit_usage;
  }
  calc::VL_simp_interpret interpreter;
  bool all_ok = true;
  for (std::size_t i = first; i < args.size(); ++i) {
    double value = 0.0;
    if (interpreter.evaluate(args[i].c_str(), value)) {
      out << number_text(value) << "\n";
    } else {
      char text[512];
      interpreter.error_text(text, sizeof text);
      out << "error " << interpreter.error_code() << ": " << text << "\n";
      all_ok = false;
    }
  }
  if (show_vars) {
    const auto& vars = interpreter.variables();
    for (std::size_t i = 0; i < vars.size(); ++i) out << vars[i].name << " = " << number_text(vars[i].value) << "\n";
  }
  return all_ok ? exit_ok : exit_failed;
}

const command_registration reg{{"eval", "[--vars] EXPR...",
                                "evaluate quantity expressions with one interpreter (--vars: list the variables after)",
                                run_eval}};

} // namespace
} // namespace kovra::cli
