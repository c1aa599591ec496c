#include "calc/estimate_model.h"


namespace kovra::calc {

void build_tree(estimate_model& model) {
  model.roots.clear();
  for (auto& n : model.nodes) {
    n.parent = -1;
    n.depth = -1; // detached until attached below
    n.children.clear();
  }
  if (model.nodes.empty()) return;
  // slot[d]: the node whose children sit at depth d + 1; -1 is the estimate itself.
  std::vector<int> slot{-1};
  const int base = model.nodes.front().level;
  int current = -1; // the most recent group or element
  auto attach = [&](int index, int parent) {
    model_node& n = model.nodes[static_cast<size_t>(index)];
    n.parent = parent;
    n.depth = parent < 0 ? 1 : model.nodes[static_cast<size_t>(parent)].depth + 1;
    if (parent < 0) model.roots.push_back(index);
    else model.nodes[static_cast<size_t>(parent)].children.push_back(index);
  };
  for (size_t i = 0; i < model.nodes.size(); ++i) {
    model_node& n = model.nodes[i];
    const int index = static_cast<int>(i);
    if (n.type == node_element || n.type == node_group) {
      int d = static_cast<int>(n.level) - base;
      // Levels out of step with the slots filled so far hang on the nearest one.
      if (d < 0) d = 0;
      if (d >= static_cast<int>(slot.size())) d = static_cast<int>(slot.size()) - 1;
      attach(index, slot[static_cast<size_t>(d)]);
      slot.resize(static_cast<size_t>(d) + 1);
      slot.push_back(index);
      current = index;
    } else if (n.type >= 1 && n.type <= 7) {
      attach(index, current);
    }
  }
}

void settle_scaffold_links(estimate_model& model) {
  // Needs the tree (depth) built first. Every scaffolding keeps the positions it names that
  // are in the tree, each once; a position named by two scaffoldings counts for both, as
  // the tree adds it to every list that names it. One pass over the links.
  const size_t count = model.nodes.size();
  auto usable = [&](size_t s, int link) {
    return link >= 0 && static_cast<size_t>(link) < count && static_cast<size_t>(link) != s &&
           model.nodes[static_cast<size_t>(link)].depth >= 0; // in the tree
  };
  std::vector<int> taken_by(count, -1);
  for (size_t s = 0; s < count; ++s) {
    model_node& scaffold = model.nodes[s];
    if (scaffold.type != node_scaffold) {
      scaffold.links.clear();
      continue;
    }
    std::vector<int> kept;
    for (int link : scaffold.links) {
      if (!usable(s, link) || taken_by[static_cast<size_t>(link)] == static_cast<int>(s)) continue; // a repeat
      taken_by[static_cast<size_t>(link)] = static_cast<int>(s);
      kept.push_back(link);
    }
    scaffold.links = std::move(kept);
  }
}

} // namespace kovra::calc
