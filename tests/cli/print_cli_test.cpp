// kovra-cli print: the estimate printout in text mode compared line by line with texts written
// by hand from the layout, the page structure of a paginated printout, the PDF output and the
// command's contract (exit codes, OUT never left half written).
#include "cli/cli_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cmath>
#include <filesystem>
#include <regex>
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

// FORMUŁA II, full layout, R, M, S apart, the default options but the formula texts.
const char* const formula_two_full = R"(

                           K O S Z T O R Y S


|Opis pozycji                                | Jedn. | Norma  |   Ilość   |  Cena   |              Wartość              |
|podstawy nakładów                           |       |        |           |         |-----------------------------------|
|wyliczenie ilości robót                     |       |        |           |         | Robocizna | Materiały |  Sprzęt   |
-------------------------------------------------------------------------------------------------------------------------
|1                                                                                                                      |
|Fundamenty                                                                                                             |
=========================================================================================================================
|1 KNR 202/1101/1                            |       |        |           |         |           |           |           |
|Beton                                       |m3     |        |     ~10.00|         |           |           |           |
|Ława 2*5                                    |       |        |       10.0|         |           |           |           |
|Robotnicy                                   |r-g    |       2|         20|    30.00|     600.00|           |           |
|Beton B20                                   |m3     |       1|         10|   200.00|           |   2 000.00|           |
|                                                                                   ------------------------------------|
|                                                                           Razem:  |     600.00|   2 000.00|           |
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
|1                                                                                                                      |
|Fundamenty                                                                                                             |
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


// A compound estimate of one internal chapter taken twice: the chapter's quantities and values
// double (R 1 200.00, M 4 000.00, Kp 600.00, net 5 800.00, VAT 1 334.00).
json small_compound() {
  json chapter_doc = small_estimate(0);
  chapter_doc.erase("header");
  json spec = {{"header", {{"file_type", 2}, {"version", 800}, {"kind", 2}, {"compressed", true}}},
               {"general", {{"name", "Osiedle"}, {"estimate_date", "261209"}, {"calc_method", 0}}},
               {"additions", json::array()},
               {"overheads", small_estimate(0)["overheads"]},
               {"chapters",
                {{{"number", "1"}, {"storage_name", "internal"}, {"quantity", 2.0}, {"precision_code", 3},
                  {"document", chapter_doc}}}}};
  return spec;
}

bool has_line(const std::string& text, const std::string& line) {
  for (const auto& l : lines_of(text))
    if (l == line) return true;
  return false;
}

