// Reports written to PDF and rendered for the preview, checked through the text of the PDF.
#include "report/page_band.h"
#include "shell/print_look.h"
#include "report/prt_item.h"
#include "report/report_exception.h"
#include "report/report_output.h"
#include "report/report_qt_fonts.h"
#include "report/report_qt_support.h"
#include "store/codepage.h"

#include <gtest/gtest.h>

#include <QPrinter>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace kovra::report {
namespace {

namespace fs = std::filesystem;

std::string run(const std::string& command) {
  std::string out;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return out;
  std::array<char, 4096> buf;
  while (size_t n = fread(buf.data(), 1, buf.size(), pipe.get())) out.append(buf.data(), n);
  return out;
}

bool have_poppler() { return system("command -v pdftotext >/dev/null 2>&1 && command -v pdfinfo >/dev/null 2>&1") == 0; }

int pdf_pages(const std::string& path) {
  const std::string info = run("pdfinfo '" + path + "'");
  const auto at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// Text of one page (from 1), blanks squeezed.
std::string pdf_text(const std::string& path, int page) {
  std::string t = run("pdftotext -layout -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" + path +
                      "' -");
  std::string out;
  for (char c : t) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out += c;
  }
  return out;
}

// Open page-file handles of this process.
int open_page_files() {
  int n = 0;
  for (const auto& e : fs::directory_iterator("/proc/self/fd")) {
    std::error_code ec;
    const auto target = fs::read_symlink(e.path(), ec).string();
    if (!ec && target.find("/PRN") != std::string::npos) ++n;
  }
  return n;
}

const std::string POLISH = store::utf8_to_mazovia("Zażółć gęślą jaźń ZAŻÓŁĆ");

// A priced table with a header band: 200 rows over several pages.
void table_report(VL_raport& r) {
  band_context ctx;
  ctx.file_path = "/x/hala.kvr";
  ctx.tree_name = "Hala magazynowa";
  record_page_header(r, default_header_definition(), ctx);
  VL_prt_item item;
  r.begin_table_header();
  item.clear();
  item.count = 3;
  item.cells[0] = {"Lp.", 300, true, DT_CENTER, 2};
  item.cells[1] = {"Opis", r.width() - 1300, true, DT_CENTER, 2};
  item.cells[2] = {"Wartość", 1000, true, DT_CENTER, 2};
  item.cells[2].text = store::utf8_to_mazovia("Wartość");
  int32_t h = draw_row(r, item, 0, true, 10);
  draw_row_line(r, item, 0);
  draw_row_line(r, item, h);
  r.end_table_header(h);
  r.begin_table_footer();
  draw_row_line(r, item, 0);
  r.draw_text("koniec tabeli", {0, 0, r.width(), 100}, 0, 15, DT_SINGLELINE);
  r.end_table_footer(100);
  r.start_table();
  for (int i = 1; i <= 200; ++i) {
    item.clear();
    item.count = 3;
    item.cells[0].text = std::to_string(i);
    item.cells[0].width = 300;
    item.cells[1].text = "Pozycja " + std::to_string(i) + " " + POLISH;
    item.cells[1].width = r.width() - 1300;
    item.cells[2].text = std::to_string(i * 100) + ",00";
    item.cells[2].width = 1000;
    item.cells[2].format = DT_RIGHT | DT_SINGLELINE;
    r.end_row(draw_row(r, item, 0, true, 10));
  }
  r.end_table();
}

class pdf : public ::testing::Test {
protected:
  void SetUp() override {
    test::measuring_device();
    if (!have_poppler()) GTEST_SKIP() << "pdftotext/pdfinfo not installed";
    folder = fs::temp_directory_path() / ("kovra_pdf_" + std::to_string(::getpid()));
    fs::create_directories(folder);
  }
  void TearDown() override {
    if (!folder.empty()) fs::remove_all(folder);
  }
  std::string path(const std::string& name) const { return (folder / name).string(); }
  fs::path folder;
  report_page_setup setup;
};

TEST_F(pdf, a_table_over_pages_with_headers_numbers_and_polish_letters) {
  setup.first_page_no = 3;
  const std::string out = path("table.pdf");
  const report_outcome result = write_report_pdf(out, setup, shell::default_print_look(), table_report);
  ASSERT_TRUE(result.ok) << result.error;
  const int pages = pdf_pages(out);
  ASSERT_GE(pages, 2);
  EXPECT_EQ(result.pages_drawn, pages);
  for (int p = 1; p <= pages; ++p) {
    const std::string text = pdf_text(out, p);
    EXPECT_NE(text.find("strona nr: " + std::to_string(p + 2)), std::string::npos) << text;
    EXPECT_NE(text.find("Hala magazynowa"), std::string::npos);
    EXPECT_NE(text.find("Wartość"), std::string::npos) << "table header repeated on page " << p;
    EXPECT_NE(text.find("koniec tabeli"), std::string::npos) << "table footer on page " << p;
    EXPECT_NE(text.find("Zażółć gęślą jaźń ZAŻÓŁĆ"), std::string::npos);
  }
  EXPECT_NE(pdf_text(out, pages).find("20000,00"), std::string::npos);
  EXPECT_NE(pdf_text(out, 1).find("Pozycja 1 "), std::string::npos);
}

TEST_F(pdf, a_page_range_keeps_the_page_numbers_of_the_whole_report) {
  const std::string out = path("range.pdf");
  const report_outcome result = write_report_pdf(out, setup, shell::default_print_look(), table_report, 2, 3);
  ASSERT_TRUE(result.ok) << result.error;
  ASSERT_EQ(result.pages_drawn, 2);
  EXPECT_EQ(pdf_pages(out), 2);
  EXPECT_NE(pdf_text(out, 1).find("strona nr: 2"), std::string::npos);
  EXPECT_NE(pdf_text(out, 2).find("strona nr: 3"), std::string::npos);
  EXPECT_EQ(pdf_text(out, 1).find("Pozycja 1 "), std::string::npos);
}

TEST_F(pdf, a_printer_prints_each_copy_as_its_own_job) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(path("printer.pdf")));
  printer.setFullPage(true);
  printer.setPageSize(QPageSize(QPageSize::A4));
  const QSize page = printer.pageLayout().fullRectPixels(printer.resolution()).size();
  generated_report report = generate_report(printer, page, setup, shell::default_print_look(), table_report);
  ASSERT_TRUE(report) << report.error;
  const report_outcome result = print_report(report, printer, 1, 2, 2);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.pages_drawn, 4);
  // The second job replaced the file: it holds one copy of the range.
  EXPECT_EQ(pdf_pages(path("printer.pdf")), 2);
  EXPECT_NE(pdf_text(path("printer.pdf"), 2).find("strona nr: 2"), std::string::npos);
}

