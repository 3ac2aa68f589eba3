// The main window's search, jump, word and Pilka map commands with their windows, offscreen.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <memory>

#include "app/startup_notice.h"
#include "app/ui/form_main.h"
#include "codec/sjis_text.h"
#include "commands/ui/form_find.h"
#include "commands/ui/form_help.h"
#include "commands/ui/form_jump.h"
#include "commands/ui/form_outline.h"
#include "commands/ui/form_pilka_key_board_map.h"
#include "editor/editor_control.h"
#include "editor/ui/editor.h"
#include "platform/ui/qt_conversions.h"
#include "support/qt_test_app.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"
#include "viewers/ui/form_snippet.h"

namespace tessary {
namespace {

using testing::ScriptedMessages;
using testing::TempDir;

class MainSearchCommands : public ::testing::Test {
 protected:
  MainSearchCommands() {
    testing::OffscreenApp();
    window_ = std::make_unique<TFormMain>(
        messages_, AppHome(home_.path()),
        std::vector<std::string>{files_.Write("a.txt", Utf8ToSjis(kText))});
    window_->show_startup_notice = [](KeyMapCheck) {};
    window_->ShowFirst();
    QApplication::processEvents();
    QTest::qWait(50);
  }
  EditorControl& Editor() { return window_->Editor1().Control(); }
  std::string Selected() { return SjisToUtf8(Editor().SelText()); }
  void Trigger(CommandId id) { window_->Action(id)->trigger(); }
  // Runs `command` while `act` works the modal window it opens.
  template <class Form>
  void WithWindow(CommandId command, std::function<void(Form&)> act) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* f = qobject_cast<Form*>(QApplication::activeModalWidget());
      if (!f) return;
      seen = true;
      act(*f);
    });
    Trigger(command);
    EXPECT_TRUE(seen);
  }

  static constexpr const char* kText = "一 foo(bar) 二\r\n三 bar\r\n四 bar";
  TempDir home_, files_;
  ScriptedMessages messages_;
  std::unique_ptr<TFormMain> window_;
};

TEST_F(MainSearchCommands, FindWindowSearchesTheEditorAndF3ContinuesWithItsWord) {
  for (CommandId id :
       {CommandId::MenuSearchWord, CommandId::MenuSearchNext, CommandId::MenuSearchPrev,
        CommandId::MenuSearchWordOneLine, CommandId::MenuReplaceWord, CommandId::MenuJump,
        CommandId::MenuCopyOneLine, CommandId::MenuSelectWord})
    EXPECT_TRUE(window_->Action(id)->isEnabled()) << static_cast<int>(id);
  Trigger(CommandId::MenuSearchNext);
  EXPECT_EQ(messages_.shown, std::vector<std::string>{"検索語が設定されていません"});

  Editor().SetCaret(0, 8);  // inside "bar" of "foo(bar)"
  WithWindow<TFormFind>(CommandId::MenuSearchWord, [&](TFormFind& f) {
    EXPECT_EQ(f.ComboBox1->currentText(), "bar");  // the word at the caret, selected
    EXPECT_EQ(Selected(), "bar");
    f.ComboBox1->setEditText("bar");
    f.ButtonNext->click();
    EXPECT_EQ(Editor().SelStart(), 19);  // "三 bar"
    QTest::keyClick(f.ComboBox1->lineEdit(), Qt::Key_Escape);
  });
  Trigger(CommandId::MenuSearchNext);
  EXPECT_EQ(Editor().SelStart(), 27);
  EXPECT_EQ(Selected(), "bar");
  Trigger(CommandId::MenuSearchPrev);
  EXPECT_EQ(Editor().SelStart(), 19);
  Trigger(CommandId::MenuSearchPrev);
  Trigger(CommandId::MenuSearchPrev);
  EXPECT_EQ(messages_.shown.back(), "検索しましたがが見つかりませんでした\r\nbar");

  // A window closed without a search leaves F3 without a word.
  WithWindow<TFormFind>(CommandId::MenuSearchWordOneLine, [&](TFormFind& f) {
    EXPECT_EQ(f.ComboBox1->currentText(), Q("一 foo(bar) 二"));
    f.ButtonClose->click();
  });
  const size_t shown = messages_.shown.size();
  Trigger(CommandId::MenuSearchNext);
  EXPECT_EQ(messages_.shown.size(), shown + 1);
  EXPECT_EQ(messages_.shown.back(), "検索語が設定されていません");
}

