#pragma once
// What a tree-view control needs to hear to mirror the estimate tree. The document layer
// calls it; the window layer implements it. No calls when no observer is set.
#include <string>

namespace kovra::document {

class Base_Node;

class tree_observer {
public:
  virtual ~tree_observer() = default;
  // The node now sits at its place in the tree (after a build step, an attach or a move).
  virtual void node_attached(Base_Node& node, int picture, const std::string& text) = 0;
  // The node's subtree is about to leave the tree for good.
  virtual void node_removed(Base_Node& node) = 0;
  // The node's subtree moved; its new place is in the tree links.
  virtual void node_moved(Base_Node& node) = 0;
};

} // namespace kovra::document
