#pragma once
// An estimate opened read-only as its window opens it, with its tree built (a compound
// estimate with every chapter it can open). Closed when it goes.
#include <iosfwd>
#include <memory>
#include <string>

#include "document/estimate_doc.h"
#include "document/store_compound.h"

namespace kovra::cli {

struct opened_tree {
  std::unique_ptr<document::estimate_doc> doc;
  document::Koszt_Node* root = nullptr;                  // owned by doc->tree
  std::unique_ptr<document::store_compound> compound;   // compound estimates only

  opened_tree() = default;
  opened_tree(const opened_tree&) = delete;
  opened_tree& operator=(const opened_tree&) = delete;
  ~opened_tree();  // the chapters close with the tree, before the compound
};

// None, with "the estimate cannot be opened" told on `err`, when it cannot be opened.
std::unique_ptr<opened_tree> open_tree(const std::string& path, std::ostream& err);

} // namespace kovra::cli
