#include "store/corruption.h"

#include "store/container.h"
#include "store/log.h"
#include "store/store_error.h"
#include "store/trace.h"

#include <cstdio>

namespace kovra::store {

namespace {

struct corruption_state {
  corruption_handler* handler = nullptr;
  bool reported = false;
};

corruption_state& state() {
  static corruption_state s;
  return s;
}

// A header for the report: zeros when the position is none or cannot be read.
block_header header_at(int handle, rec_pos position) {
  uint8_t bytes[block_header_size] = {};
  if (position >= 0) read_at(handle, position, bytes, sizeof bytes);
  return decode_block_header(bytes);
}

} // namespace

void set_corruption_handler(corruption_handler* handler) { state().handler = handler; }

std::string corruption_report_path() { return program_folder() + corruption_report_name; }

std::string corruption_block_line(rec_pos position, const block_header& h) {
  char line[160];
  std::snprintf(line, sizeof line, "%7ld   %-25s %3d  (%4d %4d %4d)  %6ld  %6ld\n", long(position),
                record_type_diag_name(h.type), int(h.set_no), int(h.size), int(h.capacity), int(h.used),
                long(h.prev), long(h.next));
  return line;
}

bool write_corruption_report(int handle, rec_pos position) {
  const std::string path = corruption_report_path();
  std::FILE* out = std::fopen(path.c_str(), "w");
  if (out) {
    const block_header broken = header_at(handle, position);
    const rec_pos prev = position >= 0 ? broken.prev : -1;
    const rec_pos next = position >= 0 ? broken.next : -1;
    std::fprintf(out, "\nZbior: %s\n\n", container_path(handle).c_str());
    write_trace(out);
    std::fputs("\n\n", out);
    std::fputs(corruption_block_line(prev, header_at(handle, prev)).c_str(), out);
    std::fputs(corruption_block_line(position, broken).c_str(), out);
    std::fputs(corruption_block_line(next, header_at(handle, next)).c_str(), out);
    std::fclose(out);
  }
  state().reported = true;
  return out != nullptr;
}

void report_corruption(int handle, rec_pos position) {
  const bool written = write_corruption_report(handle, position);
  if (state().handler) state().handler->corrupted(corruption_report_path(), written);
  throw store_failure("damaged block");
}

bool corruption_reported() { return state().reported; }
void reset_corruption_state() { state().reported = false; }

} // namespace kovra::store
