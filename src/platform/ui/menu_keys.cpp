// The event filter that lets a menu item run by any letter its caption marks.
#include "platform/ui/menu_keys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

#include "base/mnemonics.h"

namespace tessary {
namespace {

// The letter of a key press that a menu may take: no Ctrl or Meta, a letter or digit key.
char LetterOf(const QKeyEvent& e) {
  if (e.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return 0;
  const int k = e.key();
  if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
    return static_cast<char>(k);
  return 0;
}

// The one runnable item that marks `letter` after its first marked letter, or null.
QAction* SecondaryMnemonicItem(const QMenu& menu, char letter) {
  QAction* found = nullptr;
  int marking = 0;
  for (QAction* a : menu.actions()) {
    if (a->isSeparator() || !a->isVisible() || !a->isEnabled()) continue;
    const std::string letters = MnemonicLetters(a->text().toStdString());
    const size_t at = letters.find(letter);
    if (at == std::string::npos) continue;
    ++marking;
    if (at > 0 && !a->menu()) found = a;
  }
  return marking == 1 ? found : nullptr;
}

class MarkedLetterFilter final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() != QEvent::KeyPress) return false;
    auto* menu = qobject_cast<QMenu*>(watched);
    const char letter = LetterOf(*static_cast<QKeyEvent*>(e));
    if (!menu || !letter) return false;
    QAction* item = SecondaryMnemonicItem(*menu, letter);
    if (!item) return false;
    // As a click does: the open menus close first, then the item runs.
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    item->trigger();
    return true;
  }
};

}  // namespace

void RunEveryMarkedLetter(QMenu& menu) {
  menu.installEventFilter(new MarkedLetterFilter(&menu));
}

}  // namespace tessary
