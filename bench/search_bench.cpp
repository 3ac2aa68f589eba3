// Search throughput over 100 MB of Japanese text for words that are not there.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

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
  tessary::TSearchPattern pattern(word, static_cast<tessary::TSearchOptions>(options | opt::kForward));
  for (auto _ : state) {
    auto found = pattern.Find(text, 0, 0);
    if (found) state.SkipWithError("the word is in the text");
    benchmark::DoNotOptimize(found);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_FindJapaneseDefault(benchmark::State& s) { Find(s, kJapaneseWord, 0); }
void BM_FindAsciiDefault(benchmark::State& s) { Find(s, kAsciiWord, 0); }
void BM_FindJapaneseMatchCase(benchmark::State& s) { Find(s, kJapaneseWord, opt::kMatchCase); }
void BM_FindJapaneseWidthBreaksBlanks(benchmark::State& s) {
  Find(s, kJapaneseWord, opt::kFullHalf | opt::kSkipLineBreaks | opt::kSkipBlanks);
}
void BM_FindAsciiWidthBreaksBlanks(benchmark::State& s) {
  Find(s, kAsciiWord, opt::kFullHalf | opt::kSkipLineBreaks | opt::kSkipBlanks);
}
void BM_FindJapaneseWholeWord(benchmark::State& s) { Find(s, kJapaneseWord, opt::kWholeWord); }

BENCHMARK(BM_FindJapaneseDefault)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAsciiDefault)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindJapaneseMatchCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindJapaneseWidthBreaksBlanks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAsciiWidthBreaksBlanks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindJapaneseWholeWord)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
