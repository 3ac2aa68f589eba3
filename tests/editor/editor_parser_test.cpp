// Token rules, colours and the row-to-row colouring state of the control's tokenizer.
#include "editor/editor_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/update_guard.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;
using Tokens = std::vector<std::pair<std::string, int>>;

TRowAttributeData Initial(RowEnd rowEnd = RowEnd::RowEndsLine) {
  TRowAttributeData s;
  s.RowAttribute = rowEnd;
  return s;
}

// Tokens of one row as (bytes in the row, effective kind).
Tokens Scan(const TEditorFountain& f, std::string_view row,
            const TRowAttributeData& state = Initial(), std::string_view appended = {}) {
  TEditorParser p(f);
  p.Start(row, appended, state);
  Tokens out;
  while (p.NextToken() != token::kEof) {
    std::string text(p.TokenHead());
    text += p.TokenTail();
    out.emplace_back(text, p.EffectiveKind());
  }
  return out;
}

TEST(EditorParser, NumbersWordsAndSymbols) {
  TEditorFountain f;
  EXPECT_EQ(Scan(f, "12.5e-3"), (Tokens{{"12.5e-3", token::kFloat}}));
  EXPECT_EQ(Scan(f, "12.a"),
            (Tokens{{"12", token::kFloat}, {".", token::kSymbol}, {"a", token::kAnk}}));
  EXPECT_EQ(Scan(f, "42 x_1+"),
            (Tokens{{"42", token::kInteger}, {"x_1", token::kAnk}, {"+", token::kSymbol}}));
  EXPECT_EQ(Scan(f, "3E5 7.e2"), (Tokens{{"3E5", token::kFloat}, {"7.e2", token::kFloat}}));
  // A tab is a token; other control bytes and spaces only separate tokens.
  EXPECT_EQ(Scan(f, "\x01 a\tb"),
            (Tokens{{"a", token::kAnk}, {"\t", token::kTab}, {"b", token::kAnk}}));
  // Scanning stops at an end marker inside the text.
  EXPECT_EQ(Scan(f, std::string("ab\0cd", 5)), (Tokens{{"ab", token::kAnk}}));
}

TEST(EditorParser, DoubleByteRunsByFirstAndSecondByte) {
  TEditorFountain f;
  // "１２，３" digits with a full-width comma, "ＡＢｃ", "あいー", "カタカナ", "漢字", "、"
  EXPECT_EQ(Scan(f, Hex("8250 8251 8143 8252")),
            (Tokens{{Hex("8250 8251 8143 8252"), token::kDBInt}}));
  EXPECT_EQ(Scan(f, Hex("8260 8261 8283")), (Tokens{{Hex("8260 8261 8283"), token::kDBAlph}}));
  EXPECT_EQ(Scan(f, Hex("82A0 82A2 815B")), (Tokens{{Hex("82A0 82A2 815B"), token::kDBHira}}));
  EXPECT_EQ(Scan(f, Hex("834A 835E 815B")), (Tokens{{Hex("834A 835E 815B"), token::kDBKana}}));
  EXPECT_EQ(Scan(f, Hex("8ABF 8E9A E0A0")), (Tokens{{Hex("8ABF 8E9A E0A0"), token::kDBKanji}}));
  EXPECT_EQ(Scan(f, Hex("8141 8141")),
            (Tokens{{Hex("8141"), token::kDBSymbol}, {Hex("8141"), token::kDBSymbol}}));
  // Greek (0x83 with a high trail) is a symbol per character; a kana run stops at hiragana.
  EXPECT_EQ(Scan(f, Hex("839F 83A0")),
            (Tokens{{Hex("839F"), token::kDBSymbol}, {Hex("83A0"), token::kDBSymbol}}));
  EXPECT_EQ(Scan(f, Hex("8341 82A0")),
            (Tokens{{Hex("8341"), token::kDBKana}, {Hex("82A0"), token::kDBHira}}));
  // Half-width katakana: punctuation one byte each, letters as a run.
  EXPECT_EQ(Scan(f, Hex("A1 B1 B2 DE A4")), (Tokens{{Hex("A1"), token::kKanaSymbol},
                                                    {Hex("B1 B2 DE"), token::kKana},
                                                    {Hex("A4"), token::kKanaSymbol}}));
  // A lead byte at the very end of the row stands alone.
  EXPECT_EQ(Scan(f, Hex("41 81")), (Tokens{{"A", token::kAnk}, {Hex("81"), token::kSymbol}}));
}

