#include "views/estimate_values.h"

namespace kovra::views {

const estimate_values* compound_values::chapter(const document::Base_Node* node) const {
  for (const auto& [key, values] : chapters)
    if (key == node) return values.get();
  return nullptr;
}

} // namespace kovra::views
