// The CSV list without windows: field splitting, whole-character search, paging, the settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/sjis_text.h"
#include "commands/jump.h"
#include "editor/editor_control.h"
#include "platform/private_profile.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"
#include "support/vector_lines.h"
#include "viewers/csv_fields.h"
#include "viewers/csv_list_model.h"

namespace tessary {
namespace {

using testing::Hex;
using testing::ScriptedMessages;
using testing::TempDir;
using testing::VectorLines;

std::vector<std::string> Fields(std::string_view line) {
  std::vector<std::string> out;
  for (std::string_view f : StringToCsvList(line)) out.emplace_back(f);
  return out;
}

using Strings = std::vector<std::string>;

// ---- splitting ----

TEST(StringToCsvList, CommasTabsAndQuotedFieldsAsTheRulesStand) {
  EXPECT_EQ(Fields("a,b,c"), (Strings{"a", "b", "c"}));
  // The TAB rule comes first: quotes and commas are then plain characters.
  EXPECT_EQ(Fields("a\t\"b,c\""), (Strings{"a", "\"b,c\""}));
  EXPECT_EQ(Fields("a\t\tb"), (Strings{"a", "", "b"}));
  EXPECT_EQ(Fields("\"a\",\"b\",\"c\""), (Strings{"a", "b", "c"}));
  EXPECT_EQ(Fields("\"a,b\",\"c\""), (Strings{"a,b", "c"}));
  EXPECT_EQ(Fields("\"abc\""), (Strings{"abc"}));
  EXPECT_EQ(Fields("\"a\"\"b\""), (Strings{"a\"\"b"}));  // a doubled quote stays doubled
  EXPECT_EQ(Fields("\""), (Strings{""}));
  EXPECT_EQ(Fields("\"abc"), (Strings{"ab"}));  // never closed: first and last character go
  // Quoted on one side of the comma only: not cut.
  EXPECT_EQ(Fields("\"a\",b"), (Strings{"a\","}));
  EXPECT_EQ(Fields("plain"), (Strings{"plain"}));
  EXPECT_EQ(Fields(""), (Strings{""}));
  EXPECT_EQ(Fields("a,,"), (Strings{"a", "", ""}));
}

TEST(StringToCsvList, DoubleByteTextIsCutOnlyAtItsSeparators) {
  const std::string line = Utf8ToSjis("表示,ソ\t");  // "ソ" ends in 5C, "表" in 5C too
  EXPECT_EQ(Fields(Utf8ToSjis("表示,ソ")), (Strings{Utf8ToSjis("表示"), Utf8ToSjis("ソ")}));
  EXPECT_EQ(Fields(line), (Strings{Utf8ToSjis("表示,ソ"), ""}));
}

std::string Numbered(int fields, char separator) {
  std::string line;
  for (int k = 1; k <= fields; ++k) {
    if (k > 1) line += separator;
    line += std::to_string(k);
  }
  return line;
}

TEST(StringToCsvList, KeepsTheFirst96Fields) {
  for (const int n : {96, 97, 100}) {
    const std::vector<std::string> f = Fields(Numbered(n, ','));
    ASSERT_EQ(f.size(), 96u) << n;
    EXPECT_EQ(f.back(), "96");
  }
  // A quoted line cut by the limit keeps its 96th field whole (no closing quote to drop).
  std::string quoted = "\"";
  for (int k = 1; k <= 97; ++k) {
    if (k > 1) quoted += "\",\"";
    quoted += 'f';
    quoted += std::to_string(k);
  }
  quoted += '"';
  const std::vector<std::string> f = Fields(quoted);
  ASSERT_EQ(f.size(), 96u);
  EXPECT_EQ(f.front(), "f1");
  EXPECT_EQ(f.back(), "f96");
  EXPECT_EQ(Fields(Numbered(96, ',') + "\"").back(), "96\"");
}

// ---- matching ----

TEST(CsvCellMatcher, IgnoresLetterCaseOfSingleByteCharactersOnly) {
  EXPECT_TRUE(CsvCellMatcher("price").Matches("UNIT PRICE TOTAL"));
  EXPECT_TRUE(CsvCellMatcher("PRICE").Matches("unit price"));
  EXPECT_FALSE(CsvCellMatcher("prize").Matches("price"));
  EXPECT_TRUE(CsvCellMatcher(Utf8ToSjis("価格")).Matches(Utf8ToSjis("単価格表")));
  EXPECT_FALSE(CsvCellMatcher("").Matches("a"));
}

TEST(CsvCellMatcher, ComparesWholeCharacters) {
  const std::string a_katakana = Hex("83 41");  // "ア": its trail byte is "A"
  EXPECT_FALSE(CsvCellMatcher("a").Matches(a_katakana));
  EXPECT_FALSE(CsvCellMatcher("A").Matches(a_katakana));
  EXPECT_TRUE(CsvCellMatcher("a").Matches(a_katakana + "A"));
  // A lower-case trail byte is not upper-cased into another character: 83 61 is "ャ", not "ア".
  EXPECT_FALSE(CsvCellMatcher(a_katakana).Matches(Hex("83 61")));
  EXPECT_FALSE(CsvCellMatcher(Hex("83 61")).Matches(a_katakana));
  // Nor does a match start on a trail byte: "Aア" (41 83 41) holds "ア" once, at 1.
  EXPECT_TRUE(CsvCellMatcher(a_katakana).Matches("A" + a_katakana));
  // "B" + lead byte of "ア": the lead byte is not a character of its own in the cell.
  EXPECT_FALSE(CsvCellMatcher(Hex("42 83")).Matches(Hex("42 83 41")));
}

TEST(CsvCellMatcher, TheLineTestNeverMissesACellMatch) {
  std::string scratch;
  const CsvCellMatcher m("abc");
  EXPECT_TRUE(m.MayMatchIn("x,ABC,y", scratch));
  EXPECT_FALSE(m.MayMatchIn("x,AB,C", scratch));
  EXPECT_FALSE(m.MayMatchIn("ab", scratch));
}

TEST(CsvTextColumns, CountsDoubleByteCharactersTwice) {
  EXPECT_EQ(CsvTextColumns("abc"), 3u);
  EXPECT_EQ(CsvTextColumns(Utf8ToSjis("価格ｱ")), 5u);
}

// ---- the model ----

std::vector<std::string> CountedLines(int n) {
  std::vector<std::string> lines;
  for (int i = 1; i <= n; ++i) {
    std::string line = "line";
    line += std::to_string(i);
    line += ",x";
    lines.push_back(line);
  }
  return lines;
}

class CsvListModelTest : public ::testing::Test {
 protected:
  PrivateProfile Ini() const { return PrivateProfile(home.SettingsFile()); }
  void Set(std::string_view key, int value) {
    ASSERT_TRUE(Ini().WriteInteger("CsvList", key, value));
  }
  CsvListModel& Open(std::vector<std::string> lines, int32_t caret_line = 0) {
    lines_ = std::make_unique<VectorLines>(std::move(lines));
    model_ = std::make_unique<CsvListModel>(CsvListPorts{home, messages, *lines_, caret_line});
    model_->Start();
    return *model_;
  }
  // The 1-based numbers of the first and the last line shown.
  static std::pair<int, int> Shown(const CsvListModel& m) {
    return {m.FirstLine() + 1, m.FirstLine() + m.RowCount()};
  }

