#pragma once
// The simplified-position page: four rows of input, price and value, valued with full
// quantities whatever the method. Texts in the internal code page.
#include <array>
#include <string>

#include "calc/special_positions.h"

namespace kovra::calc {

struct simplified_sheet_row {
  std::string input; // "Nakład"
  std::string price; // "Cena"
  std::string value; // "Wartość"
};

struct simplified_sheet {
  simplified_costs costs;
  bool not_valued = false; // drawn like positions that are not valued
  std::array<simplified_sheet_row, 4> rows;
};

simplified_sheet simplified_sheet_of(const estimate_model& model, const model_node& node);

} // namespace kovra::calc
