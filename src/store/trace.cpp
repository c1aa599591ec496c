#include "store/trace.h"

#include <array>
#include <cstdlib>
#include <cstring>

namespace kovra::store {

namespace {

inline constexpr size_t trace_text_size = 64;

struct trace_entry {
  int kind = 0;
  int depth = 0;
  char text[trace_text_size] = {};
  int handle = 0;
  // kind 1
  int32_t first = 0, last = 0, position = 0;
  int rec_type = 0, mode = NO_REC_MODE;
  // kind 2 (position above)
  int32_t length = 0;
  int32_t heads[5] = {};
  // kind 3 (position above)
  uint8_t header[17] = {};
  // kind 4
  char file[trace_text_size] = {};
  int line = 0;
};

struct trace_state {
  std::array<trace_entry, trace_ring_size> ring;
  int next = 0;   // where the next entry goes
  int count = 0;  // entries held, up to the ring size
  int depth = 0;
};

trace_state& state() {
  static trace_state s;
  return s;
}

void copy_text(char* out, const char* text) {
  if (!text) text = "";
  std::strncpy(out, text, trace_text_size - 1);
  out[trace_text_size - 1] = '\0';
}

// Takes the next ring slot, fills the common part and raises the depth for the
// operation that follows.
trace_entry& new_entry(int kind, const char* text) {
  trace_state& s = state();
  trace_entry& e = s.ring[size_t(s.next)];
  e = trace_entry{};
  e.kind = kind;
  e.depth = s.depth;
  copy_text(e.text, text);
  s.next = (s.next + 1) % trace_ring_size;
  if (s.count < trace_ring_size) ++s.count;
  ++s.depth;
  return e;
}

uint16_t get16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
int32_t get32(const uint8_t* p) {
  return int32_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24));
}

const char* base_name(const char* path) {
  if (!path) return "";
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '/' || *p == '\\') name = p + 1;
  return name;
}

void write_entry(std::FILE* out, const trace_entry& e) {
  const int indent = 2 * e.depth;
  std::fprintf(out, "%*s %s\n", indent, "", e.text);
  switch (e.kind) {
  case 1:
    std::fprintf(out, "  %*s fh=%d  first=%ld  last=%ld  rec_type=%d  offset=%ld  %s\n", indent, "", e.handle,
                 long(e.first), long(e.last), e.rec_type, long(e.position), rec_mode_name(e.mode));
    break;
  case 2:
    std::fprintf(out, "  %*s fh=%d  offset=%ld  length=%ld\n", indent, "", e.handle, long(e.position),
                 long(e.length));
    for (int i = 0; i < 5; ++i) std::fprintf(out, "  %*s free space[%d]=%ld\n", indent, "", i, long(e.heads[i]));
    break;
  case 3:
    std::fprintf(out, "  %*s %7ld   %-25s (%4d %4d %4d)  %6ld  %6ld\n", indent, "", long(e.position),
                 record_type_diag_name(e.header[0]), int(get16(e.header + 3)), int(get16(e.header + 5)),
                 int(get16(e.header + 7)), long(get32(e.header + 9)), long(get32(e.header + 13)));
    break;
  case 4:
    std::fprintf(out, "-->%*s file=%s  line=%d\n", indent, "", e.file, e.line);
    break;
  default:
    break;
  }
}

} // namespace

const char* record_type_diag_name(int code) {
  static const char* const names[15] = {
      "REC_TYPE_NONE",       "REC_TYPE_BRMS",          "REC_TYPE_ELPZ",       "REC_TYPE_ZEST",
      "REC_TYPE_RMS_BLK",    "REC_TYPE_IL_ROB_OPIS",   "REC_TYPE_DANE_OGOL_OPIS", "REC_TYPE_OVHDR",
      "REC_TYPE_ZEST_QTY",   "REC_TYPE_CHPT_NODE",     "REC_TYPE_CHPT_ZEST",  "REC_TYPE_INTG_PRLST",
      "REC_TYPE_FILTR",      "REC_TYPE_HISTORY",       "REC_TYPE_HGRAM_LINK"};
  if (code >= 0 && code <= 14) return names[code];
  if (code == 100) return "REC_TYPE_SUBFILE_HDR";
  if (code == 101) return "REC_TYPE_BTREE_LEAF";
  return "REC_TYPE_FREE";
}

const char* rec_mode_name(int mode) {
  switch (mode) {
  case FIRST_REC: return "FIRST_REC";
  case PREV_REC: return "PREV_REC";
  case THIS_REC: return "THIS_REC";
  case NEXT_REC: return "NEXT_REC";
  case LAST_REC: return "LAST_REC";
  default: return "";
  }
}

void trace_record(const char* text, int handle, int32_t first, int32_t last, int rec_type, int32_t position,
                  int mode) {
  trace_entry& e = new_entry(1, text);
  e.handle = handle;
  e.first = first;
  e.last = last;
  e.rec_type = rec_type;
  e.position = position;
  e.mode = mode;
}

void trace_free_list(const char* text, int handle, int32_t position, int32_t length, const int32_t heads[5]) {
  trace_entry& e = new_entry(2, text);
  e.handle = handle;
  e.position = position;
  e.length = length;
  if (heads) std::memcpy(e.heads, heads, sizeof e.heads);
}

void trace_block(const char* text, int handle, int32_t position, const uint8_t* header) {
  trace_entry& e = new_entry(3, text);
  e.handle = handle;
  e.position = position;
  if (header && position != -1) std::memcpy(e.header, header, sizeof e.header);
}

// A stray end never drives the depth below zero (the report's indent would go negative).
void trace_end() {
  trace_state& s = state();
  if (s.depth > 0) --s.depth;
}

Call_History_t::Call_History_t(const char* name, const char* source_file, int line) {
  trace_entry& e = new_entry(4, name);
  copy_text(e.file, base_name(source_file));
  e.line = line;
}

Call_History_t::~Call_History_t() { trace_end(); }

int trace_depth() { return state().depth; }
int trace_entry_count() { return state().count; }

void write_trace(std::FILE* out) {
  if (!out) return;
  const trace_state& s = state();
  // Before the ring wraps the oldest entry is slot 0; afterwards it is the one after the newest.
  const int start = s.count < trace_ring_size ? 0 : s.next;
  for (int i = 0; i < s.count; ++i) write_entry(out, s.ring[size_t((start + i) % trace_ring_size)]);
}

std::string trace_text() {
  char* data = nullptr;
  size_t size = 0;
  std::FILE* mem = open_memstream(&data, &size);
  if (!mem) return {};
  write_trace(mem);
  std::fclose(mem);
  std::string text(data, size);
  std::free(data);
  return text;
}

void reset_trace() {
  trace_state& s = state();
  s.ring.fill(trace_entry{});
  s.next = 0;
  s.count = 0;
  s.depth = 0;
}

} // namespace kovra::store
