// Row colouring states in the document: incremental re-colouring and lazy states agree with a
// full recompute; token starts for word-wise motion.
#include "editor/editor_row_states.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "editor/editor_parser.h"
#include "editor/editor_screen_strings.h"
#include "editor/editor_strings.h"
#include "editor/fountain_token_starts.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;

// The state of every row computed from row 0, straight from the tokenizer.
std::vector<TRowAttributeData> FullRecompute(const TEditorScreenStrings& doc, const RowStateTokenizer& tok) {
  std::vector<TRowAttributeData> out;
  TRowAttributeData state;
  for (int32_t n = 0; n < doc.Count(); ++n) {
    state.RowAttribute = doc.GetRowAttribute(n);
    state.PrevRowAttribute = n > 0 ? doc.GetRowAttribute(n - 1) : RowEnd::RowEndsLine;
    out.push_back(state);
    state = state.RowAttribute == RowEnd::RowWrapped && n + 1 < doc.Count()
                ? tok.NextWrappedRowState(doc.GetView(n), doc.GetView(n + 1), doc.GetRowAttribute(n + 1), state)
                : tok.NextRowState(doc.GetView(n), state);
  }
  return out;
}

std::string RandomText(std::mt19937& rng) {
  static const std::vector<std::string> pieces = {
      "word", " ", "(", ")", "//", "\"", "12.5", "x", "\r\n", "\r\n", Hex("82A0 82A2"), Hex("8341 8342"),
      Hex("889F"), "if", "IF", "ab_c", "\t", "@", ".", "www.a.jp"};
  std::string s;
  int n = 1 + static_cast<int>(rng() % 12);
  for (int i = 0; i < n; ++i) s += pieces[rng() % pieces.size()];
  return s;
}

struct StatesTest : ::testing::TestWithParam<bool> {
  TEditorFountain fountain;
  TEditorScreenStrings doc;
  TEditorStrings lines{doc};
  std::shared_ptr<TFountainRowStateTokenizer> tok = std::make_shared<TFountainRowStateTokenizer>(fountain);

  void SetUp() override {
    fountain.SetCommenter("//");
    fountain.SetQuotation("\"");
    fountain.SetUrl(true);
    fountain.SetMail(true);
    fountain.SetReserveWordList({"if", "word"});
    if (GetParam()) {
      ASSERT_TRUE(fountain.Brackets().Add("(", ")").ok());
    }
    doc.SetTokenizer(tok);
    doc.SetWordWrap(true);
    doc.WrapOption().SetWrapByte(20);
  }
};

TEST_P(StatesTest, RandomEditsKeepStoredAndLazyStatesEqualToAFullRecompute) {
  std::mt19937 rng(GetParam() ? 11 : 12);
  std::string text;
  for (int i = 0; i < 150; ++i) text += RandomText(rng);
  lines.SetTextStr(text);
  for (int edit = 0; edit < 150; ++edit) {
    const int32_t count = doc.Count();
    int32_t start = count == 0 ? 0 : static_cast<int32_t>(rng() % (count + 1));
    int32_t remove = start == count ? 0 : static_cast<int32_t>(rng() % std::min(3, count - start + 1));
    std::string insert = RandomText(rng);
    doc.ReplaceRows(start, remove, insert);
    const std::vector<TRowAttributeData> full = FullRecompute(doc, *tok);
    int valid = 0;
    for (int32_t n = 0; n < doc.Count(); ++n) {
      if (doc.GetBracketIndex(n) != kInvalidState) {
        ASSERT_EQ(doc.GetRowState(n), full[n]) << "edit " << edit << " row " << n;
        ++valid;
      }
      ASSERT_EQ(RowStartState(doc, n), full[n]) << "edit " << edit << " row " << n;
    }
    ASSERT_GT(valid, 0);
  }
  // Storing the lazy states keeps them equal, and a full store leaves no invalid row.
  StoreRowStatesUpTo(doc, doc.Count() - 1);
  const std::vector<TRowAttributeData> full = FullRecompute(doc, *tok);
  for (int32_t n = 0; n < doc.Count(); ++n) ASSERT_EQ(doc.GetRowState(n), full[n]) << n;
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutBrackets, StatesTest, ::testing::Bool());

TEST(RowStates, WithoutSpanningPartsTheStateOfAFarRowNeedsOnlyItsLine) {
  TEditorFountain fountain;  // no brackets: nothing crosses a line end
  TEditorScreenStrings doc;
  TEditorStrings lines{doc};
  auto tok = std::make_shared<TFountainRowStateTokenizer>(fountain);
  doc.SetTokenizer(tok);
  ASSERT_TRUE(tok->StatesRestartAtLineStart());
  doc.SetWordWrap(true);
  doc.WrapOption().SetWrapByte(20);
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "short line\r\n";
  text += std::string(15, ' ') + "abcdefghijklmnopqrstuvwxyz\r\n";  // wraps inside the word
  lines.SetTextStr(text);
  const int32_t last = doc.Count() - 1;
  ASSERT_EQ(doc.GetBracketIndex(last), kInvalidState);
  TRowAttributeData s = RowStartState(doc, last);
  EXPECT_EQ(s, FullRecompute(doc, *tok)[last]);
  EXPECT_EQ(s.TokenKind, token::kAnk);  // the word cut by the wrap
  EXPECT_GT(s.Remain, 0);
  EXPECT_EQ(s.PrevRowAttribute, RowEnd::RowWrapped);
  EXPECT_EQ(doc.GetBracketIndex(last), kInvalidState);  // nothing was stored
  // Adding a bracket pair makes states span lines again.
  ASSERT_TRUE(fountain.Brackets().Add("(", ")").ok());
  EXPECT_FALSE(tok->StatesRestartAtLineStart());
}

TEST(RowStates, TokenStartsForWordMotion) {
  TEditorFountain fountain;
  TFountainTokenStarts starts(fountain);
  std::vector<int32_t> out;
  starts.TokenStartsOf("ab  12.5+" + Hex("82A0 82A2 8341"), TRowAttributeData{}, out);
  EXPECT_EQ(out, (std::vector<int32_t>{4, 8, 9, 13}));
  // A word continued from the row before does not begin in this row.
  TRowAttributeData cont;
  cont.TokenKind = token::kAnk;
  cont.Remain = 2;
  out.clear();
  starts.TokenStartsOf("cd ef", cont, out);
  EXPECT_EQ(out, (std::vector<int32_t>{3}));
}

}  // namespace
}  // namespace tessary
