// Searching the rows chunk by chunk finds what one scan of the whole joined text finds.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/sjis.h"
#include "editor/editor_search.h"
#include "editor/rows_replacement.h"
#include "support/test_files.h"

namespace tessary {
namespace {

namespace opt = search_option;
using testing::Hex;
constexpr RowEnd E = RowEnd::RowEndsLine;
constexpr RowEnd W = RowEnd::RowWrapped;

struct Rows : TSearchRows {
  std::vector<std::string> text;
  std::vector<RowEnd> ends;
  std::vector<int64_t> starts;  // offset of each row in `whole`
  std::string whole;            // rows with CR LF after each row that ends a line

  void Add(std::string s, RowEnd e) {
    starts.push_back(static_cast<int64_t>(whole.size()));
    whole += s;
    if (e == E) whole += "\r\n";
    text.push_back(std::move(s));
    ends.push_back(e);
  }
  int32_t RowCount() const override { return static_cast<int32_t>(text.size()); }
  std::string_view RowText(int32_t r) const override { return text.at(static_cast<size_t>(r)); }
  RowEnd RowAttribute(int32_t r) const override { return ends.at(static_cast<size_t>(r)); }

  int64_t Offset(TextPos p) const { return starts.at(static_cast<size_t>(p.row)) + p.byte; }
  // Where the caret goes for a whole-text offset: inside a line end is the end of its row.
  TextPos PositionOf(int64_t offset) const {
    const auto r = static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), offset) -
                                       starts.begin() - 1);
    const int64_t byte = std::min<int64_t>(offset - starts[r], text[r].size());
    return {static_cast<int32_t>(r), static_cast<int32_t>(byte)};
  }
};

// Short rows, many of them wrapped (a word runs on into the next row), so that matches of a
// few hundred bytes span many rows and every chunk edge falls inside some of them.
Rows RandomRows(std::mt19937& rng, size_t bytes) {
  static const std::vector<std::string> pieces = {
      "a",         "b",       "ab",        "A",         " ",         "_",
      "\t",        "1",       Hex("82A0"), Hex("8341"), Hex("8140"), Hex("8260"),
      Hex("8281"), Hex("B6"), Hex("DE"),   Hex("889F")};
  Rows rows;
  while (rows.whole.size() < bytes) {
    std::string s;
    const size_t length = rng() % 40;
    while (s.size() < length) s += pieces[rng() % pieces.size()];
    rows.Add(std::move(s), rng() % 3 == 0 ? W : E);
  }
  rows.Add("end", RowEnd::RowAtEof);
  return rows;
}

// Offsets where a character starts in the joined text.
std::vector<int64_t> CharStarts(const std::string& t) {
  std::vector<int64_t> starts;
  for (size_t i = 0; i < t.size();) {
    starts.push_back(static_cast<int64_t>(i));
    const bool pair =
        sjis::IsLeadByte(t[i]) && i + 1 < t.size() && t[i + 1] != '\r' && t[i + 1] != '\n';
    i += pair ? 2 : 1;
  }
  return starts;
}

// A pattern copied from the text at a character start; with `dropBlanks` the line ends and
// blanks are left out, so that only the skip options match it across rows.
std::string PatternAt(const std::string& t, const std::vector<int64_t>& chars, size_t first,
                      size_t bytes, bool dropBlanks) {
  std::string p;
  for (size_t k = first; k < chars.size() && p.size() < bytes; ++k) {
    const auto at = static_cast<size_t>(chars[k]);
    const size_t end = k + 1 < chars.size() ? static_cast<size_t>(chars[k + 1]) : t.size();
    const std::string c = t.substr(at, end - at);
    if (dropBlanks && (c == "\r" || c == "\n" || c == " " || c == "\t" || c == Hex("8140")))
      continue;
    p += c;
  }
  return p;
}

std::vector<TSearchOptions> EveryOptionSet() {
  std::vector<TSearchOptions> sets;
  for (int bits = 0; bits < 16; ++bits) {
    TSearchOptions o = 0;
    if (bits & 1) o |= opt::kMatchCase;
    if (bits & 2) o |= opt::kWholeWord;
    if (bits & 4) o |= opt::kFullHalf;
    if (bits & 8) o |= opt::kSkipLineBreaks | opt::kSkipBlanks;
    sets.push_back(o);
  }
  return sets;
}

