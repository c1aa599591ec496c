#pragma once
// Key indexes of a record set, stored in its container: the binding a set is created and
// opened with. The descriptors (and the slots they point at) must outlive the set.
#include <vector>

#include "store/key_index.h"
#include "store/record_set.h"

namespace kovra::store {

key_index_binding bind_key_indexes(std::vector<key_descriptor> descriptors);

} // namespace kovra::store
