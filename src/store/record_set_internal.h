#pragma once
// The open record set as the store's own code sees it.
#include "store/free_space.h"
#include "store/record_set.h"

#include <memory>
#include <string>

namespace kovra::store {

struct record_set {
  int handle = -1;
  int32_t base = main_set_base;  // position of the set header
  int32_t user_header = 0;       // position of the user header
  rec_pos block = -1;            // a sub-set's own block; -1 for the main set
  set_header header;
  std::unique_ptr<set_key_index> keys;
  user_header_io reader;
  user_header_io writer;
  int32_t* heads = nullptr;  // the five free-list heads (the main set's)
  record_class* classes = nullptr;
  int class_count = 0;
  bool checksum_wanted = false;
  bool read_only = false;
  int storage = 1;
  std::string copy_path;  // working copy to delete at close; empty when none is ours
  // Open sub-sets of a main set (newest first), and a sub-set's links in that list.
  record_set* main = nullptr;
  record_set* first_sub = nullptr;
  record_set* prev_sub = nullptr;
  record_set* next_sub = nullptr;

  free_lists lists() const { return free_lists{handle, heads}; }
};

// The set of a bound class, or nullptr.
inline record_set* set_of(const record_class& c) {
  return c.set && c.chain >= 0 && c.chain < max_chains ? c.set : nullptr;
}

} // namespace kovra::store
