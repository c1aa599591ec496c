#pragma once
// The process-wide registry of open container files, indexed by the handle the
// container layer hands out (0-99). It remembers what each handle was opened as, so
// that a file can be found again by its path and so that the program does not lock
// itself out of a file it already holds.
#include <cstdint>
#include <string>

namespace kovra::store {

inline constexpr int max_open_files = 100;

// Records `path` for `handle` with its open mode (container open mode, bit 3 included)
// and the last open error of that open. False for a handle outside 0-99, which the
// caller must close again and report as too many open files; false for an empty path.
bool register_file(int handle, const std::string& path, int open_mode = 0, uint8_t open_error = 0);
// Frees the entry (no effect on a free or out-of-range handle).
void release_file(int handle);

// Path as registered; "" for a free or out-of-range handle.
const std::string& file_path(int handle);
// Open mode as registered, or -1 for a free or out-of-range handle.
int file_open_mode(int handle);
// Last open error recorded for the handle (0 for a free or out-of-range handle).
uint8_t file_open_error(int handle);

// Handle of the open file with this path, or -1. Paths are compared after resolving
// them to one absolute spelling (".", "..", symbolic links), and case-sensitively:
// on this system "A.kvr" and "a.kvr" are two different files.
int find_open_file(const std::string& path);

// True when the file may be opened for writing. A file this process holds open counts
// as writable only when it was opened in mode 0 or 1 (read-write); for any other file
// a write open is tried, and an open elsewhere (this process or another) that denies
// writing makes it not writable. A file created by the test is deleted again.
bool is_writable(const std::string& path);

// Frees every entry (tests).
void reset_open_files();

} // namespace kovra::store
