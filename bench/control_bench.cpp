// Control benchmarks: each key operation and SelStart on a document of a million wrapped rows.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "app/status_texts.h"
#include "editor/editor_control.h"
#include "editor/editor_control_search.h"
#include "japanese_text.h"

namespace {

using tessary::EditorControl;
using tessary::EditorKey;
using tessary::KeyRepeat;

constexpr size_t kTextBytes = 64u * 1024 * 1024;  // about 1.1 million rows at WrapByte 80

// The text: TESSARY_CONTROL_BENCH_FILE when set (the peer script passes the file it gives vim),
// else generated Shift-JIS text with CR LF line ends.
std::string InputText() {
  if (const char* p = std::getenv("TESSARY_CONTROL_BENCH_FILE"); p && *p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  return tessary::bench::JapaneseText(kTextBytes, tessary::bench::TextForm::ShiftJis);
}

// One control over the wrapped document, shared by all benchmarks.
EditorControl& Control() {
  static std::unique_ptr<EditorControl> c;
  if (!c) {
    c = std::make_unique<EditorControl>();
    c->SetVisibleSize(40, 100);
    c->Caret().AutoIndent = true;
    c->Caret().NextLine = true;
    c->Document().WrapOption().SetWrapByte(80);
    c->SetWordWrap(true);
    c->Lines().SetTextStr(InputText());
    if (c->RowCount() < 1000000) {
      std::fprintf(stderr, "only %d rows\n", c->RowCount());
      std::abort();
    }
  }
  return *c;
}

// The caret at the start of the middle row's logical line, some characters in.
void CaretToMiddle(EditorControl& c) {
  c.CancelSelection();
  const int32_t row = c.Document().LineStartRow(c.RowCount() / 2);
  c.SetCaret(row, 0);
  for (int i = 0; i < 5; ++i) c.KeyDown(EditorKey::Right, tessary::kNoModifier);
}

void Counters(benchmark::State& state, const EditorControl& c) {
  state.counters["rows"] = c.RowCount();
}

void BM_TypeCharacter(benchmark::State& state) {
  EditorControl& c = Control();
  CaretToMiddle(c);
  for (auto _ : state) {
    c.KeyPress('a');
    state.PauseTiming();
    c.KeyDown(EditorKey::Backspace, tessary::kNoModifier);
    state.ResumeTiming();
  }
  Counters(state, c);
}
BENCHMARK(BM_TypeCharacter)->Unit(benchmark::kMicrosecond);

void BM_TypeDoubleByteCharacter(benchmark::State& state) {
  EditorControl& c = Control();
  CaretToMiddle(c);
  for (auto _ : state) {
    c.KeyPress(0x82);
    c.KeyPress(0xA0);
    state.PauseTiming();
    c.KeyDown(EditorKey::Backspace, tessary::kNoModifier);
    state.ResumeTiming();
  }
  Counters(state, c);
}
BENCHMARK(BM_TypeDoubleByteCharacter)->Unit(benchmark::kMicrosecond);

void BM_Enter(benchmark::State& state) {
  EditorControl& c = Control();
  CaretToMiddle(c);
  for (auto _ : state) {
    c.KeyDown(EditorKey::Enter, tessary::kNoModifier);
    state.PauseTiming();
    c.KeyDown(EditorKey::Backspace, tessary::kNoModifier);
    state.ResumeTiming();
  }
  Counters(state, c);
}
BENCHMARK(BM_Enter)->Unit(benchmark::kMicrosecond);

void BM_Backspace(benchmark::State& state) {
  EditorControl& c = Control();
  CaretToMiddle(c);
  for (auto _ : state) {
    state.PauseTiming();
    c.KeyPress('a');
    state.ResumeTiming();
    c.KeyDown(EditorKey::Backspace, tessary::kNoModifier);
  }
  Counters(state, c);
}
BENCHMARK(BM_Backspace)->Unit(benchmark::kMicrosecond);

void BM_CaretRightLeft(benchmark::State& state) {
  EditorControl& c = Control();
  CaretToMiddle(c);
  for (auto _ : state) {
    c.KeyDown(EditorKey::Right, tessary::kNoModifier);
    c.KeyDown(EditorKey::Left, tessary::kNoModifier);
  }
  state.SetItemsProcessed(2 * state.iterations());
  Counters(state, c);
}
BENCHMARK(BM_CaretRightLeft)->Unit(benchmark::kMicrosecond);

void BM_CaretDownUp(benchmark::State& state) {
  EditorControl& c = Control();
  CaretToMiddle(c);
  for (auto _ : state) {
    c.KeyDown(EditorKey::Down, tessary::kNoModifier);
    c.KeyDown(EditorKey::Up, tessary::kNoModifier);
  }
  state.SetItemsProcessed(2 * state.iterations());
  Counters(state, c);
}
BENCHMARK(BM_CaretDownUp)->Unit(benchmark::kMicrosecond);

void BM_ShiftRightExtendsSelection(benchmark::State& state) {
  EditorControl& c = Control();
  CaretToMiddle(c);
  int n = 0;
  for (auto _ : state) {
    c.KeyDown(EditorKey::Right, tessary::kShift);
    if (++n == 500) {  // keep the selection a few hundred bytes long
      state.PauseTiming();
      CaretToMiddle(c);
      n = 0;
      state.ResumeTiming();
    }
  }
  Counters(state, c);
}
BENCHMARK(BM_ShiftRightExtendsSelection)->Unit(benchmark::kMicrosecond);

void BM_ShiftDownExtendsSelection(benchmark::State& state) {
  EditorControl& c = Control();
  CaretToMiddle(c);
  int n = 0;
  for (auto _ : state) {
    c.KeyDown(EditorKey::Down, tessary::kShift);
    if (++n == 200) {
      state.PauseTiming();
      CaretToMiddle(c);
      n = 0;
      state.ResumeTiming();
    }
  }
  Counters(state, c);
}
BENCHMARK(BM_ShiftDownExtendsSelection)->Unit(benchmark::kMicrosecond);

void BM_SelStartNearTheEnd(benchmark::State& state) {
  EditorControl& c = Control();
  c.CancelSelection();
  c.SetCaret(c.RowCount() - 10, 3);
  int64_t sum = 0;
  for (auto _ : state) {
    sum += c.SelStart();
    benchmark::DoNotOptimize(sum);
  }
  Counters(state, c);
}
BENCHMARK(BM_SelStartNearTheEnd)->Unit(benchmark::kMicrosecond);

void BM_SelStartWriteNearTheEnd(benchmark::State& state) {
  EditorControl& c = Control();
  const int64_t end = c.TextLength();
  int64_t k = 0;
  for (auto _ : state) {
    c.SetSelStart(end - 1000 + (k++ % 500));
  }
  Counters(state, c);
}
BENCHMARK(BM_SelStartWriteNearTheEnd)->Unit(benchmark::kMicrosecond);

// Replace all of a common character over the whole document (hundreds of thousands of matches)
// as one edit, then its undo, which restores the document for the next iteration.
void BM_ReplaceAllThenUndo(benchmark::State& state) {
  EditorControl& c = Control();
  const std::string hiragana_no = "\x82\xCC";  // the most common character of the text
  int64_t replaced = 0;
  for (auto _ : state) {
    c.CancelSelection();
    c.SetCaret(0, 0);
    replaced = tessary::ReplaceAll(c, hiragana_no, tessary::search_option::kForward, "NO");
    c.Undo();
  }
  state.counters["replaced"] = static_cast<double>(replaced);
  Counters(state, c);
}
BENCHMARK(BM_ReplaceAllThenUndo)->Unit(benchmark::kMillisecond)->Iterations(3);

// The status bar's count of a selection of the whole document, as the window makes it after
// each selection change; arg 1 copies the selection first, as the count used to.
void BM_SelectionCountOfAll(benchmark::State& state) {
  EditorControl& c = Control();
  c.SelectAll();
  for (auto _ : state) {
    if (state.range(0) == 1) {
      benchmark::DoNotOptimize(tessary::SelectionCountText(
          c.SelText(), tessary::LineEndCounting::Include, tessary::SelectionUnit::Characters));
      continue;
    }
    tessary::SelectionCounter counter(tessary::LineEndCounting::Include,
                                      tessary::SelectionUnit::Characters);
    c.ForEachSelectedPiece([&counter](std::string_view piece) { counter.Add(piece); });
    benchmark::DoNotOptimize(counter.Text());
  }
  c.CancelSelection();
  Counters(state, c);
}
BENCHMARK(BM_SelectionCountOfAll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
