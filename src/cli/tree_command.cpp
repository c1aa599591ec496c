// kovra-cli tree FILE: the estimate opened read-only as its window opens it, its title and
// its tree (one caption a line, indented by depth).
#include "cli/command.h"
#include "document/build_tree.h"
#include "document/chapter_open.h"
#include "document/estimate_doc.h"
#include "document/estimate_layout.h"
#include "document/store_compound.h"
#include "store/codepage.h"

#include <ostream>

namespace kovra::cli {
namespace {

using namespace kovra::document;

// Tree captions are Windows-1250 text.
std::string shown(std::string caption) {
  store::cp1250_to_mazovia(caption);
  return store::mazovia_to_utf8(caption);
}

void print_tree(const Base_Node& root, std::ostream& out) {
  for (const Smp_Node* n = root.first_child; n; n = next_in_preorder(n)) {
    if (!is_in_subtree(n, &root)) break;
    const auto* node = static_cast<const Base_Node*>(n);
    out << std::string(2 * std::size_t(n->depth - root.depth - 1), ' ') << shown(node->caption()) << "\n";
  }
}

int run_tree(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    err << "usage: kovra-cli tree FILE [--password TEXT]\n";
    return exit_usage;
  }
  const std::string& path = args[0];
  uint8_t error = 0;
  const int kind = document_kind(path, &error);
  std::unique_ptr<estimate_doc> doc = kind < 0 ? nullptr : open_estimate_by_kind(path, kind, true);
  if (!doc) {
    err << "kovra-cli: " << path << ": the estimate cannot be opened\n";
    return exit_cannot_open;
  }
  out << document_title(*doc, path) << "\n";
  doc->tree = std::make_unique<Kvr_Tree8>();
  auto* root = new Koszt_Node;
  root->doc = doc.get();
  attach_last(*doc->tree, nullptr, root, picture_of(*root),
              estimate_node_text(doc->general, doc->structure_kind != LAYOUT_SIMPLE));
  if (doc->structure_kind == LAYOUT_SIMPLE) {
    build_tree(*doc->records, *doc->tree, *root, doc.get());
  } else {
    store_compound compound(*doc->records, path, doc->header, doc->general, doc->overhead);
    chapter_open_options quiet;
    quiet.quiet = true;
    quiet.check_password = true;  // a protected external chapter shows for --password only
    open_all_chapters(*doc->tree, *root, compound, quiet);
    print_tree(*root, out);
    close_estimate(*doc);  // the chapters close with the tree, before the compound
    return exit_ok;
  }
  print_tree(*root, out);
  close_estimate(*doc);
  return exit_ok;
}

const command_registration reg{
    {"tree", "FILE [--password TEXT]", "open an estimate read-only and print its title and tree", run_tree}};

} // namespace
} // namespace kovra::cli
