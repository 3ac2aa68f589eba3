// The main of a window benchmark: an offscreen Qt application, then the registered benchmarks.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

namespace tessary::bench {

// Windows are built and painted without a display, so runs on a server measure the same work.
inline int RunOffscreenBenchmarks(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}

}  // namespace tessary::bench
