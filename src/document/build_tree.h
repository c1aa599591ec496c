#pragma once
// Building the estimate tree of one simple-estimate document from its node records.
#include "document/estimate_nodes.h"

namespace kovra::document {

struct build_result {
  int attached = 0;  // nodes hung into the tree
  int skipped = 0;   // records of unknown type or unreadable
  int links = 0;     // scaffold links made
  int bad_links = 0; // links naming no node of the subtree
};

// Reads every node record of `src` in chain order and hangs it under `root` (the estimate
// node, or a chapter node): groups and elements by their level, everything else under the
// latest group or element. Level bytes are set to the nodes' depths and written back in
// place; when the records had no unsaved changes before, that does not count as one.
// Then the scaffolding links are made.
build_result build_tree(record_source& src, Kvr_Tree8& tree, Base_Node& root, estimate_doc* doc = nullptr);

// Links the scaffoldings of the root's subtree to the positions their links blocks name.
int link_scaffolds(record_source& src, Base_Node& root, int* bad_links = nullptr);

} // namespace kovra::document
