#include "calc/record_model.h"

#include <algorithm>
#include <unordered_map>

#include "calc/record_binding.h"
#include "document/chapter_record.h"
#include "document/data_chain.h"
#include "document/estimate_file.h"
#include "document/estimate_layout.h"
#include "document/node_blocks.h"
#include "document/price_records.h"

namespace kovra::calc {

namespace {

using document::rec_pos;

// Settings, overheads and additions from a set's general data and data chain.
void read_general(const document::record_source& src, int data_chain, estimate_settings& settings,
                  overhead_table& overheads, std::vector<addition>& additions) {
  const document::general_data g = document::general_data::from_bytes(src.user_header());
  settings = settings_from_general(g);
  const rec_pos at = g.investor_table() ? g.investor_overheads_record() : g.standard_overheads_record();
  if (auto r = document::read_overhead_record(src, at, data_chain))
    overheads = overhead_table_from(*r);
  else
    overheads = g.investor_table() ? default_investor_overheads() : default_standard_overheads();
  additions = document::read_additions(src, g, data_chain);
}

// Walks a chain; a chain whose links loop is cut after as many records as it counts.
template <class F> void each_record(const document::record_source& src, int chain, F&& f) {
  std::size_t limit = src.count(chain) + 1;
  std::vector<uint8_t> data;
  for (rec_pos p = src.locate(chain, document::FIRST_REC, document::NO_POS); p != document::NO_POS && limit-- > 0;
       p = src.locate(chain, document::NEXT_REC, p)) {
    if (src.read(chain, p, data)) f(p, data);
  }
}

} // namespace

bool model_from_records(const document::record_source& src, estimate_model& model, std::string& error) {
  model = estimate_model{};
  if (src.chain_count() < document::SIMPLE_CHAINS) {
    error = "not a simple estimate: the record set has too few chains";
    return false;
  }
  read_general(src, document::CHAIN_DATA, model.settings, model.overheads, model.additions);

  model.prices.reserve(src.count(document::CHAIN_ZEST));
  std::unordered_map<rec_pos, int> price_at;
  each_record(src, document::CHAIN_ZEST, [&](rec_pos p, const std::vector<uint8_t>& data) {
    price_at.emplace(p, static_cast<int>(model.prices.size()));
    model.prices.push_back(price_from_zest(document::zest_record::from_bytes(data), p));
  });
  if (src.key_count() > document::KEY_BY_NAME) {
    for (const document::key_entry& k : src.key_entries(document::KEY_BY_NAME))
      if (auto it = price_at.find(k.value); it != price_at.end()) model.name_order.push_back(it->second);
  }

  std::unordered_map<rec_pos, int> index_of;
  std::vector<std::pair<int, std::vector<rec_pos>>> scaffolds;
  model.nodes.reserve(src.count(document::CHAIN_ELPZ));
  each_record(src, document::CHAIN_ELPZ, [&](rec_pos p, const std::vector<uint8_t>& data) {
    const document::elpz_record r = document::elpz_record::from_bytes(data);
    const int index = static_cast<int>(model.nodes.size());
    index_of.emplace(p, index);
    if (!document::is_known_node_type(r.type())) {
      model_node n;
      n.pos = p;
      n.type = r.type(); // not a node of the tree: build_tree leaves it detached
      model.nodes.push_back(std::move(n));
      return;
    }
    if (document::is_position_type(r.type()) && r.inputs_pos() != document::NO_POS) {
      const document::inputs_block inputs = document::read_inputs(src, r);
      model.nodes.push_back(node_from_record(r, p, &inputs));
    } else {
      model.nodes.push_back(node_from_record(r, p, nullptr));
    }
    if (r.type() == document::NODE_SCAFFOLD) scaffolds.emplace_back(index, document::read_scaffold_links(src, r));
  });
  for (auto& [index, links] : scaffolds) {
    model_node& s = model.nodes[static_cast<size_t>(index)];
    for (rec_pos p : links) {
      auto it = index_of.find(p);
      if (it != index_of.end()) s.links.push_back(it->second);
    }
  }
  build_tree(model);
  settle_scaffold_links(model);
  return true;
}

int write_results(const estimate_model& model, document::record_source& dst) {
  int failed = 0;
  std::vector<uint8_t> data;
  for (const model_node& n : model.nodes) {
    if (n.depth < 0 || n.pos < 0) continue;
    if (!dst.read(document::CHAIN_ELPZ, n.pos, data)) {
      ++failed;
      continue;
    }
    document::elpz_record r = document::elpz_record::from_bytes(data);
    write_node_results(n, r);
    const std::size_t length = std::min(data.size(), r.bytes.size());
    if (std::equal(r.bytes.begin(), r.bytes.begin() + static_cast<long>(length), data.begin())) continue;
    if (!dst.rewrite_keep_size(document::CHAIN_ELPZ, n.pos, std::span<const uint8_t>(r.bytes.data(), length))) ++failed;
  }
  for (const price_record& p : model.prices) {
    if (p.pos < 0) continue;
    if (!dst.read(document::CHAIN_ZEST, p.pos, data)) {
      ++failed;
      continue;
    }
    document::zest_record z = document::zest_record::from_bytes(data);
    write_price_results(p, z);
    const std::size_t length = std::min(data.size(), z.bytes.size());
    if (std::equal(z.bytes.begin(), z.bytes.begin() + static_cast<long>(length), data.begin())) continue;
    if (!dst.rewrite_keep_size(document::CHAIN_ZEST, p.pos, std::span<const uint8_t>(z.bytes.data(), length))) ++failed;
  }
  return failed;
}

int write_summary_results(const compound_model& model, document::record_source& dst) {
  int failed = 0;
  std::vector<uint8_t> data;
  for (const summary_record& s : model.summary) {
    document::chpt_zest_record z;
    const bool stored = s.pos >= 0 && dst.read(document::CHAIN_CHPT_ZEST, s.pos, data);
    if (stored) {
      z = document::chpt_zest_record::from_bytes(data);
    } else {
      // A key that no chapter had used before gets its record now, in name order.
      z.set_kind(s.kind);
      z.set_key(s.id, s.sub);
      z.set_unit(s.unit);
      z.set_name(s.name);
    }
    calc::write_summary_results(s, z);
    if (stored && data.size() <= z.bytes.size() && std::equal(data.begin(), data.end(), z.bytes.begin())) continue;
    if (document::write_chpt_zest_record(dst, z, s.pos >= 0 ? s.pos : document::NO_POS) == document::NO_POS) ++failed;
  }
  return failed;
}

std::unique_ptr<document::store_records> open_chapter(document::store_records& compound, const std::string& compound_path,
                                                      std::span<const uint8_t> chapter_record, bool read_only) {
  const document::chapter_record c = document::chapter_record::from_bytes(chapter_record);
  if (c.internal()) return document::open_chapter_subset(compound, c.subset_pos());
  return document::open_estimate_set(document::chapter_file_path(compound_path, c.path()), read_only);
}

bool compound_from_records(document::store_records& compound, const std::string& compound_path, bool read_only,
                           compound_records& out, std::string& error) {
  out = compound_records{};
  compound_model& m = out.model;
  if (compound.chain_count() < document::COMPOUND_CHAINS) {
    error = "not a compound estimate: the record set has too few chains";
    return false;
  }
  read_general(compound, document::CHAIN_COMPOUND_DATA, m.settings, m.overheads, m.additions);
  each_record(compound, document::CHAIN_CHPT_ZEST, [&](rec_pos p, const std::vector<uint8_t>& data) {
    m.summary.push_back(summary_from_record(document::chpt_zest_record::from_bytes(data), p));
  });
  each_record(compound, document::CHAIN_CHPT_NODE, [&](rec_pos, const std::vector<uint8_t>& data) {
    const document::chapter_record c = document::chapter_record::from_bytes(data);
    chapter_model ch;
    ch.number = c.number();
    ch.storage_name = c.internal() ? "internal" : "external";
    ch.quantity = c.quantity();
    ch.precision_code = static_cast<int8_t>(c.precision_code()); // a signed code in its byte, as a position's
    std::unique_ptr<document::store_records> set = open_chapter(compound, compound_path, data, read_only);
    std::string chapter_error;
    ch.available = set && model_from_records(*set, ch.doc, chapter_error);
    if (!ch.available && set) set->close(false);
    m.chapters.push_back(std::move(ch));
    out.chapter_sets.push_back(m.chapters.back().available ? std::move(set) : nullptr);
  });
  return true;
}

bool recalculate_records(document::record_source& src, bool write_back, estimate_model& model, recalc_result& result,
                         std::string& error, int* failed_writes) {
  if (!model_from_records(src, model, error)) return false;
  result = recalculate(model);
  const int failed = write_back ? write_results(model, src) : 0;
  if (failed_writes) *failed_writes = failed;
  return true;
}

compound_result recalculate_compound_records(compound_records& c, document::record_source& compound, bool write_back,
                                             int* failed_writes) {
  compound_result r = recalculate_compound(c.model);
  int failed = 0;
  if (write_back) {
    for (size_t i = 0; i < c.model.chapters.size() && i < c.chapter_sets.size(); ++i)
      if (c.chapter_sets[i]) failed += write_results(c.model.chapters[i].doc, *c.chapter_sets[i]);
    failed += write_summary_results(c.model, compound);
  }
  if (failed_writes) *failed_writes = failed;
  return r;
}

void close_chapters(compound_records& c) {
  for (auto& set : c.chapter_sets)
    if (set) set->close(!set->read_only());
  c.chapter_sets.clear();
}

} // namespace kovra::calc
