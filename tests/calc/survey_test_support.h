#pragma once
// An in-memory survey record store with failures on request.
#include "calc/survey.h"

#include <map>

namespace kovra::test {

class memory_survey_store : public calc::survey_record_store {
public:
  std::map<store::rec_pos, std::vector<uint8_t>> records;
  store::rec_pos next_position = 1000;
  bool fail_reads = false;
  bool fail_writes = false;
  bool move_on_rewrite = false;

  bool read_record(store::rec_pos p, std::vector<uint8_t>& bytes) override {
    auto it = records.find(p);
    if (fail_reads || it == records.end()) return false;
    bytes = it->second;
    return true;
  }
  store::rec_pos rewrite_record(store::rec_pos p, const std::vector<uint8_t>& bytes) override {
    if (fail_writes || !records.count(p)) return -1;
    if (!move_on_rewrite) {
      records[p] = bytes;
      return p;
    }
    records.erase(p);
    return insert_record(bytes);
  }
  store::rec_pos insert_record(const std::vector<uint8_t>& bytes) override {
    if (fail_writes) return -1;
    const store::rec_pos p = next_position;
    next_position += 100;
    records[p] = bytes;
    return p;
  }
  bool delete_record(store::rec_pos p) override {
    if (fail_writes) return false;
    return records.erase(p) == 1;
  }
};

} // namespace kovra::test
