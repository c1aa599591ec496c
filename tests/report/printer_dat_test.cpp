// The printer definition file: the shipped file, the format rules and every error the
// reader reports.
#include "report/printer_dat.h"
#include "shell/messages.h"
#include "shell/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace kovra::report;

namespace {

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string block(const std::string& name, int lines = 22) {
  std::string b = "#" + name + "\n";
  for (int i = 0; i < lines; ++i) b += std::to_string(i + 1) + "\n";
  return b;
}

printer_dat_error error_of(const std::string& text) {
  auto r = parse_printer_dat(text);
  EXPECT_FALSE(r.definitions.has_value());
  return r.error;
}

} // namespace

TEST(PrinterDat, ShippedFileDefinesTheGenericModels) {
  auto r = parse_printer_dat(read_file(std::string(KOVRA_SOURCE_DIR) + "/data/printer.dat"));
  ASSERT_TRUE(r.definitions) << "message " << r.error.message << " line " << r.error.line << " " << r.error.name;
  const printer_definitions& d = *r.definitions;
  std::vector<std::string> makers;
  for (const auto& m : d.makers) makers.push_back(m.name);
  EXPECT_EQ(makers, (std::vector<std::string>{"Epson", "HP", "IBM", "Ogolne"}));

  const printer_model* epson9 = d.find_model("ESC/P_9-igl._(FX,_LX)");
  ASSERT_NE(epson9, nullptr);
  EXPECT_EQ(epson9->name, "ESC/P 9-igl. (FX, LX)");
  EXPECT_EQ(epson9->kind, PRINTER_DOT);
  const printer_codes& c = d.codes_of(*epson9);
  EXPECT_EQ(c[SLOT_PAGE_END], "\f");
  EXPECT_EQ(c[SLOT_RESET], "\x1b@");
  EXPECT_EQ(c[SLOT_EMPHASIS_ON], "\x1b" "E");
  EXPECT_EQ(c[SLOT_LEFT_MARGIN_FORMAT], "\x1bl%c\x1bQ%c");
  EXPECT_TRUE(c[0].empty());

  const printer_model* laser = d.find_model("laserjet (pcl 5)");
  ASSERT_NE(laser, nullptr);
  EXPECT_EQ(laser->kind, PRINTER_LASER);
  EXPECT_EQ(laser->paper, PAPER_CUT_SHEET);
  EXPECT_EQ(laser->letters, LETTERS_LATIN2);
  EXPECT_EQ(d.codes_of(*laser)[SLOT_LINE_SPACING_FORMAT], "\x1b&l%dD");

  for (const char* name : {"ESC/P2 24-igl. (LQ)", "Proprinter", "Atramentowa (PCL 3)", "Tekst bez kodow"})
    EXPECT_NE(d.find_model(name), nullptr) << name;
  const printer_model* plain = d.find_model("Tekst bez kodow");
  ASSERT_NE(plain, nullptr);
  int used = 0;
  for (const auto& code : d.codes_of(*plain)) used += code.empty() ? 0 : 1;
  EXPECT_EQ(used, 1);
}

TEST(PrinterDat, DefinitionRules) {
  const std::string text =
      "// comment line\n"
      "\n"
      "   315   // format\n"
      "acme  Fast_Jet_2  blk  load_font  cut_sheet  laser  mazovia  extra tokens\n"
      "ACME  Alpha       BLK  DONT_LOAD  CHOOSE     Dot    Latin2\n"
      "Beta  Zed         other DONT_LOAD CHOOSE     INK    ascii\n"
      "#blk\n" +
      std::string("27 64 // reset\n") + "-\n" +
      "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21\n"
      "#OTHER\n"
      "12\n";
  auto r = parse_printer_dat(text);
  ASSERT_TRUE(r.definitions);
  const auto& d = *r.definitions;
  ASSERT_EQ(d.makers.size(), 2u);  // "acme" and "ACME" are one manufacturer
  EXPECT_EQ(d.makers[0].name, "acme");
  ASSERT_EQ(d.makers[0].models.size(), 2u);
  EXPECT_EQ(d.makers[0].models[0].name, "Alpha");  // sorted by name
  const printer_model& jet = d.makers[0].models[1];
  EXPECT_EQ(jet.name, "Fast Jet 2");
  EXPECT_EQ(jet.font, FONT_LOAD);
  EXPECT_EQ(jet.paper, PAPER_CUT_SHEET);
  EXPECT_EQ(jet.kind, PRINTER_LASER);
  EXPECT_EQ(jet.letters, LETTERS_MAZOVIA);
  EXPECT_EQ(d.makers[0].models[0].code_block, jet.code_block);  // "blk" and "BLK" are one block
  EXPECT_EQ(d.makers[1].models[0].kind, PRINTER_INK);
  EXPECT_EQ(d.makers[1].models[0].letters, LETTERS_ASCII);

  const printer_codes& c = d.codes_of(jet);
  EXPECT_EQ(c[0], "\x1b@");
  EXPECT_EQ(c[1], "");
  ASSERT_EQ(c[2].size(), 19u);  // a code keeps its first 19 numbers
  EXPECT_EQ(c[2].back(), char(19));
  EXPECT_EQ(c[3], "");  // the "#OTHER" line ended the block
  const auto& other = d.blocks[std::size_t(d.makers[1].models[0].code_block)];
  EXPECT_EQ(other.codes[0], "\f");
  EXPECT_EQ(text.compare(other.position, 3, "12\n"), 0);
}

