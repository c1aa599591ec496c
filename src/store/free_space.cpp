#include "store/free_space.h"

#include "store/check_block.h"
#include "store/container.h"
#include "store/corruption.h"
#include "store/store_error.h"
#include "store/trace.h"

#include <new>

namespace kovra::store {

namespace {

// Ends the trace depth raised by a free-space trace entry when the operation leaves.
struct trace_scope {
  ~trace_scope() { trace_end(); }
};

void note(const free_lists& l, const char* text, rec_pos position, int32_t length) {
  trace_free_list(text, l.handle, position, length, l.heads);
  trace_end();
}

block_header header_or_fail(const free_lists& l, rec_pos position) {
  block_header h;
  if (!read_block_header(l.handle, position, h)) report_corruption(l.handle, position);
  return h;
}

void write_or_fail(const free_lists& l, rec_pos position, const block_header& h) {
  if (!write_block_header(l.handle, position, h)) throw store_failure("block header write failed");
}

const char* head_problem(const free_lists& l, int c) {
  const rec_pos head = l.heads[c];
  if (head == -1) return nullptr;
  block_header h;
  if (!read_block_header(l.handle, head, h)) return "free-list head outside the file";
  if (h.type != REC_TYPE_FREE) return "free-list head is not a free block";
  if (h.prev != -1) return "free-list head has a previous block";
  if (!block_header_sound(h)) return "free-list head header unsound";
  if (int32_t(h.size) >= free_class_upper(c) || int32_t(h.size) < free_class_lower(c))
    return "free-list head size outside its class";
  return nullptr;
}

} // namespace

namespace detail {

void require_free_head(const free_lists& l, int c) {
  if (head_problem(l, c)) report_corruption(l.handle, l.heads[c]);
}

void add_to_free_list(const free_lists& l, rec_pos position, int32_t size) {
  trace_free_list("add_to_free_list", l.handle, position, size, l.heads);
  trace_scope scope;
  const int c = free_class(size);
  rec_pos next = -1;
  if (c < free_list_count) {
    next = l.heads[c];
    if (next != -1) {
      require_free_head(l, c);
      block_header head = header_or_fail(l, next);
      head.prev = position;
      write_or_fail(l, next, head);
    }
    l.heads[c] = position;
  }
  block_header h;
  h.type = REC_TYPE_FREE;
  h.set_no = 0;
  h.size = uint16_t(size);
  h.capacity = h.used = uint16_t(size - block_header_size);
  h.prev = -1;
  h.next = next;
  write_or_fail(l, position, h);
  require_sound_block(l.handle, position);
  if (c < free_list_count) require_free_head(l, c);
}

void remove_from_free_list(const free_lists& l, rec_pos position, const block_header& h) {
  trace_free_list("remove_from_free_list", l.handle, position, h.size, l.heads);
  trace_scope scope;
  const int c = free_class(h.size);
  if (c >= free_list_count) return;  // class-5 blocks sit on no list
  if (h.prev == -1) {
    // Only the head has no previous block; anything else is a damaged list.
    if (l.heads[c] != position) report_corruption(l.handle, position);
    l.heads[c] = h.next;
  } else {
    block_header p = header_or_fail(l, h.prev);
    p.next = h.next;
    write_or_fail(l, h.prev, p);
  }
  if (h.next != -1) {
    block_header n = header_or_fail(l, h.next);
    n.prev = h.prev;
    write_or_fail(l, h.next, n);
  }
  require_sound_block(l.handle, h.prev);
  require_sound_block(l.handle, h.next);
  require_free_head(l, c);
}

rec_pos take_free_block(const free_lists& l, int32_t size) {
  trace_free_list("get_free_block", l.handle, -1, size, l.heads);
  trace_scope scope;
  if (size < block_header_size || size > max_block_size) throw store_failure("bad block size");
  const int k = free_class(int64_t(size) + block_header_size);
  for (int c = k - 1; c >= 0; --c) {
    if (c >= free_list_count || l.heads[c] == -1) continue;
    require_free_head(l, c);
    const rec_pos p = l.heads[c];
    block_header h = header_or_fail(l, p);
    const int32_t remainder = int32_t(h.size) - size;
    const rec_pos block = p + remainder;
    if (free_class(remainder) == c) {
      h.size = uint16_t(remainder);
      h.capacity = h.used = uint16_t(remainder - block_header_size);
      write_or_fail(l, p, h);
      require_sound_block(l.handle, p);
    } else {
      remove_from_free_list(l, p, h);
      add_to_free_list(l, p, remainder);
    }
    note(l, "offset from free", block, size);
    return block;
  }
  const int64_t end = file_length(l.handle);
  if (end < 0 || end + size > max_container_length) throw store_failure("container full");
  const uint8_t zero = 0;
  if (!write_at(l.handle, end + size - 1, &zero, 1)) {
    throw store_failure("cannot lengthen the container");
  }
  note(l, "offset from file", rec_pos(end), size);
  return rec_pos(end);
}

void give_free_block(const free_lists& l, rec_pos position, int32_t size) {
  trace_free_list("put_free_block", l.handle, position, size, l.heads);
  trace_scope scope;
  if (size < block_header_size || size > max_block_size) report_corruption(l.handle, position);
  // Merge with the free blocks that follow; each step consumes a whole block, so the walk
  // ends within the file.
  for (;;) {
    const rec_pos after = position + size;
    block_header n;
    if (!read_block_header(l.handle, after, n)) break;
    if (n.type != REC_TYPE_FREE || !block_header_sound(n)) break;
    if (int32_t(size) + n.size >= max_block_size) break;
    remove_from_free_list(l, after, n);
    size += n.size;
  }
  add_to_free_list(l, position, size);
}

} // namespace detail

rec_pos get_free_block(const free_lists& lists, int32_t size) {
  try {
    return detail::take_free_block(lists, size);
  } catch (const store_failure&) {
    return -1;
  } catch (const std::bad_alloc&) {
    return -1;
  }
}

bool put_free_block(const free_lists& lists, rec_pos position, int32_t size) {
  try {
    detail::give_free_block(lists, position, size);
    return true;
  } catch (const store_failure&) {
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool free_heads_sound(const free_lists& lists, const char** why) {
  for (int c = 0; c < free_list_count; ++c) {
    if (const char* problem = head_problem(lists, c)) {
      if (why) *why = problem;
      return false;
    }
  }
  return true;
}

bool check_free_heads(const free_lists& lists) {
  try {
    for (int c = 0; c < free_list_count; ++c) detail::require_free_head(lists, c);
    return true;
  } catch (const store_failure&) {
    return false;
  }
}

} // namespace kovra::store
