#include "document/estimate_json.h"

#include "document/chapter_record.h"
#include "document/collation.h"
#include "document/data_chain.h"
#include "document/elpz_record.h"
#include "document/estimate_layout.h"
#include "document/general_data.h"
#include "document/inputs_block.h"
#include "document/node_blocks.h"
#include "document/scaffold_links.h"
#include "document/zest_record.h"
#include "store/codepage.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <unordered_map>

namespace kovra::document {

using nlohmann::json;

namespace {

// ---- values ------------------------------------------------------------------------

std::string to_utf8(std::string_view mazovia) { return store::mazovia_to_utf8(mazovia); }
std::string to_mazovia(const std::string& utf8) { return store::utf8_to_mazovia(utf8); }

json double_json(double d) {
  if (!std::isfinite(d)) return nullptr;
  return d;
}

// A float as the shortest decimal that reads back as the same float.
json float_json(float f) {
  if (!std::isfinite(f)) return nullptr;
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, f);
  *r.ptr = 0;
  return std::strtod(buf, nullptr);
}

std::string hex_of(std::span<const uint8_t> bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

std::optional<std::vector<uint8_t>> bytes_of_hex(const std::string& hex) {
  if (hex.size() % 2) return std::nullopt;
  std::vector<uint8_t> out;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    unsigned v = 0;
    auto r = std::from_chars(hex.data() + i, hex.data() + i + 2, v, 16);
    if (r.ec != std::errc() || r.ptr != hex.data() + i + 2) return std::nullopt;
    out.push_back(uint8_t(v));
  }
  return out;
}

// ---- builder errors ----------------------------------------------------------------

struct build_error {
  std::string text;
};

[[noreturn]] void fail(const std::string& where, const std::string& what) { throw build_error{where + ": " + what}; }

double number_of(const json& v, const std::string& where) {
  if (v.is_null()) return std::numeric_limits<double>::quiet_NaN();
  if (!v.is_number()) fail(where, "a number is expected");
  return v.get<double>();
}

int64_t integer_of(const json& v, const std::string& where, int64_t low, int64_t high) {
  if (!v.is_number_integer() && !(v.is_number_float() && std::floor(v.get<double>()) == v.get<double>()))
    fail(where, "a whole number is expected");
  double d = v.get<double>();
  if (d < double(low) || d > double(high)) fail(where, "out of range");
  return v.is_number_unsigned() ? int64_t(v.get<uint64_t>()) : v.is_number_integer() ? v.get<int64_t>() : int64_t(d);
}

std::string text_of(const json& v, const std::string& where) {
  if (!v.is_string()) fail(where, "a text is expected");
  return v.get<std::string>();
}

const json* member(const json& obj, const char* name) {
  auto it = obj.find(name);
  return it == obj.end() || it->is_null() ? nullptr : &*it;
}

// ---- generic fields ----------------------------------------------------------------

json field_json(const uint8_t* rec, const field_def& f) {
  const uint8_t* p = rec + f.offset;
  switch (f.kind) {
  case field_kind::u8: return get_u8(p);
  case field_kind::i8: return get_i8(p);
  case field_kind::u16: return get_u16(p);
  case field_kind::i16: return get_i16(p);
  case field_kind::u32: return get_u32(p);
  case field_kind::i32:
  case field_kind::pos: return get_i32(p);
  case field_kind::f32: return float_json(get_f32(p));
  case field_kind::f64: return double_json(get_f64(p));
  case field_kind::text:
  case field_kind::fixed_text: return to_utf8(get_text(p, f.width));
  }
  return nullptr;
}

void set_field(uint8_t* rec, const field_def& f, const json& v, const std::string& where) {
  uint8_t* p = rec + f.offset;
  switch (f.kind) {
  case field_kind::u8: put_u8(p, uint8_t(integer_of(v, where, 0, 255))); break;
  // Signed bytes (precision codes) are dumped as -128..127; a stored byte 128..255, as
  // earlier dumps wrote it, stands for the same byte.
  case field_kind::i8: put_u8(p, uint8_t(integer_of(v, where, -128, 255))); break;
  case field_kind::u16: put_u16(p, uint16_t(integer_of(v, where, 0, 65535))); break;
  case field_kind::i16: put_i16(p, int16_t(integer_of(v, where, -32768, 32767))); break;
  case field_kind::u32: put_u32(p, uint32_t(integer_of(v, where, 0, 4294967295LL))); break;
  case field_kind::i32:
  case field_kind::pos: put_i32(p, int32_t(integer_of(v, where, INT32_MIN, INT32_MAX))); break;
  case field_kind::f32: put_f32(p, float(number_of(v, where))); break;
  case field_kind::f64: put_f64(p, number_of(v, where)); break;
  case field_kind::text: put_text(p, f.width, to_mazovia(text_of(v, where))); break;
  case field_kind::fixed_text: put_fixed_text(p, f.width, to_mazovia(text_of(v, where))); break;
  }
}

void fields_to_json(json& out, const uint8_t* rec, std::span<const field_def> fields) {
  for (const field_def& f : fields)
    if (f.name) out[f.name] = field_json(rec, f);
}

void fields_from_json(uint8_t* rec, std::span<const field_def> fields, const json& obj, const std::string& where) {
  for (const field_def& f : fields) {
    if (!f.name) continue;
    auto it = obj.find(f.name);
    if (it != obj.end()) set_field(rec, f, *it, where + "." + f.name);
  }
}

// Runs of non-zero bytes that no field covers, below `limit`.
json unnamed_json(const uint8_t* rec, const std::vector<bool>& covered, std::size_t limit) {
  json runs = json::array();
  std::size_t i = 0;
  while (i < limit) {
    if (covered[i] || rec[i] == 0) {
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j < limit && !covered[j] && rec[j] != 0) ++j;
    runs.push_back({{"offset", i}, {"hex", hex_of(std::span(rec + i, j - i))}});
    i = j;
  }
  return runs;
}

void unnamed_from_json(uint8_t* rec, std::size_t size, const json& obj, const std::string& where) {
  auto it = obj.find("unnamed");
  if (it == obj.end()) return;
  if (!it->is_array()) fail(where + ".unnamed", "a list is expected");
  for (const json& run : *it) {
    if (!run.is_object() || !run.contains("offset") || !run.contains("hex")) fail(where + ".unnamed", "bad run");
    auto off = std::size_t(integer_of(run["offset"], where + ".unnamed.offset", 0, int64_t(size)));
    auto bytes = bytes_of_hex(text_of(run["hex"], where + ".unnamed.hex"));
    if (!bytes || off + bytes->size() > size) fail(where + ".unnamed", "bad bytes");
    std::copy(bytes->begin(), bytes->end(), rec + off);
  }
}

// ---- parts of the dump ---------------------------------------------------------------

json header_json(const store::file_header& h) {
  return {{"file_type", h.file_type},
          {"version", h.version},
          {"revision", h.revision},
          {"kind", h.kind()},
          {"compressed", h.compressed()},
          {"label", to_utf8(get_text(reinterpret_cast<const uint8_t*>(h.label.data()), h.label.size()))},
          {"creator", to_utf8(get_text(reinterpret_cast<const uint8_t*>(h.creator.data()), h.creator.size()))},
          {"description", to_utf8(store::header_description(h))}};
}

store::file_header header_from_json(const json& j, int default_kind) {
  store::file_header h = store::header_template();
  h.file_type = store::FILE_TYPE_ESTIMATE;
  h.version = store::CONTAINER_VERSION;
  int kind = default_kind;
  bool compressed = true;
  if (j.is_object()) {
    if (j.contains("revision")) h.revision = int16_t(integer_of(j["revision"], "header.revision", -32768, 32767));
    if (j.contains("kind")) kind = int(integer_of(j["kind"], "header.kind", 1, 2));
    if (j.contains("compressed")) {
      if (!j["compressed"].is_boolean()) fail("header.compressed", "true or false is expected");
      compressed = j["compressed"].get<bool>();
    }
    if (j.contains("label")) put_text(reinterpret_cast<uint8_t*>(h.label.data()), h.label.size(), to_mazovia(text_of(j["label"], "header.label")));
    if (j.contains("creator"))
      put_text(reinterpret_cast<uint8_t*>(h.creator.data()), h.creator.size(), to_mazovia(text_of(j["creator"], "header.creator")));
    if (j.contains("description")) store::set_header_description(h, to_mazovia(text_of(j["description"], "header.description")));
  }
  h.flags = uint8_t((h.flags & ~store::HEADER_KIND_MASK & ~store::HEADER_COMPRESSED) | kind |
                    (compressed ? store::HEADER_COMPRESSED : 0));
  return h;
}

json overhead_json(const std::optional<overhead_record>& o) {
  if (!o) return nullptr;
  json rows = json::array();
  for (int r = 0; r < int(OVERHEAD_ROWS); ++r) {
    json rates = json::array();
    for (int c = 0; c < int(OVERHEAD_RATES); ++c) rates.push_back(float_json(o->rate(r, c)));
    rows.push_back({{"name", to_utf8(o->row_name(r))}, {"rates", rates}});
  }
  return {{"rows", rows},
          {"kp_plus_cz", o->switch_value(0)},
          {"kp_plus_ws", o->switch_value(1)},
          {"z_plus_cz", o->switch_value(2)},
          {"z_plus_ws", o->switch_value(3)},
          {"head", o->head()},
          {"tail", double_json(o->tail())}};
}

overhead_record overhead_from_json(const json& j, const std::string& where) {
  if (!j.is_object()) fail(where, "an overhead record is expected");
  overhead_record o = new_overhead_record();
  if (j.contains("rows")) {
    const json& rows = j["rows"];
    if (!rows.is_array() || rows.size() > OVERHEAD_ROWS) fail(where + ".rows", "at most 12 rows");
    for (std::size_t r = 0; r < rows.size(); ++r) {
      std::string w = where + ".rows[" + std::to_string(r) + "]";
      if (rows[r].contains("name")) o.set_row_name(int(r), to_mazovia(text_of(rows[r]["name"], w + ".name")));
      if (rows[r].contains("rates")) {
        const json& rates = rows[r]["rates"];
        if (!rates.is_array() || rates.size() > OVERHEAD_RATES) fail(w + ".rates", "at most 7 rates");
        for (std::size_t c = 0; c < rates.size(); ++c) o.set_rate(int(r), int(c), float(number_of(rates[c], w + ".rates")));
      }
    }
  }
  const char* switches[4] = {"kp_plus_cz", "kp_plus_ws", "z_plus_cz", "z_plus_ws"};
  for (int k = 0; k < 4; ++k)
    if (j.contains(switches[k])) o.set_switch(k, int16_t(integer_of(j[switches[k]], where + "." + switches[k], -32768, 32767)));
  if (j.contains("head")) o.set_head(int16_t(integer_of(j["head"], where + ".head", -32768, 32767)));
  if (j.contains("tail")) o.set_tail(number_of(j["tail"], where + ".tail"));
  return o;
}

json text_json(const std::optional<std::string>& t) { return t ? json(to_utf8(*t)) : json(nullptr); }

// Fields of a node record that the JSON shows: the type's fields and the description.
std::vector<bool> node_coverage(int type) {
  std::vector<bool> covered = covered_bytes(elpz_fields(type), ELPZ_MAX);
  int d = description_offset(type);
  if (d >= 0)
    for (std::size_t i = std::size_t(d); i < ELPZ_MAX; ++i) covered[i] = true;
  return covered;
}

json inputs_json(const inputs_block& b, int current) {
  json variants = json::array();
  for (const input_variant& v : b.variants) {
    json entries = json::array();
    for (const input_entry& e : v.entries)
      entries.push_back({{"kind", e.kind}, {"id", e.id}, {"sub", e.sub}, {"norm", double_json(e.norm)},
                         {"coef", float_json(e.coef)}, {"excluded", e.excluded}, {"mp_mode", e.mp_mode},
                         {"blocked", e.blocked}});
    variants.push_back({{"name", to_utf8(v.name)}, {"short_name", to_utf8(v.short_name)}, {"entries", entries}});
  }
  return {{"current", current}, {"variants", variants}};
}

inputs_block inputs_from_json(const json& j, const std::string& where) {
  inputs_block b;
  if (!j.is_object() || !j.contains("variants") || !j["variants"].is_array()) fail(where, "inputs need variants");
  const json& variants = j["variants"];
  if (variants.size() > 32767) fail(where, "too many variants");
  for (std::size_t k = 0; k < variants.size(); ++k) {
    std::string w = where + ".variants[" + std::to_string(k) + "]";
    const json& v = variants[k];
    input_variant out;
    if (v.contains("name")) out.name = to_mazovia(text_of(v["name"], w + ".name"));
    if (v.contains("short_name")) out.short_name = to_mazovia(text_of(v["short_name"], w + ".short_name")).substr(0, 7);
    if (!out.name.empty() || !out.short_name.empty()) b.named = true;
    if (v.contains("entries")) {
      const json& entries = v["entries"];
      if (!entries.is_array() || entries.size() > 255) fail(w + ".entries", "at most 255 entries");
      for (std::size_t i = 0; i < entries.size(); ++i) {
        std::string we = w + ".entries[" + std::to_string(i) + "]";
        const json& e = entries[i];
        input_entry in;
        if (e.contains("kind")) in.kind = uint8_t(integer_of(e["kind"], we + ".kind", 0, 255));
        if (e.contains("id")) in.id = uint32_t(integer_of(e["id"], we + ".id", 0, 4294967295LL));
        if (e.contains("sub")) in.sub = uint16_t(integer_of(e["sub"], we + ".sub", 0, 65535));
        if (e.contains("norm")) in.norm = number_of(e["norm"], we + ".norm");
        if (e.contains("coef")) in.coef = float(number_of(e["coef"], we + ".coef"));
        if (e.contains("excluded")) in.excluded = uint8_t(integer_of(e["excluded"], we + ".excluded", 0, 255));
        if (e.contains("mp_mode")) in.mp_mode = uint8_t(integer_of(e["mp_mode"], we + ".mp_mode", 0, 255));
        if (e.contains("blocked")) in.blocked = uint8_t(integer_of(e["blocked"], we + ".blocked", 0, 255));
        out.entries.push_back(in);
      }
    }
    b.variants.push_back(std::move(out));
  }
  return b;
}

// ---- one simple document --------------------------------------------------------------

json prices_json(const record_source& m, bool compound) {
  json out = json::array();
  std::size_t limit = m.count(CHAIN_ZEST) + 1;
  std::vector<uint8_t> data;
  for (rec_pos p = m.locate(CHAIN_ZEST, FIRST_REC, NO_POS); p != NO_POS && limit-- > 0;
       p = m.locate(CHAIN_ZEST, NEXT_REC, p)) {
    if (!m.read(CHAIN_ZEST, p, data)) continue;
    json j = {{"pos", p}};
    if (compound) {
      chpt_zest_record r = chpt_zest_record::from_bytes(data);
      fields_to_json(j, r.bytes.data(), chpt_zest_fields());
      j["name"] = to_utf8(r.name());
    } else {
      zest_record r = zest_record::from_bytes(data);
      fields_to_json(j, r.bytes.data(), zest_fields());
      j["name"] = to_utf8(r.name());
    }
    out.push_back(std::move(j));
  }
  return out;
}

void general_parts_json(json& out, const record_source& m, int data_chain, const json_options&) {
  general_data g = general_data::from_bytes(m.user_header());
  json general;
  fields_to_json(general, g.bytes.data(), general_data_fields());
  general["unnamed"] = unnamed_json(g.bytes.data(), covered_bytes(general_data_fields(), GENERAL_DATA_SIZE),
                                    GENERAL_DATA_SIZE);
  out["general"] = std::move(general);

  json additions = json::array();
  for (const addition& a : read_additions(m, g, data_chain))
    additions.push_back({{"name", to_utf8(a.name)}, {"amount", double_json(a.amount)}});
  out["additions"] = std::move(additions);
  json authors = json::array();
  for (const author& a : read_authors(m, g, data_chain))
    authors.push_back({{"name", to_utf8(a.name)}, {"function", to_utf8(a.function)}});
  out["authors"] = std::move(authors);
  if (auto d = read_description_raw(m, g, data_chain)) out["description_text"] = to_utf8(*d);
  out["note"] = text_json(read_estimate_text_raw(m, g, 0, data_chain));
  out["cpv"] = text_json(read_estimate_text_raw(m, g, 1, data_chain));
  out["specification"] = text_json(read_estimate_text_raw(m, g, 2, data_chain));
  auto standard = read_overhead_record(m, g.standard_overheads_record(), data_chain);
  auto investor = read_overhead_record(m, g.investor_overheads_record(), data_chain);
  out["overheads"] = overhead_json(g.investor_table() ? investor : standard);
  out["standard_overheads"] = overhead_json(standard);
  out["investor_overheads"] = overhead_json(investor);
  if (auto pc = read_print_config(m, g.print_config_record(), data_chain)) out["print_config"] = hex_of(*pc);
}

json nodes_json(const record_source& m, const json_options& options) {
  json nodes = json::array();
  std::vector<elpz_record> records;
  std::unordered_map<rec_pos, std::size_t> index_of;
  std::size_t limit = m.count(CHAIN_ELPZ) + 1;
  std::vector<uint8_t> data;
  for (rec_pos p = m.locate(CHAIN_ELPZ, FIRST_REC, NO_POS); p != NO_POS && limit-- > 0;
       p = m.locate(CHAIN_ELPZ, NEXT_REC, p)) {
    if (!m.read(CHAIN_ELPZ, p, data)) continue;
    elpz_record r = elpz_record::from_bytes(data);
    index_of[p] = records.size();
    json j = {{"pos", p}};
    int type = r.type();
    fields_to_json(j, r.bytes.data(), elpz_fields(type));
    j["description"] = to_utf8(r.description());
    int d = description_offset(type);
    j["unnamed"] = unnamed_json(r.bytes.data(), node_coverage(type), d < 0 ? ELPZ_MAX : std::size_t(d));
    if (is_position_type(type) && r.inputs_pos() != NO_POS) j["inputs"] = inputs_json(read_inputs(m, r), r.current_variant());
    std::vector<uint8_t> survey = read_survey_bytes(m, r);
    if (!survey.empty() && options.survey && options.survey->to_json) j["survey"] = options.survey->to_json(survey);
    const char* texts[3] = {"note", "cpv", "specification"};
    for (int w = 0; w < 3; ++w)
      if (auto t = read_node_text_raw(m, r, w)) j[texts[w]] = to_utf8(*t);
    records.push_back(r);
    nodes.push_back(std::move(j));
  }
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].type() != NODE_SCAFFOLD) continue;
    json links = json::array();
    for (rec_pos p : read_scaffold_links(m, records[i]))
      if (auto it = index_of.find(p); it != index_of.end()) links.push_back(it->second);
    nodes[i]["links"] = std::move(links);
  }
  return nodes;
}

