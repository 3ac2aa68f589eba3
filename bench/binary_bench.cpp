// The binary viewer on a big file, offscreen: first screen, memory, jumps and an absent search.
// Usage: binary_bench FILE PATTERN   (prints one "name value unit" line per figure)
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "bench/peak_memory.h"
#include "platform/messages.h"
#include "platform/private_profile.h"
#include "viewers/ui/form_binary.h"

namespace {

class PrintedMessages final : public tessary::Messages {
 public:
  void ShowMessage(const std::string& text) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
  }
  tessary::Answer AskYesNo(const std::string&) override { return tessary::Answer::No; }
};

// CPU seconds of this process so far: with other programs busy on the machine, wall time
// measures the scheduler as much as the scan.
double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double Ms(const QElapsedTimer& t) {
  return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

// Runs `step` and draws the dump pane as the screen would; the milliseconds both took.
template <class Step>
double TimedScreen(tessary::TFormBinary& form, Step step) {
  QElapsedTimer t;
  t.start();
  step();
  (void)form.Editor1->viewport()->grab();
  return Ms(t);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: binary_bench FILE PATTERN\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::string home_dir = QDir::tempPath().toStdString();
  const tessary::AppHome home(home_dir);
  tessary::PrivateProfile ini(home_dir + "/binary_bench.ini");
  PrintedMessages messages;
  tessary::StoreBinaryOffset(ini, 0).IgnoreFailure();

  const int64_t before = tessary::bench::ResetPeak();
  tessary::TFormBinary form(nullptr, {ini, home, messages, argv[1], tessary::CharCode::SJIS});
  form.resize(780, 600);
  const double first = TimedScreen(form, [&] {
    form.show();
    QApplication::processEvents();
  });
  std::printf("first_screen %.2f ms\n", first);
  std::printf("end_jump %.3f ms\n",
              TimedScreen(form, [&] { form.CommandAction(1734)->trigger(); }));
  std::printf("top_jump %.3f ms\n",
              TimedScreen(form, [&] { form.CommandAction(1731)->trigger(); }));
  std::printf("page_down %.3f ms\n",
              TimedScreen(form, [&] { form.CommandAction(1733)->trigger(); }));

  form.ComboBox1->setCurrentText(QString::fromUtf8(argv[2]));
  const double gb = static_cast<double>(form.Model().FileSize()) / 1e9;
  // The window's search twice from the top: the first in the process, then again.
  for (const char* name : {"search_first", "search_again"}) {
    form.CommandAction(1731)->trigger();
    QElapsedTimer t;
    t.start();
    const double cpu = CpuSeconds();
    form.MenuBinarySearchClick(tessary::SearchDirection::Next);
    const double seconds = Ms(t) / 1000;
    std::printf("%s_seconds %.3f s\n", name, seconds);
    std::printf("%s_rate %.2f GB/s (CPU time: %.2f GB/s)\n", name, gb / seconds,
                gb / (CpuSeconds() - cpu));
  }
  {
    // The scan alone, without the window's progress and event servicing.
    auto file = tessary::PagedFile::Open(argv[1]);
    if (!file) return 1;
    QElapsedTimer s;
    s.start();
    const tessary::ScanResult r =
        tessary::FindBytes(*file.value(), argv[2], 0, tessary::SearchDirection::Next);
    std::printf("scan_only_rate %.2f GB/s (%s)\n", gb / (Ms(s) / 1000),
                r.outcome == tessary::ScanOutcome::NotFound ? "not found" : "found");
  }
  std::printf("memory_growth %.1f MB\n",
              static_cast<double>(tessary::bench::PeakSinceReset() - before) / 1048576.0);
  form.close();
  return 0;
}
