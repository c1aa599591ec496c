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
  const auto of_kind = std::count_if(model.prices.begin(), model.prices.end(),
                                     [&](const price_record& p) { return p.kind == kind; });
  if (static_cast<long>(order.size()) == of_kind) return order;  // the key names them all
  for (int index : inputs_by_name(model.prices, kind))
    if (!listed[static_cast<size_t>(index)]) order.push_back(index);
  return order;
}

name_walk::name_walk(const estimate_model& model) : prices_(model.prices), place_(model.prices.size(), -1) {
  std::vector<uint8_t> kinds;
  for (const price_record& p : prices_)
    if (std::find(kinds.begin(), kinds.end(), p.kind) == kinds.end()) kinds.push_back(p.kind);
  std::sort(kinds.begin(), kinds.end());  // the key begins with the kind
  for (uint8_t kind : kinds)
    for (int index : inputs_in_name_order(model, kind)) {
      place_[static_cast<size_t>(index)] = static_cast<int>(order_.size());
      order_.push_back(index);
    }
}

int name_walk::step(int index, int by) const {
  if (index < 0 || static_cast<size_t>(index) >= prices_.size() || place_[static_cast<size_t>(index)] < 0) return -1;
  const long at = place_[static_cast<size_t>(index)] + by;
  if (at < 0 || at >= static_cast<long>(order_.size())) return -1;
  const int other = order_[static_cast<size_t>(at)];
  return prices_[static_cast<size_t>(other)].kind == prices_[static_cast<size_t>(index)].kind ? other : -1;
}

int name_walk::first_of_kind(uint8_t kind) const {
  for (int index : order_)
    if (prices_[static_cast<size_t>(index)].kind == kind) return index;
  return -1;
}

int name_walk::last_of_kind(uint8_t kind) const {
  for (auto it = order_.rbegin(); it != order_.rend(); ++it)
    if (prices_[static_cast<size_t>(*it)].kind == kind) return *it;
  return -1;
}

int name_walk::next_by_name(int index) const { return step(index, 1); }
int name_walk::previous_by_name(int index) const { return step(index, -1); }

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
  g.total = round_total(g.total);  // the setting's step: the line says "to rounding"
  return g;
}

} // namespace kovra::calc
