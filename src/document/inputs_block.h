#pragma once
// The inputs block of a position: a variant table of 3-byte rows (first entry, count),
// the 22-byte input entries, and, when the position says its variants are named, a
// names block (per variant a short name of 8 bytes and the offset of its full name).
#include "document/bytes.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kovra::document {

inline constexpr std::size_t INPUT_ENTRY_SIZE = 22;
inline constexpr std::size_t VARIANT_ROW_SIZE = 3;
inline constexpr std::size_t VARIANT_NAME_SIZE = 10;

// Input kinds.
enum : uint8_t { INPUT_LABOUR = 0, INPUT_MATERIAL = 1, INPUT_EQUIPMENT = 2, INPUT_PERCENT = 3 };

struct input_entry {
  uint8_t kind = 0;
  uint32_t id = 0;
  uint16_t sub = 0;
  double norm = 0;   // a blocked input: its fixed quantity; kind 3: the percentage
  float coef = 1.0f;
  uint8_t excluded = 0;
  uint8_t mp_mode = 0;  // investor-material mode
  uint8_t blocked = 0;
  bool operator==(const input_entry&) const = default;
};

input_entry decode_input_entry(const uint8_t* p);  // reads 22 bytes
void encode_input_entry(const input_entry& e, uint8_t* p);

struct input_variant {
  std::string short_name;  // at most 7 characters
  std::string name;
  std::vector<input_entry> entries;
  bool operator==(const input_variant&) const = default;
};

struct inputs_block {
  std::vector<input_variant> variants;
  bool named = false;  // carries the names block
  bool operator==(const inputs_block&) const = default;
};

// Decodes a stored block for a position that declares `variant_count` variants and
// (`named`) a names block. Damage is cut, not trusted: a row that points past the
// entries keeps only the entries that exist, names that run past the block are cut.
inputs_block decode_inputs_block(std::span<const uint8_t> data, int variant_count, bool named);
std::vector<uint8_t> encode_inputs_block(const inputs_block& block);

// A variant's 3-byte table row followed by its input entries, or nothing when the
// variant does not exist or is empty. Never reads outside `data`.
std::vector<uint8_t> inputs_variant_bytes(std::span<const uint8_t> data, int variant_count, int variant);

} // namespace kovra::document
