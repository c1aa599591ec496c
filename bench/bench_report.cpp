// Graphic report engine: recording a 10,000-row table (about 300 pages) and replaying it to
// PDF. peak_rss_kb is the process's peak resident size after the run; it must stay flat as
// the report grows (pages go to the page file, only the current block is in memory).
#include "shell/print_look.h"
#include "report/prt_item.h"
#include "report/raport.h"
#include "report/report_gui.h"
#include "report/report_output.h"
#include "report/qt_page_canvas.h"

#include <benchmark/benchmark.h>

#include <QPainter>
#include <QPdfWriter>

#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using namespace kovra::report;
namespace shell = kovra::shell;

long peak_rss_kb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::string temp_pdf(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::string(name) + std::to_string(::getpid()) + ".pdf")).string();
}

void rows_report(VL_raport& r, int rows) {
  VL_prt_item item;
  r.begin_table_header();
  item.clear();
  item.count = 5;
  const int32_t widths[5] = {300, r.width() - 3300, 600, 1200, 1200};
  const char* titles[5] = {"Lp.", "Opis", "j.m.", "Ilosc", "Wartosc"};
  for (int c = 0; c < 5; ++c) item.cells[static_cast<std::size_t>(c)] = {titles[c], widths[c], true, DT_CENTER, 2};
  r.end_table_header(draw_row(r, item, 0, true, 10));
  r.begin_table_footer();
  draw_row_line(r, item, 0);
  r.end_table_footer(20);
  r.start_table();
  for (int i = 1; i <= rows; ++i) {
    item.clear();
    item.count = 5;
    const std::string texts[5] = {std::to_string(i), "Roboty ziemne wykonywane koparkami pozycja " + std::to_string(i),
                                  "m3", std::to_string(i % 97) + ",250", std::to_string(i * 13) + ",45"};
    for (int c = 0; c < 5; ++c) {
      auto& cell = item.cells[static_cast<std::size_t>(c)];
      cell.text = texts[c];
      cell.width = widths[c];
      if (c >= 3) cell.format = DT_RIGHT | DT_SINGLELINE;
    }
    r.end_row(draw_row(r, item, 0, true, 10));
  }
  r.end_table();
}

report_page_setup a4() { return report_page_setup{}; }

void BM_record_10k_rows(benchmark::State& state) {
  ensure_gui_application();
  const std::string path = temp_pdf("kovra_bench_record");
  QPdfWriter writer(QString::fromStdString(path));
  writer.setResolution(600);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
  const QSize page = writer.pageLayout().fullRectPixels(600).size();
  int pages = 0;
  for (auto _ : state) {
    generated_report report = generate_report(writer, page, a4(), shell::default_print_look(),
                                              [&](VL_raport& r) { rows_report(r, static_cast<int>(state.range(0))); });
    pages = report.pages;
    benchmark::DoNotOptimize(pages);
  }
  state.counters["pages"] = pages;
  state.counters["peak_rss_kb"] = static_cast<double>(peak_rss_kb());
  std::filesystem::remove(path);
}
BENCHMARK(BM_record_10k_rows)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_replay_10k_rows_to_pdf(benchmark::State& state) {
  ensure_gui_application();
  const std::string record_path = temp_pdf("kovra_bench_metrics");
  QPdfWriter metrics(QString::fromStdString(record_path));
  metrics.setResolution(600);
  metrics.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
  const QSize page = metrics.pageLayout().fullRectPixels(600).size();
  generated_report report = generate_report(metrics, page, a4(), shell::default_print_look(),
                                            [&](VL_raport& r) { rows_report(r, static_cast<int>(state.range(0))); });
  const std::string path = temp_pdf("kovra_bench_replay");
  int drawn = 0;
  for (auto _ : state) {
    QPdfWriter writer(QString::fromStdString(path));
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    QPainter painter(&writer);
    qt_page_canvas canvas(painter, *report.raport, false, &writer);
    drawn = report.raport->replay(canvas, false, {}, 0, 1).pages_drawn;
    painter.end();
  }
  state.counters["pages"] = drawn;
  state.counters["pdf_kb"] = static_cast<double>(std::filesystem::file_size(path) / 1024);
  state.counters["peak_rss_kb"] = static_cast<double>(peak_rss_kb());
  std::filesystem::remove(path);
  std::filesystem::remove(record_path);
}
BENCHMARK(BM_replay_10k_rows_to_pdf)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
