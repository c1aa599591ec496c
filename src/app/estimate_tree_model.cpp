#include "app/estimate_tree_model.h"

#include "app/tree_pictures.h"
#include "document/compound_nodes.h"
#include "document/estimate_doc.h"
#include "store/codepage.h"

#include <QFont>

namespace kovra::app {

using document::Base_Node;
using document::Smp_Node;

namespace {
// Node captions are Windows-1250 text.
QString shown(std::string caption) {
  store::cp1250_to_mazovia(caption);
  return QString::fromStdString(store::mazovia_to_utf8(caption));
}
constexpr std::size_t constituent_mark_offset = 5604;
} // namespace

estimate_tree_model::estimate_tree_model(QObject* parent) : QAbstractItemModel(parent) {}

estimate_tree_model::~estimate_tree_model() {
  if (tree_ && tree_->observer == this) tree_->observer = nullptr;
}

void estimate_tree_model::set_tree(document::Kvr_Tree8* tree, const QString& root_text) {
  beginResetModel();
  if (tree_ && tree_->observer == this) tree_->observer = nullptr;
  tree_ = tree;
  root_text_ = root_text;
  if (tree_) tree_->observer = this;
  children_.clear();
  rows_.clear();
  endResetModel();
}

const std::vector<Smp_Node*>& estimate_tree_model::children(const Smp_Node* parent) const {
  auto it = children_.find(parent);
  if (it != children_.end()) return it->second;
  std::vector<Smp_Node*> list;
  for (Smp_Node* n = parent ? parent->first_child : (tree_ ? tree_->first : nullptr); n; n = n->next) {
    rows_[n] = int(list.size());
    list.push_back(n);
  }
  return children_.emplace(parent, std::move(list)).first->second;
}

int estimate_tree_model::row_of(const Smp_Node* node) const {
  auto it = rows_.find(node);
  if (it != rows_.end()) return it->second;
  children(node->parent);
  it = rows_.find(node);
  return it == rows_.end() ? -1 : it->second;
}

Base_Node* estimate_tree_model::node_of(const QModelIndex& index) {
  return index.isValid() ? static_cast<Base_Node*>(index.internalPointer()) : nullptr;
}

QModelIndex estimate_tree_model::index_of(const Base_Node* node) const {
  if (!node || !tree_) return {};
  int row = row_of(node);
  return row < 0 ? QModelIndex() : createIndex(row, 0, const_cast<Base_Node*>(node));
}

QModelIndex estimate_tree_model::index(int row, int column, const QModelIndex& parent) const {
  if (!tree_ || column != 0 || row < 0) return {};
  const auto& list = children(node_of(parent));
  if (row >= int(list.size())) return {};
  return createIndex(row, 0, list[std::size_t(row)]);
}

QModelIndex estimate_tree_model::parent(const QModelIndex& child) const {
  Base_Node* n = node_of(child);
  if (!n || !n->parent) return {};
  return index_of(static_cast<Base_Node*>(n->parent));
}

int estimate_tree_model::rowCount(const QModelIndex& parent) const {
  if (!tree_ || parent.column() > 0) return 0;
  const Smp_Node* p = node_of(parent);
  if (p && !p->first_child) return 0;
  return int(children(p).size());
}

bool estimate_tree_model::drawn_italic(const Base_Node& node) {
  if (node.kind == document::KIND_CHAPTER) {
    document::chapter_document* c = static_cast<const document::Rozdz_Node&>(node).chapter();
    return c && c->general().bytes.size() > constituent_mark_offset && c->general().bytes[constituent_mark_offset] != 0;
  }
  if (node.kind == document::KIND_ESTIMATE) return false;
  const auto& e = static_cast<const document::Elpz_Node&>(node);
  return e.record.not_valued() || (e.record.flags() & document::FLAG_NOT_IN_TOTALS) != 0;
}

QVariant estimate_tree_model::data(const QModelIndex& index, int role) const {
  const Base_Node* n = node_of(index);
  if (!n) return {};
  switch (role) {
  case Qt::DisplayRole:
  case Qt::ToolTipRole:
    return n->kind == document::KIND_ESTIMATE ? root_text_ : shown(n->caption());
  case Qt::DecorationRole:
    return tree_picture(n->kind == document::KIND_CHAPTER
                            ? document::chapter_picture(static_cast<const document::Rozdz_Node&>(*n))
                            : document::picture_of(*n));
  case Qt::FontRole:
    if (drawn_italic(*n)) {
      QFont f;
      f.setItalic(true);
      return f;
    }
    return {};
  default:
    return {};
  }
}

void estimate_tree_model::structure_changed() {
  if (resetting_) return;
  // The nodes keep their addresses: persistent indexes (selection, expansion) follow them.
  emit layoutAboutToBeChanged();
  const QModelIndexList before = persistentIndexList();
  children_.clear();
  rows_.clear();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& i : before) after.push_back(index_of(node_of(i)));
  changePersistentIndexList(before, after);
  emit layoutChanged();
}

void estimate_tree_model::node_attached(Base_Node&, int, const std::string&) { structure_changed(); }
void estimate_tree_model::node_moved(Base_Node&) { structure_changed(); }

void estimate_tree_model::node_removed(Base_Node&) {
  if (resetting_) return;
  resetting_ = true;
  beginResetModel();
}

void estimate_tree_model::finish_changes() {
  if (!resetting_) return;
  children_.clear();
  rows_.clear();
  resetting_ = false;
  endResetModel();
}

void tree_delegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (option->state & QStyle::State_Selected) option->font.setBold(true);
  // Without the focus the selection keeps its inactive colours (the platform's pair).
}

} // namespace kovra::app
