// Text and file snippets without windows: templates, the files, pages, saving and insertion.
#include "viewers/snippets.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "codec/sjis_text.h"
#include "editor/editor_control.h"
#include "platform/clipboard.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"

namespace tessary {
namespace {

namespace fs = std::filesystem;
using testing::Hex;
using testing::ReadFileOrDie;
using testing::ScriptedMessages;
using testing::TempDir;

constexpr LocalDateTime kMoment{2025, 1, 2, 3, 4, 5};

std::string S(std::string_view utf8) {
  return Utf8ToSjis(utf8);
}
std::string U(std::string_view sjis) {
  return SjisToUtf8(sjis);
}

// ---- templates ----

TEST(ExpandSnippet, FillsTheDateAndTimeOfATemplate) {
  EXPECT_EQ(ExpandSnippet("$yyyy-mm-dd$", kMoment), "2025-01-02");
  EXPECT_EQ(U(ExpandSnippet(S("$hh時nn分ss秒$"), kMoment)), "03時04分05秒");
  EXPECT_EQ(U(ExpandSnippet(S("$yyyy年mm月dd日 hh:nn:ss$"), kMoment)), "2025年01月02日 03:04:05");
  EXPECT_EQ(ExpandSnippet("$mmmm yy$", kMoment), "0101 yy");
}

TEST(ExpandSnippet, OnlyTextsWithADollarAtBothEndsAreTemplates) {
  EXPECT_EQ(ExpandSnippet("$", kMoment), "");
  EXPECT_EQ(ExpandSnippet("$$", kMoment), "");
  EXPECT_EQ(ExpandSnippet("$abc", kMoment), "$abc");
  EXPECT_EQ(ExpandSnippet("abc$", kMoment), "abc$");
  EXPECT_EQ(ExpandSnippet("yyyy", kMoment), "yyyy");
  EXPECT_EQ(ExpandSnippet("", kMoment), "");
}

TEST(ExpandSnippet, NeverMatchesTheTrailByteOfADoubleByteCharacter) {
  // ノ is 83 6D: its trail byte reads as "m".
  const std::string no = S("ノ");
  ASSERT_EQ(no, Hex("83 6D"));
  EXPECT_EQ(ExpandSnippet(Hex("24 83 6D 6D 6D 24"), kMoment), no + "01");
  EXPECT_EQ(ExpandSnippet(Hex("24 83 6D 6D 24"), kMoment), no + "m");
  // ヅ (83 64) before "d": its trail byte and the "d" after it are no "dd".
  EXPECT_EQ(ExpandSnippet(Hex("24 83 64 64 24"), kMoment), Hex("83 64") + "d");
}

// ---- names ----

TEST(SnippetNameProblem, RefusesNamesThatLeaveTheFolderOrTheList) {
  for (const char* bad : {"a/b", "../x", "a\\b", ".", "..", " lead", "\tlead", "a\nb", "a\rb",
                          "bell\a", "del\x7F", "😀.txt", "\xFF\xFE"})
    EXPECT_TRUE(SnippetNameProblem(bad).has_value()) << bad;
  for (const char* good : {"a.txt", "..a", "a.", "日本語 メモ.txt", "ｶﾅ", "trailing "})
    EXPECT_FALSE(SnippetNameProblem(good).has_value()) << good;
}

// ---- the windows' surroundings ----

class Snippets : public ::testing::Test {
 protected:
  Snippets() {
    target.SetClipboard(&clipboard);
    editor.SetClipboard(&clipboard);
    target.Lines().SetTextStr("before\r\nafter");
  }
  SnippetPorts Ports() { return {home, messages, clipboard, target}; }
  std::string SnippetPath() const { return home.PathOf(WorkingFile::Snippet); }
  std::string Folder() const { return home.PathOf(WorkingFolder::SnippetFile); }
  // Selects `n` bytes of the main editor from offset `at`.
  void SelectInTarget(int64_t at, int64_t n) {
    target.SetSelStart(at);
    target.SetSelLength(n);
  }

