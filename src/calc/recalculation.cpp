#include "calc/recalculation.h"

#include <cmath>
#include <memory>

#include "calc/overheads.h"
#include "calc/position_costing.h"
#include "calc/rounding.h"
#include "calc/special_positions.h"

namespace kovra::calc {

namespace {

// Rate of the "Materiały inne (Materiały)" items of a position, as a fraction.
double base_materials_other_rate(const std::vector<input_entry>& entries) {
  double rate = 0;
  for (const input_entry& e : entries)
    if (e.kind == kind_percent && e.sub == 0 && !e.excluded) rate += e.norm / 100;
  return rate;
}

} // namespace

class recalc_steps::run {
 public:
  run(estimate_model& model, const recalc_options& options)
      : model_(model), ctx_(make_costing_context(model, options)) {}

  // Steps 2 to 5: the input table, pass 1 and the table's purchase costs.
  void quantities() {
    if (ctx_.options.keep_aggregate_tables && full()) result_.aggregate_tables.resize(model_.nodes.size());
    result_.table.load(model_);
    add_unknown_keys();
    pass_quantities();
    finish_table();
  }

  // Step 6: pass 2.
  void values() { walk_children(model_.roots, estimate_table_, top_sum_); }

  // Steps 7 to 9.
  recalc_result finish() {
    result_.totals.kz_summary = summarise_purchase_costs(model_, result_.table);
    write_table_totals();
    estimate_totals_step(estimate_table_, top_sum_);
    return std::move(result_);
  }

 private:
  bool full() const { return ctx_.options.full_quantities; }
  estimate_totals& totals() { return result_.totals; }

  // Every key the passes will look up, so that those without a price record get their
  // placeholders in one go: position inputs (pass 1 takes them all) and the equipment
  // input of a scaffolding that either pass reaches.
  void add_unknown_keys() {
    std::vector<uint64_t> missing;
    auto note = [&](uint32_t id, uint16_t sub) {
      if (!result_.table.find(id, sub)) missing.push_back((static_cast<uint64_t>(id) << 16) | sub);
    };
    for (const model_node& n : model_.nodes) {
      if (n.depth < 0) continue;
      if (n.type == node_position || n.type == node_position_plain) {
        if (const auto* entries = current_entries(n))
          for (const input_entry& e : *entries)
            if (e.kind <= kind_equipment) note(e.id, e.sub);
      } else if (n.type == node_scaffold && n.scaffold_input_id != 0 && !(n.left_out_of_totals() && n.not_valued())) {
        note(n.scaffold_input_id, n.scaffold_input_sub);
      }
    }
    if (!missing.empty()) result_.table.add_placeholders(std::move(missing));
  }

  // Pass 1: the quantity of every input into the table.
  void pass_quantities() {
    for (size_t i = 0; i < model_.nodes.size(); ++i) {
      model_node& n = model_.nodes[i];
      if (n.depth < 0) continue; // a record that is not in the tree
      if (n.type == node_position || n.type == node_position_plain) position_quantities(static_cast<int>(i));
      else if (n.type == node_scaffold) scaffold_pass_1(static_cast<int>(i));
    }
  }

  void position_quantities(int index) {
    const model_node& n = model_.nodes[static_cast<size_t>(index)];
    const auto* entries = current_entries(n);
    if (!entries) return;
    const double q = position_quantity(model_, n);
    const double other_rate = base_materials_other_rate(*entries);
    // A position left out of the input totals still names its inputs (they are in the
    // table, placeholders included) but contributes no quantity.
    const bool contributes = !n.left_out_of_totals();
    for (const input_entry& e : *entries) {
      if (e.kind > kind_equipment) continue;
      const double qty = contributes ? round_amount_auto(input_total_quantity(ctx_, e, index, q)) : 0.0;
      input_table_entry& t = result_.table.find_or_add(e.id, e.sub);
      t.used = true;
      // A position that is not valued lists its inputs like excluded ones.
      if (e.excluded || n.not_valued()) {
        t.rec.excluded_quantity += qty;
        continue;
      }
      t.rec.quantity += qty;
      if (e.kind == kind_labour) totals().labour_hours += qty;
      if (e.kind == kind_equipment) totals().equipment_hours += qty;
      if (e.kind != kind_material) continue;
      if (t.rec.base_material) t.rec.other_quantity += round_amount_auto(qty * other_rate);
      if (e.mp_mode != 0) {
        if (t.rec.mp_mode == 0) t.rec.mp_mode = e.mp_mode;
        t.rec.investor_quantity += qty;
      }
    }
  }

