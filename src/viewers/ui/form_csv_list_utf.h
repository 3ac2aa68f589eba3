// TFormCsvListUtf: the Unicode CSV library's window, a table over a file's records read on demand.
#pragma once

#include <QAbstractTableModel>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/viewer_form.h"
#include "viewers/unicode_csv.h"

class QTimer;
class QTreeView;

namespace tessary {

// A file's records as table rows: column 0 the record number, then its fields. Only the index of
// record starts is held; a row is parsed when it is drawn and kept in a small cache, so a
// million rows cost no more than the file and the index. At most 2048 field columns are shown.
class CsvRecordsModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit CsvRecordsModel(QObject* parent);

  // Takes the file's text; the rows appear as Grow() indexes them.
  void Reset(CsvText text, CsvSeparator sep);
  // Indexes about `budget` bytes more and tells the views of the new rows and columns.
  [[nodiscard]] CsvRecordIndex::Progress Grow(size_t budget);
  void SetLineBreakMark(LineBreakMark mark);

  [[nodiscard]] const CsvText& Text() const { return text_; }
  [[nodiscard]] const CsvRecordIndex* Index() const { return index_.get(); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  struct CachedRow {
    int row = -1;
    std::vector<QString> cells;
  };
  const CachedRow& Row(int row) const;

  CsvText text_;
  CsvSeparator sep_ = CsvSeparator::Comma;
  std::unique_ptr<CsvRecordIndex> index_;
  LineBreakMark mark_ = LineBreakMark::Ret;
  int rows_ = 0;
  int fields_ = 0;
  // Direct-mapped by row number: the rows on screen and a few pages around them.
  mutable std::array<CachedRow, 512> cache_;
};

// The window: the table, a menu to close it and to choose how line breaks in cells are shown,
// and a status panel with the code, the separator and the records counted so far.
class TFormCsvListUtf final : public TViewerForm {
  Q_OBJECT
 public:
  explicit TFormCsvListUtf(QWidget* parent);

  // Reads the file (its code detected as the editor detects it) and shows its first rows at
  // once; the rest of the index is built in slices between the window's events, abandoned when
  // another file is opened or the window goes. A file that cannot be read is named in the
  // status panel and leaves the table empty.
  void Open(const std::string& path);

  [[nodiscard]] QTreeView* Table() const { return table_; }
  [[nodiscard]] const CsvRecordsModel& Model() const { return *model_; }
  // Whether the index has reached the end of the file.
  [[nodiscard]] bool Indexed() const;

 private:
  void IndexSlice();
  void ShowCounts();
  void ChooseMark(LineBreakMark mark);

  QTreeView* table_ = nullptr;
  CsvRecordsModel* model_ = nullptr;
  QTimer* indexer_ = nullptr;
  std::string code_text_;
};

}  // namespace tessary
