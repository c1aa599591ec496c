#include "calc/record_binding.h"

namespace kovra::calc {

namespace ep = document::ep;

estimate_settings settings_from_general(const document::general_data& g) {
  estimate_settings s;
  s.name = g.name();
  s.calc_method = g.calc_method();
  s.overheads_per_position = g.overheads_per_position();
  s.profit_per_component = g.profit_per_component();
  s.investor_table = g.investor_table();
  s.merged_value_correction = g.merged_value_correction();
  s.multiplicity_in_unit = g.multiplicity_in_unit();
  s.prices_with_kz = g.prices_with_kz();
  s.labour_rate = g.labour_rate();
  s.purchase_cost_percent = g.purchase_cost_percent();
  s.kz_rate_simplified = g.kz_rate_simplified();
  s.kz_rate_other = g.kz_rate_other();
  for (int k = 0; k < 3; ++k) s.coef[static_cast<size_t>(k)] = g.coef(k);
  return s;
}

overhead_table overhead_table_from(const document::overhead_record& r) {
  return overhead_table_from_record(r.bytes.data());
}

model_node node_from_record(const document::elpz_record& r, document::rec_pos pos, const document::inputs_block* inputs) {
  model_node n;
  n.pos = pos;
  n.type = r.type();
  n.level = r.level();
  n.flags = r.flags();
  n.number = r.number();
  n.unit = r.unit();
  n.description = r.description();
  n.net = r.net();
  n.gross = r.gross();
  for (int k = 0; k < 3; ++k) n.coef[static_cast<size_t>(k)] = r.coef(k);
  switch (n.type) {
    case document::NODE_POSITION:
    case document::NODE_POSITION_PLAIN:
    case document::NODE_SIMPLIFIED:
    case document::NODE_SIMPLIFIED_PLAIN:
      n.column_number = r.column_number();
      n.quantity = r.quantity();
      n.multiplicity = r.multiplicity();
      n.precision_code = static_cast<int8_t>(r.precision_code());
      for (int i = 0; i < 4; ++i) n.unit_price[static_cast<size_t>(i)] = r.unit_price(i);
      n.current_variant = r.current_variant();
      if (inputs && r.inputs_pos() != document::NO_POS) {
        n.has_inputs = true;
        n.variants = inputs->variants;
      }
      if (n.current_variant < 0 || n.current_variant >= static_cast<int>(n.variants.size())) n.current_variant = 0;
      break;
    case document::NODE_ELEMENT:
    case document::NODE_WORK_GROUP:
      n.divisor = r.divisor();
      n.merged_unit_price = r.merged_unit_price();
      n.merged = r.merged();
      n.merged_precision_code = static_cast<int8_t>(r.merged_precision_code());
      n.merged_quantity = r.merged_quantity();
      break;
    case document::NODE_ONE_OFF:
      n.one_off_amount = r.one_off_amount();
      n.one_off_count = r.one_off_count();
      n.one_off_distance = r.one_off_distance();
      for (int i = 0; i < 4; ++i) {
        one_off_line& l = n.lines[static_cast<size_t>(i)];
        l.value = r.line_value(i);
        l.price = r.line_price(i);
        l.quantity = r.line_quantity(i);
        l.norm = r.line_norm(i);
      }
      break;
    case document::NODE_SCAFFOLD:
      n.scaffold_input_id = r.scaffold_input_id();
      n.scaffold_input_sub = r.scaffold_input_sub();
      n.scaffold_labour_hours = r.scaffold_labour_hours();
      n.scaffold_w = r.scaffold_w();
      n.scaffold_s = r.scaffold_s();
      n.scaffold_p = r.scaffold_p();
      n.scaffold_sets = r.scaffold_sets();
      n.scaffolds_per_set = r.scaffolds_per_set();
      n.scaffold_k = r.scaffold_k();
      n.scaffold_count_code = r.scaffold_count_code();
      n.unit2 = r.unit2();
      break;
    default: break;
  }
  return n;
}

void resolve_scaffold_links(estimate_model& model, int scaffold_index, std::span<const document::rec_pos> links) {
  model_node& s = model.nodes[static_cast<size_t>(scaffold_index)];
  s.links.clear();
  for (document::rec_pos p : links) {
    for (size_t i = 0; i < model.nodes.size(); ++i) {
      if (model.nodes[i].pos == p && model.nodes[i].type != node_scaffold) {
        s.links.push_back(static_cast<int>(i));
        break;
      }
    }
  }
}

void write_node_results(const model_node& n, document::elpz_record& r) {
  r.set_net(n.net);
  r.set_gross(n.gross);
  switch (n.type) {
    case document::NODE_SCAFFOLD: r.set_scaffold_labour_hours(n.scaffold_labour_hours); break;
    case document::NODE_ONE_OFF:
      r.set_one_off_amount(n.one_off_amount);
      for (int i = 0; i < 4; ++i) {
        r.set_line_value(i, n.lines[static_cast<size_t>(i)].value);
        r.set_line_quantity(i, n.lines[static_cast<size_t>(i)].quantity);
      }
      break;
    case document::NODE_ELEMENT:
      if (n.merged) {
        r.set_merged_unit_price(n.merged_unit_price);
        r.set_merged_quantity(n.merged_quantity);
      }
      break;
    default: break;
  }
}

price_record price_from_zest(const document::zest_record& z, document::rec_pos pos) {
  price_record p;
  p.pos = pos;
  p.kind = z.kind();
  p.id = z.id();
  p.sub = z.sub();
  p.unit = z.unit();
  p.name = z.name();
  p.price = z.price();
  p.quantity = z.quantity();
  p.other_quantity = z.other_quantity();
  p.excluded_quantity = z.excluded_quantity();
  p.kz_mode = z.kz_mode();
  p.base_price = z.base_price();
  p.kz_value = z.kz_value();
  p.investor_quantity = z.investor_quantity();
  p.base_material = z.base_material();
  p.mp_mode = z.mp_mode();
  return p;
}

void write_price_results(const price_record& p, document::zest_record& z) {
  z.set_price(p.price);
  z.set_base_price(p.base_price);
  z.set_kz_mode(p.kz_mode);
  z.set_kz_value(p.kz_value);
  z.set_mp_mode(p.mp_mode);
  z.set_quantity(p.quantity);
  z.set_other_quantity(p.other_quantity);
  z.set_excluded_quantity(p.excluded_quantity);
  z.set_investor_quantity(p.investor_quantity);
}

summary_record summary_from_record(const document::chpt_zest_record& z, document::rec_pos pos) {
  summary_record s;
  s.pos = pos;
  s.kind = z.kind();
  s.id = z.id();
  s.sub = z.sub();
  s.unit = z.unit();
  s.name = z.name();
  s.value = z.value();
  s.quantity = z.quantity();
  s.excluded_value = z.excluded_value();
  s.excluded_quantity = z.excluded_quantity();
  s.kz_mode = z.kz_mode();
  s.base_value = z.base_value();
  s.kz_value = z.kz_value();
  s.investor_quantity = z.investor_quantity();
  s.investor_value = z.investor_value();
  s.price_low = z.price_low();
  s.price_high = z.price_high();
  s.base_price_low = z.base_price_low();
  s.base_price_high = z.base_price_high();
  s.investor_value_base = z.investor_value_base();
  s.basis_value = z.basis_value();
  s.basis_quantity = z.basis_quantity();
  return s;
}

void write_summary_results(const summary_record& s, document::chpt_zest_record& z) {
  z.set_f64(17, s.value);
  z.set_f64(25, s.quantity);
  z.set_f64(33, s.excluded_value);
  z.set_f64(41, s.excluded_quantity);
  z.set_kz_mode(s.kz_mode);
  z.set_f64(50, s.base_value);
  z.set_f64(58, s.kz_value);
  z.set_f64(66, s.investor_quantity);
  z.set_f64(74, s.investor_value);
  z.set_f64(82, s.price_low);
  z.set_f64(90, s.price_high);
  z.set_f64(98, s.base_price_low);
  z.set_f64(106, s.base_price_high);
  z.set_f64(114, s.investor_value_base);
  z.set_f64(122, s.basis_value);
  z.set_f64(130, s.basis_quantity);
}

} // namespace kovra::calc
