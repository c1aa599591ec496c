#pragma once
// kovra-cli sub-commands. Each command lives in its own file and registers itself
// with a static `command_registration`; main() dispatches on the first word.
#include <iosfwd>
#include <string>
#include <vector>

namespace kovra::cli {

// Exit codes shared by every command.
enum exit_code : int {
  exit_ok = 0,
  exit_failed = 1,      // the file was read but is unsound, or the command failed on it
  exit_cannot_open = 2, // the file cannot be opened or is not what the command expects
  exit_usage = 64,      // bad command line
};

struct command {
  std::string name;
  std::string usage;    // one line: arguments after the name
  std::string summary;  // one line: what it does
  int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

struct command_registration {
  explicit command_registration(command c);
};

const std::vector<command>& commands();

} // namespace kovra::cli
