#pragma once
// The generic tree under the estimate tree: nodes with parent, first child and sibling
// links, a depth, and a tree that counts its nodes. No document knowledge here.
#include <cstdint>

namespace kovra::document {

class Smp_Node {
public:
  virtual ~Smp_Node() = default;

  int32_t reserved = 0;  // always 0
  int32_t depth = 0;     // 0 top level, parent's depth + 1 below
  Smp_Node* parent = nullptr;
  Smp_Node* first_child = nullptr;
  Smp_Node* prev = nullptr;
  Smp_Node* next = nullptr;
  uint8_t state = 0;  // 2 once the node has had a child
};

class Smp_Tree {
public:
  Smp_Tree() = default;
  Smp_Tree(const Smp_Tree&) = delete;
  Smp_Tree& operator=(const Smp_Tree&) = delete;
  virtual ~Smp_Tree();  // deletes every node

  int32_t count = 0;  // nodes in the whole tree
  Smp_Node* first = nullptr;
};

// Node becomes the parent's first child (the first top-level node for no parent).
void add_first_child(Smp_Tree& tree, Smp_Node* parent, Smp_Node* node);
// Node becomes the parent's last child; its subtree's depths follow the parent.
void append_child(Smp_Tree& tree, Smp_Node* parent, Smp_Node* node);
// Node takes the sibling's parent and depth, right before / after it.
void insert_before(Smp_Tree& tree, Smp_Node* sibling, Smp_Node* node);
void insert_after(Smp_Tree& tree, Smp_Node* sibling, Smp_Node* node);
// Takes the node with its subtree out of the tree; the count falls by the subtree's size.
void unlink(Smp_Tree& tree, Smp_Node* node);
// Deletes the node's children (depth first), unlinks and destroys the node.
void delete_subtree(Smp_Tree& tree, Smp_Node* node);
void clear(Smp_Tree& tree);

Smp_Node* last_child(const Smp_Tree& tree, const Smp_Node* parent);
Smp_Node* last_sibling(Smp_Node* node);
// First child, else next sibling, else the next sibling of the nearest ancestor with one.
Smp_Node* next_in_preorder(const Smp_Node* node);
// The node before this one in pre-order; none for the tree's first node.
Smp_Node* prev_in_preorder(const Smp_Tree& tree, const Smp_Node* node);
void set_depths(Smp_Node* node, int32_t depth);
// Number of nodes in the node's subtree, itself included.
int32_t subtree_size(const Smp_Node* node);
// True when `node` lies in the subtree of `root` (root itself included).
bool is_in_subtree(const Smp_Node* node, const Smp_Node* root);
// Recounts every node of the tree.
int32_t recount(const Smp_Tree& tree);

} // namespace kovra::document
