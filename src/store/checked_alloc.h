#pragma once
// Guarded memory allocation.
//
// Running out of memory is reported the way the program always has: "\nMALLOC_T\n"
// in the log, the alarm, and fatal_error("Za malo pamieci."). The library does not end
// the process: after the report std::bad_alloc goes up to the store's entry point,
// which turns it into that call's error value.
#include <cstddef>

namespace kovra::store {

// Writes the log line, sounds the alarm and raises the fatal error. A report that runs
// out of memory itself is not repeated.
void report_out_of_memory();

// Installs a std::new_handler that reports (above) and throws std::bad_alloc, so that
// every failed `new` of the program is reported. Returns the previous handler.
using new_handler_fn = void (*)();
new_handler_fn install_out_of_memory_handler();
bool out_of_memory_handler_installed();

// malloc, calloc and realloc for buffers that must stay raw memory (file images,
// records handed on to C code); release with std::free. A failed request for more than
// zero bytes is reported and throws std::bad_alloc; a zero-byte request that returns
// nothing is not a failure and gives nullptr (checked_realloc to zero bytes frees the
// block). When checked_realloc fails, the old block is still the caller's.
void* checked_alloc(std::size_t size);
void* checked_calloc(std::size_t count, std::size_t size);
void* checked_realloc(void* block, std::size_t size);

} // namespace kovra::store
