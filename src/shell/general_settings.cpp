#include "shell/general_settings.h"

#include "shell/section_codec.h"

#include <cmath>

namespace kovra::shell {

std::string general_record::catalogue_prefix() const { return get_text(block.data(), 26); }
void general_record::set_catalogue_prefix(const std::string& t) { put_text(block.data(), 26, t); }
double general_record::total_rounding_step() const { return get_f64(block.data() + 26); }
void general_record::set_total_rounding_step(double v) { put_f64(block.data() + 26, v); }
int16_t general_record::new_calculation_method() const { return get_i16(block.data() + 51); }

int16_t general_record::hidden_columns(int summary) const {
  if (summary < 0 || summary > 2) return 0;
  return get_i16(block.data() + 55 + 2 * summary);
}
void general_record::set_hidden_columns(int summary, int16_t bits) {
  if (summary < 0 || summary > 2) return;
  put_i16(block.data() + 55 + 2 * summary, bits);
}
double general_record::new_purchase_cost_percent() const { return get_f64(block.data() + 61); }

std::string general_record::firm_line(int i) const {
  if (i < 0 || i > 3) return {};
  return get_text(block.data() + 70 + 56 * i, 56);
}
void general_record::set_firm_line(int i, const std::string& t) {
  if (i < 0 || i > 3) return;
  put_text(block.data() + 70 + 56 * i, 56, t);
}

void fill_general_defaults(general_record& r) {
  r.block.fill(0);
  r.set_catalogue_prefix("KNR");
  r.set_total_rounding_step(0.01);
  r.block[34] = 1;  // show_hints
  r.block[35] = 1;  // name_column_first
  r.block[36] = 0;  // no_tilde_marks
  r.block[37] = 1;
  r.block[38] = 1;  // new_estimate_kind: simple
  r.block[39] = 1;
  r.block[40] = 1;  // autosave
  put_f64(r.block.data() + 42, 10.0);
  r.trailing_flag_1 = 1;
  r.trailing_byte = 6;
}

general_record default_general_record() {
  general_record r;
  fill_general_defaults(r);
  r.trailing_flag_2 = 0;
  return r;
}

general_record& general_settings() {
  static general_record g = default_general_record();
  return g;
}

void reset_general_settings() { general_settings() = default_general_record(); }

double round_total(double value, double step) {
  // Also catches a NaN step.
  if (!(step > 0.01)) step = 0.01;
  double r = std::floor(std::fabs(value) / step + 0.5000001) * step;
  return value < 0 ? -r : r;
}

} // namespace kovra::shell
