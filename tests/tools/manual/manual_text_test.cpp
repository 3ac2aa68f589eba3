// The built help text: every command listed, lossless Shift-JIS, a heading tree that loads whole.
#include "tools/manual/manual_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "base/indent_tree.h"
#include "base/line_split.h"
#include "codec/char_code_detector.h"
#include "codec/sjis_text.h"
#include "commands/command_table.h"
#include "commands/key_stroke.h"
#include "commands/outline.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;
using testing::ReadFileOrDie;

std::string SourceText() {
  return ReadFileOrDie(std::string(TESSARY_SOURCE_DIR) + "/data/manual/Tessary.ja.txt");
}

// The file the build writes beside the program, as the help window reads it.
std::string BuiltManual() {
  return ReadFileOrDie(std::string(TESSARY_BINARY_DIR) + "/bin/Tessary.txt");
}

std::vector<std::string> Utf8Lines(std::string_view sjis) {
  std::vector<std::string> lines;
  for (std::string_view line : SplitLines(sjis)) lines.push_back(SjisToUtf8(line));
  return lines;
}

// ---- menu captions ----

TEST(ManualCaptions, AcceleratorMarkersAndTrailingBlanksGo) {
  EXPECT_EQ(CaptionWithoutMarkers("新規作成(&N)"), "新規作成(N)");
  EXPECT_EQ(CaptionWithoutMarkers("開く(&O)... "), "開く(O)...");
  EXPECT_EQ(CaptionWithoutMarkers("終了(&Q && &X)"), "終了(Q & X)");
  EXPECT_EQ(CaptionWithoutMarkers("マーク設定0"), "マーク設定0");
  EXPECT_EQ(CaptionWithoutMarkers("CsvList 改行文字 <Ret> (&R)"), "CsvList 改行文字 <Ret> (R)");
  EXPECT_EQ(CaptionWithoutMarkers("a&"), "a");
}

// ---- the key list in the built file ----

// A key list row: blanks, caption, blanks, default shortcut (or なし), blanks, id; and the
// heading it stands under.
struct KeyRow {
  std::string caption, shortcut, id, heading;
};

std::vector<KeyRow> KeyRows(const std::vector<std::string>& lines) {
  std::vector<KeyRow> rows;
  std::string heading;
  for (const std::string& line : lines) {
    if (TrimBlanks(line).starts_with("■")) heading = TrimBlanks(line);
    const size_t id_start = line.find_last_of(' ') + 1;
    const std::string id = line.substr(id_start);
    if (id.size() != 4 ||
        !std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; }))
      continue;
    std::string_view rest = TrimBlanks(std::string_view(line).substr(0, id_start));
    const size_t gap = rest.rfind("  ");
    if (gap == std::string_view::npos) continue;
    rows.push_back({std::string(TrimBlanks(rest.substr(0, gap))),
                    std::string(TrimBlanks(rest.substr(gap))), id, heading});
  }
  return rows;
}

TEST(ManualKeyList, EveryCommandOnceWithItsCaptionAndDefaultShortcut) {
  const std::vector<KeyRow> rows = KeyRows(Utf8Lines(BuiltManual()));
  ASSERT_EQ(rows.size(), CommandTable().size());
  for (const CommandEntry& e : CommandTable()) {
    SCOPED_TRACE(e.id);
    const std::string id = CommandIdText(e.id);
    const auto n =
        std::count_if(rows.begin(), rows.end(), [&](const KeyRow& r) { return r.id == id; });
    ASSERT_EQ(n, 1);
    const KeyRow& row =
        *std::find_if(rows.begin(), rows.end(), [&](const KeyRow& r) { return r.id == id; });
    EXPECT_EQ(row.caption, CaptionWithoutMarkers(e.caption));
    EXPECT_EQ(row.shortcut, e.default_shortcut.empty() ? "なし" : std::string(e.default_shortcut));
    // Grouped by menu: a menu command under its menu's heading.
    if (e.place != CommandPlace::EditorControl) {
      EXPECT_TRUE(row.heading.starts_with("■" + std::string(e.group) + "(")) << row.heading;
    }
  }
}

TEST(ManualKeyList, TheBuiltFileIsTheCurrentSourceWithTheListInserted) {
  Result<std::string> expanded = ExpandManual(SourceText());
  ASSERT_TRUE(expanded) << expanded.error().message;
  Result<std::string> sjis = ManualToSjis(expanded.value());
  ASSERT_TRUE(sjis) << sjis.error().message;
  EXPECT_EQ(BuiltManual(), sjis.value());
}

TEST(ManualKeyList, PlaceholderOnceAndItsIndentGivesTheHeadingDepth) {
  EXPECT_FALSE(ExpandManual("●a\nno list here\n"));
  EXPECT_FALSE(ExpandManual("●a\n @KEYLIST@\n @KEYLIST@\n"));
  EXPECT_FALSE(ExpandManual("●a\n @KEYLIST@ more\n"));

  Result<std::string> text = ExpandManual("●a\r\n @KEYLIST@\r\n●b\r\n");
  ASSERT_TRUE(text);
  std::vector<std::string_view> headings;
  for (std::string_view line : SplitLines(text.value()))
    if (line.find("■") != std::string_view::npos) headings.push_back(line);
  size_t groups = 0;  // the table keeps each group's rows together
  std::string_view group;
  for (const CommandEntry& e : CommandTable()) {
    if (e.group != group) ++groups;
    group = e.group;
  }
  ASSERT_EQ(headings.size(), groups);
  for (std::string_view h : headings) EXPECT_TRUE(h.starts_with(" ■")) << h;
  EXPECT_TRUE(text.value().ends_with("●b\n"));
}

