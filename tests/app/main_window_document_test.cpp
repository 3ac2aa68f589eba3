// The main window's document commands driven through fakes and scripted answers.
#include "app/main_window_document.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>

#include "codec/document_loader.h"
#include "codec/document_saver.h"
#include "document_fakes.h"
#include "platform/app_home.h"
#include "platform/file_io.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::EventLog;
using testing::FakeEditor;
using testing::FakeWindow;
using testing::Hex;
using testing::ReadFileOrDie;
using testing::ScriptedMessages;
using testing::TempDir;

namespace fs = std::filesystem;

// A settings folder of its own for each test, so working files and lists never mix.
std::string NewHome(const TempDir& dir) {
  const std::string home = dir.path() + "/home";
  fs::create_directories(home);
  return home;
}

class DocumentTest : public ::testing::Test {
 protected:
  DocumentTest() {
    doc_.Start();
    log_.clear();
  }
  std::string WorkingPath(WorkingFile f) const { return AppHome(home_).PathOf(f); }

  std::string Write(const std::string& name, std::string_view bytes) {
    return dir_.Write(name, bytes);
  }
  // Loads the way the command line, recent files and drops do: with the read menu's choice.
  void Open(const std::string& path, CharCode requested = CharCode::Auto) {
    doc_.SetFileName(path);
    doc_.SetReadCode(requested);
    doc_.LoadFile();
  }
  std::vector<std::string> Messages() const { return messages_.shown; }

  TempDir dir_;
  std::string home_ = NewHome(dir_);
  EventLog log_;
  ScriptedMessages messages_{log_};
  FakeEditor editor_{log_};
  FakeWindow window_{log_};
  PrivateProfile ini_{dir_.path() + "/tessary.ini"};
  MainWindowDocument doc_{editor_, window_, messages_, ini_, ReadCodeMenu{}, AppHome(home_)};
};

// ---- loading ----