json simple_document_json(const record_source& m, const json_options& options) {
  json out;
  general_parts_json(out, m, CHAIN_DATA, options);
  out["nodes"] = nodes_json(m, options);
  out["prices"] = prices_json(m, false);
  return out;
}

// ---- building --------------------------------------------------------------------------

struct builder {
  const json_options& options;
  int surveys_skipped = 0;

  rec_pos add(record_source& m, int chain, std::vector<uint8_t> bytes) {
    return m.insert(chain, LAST_REC, NO_POS, bytes);
  }

  void general_parts(record_source& m, const json& spec, int data_chain, const std::string& where) {
    general_data g = new_general_data();
    if (spec.contains("general")) {
      const json& gj = spec["general"];
      if (!gj.is_object()) fail(where + "general", "an object is expected");
      fields_from_json(g.bytes.data(), general_data_fields(), gj, where + "general");
      unnamed_from_json(g.bytes.data(), GENERAL_DATA_SIZE, gj, where + "general");
      // A purchase-cost percentage given without the two rates sets them, as entering it
      // does; a rate the document names (a dump's, even "none") is kept as given.
      if (const float percent = g.purchase_cost_percent(); percent != 0) {
        if (!gj.contains("kz_rate_simplified")) g.set_kz_rate_simplified(percent);
        if (!gj.contains("kz_rate_other")) g.set_kz_rate_other(percent);
      }
      // A new estimate of the investor method always uses the investor table.
      if (g.calc_method() == 2 && !gj.contains("investor_table")) g.set_investor_table(1);
    }
    if (spec.contains("additions") && !spec["additions"].empty()) {
      std::vector<addition> list;
      for (const json& a : spec["additions"]) {
        addition x;
        if (a.contains("name")) x.name = to_mazovia(text_of(a["name"], where + "additions.name"));
        if (a.contains("amount")) x.amount = number_of(a["amount"], where + "additions.amount");
        list.push_back(x);
      }
      g.set_additions_record(add(m, data_chain, encode_additions(list)));
    }
    if (spec.contains("authors") && !spec["authors"].empty()) {
      std::vector<author> list;
      for (const json& a : spec["authors"]) {
        author x;
        if (a.contains("name")) x.name = to_mazovia(text_of(a["name"], where + "authors.name"));
        if (a.contains("function")) x.function = to_mazovia(text_of(a["function"], where + "authors.function"));
        list.push_back(x);
      }
      g.set_authors_record(add(m, data_chain, encode_authors(list)));
    }
    if (const json* d = member(spec, "description_text"))
      g.set_description_record(add(m, data_chain, encode_text_record(to_mazovia(text_of(*d, where + "description_text")))));
    const char* texts[3] = {"note", "cpv", "specification"};
    const int offsets[3] = {gd::NOTE_TEXT, gd::CPV_TEXT, gd::SPECIFICATION_TEXT};
    for (int w = 0; w < 3; ++w)
      if (const json* t = member(spec, texts[w]))
        put_i32(g.at(offsets[w]), add(m, data_chain, encode_text_record(to_mazovia(text_of(*t, where + texts[w])))));
    const json* standard = member(spec, "standard_overheads");
    const json* investor = member(spec, "investor_overheads");
    if (const json* current = member(spec, "overheads")) (g.investor_table() ? investor : standard) = current;
    if (standard)
      g.set_standard_overheads_record(add(m, data_chain, [&] {
        overhead_record o = overhead_from_json(*standard, where + "standard_overheads");
        return std::vector<uint8_t>(o.bytes.begin(), o.bytes.end());
      }()));
    if (investor)
      g.set_investor_overheads_record(add(m, data_chain, [&] {
        overhead_record o = overhead_from_json(*investor, where + "investor_overheads");
        return std::vector<uint8_t>(o.bytes.begin(), o.bytes.end());
      }()));
    if (const json* pc = member(spec, "print_config")) {
      auto bytes = bytes_of_hex(text_of(*pc, where + "print_config"));
      if (!bytes || bytes->size() > PRINT_CONFIG_SIZE) fail(where + "print_config", "bad print configuration");
      g.set_print_config_record(add(m, data_chain, *bytes));
    }
    m.set_user_header(g.bytes);
  }

