// The outline and help windows through their widgets, offscreen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTest>
#include <QTreeView>
#include <filesystem>

#include "codec/sjis_text.h"
#include "commands/key_map_fakes.h"
#include "commands/ui/form_help.h"
#include "commands/ui/form_outline.h"
#include "editor/editor_control.h"
#include "editor/ui/editor.h"
#include "platform/ui/qt_conversions.h"
#include "support/qt_test_app.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::TempDir;

QStringList MenuTexts(const QWidget& w) {
  QStringList texts;
  for (QAction* menu : w.findChild<QMenuBar*>()->actions()) {
    texts << menu->text();
    for (QAction* item : menu->menu()->actions())
      if (!item->isSeparator()) texts << "  " + item->text();
  }
  return texts;
}

QString RowText(const QTreeView& tree, const QModelIndex& index) {
  return tree.model()->data(index, Qt::DisplayRole).toString();
}

class OutlineWindow : public ::testing::Test {
 protected:
  OutlineWindow() {
    main.resize(800, 600);
    main.move(300, 100);
  }
  void SetText(std::string_view utf8) {
    editor.Lines().SetTextStr(Utf8ToSjis(utf8));
    editor.SetCaret(0, 0);
  }
  // Shows the window and waits for the build and the ready flag.
  void ShowAndSettle(TFormOutLine& f) {
    f.ShowOutline();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.Ready(); }, 2000));
  }
  int CaretLine() const { return editor.RowToLine(editor.CaretRow()); }

  QApplication& app = testing::OffscreenApp();  // before any widget
  TempDir dir;
  AppHome home{dir.path()};
  PrivateProfile ini{home.SettingsFile()};
  QWidget main;
  EditorControl editor;
};

TEST_F(OutlineWindow, ShowsTheHeadingsSelectsTheFirstAndJumpsWhenReady) {
  SetText("前書き\r\n●第一章\r\n 本文\r\n ■一節\r\n[Options]\r\n●第二章");
  TFormOutLine f(&main, ini, home, editor);
  EXPECT_EQ(f.windowTitle(), Q("アウトライン"));
  EXPECT_EQ(f.minimumSize(), QSize(200, 240));
  EXPECT_EQ(MenuTexts(f),
            (QStringList{Q("ファイル(&F)"), Q("  左側に配置(&L)"), Q("  右側に配置(&R)"),
                         Q("  終了(&X)"), Q("検索(&S)"), Q("  メインへフォーカス移動(&M)")}));
  EXPECT_EQ(f.CommandAction(1703)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F3));

  f.ShowOutline();
  EXPECT_EQ(f.Current(), nullptr) << "the build waits until the window is drawn";
  ASSERT_TRUE(QTest::qWaitFor([&] { return f.Current() != nullptr; }, 1000));
  EXPECT_FALSE(f.Ready());
  EXPECT_EQ(f.Panel3->text(), Q("6/6"));
  const QAbstractItemModel& m = *f.TreeView1->model();
  ASSERT_EQ(m.rowCount(), 3);  // ●第一章, ●第二章, [Options]; ■一節 below the first
  EXPECT_TRUE(RowText(*f.TreeView1, m.index(0, 0)).startsWith(Q("●第一章     ")));
  EXPECT_TRUE(RowText(*f.TreeView1, m.index(0, 0)).endsWith(Q("00001")));
  EXPECT_EQ(m.rowCount(m.index(0, 0)), 1);
  EXPECT_TRUE(RowText(*f.TreeView1, m.index(2, 0)).startsWith(Q("[Options]")));
  EXPECT_EQ(f.TreeView1->currentIndex(), m.index(0, 0));
  EXPECT_EQ(CaretLine(), 0) << "no jump before the ready flag";

  ASSERT_TRUE(QTest::qWaitFor([&] { return f.Ready(); }, 1000));
  EXPECT_EQ(CaretLine(), 1);
  f.TreeView1->setCurrentIndex(m.index(0, 0, m.index(0, 0)));
  EXPECT_EQ(CaretLine(), 3);
  f.TreeView1->setCurrentIndex(m.index(2, 0));
  EXPECT_EQ(CaretLine(), 4);
  EXPECT_EQ(testing::ReadFileOrDie(home.PathOf(WorkingFile::OutLine)), f.Current()->FileText());
}

TEST_F(OutlineWindow, EnterInTheTreeIsSwallowedAndEscClosesStoringThePlacement) {
  SetText("●一\r\n●二");
  TFormOutLine f(&main, ini, home, editor);
  ShowAndSettle(f);
  f.TreeView1->setCurrentIndex(f.TreeView1->model()->index(1, 0));
  QTest::keyClick(f.TreeView1, Qt::Key_Return);
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(CaretLine(), 1);
  QTest::keyClick(f.TreeView1, Qt::Key_Escape);
  EXPECT_FALSE(f.isVisible());
  EXPECT_FALSE(f.Ready());
  const PrivateProfile stored(home.SettingsFile());
  EXPECT_EQ(stored.ReadString("FormOutLine", "State", ""), "NORMAL");
  EXPECT_EQ(stored.ReadInteger("FormOutLine", "Width", 0), f.width());
}