TEST(EditorParser, OptionRulesInOrder) {
  TEditorFountain f;
  f.SetMail(true);
  f.SetUrl(true);
  f.SetControlCode(true);
  f.SetHexPrefix("0x");
  f.SetQuotation("\"");
  EXPECT_EQ(Scan(f, "me@host.jp"), (Tokens{{"me@host.jp", token::kMail}}));
  // "@" without a "." after it, or a run beginning with "@", is no address.
  EXPECT_EQ(Scan(f, "me@host")[0], (std::pair<std::string, int>{"me", token::kAnk}));
  EXPECT_EQ(Scan(f, "@a.b")[0], (std::pair<std::string, int>{"@", token::kSymbol}));
  EXPECT_EQ(Scan(f, "http://a.jp/x?y=1 z"),
            (Tokens{{"http://a.jp/x?y=1", token::kUrl}, {"z", token::kAnk}}));
  EXPECT_EQ(Scan(f, "#$1F#12#"), (Tokens{{"#$1F", token::kHexControlCode},
                                         {"#12", token::kControlCode},
                                         {"#", token::kControlCode}}));
  EXPECT_EQ(Scan(f, "0XfF g"), (Tokens{{"0XfF", token::kHex}, {"g", token::kAnk}}));
  EXPECT_EQ(Scan(f, "\"a\"\"b\" c"),
            (Tokens{{"\"a\"\"b\"", token::kQuotation}, {"c", token::kAnk}}));
  // A double-byte character whose trail is the quote byte does not close the text.
  EXPECT_EQ(Scan(f, Hex("22 8222 22 78")),
            (Tokens{{Hex("22 8222 22"), token::kQuotation}, {"x", token::kAnk}}));
  // Without the options the same bytes are plain tokens.
  TEditorFountain plain;
  EXPECT_EQ(Scan(plain, "#1 'a'"), (Tokens{{"#", token::kSymbol},
                                           {"1", token::kInteger},
                                           {"'", token::kSymbol},
                                           {"a", token::kAnk},
                                           {"'", token::kSymbol}}));
}

TEST(EditorParser, BaseTokenizerQuotes) {
  TFountain f;
  TFountainParser p(f);
  p.Start("'a b' \"c", {}, Initial());
  EXPECT_EQ(p.NextToken(), token::kSingleQuotation);
  EXPECT_EQ(p.TokenEnd(), 5);
  EXPECT_EQ(p.NextToken(), token::kDoubleQuotation);
  EXPECT_EQ(p.TokenEnd(), 8);
  EXPECT_FALSE(CreateFountainParser(nullptr).ok());
  EXPECT_EQ(CreateFountainParser(nullptr).error().message,
            "TFountainParser.Create need instance of TFountain");
}

TEST(EditorParser, ReservedWordsWholeTokenAnyCase) {
  TEditorFountain f;
  f.SetReserveWordList({"begin", "END", "Begin", Hex("82A0")});
  ASSERT_EQ(f.ReserveWordList().Count(), 3);       // "Begin" duplicates "begin"
  EXPECT_EQ(f.ReserveWordList().Get(0), "begin");  // sorted by the upper-cased bytes
  EXPECT_EQ(f.ReserveWordList().Get(2), Hex("82A0"));
  EXPECT_EQ(
      Scan(f, "BeGiN beginning end"),
      (Tokens{{"BeGiN", token::kReserve}, {"beginning", token::kAnk}, {"end", token::kReserve}}));
  EXPECT_EQ(Scan(f, Hex("82A0 82A0")), (Tokens{{Hex("82A0 82A0"), token::kDBHira}}));
  EXPECT_EQ(Scan(f, Hex("82A0")), (Tokens{{Hex("82A0"), token::kReserve}}));
}

