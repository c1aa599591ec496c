#pragma once
// The estimate's general data: the 5,692-byte user header of its main record set.
//
// Kept as its stored bytes; the accessors read and write the named fields in place, so
// bytes no field names stay as read.
#include "document/bytes.h"
#include "document/field_table.h"

#include <array>
#include <span>
#include <string>

namespace kovra::document {

inline constexpr std::size_t GENERAL_DATA_SIZE = 5692;
inline constexpr std::size_t PRICE_LIST_COUNT = 12;
inline constexpr std::size_t PRICE_LIST_WIDTH = 260;

// Offsets of the general data.
namespace gd {
inline constexpr int ESTIMATE_DATE = 0;          // 6 bytes "yymmdd", no terminator
inline constexpr int PREPARER_TEXT = 6;          // 157
inline constexpr int CLIENT_TEXT = 163;          // 157
inline constexpr int OBJECT_TEXT = 320;          // 157
inline constexpr int SITE_TEXT = 477;            // 157
inline constexpr int CHAPTER_DESCRIPTION = 634;  // 224, four lines of 56
inline constexpr int NAME = 858;                 // 56
inline constexpr int DESCRIPTION_RECORD = 914;
inline constexpr int ADDITIONS_RECORD = 918;
inline constexpr int PRICE_LIST_FILES = 922;     // 12 x 260
inline constexpr int SHARED_BEGIN = 922;         // block copied from a compound into its chapters
inline constexpr int SHARED_END = 4051;          // one past its end (3,129 bytes)
inline constexpr int PRICES_TO_LIST = 4042;      // 4 x signed 16
inline constexpr int PRICES_WITH_KZ = 4050;
inline constexpr int LABOUR_RATE = 4051;
inline constexpr int UNITS_COUNT = 4059;
inline constexpr int WORD_4067 = 4067;
inline constexpr int VALUATION_LOCK = 4069;
inline constexpr int VALUATION_FLAG = 4070;
inline constexpr int LABOUR_RATE_SWITCH = 4072;
inline constexpr int VALUATION_KIND = 4073;
inline constexpr int CURRENCY = 4074;
inline constexpr int DOUBLE_4075 = 4075;
inline constexpr int ESTIMATE_UNIT = 4083;       // 8
inline constexpr int PURCHASE_COST_PERCENT = 4091;
inline constexpr int MERGED_VALUE_CORRECTION = 4095;
inline constexpr int INVESTOR_TABLE = 4096;
inline constexpr int INVESTOR_OVERHEADS_RECORD = 4097;
inline constexpr int KZ_RATE_SIMPLIFIED = 4101;  // stored as rate + 1
inline constexpr int KZ_RATE_OTHER = 4105;       // stored as rate + 1
inline constexpr int DATE_STATE = 4109;
inline constexpr int CALC_METHOD = 4110;
inline constexpr int OVERHEADS_PER_POSITION = 4111;
inline constexpr int PROFIT_PER_COMPONENT = 4112;
inline constexpr int AUTHORS_RECORD = 4114;
inline constexpr int CPV_TEXT = 4118;
inline constexpr int NOTE_TEXT = 4122;
inline constexpr int CPV_DISPLAY_MODE = 4126;
inline constexpr int CPV_LEVEL = 4127;
inline constexpr int SPECIFICATION_TEXT = 4128;
inline constexpr int COEF_TEXTS = 4132;          // 3 x 48
inline constexpr int COEFS = 4276;               // 3 x float
inline constexpr int WORD_AFTER_COEFS = 4288;
inline constexpr int INDIVIDUAL_CODE = 4292;     // 20
inline constexpr int MULTIPLICITY_IN_UNIT = 4312;
inline constexpr int POS_5582 = 5582;
inline constexpr int HIDDEN_COLUMNS = 5586;      // 3 x signed 16
inline constexpr int PRINT_CONFIG_RECORD = 5592;
inline constexpr int PASSWORD = 5596;
inline constexpr int STANDARD_OVERHEADS_RECORD = 5600;
inline constexpr int CONSTITUENT_MARK = 5604;
inline constexpr int POS_5605 = 5605;
} // namespace gd

inline constexpr int COEF_TEXT_WIDTH = 48;

struct general_data {
  std::array<uint8_t, GENERAL_DATA_SIZE> bytes{};