TEST_F(OutlineWindow, StandsBesideTheMainWindowAndHandsItTheFocus) {
  SetText("●一");
  main.show();
  TFormOutLine f(&main, ini, home, editor);
  ShowAndSettle(f);
  const QRect m = main.frameGeometry();
  f.PlaceBeside(OutlineSide::Left);
  EXPECT_EQ(f.frameGeometry().left(), m.left() - f.frameGeometry().width() + 15);
  EXPECT_EQ(f.frameGeometry().top(), m.top());
  EXPECT_EQ(f.frameGeometry().height(), m.height());
  const int width = f.frameGeometry().width();
  f.PlaceBeside(OutlineSide::Right);
  EXPECT_EQ(f.frameGeometry().left(), m.left() + m.width() - 15);
  EXPECT_EQ(f.frameGeometry().width(), width);

  // メインへフォーカス移動 hands the keyboard to the main window; the outline stays open.
  f.activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &f; }, 1000));
  f.CommandAction(1703)->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &main; }, 1000));
  EXPECT_TRUE(f.isVisible());
  main.hide();
}

TEST_F(OutlineWindow, OpensAtTheTopLeftWhenTheSavedPlaceIsOffTheScreen) {
  ASSERT_TRUE(ini.WriteInteger("FormOutLine", "Left", 100000).ok());
  SetText("●一");
  TFormOutLine f(&main, ini, home, editor);
  ShowAndSettle(f);
  EXPECT_EQ(f.pos(), QPoint(0, 0));
  EXPECT_EQ(f.size(), QSize(200, 240));
}

// Each showing builds from the text as it is then; a window closed before its build never
// builds, and a reopened one drops the old outline before the new one arrives.
TEST_F(OutlineWindow, EveryShowingBuildsOnceFromTheCurrentText) {
  SetText("●一");
  TFormOutLine f(&main, ini, home, editor);
  f.ShowOutline();
  SetText("●一\r\n●二\r\n●三");  // edited while the build waits
  ASSERT_TRUE(QTest::qWaitFor([&] { return f.Ready(); }, 2000));
  EXPECT_EQ(f.Current()->Entries().size(), 3u);

  f.reject();
  SetText("●a\r\n●b");
  f.ShowOutline();
  EXPECT_EQ(f.Current(), nullptr);
  EXPECT_EQ(f.TreeView1->model()->rowCount(), 0);
  f.reject();  // closed before the build
  QTest::qWait(TFormOutLine::kBuildDelayMs + 100);
  EXPECT_EQ(f.Current(), nullptr);

  // A visible window only comes forward: no rebuild.
  ShowAndSettle(f);
  const Outline* shown = f.Current();
  SetText("●x");
  f.ShowOutline();
  QTest::qWait(TFormOutLine::kBuildDelayMs + 50);
  EXPECT_EQ(f.Current(), shown);
  // The document shrank under the open outline: the jump stays inside it.
  f.TreeView1->setCurrentIndex(f.TreeView1->model()->index(1, 0));
  EXPECT_EQ(CaretLine(), 0);
}

