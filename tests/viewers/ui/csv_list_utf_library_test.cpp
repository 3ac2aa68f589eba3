// The built CsvListUtf.so loaded through dlopen: its window shows a file's records in Unicode.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QTreeView>

#include "platform/dynamic_library.h"
#include "support/qt_test_app.h"
#include "support/test_files.h"
#include "viewers/csv_list_utf_api.h"

namespace tessary {
namespace {

// The library's table, found the way a user sees it: a visible top-level window's list.
QTreeView* LibraryTable() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible())
      if (auto* t = w->findChild<QTreeView*>()) return t;
  return nullptr;
}

// Lets the window index the rest of the file between its events.
void SettleIndex(const QAbstractItemModel& m) {
  QElapsedTimer clock;
  clock.start();
  int rows = -1;
  while (clock.elapsed() < 5000 && rows != m.rowCount()) {
    rows = m.rowCount();
    QApplication::processEvents();
    QApplication::processEvents();
  }
}

std::string Cell(const QAbstractItemModel& m, int row, int column) {
  return m.data(m.index(row, column)).toString().toStdString();
}

TEST(CsvListUtfLibrary, ShowsAUtf16FileLosslesslyAndClosesItsWindow) {
  testing::OffscreenApp();
  SystemLibraryLoader loader;
  Result<std::unique_ptr<LoadedLibrary>> lib = loader.Load(TESSARY_CSVLIST_UTF_LIBRARY);
  ASSERT_TRUE(lib.ok()) << lib.error().message;
  auto open = ExportAs<TessaryCsvOpenForm>(*lib.value(), kCsvOpenFormExport);
  auto start = ExportAs<TessaryCsvStart>(*lib.value(), kCsvStartExport);
  auto close = ExportAs<TessaryCsvCloseForm>(*lib.value(), kCsvCloseFormExport);
  ASSERT_TRUE(open && start && close);

  // UTF-16 LE with a mark: characters Shift-JIS has no code for, a quoted line break, 3000 rows.
  std::u16string text = u"\uFEFF名前,値\r\n\"😀 ①\r\n♫\",\"a\"\"b\"\r\n";
  for (int i = 0; i < 3000; ++i) text += u"行," + std::u16string(1, u'0' + i % 10) + u"\r\n";
  std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  testing::TempDir dir;
  const std::string path = dir.Write("表.csv", bytes);

  QWidget owner;
  open(&owner, 0);
  start(&owner, path.c_str());
  QTreeView* table = LibraryTable();
  ASSERT_NE(table, nullptr);
  const QAbstractItemModel& m = *table->model();
  EXPECT_GT(m.rowCount(), 0);  // the first rows are there before any event
  SettleIndex(m);
  ASSERT_EQ(m.rowCount(), 3002);
  EXPECT_EQ(m.columnCount(), 3);  // the record number and two fields
  EXPECT_EQ(Cell(m, 0, 0), "1");
  EXPECT_EQ(Cell(m, 0, 1), "名前");
  EXPECT_EQ(Cell(m, 1, 1), "😀 ①<Ret>♫");
  EXPECT_EQ(Cell(m, 1, 2), "a\"b");
  EXPECT_EQ(Cell(m, 3001, 2), "9");

  // Another file replaces the first in the same window.
  start(&owner, dir.Write("b.tsv", "x\ty\n").c_str());
  ASSERT_EQ(LibraryTable(), table);
  SettleIndex(m);
  EXPECT_EQ(m.rowCount(), 1);
  EXPECT_EQ(Cell(m, 0, 2), "y");

  close(&owner);
  EXPECT_EQ(LibraryTable(), nullptr);
  lib.value().reset();  // unloaded with no window of its left behind
  QApplication::processEvents();
}

}  // namespace
}  // namespace tessary
