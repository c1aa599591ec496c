// The estimate printout ("Kosztorys", full layout, the default options) of the 10,000-position
// estimate that `kovra-cli generate --kind simple` writes: to PDF and to a text file, each the
// whole way (open, recalculation, layout, output). Counters: pages, pages per second, and the
// peak resident size of the process that printed: `kovra-cli print`, run as its own process
// (the page and spool files live on disk).
#include "bench_files.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>
#include <algorithm>
#include <cstdlib>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// kovra-cli next to the benchmarks (build/<preset>/bin).
std::string cli_path() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return (exe.parent_path().parent_path() / "bin" / "kovra-cli").string();
}

// The high-water mark of a running process's resident size (VmHWM), 0 when it has gone.
long vm_hwm_kb(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

// Runs `kovra-cli print FILE --format FORMAT -o OUT` as its own process; its peak resident
// size in KB (polled from /proc while it runs: the kernel's own peak of a spawned child also
// counts the pages of the process that spawned it), or -1 when it failed.
long print_process(const std::string& file, const char* format, const std::string& out, const char* parts = "40") {
  const std::string cli = cli_path();
  std::vector<std::string> words = {cli, "print", file, "--parts", parts, "--format", format, "-o", out};
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (::posix_spawn(&pid, cli.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  long peak = 0;
  int status = 0;
  while (true) {
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0) return -1;
    peak = std::max(peak, vm_hwm_kb(pid));
    ::usleep(2000);
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return peak;
}

std::string temp_out(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::string(name) + std::to_string(::getpid()))).string();
}

int form_feeds(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  int n = 0;
  for (std::istreambuf_iterator<char> it(in), end; it != end; ++it) n += *it == '\f';
  return n;
}

void BM_EstimatePrintoutText(benchmark::State& state) {
  const std::string& file = kovra::bench::simple_10k_file();
  const std::string out = temp_out("kovra_bench_printout.txt");
  long peak = 0;
  for (auto _ : state) {
    peak = print_process(file, "utf8", out);
    if (peak < 0) {
      state.SkipWithError("the printout failed");
      return;
    }
  }
  const int pages = form_feeds(out);
  state.counters["pages"] = pages;
  state.counters["pages_per_s"] = benchmark::Counter(double(pages) * double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["peak_rss_kb"] = double(peak);
  std::filesystem::remove(out);
}
BENCHMARK(BM_EstimatePrintoutText)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// Every printed part in one run ("Kosztorys" alone with no argument).
void BM_EstimatePrintoutPdf(benchmark::State& state, const char* parts) {
  const std::string& file = kovra::bench::simple_10k_file();
  const std::string out = temp_out("kovra_bench_printout.pdf");
  long peak = 0;
  for (auto _ : state) {
    peak = print_process(file, "pdf", out, parts);
    if (peak < 0) {
      state.SkipWithError("the printout failed");
      return;
    }
  }
  // Pages counted from the file's page objects.
  std::ifstream in(out, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  int pages = 0;
  for (std::size_t at = 0; (at = bytes.find("/Type /Page", at)) != std::string::npos; ++at)
    if (bytes.compare(at, 12, "/Type /Pages") != 0) ++pages;
  state.counters["pages"] = pages;
  state.counters["pages_per_s"] = benchmark::Counter(double(pages) * double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["peak_rss_kb"] = double(peak);
  std::filesystem::remove(out);
}
BENCHMARK_CAPTURE(BM_EstimatePrintoutPdf, estimate, "40")->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(BM_EstimatePrintoutPdf, all_parts, "10,15,25,30,35,40,45,50,55,60,65,70,75,80,85,90,93,96,100")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

} // namespace
