#include "document/general_data.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kovra::document {

namespace {
// Percentages are kept to 0.01 with the program's rounding bias (halves away from zero).
float round_rate(float v) {
  double m = std::fabs(double(v));
  double r = std::floor(m / 0.01 + 0.5000001) * 0.01;
  return float(v < 0 ? -r : r);
}

using K = field_kind;
constexpr field_def general_fields[] = {
    {"estimate_date", gd::ESTIMATE_DATE, K::fixed_text, 6},
    {"preparer_text", gd::PREPARER_TEXT, K::text, 157},
    {"client_text", gd::CLIENT_TEXT, K::text, 157},
    {"object_text", gd::OBJECT_TEXT, K::text, 157},
    {"site_text", gd::SITE_TEXT, K::text, 157},
    {"chapter_description", gd::CHAPTER_DESCRIPTION, K::text, 224},
    {"name", gd::NAME, K::text, 56},
    {nullptr, gd::DESCRIPTION_RECORD, K::pos, 0},
    {nullptr, gd::ADDITIONS_RECORD, K::pos, 0},
    {"price_list_file_0", 922 + 0 * 260, K::text, 260},
    {"price_list_file_1", 922 + 1 * 260, K::text, 260},
    {"price_list_file_2", 922 + 2 * 260, K::text, 260},
    {"price_list_file_3", 922 + 3 * 260, K::text, 260},
    {"price_list_file_4", 922 + 4 * 260, K::text, 260},
    {"price_list_file_5", 922 + 5 * 260, K::text, 260},
    {"price_list_file_6", 922 + 6 * 260, K::text, 260},
    {"price_list_file_7", 922 + 7 * 260, K::text, 260},
    {"price_list_file_8", 922 + 8 * 260, K::text, 260},
    {"price_list_file_9", 922 + 9 * 260, K::text, 260},
    {"price_list_file_10", 922 + 10 * 260, K::text, 260},
    {"price_list_file_11", 922 + 11 * 260, K::text, 260},
    {"prices_to_list_r", 4042, K::i16, 0},
    {"prices_to_list_m", 4044, K::i16, 0},
    {"prices_to_list_s", 4046, K::i16, 0},
    {"prices_to_list_u", 4048, K::i16, 0},
    {"prices_with_kz", gd::PRICES_WITH_KZ, K::u8, 0},
    {"labour_rate", gd::LABOUR_RATE, K::f64, 0},
    {"units_count", gd::UNITS_COUNT, K::f64, 0},
    {"word_4067", gd::WORD_4067, K::i16, 0},
    {"valuation_lock", gd::VALUATION_LOCK, K::u8, 0},
    {"valuation_flag", gd::VALUATION_FLAG, K::i16, 0},
    {"labour_rate_switch", gd::LABOUR_RATE_SWITCH, K::u8, 0},
    {"valuation_kind", gd::VALUATION_KIND, K::u8, 0},
    {"currency", gd::CURRENCY, K::u8, 0},
    {"double_4075", gd::DOUBLE_4075, K::f64, 0},
    {"estimate_unit", gd::ESTIMATE_UNIT, K::text, 8},
    {"purchase_cost_percent", gd::PURCHASE_COST_PERCENT, K::f32, 0},
    {"merged_value_correction", gd::MERGED_VALUE_CORRECTION, K::u8, 0},
    {"investor_table", gd::INVESTOR_TABLE, K::u8, 0},
    {nullptr, gd::INVESTOR_OVERHEADS_RECORD, K::pos, 0},
    {"kz_rate_simplified", gd::KZ_RATE_SIMPLIFIED, K::f32, 0},
    {"kz_rate_other", gd::KZ_RATE_OTHER, K::f32, 0},
    {"date_state", gd::DATE_STATE, K::u8, 0},
    {"calc_method", gd::CALC_METHOD, K::u8, 0},
    {"overheads_per_position", gd::OVERHEADS_PER_POSITION, K::u8, 0},
    {"profit_per_component", gd::PROFIT_PER_COMPONENT, K::u8, 0},
    {nullptr, gd::AUTHORS_RECORD, K::pos, 0},
    {nullptr, gd::CPV_TEXT, K::pos, 0},
    {nullptr, gd::NOTE_TEXT, K::pos, 0},
    {"cpv_display_mode", gd::CPV_DISPLAY_MODE, K::u8, 0},
    {"cpv_level", gd::CPV_LEVEL, K::u8, 0},
    {nullptr, gd::SPECIFICATION_TEXT, K::pos, 0},
    {"coef_text_r", 4132, K::text, 48},
    {"coef_text_m", 4180, K::text, 48},
    {"coef_text_s", 4228, K::text, 48},
    {"coef_r", 4276, K::f32, 0},
    {"coef_m", 4280, K::f32, 0},
    {"coef_s", 4284, K::f32, 0},
    {"individual_code", gd::INDIVIDUAL_CODE, K::text, 20},
    {"multiplicity_in_unit", gd::MULTIPLICITY_IN_UNIT, K::u8, 0},
    {"pos_5582", gd::POS_5582, K::i32, 0},
    {"hidden_columns_r", 5586, K::i16, 0},
    {"hidden_columns_m", 5588, K::i16, 0},
    {"hidden_columns_s", 5590, K::i16, 0},
    {nullptr, gd::PRINT_CONFIG_RECORD, K::pos, 0},
    {"password", gd::PASSWORD, K::u32, 0},
    {nullptr, gd::STANDARD_OVERHEADS_RECORD, K::pos, 0},
    {"constituent_mark", gd::CONSTITUENT_MARK, K::u8, 0},
    {"pos_5605", gd::POS_5605, K::i32, 0},
};
} // namespace

