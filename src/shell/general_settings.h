#pragma once
// The general settings of the program ("OGOL" section of kovra.cfg): a 294-byte block kept
// raw, because its offsets are part of the file format, and three trailing values.
#include <array>
#include <cstdint>
#include <string>

namespace kovra::shell {

inline constexpr std::size_t general_block_size = 294;

struct general_record {
  std::array<uint8_t, general_block_size> block{};
  uint8_t trailing_flag_1 = 1;
  int32_t trailing_byte = 6;  // one byte in the file
  uint8_t trailing_flag_2 = 0;

  // Named fields of the block.
  std::string catalogue_prefix() const;           // char[26] at 0
  void set_catalogue_prefix(const std::string& t);
  double total_rounding_step() const;             // double at 26
  void set_total_rounding_step(double v);
  bool show_hints() const { return block[34] != 0; }
  bool name_column_first() const { return block[35] != 0; }
  bool no_tilde_marks() const { return block[36] != 0; }
  int8_t new_estimate_kind() const { return int8_t(block[38]); }  // 1 simple, 2 compound
  bool autosave() const { return block[40] != 0; }
  int16_t new_calculation_method() const;         // at 51
  uint8_t new_method_option() const { return block[53]; }
  int16_t hidden_columns(int summary) const;      // 0 labour, 1 materials, 2 equipment; at 55
  void set_hidden_columns(int summary, int16_t bits);
  double new_purchase_cost_percent() const;       // double at 61
  uint8_t new_flag() const { return block[69]; }
  std::string firm_line(int i) const;             // char[4][56] at 70
  void set_firm_line(int i, const std::string& t);
};

// The defaults a missing file receives.
general_record default_general_record();
// Only the 294-byte block and the first two trailing values (the third keeps its value),
// as used when the file cannot be read.
void fill_general_defaults(general_record& r);

// Process-wide copy filled once at start-up.
general_record& general_settings();
void reset_general_settings();  // back to the defaults (tests)

// A total rounded to the configured step: a step not above 0.01 is taken as 0.01; then
// sign x floor(|value| / step + 0.5000001) x step.
double round_total(double value, double step);

} // namespace kovra::shell
