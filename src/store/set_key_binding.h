#pragma once
// A record set's key index in its container: the binding that creates, opens, writes back
// and releases it with the caller's key descriptors.
#include "store/key_index.h"
#include "store/record_set.h"

namespace kovra::store {

// `descriptors` are copied; their slots (the caller's) receive the index numbers at open.
key_index_binding bind_key_indexes(const key_descriptor* descriptors, int count);

} // namespace kovra::store
