#pragma once
// Recalculation of a compound estimate: every chapter by the single-estimate run, the
// chapters' totals and overhead tables summed, their input tables merged into the
// compound's summary records, and the compound's additions with their VAT.
#include <cstdint>
#include <string>
#include <vector>

#include "calc/estimate_model.h"
#include "calc/recalculation.h"

namespace kovra::calc {

// One summary record of a compound estimate (one per input key used by any chapter).
struct summary_record {
  int32_t pos = -1;
  uint8_t kind = 0;
  uint32_t id = 0;
  uint16_t sub = 0;
  std::string unit;
  std::string name;
  double value = 0;
  double quantity = 0;
  double excluded_value = 0;
  double excluded_quantity = 0;
  uint8_t kz_mode = 0; // bit 7: a chapter has given a mode
  double base_value = 0;
  double kz_value = 0;
  double investor_quantity = 0;
  double investor_value = 0;
  double price_low = 0;
  double price_high = 0;
  double base_price_low = 0;
  double base_price_high = 0;
  double investor_value_base = 0;
  double basis_value = 0;
  double basis_quantity = 0;
  bool seen_in_run = false; // not stored: the first chapter of a run sets the extremes

  // Average price: basis value ÷ basis quantity, else the midpoint of the extremes; held
  // within the extremes.
  double average_price() const;
  double average_base_price() const;
};

struct chapter_model {
  std::string number;
  std::string storage_name = "internal";
  double quantity = 1.0;
  int precision_code = 3;
  bool available = true; // an external chapter that could not be opened is left out
  estimate_model doc;
};

struct compound_model {
  estimate_settings settings;
  overhead_table overheads;
  std::vector<addition> additions;
  std::vector<summary_record> summary; // kept sorted by key
  std::vector<chapter_model> chapters;
};

struct compound_result {
  estimate_totals totals;
  std::vector<recalc_result> chapters; // one per chapter, in chapter order (empty totals when left out)
};

// Merges one chapter's input table into the summary records.
void merge_chapter_inputs(std::vector<summary_record>& summary, const input_table& table);

compound_result recalculate_compound(compound_model& model);

} // namespace kovra::calc