TEST_F(DocumentTest, LoadShowsCodeAndLineEndOnBothBarsAndStartsTimer1) {
  const std::string path = Write("a.txt", "\xEF\xBB\xBF\xE3\x81\x82\r\nb\r\n");
  Open(path);
  EXPECT_EQ(editor_.Text(), (std::vector<std::string>{"\x82\xA0", "b"}));  // no mark bytes
  EXPECT_EQ(window_.caption, path);
  EXPECT_EQ(window_.Panel(StatusPanel::Code), "UTF8  [BOM有]");
  EXPECT_EQ(window_.Panel(StatusPanel::RetCode), "Cr+Lf(Windows) ");
  EXPECT_EQ(window_.Panel(StatusPanel::Selection), "");
  EXPECT_EQ(window_.Panel(StatusPanel::Protection), "");
  EXPECT_EQ(doc_.CodeState().ReadCode, CharCode::UTF8Bom);
  EXPECT_EQ(doc_.CodeState().SaveCode, CharCode::UTF8Bom);
  EXPECT_EQ(doc_.CodeState().LoadedCode, CharCode::UTF8Bom);
  EXPECT_FALSE(doc_.CodeState().FileReadOnly);
  EXPECT_EQ(editor_.colour_schemes, std::vector<bool>{false});
  EXPECT_EQ(window_.outline_closes, 1);
  EXPECT_EQ(log_.back(), "timer 1 100");
  EXPECT_EQ(window_.recent[0], "&1 " + path);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(DocumentTest, StatusTextsAfterLoadingEachCode) {
  const std::vector<std::pair<CharCode, std::string>> cases = {
      {CharCode::SJIS, "S-JIS"},
      {CharCode::UTF8Bom, "UTF8  [BOM有]"},
      {CharCode::UTF8, "UTF8  [BOM無]"},
      {CharCode::UTF16BomBe, "UTF16 [BOM有 BigEndian]"},
      {CharCode::UTF16Be, "UTF16 [BOM無 BigEndian]"},
      {CharCode::UTF16BomLe, "UTF16 [BOM有 LittleEndian]"},
      {CharCode::UTF16Le, "UTF16 [BOM無 LittleEndian]"}};
  TextLines lines;
  lines.AddLine("\x82\xA0\x82\xA2");  // あい
  lines.AddLine("x");
  for (const auto& [code, name] : cases) {
    // Detected, not requested: 16-bit files without a mark are found by their CR LF.
    Open(Write("c.txt", EncodeDocument(lines, code, RetCode::CrLf)));
    EXPECT_EQ(window_.Panel(StatusPanel::Code), name);
    EXPECT_EQ(window_.Panel(StatusPanel::RetCode), "Cr+Lf(Windows) ") << name;
    EXPECT_EQ(editor_.Text(), (std::vector<std::string>{"\x82\xA0\x82\xA2", "x"})) << name;
  }
  Open(Write("cr.txt", "a\rb\r"));
  EXPECT_EQ(doc_.CodeState().ReadRetName, "Cr(OS9)");
  EXPECT_EQ(doc_.CodeState().SaveRetName, "Cr(OS9)");
  Open(Write("lf.txt", "a\nb\n"));
  EXPECT_EQ(window_.Panel(StatusPanel::RetCode), "Lf(OSX,Android)");
  Open(Write("none.txt", "ab"));
  EXPECT_EQ(window_.Panel(StatusPanel::RetCode), "無し");
}

TEST_F(DocumentTest, RequestedCodeWinsButTheLineEndIsDetected) {
  Open(Write("u.txt", "\xE3\x81\x82\n"), CharCode::SJIS);
  EXPECT_EQ(doc_.CodeState().ReadCode, CharCode::SJIS);
  EXPECT_EQ(window_.Panel(StatusPanel::RetCode), "Lf(OSX,Android)");
  EXPECT_EQ(editor_.Text(), std::vector<std::string>{"\xE3\x81\x82"});  // raw bytes

  // A mark that is not there is no error: the first two bytes are text.
  Open(Write("le.txt", Hex("61 00 62 00 0D 00 0A 00")), CharCode::UTF16BomLe);
  EXPECT_EQ(window_.Panel(StatusPanel::Code), "UTF16 [BOM有 LittleEndian]");
  EXPECT_EQ(editor_.Text(), std::vector<std::string>{"ab"});
}

TEST_F(DocumentTest, EmptyFileIsShiftJisWithCrLfWhateverWasRequested) {
  Open(Write("e.txt", ""), CharCode::UTF8);
  EXPECT_EQ(doc_.CodeState().ReadCode, CharCode::SJIS);
  EXPECT_EQ(doc_.CodeState().LoadedRetCode, RetCode::CrLf);
  EXPECT_EQ(window_.Panel(StatusPanel::Code), "S-JIS");
  EXPECT_EQ(window_.Panel(StatusPanel::RetCode), "Cr+Lf(Windows) ");
  doc_.Timer1Timer();
  EXPECT_TRUE(Messages().empty());
}

TEST_F(DocumentTest, MixedLineEndsAskBeforeTextInvalidCharactersAfter) {
  Open(Write("m.txt", "a\r\nb\r\nc\r\nd\ne\n"));
  EXPECT_EQ(log_[0], "message: " + std::string(kMixedRetCodeMessage));
  EXPECT_EQ(log_[1], "text");
  EXPECT_EQ(window_.Panel(StatusPanel::RetCode), "Cr+Lf(Windows) ");
  EXPECT_TRUE(doc_.CodeState().FileReadOnly);

  log_.clear();
  Open(Write("esc.txt",
             "ab\x1B"
             "cd\r\nef\r\n"));
  EXPECT_EQ(log_[0], "text");
  EXPECT_EQ(log_[1], "message: " + std::string(kInvalidCharMessage));
  EXPECT_EQ(editor_.Text(), (std::vector<std::string>{"abcd", "ef"}));
  EXPECT_EQ(ReadFileOrDie(WorkingPath(WorkingFile::UnKnown)), "abcd\r\nef\r\n");
  EXPECT_TRUE(editor_.read_only);
  EXPECT_TRUE(window_.read_only_checked);
  EXPECT_EQ(window_.Panel(StatusPanel::Selection), "ファイル読取専用");
  EXPECT_EQ(window_.Panel(StatusPanel::Protection), "書禁");
  EXPECT_EQ(editor_.colour_schemes.back(), true);
}

TEST_F(DocumentTest, ReadOnlyAttributeProtectsTheDocument) {
  const std::string path = Write("r.txt", "abc\r\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  editor_.modified = true;
  Open(path);
  EXPECT_TRUE(doc_.CodeState().FileReadOnly);
  EXPECT_TRUE(editor_.read_only);
  EXPECT_FALSE(editor_.modified);
  EXPECT_EQ(window_.Panel(StatusPanel::Selection), "ファイル読取専用");
  EXPECT_EQ(window_.Panel(StatusPanel::Code), "S-JIS");
  EXPECT_EQ(window_.Panel(StatusPanel::Protection), "書禁");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(DocumentTest, MissingFileKeepsTheDocument) {
  const std::string path = Write("keep.txt", "keep\r\n");
  Open(path);
  Open(dir_.File("gone.txt"));
  EXPECT_EQ(Messages(), std::vector<std::string>{"ファイルがありません"});
  EXPECT_EQ(doc_.CodeState().FileName, path);
  EXPECT_EQ(window_.caption, path);
  EXPECT_EQ(editor_.Text(), std::vector<std::string>{"keep"});
}

TEST_F(DocumentTest, UnreadableFileIsReportedNotClassifiedAsZeros) {
  // A regular file that cannot be read: one without permissions, or for root, who reads every
  // such file, a write-only kernel attribute.
  const std::string locked = Write("locked.txt", "x");
  ::chmod(locked.c_str(), 0);
  std::string path;
  for (const std::string& p : {locked, std::string("/sys/bus/pci/rescan")}) {
    if (FileExists(p) && !ReadWholeFile(p)) {
      path = p;
      break;
    }
  }
  if (path.empty()) GTEST_SKIP() << "no unreadable regular file here";
  const std::string keep = Write("keep.txt", "keep\r\n");
  Open(keep);
  Open(path);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].rfind("Error : ファイルが読み込めません\r\n", 0), 0u) << Messages()[0];
  EXPECT_NE(Messages()[0].find(path), std::string::npos);  // the reason names the file
  EXPECT_EQ(doc_.CodeState().FileName, keep);
  EXPECT_EQ(editor_.Text(), std::vector<std::string>{"keep"});
  EXPECT_FALSE(doc_.CodeState().InvalidCharFound);
}

TEST_F(DocumentTest, PathsThatAreNoFileAreNamedAndKeepTheDocument) {
  const std::string keep = Write("keep.txt", "keep\r\n");
  Open(keep);
  const std::string fifo = dir_.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_directory(dir_.File("sub"));
  const std::pair<std::string, std::string> cases[] = {{dir_.File("sub"), "is a folder"},
                                                       {fifo, "is a FIFO"},
                                                       {"/dev/zero", "is a character device"}};
  for (const auto& [path, said] : cases) {
    messages_.shown.clear();
    // A FIFO without a writer must not hold the window up.
    auto open = std::async(std::launch::async, [&] { Open(path); });
    if (open.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
      const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);  // lets the open end
      if (writer >= 0) ::close(writer);
      FAIL() << "opening " << path << " hangs";
    }
    ASSERT_EQ(Messages().size(), 1u) << path;
    EXPECT_EQ(Messages()[0].rfind("Error : ファイルが読み込めません\r\n", 0), 0u) << Messages()[0];
    EXPECT_NE(Messages()[0].find(path + " " + said), std::string::npos) << Messages()[0];
    EXPECT_EQ(doc_.CodeState().FileName, keep);
    EXPECT_EQ(editor_.Text(), std::vector<std::string>{"keep"});
  }
}

