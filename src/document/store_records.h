#pragma once
// An estimate record set of a real container seen as a record source, so that the tree,
// the JSON codec and the recalculation run over .kvr files as they do over memory.
//
// The object owns the record classes and key slots the store binds to the set; it is
// neither copied nor moved while the set is open.
#include "document/record_source.h"
#include "document/zest_record.h"  // key lengths of the two price-record indexes
#include "store/key_index.h"
#include "store/record_set.h"

#include <memory>
#include <string>

namespace kovra::document {

class store_records : public record_source {
public:
  // `types` / `auto_number`: the chains of the layout (simple or compound).
  store_records(const uint8_t* types, const bool* auto_number, int chains);
  ~store_records() override;
  store_records(const store_records&) = delete;
  store_records& operator=(const store_records&) = delete;

  static std::unique_ptr<store_records> simple_layout();
  static std::unique_ptr<store_records> compound_layout();

  // The request with this object's classes, keys and user-header io filled in.
  store::open_set_request open_request(const std::string& path);
  store::key_index_binding key_binding();
  store::user_header_io header_reader();
  store::user_header_io header_writer();

  // Binds a set opened with open_request (or open_subset with this object's classes).
  void attach(store::record_set* set) { set_ = set; }
  store::record_set* set() const { return set_; }
  store::record_class* classes() { return classes_; }
  // Closes the set (a sub-set: only its binding). False when a write failed.
  bool close(bool store_checksum = true, int32_t* checksum_out = nullptr);
  bool read_only() const;

  int chain_count() const override { return chains_; }
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

  int key_count() const override { return 2; }
  std::optional<key_entry> key_seek(int index, std::span<const uint8_t> key) const override;
  std::vector<rec_pos> key_values(int index, std::span<const uint8_t> key) const override;
  int key_insert(int index, std::span<const uint8_t> key, rec_pos value, int mode, rec_pos ref) override;
  bool key_delete(int index, std::span<const uint8_t> key, rec_pos value) override;
  std::vector<key_entry> key_entries(int index) const override;

  bool modified() const override;
  void set_modified(bool value) override;

private:
  store::record_class* cls(int chain) const;
  int slot(int index) const;
  store::key_entry entry_of(int index, std::span<const uint8_t> key, rec_pos value) const;

  static constexpr int max_chains = 10;
  mutable store::record_class classes_[max_chains];
  int chains_;
  int16_t slots_[2] = {-1, -1};
  std::vector<uint8_t> header_;
  store::record_set* set_ = nullptr;
  bool subset_ = false;

public:
  // A sub-set is closed through its classes, the main set closes the container.
  void mark_subset() { subset_ = true; }
};

} // namespace kovra::document
