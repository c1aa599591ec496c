#include "calc/one_off_sheet.h"

#include "calc/number_text.h"
#include "store/codepage.h"

namespace kovra::calc {

const char* one_off_line_name(int line) {
  static const char* const names[4] = {"Montaż", "Demontaż", "Pierwsze       [km]", "Każde następne [km]"};
  return line >= 0 && line < 4 ? names[line] : "";
}

one_off_sheet one_off_sheet_of(const estimate_model& model, const model_node& node) {
  one_off_sheet s;
  s.values = compute_one_off(model, node);
  s.not_valued = node.not_valued();
  for (int i = 0; i < 4; ++i) {
    const one_off_line& l = s.values.lines[static_cast<size_t>(i)];
    one_off_sheet_row& row = s.rows[static_cast<size_t>(i)];
    row.input = store::utf8_to_mazovia(one_off_line_name(i));
    row.norm = text_norm(l.norm);
    row.quantity = text_amount(l.quantity);
    row.price = text_price(l.price);
    row.value = text_money(l.value);
  }
  return s;
}

} // namespace kovra::calc
