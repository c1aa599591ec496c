#pragma once
// Overheads on direct costs: the standard formula (Kp, Z and the further items with the
// running total), the investor formula, VAT and the application to a cost sheet.
#include <array>

#include "calc/overhead_table.h"
#include "calc/position_costs.h"

namespace kovra::calc {

enum component : int { comp_r = 0, comp_m = 1, comp_s = 2 };

// For each component R, M, S the 12 amounts by overhead row; item 0 is always 0. The
// investor formula fills only the R row.
struct overheads {
  std::array<std::array<double, overhead_rows>, 3> item{};
  double sum(int comp, bool with_vat) const;
};

struct overhead_settings {
  const overhead_table* table = nullptr;
  bool investor = false;      // the investor table is in use
  bool profit_on_sum = true;  // investor formula: profit on the sum of the bases
};

overheads standard_overheads(const overhead_table& t, double m, double r, double s, bool with_vat);
overheads investor_overheads(const overhead_table& t, double m, double r, double s, bool with_vat, bool profit_on_sum);
overheads compute_overheads(const overhead_settings& os, double m, double r, double s, bool with_vat);

// VAT of an amount: the running-total rate of row 11.
double vat(const overhead_table& t, double x);

// Adds the overheads of the sheet's direct costs into R, M (which then includes the
// other-materials items) and S. Does nothing when R, M, S and the other-materials items are
// all 0. Returns the overheads it added.
overheads add_overheads(const overhead_settings& os, position_costs& costs, bool with_vat);

} // namespace kovra::calc
