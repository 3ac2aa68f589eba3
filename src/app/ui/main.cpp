// tessary: the program. One main window showing the document named on the command line.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/ui/form_main.h"
#include "editor/ui/editor.h"
#include "platform/ui/qt_messages.h"

namespace {

// For the start-up benchmark: with TESSARY_BENCH_FIRST_PAINT set, the program reports the
// milliseconds from entering main to the end of the editor's first paint and quits without
// waiting for the notice or any input.
class FirstPaintProbe final : public QObject {
 public:
  explicit FirstPaintProbe(const QElapsedTimer& clock) : clock_(clock) {}
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Paint && !done_) {
      done_ = true;
      QTimer::singleShot(0, [this] {
        std::fprintf(stderr, "first-paint-ms %lld\n", static_cast<long long>(clock_.elapsed()));
        QCoreApplication::exit(0);
      });
    }
    return QObject::eventFilter(watched, e);
  }

 private:
  const QElapsedTimer& clock_;
  bool done_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  QElapsedTimer clock;
  clock.start();
  QApplication app(argc, argv);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(QString::fromLocal8Bit(argv[i]).toStdString());
  tessary::QtMessages messages(nullptr);
  tessary::TFormMain window(messages, std::move(args));
  FirstPaintProbe probe(clock);
  if (std::getenv("TESSARY_BENCH_FIRST_PAINT")) {
    window.show_startup_notice = nullptr;
    window.Editor1().viewport()->installEventFilter(&probe);
  }
  window.ShowFirst();
  return app.exec();
}
