// The find, replace and jump windows through their widgets on an editor, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "codec/sjis_text.h"
#include "commands/jump.h"
#include "commands/ui/form_find.h"
#include "commands/ui/form_jump.h"
#include "commands/ui/form_replace.h"
#include "editor/editor_control.h"
#include "platform/ui/qt_conversions.h"
#include "support/qt_test_app.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::ScriptedMessages;
using testing::TempDir;

class FindWindows : public ::testing::Test {
 protected:
  FindWindows() { testing::OffscreenApp(); }
  void SetText(std::string_view utf8) {
    editor.Lines().SetTextStr(Utf8ToSjis(utf8));
    editor.SetCaret(0, 0);
  }
  std::string Selected() const { return SjisToUtf8(editor.SelText()); }
  void Type(TFormFind& f, const char* utf8) { f.ComboBox1->setEditText(Q(utf8)); }
  PrivateProfile Ini() const { return PrivateProfile(home.SettingsFile()); }

  TempDir dir;
  AppHome home{dir.path()};
  PrivateProfile ini{home.SettingsFile()};
  ScriptedMessages messages;
  EditorControl editor;
};

// Never smaller than the settled size (520 by 350 or 375), and large enough for the laid-out
// widgets and the menu bar, so every text fits.
void ExpectMinimumFitsTheWidgets(const QDialog& f, QSize settled) {
  const QSize hint = f.layout()->totalSizeHint();
  EXPECT_EQ(f.minimumSize(), hint.expandedTo(settled));
  EXPECT_GE(f.minimumSize().height(), f.layout()->totalMinimumSize().height());
  EXPECT_GE(f.minimumSize().width(), f.layout()->totalMinimumSize().width());
}

TEST_F(FindWindows, FindWindowShowsItsTextsAndTheHandedWordWithFocus) {
  TFormFind f(nullptr, ini, home, messages, editor, FindWindow::Find, "語");
  f.show();
  QApplication::processEvents();
  EXPECT_EQ(f.windowTitle(), Q("検索"));
  ExpectMinimumFitsTheWidgets(f, QSize(520, 350));
  EXPECT_EQ(f.ComboBox1->currentText(), Q("語"));
  EXPECT_EQ(f.ComboBox1->maxVisibleItems(), 16);
  EXPECT_EQ(f.Label1->text(), Q("検索する文字列(&F):"));
  EXPECT_EQ(f.Label1->buddy(), f.ComboBox1);
  EXPECT_EQ(f.CheckBoxAutoClose->text(), Q("検索完了で閉じる(&R)"));
  EXPECT_EQ(f.CheckBoxCrLf->text(), Q("改行・スペースを無視(&L)"));
  EXPECT_EQ(f.ButtonNext->text(), Q("次を検索(&N)"));
  EXPECT_EQ(f.ButtonClose->text(), Q("閉じる(&C)"));
  EXPECT_TRUE(f.ComboBox1->hasFocus() || f.focusWidget() == f.ComboBox1->lineEdit());
  QStringList menus;
  for (QAction* a : f.findChild<QMenuBar*>()->actions()) menus << a->text();
  EXPECT_EQ(menus, (QStringList{Q("ファイル(&F)"), Q("検索(&S)")}));
  // The word was taken over: closing without a search hands back an empty one.
  EXPECT_EQ(Ini().ReadString("Options", "SearchWord", "?"), "");
}

TEST_F(FindWindows, EnterFindsTheNextHitAsSelectionAndF3ShiftF3Continue) {
  SetText("aa 検索 bb\r\n検索 cc\r\n検索");
  TFormFind f(nullptr, ini, home, messages, editor);
  f.show();
  QApplication::processEvents();
  Type(f, "検索");
  QTest::keyClick(f.ComboBox1->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(Selected(), "検索");
  EXPECT_EQ(editor.SelStart(), 3);
  EXPECT_TRUE(f.isVisible());  // Enter searched, it did not close the window
  QTest::keyClick(f.ComboBox1->lineEdit(), Qt::Key_F3);
  EXPECT_EQ(editor.SelStart(), 12);
  QTest::keyClick(f.ComboBox1->lineEdit(), Qt::Key_F3);
  EXPECT_EQ(editor.SelStart(), 21);
  QTest::keyClick(f.ComboBox1->lineEdit(), Qt::Key_F3, Qt::ShiftModifier);
  EXPECT_EQ(editor.SelStart(), 12);
  EXPECT_TRUE(messages.shown.empty());
  // One history entry, the word stored for the opener, the direction of the last search.
  EXPECT_EQ(f.ComboBox1->count(), 1);
  EXPECT_EQ(f.Model().HandBack(), "検索");
  EXPECT_EQ(Ini().ReadInteger("Options", "Direction", 9), 0);

  // Past the last one: the message names the word, the selection stays.
  f.ButtonNext->click();
  f.ButtonNext->click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], "検索しましたがが見つかりませんでした\r\n検索");
  EXPECT_EQ(editor.SelStart(), 21);
}

