// Selection conversions of a whole 100 MB wrapped document: time, undo, redo and peak memory.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>

#include "commands/text_conversions.h"
#include "editor/editor_control.h"
#include "japanese_text.h"
#include "peak_memory.h"

namespace {

using tessary::EditorControl;
using tessary::TextConversion;

constexpr size_t kTextBytes = 100u * 1024 * 1024;  // what bench_write_text sjis 100 writes

// TESSARY_CONVERSION_BENCH_FILE when set, else the generated Shift-JIS text.
std::string InputText() {
  if (const char* p = std::getenv("TESSARY_CONVERSION_BENCH_FILE"); p && *p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  return tessary::bench::JapaneseText(kTextBytes, tessary::bench::TextForm::ShiftJis);
}

// The wrapped document, as the control benchmarks set it up; the input text is freed once
// loaded so that it does not count in the memory figures.
EditorControl& Control() {
  static std::unique_ptr<EditorControl> c;
  if (!c) {
    c = std::make_unique<EditorControl>();
    c->SetVisibleSize(40, 100);
    c->Document().WrapOption().SetWrapByte(80);
    c->SetWordWrap(true);
    c->Lines().SetTextStr(InputText());
  }
  return *c;
}

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point t) {
  return std::chrono::duration<double>(Clock::now() - t).count();
}

// CPU seconds of this process: on a machine shared with other work the wall time also counts
// the waiting for a core.
double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Runs f and returns its wall seconds, adding its CPU seconds to cpu_s; peak_x receives the
// process's peak resident memory during f as a multiple of the document's bytes, grow_x the part of
// it above what was resident before.
template <class F>
double Measured(F&& f, double doc_bytes, double& cpu_s, double& peak_x, double& grow_x) {
  const int64_t before = tessary::bench::ResetPeak();
  const double cpu = CpuSeconds();
  const auto t = Clock::now();
  f();
  const double s = SecondsSince(t);
  cpu_s += CpuSeconds() - cpu;
  const int64_t peak = tessary::bench::PeakSinceReset();
  peak_x = std::max(peak_x, static_cast<double>(peak) / doc_bytes);
  grow_x = std::max(grow_x, static_cast<double>(peak - before) / doc_bytes);
  return s;
}

// One conversion of a selection of the whole text (manual time), then its undo and redo
// (counters, seconds each), then an undo again that restores the text for the next iteration.
void BM_ConvertWholeDocument(benchmark::State& state) {
  EditorControl& c = Control();
  const auto conversion = static_cast<TextConversion>(state.range(0));
  const auto converter = [conversion](std::string_view piece, std::string& out) {
    tessary::AppendConverted(conversion, piece, 4, out);
  };
  const double doc_bytes = static_cast<double>(c.TextLength());
  double undo_s = 0, redo_s = 0, cpu_s = 0, undo_cpu_s = 0, redo_cpu_s = 0;
  double peak_x = 0, grow_x = 0, undo_peak_x = 0, undo_grow_x = 0;
  int32_t rows_after = 0;
  for (auto _ : state) {
    c.Document().UndoObj().ClearUndo();
    c.SelectAll();
    const double convert_s = Measured(
        [&] {
          if (c.ConvertSelection(converter) != EditorControl::ConvertOutcome::Converted)
            std::abort();
        },
        doc_bytes, cpu_s, peak_x, grow_x);
    rows_after = c.RowCount();
    undo_s += Measured([&] { c.Undo(); }, doc_bytes, undo_cpu_s, undo_peak_x, undo_grow_x);
    redo_s += Measured([&] { c.Redo(); }, doc_bytes, redo_cpu_s, undo_peak_x, undo_grow_x);
    c.Undo();
    state.SetIterationTime(convert_s);
  }
  c.Document().UndoObj().ClearUndo();
  const auto n = static_cast<double>(state.iterations());
  state.counters["cpu_s"] = cpu_s / n;
  state.counters["undo_cpu_s"] = undo_cpu_s / n;
  state.counters["redo_cpu_s"] = redo_cpu_s / n;
  state.counters["undo_s"] = undo_s / n;
  state.counters["redo_s"] = redo_s / n;
  state.counters["peak_x"] = peak_x;
  state.counters["grow_x"] = grow_x;
  state.counters["undo_peak_x"] = undo_peak_x;
  state.counters["undo_grow_x"] = undo_grow_x;
  state.counters["rows"] = rows_after;
  state.counters["doc_MB"] = doc_bytes / 1048576;
}
BENCHMARK(BM_ConvertWholeDocument)
    ->ArgName("conversion")
    ->DenseRange(0, 4)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The conversion routines alone over the same text, line by line into one reused buffer: how
// much of a conversion's time is the routine and how much the rows around it.
void BM_ConvertLinesOnly(benchmark::State& state) {
  EditorControl& c = Control();
  const auto conversion = static_cast<TextConversion>(state.range(0));
  std::string out;
  int64_t bytes = 0;
  for (auto _ : state) {
    c.Document().ForEachLine([&](std::string_view line, bool) {
      out.clear();
      tessary::AppendConverted(conversion, line, 4, out);
      bytes += static_cast<int64_t>(line.size());
    });
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ConvertLinesOnly)
    ->ArgName("conversion")
    ->DenseRange(0, 4)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
