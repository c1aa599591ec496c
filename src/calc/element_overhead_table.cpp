#include "calc/element_overhead_table.h"

namespace kovra::calc {

void element_overhead_table::add(const element_overhead_table& other) {
  for (int r = 0; r < row_sums; ++r)
    for (int c = 0; c < 5; ++c) cell[r][c] += other.cell[r][c];
}

void element_overhead_table::finish() {
  cell[row_sums] = {};
  for (int r = 0; r < row_sums; ++r) {
    cell[r][ec_total] = cell[r][ec_other] + cell[r][ec_r] + cell[r][ec_m] + cell[r][ec_s];
    for (int c = 0; c < 5; ++c) cell[row_sums][c] += cell[r][c];
  }
}

} // namespace kovra::calc