  // All zero, as a general data that nobody has filled.
  general_data() = default;
  // Copies up to 5,692 bytes; a shorter header leaves the rest zero.
  static general_data from_bytes(std::span<const uint8_t> data);

  uint8_t* at(int offset) { return bytes.data() + offset; }
  const uint8_t* at(int offset) const { return bytes.data() + offset; }

  std::string estimate_date() const { return get_text(at(gd::ESTIMATE_DATE), 6); }
  void set_estimate_date(std::string_view t) { put_fixed_text(at(gd::ESTIMATE_DATE), 6, t); }
  std::string preparer_text() const { return get_text(at(gd::PREPARER_TEXT), 157); }
  std::string client_text() const { return get_text(at(gd::CLIENT_TEXT), 157); }
  std::string object_text() const { return get_text(at(gd::OBJECT_TEXT), 157); }
  std::string site_text() const { return get_text(at(gd::SITE_TEXT), 157); }
  std::string chapter_description() const { return get_text(at(gd::CHAPTER_DESCRIPTION), 224); }
  // The estimate's name: at most 55 characters.
  std::string name() const { return get_text(at(gd::NAME), 55); }
  void set_name(std::string_view t) { put_text(at(gd::NAME), 56, t); }
  std::string price_list_file(int k) const;
  void set_price_list_file(int k, std::string_view t);

  rec_pos description_record() const { return get_i32(at(gd::DESCRIPTION_RECORD)); }
  void set_description_record(rec_pos p) { put_i32(at(gd::DESCRIPTION_RECORD), p); }
  rec_pos additions_record() const { return get_i32(at(gd::ADDITIONS_RECORD)); }
  void set_additions_record(rec_pos p) { put_i32(at(gd::ADDITIONS_RECORD), p); }
  rec_pos investor_overheads_record() const { return get_i32(at(gd::INVESTOR_OVERHEADS_RECORD)); }
  void set_investor_overheads_record(rec_pos p) { put_i32(at(gd::INVESTOR_OVERHEADS_RECORD), p); }
  rec_pos authors_record() const { return get_i32(at(gd::AUTHORS_RECORD)); }
  void set_authors_record(rec_pos p) { put_i32(at(gd::AUTHORS_RECORD), p); }
  rec_pos cpv_text() const { return get_i32(at(gd::CPV_TEXT)); }
  void set_cpv_text(rec_pos p) { put_i32(at(gd::CPV_TEXT), p); }
  rec_pos note_text() const { return get_i32(at(gd::NOTE_TEXT)); }
  void set_note_text(rec_pos p) { put_i32(at(gd::NOTE_TEXT), p); }
  rec_pos specification_text() const { return get_i32(at(gd::SPECIFICATION_TEXT)); }
  void set_specification_text(rec_pos p) { put_i32(at(gd::SPECIFICATION_TEXT), p); }
  rec_pos print_config_record() const { return get_i32(at(gd::PRINT_CONFIG_RECORD)); }
  void set_print_config_record(rec_pos p) { put_i32(at(gd::PRINT_CONFIG_RECORD), p); }
  rec_pos standard_overheads_record() const { return get_i32(at(gd::STANDARD_OVERHEADS_RECORD)); }
  void set_standard_overheads_record(rec_pos p) { put_i32(at(gd::STANDARD_OVERHEADS_RECORD), p); }

  // "Ceny do cennika" switches: 0 labour, 1 materials, 2 equipment, 3 simplified positions.
  int16_t prices_to_list(int k) const { return get_i16(at(gd::PRICES_TO_LIST + 2 * k)); }
  uint8_t prices_with_kz() const { return bytes[gd::PRICES_WITH_KZ]; }
  double labour_rate() const { return get_f64(at(gd::LABOUR_RATE)); }
  void set_labour_rate(double v) { put_f64(at(gd::LABOUR_RATE), v); }
  double units_count() const { return get_f64(at(gd::UNITS_COUNT)); }
  void set_units_count(double v) { put_f64(at(gd::UNITS_COUNT), v); }
  uint8_t valuation_lock() const { return bytes[gd::VALUATION_LOCK]; }
  void set_valuation_lock(uint8_t v) { bytes[gd::VALUATION_LOCK] = v; }
  int16_t valuation_flag() const { return get_i16(at(gd::VALUATION_FLAG)); }
  uint8_t labour_rate_switch() const { return bytes[gd::LABOUR_RATE_SWITCH]; }
  uint8_t valuation_kind() const { return bytes[gd::VALUATION_KIND]; }
  uint8_t currency() const { return bytes[gd::CURRENCY]; }
  void set_currency(uint8_t v) { bytes[gd::CURRENCY] = v; }
  std::string estimate_unit() const { return get_text(at(gd::ESTIMATE_UNIT), 8); }
  float purchase_cost_percent() const { return get_f32(at(gd::PURCHASE_COST_PERCENT)); }
  // Stores the percentage; a value other than 0 also becomes each purchase-cost rate that
  // is unset.
  void set_purchase_cost_percent(float v);
  uint8_t merged_value_correction() const { return bytes[gd::MERGED_VALUE_CORRECTION]; }
  uint8_t investor_table() const { return bytes[gd::INVESTOR_TABLE]; }
  void set_investor_table(uint8_t v) { bytes[gd::INVESTOR_TABLE] = v; }

