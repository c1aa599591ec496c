#include "document/scaffold_links.h"

#include <algorithm>

namespace kovra::document {

std::vector<rec_pos> decode_scaffold_links(std::span<const uint8_t> data) {
  std::vector<rec_pos> out;
  if (data.size() < 4) return out;
  int32_t count = get_i32(data.data());
  if (count <= 0) return out;
  std::size_t n = std::min<std::size_t>(std::size_t(count), (data.size() - 4) / SCAFFOLD_LINK_SIZE);
  for (std::size_t i = 0; i < n; ++i) out.push_back(get_i32(data.data() + 4 + SCAFFOLD_LINK_SIZE * i + 4));
  return out;
}

std::vector<uint8_t> encode_scaffold_links(std::span<const rec_pos> positions) {
  std::vector<uint8_t> out(4 + SCAFFOLD_LINK_SIZE * positions.size(), 0);
  put_i32(out.data(), int32_t(positions.size()));
  for (std::size_t i = 0; i < positions.size(); ++i) put_i32(out.data() + 4 + SCAFFOLD_LINK_SIZE * i + 4, positions[i]);
  return out;
}

} // namespace kovra::document
