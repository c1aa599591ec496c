#pragma once
// Small builders for estimate records held in memory.
#include "document/build_tree.h"
#include "document/elpz_record.h"
#include "document/estimate_layout.h"
#include "document/estimate_nodes.h"
#include "document/memory_records.h"
#include "document/smp_tree.h"

#include <memory>

#include <string>
#include <vector>

namespace kovra::document::testing {

inline rec_pos add_node(memory_records& m, int16_t type, uint8_t level, const std::string& number = "",
                        const std::string& description = "") {
  elpz_record r = new_elpz_record(type);
  r.set_level(level);
  r.set_number(number);
  if (!description.empty()) r.set_description(description);
  return m.insert(CHAIN_ELPZ, LAST_REC, NO_POS, std::span(r.bytes.data(), r.used_length()));
}

// Numbers of the node records in chain order.
inline std::vector<std::string> chain_numbers(const memory_records& m) {
  std::vector<std::string> out;
  std::vector<uint8_t> data;
  for (rec_pos p = m.locate(CHAIN_ELPZ, FIRST_REC, NO_POS); p != NO_POS; p = m.locate(CHAIN_ELPZ, NEXT_REC, p)) {
    m.read(CHAIN_ELPZ, p, data);
    out.push_back(elpz_record::from_bytes(data).number());
  }
  return out;
}

// Numbers of the tree's nodes in pre-order, with depths ("1.1@2").
inline std::vector<std::string> tree_numbers(const Smp_Tree& tree) {
  std::vector<std::string> out;
  for (const Smp_Node* n = tree.first; n; n = next_in_preorder(n))
    if (auto e = dynamic_cast<const Elpz_Node*>(n)) out.push_back(e->record.number() + "@" + std::to_string(n->depth));
  return out;
}

// Node records held in memory and the tree built from them under an estimate node.
struct memory_tree {
  std::unique_ptr<memory_records> m = memory_records::simple_estimate();
  Kvr_Tree8 tree;
  Koszt_Node* root = new Koszt_Node();
  memory_tree() { attach_last(tree, nullptr, root, 0, "Kosztorys"); }
  build_result build() {
    m->set_modified(false);
    return build_tree(*m, tree, *root);
  }
  Elpz_Node* node(const std::string& number) {
    for (Smp_Node* n = tree.first; n; n = next_in_preorder(n))
      if (auto e = dynamic_cast<Elpz_Node*>(n); e && e->record.number() == number) return e;
    return nullptr;
  }
};

} // namespace kovra::document::testing
