#include "document/price_records.h"

#include "document/collation.h"
#include "document/estimate_layout.h"

namespace kovra::document {

namespace {
constexpr int PRICE_CHAIN = 1;  // chain 1 in both layouts

key0_t key0_of(std::span<const uint8_t> data) {
  key0_t k{};
  if (data.size() >= 3 + KEY0_LENGTH) std::copy_n(data.begin() + 3, KEY0_LENGTH, k.begin());
  return k;
}

key1_t key1_of(std::span<const uint8_t> data, std::size_t fixed) {
  return make_key1(data.size() > 2 ? data[2] : 0, price_record_name(data, fixed));
}

// Inserts a new price record next to the records of its name; returns its position.
rec_pos insert_in_name_order(record_source& src, std::span<uint8_t> data, std::size_t fixed) {
  key1_t key = key1_of(data, fixed);
  std::string name = price_record_name(data, fixed);
  std::vector<rec_pos> same = src.key_values(KEY_BY_NAME, key);

  int mode = LAST_REC;
  rec_pos ref = NO_POS;
  int key_mode = LAST_REC;
  if (same.empty()) {
    if (auto next = src.key_seek(KEY_BY_NAME, key)) {
      mode = PREV_REC;
      ref = next->value;
    }
  } else {
    rec_pos last_below = NO_POS;
    for (rec_pos p : same) {
      std::vector<uint8_t> other;
      if (!src.read(PRICE_CHAIN, p, other) || compare_names(price_record_name(other, fixed), name) >= 0) break;
      last_below = p;
    }
    mode = last_below == NO_POS ? PREV_REC : NEXT_REC;
    ref = last_below == NO_POS ? same.front() : last_below;
    key_mode = mode;
  }

  rec_pos at = ref == NO_POS ? NO_POS : src.insert(PRICE_CHAIN, mode, ref, data);
  if (at == NO_POS) {  // a key entry naming a missing record: keep the record at the end
    at = src.insert(PRICE_CHAIN, LAST_REC, NO_POS, data);
    key_mode = LAST_REC;
  }
  if (at == NO_POS) return NO_POS;
  if (src.key_insert(KEY_BY_NAME, key, at, key_mode, ref) != KEY_OK)
    src.key_insert(KEY_BY_NAME, key, at, LAST_REC, NO_POS);
  return at;
}

rec_pos write_price_record(record_source& src, std::span<uint8_t> data, std::size_t fixed, rec_pos pos) {
  key0_t k0 = key0_of(data);
  if (pos == NO_POS) {
    if (!src.key_values(KEY_BY_CODE, k0).empty()) return NO_POS;
    rec_pos at = insert_in_name_order(src, data, fixed);
    if (at == NO_POS) return NO_POS;
    src.key_insert(KEY_BY_CODE, k0, at, FIRST_REC, NO_POS);
    return at;
  }
  std::vector<uint8_t> old;
  if (!src.read(PRICE_CHAIN, pos, old)) return NO_POS;
  rec_pos at = src.rewrite(PRICE_CHAIN, pos, data);
  if (at != NO_POS && at != pos) {
    key0_t old0 = key0_of(old);
    key1_t old1 = key1_of(old, fixed);
    src.key_delete(KEY_BY_CODE, old0, pos);
    src.key_insert(KEY_BY_CODE, k0, at, FIRST_REC, NO_POS);
    if (src.key_insert(KEY_BY_NAME, old1, at, NEXT_REC, pos) != KEY_OK)
      src.key_insert(KEY_BY_NAME, key1_of(data, fixed), at, LAST_REC, NO_POS);
    src.key_delete(KEY_BY_NAME, old1, pos);
  }
  return at;
}
} // namespace

std::string price_record_name(std::span<const uint8_t> data, std::size_t fixed) {
  if (data.size() <= fixed) return {};
  return get_text(data.data() + fixed, std::min(data.size() - fixed, PRICE_NAME_MAX + 1));
}

rec_pos find_zest(const record_source& src, uint32_t id, uint16_t sub) {
  key0_t k = make_key0(id, sub);
  std::vector<rec_pos> v = src.key_values(KEY_BY_CODE, k);
  return v.empty() ? NO_POS : v.front();
}

rec_pos write_zestaw_record(record_source& src, zest_record& record, rec_pos pos) {
  return write_price_record(src, std::span(record.bytes.data(), record.used_length()), ZEST_FIXED, pos);
}

rec_pos write_chpt_zest_record(record_source& src, chpt_zest_record& record, rec_pos pos) {
  return write_price_record(src, std::span(record.bytes.data(), record.used_length()), CHPT_ZEST_FIXED, pos);
}

bool delete_zest(record_source& src, rec_pos pos) {
  std::vector<uint8_t> data;
  if (!src.read(PRICE_CHAIN, pos, data)) return false;
  // The layout is told by the chain's owner; both fixed parts give the same key 1 only when
  // the name is read from the right place, so try the entry that exists.
  key0_t k0 = key0_of(data);
  src.key_delete(KEY_BY_CODE, k0, pos);
  if (!src.key_delete(KEY_BY_NAME, key1_of(data, ZEST_FIXED), pos))
    src.key_delete(KEY_BY_NAME, key1_of(data, CHPT_ZEST_FIXED), pos);
  return src.remove(PRICE_CHAIN, pos);
}

int rebuild_key0(record_source& src) {
  for (const key_entry& e : src.key_entries(KEY_BY_CODE)) src.key_delete(KEY_BY_CODE, e.key, e.value);
  int deleted = 0;
  std::size_t limit = src.count(PRICE_CHAIN) + 1;
  rec_pos pos = src.locate(PRICE_CHAIN, FIRST_REC, NO_POS);
  while (pos != NO_POS && limit-- > 0) {
    rec_pos next = src.locate(PRICE_CHAIN, NEXT_REC, pos);
    std::vector<uint8_t> data;
    if (src.read(PRICE_CHAIN, pos, data)) {
      key0_t k0 = key0_of(data);
      if (src.key_insert(KEY_BY_CODE, k0, pos, FIRST_REC, NO_POS) != KEY_OK ||
          src.key_values(KEY_BY_CODE, k0).size() > 1) {
        src.key_delete(KEY_BY_CODE, k0, pos);
        src.key_delete(KEY_BY_NAME, key1_of(data, ZEST_FIXED), pos);
        src.remove(PRICE_CHAIN, pos);
        ++deleted;
      }
    }
    pos = next;
  }
  return deleted;
}

} // namespace kovra::document
