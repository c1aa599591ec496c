#include "document/inputs_block.h"

#include <algorithm>

namespace kovra::document {

input_entry decode_input_entry(const uint8_t* p) {
  input_entry e;
  e.kind = p[0];
  e.id = get_u32(p + 1);
  e.sub = get_u16(p + 5);
  e.norm = get_f64(p + 7);
  e.coef = get_f32(p + 15);
  e.excluded = p[19];
  e.mp_mode = p[20];
  e.blocked = p[21];
  return e;
}

void encode_input_entry(const input_entry& e, uint8_t* p) {
  p[0] = e.kind;
  put_u32(p + 1, e.id);
  put_u16(p + 5, e.sub);
  put_f64(p + 7, e.norm);
  put_f32(p + 15, e.coef);
  p[19] = e.excluded;
  p[20] = e.mp_mode;
  p[21] = e.blocked;
}

namespace {
struct row {
  std::size_t first, count;
};

// Variant rows that fit in the data; a negative or oversized count gives none.
std::vector<row> read_rows(std::span<const uint8_t> data, int variant_count) {
  std::vector<row> rows;
  if (variant_count <= 0) return rows;
  std::size_t n = std::min<std::size_t>(std::size_t(variant_count), data.size() / VARIANT_ROW_SIZE);
  for (std::size_t k = 0; k < n; ++k) {
    const uint8_t* p = data.data() + VARIANT_ROW_SIZE * k;
    rows.push_back({get_u16(p), p[2]});
  }
  return rows;
}
} // namespace

inputs_block decode_inputs_block(std::span<const uint8_t> data, int variant_count, bool named) {
  inputs_block block;
  block.named = named;
  std::vector<row> rows = read_rows(data, variant_count);
  std::size_t table = VARIANT_ROW_SIZE * rows.size();
  std::size_t entries_room = (data.size() - table) / INPUT_ENTRY_SIZE;
  std::size_t entries_used = 0;
  for (const row& r : rows) entries_used = std::max(entries_used, r.first + r.count);
  std::size_t entry_count = named ? std::min(entries_used, entries_room) : entries_room;

  for (const row& r : rows) {
    input_variant v;
    for (std::size_t i = r.first; i < r.first + r.count && i < entry_count; ++i)
      v.entries.push_back(decode_input_entry(data.data() + table + INPUT_ENTRY_SIZE * i));
    block.variants.push_back(std::move(v));
  }
  if (!named) return block;

  std::size_t names_at = table + INPUT_ENTRY_SIZE * entry_count;
  std::span<const uint8_t> names = data.subspan(std::min(names_at, data.size()));
  for (std::size_t k = 0; k < block.variants.size(); ++k) {
    std::size_t at = VARIANT_NAME_SIZE * k;
    if (at + VARIANT_NAME_SIZE > names.size()) break;
    block.variants[k].short_name = get_text(names.data() + at, 8);
    std::size_t full = get_u16(names.data() + at + 8);
    if (full < names.size()) block.variants[k].name = get_text(names.data() + full, names.size() - full);
  }
  return block;
}

std::vector<uint8_t> encode_inputs_block(const inputs_block& block) {
  std::size_t total_entries = 0;
  for (const auto& v : block.variants) total_entries += std::min<std::size_t>(v.entries.size(), 255);
  std::vector<uint8_t> out(VARIANT_ROW_SIZE * block.variants.size() + INPUT_ENTRY_SIZE * total_entries);
  std::size_t next = 0;
  for (std::size_t k = 0; k < block.variants.size(); ++k) {
    const auto& v = block.variants[k];
    std::size_t count = std::min<std::size_t>(v.entries.size(), 255);
    uint8_t* row = out.data() + VARIANT_ROW_SIZE * k;
    put_u16(row, uint16_t(next));
    row[2] = uint8_t(count);
    for (std::size_t i = 0; i < count; ++i)
      encode_input_entry(v.entries[i],
                         out.data() + VARIANT_ROW_SIZE * block.variants.size() + INPUT_ENTRY_SIZE * (next + i));
    next += count;
  }
  if (block.named) {
    std::size_t base = out.size();
    std::size_t full_at = VARIANT_NAME_SIZE * block.variants.size();
    out.resize(base + full_at);
    for (std::size_t k = 0; k < block.variants.size(); ++k) {
      uint8_t* p = out.data() + base + VARIANT_NAME_SIZE * k;
      put_text(p, 8, block.variants[k].short_name);
      put_u16(p + 8, uint16_t(out.size() - base));
      const std::string& name = block.variants[k].name;
      out.insert(out.end(), name.begin(), name.end());
      out.push_back(0);
    }
  }
  return out;
}

std::vector<uint8_t> inputs_variant_bytes(std::span<const uint8_t> data, int variant_count, int variant) {
  std::vector<row> rows = read_rows(data, variant_count);
  if (variant < 0 || std::size_t(variant) >= rows.size()) return {};
  const row r = rows[std::size_t(variant)];
  std::size_t table = VARIANT_ROW_SIZE * rows.size();
  std::size_t room = (data.size() - table) / INPUT_ENTRY_SIZE;
  std::size_t count = r.first >= room ? 0 : std::min(r.count, room - r.first);
  if (count == 0) return {};
  std::vector<uint8_t> out;
  out.push_back(uint8_t(r.first));
  out.push_back(uint8_t(r.first >> 8));
  out.push_back(uint8_t(count));
  const uint8_t* from = data.data() + table + INPUT_ENTRY_SIZE * r.first;
  out.insert(out.end(), from, from + INPUT_ENTRY_SIZE * count);
  return out;
}

} // namespace kovra::document
