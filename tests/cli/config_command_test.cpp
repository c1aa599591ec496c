#include "cli/cli_run.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using kovra::test::run_cli;

namespace {
struct user_dir {
  std::string path;
  user_dir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kovra_cli_cfg_XXXXXX").string();
    path = ::mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~user_dir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};
} // namespace

TEST(CliConfig, MissingFileIsCreatedAndPrintedThenReadBack) {
  user_dir dir;
  auto first = run_cli({"config", "--user-dir", dir.path});
  ASSERT_EQ(first.exit_code, 0) << first.err;
  EXPECT_EQ(std::filesystem::file_size(dir.path + "/kovra.cfg"), 24088u);
  auto j = nlohmann::json::parse(first.out);
  EXPECT_EQ(j["general"]["catalogue_prefix"], "KNR");
  EXPECT_EQ(j["general"]["total_rounding_step"], 0.01);
  EXPECT_EQ(j["OVRH"]["variants"][0]["name"], "Standard domniemany");
  EXPECT_EQ(j["OVRH"]["variants"][0]["overheads"]["rows"][1]["name"], "Koszty pośrednie");
  EXPECT_EQ(j["OVRI"]["variants"][0]["overheads"]["calc_method"], 2);
  EXPECT_EQ(j["PRNT"]["variants"][0]["print"]["page_range"], "1-9999");
  EXPECT_EQ(j["PRNT"]["variants"][0]["is_current"], false);  // the creating call finds none

  auto second = run_cli({"config", "--user-dir", dir.path});
  ASSERT_EQ(second.exit_code, 0);
  EXPECT_EQ(nlohmann::json::parse(second.out)["PRNT"]["variants"][0]["is_current"], true);
}

TEST(CliConfig, ForeignFileIsRefusedAndLeftAlone) {
  user_dir dir;
  {
    std::ofstream f(dir.path + "/kovra.cfg", std::ios::binary);
    f << std::string(400, 'x');
  }
  auto r = run_cli({"config", "--user-dir", dir.path});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("pochodzi z innego programu"), std::string::npos) << r.err;
  EXPECT_EQ(std::filesystem::file_size(dir.path + "/kovra.cfg"), 400u);
  EXPECT_EQ(run_cli({"config", "--bogus"}).exit_code, 64);
}

TEST(CliConfig, VerifyChecksConfigurationSections) {
  user_dir dir;
  ASSERT_EQ(run_cli({"config", "--user-dir", dir.path}).exit_code, 0);
  std::string cfg = dir.path + "/kovra.cfg";
  auto r = run_cli({"verify", cfg, "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["ok"], true);
  EXPECT_EQ(j["file_type"], 41);
  ASSERT_EQ(j["sections"].size(), 7u);
  EXPECT_EQ(j["sections"][6]["tag"], "CENN");

  std::filesystem::resize_file(cfg, 24088 - 1);
  auto cut = run_cli({"verify", cfg});
  EXPECT_EQ(cut.exit_code, 1);
  EXPECT_NE(cut.out.find("\"CENN\" is cut short"), std::string::npos) << cut.out;
}
