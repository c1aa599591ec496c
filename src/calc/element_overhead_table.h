#pragma once
// The overhead table of an element or of the whole estimate: 16 rows of 5 amounts.
// Columns: row total, other, R, M, S. Row 0 direct costs, row 1 purchase costs on investor
// materials, row 2 purchase costs, rows 3 to 12 overhead items 1 to 10 (Kp, Z, ...), row 13
// unused, row 14 the column sums of rows 0 to 13. Row 15 holds the effective purchase-cost
// percentage, the global additions, the net total, the VAT and the gross total.
#include <array>

namespace kovra::calc {

enum element_column : int { ec_total = 0, ec_other = 1, ec_r = 2, ec_m = 3, ec_s = 4 };
inline constexpr int element_rows = 16;
inline constexpr int row_direct = 0, row_kz_investor = 1, row_kz = 2, row_first_item = 3, row_sums = 14, row_estimate = 15;

struct element_overhead_table {
  std::array<std::array<double, 5>, element_rows> cell{};

  // Adds rows 0 to 13 of another table.
  void add(const element_overhead_table& other);
  // Column 0 of rows 0 to 13 from their columns 1 to 4, and row 14 as the column sums.
  void finish();
  double total() const { return cell[row_sums][ec_total]; }
};

} // namespace kovra::calc
