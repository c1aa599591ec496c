#include "cli/opened_tree.h"

#include <ostream>

#include "document/build_tree.h"
#include "document/chapter_open.h"

namespace kovra::cli {

using namespace kovra::document;

opened_tree::~opened_tree() {
  if (doc) close_estimate(*doc);
}

std::unique_ptr<opened_tree> open_tree(const std::string& path, std::ostream& err) {
  auto t = std::make_unique<opened_tree>();
  uint8_t error = 0;
  const int kind = document_kind(path, &error);
  t->doc = kind < 0 ? nullptr : open_estimate_by_kind(path, kind, true);
  if (!t->doc) {
    err << "kovra-cli: " << path << ": the estimate cannot be opened\n";
    return nullptr;
  }
  estimate_doc& doc = *t->doc;
  doc.tree = std::make_unique<Kvr_Tree8>();
  t->root = new Koszt_Node;
  t->root->doc = &doc;
  attach_last(*doc.tree, nullptr, t->root, 0, "");
  if (doc.structure_kind == LAYOUT_SIMPLE) {
    build_tree(*doc.records, *doc.tree, *t->root, &doc);
  } else {
    t->compound = std::make_unique<store_compound>(*doc.records, path, doc.header, doc.general, doc.overhead);
    chapter_open_options quiet;
    quiet.quiet = true;
    quiet.check_password = true;  // a protected external chapter shows for --password only
    open_all_chapters(*doc.tree, *t->root, *t->compound, quiet);
  }
  return t;
}

} // namespace kovra::cli
