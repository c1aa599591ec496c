#pragma once
// Read-only integrity check of a key-index header and its trees, for the container's verify.
// It reads straight from the container (write open indexes back first), never takes the
// fatal path and reports every problem it finds.
#include <cstdint>
#include <string>
#include <vector>

#include "store/key_block_io.h"

namespace kovra::store {

struct key_index_summary {
  int index = 0;      // j in the header
  int32_t count = 0;  // as stored in the header
  int levels = 0;
};

struct key_index_check {
  std::vector<key_index_summary> indexes;
  int32_t key_blocks = 0;       // live key blocks reached from the roots
  int32_t free_key_blocks = 0;  // blocks on the header's free list
  std::vector<std::string> problems;  // position and what is wrong, one text each
  bool ok() const { return problems.empty(); }
};

key_index_check verify_key_index(key_block_io& io, int32_t header_position);

} // namespace kovra::store