  template <class Record>
  void prices(record_source& m, const json& spec, std::span<const field_def> fields, const std::string& where) {
    if (!spec.contains("prices")) return;
    const json& list = spec["prices"];
    if (!list.is_array()) fail(where + "prices", "a list is expected");
    for (std::size_t i = 0; i < list.size(); ++i) {
      std::string w = where + "prices[" + std::to_string(i) + "]";
      Record r;
      fields_from_json(r.bytes.data(), fields, list[i], w);
      if (list[i].contains("name")) r.set_name(to_mazovia(text_of(list[i]["name"], w + ".name")));
      // A price given without a base price has no purchase costs in it: the base price is
      // the price.
      if constexpr (std::is_same_v<Record, zest_record>) {
        if (!list[i].contains("base_price")) r.set_base_price(r.price());
      }
      key0_t k0 = r.key0();
      if (!m.key_values(KEY_BY_CODE, k0).empty())
        fail(w, "the input " + std::to_string(r.id()) + "/" + std::to_string(r.sub()) + " repeats");
      rec_pos p = m.insert(CHAIN_ZEST, LAST_REC, NO_POS, std::span(r.bytes.data(), r.used_length()));
      m.key_insert(KEY_BY_CODE, k0, p, FIRST_REC, NO_POS);
      key1_t k1 = make_key1(r.kind(), r.name());
      m.key_insert(KEY_BY_NAME, k1, p, LAST_REC, NO_POS);
    }
  }