TEST(PrinterDat, CodeBlockLimits) {
  std::string text = "315\nM N B DONT_LOAD CHOOSE DOT CHOOSE\n" + block("B", 30);
  // A repeated block: the first one stands.
  text += "#b\n99\n";
  auto r = parse_printer_dat(text);
  ASSERT_TRUE(r.definitions);
  const auto& c = r.definitions->blocks[0].codes;
  EXPECT_EQ(c[0], std::string(1, char(1)));
  EXPECT_EQ(c[21], std::string(1, char(22)));  // 22 lines read, the rest ignored

  // A physical line longer than 199 characters is cut there.
  std::string long_line = "7 8" + std::string(196, ' ') + "9";
  auto cut = parse_printer_dat("315\nM N B DONT_LOAD CHOOSE DOT CHOOSE\n#B\n" + long_line + "\n");
  ASSERT_TRUE(cut.definitions);
  EXPECT_EQ(cut.definitions->blocks[0].codes[0], "\x07\x08");
}

TEST(PrinterDat, FormatNumberErrors) {
  EXPECT_EQ(error_of("").message, 21);
  EXPECT_EQ(error_of("// only comments\n\n").message, 21);
  EXPECT_EQ(error_of("316\n").message, 21);
  EXPECT_EQ(error_of("315 1\n").message, 21);
  EXPECT_EQ(error_of("M N B DONT_LOAD CHOOSE DOT CHOOSE\n315\n").message, 21);
  EXPECT_TRUE(parse_printer_dat("315\n").definitions);  // no printers is not an error
}

TEST(PrinterDat, FieldErrorsNameTheFieldAndThePhysicalLine) {
  struct field_case {
    const char* line;
    const char* field;
  };
  const field_case cases[] = {
      {"Epson", "NazwaDrukarki"},
      {"Epson FX", "KOD"},
      {"Epson FX B", "Font"},
      {"Epson FX B LOAD", "Font"},
      {"Epson FX B LOAD_FONT", "Papier"},
      {"Epson FX B LOAD_FONT A4", "Papier"},
      {"Epson FX B LOAD_FONT CHOOSE", "Grafika"},
      {"Epson FX B LOAD_FONT CHOOSE COLOR", "Grafika"},
      {"Epson FX B LOAD_FONT CHOOSE DOT", "PolskieZnaki"},
      {"Epson FX B LOAD_FONT CHOOSE DOT UTF8", "PolskieZnaki"},
  };
  for (const auto& c : cases) {
    // Comments and blank lines count: the bad line is physical line 6.
    auto e = error_of("// printers\n315\n\nM N B DONT_LOAD CHOOSE DOT CHOOSE\n   // none\n" + std::string(c.line) +
                      "\n" + block("B"));
    EXPECT_EQ(e.message, 24) << c.line;
    EXPECT_EQ(e.line, 6) << c.line;
    EXPECT_EQ(e.name, c.field) << c.line;
  }
}

TEST(PrinterDat, CodeErrors) {
  const std::string head = "315\nM N B DONT_LOAD CHOOSE DOT CHOOSE\n#B\n";
  for (const char* bad : {"256", "27 x", "-1", "1000", "0x1B"}) {
    auto e = error_of(head + "12\n" + bad + "\n");
    EXPECT_EQ(e.message, 24) << bad;
    EXPECT_EQ(e.line, 5) << bad;
    EXPECT_EQ(e.name, "KOD") << bad;
  }
  // Numbers past the 19th are not read, so they cannot be wrong.
  std::string line;
  for (int i = 0; i < 19; ++i) line += "1 ";
  EXPECT_TRUE(parse_printer_dat(head + line + "junk\n").definitions);

  // After the first "#" line a printer line is a code line, and not a valid one.
  auto late = error_of(head + "12\nM2 N2 B DONT_LOAD CHOOSE DOT CHOOSE\n");
  EXPECT_EQ(late.line, 5);
  EXPECT_EQ(late.name, "KOD");

  auto missing = error_of("315\nM N B DONT_LOAD CHOOSE DOT CHOOSE\nM O Other DONT_LOAD CHOOSE DOT CHOOSE\n#B\n1\n");
  EXPECT_EQ(missing.message, 23);
  EXPECT_EQ(missing.name, "Other");

  EXPECT_EQ(error_of(std::string(printer_dat_max_size + 1, ' ')).message, 22);
}

TEST(PrinterDat, LoadReportsThroughTheCatalogue) {
  kovra::test::temp_folder dir;
  kovra::shell::recording_message_sink sink;
  kovra::shell::set_message_sink(&sink);

  EXPECT_FALSE(load_printer_dat(dir.path() + "printer.dat"));
  ASSERT_EQ(sink.requests().size(), 1u);
  EXPECT_EQ(sink.requests()[0].number, 20);
  EXPECT_NE(sink.requests()[0].text.find(dir.path() + "printer.dat"), std::string::npos);

  const std::string path = dir.path() + "bad.dat";
  std::ofstream(path) << "315\nM N B DONT_LOAD CHOOSE TOASTER CHOOSE\n#B\n";
  sink.clear();
  EXPECT_FALSE(load_printer_dat(path));
  ASSERT_EQ(sink.requests().size(), 1u);
  EXPECT_EQ(sink.requests()[0].number, 24);
  EXPECT_EQ(sink.requests()[0].text,
            "Błąd danych w linii 2 pole \"Grafika\".\nPlik \"" + path + "\" jest uszkodzony.");

  std::ofstream(path) << "315\nM N B DONT_LOAD CHOOSE DOT CHOOSE\n#B\n12\n";
  sink.clear();
  auto d = load_printer_dat(path);
  EXPECT_TRUE(d);
  EXPECT_TRUE(sink.requests().empty());
  kovra::shell::set_message_sink(nullptr);
}
