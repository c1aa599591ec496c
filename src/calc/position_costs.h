#pragma once
// The cost sheet of one position: what costing accumulates from its inputs.

namespace kovra::calc {

struct position_costs {
  double labour = 0;                  // R
  double materials = 0;               // M, with purchase costs, investor materials removed at the end
  double equipment = 0;               // S
  double materials_other = 0;         // other-materials items (sub-codes 0 and 1)
  double materials_base = 0;          // materials at base price
  double materials_other_base = 0;    // other-materials items without purchase costs, each rounded
  double base_materials_value = 0;
  double base_materials_at_base = 0;
  double base_materials_exact = 0;    // unrounded; the base of "Materiały inne (Materiały)"
  double investor_materials = 0;
  double investor_materials_base = 0;
  double materials_other_exact = 0;   // unrounded, without purchase costs
  double purchase_costs = 0;          // Kz, unrounded
  double investor_kz_dropped = 0;
  double investor_kz_kept = 0;
  double materials_charged = 0;
  double kz_amount = 0;
  double kz_on_investor = 0;
  double equipment_other = 0;         // other-equipment items (sub-codes 2 and 3)
  double materials_other_r = 0;
  double materials_other_m = 0;
  double materials_other_r_base = 0;
  double materials_other_m_base = 0;
  double equipment_other_r = 0;
  double equipment_other_s = 0;
  // An amount that bears no overheads (the all-in price of a simplified position).
  double lump_sum = 0;
};

} // namespace kovra::calc
