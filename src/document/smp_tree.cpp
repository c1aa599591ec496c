#include "document/smp_tree.h"

namespace kovra::document {

Smp_Tree::~Smp_Tree() { clear(*this); }

namespace {
void note_child(Smp_Node* parent) {
  if (parent) parent->state = 2;
}
} // namespace

void set_depths(Smp_Node* node, int32_t depth) {
  // Iterative so that a deep tree cannot exhaust the stack.
  if (!node) return;
  node->depth = depth;
  for (Smp_Node* n = node->first_child; n && n != node;) {
    n->depth = n->parent->depth + 1;
    if (n->first_child) {
      n = n->first_child;
      continue;
    }
    while (n != node && !n->next) n = n->parent;
    if (n == node) break;
    n = n->next;
  }
}

int32_t subtree_size(const Smp_Node* node) {
  if (!node) return 0;
  int32_t size = 1;
  for (const Smp_Node* n = node->first_child; n;) {
    ++size;
    if (n->first_child) {
      n = n->first_child;
      continue;
    }
    while (n != node && !n->next) n = n->parent;
    if (n == node) break;
    n = n->next;
  }
  return size;
}

bool is_in_subtree(const Smp_Node* node, const Smp_Node* root) {
  for (; node; node = node->parent)
    if (node == root) return true;
  return false;
}

void append_child(Smp_Tree& tree, Smp_Node* parent, Smp_Node* node) {
  node->parent = parent;
  node->next = nullptr;
  Smp_Node* last = last_child(tree, parent);
  node->prev = last;
  if (last) last->next = node;
  else if (parent) parent->first_child = node;
  else tree.first = node;
  note_child(parent);
  set_depths(node, parent ? parent->depth + 1 : 0);
  tree.count += subtree_size(node);
}

void add_first_child(Smp_Tree& tree, Smp_Node* parent, Smp_Node* node) {
  Smp_Node* first = parent ? parent->first_child : tree.first;
  if (!first) {
    append_child(tree, parent, node);
    return;
  }
  insert_before(tree, first, node);
}

void insert_before(Smp_Tree& tree, Smp_Node* sibling, Smp_Node* node) {
  node->parent = sibling->parent;
  node->next = sibling;
  node->prev = sibling->prev;
  if (sibling->prev) sibling->prev->next = node;
  else if (sibling->parent) sibling->parent->first_child = node;
  else tree.first = node;
  sibling->prev = node;
  set_depths(node, sibling->depth);
  tree.count += subtree_size(node);
}

void insert_after(Smp_Tree& tree, Smp_Node* sibling, Smp_Node* node) {
  node->parent = sibling->parent;
  node->prev = sibling;
  node->next = sibling->next;
  if (sibling->next) sibling->next->prev = node;
  sibling->next = node;
  set_depths(node, sibling->depth);
  tree.count += subtree_size(node);
}

void unlink(Smp_Tree& tree, Smp_Node* node) {
  if (node->prev) node->prev->next = node->next;
  else if (node->parent) node->parent->first_child = node->next;
  else if (tree.first == node) tree.first = node->next;
  if (node->next) node->next->prev = node->prev;
  node->parent = node->prev = node->next = nullptr;
  tree.count -= subtree_size(node);
}

void delete_subtree(Smp_Tree& tree, Smp_Node* node) {
  if (!node) return;
  unlink(tree, node);
  // Children are destroyed before their parent, deepest first.
  Smp_Node* n = node;
  while (true) {
    while (n->first_child) n = n->first_child;
    if (n == node) break;
    Smp_Node* parent = n->parent;
    parent->first_child = n->next;
    if (n->next) n->next->prev = nullptr;
    delete n;
    n = parent;
  }
  delete node;
}

void clear(Smp_Tree& tree) {
  while (tree.first) delete_subtree(tree, tree.first);
  tree.count = 0;
}

Smp_Node* last_child(const Smp_Tree& tree, const Smp_Node* parent) {
  Smp_Node* n = parent ? parent->first_child : tree.first;
  while (n && n->next) n = n->next;
  return n;
}

Smp_Node* last_sibling(Smp_Node* node) {
  while (node && node->next) node = node->next;
  return node;
}

Smp_Node* next_in_preorder(const Smp_Node* node) {
  if (!node) return nullptr;
  if (node->first_child) return node->first_child;
  for (const Smp_Node* n = node; n; n = n->parent)
    if (n->next) return n->next;
  return nullptr;
}

Smp_Node* prev_in_preorder(const Smp_Tree& tree, const Smp_Node* node) {
  (void)tree;
  if (!node) return nullptr;
  if (!node->prev) return node->parent;
  Smp_Node* n = node->prev;
  while (n->first_child) n = last_sibling(n->first_child);
  return n;
}

int32_t recount(const Smp_Tree& tree) {
  int32_t count = 0;
  for (const Smp_Node* n = tree.first; n; n = next_in_preorder(n)) ++count;
  return count;
}

} // namespace kovra::document
