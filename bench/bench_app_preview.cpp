// The graphic preview of the 10,000-position estimate's printout ("Kosztorys"): from the
// command to the first page on the screen (open, recalculation, recording the pages, the
// first page replayed), and turning a page (one recorded page replayed at the window's zoom).
#include "bench_files.h"

#include "app/print_preview.h"
#include "printouts/print_dispatcher.h"
#include "printouts/print_document.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPrinter>

namespace {

QApplication& app() {
  static int argc = 1;
  static char name[] = "bench_app_preview";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication a(argc, argv);
  return a;
}

std::unique_ptr<kovra::app::Tdlg_rp_preview> open_preview(QPrinter& printer) {
  kovra::printouts::print_document doc;
  std::string error;
  if (!kovra::printouts::open_print_document(kovra::bench::simple_10k_file(), doc, error)) return nullptr;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setFullPage(true);
  const QSize page = printer.pageLayout().fullRectPixels(printer.resolution()).size();
  kovra::report::generated_report rep = kovra::printouts::record_graphic(doc, {40}, printer, page);
  if (!rep) return nullptr;
  auto d = std::make_unique<kovra::app::Tdlg_rp_preview>(std::move(rep), &printer, kovra::app::rp_preview_setup{});
  d->show();
  benchmark::DoNotOptimize(d->pages()->viewport()->grab());
  return d;
}

void BM_PreviewFirstPage(benchmark::State& state) {
  app();
  if (kovra::bench::simple_10k_file().empty()) return state.SkipWithError("no estimate");
  int pages = 0;
  for (auto _ : state) {
    QPrinter printer(QPrinter::HighResolution);
    auto d = open_preview(printer);
    if (!d) return state.SkipWithError("no preview");
    pages = d->page_count();
  }
  state.counters["pages"] = pages;
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

} // namespace
