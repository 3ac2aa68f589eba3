// Searching a CR LF text's bytes as they are finds what the search over its loaded rows finds.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/line_split.h"
#include "codec/document_saver.h"
#include "codec/sjis_line_splitter.h"
#include "editor/editor_control.h"
#include "editor/editor_control_search.h"
#include "editor/editor_search.h"
#include "editor/rows_replacement.h"
#include "support/test_files.h"

namespace tessary {
namespace {

namespace opt = search_option;
using testing::Hex;

struct Found {
  TSearchHit hit;
  std::string line;
  bool operator==(const Found&) const = default;
};

// Bytes with CR, LF and the high half written out, for failure messages.
std::string Shown(const std::string& bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b == '\r') {
      out += "\\r";
    } else if (b == '\n') {
      out += "\\n";
    } else if (b < 0x20 || b >= 0x80) {
      static const char* digits = "0123456789ABCDEF";
      out += "<";
      out += digits[b >> 4];
      out += digits[b & 15];
      out += ">";
    } else {
      out += c;
    }
  }
  return out;
}

std::ostream& operator<<(std::ostream& os, const Found& f) {
  return os << f.hit.start.row << ":" << f.hit.start.byte << "+" << f.hit.length;
}

std::vector<Found> OverLoadedRows(const std::string& text, const TSearchPattern& pattern,
                                  TEditorHitStyle style) {
  const TextLines lines = SplitSjisBytes(text);
  const TTextLinesSearchRows rows(lines);
  std::vector<Found> found;
  ForEachSearchHit(rows, pattern, TSearchStart{{0, 0}, 0}, style, [&](const TSearchHit& h) {
    found.push_back({h, std::string(lines.Line(static_cast<size_t>(h.start.row)))});
    return found.size() < 10000;
  });
  return found;
}

std::vector<Found> OverBytes(const std::string& text, const TSearchPattern& pattern,
                             TEditorHitStyle style) {
  std::vector<Found> found;
  ForEachSearchHitInJoinedText(text, pattern, style, [&](const TJoinedTextHit& h) {
    found.push_back({h.hit, std::string(h.line)});
    return found.size() < 10000;
  });
  return found;
}

TEST(JoinedText, OnlyCleanCrLfTextIsItsOwnRows) {
  EXPECT_TRUE(IsJoinedCrLfText(""));
  EXPECT_TRUE(IsJoinedCrLfText("abc"));
  EXPECT_TRUE(IsJoinedCrLfText("a\r\n\r\nb\r\n"));
  EXPECT_TRUE(IsJoinedCrLfText(Hex("82") + "\r\n" + Hex("82A0")));
  EXPECT_FALSE(IsJoinedCrLfText("a\rb\r\n")) << "lone CR";
  EXPECT_FALSE(IsJoinedCrLfText("a\r\nb\n")) << "lone LF";
  EXPECT_FALSE(IsJoinedCrLfText("a\n\rb")) << "LF CR";
  EXPECT_FALSE(IsJoinedCrLfText("a\r")) << "CR at the end";
  EXPECT_FALSE(IsJoinedCrLfText(std::string("a\0b", 3))) << "zero byte";
  EXPECT_FALSE(IsJoinedCrLfText("a\x1a")) << "EOF mark";
  std::string long_text(100000, 'x');
  long_text += "\r\n";
  EXPECT_TRUE(IsJoinedCrLfText(long_text));
  long_text[70001] = '\n';
  EXPECT_FALSE(IsJoinedCrLfText(long_text));
}

TEST(JoinedText, HitsKnownByHand) {
  const std::string text = "ab\r\nxab\r\n\r\nab";
  const TSearchPattern ab("ab", opt::kForward);
  const std::vector<Found> want = {{{{0, 0}, 2}, "ab"}, {{{1, 1}, 2}, "xab"}, {{{3, 0}, 2}, "ab"}};
  EXPECT_EQ(OverBytes(text, ab, TEditorHitStyle::hsDraw), want);
  // A pattern that ends in a line end: the caret stands at the row's end, the next search
  // begins there.
  const TSearchPattern crlf("b\r\n", opt::kForward);
  EXPECT_EQ(OverBytes(text, crlf, TEditorHitStyle::hsDraw),
            OverLoadedRows(text, crlf, TEditorHitStyle::hsDraw));
  EXPECT_EQ(OverBytes(text, crlf, TEditorHitStyle::hsDraw).size(), 2u);
  EXPECT_TRUE(
      OverBytes(text, TSearchPattern("zz", opt::kForward), TEditorHitStyle::hsDraw).empty());
}

