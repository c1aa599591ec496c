#pragma once
// The one-off equipment cost view: its four lines "Montaż", "Demontaż", "Pierwsze [km]"
// and "Każde następne [km]" with norm, quantity, price and value as the view prints them,
// from the same computation the recalculation values the node with. Texts in the internal
// code page.
#include <array>
#include <string>

#include "calc/special_positions.h"

namespace kovra::calc {

struct one_off_sheet_row {
  std::string input;    // "Nakład"
  std::string norm;     // "Norma"
  std::string quantity; // "Ilość"
  std::string price;    // "Cena"
  std::string value;    // "Wartość"
};

struct one_off_sheet {
  one_off_values values;
  bool not_valued = false; // the lines are shaded
  std::array<one_off_sheet_row, 4> rows;
};

// The names of the four lines, in their order.
const char* one_off_line_name(int line);

one_off_sheet one_off_sheet_of(const estimate_model& model, const model_node& node);

} // namespace kovra::calc
