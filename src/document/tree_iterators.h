#pragma once
// Walking one subtree of the estimate tree in pre-order.
#include "document/estimate_nodes.h"

namespace kovra::document {

struct Elpz_Node_Iterator {
  Smp_Node* current = nullptr;
  int32_t root_depth = 0;
};

// The root's first child (none when it has no children).
Smp_Node* first_below(Elpz_Node_Iterator& it, Smp_Node* root);
// The next node in pre-order while it lies deeper than the root, else none.
Smp_Node* next_below(Elpz_Node_Iterator& it);

// Every node of the root's subtree below the root, in pre-order.
template <class F> void for_each_below(Smp_Node* root, F&& f) {
  Elpz_Node_Iterator it;
  for (Smp_Node* n = first_below(it, root); n; n = next_below(it)) f(n);
}

} // namespace kovra::document