// Assigning a whole list sorts it once; it must hold what adding the words one by one holds,
// with the first of each letter-case family kept as given.
TEST(EditorParser, ReserveListAssignedAtOnceEqualsAddedOneByOne) {
  std::vector<std::string> words;
  uint32_t seed = 7;
  const std::string letters = "aAbBzZ_9";
  for (int i = 0; i < 3000; ++i) {
    std::string w;
    for (int n = 0; n < 1 + i % 4; ++n) {
      seed = seed * 1103515245u + 12345u;
      w += letters[(seed >> 16) % letters.size()];
    }
    if (i % 50 == 0) w += Hex("82A0");  // a double-byte character
    words.push_back(w);
  }
  TReserveWordList assigned, added;
  assigned.Assign(words);
  for (const std::string& w : words) added.Add(w);
  ASSERT_EQ(assigned.Count(), added.Count());
  EXPECT_LT(assigned.Count(), 3000);  // the families collapsed
  for (int i = 0; i < assigned.Count(); ++i) EXPECT_EQ(assigned.Get(i), added.Get(i)) << i;
  assigned.Assign({});
  EXPECT_EQ(assigned.Count(), 0);
}

TEST(EditorParser, CommentAcrossWrappedRows) {
  TEditorFountain f;
  f.SetCommenter("//");
  EXPECT_EQ(Scan(f, "word //note"), (Tokens{{"word", token::kAnk}, {"//note", token::kComment}}));
  TEditorParser p(f);
  // "word //no" wraps into "te", which wraps into "more", then a new line "x".
  TRowAttributeData s0 = Initial(RowEnd::RowWrapped);
  TRowAttributeData s1 = p.NextRowState("word //no", "te", RowEnd::RowWrapped, s0);
  EXPECT_EQ(s1.TokenKind, token::kComment);
  EXPECT_EQ(s1.Remain, 0);
  s1.RowAttribute = RowEnd::RowWrapped;
  TRowAttributeData s2 = p.NextRowState("te", "more", RowEnd::RowEndsLine, s1);
  EXPECT_EQ(s2.TokenKind, token::kComment);
  s2.RowAttribute = RowEnd::RowEndsLine;
  TRowAttributeData s3 = p.NextRowState("more", "", RowEnd::RowEndsLine, s2);
  EXPECT_EQ(s3.TokenKind, 0);
  EXPECT_EQ(Scan(f, "te", s1), (Tokens{{"te", token::kComment}}));
  EXPECT_EQ(Scan(f, "x", s3), (Tokens{{"x", token::kAnk}}));
}

TEST(EditorParser, BracketSpanOverLines) {
  TEditorFountain f;
  auto item = f.Brackets().Add("(", ")");
  ASSERT_TRUE(item.ok());
  item.value()->ItemColor().SetColor(0x0000FF);
  TEditorParser p(f);
  TRowAttributeData s1 = p.NextRowState("(a", "", RowEnd::RowEndsLine, Initial());
  EXPECT_EQ(s1.BracketIndex, 0);
  std::vector<TTokenRun> runs;
  RowTokenRuns(f, "(a", "", Initial(), runs);
  EXPECT_EQ(runs, (std::vector<TTokenRun>{{0, 2, token::kBracket, 0x0000FF, clNone, {}}}));
  RowTokenRuns(f, "b) c", "", s1, runs);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0], (TTokenRun{0, 2, token::kBracket, 0x0000FF, clNone, {}}));
  EXPECT_EQ(runs[1], (TTokenRun{2, 1, token::kEof, clNone, clNone, {}}));
  EXPECT_EQ(runs[2].kind, token::kAnk);
  EXPECT_EQ(p.NextRowState("b) c", "", RowEnd::RowEndsLine, s1).BracketIndex, kNoBracket);
  // A blank row passes the open span through.
  EXPECT_EQ(p.NextRowState("   ", "", RowEnd::RowEndsLine, s1), s1);
  EXPECT_FALSE(f.StatesRestartAtLineStart());
}

