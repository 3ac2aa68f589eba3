// The selected-text conversion commands over the editing control: refusals, tab count, edits.
#include "commands/text_conversion_commands.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/scripted_messages.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;

std::string TwoLines(const std::string& line) {
  std::string text = line;
  text += "\r\n";
  text += line;
  return text;
}

struct ConversionCommandsTest : ::testing::Test {
  testing::TempDir dir;
  PrivateProfile ini{dir.File("tessary.ini")};
  testing::ScriptedMessages messages;
  EditorControl c;
  std::vector<int> windows;              // the tab width each tab window opened with
  std::optional<int> window_choice = 8;  // what the window stores; nothing: cancelled
  TextConversionCommands commands{c, messages, ini, [this](int tab_width) {
                                    windows.push_back(tab_width);
                                    if (!window_choice) return false;
                                    EXPECT_TRUE(WriteReplaceTab(ini, *window_choice));
                                    return true;
                                  }};

  void LoadAndSelectAll(std::string_view text) {
    c.Lines().SetTextStr(text);
    c.SelectAll();
  }
};

TEST_F(ConversionCommandsTest, EachConversionRewritesTheSelectionAndUndoRestoresIt) {
  struct Case {
    TextConversion conversion;
    std::string before, after;
  };
  const Case cases[] = {
      {TextConversion::UpperCase, Hex("61 62 20 82 81"), Hex("41 42 20 82 60")},  // ａ → Ａ
      {TextConversion::LowerCase, Hex("41 42 20 82 60"), Hex("61 62 20 82 81")},
      {TextConversion::ZenToHan, Hex("83 4B 82 60"), Hex("B6 DE 41")},  // ガＡ → ｶﾞA
      {TextConversion::HanToZen, Hex("B6 DE 41"), Hex("83 4B 82 60")},
  };
  for (const Case& k : cases) {
    LoadAndSelectAll(TwoLines(k.before));
    commands.Run(k.conversion);
    EXPECT_EQ(c.Text(), TwoLines(k.after));
    c.Undo();
    EXPECT_EQ(c.Text(), TwoLines(k.before));
  }
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(windows.empty());
}

// The lead byte has no trail byte on its line: the line end must not pair with it, and it
// keeps its exact byte.
TEST_F(ConversionCommandsTest, ALoneLeadByteBeforeALineEndSurvives) {
  LoadAndSelectAll(Hex("61 82 0D 0A B6"));
  commands.Run(TextConversion::HanToZen);
  EXPECT_EQ(c.Text(), Hex("82 81 82 0D 0A 83 4A"));
  LoadAndSelectAll(Hex("82 60 82 0D 0A 62"));
  commands.Run(TextConversion::ZenToHan);
  EXPECT_EQ(c.Text(), Hex("41 82 0D 0A 62"));
}

TEST_F(ConversionCommandsTest, TabsBecomeTheStoredCountAfterTheWindowClosesWithOk) {
  c.Caret().TabSpaceCount = 6;
  LoadAndSelectAll("a\tb\r\n\t");
  commands.Run(TextConversion::TabsToBlanks);
  EXPECT_EQ(windows, (std::vector<int>{6}));
  EXPECT_EQ(c.Text(), "a        b\r\n        ");
  EXPECT_EQ(ReadReplaceTab(ini), 8);
  // Cancelled: nothing changes.
  window_choice.reset();
  LoadAndSelectAll("a\tb");
  commands.Run(TextConversion::TabsToBlanks);
  EXPECT_EQ(c.Text(), "a\tb");
}

TEST_F(ConversionCommandsTest, AStoredCountThatIsNotOfferedReadsAsFour) {
  EXPECT_EQ(ReadReplaceTab(ini), 4);
  for (int stored : {2, 6}) {
    ASSERT_TRUE(ini.WriteInteger("Editor", "ReplaceTab", stored));
    EXPECT_EQ(ReadReplaceTab(ini), stored);
  }
  for (int stored : {0, 3, 10, -8}) {
    ASSERT_TRUE(ini.WriteInteger("Editor", "ReplaceTab", stored));
    EXPECT_EQ(ReadReplaceTab(ini), 4) << stored;
  }
}

TEST_F(ConversionCommandsTest, ProtectionAndAnEmptySelectionOnlyShowTheirMessage) {
  c.Lines().SetTextStr("a\tb");
  commands.Run(TextConversion::TabsToBlanks);
  c.SelectAll();
  c.SetReadOnly(true);
  for (TextConversion k : {TextConversion::UpperCase, TextConversion::TabsToBlanks})
    commands.Run(k);
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{kNoSelectionRefusal, kReadOnlyRefusal, kReadOnlyRefusal}));
  EXPECT_TRUE(windows.empty());
  EXPECT_EQ(c.Text(), "a\tb");
  EXPECT_FALSE(c.CanUndo());
}

}  // namespace
}  // namespace tessary
