// kovra-cli build, dump and recalc on estimate files: the file gives what its JSON gives.
#include "cli_run.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

using kovra::test::run_cli;
using nlohmann::json;

TEST(DocumentCommands, BuiltFileRecalculatesLikeItsJsonAndDumpsBack) {
  const auto dir = std::filesystem::temp_directory_path() / "kovra_cli_doc";
  std::filesystem::create_directories(dir);
  const std::string spec = (dir / "spec.json").string(), file = (dir / "est.kvr").string();
  std::ofstream(spec) << R"({"general": {"name": "Próba", "calc_method": 1},
    "prices": [{"kind": 2, "id": 7, "sub": 0, "unit": "t", "price": 400, "name": "Cement"}],
    "nodes": [{"type": 0, "level": 1, "number": "1", "description": "Roboty"},
              {"type": 1, "level": 2, "number": "1.1", "description": "Beton", "quantity": 3,
               "inputs": {"current": 0, "variants": [{"name": "", "entries": [{"kind": 2, "id": 7, "sub": 0, "norm": 0.5}]}]}}]})";
  std::filesystem::remove(file);
  auto b = run_cli({"build", spec, "-o", file});
  ASSERT_EQ(b.exit_code, 0) << b.err;
  auto from_file = run_cli({"recalc", file, "--json"});
  auto from_json = run_cli({"recalc", spec, "--json"});
  ASSERT_EQ(from_file.exit_code, 0) << from_file.err;
  json a = json::parse(from_file.out), c = json::parse(from_json.out);
  EXPECT_EQ(a["totals"], c["totals"]);
  EXPECT_EQ(a["nodes"].size(), c["nodes"].size());
  auto d = run_cli({"dump", file});
  ASSERT_EQ(d.exit_code, 0) << d.err;
  EXPECT_EQ(json::parse(d.out)["nodes"].size(), 2u);
  EXPECT_EQ(run_cli({"dump", (dir / "missing.kvr").string()}).exit_code, 2);
  EXPECT_EQ(run_cli({"build", spec}).exit_code, 64);
  std::filesystem::remove_all(dir);
}
