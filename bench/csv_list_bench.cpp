// The CSV list window over a generated 100 MB document of a million lines, offscreen: the
// first page on the screen, "全て表示", going to the last row, a search for an absent word through
// every line and fitting the 96 column widths.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QTableView>
#include <memory>
#include <string>

#include "editor/editor_control.h"
#include "offscreen_bench_main.h"
#include "platform/messages.h"
#include "platform/private_profile.h"
#include "viewers/ui/form_csv_list.h"

namespace {

using namespace tessary;

constexpr int kLines = 1'000'000;

// Lines of about 100 bytes: twelve short fields, a quoted one with a comma, some kana.
std::string CsvText() {
  std::string text;
  text.reserve(size_t{kLines} * 104);
  for (int i = 0; i < kLines; ++i) {
    text += std::to_string(i);
    text += ",\"Tokyo, Minato\",\x83\x65\x83\x58\x83\x67,";
    for (int k = 0; k < 10; ++k) {
      text += "val";
      text += std::to_string((i * 7 + k * 13) % 100000);
      text += ',';
    }
    text += "END\r\n";
  }
  return text;
}

class YesMessages final : public Messages {
 public:
  void ShowMessage(const std::string&) override {}
  Answer AskYesNo(const std::string&) override { return Answer::Yes; }
};

struct Fixture {
  Fixture() {
    editor.Lines().SetTextStr(CsvText());
    home = std::make_unique<AppHome>(AppHome::FromEnvironment());
    ini = std::make_unique<PrivateProfile>(home->SettingsFile());
  }
  std::unique_ptr<TFormCsvList> Open() {
    auto form = std::make_unique<TFormCsvList>(
        nullptr, CsvListArgs{*ini, *home, messages, lines, kLines / 2});
    form->resize(1000, 700);
    form->show();
    form->ListView1->viewport()->repaint();
    QApplication::processEvents();
    return form;
  }
  EditorControl editor;
  DocumentCsvLines lines{editor.Document()};
  YesMessages messages;
  std::unique_ptr<AppHome> home;
  std::unique_ptr<PrivateProfile> ini;
};

Fixture& Shared() {
  static Fixture f;
  return f;
}

void Repaint(TFormCsvList& form) {
  form.ListView1->viewport()->repaint();
  QApplication::processEvents();
}

void BM_FirstPageShown(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    std::unique_ptr<TFormCsvList> form = f.Open();
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
  state.counters["bytes"] = static_cast<double>(f.editor.Document().TotalTextBytes());
}
BENCHMARK(BM_FirstPageShown)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LoadAll(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<TFormCsvList> form = f.Open();
    state.ResumeTiming();
    form->MenuCsvListLoadAllClick();
    Repaint(*form);
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadAll)->Unit(benchmark::kMillisecond)->Iterations(5);

// "最後" with all lines shown: the last row selected and drawn.
void BM_ScrollToEnd(benchmark::State& state) {
  Fixture& f = Shared();
  std::unique_ptr<TFormCsvList> form = f.Open();
  form->MenuCsvListLoadAllClick();
  for (auto _ : state) {
    form->CommandAction(1715)->trigger();
    form->CommandAction(1718)->trigger();
    Repaint(*form);
  }
}
BENCHMARK(BM_ScrollToEnd)->Unit(benchmark::kMillisecond)->Iterations(5);

// From the first row of all lines to the last without a hit.
void BM_SearchAbsentWord(benchmark::State& state) {
  Fixture& f = Shared();
  std::unique_ptr<TFormCsvList> form = f.Open();
  form->MenuCsvListLoadAllClick();
  for (auto _ : state) {
    form->Model().Select(0, CsvSelectionBy::User);
    benchmark::DoNotOptimize(form->Model().Search("absentword", SearchDirection::Next));
  }
}
BENCHMARK(BM_SearchAbsentWord)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FitWidthsAllLines(benchmark::State& state) {
  Fixture& f = Shared();
  std::unique_ptr<TFormCsvList> form = f.Open();
  form->MenuCsvListLoadAllClick();
  for (auto _ : state) {
    form->MenuCsvListFitColumnWidthClick();
    Repaint(*form);
  }
}
BENCHMARK(BM_FitWidthsAllLines)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  return tessary::bench::RunOffscreenBenchmarks(argc, argv);
}
