// The materials summary page of the 10,000-position estimate (2,000 inputs, what `kovra-cli
// generate --kind simple` writes) in its document window: showing the page (its lines read
// from the last run, sorted and the grid painted) and sorting it again by a title click.
#include "app/document_window.h"
#include "app/page_windows.h"
#include "bench_files.h"
#include "controls/std_grid.h"
#include "views/summary_view.h"

#include "bench_qt_app.h"

#include <QApplication>
#include <QPixmap>
#include <benchmark/benchmark.h>

namespace {

QApplication& app() { return kovra::bench::qt_app(); }

struct opened {
  kovra::app::Tfrm_simple window{nullptr};
  kovra::app::Tfrm_koszt* pages = nullptr;
  int summary = -1, other = -1;

  bool open() {
    const std::string& path = kovra::bench::simple_10k_file();
    if (path.empty()) return false;
    window.resize(1100, 700);
    window.show();
    if (!window.open(path, kovra::app::OPEN_FOR_WORK)) return false;
    pages = window.page_window();
    summary = pages->page_index("Zestawienie M");
    other = pages->page_index("Definiuj");
    return pages && summary >= 0 && other >= 0;
  }
  kovra::views::Tfrm_zestrms* view() const { return dynamic_cast<kovra::views::Tfrm_zestrms*>(pages->view(summary)); }
  // The grid's viewport painted into a picture (the offscreen platform skips a window paint).
  void paint() const {
    QWidget* viewport = view()->grid()->viewport();
    QPixmap picture(viewport->size());
    viewport->render(&picture);
  }
};

void BM_ShowMaterialsSummary10k(benchmark::State& state) {
  app();
  opened o;
  if (!o.open()) return state.SkipWithError("open failed");
  for (auto _ : state) {
    state.PauseTiming();
    o.pages->select_page(o.other);  // the summary drops its lines when hidden
    QCoreApplication::processEvents();
    state.ResumeTiming();
    o.pages->select_page(o.summary);
    o.paint();
  }
  state.counters["lines"] = o.view() ? o.view()->rows().shown_count() : 0;
  o.window.close_document();
}
BENCHMARK(BM_ShowMaterialsSummary10k)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_SortMaterialsSummary10k(benchmark::State& state) {
  app();
  opened o;
  if (!o.open()) return state.SkipWithError("open failed");
  o.pages->select_page(o.summary);
  kovra::views::Tfrm_zestrms* v = o.view();
  if (!v) return state.SkipWithError("no summary view");
  const int columns[] = {kovra::views::sc_value, kovra::views::sc_name, kovra::views::sc_price, kovra::views::sc_quantity};
  int k = 0;
  for (auto _ : state) {
    v->click_head(columns[k++ % 4]);
    o.paint();
  }
  o.window.close_document();
}
BENCHMARK(BM_SortMaterialsSummary10k)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
