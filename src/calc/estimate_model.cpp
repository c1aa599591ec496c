#include "calc/estimate_model.h"

#include <algorithm>

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
  // Needs the tree (depth) built first.
  std::vector<int> owner(model.nodes.size(), -1);
  for (size_t s = 0; s < model.nodes.size(); ++s) {
    model_node& scaffold = model.nodes[s];
    if (scaffold.type != node_scaffold) {
      scaffold.links.clear();
      continue;
    }
    std::vector<int> kept;
    for (int link : scaffold.links) {
      if (link < 0 || static_cast<size_t>(link) >= model.nodes.size() || static_cast<size_t>(link) == s) continue;
      if (model.nodes[static_cast<size_t>(link)].depth < 0) continue; // not in the tree
      if (std::find(kept.begin(), kept.end(), link) != kept.end()) continue;
      int& previous = owner[static_cast<size_t>(link)];
      if (previous >= 0) {
        auto& old = model.nodes[static_cast<size_t>(previous)].links;
        old.erase(std::remove(old.begin(), old.end(), link), old.end());
      }
      previous = static_cast<int>(s);
      kept.push_back(link);
    }
    scaffold.links = std::move(kept);
  }
}

} // namespace kovra::calc
