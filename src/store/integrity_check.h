#pragma once
// The integrity check of a container: every block, free list, chain, sub-set, blob and key
// index, and the checksum. It opens the file read-only, changes nothing, never takes the
// corruption path and lists every problem it finds instead of stopping at the first.
#include "store/file_header.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kovra::store {

struct integrity_report {
  bool is_container = false;  // false: the file could not be opened as a container at all
  std::string open_problem;   // why, when it could not
  file_header header;
  int64_t length = 0;  // bytes of the (inflated) image
  int blocks = 0;
  int free_blocks = 0;
  int64_t free_bytes = 0;

  struct chain_info {
    int chain = 0;
    int type = 0;
    int count = 0;
  };
  struct key_info {
    int index = 0;
    int64_t count = 0;
    int levels = 0;
  };
  struct set_info {
    int set_no = 0;
    std::vector<chain_info> chains;
    std::vector<key_info> keys;
  };
  std::vector<set_info> sets;
  std::string checksum = "not_stored";  // "ok", "off_by_one", "mismatch", "not_stored"
  std::vector<std::string> problems;

  bool ok() const { return is_container && problems.empty(); }
};

integrity_report check_container(const std::string& path);

// The same on an open handle (read-only use).
void check_open_container(int handle, integrity_report& report);

} // namespace kovra::store
