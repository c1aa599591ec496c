#include "document/node_blocks.h"

#include "document/data_records.h"
#include "document/estimate_layout.h"
#include "document/scaffold_links.h"
#include "store/codepage.h"

namespace kovra::document {

std::vector<uint8_t> read_inputs_variant(const record_source& src, const elpz_record& record, int variant) {
  if (!is_position_type(record.type()) || record.inputs_pos() == NO_POS) return {};
  std::vector<uint8_t> block = read_or_empty(src, CHAIN_RMS_BLK, record.inputs_pos());
  return inputs_variant_bytes(block, record.variant_count(), variant);
}

inputs_block read_inputs(const record_source& src, const elpz_record& record) {
  if (!is_position_type(record.type()) || record.inputs_pos() == NO_POS) return {};
  std::vector<uint8_t> block = read_or_empty(src, CHAIN_RMS_BLK, record.inputs_pos());
  if (block.empty()) return {};
  return decode_inputs_block(block, record.variant_count(), record.variants_named() == 1);
}

std::vector<uint8_t> read_survey_bytes(const record_source& src, const elpz_record& record) {
  rec_pos p = record.survey_pos();
  return p <= 0 ? std::vector<uint8_t>{} : read_or_empty(src, CHAIN_SURVEY, p);
}

std::vector<rec_pos> read_scaffold_links(const record_source& src, const elpz_record& record) {
  if (record.type() != NODE_SCAFFOLD || record.scaffold_links_pos() == NO_POS) return {};
  return decode_scaffold_links(read_or_empty(src, CHAIN_RMS_BLK, record.scaffold_links_pos()));
}

std::optional<std::string> read_node_text_raw(const record_source& src, const elpz_record& record, int which) {
  if (which < 0 || which > 2) return std::nullopt;
  rec_pos p = record.text_pos(which);
  std::vector<uint8_t> data;
  if (p == NO_POS || !src.read(CHAIN_TEXT, p, data)) return std::nullopt;
  return decode_text_record(data);
}

std::optional<std::string> read_node_text(const record_source& src, const elpz_record& record, int which) {
  auto text = read_node_text_raw(src, record, which);
  if (text) store::mazovia_to_1250(*text);
  return text;
}

std::optional<std::string> read_estimate_text_raw(const record_source& src, general_data& g, int which,
                                                  int data_chain) {
  const int offsets[3] = {gd::NOTE_TEXT, gd::CPV_TEXT, gd::SPECIFICATION_TEXT};
  if (which < 0 || which > 2) return std::nullopt;
  rec_pos p = get_i32(g.at(offsets[which]));
  if (p <= 0) {
    put_i32(g.at(offsets[which]), NO_POS);
    return std::nullopt;
  }
  std::vector<uint8_t> data;
  if (!src.read(data_chain, p, data)) return std::nullopt;
  return decode_text_record(data);
}

std::optional<std::string> read_estimate_text(const record_source& src, general_data& g, int which, int data_chain) {
  auto text = read_estimate_text_raw(src, g, which, data_chain);
  if (text) store::mazovia_to_1250(*text);
  return text;
}

} // namespace kovra::document
