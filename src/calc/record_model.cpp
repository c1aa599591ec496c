#include "calc/record_model.h"

#include <algorithm>
#include <unordered_map>

#include "calc/record_binding.h"
#include "document/data_chain.h"
#include "document/document_settings.h"
#include "document/estimate_file.h"
#include "document/estimate_layout.h"
#include "document/node_blocks.h"
#include "document/price_records.h"

namespace kovra::calc {

namespace {

using document::rec_pos;

// Settings, overheads and additions from the general data, the overhead record and the
// data chain.
void read_general(const document::record_source& src, int data_chain, const document::general_data& g,
                  const document::overhead_record& overhead, estimate_settings& settings, overhead_table& table,
                  std::vector<addition>& additions) {
  settings = settings_from_general(g);
  table = overhead_table_from(overhead);
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
  document::general_data g = document::general_data::from_bytes(src.user_header());
  const document::overhead_record overhead = document::read_or_current_overheads(src, g, document::CHAIN_DATA);
  return model_from_document(src, g, overhead, model, error);
}

bool model_from_document(const document::record_source& src, const document::general_data& general,
                         const document::overhead_record& overhead, estimate_model& model, std::string& error) {
  model = estimate_model{};
  if (src.chain_count() < document::SIMPLE_CHAINS) {
    error = "not a simple estimate: the record set has too few chains";
    return false;
  }
  read_general(src, document::CHAIN_DATA, general, overhead, model.settings, model.overheads, model.additions);

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

void compound_parts_from_records(const document::record_source& set, const document::general_data& general,
                                 const document::overhead_record& overhead, compound_model& m) {
  read_general(set, document::CHAIN_COMPOUND_DATA, general, overhead, m.settings, m.overheads, m.additions);
  each_record(set, document::CHAIN_CHPT_ZEST, [&](rec_pos p, const std::vector<uint8_t>& data) {
    m.summary.push_back(summary_from_record(document::chpt_zest_record::from_bytes(data), p));
  });
}

chapter_model chapter_from_record(const document::chapter_record& record) {
  chapter_model ch;
  ch.number = record.number();
  ch.storage_name = record.internal() ? "internal" : "external";
  ch.quantity = record.quantity();
  ch.precision_code = static_cast<int8_t>(record.precision_code()); // a signed code in its byte
  return ch;
}

bool compound_from_file(document::compound_file& file, const std::string& path, compound_records& out,
                        std::string& error) {
  out = compound_records{};
  compound_model& m = out.model;
  if (!file.set || file.set->chain_count() < document::COMPOUND_CHAINS) {
    error = "not a compound estimate: the record set has too few chains";
    return false;
  }
  document::store_records& set = *file.set;
  compound_parts_from_records(set, file.general, file.overhead, m);
  // The chapters as the compound's window opens them when it asks nothing.
  document::store_compound compound(set, path, file.header, file.general, file.overhead);
  for (const document::chapter_entry& entry : compound.chapters()) {
    chapter_model ch = chapter_from_record(entry.record);
    std::unique_ptr<document::chapter_document> opened = compound.open_chapter(entry);
    std::unique_ptr<document::store_chapter> chapter(dynamic_cast<document::store_chapter*>(opened.get()));
    if (chapter) opened.release();
    std::string chapter_error;
    ch.available = chapter && model_from_document(chapter->records(), chapter->general(), chapter->overhead, ch.doc,
                                                  chapter_error);
    if (!ch.available && chapter) chapter->close(false);
    m.chapters.push_back(std::move(ch));
    out.chapters.push_back(m.chapters.back().available ? std::move(chapter) : nullptr);
  }
  return true;
}

void close_chapters(compound_records& c) {
  for (auto& chapter : c.chapters)
    if (chapter) chapter->close(!chapter->set().read_only());
  c.chapters.clear();
}

bool model_from_opened(document::record_source& set, const store::file_header& header, estimate_model& model,
                       std::string& error, document::general_data* general) {
  document::general_data g = document::general_data::from_bytes(set.user_header());
  document::upgrade_document(set, g, header);
  const document::overhead_record overhead = document::load_overhead_record(set, g, document::CHAIN_DATA);
  if (general) *general = g;
  return model_from_document(set, g, overhead, model, error);
}

bool recalculate_opened(document::store_records& set, const store::file_header& header, bool write_back,
                        estimate_model& model, recalc_result& result, std::string& error, int* failed_writes) {
  document::general_data g;
  if (!model_from_opened(set, header, model, error, &g)) return false;
  result = recalculate(model);
  int failed = 0;
  if (write_back) {
    failed = write_results(model, set);
    if (g.bytes != document::general_data::from_bytes(set.user_header()).bytes) set.set_user_header(g.bytes);
  }
  if (failed_writes) *failed_writes = failed;
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
    for (size_t i = 0; i < c.model.chapters.size() && i < c.chapters.size(); ++i)
      if (c.chapters[i]) failed += write_results(c.model.chapters[i].doc, c.chapters[i]->records());
    failed += write_summary_results(c.model, compound);
  }
  if (failed_writes) *failed_writes = failed;
  return r;
}


bool recalculate_estimate_file(const std::string& path, recalculated_estimate& out, std::string& error) {
  out = recalculated_estimate{};
  store::file_header header;
  if (!document::read_estimate_header(path, header)) {
    error = document::open_error_text(path);
    return false;
  }
  out.compound = header.kind() == document::KIND_COMPOUND;
  bool ok = false;
  if (out.compound) {
    std::unique_ptr<document::compound_file> file = document::open_compound_file(path, true);
    if (!file) {
      error = document::open_error_text(path);
      return false;
    }
    compound_records c;
    ok = compound_from_file(*file, path, c, error);
    if (ok) {
      out.compound_result = recalculate_compound_records(c, *file->set, false);
      out.compound_model = std::move(c.model);
    }
    close_chapters(c);
    file->set->close();
  } else {
    std::unique_ptr<document::store_records> set = document::open_estimate_set(path, true);
    if (!set) {
      error = document::open_error_text(path);
      return false;
    }
    ok = recalculate_opened(*set, header, false, out.model, out.result, error);
    set->close();
  }
  if (!ok) error = path + ": " + error;
  return ok;
}

} // namespace kovra::calc
