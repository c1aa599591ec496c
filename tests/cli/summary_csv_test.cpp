// kovra-cli summary --format csv: the rows of the summary for spreadsheets.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/cli_run.h"

using kovra::test::run_cli;

// A position of 2.5 with two trades, a material and a machine:
//   "Betoniarz "B"" 0.5 × 2.5 = 1.25 r-g × 35.50 = 44.375 → 44.38; "Murarze, gr. II"
//   1.2 × 2.5 = 3 r-g × 40.00 = 120.00; labour 164.38 for 4.25 r-g;
//   concrete 1.02 × 2.5 = 2.55 m3 × 250.00 = 637.50; mixer 0.1 × 2.5 = 0.25 m-g × 80.00 = 20.00.
TEST(CliSummaryCsv, RowsInNameOrderQuotedWhereNeededWithTheClosingLines) {
  kovra::test::cli_folder dir;
  const std::string kvr = dir.build(nlohmann::json::parse(R"({
    "general": {"name": "CSV"},
    "prices": [{"id": 1, "unit": "r-g", "name": "Murarze, gr. II", "price": 40},
               {"id": 7, "unit": "r-g", "name": "Betoniarz \"B\"", "price": 35.5},
               {"kind": 1, "id": 2, "unit": "m3", "name": "Beton", "price": 250},
               {"kind": 2, "id": 3, "unit": "m-g", "name": "Betoniarka", "price": 80}],
    "nodes": [{"type": 0, "number": "1"},
              {"type": 1, "number": "1", "quantity": 2.5,
               "inputs": {"variants": [{"entries": [{"kind": 0, "id": 1, "norm": 1.2}, {"kind": 0, "id": 7, "norm": 0.5},
                                                    {"kind": 1, "id": 2, "norm": 1.02}, {"kind": 2, "id": 3, "norm": 0.1}]}]}}]})"),
                                    "csv.kvr");
  const std::string header = "Lp.,Kod,Nazwa,Jedn.,Ilość,Cena,Wartość\r\n";
  auto r = run_cli({"summary", kvr, "--kind", "R", "--format", "csv"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, header +
                       "1,7,\"Betoniarz \"\"B\"\"\",r-g,1.25,35.50,44.38\r\n"
                       "2,1,\"Murarze, gr. II\",r-g,3,40.00,120.00\r\n"
                       ",,Uproszczone :,,,,0.00\r\n"
                       ",,Razem (z dokładnością do zaokrągleń):,,4.25,,164.38\r\n");
  r = run_cli({"summary", kvr, "--kind", "M", "--format", "csv"});
  EXPECT_EQ(r.out, header +
                       "1,2,Beton,m3,2.55,250.00,637.50\r\n"
                       ",,Uproszczone :,,,,0.00\r\n"
                       ",,Materiały pomocnicze (Robocizna):,,,,0.00\r\n"
                       ",,Materiały pomocnicze (Materiały):,,,,0.00\r\n"
                       ",,Razem (z dokładnością do zaokrągleń):,,,,637.50\r\n");
  r = run_cli({"summary", kvr, "--kind", "S", "--format", "csv"});
  EXPECT_EQ(r.out.substr(0, header.size()), header);
  EXPECT_NE(r.out.find("\r\n1,3,Betoniarka,m-g,0.25,80.00,20.00\r\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\r\n,,Razem (z dokładnością do zaokrągleń):,,0.25,,20.00\r\n"), std::string::npos) << r.out;
  // The text form is untouched; an unknown format is a usage error.
  EXPECT_EQ(run_cli({"summary", kvr, "--kind", "R", "--format", "text"}).out, run_cli({"summary", kvr, "--kind", "R"}).out);
  EXPECT_EQ(run_cli({"summary", kvr, "--kind", "R", "--format", "xls"}).exit_code, 64);
}