  void scaffold_pass_1(int index) {
    model_node& n = model_.nodes[static_cast<size_t>(index)];
    const scaffold_values v = scaffold_quantities(ctx_, index);
    n.scaffold_labour_hours = v.labour_hours;
    if (n.left_out_of_totals() || n.scaffold_input_id == 0) return;
    input_table_entry& t = result_.table.find_or_add(n.scaffold_input_id, n.scaffold_input_sub);
    t.used = true;
    if (n.not_valued()) {
      t.rec.excluded_quantity += v.quantity;
    } else {
      t.rec.quantity += v.quantity;
      totals().equipment_hours += v.quantity;
    }
  }

  // Purchase costs given as amounts become prices; investor totals.
  void finish_table() {
    for (input_table_entry& e : result_.table.entries()) {
      price_record& r = e.rec;
      if (r.kind != kind_material) continue;
      const uint8_t mode = r.kz_mode & 0x7f;
      if (mode == 6 || mode == 7) {
        if (r.quantity >= 0.00001) {
          e.price = round_price(r.kz_value / r.quantity + e.base_price);
          e.kz_percent = e.base_price > 0 ? round_2_simple((e.price - e.base_price) / e.base_price * 100) : 0;
        }
      } else if (mode != 4 && mode != 5) {
        r.kz_mode = static_cast<uint8_t>((r.kz_mode & 0x80) | 4);
        r.kz_value = 0;
        e.kz_percent = 0;
      }
      if (r.mp_mode == 1) {
        totals().investor_materials += round_money(r.investor_quantity * e.price);
        totals().investor_materials_base += round_money(r.investor_quantity * e.base_price);
      } else if (r.mp_mode == 2) {
        const double v = round_money(r.investor_quantity * e.base_price);
        totals().investor_materials += v;
        totals().investor_materials_base += v;
      }
    }
  }

  // The amounts a node puts into its element's table and sums.
  struct node_part {
    element_overhead_table table;  // full quantities: the node's own table
    double direct_r = 0, direct_m = 0, direct_s = 0, direct_other = 0; // per element: direct costs
    double kz = 0, kz_investor = 0;  // per element: purchase costs shown apart (prices without them)
    bool direct = false;           // the node's direct costs go into the element's overhead base
  };

  static void put_direct(element_overhead_table& t, double r, double m, double s, double other) {
    t.cell[row_direct][ec_r] += r;
    t.cell[row_direct][ec_m] += m;
    t.cell[row_direct][ec_s] += s;
    t.cell[row_direct][ec_other] += other;
  }

  // Purchase costs shown apart from the materials (runs whose prices leave them out): rows
  // 1 and 2 of column M, taken out of the direct row so that the sums stay.
  static void put_kz(element_overhead_table& t, double kz, double kz_investor) {
    t.cell[row_kz_investor][ec_m] += kz_investor;
    t.cell[row_kz][ec_m] += kz;
    t.cell[row_direct][ec_m] -= kz + kz_investor;
  }

  static void put_items(element_overhead_table& t, const overheads& o) {
    for (int i = 1; i <= 10; ++i) {
      t.cell[row_first_item + i - 1][ec_r] += o.item[comp_r][i];
      t.cell[row_first_item + i - 1][ec_m] += o.item[comp_m][i];
      t.cell[row_first_item + i - 1][ec_s] += o.item[comp_s][i];
    }
  }

  void set_value(model_node& n, double net) {
    n.net = round_money(net);
    n.gross = n.net + vat(model_.overheads, n.net);
    totals().note_value(n.net);
  }

