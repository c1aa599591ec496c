#include "document/build_tree.h"

#include "document/estimate_layout.h"
#include "document/node_blocks.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

namespace kovra::document {

build_result build_tree(record_source& src, Kvr_Tree8& tree, Base_Node& root, estimate_doc* doc) {
  build_result result;
  bool was_modified = src.modified();

  // slots[d] is the node that takes groups and elements whose parent depth is root.depth + d.
  std::vector<Base_Node*> slots{&root};
  Base_Node* chapter_level = &root;
  int base = 0;
  bool first = true;

  std::size_t limit = src.count(CHAIN_ELPZ) + 1;  // a damaged chain cannot loop us forever
  std::vector<uint8_t> data;
  for (rec_pos pos = src.locate(CHAIN_ELPZ, FIRST_REC, NO_POS); pos != NO_POS && limit-- > 0;
       pos = src.locate(CHAIN_ELPZ, NEXT_REC, pos)) {
    if (!src.read(CHAIN_ELPZ, pos, data)) {
      ++result.skipped;
      continue;
    }
    auto node = std::make_unique<Elpz_Node>();
    node->record = elpz_record::from_bytes(data);
    node->pos = pos;
    node->doc = doc;
    node->records = &src;
    int type = node->type();
    int level = node->record.level();
    if (first) {
      base = level;  // the first record's level sits right below the root
      first = false;
    }

    Base_Node* parent;
    if (type == NODE_ELEMENT || type == NODE_WORK_GROUP) {
      node->kind = type == NODE_ELEMENT ? KIND_ELEMENT : KIND_WORK_GROUP;
      if (type == NODE_ELEMENT && node->record.i32(ep::ELEMENT_SURVEY) == 0) node->record.set_i32(ep::ELEMENT_SURVEY, NO_POS);
      // Levels that jump deeper than an open group, or above the first record's, are
      // held to the nearest slot that exists.
      int slot = std::clamp(level - base, 0, int(slots.size()) - 1);
      parent = slots[std::size_t(slot)];
      slots.resize(std::size_t(slot) + 1);  // deeper slots belonged to an earlier branch
      slots.push_back(node.get());
      chapter_level = node.get();
    } else if (type >= 1 && type <= 7) {
      node->kind = KIND_POSITION;
      parent = chapter_level;
    } else {
      ++result.skipped;
      continue;
    }

    Elpz_Node* raw = node.release();
    attach_last(tree, parent, raw, picture_of_type(type), raw->caption());
    if (raw->record.level() != raw->depth) {
      raw->record.set_level(uint8_t(std::clamp(raw->depth, 0, 255)));
      rewrite_elpz(*raw);
    }
    ++result.attached;
  }

  result.links = link_scaffolds(src, root, &result.bad_links);
  if (!was_modified) src.set_modified(false);
  return result;
}

int link_scaffolds(record_source& src, Base_Node& root, int* bad_links) {
  std::unordered_map<rec_pos, Elpz_Node*> by_pos;
  std::vector<Elpz_Node*> scaffolds;
  for (Smp_Node* n = root.first_child; n && is_in_subtree(n, &root); n = next_in_preorder(n)) {
    auto e = dynamic_cast<Elpz_Node*>(n);
    if (!e) continue;
    if (e->pos != NO_POS) by_pos.emplace(e->pos, e);
    if (e->kind == KIND_POSITION && e->type() == NODE_SCAFFOLD && e->record.scaffold_links_pos() != NO_POS)
      scaffolds.push_back(e);
  }
  int made = 0, bad = 0;
  for (Elpz_Node* s : scaffolds) {
    for (rec_pos p : read_scaffold_links(src, s->record)) {
      auto it = by_pos.find(p);
      if (it == by_pos.end() || it->second == s ||
          std::find(s->linked.begin(), s->linked.end(), it->second) != s->linked.end()) {
        ++bad;
        continue;
      }
      Elpz_Node* pos_node = it->second;
      if (pos_node->scaffold && pos_node->scaffold != s) {  // one scaffolding per position
        auto& old = pos_node->scaffold->linked;
        old.erase(std::remove(old.begin(), old.end(), pos_node), old.end());
      }
      s->linked.push_back(pos_node);
      pos_node->scaffold = s;
      ++made;
    }
  }
  if (bad_links) *bad_links = bad;
  return made;
}

} // namespace kovra::document
