#include "document/data_chain.h"

#include "store/codepage.h"

namespace kovra::document {

std::vector<addition> read_additions(const record_source& src, const general_data& g, int data_chain) {
  rec_pos p = g.additions_record();
  return p <= 0 ? std::vector<addition>{} : decode_additions(read_or_empty(src, data_chain, p));
}

rec_pos store_data_record(record_source& src, rec_pos pos, std::span<const uint8_t> data, int data_chain) {
  bool exists = pos > 0 && src.locate(data_chain, THIS_REC, pos) == pos;
  if (data.empty()) {
    if (exists) src.remove(data_chain, pos);
    return NO_POS;
  }
  if (exists) return src.rewrite(data_chain, pos, data);
  std::vector<uint8_t> copy(data.begin(), data.end());
  return src.insert(data_chain, FIRST_REC, NO_POS, copy);
}

void write_additions(record_source& src, general_data& g, std::span<const addition> list, int data_chain) {
  std::vector<uint8_t> bytes;
  if (!list.empty()) bytes = encode_additions(list);
  g.set_additions_record(store_data_record(src, g.additions_record(), bytes, data_chain));
}

std::vector<author> read_authors(const record_source& src, general_data& g, int data_chain) {
  if (g.authors_record() <= 0) {
    g.set_authors_record(NO_POS);
    return {};
  }
  return decode_authors(read_or_empty(src, data_chain, g.authors_record()));
}

void write_authors(record_source& src, general_data& g, std::span<const author> list, int data_chain) {
  std::vector<uint8_t> bytes;
  if (!list.empty()) bytes = encode_authors(list);
  g.set_authors_record(store_data_record(src, g.authors_record(), bytes, data_chain));
}

std::optional<std::string> read_description_raw(const record_source& src, const general_data& g, int data_chain) {
  rec_pos p = g.description_record();
  std::vector<uint8_t> data;
  if (p <= 0 || !src.read(data_chain, p, data)) return std::nullopt;
  return decode_text_record(data);
}

std::array<std::optional<std::string>, 3> read_description(const record_source& src, const general_data& g,
                                                          int data_chain) {
  auto raw = read_description_raw(src, g, data_chain);
  if (!raw) return {};
  // The separator is recognised after the conversion; its dots (0xB7, or the middle dot
  // 0xFA) both come out as the Windows-1250 middle dot 0xB7.
  for (char& c : *raw) c = uint8_t(c) == 0xB7 ? c : char(store::mazovia_to_1250(uint8_t(c)));
  return split_description(*raw);
}

std::optional<overhead_record> read_overhead_record(const record_source& src, rec_pos pos, int data_chain) {
  std::vector<uint8_t> data;
  if (pos <= 0 || !src.read(data_chain, pos, data)) return std::nullopt;
  return overhead_record::from_bytes(data);
}

std::optional<std::vector<uint8_t>> read_print_config(const record_source& src, rec_pos pos, int data_chain) {
  std::vector<uint8_t> data;
  if (pos <= 0 || !src.read(data_chain, pos, data)) return std::nullopt;
  if (data.size() > PRINT_CONFIG_SIZE) data.resize(PRINT_CONFIG_SIZE);
  return data;
}

} // namespace kovra::document
