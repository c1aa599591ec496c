#pragma once
// An estimate record set held in memory: used by tests, by the JSON build and as the
// image a container is written from.
#include "document/record_source.h"

#include <map>
#include <memory>
#include <unordered_map>

namespace kovra::document {

class memory_records : public record_source {
public:
  // `auto_number[c]`: chain c numbers its records. Positions are handed out as a container
  // would (growing offsets), starting above the headers.
  memory_records(std::vector<bool> auto_number, int keys, std::size_t user_header_size);
  static std::unique_ptr<memory_records> simple_estimate();
  static std::unique_ptr<memory_records> compound_estimate();

  int chain_count() const override { return int(chains_.size()); }
  rec_pos locate(int chain, int mode, rec_pos pos) const override;
  bool read(int chain, rec_pos pos, std::vector<uint8_t>& out) const override;
  std::size_t count(int chain) const override;
  rec_pos insert(int chain, int mode, rec_pos pos, std::span<uint8_t> data) override;
  rec_pos rewrite(int chain, rec_pos pos, std::span<const uint8_t> data) override;
  bool rewrite_keep_size(int chain, rec_pos pos, std::span<const uint8_t> data) override;
  bool remove(int chain, rec_pos pos) override;
  bool move_record(int chain, rec_pos pos, int mode, rec_pos ref) override;

  std::vector<uint8_t> user_header() const override { return header_; }
  void set_user_header(std::span<const uint8_t> data) override;

  int key_count() const override { return int(keys_.size()); }
  std::optional<key_entry> key_seek(int index, std::span<const uint8_t> key) const override;
  std::vector<rec_pos> key_values(int index, std::span<const uint8_t> key) const override;
  int key_insert(int index, std::span<const uint8_t> key, rec_pos value, int mode, rec_pos ref) override;
  bool key_delete(int index, std::span<const uint8_t> key, rec_pos value) override;
  std::vector<key_entry> key_entries(int index) const override;

  bool modified() const override { return modified_; }
  void set_modified(bool value) override { modified_ = value; }

  // Sub-sets (internal chapters of a compound estimate), addressed by a position.
  rec_pos create_subset(uint16_t set_no);
  memory_records* subset(rec_pos pos);
  const memory_records* subset(rec_pos pos) const;
  uint16_t subset_number(rec_pos pos) const;
  bool delete_subset(rec_pos pos);
  // Last serial number given in a chain.
  uint16_t last_serial(int chain) const;

private:
  struct record {
    int chain;
    rec_pos prev, next;
    std::vector<uint8_t> data;
  };
  struct chain_head {
    rec_pos first = NO_POS, last = NO_POS;
    std::size_t count = 0;
    uint16_t serial = 0;
    bool auto_number = false;
  };
  struct subset_entry {
    uint16_t set_no;
    std::unique_ptr<memory_records> records;
  };

  const record* find(int chain, rec_pos pos) const;
  rec_pos allocate(std::size_t length);
  void link(int chain, rec_pos pos, rec_pos prev, rec_pos next);
  void unlink_record(int chain, rec_pos pos);

  std::vector<chain_head> chains_;
  std::unordered_map<rec_pos, record> records_;
  std::vector<std::vector<key_entry>> keys_;
  std::vector<uint8_t> header_;
  std::map<rec_pos, subset_entry> subsets_;
  rec_pos next_pos_;
  bool modified_ = false;
};

} // namespace kovra::document
