#include "document/elpz_chain.h"

#include "document/estimate_layout.h"

namespace kovra::document {

rec_pos read_elpz(const record_source& src, int mode, rec_pos pos, elpz_record& out) {
  rec_pos at = src.locate(CHAIN_ELPZ, mode, pos);
  std::vector<uint8_t> data;
  if (at == NO_POS || !src.read(CHAIN_ELPZ, at, data)) return NO_POS;
  out = elpz_record::from_bytes(data);
  return at;
}

rec_pos insert_elpz_record8(record_source& src, elpz_record& record, int mode, rec_pos pos) {
  record.set_description(record.description());  // cut so that the record ends within 676 bytes
  return src.insert(CHAIN_ELPZ, mode, pos, std::span(record.bytes.data(), record.used_length()));
}

bool rewrite_elpz(record_source& src, const elpz_record& record, rec_pos pos) {
  return src.rewrite_keep_size(CHAIN_ELPZ, pos, std::span(record.bytes.data(), record.used_length()));
}

} // namespace kovra::document