  TempDir dir;
  AppHome home{dir.path()};
  ScriptedMessages messages;
  MemoryClipboard clipboard;
  EditorControl target;  // the main editor
  EditorControl editor;  // the edit page
  EditorControl preview;
};

TEST_F(Snippets, AProtectedMainEditorIsRefusedAndASelectionIsCopiedBeforeOpening) {
  target.SetReadOnly(true);
  EXPECT_EQ(PrepareSnippetWindow(target, messages), Leaving::Stay);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"書き込み禁止では操作できません"});
  target.SetReadOnly(false);
  EXPECT_EQ(PrepareSnippetWindow(target, messages), Leaving::Allowed);
  EXPECT_FALSE(clipboard.HasText());
  SelectInTarget(0, 3);
  EXPECT_EQ(PrepareSnippetWindow(target, messages), Leaving::Allowed);
  EXPECT_EQ(clipboard.Text(), "bef");
}

// ---- text snippets ----

class TextSnippetsTest : public Snippets {
 protected:
  TextSnippets Window() {
    return TextSnippets(Ports(), editor, [] { return kMoment; });
  }
  int NodeOf(const TextSnippets& w, std::string_view utf8) {
    for (size_t i = 0; i < w.Nodes().size(); ++i)
      if (U(w.Nodes()[i].text) == utf8) return static_cast<int>(i);
    ADD_FAILURE() << "no node " << utf8;
    return -1;
  }
};

