// Spooler on arbitrary spool-file bytes: page ranges, marks and line limits never crash, and
// a range is refused exactly when the file has fewer pages than its first page.
#include "report/print_sink.h"
#include "report/spooler.h"
#include "shell/message_sink.h"
#include "shell/messages.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace kovra::report;
  static kovra::shell::recording_message_sink sink;
  static const std::string path = "/tmp/kovra_fuzz_spool_" + std::to_string(getpid());
  kovra::shell::set_message_sink(&sink);
  sink.clear();
  if (size < 2) return 0;
  const int first = 1 + data[0] % 5;
  const int last = first + data[1] % 4;
  const std::string bytes(reinterpret_cast<const char*>(data + 2), size - 2);
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  printer_codes codes{};
  codes[SLOT_PAGE_END] = "\f";
  codes[SLOT_RESET] = "\x1b@";
  memory_sink printer;
  spool_request r;
  r.source = path;
  r.first_page = first;
  r.last_page = last;
  r.flags = SPOOL_PRINTER | SPOOL_KEEP_SOURCE | (data[0] & 0x80 ? SPOOL_PLAIN : 0);
  const spool_result result = spool_file(r, codes, code_page(data[1] % 4), &printer);
  const int pages = count_spool_pages(bytes);
  if (result == spool_result::done && first > pages) __builtin_trap();
  if (result == spool_result::no_pages && first <= pages) __builtin_trap();
  return 0;
}