TEST(PrintCli, CompoundPrintsEachConstituentWithItsMultiplier) {
  cli_folder dir;
  const std::string file = dir.build(small_compound(), "c.kvr");
  const auto r = run_cli({"print", file, "--format", "utf8", "--endless", "--option", "5:Drukuj formuły narzutów=off",
                          "-o", dir / "c.txt"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string t = file_bytes(dir / "c.txt");
  EXPECT_NE(t.find("1  Garaż\n"), std::string::npos);
  EXPECT_TRUE(has_line(t, "|Beton                                       |m3     |        |     ~20.00|         |           |           |           |"));
  EXPECT_TRUE(has_line(t, "|Robotnicy                                   |r-g    |       2|         40|    30.00|   1 200.00|           |           |"));
  EXPECT_TRUE(has_line(t, "|                        Podsumowanie rozdziału                         |   Razem   | Robocizna | Materiały |  Sprzęt   |"));
  // The compound's own summary: the chapters' VAT under its own label.
  EXPECT_TRUE(has_line(t, "|                        Podsumowanie kosztorysu                        |   Razem   | Robocizna | Materiały |  Sprzęt   |"));
  EXPECT_TRUE(has_line(t, "|                                                     VAT (z rozdziałów)|   1 334.00|                                   |"));
  EXPECT_TRUE(has_line(t, "|                                                        Wartość brutto:|   7 134.00|                                   |"));
}

// The investor table beside the standard one: Kp 70% of R+S, profit 10% on R+Kp, VAT 8%.
json investor_overheads() {
  json rows = json::array();
  for (int i = 0; i < 12; ++i) rows.push_back({{"name", ""}, {"rates", {-1, -1, -1, -1, -1, -1, -1}}});
  rows[1] = {{"name", "Koszty pośrednie"}, {"rates", {70, -1, 0, -1, -1, -1, -1}}};
  rows[2] = {{"name", "Zysk"}, {"rates", {10, -1, -1, -1, -1, 10, -1}}};
  rows[11] = {{"name", "VAT"}, {"rates", {-1, -1, -1, -1, -1, -1, 8}}};
  return {{"rows", rows}, {"kp_plus_cz", 0}, {"kp_plus_ws", 0}, {"z_plus_cz", 0}, {"z_plus_ws", 0}};
}

TEST(PrintCli, PrintingWithUpzpTakesTheInvestorTable) {
  // A FORMUŁA II estimate printed with UPZP: per unit R 60, M 200, Kp 70% of 60 = 42,
  // Z 10% of R+Kp = 10.20, unit 312.20, net 3 122.00, VAT 8% 249.76, gross 3 371.76 (its
  // own table would give 2 900.00 and 3 567.00). The file stays as it was.
  cli_folder dir;
  json doc = small_estimate(0);
  doc["investor_overheads"] = investor_overheads();
  const std::string file = dir.build(doc, "u.kvr");
  const std::string before = file_bytes(file);
  const std::vector<std::string> upzp = {"--option", "5:zgodne z ustawieniami w kosztorysie=off", "--option",
                                         "5:Inwestorska UPZP=on", "--option", "5:Drukuj formuły narzutów=off"};
  std::vector<std::string> args = {"print", file, "--format", "utf8", "--endless", "-o", dir / "u.txt"};
  args.insert(args.end(), upzp.begin(), upzp.end());
  auto r = run_cli(args);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  std::string t = file_bytes(dir / "u.txt");
  EXPECT_TRUE(has_line(t, "|                                                                                                       Zysk|      10.20|"));
  EXPECT_TRUE(has_line(t, "|                                                                                             Wartość netto:|   3 122.00|"));
  EXPECT_TRUE(has_line(t, "|                                                                                                        VAT|     249.76|"));
  EXPECT_TRUE(has_line(t, "|                                                                                            Wartość brutto:|   3 371.76|"));
  EXPECT_EQ(file_bytes(file), before);

  // Back: a UPZP estimate printed with FORMUŁA II takes its standard table, Kp 50% of R:
  // 10 x (260 + 30) = 2 900.00, VAT 23% 667.00.
  json back = small_estimate(2);
  back["standard_overheads"] = back["overheads"];
  back["overheads"] = investor_overheads();
  const std::string bfile = dir.build(back, "b.kvr");
  r = run_cli({"print", bfile, "--format", "utf8", "--endless", "-o", dir / "b.txt", "--option",
               "5:zgodne z ustawieniami w kosztorysie=off", "--option", "5:FORMUŁA II=on"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  t = file_bytes(dir / "b.txt");
  EXPECT_TRUE(has_line(t, "|                                                         Wartość netto:|   2 900.00|                                   |"));
  EXPECT_TRUE(has_line(t, "|                                                                    VAT|     667.00|                                   |"));

  // A compound: its chapter (quantity 2) switches as well: net 6 244.00, VAT 499.52.
  json c = small_compound();
  c["chapters"][0]["document"]["investor_overheads"] = investor_overheads();
  const std::string cfile = dir.build(c, "uc.kvr");
  args = {"print", cfile, "--format", "utf8", "--endless", "-o", dir / "uc.txt"};
  args.insert(args.end(), upzp.begin(), upzp.end());
  r = run_cli(args);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  t = file_bytes(dir / "uc.txt");
  EXPECT_TRUE(has_line(t, "|                                                                                             Wartość netto:|   6 244.00|"));
  EXPECT_TRUE(has_line(t, "|                                                                                         VAT (z rozdziałów)|     499.52|"));
  EXPECT_TRUE(has_line(t, "|                                                                                            Wartość brutto:|   6 743.52|"));
}

std::vector<std::string> split_pages(const std::string& text) {
  std::vector<std::string> pages;
  std::size_t start = 0;
  for (std::size_t ff; (ff = text.find('\f', start)) != std::string::npos; start = ff + 1)
    pages.push_back(text.substr(start, ff - start));
  if (start < text.size()) pages.push_back(text.substr(start));
  return pages;
}

TEST(PrintCli, PagesCarryTheirNumberLineAndRepeatTheTableHeading) {
  cli_folder dir;
  const std::string file = dir.build(small_estimate(0), "p.kvr");
  // A bottom margin of 240 mm leaves 8 * 57 / 25.4 = 17 lines a page at 8 lpi.
  const auto r = run_cli({"print", file, "--format", "utf8", "--option", "1:Dolny=240", "-o", dir / "p.txt"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto pages = split_pages(file_bytes(dir / "p.txt"));
  ASSERT_GE(pages.size(), 3u);
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const auto l = lines_of(pages[i]);
    ASSERT_GE(l.size(), 7u) << "page " << i + 1;
    EXPECT_LE(l.size(), 2u + 17u) << "page " << i + 1;  // two top blank lines, not counted
    EXPECT_EQ(l[0], "");
    EXPECT_EQ(l[1], "");
    char number[32];
    std::snprintf(number, sizeof number, "strona nr %3d", int(i + 1));
    EXPECT_EQ(l[2].rfind("Zbiór: p", 0), 0u) << l[2];
    EXPECT_EQ(l[2].substr(l[2].size() - 13), number);
    EXPECT_EQ(l[3].rfind("Garaż", 0), 0u) << l[3];
    EXPECT_EQ(l[3].substr(l[3].size() - 8), "09/12/26");
    EXPECT_EQ(l[4], std::string(120, '-'));
    EXPECT_EQ(l[5], "");
    // A page that goes on with the table repeats its heading; summary tables suspend it.
    if (i > 0 && pages[i].find("|Robotnicy") != std::string::npos)
      EXPECT_EQ(l[6].rfind("|Opis pozycji", 0), 0u) << "page " << i + 1 << ": " << l[6];
  }

  // A page range gives exactly those pages.
  ASSERT_EQ(run_cli({"print", file, "--format", "utf8", "--option", "1:Dolny=240", "--pages", "2-2", "-o",
                     dir / "p2.txt"}).exit_code, 0);
  EXPECT_EQ(file_bytes(dir / "p2.txt"), pages[1] + "\f");
}

TEST(PrintCli, PdfHoldsThePagesAndTotals) {
  cli_folder dir;
  const std::string file = dir.build(small_estimate(0), "g.kvr");
  const auto r = run_cli({"print", file, "--format", "pdf", "-o", dir / "g.pdf"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  FILE* info = ::popen(("pdfinfo " + dir / "g.pdf" + " 2>/dev/null").c_str(), "r");
  ASSERT_NE(info, nullptr);
  std::string out;
  char buf[512];
  while (std::fgets(buf, sizeof buf, info)) out += buf;
  ::pclose(info);
  if (out.empty()) GTEST_SKIP() << "pdfinfo is not installed";
  EXPECT_NE(out.find("Pages:           1"), std::string::npos) << out;
  FILE* text = ::popen(("pdftotext -layout " + dir / "g.pdf" + " - 2>/dev/null").c_str(), "r");
  out.clear();
  while (std::fgets(buf, sizeof buf, text)) out += buf;
  ::pclose(text);
  for (const char* t : {"Kosztorys", "Robotnicy", "Beton B20", "Podsumowanie kosztorysu", "Wartość brutto:", "3 567.00"})
    EXPECT_NE(out.find(t), std::string::npos) << t;
}

std::string command_output(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    ::pclose(p);
  }
  return out;
}
TEST(PrintCli, GraphicValueLinesStandInTheTablesColumns) {
  cli_folder dir;
  const std::string file = dir.build(small_estimate(0), "a.kvr");
  ASSERT_EQ(run_cli({"print", file, "--format", "pdf", "-o", dir / "a.pdf"}).exit_code, 0);
  const std::string xml = command_output("pdftotext -bbox " + dir / "a.pdf" + " - 2>/dev/null");
  if (xml.empty()) GTEST_SKIP() << "pdftotext is not installed";
  struct word {
    double x_max, y_min;
    std::string text;
  };
  std::vector<word> words;
  const std::regex re(R"re(<word xMin="[0-9.]+" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="[0-9.]+">([^<]*)</word>)re");
  for (auto it = std::sregex_iterator(xml.begin(), xml.end(), re); it != std::sregex_iterator(); ++it)
    words.push_back({std::stod((*it)[2]), std::stod((*it)[1]), (*it)[3]});
  auto first = [&](const std::string& t) {
    for (const word& w : words)
      if (w.text == t) return w;
    return word{-1, -1, ""};
  };
  auto on_line_of = [&](const word& at, const std::string& t) {
    for (const word& w : words)
      if (w.text == t && std::abs(w.y_min - at.y_min) < 1) return w;
    return word{-1, -1, ""};
  };
  // The position's net value ends where the labour value of its input line ends: both stand
  // in the "Robocizna" column.
  const word labour = on_line_of(first("Robotnicy"), "600.00");
  const word net = on_line_of(first("netto:"), "900.00");
  ASSERT_GT(labour.x_max, 0);
  ASSERT_GT(net.x_max, 0);
  EXPECT_NEAR(net.x_max, labour.x_max, 0.5);
  // The table's header stands once on the page: the summaries after it do not repeat it.
  int headers = 0;
  for (const word& w : words) headers += w.text == "Norma";
  EXPECT_EQ(headers, 1);
}

TEST(PrintCli, FollowsTheContract) {
  cli_folder dir;
  const std::string file = dir.build(small_estimate(0), "k.kvr");
  const std::string before = file_bytes(file);
  EXPECT_EQ(run_cli({"print", file, "--option", "40:Nie ma takiej=on", "-o", dir / "a.txt"}).exit_code, 64);
  EXPECT_EQ(run_cli({"print", file, "--option", "40:Pełny=maybe", "-o", dir / "a.txt"}).exit_code, 64);
  EXPECT_EQ(run_cli({"print", file, "--format", "pdf", "--endless", "-o", dir / "a.txt"}).exit_code, 64);
  EXPECT_EQ(run_cli({"print", dir / "none.kvr", "-o", dir / "a.txt"}).exit_code, 2);
  // Pages beyond the printout: a failure, and no output left behind.
  const auto r = run_cli({"print", file, "--format", "text", "--pages", "5-6", "-o", dir / "a.txt"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "a.txt"));
  EXPECT_EQ(run_cli({"print", file, "--format", "pdf", "--pages", "5-6", "-o", dir / "a.pdf"}).exit_code, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "a.pdf"));
  EXPECT_EQ(file_bytes(file), before);
  // "text" is the plain file in the configured code page; "printer" keeps the control codes.
  ASSERT_EQ(run_cli({"print", file, "--format", "text", "-o", dir / "t.txt"}).exit_code, 0);
  ASSERT_EQ(run_cli({"print", file, "--format", "printer", "-o", dir / "t.prn"}).exit_code, 0);
  EXPECT_EQ(file_bytes(dir / "t.txt").find('\x1b'), std::string::npos);
  EXPECT_NE(file_bytes(dir / "t.txt").find("|Robotnicy"), std::string::npos);
}


TEST(PrintCli, OptionEdgeCases) {
  cli_folder dir;
  const std::string file = dir.build(small_estimate(0), "e.kvr");
  {
    // Without prices: no summary table, and the kind subtotals of one value column are rules.
    const auto r = run_cli({"print", file, "--format", "utf8", "--endless", "--option", "5:Bez cen i wartości=on",
                            "--option", "40:RMS razem=on", "-o", dir / "n.txt"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const std::string t = file_bytes(dir / "n.txt");
    EXPECT_EQ(t.find("Podsumowanie"), std::string::npos);
    EXPECT_EQ(t.find("Razem"), std::string::npos);
    EXPECT_EQ(t.find("600.00"), std::string::npos);
    const std::string rule = "|" + std::string(107, ' ') + std::string(12, '-') + "|";
    int rules = 0;
    for (const auto& l : lines_of(t)) rules += l == rule;
    EXPECT_EQ(rules, 2);  // after the labour and after the materials
  }
  {
    // Quantities per element unit: the suffix centred under the title, the summaries' net and
    // gross labels per unit.
    const auto r = run_cli({"print", file, "--format", "utf8", "--endless", "--option",
                            "5:Ilości na jednostkę elementu=on", "-o", dir / "u.txt"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const auto l = lines_of(file_bytes(dir / "u.txt"));
    ASSERT_GE(l.size(), 8u);
    EXPECT_EQ(l[5], std::string(24, ' ') + "(na jednostkę elementu)");
    EXPECT_EQ(l[6], "");
    EXPECT_EQ(l[7].rfind("|Opis pozycji", 0), 0u);
    EXPECT_TRUE(has_line(file_bytes(dir / "u.txt"),
                         "|" + std::string(42, ' ') + "Wartość netto (na jednostkę):|   2 900.00|" + std::string(35, ' ') + "|"));
  }
  {
    // "Nie pokazuj VAT w pozycjach": the graphic printout shows the net line only, the text
    // printout the VAT and gross lines as well.
    const std::vector<std::string> hide = {"--option", "40:Nie pokazuj VAT w pozycjach=on"};
    auto args = std::vector<std::string>{"print", file, "--format", "utf8", "--endless", "-o", dir / "v.txt"};
    args.insert(args.end(), hide.begin(), hide.end());
    ASSERT_EQ(run_cli(args).exit_code, 0);
    EXPECT_NE(file_bytes(dir / "v.txt").find("Wartość pozycji brutto:|   3 567.00|"), std::string::npos);
    args = {"print", file, "--format", "pdf", "-o", dir / "v.pdf"};
    args.insert(args.end(), hide.begin(), hide.end());
    ASSERT_EQ(run_cli(args).exit_code, 0);
    const std::string pdf = command_output("pdftotext -layout " + dir / "v.pdf" + " - 2>/dev/null");
    if (pdf.empty()) GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_NE(pdf.find("Wartość pozycji netto"), std::string::npos);
    EXPECT_EQ(pdf.find("Wartość pozycji brutto"), std::string::npos);
  }
}

TEST(PrintCli, CoefficientLinesOfThePositionHeading) {
  cli_folder dir;
  json spec = small_estimate(0);
  spec["nodes"][1]["coef_r"] = 1.2;
  spec["nodes"][1]["coef_text_r"] = "Utrudnienia zimowe";
  const std::string file = dir.build(spec, "k.kvr");
  const auto r = run_cli({"print", file, "--format", "utf8", "--endless", "--option", "40:RMS razem=on", "-o",
                          dir / "k.txt"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  // The three coefficients, then the named one: its name padded to 47 before "=" and the value;
  // labour 2 * 1.2 * 10 = 24 r-g.
  const std::string cols = "|       |        |           |         |           |";
  EXPECT_TRUE(has_line(file_bytes(dir / "k.txt"), "|R= 1.200   M= 1.000   S= 1.000" + std::string(38, ' ') + cols));
  EXPECT_TRUE(has_line(file_bytes(dir / "k.txt"),
                       "|R: Utrudnienia zimowe" + std::string(29, ' ') + "= 1.200" + std::string(11, ' ') +
                           "|m3     |        |     ~10.00|         |           |"));
  EXPECT_NE(file_bytes(dir / "k.txt").find("|Robotnicy" + std::string(59, ' ') + "|r-g    |       2|         24|"),
            std::string::npos);
}

TEST(PrintCli, ScaffoldingInBothLayouts) {
  cli_folder dir;
  json spec = small_estimate(0);
  // 20 r-g of the concrete work on S = 4 scaffolds of W = 2.5: working time 20 / 10 * 1 = 2,
  // one set of 3 scaffolds: 6 m-g at 10.00 = 60.00 of equipment.
  spec["nodes"].push_back({{"type", 6}, {"level", 1}, {"number", "2"}, {"unit", "m2"}, {"description", "Rusztowanie"},
                           {"scaffold_input_id", 300}, {"scaffold_input_sub", 0}, {"scaffold_w", 2.5},
                           {"scaffold_s", 4}, {"scaffold_p", 1.0}, {"scaffold_sets", 1}, {"scaffolds_per_set", 3.0},
                           {"scaffold_k", 1}, {"scaffold_count_code", 1}, {"unit2", "m2"}, {"links", {1}}});
  spec["prices"].push_back({{"kind", 2}, {"id", 300}, {"sub", 0}, {"unit", "m-g"}, {"name", "Rusztowanie rurowe"},
                            {"price", 10.0}, {"base_price", 10.0}, {"kz_mode", 0}, {"kz_value", 0},
                            {"base_material", 0}, {"mp_mode", 0}});
  const std::string file = dir.build(spec, "s.kvr");
  ASSERT_EQ(run_cli({"print", file, "--format", "utf8", "--endless", "-o", dir / "full.txt"}).exit_code, 0);
  const std::string full = file_bytes(dir / "full.txt");
  const std::string blank_values = "|       |        |           |         |           |           |           |";
  for (const std::string& line :
       {"|1 Beton" + std::string(37, ' ') + "|       |        |         20|         |           |           |           |",
        "|Razem (r-g)" + std::string(33, ' ') + "|       |        |         20|         |           |           |           |",
        "|S=4  W=2.50  P=1.00  IR=(1*3.00/1)=3.0" + std::string(6, ' ') + blank_values,
        "|Czas pracy=r-g/(S*W)*P=20/(4*2.50)*1.00=2" + std::string(3, ' ') + blank_values,
        "|Praca rusztowania" + std::string(27, ' ') + "|m-g    |       2|          2|    10.00|           |           |      60.00|"})
    EXPECT_TRUE(has_line(full, line)) << line;
  // The unit-price row: its machine hours in the quantity column.
  ASSERT_EQ(run_cli({"print", file, "--format", "utf8", "--endless", "--option", "40:Uproszczony=on", "-o",
                     dir / "unit.txt"}).exit_code, 0);
  EXPECT_TRUE(has_line(file_bytes(dir / "unit.txt"), "|Rusztowanie" + std::string(43, ' ') +
                                                         "|         6.000|     |m-g    |           |           |      60.00|"));
}

TEST(PrintCli, ElementsFromANewPage) {
  cli_folder dir;
  json spec = small_estimate(0);
  json second = spec["nodes"][0];
  second["number"] = "2";
  second["description"] = "Sciany";
  json position = spec["nodes"][1];
  position["number"] = "2";
  spec["nodes"].push_back(second);
  spec["nodes"].push_back(position);
  const std::string file = dir.build(spec, "two.kvr");
  auto page_of = [](const std::vector<std::string>& pages, const std::string& text) {
    for (std::size_t i = 0; i < pages.size(); ++i)
      if (pages[i].find(text) != std::string::npos) return int(i);
    return -1;
  };
  for (const bool on : {false, true}) {
    std::vector<std::string> args = {"print", file, "--format", "utf8", "-o", dir / "two.txt"};
    if (on) args.insert(args.end(), {"--option", "5:Elementy od nowej strony=on"});
    ASSERT_EQ(run_cli(args).exit_code, 0);
    const auto pages = split_pages(file_bytes(dir / "two.txt"));
    // The first element stays with the part's heading; the second starts a page when asked.
    EXPECT_EQ(page_of(pages, "|Fundamenty"), 0);
    EXPECT_EQ(page_of(pages, "K O S Z T O R Y S"), 0);
    EXPECT_EQ(page_of(pages, "|Sciany"), on ? 1 : 0);
  }
}

}  // namespace
}  // namespace kovra::test