TEST_F(TextSnippetsTest, AMissingFileGetsTheDefaultsShownAsTheTree) {
  TextSnippets w = Window();
  w.Start();
  EXPECT_EQ(w.Page(), SnippetPage::Tree);
  EXPECT_EQ(ReadFileOrDie(SnippetPath()), DefaultSnippetText());
  ASSERT_EQ(w.Nodes().size(), 12u);
  EXPECT_EQ(U(w.Nodes()[2].text), "子カテゴリ21");
  EXPECT_EQ(w.Nodes()[2].parent, 1);
  EXPECT_EQ(w.Nodes()[5].level, 2);
  EXPECT_EQ(U(w.Nodes()[11].text), "$hh時nn分ss秒$");
  EXPECT_EQ(editor.Text(), DefaultSnippetText());
  EXPECT_FALSE(editor.Modified());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(TextSnippetsTest, AnUnreadableFileIsReportedAndNeverReplacedByTheDefaults) {
  fs::create_directory(SnippetPath());  // something that is not a readable file
  TextSnippets w = Window();
  w.Start();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("読み込めません"), std::string::npos);
  EXPECT_TRUE(w.Nodes().empty());
  EXPECT_TRUE(fs::is_directory(SnippetPath()));
  EXPECT_EQ(w.ButtonSetClick(), Insertion::NotInserted);
  EXPECT_EQ(messages.shown.back(), "対象がありません");
  // Neither the defaults nor the edit page go over it.
  w.ButtonEditorClick();
  editor.InsertText("x");
  w.ButtonSaveClick();
  messages.answers = {Answer::Yes};
  w.ButtonInitClick();
  EXPECT_EQ(w.Page(), SnippetPage::Edit);
  EXPECT_TRUE(editor.Modified());
  EXPECT_NE(messages.shown.back().find("保存しません"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(SnippetPath()));
}

// Also: a reload leaves the tree a view may still show whole, texts and all.
TEST_F(TextSnippetsTest, ALineTwoLevelsDeeperEndsTheTreeSilently) {
  std::ofstream(SnippetPath()) << "old\r\n  two blanks\r\nnever\r\n";
  TextSnippets w = Window();
  w.Start();
  ASSERT_EQ(w.Nodes().size(), 1u);
  EXPECT_TRUE(messages.shown.empty());
  const std::shared_ptr<const IndentTree> shown = w.Tree();

  std::ofstream(SnippetPath()) << "top\r\n\tone tab\r\n  child\r\n";
  w.ButtonEditorClick();
  w.ButtonTreeClick();
  ASSERT_EQ(w.Nodes().size(), 3u);
  EXPECT_EQ(w.Nodes()[2].parent, 1);
  EXPECT_EQ(w.Nodes()[2].text, "child");
  EXPECT_EQ(&w.Tree()->nodes, &w.Nodes());
  ASSERT_EQ(shown->nodes.size(), 1u);
  EXPECT_EQ(shown->nodes[0].text, "old");
}

TEST_F(TextSnippetsTest, InsertingReplacesTheMainSelectionThroughTheClipboard) {
  TextSnippets w = Window();
  w.Start();
  SelectInTarget(0, 6);  // "before"
  w.Select(NodeOf(w, "$yyyy-mm-dd$"));
  EXPECT_EQ(w.ButtonSetClick(), Insertion::Inserted);
  EXPECT_EQ(target.Text(), "2025-01-02\r\nafter");
  EXPECT_EQ(clipboard.Text(), "2025-01-02");

  w.Select(NodeOf(w, "$hh時nn分ss秒$"));
  EXPECT_EQ(w.ButtonSetClick(), Insertion::Inserted);
  EXPECT_EQ(U(target.Text()), "2025-01-0203時04分05秒\r\nafter");
  // A category is a snippet too, inserted as it stands.
  w.Select(NodeOf(w, "孫カテゴリ32"));
  EXPECT_EQ(w.ButtonSetClick(), Insertion::Inserted);
  EXPECT_EQ(U(clipboard.Text().value()), "孫カテゴリ32");
}

TEST_F(TextSnippetsTest, ALoneDollarInsertsNothing) {
  std::ofstream(SnippetPath()) << "$\r\n$abc\r\n";
  TextSnippets w = Window();
  w.Start();
  w.Select(0);
  EXPECT_EQ(w.ButtonSetClick(), Insertion::Inserted);
  EXPECT_EQ(target.Text(), "before\r\nafter");
  w.Select(1);
  EXPECT_EQ(w.ButtonSetClick(), Insertion::Inserted);
  EXPECT_EQ(target.Text(), "$abcbefore\r\nafter");
}

TEST_F(TextSnippetsTest, SavingWritesTheEditPageAndShowsTheNewTree) {
  TextSnippets w = Window();
  w.Start();
  w.ButtonEditorClick();
  ASSERT_EQ(w.Page(), SnippetPage::Edit);
  editor.Lines().SetTextStr(S("一\r\n\t二\r\n"));
  editor.SetModified(true);
  w.ButtonSaveClick();
  EXPECT_EQ(w.Page(), SnippetPage::Tree);
  EXPECT_EQ(ReadFileOrDie(SnippetPath()), S("一\r\n\t二\r\n"));
  ASSERT_EQ(w.Nodes().size(), 2u);
  EXPECT_EQ(w.Nodes()[1].parent, 0);
  EXPECT_FALSE(editor.Modified());
}

TEST_F(TextSnippetsTest, AModifiedEditPageIsLeftOrClosedOnlyOnYes) {
  TextSnippets w = Window();
  w.Start();
  EXPECT_EQ(w.CloseQuery(), Leaving::Allowed);  // the tree page closes without a question
  w.ButtonEditorClick();
  EXPECT_EQ(w.CloseQuery(), Leaving::Allowed);  // nothing changed yet
  editor.InsertText("x");
  ASSERT_TRUE(editor.Modified());
  messages.answers = {Answer::No, Answer::No, Answer::Yes};
  w.ButtonTreeClick();
  EXPECT_EQ(w.Page(), SnippetPage::Edit);
  EXPECT_EQ(w.CloseQuery(), Leaving::Stay);
  EXPECT_EQ(w.CloseQuery(), Leaving::Allowed);
  EXPECT_EQ(messages.asked, std::vector<std::string>(3, "変更されていますが、破棄しますか？"));
  EXPECT_EQ(ReadFileOrDie(SnippetPath()), DefaultSnippetText());
}

TEST_F(TextSnippetsTest, AFailedSaveSaysSoAndKeepsThePageAndItsMark) {
  TextSnippets w = Window();
  w.Start();
  w.ButtonEditorClick();
  editor.InsertText("kept");
  // The file's place taken by a folder: the write fails for root too.
  fs::remove(SnippetPath());
  fs::create_directory(SnippetPath());
  w.ButtonSaveClick();
  EXPECT_EQ(w.Page(), SnippetPage::Edit);
  EXPECT_TRUE(editor.Modified());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("保存できませんでした"), std::string::npos);
}

