#include "calc/overheads.h"

#include "calc/rounding.h"

namespace kovra::calc {

double overheads::sum(int comp, bool with_vat) const {
  double s = 0;
  for (int i = 1; i < overhead_rows; ++i)
    if (i != row_vat || with_vat) s += item[comp][i];
  return s;
}

overheads standard_overheads(const overhead_table& t, double m, double r, double s, bool with_vat) {
  overheads o;
  // Bases of Kp and Z, raised by the active-site and harmful-conditions rows when switched on.
  // Harmful conditions raise only R.
  double r1 = r, s1 = s;
  if (t.kp_plus_cz) {
    r1 += overhead(t, r, row_active_site, col_r);
    s1 += overhead(t, s, row_active_site, col_s);
  }
  if (t.kp_plus_ws) r1 += overhead(t, r, row_harmful, col_r);
  const double kp[3] = {overhead(t, r1, row_kp, col_r), overhead(t, m, row_kp, col_m), overhead(t, s1, row_kp, col_s)};
  double r2 = r, s2 = s;
  if (t.z_plus_cz) {
    r2 += overhead(t, r, row_active_site, col_r);
    s2 += overhead(t, s, row_active_site, col_s);
  }
  if (t.z_plus_ws) r2 += overhead(t, r, row_harmful, col_r);
  const double base2[3] = {r2, m, s2};
  const double plain[3] = {r, m, s};
  for (int c = 0; c < 3; ++c) {
    o.item[c][row_kp] = kp[c];
    o.item[c][row_profit] = two_part(t, row_profit, base2[c], kp[c], c, c + 3);
    const int last = with_vat ? row_vat : row_general_contracting;
    for (int i = 3; i <= last; ++i) {
      double running = plain[c];
      for (int j = 1; j < i; ++j) running += o.item[c][j];
      o.item[c][i] = two_part(t, i, plain[c], kp[c], c, c + 3) + overhead(t, running, i, col_running);
    }
  }
  return o;
}

overheads investor_overheads(const overhead_table& t, double m, double r, double s, bool with_vat, bool profit_on_sum) {
  overheads o;
  const double kp = overhead(t, r + s, row_kp, col_r);
  double z = 0;
  if (profit_on_sum) {
    double base = 0;
    double rate = 0;
    const struct { int column; double value; } parts[4] = {{col_r, r}, {col_m, m}, {col_s, s}, {col_kp_s, kp}};
    for (const auto& p : parts) {
      if (t.rate(row_profit, p.column) > 0) {
        base += p.value;
        rate = t.rate(row_profit, p.column); // the last positive one in the order R, M, S, Kp wins
      }
    }
    z = rate > 0 ? round_money(rate * base / 100) : 0;
  } else {
    z = overhead(t, r, row_profit, col_r) + overhead(t, m, row_profit, col_m) + overhead(t, s, row_profit, col_s) +
        overhead(t, kp, row_profit, col_kp_s);
  }
  o.item[comp_r][row_kp] = kp;
  o.item[comp_r][row_profit] = z;
  if (with_vat) o.item[comp_r][row_vat] = overhead(t, r + m + s + kp + z, row_vat, col_running);
  return o;
}

overheads compute_overheads(const overhead_settings& os, double m, double r, double s, bool with_vat) {
  if (os.investor) return investor_overheads(*os.table, m, r, s, with_vat, os.profit_on_sum);
  return standard_overheads(*os.table, m, r, s, with_vat);
}

double vat(const overhead_table& t, double x) { return overhead(t, x, row_vat, col_running); }

overheads add_overheads(const overhead_settings& os, position_costs& c, bool with_vat) {
  if (c.labour == 0 && c.materials == 0 && c.equipment == 0 && c.materials_other == 0) return {};
  const double m = c.materials + c.materials_other;
  const overheads o = compute_overheads(os, m, c.labour, c.equipment + c.equipment_other, with_vat);
  c.labour += o.sum(comp_r, with_vat);
  c.materials = m + o.sum(comp_m, with_vat);
  c.equipment += o.sum(comp_s, with_vat);
  return o;
}

} // namespace kovra::calc
