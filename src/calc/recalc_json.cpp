#include "calc/recalc_json.h"

#include <nlohmann/json.hpp>

#include "store/codepage.h"

namespace kovra::calc {

namespace {

using nlohmann::json;

std::string utf8(const std::string& mazovia) { return store::mazovia_to_utf8(mazovia); }

json nodes_json(const estimate_model& model) {
  json nodes = json::array();
  for (const model_node& n : model.nodes) {
    if (n.depth < 0) continue;
    nodes.push_back({{"pos", n.pos}, {"type", n.type}, {"depth", n.depth}, {"number", utf8(n.number)},
                     {"net", n.net}, {"gross", n.gross}});
  }
  return nodes;
}

json inputs_json(const input_table& table) {
  json inputs = json::array();
  for (const input_table_entry& e : table.entries()) {
    inputs.push_back({{"kind", e.rec.kind}, {"id", e.rec.id}, {"sub", e.rec.sub}, {"name", utf8(e.rec.name)},
                      {"unit", utf8(e.rec.unit)}, {"price", e.price}, {"base_price", e.base_price},
                      {"quantity", e.rec.quantity}, {"excluded_quantity", e.rec.excluded_quantity},
                      {"investor_quantity", e.rec.investor_quantity}});
  }
  return inputs;
}

} // namespace

json totals_json(const estimate_totals& t) {
  return {{"labour", t.labour},
          {"materials", t.materials},
          {"equipment", t.equipment},
          {"materials_base", t.materials_base},
          {"labour_hours", t.labour_hours},
          {"equipment_hours", t.equipment_hours},
          {"investor_materials", t.investor_materials},
          {"investor_materials_base", t.investor_materials_base},
          {"materials_other", t.materials_other},
          {"equipment_other", t.equipment_other},
          {"simplified_labour", t.simplified_labour},
          {"simplified_materials", t.simplified_materials},
          {"simplified_equipment", t.simplified_equipment},
          {"one_off", t.one_off},
          {"additions", t.additions},
          {"net", t.net},
          {"vat", t.vat},
          {"gross", t.gross}};
}

json simple_recalc_json(const std::string& file, const estimate_model& model, const recalc_result& r) {
  return {{"file", file},
          {"kind", "simple"},
          {"calc_method", model.settings.calc_method},
          {"totals", totals_json(r.totals)},
          {"nodes", nodes_json(model)},
          {"inputs", inputs_json(r.table)}};
}

json compound_recalc_json(const std::string& file, const compound_model& model, const compound_result& r) {
  json inputs = json::array();
  for (const summary_record& s : model.summary) {
    inputs.push_back({{"kind", s.kind}, {"id", s.id}, {"sub", s.sub}, {"name", utf8(s.name)}, {"unit", utf8(s.unit)},
                      {"quantity", s.quantity}, {"value", s.value}, {"excluded_quantity", s.excluded_quantity},
                      {"excluded_value", s.excluded_value}});
  }
  json chapters = json::array();
  for (size_t i = 0; i < model.chapters.size(); ++i) {
    const chapter_model& c = model.chapters[i];
    if (!c.available) continue;
    json totals = totals_json(r.chapters[i].totals);
    chapters.push_back({{"number", utf8(c.number)},
                        {"name", utf8(c.doc.settings.name)},
                        {"storage", c.storage_name},
                        {"quantity", c.quantity},
                        {"precision_code", c.precision_code},
                        {"totals", totals},
                        {"nodes", nodes_json(c.doc)},
                        {"inputs", inputs_json(r.chapters[i].table)}});
  }
  return {{"file", file},
          {"kind", "compound"},
          {"calc_method", model.settings.calc_method},
          {"totals", totals_json(r.totals)},
          {"inputs", inputs},
          {"chapters", chapters}};
}

} // namespace kovra::calc
