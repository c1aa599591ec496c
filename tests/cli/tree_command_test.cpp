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

using built_files = kovra::test::cli_folder;
const auto& bytes_of = kovra::test::file_bytes;

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

TEST(TreeCommand, ProtectedExternalChapterShowsForItsPasswordOnly) {
  built_files files;
  auto compound = [](uint32_t password) {
    json chapter = estimate(kovra::shell::password_value("tajne"));
    chapter["general"]["name"] = "Zewnętrzny";
    json j = {{"general", {{"name", "Złożony"}}},
              {"chapters", json::array({{{"number", "1"}, {"storage_name", "external"}, {"path", "a.kvr"},
                                         {"quantity", 1}, {"document", chapter}}})}};
    if (password) j["general"]["password"] = password;
    return j;
  };
  const std::string file = files.build(compound(0), "z.kvr");
  const std::string chapter_before = bytes_of((files.dir / "a.kvr").string());
  auto without = run_cli({"tree", file});
  ASSERT_EQ(without.exit_code, 0) << without.err;
  EXPECT_EQ(without.out.find("Wykop"), std::string::npos) << without.out;
  auto with = run_cli({"tree", file, "--password", "tajne"});
  ASSERT_EQ(with.exit_code, 0) << with.err;
  EXPECT_NE(with.out.find("1  Zewnętrzny"), std::string::npos) << with.out;
  EXPECT_NE(with.out.find("Wykop ręczny"), std::string::npos) << with.out;
  // The one answer serves a protected compound and its protected chapter alike.
  const std::string both = files.build(compound(kovra::shell::password_value("tajne")), "zz.kvr");
  auto twice = run_cli({"tree", both, "--password=tajne"});
  ASSERT_EQ(twice.exit_code, 0) << twice.err;
  EXPECT_NE(twice.out.find("Wykop ręczny"), std::string::npos) << twice.out;
  EXPECT_TRUE(bytes_of((files.dir / "a.kvr").string()) == chapter_before);
}
