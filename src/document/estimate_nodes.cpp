#include "document/estimate_nodes.h"

#include "document/compound_nodes.h"

#include "document/estimate_layout.h"
#include "store/codepage.h"

#include <algorithm>

namespace kovra::document {

Elpz_Node::~Elpz_Node() {
  if (scaffold) {
    auto& list = scaffold->linked;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  for (Elpz_Node* n : linked)
    if (n->scaffold == this) n->scaffold = nullptr;
}

std::string node_caption(std::string_view number, std::string_view description) {
  std::string text(number);
  text += "  ";
  text += description;
  text = text.substr(0, 127);  // the caption buffer holds 128 bytes
  if (text.size() > CAPTION_LIMIT) text = text.substr(0, CAPTION_LIMIT) + "...";
  store::mazovia_to_1250(text);
  return text;
}

std::string Elpz_Node::caption() const { return node_caption(record.number(), record.description()); }

int picture_of_type(int type) {
  switch (type) {
  case 0: return 4;
  case 1:
  case 2: return 5;
  case 3: return 6;
  case 4:
  case 5: return 7;
  case 6: return 8;
  case 9: return 3;
  default: return -1;
  }
}

int picture_of(const Base_Node& node) {
  if (auto e = dynamic_cast<const Elpz_Node*>(&node)) return picture_of_type(e->type());
  if (auto r = dynamic_cast<const Rozdz_Node*>(&node)) return chapter_picture(*r);
  return node.kind == KIND_ESTIMATE ? 0 : 1;
}

bool rewrite_elpz(Elpz_Node& node) {
  if (!node.records || node.pos == NO_POS) return false;
  return node.records->rewrite_keep_size(CHAIN_ELPZ, node.pos,
                                         std::span(node.record.bytes.data(), node.record.used_length()));
}

void write_levels(Elpz_Node& node) {
  for (Smp_Node* n = &node; n; n = next_in_preorder(n)) {
    if (n != &node && !is_in_subtree(n, &node)) break;
    if (auto e = dynamic_cast<Elpz_Node*>(n)) {
      e->record.set_level(uint8_t(std::clamp(e->depth, 0, 255)));
      rewrite_elpz(*e);
    }
  }
}

namespace {
void tell_attached(Kvr_Tree8& tree, Base_Node* node, int picture, const std::string& text) {
  node->tree = &tree;
  if (tree.observer) tree.observer->node_attached(*node, picture, text);
}
} // namespace

void attach_last(Kvr_Tree8& tree, Base_Node* parent, Base_Node* node, int picture, const std::string& text) {
  append_child(tree, parent, node);
  tell_attached(tree, node, picture, text);
}

void attach_first(Kvr_Tree8& tree, Base_Node* parent, Base_Node* node, int picture, const std::string& text) {
  add_first_child(tree, parent, node);
  tell_attached(tree, node, picture, text);
}

void attach_before(Kvr_Tree8& tree, Base_Node* sibling, Base_Node* node, int picture, const std::string& text) {
  insert_before(tree, sibling, node);
  tell_attached(tree, node, picture, text);
}

void attach_after(Kvr_Tree8& tree, Base_Node* sibling, Base_Node* node, int picture, const std::string& text) {
  insert_after(tree, sibling, node);
  tell_attached(tree, node, picture, text);
}

void remove_node(Kvr_Tree8& tree, Base_Node* node) {
  if (!node) return;
  if (tree.observer) tree.observer->node_removed(*node);
  delete_subtree(tree, node);
}

} // namespace kovra::document
