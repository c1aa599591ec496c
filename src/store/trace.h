#pragma once
// The operation trace: a ring of the last 301 store operations, written into the
// corruption report so that the report shows what led up to a broken block.
#include <cstdint>
#include <cstdio>
#include <string>

namespace kovra::store {

inline constexpr int trace_ring_size = 301;

// Locate and insert modes of records and repeated keys; the names appear in the trace.
enum rec_mode : int { FIRST_REC = 0, PREV_REC = 1, THIS_REC = 2, NEXT_REC = 3, LAST_REC = 4, NO_REC_MODE = -1 };

// Kind 1: a record operation on one chain (first and last position of the chain, its record type).
void trace_record(const char* text, int handle, int32_t first, int32_t last, int rec_type,
                  int32_t position, int mode);
// Kind 2: a free-space operation, with the five free-list heads.
void trace_free_list(const char* text, int handle, int32_t position, int32_t length, const int32_t heads[5]);
// Kind 3: a block inspection; `header` is the block's 17-byte header, or nullptr for position -1
// (recorded as zeros).
void trace_block(const char* text, int handle, int32_t position, const uint8_t* header);
// Lowers the nesting depth raised by the trace_* calls above.
void trace_end();

// Kind 4: made at the start of a document-level operation; records the name with the
// source file (the part after the last '/' or '\') and line, raises the depth for its life.
class Call_History_t {
public:
  Call_History_t(const char* name, const char* source_file, int line);
  ~Call_History_t();
  Call_History_t(const Call_History_t&) = delete;
  Call_History_t& operator=(const Call_History_t&) = delete;
};

// Diagnostic name of a record type code, as the trace and the corruption report print it:
// the type's name for 0-14, 100 and 101, "REC_TYPE_FREE" for any other code.
const char* record_type_diag_name(int code);
// Name of a locate/insert mode ("FIRST_REC" ... "LAST_REC"), "" for any other value.
const char* rec_mode_name(int mode);

// Current nesting depth and number of entries held (at most trace_ring_size).
int trace_depth();
int trace_entry_count();

// Writes the ring oldest entry first, in the report's fixed formats.
void write_trace(std::FILE* out);
std::string trace_text();

// Empties the ring and zeroes the depth (tests).
void reset_trace();

} // namespace kovra::store