general_data general_data::from_bytes(std::span<const uint8_t> data) {
  general_data g;
  std::copy_n(data.begin(), std::min(data.size(), GENERAL_DATA_SIZE), g.bytes.begin());
  return g;
}

std::string general_data::price_list_file(int k) const {
  if (k < 0 || k >= int(PRICE_LIST_COUNT)) return {};
  return get_text(at(gd::PRICE_LIST_FILES + int(PRICE_LIST_WIDTH) * k), PRICE_LIST_WIDTH);
}

void general_data::set_price_list_file(int k, std::string_view t) {
  if (k < 0 || k >= int(PRICE_LIST_COUNT)) return;
  put_text(at(gd::PRICE_LIST_FILES + int(PRICE_LIST_WIDTH) * k), PRICE_LIST_WIDTH, t);
}

void general_data::set_purchase_cost_percent(float v) {
  put_f32(at(gd::PURCHASE_COST_PERCENT), v);
  if (v == 0) return;
  if (get_f32(at(gd::KZ_RATE_SIMPLIFIED)) == 0) set_kz_rate_simplified(v);
  if (get_f32(at(gd::KZ_RATE_OTHER)) == 0) set_kz_rate_other(v);
}

float general_data::stored_rate(int offset) const {
  float stored = get_f32(at(offset)) - 1.0f;
  return stored >= 0 ? stored : 0.0f;  // NaN lands here too
}

void general_data::store_rate(int offset, float rate) { put_f32(at(offset), round_rate(rate + 1.0f)); }

std::string coef_text_of(float v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%6.3f", double(v));
  return std::string(buf).substr(0, COEF_TEXT_WIDTH - 1);
}

void general_data::set_coef(int i, float v) {
  if (i < 0 || i > 2) return;
  put_f32(at(gd::COEFS + 4 * i), v);
  put_text(at(gd::COEF_TEXTS + COEF_TEXT_WIDTH * i), COEF_TEXT_WIDTH, coef_text_of(v));
}

general_data new_general_data() {
  general_data g;
  for (int off : {gd::DESCRIPTION_RECORD, gd::ADDITIONS_RECORD, gd::INVESTOR_OVERHEADS_RECORD,
                  gd::AUTHORS_RECORD, gd::CPV_TEXT, gd::NOTE_TEXT, gd::SPECIFICATION_TEXT, gd::POS_5582,
                  gd::PRINT_CONFIG_RECORD, gd::STANDARD_OVERHEADS_RECORD, gd::POS_5605})
    put_i32(g.at(off), NO_POS);
  g.set_units_count(1.0);
  put_f64(g.at(gd::DOUBLE_4075), 1.0);
  g.set_currency(1);
  g.bytes[gd::CPV_LEVEL] = 3;
  for (int i = 0; i < 3; ++i) g.set_coef(i, 1.0f);
  return g;
}

std::string currency_text(const general_data* g) {
  if (!g) return {};
  switch (g->currency()) {
  case 0: return "z\xB3";  // "zł" as the screen shows it
  case 1: return "z\x92";  // the same in the internal code page
  case 2: return "EURO";
  case 3: return "USD";
  default: return {};
  }
}

std::span<const field_def> general_data_fields() { return general_fields; }

} // namespace kovra::document
