#pragma once
// What a page's view reads of, and asks of, the document window that hosts it. The window
// owns the document and its last recalculation; a view never keeps copies of either.
namespace kovra::document {
class Base_Node;
class chapter_document;
class record_source;
struct estimate_doc;
struct general_data;
}

namespace kovra::views {

struct compound_values;
struct estimate_values;

class view_host {
public:
  virtual ~view_host() = default;

  // The window's own document: the simple estimate, or the compound estimate (also while
  // one of its constituents is shown).
  virtual document::estimate_doc* document() const = 0;
  // The constituent whose pages are shown, none for a simple estimate and on the compound
  // level's pages.
  virtual document::chapter_document* chapter() const = 0;
  // The records and the general data of the estimate the pages show (the constituent's
  // while one is shown); none while nothing is bound.
  virtual document::record_source* records() const = 0;
  virtual document::general_data* general() const = 0;
  // The node of the estimate the pages show in the tree: the estimate node of a simple
  // estimate or the compound, a constituent's chapter node.
  virtual document::Base_Node* estimate_node() const = 0;
  // The run of the estimate the pages show (a constituent's own run while one is shown);
  // none before the first recalculation.
  virtual const estimate_values* values() const = 0;
  // The compound's run, none for a simple estimate.
  virtual const compound_values* compound() const = 0;
  // The node chosen in the tree.
  virtual document::Base_Node* current_node() const = 0;

  // The tree follows a view's selection (no navigation back into the view).
  virtual void select_node(document::Base_Node* node) = 0;
  // Recalculates after a view changed a value; every page is told through values_changed.
  virtual bool recalculate() = 0;
};

} // namespace kovra::views
