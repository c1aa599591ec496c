#include "document/elpz_record.h"

#include "document/general_data.h"
#include "store/codepage.h"

#include <algorithm>

namespace kovra::document {

bool is_known_node_type(int type) { return (type >= 0 && type <= 7) || type == 9; }
bool is_position_type(int type) { return type == 1 || type == 2 || type == 4 || type == 5; }
bool is_group_type(int type) { return type == 0 || type == 9; }

int description_offset(int type) {
  switch (type) {
  case 0:
  case 9: return ep::GROUP_DESCRIPTION;
  case 1:
  case 2:
  case 4:
  case 5: return ep::POSITION_DESCRIPTION;
  case 3: return ep::ONE_OFF_DESCRIPTION;
  case 6: return ep::SCAFFOLD_DESCRIPTION;
  default: return -1;
  }
}

int individual_code_offset(int type) {
  switch (type) {
  case 0:
  case 9: return ep::GROUP_CODE;
  case 1:
  case 2:
  case 4:
  case 5: return ep::POSITION_CODE;
  case 3: return ep::ONE_OFF_CODE;
  case 6: return ep::SCAFFOLD_CODE;
  default: return -1;
  }
}

int individual_code_width(int type) {
  int off = individual_code_offset(type);
  return off < 0 ? 0 : description_offset(type) - off;
}

elpz_record elpz_record::from_bytes(std::span<const uint8_t> data) {
  elpz_record r;
  std::copy_n(data.begin(), std::min(data.size(), ELPZ_MAX), r.bytes.begin());
  r.bytes[ELPZ_MAX - 1] = 0;  // a description always ends inside the record
  return r;
}

std::string elpz_record::description() const {
  int off = description_offset(type());
  return off < 0 ? std::string() : text(off, int(ELPZ_MAX) - off);
}

void elpz_record::set_description(std::string_view t) {
  int off = description_offset(type());
  if (off < 0) return;
  set_text(off, int(ELPZ_MAX) - off, t);
}

std::string elpz_record::individual_code() const {
  int off = individual_code_offset(type());
  return off < 0 ? std::string() : text(off, individual_code_width(type()));
}

std::size_t elpz_record::used_length() const {
  int off = description_offset(type());
  if (off < 0) return ELPZ_MAX;
  std::size_t n = 0;
  while (off + n < ELPZ_MAX - 1 && bytes[off + n] != 0) ++n;
  return off + n + 1;
}

rec_pos elpz_record::survey_pos() const {
  int t = type();
  if (is_position_type(t)) return i32(ep::POSITION_SURVEY);
  if (t == NODE_ONE_OFF) return i32(ep::ONE_OFF_SURVEY);
  if (t == NODE_ELEMENT) return i32(ep::ELEMENT_SURVEY);
  return NO_POS;
}

void elpz_record::set_survey_pos(rec_pos p) {
  int t = type();
  if (is_position_type(t)) set_i32(ep::POSITION_SURVEY, p);
  else if (t == NODE_ONE_OFF) set_i32(ep::ONE_OFF_SURVEY, p);
  else if (t == NODE_ELEMENT) set_i32(ep::ELEMENT_SURVEY, p);
}

std::string elpz_record::basis_text_field() const {
  int t = type();
  if (is_position_type(t)) return text(ep::POSITION_BASIS_TEXT, ep::BASIS_TEXT_WIDTH);
  if (t == NODE_SCAFFOLD) return text(ep::SCAFFOLD_BASIS_TEXT, ep::BASIS_TEXT_WIDTH);
  return {};
}

namespace {
int coef_offset(int type) {
  if (is_position_type(type)) return ep::POSITION_COEFS;
  if (is_group_type(type)) return ep::GROUP_COEFS;
  return -1;
}
int coef_text_offset(int type) {
  if (is_position_type(type)) return ep::POSITION_COEF_TEXTS;
  if (is_group_type(type)) return ep::GROUP_COEF_TEXTS;
  return -1;
}
} // namespace

float elpz_record::coef(int i) const {
  int off = coef_offset(type());
  return off < 0 || i < 0 || i > 2 ? 1.0f : f32(off + 4 * i);
}

std::string elpz_record::coef_text(int i) const {
  int off = coef_text_offset(type());
  return off < 0 || i < 0 || i > 2 ? std::string() : text(off + ELPZ_COEF_TEXT_WIDTH * i, ELPZ_COEF_TEXT_WIDTH);
}

void elpz_record::set_coef(int i, float v) {
  int off = coef_offset(type()), toff = coef_text_offset(type());
  if (off < 0 || i < 0 || i > 2) return;
  set_f32(off + 4 * i, v);
  set_text(toff + ELPZ_COEF_TEXT_WIDTH * i, ELPZ_COEF_TEXT_WIDTH, coef_text_of(v));
}

elpz_record new_elpz_record(int16_t type) {
  elpz_record r;
  r.set_i16(ep::TYPE, type);
  for (int w = 0; w < 3; ++w) r.set_text_pos(w, NO_POS);
  r.bytes[ep::CPV_LEVEL] = 6;
  switch (type) {
  case NODE_ELEMENT:
  case NODE_WORK_GROUP:
    r.set_f32(ep::DIVISOR, 1.0f);
    r.set_level(0);
    r.bytes[ep::CPV_LEVEL] = type == NODE_ELEMENT ? 5 : 4;
    if (type == NODE_ELEMENT) r.set_i32(ep::ELEMENT_SURVEY, NO_POS);
    r.set_unit(NEW_UNIT);
    for (int i = 0; i < 3; ++i) r.set_coef(i, 1.0f);
    r.set_description(type == NODE_ELEMENT ? "ELEMENT" : "GRUPA");
    break;
  case NODE_POSITION:
  case NODE_POSITION_PLAIN:
  case NODE_SIMPLIFIED:
  case NODE_SIMPLIFIED_PLAIN:
    r.set_unit(NEW_UNIT);
    r.set_i16(ep::VARIANT_COUNT, 1);
    r.set_i16(ep::CURRENT_VARIANT, 0);
    r.set_i32(ep::INPUTS, NO_POS);
    r.set_i32(ep::POSITION_SURVEY, NO_POS);
    for (int i = 0; i < 3; ++i) r.set_coef(i, 1.0f);
    r.set_f32(ep::MULTIPLICITY, 1.0f);
    r.set_i32(ep::SCAFFOLD_LINK, NO_POS);
    r.set_level(1);
    r.set_description(" ");
    break;
  case NODE_ONE_OFF:
    r.set_i32(ep::ONE_OFF_SURVEY, NO_POS);
    r.set_f64(140, 1.0);
    r.set_f64(172, 1.0);
    r.set_f64(204, 5.0);
    r.set_f64(236, 5.0);
    r.set_level(1);
    r.set_description(store::utf8_to_mazovia("Dowóz sprzętu na odległość"));
    break;
  case NODE_SCAFFOLD:
    r.set_f64(ep::SCAFFOLD_W, 1.0);
    r.set_i16(ep::SCAFFOLD_S, 1);
    r.set_f64(ep::SCAFFOLD_P, 1.0);
    r.set_i16(ep::SCAFFOLD_SETS, 1);
    r.set_f64(ep::SCAFFOLDS_PER_SET, 1.0);
    r.set_i32(ep::SCAFFOLD_K, 1);
    r.set_i32(ep::SCAFFOLD_LINKS, NO_POS);
    r.bytes[ep::SCAFFOLD_COUNT_CODE] = 1;
    r.set_unit(NEW_UNIT);
    r.set_text(ep::UNIT2, 8, NEW_UNIT);
    r.set_level(1);
    r.set_description(" ");
    break;
  default: break;
  }
  return r;
}

std::string description_of(const elpz_record& r) { return r.description(); }
std::string individual_code_of(const elpz_record& r) { return r.individual_code(); }

namespace {
using K = field_kind;
#define COMMON_FIELDS                                                                                       \
  {"serial", ep::SERIAL, K::u16, 0}, {"type", ep::TYPE, K::i16, 0}, {"number", ep::NUMBER, K::text, 26},    \
      {"unit", ep::UNIT, K::text, 8}, {nullptr, ep::NOTE, K::pos, 0}, {nullptr, ep::CPV, K::pos, 0},        \
      {nullptr, ep::SPECIFICATION, K::pos, 0}, {"level", ep::LEVEL, K::u8, 0},                              \
      {"cpv_level", ep::CPV_LEVEL, K::u8, 0}, {"net", ep::NET, K::f64, 0}, {"gross", ep::GROSS, K::f64, 0}, \
      {"flags", ep::FLAGS, K::u8, 0}
#define CATALOGUE_FIELDS                                                                                   \
  {"catalogue_name", 94, K::text, 6}, {"catalogue_number", 100, K::i16, 0},                                \
      {"further_number", 102, K::i16, 0}, {"table_number", 104, K::i16, 0}, {"column_number", 106, K::i16, 0}

constexpr field_def common_fields[] = {COMMON_FIELDS};
constexpr field_def position_fields[] = {
    COMMON_FIELDS, CATALOGUE_FIELDS,
    {"quantity", 108, K::f64, 0}, {"variants_named", 116, K::i16, 0}, {"variant_count", 118, K::i16, 0},
    {"current_variant", 120, K::i16, 0}, {nullptr, 122, K::pos, 0}, {nullptr, 128, K::pos, 0},
    {"multiplicity", 135, K::f32, 0}, {"precision_code", 141, K::i8, 0}, {nullptr, 142, K::pos, 0},
    {"coef_r", 162, K::f32, 0}, {"coef_m", 166, K::f32, 0}, {"coef_s", 170, K::f32, 0},
    {"coef_text_r", 174, K::text, 48}, {"coef_text_m", 222, K::text, 48}, {"coef_text_s", 270, K::text, 48},
    {"ref_style", 318, K::u8, 0}, {"unit_price_r", 319, K::f64, 0}, {"unit_price_m", 327, K::f64, 0},
    {"unit_price_s", 335, K::f64, 0}, {"unit_price_all_in", 343, K::f64, 0}, {"basis_text", 351, K::text, 26},
    {"individual_code", 377, K::text, 64}};
constexpr field_def group_fields[] = {
    COMMON_FIELDS,
    {"coef_text_r", 94, K::text, 48}, {"coef_text_m", 142, K::text, 48}, {"coef_text_s", 190, K::text, 48},
    {"coef_r", 238, K::f32, 0}, {"coef_m", 242, K::f32, 0}, {"coef_s", 246, K::f32, 0},
    {"divisor", 254, K::f32, 0}, {"merged_unit_price", 258, K::f64, 0}, {"merged", 266, K::u8, 0},
    {"merged_precision_code", 267, K::i8, 0}, {"merged_quantity", 268, K::f64, 0}, {nullptr, 276, K::pos, 0},
    {"individual_code", 280, K::text, 28}};
constexpr field_def one_off_fields[] = {
    COMMON_FIELDS,
    {"one_off_amount", 94, K::f64, 0}, {"one_off_count", 104, K::f64, 0}, {"one_off_distance", 112, K::f32, 0},
    {"line0_value", 116, K::f64, 0}, {"line0_price", 124, K::f64, 0}, {"line0_quantity", 132, K::f64, 0},
    {"line0_norm", 140, K::f64, 0}, {"line1_value", 148, K::f64, 0}, {"line1_price", 156, K::f64, 0},
    {"line1_quantity", 164, K::f64, 0}, {"line1_norm", 172, K::f64, 0}, {"line2_value", 180, K::f64, 0},
    {"line2_price", 188, K::f64, 0}, {"line2_quantity", 196, K::f64, 0}, {"line2_norm", 204, K::f64, 0},
    {"line3_value", 212, K::f64, 0}, {"line3_price", 220, K::f64, 0}, {"line3_quantity", 228, K::f64, 0},
    {"line3_norm", 236, K::f64, 0}, {nullptr, 244, K::pos, 0}, {"byte_248", 248, K::u8, 0},
    {"individual_code", 252, K::text, 64}};
constexpr field_def scaffold_fields[] = {
    COMMON_FIELDS, CATALOGUE_FIELDS,
    {"scaffold_input_id", 108, K::u32, 0}, {"scaffold_input_sub", 112, K::u16, 0},
    {"scaffold_labour_hours", 114, K::f64, 0}, {"scaffold_w", 122, K::f64, 0}, {"scaffold_s", 130, K::i16, 0},
    {"scaffold_p", 132, K::f64, 0}, {"scaffold_sets", 140, K::i16, 0}, {"scaffolds_per_set", 142, K::f64, 0},
    {"scaffold_k", 150, K::i32, 0}, {nullptr, 154, K::pos, 0}, {"scaffold_count_code", 158, K::i8, 0},
    {"basis_text", 159, K::text, 26}, {"unit2", 185, K::text, 8}, {"individual_code", 193, K::text, 56}};
#undef COMMON_FIELDS
#undef CATALOGUE_FIELDS
} // namespace

std::span<const field_def> elpz_fields(int type) {
  if (is_position_type(type)) return position_fields;
  if (is_group_type(type)) return group_fields;
  if (type == NODE_ONE_OFF) return one_off_fields;
  if (type == NODE_SCAFFOLD) return scaffold_fields;
  return common_fields;
}

} // namespace kovra::document