  // Walks children; adds their tables into `table` and their values into `sum`.
  void walk_children(const std::vector<int>& children, element_overhead_table& table, double& sum) {
    double dr = 0, dm = 0, ds = 0, dother = 0, dkz = 0, dkz_investor = 0;
    bool any_direct = false;
    for (int child : children) {
      model_node& n = model_.nodes[static_cast<size_t>(child)];
      if (n.is_aggregate()) {
        element_overhead_table t;
        double s = 0;
        walk_children(n.children, t, s);
        aggregate_value(n, t, s);
        if (!result_.aggregate_tables.empty()) result_.aggregate_tables[static_cast<size_t>(child)] = t;
        table.add(t);
        sum += n.net;
        continue;
      }
      node_part part;
      if (!value_node(child, part)) continue;
      sum += n.net;
      if (!full()) continue;
      if (part.direct) {
        dr += part.direct_r;
        dm += part.direct_m;
        ds += part.direct_s;
        dother += part.direct_other;
        dkz += part.kz;
        dkz_investor += part.kz_investor;
        any_direct = true;
      } else {
        table.add(part.table);
      }
    }
    if (full() && any_direct) {
      element_overhead_table t;
      put_direct(t, dr, dm, ds, dother);
      put_kz(t, dkz, dkz_investor);
      put_items(t, compute_overheads(ctx_.overhead, dm, dr, ds, false));
      table.add(t);
    }
    table.finish();
  }

  void aggregate_value(model_node& n, element_overhead_table& t, double children_sum) {
    double net = full() ? t.total() : children_sum;
    net = round_money(net);
    if (n.type == node_element && n.merged) {
      double q = round_by_code(n.merged_quantity, n.merged_precision_code);
      if (std::fabs(q) < 0.000001) {
        q = n.divisor;
        if (std::fabs(q) < 0.000001) q = 1.0;
        if (n.merged_quantity < 0) q = -std::fabs(q);
      }
      const double quotient = net / q;
      if (quotient < 0) {
        q = -q;
        n.merged_quantity = -n.merged_quantity;
      }
      n.merged_unit_price = round_price(std::fabs(quotient));
      if (ctx_.options.merged_value_correction) {
        const double corrected = round_money(q * n.merged_unit_price);
        // The correction goes into the "other" column so that the element's table still
        // adds up to its value.
        t.cell[row_direct][ec_other] += corrected - net;
        t.finish();
        net = corrected;
      }
    }
    set_value(n, net);
  }

  // Values one non-aggregate node. Returns false when it adds nothing to its element.
  bool value_node(int index, node_part& part) {
    model_node& n = model_.nodes[static_cast<size_t>(index)];
    if (n.not_valued()) {
      n.net = n.gross = 0;
      return false;
    }
    switch (n.type) {
      case node_position:
      case node_position_plain: return value_catalogue_position(index, part);
      case node_simplified:
      case node_simplified_plain: return value_simplified_position(n, part);
      case node_scaffold: return value_scaffold(index, part);
      case node_one_off: return value_one_off(n, part);
      default: return false;
    }
  }

  double units_factor(const model_node& n) const {
    return ctx_.options.multiplicity_outside_unit ? round_2(n.multiplicity) : 1.0;
  }

