// The item model over an IndentTree: rows, parents and texts agree with the tree's nodes.
#include "platform/ui/indent_tree_view.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QTreeView>
#include <memory>
#include <random>
#include <string>

#include "platform/ui/qt_conversions.h"
#include "support/qt_test_app.h"

namespace tessary {
namespace {

struct OwnedTree {
  std::string text;
  IndentTree tree;
};

std::shared_ptr<OwnedTree> TreeOf(std::string text) {
  auto owned = std::make_shared<OwnedTree>();
  owned->text = std::move(text);
  owned->tree = LoadIndentTree(owned->text);
  return owned;
}

QString Plain(const IndentNode& node) {
  return Q(node.text);
}

// Every node reached through the model, in the order a tree view lists them when expanded.
void Walk(const IndentTreeModel& m, const QModelIndex& parent, std::vector<size_t>& out) {
  for (int r = 0; r < m.rowCount(parent); ++r) {
    const QModelIndex child = m.index(r, 0, parent);
    EXPECT_EQ(m.parent(child), parent);
    out.push_back(*m.NodeOf(child));
    Walk(m, child, out);
  }
}

TEST(IndentTreeModel, RowsAndParentsFollowTheTreeInLineOrder) {
  testing::OffscreenApp();
  const auto owned = TreeOf("a\r\n b\r\n  c\r\n d\r\ne\r\n f\r\ng");
  IndentTreeModel m;
  QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::Fatal);
  m.SetTree(owned, &owned->tree, {Plain, nullptr});
  ASSERT_EQ(m.rowCount(), 3);  // a, e, g
  EXPECT_EQ(m.data(m.index(1, 0), Qt::DisplayRole).toString(), "e");
  EXPECT_EQ(m.rowCount(m.index(0, 0)), 2);  // b, d
  const QModelIndex c = m.index(0, 0, m.index(0, 0, m.index(0, 0)));
  EXPECT_EQ(m.data(c, Qt::DisplayRole).toString(), "c");
  EXPECT_EQ(m.IndexOfNode(2), c);
  EXPECT_FALSE(m.IndexOfNode(7).isValid());
  EXPECT_FALSE(m.data(c, Qt::DecorationRole).isValid()) << "no icons asked for";
  std::vector<size_t> order;
  Walk(m, {}, order);
  EXPECT_EQ(order, (std::vector<size_t>{0, 1, 2, 3, 4, 5, 6}));
  m.Clear();
  EXPECT_EQ(m.rowCount(), 0);
  EXPECT_FALSE(m.NodeOf(QModelIndex()).has_value());
}

// A large random tree: the walk through the model meets every node once, in line order.
TEST(IndentTreeModel, ALargeTreeIsIndexedWhole) {
  testing::OffscreenApp();
  std::mt19937 rng(3);
  std::string text;
  int depth = 0;
  for (int i = 0; i < 100'000; ++i) {
    depth = std::max(0, depth + static_cast<int>(rng() % 3) - 1);
    text.append(static_cast<size_t>(depth), ' ');
    text += "x\r\n";
  }
  const auto owned = TreeOf(std::move(text));
  IndentTreeModel m;
  m.SetTree(owned, &owned->tree, {Plain, nullptr});
  ASSERT_EQ(m.NodeCount(), 100'000u);
  std::vector<size_t> order;
  Walk(m, {}, order);
  ASSERT_EQ(order.size(), 100'000u);
  for (size_t i = 0; i < order.size(); ++i) ASSERT_EQ(order[i], i);

  QTreeView view;
  SetUpIndentTreeView(view, m);
  EXPECT_TRUE(view.uniformRowHeights());
  EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(view.selectionBehavior(), QAbstractItemView::SelectRows);
}

}  // namespace
}  // namespace tessary
