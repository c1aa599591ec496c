#pragma once
// Texts that describe overheads: the formula printed beside an overhead row, the names of
// the calculation methods and their price formulas. In the internal code page.
#include <optional>
#include <string>
#include <vector>

#include "calc/estimate_model.h"
#include "calc/estimate_totals.h"

namespace kovra::calc {

struct formula_context {
  const estimate_model* model = nullptr;
  const estimate_totals* totals = nullptr; // of the last run (purchase-cost summary, M totals)
  bool simple = true;                      // false for a compound estimate
};

// kz_mode > 0 or (< 0 with prices including purchase costs) prints "Ceny zawierają Kz." for
// row 0; kz_value, when given, is the rate row 0 prints otherwise.
std::string overhead_formula_text(const formula_context& ctx, int row, int kz_mode = 0,
                                  std::optional<double> kz_value = std::nullopt);

// "Metoda kalkulacji: ..." for the estimate's settings.
std::string method_name(const estimate_settings& s);
// The price formula of the method, one text per line.
std::vector<std::string> method_description(const estimate_settings& s);
// Setting values as the overhead view shows them.
std::string calc_method_text(uint8_t calc_method);
std::string overhead_level_text(uint8_t overheads_per_position);
std::string profit_text(uint8_t profit_per_component);

} // namespace kovra::calc
