#include "calc_builders.h"

namespace kovra::test {

estimate_model plain_estimate() {
  estimate_model m;
  m.overheads = calc::default_standard_overheads(); // every used rate 0, the rest −1
  return m;
}

void set_rate(estimate_model& m, int row, int column, float rate) { m.overheads.rows[row].rates[column] = rate; }

price_record& add_price(estimate_model& m, uint8_t kind, uint32_t id, double price, double base_price,
                        uint8_t base_material) {
  price_record r;
  r.pos = static_cast<int32_t>(m.prices.size());
  r.kind = kind;
  r.id = id;
  r.unit = "j";
  r.name = "input " + std::to_string(id);
  r.price = price;
  r.base_price = base_price < 0 ? price : base_price;
  r.base_material = base_material;
  if (kind == calc::kind_material && r.base_price > 0) {
    r.kz_mode = 4;
    r.kz_value = r.price * 100 / r.base_price - 100;
  }
  m.prices.push_back(r);
  return m.prices.back();
}

model_node& add_element(estimate_model& m, uint8_t level) {
  model_node n;
  n.pos = static_cast<int32_t>(m.nodes.size());
  n.type = calc::node_element;
  n.level = level;
  m.nodes.push_back(n);
  return m.nodes.back();
}

model_node& add_position(estimate_model& m, double quantity, int precision_code, uint8_t level) {
  model_node n;
  n.pos = static_cast<int32_t>(m.nodes.size());
  n.type = calc::node_position;
  n.level = level;
  n.quantity = quantity;
  n.precision_code = static_cast<int8_t>(precision_code);
  n.has_inputs = true;
  n.variants.emplace_back();
  m.nodes.push_back(n);
  return m.nodes.back();
}

input_entry& add_input(model_node& n, uint8_t kind, uint32_t id, double norm, uint16_t sub) {
  input_entry e;
  e.kind = kind;
  e.id = id;
  e.sub = sub;
  e.norm = norm;
  n.variants[0].entries.push_back(e);
  return n.variants[0].entries.back();
}

std::string source_path(const std::string& relative) { return std::string(KOVRA_SOURCE_DIR) + "/" + relative; }

} // namespace kovra::test
