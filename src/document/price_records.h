#pragma once
// Price records in their chain and key indexes: lookup by key 0, the name-ordered insert
// that keeps key 1 and the chain in name order, rewrite and delete.
#include "document/record_source.h"
#include "document/zest_record.h"

#include <string>

namespace kovra::document {

// Position of the price record with this input key (key 0), -1 none.
rec_pos find_zest(const record_source& src, uint32_t id, uint16_t sub);

// Stores a simple estimate's price record. With pos -1 a new record is inserted next to
// the records of its name (chain and key 1) and its key-0 entry added. Otherwise the record
// is rewritten with its used length; its key entries follow a move, and a new name puts it
// in name order again. Returns the position. A key that is already present, or an index
// that refuses an entry, is a fatal stop ("write_zestaw_record", fatal-error path): -1,
// and a new record is taken out again, so nothing is left half written.
rec_pos write_zestaw_record(record_source& src, zest_record& record, rec_pos pos);
// The compound estimate's twin for summary records (fatal text "insert_chpt_zestaw_and_key").
rec_pos write_chpt_zest_record(record_source& src, chpt_zest_record& record, rec_pos pos);

// Removes the price record at pos together with its key-0 and key-1 entries.
bool delete_zest(record_source& src, rec_pos pos);

// Rebuilds key 0 from the price chain (older files): a record whose key repeats is
// deleted with its key-1 entry. Returns the number of records deleted, -1 when the index
// refused the entry of a record whose key is not repeated (that record is kept).
int rebuild_key0(record_source& src);

// The name of a price record, whichever of the two layouts (fixed part given).
std::string price_record_name(std::span<const uint8_t> data, std::size_t fixed);

} // namespace kovra::document
