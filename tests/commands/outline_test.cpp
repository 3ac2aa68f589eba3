// The outline's headings, working-file text and tree, over documents up to a million lines.
#include "commands/outline.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "codec/sjis_text.h"
#include "commands/help_index.h"
#include "editor/editor_control.h"
#include "platform/app_home.h"
#include "platform/private_profile.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;

std::string Sjis(std::string_view utf8) {
  return Utf8ToSjis(utf8);
}

// An entry line of the working file: the text, 35 blanks, the index, CR LF.
std::string EntryLine(std::string_view sjis_text, std::string_view index) {
  std::string line(sjis_text);
  line.append(35, ' ');
  line += index;
  line += "\r\n";
  return line;
}

class OutlineOf : public ::testing::Test {
 protected:
  std::shared_ptr<const Outline> Build(std::string_view utf8,
                                       HeadingKinds kinds = HeadingKinds::MarksAndSections) {
    editor.Lines().SetTextStr(Sjis(utf8));
    return Outline::Build(editor.Document(), kinds);
  }
  // A node's text up to the blanks before its line index.
  std::string NodeTitle(const Outline& o, size_t node) const {
    const std::string_view text = o.Tree().nodes[node].text;
    return SjisToUtf8(text.substr(0, text.find("   ")));
  }

  EditorControl editor;
};

TEST(Headings, MarksCountAfterAnyBlanksTabsAndFullWidthBlanks) {
  for (std::string_view mark : {"●", "▼", "▲", "■", "★"}) {
    std::string line = Sjis(" \t　");
    line += Sjis(mark);
    line += "Title";
    EXPECT_TRUE(IsMarkHeading(line)) << mark;
    EXPECT_TRUE(IsMarkHeading(Sjis(mark))) << mark;
  }
  for (std::string_view plain : {"", "   ", "Title ●", "◆Title", "○", "x■"})
    EXPECT_FALSE(IsMarkHeading(Sjis(plain))) << plain;
}

// Blanks are removed a character at a time: the halves of two characters never meet as a mark.
TEST(Headings, BlanksAreRemovedByWholeCharacters) {
  // "＝" (81 81) then "@" (40): removing the bytes 81 40 would leave 81 9C, a "●".
  EXPECT_FALSE(IsMarkHeading(Hex("81 81 40 9C 41")));
  // A lead byte before a blank or a TAB stands alone; dropping the blank would pair it.
  EXPECT_FALSE(IsMarkHeading(Hex("81 20 9C")));
  EXPECT_FALSE(IsMarkHeading(Hex("81 09 A1")));
  // A real full-width blank before the mark.
  EXPECT_TRUE(IsMarkHeading(Hex("81 40 81 40 81 9C")));
}

TEST(Headings, SectionsOpenWithABracketAndHoldAClosingOne) {
  EXPECT_TRUE(IsSectionHeading("[Options]"));
  EXPECT_TRUE(IsSectionHeading("[a] trailing"));
  EXPECT_FALSE(IsSectionHeading(" [Options]"));
  EXPECT_FALSE(IsSectionHeading("[Options"));
  EXPECT_FALSE(IsSectionHeading(""));
  // "[ゾ": the trail byte of ゾ is 5D, the code of "]", yet no "]" character is in the line.
  EXPECT_FALSE(IsSectionHeading(Hex("5B 83 5D")));
  EXPECT_TRUE(IsSectionHeading(Hex("5B 83 5D 5D")));
  // A lead byte before a byte below the trail range stands alone, so the "]" after it counts.
  EXPECT_TRUE(IsSectionHeading(Hex("5B 83 20 5D")));
}

TEST_F(OutlineOf, FullWidthIndentIsTextAndTheEntryKeepsTheLineAsItStands) {
  const auto o = Build("本文\r\n　　■見出し\r\n本文");
  ASSERT_EQ(o->Entries().size(), 1u);
  EXPECT_EQ(SjisToUtf8(o->Entries()[0].text), "　　■見出し");
  EXPECT_EQ(o->Entries()[0].line, 1);
  EXPECT_EQ(o->FileText(), EntryLine(Sjis("　　■見出し"), "00001"));
  ASSERT_EQ(o->Tree().nodes.size(), 1u);
  EXPECT_EQ(o->Tree().nodes[0].level, 0);
  EXPECT_EQ(NodeTitle(*o, 0), "　　■見出し");
}

