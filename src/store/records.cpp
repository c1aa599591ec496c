#include "store/records.h"

#include "store/byte_order.h"
#include "store/check_block.h"
#include "store/container.h"
#include "store/corruption.h"
#include "store/records_internal.h"
#include "store/store_error.h"

#include <cstring>
#include <new>

namespace kovra::store {

namespace detail {

struct trace_scope {
  ~trace_scope() { trace_end(); }
};

namespace {

void note_block(const char* text, int handle, rec_pos position) {
  uint8_t bytes[block_header_size] = {};
  if (position != -1) read_at(handle, position, bytes, sizeof bytes);
  trace_block(text, handle, position, position == -1 ? nullptr : bytes);
  trace_end();
}

void trace_chain(const char* text, const record_set& s, const record_class& c, rec_pos position, int mode) {
  trace_record(text, s.handle, s.header.first[c.chain], s.header.last[c.chain], c.rec_type, position, mode);
}

void set_link(record_set& s, rec_pos at, bool next_field, rec_pos value) {
  block_header h;
  if (!read_block_header(s.handle, at, h)) report_corruption(s.handle, at);
  (next_field ? h.next : h.prev) = value;
  if (!write_block_header(s.handle, at, h)) throw store_failure("link write failed");
}

bool type_fits(const record_set& s, const record_class& c, const block_header& h) {
  return (h.type == c.rec_type || h.type == REC_TYPE_BLOB) && h.set_no == uint16_t(s.header.set_no);
}

} // namespace

block_header chain_block(record_set& s, const record_class& c, rec_pos position) {
  block_header h;
  if (!read_block_header(s.handle, position, h) || !type_fits(s, c, h) || !block_is_sound(s.handle, position))
    report_corruption(s.handle, position);
  return h;
}

bool caller_block(record_set& s, const record_class& c, rec_pos position, block_header& out) {
  if (position <= 0 || !read_block_header(s.handle, position, out) || !type_fits(s, c, out)) return false;
  require_sound_block(s.handle, position);
  return true;
}

rec_pos linked_insert(record_set& s, record_class& c, uint8_t type, int mode, rec_pos p, uint8_t* data,
                      int32_t length) {
  if (s.read_only || length < 0 || length > max_plain_record || mode < FIRST_REC || mode > LAST_REC)
    throw store_failure("bad insert");
  const int k = c.chain;
  trace_chain("inslk rec", s, c, p, mode);
  trace_scope scope;
  if (p > 0) {
    trace_chain("inslk rec wzgledny offset", s, c, p, mode);
    trace_end();
  }
  rec_pos prev = -1, next = -1;
  bool replaces = false;
  block_header old;
  if (s.header.first[k] != -1) {
    switch (mode) {
    case FIRST_REC: next = s.header.first[k]; break;
    case LAST_REC: prev = s.header.last[k]; break;
    case PREV_REC:
    case THIS_REC:
    case NEXT_REC:
      if (!caller_block(s, c, p, old)) return -1;
      if (mode == PREV_REC) {
        next = p;
        prev = old.prev;
      } else if (mode == NEXT_REC) {
        prev = p;
        next = old.next;
      } else {
        prev = old.prev;
        next = old.next;
        replaces = true;
      }
      break;
    }
  }
  // A record that changes shape keeps its serial; the segments of a blob it replaces are
  // freed only once the new record is written.
  std::vector<segment_block> old_segments;
  if (replaces && old.type == REC_TYPE_BLOB) old_segments = blob_segments(s, p, old);
  if (replaces && c.auto_number && length >= 2 && (old.type == REC_TYPE_BLOB || type == REC_TYPE_BLOB))
    put_u16(data, stored_serial(s, p, old));

  block_header h;
  h.set_no = uint16_t(s.header.set_no);
  h.prev = prev;
  h.next = next;
  h.used = uint16_t(length);
  rec_pos n;
  if (replaces && old.capacity >= length) {
    n = p;  // in place: the block keeps its size and capacity
    h.type = (old.type == REC_TYPE_BLOB || type == REC_TYPE_BLOB) ? type : old.type;
    h.size = old.size;
    h.capacity = old.capacity;
  } else {
    if (replaces) give_free_block(s.lists(), p, old.size);
    n = take_free_block(s.lists(), length + block_header_size);
    h.type = type;
    h.size = uint16_t(length + block_header_size);
    h.capacity = uint16_t(length);
    if (prev == -1) s.header.first[k] = n;
    else {
      set_link(s, prev, true, n);
      note_block("inslk rec prev", s.handle, prev);
    }
    if (next == -1) s.header.last[k] = n;
    else {
      set_link(s, next, false, n);
      note_block("inslk rec next", s.handle, next);
    }
  }
  if (!replaces) {
    ++s.header.count[k];
    ++s.header.serial[k];
    if (c.auto_number && length >= 2) put_u16(data, s.header.serial[k]);
  }
  if (!write_block_header(s.handle, n, h) || !write_at(s.handle, n + block_header_size, data, length))
    throw store_failure("record write failed");
  for (const segment_block& seg : old_segments) give_free_block(s.lists(), seg.position, seg.size);
  note_block("inslk rec this", s.handle, n);
  require_sound_block(s.handle, n);
  return n;
}

uint16_t stored_serial(record_set& s, rec_pos position, const block_header& h) {
  uint8_t bytes[2] = {};
  if (h.used < 2 || read_at(s.handle, position + block_header_size, bytes, 2) != 2) return 0;
  return get_u16(bytes);
}

} // namespace detail

namespace {

using namespace detail;

template <typename Result, typename Body>
Result guarded(Result failure, Body body) {
  try {
    return body();
  } catch (const store_failure&) {
    return failure;
  } catch (const std::bad_alloc&) {
    return failure;
  }
}

int64_t walk_limit(int handle) { return file_length(handle) / block_header_size + 1; }

rec_pos blob_insert(record_set& s, record_class& c, int mode, rec_pos p, uint8_t* data, int32_t length) {
  std::vector<rec_pos> segments;
  rec_pos at = -1;
  std::vector<uint8_t> head;
  try {
    write_blob_segments(s, data, length, segments);
    const int32_t n = int32_t(segments.size());
    head.assign(size_t(10 + 4 * n), 0);
    put_i32(head.data() + 2, length);
    put_i32(head.data() + 6, n);
    for (int32_t i = 0; i < n; ++i) put_i32(head.data() + 10 + 4 * i, segments[size_t(i)]);
    // A rewrite finds the record's own serial here (the linked insert puts it in).
    at = linked_insert(s, c, REC_TYPE_BLOB, mode, p, head.data(), int32_t(head.size()));
  } catch (...) {
    give_back_segments(s, segments);
    throw;
  }
  if (at < 0) {
    give_back_segments(s, segments);
    return -1;
  }
  // The serial lands in the caller's data and in the stored data alike.
  std::memcpy(data, head.data(), 2);
  if (c.auto_number && !write_at(s.handle, segments[0] + block_header_size, head.data(), 2))
    throw store_failure("blob write failed");
  return at;
}

} // namespace

rec_pos insert_record(record_class& c, int mode, rec_pos position, void* data, int32_t length) {
  record_set* s = set_of(c);
  if (!s || !data || length < 0) return -1;
  return guarded<rec_pos>(-1, [&] {
    uint8_t* bytes = static_cast<uint8_t*>(data);
    if (length > max_plain_record) return blob_insert(*s, c, mode, position, bytes, length);
    return linked_insert(*s, c, c.rec_type, mode, position, bytes, length);
  });
}

rec_pos add_record(record_class& c, void* data, int32_t length) { return insert_record(c, FIRST_REC, 0, data, length); }

rec_pos rewrite_record(record_class& c, rec_pos p, const void* data, int32_t length) {
  record_set* s = set_of(c);
  if (!s || !data || length < 0 || s->read_only) return -1;
  return guarded<rec_pos>(-1, [&]() -> rec_pos {
    block_header h;
    if (!caller_block(*s, c, p, h)) return -1;
    if (length > max_plain_record || h.type == REC_TYPE_BLOB) {
      // Blobs change shape: replace the record as a whole, keeping its place in the chain.
      std::vector<uint8_t> copy(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + length);
      if (length > max_plain_record) return blob_insert(*s, c, THIS_REC, p, copy.data(), length);
      return linked_insert(*s, c, c.rec_type, THIS_REC, p, copy.data(), length);
    }
    trace_record("rew rec", s->handle, s->header.first[c.chain], s->header.last[c.chain], c.rec_type, p, THIS_REC);
    trace_scope scope;
    const auto note = [&](const char* text, rec_pos at) {
      uint8_t bytes[block_header_size] = {};
      if (at != -1) read_at(s->handle, at, bytes, sizeof bytes);
      trace_block(text, s->handle, at, at == -1 ? nullptr : bytes);
      trace_end();
    };
    note("rew rec prev", h.prev);
    note("rew rec this", p);
    note("rew rec next", h.next);
    if (h.capacity >= length) {
      h.used = uint16_t(length);
      if (!write_block_header(s->handle, p, h) || !write_at(s->handle, p + block_header_size, data, length))
        throw store_failure("record write failed");
      require_sound_block(s->handle, p);
      return p;
    }
    give_free_block(s->lists(), p, h.size);
    const rec_pos n = take_free_block(s->lists(), length + block_header_size);
    const int k = c.chain;
    auto link = [&](rec_pos at, bool next_field) {
      block_header nb;
      if (!read_block_header(s->handle, at, nb)) report_corruption(s->handle, at);
      (next_field ? nb.next : nb.prev) = n;
      if (!write_block_header(s->handle, at, nb)) throw store_failure("link write failed");
    };
    if (h.prev == -1) s->header.first[k] = n;
    else {
      link(h.prev, true);
      note("rew rec prev", h.prev);
    }
    if (h.next == -1) s->header.last[k] = n;
    else {
      link(h.next, false);
      note("rew rec next", h.next);
    }
    block_header nh = h;
    nh.size = uint16_t(length + block_header_size);
    nh.capacity = nh.used = uint16_t(length);
    if (!write_block_header(s->handle, n, nh) || !write_at(s->handle, n + block_header_size, data, length))
      throw store_failure("record write failed");
    require_sound_block(s->handle, n);
    require_sound_block(s->handle, h.prev);
    require_sound_block(s->handle, h.next);
    return n;
  });
}

bool rewrite_keep_size(record_class& c, const void* data, rec_pos p) {
  record_set* s = set_of(c);
  if (!s || !data || s->read_only) return false;
  return guarded(false, [&] {
    block_header h;
    if (!caller_block(*s, c, p, h) || h.type == REC_TYPE_BLOB) return false;
    return write_at(s->handle, p + block_header_size, data, h.used);
  });
}

bool delete_record(record_class& c, rec_pos p) {
  record_set* s = set_of(c);
  if (!s || s->read_only) return false;
  return guarded(false, [&] {
    block_header h;
    if (!caller_block(*s, c, p, h)) return false;
    const int k = c.chain;
    if (h.type == REC_TYPE_BLOB) {
      trace_record("del blob rec", s->handle, s->header.first[k], s->header.last[k], c.rec_type, p, NO_REC_MODE);
      trace_end();
      free_blob_segments(*s, p, h);
    }
    trace_record("del rec", s->handle, s->header.first[k], s->header.last[k], c.rec_type, p, NO_REC_MODE);
    trace_scope scope;
    // Only the chain's ends may lack a neighbour.
    if ((h.prev == -1 && s->header.first[k] != p) || (h.next == -1 && s->header.last[k] != p))
      report_corruption(s->handle, p);
    --s->header.count[k];
    if (h.prev == -1) s->header.first[k] = h.next;
    else {
      block_header pb = chain_block(*s, c, h.prev);
      pb.next = h.next;
      if (!write_block_header(s->handle, h.prev, pb)) throw store_failure("link write failed");
      trace_record("del rec prev", s->handle, s->header.first[k], s->header.last[k], c.rec_type, h.prev,
                   NO_REC_MODE);
      trace_end();
    }
    if (h.next == -1) s->header.last[k] = h.prev;
    else {
      block_header nb;
      if (!read_block_header(s->handle, h.next, nb)) report_corruption(s->handle, h.next);
      nb.prev = h.prev;
      if (!write_block_header(s->handle, h.next, nb)) throw store_failure("link write failed");
      trace_record("del rec next", s->handle, s->header.first[k], s->header.last[k], c.rec_type, h.next,
                   NO_REC_MODE);
      trace_end();
    }
    give_free_block(s->lists(), p, h.size);
    require_sound_block(s->handle, h.prev);
    require_sound_block(s->handle, h.next);
    return true;
  });
}

rec_pos locate_record(record_class& c, int mode, rec_pos p, block_header* header_out) {
  record_set* s = set_of(c);
  if (!s) return -1;
  return guarded<rec_pos>(-1, [&]() -> rec_pos {
    rec_pos at = -1;
    switch (mode) {
    case FIRST_REC: at = s->header.first[c.chain]; break;
    case LAST_REC: at = s->header.last[c.chain]; break;
    case PREV_REC:
    case THIS_REC:
    case NEXT_REC: {
      block_header h;
      if (!caller_block(*s, c, p, h)) return -1;
      at = mode == THIS_REC ? p : mode == PREV_REC ? h.prev : h.next;
      break;
    }
    default: return -1;
    }
    if (at == -1) return -1;
    const block_header h = chain_block(*s, c, at);
    if (header_out) *header_out = h;
    return at;
  });
}

rec_pos read_record(record_class& c, int mode, rec_pos p, void* buffer, int32_t length) {
  record_set* s = set_of(c);
  if (!s || !buffer) return -1;
  block_header h;
  const rec_pos at = locate_record(c, mode, p, &h);
  if (at < 0) return -1;
  const int32_t n = length <= 0 ? h.capacity : std::min<int32_t>(length, h.capacity);
  return read_at(s->handle, at + block_header_size, buffer, n) == n ? at : -1;
}

int32_t read_record_at(record_class& c, rec_pos p, void* buffer) {
  record_set* s = set_of(c);
  if (!s || !buffer) return -1;
  return guarded<int32_t>(-1, [&]() -> int32_t {
    block_header h;
    if (!caller_block(*s, c, p, h)) return -1;
    if (read_at(s->handle, p + block_header_size, buffer, h.capacity) != h.capacity) return -1;
    return h.used;
  });
}

bool read_record_new(record_class& c, rec_pos p, std::vector<uint8_t>& out, bool strict) {
  record_set* s = set_of(c);
  out.clear();
  if (!s) return false;
  return guarded(false, [&] {
    block_header h;
    if (!caller_block(*s, c, p, h)) return false;
    if (h.type == REC_TYPE_BLOB) return read_blob(*s, p, h, out);
    if (strict && h.used < h.capacity) return false;
    out.resize(h.used);
    return read_at(s->handle, p + block_header_size, out.data(), h.used) == h.used;
  });
}

const uint8_t* read_record_shared(record_class& c, rec_pos p, int32_t* length_out) {
  static std::vector<uint8_t> shared;
  record_set* s = set_of(c);
  if (!s) return nullptr;
  return guarded<const uint8_t*>(nullptr, [&]() -> const uint8_t* {
    block_header h;
    if (!caller_block(*s, c, p, h)) return nullptr;
    if (shared.size() < h.capacity) shared.resize(h.capacity);  // grown, never shrunk
    if (read_at(s->handle, p + block_header_size, shared.data(), h.capacity) != h.capacity) return nullptr;
    if (length_out) *length_out = h.used;
    return shared.data();
  });
}

namespace {

// Reads the record at `at` into the buffer and moves the cursor past it.
rec_pos step_to(record_class& c, rec_pos at, void* buffer, record_cursor& cursor) {
  record_set* s = set_of(c);
  if (!s || at == -1) {
    cursor.next = -1;
    return -1;
  }
  return guarded<rec_pos>(-1, [&]() -> rec_pos {
    if (++cursor.steps > walk_limit(s->handle)) report_corruption(s->handle, at);  // a loop
    const block_header h = chain_block(*s, c, at);
    if (buffer && read_at(s->handle, at + block_header_size, buffer, h.capacity) != h.capacity) return -1;
    cursor.handle = s->handle;
    cursor.owner = &c;
    cursor.next = h.next;
    cursor.prev = h.prev;
    return at;
  });
}

} // namespace

rec_pos first_record(record_class& c, void* buffer, record_cursor& cursor) {
  cursor = record_cursor{};
  cursor.owner = &c;
  record_set* s = set_of(c);
  return s ? step_to(c, s->header.first[c.chain], buffer, cursor) : -1;
}

rec_pos next_record(record_cursor& cursor, void* buffer) {
  if (!cursor.owner || cursor.next == -1) return -1;
  return step_to(*cursor.owner, cursor.next, buffer, cursor);
}

rec_pos record_at(record_class& c, rec_pos p, void* buffer, record_cursor& cursor) {
  cursor = record_cursor{};
  cursor.owner = &c;
  record_set* s = set_of(c);
  if (!s) return -1;
  block_header h;
  if (!guarded(false, [&] { return caller_block(*s, c, p, h); })) return -1;
  return step_to(c, p, buffer, cursor);
}

rec_pos next_of(record_class& c, rec_pos p, void* buffer) {
  const rec_pos at = locate_record(c, NEXT_REC, p);
  record_cursor cursor;
  return at < 0 ? -1 : step_to(c, at, buffer, cursor);
}

rec_pos prev_of(record_class& c, rec_pos p, void* buffer) {
  const rec_pos at = locate_record(c, PREV_REC, p);
  record_cursor cursor;
  return at < 0 ? -1 : step_to(c, at, buffer, cursor);
}

int record_count(const record_class& c) {
  const record_set* s = set_of(c);
  return s ? s->header.count[c.chain] : 0;
}

} // namespace kovra::store
