#include "store/record_move.h"

#include "store/check_block.h"
#include "store/container.h"
#include "store/corruption.h"
#include "store/records.h"
#include "store/records_internal.h"
#include "store/store_error.h"

#include <new>

namespace kovra::store {

namespace {

using namespace detail;

void write_header(record_set& s, rec_pos at, const block_header& h) {
  if (!write_block_header(s.handle, at, h)) throw store_failure("link write failed");
}

// Sets the next (or prev) link of the record at `at`; -1 stands for the chain's head (or tail).
void link(record_set& s, const record_class& c, rec_pos at, bool next_field, rec_pos value) {
  if (at == -1) {
    (next_field ? s.header.first[c.chain] : s.header.last[c.chain]) = value;
    return;
  }
  // Plain read: halfway through the relink the neighbours do not agree yet.
  block_header h;
  if (!read_block_header(s.handle, at, h)) report_corruption(s.handle, at);
  (next_field ? h.next : h.prev) = value;
  write_header(s, at, h);
}

bool relink(record_set& s, record_class& c, rec_pos p, int mode, rec_pos ref) {
  block_header h;
  if (!caller_block(s, c, p, h)) return false;
  block_header r;
  if ((mode == PREV_REC || mode == NEXT_REC) && (ref == p || !caller_block(s, c, ref, r))) return false;
  const int k = c.chain;
  if ((h.prev == -1 && s.header.first[k] != p) || (h.next == -1 && s.header.last[k] != p))
    report_corruption(s.handle, p);
  // Out of the chain.
  const rec_pos old_prev = h.prev, old_next = h.next;
  link(s, c, h.prev, true, h.next);
  link(s, c, h.next, false, h.prev);
  // The new neighbours, read after the unlink (one of them may have been p's neighbour).
  rec_pos prev = -1, next = -1;
  if (mode == FIRST_REC) next = s.header.first[k];
  else if (mode == LAST_REC) prev = s.header.last[k];
  else {
    if (!read_block_header(s.handle, ref, r)) report_corruption(s.handle, ref);
    prev = mode == PREV_REC ? r.prev : ref;
    next = mode == PREV_REC ? ref : r.next;
  }
  h.prev = prev;
  h.next = next;
  write_header(s, p, h);
  link(s, c, prev, true, p);
  link(s, c, next, false, p);
  for (rec_pos at : {old_prev, old_next, prev, next, p}) require_sound_block(s.handle, at);
  return true;
}

} // namespace

bool move_record(record_class& c, rec_pos position, int mode, rec_pos ref) {
  record_set* s = set_of(c);
  if (!s || s->read_only || mode < FIRST_REC || mode > LAST_REC || mode == THIS_REC) return false;
  try {
    return relink(*s, c, position, mode, ref);
  } catch (const store_failure&) {
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

} // namespace kovra::store