TEST_F(FindWindows, BoxesReachTheSearchAndAreRememberedWithAutoClose) {
  SetText("Abc abc");
  {
    TFormFind f(nullptr, ini, home, messages, editor, FindWindow::Find, "abc");
    f.show();
    f.CheckBoxCase->setChecked(true);
    f.CheckBoxAutoClose->setChecked(true);
    f.ButtonNext->click();
    EXPECT_EQ(editor.SelStart(), 4);  // "Abc" differs in case
    EXPECT_FALSE(f.isVisible());      // closed by the hit
  }
  EXPECT_TRUE(Ini().ReadBool("Options", "MatchCase", false));
  EXPECT_TRUE(Ini().ReadBool("Options", "AutoClose", false));
  // The next window starts with the boxes and the history as left.
  TFormFind g(nullptr, ini, home, messages, editor);
  EXPECT_TRUE(g.CheckBoxCase->isChecked());
  EXPECT_TRUE(g.CheckBoxAutoClose->isChecked());
  EXPECT_FALSE(g.CheckBoxWord->isChecked());
  ASSERT_EQ(g.ComboBox1->count(), 1);
  EXPECT_EQ(g.ComboBox1->itemText(0), "abc");
  EXPECT_EQ(g.ComboBox1->currentText(), "abc");  // the word handed back through SearchWord
}

TEST_F(FindWindows, EmptyWordIsRefusedAndEscClosesStoringThePlacement) {
  TFormFind f(nullptr, ini, home, messages, editor, FindWindow::Find, "");
  f.show();
  QApplication::processEvents();
  QTest::keyClick(f.ComboBox1->lineEdit(), Qt::Key_F3);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"検索語が設定されていません"});
  QTest::keyClick(f.ComboBox1->lineEdit(), Qt::Key_Escape);
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(f.result(), QDialog::Rejected);
  EXPECT_EQ(Ini().ReadString("FormFind", "State", ""), "NORMAL");
  EXPECT_EQ(Ini().ReadInteger("FormFind", "Width", 0), 520);
}

TEST_F(FindWindows, ReplaceReplacesTheSelectionAndReplaceAllCountsFromTheCaret) {
  SetText("cat dog cat\r\ncat");
  TFormReplace f(nullptr, ini, home, messages, editor, "cat");
  f.show();
  QApplication::processEvents();
  EXPECT_EQ(f.windowTitle(), Q("置き換え"));
  ExpectMinimumFitsTheWidgets(f, QSize(520, 375));
  EXPECT_EQ(f.Label2->text(), Q("置き換え後の文字列(&Q):"));
  EXPECT_EQ(f.CheckBoxAutoClose, nullptr);
  f.ComboBox2->setEditText("cow");
  f.ButtonNext->click();
  f.ButtonReplace->click();  // replaces the hit, searches no further
  EXPECT_EQ(editor.Text(), "cow dog cat\r\ncat");
  EXPECT_EQ(f.ComboBox2->itemText(0), "cow");

  messages.answers = {Answer::Yes, Answer::No};
  f.ButtonReplaceAll->click();
  EXPECT_EQ(editor.Text(), "cow dog cow\r\ncow");
  EXPECT_EQ(messages.asked.back(), "現在位置から文末まで、全て置き換えますか？");
  EXPECT_EQ(messages.shown.back(), "2 個を置き換えました");
  f.ButtonReplaceAll->click();  // declined: nothing changes, nothing shown
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(home.PathOf(WorkingFile::Replace)));
}

TEST_F(FindWindows, JumpWindowClampsTheEntryAndCancelKeepsTheCaret) {
  SetText("one\r\ntwo\r\nthree\r\nfour");
  auto jump = [&](const char* typed, bool ok) {
    QTimer::singleShot(0, [&, typed, ok] {
      auto* f = qobject_cast<TFormJump*>(QApplication::activeModalWidget());
      ASSERT_TRUE(f);
      EXPECT_EQ(f->windowTitle(), Q("行へ移動"));
      f->Edit1->selectAll();
      QTest::keyClicks(f->Edit1, typed);
      QTest::keyClick(f->Edit1, ok ? Qt::Key_Return : Qt::Key_Escape);
    });
    return RunJump(nullptr, home, editor);
  };
  EXPECT_TRUE(jump("3", true));
  EXPECT_EQ(editor.CaretRow(), 2);
  EXPECT_EQ(StoredJumpEntry(home), "3");
  EXPECT_TRUE(jump("999", true));
  EXPECT_EQ(editor.CaretRow(), 3);
  EXPECT_TRUE(jump("0", true));
  EXPECT_EQ(editor.CaretRow(), 0);
  EXPECT_TRUE(jump("-x2", true));  // only digits enter the box
  EXPECT_EQ(editor.CaretRow(), 1);
  EXPECT_FALSE(jump("4", false));
  EXPECT_EQ(editor.CaretRow(), 1);
  EXPECT_EQ(StoredJumpEntry(home), "2");
}

}  // namespace
}  // namespace tessary
