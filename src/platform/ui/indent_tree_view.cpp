// The rows of an IndentTree for a Qt tree view, indexed in one pass.
#include "platform/ui/indent_tree_view.h"

#include <QHeaderView>
#include <QPalette>
#include <QTreeView>

namespace tessary {

IndentTreeModel::IndentTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void IndentTreeModel::SetTree(std::shared_ptr<const void> owner, const IndentTree* tree,
                              IndentTreeLook look) {
  beginResetModel();
  owner_ = std::move(owner);
  tree_ = tree;
  look_ = std::move(look);
  IndexChildren();
  endResetModel();
}

void IndentTreeModel::Clear() {
  SetTree(nullptr, nullptr, {});
}

// Counting sort by parent: nodes come in line order, so each node's children land in their
// own order, and the parent's slot for the top level is slot 0.
void IndentTreeModel::IndexChildren() {
  const size_t n = NodeCount();
  first_kid_.assign(n + 2, 0);
  kids_.assign(n, 0);
  row_.assign(n, 0);
  for (size_t i = 0; i < n; ++i) {
    const int32_t parent = tree_->nodes[i].parent;
    row_[i] = first_kid_[static_cast<size_t>(parent + 1) + 1]++;
  }
  for (size_t p = 1; p < first_kid_.size(); ++p) first_kid_[p] += first_kid_[p - 1];
  for (size_t i = 0; i < n; ++i) {
    const auto slot = static_cast<size_t>(tree_->nodes[i].parent + 1);
    kids_[static_cast<size_t>(first_kid_[slot] + row_[i])] = static_cast<int32_t>(i);
  }
}

size_t IndentTreeModel::KidsBegin(int32_t node) const {
  return first_kid_.empty() ? 0 : static_cast<size_t>(first_kid_[static_cast<size_t>(node + 1)]);
}

size_t IndentTreeModel::KidsEnd(int32_t node) const {
  return first_kid_.empty() ? 0 : static_cast<size_t>(first_kid_[static_cast<size_t>(node + 2)]);
}

std::optional<size_t> IndentTreeModel::NodeOf(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != this) return std::nullopt;
  return static_cast<size_t>(index.internalId());
}

QModelIndex IndentTreeModel::IndexOfNode(size_t node) const {
  if (node >= NodeCount()) return {};
  return createIndex(row_[node], 0, static_cast<quintptr>(node));
}

QModelIndex IndentTreeModel::index(int row, int column, const QModelIndex& parent) const {
  const int32_t p = parent.isValid() ? static_cast<int32_t>(parent.internalId()) : -1;
  const size_t begin = KidsBegin(p);
  if (row < 0 || column != 0 || begin + static_cast<size_t>(row) >= KidsEnd(p)) return {};
  return createIndex(row, 0, static_cast<quintptr>(kids_[begin + static_cast<size_t>(row)]));
}

QModelIndex IndentTreeModel::parent(const QModelIndex& child) const {
  const std::optional<size_t> node = NodeOf(child);
  if (!node) return {};
  const int32_t p = tree_->nodes[*node].parent;
  return p < 0 ? QModelIndex() : IndexOfNode(static_cast<size_t>(p));
}

int IndentTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  const int32_t p = parent.isValid() ? static_cast<int32_t>(parent.internalId()) : -1;
  return static_cast<int>(KidsEnd(p) - KidsBegin(p));
}

int IndentTreeModel::columnCount(const QModelIndex&) const {
  return 1;
}

QVariant IndentTreeModel::data(const QModelIndex& index, int role) const {
  const std::optional<size_t> node = NodeOf(index);
  if (!node) return {};
  const IndentNode& n = tree_->nodes[*node];
  if (role == Qt::DisplayRole && look_.text) return look_.text(n);
  if (role == Qt::DecorationRole && look_.icon) return look_.icon(n);
  return {};
}

Qt::ItemFlags IndentTreeModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void SetUpIndentTreeView(QTreeView& view, IndentTreeModel& model) {
  view.setModel(&model);
  view.setHeaderHidden(true);
  view.setUniformRowHeights(true);
  view.setEditTriggers(QAbstractItemView::NoEditTriggers);
  view.setSelectionMode(QAbstractItemView::SingleSelection);
  view.setSelectionBehavior(QAbstractItemView::SelectRows);
  view.header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  view.header()->setStretchLastSection(false);
  // The heading being read stays marked while the focus is in the document.
  QPalette palette = view.palette();
  for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
    palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
  view.setPalette(palette);
}

}  // namespace tessary