  bool value_catalogue_position(int index, node_part& part) {
    model_node& n = model_.nodes[static_cast<size_t>(index)];
    position_value pv = value_position(ctx_, index, result_.table);
    if (pv.skipped) {
      // Keeps its stored values, which still count in its element.
      if (full()) {
        part.table.cell[row_direct][ec_other] += n.net;
        part.table.finish();
      }
      return true;
    }
    const position_costs& c = pv.costs;
    if (!n.left_out_of_totals()) {
      const double scale = full() ? 1.0 : pv.quantity * units_factor(n);
      auto add = [&](double& total, double v) { total += full() ? v : round_money(v * scale); };
      add(totals().materials_other, c.materials_other);
      add(totals().equipment_other, c.equipment_other);
      add(totals().materials_other_r, c.materials_other_r);
      add(totals().materials_other_m, c.materials_other_m);
      add(totals().equipment_other_r, c.equipment_other_r);
      add(totals().equipment_other_s, c.equipment_other_s);
    }
    set_value(n, pv.net);
    if (full()) {
      if (ctx_.options.overheads_per_element) {
        part.direct = true;
        part.direct_r = c.labour;
        part.direct_m = c.materials + c.materials_other;
        part.direct_s = c.equipment + c.equipment_other;
        part.kz = c.kz_amount;
        part.kz_investor = c.kz_on_investor;
      } else {
        // The sheet already holds the overheads; take them back out for the direct row.
        const overheads& o = pv.added;
        put_direct(part.table, c.labour - o.sum(comp_r, false), c.materials - o.sum(comp_m, false),
                   c.equipment + c.equipment_other - o.sum(comp_s, false), 0);
        put_kz(part.table, c.kz_amount, c.kz_on_investor);
        put_items(part.table, o);
        part.table.finish();
      }
    }
    return true;
  }

  // Direct R, M, S and an amount without overheads, valued like a position: per element
  // as direct costs, per position with their overheads; per unit times `units`.
  void value_direct(model_node& n, node_part& part, double r, double m, double s, double lump, double units) {
    position_costs c;
    c.labour = r;
    c.materials = m;
    c.equipment = s;
    if (full()) {
      if (ctx_.options.overheads_per_element) {
        part.direct = true;
        part.direct_r = r;
        part.direct_m = m;
        part.direct_s = s;
        part.direct_other = lump;
        set_value(n, r + m + s + lump);
        return;
      }
      const overheads o = add_overheads(ctx_.overhead, c, false);
      put_direct(part.table, r, m, s, lump);
      put_items(part.table, o);
      part.table.finish();
      set_value(n, c.labour + c.materials + c.equipment + lump);
      return;
    }
    add_overheads(ctx_.overhead, c, false);
    set_value(n, round_money((c.labour + c.materials + c.equipment + lump) * units));
  }

  bool value_simplified_position(model_node& n, node_part& part) {
    const simplified_costs s = value_simplified(model_, n, !full());
    if (!s.valued) {
      set_value(n, 0);
      return true;
    }
    if (!n.left_out_of_totals()) {
      auto add = [&](double& total, double v) { total += full() ? v : round_money(v * s.quantity); };
      add(totals().simplified_labour, s.amount[0]);
      add(totals().simplified_materials, s.amount[1]);
      add(totals().simplified_equipment, s.amount[2]);
      add(totals().materials_base, s.amount[1]);
      add(totals().other_amounts, s.amount[3]);
    }
    value_direct(n, part, s.amount[0], s.amount[1], s.amount[2], s.amount[3], s.quantity);
    return true;
  }

  bool value_scaffold(int index, node_part& part) {
    model_node& n = model_.nodes[static_cast<size_t>(index)];
    if (n.scaffold_input_id == 0) {
      n.net = n.gross = 0;
      return false;
    }
    const scaffold_values v = scaffold_quantities(ctx_, index);
    const input_table_entry& t = result_.table.find_or_add(n.scaffold_input_id, n.scaffold_input_sub);
    const double p = t.price;
    if (full())
      value_direct(n, part, 0, 0, round_money(p * v.quantity), 0, 1);
    else
      value_direct(n, part, 0, 0, round_money(p * v.working_time), 0, v.count);
    return true;
  }

  bool value_one_off(model_node& n, node_part& part) {
    const one_off_values v = compute_one_off(model_, n);
    n.lines = v.lines;
    n.one_off_amount = v.amount;
    if (full()) {
      const double amount = round_money(v.amount);
      if (!n.left_out_of_totals()) {
        totals().one_off += amount;
        totals().equipment += amount;
      }
      value_direct(n, part, 0, 0, amount, 0, 1);
      return true;
    }
    const double unit = v.count != 0 ? round_money(v.amount / v.count) : round_money(v.amount);
    if (!n.left_out_of_totals()) {
      totals().one_off += round_money(unit * v.count);
      totals().equipment += round_money(unit * v.count);
    }
    value_direct(n, part, 0, 0, unit, 0, v.count);
    return true;
  }

