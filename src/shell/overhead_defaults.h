#pragma once
// The overhead record as documents store it (714 bytes) and as the program configuration
// keeps it (717 bytes: the record followed by three setting bytes), with the standard and
// the investor defaults a new estimate gets when the configuration holds none.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace kovra::shell {

inline constexpr std::size_t overhead_record_size = 714;
inline constexpr std::size_t overhead_config_size = 717;
inline constexpr int overhead_rows = 12;
inline constexpr int overhead_columns = 7;

// Layout of the record.
inline constexpr std::size_t overhead_row_offset = 2;     // 12 rows of 58 bytes
inline constexpr std::size_t overhead_row_size = 58;      // 30-byte name, 7 floats
inline constexpr std::size_t overhead_name_size = 30;
inline constexpr std::size_t overhead_switch_offset = 698; // kp_plus_cz, kp_plus_ws, z_plus_cz, z_plus_ws
inline constexpr std::size_t overhead_factor_offset = 706; // double, always 1.0
// The three setting bytes of the configuration's copy.
inline constexpr std::size_t overhead_calc_method_offset = 714;
inline constexpr std::size_t overhead_per_position_offset = 715;
inline constexpr std::size_t overhead_profit_per_component_offset = 716;

using overhead_block = std::array<uint8_t, overhead_config_size>;

float overhead_rate(const uint8_t* record, int row, int column);
void set_overhead_rate(uint8_t* record, int row, int column, float rate);
std::string overhead_row_name(const uint8_t* record, int row);  // internal (Mazovia) text
int16_t overhead_switch(const uint8_t* record, int index);      // 0 kp_plus_cz ... 3 z_plus_ws

// Fill the 717 bytes (record and setting bytes).
void standard_overhead_defaults(uint8_t* block);
void investor_overhead_defaults(uint8_t* block);

} // namespace kovra::shell