TEST_F(pdf, a_failing_generator_gives_an_error_and_leaves_no_page_file) {
  const int before = open_page_files();
  report_outcome result = write_report_pdf(path("x.pdf"), setup, shell::default_print_look(), [&](VL_raport& r) {
    table_report(r);
    EXPECT_EQ(open_page_files(), before + 1);
    throw VL_raport_exception(RAPORT_CREATE_FAILED);
  });
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, RAPORT_CREATE_FAILED);
  EXPECT_EQ(open_page_files(), before);

  result = write_report_pdf(path("y.pdf"), setup, shell::default_print_look(), [](VL_raport&) { throw 7; });
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.error.empty());
  EXPECT_EQ(open_page_files(), before);

  result = write_report_pdf("/nonexistent/folder/z.pdf", setup, shell::default_print_look(), table_report);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(open_page_files(), before);
}

TEST(preview, pages_render_scaled_with_smaller_fonts) {
  QImage& device = test::measuring_device(600);
  report_page_setup setup;
  const QSize page(4961, 7016);  // A4 at 600 dpi
  generated_report report = generate_report(device, page, setup, shell::default_print_look(), table_report);
  ASSERT_TRUE(report) << report.error;
  ASSERT_GE(report.pages, 2);
  const QImage image = render_preview_page(report, 2, QSize(496, 702));
  int dark = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128;
  EXPECT_GT(dark, 500);
  const QImage beyond = render_preview_page(report, report.pages + 1, QSize(100, 141));
  EXPECT_EQ(beyond.pixel(50, 70), qRgb(255, 255, 255));

  report_font f;
  f.height = 13;
  EXPECT_EQ(scaled_font_height(f, 600, false), 81);  // 13 * 600 / 96
  EXPECT_EQ(scaled_font_height(f, 600, true), 73);   // and 0.9 of that
  EXPECT_EQ(make_qfont(f, 600, 600, true).pixelSize(), 73);
}

TEST(preview, the_background_bitmap_is_stretched_over_every_printable_area) {
  QImage& device = test::measuring_device(600);
  report_page_setup setup;
  setup.margin_left_mm = setup.margin_right_mm = setup.margin_top_mm = setup.margin_bottom_mm = 25.4;  // 600 units
  setup.background = QImage(2, 2, QImage::Format_RGB32);
  setup.background.fill(qRgb(0, 0, 255));
  const QSize page(6000, 8000);
  generated_report report = generate_report(device, page, setup, shell::default_print_look(), [](VL_raport& r) {
    for (int i = 0; i < 3; ++i) {
      r.draw_text("x", {0, 0, 100, 100}, 0, 0, 0);
      r.end_row(100);
      r.page_break();
    }
  });
  ASSERT_TRUE(report) << report.error;
  ASSERT_EQ(report.pages, 3);
  for (int page = 1; page <= 3; ++page) {
    const QImage image = render_preview_page(report, page, QSize(600, 800));
    EXPECT_EQ(image.pixel(300, 400), qRgb(0, 0, 255)) << page;  // inside the printable area
    EXPECT_EQ(image.pixel(30, 40), qRgb(255, 255, 255)) << page;  // in the margin
  }
}

TEST(fonts, a_missing_face_falls_back_to_one_with_polish_letters) {
  test::measuring_device();
  reset_font_families();
  const QString family = resolve_font_family("No Such Face 123");
  EXPECT_NE(family, "No Such Face 123");
  EXPECT_FALSE(family.isEmpty());
  EXPECT_EQ(resolve_font_family("No Such Face 123"), family);
}

} // namespace
} // namespace kovra::report
