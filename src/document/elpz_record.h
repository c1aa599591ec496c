#pragma once
// One node record of a simple estimate's tree chain: a fixed part whose length depends on
// the node type, then the NUL-terminated description. At most 676 bytes.
#include "document/bytes.h"
#include "document/field_table.h"

#include <array>
#include <span>
#include <string>

namespace kovra::document {

inline constexpr std::size_t ELPZ_MAX = 676;

// Node types (record offset 2).
enum : int16_t {
  NODE_ELEMENT = 0,
  NODE_POSITION = 1,
  NODE_POSITION_PLAIN = 2,        // without catalogue data
  NODE_ONE_OFF = 3,
  NODE_SIMPLIFIED = 4,
  NODE_SIMPLIFIED_PLAIN = 5,      // without catalogue data
  NODE_SCAFFOLD = 6,
  NODE_TYPE_7 = 7,
  NODE_TYPE_8 = 8,
  NODE_WORK_GROUP = 9,
};

// Flag values (offset 92).
inline constexpr uint8_t FLAG_NOT_IN_TOTALS = 2;
inline constexpr uint8_t FLAG_BASIS_AS_TEXT = 4;
inline constexpr uint8_t FLAG_NOT_VALUED_8 = 8;
inline constexpr uint8_t FLAG_NOT_VALUED_16 = 16;

// Offsets of the node record.
namespace ep {
inline constexpr int SERIAL = 0, TYPE = 2, NUMBER = 4, UNIT = 30, NOTE = 38, CPV = 42, SPECIFICATION = 46,
                     LEVEL = 52, CPV_LEVEL = 53, NET = 76, GROSS = 84, FLAGS = 92;
inline constexpr int NUMBER_WIDTH = 26, UNIT_WIDTH = 8;
// catalogue reference (positions, simplified positions, scaffolding)
inline constexpr int CATALOGUE_NAME = 94, CATALOGUE_NUMBER = 100, FURTHER_NUMBER = 102, TABLE_NUMBER = 104,
                     COLUMN_NUMBER = 106, CATALOGUE_REF_SIZE = 14;
// positions and simplified positions
inline constexpr int QUANTITY = 108, VARIANTS_NAMED = 116, VARIANT_COUNT = 118, CURRENT_VARIANT = 120,
                     INPUTS = 122, POSITION_SURVEY = 128, MULTIPLICITY = 135, PRECISION_CODE = 141,
                     SCAFFOLD_LINK = 142, POSITION_COEFS = 162, POSITION_COEF_TEXTS = 174, REF_STYLE = 318,
                     UNIT_PRICES = 319, POSITION_BASIS_TEXT = 351, POSITION_CODE = 377, POSITION_DESCRIPTION = 441;
// one-off equipment costs
inline constexpr int ONE_OFF_AMOUNT = 94, ONE_OFF_COUNT = 104, ONE_OFF_DISTANCE = 112, ONE_OFF_LINES = 116,
                     ONE_OFF_SURVEY = 244, BYTE_248 = 248, ONE_OFF_CODE = 252, ONE_OFF_DESCRIPTION = 316;
// scaffolding
inline constexpr int SCAFFOLD_INPUT_ID = 108, SCAFFOLD_INPUT_SUB = 112, SCAFFOLD_LABOUR_HOURS = 114,
                     SCAFFOLD_W = 122, SCAFFOLD_S = 130, SCAFFOLD_P = 132, SCAFFOLD_SETS = 140,
                     SCAFFOLDS_PER_SET = 142, SCAFFOLD_K = 150, SCAFFOLD_LINKS = 154, SCAFFOLD_COUNT_CODE = 158,
                     SCAFFOLD_BASIS_TEXT = 159, UNIT2 = 185, SCAFFOLD_CODE = 193, SCAFFOLD_DESCRIPTION = 249;
// work groups and elements
inline constexpr int GROUP_COEF_TEXTS = 94, GROUP_COEFS = 238, WORD_250 = 250, DIVISOR = 254,
                     MERGED_UNIT_PRICE = 258, MERGED = 266, MERGED_PRECISION_CODE = 267, MERGED_QUANTITY = 268,
                     ELEMENT_SURVEY = 276, GROUP_CODE = 280, GROUP_DESCRIPTION = 308;
inline constexpr int BASIS_TEXT_WIDTH = 26;
} // namespace ep

inline constexpr int ELPZ_COEF_TEXT_WIDTH = 48;
inline constexpr const char* NEW_UNIT = "???    ";

bool is_known_node_type(int type);  // 0-7 and 9
bool is_position_type(int type);    // 1, 2, 4, 5
bool is_group_type(int type);       // 0, 9

// Where the description starts; -1 for types that have none (7, 8, unknown).
int description_offset(int type);
// Where the individual code starts and how wide it is; -1 / 0 when none.
int individual_code_offset(int type);
int individual_code_width(int type);

struct elpz_record {
  std::array<uint8_t, ELPZ_MAX> bytes{};

