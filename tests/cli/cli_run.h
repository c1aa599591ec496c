#pragma once
// Runs the built kovra-cli as a child process and captures what it prints.
#include <string>
#include <vector>

namespace kovra::test {

struct cli_result {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs kovra-cli with the given arguments (no shell involved); `input` goes to its stdin.
cli_result run_cli(const std::vector<std::string>& args, const std::string& input = {});

} // namespace kovra::test
