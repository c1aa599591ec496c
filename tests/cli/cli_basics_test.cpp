#include "cli/cli_run.h"

#include <gtest/gtest.h>
#include <regex>

using kovra::test::run_cli;

TEST(CliBasics, VersionPrintsTheVersionStamp) {
  auto r = run_cli({"--version"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_TRUE(std::regex_match(r.out, std::regex("Kovra - kosztorys v\\.8\\.[0-9]{2}\n"))) << r.out;
}

TEST(CliBasics, UnknownCommandAndEmptyLineAreUsageErrors) {
  auto unknown = run_cli({"no-such-command"});
  EXPECT_EQ(unknown.exit_code, 64);
  EXPECT_TRUE(unknown.out.empty());
  EXPECT_NE(unknown.err.find("no-such-command"), std::string::npos);
  EXPECT_EQ(run_cli({}).exit_code, 64);
}