  // Copies at most 676 bytes of a stored record and cuts its description so that a
  // terminator lies inside the record (a damaged record is cut, never read past).
  static elpz_record from_bytes(std::span<const uint8_t> data);

  uint8_t* at(int off) { return bytes.data() + off; }
  const uint8_t* at(int off) const { return bytes.data() + off; }

  // Generic typed access by offset.
  double f64(int off) const { return get_f64(at(off)); }
  void set_f64(int off, double v) { put_f64(at(off), v); }
  float f32(int off) const { return get_f32(at(off)); }
  void set_f32(int off, float v) { put_f32(at(off), v); }
  int16_t i16(int off) const { return get_i16(at(off)); }
  void set_i16(int off, int16_t v) { put_i16(at(off), v); }
  int32_t i32(int off) const { return get_i32(at(off)); }
  void set_i32(int off, int32_t v) { put_i32(at(off), v); }
  std::string text(int off, int width) const { return get_text(at(off), std::size_t(width)); }
  void set_text(int off, int width, std::string_view t) { put_text(at(off), std::size_t(width), t); }

  // Every node type.
  uint16_t serial() const { return get_u16(at(ep::SERIAL)); }
  void set_serial(uint16_t v) { put_u16(at(ep::SERIAL), v); }
  int16_t type() const { return i16(ep::TYPE); }
  std::string number() const { return text(ep::NUMBER, ep::NUMBER_WIDTH); }
  void set_number(std::string_view t) { set_text(ep::NUMBER, ep::NUMBER_WIDTH, t); }
  std::string unit() const { return text(ep::UNIT, ep::UNIT_WIDTH); }
  void set_unit(std::string_view t) { set_text(ep::UNIT, ep::UNIT_WIDTH, t); }
  rec_pos note_pos() const { return i32(ep::NOTE); }
  rec_pos cpv_pos() const { return i32(ep::CPV); }
  rec_pos specification_pos() const { return i32(ep::SPECIFICATION); }
  // which: 0 note, 1 CPV codes, 2 specification.
  rec_pos text_pos(int which) const { return i32(ep::NOTE + 4 * which); }
  void set_text_pos(int which, rec_pos p) { set_i32(ep::NOTE + 4 * which, p); }
  uint8_t level() const { return bytes[ep::LEVEL]; }
  void set_level(uint8_t v) { bytes[ep::LEVEL] = v; }
  uint8_t cpv_level() const { return bytes[ep::CPV_LEVEL]; }
  double net() const { return f64(ep::NET); }
  void set_net(double v) { set_f64(ep::NET, v); }
  double gross() const { return f64(ep::GROSS); }
  void set_gross(double v) { set_f64(ep::GROSS, v); }
  uint8_t flags() const { return bytes[ep::FLAGS]; }
  void set_flags(uint8_t v) { bytes[ep::FLAGS] = v; }
  bool not_valued() const { return (flags() & (FLAG_NOT_VALUED_8 | FLAG_NOT_VALUED_16)) != 0; }

  std::string description() const;
  // Stores the description, cut so that the record stays within 676 bytes.
  void set_description(std::string_view t);
  std::string individual_code() const;
  // Used length: fixed part + description + terminator (676 for types without one).
  std::size_t used_length() const;

  // Catalogue reference (positions, simplified positions, scaffolding).
  std::string catalogue_name() const { return text(ep::CATALOGUE_NAME, 6); }
  void set_catalogue_name(std::string_view t) { set_text(ep::CATALOGUE_NAME, 6, t); }
  int16_t catalogue_number() const { return i16(ep::CATALOGUE_NUMBER); }
  int16_t further_number() const { return i16(ep::FURTHER_NUMBER); }
  int16_t table_number() const { return i16(ep::TABLE_NUMBER); }
  int16_t column_number() const { return i16(ep::COLUMN_NUMBER); }

  // Positions and simplified positions.
  double quantity() const { return f64(ep::QUANTITY); }
  void set_quantity(double v) { set_f64(ep::QUANTITY, v); }
  int16_t variants_named() const { return i16(ep::VARIANTS_NAMED); }
  int16_t variant_count() const { return i16(ep::VARIANT_COUNT); }
  int16_t current_variant() const { return i16(ep::CURRENT_VARIANT); }
  void set_current_variant(int16_t v) { set_i16(ep::CURRENT_VARIANT, v); }
  rec_pos inputs_pos() const { return i32(ep::INPUTS); }
  void set_inputs_pos(rec_pos p) { set_i32(ep::INPUTS, p); }
  float multiplicity() const { return f32(ep::MULTIPLICITY); }
  uint8_t precision_code() const { return bytes[ep::PRECISION_CODE]; }
  void set_precision_code(uint8_t v) { bytes[ep::PRECISION_CODE] = v; }
  rec_pos scaffold_link() const { return i32(ep::SCAFFOLD_LINK); }
  void set_scaffold_link(rec_pos p) { set_i32(ep::SCAFFOLD_LINK, p); }
  uint8_t ref_style() const { return bytes[ep::REF_STYLE]; }
  // Simplified positions: 0 labour, 1 materials, 2 equipment, 3 all-in.
  double unit_price(int i) const { return f64(ep::UNIT_PRICES + 8 * i); }

