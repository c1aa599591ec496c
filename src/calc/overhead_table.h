#pragma once
// The estimate's overhead table: 12 rows of 7 percentage rates over the bases R, M, S,
// Kp(R), Kp(M), Kp(S) and the running total, with the four base-raising switches.
#include <array>
#include <cstdint>
#include <string>

#include "shell/overhead_defaults.h"

namespace kovra::calc {

enum overhead_column : int { col_r = 0, col_m = 1, col_s = 2, col_kp_r = 3, col_kp_m = 4, col_kp_s = 5, col_running = 6 };
enum overhead_row : int {
  row_purchase = 0, row_kp = 1, row_profit = 2, row_active_site = 3, row_harmful = 4,
  row_general_contracting = 10, row_vat = 11,
};
inline constexpr int overhead_rows = shell::overhead_rows;
inline constexpr int overhead_columns = shell::overhead_columns;

struct overhead_row_rates {
  std::string name;
  std::array<float, overhead_columns> rates{};
};

struct overhead_table {
  std::array<overhead_row_rates, overhead_rows> rows{};
  int16_t kp_plus_cz = 0;
  int16_t kp_plus_ws = 0;
  int16_t z_plus_cz = 0;
  int16_t z_plus_ws = 0;
  int16_t head = 5;
  double tail = 1.0;

  double rate(int row, int column) const;
};

// The table of a stored overhead record (714 bytes).
overhead_table overhead_table_from_record(const uint8_t* record);

// The tables a new estimate gets when the configuration holds none.
overhead_table default_standard_overheads();
overhead_table default_investor_overheads();

// rate × x / 100 rounded to the grosz when the cell's rate is above 0, else 0.
double overhead(const overhead_table& t, double x, int row, int column);

// A row charged on a component and on its Kp: one computation on the sum when both rates are
// equal, else two.
double two_part(const overhead_table& t, int row, double base, double kp, int column_base, int column_kp);

} // namespace kovra::calc
