#include "views_support.h"

#include "calc/recalculation.h"
#include "calc/compound_recalc.h"

#include <QFont>
#include "store/codepage.h"

namespace kovra::test {

QApplication& views_app() {
  static int argc = 1;
  static char name[] = "views_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    auto* a = new QApplication(argc, argv);
    QFont f("DejaVu Sans");
    f.setPixelSize(12);
    QApplication::setFont(f);
    return a;
  }();
  return *app;
}

calc::estimate_model plain_model() {
  calc::estimate_model m;
  m.overheads = calc::default_standard_overheads();
  return m;
}

void set_rate(calc::estimate_model& m, int row, int column, float rate) { m.overheads.rows[size_t(row)].rates[size_t(column)] = rate; }

calc::price_record& add_price(calc::estimate_model& m, uint8_t kind, uint32_t id, const char* utf8_name,
                              const char* unit, double price, double base_price) {
  calc::price_record r;
  r.pos = int32_t(m.prices.size());
  r.kind = kind;
  r.id = id;
  r.name = store::utf8_to_mazovia(utf8_name);
  r.unit = unit;
  r.price = price;
  r.base_price = base_price < 0 ? price : base_price;
  if (kind == calc::kind_material && r.base_price > 0) {
    r.kz_mode = 4;
    r.kz_value = r.price * 100 / r.base_price - 100;
  }
  m.prices.push_back(r);
  return m.prices.back();
}

calc::model_node& add_element(calc::estimate_model& m) {
  calc::model_node n;
  n.pos = int32_t(m.nodes.size());
  n.type = calc::node_element;
  m.nodes.push_back(n);
  return m.nodes.back();
}

calc::model_node& add_position(calc::estimate_model& m, double quantity) {
  calc::model_node n;
  n.pos = int32_t(m.nodes.size());
  n.type = calc::node_position;
  n.level = 1;
  n.quantity = quantity;
  n.precision_code = 3;
  n.has_inputs = true;
  n.variants.emplace_back();
  m.nodes.push_back(n);
  return m.nodes.back();
}

void add_input(calc::model_node& n, uint8_t kind, uint32_t id, double norm) {
  calc::input_entry e;
  e.kind = kind;
  e.id = id;
  e.norm = norm;
  n.variants[0].entries.push_back(e);
}

void test_host::set_simple(calc::estimate_model m) {
  auto v = std::make_unique<views::estimate_values>();
  v->own_model = std::move(m);
  v->result = calc::recalculate(v->own_model);
  simple = std::move(v);
}

void test_host::set_compound(calc::compound_model m) {
  auto v = std::make_unique<views::compound_values>();
  v->model = std::move(m);
  v->result = calc::recalculate_compound(v->model);
  // As a compound document window keeps them: each chapter's run over its model.
  for (size_t k = 0; k < v->model.chapters.size(); ++k) {
    auto c = std::make_unique<views::estimate_values>(v->model.chapters[k].doc);
    c->result = v->result.chapters[k];
    v->chapters.emplace_back(nullptr, std::move(c));
  }
  multi = std::move(v);
}

} // namespace kovra::test
