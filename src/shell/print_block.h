#pragma once
// The print settings block every estimate carries (and the configuration keeps as named
// standards): which printed parts are printed and in which order, their options, the page
// and device settings, the page header and footer definitions.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kovra::shell {

inline constexpr std::size_t print_block_size = 10907;
// Blocks of the first section version end before the last option group.
inline constexpr std::size_t print_block_v1_size = 10899;

using print_block = std::array<uint8_t, print_block_size>;

// Offsets of the block.
namespace print_offset {
inline constexpr std::size_t order = 0;         // 200 part codes, printing order, ends at code 100
inline constexpr std::size_t include = 200;     // byte per part code
inline constexpr std::size_t new_page = 400;    // byte per part code
inline constexpr std::size_t device = 700;      // 1 printer, 2 file, 3 PDF
inline constexpr std::size_t print_mode = 708;  // 1 graphic, 2 text
inline constexpr std::size_t print_kind = 716;  // 1 split, 2 continuous
inline constexpr std::size_t margin_top = 724;  // 16-bit mm in 4-byte slots: top, bottom, left, right
inline constexpr std::size_t margin_bottom = 728;
inline constexpr std::size_t margin_left = 732;
inline constexpr std::size_t margin_right = 736;
inline constexpr std::size_t file_type = 740;   // 1 file, 2 Mazovia, 3 Windows, 4 PDF
inline constexpr std::size_t page_range_mode = 748;
inline constexpr std::size_t page_range = 756;  // 101-byte text "first-last"
inline constexpr std::size_t page_range_size = 101;
inline constexpr std::size_t copies = 857;
inline constexpr std::size_t first_page_number = 861;
inline constexpr std::size_t number_on_title = 865;
inline constexpr std::size_t header_definition = 873;
inline constexpr std::size_t footer_definition = 1124;
inline constexpr std::size_t calc_method = 1375;  // 1 UPZP, 2 FORMUŁA I, 3 FORMUŁA II, 4 simplified
inline constexpr std::size_t calc_as_estimate = 1383;
inline constexpr std::size_t overheads_level = 1391;
inline constexpr std::size_t labour = 1399;
inline constexpr std::size_t names = 1407;
inline constexpr std::size_t quantities = 1415;
inline constexpr std::size_t general_checks = 1423;
inline constexpr std::size_t multiplicity_in_unit = 10899;
} // namespace print_offset

inline constexpr std::size_t title_size = 260;  // title texts: at most 259 characters
inline constexpr std::size_t band_definition_size = 251;

// A new page header or footer definition (251 bytes).
void default_header_definition(uint8_t* out);
void default_footer_definition(uint8_t* out);

// Every default of a new block.
void default_print_block(uint8_t* block);
print_block default_print_block();

// The print order stored in the block, up to and including code 100 (at most 200 codes).
std::vector<int> print_order(const uint8_t* block);

// Option groups: 8 bytes, a value mask and a disabled mask; bit n stands for item n
// (items are numbered from 1).
struct option_group {
  uint32_t value = 0;
  uint32_t disabled = 0;
};
option_group get_group(const uint8_t* block, std::size_t offset);
void put_group(uint8_t* block, std::size_t offset, const option_group& g);
bool item_on(const uint8_t* block, std::size_t offset, int item);
void set_item(uint8_t* block, std::size_t offset, int item, bool on);
// Enables or disables an item; a disabled item's value is forced to `value_when_disabled`.
void set_item_enabled(option_group& g, int item, bool enabled, bool value_when_disabled);
// Radio repair: when no enabled item of 1..item_count is selected, selects the first item from
// `first` on that is not disabled (the group is left alone when every item is disabled).
void repair_radio(option_group& g, int item_count, int first = 1);

// Radio groups of the block with their item counts, for the repair after a change.
struct radio_group_info {
  std::size_t offset;
  int items;
};
std::span<const radio_group_info> radio_groups();
void repair_radio_groups(uint8_t* block);

// Printed parts: code, tree depth (1 = per-chapter variant, compound estimates only), caption
// (UTF-8; empty for the separator).
struct print_part {
  int code;
  int depth;
  const char* caption;
};
std::span<const print_part> print_parts();
const print_part* find_print_part(int code);

// Title lists (UTF-8, first entry first) by title offset; empty for an offset without a list.
std::vector<std::string> title_list(std::size_t title_offset);
std::span<const std::size_t> title_offsets();
// The stored title (internal text); an empty one takes the list's first entry and stores it.
std::string effective_title(uint8_t* block, std::size_t title_offset);

} // namespace kovra::shell
