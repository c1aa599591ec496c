#include "document/tree_moves.h"

#include "document/estimate_layout.h"
#include "shell/message_sink.h"
#include "store/log.h"

namespace kovra::document {

namespace {
bool is_work_group(const Smp_Node* n) {
  auto e = dynamic_cast<const Elpz_Node*>(n);
  return e && e->type() == NODE_WORK_GROUP;
}

// The chain holds the nodes in pre-order: put the subtree's records back behind the
// stored node that now precedes it. False when a record could not be relinked.
bool relink_chain(Base_Node& node) {
  record_source* src = node.records;
  if (!src) return true;
  rec_pos after = NO_POS;
  for (Smp_Node* p = prev_in_preorder(*node.tree, &node); p; p = prev_in_preorder(*node.tree, p)) {
    auto e = dynamic_cast<Elpz_Node*>(p);
    if (!e || e->records != src) break;  // the estimate or chapter node: the chain's start
    if (e->pos != NO_POS) {
      after = e->pos;
      break;
    }
  }
  for (Smp_Node* n = &node; n && is_in_subtree(n, &node); n = next_in_preorder(n)) {
    auto e = dynamic_cast<Elpz_Node*>(n);
    if (!e || e->pos == NO_POS || e->records != src) continue;
    if (!src->move_record(CHAIN_ELPZ, e->pos, after == NO_POS ? FIRST_REC : NEXT_REC, after)) return false;
    after = e->pos;
  }
  return true;
}

void refuse(shell::message_sink* sink, const char* text, const char* caption) {
  if (!sink) return;
  shell::message_request r;
  r.icon = shell::msg_icon::error;
  r.buttons = shell::msg_buttons::ok;
  r.caption = caption;
  r.text = text;
  sink->ask(r);
}

// The two refusals shared by indent and outdent; true when the node may move.
bool may_move(Base_Node* node, shell::message_sink* sink) {
  if (!node) return false;
  auto e = dynamic_cast<Elpz_Node*>(node);
  if (!e) {
    refuse(sink, "Nie mozna przeniesc kosztorysu ani rozdziału.", "Błąd");
    return false;
  }
  if (e->type() != NODE_ELEMENT && e->type() != NODE_WORK_GROUP) {
    refuse(sink, "Nie mozna przeniesc rozdzialu i pozycji", "Error");
    return false;
  }
  return true;
}
} // namespace

bool move_node(Kvr_Tree8& tree, Base_Node* target, Base_Node* node, int mode) {
  if (!target || !node || is_in_subtree(target, node)) return false;
  if (mode != MOVE_AFTER_LAST_SIBLING && mode != MOVE_LAST_CHILD && mode != MOVE_FIRST_CHILD && mode != MOVE_BEFORE)
    return false;
  unlink(tree, node);
  switch (mode) {
  case MOVE_AFTER_LAST_SIBLING: insert_after(tree, last_sibling(target), node); break;
  case MOVE_LAST_CHILD: append_child(tree, target, node); break;
  case MOVE_FIRST_CHILD: add_first_child(tree, target, node); break;
  default: insert_before(tree, target, node); break;
  }
  node->tree = &tree;
  if (tree.observer) tree.observer->node_moved(*node);
  if (auto e = dynamic_cast<Elpz_Node*>(node)) write_levels(*e);
  return relink_chain(*node);
}

Elpz_Node* make_work_group_after(Kvr_Tree8& tree, Elpz_Node& after) {
  auto node = new Elpz_Node();
  node->kind = KIND_WORK_GROUP;
  node->record = new_elpz_record(NODE_WORK_GROUP);
  node->doc = after.doc;
  node->records = after.records;
  attach_after(tree, &after, node, picture_of_type(NODE_WORK_GROUP), node->caption());
  node->record.set_level(uint8_t(node->depth));
  if (node->records) {
    // Behind the last stored record of `after`'s subtree.
    rec_pos last = after.pos;
    for (Smp_Node* n = &after; n && is_in_subtree(n, &after); n = next_in_preorder(n))
      if (auto e = dynamic_cast<Elpz_Node*>(n); e && e->pos != NO_POS) last = e->pos;
    std::span<uint8_t> bytes(node->record.bytes.data(), node->record.used_length());
    node->pos = last == NO_POS ? node->records->insert(CHAIN_ELPZ, LAST_REC, NO_POS, bytes)
                               : node->records->insert(CHAIN_ELPZ, NEXT_REC, last, bytes);
    if (node->pos == NO_POS) {
      // A group the chain does not hold would let its children fall back under their old
      // group at the next open: the node goes again, and the store's fatal stop is taken.
      remove_node(tree, node);
      store::fatal_error("insert_pos_record");
      return nullptr;
    }
  }
  return node;
}

move_result indent_node(Kvr_Tree8& tree, Base_Node* node, shell::message_sink* sink) {
  if (!may_move(node, sink)) return move_result::refused;
  Smp_Node* prev = node->prev;
  if (!is_work_group(prev)) return move_result::nothing;
  return move_node(tree, static_cast<Base_Node*>(prev), node, MOVE_LAST_CHILD) ? move_result::moved
                                                                                : move_result::nothing;
}

move_result outdent_node(Kvr_Tree8& tree, Base_Node* node, shell::message_sink* sink, const work_group_maker& maker) {
  if (!may_move(node, sink)) return move_result::refused;
  if (!is_work_group(node->parent)) return move_result::nothing;
  auto parent = static_cast<Elpz_Node*>(node->parent);
  if (node->next) {
    // Without the new group the following siblings would change places with the node.
    Elpz_Node* group = maker ? maker(tree, *parent) : nullptr;
    if (!group) return move_result::nothing;
    while (last_child(tree, parent) != node)
      if (!move_node(tree, group, static_cast<Base_Node*>(last_child(tree, parent)), MOVE_FIRST_CHILD))
        return move_result::nothing;
  }
  bool moved = parent->next ? move_node(tree, static_cast<Base_Node*>(parent->next), node, MOVE_BEFORE)
                            : move_node(tree, parent, node, MOVE_AFTER_LAST_SIBLING);
  return moved ? move_result::moved : move_result::nothing;
}

} // namespace kovra::document