TEST_F(DocumentTest, Timer1WrapsRestoresTheCaretAndReportsAMissingText) {
  Open(Write("bad.txt", "abc\x80"), CharCode::UTF8);
  EXPECT_TRUE(editor_.TextEmpty());
  EXPECT_TRUE(Messages().empty());  // not before the timer
  log_.clear();
  doc_.Timer1Timer();
  EXPECT_EQ(log_, (EventLog{"wrap", "message: " + std::string(kNoTextMessage)}));
}

// ---- the read menu ----

TEST_F(DocumentTest, ReadMenuRadioGroupWritesOnlyTheNewKey) {
  ASSERT_TRUE(ini_.WriteBool("Editor", "ReadSJIS", true).ok());
  doc_.MenuReadCodeClick(CharCode::SJIS);  // already checked: nothing
  EXPECT_EQ(ini_.ReadString("Editor", "ReadUTF8"), std::nullopt);
  doc_.MenuReadCodeClick(CharCode::UTF8);
  EXPECT_EQ(window_.read_codes,
            (std::array<bool, 7>{false, false, true, false, false, false, false}));
  EXPECT_EQ(ini_.ReadString("Editor", "ReadUTF8"), "1");
  EXPECT_EQ(ini_.ReadString("Editor", "ReadSJIS"), "1");  // left for the shut-down write
  doc_.SetLoadIndexFromMenu();
  EXPECT_EQ(doc_.LoadIndex(), 0);  // automatic detection is still checked
  doc_.MenuReadAutoClick();
  EXPECT_EQ(ini_.ReadString("Editor", "ReadAuto"), "0");
  doc_.SetLoadIndexFromMenu();
  EXPECT_EQ(doc_.LoadIndex(), 3);
  doc_.SetLoadCharFromMenu();
  EXPECT_EQ(doc_.CodeState().ReadCode, CharCode::UTF8);
  EXPECT_EQ(doc_.CodeState().ReadCodeName, "UTF8  [BOM無]");
  EXPECT_EQ(doc_.CodeState().SaveRetName, "Cr+Lf(Windows) ");
  // Dropped files follow the menu's choice.
  doc_.DropFiles({Write("s.txt", "\x82\xA0\r\n")});
  EXPECT_EQ(doc_.CodeState().ReadCode, CharCode::UTF8);
}

TEST_F(DocumentTest, NoReadItemCheckedMeansShiftJisForNewDocuments) {
  ReadCodeMenu none;
  none.auto_detect = false;
  none.codes.fill(false);
  MainWindowDocument d(editor_, window_, messages_, ini_, none, AppHome(home_));
  d.Start();
  EXPECT_EQ(d.LoadIndex(), 0);
  EXPECT_EQ(d.CodeState().ReadCode, CharCode::SJIS);
  EXPECT_EQ(window_.Panel(StatusPanel::Code), "S-JIS");
}

// ---- saving ----

TEST_F(DocumentTest, OverwriteSaveWritesEveryCodeAndLineEndBackAsLoaded) {
  TextLines lines;
  lines.AddLine("\x82\xA0\x82\xA2 abc");  // あい abc
  lines.AddLine("\x83\x41\x83\x43");      // アイ
  for (int c = 1; c <= 7; ++c) {
    for (int r = 0; r <= 3; ++r) {
      const CharCode code = static_cast<CharCode>(c);
      const RetCode ret = static_cast<RetCode>(r);
      const std::string original = EncodeDocument(lines, code, ret);
      const std::string path = Write("rt.txt", original);
      Open(path, code);
      ASSERT_EQ(doc_.CodeState().LoadedRetCode, ret) << c << " " << r;
      if (!HasBom(code) && IsSixteenBit(code) && ret == RetCode::None) {
        // Without a line end the file is not seen as UTF-16 at all: its zero bytes are
        // control bytes of an 8-bit file, which protects it.
        EXPECT_TRUE(doc_.CodeState().FileReadOnly);
        continue;
      }
      Write("rt.txt", "overwritten");  // the save must really write
      messages_.answers = {Answer::Yes};
      doc_.MenuSaveClick();
      EXPECT_EQ(ReadFileOrDie(path), original) << "code " << c << " ret " << r;
    }
  }
  EXPECT_EQ(Messages(), std::vector<std::string>(2, std::string(kInvalidCharMessage)));
}

