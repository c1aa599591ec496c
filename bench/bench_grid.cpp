// Scrolling a 10,000-row grid by a page: the key press and the painting of the new page into
// an offscreen image (what the screen gets), with fixed row heights and with automatic
// heights measured as the rows come into view.
#include "controls/std_grid.h"

#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

using namespace kovra::controls;

void ensure_app() {
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_grid";
    static char* argv[] = {name, nullptr};
    auto* a = new QApplication(argc, argv);
    QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf");
    return a;
  }();
  (void)app;
}

// Estimate-like rows: a number, a description that wraps, a quantity, a unit and a value.
class rows_source : public VL_grid_source {
public:
  void set_cell_data(VL_std_grid&, int col, int row, VL_cell& cell) override {
    if (row == 0) {
      static const char* heads[] = {"", "Numer", "Opis", "Ilość", "Jedn.", "Wartość"};
      cell.text = heads[col];
      return;
    }
    switch (col) {
    case 0: cell.text = QString::number(row); break;
    case 1: cell.text = QString("%1.%2").arg(row / 10 + 1).arg(row % 10); break;
    case 2:
      cell.text = row % 3 ? "Wykopy ręczne w gruncie kat. III z transportem urobku na odległość do 1 km"
                          : "Podkład betonowy";
      break;
    case 3: cell.text = "12,500"; cell.text_format = tf_right; break;
    case 4: cell.text = "m3"; break;
    case 5: cell.text = QString::number(row * 137.25, 'f', 2); cell.text_format = tf_right; break;
    }
    if (row % 10 == 1) cell.cell_type = ct_group;
  }
};

void scroll_by_pages(benchmark::State& state, bool auto_heights) {
  ensure_app();
  rows_source src;
  VL_std_grid g;
  g.set_source(&src);
  g.use_screen_look();
  g.set_col_count(6);
  g.set_row_count(10001);
  const int widths[] = {40, 60, 300, 90, 50, 100};
  for (int c = 0; c < 6; ++c) g.set_col_widths(c, widths[c]);
  g.set_align_col_number(2);
  g.set_auto_row_height(auto_heights);
  g.resize(800, 600);
  g.show();
  g.UpdateView();
  QImage image(g.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  QKeyEvent page_down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
  QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::ControlModifier);
  long cells = 0, pages = 0;
  for (auto _ : state) {
    if (g.row() >= g.row_count() - 1) {
      state.PauseTiming();
      QApplication::sendEvent(&g, &home);
      if (auto_heights) g.UpdateView();  // the next pass measures every row again
      state.ResumeTiming();
    }
    QApplication::sendEvent(&g, &page_down);
    g.reset_painted_cells();
    QPainter p(&image);
    g.paint_cells(p, image.rect());
    p.end();
    cells += g.painted_cells();
    ++pages;
  }
  state.counters["cells_per_page"] = double(cells) / double(std::max(pages, 1L));
}

void BM_grid_page_fixed_heights(benchmark::State& state) { scroll_by_pages(state, false); }
void BM_grid_page_auto_heights(benchmark::State& state) { scroll_by_pages(state, true); }

} // namespace

BENCHMARK(BM_grid_page_fixed_heights)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_grid_page_auto_heights)->Unit(benchmark::kMillisecond);
