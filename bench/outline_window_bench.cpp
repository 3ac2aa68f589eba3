// The outline's path to the screen for a million-line document: the build, the tree model's
// fill and the tree view's first painting with the first heading selected, offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeView>

#include "codec/sjis_text.h"
#include "commands/outline.h"
#include "editor/editor_control.h"
#include "offscreen_bench_main.h"
#include "outline_document.h"
#include "platform/ui/indent_tree_view.h"

namespace {

QString SjisText(const tessary::IndentNode& node) {
  return QString::fromStdString(tessary::SjisToUtf8(node.text));
}

void BM_OutlineToScreen(benchmark::State& state) {
  tessary::EditorControl editor;
  editor.Lines().SetTextStr(tessary::bench::OutlineDocument(static_cast<int>(state.range(0))));
  QTreeView view;
  tessary::IndentTreeModel model;
  tessary::SetUpIndentTreeView(view, model);
  view.resize(300, 800);
  view.show();
  for (auto _ : state) {
    model.Clear();
    auto outline =
        tessary::Outline::Build(editor.Document(), tessary::HeadingKinds::MarksAndSections);
    model.SetTree(outline, &outline->Tree(), {SjisText, nullptr});
    view.setCurrentIndex(model.IndexOfNode(0));
    view.repaint();
    QApplication::processEvents();
  }
  state.counters["nodes"] = static_cast<double>(model.NodeCount());
}
BENCHMARK(BM_OutlineToScreen)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return tessary::bench::RunOffscreenBenchmarks(argc, argv);
}
