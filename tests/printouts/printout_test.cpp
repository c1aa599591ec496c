// The shared pieces of the printouts: options read by name from the print settings, the page
// range rules, the parts the dispatcher runs, and the graphic table whose rules must stand
// where the measured columns put them.
#include "document/estimate_file.h"
#include "printouts/graphic_sink.h"
#include "printouts/print_dispatcher.h"
#include "printouts/print_document.h"
#include "printouts/print_options.h"
#include "printouts/table_layout.h"
#include "report/report_gui.h"
#include "report/report_output.h"
#include "report/report_tables.h"
#include "shell/print_block.h"
#include "shell/print_look.h"
#include "shell/temp_folder.h"
#include "store/codepage.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <QImage>
#include <QPrinter>

#include <cstdio>
#include <filesystem>

namespace kovra::printouts {
namespace {

namespace po = shell::print_offset;

void put16(shell::print_block& b, std::size_t offset, int v) {
  b[offset] = uint8_t(v & 0xff);
  b[offset + 1] = uint8_t((v >> 8) & 0xff);
}

TEST(PrintOptions, PageRangeAndNumbersBelowOne) {
  struct range_case {
    const char* text;
    int first_page_number, first, last;
  } cases[] = {
      {"2-4", 1, 2, 4},   {"4", 1, 4, 4},        {"", 1, 1, 1},     {"0-20000", 1, 1, 9999},
      {"-5", 1, 1, 5},    {"3-", 1, 3, 1},       {"2-4", 5, 5, 4},  {" 7 - 9 ", 1, 7, 9},
      {"x-3", 1, 9999, 3},
  };
  for (const auto& c : cases) {
    const page_range r = parse_page_range(c.text, c.first_page_number);
    EXPECT_EQ(r.first, c.first) << c.text;
    EXPECT_EQ(r.last, c.last) << c.text;
  }
  shell::print_block b = shell::default_print_block();
  put16(b, po::copies, 0);
  put16(b, po::first_page_number, -3);
  device_options d = read_device_options(b.data());
  EXPECT_EQ(d.copies, 1);
  EXPECT_EQ(d.first_page_number, 1);
  put16(b, po::first_page_number, 3);
  d = read_device_options(b.data());
  const page_range whole = page_range_of(d);  // "Cały dokument": the first page number to 9999
  EXPECT_EQ(whole.first, 3);
  EXPECT_EQ(whole.last, 9999);
}

TEST(PrintOptions, OptionsByTheirCaptions) {
  shell::print_block b = shell::default_print_block();
  std::string error;
  // The defaults of the FORMUŁA II page: R, M, S apart, the full layout, checks 1-6, 8, 9.
  estimate_options o = read_estimate_options(b.data(), print_method::formula_2);
  EXPECT_FALSE(o.rms_total);
  EXPECT_TRUE(o.full);
  EXPECT_TRUE(o.with_overheads && o.survey && o.bases && o.input_summary && o.position_summary);
  EXPECT_TRUE(o.element_summary && !o.group_summary && o.chapter_summary && o.estimate_summary);
  EXPECT_EQ(store::mazovia_to_utf8(o.title), "Kosztorys");

  ASSERT_TRUE(set_option_by_caption(b.data(), 40, "Uproszczony", "on", 0, error)) << error;
  ASSERT_TRUE(set_option_by_caption(b.data(), 40, "Z narzutami", "off", 0, error)) << error;
  ASSERT_TRUE(set_option_by_caption(b.data(), 40, "Wybierz tytuł", "Kosztorys ofertowy", 0, error)) << error;
  ASSERT_TRUE(set_option_by_caption(b.data(), 40, "Drukuj od nowej strony", "on", 0, error)) << error;
  o = read_estimate_options(b.data(), print_method::formula_2);
  EXPECT_FALSE(o.full);
  EXPECT_FALSE(o.with_overheads);
  EXPECT_EQ(store::mazovia_to_utf8(o.title), "Kosztorys ofertowy");
  EXPECT_TRUE(o.new_page);
  EXPECT_EQ(b[po::new_page + 40], 1);  // the part's new-page flag follows its option

  // Part 40 of a FORMUŁA I estimate (its own settings in force) sets the FORMUŁA I page.
  ASSERT_TRUE(set_option_by_caption(b.data(), 40, "Z podsumowaniem grup", "on", 1, error)) << error;
  EXPECT_TRUE(read_estimate_options(b.data(), print_method::formula_1).group_summary);
  EXPECT_FALSE(read_estimate_options(b.data(), print_method::formula_2).group_summary);

  ASSERT_TRUE(set_option_by_caption(b.data(), 5, "Bez cen i wartości", "on", 0, error)) << error;
  const general_options g = read_general_options(b.data());
  EXPECT_TRUE(g.without_prices);
  EXPECT_FALSE(g.overhead_formulas);  // "Drukuj formuły narzutów" goes with the prices

  EXPECT_FALSE(set_option_by_caption(b.data(), 40, "Z cenami", "on", 0, error));
  EXPECT_NE(error.find("Z cenami"), std::string::npos);
  EXPECT_FALSE(set_option_by_caption(b.data(), 40, "Pełny", "tak", 0, error));
  EXPECT_FALSE(set_option_by_caption(b.data(), 1, "Liczba kopii", "0", 0, error));
  ASSERT_TRUE(set_option_by_caption(b.data(), 1, "Zakres stron:", "2-3", 0, error)) << error;
  const page_range r = page_range_of(read_device_options(b.data()));
  EXPECT_EQ(r.first, 2);
  EXPECT_EQ(r.last, 3);
}

TEST(TextTables, WrappingCuttingAndFields) {
  EXPECT_EQ(wrap_text("Beton zwykly C8/10", 9), (std::vector<std::string>{"Beton", "zwykly", "C8/10"}));
  EXPECT_EQ(wrap_text("ab Konstantynopol", 6), (std::vector<std::string>{"ab", "Konsta", "ntynop", "ol"}));
  EXPECT_EQ(wrap_text("1\nBeton", 10), (std::vector<std::string>{"1", "Beton"}));
  // Blanks between words stay as they are; the blanks at a break go.
  EXPECT_EQ(wrap_text("S=8  W=0.90  P=1.00", 12), (std::vector<std::string>{"S=8  W=0.90", "P=1.00"}));
  // Summary labels are cut after "-;:\\>)]}?! ".
  EXPECT_EQ(cut_text("Zysk 12%(R+Kp(R))+12%(S+Kp(S))", 14, "-;:\\>)]}?! "),
            (std::vector<std::string>{"Zysk", "12%(R+Kp(R))", "+12%(S+Kp(S))"}));
  EXPECT_EQ(cut_text("Koszty posrednie: 65%R", 12, "-;:\\>)]}?! "),
            (std::vector<std::string>{"Koszty", "posrednie:", "65%R"}));
  // A wrapped cell takes the lines it needs; the other cells stand on the last one.
  table_layout l;
  l.columns = {{8, ""}, {5, ""}};
  table_row r;
  r.cells = {{"Beton zwykly", 0, 1, cell_align::left, true}, {"12.5", 1, 1, cell_align::right}};
  EXPECT_EQ(text_lines(l, r), (std::vector<std::string>{"|Beton   |     |", "|zwykly  | 12.5|"}));
  EXPECT_EQ(rule_from(l, 1, '-').size(), std::size_t(text_line_width));
}

TEST(PrintDispatcher, PartsGoInTheBlocksOrder) {
  shell::print_block b = shell::default_print_block();
  EXPECT_EQ(parts_to_print(b.data(), false, {}), (std::vector<int>{40}));  // none included
  include_part(b.data(), 45, true);
  include_part(b.data(), 10, true);
  EXPECT_EQ(parts_to_print(b.data(), false, {}), (std::vector<int>{10, 45}));
  EXPECT_EQ(parts_to_print(b.data(), false, {45, 40}), (std::vector<int>{40, 45}));
  shell::print_block c = shell::default_print_block();
  include_part(c.data(), 150, true);  // only the per-chapter variant: the part prints
  EXPECT_EQ(parts_to_print(c.data(), true, {}), (std::vector<int>{50}));
  EXPECT_EQ(parts_to_print(c.data(), false, {}), (std::vector<int>{40}));
}

// One element, one position with labour and material; the default print settings.
nlohmann::json one_position() {
  using nlohmann::json;
  json entries = json::array();
  entries.push_back({{"kind", 0}, {"id", 999}, {"sub", 0}, {"norm", 2.0}, {"coef", 1.0}, {"excluded", 0},
                     {"mp_mode", 0}, {"blocked", 0}});
  entries.push_back({{"kind", 1}, {"id", 100}, {"sub", 0}, {"norm", 1.0}, {"coef", 1.0}, {"excluded", 0},
                     {"mp_mode", 0}, {"blocked", 0}});
  json position = {{"type", 1}, {"level", 1}, {"number", "1"}, {"unit", "m3"}, {"description", "Beton"},
                   {"quantity", 10.0}, {"precision_code", 1}, {"multiplicity", 1.0},
                   {"inputs", {{"current", 0}, {"variants", {{{"name", ""}, {"short_name", ""}, {"entries", entries}}}}}}};
  return {{"header", {{"file_type", 2}, {"version", 800}, {"kind", 1}, {"compressed", false}}},
          {"general", {{"name", "Garaż"}, {"calc_method", 0}}},
          {"nodes", {{{"type", 0}, {"level", 0}, {"number", "1"}, {"description", "Fundamenty"}}, position}},
          {"prices",
           {{{"kind", 0}, {"id", 999}, {"sub", 0}, {"unit", "r-g"}, {"name", "Robotnicy"}, {"price", 30.0},
             {"base_price", 30.0}},
            {{"kind", 1}, {"id", 100}, {"sub", 0}, {"unit", "m3"}, {"name", "Beton B20"}, {"price", 200.0},
             {"base_price", 200.0}}}}};
}

// The longest run of dark pixels down column x.
int longest_dark_run(const QImage& image, int x) {
  int best = 0, run = 0;
  for (int y = 0; y < image.height(); ++y) {
    run = qGray(image.pixel(x, y)) < 160 ? run + 1 : 0;
    best = std::max(best, run);
  }
  return best;
}

TEST(GraphicPrintout, TableRulesStandWhereTheMeasuredColumnsPutThem) {
  report::ensure_gui_application();
  test::temp_folder dir;
  const std::string file = dir.path() + "rules.kvr";
  ASSERT_EQ(document::build_estimate_file(one_position(), file), "");
  print_document doc;
  std::string error;
  ASSERT_TRUE(open_print_document(file, doc, error)) << error;

  // An A4 page at 150 dpi.
  QImage device(1240, 1754, QImage::Format_RGB32);
  device.setDotsPerMeterX(5906);
  device.setDotsPerMeterY(5906);
  const shell::print_look look = shell::default_print_look();
  report::report_page_setup setup;
  std::vector<int32_t> widths;
  int32_t left = 0;
  const report::generated_report rep =
      report::generate_report(device, device.size(), setup, look, [&](report::VL_raport& r) {
        // The full layout's columns: each as wide as its sample text in the cell font, the
        // description the rest of the width.
        left = r.left();
        for (const char* sample : {"meeeeee", "88888888", "88888888888", "888888888", "-99999999,99",
                                   "-99999999,99", "-99999999,99"})
          widths.push_back(r.measure_text_width(sample, report::PE_BODY));
        int32_t used = 0;
        for (int32_t w : widths) used += w;
        widths.insert(widths.begin(), r.width() - 1 - used);
        graphic_sink sink(r, doc, look.line_spacing);
        run_parts(sink, doc, {40});
      });
  ASSERT_TRUE(rep) << rep.error;
  const QImage page = report::render_preview_page(rep, 1, device.size());
  // The rules run down the rows of the position (some 130 pixels at 150 dpi); a column's
  // middle holds only glyph strokes, at most a line high (about 20 pixels).
  int32_t x = left;
  EXPECT_GT(longest_dark_run(page, left), 150);  // the outer frame runs down the whole part
  for (std::size_t c = 0; c < widths.size(); ++c) {
    const int32_t middle = x + widths[c] / 2;
    x += widths[c];
    EXPECT_GE(longest_dark_run(page, x), 80) << "rule after column " << c << " at " << x;
    EXPECT_LT(longest_dark_run(page, middle), 40) << "middle of column " << c;
  }
}

// The printer path (a CUPS queue in use) drawn into the printer's own PDF output: the same
// pages and texts as the PDF writer's.
TEST(GraphicPrintout, ThePrinterPathDrawsThePages) {
  report::ensure_gui_application();
  test::temp_folder dir;
  const std::string file = dir.path() + "printer.kvr";
  ASSERT_EQ(document::build_estimate_file(one_position(), file), "");
  print_document doc;
  std::string error;
  ASSERT_TRUE(open_print_document(file, doc, error)) << error;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const std::string out = dir.path() + "printer.pdf";
  printer.setOutputFileName(QString::fromStdString(out));
  EXPECT_EQ(print_graphic(doc, {40}, printer), "");
  std::string text;
  if (FILE* p = ::popen(("pdftotext -layout " + out + " - 2>/dev/null").c_str(), "r")) {
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) text += buf;
    ::pclose(p);
  }
  if (text.empty()) GTEST_SKIP() << "pdftotext is not installed";
  for (const char* t : {"Kosztorys", "Beton B20", "Podsumowanie kosztorysu", "Ogółem Fundamenty"})
    EXPECT_NE(text.find(t), std::string::npos) << t;
}

}  // namespace
}  // namespace kovra::printouts