  TempDir dir;
  AppHome home{dir.path()};
  ScriptedMessages messages;
  std::unique_ptr<VectorLines> lines_;
  std::unique_ptr<CsvListModel> model_;
};

TEST_F(CsvListModelTest, PagesOf25LinesEndOnThePageOfTheLastLineAlone) {
  Set("DispNum", 0);  // 10 lines
  CsvListModel& m = Open(CountedLines(25));
  EXPECT_EQ(Shown(m), std::make_pair(1, 10));
  m.MenuCsvListNextClick(0);
  EXPECT_EQ(Shown(m), std::make_pair(11, 20));
  m.MenuCsvListNextClick(0);
  EXPECT_EQ(Shown(m), std::make_pair(21, 25));
  m.MenuCsvListNextClick(0);
  EXPECT_EQ(Shown(m), std::make_pair(25, 25));
  const uint64_t filled = m.Generation();
  m.MenuCsvListNextClick(0);
  EXPECT_EQ(m.Generation(), filled);  // nothing
  m.MenuCsvListPrevClick(0);
  EXPECT_EQ(Shown(m), std::make_pair(15, 24));
  m.MenuCsvListTopClick();
  EXPECT_EQ(Shown(m), std::make_pair(1, 10));
  m.MenuCsvListEndClick();
  EXPECT_EQ(Shown(m), std::make_pair(25, 25));
  EXPECT_EQ(m.FirstCaption(), "00025");
  EXPECT_EQ(m.LastCaption(), "00025");
  EXPECT_EQ(m.Selected(), 0);
}

TEST_F(CsvListModelTest, PageSizeChangesKeepTheTopLine) {
  Set("LineNum", 4);
  CsvListModel& m = Open(CountedLines(100));
  EXPECT_EQ(m.PageSize(), 20);  // the default entry
  EXPECT_EQ(Shown(m), std::make_pair(5, 24));
  m.ComboBox1Change(45);
  EXPECT_EQ(Shown(m), std::make_pair(5, 100));
  EXPECT_EQ(m.PageSize(), 100);
}

TEST_F(CsvListModelTest, SettingsOutOfRangeAreClamped) {
  for (const int stale : {-5, 1000}) {
    Set("DispNum", -3);
    Set("ColWidth", 99);
    Set("LineNum", stale);
    CsvListModel& m = Open(CountedLines(25));
    EXPECT_EQ(m.PageSizeIndex(), 0) << stale;
    EXPECT_EQ(m.PageSize(), 10);
    EXPECT_EQ(m.ColWidthIndex(), kCsvColWidthCount - 1);
    EXPECT_EQ(CsvColWidthAt(m.ColWidthIndex()), 300);
    EXPECT_EQ(m.StartLine(), stale < 0 ? 0 : 24);
    EXPECT_GT(m.RowCount(), 0);
  }
  Set("DispNum", 46);
  EXPECT_EQ(Open(CountedLines(3)).PageSize(), 100);
  EXPECT_EQ(StoredCsvListLine(Ini(), 0), 0);
}

TEST_F(CsvListModelTest, CaptionsHaveAtLeastFiveDigits) {
  EXPECT_EQ(CsvRowCaption(0), "00001");
  EXPECT_EQ(CsvRowCaption(99998), "99999");
  EXPECT_EQ(CsvRowCaption(123455), "123456");
  EXPECT_EQ(CsvColumnCaption(3), "03");
  EXPECT_EQ(CsvNumberColumnWidth(14), 70);
}

TEST_F(CsvListModelTest, LoadAllAsksAbove3000LinesOnly) {
  CsvListModel& quiet = Open(CountedLines(3000), 1234);
  EXPECT_TRUE(quiet.MenuCsvListLoadAllClick());
  EXPECT_TRUE(messages.asked.empty());
  EXPECT_TRUE(quiet.AllLines());
  EXPECT_EQ(quiet.RowCount(), 3000);
  EXPECT_EQ(quiet.Selected(), 1234);  // the caret's line, centred
  EXPECT_EQ(quiet.Scroll(), CsvScroll::Centre);

  CsvListModel& asked = Open(CountedLines(3001));
  messages.answers = {Answer::No, Answer::Yes};
  EXPECT_FALSE(asked.MenuCsvListLoadAllClick());
  EXPECT_EQ(messages.asked, Strings{std::string(csv_text::kAskLoadAll)});
  EXPECT_FALSE(asked.AllLines());
  EXPECT_EQ(asked.RowCount(), 20);
  EXPECT_TRUE(asked.MenuCsvListLoadAllClick());
  EXPECT_EQ(asked.RowCount(), 3001);
  // Paging now moves the selection; the page size list is ignored.
  asked.MenuCsvListEndClick();
  EXPECT_EQ(asked.Selected(), 3000);
  asked.MenuCsvListPrevClick(30);
  EXPECT_EQ(asked.Selected(), 2970);
  asked.MenuCsvListTopClick();
  EXPECT_EQ(asked.Selected(), 0);
  asked.ComboBox1Change(0);
  EXPECT_EQ(asked.RowCount(), 3001);
}

TEST_F(CsvListModelTest, JumpAndStartPositionFollowTheMode) {
  Set("LineNum", 7);
  CsvListModel& m = Open(CountedLines(50));
  ASSERT_TRUE(StoreJumpEntry(home, "30"));
  m.JumpConfirmed();
  EXPECT_EQ(Shown(m), std::make_pair(30, 49));
  ASSERT_TRUE(StoreJumpEntry(home, "999"));
  m.JumpConfirmed();
  EXPECT_EQ(Shown(m), std::make_pair(50, 50));
  m.MenuMoveStartPositionClick();
  EXPECT_EQ(Shown(m), std::make_pair(8, 27));
  ASSERT_TRUE(m.MenuCsvListLoadAllClick());
  ASSERT_TRUE(StoreJumpEntry(home, "0"));
  m.JumpConfirmed();
  EXPECT_EQ(m.Selected(), 0);
  m.MenuMoveStartPositionClick();
  EXPECT_EQ(m.Selected(), 7);
}

TEST_F(CsvListModelTest, HeadingsTakeTheSelectedRowsCells) {
  CsvListModel& m = Open({"id,Price,名前", "1,2,3"});
  EXPECT_EQ(m.Headings()[2], "03");
  m.Select(-1, CsvSelectionBy::User);
  EXPECT_FALSE(m.MenuAddHeaderClick());
  m.Select(0, CsvSelectionBy::User);
  // The document is Shift-JIS; the headings are shown as UTF-8.
  CsvListModel& j = Open({Utf8ToSjis("id,Price,名前"), "1,2,3"});
  ASSERT_TRUE(j.MenuAddHeaderClick());
  EXPECT_EQ(j.Headings()[0], "01 id");
  EXPECT_EQ(j.Headings()[1], "02 Price");
  EXPECT_EQ(j.Headings()[2], "03 名前");
  EXPECT_EQ(j.Headings()[3], "04 ");
  j.MenuCsvListNextClick(0);  // filling keeps them
  EXPECT_EQ(j.Headings()[1], "02 Price");
}

// Field k of a 9-field line holds `cells[k]`, others "-".
std::string Row(std::initializer_list<std::pair<int, std::string>> cells) {
  std::vector<std::string> f(9, "-");
  for (const auto& [k, text] : cells) f[static_cast<size_t>(k - 1)] = text;
  std::string line;
  for (const std::string& c : f) {
    if (!line.empty()) line += ',';
    line += c;
  }
  return line;
}

TEST_F(CsvListModelTest, SearchNextListsEveryHitFieldOfTheFirstRowWithHits) {
  std::vector<std::string> lines = CountedLines(20);
  lines[11] = Row({{3, "a WORD b"}, {7, "Word"}});
  lines[15] = Row({{2, "word"}});
  CsvListModel& m = Open(lines);
  EXPECT_EQ(m.Label(), "行:      桁:  ");
  ASSERT_TRUE(m.Search("word", SearchDirection::Next));
  EXPECT_EQ(m.Label(), "行:00012 桁:03/07");
  EXPECT_EQ(m.Selected(), 11);
  EXPECT_EQ(m.HitCol(), 6);
  EXPECT_EQ(m.Scroll(), CsvScroll::Centre);
  // The second search goes on after field 7, into the following rows.
  ASSERT_TRUE(m.Search("word", SearchDirection::Next));
  EXPECT_EQ(m.Label(), "行:00016 桁:02");
  EXPECT_FALSE(m.Search("word", SearchDirection::Next));
  EXPECT_EQ(m.Label(), "行:      桁:  ");
  EXPECT_EQ(messages.shown.back(), "検索しましたが見つかりませんでした\r\nword");
  // Backward from the selected row (its fields after the last hit, then earlier rows whole).
  ASSERT_TRUE(m.Search("WORD", SearchDirection::Previous));
  EXPECT_EQ(m.Label(), "行:00012 桁:03/07");
  EXPECT_EQ(m.History(), (Strings{"WORD", "word"}));
}

TEST_F(CsvListModelTest, ThingsThatMoveTheSelectionStartTheNextSearchAtTheFirstField) {
  std::vector<std::string> lines = CountedLines(30);
  lines[0] = Row({{2, "hit"}, {5, "hit"}});
  lines[25] = Row({{1, "hit"}});
  const auto after_first_hit = [&](const std::function<void(CsvListModel&)>& move) {
    CsvListModel& m = Open(lines);
    EXPECT_TRUE(m.Search("hit", SearchDirection::Next));
    EXPECT_EQ(m.HitCol(), 4);
    move(m);
    EXPECT_EQ(m.HitCol(), -1);
    return m.Search("hit", SearchDirection::Next) ? m.Label() : std::string("not found");
  };
  EXPECT_EQ(after_first_hit([](CsvListModel& m) { m.Select(0, CsvSelectionBy::User); }),
            "行:00001 桁:02/05");
  EXPECT_EQ(after_first_hit([](CsvListModel& m) {
              m.MenuCsvListNextClick(0);
              m.MenuCsvListPrevClick(0);
            }),
            "行:00001 桁:02/05");
  EXPECT_EQ(after_first_hit([](CsvListModel& m) { m.MenuMoveStartPositionClick(); }),
            "行:00001 桁:02/05");
  ASSERT_TRUE(StoreJumpEntry(home, "26"));
  EXPECT_EQ(after_first_hit([](CsvListModel& m) { m.JumpConfirmed(); }), "行:00026 桁:01");
  // A selection the search itself makes keeps the field.
  CsvListModel& m = Open(lines);
  ASSERT_TRUE(m.Search("hit", SearchDirection::Next));
  m.Select(0, CsvSelectionBy::Program);
  EXPECT_EQ(m.HitCol(), 4);
}

TEST_F(CsvListModelTest, SearchLooksOnlyAtTheRowsShownAndTheFieldCells) {
  std::vector<std::string> lines = CountedLines(40);
  lines[30] = Row({{9, "far"}});
  CsvListModel& m = Open(lines);
  messages.answers = {};
  EXPECT_FALSE(m.Search("far", SearchDirection::Next));    // line 31 is not on the page
  EXPECT_FALSE(m.Search("00001", SearchDirection::Next));  // captions are not searched
  EXPECT_FALSE(m.Search("", SearchDirection::Next));
  EXPECT_EQ(messages.shown.back(), "検索語が設定されていません");
  ASSERT_TRUE(m.MenuCsvListLoadAllClick());
  EXPECT_TRUE(m.Search("far", SearchDirection::Next));
  EXPECT_EQ(m.Selected(), 30);
  // Whole characters: "a" is not found in "ア".
  CsvListModel& k = Open({Hex("83 41") + ",x"});
  EXPECT_FALSE(k.Search("a", SearchDirection::Next));
  EXPECT_TRUE(k.Search("ア", SearchDirection::Next));
}

TEST_F(CsvListModelTest, ClosingWritesTheSelectedLineTheChoicesLookAndHistory) {
  CsvListModel& m = Open(CountedLines(3001), 2500);
  messages.answers = {Answer::Yes};
  ASSERT_TRUE(m.MenuCsvListLoadAllClick());
  m.Select(2999, CsvSelectionBy::User);
  m.ComboBox2Change(4);
  CsvListLook look = m.Look();
  look.font_size = 20;
  look.back_color = RgbColor(1, 2, 3);
  m.SetLook(look);
  EXPECT_FALSE(m.Search("nowhere", SearchDirection::Next));
  m.Close();
  const PrivateProfile ini = Ini();
  EXPECT_EQ(ini.ReadInteger("CsvList", "LineNum", -1), 2999);
  EXPECT_EQ(StoredCsvListLine(ini, 3001), 2999);
  EXPECT_EQ(ini.ReadInteger("CsvList", "ColWidth", -1), 4);
  EXPECT_EQ(ini.ReadInteger("CsvList", "DispNum", -1), kCsvDefaultPageSizeIndex);
  EXPECT_EQ(ReadCsvListLook(ini), look);
  EXPECT_EQ(ini.ReadString("CsvListColor", "FontColor", ""), "clBlack");
  EXPECT_EQ(Utf8ToSjis("ＭＳ ゴシック"), ini.ReadString("CsvListColor", "FontName", ""));
  // The next window (and the main window's find) sees the word first.
  CsvListModel& again = Open(CountedLines(1));
  EXPECT_EQ(again.History().front(), "nowhere");
  // No selected row: the line written at opening stays.
  ASSERT_TRUE(StoreCsvListLine(*std::make_unique<PrivateProfile>(Ini()), 0));
  again.Select(-1, CsvSelectionBy::User);
  again.Close();
  EXPECT_EQ(Ini().ReadInteger("CsvList", "LineNum", -1), 0);
}

TEST_F(CsvListModelTest, WidestCellsComeFromOnePassOverTheRows) {
  CsvListModel& m = Open({"a,bb", "ccc,d", Utf8ToSjis("価,e"), "ccc,ff"});
  ASSERT_TRUE(m.MenuCsvListLoadAllClick());
  const std::vector<std::vector<std::string>> widest = m.WidestCells(2);
  ASSERT_EQ(widest.size(), 96u);
  EXPECT_EQ(widest[0], (Strings{"ccc", "価"}));
  EXPECT_EQ(widest[1], (Strings{"bb", "ff"}));
  EXPECT_TRUE(widest[2].empty());
}

// ---- the editor's document as the lines ----

TEST(DocumentCsvLines, JoinsWrappedRowsIntoTheirLines) {
  const std::string first = "aaaaaaaaaa,bbbbbbbbbb,cccccccccc,dddddddddd";
  EditorControl editor;
  editor.Lines().SetTextStr(first + "\r\nx,y\r\n\r\nlast");
  editor.SetVisibleSize(20, 80);
  editor.Document().WrapOption().SetWrapByte(20);  // the first line takes three rows
  editor.SetWordWrap(true);
  ASSERT_GT(editor.RowCount(), 4);
  DocumentCsvLines lines(editor.Document());
  ASSERT_EQ(lines.Count(), 4);
  std::string scratch;
  EXPECT_EQ(lines.Line(0, scratch), first);
  EXPECT_EQ(lines.Line(1, scratch), "x,y");
  EXPECT_EQ(lines.Line(3, scratch), "last");
  Strings seen;
  lines.ForEach(0, 3, [&](int32_t i, std::string_view text) {
    std::string entry = std::to_string(i);
    entry += ':';
    entry += text;
    seen.push_back(entry);
    return true;
  });
  std::string first_seen = "0:";
  first_seen += first;
  EXPECT_EQ(seen, (Strings{first_seen, "1:x,y", "2:"}));
  seen.clear();
  lines.ForEach(1, 4, [&](int32_t i, std::string_view text) {
    std::string entry = std::to_string(i);
    entry += ':';
    entry += text;
    seen.push_back(entry);
    return true;
  });
  EXPECT_EQ(seen, (Strings{"1:x,y", "2:", "3:last"}));
}

}  // namespace
}  // namespace tessary
