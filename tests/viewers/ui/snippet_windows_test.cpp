// The two snippet windows through their widgets over a main editor, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeView>
#include <filesystem>
#include <fstream>

#include "codec/sjis_text.h"
#include "editor/ui/editor.h"
#include "platform/ui/qt_clipboard.h"
#include "platform/ui/qt_conversions.h"
#include "support/qt_test_app.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"
#include "viewers/ui/form_snippet.h"
#include "viewers/ui/form_snippet_file.h"

namespace tessary {
namespace {

namespace fs = std::filesystem;
using testing::Hex;
using testing::ReadFileOrDie;
using testing::ScriptedMessages;
using testing::TempDir;

QStringList Captions(const QWidget& page) {
  QStringList captions;
  for (const QPushButton* b : page.findChildren<QPushButton*>()) captions << b->text();
  return captions;
}

QStringList Menus(const QWidget& window) {
  QStringList menus;
  for (QAction* a : window.findChild<QMenuBar*>()->actions()) menus << a->text();
  return menus;
}

// The row showing this text, searched through the whole tree.
QModelIndex RowWithText(const QTreeView* tree, const char* utf8) {
  const QAbstractItemModel* m = tree->model();
  const QModelIndexList found =
      m->match(m->index(0, 0), Qt::DisplayRole, Q(utf8), 1, Qt::MatchExactly | Qt::MatchRecursive);
  return found.isEmpty() ? QModelIndex() : found.front();
}

class SnippetWindows : public ::testing::Test {
 protected:
  SnippetWindows() { main.Control().Lines().SetTextStr("before\r\nafter"); }
  SnippetWindowArgs Args() {
    return {ini, home, messages, main.Control(), main.SystemClipboard(), nullptr};
  }
  std::string Folder() const { return home.PathOf(WorkingFolder::SnippetFile); }
  void Select(int64_t at, int64_t n) {
    main.Control().SetSelStart(at);
    main.Control().SetSelLength(n);
  }

  // The application exists before the first widget, the main editor.
  struct App {
    App() { testing::OffscreenApp(); }
  } app;
  TempDir dir;
  AppHome home{dir.path()};
  PrivateProfile ini{home.SettingsFile()};
  ScriptedMessages messages;
  TEditor main;
};

TEST_F(SnippetWindows, TheTextWindowShowsItsPagesButtonsAndMenus) {
  TFormSnippet f(nullptr, Args());
  f.show();
  QApplication::processEvents();
  EXPECT_EQ(f.windowTitle(), Q("スニペット表示(文字列)"));
  EXPECT_EQ(f.minimumSize(), QSize(690, 240));
  EXPECT_EQ(f.size(), QSize(690, 240));
  EXPECT_EQ(Captions(*f.Panel1),
            (QStringList{Q("ｶｰｿﾙ位置に貼付(&V)"), Q("編集画面へ(&E)"), Q("ｷｬﾝｾﾙ(&C)")}));
  EXPECT_EQ(Captions(*f.Panel2), (QStringList{Q("保存(&S)"), Q("ﾂﾘｰ画面へ(&T)"),
                                              Q("ｸﾘｯﾌﾟから貼付(&V)"), Q("初期化(&I)")}));
  EXPECT_EQ(Menus(f), (QStringList{Q("ファイル(&F)"), Q("ヘルプ(&H)")}));
  EXPECT_EQ(f.Pages->currentWidget(), f.Panel1);
  EXPECT_EQ(f.TreeView1->model()->rowCount(), 9);  // twelve defaults, three of them children
  EXPECT_TRUE(f.TreeView1->hasFocus());
  f.reject();
  EXPECT_EQ(ini.ReadString("FormSnippet", "Width").value_or(""), "690");
}

TEST_F(SnippetWindows, InsertingATextSnippetReplacesTheMainSelectionAndCloses) {
  Select(0, 6);
  TFormSnippet f(nullptr, Args(), [] { return LocalDateTime{2025, 1, 2, 3, 4, 5}; });
  f.show();
  QApplication::processEvents();
  f.TreeView1->setCurrentIndex(RowWithText(f.TreeView1, "$yyyy-mm-dd$"));
  f.ButtonSet->click();
  EXPECT_EQ(f.result(), QDialog::Accepted);
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(main.Control().Text(), "2025-01-02\r\nafter");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), Q("2025-01-02"));
}

