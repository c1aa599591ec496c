#pragma once
// The input table of one run: every distinct labour, material and equipment input with its
// price record copy, the prices used for valuation and the quantities the run accumulates.
// Kept sorted by key and searched by binary search.
#include <cstdint>
#include <string>
#include <vector>

#include "calc/estimate_model.h"

namespace kovra::calc {

struct input_table_entry {
  price_record rec;        // copy of the price record; its quantities are the run's
  int record_index = -1;   // index in the estimate's price records, -1 for a placeholder
  bool used = false;
  double price = 0;        // for materials including purchase costs
  double kz_percent = 0;
  double base_price = 0;   // materials without purchase costs; labour and equipment: price
  double hours = 0;        // unused by materials
};

// Name given to an input key without a price record (Mazovia, like every stored text).
std::string placeholder_name(uint32_t id, uint16_t sub);

class input_table {
 public:
  // Fills the table from the estimate's own price records with their quantities cleared
  // and the valuation prices set (labour rate, purchase-cost percentage).
  void load(const estimate_model& model);

  input_table_entry* find(uint32_t id, uint16_t sub);
  const input_table_entry* find(uint32_t id, uint16_t sub) const;
  // The entry of a key; a key without a price record gets a placeholder priced at 0.
  input_table_entry& find_or_add(uint32_t id, uint16_t sub);
  // Placeholders for every key of the list that has no entry, added at once: a run names
  // the keys it will use first, so that an estimate full of unknown keys does not insert
  // them one by one into the sorted table. Keys are (id << 16) | sub.
  void add_placeholders(std::vector<uint64_t> keys);

  std::vector<input_table_entry>& entries() { return entries_; }
  const std::vector<input_table_entry>& entries() const { return entries_; }

  // Valuation prices of an entry from its record (also used after purchase costs change).
  static void set_prices(input_table_entry& e, double labour_rate);

 private:
  std::vector<input_table_entry> entries_;
  double labour_rate_ = 0;
};

} // namespace kovra::calc
