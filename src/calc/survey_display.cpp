#include "calc/survey_display.h"

#include "calc/number_text.h"
#include "calc/rounding.h"

#include <cmath>

namespace kovra::calc {

std::string survey_line_quantity_text(const survey_line& line) { return text_quantity_short(line.value, -3); }

bool survey_line_is_assignment(const survey_line& line) {
  return line.expression.find('=') != std::string::npos;
}

bool survey_line_shaded(const survey_line& line, bool owner_not_valued) {
  return owner_not_valued || line.is_comment() || line.failed();
}

survey_totals survey_totals_for(const survey_lines& lines, survey_owner_kind kind, int code, double multiplier,
                                int multiplier_code) {
  survey_totals t;
  t.total = survey_total(lines);
  t.quantity = round_by_code(t.total, code);
  t.total_text = text_quantity(t.total, code);
  if (multiplier == 1.0) return t;
  t.show_multiplier = true;
  t.multiplier_text = text_quantity(multiplier, multiplier_code);
  int multiplied_code;
  if (kind == survey_owner_kind::one_off && normalized_code(code) == 3) {
    // A count of units stays whole: any fraction of a unit makes one more.
    const double product = t.quantity * multiplier;
    const double units = std::ceil(std::fabs(product));
    t.multiplied = product < 0.0 ? -units : units;
    multiplied_code = 3;
  } else {
    multiplied_code = combine_codes(multiplier_code, code);
    t.multiplied = round_by_code(t.total * multiplier, multiplied_code);
  }
  t.multiplied_text = text_quantity(t.multiplied, multiplied_code);
  return t;
}

} // namespace kovra::calc
