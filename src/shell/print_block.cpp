#include "shell/print_block.h"

#include "shell/section_codec.h"
#include "store/codepage.h"

#include <algorithm>
#include <cstring>

namespace kovra::shell {
namespace {

// Band definition: byte 0 always 1, byte 1 print, byte 2 flags, 3..103 free text, 20 slots of
// 5 bytes from 104 (kind, selected, hidden, new line, position).
constexpr std::size_t band_slots = 104;
constexpr uint8_t position_right = 2;

void default_band(uint8_t* out) {
  std::memset(out, 0, band_definition_size);
  out[0] = 1;
  out[1] = 1;
  for (int i = 0; i < 7; ++i) {
    uint8_t* slot = out + band_slots + 5 * i;
    slot[0] = uint8_t(i + 1);
    slot[3] = 1;
  }
}

void select_kind(uint8_t* out, int kind, uint8_t position) {
  uint8_t* slot = out + band_slots + 5 * (kind - 1);
  slot[1] = 1;
  slot[4] = position;
}

constexpr int default_order[] = {1,  2,  3,  4,  5,  9,  10, 15, 115, 25, 125, 30, 35, 40, 45,  145, 50,
                                 150, 55, 155, 60, 160, 65, 165, 70, 75, 80, 85,  185, 90, 93, 96, 100};

void radio(uint8_t* b, std::size_t offset, int item) {
  put_group(b, offset, option_group{uint32_t(1) << item, 0});
}

void checks(uint8_t* b, std::size_t offset, std::initializer_list<int> items) {
  option_group g = get_group(b, offset);
  for (int i : items) g.value |= uint32_t(1) << i;
  put_group(b, offset, g);
}

constexpr radio_group_info radio_table[] = {
    {700, 3},  {708, 2},  {716, 2},  {740, 4},  {748, 2},  {1375, 4}, {1391, 2}, {1399, 2},
    {1407, 2}, {1415, 4}, {3875, 2}, {3883, 2}, {4167, 2}, {4727, 2}, {5295, 2}, {5587, 2},
    {5303, 3}, {5595, 3}, {5871, 3}, {6171, 3}, {5887, 2}, {6187, 2}, {5895, 3}, {6195, 3},
    {6479, 2}, {6771, 2}, {6487, 3}, {6779, 3}, {7063, 3}, {7347, 3}, {7631, 4}};

constexpr print_part part_table[] = {
    {1, 0, "Ustawienia wydruku"},
    {2, 0, "Czcionki i kolory"},
    {3, 0, "Nagłówek"},
    {4, 0, "Stopka"},
    {5, 0, "Ogólne"},
    {9, 0, ""},
    {10, 0, "Strona tytułowa"},
    {15, 0, "Opis"},
    {115, 1, "Opis z rozdziałów"},
    {25, 0, "Klauzula"},
    {125, 1, "Klauzula z rozdziałów"},
    {30, 0, "Wykaz użytych katalogów"},
    {35, 0, "Przedmiar - Obmiar"},
    {40, 0, "Kosztorys"},
    {45, 0, "Zestawienie robocizny"},
    {145, 1, "Zestawienie robocizny z rozdziałów"},
    {50, 0, "Zestawienie materiałów"},
    {150, 1, "Zestawienie materiałów z rozdziałów"},
    {55, 0, "Zestawienie sprzętu"},
    {155, 1, "Zestawienie sprzętu z rozdziałów"},
    {60, 0, "Materiały inwestora"},
    {160, 1, "Materiały inwestora z rozdziałów"},
    {65, 0, "Dodatki"},
    {165, 1, "Dodatki z rozdziałów"},
    {70, 0, "Tabela elementów scalonych"},
    {75, 0, "Statystyka"},
    {80, 0, "Notatka do narzutów"},
    {85, 0, "Załączniki"},
    {185, 1, "Załączniki z rozdziałów"},
    {90, 0, "Cenniki robocizny"},
    {93, 0, "Cenniki materiałów"},
    {96, 0, "Cenniki sprzętu"},
    {100, 0, "Spis treści"},
};

constexpr std::size_t title_offset_table[] = {1439, 3615, 3907, 4467, 4191, 1715, 1991, 2267, 2543,
                                              2811, 3079, 3347, 4751, 5027, 5319, 5611, 5911, 6211,
                                              6503, 6795, 7079, 7363, 7647, 7915, 8183, 8451, 8719,
                                              8999, 9279, 9559, 9827, 10095, 10371, 10639};

} // namespace

void default_header_definition(uint8_t* out) {
  default_band(out);
  select_kind(out, 1, position_right);
  select_kind(out, 2, 0);
  select_kind(out, 3, 0);
  select_kind(out, 5, position_right);
}

void default_footer_definition(uint8_t* out) {
  default_band(out);
  select_kind(out, 4, position_right);
}

void default_print_block(uint8_t* b) {
  namespace o = print_offset;
  std::memset(b, 0, print_block_size);
  std::size_t i = 0;
  for (int code : default_order) b[o::order + i++] = uint8_t(code);

  radio(b, o::device, 1);           // printer
  radio(b, o::print_mode, 1);       // graphic
  radio(b, o::print_kind, 1);       // split
  for (std::size_t m : {o::margin_top, o::margin_bottom, o::margin_left, o::margin_right}) put_u16(b + m, 5);
  radio(b, o::file_type, 1);        // file
  radio(b, o::page_range_mode, 1);  // whole document
  put_text(b + o::page_range, o::page_range_size, "1-9999");
  put_u32(b + o::copies, 1);
  put_u32(b + o::first_page_number, 1);
  checks(b, o::number_on_title, {1});
  default_header_definition(b + o::header_definition);
  default_footer_definition(b + o::footer_definition);

  radio(b, o::calc_method, 3);      // FORMUŁA II
  checks(b, o::calc_as_estimate, {1});
  radio(b, o::overheads_level, 1);  // per element
  radio(b, o::labour, 2);           // separately
  radio(b, o::names, 1);            // from the tree
  radio(b, o::quantities, 1);       // global
  checks(b, o::general_checks, {1, 2, 5});
  checks(b, o::multiplicity_in_unit, {1});

  // Estimate pages by calculation method.
  radio(b, 3875, 2);  // RMS separately
  radio(b, 3883, 2);  // full
  checks(b, 3891, {1, 2, 3, 4, 5, 6, 8, 9});
  radio(b, 4167, 2);
  checks(b, 4175, {1, 2, 3, 5, 6});
  radio(b, 4727, 2);
  checks(b, 4735, {1, 2, 3, 5, 6});
  checks(b, 4451, {1, 2, 4, 5});

  // Bill of quantities.
  checks(b, 1975, {1, 2});
  checks(b, 2251, {1, 4, 5, 6});

  // Summaries, estimate and per chapter: leaders and the Lp. column, every price, inputs with
  // values where offered, the plain material summary.
  for (std::size_t off : {5287, 5579, 5879, 6179, 6471, 6763, 7055, 7339}) checks(b, off, {2, 3});
  for (std::size_t off : {5295, 5587, 5887, 6187, 6479, 6771}) radio(b, off, 2);
  for (std::size_t off : {5303, 5595, 5895, 6195, 6487, 6779, 7063, 7347}) radio(b, off, 1);
  for (std::size_t off : {5871, 6171}) radio(b, off, 1);

  radio(b, 7631, 1);  // merged-element table: first layout
  for (std::size_t off : {8979, 9259, 9539}) checks(b, off, {1});
  checks(b, 10087, {2});  // detail annex printed
  checks(b, 10631, {2});  // per-chapter assumptions annex printed
}

print_block default_print_block() {
  print_block b;
  default_print_block(b.data());
  return b;
}

std::vector<int> print_order(const uint8_t* block) {
  std::vector<int> codes;
  for (std::size_t i = 0; i < 200; ++i) {
    int code = block[print_offset::order + i];
    codes.push_back(code);
    if (code == 100) break;
  }
  return codes;
}

option_group get_group(const uint8_t* block, std::size_t offset) {
  return option_group{get_u32(block + offset), get_u32(block + offset + 4)};
}

void put_group(uint8_t* block, std::size_t offset, const option_group& g) {
  put_u32(block + offset, g.value);
  put_u32(block + offset + 4, g.disabled);
}

bool item_on(const uint8_t* block, std::size_t offset, int item) {
  if (item < 0 || item > 31) return false;
  return (get_u32(block + offset) >> item) & 1;
}

void set_item(uint8_t* block, std::size_t offset, int item, bool on) {
  if (item < 0 || item > 31) return;
  option_group g = get_group(block, offset);
  uint32_t bit = uint32_t(1) << item;
  g.value = on ? (g.value | bit) : (g.value & ~bit);
  put_group(block, offset, g);
}

void set_item_enabled(option_group& g, int item, bool enabled, bool value_when_disabled) {
  if (item < 0 || item > 31) return;
  uint32_t bit = uint32_t(1) << item;
  if (enabled) {
    g.disabled &= ~bit;
    return;
  }
  g.disabled |= bit;
  g.value = value_when_disabled ? (g.value | bit) : (g.value & ~bit);
}

void repair_radio(option_group& g, int item_count, int first) {
  item_count = std::clamp(item_count, 0, 31);
  uint32_t items = 0;
  for (int i = 1; i <= item_count; ++i) items |= uint32_t(1) << i;
  if (g.value & ~g.disabled & items) return;
  for (int i = std::max(first, 1); i <= item_count; ++i) {
    uint32_t bit = uint32_t(1) << i;
    if (!(g.disabled & bit)) {
      g.value = (g.value & ~items) | bit;
      return;
    }
  }
}

std::span<const radio_group_info> radio_groups() { return radio_table; }

void repair_radio_groups(uint8_t* block) {
  for (const auto& r : radio_table) {
    option_group g = get_group(block, r.offset);
    repair_radio(g, r.items);
    put_group(block, r.offset, g);
  }
}

std::span<const print_part> print_parts() { return part_table; }

const print_part* find_print_part(int code) {
  for (const auto& p : part_table)
    if (p.code == code) return &p;
  return nullptr;
}

std::span<const std::size_t> title_offsets() { return title_offset_table; }

std::vector<std::string> title_list(std::size_t off) {
  switch (off) {
  case 1439:
  case 3615:
    return {"Kosztorys", "Kosztorys inwestorski", "Kosztorys ofertowy", "Kosztorys zamienny",
            "Kosztorys powykonawczy", "Kosztorys dodatkowy", "Kosztorys uproszczony", "Przedmiar"};
  case 3907:
  case 4467:
    return {"Kosztorys inwestorski", "Kosztorys", "Kosztorys ofertowy", "Kosztorys zamienny",
            "Kosztorys powykonawczy", "Kosztorys dodatkowy", "Kosztorys uproszczony", "Przedmiar"};
  case 4191:
    return {"Kosztorys uproszczony", "Kosztorys", "Kosztorys inwestorski", "Kosztorys ofertowy",
            "Kosztorys zamienny", "Kosztorys powykonawczy", "Kosztorys dodatkowy", "Przedmiar"};
  case 1715:
  case 1991: return {"Przedmiar", "Obmiar"};
  case 2267: return {"Spis działów"};
  case 2543:
  case 2811: return {"Opis"};
  case 3079:
  case 3347: return {"Klauzula"};
  case 4751: return {"Spis katalogów"};
  case 5027:
  case 5319: return {"Zestawienie robocizny"};
  case 5611:
  case 5911: return {"Zestawienie materiałów"};
  case 6211:
  case 6503: return {"Zestawienie sprzętu"};
  case 6795:
  case 7079: return {"Zestawienie materiałów inwestora"};
  case 7363: return {"Tabela elementów scalonych"};
  case 7647:
  case 7915: return {"Dodatki"};
  case 8183: return {"Notatka do narzutów"};
  case 8451: return {"Statystyka"};
  case 8719: return {"Cennik robocizny"};
  case 8999: return {"Cennik materiałów"};
  case 9279: return {"Cennik sprzętu"};
  case 9559: return {"Spis treści"};
  case 9827: return {"Załączniki"};
  case 10095: return {"Spis kalkulacji szczegółowych - załącznik 1"};
  case 10371:
  case 10639: return {"Założenia - załącznik 2"};
  default: return {};
  }
}

std::string effective_title(uint8_t* block, std::size_t off) {
  if (off + title_size > print_block_size) return {};
  std::string title = get_text(block + off, title_size);
  if (!title.empty()) return title;
  auto list = title_list(off);
  if (list.empty()) return title;
  title = store::utf8_to_mazovia(list.front());
  put_text(block + off, title_size, title);
  return title;
}

} // namespace kovra::shell
