// Holding back the user's input: an application-wide event filter.
#include "platform/ui/input_hold.h"

#include <QCoreApplication>
#include <QEvent>

namespace tessary {

InputHold::InputHold() {
  QCoreApplication::instance()->installEventFilter(this);
}

InputHold::~InputHold() {
  QCoreApplication::instance()->removeEventFilter(this);
}

bool InputHold::eventFilter(QObject* watched, QEvent* e) {
  switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
      return true;
    case QEvent::Close:
      e->ignore();
      return true;
    default:
      return QObject::eventFilter(watched, e);
  }
}

}  // namespace tessary
