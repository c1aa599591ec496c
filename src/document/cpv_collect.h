#pragma once
// The CPV codes of an estimate's tree: every node's own code pairs, the distinct main codes
// collected from its subtree, and those codes cut to the node's level (aggregated).
#include <optional>
#include <string>

#include "document/cpv_codes.h"
#include "document/estimate_nodes.h"

namespace kovra::document {

// Where a node's stored code text and level come from.
class cpv_node_reader {
public:
  virtual ~cpv_node_reader() = default;
  // The node's code text in the internal code page; none when it has none.
  virtual std::optional<std::string> code_text(Base_Node& node) = 0;
  // Code digits kept when the node's codes are aggregated (the stored level byte).
  virtual int level(const Base_Node& node) = 0;
};

// Rebuilds the three lists of the node and of every node below it, children before their
// parent. Collected and aggregated lists keep the order of first appearance and one entry
// per code; a position keeps no aggregated list. Codes the tables do not hold stay, marked
// unknown: a node never shows fewer codes than it carries.
void collect_cpv_node(Base_Node& node, const cpv_table& tables, cpv_node_reader& reader);

// The same for the whole tree of an open document, reading the estimate's (or chapter's)
// code text and level from its general data and a node's from its record. Run after an
// estimate is opened and after a work group or element is moved.
void collect_cpv(estimate_doc& doc, const cpv_table& tables = cpv_tables());

// The display-mode byte in use for the document: the compound estimate's for one of its
// chapters, else its own (1 own codes, 2 collected, 4 aggregated).
uint8_t cpv_display_mode(const estimate_doc& doc);

} // namespace kovra::document