// The tokenizer scanning every row, as it did before rows without an opening bracket byte were
// passed over.
class ScanningEveryRow final : public TEditorParser {
 public:
  using TEditorParser::TEditorParser;

 protected:
  bool OnlyBracketSpansCrossRows() const override { return false; }
};

TEST(EditorParser, RowsPassedOverGiveTheStateAFullScanGives) {
  TEditorFountain f;
  ASSERT_TRUE(f.Brackets().Add("[", "]").ok());
  ASSERT_TRUE(f.Brackets().Add("(*", "*)").ok());
  f.SetCommenter("//");
  f.SetQuotation("'");
  f.SetReserveWordList({"if"});
  // Bytes that start every kind of token, the brackets' bytes, and lead bytes that may end a
  // row alone.
  const std::string pieces[] = {"a", "if",        "1.5e",      " ",       "\t",      "[",
                                "]", "(",         "*",         ")",       "//",      "'",
                                "#", Hex("82A0"), Hex("835D"), Hex("88"), Hex("81"), Hex("B1")};
  TEditorParser fast(f);
  ScanningEveryRow full(f);
  uint32_t seed = 1;
  for (int i = 0; i < 20000; ++i) {
    std::string row;
    for (int n = 0; n < i % 7; ++n) {
      seed = seed * 1103515245u + 12345u;
      row += pieces[(seed >> 16) % std::size(pieces)];
    }
    const TRowAttributeData start = Initial();
    const TRowAttributeData a = fast.NextRowState(row, {}, RowEnd::RowEndsLine, start);
    const TRowAttributeData b = full.NextRowState(row, {}, RowEnd::RowEndsLine, start);
    ASSERT_EQ(a, b) << ::testing::PrintToString(row);
  }
}

TEST(EditorParser, StateOfARemovedBracketPairIsIgnored) {
  TEditorFountain f;
  ASSERT_TRUE(f.Brackets().Add("(", ")").ok());
  TEditorParser p(f);
  TRowAttributeData open = p.NextRowState("(a", "", RowEnd::RowEndsLine, Initial());
  ASSERT_EQ(open.BracketIndex, 0);
  f.Brackets().Clear();  // the rows still hold index 0 until they are recomputed
  EXPECT_EQ(Scan(f, "b)", open), (Tokens{{"b", token::kAnk}, {")", token::kSymbol}}));
  EXPECT_EQ(p.NextRowState("b)", "", RowEnd::RowEndsLine, open).BracketIndex, kNoBracket);
}

TEST(EditorParser, ClosingBracketCutByTheWrap) {
  TEditorFountain f;
  ASSERT_TRUE(f.Brackets().Add("<<", ">>").ok());
  TEditorParser p(f);
  // "<<x>" wraps into ">y": one byte of the closing bracket lies on the next row.
  TRowAttributeData s1 =
      p.NextRowState("<<x>", ">y", RowEnd::RowEndsLine, Initial(RowEnd::RowWrapped));
  EXPECT_EQ(s1.BracketIndex, 0);
  EXPECT_EQ(s1.TokenKind, token::kBracket);
  EXPECT_EQ(s1.Remain, 1);
  s1.RowAttribute = RowEnd::RowEndsLine;
  EXPECT_EQ(Scan(f, ">y", s1), (Tokens{{">", token::kBracket}, {"y", token::kAnk}}));
  TRowAttributeData s2 = p.NextRowState(">y", "", RowEnd::RowEndsLine, s1);
  EXPECT_EQ(s2.BracketIndex, kNoBracket);
  EXPECT_EQ(s2.TokenKind, 0);
  // The whole closing bracket on the next row: the span is open at the boundary, no Remain.
  TRowAttributeData t1 =
      p.NextRowState("<<x", ">>y", RowEnd::RowEndsLine, Initial(RowEnd::RowWrapped));
  EXPECT_EQ(t1.BracketIndex, 0);
  EXPECT_EQ(t1.TokenKind, 0);
}

