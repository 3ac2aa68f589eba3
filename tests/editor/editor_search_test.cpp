// Search over rows: starts, chunks with their overlap, hit display, and the document's rows.
#include "editor/editor_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/editor_screen_strings.h"
#include "editor/editor_strings.h"
#include "support/test_files.h"

namespace tessary {
namespace {

namespace opt = search_option;
using testing::Hex;
constexpr RowEnd E = RowEnd::RowEndsLine;
constexpr RowEnd W = RowEnd::RowWrapped;
constexpr RowEnd F = RowEnd::RowAtEof;

struct Rows : TSearchRows {
  std::vector<std::string> text;
  std::vector<RowEnd> ends;
  void Add(std::string s, RowEnd e = E) {
    text.push_back(std::move(s));
    ends.push_back(e);
  }
  int32_t RowCount() const override { return static_cast<int32_t>(text.size()); }
  std::string_view RowText(int32_t r) const override { return text.at(static_cast<size_t>(r)); }
  RowEnd RowAttribute(int32_t r) const override { return ends.at(static_cast<size_t>(r)); }
  std::string Joined() const {
    std::string s;
    for (size_t i = 0; i < text.size(); ++i) s += text[i] + (ends[i] == E ? "\r\n" : "");
    return s;
  }
  int64_t Offset(TextPos p) const {
    int64_t o = 0;
    for (int32_t r = 0; r < p.row; ++r) o += static_cast<int64_t>(text[r].size()) + (ends[r] == E ? 2 : 0);
    return o + p.byte;
  }
};

TSearchCaret CaretAt(int32_t row, int32_t byte, TEditorHitStyle style = TEditorHitStyle::hsSelect) {
  TSearchCaret c;
  c.caret = {row, byte};
  c.hitStyle = style;
  return c;
}

// What the control does with a display: the state for the next Search call.
TSearchCaret Apply(const THitDisplay& d, TEditorHitStyle style) {
  TSearchCaret c = CaretAt(d.caret.row, d.caret.byte, style);
  c.hitLength = d.hitLength;
  if (d.selection != THitDisplay::Selection::None && !d.blockCaret) {
    c.hasRange = true;
    c.rangeStart = d.anchor;
    c.rangeEnd = d.caret;
  }
  return c;
}

TEST(EditorSearch, SearchingForwardTwiceFindsTheNextOccurrence) {
  Rows rows;
  rows.Add("ab ab");
  rows.Add("xab", F);
  for (TEditorHitStyle style :
       {TEditorHitStyle::hsSelect, TEditorHitStyle::hsDraw, TEditorHitStyle::hsCaret}) {
    TSearchCaret c = CaretAt(0, 0, style);
    std::vector<TextPos> hits;
    while (auto d = Search(rows, c, "AB", opt::kForward)) {
      hits.push_back(d->anchor);
      c = Apply(*d, style);
    }
    EXPECT_EQ(hits, (std::vector<TextPos>{{0, 0}, {0, 3}, {1, 1}})) << static_cast<int>(style);
  }
}

TEST(EditorSearch, BackwardStartsAtTheSelectionOrTheRowAfterTheLast) {
  Rows rows;
  rows.Add("ab ab");
  rows.Add("ab");
  TSearchCaret c = CaretAt(2, 0);  // the row after the last (the text ends with a line end)
  std::vector<TextPos> hits;
  while (auto d = Search(rows, c, "ab", 0)) {
    hits.push_back(d->anchor);
    c = Apply(*d, TEditorHitStyle::hsSelect);
  }
  EXPECT_EQ(hits, (std::vector<TextPos>{{1, 0}, {0, 3}, {0, 0}}));
  // Nothing found changes nothing; empty patterns and texts find nothing.
  EXPECT_EQ(Search(rows, CaretAt(0, 0), "zz", opt::kForward), std::nullopt);
  EXPECT_EQ(Search(rows, CaretAt(0, 0), "", opt::kForward), std::nullopt);
  EXPECT_EQ(Search(Rows{}, CaretAt(0, 0), "a", opt::kForward), std::nullopt);
}

TEST(EditorSearch, HitOverALineEndAndIndentation) {
  Rows rows;
  rows.Add("say foo");
  rows.Add("  \tbar baz", F);
  auto d = Search(rows, CaretAt(0, 0), "foobar", opt::kForward | opt::kSkipLineBreaks | opt::kSkipBlanks);
  ASSERT_TRUE(d.has_value());
  EXPECT_EQ(d->anchor, (TextPos{0, 4}));
  EXPECT_EQ(d->hitLength, 3 + 2 + 3 + 3);  // foo, CR LF, blanks, bar
  EXPECT_EQ(d->caret, (TextPos{1, 6}));
  EXPECT_EQ(d->selection, THitDisplay::Selection::Selected);
}

TEST(EditorSearch, ShowHitStyles) {
  Rows rows;
  rows.Add("abcdef");
  rows.Add("ghij", W);
  rows.Add("kl", F);
  THitDisplay sel = ShowHit(rows, TEditorHitStyle::hsSelect, {0, 4}, 5);  // "ef", CR LF, "g"
  EXPECT_EQ(sel.selection, THitDisplay::Selection::Selected);
  EXPECT_EQ(sel.caret, (TextPos{1, 1}));
  THitDisplay draw = ShowHit(rows, TEditorHitStyle::hsDraw, {0, 4}, 5);
  EXPECT_EQ(draw.selection, THitDisplay::Selection::Hit);
  EXPECT_FALSE(draw.blockCaret);
  THitDisplay caret = ShowHit(rows, TEditorHitStyle::hsCaret, {0, 4}, 5);
  EXPECT_EQ(caret.selection, THitDisplay::Selection::Hit);
  EXPECT_EQ(caret.caret, (TextPos{0, 4}));
  EXPECT_TRUE(caret.blockCaret);
  EXPECT_EQ(caret.blockEnd, (TextPos{0, 6}));  // to the row's end: the hit spans rows
  EXPECT_EQ(ShowHit(rows, TEditorHitStyle::hsCaret, {0, 1}, 2).blockEnd, (TextPos{0, 3}));
  // The end of a wrapped row is the start of the next; a hit ending on a line end stops at
  // the row's end.
  EXPECT_EQ(ShowHit(rows, TEditorHitStyle::hsSelect, {1, 2}, 2).caret, (TextPos{2, 0}));
  EXPECT_EQ(ShowHit(rows, TEditorHitStyle::hsSelect, {0, 5}, 2).caret, (TextPos{0, 6}));
  THitDisplay none = ShowHit(rows, TEditorHitStyle::hsCaret, {0, 1}, 0);
  EXPECT_EQ(none.selection, THitDisplay::Selection::None);
  EXPECT_FALSE(none.blockCaret);
  EXPECT_EQ(AdvanceBytes(rows, {0, 0}, 100), (TextPos{3, 0}));
}

TEST(EditorSearch, MatchStartingInTheLastRowOfAChunkIsFound) {
  Rows rows;
  // Rows of 100 bytes: the first chunk ends with the row that takes it past 8191 bytes.
  for (int i = 0; i < 81; ++i) rows.Add(std::string(98, 'x'));
  rows.Add(std::string(95, 'x') + "needle"[0] + std::string("eedl"));
  rows.Add("e and more", F);
  const TSearchOptions o = opt::kForward | opt::kSkipLineBreaks;
  auto d = Search(rows, CaretAt(0, 0), "needle", o);
  ASSERT_TRUE(d.has_value());
  EXPECT_EQ(d->anchor, (TextPos{81, 95}));
  EXPECT_EQ(d->hitLength, 8);
  // Backward, the same match is found from the end.
  auto b = Search(rows, CaretAt(83, 0), "needle", opt::kSkipLineBreaks);
  ASSERT_TRUE(b.has_value());
  EXPECT_EQ(b->anchor, (TextPos{81, 95}));
}

TEST(EditorSearch, ALaterChunkNeverFindsAMatchInsideThePreviousHit) {
  Rows rows;
  rows.Add("x");
  for (int i = 0; i < 120; ++i) rows.Add(std::string(98, 'a'));
  // A previous hit (hsCaret) far longer than a chunk: the search starts after all of it.
  TSearchCaret c = CaretAt(0, 0, TEditorHitStyle::hsCaret);
  c.hitLength = 9503;
  auto d = Search(rows, c, "a", opt::kForward);
  ASSERT_TRUE(d.has_value());
  EXPECT_EQ(rows.Offset(d->anchor), 9503);
}

TEST(EditorSearch, ChunkedSearchEqualsSearchingTheWholeText) {
  std::mt19937 rng(7);
  const std::vector<std::string> pieces = {"a", "b", "A", " ", "_", Hex("82A0"), Hex("8341"),
                                           Hex("889F"), Hex("B6"), Hex("DE"), "1"};
  const std::vector<TSearchOptions> optionSets = {0, opt::kMatchCase, opt::kWholeWord, opt::kFullHalf};
  for (int round = 0; round < 30; ++round) {
    Rows rows;
    int count = 100 + static_cast<int>(rng() % 200);
    for (int r = 0; r < count; ++r) {
      std::string s;
      int len = 10 + static_cast<int>(rng() % 150);
      while (static_cast<int>(s.size()) < len) s += pieces[rng() % pieces.size()];
      rows.Add(s, r + 1 == count ? F : E);
    }
    const std::string whole = rows.Joined();
    for (int q = 0; q < 20; ++q) {
      const int32_t row = static_cast<int32_t>(rng() % rows.text.size());
      const std::string& t = rows.text[row];
      const std::string pattern = t.substr(rng() % (t.size() - 4), 1 + rng() % 4);
      for (TSearchOptions base : optionSets) {
        for (TSearchOptions dir : {TSearchOptions{0}, opt::kForward}) {
          TSearchOptions o = static_cast<TSearchOptions>(base | dir);
          TSearchStart from{{static_cast<int32_t>(rng() % rows.text.size()), 0}, 0};
          from.position.byte = static_cast<int32_t>(rng() % (rows.text[from.position.row].size() + 1));
          auto got = SearchRows(rows, TSearchPattern(pattern, o), o, from);
          auto want = FindInText(whole, rows.Offset(from.position), 0, pattern, o);
          ASSERT_EQ(got.has_value(), want.has_value()) << round << " " << q << " " << o;
          if (got) {
            EXPECT_EQ(rows.Offset(got->start), want->position);
            EXPECT_EQ(got->length, want->length);
          }
        }
      }
    }
  }
}

TEST(EditorSearch, OverTheDocumentWithWrappedRows) {
  TEditorScreenStrings doc;
  TEditorStrings lines{doc};
  doc.SetWordWrap(true);
  doc.WrapOption().SetWrapByte(20);
  lines.SetTextStr(std::string(18, 'a') + "needle" + std::string(10, 'b') + "\r\nneedle\r\n");
  ASSERT_EQ(doc.GetRowAttribute(0), W);
  TScreenStringsSearchRows rows(doc);
  // The first match runs over the wrap: no line end lies between the rows.
  auto d = Search(rows, CaretAt(0, 0), "needle", opt::kForward);
  ASSERT_TRUE(d.has_value());
  EXPECT_EQ(d->anchor.row, 0);
  EXPECT_EQ(d->hitLength, 6);
  TSearchCaret next = Apply(*d, TEditorHitStyle::hsSelect);
  auto second = Search(rows, next, "needle", opt::kForward);
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(second->anchor, (TextPos{doc.Count() - 1, 0}));
}

}  // namespace
}  // namespace tessary
