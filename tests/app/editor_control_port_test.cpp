// The document commands over the real editing control: loads, edits, wrapped saves, the caret.
#include "app/editor_control_port.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "app/main_window_document.h"
#include "document_fakes.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::EventLog;
using testing::FakeWindow;
using testing::ReadFileOrDie;
using testing::ScriptedMessages;
using testing::TempDir;

class ControlPortTest : public ::testing::Test {
 protected:
  ControlPortTest() {
    const char* old = std::getenv("TESSARY_HOME");
    old_home_ = old ? old : "";
    const std::string home = dir_.path() + "/home";
    std::filesystem::create_directories(home);
    ::setenv("TESSARY_HOME", home.c_str(), 1);
    doc_.Start();
  }
  ~ControlPortTest() override { ::setenv("TESSARY_HOME", old_home_.c_str(), 1); }

  void Open(const std::string& path) {
    doc_.SetFileName(path);
    doc_.SetReadCode(CharCode::Auto);
    doc_.LoadFile();
  }
  void Wrap(int32_t columns) {
    control_.Document().WrapOption().SetWrapByte(columns);
    control_.SetWordWrap(true);
  }

  TempDir dir_;
  std::string old_home_;
  EventLog log_;
  ScriptedMessages messages_{log_};
  FakeWindow window_{log_};
  EditorControl control_;
  int colour_calls_ = 0;
  int wraps_ = 0;
  EditorControlPort port_{control_, [this] { ++colour_calls_; }, [this] { ++wraps_; }};
  PrivateProfile ini_{dir_.path() + "/tessary.ini"};
  MainWindowDocument doc_{port_, window_, messages_, ini_, ReadCodeMenu{}, AppHome::FromEnvironment()};
};

TEST_F(ControlPortTest, LoadEditAndSaveThroughTheControl) {
  const std::string path = dir_.Write("a.txt", "\xE3\x81\x82\xE3\x81\x84\nxyz\n");
  port_.SetLinesAhead(2'900'000);  // as a long file's start was shown with
  Open(path);
  EXPECT_EQ(control_.LeftbarLinesAhead(), 0);  // the document itself sizes the bar now
  EXPECT_EQ(control_.Text(), "\x82\xA0\x82\xA2\r\nxyz\r\n");
  EXPECT_FALSE(control_.Modified());
  EXPECT_FALSE(control_.ReadOnly());
  EXPECT_EQ(colour_calls_, 1);
  control_.SetCaret(1, 0);
  control_.InsertText("w");
  EXPECT_TRUE(control_.Modified());
  messages_.answers = {Answer::Yes};
  doc_.MenuSaveClick();
  EXPECT_EQ(ReadFileOrDie(path), "\xE3\x81\x82\xE3\x81\x84\nwxyz\n");
  EXPECT_FALSE(control_.Modified());
}

TEST_F(ControlPortTest, WrappedRowsAreSavedAsTheirLines) {
  std::string longLine;
  for (int i = 0; i < 30; ++i) longLine += "abcd ";
  const std::string path = dir_.Write("w.txt", longLine + "\r\nshort\r\n" + longLine + "\r\n");
  Open(path);
  Wrap(20);
  ASSERT_GT(control_.Document().Count(), 3);
  EXPECT_EQ(port_.LineCount(), 3);
  control_.SetModified(true);
  messages_.answers = {Answer::Yes};
  doc_.MenuSaveClick();
  EXPECT_EQ(ReadFileOrDie(path), longLine + "\r\nshort\r\n" + longLine + "\r\n");
}

// A large text reaches the screen unwrapped and is wrapped by the post-load timer; a small one
// is laid out in the wrap mode at once.
TEST_F(ControlPortTest, LargeTextsAreAdoptedUnwrappedAndWrappedByThePostLoadTimer) {
  std::string line(99, 'x');
  line += "\r\n";
  std::string big;
  for (int i = 0; i < 45000; ++i) big += line;  // a little over 4 MB
  Wrap(20);
  Open(dir_.Write("small.txt", line));
  EXPECT_TRUE(control_.WordWrap());
  EXPECT_GT(control_.Document().Count(), 4);  // 99 columns in rows of 20
  Open(dir_.Write("big.txt", big));
  EXPECT_FALSE(control_.WordWrap());
  EXPECT_EQ(control_.Document().LineCount(), 45000);
  const int before = wraps_;
  doc_.Timer1Timer();
  EXPECT_EQ(wraps_, before + 1);
}

TEST_F(ControlPortTest, EmptyTextAndTheRememberedCaret) {
  EXPECT_TRUE(port_.TextEmpty());
  doc_.MenuSaveAsClick();
  EXPECT_EQ(messages_.shown, std::vector<std::string>{"内容がありません"});

  std::string text;
  for (int i = 0; i < 20; ++i) text += "row\r\n";
  const std::string path = dir_.Write("c.txt", text);
  Open(path);
  EXPECT_FALSE(port_.TextEmpty());
  control_.SetCaretRow(15);
  doc_.OnClose();
  Open(path);
  EXPECT_EQ(control_.CaretRow(), 0);
  doc_.Timer1Timer();
  EXPECT_EQ(wraps_, 1);
  EXPECT_EQ(control_.CaretRow(), 15);

  // A shorter file under the same name: the caret stops at the last line.
  control_.SetCaretRow(500);
  doc_.UpdateHistory();
  dir_.Write("c.txt", "1\r\n2\r\n3\r\n");
  Open(path);
  doc_.Timer1Timer();
  EXPECT_EQ(control_.CaretRow(), 2);
}

TEST_F(ControlPortTest, ProtectedDocumentRefusesTyping) {
  const std::string path = dir_.Write("p.txt",
                                      "ab\x1B"
                                      "c\r\n");
  Open(path);
  EXPECT_TRUE(control_.ReadOnly());
  control_.InsertText("x");
  EXPECT_EQ(control_.Text(), "abc\r\n");
  EXPECT_FALSE(control_.Modified());
}

}  // namespace
}  // namespace tessary
