// kovra-cli tree: an estimate opened read-only through the document open, its title and
// tree printed; a protected estimate answered with --password; the file left as it was.
#include "cli_run.h"
#include "shell/users.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

using kovra::test::run_cli;
using nlohmann::json;

namespace {

std::string bytes_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct built_files {
  // A folder of its own: ctest runs the cases of this file side by side.
  std::filesystem::path dir;
  built_files() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kovra_cli_tree_XXXXXX").string();
    if (::mkdtemp(pattern.data())) dir = pattern;
  }
  ~built_files() {
    std::error_code ec;
    if (!dir.empty()) std::filesystem::remove_all(dir, ec);
  }
  std::string build(const json& spec, const std::string& name) {
    const std::string s = (dir / (name + ".json")).string(), file = (dir / name).string();
    std::ofstream(s) << spec.dump();
    std::filesystem::remove(file);
    auto b = run_cli({"build", s, "-o", file});
    EXPECT_EQ(b.exit_code, 0) << b.err;
    return file;
  }
};

json estimate(uint32_t password = 0) {
  json j = json::parse(R"({"general": {"name": "Próba"},
    "nodes": [{"type": 0, "level": 1, "number": "1", "description": "Roboty ziemne"},
              {"type": 1, "level": 2, "number": "1.1", "description": "Wykop ręczny", "quantity": 3},
              {"type": 0, "level": 1, "number": "2", "description": "Ściany"}]})");
  if (password) j["general"]["password"] = password;
  return j;
}

} // namespace

TEST(TreeCommand, PrintsTitleAndIndentedTreeWithoutChangingTheFile) {
  built_files files;
  const std::string file = files.build(estimate(), "est.kvr");
  const std::string before = bytes_of(file);
  auto r = run_cli({"tree", file});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "est.kvr (Tylko do odczytu) (Próba)\n"
                   "1  Roboty ziemne\n"
                   "  1.1  Wykop ręczny\n"
                   "2  Ściany\n");
  EXPECT_TRUE(bytes_of(file) == before);
  EXPECT_FALSE(std::filesystem::exists(files.dir / "est.kv~"));

  EXPECT_EQ(run_cli({"tree", (files.dir / "missing.kvr").string()}).exit_code, 2);
  EXPECT_EQ(run_cli({"tree"}).exit_code, 64);
  EXPECT_EQ(run_cli({"tree", file, "--password"}).exit_code, 64);
}

TEST(TreeCommand, ProtectedEstimateOpensWithItsPasswordOnly) {
  built_files files;
  const std::string file = files.build(estimate(kovra::shell::password_value("tajne")), "haslo.kvr");
  const std::string before = bytes_of(file);
  auto refused = run_cli({"tree", file});
  EXPECT_EQ(refused.exit_code, 2);
  auto wrong = run_cli({"tree", file, "--password", "zle"});
  EXPECT_EQ(wrong.exit_code, 2);
  EXPECT_NE(wrong.err.find("Niepoprawne hasło."), std::string::npos) << wrong.err;
  auto right = run_cli({"tree", "--password=tajne", file});
  ASSERT_EQ(right.exit_code, 0) << right.err;
  EXPECT_EQ(right.out.substr(0, right.out.find('\n')), "haslo.kvr (Tylko do odczytu) (Próba)");
  EXPECT_TRUE(bytes_of(file) == before);
}