TEST_F(MainSearchCommands, JumpSelectWordDoubleClickAndCopyLine) {
  WithWindow<TFormJump>(CommandId::MenuJump, [](TFormJump& f) {
    f.Edit1->setText("3");
    f.ButtonOK->click();
  });
  EXPECT_EQ(Editor().CaretRow(), 2);
  Trigger(CommandId::MenuCopyOneLine);
  EXPECT_EQ(QApplication::clipboard()->text(), Q("四 bar"));

  Editor().SetCaret(0, 4);  // between "f" and "oo"
  Trigger(CommandId::MenuSelectWord);
  EXPECT_EQ(Selected(), "foo");
  Editor().SetCaret(1, 5);
  TEditor& e = window_->Editor1();
  const QPoint p = e.inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
  QTest::mouseDClick(e.viewport(), Qt::LeftButton, {}, p);
  EXPECT_EQ(Selected(), "bar");
}

// The Pilka window reads the document as it stands, also after an edit made before a paste.
TEST_F(MainSearchCommands, PilkaMapWindowTakesTheDocumentsText) {
  ASSERT_TRUE(window_->Action(CommandId::MenuPilkaKeyBoarsMap)->isEnabled());
  WithWindow<TFormPilkaKeyBoardMap>(CommandId::MenuPilkaKeyBoarsMap, [&](TFormPilkaKeyBoardMap& f) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.model().text_revision() > 0; }, 5000));
    EXPECT_EQ(SjisToUtf8(f.model().text()).substr(0, std::string_view(kText).size()), kText);
    EXPECT_EQ(messages_.shown, std::vector<std::string>{"Pilka のキーボードマップではありません"});
    Editor().Lines().SetTextStr("a\tb\tc\td");
    f.ButtonPasteText->click();
    f.ButtonList->click();
    EXPECT_EQ(f.model().rows().size(), 1u);
    QTest::keyClick(&f, Qt::Key_Escape);
  });
  EXPECT_EQ(messages_.shown.size(), 1u);
}

// The outline stands beside the main window and lives on hidden; loading a file closes it.
TEST_F(MainSearchCommands, OutlineOpensOnTextJumpsAndALoadClosesIt) {
  Editor().Lines().Clear();
  Trigger(CommandId::MenuShowOutLine);
  EXPECT_EQ(messages_.shown.back(), "内容がありません");
  EXPECT_EQ(window_->OutlineWindow(), nullptr);

  Editor().Lines().SetTextStr(Utf8ToSjis("本文\r\n●見出し"));
  Editor().SetModified(false);
  Trigger(CommandId::MenuShowOutLine);
  TFormOutLine* outline = window_->OutlineWindow();
  ASSERT_NE(outline, nullptr);
  EXPECT_TRUE(outline->isVisible());
  EXPECT_FALSE(outline->isModal());
  ASSERT_TRUE(QTest::qWaitFor([&] { return outline->Ready(); }, 2000));
  EXPECT_EQ(Editor().CaretRow(), 1);

  window_->DropFiles({files_.Write("b.txt", "x")});
  EXPECT_FALSE(outline->isVisible());
  EXPECT_FALSE(outline->Ready());
  Trigger(CommandId::MenuShowOutLine);
  EXPECT_EQ(window_->OutlineWindow(), outline) << "the same window shows again";
  EXPECT_TRUE(outline->isVisible());
}

TEST_F(MainSearchCommands, HelpOpensModallyOverTheMainWindow) {
  WithWindow<TFormHelp>(CommandId::MenuShowHelp, [](TFormHelp& f) {
    EXPECT_EQ(f.windowTitle(), Q("ヘルプ表示"));
    EXPECT_TRUE(f.isModal());
    f.reject();
  });
}

TEST_F(MainSearchCommands, ASnippetGoesInAtTheCaretAndAProtectedDocumentIsRefused) {
  EXPECT_TRUE(window_->Action(CommandId::MenuShowSnippet)->isEnabled());
  EXPECT_TRUE(window_->Action(CommandId::MenuShowSnippetFile)->isEnabled());
  Editor().SetCaret(1, 0);
  WithWindow<TFormSnippet>(CommandId::MenuShowSnippet, [](TFormSnippet& f) {
    const QAbstractItemModel* m = f.TreeView1->model();
    const QModelIndexList found = m->match(m->index(0, 0), Qt::DisplayRole, Q("子カテゴリ21"), -1,
                                           Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    f.TreeView1->setCurrentIndex(found.front());
    f.ButtonSet->click();
  });
  EXPECT_EQ(SjisToUtf8(Editor().Text()), "一 foo(bar) 二\r\n子カテゴリ21三 bar\r\n四 bar");
  EXPECT_TRUE(messages_.shown.empty());

  Trigger(CommandId::MenuReadOnly);
  ASSERT_TRUE(Editor().ReadOnly());
  Trigger(CommandId::MenuShowSnippetFile);
  EXPECT_EQ(messages_.shown, std::vector<std::string>{"書き込み禁止では操作できません"});
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace tessary