TEST(EditorParser, WordCutByTheWrapCarriesKindAndRemain) {
  TEditorFountain f;
  f.SetReserveWordList({"hello"});
  TEditorParser p(f);
  TRowAttributeData s1 =
      p.NextRowState("say hel", "lo you", RowEnd::RowEndsLine, Initial(RowEnd::RowWrapped));
  EXPECT_EQ(s1.TokenKind, token::kReserve);  // the whole word is reserved
  EXPECT_EQ(s1.Remain, 2);
  EXPECT_EQ(s1.BracketIndex, kNoBracket);
  EXPECT_EQ(Scan(f, "lo you", s1), (Tokens{{"lo", token::kReserve}, {"you", token::kAnk}}));
  // A token filling the whole next row, which wraps again, continues by its rule.
  TRowAttributeData w1 =
      p.NextRowState("ab", "cd", RowEnd::RowWrapped, Initial(RowEnd::RowWrapped));
  EXPECT_EQ(w1.TokenKind, token::kAnk);
  EXPECT_EQ(w1.Remain, 0);
  // A token that begins exactly at the next row leaves nothing behind.
  TRowAttributeData n1 =
      p.NextRowState("ab ", "cd", RowEnd::RowEndsLine, Initial(RowEnd::RowWrapped));
  EXPECT_EQ(n1, Initial(RowEnd::RowWrapped));
  // A row that is not wrapped never looks at the next row.
  EXPECT_EQ(p.NextRowState("ab", "cd", RowEnd::RowEndsLine, Initial()), Initial());
  EXPECT_TRUE(f.StatesRestartAtLineStart());
}

TEST(EditorParser, NumberCutAfterItsExponentLetterGoesOnWithTheSign) {
  TEditorFountain f;
  TEditorParser p(f);
  // "1e" ends the row; the next row, "+55", is all of the number and wraps again.
  TRowAttributeData s1 =
      p.NextRowState("x 1e", "+55", RowEnd::RowWrapped, Initial(RowEnd::RowWrapped));
  EXPECT_EQ(s1.TokenKind, token::kFloat);
  EXPECT_EQ(s1.Remain, 0);
  s1.RowAttribute = RowEnd::RowEndsLine;
  EXPECT_EQ(Scan(f, "+55", s1), (Tokens{{"+55", token::kFloat}}));
  EXPECT_EQ(Scan(f, "-5 y", s1), (Tokens{{"-5", token::kFloat}, {"y", token::kAnk}}));
}

TEST(EditorParser, QuotedTextOpenAtAWrap) {
  TEditorFountain f;
  f.SetQuotation("'");
  TEditorParser p(f);
  TRowAttributeData s1 =
      p.NextRowState("x 'ab", "c' d", RowEnd::RowEndsLine, Initial(RowEnd::RowWrapped));
  EXPECT_EQ(s1.TokenKind, token::kQuotation);
  EXPECT_EQ(s1.Remain, 0);
  EXPECT_EQ(Scan(f, "c' d", s1), (Tokens{{"c'", token::kQuotation}, {"d", token::kAnk}}));
  // A quote open at a line end does not run into the next line.
  EXPECT_EQ(p.NextRowState("x 'ab", "", RowEnd::RowEndsLine, Initial()).TokenKind, 0);
}

