// The graphic preview of the 10,000-position estimate's printout ("Kosztorys"): from the
// command to the first page on the screen (open, recalculation, recording the pages, the
// first page replayed), and turning a page (one recorded page replayed at the window's zoom).
#include "bench_files.h"

#include "app/print_preview.h"
#include "app/text_preview.h"
#include "printouts/print_dispatcher.h"
#include "printouts/print_document.h"

#include <benchmark/benchmark.h>

#include "bench_qt_app.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

QApplication& app() { return kovra::bench::qt_app(); }

// Opens the preview as "&Podgląd" does; `first_page` receives the time the first page took
// to reach the screen.
std::unique_ptr<kovra::app::Tdlg_rp_preview> open_preview(QPrinter& printer, double* first_page = nullptr) {
  QElapsedTimer clock;
  clock.start();
  kovra::printouts::print_document doc;
  std::string error;
  if (!kovra::printouts::open_print_document(kovra::bench::simple_10k_file(), doc, error)) return nullptr;
  printer.setOutputFormat(QPrinter::PdfFormat);
  auto d = kovra::app::record_preview(
      nullptr, printer,
      [&](QPaintDevice& device, const QSize& page, const kovra::report::page_observer& observer) {
        return kovra::printouts::record_graphic(doc, {40}, device, page, observer);
      },
      kovra::app::rp_preview_setup{}, nullptr, [&] {
        if (first_page) *first_page = clock.nsecsElapsed() / 1e6;
      });
  if (d) benchmark::DoNotOptimize(d->pages()->viewport()->grab());
  return d;
}

void BM_PreviewFirstPage(benchmark::State& state) {
  app();
  if (kovra::bench::simple_10k_file().empty()) return state.SkipWithError("no estimate");
  int pages = 0;
  double first_ms = 0;
  for (auto _ : state) {
    QPrinter printer(QPrinter::HighResolution);
    auto d = open_preview(printer, &first_ms);
    if (!d) return state.SkipWithError("no preview");
    pages = d->page_count();
  }
  state.counters["pages"] = pages;
  state.counters["first_page_ms"] = first_ms;  // the iteration's time is the whole recording
}
BENCHMARK(BM_PreviewFirstPage)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_PreviewTurnPage(benchmark::State& state) {
  app();
  QPrinter printer(QPrinter::HighResolution);
  auto d = open_preview(printer);
  if (!d) return state.SkipWithError("no preview");
  kovra::app::preview_pages* p = d->pages();
  int page = 1;
  for (auto _ : state) {
    page = page % d->page_count() + 1;
    p->go_to_page(page);
    benchmark::DoNotOptimize(p->viewport()->grab());  // paints the page as the screen would
  }
}
BENCHMARK(BM_PreviewTurnPage)->Unit(benchmark::kMillisecond);

// A spool file of 100,000 lines (1,600 pages of 62 lines and their separators) opened in the
// text preview: indexed and its first lines drawn.
void BM_TextPreviewOpen(benchmark::State& state) {
  app();
  const std::string spool =
      (std::filesystem::temp_directory_path() / ("kovra_bench_spool_" + std::to_string(::getpid()) + ".prn")).string();
  {
    std::ofstream out(spool, std::ios::binary);
    for (int line = 0; line < 100000; ++line) {
      if (line % 62 == 0) out << "\x1b\x01";
      out << "  12 KNR 2-02 0290-02   Tynki zwykle kat. III na scianach   m2   123.45   45.67   5 637.98\n";
    }
  }
  std::size_t lines = 0;
  for (auto _ : state) {
    kovra::app::Tdlg_preview d(spool);
    d.show();
    benchmark::DoNotOptimize(d.lines()->viewport()->grab());
    lines = d.index().offsets.size();
  }
  state.counters["lines"] = double(lines);
  std::filesystem::remove(spool);
}
BENCHMARK(BM_TextPreviewOpen)->Unit(benchmark::kMillisecond);

} // namespace
