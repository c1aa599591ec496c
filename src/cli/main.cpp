// kovra-cli: the program's work without windows.
#include "cli/command.h"
#include "cli/password_option.h"

#include <algorithm>
#include <iostream>

namespace kovra::cli {

static std::vector<command>& registry() {
  static std::vector<command> r;
  return r;
}

command_registration::command_registration(command c) { registry().push_back(std::move(c)); }

const std::vector<command>& commands() { return registry(); }

static void print_usage(std::ostream& os) {
  os << "usage: kovra-cli COMMAND [ARGS...] [--password TEXT]\n       kovra-cli --version\n\n"
        "--password TEXT answers a protected estimate's password question.\n\ncommands:\n";
  std::vector<command> sorted = registry();
  std::sort(sorted.begin(), sorted.end(), [](auto& a, auto& b) { return a.name < b.name; });
  for (const auto& c : sorted)
    os << "  " << c.name << (c.usage.empty() ? "" : " ") << c.usage << "\n      " << c.summary << "\n";
}

} // namespace kovra::cli

int main(int argc, char** argv) {
  using namespace kovra::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    print_usage(std::cerr);
    return exit_usage;
  }
  const std::string name = args.front() == "--version" ? "version" : args.front();
  if (name == "--help" || name == "-h" || name == "help") {
    print_usage(std::cout);
    return exit_ok;
  }
  for (const auto& c : commands()) {
    if (c.name == name) {
      args.erase(args.begin());
      std::string error;
      if (!take_password_option(args, error)) {
        std::cerr << "kovra-cli: " << error << "\n";
        return exit_usage;
      }
      return c.run(args, std::cout, std::cerr);
    }
  }
  std::cerr << "kovra-cli: unknown command \"" << name << "\"\n";
  print_usage(std::cerr);
  return exit_usage;
}