TEST(EditorParser, ColoursOfTokens) {
  TEditorFountain f;
  EXPECT_EQ(f.Colors().Select().BkColor(), clNavy);
  EXPECT_EQ(f.Colors().Select().Color(), clWhite);
  EXPECT_EQ(f.Colors().Ank().Color(), clNone);
  f.Colors().Ank().SetColor(0x111111);
  f.Colors().Int().SetBkColor(0x222222);
  f.Colors().DBCS().SetStyle({TFontStyle::fsBold});
  f.Reserve().SetColor(0x333333);
  EXPECT_EQ(&f.Colors().Reserve(), &f.Reserve());
  f.SetReserveWordList({"if"});
  std::vector<TTokenRun> runs;
  RowTokenRuns(f, std::string("if x 1\t") + Hex("82A0"), "", Initial(), runs);
  ASSERT_EQ(runs.size(), 7u);
  EXPECT_EQ(runs[0], (TTokenRun{0, 2, token::kReserve, 0x333333, clNone, {}}));
  EXPECT_EQ(runs[2], (TTokenRun{3, 1, token::kAnk, 0x111111, clNone, {}}));
  EXPECT_EQ(runs[4], (TTokenRun{5, 1, token::kInteger, clNone, 0x222222, {}}));
  EXPECT_EQ(runs[5], (TTokenRun{6, 1, token::kTab, clNone, clNone, {}}));
  EXPECT_EQ(runs[6], (TTokenRun{7, 2, token::kDBHira, clNone, clNone, {TFontStyle::fsBold}}));
}

struct CountingListener : TFountainListener {
  int changed = 0;
  int removed = 0;
  void FountainChanged(const TFountain&) override { ++changed; }
  void FountainRemoved(const TFountain&) override { ++removed; }
};

TEST(Fountain, NotifiesListenersOfRealChangesOnly) {
  CountingListener l;
  {
    TEditorFountain f;
    f.AddListener(&l);
    f.Colors().Str().SetColor(1);
    f.Colors().Str().SetColor(1);  // same value: no notification
    f.Reserve().SetStyle({TFontStyle::fsItalic});
    f.SetCommenter(";");
    f.SetCommenter(";");
    f.SetUrl(true);
    f.SetReserveWordList({"a"});
    auto item = f.Brackets().Add();
    ASSERT_TRUE(item.ok());
    item.value()->SetLeftBracket("[");
    item.value()->ItemColor().SetBkColor(5);
    EXPECT_EQ(l.changed, 8);
  }
  EXPECT_EQ(l.removed, 1);
}

TEST(Fountain, ABatchOfChangesNotifiesOnceAtItsEnd) {
  CountingListener l;
  TEditorFountain f;
  f.AddListener(&l);
  {
    const UpdateGuard batch(f);
    f.Colors().Str().SetColor(1);
    f.SetCommenter(";");
    {
      const UpdateGuard inner(f);
      f.SetUrl(true);
    }
    EXPECT_EQ(l.changed, 0);
  }
  EXPECT_EQ(l.changed, 1);
  {
    const UpdateGuard batch(f);
    f.SetUrl(true);  // no real change: nothing to tell at the end
  }
  EXPECT_EQ(l.changed, 1);
  f.SetUrl(false);  // outside a batch: told at once
  EXPECT_EQ(l.changed, 2);
  f.RemoveListener(&l);
}

TEST(Fountain, AtMostFourteenBracketPairs) {
  TFountain f;
  for (int i = 0; i < 14; ++i) ASSERT_TRUE(f.Brackets().Add().ok());
  Result<TFountainBracketItem*> r = f.Brackets().Add();
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error().message, "TFountainBracketCollection\r\nYou can not add item over 14");
  EXPECT_EQ(f.Brackets().Count(), 14);
}

}  // namespace
}  // namespace tessary