TEST_F(DocumentTest, TextHiddenByAnEofMarkLaterOnOpensWriteProtected) {
  // An overwrite save of what is shown would delete the text after the mark from the file.
  const std::string original = std::string(5000, 'a') + "\r\n\x1A" + "kept\r\n";
  const std::string path = Write("eof.txt", original);
  Open(path);
  EXPECT_EQ(log_[0], "text");
  EXPECT_EQ(log_[1], "message: " + std::string(kTextCutMessage));
  EXPECT_TRUE(doc_.CodeState().FileReadOnly);
  EXPECT_EQ(window_.Panel(StatusPanel::Protection), "書禁");
  messages_.answers = {Answer::Yes, Answer::Yes};
  doc_.MenuSaveClick();
  EXPECT_EQ(ReadFileOrDie(path), original);
}

TEST_F(DocumentTest, OverwriteConfirmationShowsTheLoadedNamesAndNoDoesNothing) {
  const std::string path = Write("u16.txt", Hex("61 00 0A 00 62 00 0A 00"));
  Open(path);
  ASSERT_EQ(doc_.CodeState().LoadedCode, CharCode::UTF16Le);
  editor_.Type({"a", "cd"});
  messages_.answers = {Answer::No};
  doc_.MenuSaveClick();
  EXPECT_EQ(
      messages_.asked.back(),
      "読込と保存は以下の文字コードです。よろしいですか？\r\n読込 : UTF16 [BOM無 LittleEndian]\r\n"
      "保存 : UTF16 [BOM無 LittleEndian]\r\n読込 : Lf(OSX,Android)\r\n保存 : Lf(OSX,Android)");
  EXPECT_EQ(ReadFileOrDie(path), Hex("61 00 0A 00 62 00 0A 00"));
  EXPECT_TRUE(editor_.modified);
  messages_.answers = {Answer::Yes};
  doc_.MenuSaveClick();
  // No mark; every line, the last too, ends with 0A 00.
  EXPECT_EQ(ReadFileOrDie(path), Hex("61 00 0A 00 63 00 64 00 0A 00"));
  EXPECT_FALSE(editor_.modified);
}

TEST_F(DocumentTest, OverwriteSaveRefusals) {
  doc_.MenuSaveClick();
  const std::string path = Write("e.txt", "");
  Open(path);
  doc_.MenuSaveClick();
  const std::string ro = Write("ro.txt", "x\r\n");
  fs::permissions(ro, fs::perms::owner_read);
  Open(ro);
  doc_.MenuSaveClick();
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"ファイルが読み込まれていません", "内容がありません",
                                      "ファイルが読取専用なので変更できません"}));
  EXPECT_TRUE(messages_.asked.empty());
}

TEST_F(DocumentTest, SaveAsThenOverwriteGoesToTheLoadedFileWithTheLoadedCode) {
  const std::string path = Write("a.txt", "one\r\ntwo\r\nthree\r\n");
  Open(path);
  const std::string other = dir_.File("b.txt");
  window_.save_choice = SaveChoice{other, CharCode::UTF8Bom, RetCode::None};
  doc_.MenuSaveAsClick();
  EXPECT_EQ(ini_.ReadString("Save", "CharCode"), "1");  // handed to the chooser through the file
  EXPECT_EQ(ini_.ReadString("Save", "CrLfCode"), "0");
  EXPECT_EQ(log_.back(), "save chooser 1 0");
  EXPECT_EQ(ReadFileOrDie(other), "\xEF\xBB\xBFonetwothree");
  EXPECT_EQ(doc_.SaveAsFileName(), other);
  EXPECT_EQ(doc_.CodeState().FileName, path);  // the document still belongs to the loaded file
  EXPECT_TRUE(messages_.asked.empty());

  editor_.Type({"one", "2"});
  messages_.answers = {Answer::Yes};
  doc_.MenuSaveClick();
  EXPECT_EQ(ReadFileOrDie(path), "one\r\n2\r\n");
  EXPECT_EQ(ReadFileOrDie(other), "\xEF\xBB\xBFonetwothree");
  // Save As starts the chooser on the code the last save used.
  window_.save_choice.reset();
  doc_.MenuSaveAsClick();
  EXPECT_EQ(log_.back(), "save chooser 1 0");
}

TEST_F(DocumentTest, ReadOnlyDocumentSavesUnderAnotherNameOnly) {
  const std::string path = Write("esc.txt",
                                 "a\x01"
                                 "b\r\n");
  Open(path);
  ASSERT_TRUE(doc_.CodeState().FileReadOnly);
  messages_.shown.clear();
  doc_.MenuSaveClick();
  EXPECT_EQ(Messages(), std::vector<std::string>{"ファイルが読取専用なので変更できません"});
  window_.save_choice = SaveChoice{dir_.File("copy.txt"), CharCode::SJIS, RetCode::Lf};
  doc_.MenuSaveAsClick();
  EXPECT_EQ(ReadFileOrDie(dir_.File("copy.txt")), "ab\n");
  EXPECT_EQ(ReadFileOrDie(path),
            "a\x01"
            "b\r\n");
}