TEST_F(TextSnippetsTest, AFailedSaveInAReadOnlyFolderKeepsTheEdits) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into every folder";
  TextSnippets w = Window();
  w.Start();
  w.ButtonEditorClick();
  editor.InsertText("kept");
  ::chmod(dir.path().c_str(), 0555);
  w.ButtonSaveClick();
  ::chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(w.Page(), SnippetPage::Edit);
  EXPECT_TRUE(editor.Modified());
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(ReadFileOrDie(SnippetPath()), DefaultSnippetText());
}

TEST_F(TextSnippetsTest, InitAppendsTheDefaultsOnlyOnYes) {
  std::ofstream(SnippetPath()) << "mine\r\n";
  TextSnippets w = Window();
  w.Start();
  w.ButtonEditorClick();
  messages.answers = {Answer::No};
  w.ButtonInitClick();
  EXPECT_EQ(editor.Text(), "mine\r\n");
  EXPECT_EQ(ReadFileOrDie(SnippetPath()), "mine\r\n");
  EXPECT_EQ(messages.asked.back(), "現在の内容の最後にデフォルトのデータを追加しますか？");

  messages.answers = {Answer::Yes};
  w.ButtonInitClick();
  std::string expected = "mine\r\n";
  expected += DefaultSnippetText();
  EXPECT_EQ(editor.Text(), expected);
  EXPECT_EQ(ReadFileOrDie(SnippetPath()), expected);
  EXPECT_FALSE(editor.Modified());
}

TEST_F(TextSnippetsTest, PasteTakesTheClipboardIntoTheEditPage) {
  TextSnippets w = Window();
  w.Start();
  w.ButtonEditorClick();
  editor.SetCaret(0, 0);
  clipboard.SetForeignText("new\r\n");
  w.ButtonPasteClick();
  std::string expected = "new\r\n";
  expected += DefaultSnippetText();
  EXPECT_EQ(editor.Text(), expected);
  EXPECT_TRUE(editor.Modified());
}

TEST_F(TextSnippetsTest, HelpListsTheDefaultCategoriesWithTabsSpelledOut) {
  TextSnippets w = Window();
  w.MenuHelpClick();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0],
            "[TAB] はキーボードのタブを意味します\r\n\r\n親カテゴリ1\r\n親カテゴリ2\r\n"
            "[TAB]子カテゴリ21\r\n親カテゴリ3\r\n[TAB]子カテゴリ31\r\n[TAB][TAB]孫カテゴリ32\r\n"
            "\r\nファイルの文字コードは SJIS のみ対応です");
}

// ---- file snippets ----