  // Survey record of the node: positions 128, one-off costs 244, elements 276; -1 none.
  rec_pos survey_pos() const;
  void set_survey_pos(rec_pos p);
  // The basis given as text (positions 351, scaffolding 159); empty for other types.
  std::string basis_text_field() const;

  // R, M, S coefficients of positions (162) and of groups and elements (238), with their
  // texts; 1.0 for other types. Setting a coefficient sets its text ("%6.3f").
  float coef(int i) const;
  std::string coef_text(int i) const;
  void set_coef(int i, float v);

  // Work groups and elements.
  float divisor() const { return f32(ep::DIVISOR); }
  double merged_unit_price() const { return f64(ep::MERGED_UNIT_PRICE); }
  void set_merged_unit_price(double v) { set_f64(ep::MERGED_UNIT_PRICE, v); }
  uint8_t merged() const { return bytes[ep::MERGED]; }
  uint8_t merged_precision_code() const { return bytes[ep::MERGED_PRECISION_CODE]; }
  double merged_quantity() const { return f64(ep::MERGED_QUANTITY); }
  void set_merged_quantity(double v) { set_f64(ep::MERGED_QUANTITY, v); }

  // One-off equipment costs. The distance is a float: a double would run into the first
  // cost line at 116. Lines 0-3: mounting, dismounting, first band, further bands.
  double one_off_amount() const { return f64(ep::ONE_OFF_AMOUNT); }
  void set_one_off_amount(double v) { set_f64(ep::ONE_OFF_AMOUNT, v); }
  double one_off_count() const { return f64(ep::ONE_OFF_COUNT); }
  float one_off_distance() const { return f32(ep::ONE_OFF_DISTANCE); }
  double line_value(int i) const { return f64(ep::ONE_OFF_LINES + 32 * i); }
  void set_line_value(int i, double v) { set_f64(ep::ONE_OFF_LINES + 32 * i, v); }
  double line_price(int i) const { return f64(ep::ONE_OFF_LINES + 32 * i + 8); }
  double line_quantity(int i) const { return f64(ep::ONE_OFF_LINES + 32 * i + 16); }
  void set_line_quantity(int i, double v) { set_f64(ep::ONE_OFF_LINES + 32 * i + 16, v); }
  double line_norm(int i) const { return f64(ep::ONE_OFF_LINES + 32 * i + 24); }

  // Scaffolding.
  uint32_t scaffold_input_id() const { return get_u32(at(ep::SCAFFOLD_INPUT_ID)); }
  uint16_t scaffold_input_sub() const { return get_u16(at(ep::SCAFFOLD_INPUT_SUB)); }
  double scaffold_labour_hours() const { return f64(ep::SCAFFOLD_LABOUR_HOURS); }
  void set_scaffold_labour_hours(double v) { set_f64(ep::SCAFFOLD_LABOUR_HOURS, v); }
  double scaffold_w() const { return f64(ep::SCAFFOLD_W); }
  int16_t scaffold_s() const { return i16(ep::SCAFFOLD_S); }
  double scaffold_p() const { return f64(ep::SCAFFOLD_P); }
  int16_t scaffold_sets() const { return i16(ep::SCAFFOLD_SETS); }
  double scaffolds_per_set() const { return f64(ep::SCAFFOLDS_PER_SET); }
  int32_t scaffold_k() const { return i32(ep::SCAFFOLD_K); }
  rec_pos scaffold_links_pos() const { return i32(ep::SCAFFOLD_LINKS); }
  void set_scaffold_links_pos(rec_pos p) { set_i32(ep::SCAFFOLD_LINKS, p); }
  int8_t scaffold_count_code() const { return int8_t(bytes[ep::SCAFFOLD_COUNT_CODE]); }
  void set_scaffold_count_code(int8_t v) { bytes[ep::SCAFFOLD_COUNT_CODE] = uint8_t(v); }
  std::string unit2() const { return text(ep::UNIT2, 8); }
};

// A new record of the given type with its defaults.
elpz_record new_elpz_record(int16_t type);

std::string description_of(const elpz_record& r);
std::string individual_code_of(const elpz_record& r);

// The named fields of each node type (common fields first), for generic encoding.
std::span<const field_def> elpz_fields(int type);

} // namespace kovra::document