TEST_F(SnippetWindows, EnterInTheTreeInsertsTheCurrentNode) {
  main.Control().SetCaret(1, 0);
  TFormSnippet f(nullptr, Args());
  f.show();
  QApplication::processEvents();
  f.TreeView1->setCurrentIndex(RowWithText(f.TreeView1, "子カテゴリ31"));
  QTest::keyClick(f.TreeView1, Qt::Key_Return);
  EXPECT_EQ(f.result(), QDialog::Accepted);
  EXPECT_EQ(SjisToUtf8(main.Control().Text()), "before\r\n子カテゴリ31after");
}

TEST_F(SnippetWindows, EscOnAModifiedEditPageAsksAndStaysOnNo) {
  TFormSnippet f(nullptr, Args());
  f.show();
  QApplication::processEvents();
  f.ButtonEditor->click();
  ASSERT_EQ(f.Pages->currentWidget(), f.Panel2);
  QTest::keyClicks(f.Editor1, "x");
  messages.answers = {Answer::No, Answer::Yes};
  QTest::keyClick(f.Editor1, Qt::Key_Escape);
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(messages.asked.size(), 1u);
  f.close();  // the close box
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(messages.asked, std::vector<std::string>(2, "変更されていますが、破棄しますか？"));
  EXPECT_EQ(f.result(), QDialog::Rejected);
}

TEST_F(SnippetWindows, TheFileWindowAddsEditsAndSavesThroughItsWidgets) {
  TFormSnippetFile f(nullptr, Args());
  f.ask_name = [] { return std::optional<std::string>("メモ.txt"); };
  f.show();
  QApplication::processEvents();
  EXPECT_EQ(f.windowTitle(), Q("スニペット表示(ファイル)"));
  EXPECT_EQ(f.minimumSize(), QSize(690, 240));
  EXPECT_EQ(Captions(*f.Panel1), (QStringList{Q("ｶｰｿﾙ位置に貼付(&V)"), Q("編集(&E)"), Q("追加(&A)"),
                                              Q("削除(&D)"), Q("ｷｬﾝｾﾙ(&C)")}));
  EXPECT_EQ(Captions(*f.Panel2),
            (QStringList{Q("保存(&S)"), Q("ﾂﾘｰ画面へ(&T)"), Q("ｸﾘｯﾌﾟから貼付(&V)")}));
  f.Button3Add->click();
  ASSERT_EQ(f.TreeView1->model()->rowCount(), 1);
  EXPECT_EQ(f.TreeView1->currentIndex().data().toString(), Q("メモ.txt"));
  f.ButtonEdit->click();
  ASSERT_EQ(f.Pages->currentWidget(), f.Panel2);
  QTest::keyClicks(f.Editor2, "hello");
  QTest::keyClick(f.Editor2, Qt::Key_Return);
  f.ButtonSave->click();
  EXPECT_EQ(f.Pages->currentWidget(), f.Panel1);
  EXPECT_EQ(ReadFileOrDie(Folder() + "/メモ.txt"), "hello\r\n");
  EXPECT_EQ(f.Editor1->Control().Text(), "hello\r\n");
  EXPECT_TRUE(f.Editor1->Control().ReadOnly());
  EXPECT_TRUE(messages.shown.empty());
}

