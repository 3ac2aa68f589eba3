// The board log and history windows through their widgets, offscreen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>

#include "codec/sjis_text.h"
#include "editor/ui/editor.h"
#include "platform/file_io.h"
#include "platform/ui/qt_conversions.h"
#include "support/qt_test_app.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"
#include "viewers/ui/form_ostr_board.h"
#include "viewers/ui/form_ostr_history.h"

namespace tessary {
namespace {

using testing::ReadFileOrDie;
using testing::ScriptedMessages;
using testing::TempDir;

std::string Header(std::string_view title) {
  std::string h(title);
  h += " 投稿者：名無し 投稿日：2024/01/02";
  return h;
}

TextLines Log(const std::vector<std::string>& utf8_lines) {
  TextLines t;
  for (const std::string& l : utf8_lines) t.AddLine(Utf8ToSjis(l));
  return t;
}

std::vector<std::string> PaneLines(TEditor& pane) {
  std::vector<std::string> out;
  EditorControl& c = pane.Control();
  for (int32_t i = 0; i < c.Lines().Count(); ++i) out.push_back(SjisToUtf8(c.Lines().Get(i)));
  return out;
}

int32_t CaretLine(TEditor& pane) {
  return pane.Control().RowToLine(pane.Control().CaretRow());
}

QStringList MenuItems(const QWidget& window, int menu) {
  QStringList items;
  const QAction* m = window.findChild<QMenuBar*>()->actions()[menu];
  for (QAction* a : m->menu()->actions()) items << (a->isSeparator() ? "-" : a->text());
  return items;
}

class OstrWindows : public ::testing::Test {
 protected:
  OstrWindows() { testing::OffscreenApp(); }
  LogViewerArgs Args(const TextLines& log) {
    return {ini,           home, messages, log, "/logs/board.txt", nullptr, PaneNumbers::Shown,
            PaneWrap::None};
  }
  TempDir dir;
  AppHome home{dir.path()};
  PrivateProfile ini{home.SettingsFile()};
  ScriptedMessages messages;
  const TextLines board =
      Log({"《前のページ", Header("Hello World"), "w", Header("Hello"), "h", "《前のページ",
           Header("Re: Hello"), "r", Header("Hello") + "1", "x", "以上は、新着順"});
};

TEST_F(OstrWindows, BoardMenusAreRadioGroupsWithTheirCaptions) {
  TFormOstrBoard w(nullptr, Args(board));
  EXPECT_EQ(w.windowTitle(), Q("掲示板ログ表示 (ostrel)"));
  EXPECT_EQ(
      MenuItems(w, 1).join("|"),
      Q("全てのログ(&A)|スレッドログ(&T)|-|インデックスを再取得(&I)|-|インデックス ソート無(&N)|"
        "インデックス ソート有(&S)|-|スレッド昇順(&U)|スレッド降順(&D)|-|"
        "現在タイトルをスキップタイトルに追加(&P)"));
  EXPECT_EQ(
      MenuItems(w, 3).join("|"),
      Q("行番号 表示/非表示(&R)|スキップタイトル 表示/非表示(&S)|-|インデックスとログを表示(&B)|"
        "インデックスのみ表示(&I)|ログのみ表示(&L)"));
  EXPECT_TRUE(w.MenuLogAll->isChecked());
  EXPECT_TRUE(w.MenuShowBoth->isChecked());
  EXPECT_TRUE(w.MenuThreadAssend->isChecked());
  EXPECT_EQ(w.CommandAction(1202)->text(), Q("次を検索(&N) "));
}

TEST_F(OstrWindows, BoardLoadsShowsPostsAndSelectsByLine) {
  TFormOstrBoard w(nullptr, Args(board));
  w.LoadLog();
  EXPECT_EQ(w.Label2->text(), Q("5/11/11"));
  EXPECT_EQ(w.ListBox1->model()->rowCount(), 5);
  const std::string index = ReadFileOrDie(home.PathOf(WorkingFile::OstrIndex));
  EXPECT_NE(index.find("board.txt\t00010\t00010\r\n"), std::string::npos);
  w.ListBox1->setCurrentIndex(w.ListBox1->model()->index(1, 0));  // "Hello"
  EXPECT_EQ(CaretLine(*w.Editor1), 3);
  EXPECT_EQ(PaneLines(*w.Editor3), (std::vector<std::string>{Header("Hello"), "h"}));
  // A double click on the full log's header line of "Hello" + "1" picks that entry, not the
  // "Hello" whose header begins it.
  w.Editor1->Control().SetCaret(w.Editor1->Control().LineToRow(8), 2);
  w.PaneDoubleClick();
  EXPECT_EQ(w.ListBox1->currentIndex().row(), 3);
  EXPECT_EQ(PaneLines(*w.Editor3), (std::vector<std::string>{Header("Hello") + "1", "x"}));
}

TEST_F(OstrWindows, BoardThreadModeFindsThePostsThreadAndRefusesSearch) {
  TFormOstrBoard w(nullptr, Args(board));
  w.LoadLog();
  w.ListBox1->setCurrentIndex(w.ListBox1->model()->index(2, 0));  // "Re: Hello"
  w.MenuLogThreadClick();
  EXPECT_EQ(w.Mode(), BoardMode::Thread);
  EXPECT_EQ(w.Label2->text(), Q("4/11/11"));
  EXPECT_EQ(w.ListBox3->currentIndex().row(), 1);  // "Hello", not "Hello World"
  // Members by containment, oldest first: "Hello" + "1", "Re: Hello", "Hello", "Hello World";
  // the post stays selected.
  EXPECT_EQ(w.ListBox2->model()->rowCount(), 4);
  EXPECT_EQ(w.ListBox2->currentIndex().row(), 1);
  EXPECT_EQ(PaneLines(*w.Editor3), (std::vector<std::string>{Header("Re: Hello"), "r"}));
  w.ChooseThreadOrder(ThreadOrder::Desend);
  EXPECT_EQ(w.ListBox2->model()->index(0, 0).data().toString().left(5), Q("Hello"));
  w.MenuSearchClick(SearchDirection::Next);
  EXPECT_EQ(messages.shown.back(), "スレッドログの表示では、検索はできません");
  w.MenuLogAllClick();
  EXPECT_EQ(w.Mode(), BoardMode::All);
  EXPECT_EQ(w.ListBox2->model()->rowCount(), 0);
}

TEST_F(OstrWindows, BoardSearchesTheFullLogWithItsOwnWord) {
  TFormOstrBoard w(nullptr, Args(board));
  w.LoadLog();
  std::string handed;
  w.run_find = [&](const std::string& word) {
    handed = word;
    return std::string("x");
  };
  w.MenuSearchWordClick();
  EXPECT_EQ(ini.ReadString("ParentForm", "Search", ""), "OstrBoard");
  EXPECT_EQ(w.SearchWord(), "x");
  w.MenuSearchClick(SearchDirection::Next);
  EXPECT_EQ(CaretLine(*w.Editor1), 9);
  EXPECT_EQ(w.Editor1->Control().SelText(), "x");
  w.run_find = [](const std::string&) { return std::string("a&b"); };
  w.MenuSearchWordClick();
  w.MenuSearchClick(SearchDirection::Previous);
  EXPECT_EQ(messages.shown,
            std::vector<std::string>{"検索しましたがが見つかりませんでした\r\na&&b"});
}

// The index is built and the lists filled without servicing events: an event posted before
// runs only afterwards, against the finished lists.
TEST_F(OstrWindows, BoardLoadingServicesNoEventsMeanwhile) {
  TextLines big;
  for (int i = 0; i < 3 * kProgressStep; ++i)
    big.AddLine(i % 10 == 0 ? Utf8ToSjis(Header("T")) : std::string("body"));
  TFormOstrBoard w(nullptr, Args(big));
  size_t seen = 0;
  QTimer::singleShot(0, &w, [&] { seen = w.Model().Entries().size() + 1; });
  w.LoadLog();
  EXPECT_EQ(seen, 0u);
  QApplication::processEvents();
  const size_t headers = (big.Count() + 9) / 10;
  EXPECT_EQ(seen, headers + 1 + 1);  // the closing entry, and one so that 0 means "not yet"
}

TEST_F(OstrWindows, BoardReusesItsIndexKeepsSkipTitlesAndSettings) {
  {
    TFormOstrBoard w(nullptr, Args(board));
    w.LoadLog();
    w.ListBox1->setCurrentIndex(w.ListBox1->model()->index(0, 0));
    w.MenuAddSkipTitleClick();
    EXPECT_EQ(PaneLines(*w.Editor4), (std::vector<std::string>{Header("Hello World")}));
    w.MenuLogThreadClick();
    w.reject();
  }
  EXPECT_EQ(ReadFileOrDie(home.PathOf(WorkingFile::OstrSkip)),
            Utf8ToSjis(Header("Hello World")) + "\r\n");
  TFormOstrBoard again(nullptr, Args(board));
  EXPECT_EQ(again.Mode(), BoardMode::Thread);
  again.LoadLog();  // the stored index still fits: the skipped post stays until re-indexing
  EXPECT_EQ(again.Model().Entries().size(), 5u);
  again.MenuGetIndexClick();
  EXPECT_EQ(again.Model().Entries().size(), 4u);
  EXPECT_EQ(again.Label2->text(), Q("3/11/11"));
}

TEST_F(OstrWindows, BoardWithAMalformedIndexOrNoPosts) {
  ASSERT_TRUE(WriteFileAtomic(home.PathOf(WorkingFile::OstrIndex), "broken\r\n").ok());
  {
    TFormOstrBoard w(nullptr, Args(board));
    w.LoadLog();
    EXPECT_EQ(messages.shown.back(),
              "インデックスファイルの内容が不正です\r\nファイルを初期化します");
    EXPECT_EQ(ReadFileOrDie(home.PathOf(WorkingFile::OstrIndex)), "");
    w.MenuLogThreadClick();
    EXPECT_EQ(messages.shown.back(), "インデックスの内容がありません");
    EXPECT_TRUE(w.MenuLogAll->isChecked());
  }
  const TextLines plain = Log({"a", "b"});
  TFormOstrBoard w(nullptr, Args(plain));
  w.LoadLog();
  EXPECT_EQ(w.ListBox1->model()->rowCount(), 1);  // the closing entry alone
  EXPECT_TRUE(PaneLines(*w.Editor3).empty());
}

TEST_F(OstrWindows, BoardLayoutsHideASideAndRestoreTheProportion) {
  TFormOstrBoard w(nullptr, Args(board));
  w.resize(900, 500);
  w.show();
  QApplication::processEvents();
  w.Splitter1->setSizes({300, 600});
  QApplication::processEvents();
  const int before = w.Splitter1->sizes()[0];
  w.ChooseLayout(BoardLayout::LogOnly);
  EXPECT_TRUE(w.MenuShowLog->isChecked());
  EXPECT_FALSE(w.Splitter1->widget(0)->isVisible());
  w.ChooseLayout(BoardLayout::Both);
  QApplication::processEvents();
  EXPECT_TRUE(w.Splitter1->widget(0)->isVisible());
  EXPECT_NEAR(w.Splitter1->sizes()[0], before, 6);
  w.reject();
}

TEST_F(OstrWindows, HistoryModesShowTheWholeLogOrOneRecord) {
  const TextLines log = Log({"intro", "[ 1 ] a\tb", "a", "[ 2 ] c", "c", "last"});
  TFormOstrHistory w(nullptr, Args(log));
  EXPECT_EQ(w.windowTitle(), Q("ヒストリ表示 (ostrel)"));
  w.show();
  QApplication::processEvents();
  ASSERT_EQ(w.Entries().size(), 4u);
  EXPECT_EQ(w.Entries()[1].header, "[ 1 ] a\tb");
  w.ListBox1->setCurrentIndex(w.ListBox1->model()->index(2, 0));
  EXPECT_EQ(CaretLine(*w.Editor1), 3);
  EXPECT_EQ(w.Editor1->Control().TopRow(), 3);
  w.ChooseMode(HistoryMode::This);
  EXPECT_EQ(PaneLines(*w.Editor1), (std::vector<std::string>{"[ 2 ] c", "c"}));
  w.ListBox1->setCurrentIndex(w.ListBox1->model()->index(3, 0));
  EXPECT_TRUE(PaneLines(*w.Editor1).empty());
  w.ListBox1->setCurrentIndex(w.ListBox1->model()->index(1, 0));
  w.ChooseMode(HistoryMode::All);
  EXPECT_EQ(PaneLines(*w.Editor1).size(), 6u);
  EXPECT_EQ(CaretLine(*w.Editor1), 1);
  w.ChooseMode(HistoryMode::This);
  w.reject();
  EXPECT_EQ(ReadHistoryMode(ini), HistoryMode::This);
}

}  // namespace
}  // namespace tessary
