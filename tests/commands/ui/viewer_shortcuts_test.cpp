// A viewer window's menu items take their key map rows by command id, with the viewers' key names.
#include "commands/ui/viewer_shortcuts.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "commands/key_map_fakes.h"
#include "support/qt_test_app.h"

namespace tessary {
namespace {

class CsvLikeViewer final : public TViewerForm {
 public:
  CsvLikeViewer() : TViewerForm(nullptr, QSize(200, 100)) {
    QMenu* menu = AddMenu("表示(&V)");
    for (int id : {1021, 1101, 1202, 1711, 1712, 1731}) AddCommand(menu, id, "item");
  }
};

TEST(ApplyViewerShortcuts, RowsReachTheWindowsItemsById) {
  testing::OffscreenApp();
  KeyMap map = testing::DefaultKeyMap();
  FindKeyMapRow(map, "1711")->shortcut = "Shift+Ctrl+A";
  FindKeyMapRow(map, "1712")->shortcut = "Ctrl+Space";  // not a key the viewers know
  FindKeyMapRow(map, "1731")->shortcut = "Ctrl+B";      // a row of the binary viewer
  CsvLikeViewer form;
  form.CommandAction(1712)->setShortcut(QKeySequence(Qt::Key_F9));
  form.CommandAction(1731)->setShortcut(QKeySequence(Qt::Key_F10));

  ApplyViewerShortcuts(map, ShortcutWindow::CsvList, form);
  EXPECT_EQ(form.CommandAction(1101)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
  EXPECT_EQ(form.CommandAction(1202)->shortcut(), QKeySequence(Qt::Key_F3));
  EXPECT_EQ(form.CommandAction(1711)->shortcut(), QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_A));
  EXPECT_TRUE(form.CommandAction(1712)->shortcut().isEmpty()) << "an unknown key clears it";
  EXPECT_EQ(form.CommandAction(1731)->shortcut(), QKeySequence(Qt::Key_F10))
      << "rows of other windows are left alone";
  EXPECT_TRUE(form.CommandAction(1021)->shortcut().isEmpty());
}

}  // namespace
}  // namespace tessary