  void nodes(record_source& m, const json& spec, const std::string& where) {
    if (!spec.contains("nodes")) return;
    const json& list = spec["nodes"];
    if (!list.is_array()) fail(where + "nodes", "a list is expected");
    std::vector<rec_pos> positions;
    std::vector<elpz_record> records;
    for (std::size_t i = 0; i < list.size(); ++i) {
      std::string w = where + "nodes[" + std::to_string(i) + "]";
      const json& n = list[i];
      if (!n.is_object() || !n.contains("type")) fail(w, "a node needs its type");
      auto type = int16_t(integer_of(n["type"], w + ".type", -32768, 32767));
      elpz_record r = new_elpz_record(type);
      int d = description_offset(type);
      unnamed_from_json(r.bytes.data(), d < 0 ? ELPZ_MAX : std::size_t(d), n, w);
      fields_from_json(r.bytes.data(), elpz_fields(type), n, w);
      r.set_i16(ep::TYPE, type);
      if (n.contains("description")) r.set_description(to_mazovia(text_of(n["description"], w + ".description")));
      if (is_position_type(type)) {
        if (const json* in = member(n, "inputs")) {
          inputs_block b = inputs_from_json(*in, w + ".inputs");
          if (n.contains("variants_named")) b.named = r.variants_named() == 1;
          r.set_i16(ep::VARIANTS_NAMED, b.named ? 1 : 0);
          r.set_i16(ep::VARIANT_COUNT, int16_t(b.variants.size()));
          if (in->contains("current"))
            r.set_current_variant(int16_t(integer_of((*in)["current"], w + ".inputs.current", -32768, 32767)));
          r.set_inputs_pos(add(m, CHAIN_RMS_BLK, encode_inputs_block(b)));
        }
      }
      if (const json* s = member(n, "survey")) {
        std::optional<std::vector<uint8_t>> bytes;
        if (options.survey && options.survey->from_json) {
          bytes = options.survey->from_json(*s);
          if (!bytes) fail(w + ".survey", "the survey lines cannot be stored");
        } else {
          ++surveys_skipped;
        }
        if (bytes && !bytes->empty()) r.set_survey_pos(add(m, CHAIN_SURVEY, *bytes));
      }
      const char* texts[3] = {"note", "cpv", "specification"};
      for (int t = 0; t < 3; ++t)
        if (const json* tx = member(n, texts[t]))
          r.set_text_pos(t, add(m, CHAIN_TEXT, encode_text_record(to_mazovia(text_of(*tx, w + "." + texts[t])))));
      positions.push_back(m.insert(CHAIN_ELPZ, LAST_REC, NO_POS, std::span(r.bytes.data(), r.used_length())));
      records.push_back(r);
    }
    // Scaffolding links name nodes by their place in the list.
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (records[i].type() != NODE_SCAFFOLD || !list[i].contains("links")) continue;
      std::string w = where + "nodes[" + std::to_string(i) + "].links";
      std::vector<rec_pos> linked;
      for (const json& k : list[i]["links"]) {
        auto idx = std::size_t(integer_of(k, w, 0, int64_t(list.size()) - 1));
        if (!is_position_type(records[idx].type())) fail(w, "a link must name a position");
        linked.push_back(positions[idx]);
        records[idx].set_scaffold_link(positions[i]);
        m.rewrite_keep_size(CHAIN_ELPZ, positions[idx], std::span(records[idx].bytes.data(), records[idx].used_length()));
      }
      records[i].set_scaffold_links_pos(add(m, CHAIN_RMS_BLK, encode_scaffold_links(linked)));
      m.rewrite_keep_size(CHAIN_ELPZ, positions[i], std::span(records[i].bytes.data(), records[i].used_length()));
    }
  }

  // General data, summary records and chapter records (sub-set positions -1) of a
  // compound estimate; the chapter records' positions in the order of "chapters".
  std::vector<rec_pos> compound_parts(record_source& m, const json& spec) {
    general_parts(m, spec, CHAIN_COMPOUND_DATA, "");
    prices<chpt_zest_record>(m, spec, chpt_zest_fields(), "");
    const json& chapters = spec.contains("chapters") ? spec["chapters"] : json::array();
    if (!chapters.is_array()) fail("chapters", "a list is expected");
    std::vector<rec_pos> out;
    for (std::size_t i = 0; i < chapters.size(); ++i) {
      std::string w = "chapters[" + std::to_string(i) + "]";
      const json& cj = chapters[i];
      if (!cj.is_object()) fail(w, "an object is expected");
      chapter_record c = new_chapter_record();
      fields_from_json(c.bytes.data(), chapter_fields(), cj, w);
      if (cj.contains("storage_name")) {
        std::string s = text_of(cj["storage_name"], w + ".storage_name");
        if (s != "internal" && s != "external") fail(w + ".storage_name", "internal or external");
        c.set_storage(s == "internal" ? CHAPTER_INTERNAL : 0);
      }
      c.set_subset_pos(NO_POS);
      if (!c.internal() && member(cj, "document") && c.path().empty())
        fail(w + ".path", "an external chapter needs its path");
      rec_pos p = m.insert(CHAIN_CHPT_NODE, LAST_REC, NO_POS, c.bytes);
      if (p == NO_POS) fail(w, "the chapter record cannot be stored");
      out.push_back(p);
    }
    return out;
  }

  void simple_document(record_source& m, const json& spec, const std::string& where) {
    if (!spec.is_object()) fail(where.empty() ? "document" : where, "an object is expected");
    general_parts(m, spec, CHAIN_DATA, where);
    prices<zest_record>(m, spec, zest_fields(), where);
    nodes(m, spec, where);
  }
};

} // namespace

