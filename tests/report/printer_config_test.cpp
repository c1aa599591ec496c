// "prnconf.cfg" and the page geometry and setting codes derived from it.
#include "report/printer_code_format.h"
#include "report/printer_config.h"
#include "report/printer_dat.h"
#include "shell/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace kovra::report;

namespace {

printer_config sample() {
  printer_config c;
  c.port = 2;
  c.model_name = "LaserJet (PCL 5)";
  c.paper = PAPER_CUT_SHEET;
  c.font = FONT_LOAD;
  c.kind = PRINTER_LASER;
  c.letters = LETTERS_LATIN2;
  c.right_margin = 12;
  c.code_page = 2;
  c.lines_per_page = 84;
  c.left_margin = 20;
  c.top_margin = 15;
  c.bottom_margin = 10;
  c.paper_length = PAPER_12_INCH;
  c.density = DENSITY_4_LPI;
  c.codes[1] = "\f";
  c.codes[10] = std::string("\x1b&a%dL");
  c.codes[21] = std::string(19, '\0');
  return c;
}

void write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string as_string(const printer_config_bytes& b) { return std::string(b.begin(), b.end()); }

} // namespace

TEST(PrinterConfig, LayoutAndRoundTrip) {
  const printer_config c = sample();
  const printer_config_bytes b = encode_printer_config(c);
  EXPECT_EQ(b[0] | (b[1] << 8), 315);
  EXPECT_EQ(b[2], 2);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[8])), "LaserJet (PCL 5)");
  EXPECT_EQ(b[42], PRINTER_LASER);
  EXPECT_EQ(b[56], 2);
  EXPECT_EQ(b[58], 84);
  EXPECT_EQ(b[66], PAPER_12_INCH);
  EXPECT_EQ(b[68], DENSITY_4_LPI);
  EXPECT_EQ(b[72 + 20 * 1], 1);  // code 1: length, then the bytes
  EXPECT_EQ(b[72 + 20 * 1 + 1], '\f');
  EXPECT_EQ(b[72 + 20 * 10], 6);
  EXPECT_EQ(b[72 + 20 * 21], 19);

  auto back = decode_printer_config(b.data(), b.size());
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, c);
}

TEST(PrinterConfig, DamagedContentIsRejected) {
  const printer_config_bytes good = encode_printer_config(sample());
  EXPECT_FALSE(decode_printer_config(good.data(), 511));
  auto damaged = [&](std::size_t at, uint8_t value) {
    printer_config_bytes b = good;
    b[at] = value;
    return !decode_printer_config(b.data(), b.size()).has_value();
  };
  EXPECT_TRUE(damaged(0, 0x3C));        // format number
  EXPECT_TRUE(damaged(2, 4));           // port
  EXPECT_TRUE(damaged(56, 4));          // code page
  EXPECT_TRUE(damaged(58, 0));          // no lines per page
  EXPECT_TRUE(damaged(59, 0x80));       // negative lines per page
  EXPECT_TRUE(damaged(68, 7));          // density
  EXPECT_TRUE(damaged(72 + 20 * 3, 20));  // a code longer than its 19 bytes
  printer_config_bytes unterminated = good;
  for (int i = 0; i < 30; ++i) unterminated[8 + std::size_t(i)] = 'x';
  EXPECT_FALSE(decode_printer_config(unterminated.data(), unterminated.size()));
  EXPECT_FALSE(damaged(4, 9));  // reserved bytes are not checked
}

