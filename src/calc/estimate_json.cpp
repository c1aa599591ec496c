#include "calc/estimate_json.h"

#include <nlohmann/json.hpp>

#include "calc/rounding.h"
#include "shell/overhead_defaults.h"
#include "store/codepage.h"
#include "store/file_header.h"

namespace kovra::calc {

namespace {

using nlohmann::json;

// Bounds that keep a hostile file from asking for absurd amounts of memory.
constexpr size_t max_nodes = 1000000;
constexpr size_t max_entries = 10000;

double num(const json& j, const char* key, double fallback) {
  auto it = j.find(key);
  return it != j.end() && it->is_number() ? it->get<double>() : fallback;
}
long long integer(const json& j, const char* key, long long fallback) {
  auto it = j.find(key);
  if (it == j.end() || !it->is_number()) return fallback;
  const double v = it->get<double>();
  return v > -9.2e18 && v < 9.2e18 ? static_cast<long long>(v) : fallback;
}
std::string text(const json& j, const char* key, const char* fallback) {
  auto it = j.find(key);
  return store::utf8_to_mazovia(it != j.end() && it->is_string() ? it->get<std::string>() : std::string(fallback));
}

void read_overheads(const json& j, overhead_table& t) {
  auto rows = j.find("rows");
  if (rows != j.end() && rows->is_array()) {
    for (size_t r = 0; r < rows->size() && r < overhead_rows; ++r) {
      const json& row = (*rows)[r];
      if (!row.is_object()) continue;
      t.rows[r].name = text(row, "name", "");
      auto rates = row.find("rates");
      if (rates == row.end() || !rates->is_array()) continue;
      for (size_t c = 0; c < rates->size() && c < overhead_columns; ++c)
        if ((*rates)[c].is_number()) t.rows[r].rates[c] = static_cast<float>((*rates)[c].get<double>());
    }
  }
  t.kp_plus_cz = static_cast<int16_t>(integer(j, "kp_plus_cz", 0));
  t.kp_plus_ws = static_cast<int16_t>(integer(j, "kp_plus_ws", 0));
  t.z_plus_cz = static_cast<int16_t>(integer(j, "z_plus_cz", 0));
  t.z_plus_ws = static_cast<int16_t>(integer(j, "z_plus_ws", 0));
  t.head = static_cast<int16_t>(integer(j, "head", 5));
  t.tail = 1.0; // always 1.0; another value is replaced on opening
}

void read_settings(const json& g, estimate_settings& s) {
  s.name = text(g, "name", "");
  s.calc_method = static_cast<uint8_t>(integer(g, "calc_method", 0));
  s.overheads_per_position = static_cast<uint8_t>(integer(g, "overheads_per_position", 0));
  s.profit_per_component = static_cast<uint8_t>(integer(g, "profit_per_component", 0));
  s.investor_table = static_cast<uint8_t>(integer(g, "investor_table", s.calc_method == method_investor ? 1 : 0));
  s.merged_value_correction = static_cast<uint8_t>(integer(g, "merged_value_correction", 0));
  s.multiplicity_in_unit = static_cast<uint8_t>(integer(g, "multiplicity_in_unit", 0));
  s.prices_with_kz = static_cast<uint8_t>(integer(g, "prices_with_kz", 0));
  s.labour_rate = num(g, "labour_rate", 0);
  s.purchase_cost_percent = static_cast<float>(num(g, "purchase_cost_percent", 0));
  // Setting the purchase-cost percentage gives its value to each of the two rates not set.
  // The two rates are stored plus one (0 none).
  const double from_percent = s.purchase_cost_percent != 0 ? round_percent(s.purchase_cost_percent) + 1 : 0;
  auto rate = [](double stored) { return stored - 1 >= 0 ? stored - 1 : 0; };
  s.kz_rate_simplified = rate(num(g, "kz_rate_simplified", from_percent));
  s.kz_rate_other = rate(num(g, "kz_rate_other", from_percent));
  s.coef = {static_cast<float>(num(g, "coef_r", 1)), static_cast<float>(num(g, "coef_m", 1)),
            static_cast<float>(num(g, "coef_s", 1))};
}

bool read_inputs(const json& j, model_node& n, std::string& error) {
  n.has_inputs = true;
  n.current_variant = static_cast<int>(integer(j, "current", 0));
  auto variants = j.find("variants");
  if (variants == j.end() || !variants->is_array()) return true;
  for (const json& v : *variants) {
    if (!v.is_object()) continue;
    input_variant var;
    var.name = text(v, "name", "");
    var.short_name = text(v, "short_name", "");
    auto entries = v.find("entries");
    if (entries != v.end() && entries->is_array()) {
      if (entries->size() > max_entries) {
        error = "too many inputs in one variant";
        return false;
      }
      for (const json& e : *entries) {
        if (!e.is_object()) continue;
        input_entry in;
        in.kind = static_cast<uint8_t>(integer(e, "kind", 0));
        in.id = static_cast<uint32_t>(integer(e, "id", 0));
        in.sub = static_cast<uint16_t>(integer(e, "sub", 0));
        in.norm = num(e, "norm", 0);
        in.coef = static_cast<float>(num(e, "coef", 1));
        in.excluded = static_cast<uint8_t>(integer(e, "excluded", 0));
        in.mp_mode = static_cast<uint8_t>(integer(e, "mp_mode", 0));
        in.blocked = static_cast<uint8_t>(integer(e, "blocked", 0));
        var.entries.push_back(in);
      }
    }
    n.variants.push_back(std::move(var));
  }
  if (n.current_variant < 0 || n.current_variant >= static_cast<int>(n.variants.size())) n.current_variant = 0;
  return true;
}

bool read_node(const json& j, size_t index, size_t count, model_node& n, std::string& error) {
  n.pos = static_cast<int32_t>(index);
  n.type = static_cast<int16_t>(integer(j, "type", node_position));
  n.level = static_cast<uint8_t>(integer(j, "level", n.type == node_element || n.type == node_group ? 0 : 1));
  n.flags = static_cast<uint8_t>(integer(j, "flags", 0));
  n.number = text(j, "number", "");
  n.unit = text(j, "unit", "???    ");
  n.description = text(j, "description", "");
  n.net = num(j, "net", 0);
  n.gross = num(j, "gross", 0);
  n.coef = {static_cast<float>(num(j, "coef_r", 1)), static_cast<float>(num(j, "coef_m", 1)),
            static_cast<float>(num(j, "coef_s", 1))};
  switch (n.type) {
    case node_position:
    case node_position_plain:
    case node_simplified:
    case node_simplified_plain: {
      n.column_number = static_cast<int16_t>(integer(j, "column_number", 0));
      n.quantity = num(j, "quantity", 0);
      n.multiplicity = static_cast<float>(num(j, "multiplicity", 1));
      n.precision_code = static_cast<int8_t>(integer(j, "precision_code", 0));
      n.unit_price = {num(j, "unit_price_r", 0), num(j, "unit_price_m", 0), num(j, "unit_price_s", 0),
                      num(j, "unit_price_all_in", 0)};
      auto inputs = j.find("inputs");
      if (inputs != j.end() && inputs->is_object() && !read_inputs(*inputs, n, error)) return false;
      break;
    }
    case node_element:
    case node_group:
      n.divisor = static_cast<float>(num(j, "divisor", 1));
      n.merged_unit_price = num(j, "merged_unit_price", 0);
      n.merged = static_cast<uint8_t>(integer(j, "merged", 0));
      n.merged_precision_code = static_cast<int8_t>(integer(j, "merged_precision_code", 0));
      n.merged_quantity = num(j, "merged_quantity", 0);
      break;
    case node_one_off: {
      n.one_off_amount = num(j, "one_off_amount", 0);
      n.one_off_count = num(j, "one_off_count", 0);
      n.one_off_distance = static_cast<float>(num(j, "one_off_distance", 0));
      static const double default_norms[4] = {1.0, 1.0, 5.0, 5.0};
      for (int l = 0; l < 4; ++l) {
        const std::string p = "line" + std::to_string(l) + "_";
        n.lines[l].value = num(j, (p + "value").c_str(), 0);
        n.lines[l].price = num(j, (p + "price").c_str(), 0);
        n.lines[l].quantity = num(j, (p + "quantity").c_str(), 0);
        n.lines[l].norm = num(j, (p + "norm").c_str(), default_norms[l]);
      }
      break;
    }
    case node_scaffold: {
      n.scaffold_input_id = static_cast<uint32_t>(integer(j, "scaffold_input_id", 0));
      n.scaffold_input_sub = static_cast<uint16_t>(integer(j, "scaffold_input_sub", 0));
      n.scaffold_labour_hours = num(j, "scaffold_labour_hours", 0);
      n.scaffold_w = num(j, "scaffold_w", 1.0);
      n.scaffold_s = static_cast<int16_t>(integer(j, "scaffold_s", 1));
      n.scaffold_p = num(j, "scaffold_p", 1.0);
      n.scaffold_sets = static_cast<int16_t>(integer(j, "scaffold_sets", 1));
      n.scaffolds_per_set = num(j, "scaffolds_per_set", 1.0);
      n.scaffold_k = static_cast<int32_t>(integer(j, "scaffold_k", 1));
      n.scaffold_count_code = static_cast<int8_t>(integer(j, "scaffold_count_code", 1));
      n.unit2 = text(j, "unit2", "???    ");
      auto links = j.find("links");
      if (links != j.end() && links->is_array()) {
        for (const json& l : *links) {
          if (!l.is_number_integer()) continue;
          const long long v = l.get<long long>();
          if (v >= 0 && static_cast<size_t>(v) < count) n.links.push_back(static_cast<int>(v));
        }
      }
      break;
    }
    default: break;
  }
  return true;
}

// The format revision of the file the JSON describes (as a build of it would write it),
// and the upgrades opening such a file applies to the settings: below revision 6 the R, M
// and S coefficients become 1.0, below 7 "Krotność w wartości jednostkowej" is cleared.
int revision_of(const json& doc) {
  auto header = doc.find("header");
  const json& h = header != doc.end() && header->is_object() ? *header : json::object();
  if (integer(h, "version", store::CONTAINER_VERSION) != store::CONTAINER_VERSION) return 1 << 15; // no upgrades
  return static_cast<int>(integer(h, "revision", store::header_template().revision));
}

// The overhead record of the JSON, or (none given) the defaults of the estimate's table
// together with their three settings, which the estimate then takes: what opening a file
// without an overhead record of its own does when the program has no configuration.
void read_overheads_or_defaults(const json& doc, estimate_settings& s, overhead_table& t) {
  auto oh = doc.find("overheads");
  if (oh != doc.end() && oh->is_object()) {
    t = s.investor_table ? default_investor_overheads() : default_standard_overheads();
    read_overheads(*oh, t);
    return;
  }
  shell::overhead_block block{};
  if (s.investor_table) shell::investor_overhead_defaults(block.data());
  else shell::standard_overhead_defaults(block.data());
  t = overhead_table_from_record(block.data());
  s.calc_method = block[shell::overhead_calc_method_offset];
  s.overheads_per_position = block[shell::overhead_per_position_offset];
  s.profit_per_component = block[shell::overhead_profit_per_component_offset];
}

void upgrade_settings(estimate_settings& s, int revision) {
  if (revision < 6) s.coef = {1.0f, 1.0f, 1.0f};
  if (revision < 7) s.multiplicity_in_unit = 0;
}

bool read_estimate(const json& doc, estimate_model& m, std::string& error, int revision) {
  if (!doc.is_object()) {
    error = "not an estimate: the JSON document is not an object";
    return false;
  }
  auto general = doc.find("general");
  if (general != doc.end() && general->is_object()) read_settings(*general, m.settings);
  upgrade_settings(m.settings, revision);
  read_overheads_or_defaults(doc, m.settings, m.overheads);
  auto additions = doc.find("additions");
  if (additions != doc.end() && additions->is_array())
    for (const json& a : *additions)
      if (a.is_object()) m.additions.push_back({text(a, "name", ""), num(a, "amount", 0)});
  auto prices = doc.find("prices");
  if (prices != doc.end() && prices->is_array()) {
    if (prices->size() > max_nodes) {
      error = "too many price records";
      return false;
    }
    int32_t pos = 0;
    for (const json& p : *prices) {
      if (!p.is_object()) continue;
      price_record r;
      r.pos = pos++;
      // Absent fields as a build of the same JSON stores them (a new record is zero).
      r.kind = static_cast<uint8_t>(integer(p, "kind", kind_labour));
      r.id = static_cast<uint32_t>(integer(p, "id", 0));
      r.sub = static_cast<uint16_t>(integer(p, "sub", 0));
      r.unit = text(p, "unit", "");
      r.name = text(p, "name", "");
      r.price = num(p, "price", 0);
      r.base_price = num(p, "base_price", r.price);
      r.quantity = num(p, "quantity", 0);
      r.other_quantity = num(p, "other_quantity", 0);
      r.excluded_quantity = num(p, "excluded_quantity", 0);
      r.kz_mode = static_cast<uint8_t>(integer(p, "kz_mode", 0));
      r.kz_value = num(p, "kz_value", 0);
      r.investor_quantity = num(p, "investor_quantity", 0);
      r.base_material = static_cast<uint8_t>(integer(p, "base_material", 0));
      r.mp_mode = static_cast<uint8_t>(integer(p, "mp_mode", 0));
      m.prices.push_back(std::move(r));
    }
  }
  auto nodes = doc.find("nodes");
  if (nodes != doc.end() && nodes->is_array()) {
    if (nodes->size() > max_nodes) {
      error = "too many nodes";
      return false;
    }
    m.nodes.resize(nodes->size());
    for (size_t i = 0; i < nodes->size(); ++i) {
      const json& n = (*nodes)[i];
      if (!n.is_object()) {
        m.nodes[i].type = 8; // not a node: left out of the tree
        continue;
      }
      if (!read_node(n, i, nodes->size(), m.nodes[i], error)) return false;
    }
  }
  build_tree(m);
  settle_scaffold_links(m);
  return true;
}

} // namespace

bool json_is_compound(const nlohmann::json& doc) { return doc.is_object() && doc.contains("chapters"); }

bool estimate_from_json(const nlohmann::json& doc, estimate_model& model, std::string& error) {
  model = estimate_model{};
  try {
    return read_estimate(doc, model, error, revision_of(doc));
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
}

bool compound_from_json(const nlohmann::json& doc, compound_model& model, std::string& error) {
  model = compound_model{};
  try {
    if (!json_is_compound(doc) || !doc["chapters"].is_array()) {
      error = "not a compound estimate: no chapter list";
      return false;
    }
    auto general = doc.find("general");
    if (general != doc.end() && general->is_object()) read_settings(*general, model.settings);
    read_overheads_or_defaults(doc, model.settings, model.overheads);
    auto additions = doc.find("additions");
    if (additions != doc.end() && additions->is_array())
      for (const nlohmann::json& a : *additions)
        if (a.is_object()) model.additions.push_back({text(a, "name", ""), num(a, "amount", 0)});
    for (const nlohmann::json& c : doc["chapters"]) {
      if (!c.is_object()) continue;
      chapter_model ch;
      ch.number = text(c, "number", "");
      ch.storage_name = text(c, "storage_name", "internal");
      ch.quantity = num(c, "quantity", 1.0);
      ch.precision_code = static_cast<int8_t>(integer(c, "precision_code", 3)); // a signed code in its byte
      auto d = c.find("document");
      if (d == c.end() || !d->is_object()) {
        ch.available = false;
      } else if (!read_estimate(*d, ch.doc, error, revision_of(doc))) { // chapters go by the compound's header
        return false;
      }
      model.chapters.push_back(std::move(ch));
    }
    return true;
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
}

} // namespace kovra::calc