  // Purchase-cost rates stored as rate + 1 (a stored 0 means no rate).
  float kz_rate_simplified() const { return stored_rate(gd::KZ_RATE_SIMPLIFIED); }
  float kz_rate_other() const { return stored_rate(gd::KZ_RATE_OTHER); }
  void set_kz_rate_simplified(float rate) { store_rate(gd::KZ_RATE_SIMPLIFIED, rate); }
  void set_kz_rate_other(float rate) { store_rate(gd::KZ_RATE_OTHER, rate); }

  uint8_t date_state() const { return bytes[gd::DATE_STATE]; }
  void set_date_state(uint8_t v) { bytes[gd::DATE_STATE] = v; }
  uint8_t calc_method() const { return bytes[gd::CALC_METHOD]; }
  void set_calc_method(uint8_t v) { bytes[gd::CALC_METHOD] = v; }
  uint8_t overheads_per_position() const { return bytes[gd::OVERHEADS_PER_POSITION]; }
  void set_overheads_per_position(uint8_t v) { bytes[gd::OVERHEADS_PER_POSITION] = v; }
  uint8_t profit_per_component() const { return bytes[gd::PROFIT_PER_COMPONENT]; }
  void set_profit_per_component(uint8_t v) { bytes[gd::PROFIT_PER_COMPONENT] = v; }
  uint8_t cpv_display_mode() const { return bytes[gd::CPV_DISPLAY_MODE]; }
  uint8_t cpv_level() const { return bytes[gd::CPV_LEVEL]; }

  // The estimate's R, M and S coefficients (i = 0, 1, 2) and their texts.
  float coef(int i) const { return get_f32(at(gd::COEFS + 4 * i)); }
  std::string coef_text(int i) const { return get_text(at(gd::COEF_TEXTS + COEF_TEXT_WIDTH * i), COEF_TEXT_WIDTH); }
  // Sets a coefficient and its text ("%6.3f").
  void set_coef(int i, float v);

  std::string individual_code() const { return get_text(at(gd::INDIVIDUAL_CODE), 20); }
  uint8_t multiplicity_in_unit() const { return bytes[gd::MULTIPLICITY_IN_UNIT]; }
  void set_multiplicity_in_unit(uint8_t v) { bytes[gd::MULTIPLICITY_IN_UNIT] = v; }
  int16_t hidden_columns(int k) const { return get_i16(at(gd::HIDDEN_COLUMNS + 2 * k)); }
  void set_hidden_columns(int k, int16_t v) { put_i16(at(gd::HIDDEN_COLUMNS + 2 * k), v); }
  uint32_t password() const { return get_u32(at(gd::PASSWORD)); }
  uint8_t constituent_mark() const { return bytes[gd::CONSTITUENT_MARK]; }

private:
  float stored_rate(int offset) const;
  void store_rate(int offset, float rate);
};

// The general data of a new simple estimate, as far as it does not depend on the program
// settings: record positions -1, units and the double at 4075 1.0, currency 1, CPV level 3,
// coefficients 1.0 with their texts.
general_data new_general_data();

// Text of a coefficient as it is stored beside it: "%6.3f".
std::string coef_text_of(float v);

// Name of the estimate's currency; an empty text when there is no general data.
std::string currency_text(const general_data* g);

// The named fields, for generic encoding; record positions have no name.
std::span<const field_def> general_data_fields();

} // namespace kovra::document