TEST_F(DocumentTest, SaveAsOfAnEmptyTextIsRefused) {
  doc_.MenuSaveAsClick();
  EXPECT_EQ(Messages(), std::vector<std::string>{"内容がありません"});
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "save chooser 1 0"), 0);
}

TEST_F(DocumentTest, SaveAndQuit) {
  doc_.MenuSaveCloseClick();  // no file: closes at once
  EXPECT_EQ(window_.closes, 1);
  const std::string path = Write("q.txt", "a\n");
  Open(path);
  doc_.MenuSaveCloseClick();  // not modified: closes without a question
  EXPECT_EQ(window_.closes, 2);
  EXPECT_TRUE(messages_.asked.empty());
  editor_.Type({"b"});
  messages_.answers = {Answer::No};
  doc_.MenuSaveCloseClick();
  EXPECT_EQ(window_.closes, 2);
  EXPECT_EQ(ReadFileOrDie(path), "a\n");
  messages_.answers = {Answer::Yes};
  doc_.MenuSaveCloseClick();
  EXPECT_EQ(window_.closes, 3);
  EXPECT_EQ(ReadFileOrDie(path), "b\n");
  EXPECT_NE(messages_.asked.back().find("読込 : Lf(OSX,Android)"), std::string::npos);
}

TEST_F(DocumentTest, FailedSaveReportsKeepsModifiedAndTheWindowOpen) {
  const std::string path = Write("f.txt", "a\r\n");
  Open(path);
  editor_.Type({"b"});
  // The file's place is taken by a folder with something in it: the rename over it fails.
  fs::remove(path);
  fs::create_directory(path);
  Write("f.txt/inside", "kept");
  messages_.answers = {Answer::Yes};
  doc_.MenuSaveCloseClick();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].rfind("Error : 保存できませんでした\r\n", 0), 0u) << Messages()[0];
  EXPECT_TRUE(editor_.modified);
  EXPECT_EQ(window_.closes, 0);
  EXPECT_EQ(ReadFileOrDie(path + "/inside"), "kept");
  // Quitting afterwards still asks about the unsaved text.
  messages_.answers = {Answer::No};
  EXPECT_FALSE(doc_.CloseQuery());
  EXPECT_EQ(messages_.asked.back(), "変更されていますが、終了しますか？");

  window_.save_choice =
      SaveChoice{dir_.File("no/such/dir/x.txt"), CharCode::UTF16BomLe, RetCode::CrLf};
  doc_.MenuSaveAsClick();
  EXPECT_EQ(Messages().size(), 2u);
  EXPECT_TRUE(editor_.modified);
}

TEST_F(DocumentTest, CharactersLostToQuestionMarksAreAskedAboutBeforeAnOverwrite) {
  // U+1F600 has no Shift-JIS form: its two UTF-16 units became "??" on loading.
  const std::string original = "\xF0\x9F\x98\x80 smile\n";
  const std::string path = Write("emoji.txt", original);
  Open(path, CharCode::UTF8);
  ASSERT_EQ(doc_.CodeState().ReplacedChars, 1u);
  messages_.answers = {Answer::Yes, Answer::No};
  doc_.MenuSaveClick();
  ASSERT_EQ(messages_.asked.size(), 2u);
  EXPECT_EQ(messages_.asked[1],
            "読込時に SJIS で表示できなかった 1 文字は ? "
            "または近い文字として保存されます。\r\nよろしいですか？");
  EXPECT_EQ(ReadFileOrDie(path), original);  // No saves nothing

  // Saving elsewhere loses nothing in the original and does not ask.
  window_.save_choice = SaveChoice{dir_.File("copy.txt"), CharCode::UTF8, RetCode::Lf};
  doc_.MenuSaveAsClick();
  EXPECT_EQ(messages_.asked.size(), 2u);
  // ... unless "elsewhere" is the loaded file itself.
  window_.save_choice = SaveChoice{path, CharCode::UTF8, RetCode::Lf};
  messages_.answers = {Answer::No};
  doc_.MenuSaveAsClick();
  EXPECT_EQ(messages_.asked.size(), 3u);
  EXPECT_EQ(ReadFileOrDie(path), original);

  messages_.answers = {Answer::Yes, Answer::Yes};
  doc_.MenuSaveClick();
  EXPECT_EQ(ReadFileOrDie(path), "?? smile\n");
  // The file now holds the "?" itself: the next save asks only the confirmation.
  messages_.answers = {Answer::Yes};
  doc_.MenuSaveClick();
  EXPECT_EQ(messages_.asked.size(), 6u);
}

// ---- document commands ----

