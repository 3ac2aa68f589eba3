// The offscreen QApplication shared by the Qt tests.
#include "support/qt_test_app.h"

#include <QApplication>

// The system font library keeps a cache it never frees; that is not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n";
}

namespace tessary::testing {

QApplication& OffscreenApp() {
  static int argc = 1;
  static char name[] = "tessary-test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);  // lives for the whole test run
  }();
  return *app;
}

}  // namespace tessary::testing
