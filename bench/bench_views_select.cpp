// The positions page on the 10,000-position estimate (what `kovra-cli generate --kind
// simple` writes): one step down the grid, with the tree following and the sub-view under
// the grid refreshed and painted, on each sub-page.
#include "app/document_window.h"
#include "app/page_windows.h"
#include "bench_files.h"
#include "controls/std_grid.h"
#include "views/define_view.h"
#include "views/position_sub_views.h"

#include "bench_qt_app.h"

#include <QApplication>
#include <QPixmap>
#include <benchmark/benchmark.h>

namespace {

QApplication& app() { return kovra::bench::qt_app(); }

void BM_SelectNextRow10k(benchmark::State& state) {
  app();
  const std::string& path = kovra::bench::simple_10k_file();
  if (path.empty()) return state.SkipWithError("no estimate file");
  kovra::app::Tfrm_simple w(nullptr);
  w.resize(1000, 700);
  w.show();
  if (!w.open(path, kovra::app::OPEN_FOR_WORK)) return state.SkipWithError("open failed");
  kovra::app::Tfrm_koszt* k = w.page_window();
  k->select_page(k->page_index("Definiuj"));
  auto* view = dynamic_cast<kovra::views::Tfrm_define*>(k->view(k->page_index("Definiuj")));
  if (!view) return state.SkipWithError("no positions page");
  view->set_sub_page(int(state.range(0)));
  QCoreApplication::processEvents();
  QPixmap picture(view->size());
  state.counters["rows"] = view->row_count() - 1;
  int row = 1;
  for (auto _ : state) {
    if (++row >= view->row_count()) row = 1;
    view->select_row(row);
    QCoreApplication::processEvents();
    view->render(&picture);  // grid and sub-view painted
  }
  w.close_document();
}
// 1 "RMS", 2 "Przedmiar", 3 "Kod".
BENCHMARK(BM_SelectNextRow10k)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

} // namespace
