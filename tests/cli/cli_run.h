#pragma once
// Runs the built kovra-cli as a child process and captures what it prints.
#include <nlohmann/json.hpp>

#include <filesystem>
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

// A temporary folder of one test case (ctest runs cases side by side), removed with it.
struct cli_folder {
  std::filesystem::path dir;
  cli_folder();
  ~cli_folder();
  cli_folder(const cli_folder&) = delete;
  cli_folder& operator=(const cli_folder&) = delete;
  // Writes `spec` next to it and builds the estimate file `name` with kovra-cli build.
  std::string build(const nlohmann::json& spec, const std::string& name);
  std::string operator/(const std::string& name) const { return (dir / name).string(); }
  // How many entries the folder holds.
  std::size_t files() const;
};

// The bytes of a file, empty when it cannot be read.
std::string file_bytes(const std::string& path);

// The lines of a text, and a check that two texts agree line for line (each differing line
// reported with its number; a missing one reads "<none>").
std::vector<std::string> lines_of(const std::string& text);
void expect_same_lines(const std::string& got, const std::string& expected);

} // namespace kovra::test
