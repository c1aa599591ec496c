// kovra-cli --version
#include "cli/command.h"
#include "version.h"

#include <cstdio>
#include <ostream>

namespace kovra::cli {
namespace {

int run_version(const std::vector<std::string>&, std::ostream& out, std::ostream&) {
  char text[16];
  std::snprintf(text, sizeof text, "v.%d.%02d", KOVRA_VERSION_MAJOR, KOVRA_VERSION_MINOR);
  out << "Kovra - kosztorys " << text << "\n";
  return exit_ok;
}

const command_registration reg{{"version", "", "print the program's version text", run_version}};

} // namespace
} // namespace kovra::cli
