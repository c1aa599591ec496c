#include "cli/cli_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <algorithm>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kovra::test {

static std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

cli_result run_cli(const std::vector<std::string>& args, const std::string& input) {
  char dir_template[] = "/tmp/kovra-cli-XXXXXX";
  const std::string dir = mkdtemp(dir_template);
  const std::string in_path = dir + "/in", out_path = dir + "/out", err_path = dir + "/err";
  std::ofstream(in_path, std::ios::binary) << input;

  std::vector<std::string> words{KOVRA_CLI};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in_path.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

  cli_result r;
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  r.out = slurp(out_path);
  r.err = slurp(err_path);
  std::remove(in_path.c_str());
  std::remove(out_path.c_str());
  std::remove(err_path.c_str());
  rmdir(dir.c_str());
  return r;
}

cli_folder::cli_folder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kovra_cli_XXXXXX").string();
  if (::mkdtemp(pattern.data())) dir = pattern;
}

cli_folder::~cli_folder() {
  std::error_code ec;
  if (!dir.empty()) std::filesystem::remove_all(dir, ec);
}

std::string cli_folder::build(const nlohmann::json& spec, const std::string& name) {
  const std::string s = (dir / (name + ".json")).string(), file = (dir / name).string();
  std::ofstream(s) << spec.dump();
  std::filesystem::remove(file);
  auto b = run_cli({"build", s, "-o", file});
  EXPECT_EQ(b.exit_code, 0) << b.err;
  return file;
}

std::size_t cli_folder::files() const {
  return std::size_t(std::distance(std::filesystem::directory_iterator(dir), {}));
}

std::string file_bytes(const std::string& path) { return slurp(path); }

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::stringstream in(text);
  std::string line;
  while (std::getline(in, line)) out.push_back(line);
  return out;
}

void expect_same_lines(const std::string& got, const std::string& expected) {
  const auto g = lines_of(got), e = lines_of(expected);
  for (std::size_t i = 0; i < std::max(g.size(), e.size()); ++i)
    EXPECT_EQ(i < g.size() ? g[i] : "<none>", i < e.size() ? e[i] : "<none>") << "line " << i + 1;
}

} // namespace kovra::test
