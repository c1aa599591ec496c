#include "calc/simplified_sheet.h"

#include "calc/number_text.h"
#include "store/codepage.h"

namespace kovra::calc {

simplified_sheet simplified_sheet_of(const estimate_model& model, const model_node& node) {
  simplified_sheet s;
  // The page values the prices whatever decides whether the position itself is valued.
  model_node shown = node;
  shown.flags |= flag_basis_text;
  s.costs = value_simplified(model, shown, false);
  s.not_valued = node.not_valued();
  const auto& c = s.costs;
  auto mz = [](const char* utf8) { return store::utf8_to_mazovia(utf8); };
  s.rows[0] = {mz(" Robocizna "), text_price(c.unit_price[0]), text_money(c.amount[0])};
  s.rows[1] = {mz(" Materiały "), text_price(c.unit_price[1]), text_money(c.amount[1])};
  s.rows[2] = {mz(" Sprzęt "), text_price(c.unit_price[2]), text_money(c.amount[2])};
  s.rows[3] = {mz(" Razem z narzutami (bez VAT) "), text_price_signed(c.unit_price[3]), text_money(c.amount[3])};
  return s;
}

} // namespace kovra::calc