class FileSnippetsTest : public Snippets {
 protected:
  FileSnippets Window() { return FileSnippets(Ports(), preview, editor); }
  std::string Put(const std::string& name, std::string_view bytes) {
    const std::string path = Folder() + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::vector<std::string> Names(const FileSnippets& w) {
    std::vector<std::string> names;
    for (size_t i = 0; i < w.Nodes().size(); ++i) names.push_back(w.NameOf(static_cast<int>(i)));
    return names;
  }
};

TEST_F(FileSnippetsTest, TheFolderIsMadeAndItsRegularFilesListedIgnoringCase) {
  FileSnippets w = Window();
  ASSERT_TRUE(fs::is_directory(Folder()));
  Put("b.txt", "bee");
  Put("A.txt", "ay");
  Put("c.txt", "");
  fs::create_directory(Folder() + "/sub");
  fs::create_symlink("/etc/passwd", Folder() + "/link");
  fs::create_symlink("b.txt", Folder() + "/a-link");
  ASSERT_EQ(::mkfifo((Folder() + "/fifo").c_str(), 0600), 0);
  w.Start();
  EXPECT_EQ(Names(w), (std::vector<std::string>{"A.txt", "b.txt", "c.txt"}));
  EXPECT_EQ(ReadFileOrDie(home.PathOf(WorkingFile::SnippetFile)), "A.txt\r\nb.txt\r\nc.txt\r\n");
  EXPECT_EQ(w.Selected(), 0);
  EXPECT_EQ(preview.Text(), "ay");
  w.TreeView1Click(1);
  EXPECT_EQ(preview.Text(), "bee");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FileSnippetsTest, ATwoLineFileInsertsBothLinesAndAFinalLineEnd) {
  FileSnippets w = Window();
  Put("two", "one\ntwo");
  w.Start();
  target.SetCaret(1, 0);
  EXPECT_EQ(w.ButtonSetClick(), Insertion::Inserted);
  EXPECT_EQ(target.Text(), "before\r\none\r\ntwo\r\nafter");
  EXPECT_EQ(clipboard.Text(), "one\r\ntwo\r\n");
}

TEST_F(FileSnippetsTest, ABoxCopiedWhenTheWindowOpenedDoesNotMakeTheSnippetABox) {
  target.Lines().SetTextStr("abcd\r\nefgh\r\n");
  target.SetSelectionMode(SelectionMode::Box);
  target.SetCaret(0, 1);
  target.KeyDown(EditorKey::Down, kShift);
  target.KeyDown(EditorKey::Right, kShift);
  ASSERT_EQ(PrepareSnippetWindow(target, messages), Leaving::Allowed);
  ASSERT_TRUE(clipboard.HasBoxFormat());
  FileSnippets w = Window();
  Put("two", "XY\r\nZ");
  w.Start();
  target.SetSelectionMode(SelectionMode::Stream);
  target.CancelSelection();
  target.SetCaret(0, 1);
  EXPECT_EQ(w.ButtonSetClick(), Insertion::Inserted);
  EXPECT_FALSE(clipboard.HasBoxFormat());
  // As a box, "Z" would have gone into the second row at column 1.
  EXPECT_EQ(target.Text(), "aXY\r\nZ\r\nbcd\r\nefgh\r\n");
}

TEST_F(FileSnippetsTest, DuplicateCodesAreInsertedByteForByte) {
  FileSnippets w = Window();
  // NEC-selected IBM extension, its IBM twin, and a NEC special character.
  const std::string bytes = Hex("ED 40 FA 5C 87 40");
  Put("dup", bytes);
  w.Start();
  target.Lines().SetTextStr("");
  EXPECT_EQ(w.ButtonSetClick(), Insertion::Inserted);
  EXPECT_EQ(target.Text(), bytes + "\r\n");
}

TEST_F(FileSnippetsTest, AVanishedFileSaysSoAndPastesNothing) {
  FileSnippets w = Window();
  const std::string path = Put("gone", "text");
  w.Start();
  fs::remove(path);
  clipboard.SetForeignText("held");
  SelectInTarget(0, 6);
  EXPECT_EQ(w.ButtonSetClick(), Insertion::NotInserted);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"ファイル \"gone\" がありません"});
  EXPECT_EQ(target.Text(), "before\r\nafter");
  EXPECT_EQ(target.SelText(), "before");
  EXPECT_EQ(clipboard.Text(), "held");
}

