// Throughput of the whole character-code detection over 100 MB in memory.
#include <benchmark/benchmark.h>

#include "codec/char_code_detector.h"
#include "japanese_text.h"

namespace {

constexpr size_t kSize = 100u << 20;

const std::string& Text(tessary::bench::TextForm form) {
  static const std::string sjis =
      tessary::bench::JapaneseText(kSize, tessary::bench::TextForm::ShiftJis);
  static const std::string utf8 =
      tessary::bench::JapaneseText(kSize, tessary::bench::TextForm::Utf8);
  return form == tessary::bench::TextForm::ShiftJis ? sjis : utf8;
}

void Detect(benchmark::State& state, tessary::bench::TextForm form) {
  const std::string& text = Text(form);
  for (auto _ : state) {
    tessary::Detection d = tessary::DetectCharCode(text);
    benchmark::DoNotOptimize(d);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_DetectShiftJis(benchmark::State& s) {
  Detect(s, tessary::bench::TextForm::ShiftJis);
}
void BM_DetectUtf8(benchmark::State& s) {
  Detect(s, tessary::bench::TextForm::Utf8);
}

// Worst case for the pattern scan: no kana anywhere, every byte examined.
void BM_DetectAscii(benchmark::State& state) {
  static const std::string ascii = [] {
    std::string s;
    while (s.size() < kSize) s += "The quick brown fox jumps over the lazy dog 0123456789.\r\n";
    return s;
  }();
  for (auto _ : state) benchmark::DoNotOptimize(tessary::DetectCharCode(ascii));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * ascii.size()));
}

}  // namespace

BENCHMARK(BM_DetectShiftJis)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectAscii)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
