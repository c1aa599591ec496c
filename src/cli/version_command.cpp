// kovra-cli --version
#include "cli/command.h"
#include "shell/version_text.h"

#include <ostream>

namespace kovra::cli {
namespace {

int run_version(const std::vector<std::string>&, std::ostream& out, std::ostream&) {
  out << shell::product_version_line() << "\n";
  return exit_ok;
}

const command_registration reg{{"version", "", "print the program's version text", run_version}};

} // namespace
} // namespace kovra::cli
