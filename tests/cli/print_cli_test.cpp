// kovra-cli print: the estimate printout in text mode compared line by line with texts written
// by hand from the layout, the page structure of a paginated printout, the PDF output and the
// command's contract (exit codes, OUT never left half written).
#include "cli/cli_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace kovra::test {
namespace {

using nlohmann::json;

// One element with one position of two inputs: 20 r-g of labour at 30.00 and 10 m3 of
// concrete at 200.00 for 10 m3 of work (from one survey line); Kp 50% of R, VAT 23%.
json small_estimate(int calc_method) {
  json rows = json::array();
  for (int i = 0; i < 12; ++i) rows.push_back({{"name", ""}, {"rates", {-1, -1, -1, -1, -1, -1, -1}}});
  rows[1] = {{"name", "Koszty pośrednie"}, {"rates", {50, -1, -1, -1, -1, -1, -1}}};
  rows[11] = {{"name", "VAT"}, {"rates", {-1, -1, -1, -1, -1, -1, 23}}};
  json position = {{"type", 1},
                   {"level", 1},
                   {"number", "1"},
                   {"unit", "m3"},
                   {"description", "Beton"},
                   {"catalogue_name", "KNR"},
                   {"catalogue_number", 202},
                   {"table_number", 1101},
                   {"column_number", 1},
                   {"quantity", 10.0},
                   {"precision_code", 1},
                   {"multiplicity", 1.0},
                   {"inputs",
                    {{"current", 0},
                     {"variants",
                      {{{"name", ""},
                        {"short_name", ""},
                        {"entries",
                         {{{"kind", 0}, {"id", 999}, {"sub", 0}, {"norm", 2.0}, {"coef", 1.0}, {"excluded", 0},
                           {"mp_mode", 0}, {"blocked", 0}},
                          {{"kind", 1}, {"id", 100}, {"sub", 0}, {"norm", 1.0}, {"coef", 1.0}, {"excluded", 0},
                           {"mp_mode", 0}, {"blocked", 0}}}}}}}}},
                   {"survey", {{{"description", "Ława"}, {"expression", "2*5"}, {"value", 10.0}, {"flags", 0}}}}};
  return {{"header", {{"file_type", 2}, {"version", 800}, {"kind", 1}, {"compressed", true}}},
          {"general", {{"name", "Garaż"}, {"estimate_date", "261209"}, {"calc_method", calc_method},
                       {"purchase_cost_percent", 0.0}}},
          {"nodes", {{{"type", 0}, {"level", 0}, {"number", "1"}, {"unit", ""}, {"description", "Fundamenty"}},
                     position}},
          {"prices",
           {{{"kind", 0}, {"id", 999}, {"sub", 0}, {"unit", "r-g"}, {"name", "Robotnicy"}, {"price", 30.0},
             {"base_price", 30.0}, {"kz_mode", 0}, {"kz_value", 0}, {"base_material", 0}, {"mp_mode", 0}},
            {{"kind", 1}, {"id", 100}, {"sub", 0}, {"unit", "m3"}, {"name", "Beton B20"}, {"price", 200.0},
             {"base_price", 200.0}, {"kz_mode", 0}, {"kz_value", 0}, {"base_material", 0}, {"mp_mode", 0}}}},
          {"additions", json::array()},
          {"overheads", {{"rows", rows}, {"kp_plus_cz", 0}, {"kp_plus_ws", 0}, {"z_plus_cz", 0}, {"z_plus_ws", 0}}}};
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::stringstream in(text);
  std::string line;
  while (std::getline(in, line)) out.push_back(line);
  return out;
}

void expect_same_lines(const std::string& got, const std::string& expected) {
  const auto g = lines_of(got), e = lines_of(expected);
  for (std::size_t i = 0; i < std::max(g.size(), e.size()); ++i) {
    const std::string a = i < g.size() ? g[i] : "<none>", b = i < e.size() ? e[i] : "<none>";
    EXPECT_EQ(a, b) << "line " << i + 1;
  }
}

// FORMUŁA II, full layout, R, M, S apart, the default options but the formula texts.
const char* const formula_two_full = R"(

