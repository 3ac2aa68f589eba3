// The board log and history viewers on generated logs, offscreen: building and checking the
// index of 100,000 posts (about 2 M lines), the board window shown with its lists filled,
// selecting a thread of 1,000 members, and the history window of 100,000 records shown.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "editor/editor_control.h"
#include "editor/ui/editor.h"
#include "offscreen_bench_main.h"
#include "ostr_log.h"
#include "platform/ui/qt_conversions.h"
#include "viewers/board_log.h"
#include "viewers/ui/form_ostr_board.h"
#include "viewers/ui/form_ostr_history.h"

namespace {

using namespace tessary;

constexpr int kPosts = 100'000;
constexpr int kBigThread = 1'000;

const TextLines& Board() {
  static const TextLines log = bench::BoardLog(kPosts, kBigThread);
  return log;
}

class NoMessages final : public Messages {
 public:
  void ShowMessage(const std::string&) override {}
  Answer AskYesNo(const std::string&) override { return Answer::Yes; }
};

struct Home {
  Home() {
    folder = std::filesystem::temp_directory_path() / "tessary-ostr-bench";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  ~Home() { std::filesystem::remove_all(folder); }
  std::filesystem::path folder;
  AppHome home{folder.string()};
  PrivateProfile ini{home.SettingsFile()};
  NoMessages messages;
  LogViewerArgs Args(const TextLines& log) {
    return {ini,           home, messages, log, "/bench/board.txt", nullptr, PaneNumbers::Shown,
            PaneWrap::None};
  }
};

void BM_BoardIndexBuild(benchmark::State& state) {
  const TextLines& log = Board();
  size_t entries = 0;
  for (auto _ : state) entries = BuildBoardIndex(log, {}, "board.txt").size();
  state.counters["lines"] = static_cast<double>(log.Count());
  state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_BoardIndexBuild)->Unit(benchmark::kMillisecond);

// What the main window does before opening a viewer: the document's lines copied for it.
void BM_DocumentLinesCopied(benchmark::State& state) {
  EditorControl editor;
  editor.Document().SetTextLines(Board());
  for (auto _ : state) benchmark::DoNotOptimize(DocumentLines(editor).Count());
}
BENCHMARK(BM_DocumentLinesCopied)->Unit(benchmark::kMillisecond);

// Reading the stored index back and checking every header against the log.
void BM_BoardStoredIndexReused(benchmark::State& state) {
  const TextLines& log = Board();
  const std::string stored = IndexFileText(BuildBoardIndex(log, {}, "board.txt"));
  for (auto _ : state) {
    BoardLogModel model(log, "board.txt");
    benchmark::DoNotOptimize(model.Load(stored, {}));
  }
}
BENCHMARK(BM_BoardStoredIndexReused)->Unit(benchmark::kMillisecond);

// Created, shown, loaded (index built, lists filled, first post shown) and painted.
void BM_BoardWindowShown(benchmark::State& state) {
  (void)Board();  // generated before the clock runs, whichever benchmarks are chosen
  Home h;
  const auto wrap = state.range(0) ? PaneWrap::WindowWidth : PaneWrap::None;
  for (auto _ : state) {
    std::filesystem::remove(h.home.PathOf(WorkingFile::OstrIndex));
    LogViewerArgs args = h.Args(Board());
    args.wrap = wrap;
    TFormOstrBoard w(nullptr, std::move(args));
    w.resize(1000, 700);
    w.show();
    QApplication::processEvents();
    w.LoadLog();
    w.repaint();
    QApplication::processEvents();
    state.PauseTiming();
    w.reject();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BoardWindowShown)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// Selecting the starter of the thread of 1,000 members in the window: the members found,
// listed, the first shown in both panes.
void BM_BoardThreadSelected(benchmark::State& state) {
  Home h;
  TFormOstrBoard w(nullptr, h.Args(Board()));
  w.resize(1000, 700);
  w.show();
  w.LoadLog();
  w.MenuLogThreadClick();
  QApplication::processEvents();
  for (auto _ : state) {
    w.ListBox3Select(0);
    w.ListBox2->repaint();
  }
  state.counters["members"] = static_cast<double>(w.Model().MemberRows().size());
  w.reject();
}
BENCHMARK(BM_BoardThreadSelected)->Unit(benchmark::kMillisecond);

void BM_HistoryWindowShown(benchmark::State& state) {
  Home h;
  const TextLines log = bench::HistoryLog(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TFormOstrHistory w(nullptr, h.Args(log));
    w.resize(1000, 700);
    w.show();
    w.repaint();
    QApplication::processEvents();
    state.PauseTiming();
    w.reject();
    state.ResumeTiming();
  }
  state.counters["lines"] = static_cast<double>(log.Count());
}
BENCHMARK(BM_HistoryWindowShown)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

// `--write-board FILE` writes the generated board log (Shift-JIS, CR LF) for the peer script.
int WriteBoard(const char* path) {
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return 1;
  const std::string text = Board().Joined("\r\n");
  const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok ? 0 : 1;
}

int main(int argc, char** argv) {
  if (argc == 3 && std::string_view(argv[1]) == "--write-board") return WriteBoard(argv[2]);
  return tessary::bench::RunOffscreenBenchmarks(argc, argv);
}
