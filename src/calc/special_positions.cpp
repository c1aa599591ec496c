#include "calc/special_positions.h"

#include <cmath>
#include <limits>

#include "calc/rounding.h"

namespace kovra::calc {

double position_labour_hours(const costing_context& ctx, int node_index) {
  const model_node& n = ctx.node(node_index);
  if (n.type != node_position && n.type != node_position_plain) return 0;
  const auto* entries = current_entries(n);
  if (!entries) return 0;
  const double q = position_quantity(*ctx.model, n);
  const bool full = ctx.options.full_quantities;
  double sum = 0;
  for (const input_entry& e : *entries)
    if (e.kind == kind_labour && !e.excluded) sum += input_quantity(ctx, e, node_index, full ? q : 1.0);
  if (full) return sum;
  // Per unit the hours of one unit are summed first and rounded once for the whole
  // position (the input table rounds each input instead, so the two may differ in the
  // last place). The multiplicity kept out of the unit counts here as it does there.
  const double k = ctx.options.multiplicity_outside_unit ? round_2(n.multiplicity) : 1.0;
  return round_amount_auto(sum * q * k);
}

scaffold_values scaffold_quantities(const costing_context& ctx, int node_index) {
  const model_node& n = ctx.node(node_index);
  scaffold_values v;
  double hours = 0;
  for (int link : n.links)
    if (link >= 0 && static_cast<size_t>(link) < ctx.model->nodes.size()) hours += position_labour_hours(ctx, link);
  v.labour_hours = round_amount_auto(hours);
  // A coefficient of 0 would divide by zero: no working time, no count.
  const double sw = static_cast<double>(n.scaffold_s) * n.scaffold_w;
  v.working_time = sw != 0 ? round_norm_auto(v.labour_hours / sw * n.scaffold_p) : 0;
  v.count = n.scaffold_k != 0
                ? round_by_code(static_cast<double>(n.scaffold_sets) * n.scaffolds_per_set / n.scaffold_k, n.scaffold_count_code)
                : 0;
  v.count_code = ctx.model->is_chapter ? combine_codes(ctx.model->chapter_code, n.scaffold_count_code) : n.scaffold_count_code;
  v.quantity = round_amount_auto(v.count * v.working_time);
  return v;
}

simplified_costs value_simplified(const estimate_model& model, const model_node& node, bool unit) {
  simplified_costs s;
  s.unit_price = {round_price(node.unit_price[0]), round_price(node.unit_price[1]), round_price(node.unit_price[2]),
                  round_money(node.unit_price[3])};
  if (node.type == node_simplified && !(node.flags & flag_basis_text) && (node.column_number & 0xff) == 0) return s;
  s.valued = true;
  s.quantity = position_quantity(model, node);
  s.multiplicity = round_2(node.multiplicity);
  s.quantity_used = unit ? 1.0 : s.quantity;
  s.q = round_amount_auto(s.quantity_used * s.multiplicity);
  for (size_t i = 0; i < 4; ++i) s.amount[i] = round_money(s.q * s.unit_price[i]);
  return s;
}

int16_t one_off_whole_count(const estimate_model& model, const model_node& node) {
  double c = node.one_off_count;
  if (model.is_chapter) {
    const double m = model.chapter_multiplier * node.one_off_count;
    c = std::ceil(std::fabs(m));
    if (m < 0) c = -c;
  } else {
    c = std::trunc(c);
  }
  // Kept as a 16-bit number; a count beyond its range is held at the limit.
  if (!(c >= std::numeric_limits<int16_t>::min())) c = std::numeric_limits<int16_t>::min();
  if (c > std::numeric_limits<int16_t>::max()) c = std::numeric_limits<int16_t>::max();
  return static_cast<int16_t>(c);
}

one_off_values compute_one_off(const estimate_model& model, const model_node& node) {
  one_off_values v;
  v.count = one_off_whole_count(model, node);
  const double c = v.count;
  v.lines = node.lines;
  const double first = v.lines[2].norm, further = v.lines[3].norm;
  const double distance = node.one_off_distance;
  if (further > 0) {
    const double beyond = distance - first > 0 ? distance - first : 0;
    v.further_bands = std::ceil(beyond / further);
  }
  v.lines[0].quantity = c * v.lines[0].norm;
  v.lines[1].quantity = c * v.lines[1].norm;
  v.lines[2].quantity = distance != 0 ? c : 0;
  v.lines[3].quantity = c * v.further_bands;
  v.amount = 0;
  for (auto& line : v.lines) {
    line.value = round_price(line.price) * line.quantity;
    v.amount += line.value;
  }
  return v;
}

} // namespace kovra::calc
