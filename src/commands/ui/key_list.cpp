// The key lists' model and look.
#include "commands/ui/key_list.h"

#include <QHeaderView>
#include <QTreeView>
#include <QTreeWidget>
#include <utility>

#include "platform/ui/qt_conversions.h"

namespace tessary {

KeyRowsModel::KeyRowsModel(QStringList headers, QObject* parent)
    : QAbstractTableModel(parent), headers_(std::move(headers)) {}

void KeyRowsModel::Reset(int rows, Cell cell) {
  beginResetModel();
  rows_ = rows;
  cell_ = std::move(cell);
  endResetModel();
}

int KeyRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int KeyRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant KeyRowsModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_) return {};
  if (index.column() + 1 >= columnCount() || !cell_) return QString();
  return Q(cell_(index.row(), index.column()));
}

QVariant KeyRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= columnCount()) return {};
  return headers_[section];
}

void SetUpKeyList(QTreeView* list) {
  list->setRootIsDecorated(false);
  list->setItemsExpandable(false);
  list->setUniformRowHeights(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->header()->setStretchLastSection(false);
  list->header()->setSectionsMovable(false);
  list->header()->setMinimumSectionSize(10);  // the blank last column is that narrow
  QPalette p = list->palette();
  p.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0x00, 0xFF, 0xFF));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             p.color(QPalette::Active, QPalette::WindowText));
  list->setPalette(p);
}

void SetUpKeyList(QTreeWidget* list, const QStringList& headers) {
  list->setColumnCount(static_cast<int>(headers.size()));
  list->setHeaderLabels(headers);
  SetUpKeyList(static_cast<QTreeView*>(list));
}

void SetColumnWidths(QTreeView* list, std::span<const int> widths) {
  for (size_t c = 0; c < widths.size(); ++c) list->setColumnWidth(static_cast<int>(c), widths[c]);
}

void SelectFirstRow(QTreeView* list) {
  QAbstractItemModel* model = list->model();
  if (!model || model->rowCount() == 0) return;
  const QModelIndex first = model->index(0, 0);
  list->setCurrentIndex(first);
  list->scrollTo(first);
}

}  // namespace tessary
