// The colouring tokenizer over wrapped rows: tokens in the text, runs tile rows, pure states.
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "editor/editor_parser.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_rows.h"

namespace tessary::fuzz {
namespace {

struct BracketPair {
  const char* left;
  const char* right;
};
// One and two bytes, no right bracket, equal brackets, double-byte ones, a lone lead, blanks.
constexpr BracketPair kBrackets[] = {{"(", ")"},    {"<<", ">>"}, {"/*", "*/"},
                                     {"[", ""},     {"\"", "\""}, {"\x81\x75", "\x81\x76"},
                                     {"#", "\x82"}, {" ", "  "}};
constexpr const char* kCommenters[] = {"", "//", ";", "\x81\x94"};
constexpr const char* kQuotations[] = {"", "\"", "'", "\x82"};
constexpr const char* kHexPrefixes[] = {"", "0x", "$", "&H"};

// rules: mail, URL, control codes, commenter (2 bits), quotation (2 bits), reserved words;
// extra: hex prefix (2 bits), then the wrap rules (4 bits); brackets: one bit per pair.
void Configure(TEditorFountain& f, uint8_t rules, uint8_t extra, uint8_t brackets) {
  f.SetMail(rules & 0x01);
  f.SetUrl(rules & 0x02);
  f.SetControlCode(rules & 0x04);
  f.SetCommenter(kCommenters[(rules >> 3) & 3]);
  f.SetQuotation(kQuotations[(rules >> 5) & 3]);
  if (rules & 0x80) f.SetReserveWordList({"if", "END", "\x82\xA0", "http", "0x1"});
  f.SetHexPrefix(kHexPrefixes[extra & 3]);
  for (size_t i = 0; i < std::size(kBrackets); ++i)
    if (brackets & (1u << i))
      Check(f.Brackets().Add(kBrackets[i].left, kBrackets[i].right).ok(), "room for the pair");
}

// Every token lies inside the row and its appended text, after the one before it.
void CheckTokens(const TEditorFountain& f, std::string_view row, std::string_view appended,
                 const TRowAttributeData& state) {
  std::unique_ptr<TFountainParser> p = f.CreateParser();
  p->Start(row, appended, state);
  const auto total = static_cast<int64_t>(row.size() + appended.size());
  int64_t end = 0;
  for (int64_t steps = 0; p->NextToken() != token::kEof; ++steps) {
    Check(steps <= total, "every token takes at least one byte");
    Check(p->TokenStart() >= end && p->TokenEnd() > p->TokenStart(), "tokens move forward");
    Check(p->TokenEnd() <= total, "tokens stay inside the text");
    const size_t bytes = p->TokenHead().size() + p->TokenTail().size();
    Check(static_cast<int64_t>(bytes) == p->TokenEnd() - p->TokenStart(), "token bytes");
    end = p->TokenEnd();
  }
}

// The drawn runs of a row cover it from its first byte to its last, in order.
void CheckRuns(const TEditorFountain& f, std::string_view row, std::string_view next,
               const TRowAttributeData& state) {
  std::vector<TTokenRun> runs;
  RowTokenRuns(f, row, next, state, runs);
  int32_t at = 0;
  for (const TTokenRun& run : runs) {
    Check(run.start == at && run.length >= 0, "runs tile the row");
    at += run.length;
  }
  Check(at == static_cast<int32_t>(row.size()), "runs cover the row");
}

// The tokenizer scanning every row, without passing over rows that open no bracket span.
class ScanningEveryRow final : public TEditorParser {
 public:
  using TEditorParser::TEditorParser;

 protected:
  bool OnlyBracketSpansCrossRows() const override { return false; }
};

void CheckPassedOverRow(const TEditorFountain& f, std::string_view row, std::string_view next,
                        RowEnd nextEnd, const TRowAttributeData& state,
                        const TRowAttributeData& after) {
  ScanningEveryRow full(f);
  Check(full.NextRowState(row, next, nextEnd, state) == after,
        "a row passed over gives the state a full scan gives");
}

void CheckState(const TEditorFountain& f, const TRowAttributeData& s) {
  Check(s.Remain >= 0, "a carried token has bytes left, never fewer than none");
  Check(s.BracketIndex >= kNoBracket && s.BracketIndex < f.Brackets().Count(), "open pair");
}

}  // namespace
}  // namespace tessary::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessary;
  using namespace tessary::fuzz;
  FuzzInput in(data, size);
  TEditorFountain f;
  const uint8_t rules = in.Byte(), extra = in.Byte(), brackets = in.Byte();
  Configure(f, rules, extra, brackets);
  // Narrow rows cut many tokens; the wrap rules come from the spare bits.
  const uint8_t width = in.Byte();
  const TextWrapper wrapper = WrapperFrom(0x01 | ((extra & 0x3C) >> 1), width, 4);
  const std::vector<Row> rows = WrapRows(wrapper, in.Rest());
  const TFountainRowStateTokenizer reused(f);
  TRowAttributeData state;
  for (size_t n = 0; n < rows.size(); ++n) {
    state.RowAttribute = rows[n].end;
    state.PrevRowAttribute = n > 0 ? rows[n - 1].end : RowEnd::RowEndsLine;
    const bool wrapped = rows[n].end == RowEnd::RowWrapped && n + 1 < rows.size();
    const std::string_view next = wrapped ? std::string_view(rows[n + 1].text) : std::string_view();
    const RowEnd nextEnd = wrapped ? rows[n + 1].end : RowEnd::RowEndsLine;
    CheckTokens(f, rows[n].text, next, state);
    CheckRuns(f, rows[n].text, next, state);
    const TRowAttributeData after = reused.NextWrappedRowState(rows[n].text, next, nextEnd, state);
    const TRowAttributeData fresh =
        TFountainRowStateTokenizer(f).NextWrappedRowState(rows[n].text, next, nextEnd, state);
    Check(after == fresh, "a reused tokenizer gives what a new one gives");
    CheckPassedOverRow(f, rows[n].text, next, nextEnd, state, after);
    CheckState(f, after);
    state = after;
  }
  return 0;
}