TEST_F(DocumentTest, NewAfterAReadOnlyFileLetsProtectionBeToggledFreely) {
  const std::string ro = Write("ro.txt", "x\r\n");
  fs::permissions(ro, fs::perms::owner_read);
  Open(ro);
  doc_.MenuReadOnlyClick();  // checked and FileReadOnly: refused
  EXPECT_EQ(Messages(), std::vector<std::string>{"ファイルが読取専用なので変更できません"});
  EXPECT_TRUE(editor_.read_only);

  doc_.MenuNewFileClick();
  EXPECT_EQ(doc_.CodeState().FileName, "");
  EXPECT_TRUE(editor_.lines.Empty());
  EXPECT_FALSE(doc_.CodeState().FileReadOnly);
  EXPECT_FALSE(editor_.read_only);
  EXPECT_FALSE(window_.read_only_checked);
  EXPECT_EQ(editor_.colour_schemes.back(), false);
  EXPECT_EQ(window_.Panel(StatusPanel::Code), "S-JIS");
  EXPECT_EQ(window_.Panel(StatusPanel::RetCode), "Cr+Lf(Windows) ");
  EXPECT_EQ(window_.Panel(StatusPanel::Protection), "");
  EXPECT_EQ(window_.caption, ro);  // New leaves the caption alone

  doc_.MenuReadOnlyClick();
  EXPECT_TRUE(editor_.read_only);
  EXPECT_EQ(window_.Panel(StatusPanel::Protection), "書禁");
  EXPECT_EQ(editor_.colour_schemes.back(), true);
  doc_.MenuReadOnlyClick();
  EXPECT_FALSE(editor_.read_only);
  EXPECT_EQ(window_.Panel(StatusPanel::Protection), "");
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(DocumentTest, UserProtectionStillAllowsAnOverwriteSave) {
  const std::string path = Write("p.txt", "a\r\n");
  Open(path);
  doc_.MenuReadOnlyClick();
  messages_.answers = {Answer::Yes};
  doc_.MenuSaveClick();
  EXPECT_TRUE(Messages().empty());
  EXPECT_FALSE(doc_.CodeState().FileReadOnly);
}

TEST_F(DocumentTest, DiscardQuestionGuardsNewOpenRecentAndDrops) {
  const std::string path = Write("a.txt", "a\r\n");
  Open(path);
  editor_.Type({"changed"});
  messages_.answers = {Answer::No, Answer::No, Answer::No, Answer::No};
  doc_.MenuNewFileClick();
  doc_.MenuOpenClick();
  doc_.MenuRecentClick(1);
  doc_.DropFiles({path});
  EXPECT_EQ(messages_.asked, std::vector<std::string>(4, "変更されていますが、破棄しますか？"));
  EXPECT_EQ(editor_.Text(), std::vector<std::string>{"changed"});
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "open chooser"), 0);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(DocumentTest, FavoriteAsksBeforeDiscardingLoadsWithItsCodeAndNamesAMissingFile) {
  const std::string a = Write("a.txt", "1\r\n2\r\n");
  const std::string fav = Write("fav.txt", "\x82\xa0\r\n");
  Open(a);
  editor_.caret_row = 1;
  editor_.Type({"changed"});
  messages_.answers = {Answer::No, Answer::Yes, Answer::Yes};
  doc_.OpenFavorite(fav, CharCode::SJIS);
  EXPECT_EQ(editor_.Text(), std::vector<std::string>{"changed"});
  doc_.OpenFavorite(fav, CharCode::SJIS);
  EXPECT_EQ(doc_.CodeState().FileName, fav);
  EXPECT_EQ(doc_.CodeState().ReadCode, CharCode::SJIS);
  EXPECT_EQ(doc_.History().entries()[0].path, a);  // the caret of the file left is kept
  const std::string gone = dir_.path() + "/gone.txt";
  editor_.Type({"again"});
  doc_.OpenFavorite(gone, CharCode::Auto);
  std::string missing = "ファイルがありません\r\n";
  missing += gone;
  EXPECT_EQ(Messages(), std::vector<std::string>{missing});
  EXPECT_EQ(doc_.CodeState().FileName, fav);
}

TEST_F(DocumentTest, OpenRemembersTheCaretOfTheFileLeft) {
  const std::string a = Write("a.txt", "1\r\n2\r\n3\r\n");
  Open(a);
  editor_.caret_row = 2;
  window_.open_choice = OpenChoice{Write("b.txt", "\xE3\x81\x82\n"), CharCode::SJIS};
  doc_.MenuOpenClick();
  EXPECT_EQ(doc_.CodeState().ReadCode, CharCode::SJIS);  // the chooser's code is the request
  EXPECT_EQ(doc_.History().entries()[0].row_text, "2");
  EXPECT_EQ(doc_.History().entries()[0].path, a);
  window_.open_choice.reset();
  doc_.MenuOpenClick();  // cancelled: nothing changes
  EXPECT_EQ(doc_.CodeState().FileName, window_.recent[0].substr(3));
}

TEST_F(DocumentTest, OpenChooserStartsOnTheReadMenusCurrentChoice) {
  Open(Write("a.txt", "a\r\n"));
  doc_.MenuReadCodeClick(CharCode::UTF8);
  doc_.MenuReadAutoClick();  // automatic detection off: the checked code item counts
  doc_.MenuOpenClick();
  EXPECT_EQ(doc_.LoadIndex(), static_cast<int>(CharCode::UTF8));
  doc_.MenuReadAutoClick();  // back on
  doc_.MenuOpenClick();
  EXPECT_EQ(doc_.LoadIndex(), 0);
}

