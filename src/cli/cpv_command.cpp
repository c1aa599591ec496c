// kovra-cli cpv FILE: the CPV codes of an estimate as its code view would show them. The
// estimate is opened read-only with its tree, the codes are collected, and for the estimate
// and every node that has codes (indented by depth, its caption first) one line per code:
// "wstawiony: MAIN | SUPPLEMENTARY" for the node's own pairs, "zebrany: MAIN" for the codes
// collected from below, "agregowany: MAIN" for those cut to the node's level. The title
// line is always printed. A code of the
// older edition shows its current entry; a code in neither table shows as stored, marked.
#include "cli/command.h"
#include "cli/opened_tree.h"
#include "document/cpv_collect.h"
#include "store/codepage.h"

#include <ostream>

namespace kovra::cli {
namespace {

using namespace kovra::document;

std::string shown_caption(std::string caption) {  // tree captions are Windows-1250
  store::cp1250_to_mazovia(caption);
  return store::mazovia_to_utf8(caption);
}

void print_codes(const Base_Node& node, const std::string& caption, int indent, std::ostream& out, bool always = false) {
  if (!always && node.cpv_own.empty() && node.cpv_collected.empty() && node.cpv_aggregated.empty()) return;
  const std::string pad(2 * std::size_t(indent), ' ');
  out << pad << caption << "\n";
  for (const cpv_pair& p : node.cpv_own) {
    out << pad << "  wstawiony: " << p.main.shown();
    if (!p.supplementary.empty()) out << " | " << p.supplementary.shown();
    out << "\n";
  }
  for (const cpv_code& c : node.cpv_collected) out << pad << "  zebrany: " << c.shown() << "\n";
  for (const cpv_code& c : node.cpv_aggregated) out << pad << "  agregowany: " << c.shown() << "\n";
}

int run_cpv(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    err << "usage: kovra-cli cpv FILE [--password TEXT]\n";
    return exit_usage;
  }
  const std::string& path = args[0];
  std::unique_ptr<opened_tree> t = open_tree(path, err);
  if (!t) return exit_cannot_open;
  if (!cpv_tables_error().empty()) err << "kovra-cli: CPV tables: " << cpv_tables_error() << "\n";
  collect_cpv(*t->doc);
  print_codes(*t->root, document_title(*t->doc, path), 0, out, true);
  for (const Smp_Node* n = t->root->first_child; n && is_in_subtree(n, t->root); n = next_in_preorder(n)) {
    const auto* node = static_cast<const Base_Node*>(n);
    print_codes(*node, shown_caption(node->caption()), n->depth - t->root->depth, out);
  }
  return exit_ok;
}

const command_registration reg{{"cpv", "FILE [--password TEXT]",
                                "open an estimate read-only and list the CPV codes of the estimate and of each node "
                                "(own, collected, aggregated) with their texts",
                                run_cpv}};

} // namespace
} // namespace kovra::cli