                           K O S Z T O R Y S


|Opis pozycji                                | Jedn. | Norma  |   Ilość   |  Cena   |              Wartość              |
|podstawy nakładów                           |       |        |           |         |-----------------------------------|
|wyliczenie ilości robót                     |       |        |           |         | Robocizna | Materiały |  Sprzęt   |
-------------------------------------------------------------------------------------------------------------------------
|1                                           |       |        |           |         |           |           |           |
|Fundamenty                                  |       |        |           |         |           |           |           |
=========================================================================================================================
|1 KNR 202/1101/1                            |       |        |           |         |           |           |           |
|Beton                                       |m3     |        |     ~10.00|         |           |           |           |
|Ława 2*5                                    |       |        |       10.0|         |           |           |           |
|Robotnicy                                   |r-g    |       2|         20|    30.00|     600.00|           |           |
|Beton B20                                   |m3     |       1|         10|   200.00|           |   2 000.00|           |
|                                                                                   ------------------------------------|
|                                                                             Razem:|     600.00|   2 000.00|           |
|                                                               Razem (z narzutami):|     900.00|   2 000.00|           |
|                                                 Wartość pozycji netto:|   2 900.00|                                   |
|                                                                   VAT:|     667.00|                                   |
|                                                Wartość pozycji brutto:|   3 567.00|                                   |
-------------------------------------------------------------------------------------------------------------------------
|                         Podsumowanie elementu                         |   Razem   | Robocizna | Materiały |  Sprzęt   |
-------------------------------------------------------------------------------------------------------------------------
|Koszty bezpośrednie                                                    |   2 600.00|     600.00|   2 000.00|           |
|Koszty pośrednie                                                       |     300.00|     300.00|           |           |
-------------------------------------------------------------------------------------------------------------------------
|Ogółem Fundamenty                                                      |   2 900.00|     900.00|   2 000.00|           |
-------------------------------------------------------------------------------------------------------------------------
-------------------------------------------------------------------------------------------------------------------------
|                        Podsumowanie kosztorysu                        |   Razem   | Robocizna | Materiały |  Sprzęt   |
-------------------------------------------------------------------------------------------------------------------------
|Koszty bezpośrednie                                                    |   2 600.00|     600.00|   2 000.00|           |
|Koszty pośrednie                                                       |     300.00|     300.00|           |           |
-------------------------------------------------------------------------------------------------------------------------
|Razem                                                                  |   2 900.00|     900.00|   2 000.00|           |
-------------------------------------------------------------------------------------------------------------------------
|                                                         Wartość netto:|   2 900.00|                                   |
-------------------------------------------------------------------------------------------------------------------------
|                                                                    VAT|     667.00|                                   |
-------------------------------------------------------------------------------------------------------------------------
|                                                        Wartość brutto:|   3 567.00|                                   |
-------------------------------------------------------------------------------------------------------------------------
)";

// FORMUŁA I, unit-price layout: per unit 60.00 R + 30.00 Kp + 200.00 M = 290.00, ten units.
const char* const formula_one_unit_price = R"(

               K O S Z T O R Y S   I N W E S T O R S K I


|Element, asortyment, rodzaj robót, pozycja przedmiarowa           | Jedn. |Krot.|     Ilość    |  Wartość  |  Wartość  |
|podstawy nakładów                                                 |       |     |              |jednostkowa|  netto    |
-------------------------------------------------------------------------------------------------------------------------
|1                                                                 |       |     |              |           |           |
|Fundamenty                                                        |       |     |              |           |           |
=========================================================================================================================
|1 KNR 202/1101/1                                                  |       |     |              |           |           |
|Beton                                                             |m3     |     |        ~10.00|     290.00|   2 900.00|
-------------------------------------------------------------------------------------------------------------------------
|                                           Podsumowanie elementu                                           |   Razem   |
-------------------------------------------------------------------------------------------------------------------------
|Ogółem Fundamenty                                                                                          |   2 900.00|
-------------------------------------------------------------------------------------------------------------------------
-------------------------------------------------------------------------------------------------------------------------
|                                          Podsumowanie kosztorysu                                          |   Razem   |
-------------------------------------------------------------------------------------------------------------------------
|Razem                                                                                                      |   2 900.00|
-------------------------------------------------------------------------------------------------------------------------
|                                                                                             Wartość netto:|   2 900.00|
-------------------------------------------------------------------------------------------------------------------------
|                                                                                                        VAT|     667.00|
-------------------------------------------------------------------------------------------------------------------------
|                                                                                            Wartość brutto:|   3 567.00|
-------------------------------------------------------------------------------------------------------------------------
)";

TEST(PrintCli, TextLayoutsLineForLine) {
  cli_folder dir;
  {
    const std::string file = dir.build(small_estimate(0), "f2.kvr");
    const auto r = run_cli({"print", file, "--format", "utf8", "--endless", "--option", "5:Drukuj formuły narzutów=off",
                            "-o", dir / "f2.txt"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    expect_same_lines(file_bytes(dir / "f2.txt"), formula_two_full);
  }
  {
    const std::string file = dir.build(small_estimate(1), "f1.kvr");
    const auto r = run_cli({"print", file, "--format", "utf8", "--endless", "--option", "40:Uproszczony=on", "--option",
                            "5:Drukuj formuły narzutów=off", "-o", dir / "f1.txt"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    expect_same_lines(file_bytes(dir / "f1.txt"), formula_one_unit_price);
  }
}

}  // namespace
}  // namespace kovra::test
