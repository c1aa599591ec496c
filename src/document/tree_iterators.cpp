#include "document/tree_iterators.h"

namespace kovra::document {

Smp_Node* first_below(Elpz_Node_Iterator& it, Smp_Node* root) {
  it.root_depth = root ? root->depth : 0;
  it.current = root ? root->first_child : nullptr;
  return it.current;
}

Smp_Node* next_below(Elpz_Node_Iterator& it) {
  if (!it.current) return nullptr;
  Smp_Node* n = next_in_preorder(it.current);
  it.current = n && n->depth > it.root_depth ? n : nullptr;
  return it.current;
}

} // namespace kovra::document
