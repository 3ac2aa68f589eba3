// Search throughput over 100 MB of Japanese text for words that are not there.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "editor/editor_parser.h"
#include "editor/editor_row_states.h"
#include "editor/editor_screen_strings.h"
#include "editor/editor_search.h"
#include "editor/editor_strings.h"
#include "editor/find_in_text.h"
#include "japanese_text.h"

namespace {

namespace opt = tessary::search_option;
constexpr size_t kSize = 100u << 20;

const std::string& Text() {
  static const std::string text =
      tessary::bench::JapaneseText(kSize, tessary::bench::TextForm::ShiftJis);
  return text;
}

// "存在しない" in Shift-JIS, and an ASCII word longer than any word of the text.
const std::string kJapaneseWord = "\x91\xB6\x8D\xDD\x82\xB5\x82\xC8\x82\xA2";
const std::string kAsciiWord = "Tessary";

void Find(benchmark::State& state, const std::string& word, tessary::TSearchOptions options) {
  const std::string& text = Text();
  tessary::TSearchPattern pattern(word,
                                  static_cast<tessary::TSearchOptions>(options | opt::kForward));
  for (auto _ : state) {
    auto found = pattern.Find(text, 0, 0);
    if (found) state.SkipWithError("the word is in the text");
    benchmark::DoNotOptimize(found);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_FindJapaneseDefault(benchmark::State& s) {
  Find(s, kJapaneseWord, 0);
}
void BM_FindAsciiDefault(benchmark::State& s) {
  Find(s, kAsciiWord, 0);
}
void BM_FindJapaneseMatchCase(benchmark::State& s) {
  Find(s, kJapaneseWord, opt::kMatchCase);
}
void BM_FindJapaneseWidthBreaksBlanks(benchmark::State& s) {
  Find(s, kJapaneseWord, opt::kFullHalf | opt::kSkipLineBreaks | opt::kSkipBlanks);
}
void BM_FindAsciiWidthBreaksBlanks(benchmark::State& s) {
  Find(s, kAsciiWord, opt::kFullHalf | opt::kSkipLineBreaks | opt::kSkipBlanks);
}
void BM_FindJapaneseWholeWord(benchmark::State& s) {
  Find(s, kJapaneseWord, opt::kWholeWord);
}

BENCHMARK(BM_FindJapaneseDefault)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAsciiDefault)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindJapaneseMatchCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindJapaneseWidthBreaksBlanks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAsciiWidthBreaksBlanks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindJapaneseWholeWord)->Unit(benchmark::kMillisecond);

// The whole Search over a 100 MB document of rows (chunks of about 8 KB with one row of overlap).
const tessary::TEditorScreenStrings& Document() {
  static const auto doc = [] {
    auto d = std::make_unique<tessary::TEditorScreenStrings>();
    tessary::TEditorStrings lines(*d);
    lines.SetTextStr(Text());
    return d;
  }();
  return *doc;
}

// Forward from the start, or backward (options without kForward) from the row after the last.
void SearchDocument(benchmark::State& state, tessary::TSearchOptions options) {
  const tessary::TEditorScreenStrings& doc = Document();
  tessary::TScreenStringsSearchRows rows(doc);
  tessary::TSearchCaret caret;
  if ((options & opt::kForward) == 0) caret.caret = {doc.Count(), 0};
  for (auto _ : state) {
    auto hit = tessary::Search(rows, caret, kJapaneseWord, options);
    if (hit) state.SkipWithError("the word is in the text");
    benchmark::DoNotOptimize(hit);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
}

void BM_SearchDocumentDefault(benchmark::State& s) {
  SearchDocument(s, opt::kForward);
}
void BM_SearchDocumentWidthBreaksBlanks(benchmark::State& s) {
  SearchDocument(s, opt::kForward | opt::kFullHalf | opt::kSkipLineBreaks | opt::kSkipBlanks);
}
void BM_SearchDocumentBackward(benchmark::State& s) {
  SearchDocument(s, 0);
}
BENCHMARK(BM_SearchDocumentDefault)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchDocumentBackward)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchDocumentWidthBreaksBlanks)->Unit(benchmark::kMillisecond);

// After a jump to the end of a million-row wrapped document coloured by the main window's kind
// of scheme (nothing spans lines), the states of the 50 visible rows: the first lazily, the
// rest row by row as drawing does.
void BM_VisibleStatesAfterJumpToEnd(benchmark::State& state) {
  static tessary::TEditorFountain fountain;
  static const auto doc = [] {
    fountain.SetReserveWordList({"if", "then"});
    auto d = std::make_unique<tessary::TEditorScreenStrings>();
    d->SetTokenizer(std::make_shared<tessary::TFountainRowStateTokenizer>(fountain));
    d->SetWordWrap(true);
    d->WrapOption().SetWrapByte(80);
    tessary::TEditorStrings lines(*d);
    std::string text = tessary::bench::JapaneseText(60u << 20, tessary::bench::TextForm::ShiftJis);
    lines.SetTextStr(text);
    return d;
  }();
  const int32_t first = doc->Count() - 50;
  for (auto _ : state) {
    tessary::TRowAttributeData s = tessary::RowStartState(*doc, first);
    for (int32_t n = first; n + 1 < doc->Count(); ++n) {
      s = doc->NextStateAfter(n, s);
      s.RowAttribute = doc->GetRowAttribute(n + 1);
    }
    benchmark::DoNotOptimize(s);
  }
  state.SetLabel(std::to_string(doc->Count()) + " rows");
}
BENCHMARK(BM_VisibleStatesAfterJumpToEnd)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
