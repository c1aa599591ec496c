// Text printing: writing a long printout into a spool file, and spooling it to a printer.
#include "report/print_sink.h"
#include "report/printer_code_page.h"
#include "report/spooler.h"
#include "report/text_writer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

using namespace kovra::report;

namespace {

constexpr int rows = 10000;

std::string spool_path() { return (std::filesystem::temp_directory_path() / "kovra_bench_spool.tmp").string(); }

// About 300 pages of 120-column table rows with Polish letters, a heading and page numbers.
void write_printout(const std::string& path) {
  text_writer w;
  w.set_layout(66, false);
  if (!w.open_spool(path, 1)) return;
  w.write_printer_init({16, 8, 5, 9, 14});
  w.set_page_line(2, "%s", "Zbi\xa2r: bench                                                 Kovra - kosztorys    strona nr %3d\n");
  w.heading_code(4);
  w.heading_add("@120 =\n| Lp | Opis                                  | j.m. |      Ilo\x9e\x8d |       Cena |    Warto\x9e\x8d |\n@120 =\n");
  w.heading_code(5);
  for (int i = 0; i < rows; ++i)
    w.block_add_flush("|%4d | Roboty ziemne \x86\x8d\x91\x92\xa4\xa2\x9e\xa6\xa7 wykop r\x91\x8dzny kat. III      | m3   | %10.2f | %10.2f | %10.2f |\n",
                      i + 1, i * 1.5, 12.34, i * 1.5 * 12.34);
  w.block_code(12);
  w.end_page();
  w.close_spool(16);
}

void BM_WriteSpool(benchmark::State& state) {
  const std::string path = spool_path();
  for (auto _ : state) {
    std::remove(path.c_str());
    write_printout(path);
  }
  state.counters["bytes"] = double(std::filesystem::file_size(path));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(path)));
  std::remove(path.c_str());
}
BENCHMARK(BM_WriteSpool)->Unit(benchmark::kMillisecond);

void BM_SpoolToPrinter(benchmark::State& state) {
  const std::string path = spool_path();
  std::remove(path.c_str());
  write_printout(path);
  printer_codes codes{};
  codes[1] = "\f";
  codes[4] = "\x1b" "E";
  codes[5] = "\x1b" "F";
  codes[8] = "\x0f";
  codes[16] = "\x1b@";
  std::size_t sent = 0;
  int pages = 0;
  for (auto _ : state) {
    memory_sink printer;
    spool_request r;
    r.source = path;
    r.flags = SPOOL_PRINTER | SPOOL_KEEP_SOURCE;
    spool_file(r, codes, code_page(CODE_PAGE_LATIN2), &printer);
    sent = printer.bytes().size();
  }
  {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::string bytes;
    char chunk[65536];
    std::size_t n;
    while (f && (n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
    if (f) std::fclose(f);
    pages = count_spool_pages(bytes);
  }
  state.counters["pages"] = pages;
  state.counters["bytes_sent"] = double(sent);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sent));
  std::remove(path.c_str());
}
BENCHMARK(BM_SpoolToPrinter)->Unit(benchmark::kMillisecond);

} // namespace