// The current row previews its file and comes back after the list is rebuilt; a name with a
// leading blank shows without it and still reads its own file.
TEST_F(SnippetWindows, TheFileTreeFollowsTheCurrentRowAndKeepsItThroughARefill) {
  fs::create_directories(Folder());
  std::ofstream(Folder() + "/ lead", std::ios::binary) << "one";
  std::ofstream(Folder() + "/two", std::ios::binary) << "two";
  main.Control().SetCaret(0, 0);
  TFormSnippetFile f(nullptr, Args());
  f.show();
  QApplication::processEvents();
  ASSERT_EQ(f.TreeView1->model()->rowCount(), 2);
  EXPECT_EQ(f.TreeView1->currentIndex().data().toString(), "lead");
  EXPECT_EQ(f.Editor1->Control().Text(), "one");
  f.TreeView1->setCurrentIndex(RowWithText(f.TreeView1, "two"));
  EXPECT_EQ(f.Model().Selected(), 1);
  EXPECT_EQ(f.Editor1->Control().Text(), "two");
  f.ButtonEdit->click();
  f.ButtonTree->click();
  ASSERT_EQ(f.Pages->currentWidget(), f.Panel1);
  EXPECT_EQ(f.TreeView1->currentIndex().data().toString(), "two");
  EXPECT_EQ(f.Model().Selected(), 1);

  const QModelIndex lead = RowWithText(f.TreeView1, "lead");
  f.TreeView1->setCurrentIndex(lead);
  const QPoint at = f.TreeView1->visualRect(lead).center();
  ASSERT_EQ(f.TreeView1->indexAt(at), lead);
  QTest::mouseClick(f.TreeView1->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(f.TreeView1->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(f.result(), QDialog::Accepted);
  EXPECT_EQ(main.Control().Text(), "one\r\nbefore\r\nafter");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SnippetWindows, AFileSnippetArrivesByteForByteAndNeverAsABox) {
  // 0xED40 and 0xFA5C are one character in Unicode: the text alone would bring back one code.
  const std::string bytes = Hex("ED 40 FA 5C");
  fs::create_directories(Folder());
  std::ofstream(Folder() + "/dup", std::ios::binary) << bytes;
  // A box selected and copied as the window opens.
  EditorControl& c = main.Control();
  c.SetSelectionMode(SelectionMode::Box);
  c.SetCaret(0, 1);
  c.KeyDown(EditorKey::Down, kShift);
  c.KeyDown(EditorKey::Right, kShift);
  ASSERT_EQ(PrepareSnippetWindow(c, messages), Leaving::Allowed);
  ASSERT_TRUE(main.SystemClipboard().HasBoxFormat());
  c.SetSelectionMode(SelectionMode::Stream);
  c.CancelSelection();
  c.SetCaret(0, 0);
  TFormSnippetFile f(nullptr, Args());
  f.show();
  QApplication::processEvents();
  f.ButtonSet->click();
  EXPECT_EQ(f.result(), QDialog::Accepted);
  EXPECT_FALSE(main.SystemClipboard().HasBoxFormat());
  EXPECT_EQ(c.Text(), bytes + "\r\nbefore\r\nafter");
  EXPECT_EQ(main.SystemClipboard().Text(), bytes + "\r\n");
}

TEST_F(SnippetWindows, TheClipboardsShiftJisFormCountsOnlyWhileItAgreesWithTheText) {
  QtClipboard& clip = main.SystemClipboard();
  clip.SetText(Hex("ED 40"), ClipboardShape::Stream);
  EXPECT_EQ(clip.Text(), Hex("ED 40"));
  // The editor's own copy and paste keep the code too.
  EditorControl& c = main.Control();
  c.Lines().SetTextStr(Hex("ED 40 FA 5C"));
  c.SelectAll();
  c.CopyToClipboard();
  c.CancelSelection();
  c.SetCaret(0, 4);
  c.PasteFromClipboard();
  EXPECT_EQ(c.Text(), Hex("ED 40 FA 5C ED 40 FA 5C"));
  // Another program changed the text but left the private bytes behind.
  auto data = std::make_unique<QMimeData>();
  data->setText(Q("x"));
  data->setData(QtClipboard::SjisMime(), QByteArray("\xED\x40"));
  QGuiApplication::clipboard()->setMimeData(data.release());
  EXPECT_EQ(clip.Text(), "x");
  // Text from elsewhere: the IBM code, as the table maps the character back.
  QGuiApplication::clipboard()->setText(QString::fromUtf8(SjisToUtf8(Hex("ED 40"))));
  EXPECT_EQ(clip.Text(), Hex("FA 5C"));
}

}  // namespace
}  // namespace tessary
