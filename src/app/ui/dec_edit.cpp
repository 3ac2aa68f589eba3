// The numeric edit's character filter.
#include "app/ui/dec_edit.h"

#include <QKeyEvent>

namespace tessary {

void TDecEdit::keyPressEvent(QKeyEvent* e) {
  const QString typed = e->text();
  const bool printable = typed.size() == 1 && typed[0].isPrint();
  if (printable && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    const char16_t c = typed[0].unicode();
    const std::string current = text().toStdString();
    if (c >= 0x80 ||
        !NumericEditAccepts(numeric_type_, current, static_cast<size_t>(cursorPosition()),
                            static_cast<char>(c))) {
      e->accept();  // dropped
      return;
    }
  }
  QLineEdit::keyPressEvent(e);
}

}  // namespace tessary
