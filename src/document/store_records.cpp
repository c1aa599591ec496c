#include "document/store_records.h"

#include "document/estimate_layout.h"
#include "document/general_data.h"
#include "store/container.h"
#include "store/record_move.h"
#include "store/records.h"
#include "store/set_key_binding.h"

#include <algorithm>
#include <cstring>

namespace kovra::document {

store_records::store_records(const uint8_t* types, const bool* auto_number, int chains)
    : chains_(std::min(chains, max_chains)), header_(GENERAL_DATA_SIZE, 0) {
  for (int c = 0; c < chains_; ++c) {
    classes_[c].rec_type = types[c];
    classes_[c].auto_number = auto_number[c] ? 1 : 0;
  }
}

store_records::~store_records() { close(); }

std::unique_ptr<store_records> store_records::simple_layout() {
  return std::make_unique<store_records>(SIMPLE_CHAIN_TYPES, SIMPLE_CHAIN_AUTO_NUMBER, SIMPLE_CHAINS);
}

std::unique_ptr<store_records> store_records::compound_layout() {
  return std::make_unique<store_records>(COMPOUND_CHAIN_TYPES, COMPOUND_CHAIN_AUTO_NUMBER, COMPOUND_CHAINS);
}

store::key_index_binding store_records::key_binding() {
  const store::key_descriptor keys[] = {{store::KEY_BYTES, 3, int16_t(KEY0_LENGTH), &slots_[0]},
                                        {store::KEY_BYTES, 3, int16_t(KEY1_LENGTH), &slots_[1]}};
  return store::bind_key_indexes(keys, 2);
}

store::user_header_io store_records::header_reader() {
  return [this](int handle, int32_t position) {
    std::fill(header_.begin(), header_.end(), 0);
    return store::read_at(handle, position, header_.data(), int64_t(header_.size())) == int64_t(header_.size());
  };
}

store::user_header_io store_records::header_writer() {
  return [this](int handle, int32_t position) {
    return store::write_at(handle, position, header_.data(), int64_t(header_.size()));
  };
}

store::open_set_request store_records::open_request(const std::string& path) {
  store::open_set_request r;
  r.path = path;
  r.file_type = store::FILE_TYPE_ESTIMATE;
  r.version = store::CONTAINER_VERSION;
  r.classes = classes_;
  r.class_count = chains_;
  r.keys = key_binding();
  r.reader = header_reader();
  r.writer = header_writer();
  return r;
}

bool store_records::close(bool store_checksum, int32_t* checksum_out) {
  if (!set_) return true;
  bool ok = subset_ ? store::close_subset(classes_) : store::close_record_set(set_, checksum_out, store_checksum);
  set_ = nullptr;
  slots_[0] = slots_[1] = -1;
  return ok;
}

bool store_records::read_only() const {
  return !set_ || (store::container_open_mode(store::set_handle(set_)) & 3) >= 2;
}

store::record_class* store_records::cls(int chain) const {
  if (!set_ || chain < 0 || chain >= chains_) return nullptr;
  return &classes_[chain];
}

rec_pos store_records::locate(int chain, int mode, rec_pos pos) const {
  store::record_class* c = cls(chain);
  if (!c) return NO_POS;
  if ((mode == PREV_REC || mode == NEXT_REC || mode == THIS_REC) && pos < 0) return NO_POS;
  rec_pos p = store::locate_record(*c, mode, pos);
  return p < 0 ? NO_POS : p;
}

bool store_records::read(int chain, rec_pos pos, std::vector<uint8_t>& out) const {
  store::record_class* c = cls(chain);
  if (!c || pos < 0 || store::locate_record(*c, THIS_REC, pos) != pos) return false;
  return store::read_record_new(*c, pos, out);
}

std::size_t store_records::count(int chain) const {
  store::record_class* c = cls(chain);
  if (!c) return 0;
  int n = store::record_count(*c);
  return n < 0 ? 0 : std::size_t(n);
}

rec_pos store_records::insert(int chain, int mode, rec_pos pos, std::span<uint8_t> data) {
  store::record_class* c = cls(chain);
  if (!c || read_only() || data.size() > size_t(INT32_MAX)) return NO_POS;
  rec_pos p = store::insert_record(*c, mode, pos, data.data(), int32_t(data.size()));
  return p < 0 ? NO_POS : p;
}

rec_pos store_records::rewrite(int chain, rec_pos pos, std::span<const uint8_t> data) {
  store::record_class* c = cls(chain);
  if (!c || read_only() || pos < 0 || store::locate_record(*c, THIS_REC, pos) != pos) return NO_POS;
  rec_pos p = store::rewrite_record(*c, pos, data.data(), int32_t(data.size()));
  return p < 0 ? NO_POS : p;
}

bool store_records::rewrite_keep_size(int chain, rec_pos pos, std::span<const uint8_t> data) {
  std::vector<uint8_t> old;
  if (read_only() || !read(chain, pos, old)) return false;
  // The store writes the record's whole used length; a shorter `data` keeps the rest.
  std::memcpy(old.data(), data.data(), std::min(old.size(), data.size()));
  return store::rewrite_keep_size(classes_[chain], old.data(), pos);
}

bool store_records::remove(int chain, rec_pos pos) {
  store::record_class* c = cls(chain);
  if (!c || read_only() || pos < 0 || store::locate_record(*c, THIS_REC, pos) != pos) return false;
  return store::delete_record(*c, pos);
}

bool store_records::move_record(int chain, rec_pos pos, int mode, rec_pos ref) {
  store::record_class* c = cls(chain);
  if (!c || read_only()) return false;
  return store::move_record(*c, pos, mode, ref);
}

void store_records::set_user_header(std::span<const uint8_t> data) {
  if (read_only()) return;
  std::fill(header_.begin(), header_.end(), 0);
  std::memcpy(header_.data(), data.data(), std::min(header_.size(), data.size()));
  set_modified(true);
}

int store_records::slot(int index) const { return index == 0 || index == 1 ? slots_[index] : -1; }

store::key_entry store_records::entry_of(int index, std::span<const uint8_t> key, rec_pos value) const {
  store::key_entry e;
  const std::size_t length = index == 0 ? KEY0_LENGTH : KEY1_LENGTH;
  std::vector<uint8_t> k(length, 0);
  std::memcpy(k.data(), key.data(), std::min(length, key.size()));
  e.set_key(k.data(), length);
  e.set_value(value);
  return e;
}

namespace {
std::vector<uint8_t> key_bytes(const store::key_entry& e, int index) {
  const std::size_t length = index == 0 ? KEY0_LENGTH : KEY1_LENGTH;
  return std::vector<uint8_t>(e.key(), e.key() + length);
}
} // namespace

std::optional<key_entry> store_records::key_seek(int index, std::span<const uint8_t> key) const {
  int s = slot(index);
  if (s < 0) return std::nullopt;
  store::key_entry e = entry_of(index, key, 0);
  int r = store::key_find(s, e);
  if (r == store::KEY_NOT_FOUND && store::key_current(e) != store::KEY_OK) return std::nullopt;
  if (r != store::KEY_OK && r != store::KEY_NOT_FOUND) return std::nullopt;
  return key_entry{e.value(), key_bytes(e, index)};
}

std::vector<rec_pos> store_records::key_values(int index, std::span<const uint8_t> key) const {
  std::vector<rec_pos> out;
  int s = slot(index);
  if (s < 0) return out;
  store::key_entry e = entry_of(index, key, 0);
  const std::vector<uint8_t> wanted = key_bytes(e, index);
  if (store::key_find(s, e) != store::KEY_OK) return out;
  const int32_t bound = std::max(store::key_count(s), 0) + 1;
  while (int32_t(out.size()) < bound && key_bytes(e, index) == wanted) {
    out.push_back(e.value());
    if (store::key_next(e) != store::KEY_OK) break;
  }
  return out;
}

int store_records::key_insert(int index, std::span<const uint8_t> key, rec_pos value, int mode, rec_pos ref) {
  int s = slot(index);
  if (s < 0 || read_only()) return -1;
  int r = store::key_insert(s, entry_of(index, key, value), mode, ref);
  if (r == store::KEY_OK) {
    set_modified(true);
    return KEY_OK;
  }
  if (r == store::KEY_NOT_FOUND) return KEY_REF_NOT_FOUND;
  if (r == store::KEY_EXISTS) return KEY_DUPLICATE;
  return -1;
}

bool store_records::key_delete(int index, std::span<const uint8_t> key, rec_pos value) {
  int s = slot(index);
  if (s < 0 || read_only()) return false;
  return store::key_delete_at(s, entry_of(index, key, 0), THIS_REC, value) == store::KEY_OK;
}

std::vector<key_entry> store_records::key_entries(int index) const {
  std::vector<key_entry> out;
  int s = slot(index);
  if (s < 0) return out;
  store::key_entry e;
  const int32_t bound = std::max(store::key_count(s), 0) + 1;
  for (int r = store::key_first(s, e); r == store::KEY_OK && int32_t(out.size()) < bound; r = store::key_next(e))
    out.push_back(key_entry{e.value(), key_bytes(e, index)});
  return out;
}

bool store_records::modified() const { return set_ && store::container_modified(store::set_handle(set_)); }

void store_records::set_modified(bool value) {
  if (set_ && !read_only()) store::set_container_modified(store::set_handle(set_), value);
}

} // namespace kovra::document
