#include "calc/position_costing.h"

#include "calc/rounding.h"

namespace kovra::calc {

costing_context make_costing_context(const estimate_model& model, const recalc_options& options) {
  costing_context ctx;
  ctx.model = &model;
  ctx.options = options;
  ctx.overhead.table = &model.overheads;
  ctx.overhead.investor = model.settings.investor_table != 0;
  ctx.overhead.profit_on_sum = options.profit_on_sum;
  ctx.factors = cumulative_factors(model);
  ctx.kz_other_rate = model.settings.kz_rate_other;
  return ctx;
}

std::vector<std::array<double, 3>> cumulative_factors(const estimate_model& model) {
  std::vector<std::array<double, 3>> f(model.nodes.size(), {1.0, 1.0, 1.0});
  std::array<double, 3> doc{};
  for (int k = 0; k < 3; ++k) {
    const float c = model.settings.coef[static_cast<size_t>(k)];
    doc[static_cast<size_t>(k)] = round_norm(c == 0 ? 1.0f : c);
  }
  // Nodes are in pre-order, so a parent is always set before its children.
  for (size_t i = 0; i < model.nodes.size(); ++i) {
    const model_node& n = model.nodes[i];
    const std::array<double, 3> up = n.parent >= 0 ? f[static_cast<size_t>(n.parent)] : doc;
    for (size_t k = 0; k < 3; ++k) f[i][k] = n.is_aggregate() ? round_norm(n.coef[k]) * up[k] : up[k];
  }
  return f;
}

double position_quantity(const estimate_model& model, const model_node& node) {
  const double m = model.is_chapter ? model.chapter_multiplier : 1.0;
  const int mc = model.is_chapter ? model.chapter_code : 3;
  return round_by_code(node.quantity * m, combine_codes(node.precision_code, mc));
}

const std::vector<input_entry>* current_entries(const model_node& node) {
  if (!node.has_inputs || node.variants.empty()) return nullptr;
  size_t v = node.current_variant >= 0 ? static_cast<size_t>(node.current_variant) : 0;
  if (v >= node.variants.size()) v = 0;
  const auto& entries = node.variants[v].entries;
  return entries.empty() ? nullptr : &entries;
}

double input_quantity(const costing_context& ctx, const input_entry& e, int node_index, double x) {
  if (e.blocked) return e.norm;
  const model_node& n = ctx.node(node_index);
  const size_t k = e.kind < 3 ? e.kind : 0;
  const double multiplicity = ctx.options.multiplicity_outside_unit ? 1.0 : round_2(n.multiplicity);
  return round_amount_auto(multiplicity * round_norm(n.coef[k]) * ctx.factors[static_cast<size_t>(node_index)][k] *
                           round_norm(e.coef) * e.norm * x);
}

double input_total_quantity(const costing_context& ctx, const input_entry& e, int node_index, double q) {
  if (ctx.options.full_quantities) return input_quantity(ctx, e, node_index, q);
  // Per unit: the unit quantity times Q, and times the multiplicity when that is applied to
  // the position's value rather than inside the unit.
  double k = 1.0;
  if (ctx.options.multiplicity_outside_unit) k = round_2(ctx.node(node_index).multiplicity);
  return round_amount_auto(q * k * input_quantity(ctx, e, node_index, 1.0));
}

position_costs cost_position(const costing_context& ctx, int node_index, double x, input_table& table,
                             bool prices_without_kz) {
  position_costs c;
  const auto* entries = current_entries(ctx.node(node_index));
  if (!entries) return c;
  for (const input_entry& e : *entries) {
    if (e.kind > kind_equipment || e.excluded) continue;
    const input_table_entry& t = table.find_or_add(e.id, e.sub);
    const double q = round_amount_auto(input_quantity(ctx, e, node_index, x));
    const double l = round_money(q * t.base_price);
    const double v = prices_without_kz ? (1 + t.kz_percent / 100) * l : q * t.price;
    const double rv = round_money(v);
    if (e.kind == kind_labour) c.labour += rv;
    else if (e.kind == kind_material) c.materials += rv;
    else c.equipment += rv;
    c.purchase_costs += v - l;
    if (e.kind != kind_material) continue;
    c.materials_base += l;
    if (t.rec.base_material) {
      c.base_materials_exact += v;
      c.base_materials_value += rv;
      c.base_materials_at_base += l;
    }
    const uint8_t mode = e.mp_mode == 0 ? 0 : (t.rec.mp_mode != 0 ? t.rec.mp_mode : e.mp_mode);
    if (mode == 1) {
      c.investor_materials += rv;
      c.investor_materials_base += l;
      c.investor_kz_dropped += v - l;
    } else if (mode == 2) {
      c.investor_materials += l;
      c.investor_materials_base += l;
      c.investor_kz_kept += v - l;
      c.materials_charged += v - l;
    } else {
      c.materials_charged += v;
    }
  }
  for (const input_entry& e : *entries) {
    if (e.kind != kind_percent || e.excluded) continue;
    const double h = e.norm / 100;
    if (e.sub == 2 || e.sub == 3) {
      const double f = round_money(h * (e.sub == 2 ? c.labour : c.equipment));
      c.equipment_other += f;
      (e.sub == 2 ? c.equipment_other_r : c.equipment_other_s) += f;
      continue;
    }
    double f = 0, f_base = 0;
    if (e.sub == 1) {
      f = h * c.labour;
      f_base = f / (1 + ctx.kz_other_rate / 100);
      c.purchase_costs += f - f_base;
      c.materials_charged += f;
    } else if (e.sub == 0) {
      f = h * c.base_materials_exact;
      f_base = h * c.base_materials_at_base;
      c.purchase_costs += h * c.purchase_costs;
      c.materials_charged += h * c.base_materials_exact;
    } else {
      continue;
    }
    const double rf = round_money(f), rb = round_money(f_base);
    c.materials_other += rf;
    c.materials_other_base += rb;
    c.materials_other_exact += f_base;
    if (e.sub == 0) {
      c.materials_other_m += rf;
      c.materials_other_m_base += rb;
    } else {
      c.materials_other_r += rf;
      c.materials_other_r_base += rb;
    }
  }
  c.materials -= c.investor_materials;
  c.materials_base -= c.investor_materials_base;
  if (!ctx.options.prices_include_kz) {
    const double base = c.materials_base + c.materials_other_exact;
    const double p = base != 0 ? round_2_simple(((c.materials_charged - c.investor_kz_kept) - base) * 100 / base) : 0;
    c.kz_amount = round_money((c.materials_base + c.materials_other_base) * p / 100);
    c.kz_on_investor = round_money(c.investor_kz_kept);
    c.materials = c.materials_base + c.materials_other_base + c.kz_amount + c.kz_on_investor - c.materials_other;
  }
  return c;
}

position_value value_position(const costing_context& ctx, int node_index, input_table& table) {
  position_value pv;
  const model_node& n = ctx.node(node_index);
  pv.quantity = position_quantity(*ctx.model, n);
  if (!current_entries(n) && n.type == node_position) {
    pv.skipped = true;
    pv.net = n.net;
    pv.gross = n.gross;
    return pv;
  }
  const overhead_table& t = *ctx.overhead.table;
  if (ctx.options.full_quantities) {
    pv.costs = cost_position(ctx, node_index, pv.quantity, table);
    position_costs& c = pv.costs;
    if (ctx.options.overheads_per_element) {
      pv.net = c.labour + c.materials + c.equipment + c.materials_other + c.equipment_other;
    } else {
      pv.added = add_overheads(ctx.overhead, c, false);
      if (c.labour == 0 && c.materials == 0 && c.equipment == 0 && c.materials_other == 0)
        pv.net = c.equipment_other;
      else
        pv.net = c.labour + c.materials + c.equipment + c.equipment_other;
    }
  } else {
    pv.costs = cost_position(ctx, node_index, 1.0, table);
    position_costs& c = pv.costs;
    pv.added = add_overheads(ctx.overhead, c, false);
    const bool untouched = c.labour == 0 && c.materials == 0 && c.equipment == 0 && c.materials_other == 0;
    const double unit_total = untouched ? c.materials_other + c.equipment_other
                                        : c.labour + c.materials + c.equipment + c.equipment_other;
    const double k = ctx.options.multiplicity_outside_unit ? round_2(n.multiplicity) : 1.0;
    pv.net = round_money(unit_total * pv.quantity * k);
  }
  pv.net = round_money(pv.net);
  pv.gross = pv.net + vat(t, pv.net);
  return pv;
}

} // namespace kovra::calc
