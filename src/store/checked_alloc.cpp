#include "store/checked_alloc.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "store/log.h"

namespace kovra::store {

namespace {

bool reporting = false;

void out_of_memory_new_handler() {
  report_out_of_memory();
  throw std::bad_alloc();
}

// The alarm: the terminal bell is what a Linux desktop program has without a sound card API.
void sound_alarm() {
  std::fputc('\a', stderr);
  std::fflush(stderr);
}

[[noreturn]] void fail_allocation() {
  report_out_of_memory();
  throw std::bad_alloc();
}

} // namespace

void report_out_of_memory() {
  // The report allocates (log text, the handler's message); running dry again inside
  // it must not recurse.
  if (reporting) return;
  reporting = true;
  try {
    log_text("\nMALLOC_T\n");
    sound_alarm();
    fatal_error("Za malo pamieci.");
  } catch (const std::bad_alloc&) {
  }
  reporting = false;
}

new_handler_fn install_out_of_memory_handler() { return std::set_new_handler(out_of_memory_new_handler); }

bool out_of_memory_handler_installed() { return std::get_new_handler() == out_of_memory_new_handler; }

void* checked_alloc(std::size_t size) {
  void* p = std::malloc(size);
  if (!p && size != 0) fail_allocation();
  return p;
}

void* checked_calloc(std::size_t count, std::size_t size) {
  void* p = std::calloc(count, size);
  if (!p && count != 0 && size != 0) fail_allocation();
  return p;
}

void* checked_realloc(void* block, std::size_t size) {
  if (size == 0) {
    std::free(block);
    return nullptr;
  }
  void* p = std::realloc(block, size);
  // On failure the old block stays allocated and owned by the caller.
  if (!p) fail_allocation();
  return p;
}

} // namespace kovra::store