// ---- Shift-JIS ----

TEST(ManualSjis, EveryLineEndsInCrLfAndComesBackAsTheSource) {
  const std::string built = BuiltManual();
  ASSERT_TRUE(built.ends_with("\r\n"));
  for (size_t i = 0; i < built.size(); ++i) {
    if (built[i] == '\n') {
      ASSERT_TRUE(i > 0 && built[i - 1] == '\r') << "lone LF at " << i;
    }
    if (built[i] == '\r') {
      ASSERT_TRUE(i + 1 < built.size() && built[i + 1] == '\n') << "lone CR at " << i;
    }
  }
  Result<std::string> expanded = ExpandManual(SourceText());
  ASSERT_TRUE(expanded);
  EXPECT_EQ(SjisToUtf8(built), WithCrLfLineEnds(expanded.value()));
}

// Opened in the editor, the file is what it is: Shift-JIS with CR LF, and not write-protected.
TEST(ManualSjis, DetectionReadsTheFileAsShiftJisWithCrLf) {
  const Detection d = DetectCharCode(BuiltManual());
  EXPECT_EQ(d.code, CharCode::SJIS);
  EXPECT_EQ(d.ret, RetCode::CrLf);
  EXPECT_FALSE(d.invalid_char_found);
  EXPECT_FALSE(d.mixed_ret_code);
}

TEST(ManualSjis, ACharacterWithoutAnExactFormStopsTheConversion) {
  EXPECT_EQ(ManualToSjis("あ\nb").value(), Hex("82 A0 0D 0A 62 0D 0A"));
  EXPECT_EQ(ManualToSjis("a\r\n\r\nb\r\n").value(), "a\r\n\r\nb\r\n");

  Result<std::string> emoji = ManualToSjis("a\nb\n\xF0\x9F\x98\x80\n");
  ASSERT_FALSE(emoji);
  EXPECT_NE(emoji.error().message.find("line 3"), std::string::npos) << emoji.error().message;
  // Best fit would write the yen sign as a backslash: refused as well.
  EXPECT_FALSE(ManualToSjis("\xC2\xA5\n"));
  EXPECT_FALSE(ManualToSjis("\xFF\n"));
}

// ---- headings ----

// The help window's index of a text, as the help window builds it.
std::string HelpIndexOf(std::string_view sjis) {
  return Outline::BuildFromText(sjis, HeadingKinds::MarksOnly)->FileText();
}

TEST(ManualHeadings, TheIndexKeepsLineNumbersAndSingleByteIndentOnly) {
  const std::string text =
      Utf8ToSjis("●A") + "\r\nbody\r\n" + Utf8ToSjis(" ■B") + "\r\n" + Utf8ToSjis("　■C") + "\r\n";
  const std::string index = HelpIndexOf(text);
  const IndentTree tree = LoadIndentTree(index);
  ASSERT_FALSE(tree.jump);
  ASSERT_EQ(tree.nodes.size(), 3u);
  EXPECT_EQ(tree.nodes[1].level, 1);
  EXPECT_TRUE(tree.nodes[1].text.ends_with(std::string(35, ' ') + "00002"));
  // A full-width blank is text, not indentation.
  EXPECT_EQ(tree.nodes[2].level, 0);
  EXPECT_TRUE(tree.nodes[2].text.ends_with("00003"));

  // Two levels down at once stops the tree there: what the manual must never do.
  EXPECT_TRUE(LoadIndentTree(HelpIndexOf(Utf8ToSjis("●A\r\n  ▼B\r\n"))).jump);
}

TEST(ManualHeadings, EveryHeadingOfTheBuiltManualIsInTheTree) {
  const std::string built = BuiltManual();
  const std::vector<std::string_view> lines = SplitLines(built);
  const size_t headings = std::count_if(lines.begin(), lines.end(), IsMarkHeading);
  const std::string index = HelpIndexOf(built);  // the tree's texts point into it
  const IndentTree tree = LoadIndentTree(index);
  ASSERT_FALSE(tree.jump) << "heading too deep at line " << tree.jump->line << ": "
                          << SjisToUtf8(tree.jump->text);
  ASSERT_EQ(tree.nodes.size(), headings);

  // Chapters at the top, each with the chapter mark; the key list's menus under their chapter.
  std::vector<std::string> chapters;
  std::string key_list_chapter;
  for (const IndentNode& n : tree.nodes) {
    const std::string text = SjisToUtf8(n.text);
    if (n.level == 0) {
      EXPECT_TRUE(text.starts_with("●")) << text;
      chapters.push_back(text.substr(0, text.find("   ")));
    }
    if (text.starts_with("■ファイル(F) メニュー")) {
      ASSERT_GE(n.parent, 0);
      key_list_chapter = SjisToUtf8(tree.nodes[static_cast<size_t>(n.parent)].text);
    }
  }
  EXPECT_GE(chapters.size(), 10u);
  EXPECT_TRUE(key_list_chapter.starts_with("●コマンドとショートカットの一覧")) << key_list_chapter;
  for (const char* chapter : {"●起動と終了", "●文字コードと改行コード", "●文書を守るしくみ",
                              "●設定ファイルと作業ファイル"})
    EXPECT_NE(std::find(chapters.begin(), chapters.end(), chapter), chapters.end()) << chapter;
}

}  // namespace
}  // namespace tessary
