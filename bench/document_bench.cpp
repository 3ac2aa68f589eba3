// Document benchmarks: loading 100 MB, rewrapping, single edits, undo and line mapping at 1M rows.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "editor/editor_screen_strings.h"
#include "editor/editor_strings.h"
#include "base/sjis.h"
#include "codec/sjis_line_splitter.h"
#include "codec/text_lines.h"
#include "japanese_text.h"

namespace {

using tessary::TEditorScreenStrings;
using tessary::TEditorStrings;

constexpr size_t kFileBytes = 100u * 1024 * 1024;

// The input: TESSARY_DOC_BENCH_FILE when set (the peer script passes the file it times vim on),
// else a generated 100 MB Shift-JIS text with CR LF line ends.
const std::string& InputFile() {
  static const std::string path = [] {
    if (const char* p = std::getenv("TESSARY_DOC_BENCH_FILE"); p && *p) return std::string(p);
    std::string p = "/tmp/tessary-document-bench.txt";
    std::ifstream probe(p, std::ios::binary | std::ios::ate);
    if (!probe || static_cast<size_t>(probe.tellg()) < kFileBytes) {
      const std::string text = tessary::bench::JapaneseText(kFileBytes, tessary::bench::TextForm::ShiftJis);
      std::ofstream(p, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    return p;
  }();
  return path;
}

struct Loaded {
  TEditorScreenStrings doc;
  TEditorStrings lines{doc};
};

// One loaded document shared by the edit benchmarks, wrapped or not as asked.
Loaded& Document(bool wrap) {
  static std::unique_ptr<Loaded> d;
  if (!d) {
    d = std::make_unique<Loaded>();
    if (!d->lines.LoadFromFile(InputFile())) std::abort();
  }
  d->doc.WrapOption().SetWrapByte(80);
  d->doc.SetWordWrap(wrap);
  return *d;
}

// A row near `from` that is a whole logical line by itself, so that replacing it with its own
// text and a line end gives the same document back, wrapped or not.
int32_t SingleRowLine(const TEditorScreenStrings& doc, int32_t from) {
  using tessary::RowEnd;
  for (int32_t r = from; r + 1 < doc.Count(); ++r) {
    if (doc.GetRowAttribute(r) == RowEnd::RowEndsLine &&
        (r == 0 || doc.GetRowAttribute(r - 1) == RowEnd::RowEndsLine) && doc.GetView(r).size() > 20)
      return r;
  }
  std::abort();
}

// A byte offset near n that does not fall inside a double-byte character.
size_t CharBoundary(std::string_view s, size_t n) {
  size_t i = 0;
  while (i < n && i < s.size()) i += tessary::sjis::IsLeadByte(s[i]) ? 2 : 1;
  return std::min(i, s.size());
}

void BM_LoadFromFile(benchmark::State& state) {
  const std::string& path = InputFile();
  for (auto _ : state) {
    auto d = std::make_unique<Loaded>();
    if (!d->lines.LoadFromFile(path)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(d->doc.Count());
    state.PauseTiming();
    state.counters["lines"] = d->lines.Count();
    d.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kFileBytes));
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond)->Iterations(3);

// Adopting the packed lines another loader produced, and reading all lines back out in order.
void BM_SetTextLines(benchmark::State& state) {
  static const tessary::TextLines packed = [] {
    std::ifstream in(InputFile(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return tessary::SplitSjisBytes(bytes);
  }();
  for (auto _ : state) {
    auto d = std::make_unique<Loaded>();
    d->doc.SetTextLines(packed);
    benchmark::DoNotOptimize(d->doc.Count());
    state.PauseTiming();
    d.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SetTextLines)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ForEachLine(benchmark::State& state) {
  Loaded& d = Document(state.range(0) != 0);
  for (auto _ : state) {
    size_t bytes = 0;
    d.doc.ForEachLine([&](std::string_view line, bool) { bytes += line.size(); });
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BM_ForEachLine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RewrapAll80(benchmark::State& state) {
  Loaded& d = Document(false);
  for (auto _ : state) {
    d.doc.SetWordWrap(true);  // RewrapAll, then the states of the first screens
    state.PauseTiming();
    state.counters["rows"] = d.doc.Count();
    d.doc.SetWordWrap(false);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RewrapAll80)->Unit(benchmark::kMillisecond)->Iterations(3);

// Typing a character in the middle of the document, and deleting it again, alternately.
void BM_TypeCharacterInTheMiddle(benchmark::State& state) {
  Loaded& d = Document(state.range(0) != 0);
  const int32_t row = SingleRowLine(d.doc, d.doc.Count() / 2);
  const std::string base = d.doc.Get(row);
  const size_t at = CharBoundary(base, 10);
  const std::string typed = base.substr(0, at) + "x" + base.substr(at) + "\r\n";
  const std::string plain = base + "\r\n";
  bool on = false;
  for (auto _ : state) {
    on = !on;
    d.doc.ReplaceRows(row, 1, on ? typed : plain);
  }
  if (on) d.doc.ReplaceRows(row, 1, plain);
  state.counters["rows"] = d.doc.Count();
}
BENCHMARK(BM_TypeCharacterInTheMiddle)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Enter in the middle of a line (two rows appear), and joining them again, alternately.
void BM_InsertLineEndInTheMiddle(benchmark::State& state) {
  Loaded& d = Document(state.range(0) != 0);
  const int32_t row = SingleRowLine(d.doc, d.doc.Count() / 2 + 10);
  const std::string base = d.doc.Get(row);
  const size_t at = CharBoundary(base, 10);
  const std::string split = base.substr(0, at) + "\r\n" + base.substr(at) + "\r\n";
  const std::string joined = base + "\r\n";
  bool on = false;
  for (auto _ : state) {
    on = !on;
    if (on)
      d.doc.ReplaceRows(row, 1, split);
    else
      d.doc.ReplaceRows(row, 2, joined);
  }
  if (on) d.doc.ReplaceRows(row, 2, joined);
}
BENCHMARK(BM_InsertLineEndInTheMiddle)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Undo of an inserted line end; each undo is followed by an untimed redo.
void BM_UndoLineEnd(benchmark::State& state) {
  Loaded& d = Document(state.range(0) != 0);
  const int32_t row = SingleRowLine(d.doc, d.doc.Count() / 2 + 20);
  const std::string base = d.doc.Get(row);
  const size_t at = CharBoundary(base, 10);
  d.doc.ReplaceRows(row, 1, base.substr(0, at) + "\r\n" + base.substr(at) + "\r\n");
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    d.doc.Undo();
    const auto t1 = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    d.doc.Redo();
  }
  d.doc.Undo();
}
BENCHMARK(BM_UndoLineEnd)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

// RowToLine and LineToRow near the end with wrap on, each right after an edit near the start
// (so the lazily kept line index has to catch up), the edit untimed.
void BM_RowToLineNearTheEndAfterAnEdit(benchmark::State& state) {
  Loaded& d = Document(true);
  const int32_t edited = SingleRowLine(d.doc, 5);
  const std::string base = d.doc.Get(edited);
  bool on = false;
  int64_t sink = 0;
  for (auto _ : state) {
    on = !on;
    d.doc.ReplaceRows(edited, 1, (on ? base + "y" : base) + "\r\n");
    const int32_t row = d.doc.Count() - 7;
    const auto t0 = std::chrono::steady_clock::now();
    sink += d.doc.RowToLine(row);
    const auto t1 = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
  }
  if (on) d.doc.ReplaceRows(edited, 1, base + "\r\n");
  benchmark::DoNotOptimize(sink);
}
BENCHMARK(BM_RowToLineNearTheEndAfterAnEdit)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_LineToRowNearTheEndAfterAnEdit(benchmark::State& state) {
  Loaded& d = Document(true);
  const int32_t line = d.lines.Count() - 7;  // the edits below keep the line count
  const int32_t edited = SingleRowLine(d.doc, 5);
  const std::string base = d.doc.Get(edited);
  bool on = false;
  int64_t sink = 0;
  for (auto _ : state) {
    on = !on;
    d.doc.ReplaceRows(edited, 1, (on ? base + "y" : base) + "\r\n");
    const auto t0 = std::chrono::steady_clock::now();
    sink += d.doc.LineToRow(line);
    const auto t1 = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
  }
  if (on) d.doc.ReplaceRows(edited, 1, base + "\r\n");
  benchmark::DoNotOptimize(sink);
}
BENCHMARK(BM_LineToRowNearTheEndAfterAnEdit)->UseManualTime()->Unit(benchmark::kMicrosecond);

// `document_bench --load-only FILE`: one load, then the time and peak memory, for the script.
int LoadOnly(const char* path) {
  const auto t0 = std::chrono::steady_clock::now();
  Loaded d;
  if (!d.lines.LoadFromFile(path)) return 1;
  const auto t1 = std::chrono::steady_clock::now();
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  std::printf("lines %d rows %d seconds %.3f peak_kb %ld\n", d.lines.Count(), d.doc.Count(),
              std::chrono::duration<double>(t1 - t0).count(), ru.ru_maxrss);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--load-only") == 0) return LoadOnly(argv[2]);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
