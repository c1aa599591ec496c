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

// A simple estimate's (or one constituent's) run. A simple estimate's model is its own; a
// constituent's stays in its compound's model and is read from there.
struct estimate_values {
  estimate_values() : model(own_model) {}
  explicit estimate_values(const calc::estimate_model& compound_chapter) : model(compound_chapter) {}
  estimate_values(const estimate_values&) = delete;
  estimate_values& operator=(const estimate_values&) = delete;

  calc::estimate_model own_model;  // what a simple estimate's run works on
  const calc::estimate_model& model;
  calc::recalc_result result;
  std::optional<double> total() const { return result.totals.gross; }
};

// A compound estimate's run: its totals and summary, and each chapter's run by the chapter
// node it belongs to; the chapters' models stay in `model.chapters`, which must not change
// while `chapters` refer to them.
struct compound_values {
  calc::compound_model model;
  calc::compound_result result;
  std::vector<std::pair<const document::Base_Node*, std::unique_ptr<estimate_values>>> chapters;
  const estimate_values* chapter(const document::Base_Node* node) const;
};

} // namespace kovra::views