TEST_F(FileSnippetsTest, EmptyListsRefuseEachCommandWithItsMessage) {
  FileSnippets w = Window();
  w.Start();
  EXPECT_EQ(w.ButtonSetClick(), Insertion::NotInserted);
  w.ButtonEditClick();
  w.ButtonDeleteClick();
  EXPECT_EQ(messages.shown, (std::vector<std::string>{"対象がありません", "編集対象がありません",
                                                      "削除対象がありません"}));
  EXPECT_EQ(w.Page(), SnippetPage::Tree);
}

TEST_F(FileSnippetsTest, AddCreatesAnEmptyFileAndSelectsIt) {
  FileSnippets w = Window();
  Put("b", "bee");
  Put("d", "dee");
  w.Start();
  w.Button3AddClick(std::nullopt);
  w.Button3AddClick(std::string());
  EXPECT_EQ(Names(w), (std::vector<std::string>{"b", "d"}));
  w.Button3AddClick("C 日本.txt");
  EXPECT_EQ(Names(w), (std::vector<std::string>{"b", "C 日本.txt", "d"}));
  EXPECT_EQ(w.Selected(), 1);
  EXPECT_EQ(ReadFileOrDie(Folder() + "/C 日本.txt"), "");
  EXPECT_EQ(ReadFileOrDie(home.PathOf(WorkingFile::SnippetFile)), S("b\r\nC 日本.txt\r\nd\r\n"));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FileSnippetsTest, AddRefusesUnsafeNamesAndNamesDifferingOnlyInCase) {
  FileSnippets w = Window();
  Put("Memo.txt", "keep");
  w.Start();
  for (const char* bad :
       {"../escape", "a/b", "x\\y", ".", "..", "  blank", "\ttab", "ctl\x01", "😀"})
    w.Button3AddClick(bad);
  w.Button3AddClick("MEMO.TXT");
  ASSERT_EQ(messages.shown.size(), 10u);
  EXPECT_EQ(messages.shown.back(), "同一のファイルがあるので、別の名前を設定してください");
  for (const std::string& m : messages.shown) EXPECT_NE(m.find("ファイル"), std::string::npos) << m;
  EXPECT_FALSE(fs::exists(dir.path() + "/escape"));
  EXPECT_EQ(Names(w), std::vector<std::string>{"Memo.txt"});
  EXPECT_EQ(ReadFileOrDie(Folder() + "/Memo.txt"), "keep");
}

TEST_F(FileSnippetsTest, AddNeverTruncatesOrFollowsAnUnlistedNameOfTheSameSpelling) {
  FileSnippets w = Window();
  const std::string outside = dir.Write("outside.txt", "precious");
  fs::create_symlink(outside, Folder() + "/link");
  w.Start();
  ASSERT_TRUE(w.Nodes().empty());
  w.Button3AddClick("link");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("作成できません"), std::string::npos);
  EXPECT_EQ(ReadFileOrDie(outside), "precious");
}

TEST_F(FileSnippetsTest, EditSaveAndDeleteUseTheFilesOwnOddName) {
  FileSnippets w = Window();
  // Leading blanks read as indentation in the list, yet the node keeps the real name.
  const std::string odd = "  odd name";
  Put(odd, "old\r\n");
  Put("plain", "p");
  w.Start();
  ASSERT_EQ(Names(w), (std::vector<std::string>{odd, "plain"}));
  EXPECT_EQ(w.Nodes()[0].text, "odd name");
  w.ButtonEditClick();
  ASSERT_EQ(w.Page(), SnippetPage::Edit);
  EXPECT_EQ(editor.Text(), "old\r\n");
  editor.SetCaret(0, 0);
  editor.InsertText("new ");
  w.ButtonSaveClick();
  EXPECT_EQ(w.Page(), SnippetPage::Tree);
  EXPECT_EQ(ReadFileOrDie(Folder() + "/" + odd), "new old\r\n");
  EXPECT_FALSE(fs::exists(Folder() + "/odd name"));
  EXPECT_EQ(preview.Text(), "new old\r\n");

  messages.answers = {Answer::No, Answer::Yes};
  w.ButtonDeleteClick();
  EXPECT_TRUE(fs::exists(Folder() + "/" + odd));
  w.ButtonDeleteClick();
  EXPECT_EQ(messages.asked.back(), odd + "\r\nを削除しますか？");
  EXPECT_FALSE(fs::exists(Folder() + "/" + odd));
  EXPECT_EQ(Names(w), std::vector<std::string>{"plain"});
  EXPECT_EQ(preview.Text(), "p");
}

