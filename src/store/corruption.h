#pragma once
// The corruption path: a damaged block found inside a container is described in
// "opis_bledu_multi_zbioru.err" in the program folder (the operation trace, then the
// broken block between its neighbours), then the installed handler is told. The windowed
// program's handler shows message 2 and ends the program; everywhere else the store call
// that met the damage returns its error value.
#include "store/block_header.h"

#include <string>

namespace kovra::store {

inline constexpr const char* corruption_report_name = "opis_bledu_multi_zbioru.err";

class corruption_handler {
public:
  virtual ~corruption_handler() = default;
  // `report_written` is false when the description file could not be created (the
  // windowed program then shows message 1 with its path instead of message 2).
  virtual void corrupted(const std::string& report_path, bool report_written) = 0;
};

// nullptr: no handler (the error value alone reports the damage).
void set_corruption_handler(corruption_handler* handler);

// Full path of the description file.
std::string corruption_report_path();

// Writes the description for the block at `position` (its neighbours taken from its
// header when readable), tells the handler, then throws store_failure. Only for use
// inside the store, below a public call that catches it.
[[noreturn]] void report_corruption(int handle, rec_pos position);

// Only writes the description file (true when it was written); for damage found by code
// that goes on to its own fatal-error path.
bool write_corruption_report(int handle, rec_pos position);

// The description's block line ("%7ld   %-25s %3d  (%4d %4d %4d)  %6ld  %6ld\n").
std::string corruption_block_line(rec_pos position, const block_header& h);

// Whether the path was taken since the last reset, and reset (tests, kovra-cli).
bool corruption_reported();
void reset_corruption_state();

} // namespace kovra::store