TEST_F(OutlineOf, IndentedLevelsFollowBlanksAndAJumpEndsTheTree) {
  const auto o = Build("●一\r\n ●一の一\r\n\t▲一の二\r\n●二\r\n  ●深すぎ\r\n●三");
  EXPECT_EQ(o->Entries().size(), 6u);
  const IndentTree& tree = o->Tree();
  // The heading two levels below "●二" ends the loading: it and "●三" have no node.
  ASSERT_EQ(tree.nodes.size(), 4u);
  ASSERT_TRUE(tree.jump.has_value());
  EXPECT_EQ(tree.jump->line, 4u);
  EXPECT_EQ(tree.nodes[1].parent, 0);
  EXPECT_EQ(tree.nodes[2].parent, 0);
  EXPECT_EQ(tree.nodes[3].parent, -1);
  // The entries still name their own lines in the file.
  EXPECT_NE(o->FileText().find(EntryLine(Sjis("  ●深すぎ"), "00004")), std::string::npos);
}

TEST_F(OutlineOf, MarkHeadingsComeFirstThenSectionsEachInLineOrder) {
  const auto o = Build("[Options]\r\n [Indented]\r\n[NoClose\r\n■後\r\n[Second]\r\n★最後");
  std::vector<std::pair<std::string, int32_t>> got;
  for (const OutlineEntry& e : o->Entries()) got.emplace_back(SjisToUtf8(e.text), e.line);
  const std::vector<std::pair<std::string, int32_t>> want = {
      {"■後", 3}, {"★最後", 5}, {"[Options]", 0}, {"[Second]", 4}};
  EXPECT_EQ(got, want);
  std::string file = EntryLine(Sjis("■後"), "00003");
  file += EntryLine(Sjis("★最後"), "00005");
  file += EntryLine("[Options]", "00000");
  file += EntryLine("[Second]", "00004");
  EXPECT_EQ(o->FileText(), file);
  for (size_t n = 0; n < 4; ++n) EXPECT_EQ(o->NodeLine(n), want[n].second);
  // The help index takes mark headings only.
  EXPECT_EQ(Build("[Options]\r\n■後", HeadingKinds::MarksOnly)->Entries().size(), 1u);
}

TEST_F(OutlineOf, ANodeOfLine41PutsTheCaretOnThe42ndLine) {
  std::string text;
  for (int i = 0; i < 60; ++i) text += i == 41 ? "●見出し\r\n" : "本文\r\n";
  const auto o = Build(text);
  ASSERT_EQ(o->Entries().size(), 1u);
  EXPECT_EQ(JumpToNode(editor, *o, 0), 41);
  EXPECT_EQ(editor.RowToLine(editor.CaretRow()), 41);
  EXPECT_EQ(editor.CaretCol(), 0);
}

TEST_F(OutlineOf, WrappedLinesAreOneLineAndTheJumpGoesToTheirFirstRow) {
  editor.SetWordWrap(true);
  editor.Document().WrapOption().SetWrapByte(10);
  std::string text(40, 'a');
  text += "\r\n";
  text += "●";
  text.append(40, 'b');
  text += "\r\n■c";
  const auto o = Build(text);
  ASSERT_EQ(o->Entries().size(), 2u);
  EXPECT_EQ(o->Entries()[0].line, 1);
  EXPECT_EQ(o->Entries()[1].line, 2);
  EXPECT_EQ(o->LineCount(), 3);
  JumpToNode(editor, *o, 1);
  EXPECT_EQ(editor.CaretRow(), editor.LineToRow(2));
}