TEST_F(FileSnippetsTest, AListLineTooDeepIsReportedAndEndsTheTree) {
  FileSnippets w = Window();
  Put("\x01"
      "first",
      "");  // sorts before the TABs
  Put("\t\tdeep", "");
  Put("later", "");
  w.Start();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], "アイテム \"deep\" の階層 (2) が不正です");
  EXPECT_EQ(Names(w), std::vector<std::string>{"\x01"
                                               "first"});
}

TEST_F(FileSnippetsTest, AModifiedEditPageAsksBeforeItIsLeftOrClosed) {
  FileSnippets w = Window();
  Put("a", "text");
  w.Start();
  w.ButtonEditClick();
  editor.InsertText("x");
  messages.answers = {Answer::No, Answer::No, Answer::Yes};
  w.ButtonTreeClick();
  EXPECT_EQ(w.Page(), SnippetPage::Edit);
  EXPECT_EQ(w.CloseQuery(), Leaving::Stay);
  w.ButtonTreeClick();
  EXPECT_EQ(w.Page(), SnippetPage::Tree);
  EXPECT_EQ(w.CloseQuery(), Leaving::Allowed);
  EXPECT_EQ(messages.asked.size(), 3u);
  EXPECT_EQ(ReadFileOrDie(Folder() + "/a"), "text");
}

TEST_F(FileSnippetsTest, AFailedSaveSaysSoAndKeepsThePageAndItsMark) {
  FileSnippets w = Window();
  const std::string path = Put("locked", "text");
  w.Start();
  w.ButtonEditClick();
  editor.InsertText("x");
  ::chmod(path.c_str(), 0444);  // refused as write-protected, also for root
  w.ButtonSaveClick();
  EXPECT_EQ(w.Page(), SnippetPage::Edit);
  EXPECT_TRUE(editor.Modified());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("保存できませんでした"), std::string::npos);
  EXPECT_EQ(ReadFileOrDie(path), "text");
}

TEST_F(FileSnippetsTest, SaveRefusesALinkThatTookTheFilesPlace) {
  FileSnippets w = Window();
  const std::string path = Put("a", "text");
  const std::string outside = dir.Write("outside.txt", "precious");
  w.Start();
  w.ButtonEditClick();
  editor.InsertText("x");
  fs::remove(path);
  fs::create_symlink(outside, path);
  w.ButtonSaveClick();
  EXPECT_EQ(w.Page(), SnippetPage::Edit);
  EXPECT_EQ(ReadFileOrDie(outside), "precious");
}

TEST_F(FileSnippetsTest, AFailedListWriteIsReportedAndTheTreeStillShows) {
  fs::create_directories(home.PathOf(WorkingFile::SnippetFile));  // a folder in the list's place
  FileSnippets w = Window();
  Put("a", "");
  w.Start();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("保存できませんでした"), std::string::npos);
  EXPECT_EQ(Names(w), std::vector<std::string>{"a"});
}

TEST_F(FileSnippetsTest, HelpNamesTheFolderAndTheCode) {
  FileSnippets w = Window();
  w.MenuHelpClick();
  EXPECT_EQ(messages.shown,
            std::vector<std::string>{"[SnippetFile] のフォルダの配下にファイルを保存して下さい\r\n"
                                     "ファイルの文字コードは SJIS のみ対応です"});
}

}  // namespace
}  // namespace tessary
