#include "calc/summaries.h"

#include <algorithm>

#include "document/collation.h"
#include "calc/rounding.h"
#include "store/codepage.h"

namespace kovra::calc {

std::vector<int> inputs_by_name(const std::vector<price_record>& prices, uint8_t kind) {
  std::vector<int> order;
  for (size_t i = 0; i < prices.size(); ++i)
    if (prices[i].kind == kind) order.push_back(static_cast<int>(i));
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return document::compare_names(prices[static_cast<size_t>(a)].name, prices[static_cast<size_t>(b)].name) < 0;
  });
  return order;
}

std::vector<int> inputs_in_name_order(const estimate_model& model, uint8_t kind) {
  if (model.name_order.empty()) return inputs_by_name(model.prices, kind);
  std::vector<int> order;
  std::vector<bool> listed(model.prices.size(), false);
  for (int index : model.name_order) {
    if (index < 0 || static_cast<size_t>(index) >= model.prices.size() || listed[static_cast<size_t>(index)]) continue;
    if (model.prices[static_cast<size_t>(index)].kind != kind) continue;
    listed[static_cast<size_t>(index)] = true;
    order.push_back(index);
  }
  for (int index : inputs_by_name(model.prices, kind))
    if (!listed[static_cast<size_t>(index)]) order.push_back(index);
  return order;
}

int first_of_kind(const std::vector<price_record>& prices, uint8_t kind) {
  const auto order = inputs_by_name(prices, kind);
  return order.empty() ? -1 : order.front();
}

int last_of_kind(const std::vector<price_record>& prices, uint8_t kind) {
  const auto order = inputs_by_name(prices, kind);
  return order.empty() ? -1 : order.back();
}

namespace {
int step_by_name(const std::vector<price_record>& prices, int index, int step) {
  if (index < 0 || static_cast<size_t>(index) >= prices.size()) return -1;
  const auto order = inputs_by_name(prices, prices[static_cast<size_t>(index)].kind);
  const auto it = std::find(order.begin(), order.end(), index);
  const long at = (it - order.begin()) + step;
  return at >= 0 && at < static_cast<long>(order.size()) ? order[static_cast<size_t>(at)] : -1;
}
} // namespace

int next_by_name(const std::vector<price_record>& prices, int index) { return step_by_name(prices, index, 1); }
int previous_by_name(const std::vector<price_record>& prices, int index) { return step_by_name(prices, index, -1); }

int find_input(const std::vector<price_record>& prices, uint32_t id, uint16_t sub) {
  for (size_t i = 0; i < prices.size(); ++i)
    if (prices[i].id == id && prices[i].sub == sub) return static_cast<int>(i);
  return -1;
}

summary_line summary_line_of(const price_record& r) {
  summary_line l;
  if (r.id < 9999999) l.number = r.id;
  l.quantity = r.quantity;
  l.price = r.price;
  l.base_price = r.kind == kind_material ? r.base_price : r.price;
  switch (r.kz_mode & 0x7f) {
    case 4: l.kz = kz_shown::percent; break;
    case 5: l.kz = kz_shown::per_unit; break;
    case 6:
    case 7: l.kz = kz_shown::amount; break;
    default: l.kz = kz_shown::none; break;
  }
  l.kz_value = r.kz_value;
  const double iq = round_amount_auto(r.investor_quantity);
  if (r.mp_mode == 1) l.investor_value = iq * r.price;
  else if (r.mp_mode == 2) l.investor_value = iq * l.base_price;
  l.value = round_money(round_amount_auto(r.quantity) * r.price) - round_money(l.investor_value);
  l.excluded_quantity = r.excluded_quantity;
  l.excluded_value = r.excluded_quantity * r.price;
  l.base_material = r.base_material != 0;
  return l;
}

summary_group summary_group_of(const estimate_totals& t, uint8_t kind) {
  auto mz = [](const char* utf8) { return store::utf8_to_mazovia(utf8); };
  summary_group g;
  g.closing_title = mz("Razem (z dokładnością do zaokrągleń):");
  if (kind == kind_labour) {
    g.extras = {{mz("Uproszczone :"), t.simplified_labour}};
    g.total = t.labour + t.simplified_labour;
    g.hours = t.labour_hours;
  } else if (kind == kind_material) {
    g.extras = {{mz("Uproszczone :"), t.simplified_materials},
                {mz("Materiały pomocnicze (Robocizna):"), t.materials_other_r},
                {mz("Materiały pomocnicze (Materiały):"), t.materials_other_m}};
    g.total = t.materials - t.investor_materials + t.materials_other + t.simplified_materials;
  } else {
    g.extras = {{mz("Uproszczone :"), t.simplified_equipment},
                {mz("Sprzęt pomocniczy (Robocizna):"), t.equipment_other_r},
                {mz("Sprzęt pomocniczy (Sprzęt):"), t.equipment_other_s},
                {mz("Koszty jednorazowe sprzętu :"), t.one_off}};
    g.total = t.equipment + t.simplified_equipment + t.equipment_other;
    g.hours = t.equipment_hours;
  }
  g.total = round_money(g.total);
  return g;
}

} // namespace kovra::calc