json estimate_to_json(const estimate_image& image, const json_options& options) {
  json out;
  out["header"] = header_json(image.header);
  if (!image.records) return out;
  const memory_records& m = *image.records;
  if (!image.compound()) {
    json doc = simple_document_json(m, options);
    for (auto& [k, v] : doc.items()) out[k] = v;
    return out;
  }
  general_parts_json(out, m, CHAIN_COMPOUND_DATA, options);
  out["prices"] = prices_json(m, true);
  json chapters = json::array();
  std::size_t limit = m.count(CHAIN_CHPT_NODE) + 1;
  std::vector<uint8_t> data;
  for (rec_pos p = m.locate(CHAIN_CHPT_NODE, FIRST_REC, NO_POS); p != NO_POS && limit-- > 0;
       p = m.locate(CHAIN_CHPT_NODE, NEXT_REC, p)) {
    if (!m.read(CHAIN_CHPT_NODE, p, data)) continue;
    chapter_record c = chapter_record::from_bytes(data);
    json j = {{"pos", p}};
    fields_to_json(j, c.bytes.data(), chapter_fields());
    j["storage_name"] = c.internal() ? "internal" : "external";
    const memory_records* doc = nullptr;
    if (c.internal()) doc = m.subset(c.subset_pos());
    else if (auto it = image.externals.find(c.path()); it != image.externals.end()) doc = it->second.get();
    if (doc) j["document"] = simple_document_json(*doc, options);
    chapters.push_back(std::move(j));
  }
  out["chapters"] = std::move(chapters);
  return out;
}

