// Find and replace models: stored words and lists, searches, replacements and their messages.
#include "commands/find_replace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/caret_word.h"
#include "editor/editor_control.h"
#include "platform/private_profile.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;
using testing::ReadFileOrDie;
using testing::ScriptedMessages;
using testing::TempDir;
using Outcome = FindReplaceModel::Outcome;

struct Fixture {
  TempDir dir;
  AppHome home{dir.path()};
  ScriptedMessages messages;
  EditorControl editor;
  PrivateProfile Ini() const { return PrivateProfile(home.SettingsFile()); }
  std::vector<std::string> FileLines(WorkingFile f) const {
    std::vector<std::string> lines;
    const std::string text = ReadFileOrDie(home.PathOf(f));
    for (size_t at = 0; at < text.size();) {
      const size_t end = text.find("\r\n", at);
      lines.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    return lines;
  }
};

TEST(OneLineEscape, AwkwardTextsComeBackExactly) {
  for (std::string_view t : {" foo ", "\"x\"", "a\r\n[Editor]", "A&B", "'q'", "C:\\new\\r", "\t",
                             "", "\\", "a\rb\nc", " ", "x\\"}) {
    const std::string line = EscapeOneLine(t);
    EXPECT_EQ(UnescapeOneLine(line), t) << t;
    EXPECT_EQ(line.find_first_of("\r\n\t"), std::string::npos) << t;
    if (!line.empty()) {
      EXPECT_EQ(std::string_view(" \"'").find(line.front()), std::string_view::npos) << t;
      EXPECT_EQ(std::string_view(" \"'").find(line.back()), std::string_view::npos) << t;
    }
  }
  // A backslash that starts no escape is the text's own (lists written before escaping).
  EXPECT_EQ(UnescapeOneLine("C:\\path\\x"), "C:\\path\\x");
  // Capping never cuts a character: 400 three-byte characters end after 341.
  std::string wide;
  for (int i = 0; i < 400; ++i) wide += "検";
  EXPECT_EQ(CappedWord(wide).size(), 1023u);
  EXPECT_EQ(CappedWord("short"), "short");
}

TEST(FindReplaceModel, AwkwardWordsSurviveTheSettingsAndTheHistory) {
  Fixture f;
  const std::vector<std::string> words = {" foo ", "\"x\"", "a\r\n[Editor]", "A&B"};
  f.editor.Lines().SetTextStr("x  foo  \"x\" a\r\n[Editor]\r\nA&B");
  for (const std::string& w : words) {
    f.editor.SetCaret(0, 0);
    FindReplaceModel m(f.home, f.messages, FindWindow::Find, w);
    ASSERT_EQ(m.Find(f.editor, SearchDirection::Next), Outcome::Found) << w;
    EXPECT_EQ(m.HandBack(), w);
    // Reopened without a word in memory: the stored word is the same text.
    FindReplaceModel again(f.home, f.messages, FindWindow::Find);
    EXPECT_EQ(again.word, w);
    EXPECT_EQ(again.SearchHistory().front(), w);
  }
  FindReplaceModel last(f.home, f.messages, FindWindow::Find);
  EXPECT_EQ(last.SearchHistory(),
            (std::vector<std::string>{"A&B", "a\r\n[Editor]", "\"x\"", " foo "}));
  EXPECT_EQ(f.FileLines(WorkingFile::Find).size(), 4u);  // one line per entry
  // The stored word never made a section of its own.
  EXPECT_FALSE(f.Ini().ReadString("Editor", "Jump").has_value());
  EXPECT_EQ(ReadFileOrDie(f.home.SettingsFile()).find("\r\n[Editor]"), std::string::npos);
  // Opening stores an empty word: closing without a search hands back nothing.
  EXPECT_EQ(f.Ini().ReadString("Options", "SearchWord", "?"), "");
  EXPECT_EQ(last.HandBack(), "");
  EXPECT_TRUE(f.messages.shown.empty());
}

TEST(FindReplaceModel, HistoryKeepsOneEntryPerWordAndAtMost32) {
  Fixture f;
  std::string text;
  for (int i = 0; i < 40; ++i) text.append("w").append(std::to_string(i)).append(" ");
  f.editor.Lines().SetTextStr(text);
  FindReplaceModel m(f.home, f.messages, FindWindow::Find);
  for (int i = 0; i < 33; ++i) {
    m.word = std::string("w").append(std::to_string(i));
    f.editor.SetCaret(0, 0);
    ASSERT_EQ(m.Find(f.editor, SearchDirection::Next), Outcome::Found);
  }
  m.word = "w5";
  ASSERT_EQ(m.Find(f.editor, SearchDirection::Previous), Outcome::Found);
  ASSERT_EQ(m.SearchHistory().size(), 32u);
  EXPECT_EQ(m.SearchHistory()[0], "w5");
  EXPECT_EQ(m.SearchHistory()[1], "w32");
  EXPECT_EQ(m.SearchHistory().back(), "w1");  // w0 was pushed out
  EXPECT_EQ(f.FileLines(WorkingFile::Find).size(), 32u);
  EXPECT_EQ(f.Ini().ReadInteger("Options", "Direction", 7), 0);
  // A word far too long is stored capped.
  m.word = std::string(3000, 'w');
  f.editor.Lines().SetTextStr(m.word);
  f.editor.SetCaret(0, 0);
  ASSERT_EQ(m.Find(f.editor, SearchDirection::Next), Outcome::Found);
  EXPECT_EQ(m.SearchHistory()[0].size(), kMaxStoredWordBytes);
}

TEST(FindReplaceModel, AFailedSearchChangesNeitherSelectionNorHistory) {
  Fixture f;
  f.editor.Lines().SetTextStr("abc A&B abc");
  FindReplaceModel m(f.home, f.messages, FindWindow::Find, "abc");
  ASSERT_EQ(m.Find(f.editor, SearchDirection::Next), Outcome::Found);
  const std::string before = ReadFileOrDie(f.home.PathOf(WorkingFile::Find));
  const int64_t start = f.editor.SelStart();
  m.word = "A&Bz";
  EXPECT_EQ(m.Find(f.editor, SearchDirection::Next), Outcome::NotFound);
  EXPECT_EQ(f.editor.SelStart(), start);
  EXPECT_EQ(f.editor.SelLength(), 3);
  EXPECT_EQ(ReadFileOrDie(f.home.PathOf(WorkingFile::Find)), before);
  m.word = "";
  EXPECT_EQ(m.Find(f.editor, SearchDirection::Next), Outcome::NoWord);
  EXPECT_EQ(f.messages.shown,
            (std::vector<std::string>{"検索しましたがが見つかりませんでした\r\nA&&Bz",
                                      "検索語が設定されていません"}));
}

TEST(FindReplaceModel, TheBoardViewerKeepsItsOwnHistoryAndMessage) {
  Fixture f;
  ASSERT_TRUE(f.Ini().WriteString("ParentForm", "Search", "OstrBoard").ok());
  f.editor.Lines().SetTextStr("log A&B");
  FindReplaceModel m(f.home, f.messages, FindWindow::Find, "A&B");
  EXPECT_EQ(m.Target(), FindTarget::OstrBoard);
  m.auto_close = true;
  const Outcome found = m.Find(f.editor, SearchDirection::Next);
  EXPECT_TRUE(m.ClosesAfter(found));
  EXPECT_EQ(f.FileLines(WorkingFile::OstrFind), (std::vector<std::string>{"A&B"}));
  m.word = "A&C";
  EXPECT_EQ(m.Find(f.editor, SearchDirection::Next), Outcome::NotFound);
  EXPECT_EQ(f.messages.shown.back(), "検索しましたが見つかりませんでした\r\nA&C");
  m.Close();
  EXPECT_TRUE(f.Ini().ReadBool("Options", "AutoClose", false));
}

TEST(FindReplaceModel, ReplaceAndReplaceAll) {
  Fixture f;
  f.editor.Lines().SetTextStr("one two one\r\none");
  FindReplaceModel m(f.home, f.messages, FindWindow::Replace, "one");
  m.replacement = "1";
  // Replace: only a selection is replaced.
  EXPECT_EQ(m.Replace(f.editor), Outcome::NotFound);
  ASSERT_EQ(m.Find(f.editor, SearchDirection::Next), Outcome::Found);
  EXPECT_EQ(m.Replace(f.editor), Outcome::Found);
  EXPECT_EQ(f.editor.Text(), "1 two one\r\none");
  EXPECT_EQ(m.ReplaceHistory(), (std::vector<std::string>{"1"}));
  // Replace all asks; No leaves everything.
  f.messages.answers = {Answer::No, Answer::Yes, Answer::Yes};
  EXPECT_EQ(m.ReplaceAll(f.editor), std::nullopt);
  EXPECT_EQ(f.editor.Text(), "1 two one\r\none");
  m.replacement = "一";
  EXPECT_EQ(m.ReplaceAll(f.editor), 2);
  EXPECT_EQ(f.editor.Text(), "1 two " + Hex("88EA") + "\r\n" + Hex("88EA"));
  EXPECT_EQ(m.ReplaceAll(f.editor), 0);  // nothing after the caret now
  EXPECT_EQ(f.messages.shown,
            (std::vector<std::string>{"2 個を置き換えました", "0 個を置き換えました"}));
  EXPECT_EQ(f.messages.asked.size(), 3u);
  EXPECT_EQ(f.messages.asked[0], "現在位置から文末まで、全て置き換えますか？");
  EXPECT_EQ(f.FileLines(WorkingFile::Replace), (std::vector<std::string>{Hex("88EA"), "1"}));
  // Read-only: refused.
  f.editor.SetReadOnly(true);
  EXPECT_EQ(m.Replace(f.editor), Outcome::Refused);
  EXPECT_EQ(f.messages.shown.back(), "書込禁止なので操作は無効です");
}

TEST(MainSearch, F3UsesTheStoredBoxesAndHandsWordsOver) {
  Fixture f;
  MainSearch main(f.home, f.messages);
  f.editor.Lines().SetTextStr("ABC abc foo(bar)");
  EXPECT_FALSE(main.Search(f.editor, SearchDirection::Next));
  EXPECT_EQ(f.messages.shown.back(), "検索語が設定されていません");
  main.SetWord("abc");
  f.editor.SetCaret(0, 0);
  ASSERT_TRUE(main.Search(f.editor, SearchDirection::Next));
  EXPECT_EQ(f.editor.SelStart(), 0);
  ASSERT_TRUE(f.Ini().WriteBool("Options", "MatchCase", true).ok());
  f.editor.SetCaret(0, 0);
  ASSERT_TRUE(main.Search(f.editor, SearchDirection::Next));
  EXPECT_EQ(f.editor.SelStart(), 4);
  EXPECT_FALSE(main.Search(f.editor, SearchDirection::Next));
  EXPECT_EQ(f.messages.shown.back(), "検索しましたがが見つかりませんでした\r\nabc");
  // The word at the caret is selected and handed to the find window.
  f.editor.CancelSelection();
  f.editor.SetCaret(0, 13);
  EXPECT_EQ(main.WordForFind(f.editor), "bar");
  EXPECT_EQ(f.editor.SelText(), "bar");
  EXPECT_EQ(f.Ini().ReadString("ParentForm", "Search", ""), "Main");
  FindReplaceModel m(f.home, f.messages, FindWindow::Find);
  EXPECT_EQ(m.word, "bar");
  main.TakeBack(m);  // closed without a search
  EXPECT_EQ(main.Word(), "");
  // Replace takes the word only after a delimiter; the selection stays as it is.
  f.editor.Lines().SetTextStr("nodelimiter");
  f.editor.SetCaret(0, 3);
  EXPECT_EQ(main.WordForReplace(f.editor), "");
  EXPECT_EQ(main.LineForFind(f.editor), "nodelimiter");
  f.editor.Lines().SetTextStr("\t  x\ty  ");
  EXPECT_EQ(main.LineForFind(f.editor), "xy");
  f.editor.SetReadOnly(true);
  EXPECT_EQ(main.WordForReplace(f.editor), std::nullopt);
  EXPECT_EQ(f.messages.shown.back(), "書込禁止なので操作は無効です");
}

TEST(CaretWord, TheRunOfWordCharactersAroundTheCaret) {
  // foo(bar): between b and a, right after "(", and after ")".
  EXPECT_EQ(WordAroundCaret("foo(bar)", 5), (CaretWord{4, 3, true}));
  EXPECT_EQ(WordAroundCaret("foo(bar)", 4), (CaretWord{4, 3, true}));
  EXPECT_EQ(WordAroundCaret("foo(bar)", 8).length, 0u);
  // No delimiter: the whole line, and none before the caret.
  EXPECT_EQ(WordAroundCaret("abcdef", 2), (CaretWord{0, 6, false}));
  // Full-width delimiters: "［" is one, "］" is none; a double-byte character is one character.
  const std::string open = Hex("816D") + Hex("82A0 82A2") + Hex("816E") + "x";
  EXPECT_EQ(WordAroundCaret(open, 4), (CaretWord{2, 7, true}));
  const std::string blank = Hex("82A0") + Hex("8140") + Hex("82A2");
  EXPECT_EQ(WordAroundCaret(blank, 1), (CaretWord{0, 2, false}));  // inside the first character
  EXPECT_EQ(WordAroundCaret(blank, 4), (CaretWord{4, 2, true}));
  // Reaches end 9998 characters from the caret.
  const std::string longLine(20000, 'a');
  EXPECT_EQ(WordAroundCaret(longLine, 10000), (CaretWord{2, 19996, false}));
}

}  // namespace
}  // namespace tessary