TEST_F(DocumentTest, RecentListMovesAReopenedFileToTheTopWithoutDuplicates) {
  const std::string a = Write("a.txt", "a\r\n"), b = Write("b.txt", "b\r\n"),
                    bak = Write("a.txt.bak", "x\r\n");
  Open(bak);
  Open(a);
  Open(b);
  Open(a);
  EXPECT_EQ(window_.recent,
            (std::array<std::string, 6>{"&1 " + a, "&2 " + b, "&3 " + bak, "&4 ", "&5 ", "&6 "}));
  doc_.MenuRecentClick(3);
  EXPECT_EQ(doc_.CodeState().FileName, bak);
  EXPECT_EQ(window_.recent[0], "&1 " + bak);
  EXPECT_EQ(window_.recent[1], "&2 " + a);
  doc_.MenuRecentClick(5);  // empty entry
  fs::remove(b);
  doc_.MenuRecentClick(3);  // the file is gone: the list stays
  EXPECT_EQ(Messages(), (std::vector<std::string>{"ファイルがありません", "ファイルがありません"}));
  EXPECT_EQ(window_.recent[2], "&3 " + b);
  EXPECT_EQ(doc_.CodeState().FileName, bak);
}

TEST_F(DocumentTest, HistoryClampsTheCaretAndMatchesWholePaths) {
  std::string twenty;
  for (int i = 0; i < 20; ++i) twenty += "line\r\n";
  const std::string a = Write("a.txt", twenty);
  const std::string bak = Write("a.txt.bak", twenty);
  Open(bak);
  editor_.caret_row = 500;
  doc_.OnClose();
  Open(a);
  doc_.Timer1Timer();
  EXPECT_EQ(editor_.caret_row, 0);  // a.txt.bak's entry is not a.txt's
  Open(bak);
  doc_.Timer1Timer();
  EXPECT_EQ(editor_.caret_row, 19);
  EXPECT_EQ(editor_.top_row, 19);
}

TEST_F(DocumentTest, TheHundredAndTwentyNinthFilePushesTheOldestOut) {
  for (int i = 0; i < 129; ++i) {
    doc_.SetFileName("/f/" + std::to_string(i));
    editor_.caret_row = i;
    doc_.UpdateHistory();
  }
  const auto& h = doc_.History().entries();
  ASSERT_EQ(h.size(), 128u);
  EXPECT_EQ(h.front().path, "/f/128");
  EXPECT_EQ(h.back().path, "/f/1");
  ASSERT_TRUE(doc_.SaveLists());
  const std::string file = ReadFileOrDie(WorkingPath(WorkingFile::History));
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 128);
  EXPECT_EQ(file.rfind("128\t/f/128\r\n", 0), 0u);
}

TEST_F(DocumentTest, Drops) {
  const std::string one = Write("one.txt", "one\r\n");
  doc_.DropFiles({one});
  EXPECT_EQ(doc_.CodeState().FileName, one);
  EXPECT_EQ(editor_.Text(), std::vector<std::string>{"one"});

  doc_.DropFiles({Write("x.txt", "x\r\n"), Write("y.txt", "y\r\n")});
  EXPECT_EQ(Messages(), std::vector<std::string>{"ドロップするファイルは１個にしてください。"});
  EXPECT_EQ(doc_.CodeState().FileName, one);

  log_.clear();
  messages_.shown.clear();
  doc_.DropFiles({dir_.path()});
  EXPECT_EQ(log_, EventLog{"timer 2 200"});  // the message waits for the drop to end
  doc_.Timer2Timer();
  EXPECT_EQ(Messages(), std::vector<std::string>{"ファイルがありません"});
  EXPECT_EQ(doc_.CodeState().FileName, one);
}

TEST_F(DocumentTest, PathsShiftJisCannotHoldOpenAndSaveButStayOutOfTheLists) {
  const std::string path = Write("😀 note.txt", "a\r\n");
  Open(path);
  EXPECT_EQ(doc_.CodeState().FileName, path);
  editor_.Type({"b"});
  messages_.answers = {Answer::Yes};
  doc_.MenuSaveClick();
  EXPECT_EQ(ReadFileOrDie(path), "b\r\n");
  Open(Write("あ.txt", "c\r\n"));
  editor_.caret_row = 0;
  doc_.OnClose();
  ASSERT_TRUE(doc_.SaveLists());
  const std::string dir_sjis = dir_.path();  // ASCII in the test folder
  EXPECT_EQ(ReadFileOrDie(WorkingPath(WorkingFile::Recent)),
            dir_sjis + "/\x82\xA0.txt\r\n\r\n\r\n\r\n\r\n\r\n");
  const std::string history = ReadFileOrDie(WorkingPath(WorkingFile::History));
  EXPECT_EQ(history.rfind("0\t" + dir_sjis + "/\x82\xA0.txt\r\n", 0), 0u);
  EXPECT_EQ(history.find("\xF0\x9F"), std::string::npos);

  // Read back at the next start, the Shift-JIS path is the same UTF-8 path again.
  MainWindowDocument next(editor_, window_, messages_, ini_, ReadCodeMenu{}, AppHome(home_));
  next.Start();
  EXPECT_EQ(next.Recent().entries()[0], dir_.File("あ.txt"));
}

