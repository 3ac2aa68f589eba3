// Find and replace benchmarks: replace all of a frequent ASCII word in 100 MB of Japanese text
// as the editor's command does (and its undo and redo), the find command's loop of forward
// searches over every hit, and F3 (the main window's "find next") on a million wrapped rows.
//
//   find_replace_bench [benchmark flags]       Google Benchmark
//   find_replace_bench --replace-once FILE WORD REPLACEMENT
//       loads FILE as the window does, replaces all (match case) from the start, undoes and
//       redoes it once, and prints "KEY VALUE" lines: seconds of each step, the count, the file
//       size and the peak resident set (getrusage) after each step.
//
// TESSARY_FIND_BENCH_FILE names the 100 MB text (the peer script passes the file it gives vim);
// else the text is generated with "editor" as one ASCII word in 8.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "codec/document_loader.h"
#include "codec/sjis_text.h"
#include "commands/find_replace.h"
#include "editor/editor_control.h"
#include "editor/editor_control_search.h"
#include "editor/editor_search.h"
#include "japanese_text.h"
#include "platform/app_home.h"
#include "platform/messages.h"

namespace {

using tessary::EditorControl;
namespace opt = tessary::search_option;

constexpr size_t kReplaceBytes = 100u << 20;
constexpr size_t kRowsBytes = 64u << 20;  // about 1.1 million rows wrapped at 80
const std::string kWord = "editor";
const std::string kReplacement = "EDITOR";
constexpr tessary::TSearchOptions kReplaceOptions = opt::kForward | opt::kMatchCase;

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// CPU seconds of the process: on a loaded machine the wall clock also counts the waits.
double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Wall and CPU seconds since a start.
struct Stopwatch {
  std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
  double cpu = CpuSeconds();
  void Print(const char* key) const {
    std::printf("%s_s %.4f\n%s_cpu_s %.4f\n", key, Seconds(wall), key, CpuSeconds() - cpu);
  }
};

long PeakKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Loads the file as the window does (unwrapped: the window takes a large text in unwrapped).
bool LoadFile(EditorControl& c, const std::string& path) {
  auto loaded =
      tessary::LoadDocumentFile(path, tessary::CharCode::Auto, tessary::WorkingFiles::Skip());
  if (!loaded) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), loaded.error().message.c_str());
    return false;
  }
  c.Lines().SetTextLines(loaded.value().lines);
  return true;
}

// The 100 MB document of the replace benchmarks, unwrapped.
EditorControl& ReplaceControl() {
  static std::unique_ptr<EditorControl> c;
  if (!c) {
    c = std::make_unique<EditorControl>();
    c->SetVisibleSize(40, 100);
    const char* p = std::getenv("TESSARY_FIND_BENCH_FILE");
    if (p && *p) {
      if (!LoadFile(*c, p)) std::abort();
    } else {
      c->Lines().SetTextStr(tessary::bench::JapaneseText(
          kReplaceBytes, tessary::bench::TextForm::ShiftJis, 42, kWord, 8));
    }
  }
  return *c;
}

int64_t ReplaceFromStart(EditorControl& c) {
  c.CancelSelection();
  c.SetCaret(0, 0);
  return tessary::ReplaceAll(c, kWord, kReplaceOptions, kReplacement);
}

