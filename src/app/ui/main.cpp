// tessary: the program. One main window showing the document named on the command line.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/form_main.h"
#include "commands/ui/key_map_shortcut_style.h"
#include "editor/ui/editor.h"
#include "platform/install_layout.h"
#include "platform/ui/japanese_translations.h"
#include "platform/ui/qt_messages.h"

namespace {

// For the start-up benchmark: with TESSARY_BENCH_FIRST_PAINT set, the program reports the
// milliseconds from entering main to the end of the editor's first paint, and to the end of
// its first paint after the command line's file was loaded (the same paint when the window
// shows no start of the file first), then quits without waiting for the notice or any input.
class FirstPaintProbe final : public QObject {
 public:
  explicit FirstPaintProbe(const QElapsedTimer& clock) : clock_(clock) {}
  void Loaded() { loaded_ = true; }
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Paint && !done_) {
      // Read once the paint is done: a zero timer runs after it.
      QTimer::singleShot(0, [this, after_load = loaded_] {
        if (first_ms_ < 0) first_ms_ = clock_.elapsed();
        if (!after_load || done_) return;
        done_ = true;
        std::fprintf(stderr, "first-paint-ms %lld\nloaded-paint-ms %lld\n",
                     static_cast<long long>(first_ms_), static_cast<long long>(clock_.elapsed()));
        QCoreApplication::exit(0);
      });
    }
    return QObject::eventFilter(watched, e);
  }

 private:
  const QElapsedTimer& clock_;
  qint64 first_ms_ = -1;
  bool loaded_ = false;
  bool done_ = false;
};

// The window's message boxes stand over the window: the window needs the messages before it
// exists, so they are parented once it does.
class WindowMessages final : public tessary::Messages {
 public:
  void SetParent(QWidget* parent) { boxes_ = std::make_unique<tessary::QtMessages>(parent); }
  void ShowMessage(const std::string& text) override { boxes_->ShowMessage(text); }
  tessary::Answer AskYesNo(const std::string& text) override { return boxes_->AskYesNo(text); }

 private:
  std::unique_ptr<tessary::QtMessages> boxes_ = std::make_unique<tessary::QtMessages>(nullptr);
};

}  // namespace

int main(int argc, char* argv[]) {
  QElapsedTimer clock;
  clock.start();
  QApplication app(argc, argv);
  const tessary::JapaneseTranslations japanese(app);
  // Owned by the application from here on.
  QApplication::setStyle(new tessary::KeyMapShortcutStyle);
  std::vector<std::string> args;
  // Paths stay the bytes the system gave, so a name that is not valid UTF-8 still opens.
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  WindowMessages messages;
  tessary::AppHome home = tessary::AppHome::FromEnvironment();
  // A user's first start of an installed program begins from the installed defaults; when
  // they cannot be copied, the built-in defaults serve.
  tessary::SeedSettingsFile(home.SettingsFile(), tessary::ProgramFiles::OfThisProgram())
      .IgnoreFailure();
  tessary::TFormMain window(messages, std::move(home), std::move(args));
  messages.SetParent(&window);
  FirstPaintProbe probe(clock);
  if (std::getenv("TESSARY_BENCH_FIRST_PAINT")) {
    window.show_startup_notice = nullptr;
    window.first_show_finished = [&probe, &window] {
      probe.Loaded();
      window.Editor1().viewport()->update();  // the loaded text's paint, whatever changed
    };
  }
  window.ShowFirst();
  // Installed last, so it sees each paint before the window's own filter starts the load.
  if (std::getenv("TESSARY_BENCH_FIRST_PAINT"))
    window.Editor1().viewport()->installEventFilter(&probe);
  return app.exec();
}
