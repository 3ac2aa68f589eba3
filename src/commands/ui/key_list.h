// The list of key rows both key map windows show: its look, its model and its column widths.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <span>
#include <string>

class QTreeView;
class QTreeWidget;

namespace tessary {

// Rows of texts asked for only when a row is drawn, so a list of many thousand rows costs one
// reset, not one item per row. The last header is the blank column that keeps the others clear
// of the list's right edge.
class KeyRowsModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  // UTF-8 text of a shown row's column; never asked for the blank column.
  using Cell = std::function<std::string(int row, int column)>;

  KeyRowsModel(QStringList headers, QObject* parent);

  // Replaces every row; the views start again from the top.
  void Reset(int rows, Cell cell);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QStringList headers_;
  int rows_ = 0;
  Cell cell_;
};

// The key lists' look: whole rows, one at a time, read-only, all rows one line high; a
// selected row keeps an aqua background while the list has no focus.
void SetUpKeyList(QTreeView* list);
// The same for a list of items, with its column headers.
void SetUpKeyList(QTreeWidget* list, const QStringList& headers);
// Sets the columns' widths from the first column on.
void SetColumnWidths(QTreeView* list, std::span<const int> widths);
// Makes the first row current and shows it; nothing when the list is empty.
void SelectFirstRow(QTreeView* list);

}  // namespace tessary