// Random CR LF texts of short lines (lead bytes before line ends, blanks, letters of both
// widths, empty lines, with and without a last line end) and patterns taken from them.
TEST(JoinedText, SameHitsAsTheLoadedRowsForEveryOption) {
  static const std::vector<std::string> pieces = {
      "a",         "b",         "ab",        "A",        " ",         "_",
      "\t",        "1",         "\r\n",      "\r\n\r\n", Hex("82A0"), Hex("8341"),
      Hex("8140"), Hex("8260"), Hex("8281"), Hex("B6"),  Hex("DE"),   Hex("82")};
  std::mt19937 rng(41);
  int compared_hits = 0;
  for (int round = 0; round < 60; ++round) {
    std::string text;
    const size_t size = 50 + rng() % 3000;
    while (text.size() < size) text += pieces[rng() % pieces.size()];
    if (rng() % 2 == 0) text += "\r\n";
    ASSERT_TRUE(IsJoinedCrLfText(text));
    for (int q = 0; q < 6; ++q) {
      const size_t at = rng() % text.size();
      // The first pattern of a text is a lone LF: a hit inside a line end.
      const std::string pattern = q == 0 ? std::string(1, '\n') : text.substr(at, 1 + rng() % 6);
      for (int bits = 0; bits < 16; ++bits) {
        TSearchOptions o = opt::kForward;
        if (bits & 1) o |= opt::kMatchCase;
        if (bits & 2) o |= opt::kWholeWord;
        if (bits & 4) o |= opt::kFullHalf;
        if (bits & 8) o |= opt::kSkipLineBreaks | opt::kSkipBlanks;
        const TSearchPattern prepared(pattern, o);
        for (TEditorHitStyle style :
             {TEditorHitStyle::hsDraw, TEditorHitStyle::hsSelect, TEditorHitStyle::hsCaret}) {
          const std::vector<Found> want = OverLoadedRows(text, prepared, style);
          ASSERT_EQ(OverBytes(text, prepared, style), want)
              << "round " << round << " query " << q << " options " << o;
          compared_hits += static_cast<int>(want.size());
        }
      }
    }
  }
  EXPECT_GT(compared_hits, 10000);
}

// What the editor writes after replace all from the start of the loaded text, saved as
// Shift-JIS with CR LF.
std::string ReplacedByTheControl(const std::string& text, const std::string& pattern,
                                 TSearchOptions options, const std::string& replacement,
                                 int64_t& count) {
  EditorControl control;
  control.Lines().SetTextLines(SplitSjisBytes(text));
  control.SetCaret(0, 0);
  count = ReplaceAll(control, pattern, options, replacement);
  const TEditorScreenStrings& doc = control.Document();
  auto line = [&doc](size_t i) {
    const auto row = static_cast<int32_t>(i);
    return row < doc.Count() ? doc.GetView(row) : std::string_view();
  };
  return EncodeDocument(LineSource(static_cast<size_t>(doc.LineCount()), line), CharCode::SJIS,
                        RetCode::CrLf);
}

TEST(JoinedText, ReplacingInTheBytesSavesWhatTheControlSaves) {
  static const std::vector<std::string> pieces = {"a",         "b",        "ab",        " ",
                                                  "\r\n",      "\r\n\r\n", Hex("82A0"), Hex("8140"),
                                                  Hex("8281"), Hex("82"),  "x"};
  static const std::vector<std::string> replacements = {"", "X", "ab", "\r\n", "y\nz", Hex("82A0")};
  std::mt19937 rng(43);
  int64_t replaced = 0;
  for (int round = 0; round < 400; ++round) {
    std::string text;
    const size_t size = 1 + rng() % (round % 10 == 0 ? 3000 : 40);
    while (text.size() < size) text += pieces[rng() % pieces.size()];
    if (rng() % 2 == 0) text += "\r\n";
    const size_t at = rng() % text.size();
    const std::string pattern = round % 7 == 0   ? text
                                : round % 5 == 0 ? std::string(1, '\n')
                                                 : text.substr(at, 1 + rng() % 4);
    const std::string& replacement = replacements[rng() % replacements.size()];
    TSearchOptions o = opt::kForward;
    if (rng() % 2) o |= opt::kMatchCase;
    if (rng() % 3 == 0) o |= opt::kSkipLineBreaks | opt::kSkipBlanks;
    if (rng() % 4 == 0) o |= opt::kFullHalf;
    int64_t count = 0;
    const std::string want = ReplacedByTheControl(text, pattern, o, replacement, count);
    const TJoinedReplacement got =
        ReplaceAllInJoinedText(text, TSearchPattern(pattern, o), WithCrLfLineEnds(replacement));
    ASSERT_EQ(got.count, count) << "round " << round;
    ASSERT_EQ(Shown(SavedWithCrLf(got.text)), Shown(want))
        << "round " << round << " pattern " << Shown(pattern);
    replaced += count;
  }
  EXPECT_GT(replaced, 400);
}

}  // namespace
}  // namespace tessary