TEST(PrinterConfig, ReadingReplacesADamagedFileWithDefaults) {
  kovra::test::temp_folder dir;
  const std::string path = dir.path() + "prnconf.cfg";

  auto missing = read_printer_config(path);
  EXPECT_EQ(missing.source, printer_config_source::missing);
  EXPECT_EQ(missing.config, printer_config{});
  EXPECT_EQ(missing.config.lines_per_page, 66);

  ASSERT_TRUE(write_printer_config(path, sample()));
  EXPECT_EQ(std::filesystem::file_size(path), 512u);
  auto read = read_printer_config(path);
  EXPECT_EQ(read.source, printer_config_source::file);
  EXPECT_EQ(read.config, sample());

  printer_config no_such_port = sample();
  no_such_port.port = 9;  // 512 bytes starting with 315, and still not a configuration
  for (std::string bad : {as_string(encode_printer_config(sample())).substr(0, 511),
                          as_string(encode_printer_config(sample())) + "x", std::string(512, '\0'),
                          as_string(encode_printer_config(no_such_port))}) {
    write_bytes(path, bad);
    auto r = read_printer_config(path);
    EXPECT_EQ(r.source, printer_config_source::replaced) << bad.size();
    EXPECT_EQ(r.config, printer_config{});
    EXPECT_FALSE(std::filesystem::exists(path));
  }

  // A file that cannot be read is not a damaged one: it stays, and the defaults are used.
  std::filesystem::create_directory(path);
  EXPECT_EQ(read_printer_config(path).source, printer_config_source::unreadable);
  EXPECT_TRUE(std::filesystem::is_directory(path));
  std::filesystem::remove(path);
  ASSERT_TRUE(write_printer_config(path, sample()));
  if (::geteuid() != 0) {
    ::chmod(path.c_str(), 0);
    auto locked = read_printer_config(path);
    EXPECT_EQ(locked.source, printer_config_source::unreadable);
    EXPECT_EQ(locked.config, printer_config{});
    EXPECT_TRUE(std::filesystem::exists(path));
    ::chmod(path.c_str(), 0644);
  }
  // The start-up step fills the configuration text printing uses.
  EXPECT_EQ(load_current_printer_config(path), printer_config_source::file);
  EXPECT_EQ(current_printer_config(), sample());
  reset_current_printer_config();
  EXPECT_EQ(current_printer_config(), printer_config{});

  // A run that switched to Win ANSI for a Windows file and was cut short.
  printer_config left_over = sample();
  left_over.saved_code_page = 1 + 1;
  left_over.code_page = 3;
  write_printer_config(path, left_over);
  auto restored = read_printer_config(path);
  EXPECT_EQ(restored.config.code_page, 1);
  EXPECT_EQ(restored.config.saved_code_page, 0);
}

TEST(PrinterConfig, LinesPerPage) {
  struct lines_case {
    int kind, paper, bottom, density, expected;
  };
  const lines_case cases[] = {
      {PRINTER_DOT, PAPER_A4, 0, DENSITY_8_LPI, 93},       // 8 * 297 / 25.4 = 93.5
      {PRINTER_DOT, PAPER_A4, 0, DENSITY_6_LPI, 70},       // 6 * 297 / 25.4 = 70.2
      {PRINTER_DOT, PAPER_12_INCH, 0, DENSITY_6_LPI, 72},  // 6 * 305 / 25.4 = 72.04
      {PRINTER_DOT, PAPER_11_INCH, 10, DENSITY_4_LPI, 84}, // 8 * 269 / 25.4 = 84.7
      {PRINTER_LASER, PAPER_A4, 0, DENSITY_8_LPI, 84},     // 0.315 * 267 = 84.1
      {PRINTER_LASER, PAPER_A4, 25, DENSITY_8_LPI, 80},    // 0.315 * 257 = 80.96
      {PRINTER_LASER, PAPER_A4, 10, DENSITY_3_LPI, 63},    // 0.236 * 267 = 63.01
      {PRINTER_INK, PAPER_A4, 0, DENSITY_8_LPI, 89},       // 0.353 * 255 = 90.02: 90 less one
      {PRINTER_INK, PAPER_A4, 0, DENSITY_6_LPI, 59},       // 0.235 * 255 = 59.9
      {PRINTER_INK, PAPER_12_INCH, 37, DENSITY_6_LPI, 59}, // 0.235 * 256 = 60.2: 60 less one
      {PRINTER_INK, PAPER_12_INCH, 40, DENSITY_8_LPI, 89}, // 0.353 * 253 = 89.3
      {PRINTER_DOT, PAPER_A4, 400, DENSITY_8_LPI, 1},      // margin past the paper: one line
  };
  for (const auto& c : cases)
    EXPECT_EQ(compute_lines_per_page(c.kind, c.paper, c.bottom, c.density), c.expected)
        << c.kind << " " << c.paper << " " << c.bottom << " " << c.density;
}

