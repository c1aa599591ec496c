#pragma once
// The working values of a scaffolding as its page shows them: 11 rows of label, unit,
// value and result, the labels of rows 4, 8 and 10 carrying their formula line. Texts are
// in the internal code page; numbers are formatted as the page prints them.
#include <array>
#include <string>

#include "calc/input_table.h"
#include "calc/position_costing.h"
#include "calc/special_positions.h"

namespace kovra::calc {

struct scaffold_sheet_row {
  std::string label;
  std::string unit;
  std::string value;
  std::string result;
};

struct scaffold_sheet {
  scaffold_values values;
  double price = 0;
  std::array<scaffold_sheet_row, 11> rows;
};

// `table` is the input table of the last run (for the price and name of the input).
scaffold_sheet scaffold_sheet_of(const costing_context& ctx, int node_index, const input_table& table);

} // namespace kovra::calc
