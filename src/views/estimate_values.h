#pragma once
// The values of one recalculation of an open estimate: what the tree, the pages and the
// printouts of a document window show.
#include "calc/compound_recalc.h"
#include "calc/record_model.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace kovra::document {
class Base_Node;
}

namespace kovra::views {

// A simple estimate's (or one constituent's) run.
struct estimate_values {
  calc::estimate_model model;
  calc::recalc_result result;
  std::optional<double> total() const { return result.totals.gross; }
};

// A compound estimate's run: its totals and summary, and each chapter's model and run by
// the chapter node it belongs to.
struct compound_values {
  calc::compound_model model;  // the chapters' models are moved into `chapters`
  calc::compound_result result;
  std::vector<std::pair<const document::Base_Node*, std::unique_ptr<estimate_values>>> chapters;
  const estimate_values* chapter(const document::Base_Node* node) const;
};

} // namespace kovra::views