// Headings past line index 99,999 jump to their own line: the index travels with the node,
// while the file keeps every digit.
TEST_F(OutlineOf, HeadingsPastTheFiveDigitRangeJumpToTheirOwnLine) {
  constexpr int kLines = 1'000'000;
  std::string text;
  text.reserve(kLines * 3);
  for (int i = 0; i < kLines; ++i) {
    text += (i == 99'999 || i == 100'000 || i == 999'999) ? "\x81\x9C" : "x";
    text += "\r\n";
  }
  editor.Lines().SetTextStr(text);
  const auto o = Outline::Build(editor.Document(), HeadingKinds::MarksAndSections);
  ASSERT_EQ(o->Entries().size(), 3u);
  EXPECT_EQ(o->LineCount(), kLines);
  std::string file = EntryLine("\x81\x9C", "99999");
  file += EntryLine("\x81\x9C", "100000");
  file += EntryLine("\x81\x9C", "999999");
  EXPECT_EQ(o->FileText(), file);
  for (size_t node = 0; node < 3; ++node) {
    const int32_t line = o->Entries()[node].line;
    EXPECT_EQ(JumpToNode(editor, *o, node), line);
    EXPECT_EQ(editor.RowToLine(editor.CaretRow()), line);
  }
}

// Edits after the build leave the outline as it was and never send the caret past the text.
TEST_F(OutlineOf, AnEditAfterTheBuildNeitherChangesTheOutlineNorJumpsPastTheText) {
  const auto o = Build("a\r\nb\r\nc\r\n●三\r\nd\r\ne\r\n■六");
  ASSERT_EQ(o->Entries().size(), 2u);
  editor.Lines().SetTextStr("only\r\ntwo");
  EXPECT_EQ(SjisToUtf8(o->Entries()[1].text), "■六");
  EXPECT_EQ(NodeTitle(*o, 1), "■六");
  EXPECT_EQ(JumpToNode(editor, *o, 1), 1);  // line 6 is gone: the last line
  EXPECT_EQ(editor.CaretRow(), 1);
  editor.Lines().SetTextStr("");
  EXPECT_EQ(JumpToNode(editor, *o, 0), 0);
  EXPECT_EQ(editor.CaretRow(), 0);
}

TEST_F(OutlineOf, TheTextOfAFileGivesTheSameOutlineAsTheEditorLines) {
  const std::string utf8 = "●一\r\n本文\n ▲二\r[Sec]\r\n";
  const auto from_editor = Build(utf8);
  const auto from_text = Outline::BuildFromText(Sjis(utf8), HeadingKinds::MarksAndSections);
  EXPECT_EQ(from_text->FileText(), from_editor->FileText());
  EXPECT_EQ(from_text->Tree().nodes.size(), 3u);
  EXPECT_TRUE(Outline::BuildFromText("", HeadingKinds::MarksOnly)->Entries().empty());
}

TEST_F(OutlineOf, TheWorkingFileIsWrittenWholeAndTheTreeDoesNotDependOnIt) {
  testing::TempDir dir;
  const AppHome home(dir.path());
  const std::string path = home.PathOf(WorkingFile::OutLine);
  const auto o = Build("●一\r\n ●二");
  ASSERT_TRUE(o->WriteFile(path).ok());
  EXPECT_EQ(testing::ReadFileOrDie(path), o->FileText());
  // Another process rewriting the file, or a file that cannot be written, changes nothing in
  // the outline.
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
  EXPECT_FALSE(o->WriteFile(path).ok());
  ASSERT_EQ(o->Tree().nodes.size(), 2u);
  EXPECT_EQ(o->Tree().nodes[1].parent, 0);
}

TEST(OutlineCommand, AnEmptyDocumentGetsTheMessageAndNoWindow) {
  testing::ScriptedMessages messages;
  EditorControl editor;
  EXPECT_FALSE(OutlineHasText(editor, messages));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], "内容がありません");
  editor.Lines().SetTextStr("x");
  EXPECT_TRUE(OutlineHasText(editor, messages));
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST(OutlineCommand, BesideTheMainWindowItOverlapsItsEdgeBy15Pixels) {
  const Rect main{100, 50, 800, 600};
  EXPECT_EQ(PlaceBesideMain(OutlineSide::Left, main, 200), (Rect{-85, 50, 200, 600}));
  EXPECT_EQ(PlaceBesideMain(OutlineSide::Right, main, 250), (Rect{885, 50, 250, 600}));
  EXPECT_EQ(OutlineProgressText(12, 340), "12/340");
}

TEST(HelpIndex, TheManualLiesBesideTheExecutableAndItsWrapIsRemembered) {
  EXPECT_EQ(HelpTextPath("/opt/tessary/bin/tessary"), "/opt/tessary/bin/Tessary.txt");
  EXPECT_EQ(HelpTextPath("tessary"), "./Tessary.txt");
  testing::TempDir dir;
  EXPECT_EQ(ReadHelpText(dir.File("Tessary.txt")), "");  // missing: an empty text
  EXPECT_EQ(ReadHelpText(dir.Write("Tessary.txt", "\x81\x9C")), "\x81\x9C");

  PrivateProfile ini(dir.File("t.ini"));
  EXPECT_EQ(ReadHelpWrap(ini), HelpWrap::WindowWidth);
  ASSERT_TRUE(WriteHelpWrap(ini, HelpWrap::None).ok());
  EXPECT_EQ(ReadHelpWrap(ini), HelpWrap::None);
  EXPECT_TRUE(ini.ReadBool("Help", "WrapNone", false));
  EXPECT_FALSE(ini.ReadBool("Help", "WrapWindowWidth", true));
  ASSERT_TRUE(WriteHelpWrap(ini, HelpWrap::WindowWidth).ok());
  EXPECT_EQ(ReadHelpWrap(ini), HelpWrap::WindowWidth);
}

}  // namespace
}  // namespace tessary
