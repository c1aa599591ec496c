#include "document/memory_records.h"

#include "document/estimate_layout.h"
#include "document/general_data.h"

#include <algorithm>

namespace kovra::document {

std::vector<uint8_t> read_or_empty(const record_source& src, int chain, rec_pos pos) {
  std::vector<uint8_t> out;
  if (pos < 0 || !src.read(chain, pos, out)) out.clear();
  return out;
}

namespace {
// First record block of a new estimate container: file header, set header, key-index
// header, general data.
constexpr rec_pos FIRST_BLOCK = 293 + 158 + 68 + rec_pos(GENERAL_DATA_SIZE);
constexpr std::size_t BLOCK_HEADER = 17;

bool less_key(const std::vector<uint8_t>& a, std::span<const uint8_t> b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
}
bool equal_key(const std::vector<uint8_t>& a, std::span<const uint8_t> b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}
} // namespace

memory_records::memory_records(std::vector<bool> auto_number, int keys, std::size_t user_header_size)
    : chains_(auto_number.size()), keys_(std::size_t(std::max(keys, 0))), header_(user_header_size, 0),
      next_pos_(FIRST_BLOCK) {
  for (std::size_t c = 0; c < chains_.size(); ++c) chains_[c].auto_number = auto_number[c];
}

std::unique_ptr<memory_records> memory_records::simple_estimate() {
  return std::make_unique<memory_records>(
      std::vector<bool>(std::begin(SIMPLE_CHAIN_AUTO_NUMBER), std::end(SIMPLE_CHAIN_AUTO_NUMBER)), 2,
      GENERAL_DATA_SIZE);
}

std::unique_ptr<memory_records> memory_records::compound_estimate() {
  return std::make_unique<memory_records>(
      std::vector<bool>(std::begin(COMPOUND_CHAIN_AUTO_NUMBER), std::end(COMPOUND_CHAIN_AUTO_NUMBER)), 2,
      GENERAL_DATA_SIZE);
}

const memory_records::record* memory_records::find(int chain, rec_pos pos) const {
  auto it = records_.find(pos);
  if (it == records_.end() || it->second.chain != chain) return nullptr;
  return &it->second;
}

rec_pos memory_records::locate(int chain, int mode, rec_pos pos) const {
  if (chain < 0 || chain >= chain_count()) return NO_POS;
  const chain_head& h = chains_[std::size_t(chain)];
  switch (mode) {
  case FIRST_REC: return h.first;
  case LAST_REC: return h.last;
  case THIS_REC: return find(chain, pos) ? pos : NO_POS;
  case PREV_REC: {
    const record* r = find(chain, pos);
    return r ? r->prev : NO_POS;
  }
  case NEXT_REC: {
    const record* r = find(chain, pos);
    return r ? r->next : NO_POS;
  }
  default: return NO_POS;
  }
}

bool memory_records::read(int chain, rec_pos pos, std::vector<uint8_t>& out) const {
  const record* r = find(chain, pos);
  if (!r) return false;
  out = r->data;
  return true;
}

std::size_t memory_records::count(int chain) const {
  return chain < 0 || chain >= chain_count() ? 0 : chains_[std::size_t(chain)].count;
}

rec_pos memory_records::allocate(std::size_t length) {
  rec_pos pos = next_pos_;
  next_pos_ += rec_pos(length + BLOCK_HEADER);
  return pos;
}

void memory_records::link(int chain, rec_pos pos, rec_pos prev, rec_pos next) {
  chain_head& h = chains_[std::size_t(chain)];
  record& r = records_.at(pos);
  r.prev = prev;
  r.next = next;
  if (prev == NO_POS) h.first = pos;
  else records_.at(prev).next = pos;
  if (next == NO_POS) h.last = pos;
  else records_.at(next).prev = pos;
}

rec_pos memory_records::insert(int chain, int mode, rec_pos pos, std::span<uint8_t> data) {
  if (chain < 0 || chain >= chain_count()) return NO_POS;
  chain_head& h = chains_[std::size_t(chain)];
  rec_pos prev = NO_POS, next = NO_POS;
  if (h.count > 0) {
    switch (mode) {
    case FIRST_REC: next = h.first; break;
    case LAST_REC: prev = h.last; break;
    case PREV_REC:
      if (!find(chain, pos)) return NO_POS;
      next = pos;
      prev = records_.at(pos).prev;
      break;
    case NEXT_REC:
      if (!find(chain, pos)) return NO_POS;
      prev = pos;
      next = records_.at(pos).next;
      break;
    default: return NO_POS;
    }
  } else if (mode == THIS_REC) {
    return NO_POS;
  }
  ++h.count;
  ++h.serial;
  if (h.auto_number && data.size() >= 2) put_u16(data.data(), h.serial);
  rec_pos at = allocate(data.size());
  records_[at] = record{chain, NO_POS, NO_POS, std::vector<uint8_t>(data.begin(), data.end())};
  link(chain, at, prev, next);
  modified_ = true;
  return at;
}

rec_pos memory_records::rewrite(int chain, rec_pos pos, std::span<const uint8_t> data) {
  if (!find(chain, pos)) return NO_POS;
  records_.at(pos).data.assign(data.begin(), data.end());
  modified_ = true;
  return pos;
}

bool memory_records::rewrite_keep_size(int chain, rec_pos pos, std::span<const uint8_t> data) {
  if (!find(chain, pos)) return false;
  std::vector<uint8_t>& d = records_.at(pos).data;
  std::copy_n(data.begin(), std::min(data.size(), d.size()), d.begin());
  modified_ = true;
  return true;
}

void memory_records::unlink_record(int chain, rec_pos pos) {
  chain_head& h = chains_[std::size_t(chain)];
  record& r = records_.at(pos);
  if (r.prev == NO_POS) h.first = r.next;
  else records_.at(r.prev).next = r.next;
  if (r.next == NO_POS) h.last = r.prev;
  else records_.at(r.next).prev = r.prev;
  r.prev = r.next = NO_POS;
}

bool memory_records::move_record(int chain, rec_pos pos, int mode, rec_pos ref) {
  if (!find(chain, pos)) return false;
  if ((mode == PREV_REC || mode == NEXT_REC) && (!find(chain, ref) || ref == pos)) return false;
  if (mode != FIRST_REC && mode != LAST_REC && mode != PREV_REC && mode != NEXT_REC) return false;
  unlink_record(chain, pos);
  chain_head& h = chains_[std::size_t(chain)];
  rec_pos prev = NO_POS, next = NO_POS;
  switch (mode) {
  case FIRST_REC: next = h.first; break;
  case LAST_REC: prev = h.last; break;
  case PREV_REC: next = ref; prev = records_.at(ref).prev; break;
  default: prev = ref; next = records_.at(ref).next; break;
  }
  link(chain, pos, prev, next);
  modified_ = true;
  return true;
}

bool memory_records::remove(int chain, rec_pos pos) {
  if (!find(chain, pos)) return false;
  chain_head& h = chains_[std::size_t(chain)];
  unlink_record(chain, pos);
  records_.erase(pos);
  --h.count;
  modified_ = true;
  return true;
}

void memory_records::set_user_header(std::span<const uint8_t> data) {
  std::fill(header_.begin(), header_.end(), 0);
  std::copy_n(data.begin(), std::min(data.size(), header_.size()), header_.begin());
  modified_ = true;
}

std::optional<key_entry> memory_records::key_seek(int index, std::span<const uint8_t> key) const {
  if (index < 0 || index >= key_count()) return std::nullopt;
  const auto& entries = keys_[std::size_t(index)];
  auto it = std::partition_point(entries.begin(), entries.end(),
                                 [&](const key_entry& e) { return less_key(e.key, key); });
  if (it == entries.end()) return std::nullopt;
  return *it;
}

std::vector<rec_pos> memory_records::key_values(int index, std::span<const uint8_t> key) const {
  std::vector<rec_pos> out;
  if (index < 0 || index >= key_count()) return out;
  const auto& entries = keys_[std::size_t(index)];
  auto it = std::partition_point(entries.begin(), entries.end(),
                                 [&](const key_entry& e) { return less_key(e.key, key); });
  for (; it != entries.end() && equal_key(it->key, key); ++it) out.push_back(it->value);
  return out;
}

int memory_records::key_insert(int index, std::span<const uint8_t> key, rec_pos value, int mode, rec_pos ref) {
  if (index < 0 || index >= key_count()) return KEY_REF_NOT_FOUND;
  auto& entries = keys_[std::size_t(index)];
  auto begin = std::partition_point(entries.begin(), entries.end(),
                                    [&](const key_entry& e) { return less_key(e.key, key); });
  auto end = begin;
  while (end != entries.end() && equal_key(end->key, key)) ++end;
  if (std::any_of(begin, end, [&](const key_entry& e) { return e.value == value; })) return KEY_DUPLICATE;
  auto at = begin;
  switch (mode) {
  case FIRST_REC: at = begin; break;
  case LAST_REC: at = end; break;
  case PREV_REC:
  case NEXT_REC: {
    auto hit = std::find_if(begin, end, [&](const key_entry& e) { return e.value == ref; });
    if (hit == end) return KEY_REF_NOT_FOUND;
    at = mode == PREV_REC ? hit : hit + 1;
    break;
  }
  default: return KEY_REF_NOT_FOUND;
  }
  entries.insert(at, key_entry{value, std::vector<uint8_t>(key.begin(), key.end())});
  modified_ = true;
  return KEY_OK;
}

bool memory_records::key_delete(int index, std::span<const uint8_t> key, rec_pos value) {
  if (index < 0 || index >= key_count()) return false;
  auto& entries = keys_[std::size_t(index)];
  auto it = std::partition_point(entries.begin(), entries.end(),
                                 [&](const key_entry& e) { return less_key(e.key, key); });
  for (; it != entries.end() && equal_key(it->key, key); ++it)
    if (it->value == value) {
      entries.erase(it);
      modified_ = true;
      return true;
    }
  return false;
}

std::vector<key_entry> memory_records::key_entries(int index) const {
  if (index < 0 || index >= key_count()) return {};
  return keys_[std::size_t(index)];
}

rec_pos memory_records::create_subset(uint16_t set_no) {
  rec_pos at = allocate(GENERAL_DATA_SIZE + 68 + 175);
  subsets_[at] = subset_entry{set_no, simple_estimate()};
  modified_ = true;
  return at;
}

memory_records* memory_records::subset(rec_pos pos) {
  auto it = subsets_.find(pos);
  return it == subsets_.end() ? nullptr : it->second.records.get();
}

const memory_records* memory_records::subset(rec_pos pos) const {
  auto it = subsets_.find(pos);
  return it == subsets_.end() ? nullptr : it->second.records.get();
}

uint16_t memory_records::subset_number(rec_pos pos) const {
  auto it = subsets_.find(pos);
  return it == subsets_.end() ? 0 : it->second.set_no;
}

bool memory_records::delete_subset(rec_pos pos) {
  modified_ = true;
  return subsets_.erase(pos) > 0;
}

uint16_t memory_records::last_serial(int chain) const {
  return chain < 0 || chain >= chain_count() ? 0 : chains_[std::size_t(chain)].serial;
}

} // namespace kovra::document
