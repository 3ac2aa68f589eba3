// A Qt tree view's rows over an IndentTree: filled in one pass, no widget item per node.
#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "base/indent_tree.h"

class QTreeView;

namespace tessary {

// What the view shows of a node: its text (the caller knows the text's code) and its icon.
struct IndentTreeLook {
  std::function<QString(const IndentNode&)> text;
  std::function<QIcon(const IndentNode&)> icon;  // may be empty: no icons
};

// A read-only model whose rows are the nodes of a tree. Filling it computes each node's row and
// children once (linear in the nodes); texts are converted only for the rows the view draws.
class IndentTreeModel final : public QAbstractItemModel {
 public:
  explicit IndentTreeModel(QObject* parent = nullptr);

  // Shows the tree `owner` keeps alive (the nodes' texts point into it), in one model reset.
  void SetTree(std::shared_ptr<const void> owner, const IndentTree* tree, IndentTreeLook look);
  void Clear();

  [[nodiscard]] size_t NodeCount() const { return tree_ ? tree_->nodes.size() : 0; }
  // The node of an index of this model; nothing for an invalid index.
  [[nodiscard]] std::optional<size_t> NodeOf(const QModelIndex& index) const;
  [[nodiscard]] QModelIndex IndexOfNode(size_t node) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  // Children of node n are kids_[first_kid_[n + 1] .. first_kid_[n + 2]); the top-level nodes
  // are the range of n = -1.
  [[nodiscard]] size_t KidsBegin(int32_t node) const;
  [[nodiscard]] size_t KidsEnd(int32_t node) const;
  void IndexChildren();

  std::shared_ptr<const void> owner_;
  const IndentTree* tree_ = nullptr;
  IndentTreeLook look_;
  std::vector<int32_t> first_kid_;
  std::vector<int32_t> kids_;
  std::vector<int32_t> row_;  // each node's row among its siblings
};

// A tree view as the outline, the help window and the snippet lists use it: read-only, whole rows,
// one selection kept visible when unfocused, rows of one height so a long tree scrolls without
// measuring every row.
void SetUpIndentTreeView(QTreeView& view, IndentTreeModel& model);

}  // namespace tessary
