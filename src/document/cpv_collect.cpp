#include "document/cpv_collect.h"

#include <algorithm>

#include "document/compound_nodes.h"
#include "document/estimate_doc.h"
#include "document/node_blocks.h"

namespace kovra::document {

void collect_cpv_node(Base_Node& node, const cpv_table& tables, cpv_node_reader& reader) {
  node.cpv_own.clear();
  node.cpv_aggregated.clear();
  node.cpv_collected.clear();
  for (Smp_Node* c = node.first_child; c; c = c->next) {
    auto* child = static_cast<Base_Node*>(c);
    collect_cpv_node(*child, tables, reader);
    for (const cpv_code& code : child->cpv_collected) add_distinct(node.cpv_collected, code);
    for (const cpv_pair& pair : child->cpv_own) add_distinct(node.cpv_collected, pair.main);
  }
  if (std::optional<std::string> text = reader.code_text(node)) node.cpv_own = parse_cpv_text(tables, *text);
  if (node.kind == KIND_POSITION) return;
  const int digits = std::max(reader.level(node), 2);
  auto aggregate = [&](const cpv_code& code) {
    if (std::optional<cpv_code> cut = aggregate_code(tables, code, digits)) add_distinct(node.cpv_aggregated, *cut);
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
