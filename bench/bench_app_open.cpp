// The windowed program on the 10,000-position estimate (what `kovra-cli generate --kind
// simple` writes): opening its document window until the window and its tree are shown and
// the recalculation is done, and scrolling the fully expanded tree by one page.
#include "app/document_window.h"
#include "app/estimate_tree_model.h"
#include "bench_files.h"

#include "bench_qt_app.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScrollBar>
#include <QTreeView>
#include <benchmark/benchmark.h>

namespace {

QApplication& app() { return kovra::bench::qt_app(); }

void BM_OpenSimpleWindow10k(benchmark::State& state) {
  app();
  const std::string& path = kovra::bench::simple_10k_file();
  if (path.empty()) return state.SkipWithError("no estimate file");
  for (auto _ : state) {
    auto* w = new kovra::app::Tfrm_simple(nullptr);
    w->resize(1000, 700);
    w->show();
    if (!w->open(path, kovra::app::OPEN_FOR_WORK)) return state.SkipWithError("open failed");
    w->repaint();  // window and tree painted
    QCoreApplication::processEvents();
    state.PauseTiming();
    // The recalculation alone, run again on the open window, as a counter.
    QElapsedTimer t;
    t.start();
    w->recalculate();
    state.counters["recalc_ms"] = double(t.nsecsElapsed()) / 1e6;
    w->close_document();
    delete w;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenSimpleWindow10k)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_TreeScrollPage10k(benchmark::State& state) {
  app();
  const std::string& path = kovra::bench::simple_10k_file();
  if (path.empty()) return state.SkipWithError("no estimate file");
  kovra::app::Tfrm_simple w(nullptr);
  w.resize(1000, 700);
  w.show();
  if (!w.open(path, kovra::app::OPEN_FOR_WORK)) return state.SkipWithError("open failed");
  w.tree_multi->expandAll();
  QScrollBar* bar = w.tree_multi->verticalScrollBar();
  // Each step paints the visible rows into a picture of the tree's viewport (the offscreen
  // platform would skip a paint of the window itself).
  QWidget* viewport = w.tree_multi->viewport();
  QPixmap picture(viewport->size());
  state.counters["rows"] = double(bar->maximum() + bar->pageStep());
  for (auto _ : state) {
    if (bar->value() >= bar->maximum()) bar->setValue(0);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCoreApplication::processEvents();
    viewport->render(&picture);
  }
  w.close_document();
}
BENCHMARK(BM_TreeScrollPage10k)->Unit(benchmark::kMillisecond);

} // namespace