json_build_result estimate_from_json(const json& spec, const json_options& options) {
  json_build_result result;
  builder b{options};
  try {
    if (!spec.is_object()) fail("document", "an object is expected");
    estimate_image image;
    int kind = spec.contains("chapters") ? KIND_COMPOUND : KIND_SIMPLE;
    image.header = header_from_json(spec.contains("header") ? spec["header"] : json(), kind);
    if (image.header.kind() != KIND_COMPOUND) {
      image.records = memory_records::simple_estimate();
      b.simple_document(*image.records, spec, "");
    } else {
      image.records = memory_records::compound_estimate();
      memory_records& m = *image.records;
      const json& chapters = spec.contains("chapters") ? spec["chapters"] : json::array();
      std::vector<rec_pos> at = b.compound_parts(m, spec);
      for (std::size_t i = 0; i < at.size(); ++i) {
        std::string w = "chapters[" + std::to_string(i) + "]";
        const json& cj = chapters[i];
        chapter_record c = chapter_record::from_bytes(read_or_empty(m, CHAIN_CHPT_NODE, at[i]));
        const json* doc = member(cj, "document");
        if (c.internal()) {
          if (doc) {
            rec_pos sub = m.create_subset(c.serial());
            b.simple_document(*m.subset(sub), *doc, w + ".document.");
            c.set_subset_pos(sub);
            m.rewrite(CHAIN_CHPT_NODE, at[i], c.bytes);
          }
        } else if (doc) {
          std::string path = c.path();
          if (!image.externals.count(path)) {
            auto ext = memory_records::simple_estimate();
            b.simple_document(*ext, *doc, w + ".document.");
            store::file_header h = image.header;
            h.flags = uint8_t((h.flags & ~store::HEADER_KIND_MASK) | KIND_SIMPLE);
            image.external_headers[path] = h;
            image.externals[path] = std::move(ext);
          }
        }
      }
    }
    image.records->set_modified(false);
    result.image = std::move(image);
  } catch (const build_error& e) {
    result.error = e.text;
  } catch (const nlohmann::json::exception& e) {
    result.error = std::string("document: ") + e.what();
  }
  result.surveys_skipped = b.surveys_skipped;
  return result;
}