  // Step 8: R, M and S totals from the table.
  void write_table_totals() {
    for (const input_table_entry& e : result_.table.entries()) {
      const double q = round_amount_auto(e.rec.quantity);
      const double v = round_money(q * e.price);
      if (e.rec.kind == kind_labour) totals().labour += v;
      else if (e.rec.kind == kind_equipment) totals().equipment += v;
      else {
        totals().materials += v;
        totals().materials_base += round_money(q * e.base_price);
      }
    }
  }

  void estimate_totals_step(element_overhead_table& table, double top_sum) {
    estimate_totals& t = totals();
    double additions = 0;
    for (const addition& a : model_.additions) additions += round_money(a.amount);
    t.additions = round_money(additions);
    const double positions = full() ? table.total() : top_sum;
    t.net = round_money(positions + t.additions);
    t.vat = vat(model_.overheads, t.net);
    t.gross = t.net + t.vat;
    table.finish();
    const double kz = t.materials_base != 0 ? (t.materials - t.materials_base) * 100 / t.materials_base : 0;
    table.cell[row_estimate] = {kz, t.additions, t.net, t.vat, t.gross};
    t.overheads = table;
  }

  estimate_model& model_;
  costing_context ctx_;
  recalc_result result_;
  element_overhead_table estimate_table_;
  double top_sum_ = 0;
};

recalc_steps::recalc_steps(estimate_model& model, const recalc_options& options) {
  build_tree(model); // the factors of the costing context need the tree
  run_ = std::make_unique<run>(model, options);
}
recalc_steps::~recalc_steps() = default;
void recalc_steps::quantities() { run_->quantities(); }
void recalc_steps::values() { run_->values(); }
recalc_result recalc_steps::finish() { return run_->finish(); }

purchase_cost_summary summarise_purchase_costs(const estimate_model& model, const input_table& table) {
  purchase_cost_summary s;
  double lo = model.settings.kz_rate_simplified;
  double hi = lo;
  auto take = [&](double v) {
    if (v < lo) lo = v;
    if (v > hi) hi = v;
  };
  take(model.settings.kz_rate_other);
  bool differ = false;
  for (const input_table_entry& e : table.entries()) {
    if (e.rec.kind != kind_material || std::fabs(e.rec.quantity) <= 0.005 || e.rec.mp_mode != 0) continue;
    if ((e.rec.kz_mode & 0x7f) != 4) differ = true;
    take(e.kz_percent);
  }
  s.smallest = lo;
  s.largest = hi;
  if (lo == 0 && hi == 0 && !differ) s.state = 2;
  else if (differ || hi - lo >= 0.001) s.state = 1;
  else {
    s.state = 0;
    s.rate = round_price(hi);
  }
  return s;
}

recalc_result run_single(estimate_model& model, const recalc_options& options) {
  recalc_steps steps(model, options);
  steps.quantities();
  steps.values();
  return steps.finish();
}

void write_prices_back(estimate_model& model, const input_table& table) {
  for (const input_table_entry& e : table.entries()) {
    if (e.record_index < 0) continue;
    price_record& p = model.prices[static_cast<size_t>(e.record_index)];
    p.price = e.price;
    p.base_price = e.base_price;
    p.kz_mode = e.rec.kz_mode;
    p.kz_value = e.rec.kz_value;
    p.mp_mode = e.rec.mp_mode;
    p.quantity = e.rec.quantity;
    p.other_quantity = e.rec.other_quantity;
    p.excluded_quantity = e.rec.excluded_quantity;
    p.investor_quantity = e.rec.investor_quantity;
  }
}

recalc_result recalculate(estimate_model& model) {
  recalc_result r = run_single(model, options_from_settings(model.settings));
  write_prices_back(model, r.table);
  return r;
}

void recalculate_totals(estimate_model& model, const recalc_options& options, double& out_vat, double& out_net) {
  const recalc_result r = run_single(model, options);
  out_vat = r.totals.vat;
  out_net = r.totals.gross - r.totals.vat;
}

} // namespace kovra::calc