void BM_ReplaceAll(benchmark::State& state) {
  EditorControl& c = ReplaceControl();
  int64_t count = 0;
  for (auto _ : state) {
    count = ReplaceFromStart(c);
    state.PauseTiming();
    c.Undo();
    state.ResumeTiming();
  }
  state.counters["replaced"] = static_cast<double>(count);
  state.counters["rows"] = c.RowCount();
}
BENCHMARK(BM_ReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_UndoReplaceAll(benchmark::State& state) {
  EditorControl& c = ReplaceControl();
  for (auto _ : state) {
    state.PauseTiming();
    ReplaceFromStart(c);
    state.ResumeTiming();
    c.Undo();
  }
}
BENCHMARK(BM_UndoReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RedoReplaceAll(benchmark::State& state) {
  EditorControl& c = ReplaceControl();
  for (auto _ : state) {
    state.PauseTiming();
    ReplaceFromStart(c);
    c.Undo();
    state.ResumeTiming();
    c.Redo();
    state.PauseTiming();
    c.Undo();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RedoReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(3);

// Every "editor" of the document from the start, each shown as a hit (hsDraw): arg 0 calls
// Search on the control again and again with the word (the pattern prepared at each search),
// arg 1 with a pattern prepared once, arg 2 walks the same hits in one pass (ForEachSearchHit,
// what tessary-cli find does now).
void BM_FindEveryHit(benchmark::State& state) {
  EditorControl& c = ReplaceControl();
  c.SetHitStyle(tessary::TEditorHitStyle::hsDraw);
  const tessary::TSearchPattern pattern(kWord, kReplaceOptions);
  const tessary::TScreenStringsSearchRows rows(c.Document());
  int64_t hits = 0;
  for (auto _ : state) {
    c.CancelSelection();
    c.SetCaret(0, 0);
    hits = 0;
    if (state.range(0) == 2) {
      tessary::ForEachSearchHit(rows, pattern, tessary::TSearchStart{{0, 0}, 0},
                                tessary::TEditorHitStyle::hsDraw,
                                [&](const tessary::TSearchHit&) { return ++hits > 0; });
    } else if (state.range(0) == 1) {
      while (tessary::Search(c, pattern)) ++hits;
    } else {
      while (tessary::Search(c, kWord, kReplaceOptions)) ++hits;
    }
  }
  c.CancelSelection();
  c.SetHitStyle(tessary::TEditorHitStyle::hsSelect);
  state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_FindEveryHit)->Arg(2)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2);

// ---- F3 on a million wrapped rows ----

class SilentMessages final : public tessary::Messages {
 public:
  void ShowMessage(const std::string&) override { ++shown; }
  tessary::Answer AskYesNo(const std::string&) override { return tessary::Answer::No; }
  int shown = 0;
};

EditorControl& RowsControl() {
  static std::unique_ptr<EditorControl> c;
  if (!c) {
    c = std::make_unique<EditorControl>();
    c->SetVisibleSize(40, 100);
    c->Document().WrapOption().SetWrapByte(80);
    c->SetWordWrap(true);
    c->Lines().SetTextStr(
        tessary::bench::JapaneseText(kRowsBytes, tessary::bench::TextForm::ShiftJis));
    if (c->RowCount() < 1000000) {
      std::fprintf(stderr, "only %d rows\n", c->RowCount());
      std::abort();
    }
  }
  return *c;
}

// The settings folder of the main window's search (no settings file: the boxes' defaults).
const tessary::AppHome& Home() {
  static const tessary::AppHome home = [] {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("tessary-find-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                      ("tessary-find-bench-" + std::to_string(::getpid())),
                                  ec);
    });
    return tessary::AppHome(dir.string());
  }();
  return home;
}

// F3 of a word that is not in the text, from the first row: a search through every row.
void BM_F3MissWholeDocument(benchmark::State& state) {
  EditorControl& c = RowsControl();
  SilentMessages messages;
  tessary::MainSearch search(Home(), messages);
  search.SetWord("存在しない");
  c.CancelSelection();
  c.SetCaret(0, 0);
  for (auto _ : state) {
    if (search.Search(c, tessary::SearchDirection::Next)) state.SkipWithError("found");
  }
  state.counters["rows"] = c.RowCount();
}
BENCHMARK(BM_F3MissWholeDocument)->Unit(benchmark::kMillisecond);

// F3 from the middle row for the first characters of the row after it.
void BM_F3HitNearCaret(benchmark::State& state) {
  EditorControl& c = RowsControl();
  SilentMessages messages;
  tessary::MainSearch search(Home(), messages);
  const int32_t mid = c.RowCount() / 2;
  // Eight bytes from the start of the row after the middle one (rows never split a character).
  std::string word(c.RowText(mid + 1).substr(0, 8));
  search.SetWord(tessary::SjisToUtf8(word));
  for (auto _ : state) {
    state.PauseTiming();
    c.CancelSelection();
    c.SetCaret(mid, 0);
    state.ResumeTiming();
    if (!search.Search(c, tessary::SearchDirection::Next)) state.SkipWithError("not found");
  }
  if (c.CaretRow() > mid + 2) state.SkipWithError("the hit is not near the caret");
  state.counters["rows"] = c.RowCount();
}
BENCHMARK(BM_F3HitNearCaret)->Unit(benchmark::kMicrosecond);

int ReplaceOnce(const std::string& path, const std::string& word, const std::string& repl) {
  const long before = PeakKb();
  EditorControl c;
  c.SetVisibleSize(40, 100);
  Stopwatch load;
  if (!LoadFile(c, path)) return 1;
  load.Print("load");
  std::printf("peak_kb_load %ld\n", PeakKb());
  c.SetCaret(0, 0);
  Stopwatch replace;
  const int64_t count = tessary::ReplaceAll(c, word, kReplaceOptions, repl);
  replace.Print("replace");
  std::printf("count %lld\npeak_kb_replace %ld\n", static_cast<long long>(count), PeakKb());
  Stopwatch undo;
  c.Undo();
  undo.Print("undo");
  std::printf("peak_kb_undo %ld\n", PeakKb());
  Stopwatch redo;
  c.Redo();
  redo.Print("redo");
  std::printf("peak_kb_redo %ld\n", PeakKb());
  std::printf("peak_kb_start %ld\nfile_bytes %lld\n", before,
              static_cast<long long>(std::filesystem::file_size(path)));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::strcmp(argv[1], "--replace-once") == 0)
    return ReplaceOnce(argv[2], tessary::Utf8ToSjis(argv[3]), tessary::Utf8ToSjis(argv[4]));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