json header_to_json(const store::file_header& h) { return header_json(h); }

json simple_document_to_json(const record_source& src, const json_options& options) {
  return simple_document_json(src, options);
}

json compound_parts_to_json(const record_source& src, const json_options& options) {
  json out;
  general_parts_json(out, src, CHAIN_COMPOUND_DATA, options);
  out["prices"] = prices_json(src, true);
  return out;
}

json chapter_to_json(std::span<const uint8_t> chapter_bytes) {
  chapter_record c = chapter_record::from_bytes(chapter_bytes);
  json j;
  fields_to_json(j, c.bytes.data(), chapter_fields());
  j["storage_name"] = c.internal() ? "internal" : "external";
  return j;
}

std::string build_simple_document(record_source& target, const json& doc, const json_options& options,
                                  int* surveys_skipped) {
  builder b{options};
  std::string error;
  try {
    b.simple_document(target, doc, "");
  } catch (const build_error& e) {
    error = e.text;
  } catch (const nlohmann::json::exception& e) {
    error = std::string("document: ") + e.what();
  }
  if (surveys_skipped) *surveys_skipped += b.surveys_skipped;
  return error;
}

std::string build_compound_parts(record_source& target, const json& spec, const json_options& options,
                                 std::vector<rec_pos>& chapters) {
  builder b{options};
  try {
    if (!spec.is_object()) fail("document", "an object is expected");
    chapters = b.compound_parts(target, spec);
  } catch (const build_error& e) {
    return e.text;
  } catch (const nlohmann::json::exception& e) {
    return std::string("document: ") + e.what();
  }
  return {};
}

store::file_header header_of_json(const json& spec) {
  int kind = spec.is_object() && spec.contains("chapters") ? KIND_COMPOUND : KIND_SIMPLE;
  try {
    return header_from_json(spec.is_object() && spec.contains("header") ? spec["header"] : json(), kind);
  } catch (...) {
    return header_from_json(json(), kind);
  }
}

} // namespace kovra::document
