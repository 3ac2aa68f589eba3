// Holding back the user's input to the whole program for a moment of work it must not interrupt.
#pragma once

#include <QObject>

class QEvent;

namespace tessary {

// While it lives, keys, mouse, wheel, drops, context menus and close requests reach no window;
// painting, timers and everything else go on. For the moment between a window's first paint
// and work that a command must not meet half done.
class InputHold final : public QObject {
 public:
  InputHold();
  ~InputHold() override;
  InputHold(const InputHold&) = delete;
  InputHold& operator=(const InputHold&) = delete;

  bool eventFilter(QObject* watched, QEvent* e) override;
};

}  // namespace tessary
