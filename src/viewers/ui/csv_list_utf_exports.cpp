// The C exports "OpenForm", "Start" and "CloseForm" of the Unicode CSV library over its one window.
#include <QApplication>
#include <QScreen>
#include <algorithm>
#include <memory>

#include "viewers/csv_list_utf_api.h"
#include "viewers/ui/form_csv_list_utf.h"

namespace tessary {
namespace {

// The library shows at most one window for the program that loaded it, and the C exports carry
// no context to hold it in: it lives here, a function-local static owned by the library, made
// by OpenForm and destroyed by CloseForm before the library is unloaded. It is only ever
// touched on the user-interface thread.
class Session {
 public:
  ~Session() {
    // Unloaded without CloseForm after the application has gone: a widget can no longer be
    // destroyed, and the process is ending anyway.
    if (!QApplication::instance()) (void)form_.release();
  }
  TFormCsvListUtf& Form() {
    if (!form_) form_ = std::make_unique<TFormCsvListUtf>(nullptr);
    return *form_;
  }
  void Close() { form_.reset(); }

 private:
  std::unique_ptr<TFormCsvListUtf> form_;
};

Session& TheSession() {
  static Session session;
  return session;
}

// Places a new window over the caller's main window (a QWidget* in this program), kept on the
// main window's screen: a small main window at the top would otherwise push it off the top.
void PlaceOver(TFormCsvListUtf& form, void* owner) {
  auto* parent = static_cast<QWidget*>(owner);
  if (!parent || form.isVisible()) return;
  QPoint at = parent->geometry().center() - form.rect().center();
  if (const QScreen* screen = parent->screen()) {
    const QRect room = screen->availableGeometry();
    at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - form.width())));
    at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - form.height())));
  }
  form.move(at);
}

}  // namespace
}  // namespace tessary

extern "C" {

TESSARY_CSVLIST_EXPORT void TESSARY_CSVLIST_CALL OpenForm(void* owner, int /*reserved*/) {
  if (!QApplication::instance()) return;
  tessary::PlaceOver(tessary::TheSession().Form(), owner);
}

TESSARY_CSVLIST_EXPORT void TESSARY_CSVLIST_CALL Start(void* owner,
                                                       const TessaryNativePathChar* path) {
  if (!QApplication::instance() || !path) return;
  tessary::TFormCsvListUtf& form = tessary::TheSession().Form();
  tessary::PlaceOver(form, owner);
#ifdef _WIN32
  form.Open(QString::fromWCharArray(path).toStdString());
#else
  form.Open(path);
#endif
  form.show();
  form.raise();
  form.activateWindow();
}

TESSARY_CSVLIST_EXPORT void TESSARY_CSVLIST_CALL CloseForm(void* /*owner*/) {
  tessary::TheSession().Close();
}
}
