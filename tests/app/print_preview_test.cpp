// The graphic preview: the range label and page navigation over recorded pages, the zoom and
// two-page rules, and the range printed to a PDF through the printer.
#include "app/app_support.h"
#include "app/print_preview.h"
#include "printouts/print_dispatcher.h"
#include "printouts/print_document.h"
#include "shell/print_look.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPrinter>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

using namespace kovra;
using namespace kovra::app;

namespace {

std::string run(const std::string& cmd) {
  std::string out;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[4096];
    while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    pclose(p);
  }
  return out;
}

bool have_poppler() { return std::system("command -v pdftotext >/dev/null 2>&1") == 0; }

// A report of `pages` pages, each reading "Strona N", recorded for `printer`.
report::generated_report numbered_pages(QPrinter& printer, int pages) {
  printer.setFullPage(true);
  const QSize page = printer.pageLayout().fullRectPixels(printer.resolution()).size();
  return report::generate_report(printer, page, {}, shell::default_print_look(), [pages](report::VL_raport& r) {
    for (int i = 1; i <= pages; ++i) {
      r.draw_text("Strona " + std::to_string(i), {0, 0, 2000, 200}, 0, 0, 0);
      r.end_row(200);
      if (i < pages) r.page_break();
    }
  });
}

QToolButton* tool(Tdlg_rp_preview& d, const QString& text) {
  for (auto* b : d.findChildren<QToolButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

void key(QWidget* w, int k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(w, Qt::Key(k), m); }

TEST(GraphicPreview, RangeLabelNavigationZoomAndTwoPages) {
  test::test_app();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  report::generated_report rep = numbered_pages(printer, 4);
  ASSERT_TRUE(rep) << rep.error;
  ASSERT_EQ(rep.pages, 4);

  // First page number 10, pages 11 to 12: the second and third recorded pages.
  rp_preview_setup s;
  s.first_page_number = 10;
  s.first = 2;
  s.last = 3;
  Tdlg_rp_preview d(std::move(rep), &printer, s);
  d.show();
  EXPECT_EQ(d.range_text(), "Zakres stron: 11 - 12");
  preview_pages* p = d.pages();
  EXPECT_EQ(p->current_page(), 2);
  tool(d, ">")->click();
  EXPECT_EQ(p->current_page(), 3);
  tool(d, ">")->click();
  EXPECT_EQ(p->current_page(), 3);  // the range ends there
  key(p, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(p->current_page(), 2);
  key(p, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(p->current_page(), 3);

  // A click in one-page mode switches between the whole page and the page width; at the
  // page width the page fills the window less 20 pixels.
  EXPECT_EQ(p->zoom(), preview_zoom::whole_page);
  emit p->clicked();
  EXPECT_EQ(p->zoom(), preview_zoom::page_width);
  EXPECT_EQ(p->page_pixels().width(), p->viewport()->width() - 20);
  emit p->clicked();
  EXPECT_EQ(p->zoom(), preview_zoom::whole_page);
  EXPECT_LE(p->page_pixels().height(), p->viewport()->height() - 20);

  // Four pages two at a time: navigation ends at the last odd page; a click goes back to
  // one page at "cała strona".
  p->set_range(1, 4);
  p->set_two_pages(true);
  EXPECT_EQ(p->last_navigable(), 3);
  key(p, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(p->current_page(), 3);
  p->set_zoom(preview_zoom::page_width);
  emit p->clicked();
  EXPECT_FALSE(p->two_pages());
  EXPECT_EQ(p->zoom(), preview_zoom::whole_page);
}

TEST(GraphicPreview, PrintsTheRangeUnlessThePrinterIsRefused) {
  test::test_app();
  test::temp_folder dir;
  const std::string pdf = dir.path() + "zakres.pdf";
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(pdf));
  report::generated_report rep = numbered_pages(printer, 5);
  ASSERT_TRUE(rep) << rep.error;

  rp_preview_setup s;
  s.first = 2;
  s.last = 4;
  int refused = 0, before = 0, after = 0;
  bool paused = true;
  s.printer_check = [&] { return paused ? 2 : 0; };
  s.check_failed = [&](int status) { refused = status; };
  s.before_print = [&] { ++before; };
  s.after_print = [&] { ++after; };
  Tdlg_rp_preview d(std::move(rep), &printer, s);
  EXPECT_FALSE(d.print_range());
  EXPECT_EQ(refused, 2);
  EXPECT_FALSE(std::filesystem::exists(pdf));

  paused = false;
  QString error;
  ASSERT_TRUE(d.print_range(&error)) << error.toStdString();
  EXPECT_EQ(before, 2);
  EXPECT_EQ(after, 2);
  if (!have_poppler()) GTEST_SKIP() << "pdftotext/pdfinfo not installed";
  const std::string info = run("pdfinfo '" + pdf + "'");
  const auto at = info.find("Pages:");
  ASSERT_NE(at, std::string::npos) << info;
  EXPECT_EQ(std::stoi(info.substr(at + 6)), 3);
  const std::string text = run("pdftotext '" + pdf + "' -");
  EXPECT_EQ(text.find("Strona 1"), std::string::npos);
  EXPECT_NE(text.find("Strona 2"), std::string::npos);
  EXPECT_NE(text.find("Strona 4"), std::string::npos);
  EXPECT_EQ(text.find("Strona 5"), std::string::npos);
}

TEST(GraphicPreview, TheDemoEstimatesPrintoutIsRecordedOnceAndReplayed) {
  test::program_fixture f;
  test::test_app();
  printouts::print_document doc;
  std::string error;
  ASSERT_TRUE(printouts::open_print_document(f.demo("demo_house"), doc, error)) << error;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setFullPage(true);
  const QSize page = printer.pageLayout().fullRectPixels(printer.resolution()).size();
  report::generated_report rep = printouts::record_graphic(doc, {40}, printer, page);
  ASSERT_TRUE(rep) << rep.error;
  ASSERT_GE(rep.pages, 1);
  Tdlg_rp_preview d(std::move(rep), &printer, {});
  d.show();
  QCoreApplication::processEvents();
  const QImage shot = d.pages()->viewport()->grab().toImage();
  const QSize px = d.pages()->page_pixels();
  int dark = 0;  // inside its frame the page shows text, not only white paper
  for (int y = 13; y < std::min(shot.height(), 7 + px.height()); ++y)
    for (int x = 13; x < std::min(shot.width(), 7 + px.width()); ++x) dark += qGray(shot.pixel(x, y)) < 100;
  EXPECT_GT(dark, 50);
}

// The preview opens on the first finished page while the rest is still recorded, grows with
// the recording (printing waits for it) and ends with every page, each recorded once.
TEST(GraphicPreview, OpensOnTheFirstFinishedPageAndGrowsWhileRecording) {
  test::test_app();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  int recording_page = 0, generator_runs = 0;
  int shown_at = 0, count_when_shown = -1;
  bool printed_while_recording = true;
  const report_recorder record = [&](QPaintDevice& device, const QSize& page, const report::page_observer& observer) {
    ++generator_runs;
    return report::generate_report(
        device, page, {}, shell::default_print_look(),
        [&](report::VL_raport& r) {
          for (int i = 1; i <= 30; ++i) {
            recording_page = i;
            r.draw_text("Strona " + std::to_string(i), {0, 0, 2000, 200}, 0, 0, 0);
            r.end_row(200);
            if (i < 30) r.page_break();
          }
        },
        observer);
  };
  rp_preview_setup s;
  s.last = 0;
  auto d = record_preview(nullptr, printer, record, s, nullptr, [&] {
    shown_at = recording_page;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* p = qobject_cast<Tdlg_rp_preview*>(w)) {
        count_when_shown = p->page_count();
        printed_while_recording = p->print_range();
      }
  });
  ASSERT_TRUE(d);
  // Page 2 was begun, so page 1 was finished: that is when the preview appeared.
  EXPECT_EQ(shown_at, 2);
  EXPECT_EQ(count_when_shown, 1);
  EXPECT_FALSE(printed_while_recording);
  EXPECT_EQ(generator_runs, 1);
  EXPECT_FALSE(d->recording());
  EXPECT_EQ(d->page_count(), 30);
  EXPECT_EQ(d->range_text(), "Zakres stron: 1 - 30");
  d->pages()->go_to_page(30);
  EXPECT_EQ(d->pages()->current_page(), 30);
}

} // namespace
