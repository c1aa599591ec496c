#include "document/price_records.h"

#include "document/collation.h"
#include "document/estimate_layout.h"
#include "store/log.h"

#include <algorithm>

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

// Where a record of this key-1 entry and name belongs among the others (`self` left out):
// relative to which record, and how the key-1 entry is added beside the same prefix.
struct name_place {
  int mode = LAST_REC;
  rec_pos ref = NO_POS;
  int key_mode = LAST_REC;
};

name_place place_by_name(const record_source& src, const key1_t& key, const std::string& name, std::size_t fixed,
                         rec_pos self) {
  name_place at;
  std::vector<rec_pos> same = src.key_values(KEY_BY_NAME, key);
  std::erase(same, self);
  if (same.empty()) {
    if (auto next = src.key_seek(KEY_BY_NAME, key)) {
      at.mode = PREV_REC;
      at.ref = next->value;
    }
    return at;
  }
  rec_pos last_below = NO_POS;
  for (rec_pos p : same) {
    std::vector<uint8_t> other;
    if (!src.read(PRICE_CHAIN, p, other) || compare_names(price_record_name(other, fixed), name) >= 0) break;
    last_below = p;
  }
  at.mode = last_below == NO_POS ? PREV_REC : NEXT_REC;
  at.ref = last_below == NO_POS ? same.front() : last_below;
  at.key_mode = at.mode;
  return at;
}

// Adds the key-1 entry of the record at `at`; false when the index refuses it.
bool add_name_key(record_source& src, const key1_t& key, rec_pos at, const name_place& place) {
  if (src.key_insert(KEY_BY_NAME, key, at, place.key_mode, place.ref) == KEY_OK) return true;
  // A reference that is not beside the same prefix: the end of the prefix's entries.
  return place.key_mode != LAST_REC && src.key_insert(KEY_BY_NAME, key, at, LAST_REC, NO_POS) == KEY_OK;
}

// Inserts a new price record next to the records of its name (chain and key 1); returns
// its position, -1 with nothing written when either could not be added.
rec_pos insert_in_name_order(record_source& src, std::span<uint8_t> data, std::size_t fixed) {
  const key1_t key = key1_of(data, fixed);
  name_place place = place_by_name(src, key, price_record_name(data, fixed), fixed, NO_POS);
  rec_pos at = place.ref == NO_POS ? NO_POS : src.insert(PRICE_CHAIN, place.mode, place.ref, data);
  if (at == NO_POS) {  // a key entry naming a missing record: keep the record at the end
    at = src.insert(PRICE_CHAIN, LAST_REC, NO_POS, data);
    place.key_mode = LAST_REC;
  }
  if (at == NO_POS) return NO_POS;
  if (!add_name_key(src, key, at, place)) {
    src.remove(PRICE_CHAIN, at);
    return NO_POS;
  }
  return at;
}

// The fatal stop of a price-record write that the indexes refused.
rec_pos refuse(const char* what) {
  store::fatal_error("%s", what);
  return NO_POS;
}

rec_pos write_price_record(record_source& src, std::span<uint8_t> data, std::size_t fixed, rec_pos pos,
                           const char* what) {
  const key0_t k0 = key0_of(data);
  if (pos == NO_POS) {
    if (!src.key_values(KEY_BY_CODE, k0).empty()) return refuse(what);
    const rec_pos at = insert_in_name_order(src, data, fixed);
    if (at == NO_POS) return refuse(what);
    if (src.key_insert(KEY_BY_CODE, k0, at, FIRST_REC, NO_POS) != KEY_OK) {
      src.key_delete(KEY_BY_NAME, key1_of(data, fixed), at);
      src.remove(PRICE_CHAIN, at);
      return refuse(what);
    }
    return at;
  }
  std::vector<uint8_t> old;
  if (!src.read(PRICE_CHAIN, pos, old)) return NO_POS;
  const key0_t old0 = key0_of(old);
  const key1_t old1 = key1_of(old, fixed), new1 = key1_of(data, fixed);
  const std::string old_name = price_record_name(old, fixed), new_name = price_record_name(data, fixed);
  if (old0 != k0 && !src.key_values(KEY_BY_CODE, k0).empty()) return refuse(what);
  const rec_pos at = src.rewrite(PRICE_CHAIN, pos, data);
  if (at == NO_POS) return NO_POS;
  if (at != pos || old0 != k0) {
    src.key_delete(KEY_BY_CODE, old0, pos);
    if (src.key_insert(KEY_BY_CODE, k0, at, FIRST_REC, NO_POS) != KEY_OK) return refuse(what);
  }
  if (at == pos && old1 == new1 && compare_names(old_name, new_name) == 0) return at;
  // A new position or a new name: the record takes its place in name order again.
  src.key_delete(KEY_BY_NAME, old1, pos);
  name_place place = place_by_name(src, new1, new_name, fixed, at);
  if (place.ref != NO_POS ? !src.move_record(PRICE_CHAIN, at, place.mode, place.ref)
                          : !src.move_record(PRICE_CHAIN, at, LAST_REC, NO_POS))
    place = name_place{};  // the chain stays as it is; key 1 still names the record
  if (!add_name_key(src, new1, at, place)) return refuse(what);
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
  return write_price_record(src, std::span(record.bytes.data(), record.used_length()), ZEST_FIXED, pos,
                            "write_zestaw_record");
}

rec_pos write_chpt_zest_record(record_source& src, chpt_zest_record& record, rec_pos pos) {
  return write_price_record(src, std::span(record.bytes.data(), record.used_length()), CHPT_ZEST_FIXED, pos,
                            "insert_chpt_zestaw_and_key");
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
      if (!src.key_values(KEY_BY_CODE, k0).empty()) {  // the key repeats: only then the record goes
        src.key_delete(KEY_BY_NAME, key1_of(data, ZEST_FIXED), pos);
        src.remove(PRICE_CHAIN, pos);
        ++deleted;
      } else if (src.key_insert(KEY_BY_CODE, k0, pos, FIRST_REC, NO_POS) != KEY_OK) {
        return -1;  // the index refused a sound record: keep every record
      }
    }
    pos = next;
  }
  return deleted;
}

} // namespace kovra::document
