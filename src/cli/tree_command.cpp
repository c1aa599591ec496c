// kovra-cli tree FILE: the estimate opened read-only as its window opens it, its title and
// its tree (one caption a line, indented by depth).
#include "cli/command.h"
#include "cli/opened_tree.h"
#include "document/estimate_layout.h"
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
  std::unique_ptr<opened_tree> t = open_tree(path, err);
  if (!t) return exit_cannot_open;
  out << document_title(*t->doc, path) << "\n";
  print_tree(*t->root, out);
  return exit_ok;
}

const command_registration reg{
    {"tree", "FILE [--password TEXT]", "open an estimate read-only and print its title and tree", run_tree}};

} // namespace
} // namespace kovra::cli
