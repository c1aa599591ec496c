#pragma once
// Relinking a record inside its chain without touching its bytes or its position.
#include "store/record_set.h"

namespace kovra::store {

// Takes the record at `position` out of its chain and links it in again: FIRST_REC /
// LAST_REC at either end, PREV_REC / NEXT_REC before / after the record at `ref`. The
// record keeps its position, so links held elsewhere stay valid. False when either
// position is no record of the chain, `ref` is the record itself, or the set is read-only;
// a damaged chain takes the corruption path.
bool move_record(record_class& c, rec_pos position, int mode, rec_pos ref);

} // namespace kovra::store
