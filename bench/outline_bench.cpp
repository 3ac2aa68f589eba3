// The outline of a million-line document: the one pass over the editor's lines, the working
// file text and the tree, with 10,000 and 100,000 headings.
#include <benchmark/benchmark.h>

#include "commands/outline.h"
#include "editor/editor_control.h"
#include "outline_document.h"

namespace {

void BM_OutlineBuild(benchmark::State& state) {
  tessary::EditorControl editor;
  editor.Lines().SetTextStr(tessary::bench::OutlineDocument(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    auto outline =
        tessary::Outline::Build(editor.Document(), tessary::HeadingKinds::MarksAndSections);
    if (outline->Entries().size() != static_cast<size_t>(state.range(0)))
      state.SkipWithError("wrong heading count");
    benchmark::DoNotOptimize(outline);
  }
  state.counters["lines"] = editor.LineCount();
}
BENCHMARK(BM_OutlineBuild)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