// Compares the chunked search with one scan of the whole text from random starts, forward and
// backward, for patterns of `minBytes` to `maxBytes` bytes taken from the text.
void CompareWithWholeText(uint32_t seed, size_t docBytes, size_t minBytes, size_t maxBytes,
                          int queries) {
  std::mt19937 rng(seed);
  const Rows rows = RandomRows(rng, docBytes);
  const std::vector<int64_t> chars = CharStarts(rows.whole);
  int found = 0;
  for (int q = 0; q < queries; ++q) {
    const size_t length = minBytes + rng() % (maxBytes - minBytes + 1);
    const bool dropBlanks = rng() % 2 == 0;
    const std::string pattern =
        PatternAt(rows.whole, chars, rng() % chars.size(), length, dropBlanks);
    if (pattern.empty()) continue;
    for (TSearchOptions base : EveryOptionSet()) {
      for (TSearchOptions dir : {TSearchOptions{0}, opt::kForward}) {
        const auto o = static_cast<TSearchOptions>(base | dir);
        const auto row = static_cast<int32_t>(rng() % rows.text.size());
        const auto byte = static_cast<int32_t>(rng() % (rows.text[row].size() + 1));
        const int64_t previous = dir != 0 && rng() % 4 == 0 ? rng() % 50 : 0;
        const TSearchPattern prepared(pattern, o);
        const TSearchStart from{{row, byte}, previous};
        const auto got = SearchRows(rows, prepared, o, from);
        const auto want = prepared.Find(rows.whole, rows.Offset(from.position), previous);
        ASSERT_EQ(got.has_value(), want.has_value())
            << "seed " << seed << " query " << q << " options " << o << " pattern bytes "
            << pattern.size() << " from " << row << ":" << byte;
        if (!got) continue;
        ++found;
        EXPECT_EQ(got->start, rows.PositionOf(want->position)) << q << " " << o;
        EXPECT_EQ(got->length, want->length) << q << " " << o;
      }
    }
  }
  EXPECT_GT(found, queries);  // the comparison is not only of misses
}

TEST(EditorSearchProperty, ShortPatternsOverManyChunks) {
  CompareWithWholeText(11, 60000, 1, 8, 60);
}

TEST(EditorSearchProperty, MatchesSpanningManyRowsAcrossChunkEdges) {
  CompareWithWholeText(12, 40000, 60, 600, 40);
}

TEST(EditorSearchProperty, PatternsLongerThanAChunk) {
  CompareWithWholeText(13, 50000, 8200, 20000, 8);
}

// One word written over rows of one line that a chunk edge cuts: a whole-word test at the
// chunk's end must see the row that follows.
TEST(EditorSearchProperty, WholeWordAtAChunkEnd) {
  Rows rows;
  while (rows.whole.size() < kSearchChunkBytes - 4) rows.Add("x x x x x x", E);
  rows.Add("abcdef", W);
  rows.Add("ghi", E);
  rows.Add("abcdef", E);
  rows.Add("end", RowEnd::RowAtEof);
  const auto o = static_cast<TSearchOptions>(opt::kForward | opt::kWholeWord);
  const auto hit = SearchRows(rows, TSearchPattern("abcdef", o), o, {{0, 0}, 0});
  ASSERT_TRUE(hit.has_value());
  EXPECT_EQ(hit->start, (TextPos{rows.RowCount() - 2, 0}));
  // A search that starts at the row after the wrap sees that the word began before it.
  const auto tail = SearchRows(rows, TSearchPattern("ghi", o), o, {{rows.RowCount() - 3, 0}, 0});
  EXPECT_FALSE(tail.has_value());
}

// Replacing every match from a start, walking the chunks once, gives the text that replacing
// match after match in the whole text gives.
TEST(EditorSearchProperty, ReplacingEveryMatchEqualsReplacingInTheWholeText) {
  std::mt19937 rng(21);
  const Rows rows = RandomRows(rng, 40000);
  const std::vector<int64_t> chars = CharStarts(rows.whole);
  int replaced = 0;
  for (int q = 0; q < 40; ++q) {
    // Without line ends or blanks in the pattern, no match starts or ends inside a line end.
    const std::string pattern =
        PatternAt(rows.whole, chars, rng() % chars.size(), q % 4 == 0 ? 300 : 1 + rng() % 4, true);
    if (pattern.empty()) continue;
    const std::string replacement = rng() % 3 == 0 ? "" : pattern + "+";
    const auto o = static_cast<TSearchOptions>(EveryOptionSet()[rng() % 16] | opt::kForward);
    const auto row = static_cast<int32_t>(rng() % rows.text.size());
    const TextPos floor{row, static_cast<int32_t>(rng() % (rows.text[row].size() + 1))};
    const TSearchPattern prepared(pattern, o);
    std::vector<TMatchSpan> matches;
    ForEachMatch(rows, prepared, floor, [&](const TMatchSpan& m) { matches.push_back(m); });

    int64_t from = rows.Offset(floor);
    size_t count = 0;
    std::string rebuilt = rows.whole.substr(0, static_cast<size_t>(from));
    while (auto f = prepared.Find(rows.whole, from, 0)) {
      rebuilt +=
          rows.whole.substr(static_cast<size_t>(from), static_cast<size_t>(f->position - from));
      rebuilt += replacement;
      from = f->position + f->length;
      ++count;
    }
    rebuilt += rows.whole.substr(static_cast<size_t>(from));
    ASSERT_EQ(matches.size(), count) << q;
    if (count == 0) continue;
    ++replaced;
    const TRowsReplacement edit = ReplaceMatches(rows, matches, replacement);
    const auto last = static_cast<size_t>(edit.firstRow + edit.rowCount);
    const int64_t after =
        last < rows.starts.size() ? rows.starts[last] : static_cast<int64_t>(rows.whole.size());
    const std::string got = rows.whole.substr(0, static_cast<size_t>(rows.starts[edit.firstRow])) +
                            edit.text + rows.whole.substr(static_cast<size_t>(after));
    ASSERT_EQ(got, rebuilt) << q;
  }
  EXPECT_GT(replaced, 10);
}

}  // namespace
}  // namespace tessary
