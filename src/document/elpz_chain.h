#pragma once
// The node chain of a simple estimate: reading records in tree order, inserting a new
// one with its used length, rewriting one in place.
#include "document/elpz_record.h"
#include "document/record_source.h"

namespace kovra::document {

// Locates by mode (FIRST_REC, NEXT_REC, ... relative to `pos`) and reads the record into
// `out` (cut to 676 bytes). Returns its position, -1 when there is none.
rec_pos read_elpz(const record_source& src, int mode, rec_pos pos, elpz_record& out);

// Inserts the record with its used length (the description cut at 676 bytes) by mode;
// the chain numbers it in `record`. Returns the position, -1 when the insert failed.
rec_pos insert_elpz_record8(record_source& src, elpz_record& record, int mode, rec_pos pos);

// Rewrites the record in place; it keeps its stored length.
bool rewrite_elpz(record_source& src, const elpz_record& record, rec_pos pos);

} // namespace kovra::document