TEST_F(OutlineWindow, TheKeyMapGivesTheItemsTheirShortcuts) {
  KeyMap map = testing::DefaultKeyMap();
  FindKeyMapRow(map, "1021")->shortcut = "Ctrl+Q";
  FindKeyMapRow(map, "1703")->shortcut = "F12";
  KeyMapFiles files(home);
  ASSERT_TRUE(files.Save(files.key_map_path(), map).ok());
  SetText("●一");
  TFormOutLine f(&main, ini, home, editor);
  ShowAndSettle(f);
  EXPECT_EQ(f.CommandAction(1021)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
  EXPECT_EQ(f.CommandAction(1703)->shortcut(), QKeySequence(Qt::Key_F12));
}

TEST_F(OutlineWindow, ShowsTheHeadingsWhenTheWorkingFileCannotBeWritten) {
  std::filesystem::create_directory(home.PathOf(WorkingFile::OutLine));
  SetText("●一\r\n ●二");
  TFormOutLine f(&main, ini, home, editor);
  ShowAndSettle(f);
  EXPECT_EQ(f.TreeView1->model()->rowCount(), 1);
  EXPECT_EQ(f.TreeModel().NodeCount(), 2u);
}

class HelpWindow : public ::testing::Test {
 protected:
  HelpWindow() { testing::OffscreenApp(); }
  std::string Manual(std::string_view utf8) { return dir.Write("Tessary.txt", Utf8ToSjis(utf8)); }

  TempDir dir;
  AppHome home{dir.path()};
  PrivateProfile ini{home.SettingsFile()};
};

TEST_F(HelpWindow, ShowsTheManualWithItsHeadingTreeAndJumpsOnceReady) {
  const std::string manual =
      Manual("■概要\r\n\t本文\r\n [Options]\r\n ●使い方\r\n本文\r\n  ▲詳しく\r\n■終わり");
  TFormHelp f(nullptr, ini, home, manual);
  EXPECT_EQ(f.windowTitle(), Q("ヘルプ表示"));
  EXPECT_EQ(MenuTexts(f),
            (QStringList{Q("ファイル(&F)"), Q("  閉じる(&X)"), Q("表示(&V)"),
                         Q("  折り返さない(&N)"), Q("  ウィンドウの右端で折り返し(&W)")}));
  EXPECT_TRUE(f.Editor1->Control().ReadOnly());
  EXPECT_EQ(f.Editor1->Caret().TabSpaceCount, 2);
  EXPECT_EQ(f.Editor1->Control().LineCount(), 7);
  // Mark headings only, and the index file holds them.
  EXPECT_EQ(f.Headings().Entries().size(), 4u);
  EXPECT_EQ(testing::ReadFileOrDie(home.PathOf(WorkingFile::Help)), f.Headings().FileText());
  const QAbstractItemModel& m = *f.TreeView1->model();
  ASSERT_EQ(m.rowCount(), 2);
  const QModelIndex level1 = m.index(0, 0, m.index(0, 0));
  ASSERT_TRUE(level1.isValid());
  const QIcon top = m.data(m.index(0, 0), Qt::DecorationRole).value<QIcon>();
  const QIcon second = m.data(level1, Qt::DecorationRole).value<QIcon>();
  EXPECT_NE(top.cacheKey(), second.cacheKey()) << "level-1 nodes get the second icon";
  EXPECT_EQ(m.data(m.index(0, 0, level1), Qt::DecorationRole).value<QIcon>().cacheKey(),
            top.cacheKey());

  f.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return f.Ready(); }, 2000));
  f.TreeView1->setCurrentIndex(m.index(0, 0, level1));  // ▲詳しく
  EXPECT_EQ(f.Editor1->Control().RowToLine(f.Editor1->Control().CaretRow()), 5);
  f.TreeView1->setCurrentIndex(m.index(1, 0));
  EXPECT_EQ(f.Editor1->Control().RowToLine(f.Editor1->Control().CaretRow()), 6);
  f.reject();
}

TEST_F(HelpWindow, TheWrapMenuSwitchesTheEditorAndIsStoredOnClose) {
  std::string text = "■";
  text.append(300, 'x');
  const std::string manual = Manual(text);
  {
    TFormHelp f(nullptr, ini, home, manual);
    f.show();
    QApplication::processEvents();
    EXPECT_TRUE(f.MenuWrapWindowWidth->isChecked());
    EXPECT_TRUE(f.Editor1->Control().WordWrap());
    EXPECT_GT(f.Editor1->Control().RowCount(), 1);
    f.MenuWrapNone->trigger();
    EXPECT_TRUE(f.MenuWrapNone->isChecked());
    EXPECT_FALSE(f.MenuWrapWindowWidth->isChecked());
    EXPECT_FALSE(f.Editor1->Control().WordWrap());
    EXPECT_EQ(f.Editor1->Control().RowCount(), 1);
    f.MenuWrapNone->trigger();  // already chosen: stays so
    EXPECT_TRUE(f.MenuWrapNone->isChecked());
    EXPECT_TRUE(PrivateProfile(home.SettingsFile()).ReadBool("Help", "WrapWindowWidth", true))
        << "written when the window closes";
    f.reject();
  }
  const PrivateProfile stored(home.SettingsFile());
  EXPECT_TRUE(stored.ReadBool("Help", "WrapNone", false));
  EXPECT_FALSE(stored.ReadBool("Help", "WrapWindowWidth", true));
  TFormHelp again(nullptr, ini, home, manual);
  EXPECT_TRUE(again.MenuWrapNone->isChecked());
  EXPECT_FALSE(again.Editor1->Control().WordWrap());
}

TEST_F(HelpWindow, AMissingManualShowsAnEmptyText) {
  TFormHelp f(nullptr, ini, home, dir.File("Tessary.txt"));
  EXPECT_EQ(f.Editor1->Control().TextLength(), 0);
  EXPECT_EQ(f.TreeView1->model()->rowCount(), 0);
  EXPECT_EQ(f.Splitter1->count(), 2);
}

}  // namespace
}  // namespace tessary
