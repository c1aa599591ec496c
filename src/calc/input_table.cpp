#include "calc/input_table.h"

#include <algorithm>
#include <cstdio>

namespace kovra::calc {

namespace {
bool key_less(const input_table_entry& e, uint64_t key) {
  return ((static_cast<uint64_t>(e.rec.id) << 16) | e.rec.sub) < key;
}
uint64_t make_key(uint32_t id, uint16_t sub) { return (static_cast<uint64_t>(id) << 16) | sub; }
uint64_t entry_key(const input_table_entry& e) { return make_key(e.rec.id, e.rec.sub); }
} // namespace

std::string placeholder_name(uint32_t id, uint16_t sub) {
  char text[64];
  std::snprintf(text, sizeof text, "Nieznany Ss= %lu  %u", static_cast<unsigned long>(id), static_cast<unsigned>(sub));
  return text;
}

void input_table::set_prices(input_table_entry& e, double labour_rate) {
  const price_record& r = e.rec;
  if (r.kind == kind_labour && labour_rate != 0) {
    e.price = e.base_price = labour_rate;
    e.kz_percent = 0;
    return;
  }
  e.price = r.price;
  if (r.kind != kind_material) {
    e.base_price = r.price;
    e.kz_percent = 0;
    return;
  }
  e.base_price = r.base_price;
  if ((r.kz_mode & 0x7f) == 4)
    e.kz_percent = r.kz_value;
  else if (r.base_price > 0)
    e.kz_percent = r.price * 100 / r.base_price - 100;
  else
    e.kz_percent = 0;
}

void input_table::load(const estimate_model& model) {
  labour_rate_ = model.settings.labour_rate;
  entries_.clear();
  entries_.reserve(model.prices.size());
  for (size_t i = 0; i < model.prices.size(); ++i) {
    input_table_entry e;
    e.rec = model.prices[i];
    e.rec.quantity = e.rec.other_quantity = e.rec.excluded_quantity = e.rec.investor_quantity = 0;
    e.rec.mp_mode = 0;  // given by this run's inputs, never carried over from an earlier run
    e.record_index = static_cast<int>(i);
    set_prices(e, labour_rate_);
    entries_.push_back(std::move(e));
  }
  // Sorted by key; a key that repeats keeps its first record.
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const input_table_entry& a, const input_table_entry& b) { return entry_key(a) < entry_key(b); });
  entries_.erase(std::unique(entries_.begin(), entries_.end(),
                             [](const input_table_entry& a, const input_table_entry& b) { return entry_key(a) == entry_key(b); }),
                 entries_.end());
}

input_table_entry* input_table::find(uint32_t id, uint16_t sub) {
  const uint64_t key = make_key(id, sub);
  auto it = std::lower_bound(entries_.begin(), entries_.end(), key, key_less);
  return it != entries_.end() && entry_key(*it) == key ? &*it : nullptr;
}

const input_table_entry* input_table::find(uint32_t id, uint16_t sub) const {
  return const_cast<input_table*>(this)->find(id, sub);
}

namespace {
input_table_entry placeholder(uint32_t id, uint16_t sub) {
  input_table_entry e;
  e.rec.kind = kind_material;
  e.rec.id = id;
  e.rec.sub = sub;
  e.rec.unit = "???    ";
  e.rec.name = placeholder_name(id, sub);
  return e;
}
} // namespace

input_table_entry& input_table::find_or_add(uint32_t id, uint16_t sub) {
  const uint64_t key = make_key(id, sub);
  auto it = std::lower_bound(entries_.begin(), entries_.end(), key, key_less);
  if (it != entries_.end() && entry_key(*it) == key) return *it;
  return *entries_.insert(it, placeholder(id, sub));
}

void input_table::add_placeholders(std::vector<uint64_t> keys) {
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  const size_t known = entries_.size();
  for (uint64_t key : keys) {
    auto it = std::lower_bound(entries_.begin(), entries_.begin() + static_cast<long>(known), key, key_less);
    if (it != entries_.begin() + static_cast<long>(known) && entry_key(*it) == key) continue;
    entries_.push_back(placeholder(static_cast<uint32_t>(key >> 16), static_cast<uint16_t>(key & 0xffff)));
  }
  std::inplace_merge(entries_.begin(), entries_.begin() + static_cast<long>(known), entries_.end(),
                     [](const input_table_entry& a, const input_table_entry& b) { return entry_key(a) < entry_key(b); });
}

} // namespace kovra::calc
