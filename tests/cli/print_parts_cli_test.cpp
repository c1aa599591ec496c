// kovra-cli print of the parts beyond the estimate: the bill of quantities and the summaries
// compared line by line with texts written by hand from their layouts, the title page's values
// and amount in words, a compound estimate's per-constituent summaries, and the PDF of every
// part through pdftotext.
#include "cli/cli_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <sstream>

namespace kovra::test {
namespace {

using nlohmann::json;

// One element with one position: 10 m3 of concrete work from the survey line "Ława 2*5",
// 2 r-g of labour at 30.00 and 1 m3 of concrete at 200.00 per unit; Kp 50 % of R, VAT 23 %.
json estimate_doc() {
  json rows = json::array();
  for (int i = 0; i < 12; ++i) rows.push_back({{"name", ""}, {"rates", {-1, -1, -1, -1, -1, -1, -1}}});
  rows[1] = {{"name", "Koszty pośrednie"}, {"rates", {50, -1, -1, -1, -1, -1, -1}}};
  rows[11] = {{"name", "VAT"}, {"rates", {-1, -1, -1, -1, -1, -1, 23}}};
  auto entry = [](int kind, int id, double norm) {
    return json{{"kind", kind}, {"id", id}, {"sub", 0}, {"norm", norm}, {"coef", 1.0}, {"excluded", 0}, {"mp_mode", 0},
                {"blocked", 0}};
  };
  json position = {{"type", 1},  {"level", 1}, {"number", "1"}, {"unit", "m3"}, {"description", "Beton"},
                   {"catalogue_name", "KNR"}, {"catalogue_number", 202}, {"table_number", 1101},
                   {"column_number", 1}, {"quantity", 10.0}, {"precision_code", 1}, {"multiplicity", 1.0},
                   {"inputs", {{"current", 0},
                               {"variants", {{{"name", ""}, {"short_name", ""},
                                              {"entries", {entry(0, 999, 2.0), entry(1, 100, 1.0)}}}}}}},
                   {"survey", {{{"description", "Ława"}, {"expression", "2*5"}, {"value", 10.0}, {"flags", 0}}}}};
  auto price = [](int kind, int id, const char* unit, const char* name, double p) {
    return json{{"kind", kind}, {"id", id}, {"sub", 0}, {"unit", unit}, {"name", name}, {"price", p},
                {"base_price", p}, {"kz_mode", 0}, {"kz_value", 0}, {"base_material", 0}, {"mp_mode", 0}};
  };
  return {{"header", {{"file_type", 2}, {"version", 800}, {"kind", 1}, {"compressed", true}}},
          {"general", {{"name", "Garaż"}, {"estimate_date", "261209"}, {"calc_method", 0},
                       {"site_text", "Nadarzyn"}, {"purchase_cost_percent", 0.0}}},
          {"nodes", {{{"type", 0}, {"level", 0}, {"number", "1"}, {"unit", ""}, {"description", "Fundamenty"}},
                     position}},
          {"prices", {price(0, 999, "r-g", "Robotnicy", 30.0), price(1, 100, "m3", "Beton B20", 200.0)}},
          {"additions", json::array()},
          {"overheads", {{"rows", rows}, {"kp_plus_cz", 0}, {"kp_plus_ws", 0}, {"z_plus_cz", 0}, {"z_plus_ws", 0}}}};
}

std::string print_utf8(cli_folder& dir, const std::string& file, std::vector<std::string> args) {
  std::vector<std::string> all = {"print", file, "--format", "utf8", "--endless", "-o", dir / "out.txt"};
  all.insert(all.end(), args.begin(), args.end());
  const auto r = run_cli(all);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  return file_bytes(dir / "out.txt");
}

std::string rule(char c) { return std::string(121, c); }
std::string blanks(int n) { return std::string(std::size_t(n), ' '); }

TEST(PrintPartsCli, BillOfQuantitiesLineForLine) {
  cli_folder dir;
  const std::string file = dir.build(estimate_doc(), "b.kvr");
  // Defaults: survey lines and bases on; the heading's text starts 21 blanks in, 66 wide.
  const std::string expected =
      "\n\n" + blanks(27) + "P R Z E D M I A R\n\n\n"
      "|" + blanks(21) + "Podstawa nakładu, opis pozycji, wyliczenie ilości robót" + blanks(11 + 2 + 1) +
      "|     Ilość    |Krot.| Jedn. |\n" + rule('-') + "\n"
      "|1" + blanks(89) + "|              |     |       |\n"
      "|Fundamenty" + blanks(80) + "|              |     |       |\n" + rule('=') + "\n"
      "|1 KNR 202/1101/1" + blanks(74) + "|              |     |       |\n"
      "|Beton" + blanks(85) + "|        ~10.00|     |m3     |\n"
      "|Ława 2*5" + blanks(82) + "|          10.0|     |       |\n" + rule('-') + "\n";
  expect_same_lines(print_utf8(dir, file, {"--parts", "35"}), expected);

  // Without survey lines and bases: "Opis pozycji", no survey rows, no basis.
  const std::string plain = print_utf8(dir, file, {"--parts", "35", "--option", "35:Z wyliczeniami ilości=off",
                                                   "--option", "35:Z podstawami nakładów=off", "--option",
                                                   "35:Wybierz tytuł=Obmiar"});
  const auto l = lines_of(plain);
  ASSERT_GE(l.size(), 12u);
  EXPECT_EQ(l[2], blanks(30) + "O B M I A R");
  EXPECT_EQ(l[5], "|" + blanks(21) + "Opis pozycji" + blanks(54 + 2 + 1) + "|     Ilość    |Krot.| Jedn. |");
  EXPECT_EQ(l[10], "|1" + blanks(89) + "|              |     |       |");
  EXPECT_EQ(l[11], "|Beton" + blanks(85) + "|        ~10.00|     |m3     |");
  EXPECT_EQ(l[12], rule('-'));
}

TEST(PrintPartsCli, SummariesLineForLine) {
  cli_folder dir;
  const std::string file = dir.build(estimate_doc(), "s.kvr");
  // Labour with the defaults: "Lp." (one digit), leaders, quantities and values: the name
  // field is 68 − 2 + 9 = 75 wide after the number "1.".
  const std::string labour =
      "\n\n" + blanks(15) + "Z E S T A W I E N I E   R O B O C I Z N Y\n\n\n" + rule('-') + "\n"
      "|  Nazwa zawodu" + blanks(63) + "| Jedn. |   Ilość   |  Cena   |  Wartość  |\n" + rule('-') + "\n"
      "|1.Robotnicy " + std::string(65, '.') + "|r-g    |         20|    30.00|     600.00|\n" + rule('-') + "\n"
      "|" + blanks(70) + "Razem (z dokładnością do zaokrągleń):|     600.00|\n";
  expect_same_lines(print_utf8(dir, file, {"--parts", "45"}), labour);

  // Materials with ETO codes, without "Lp." and leaders, priced ones only.
  const std::string materials =
      "\n\n" + blanks(14) + "Z E S T A W I E N I E   M A T E R I A Ł Ó W\n\n\n" + rule('-') + "\n"
      "|Kod ETO |Nazwa materiału" + blanks(53) + "| Jedn. |   Ilość   |  Cena   |  Wartość  |\n" + rule('-') + "\n"
      "|100     |Beton B20" + blanks(59) + "|m3     |         10|   200.00|   2 000.00|\n" + rule('-') + "\n"
      "|" + blanks(70) + "Razem (z dokładnością do zaokrągleń):|   2 000.00|\n";
  expect_same_lines(print_utf8(dir, file, {"--parts", "50", "--option", "50:Z kodami ETO=on", "--option",
                                           "50:Z kolumną Lp.=off", "--option", "50:Ze znakami wiodącymi=off",
                                           "--option", "50:Ceny niezerowe=on"}),
                    materials);

  // Quantities only: the name field is 90 − 2 + 9 = 97 wide; no value lines close it.
  const auto q = lines_of(print_utf8(dir, file, {"--parts", "45", "--option", "45:Nakłady=on"}));
  ASSERT_GE(q.size(), 9u);
  EXPECT_EQ(q[6], "|  Nazwa zawodu" + blanks(85) + "| Jedn. |   Ilość   |");
  EXPECT_EQ(q[8], "|1.Robotnicy " + std::string(87, '.') + "|r-g    |         20|");
  EXPECT_EQ(q.size(), 10u);

  // "Ceny zerowe" with no zero-priced input: the heading and an empty table.
  const auto z = lines_of(print_utf8(dir, file, {"--parts", "45", "--option", "45:Ceny zerowe=on"}));
  ASSERT_EQ(z.size(), 10u);
  EXPECT_EQ(z[8], rule('-'));
  EXPECT_EQ(z[9], "|" + blanks(70) + "Razem (z dokładnością do zaokrągleń):|     600.00|");

  // Investor materials: none in this estimate, the total is blank.
  const auto inv = lines_of(print_utf8(dir, file, {"--parts", "60"}));
  ASSERT_EQ(inv.size(), 10u);
  EXPECT_EQ(inv[9], "|" + blanks(70) + "Razem (z dokładnością do zaokrągleń):|" + blanks(11) + "|");
}

TEST(PrintPartsCli, ElementTableAndDivisionList) {
  cli_folder dir;
  const std::string file = dir.build(estimate_doc(), "e.kvr");
  // Values with overheads in one column: the element 2 900.00, then net, VAT and gross.
  const std::string expected =
      "\n\n" + blanks(10) + "T A B E L A   E L E M E N T Ó W   S C A L O N Y C H\n\n\n"
      "|Nazwa elementu" + blanks(93) + "|  Wartość  |\n|" + blanks(107) + "| z narzut. |\n" + rule('-') + "\n"
      "| 1 Fundamenty" + blanks(94) + "|   2 900.00|\n"
      "|Suma elementów kosztorysu" + blanks(82) + "|   2 900.00|\n" + rule('-') + "\n"
      "|" + blanks(80) + "Wartość kosztorysu netto:  |   2 900.00|\n" + rule('-') + "\n"
      "|" + blanks(101) + "VAT:  |     667.00|\n" + rule('-') + "\n"
      "|" + blanks(79) + "Wartość kosztorysu brutto:  |   3 567.00|\n" + rule('-') + "\n";
  expect_same_lines(print_utf8(dir, file, {"--parts", "70"}), expected);

  // The UPZP method lists the estimate's elements after the bill of quantities.
  json upzp = estimate_doc();
  upzp["general"]["calc_method"] = 2;
  const std::string ufile = dir.build(upzp, "u.kvr");
  const auto l = lines_of(print_utf8(dir, ufile, {"--parts", "35", "--option", "35:Drukuj spis dzialów=on",
                                                  "--option", "35:elementy=on"}));
  ASSERT_GE(l.size(), 6u);
  EXPECT_EQ(l[l.size() - 6], blanks(24) + "S P I S   D Z I A Ł Ó W");
  EXPECT_EQ(l[l.size() - 3], "|Lp." + blanks(17) + "|Nr CPV" + blanks(11) + "|Opis" + blanks(76) + "|");
  EXPECT_EQ(l[l.size() - 2], rule('-'));
  EXPECT_EQ(l[l.size() - 1], "|1" + blanks(19) + "|" + blanks(17) + "|Fundamenty" + blanks(70) + "|");
  // Another method never lists them.
  EXPECT_EQ(print_utf8(dir, file, {"--parts", "35"}).find("S P I S"), std::string::npos);
}

TEST(PrintPartsCli, TitlePageWithValuesAndWords) {
  cli_folder dir;
  const std::string file = dir.build(estimate_doc(), "t.kvr");
  // Net 2 600.00 + Kp 300.00 = 2 900.00; VAT 23 % = 667.00; gross 3 567.00.
  const std::string t = print_utf8(dir, file, {"--parts", "10"});
  const auto l = lines_of(t);
  auto has = [&](const std::string& s) { return std::find(l.begin(), l.end(), s) != l.end(); };
  EXPECT_TRUE(has(blanks(27) + "K O S Z T O R Y S"));
  EXPECT_TRUE(has(blanks(15) + "Data:  09/12/26"));
  EXPECT_TRUE(has(blanks(13) + "Budowa:  Nadarzyn"));
  EXPECT_TRUE(has(" Kwota kosztorysu netto:   2 900.00 zł"));
  EXPECT_TRUE(has(blanks(20) + "VAT:   667.00 zł"));
  EXPECT_TRUE(has(" Kwota kosztorysu brutto:   3 567.00 zł"));
  EXPECT_TRUE(has(blanks(12) + "Słownie:  trzy tysiące pięćset sześćdziesiąt siedem  0/100 zł"));
  EXPECT_EQ(t.find("Obiekt:"), std::string::npos);  // no object: no row
  {
    // A value longer than its column of 100 goes on under it, cut at a word gap.
    json spec = estimate_doc();
    std::string site;
    for (int i = 0; i < 12; ++i) site += "abcdefghi ";
    spec["general"]["site_text"] = site + "koniec";
    const auto s = lines_of(print_utf8(dir, dir.build(spec, "long.kvr"), {"--parts", "10"}));
    const auto at = std::find(s.begin(), s.end(), blanks(13) + "Budowa:  " + site.substr(0, 100));
    ASSERT_NE(at, s.end());
    EXPECT_EQ(*(at + 1), blanks(22) + "abcdefghi abcdefghi koniec");
  }
  const std::string bare = print_utf8(dir, file, {"--parts", "10", "--option", "10:Nie drukuj wartości kosztorysu=on"});
  EXPECT_EQ(bare.find("Kwota"), std::string::npos);
  EXPECT_EQ(bare.find("Słownie"), std::string::npos);

  // Graphic: the name in the second of two columns, the first an eighth of the width (A4,
  // margins of 5 mm: 14.17 pt + 566.66 pt / 8 = 85.0 pt from the page's edge).
  ASSERT_EQ(run_cli({"print", file, "--format", "pdf", "--parts", "10", "--option", "5:Z danych ogólnych=on", "-o",
                     dir / "t.pdf"}).exit_code, 0);
  FILE* p = popen(("pdftotext -bbox " + dir / "t.pdf" + " - 2>/dev/null").c_str(), "r");
  std::string xml;
  char buf[4096];
  while (p && !feof(p)) xml.append(buf, fread(buf, 1, sizeof buf, p));
  if (p) pclose(p);
  if (xml.empty()) GTEST_SKIP() << "pdftotext is not installed";
  const std::size_t at = xml.find(">Garaż<");
  ASSERT_NE(at, std::string::npos);
  const std::size_t x = xml.rfind("xMin=\"", at);
  EXPECT_NEAR(std::stod(xml.substr(x + 6)), 85.0, 3.0);
}

TEST(PrintPartsCli, StatisticsChartAndPrinterMarks) {
  cli_folder dir;
  const std::string file = dir.build(estimate_doc(), "st.kvr");
  // Shares of the gross 3 567.00: labour 600.00 is 16.8 %, eight full bars of 2 %; the axis
  // has one character per 2 % from 0 to 100, a tick at every 20 % (the last under "100").
  const auto l = lines_of(print_utf8(dir, file, {"--parts", "75"}));
  auto has = [&](const std::string& s) { return std::find(l.begin(), l.end(), s) != l.end(); };
  std::string bars;
  for (int i = 0; i < 8; ++i) bars += "\u2588";
  EXPECT_TRUE(has(blanks(31) + "Robocizna      600.00  16.8%   \u2502" + bars));
  std::string axis;
  for (int i = 0; i <= 50; ++i) axis += i % 10 == 0 ? "\u2534" : "\u2500";
  EXPECT_TRUE(has(blanks(61) + axis + "\u2500>"));
  EXPECT_TRUE(has(blanks(61) + "0         20        40        60        80        100"));

  // For a character printer: the title page's name wide and emphasised (DC2, ESC E ... ESC F,
  // SI on a 9-pin Epson), each bar and the axis between ESC G and ESC H.
  ASSERT_EQ(run_cli({"print", file, "--format", "printer", "--printer", "ESC/P_9-igl._(FX,_LX)", "--parts", "10,75",
                     "-o", dir / "st.prn"}).exit_code, 0);
  const std::string prn = file_bytes(dir / "st.prn");
  EXPECT_NE(prn.find("\x12\x1b" "EKosztorys\x1b" "F\x0f\r\n"), std::string::npos);
  EXPECT_NE(prn.find("16.8%  \x1bG \xb3\xdb"), std::string::npos);
  EXPECT_NE(prn.find("\xc4>\x1bH"), std::string::npos);
}

TEST(PrintPartsCli, AnnexesByTheirPagesCaptions) {
  cli_folder dir;
  json upzp = estimate_doc();
  upzp["general"]["calc_method"] = 2;
  upzp["description_text"] = "Opis.\r\n\u00b7\u00b7\u00b7\r\nZałożenia kosztorysu.\r\n\u00b7\u00b7\u00b7\r\nKlauzula.";
  const std::string file = dir.build(upzp, "a.kvr");
  // By default the detail annex alone: the estimate again under the annex's own title, broken
  // at a word gap into lines of at most 72 letter-spaced characters.
  const auto l = lines_of(print_utf8(dir, file, {"--parts", "85"}));
  ASSERT_GE(l.size(), 8u);
  EXPECT_EQ(l[2], blanks(5) + "S P I S   K A L K U L A C J I   S Z C Z E G Ó Ł O W Y C H   -");
  EXPECT_EQ(l[3], blanks(25) + "Z A Ł Ą C Z N I K   1");
  EXPECT_EQ(l[6].rfind("|Opis pozycji", 0), 0u);
  // A merged element: its one-row form in the estimate, its heading alone in the annex.
  json merged = upzp;
  merged["nodes"][0].update({{"merged", 1}, {"merged_quantity", 2.0}, {"merged_precision_code", 1}, {"unit", "kpl"}});
  const std::string mfile = dir.build(merged, "m.kvr");
  EXPECT_NE(print_utf8(dir, mfile, {"--parts", "40"}).find("|Razem element scalony (z narzutami)"), std::string::npos);
  const std::string annex = print_utf8(dir, mfile, {"--parts", "85"});
  EXPECT_EQ(annex.find("Razem element scalony"), std::string::npos);
  EXPECT_NE(annex.find("|Fundamenty"), std::string::npos);
  // The assumptions annex instead, under a title of its own.
  const std::string assumptions =
      "\n\n" + blanks(27) + "Z A Ł O Ż E N I A\n\n\nZałożenia kosztorysu.\n";
  expect_same_lines(print_utf8(dir, file, {"--parts", "85", "--option",
                                           "85:Spis kalkulacji szczegółowych - załącznik 1 / Drukuj=off", "--option",
                                           "85:Założenia - załącznik 2 / Drukuj=on", "--option",
                                           "85:Założenia - załącznik 2 / Wybierz tytuł=Założenia"}),
                    assumptions);
}

TEST(PrintPartsCli, CompoundPrintsSummariesPerConstituent) {
  cli_folder dir;
  json chapter = estimate_doc();
  chapter.erase("header");
  json spec = {{"header", {{"file_type", 2}, {"version", 800}, {"kind", 2}, {"compressed", true}}},
               {"general", {{"name", "Osiedle"}, {"estimate_date", "261209"}, {"calc_method", 0}}},
               {"additions", json::array()},
               {"overheads", estimate_doc()["overheads"]},
               {"chapters", {{{"number", "1"}, {"storage_name", "internal"}, {"quantity", 2.0}, {"precision_code", 3},
                              {"document", chapter}}}}};
  const std::string file = dir.build(spec, "c.kvr");
  // The chapter counts twice: 40 r-g, 1 200.00; the whole summary has no price column.
  const auto whole = lines_of(print_utf8(dir, file, {"--parts", "45"}));
  ASSERT_GE(whole.size(), 10u);
  EXPECT_EQ(whole[6], "|  Nazwa zawodu" + blanks(73) + "| Jedn. |   Ilość   |  Wartość  |");
  EXPECT_EQ(whole[8], "|1.Robotnicy " + std::string(75, '.') + "|r-g    |         40|   1 200.00|");
  const std::string per = print_utf8(dir, file, {"--parts", "145"});
  const auto l = lines_of(per);
  auto has = [&](const std::string& s) { return std::find(l.begin(), l.end(), s) != l.end(); };
  EXPECT_TRUE(has("1  Garaż"));
  EXPECT_TRUE(has("|1.Robotnicy " + std::string(65, '.') + "|r-g    |         40|    30.00|   1 200.00|"));
  EXPECT_TRUE(has("|" + blanks(89) + "Suma z rozdziałów:|   1 200.00|"));
  EXPECT_TRUE(has("|" + blanks(101) + "Razem:|   1 200.00|"));
}

TEST(PrintPartsCli, EveryPartInOnePdf) {
  cli_folder dir;
  const std::string file = dir.build(estimate_doc(), "p.kvr");
  const auto r = run_cli({"print", file, "--format", "pdf", "--parts", "10,30,35,40,45,50,55,60,65,70,75,80,90,100",
                          "-o", dir / "all.pdf"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  FILE* p = popen(("pdftotext -layout " + dir / "all.pdf" + " - 2>/dev/null").c_str(), "r");
  std::string text;
  char buf[4096];
  while (p && !feof(p)) text.append(buf, fread(buf, 1, sizeof buf, p));
  if (p) pclose(p);
  if (text.empty()) GTEST_SKIP() << "pdftotext is not installed";
  for (const char* s : {"Strona tytułowa", "Przedmiar", "Zestawienie robocizny", "Zestawienie materiałów",
                        "Zestawienie sprzętu", "Dodatki", "Tabela elementów scalonych", "Statystyka", "Spis treści",
                        "trzy tysiące pięćset sześćdziesiąt siedem", "3 567.00", "2 000.00",
                        "Robotnicy . . . . . . . . . ."})  // the summaries' leaders
    EXPECT_NE(text.find(s), std::string::npos) << s;
  // The bill of quantities' survey line: its text in the description column, "=", the result.
  EXPECT_TRUE(std::regex_search(text, std::regex("\n {10,}Ława 2\\*5 +=  +10\\.0\n"))) << text;
}

} // namespace
} // namespace kovra::test