TEST_F(DocumentTest, CommandLine) {
  const std::string path = Write("c.txt", "c\r\n");
  doc_.ApplyCommandLineProtection({"/R", path});
  EXPECT_TRUE(editor_.read_only);
  doc_.OpenCommandLine({"/R", path});
  EXPECT_EQ(doc_.CodeState().FileName, path);
  EXPECT_TRUE(editor_.read_only);  // protected although the file is writable
  EXPECT_TRUE(window_.read_only_checked);
  EXPECT_FALSE(doc_.CodeState().FileReadOnly);

  MainWindowDocument d2(editor_, window_, messages_, ini_, ReadCodeMenu{}, AppHome(home_));
  d2.ApplyCommandLineProtection({"-x", path});
  d2.OpenCommandLine({"-x", path});
  EXPECT_EQ(d2.CodeState().FileName, path);
  EXPECT_FALSE(editor_.read_only);

  MainWindowDocument d3(editor_, window_, messages_, ini_, ReadCodeMenu{}, AppHome(home_));
  d3.OpenCommandLine({path, path, path});
  d3.OpenCommandLine({dir_.File("missing.txt")});
  EXPECT_EQ(d3.CodeState().FileName, "");
  EXPECT_TRUE(Messages().empty());  // a missing command-line file is ignored silently
  EXPECT_TRUE(CommandLineReadOnly({"/r", "x"}));
  EXPECT_FALSE(CommandLineReadOnly({"/r"}));
}

TEST_F(DocumentTest, ALongFilesStartIsShownFirstAndTakenAwayWhenItsLoadStops) {
  std::string text;
  for (int i = 0; i < 10000; ++i) text += "\x82\xA0 " + std::to_string(i) + "\r\n";
  const std::string path = Write("long.txt", text);
  EXPECT_FALSE(doc_.PreviewCommandLine({path}));  // short of the size that takes long to load
  EXPECT_FALSE(doc_.PreviewCommandLine({Write("plain.txt", "no pattern\r\n")}, 1));
  EXPECT_FALSE(doc_.PreviewCommandLine({dir_.File("missing.txt")}, 1));
  EXPECT_TRUE(log_.empty());

  ASSERT_TRUE(doc_.PreviewCommandLine({"/r", path}, 1));
  EXPECT_EQ(window_.caption, path);
  EXPECT_EQ(window_.Panel(StatusPanel::Code), CharCodeName(CharCode::SJIS));
  EXPECT_EQ(window_.Panel(StatusPanel::RetCode), RetCodeName(RetCode::CrLf));
  ASSERT_GT(editor_.lines.Count(), 0u);
  EXPECT_LT(editor_.lines.Count(), 10000u);
  EXPECT_EQ(editor_.lines.Line(0), "\x82\xA0 0");
  // Sized for the whole file's lines, estimated from the start's.
  EXPECT_NEAR(static_cast<double>(editor_.lines_ahead), 10000.0, 1000.0);
  EXPECT_EQ(doc_.CodeState().FileName, "");  // not the document yet
  doc_.OpenCommandLine({"/r", path});
  EXPECT_EQ(doc_.CodeState().FileName, path);
  EXPECT_EQ(editor_.lines.Count(), 10000u);
  EXPECT_TRUE(editor_.read_only);

  // Gone between the start and the load: nothing of it stays on screen.
  MainWindowDocument d2(editor_, window_, messages_, ini_, ReadCodeMenu{}, AppHome(home_));
  const std::string other = Write("other.txt", text);
  ASSERT_TRUE(d2.PreviewCommandLine({other}, 1));
  const std::array<std::string, 7> panels_before = window_.panels;
  const std::string lf = Write("lf.txt", "\xE3\x81\x82\n" + std::string(70000, 'a') + "\n");
  ASSERT_TRUE(d2.PreviewCommandLine({lf}, 1));  // UTF-8 with LF: the panels say so
  EXPECT_EQ(window_.Panel(StatusPanel::Code), CharCodeName(CharCode::UTF8));
  EXPECT_EQ(window_.Panel(StatusPanel::RetCode), RetCodeName(RetCode::Lf));
  std::filesystem::remove(lf);
  d2.OpenCommandLine({lf});
  EXPECT_EQ(editor_.lines.Count(), 0u);
  EXPECT_EQ(window_.caption, "");
  EXPECT_EQ(window_.panels, panels_before);  // the shown document's again
  ASSERT_TRUE(d2.PreviewCommandLine({other}, 1));
  std::filesystem::remove(other);
  d2.OpenCommandLine({other});
  EXPECT_EQ(editor_.lines.Count(), 0u);
  EXPECT_EQ(window_.caption, "");
  EXPECT_EQ(d2.CodeState().FileName, "");
}

TEST_F(DocumentTest, QuitAsksOnlyForModifiedText) {
  EXPECT_TRUE(doc_.CloseQuery());
  editor_.modified = true;
  messages_.answers = {Answer::Yes};
  EXPECT_TRUE(doc_.CloseQuery());
  doc_.MenuNewEditorClick();
  EXPECT_EQ(log_.back(), "new process");
}

}  // namespace
}  // namespace tessary
