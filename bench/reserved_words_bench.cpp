// Reserved words: loading a word file of 100,000 words, and switching the colouring mode with
// the view at the end of a document of a million lines.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "commands/reserved_words.h"
#include "editor/fountain_binding.h"

namespace {

using tessary::ChooserStart;
using tessary::ReserveMode;
using tessary::TColor;

constexpr int kWords = 100000;
constexpr int kLines = 1000000;

class NoWindow final : public tessary::ReservedWordsPort {
 public:
  std::optional<std::string> ChooseWordFile(const ChooserStart&) override { return {}; }
  std::optional<TColor> ChooseReserveColor(TColor) override { return {}; }
  TColor NormalBackColor() const override { return tessary::clBlack; }
  void SetReserveChecks(ReserveMode) override {}
  void SetWordFilePanel(std::string_view) override {}
};

class NoMessages final : public tessary::Messages {
 public:
  void ShowMessage(const std::string& text) override {
    std::fprintf(stderr, "unexpected message: %s\n", text.c_str());
    std::abort();
  }
  tessary::Answer AskYesNo(const std::string&) override { return tessary::Answer::No; }
};

std::string BenchFolder() {
  const std::string dir =
      (std::filesystem::temp_directory_path() / "tessary_reserve_bench").string();
  std::filesystem::create_directories(dir);
  return dir;
}

// Identifiers and Japanese words in UTF-8 with a mark and CR LF, about 1.3 MB.
std::string WriteWordFile(const std::string& dir) {
  const std::string path = dir + "/words.txt";
  std::string text = "\xEF\xBB\xBF";
  for (int i = 0; i < kWords; ++i) {
    if (i % 4 == 0) text += "予約語";
    text += "Word_";
    text += std::to_string(i * 7919 % kWords);
    text += "\r\n";
  }
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// One control with its scheme and the model over it.
struct Fixture {
  explicit Fixture(int lines) {
    control.SetVisibleSize(40, 100);
    std::string text;
    text.reserve(static_cast<size_t>(lines) * 24);
    for (int i = 0; i < lines; ++i) {
      if (i % 10 == 0) {
        text += "[Section";
        text += std::to_string(i);
        text += "]\r\n";
      } else {
        text += "key=value select\r\n";
      }
    }
    control.Lines().SetTextStr(text);
    control.SetTopRow(control.RowCount() - 40);
  }
  tessary::EditorControl control;
  tessary::FountainBinding binding{control};
  NoWindow port;
  NoMessages messages;
  std::string dir = BenchFolder();
  tessary::PrivateProfile ini{dir + "/settings.ini"};
  tessary::ReservedWords model{binding.View(), control, port, messages, ini, ""};
};

void BM_LoadWordFile100k(benchmark::State& state) {
  Fixture f(1000);
  const std::string path = WriteWordFile(f.dir);
  for (auto _ : state) {
    if (f.model.LoadWordFile(path) != tessary::WordFileRead::Loaded) std::abort();
  }
  state.counters["words"] = static_cast<double>(f.binding.View().ReserveWordList().Count());
}
BENCHMARK(BM_LoadWordFile100k)->Unit(benchmark::kMillisecond);

Fixture& MillionLines() {
  static std::unique_ptr<Fixture> f;
  if (!f) {
    f = std::make_unique<Fixture>(kLines);
    if (f->model.LoadWordFile(WriteWordFile(f->dir)) != tessary::WordFileRead::Loaded) std::abort();
    f->model.MenuReseveNoSetClick();
  }
  return *f;
}

// Each iteration is one command that re-colours the document once; the view stays at the end.
template <class Command>
void SwitchBackAndForth(benchmark::State& state, Command to_mode) {
  Fixture& f = MillionLines();
  const int32_t top = f.control.TopRow();
  bool on = false;
  for (auto _ : state) {
    on = !on;
    if (on)
      to_mode(f.model);
    else
      f.model.MenuReseveNoSetClick();
  }
  if (f.control.TopRow() != top) std::abort();
  state.counters["rows"] = f.control.RowCount();
}

void BM_SwitchIniSectionsAtEnd(benchmark::State& state) {
  SwitchBackAndForth(state, [](tessary::ReservedWords& m) { m.MenuReseveIniSetClick(); });
}
BENCHMARK(BM_SwitchIniSectionsAtEnd)->Unit(benchmark::kMillisecond);

void BM_SwitchReservedWordsAtEnd(benchmark::State& state) {
  SwitchBackAndForth(state, [](tessary::ReservedWords& m) { m.MenuReseveReserveSetClick(); });
}
BENCHMARK(BM_SwitchReservedWordsAtEnd)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
