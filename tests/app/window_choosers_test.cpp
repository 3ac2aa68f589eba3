// The choosers' title patterns and lists over a scripted window list.
#include "app/window_choosers.h"

#include <gtest/gtest.h>

#include "platform/file_io.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::ScriptedMessages;
using testing::TempDir;

class FakeWindowList final : public WindowList {
 public:
  Result<std::vector<TopWindow>> Windows() override {
    if (!can_list) return Error{std::string(kCannotListWindowsMessage)};
    return windows;
  }
  Status Activate(WindowId id) override {
    activated.push_back(id);
    for (const TopWindow& w : windows)
      if (w.id == id) return Success();
    return Error{"window gone"};
  }
  std::vector<TopWindow> windows;
  std::vector<WindowId> activated;
  bool can_list = true;
};

TEST(TitleLinesTest, MissingShortAndOddFilesGiveFourLines) {
  TempDir dir;
  const AppHome home(dir.path());
  EXPECT_EQ(ReadTitleLines(home), DefaultTitleLines());
  // A file of one line keeps the defaults for the rest; "1 a" is too short for a pattern.
  dir.Write("Tessary-Title.txt", "0 - Files\r\n");
  TitleLines lines = ReadTitleLines(home);
  EXPECT_EQ(lines[0], (TitleLine{false, "- Files"}));
  EXPECT_EQ(lines[1], (TitleLine{true, "- Corvane"}));
  dir.Write("Tessary-Title.txt", "1 a\n1\r\n2 xyz\n1 \x82\xa0\r\n1 extra\r\n");
  lines = ReadTitleLines(home);
  EXPECT_EQ(lines[0], (TitleLine{true, ""}));
  EXPECT_EQ(lines[1], (TitleLine{true, ""}));
  EXPECT_EQ(lines[2], (TitleLine{false, "xyz"}));
  EXPECT_EQ(lines[3], (TitleLine{true, "あ"}));
}

TEST(TitleLinesTest, WrittenLinesReadBackAsShiftJisWithCrLf) {
  TempDir dir;
  const AppHome home(dir.path());
  const TitleLines lines = {TitleLine{true, "- ファイラー"}, TitleLine{false, "- Corvane"},
                            TitleLine{true, ""}, TitleLine{}};
  const Status written = WriteTitleLines(home, lines);
  ASSERT_TRUE(written.ok()) << written.error().message;
  EXPECT_EQ(ReadWholeFile(dir.File("Tessary-Title.txt")).value(),
            "1 - \x83t\x83@\x83\x43\x83\x89\x81[\r\n0 - Corvane\r\n1 \r\n0 \r\n");
  TitleLines back = ReadTitleLines(home);
  EXPECT_EQ(back[0], lines[0]);
  EXPECT_EQ(back[1], lines[1]);
}

TEST(WindowChooserTest, PatternsMatchWithoutCaseInLineOrderAndTwiceWhenTwoMatch) {
  const std::vector<TopWindow> windows = {{11, "Docs - Corvane"},
                                          {12, "notes.txt - Tessary"},
                                          {13, "x - CORVANE - ostrel"},
                                          {14, "home - corvane view"},
                                          {15, "- ostrel"},
                                          {16, ""}};
  const TitleLines lines = DefaultTitleLines();
  const std::vector<ChooserEntry> got = MatchWindows(windows, lines, 0);
  const std::vector<WindowId> ids = [&] {
    std::vector<WindowId> v;
    for (const ChooserEntry& e : got) v.push_back(e.id);
    return v;
  }();
  EXPECT_EQ(ids, (std::vector<WindowId>{11, 13, 13, 14, 15}));
  TitleLines off = lines;
  off[1].enabled = false;
  EXPECT_EQ(MatchWindows(windows, off, 0).size(), 2u);
}

TEST(WindowChooserTest, EditorChooserLeavesOutItsOwnWindowWhereverItStands) {
  FakeWindowList list;
  list.windows = {
      {5, "a.txt - Tessary"}, {6, "b.txt - Tessary"}, {7, "Tessary"}, {8, "c.txt - tessary"}};
  ScriptedMessages messages;
  WindowChooser chooser(list, messages, 6);
  ASSERT_TRUE(chooser.Refresh(EditorTitleLines()));
  ASSERT_EQ(chooser.Entries().size(), 2u);
  EXPECT_EQ(chooser.Entries()[0].id, 5u);
  EXPECT_EQ(chooser.Entries()[1].id, 8u);
  EXPECT_TRUE(chooser.Run(1));
  EXPECT_EQ(list.activated, std::vector<WindowId>{8});
  EXPECT_FALSE(chooser.Run(2));
  // The window closed between listing and choosing: told, nothing breaks.
  list.windows.pop_back();
  EXPECT_FALSE(chooser.Run(1));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"window gone"});
}

TEST(WindowChooserTest, AWindowSystemThatCannotListSaysSo) {
  FakeWindowList list;
  list.can_list = false;
  ScriptedMessages messages;
  EXPECT_FALSE(WindowsListable(list, messages));
  WindowChooser chooser(list, messages, 1);
  EXPECT_FALSE(chooser.Refresh(DefaultTitleLines()));
  EXPECT_TRUE(chooser.Entries().empty());
  EXPECT_FALSE(chooser.Run(0));
  const std::string told(kCannotListWindowsMessage);
  EXPECT_EQ(messages.shown, (std::vector<std::string>{told, told}));
  list.can_list = true;
  EXPECT_TRUE(WindowsListable(list, messages));
  EXPECT_EQ(messages.shown.size(), 2u);
}

}  // namespace
}  // namespace tessary
