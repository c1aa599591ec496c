#pragma once
// The estimate tree as an item model: the view asks for the nodes it shows, straight from
// the document's Kvr_Tree8 (no item object per node). It also hears the document layer's
// tree changes (moves, new groups) and tells the view.
#include "document/estimate_nodes.h"

#include <QAbstractItemModel>
#include <QStyledItemDelegate>
#include <unordered_map>
#include <vector>

namespace kovra::app {

class estimate_tree_model : public QAbstractItemModel, public document::tree_observer {
public:
  explicit estimate_tree_model(QObject* parent = nullptr);
  ~estimate_tree_model() override;

  // Shows `tree` (its first node is the estimate node, captioned `root_text`, UTF-8), or
  // nothing; becomes the tree's observer.
  void set_tree(document::Kvr_Tree8* tree, const QString& root_text);
  document::Kvr_Tree8* tree() const { return tree_; }

  QModelIndex index_of(const document::Base_Node* node) const;
  static document::Base_Node* node_of(const QModelIndex& index);

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override { return 1; }
  QVariant data(const QModelIndex& index, int role) const override;

  // Whether a node is drawn italic: a position left out of the totals or not valued, a
  // chapter whose document is marked as a constituent.
  static bool drawn_italic(const document::Base_Node& node);

  void node_attached(document::Base_Node& node, int picture, const std::string& text) override;
  void node_removed(document::Base_Node& node) override;
  void node_moved(document::Base_Node& node) override;
  // Ends a reset begun by a removal (the window calls it after each tree command).
  void finish_changes();

private:
  const std::vector<document::Smp_Node*>& children(const document::Smp_Node* parent) const;
  int row_of(const document::Smp_Node* node) const;
  void structure_changed();

  document::Kvr_Tree8* tree_ = nullptr;
  QString root_text_;
  bool resetting_ = false;
  // Children of each parent shown so far (nullptr: the top level), built on demand.
  mutable std::unordered_map<const document::Smp_Node*, std::vector<document::Smp_Node*>> children_;
  mutable std::unordered_map<const document::Smp_Node*, int> rows_;
};

// Selected nodes bold, in the selection colours of a focused or an unfocused tree.
class tree_delegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;

protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

} // namespace kovra::app
