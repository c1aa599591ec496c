#pragma once
// The links block of a scaffolding: a signed 32-bit count, then 16-byte entries whose
// second 32-bit word is the position of a node that uses the scaffolding.
#include "document/bytes.h"

#include <span>
#include <vector>

namespace kovra::document {

inline constexpr std::size_t SCAFFOLD_LINK_SIZE = 16;

// The linked positions; a count larger than the block holds is cut to the entries present,
// a negative count gives none.
std::vector<rec_pos> decode_scaffold_links(std::span<const uint8_t> data);
std::vector<uint8_t> encode_scaffold_links(std::span<const rec_pos> positions);

} // namespace kovra::document
