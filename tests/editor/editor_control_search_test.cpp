// Search through the editing control: starts after the selection or hit, shows the hit by style.
#include "editor/editor_control_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "codec/text_lines.h"
#include "editor/editor_control.h"
#include "editor/editor_search.h"

namespace tessary {
namespace {

namespace opt = search_option;

TEST(ControlSearch, RepeatedSearchesWalkThroughTheMatchesInEachStyle) {
  for (TEditorHitStyle style :
       {TEditorHitStyle::hsSelect, TEditorHitStyle::hsDraw, TEditorHitStyle::hsCaret}) {
    EditorControl c;
    c.Lines().SetTextStr("ab\tAB\r\n  ab");
    c.SetHitStyle(style);
    c.SetCaret(0, 0);
    std::vector<int64_t> starts;
    while (Search(c, "ab", opt::kForward)) {
      ASSERT_LT(starts.size(), 5u);
      starts.push_back(c.CaretOffset());
      if (style == TEditorHitStyle::hsSelect) {
        EXPECT_EQ(c.GetSelectionState(), SelectionState::Selected);
        starts.back() = c.SelStart();
      } else {
        EXPECT_EQ(c.GetSelectionState(), SelectionState::Hit);
        EXPECT_EQ(c.HitLength(), 2);
        starts.back() = c.SelStart();
      }
    }
    EXPECT_EQ(starts, (std::vector<int64_t>{0, 3, 9})) << static_cast<int>(style);
    // Backward from the last hit walks back again.
    std::vector<int64_t> back;
    while (Search(c, "ab", 0)) {
      ASSERT_LT(back.size(), 5u);
      back.push_back(c.SelStart());
    }
    EXPECT_EQ(back, (std::vector<int64_t>{3, 0})) << static_cast<int>(style);
  }
}

TEST(ControlSearch, NothingFoundChangesNothing) {
  EditorControl c;
  c.Lines().SetTextStr("abc\r\nabc");
  c.SetCaret(1, 1);
  EXPECT_FALSE(Search(c, "zz", opt::kForward));
  EXPECT_FALSE(Search(c, "", opt::kForward));
  EXPECT_EQ(c.CaretRow(), 1);
  EXPECT_EQ(c.CaretCol(), 1);
  EXPECT_FALSE(c.Selected());
  // The caret after a tab: the byte position, not the column, is where the search starts.
  c.Lines().SetTextStr("\tab ab");
  c.SetCaret(0, c.ColOfPos(0, 1));
  ASSERT_TRUE(Search(c, "ab", opt::kForward));
  EXPECT_EQ(c.SelStart(), 1);
}

// ---- replace all ----

std::string Repeated(std::string_view line, int times) {
  std::string s;
  for (int i = 0; i < times; ++i) s += line;
  return s;
}

TEST(ControlReplaceAll, ThousandsOfMatchesAreOneEditUndoneInOneStep) {
  EditorControl c;
  const std::string original = Repeated("foo bar foo\r\n", 3000) + "tail";
  c.Lines().SetTextStr(original);
  c.SetCaret(0, 0);
  EXPECT_EQ(ReplaceAll(c, "foo", opt::kForward, "X"), 6000);
  const std::string replaced = Repeated("X bar X\r\n", 3000) + "tail";
  EXPECT_EQ(c.Text(), replaced);
  EXPECT_EQ(c.CaretOffset(), static_cast<int64_t>(replaced.size()) - 2 - 4);  // after the last X
  c.Undo();
  EXPECT_EQ(c.Text(), original);
  EXPECT_FALSE(c.CanUndo());
  c.Redo();
  EXPECT_EQ(c.Text(), replaced);
}

TEST(ControlReplaceAll, MatchesComeFromTheOriginalText) {
  EditorControl c;
  // A replacement that holds the pattern is not searched again.
  c.Lines().SetTextStr("a a\r\na");
  EXPECT_EQ(ReplaceAll(c, "a", opt::kForward, "aa"), 3);
  EXPECT_EQ(c.Text(), "aa aa\r\naa");
  // An empty replacement deletes; the option bits apply (case, whole words).
  c.Lines().SetTextStr("Ab ab abc ab_");
  c.SetCaret(0, 0);
  EXPECT_EQ(ReplaceAll(c, "ab", opt::kWholeWord, ""), 3);
  EXPECT_EQ(c.Text(), "  abc _");
  // Line ends in the replacement become CR LF.
  c.Lines().SetTextStr("x;y");
  c.SetCaret(0, 0);
  EXPECT_EQ(ReplaceAll(c, ";", 0, "\n"), 1);
  EXPECT_EQ(c.Text(), "x\r\ny");
}

TEST(ControlReplaceAll, StartsAtTheCurrentPosition) {
  EditorControl c;
  c.Lines().SetTextStr("ab ab ab ab");
  // A selection that is a match (after a search) is replaced first.
  c.SetCaret(0, 2);
  ASSERT_TRUE(Search(c, "ab", opt::kForward));
  ASSERT_EQ(c.SelStart(), 3);
  EXPECT_EQ(ReplaceAll(c, "ab", opt::kForward, "Z"), 3);
  EXPECT_EQ(c.Text(), "ab Z Z Z");
  EXPECT_FALSE(c.Selected());
  // A selection that is no match: matches after it only.
  c.Lines().SetTextStr("ab ab ab");
  c.SetSelStart(0);
  c.SetSelLength(4);
  EXPECT_EQ(ReplaceAll(c, "ab", opt::kForward, "Z"), 1);
  EXPECT_EQ(c.Text(), "ab ab Z");
  // The caret after the last match: none, nothing changes.
  c.Lines().SetTextStr("ab ab");
  c.SetCaret(0, 4);
  EXPECT_EQ(ReplaceAll(c, "ab", opt::kForward, "Z"), 0);
  EXPECT_EQ(c.Text(), "ab ab");
  EXPECT_FALSE(c.CanUndo());
  // A hit shown as a block caret counts as the match it marks.
  c.SetHitStyle(TEditorHitStyle::hsCaret);
  c.SetCaret(0, 0);
  ASSERT_TRUE(Search(c, "ab", opt::kForward));
  EXPECT_EQ(ReplaceAll(c, "ab", opt::kForward, "Z"), 2);
  EXPECT_EQ(c.Text(), "Z Z");
}

TEST(ControlReplaceAll, MatchesOverLineEndsWithTheSkipOptions) {
  EditorControl c;
  c.Lines().SetTextStr("xab\r\n  cd ab\r\n\tcdy\r\nabcd");
  c.SetCaret(0, 0);
  const TSearchOptions skip = opt::kSkipLineBreaks | opt::kSkipBlanks;
  EXPECT_EQ(ReplaceAll(c, "abcd", skip, "-"), 3);
  EXPECT_EQ(c.Text(), "x- -y\r\n-");
  c.Undo();
  EXPECT_EQ(c.Text(), "xab\r\n  cd ab\r\n\tcdy\r\nabcd");
  // Read-only: nothing.
  c.SetReadOnly(true);
  EXPECT_EQ(ReplaceAll(c, "ab", opt::kForward, "Z"), 0);
  EXPECT_EQ(c.Text(), "xab\r\n  cd ab\r\n\tcdy\r\nabcd");
}

// Over wrapped rows and random caret places: the text after replace all is the text replacing
// match after match in the whole text gives, and one undo restores the original bytes.
TEST(ControlReplaceAll, EqualsReplacingInTheWholeTextAndUndoesInOneStep) {
  std::mt19937 rng(5);
  const std::vector<std::string> pieces = {"ab", "a", "b ", "\r\n", "  ", "\x82\xA0", "B"};
  for (int round = 0; round < 30; ++round) {
    EditorControl c;
    c.SetWordWrap(true);
    c.Document().WrapOption().SetWrapByte(static_cast<uint8_t>(8 + rng() % 20));
    std::string text;
    while (text.size() < 3000) text += pieces[rng() % pieces.size()];
    c.Lines().SetTextStr(text);
    const std::string original = c.Text();
    const auto row = static_cast<int32_t>(rng() % static_cast<uint32_t>(c.RowCount()));
    c.SetCaret(row, c.ColOfPos(row, static_cast<int32_t>(rng() % (c.RowText(row).size() + 1))));
    const TSearchOptions o = rng() % 2 ? opt::kSkipLineBreaks | opt::kSkipBlanks : 0;
    const std::string pattern = rng() % 2 ? "ab" : "ba";
    const std::string replacement = rng() % 2 ? "" : "[ab]";

    const TSearchPattern prepared(pattern, static_cast<TSearchOptions>(o | opt::kForward));
    std::string want;
    int64_t from = c.CaretOffset();
    int64_t count = 0;
    want = original.substr(0, static_cast<size_t>(from));
    while (auto f = prepared.Find(original, from, 0)) {
      want += original.substr(static_cast<size_t>(from), static_cast<size_t>(f->position - from));
      want += replacement;
      from = f->position + f->length;
      ++count;
    }
    want += original.substr(static_cast<size_t>(from));

    EXPECT_EQ(ReplaceAll(c, pattern, o, replacement), count) << round;
    EXPECT_EQ(c.Text(), want) << round;
    if (count == 0) continue;
    c.Undo();
    EXPECT_EQ(c.Text(), original) << round;
  }
}

// The hits of ForEachSearchHit, as (row, byte, length).
struct HitRecord {
  int32_t row;
  int32_t byte;
  int64_t length;
  bool operator==(const HitRecord&) const = default;
};
void PrintTo(const HitRecord& h, std::ostream* os) {
  *os << "(" << h.row << "," << h.byte << "," << h.length << ")";
}

// Random texts of the characters that make search hard: line ends of each kind, blanks,
// half-width katakana with voiced marks, double-byte letters and delimiters.
std::string RandomText(std::mt19937& rng, size_t chars) {
  static const char* const kPieces[] = {
      "a",  "b",    "A",    "_",        " ",        "\t",       "\r\n",     "\r\n", "\r",
      "\n", "\xB1", "\xDE", "\x83\x41", "\x82\xA0", "\x81\x40", "\x82\x81", ".",    "ab"};
  std::string t;
  for (size_t k = 0; k < chars; ++k) t += kPieces[rng() % std::size(kPieces)];
  return t;
}

TEST(ControlSearch, ForEachSearchHitFindsWhatRepeatedSearchesFind) {
  std::mt19937 rng(7);
  static const char* const kWords[] = {"a",      "ab",       "b a",      "\r\n",      "\n", "\r",
                                       "A\r\na", "\x83\x41", "\xB1\xDE", "a\x82\xA0", "_a", "\t"};
  const TSearchOptions optionSets[] = {
      0,
      opt::kMatchCase,
      opt::kWholeWord,
      opt::kFullHalf,
      opt::kSkipLineBreaks | opt::kSkipBlanks,
      opt::kFullHalf | opt::kSkipLineBreaks | opt::kSkipBlanks | opt::kWholeWord};
  for (int round = 0; round < 300; ++round) {
    const std::string text = RandomText(rng, rng() % 80);
    const std::string word = kWords[rng() % std::size(kWords)];
    const TSearchOptions options =
        static_cast<TSearchOptions>(optionSets[rng() % std::size(optionSets)] | opt::kForward);
    const auto style = static_cast<TEditorHitStyle>(rng() % 3);
    const bool wrap = rng() % 2 == 0;
    EditorControl c;
    if (wrap) {
      c.Document().WrapOption().SetWrapByte(20);
      c.SetWordWrap(true);
    }
    c.Lines().SetTextStr(text);
    c.SetHitStyle(style);
    const int32_t startRow = c.RowCount() > 0 ? static_cast<int32_t>(rng() % c.RowCount()) : 0;
    c.SetCaret(startRow, 0);
    const TSearchPattern pattern(word, options);
    std::vector<HitRecord> walked;
    ForEachSearchHit(TScreenStringsSearchRows(c.Document()), pattern,
                     TSearchStart{{startRow, 0}, 0}, style, [&](const TSearchHit& h) {
                       walked.push_back({h.start.row, h.start.byte, h.length});
                       return walked.size() < 200;
                     });
    // Repeated searches, until one finds the hit before it again (a hit inside a line end
    // selects nothing, and the control's hit length then stays as it was).
    std::vector<HitRecord> searched;
    while (searched.size() < 200 && Search(c, pattern)) {
      const TextPos start = c.StreamStart();
      const HitRecord hit{start.row, start.byte, c.Selected() ? c.HitLength() : -1};
      if (!searched.empty() && searched.back().row == hit.row && searched.back().byte == hit.byte)
        break;
      searched.push_back(hit);
    }
    for (size_t k = 0; k < searched.size() && k < walked.size(); ++k)
      if (searched[k].length < 0) searched[k].length = walked[k].length;
    ASSERT_EQ(walked, searched) << "text " << ::testing::PrintToString(text) << " word "
                                << ::testing::PrintToString(word) << " options " << options
                                << " style " << static_cast<int>(style) << " wrap " << wrap;
  }
}

TEST(ControlSearch, PreparedPatternSearchesAsTheWordDoes) {
  EditorControl a, b;
  a.Lines().SetTextStr("ab AB\r\nxab");
  b.Lines().SetTextStr("ab AB\r\nxab");
  const TSearchPattern pattern("ab", opt::kForward);
  for (int k = 0; k < 4; ++k) {
    const bool found = Search(a, "ab", opt::kForward);
    EXPECT_EQ(Search(b, pattern), found);
    EXPECT_EQ(a.StreamStart(), b.StreamStart());
    EXPECT_EQ(a.StreamEnd(), b.StreamEnd());
  }
  EXPECT_FALSE(Search(b, TSearchPattern("", opt::kForward)));
}

TEST(ControlSearch, LinesAsRowsAreTheRowsOfTheUnwrappedDocument) {
  for (const char* text : {"", "a", "a\r\n", "a\r\nb", "\r\n\r\n", "x\ry\nz\r\n"}) {
    TextLines lines;
    std::string_view t(text);
    size_t pos = 0;
    bool ended = false;
    while (pos < t.size()) {
      const size_t e = t.find_first_of("\r\n", pos);
      if (e == std::string_view::npos) {
        lines.AddLine(t.substr(pos));
        ended = false;
        break;
      }
      lines.AddLine(t.substr(pos, e - pos));
      pos = e + (t[e] == '\r' && e + 1 < t.size() && t[e + 1] == '\n' ? 2 : 1);
      ended = true;
    }
    lines.set_last_line_has_end(ended);
    EditorControl c;
    c.Lines().SetTextLines(lines);
    const TScreenStringsSearchRows doc(c.Document());
    const TTextLinesSearchRows rows(lines);
    ASSERT_EQ(rows.RowCount(), doc.RowCount()) << text;
    for (int32_t r = 0; r < rows.RowCount(); ++r) {
      EXPECT_EQ(rows.RowText(r), doc.RowText(r)) << text;
      EXPECT_EQ(rows.RowAttribute(r), doc.RowAttribute(r)) << text << " row " << r;
    }
  }
}

}  // namespace
}  // namespace tessary