TEST(PrinterConfig, MarginsInColumnsAndLines) {
  printer_config c;
  c.left_margin = 10;
  c.kind = PRINTER_DOT;
  EXPECT_EQ(left_margin_columns(c), 7);  // 10 * 17 / 25.4 = 6.7
  c.kind = PRINTER_LASER;
  EXPECT_EQ(left_margin_columns(c), 3);  // 4 * 17 / 25.4 = 2.7
  c.left_margin = 3;
  EXPECT_EQ(left_margin_columns(c), 0);

  c.kind = PRINTER_DOT;
  c.top_margin = 20;
  c.density = DENSITY_8_LPI;
  EXPECT_EQ(top_blank_lines(c), 6);  // 20 * 0.315 + 0.5 = 6.8
  c.kind = PRINTER_LASER;
  c.top_margin = 10;
  c.density = DENSITY_6_LPI;
  EXPECT_EQ(top_blank_lines(c), 0);  // below the laser's own 15 mm
  c.kind = PRINTER_INK;
  c.top_margin = 30;
  c.density = DENSITY_4_LPI;
  EXPECT_EQ(top_blank_lines(c), 6);  // 18 * 0.353 + 0.5 = 6.85
}

TEST(PrinterConfig, SettingCodesFromTemplates) {
  printer_config c;
  c.left_margin = 10;
  c.codes[SLOT_LEFT_MARGIN_FORMAT] = "\x1bl%c\x1bQ%c";
  c.codes[SLOT_LINE_SPACING_FORMAT] = "\x1b" "0";
  build_setting_codes(c);
  EXPECT_EQ(c.codes[SLOT_LEFT_MARGIN], std::string("\x1bl\x07\x1bQ") + char(128));
  EXPECT_EQ(c.codes[SLOT_LINE_SPACING], "\x1b" "0");

  c.kind = PRINTER_INK;
  c.codes[SLOT_LEFT_MARGIN_FORMAT] = "\x1b&a%dL";
  c.codes[SLOT_LINE_SPACING_FORMAT] = "\x1b&l%dD";
  build_setting_codes(c);
  EXPECT_EQ(c.codes[SLOT_LEFT_MARGIN], "\x1b&a3L");
  EXPECT_EQ(c.codes[SLOT_LINE_SPACING], "\x1b&l9D");  // ink-jets at 8 lpi use 9
  c.density = DENSITY_3_LPI;
  build_setting_codes(c);
  EXPECT_EQ(c.codes[SLOT_LINE_SPACING], "\x1b&l6D");

  // A template that wants a second value from a laser printer cannot be used.
  c.kind = PRINTER_LASER;
  c.codes[SLOT_LEFT_MARGIN] = "old";
  c.codes[SLOT_LEFT_MARGIN_FORMAT] = "%d %d";
  build_setting_codes(c);
  EXPECT_EQ(c.codes[SLOT_LEFT_MARGIN], "");
}

TEST(PrinterCodeFormat, OnlyIntegerConversionsAreTaken) {
  EXPECT_EQ(format_printer_code("\x1b&a%dL", {12}), "\x1b&a12L");
  EXPECT_EQ(format_printer_code("%03d|%-3d|%x|%%", {7, 5, 255}), "007|5  |ff|%");
  EXPECT_EQ(format_printer_code("A%cB", {0}), std::string("A\0B", 3));
  EXPECT_EQ(format_printer_code("%c", {300}), std::string(1, char(44)));
  EXPECT_EQ(format_printer_code("none", {1, 2}), "none");
  for (const char* hostile : {"%s", "%n", "%*d", "%.3d", "%f", "%ld%", "%d%d", "%", "%99d", "%20d"})
    EXPECT_FALSE(format_printer_code(hostile, {1})) << hostile;
  EXPECT_FALSE(format_printer_code("%d%d%d%d%d%d%d", {10000, 10000, 10000, 10000, 10000, 10000, 10000}));
}

TEST(PrinterConfig, ChoosingAModel) {
  printer_config c;
  c.paper_length = PAPER_12_INCH;
  c.code_page = 0;
  c.codes[5] = "stale";
  printer_model m;
  m.name = std::string(40, 'N');
  m.paper = PAPER_CUT_SHEET;
  m.kind = PRINTER_LASER;
  m.letters = LETTERS_LATIN2;
  printer_codes codes{};
  codes[1] = "\f";
  choose_printer_model(c, m, codes);
  EXPECT_EQ(c.model_name.size(), 29u);
  EXPECT_EQ(c.paper_length, PAPER_A4);
  EXPECT_EQ(c.code_page, 2);
  EXPECT_EQ(c.lines_per_page, 84);
  EXPECT_EQ(c.codes[1], "\f");
  EXPECT_EQ(c.codes[5], "");

  m.letters = LETTERS_CHOOSE;
  c.code_page = 3;
  choose_printer_model(c, m, codes);
  EXPECT_EQ(c.code_page, 3);  // the user's choice stands
}
