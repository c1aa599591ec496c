#include "document/cpv_collect.h"

#include <algorithm>
#include <string>
#include <unordered_set>

#include "document/compound_nodes.h"
#include "document/estimate_doc.h"
#include "document/node_blocks.h"

namespace kovra::document {

namespace {

// A list of distinct codes with its keys at hand, so that a subtree of thousands of codes is
// collected without comparing each code with every other.
class distinct_codes {
public:
  explicit distinct_codes(std::vector<cpv_code>& list) : list_(list) {}
  void add(const cpv_code& code) {
    if (!code.empty() && keys_.emplace(code.key()).second) list_.push_back(code);
  }

private:
  std::vector<cpv_code>& list_;
  std::unordered_set<std::string> keys_;
};

} // namespace

void collect_cpv_node(Base_Node& node, const cpv_table& tables, cpv_node_reader& reader) {
  node.cpv_own.clear();
  node.cpv_aggregated.clear();
  node.cpv_collected.clear();
  distinct_codes collected(node.cpv_collected);
  for (Smp_Node* c = node.first_child; c; c = c->next) {
    auto* child = static_cast<Base_Node*>(c);
    collect_cpv_node(*child, tables, reader);
    for (const cpv_code& code : child->cpv_collected) collected.add(code);
    for (const cpv_pair& pair : child->cpv_own) collected.add(pair.main);
  }
  if (std::optional<std::string> text = reader.code_text(node)) node.cpv_own = parse_cpv_text(tables, *text);
  if (node.kind == KIND_POSITION) return;
  const int digits = std::max(reader.level(node), 2);
  distinct_codes aggregated(node.cpv_aggregated);
  auto aggregate = [&](const cpv_code& code) {
    if (std::optional<cpv_code> cut = aggregate_code(tables, code, digits)) aggregated.add(*cut);
  };
  for (const cpv_code& code : node.cpv_collected) aggregate(code);
  for (const cpv_pair& pair : node.cpv_own) aggregate(pair.main);
}

namespace {

// Codes and levels of an open document's nodes: the estimate node reads its document's
// general data (data chain 4 in a simple, 2 in a compound estimate), a chapter node its
// chapter document's, the other nodes their records.
class document_reader : public cpv_node_reader {
public:
  std::optional<std::string> code_text(Base_Node& node) override {
    if (node.kind == KIND_ESTIMATE && node.doc && node.doc->records)
      return read_estimate_text(*node.doc->records, node.doc->general, 1,
                                node.doc->structure_kind == LAYOUT_COMPOUND ? 2 : 4);
    if (auto* chapter = dynamic_cast<Rozdz_Node*>(&node))
      return chapter->chapter() ? read_estimate_text(chapter->chapter()->records(), chapter->chapter()->general(), 1)
                                : std::nullopt;
    if (auto* e = dynamic_cast<Elpz_Node*>(&node); e && e->records) return read_node_text_raw(*e->records, e->record, 1);
    return std::nullopt;
  }
  int level(const Base_Node& node) override {
    if (node.kind == KIND_ESTIMATE) return node.doc ? node.doc->general.cpv_level() : 2;
    if (auto* chapter = dynamic_cast<const Rozdz_Node*>(&node))
      return chapter->chapter() ? chapter->chapter()->general().cpv_level() : 2;
    if (auto* e = dynamic_cast<const Elpz_Node*>(&node)) return e->record.cpv_level();
    return 2;
  }
};

} // namespace

void collect_cpv(estimate_doc& doc, const cpv_table& tables) {
  if (!doc.tree) return;
  document_reader reader;
  for (Smp_Node* n = doc.tree->first; n; n = n->next) collect_cpv_node(*static_cast<Base_Node*>(n), tables, reader);
}

uint8_t cpv_display_mode(const estimate_doc& doc) {
  return doc.parent ? doc.parent->general.cpv_display_mode() : doc.general.cpv_display_mode();
}

} // namespace kovra::document
