#pragma once
// The integrity check's look at a set's key index: the 68-byte header, every key block of
// every index (levels, fill, key order, end markers), the key counts, and the index's list
// of freed key blocks. Read-only; problems are appended as texts.
#include "store/integrity_check.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kovra::store {

void check_key_indexes(int handle, int32_t header_position, int set_no,
                       std::vector<integrity_report::key_info>& keys, std::vector<std::string>& problems);

} // namespace kovra::store
