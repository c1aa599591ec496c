#include "cli/cli_run.h"

#include <gtest/gtest.h>

using kovra::test::run_cli;

TEST(CliEval, OneLinePerExpressionSharingVariables) {
  auto r = run_cli({"eval", "a=2,5", "a*4", "sin(30)", "0.1+0.2", "-0"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "0\n10\n0.49999999999999994\n0.30000000000000004\n0\n");
  EXPECT_TRUE(r.err.empty());
}

TEST(CliEval, ErrorsAreNumberedAndSetTheExitCode) {
  auto r = run_cli({"eval", "1/0", "x", "sqrt(-1)", "2#3", "-2^2"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out,
            "error 7: Dzielenie przez zero\n"
            "error 6: Niezdefiniowana zmienna: x\n"
            "error 8: Błędny argument funkcji: sqrt(-1.000000)\n"
            "error 2: Nieznany operator arytmetyczny: #\n"
            "4\n");
}

TEST(CliEval, VariablesListedOnRequest) {
  auto r = run_cli({"eval", "--vars", "dl=4;szer=2,5", "dl*szer", "DL=5"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "0\n10\n0\ndl = 5\nszer = 2.5\n");
}

TEST(CliEval, NoExpressionIsAUsageError) {
  EXPECT_EQ(run_cli({"eval"}).exit_code, 64);
  EXPECT_EQ(run_cli({"eval", "--vars"}).exit_code, 64);
}
