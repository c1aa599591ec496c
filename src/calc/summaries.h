#pragma once
// Summaries of labour, materials and equipment: the price records in name order within a
// kind, the values of one summary line, and each group's totals with its extra lines.
// Texts are in the internal code page, like the names in the records.
#include <optional>
#include <string>
#include <vector>

#include "calc/estimate_model.h"
#include "calc/estimate_totals.h"

namespace kovra::calc {

// Indexes of the price records of one kind, in name order.
std::vector<int> inputs_by_name(const std::vector<price_record>& prices, uint8_t kind);
// The same as the summary page walks them: by the name key of the records the model was
// read from (records the key misses follow in name order), else by name.
std::vector<int> inputs_in_name_order(const estimate_model& model, uint8_t kind);

// Walks the price records in name order within a kind, in the order of inputs_in_name_order
// (the name key of the records). The order is taken once, so each step is constant time
// and a whole walk is linear over the key. -1 when the walk leaves the kind.
class name_walk {
public:
  explicit name_walk(const estimate_model& model);
  int first_of_kind(uint8_t kind) const;
  int last_of_kind(uint8_t kind) const;
  int next_by_name(int index) const;
  int previous_by_name(int index) const;

private:
  int step(int index, int by) const;
  const std::vector<price_record>& prices_;
  std::vector<int> order_;  // every kind, kind by kind
  std::vector<int> place_;  // price index -> its place in order_, -1 none
};
// Index of the record of a key, -1 none.
int find_input(const std::vector<price_record>& prices, uint32_t id, uint16_t sub);

enum class kz_shown { none, percent, per_unit, amount };

struct summary_line {
  std::optional<uint32_t> number; // the id when it is below 9 999 999
  double quantity = 0;
  double base_price = 0;
  double price = 0;
  kz_shown kz = kz_shown::none;
  double kz_value = 0;
  double investor_value = 0;
  double value = 0;
  double excluded_quantity = 0;
  double excluded_value = 0;
  bool base_material = false;
};

summary_line summary_line_of(const price_record& r);

struct summary_extra_line {
  std::string title;
  double value = 0;
};

struct summary_group {
  std::vector<summary_extra_line> extras;
  std::string closing_title; // "Razem (z dokładnością do zaokrągleń):"
  double total = 0;
  double hours = 0;          // man-hours (labour) or machine-hours (equipment); 0 for materials
};

// The closing lines of the summary of one kind from the totals of the last run.
summary_group summary_group_of(const estimate_totals& t, uint8_t kind);

} // namespace kovra::calc
