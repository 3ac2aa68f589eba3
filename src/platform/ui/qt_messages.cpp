// Modal message boxes for the platform's message interface.
#include "platform/ui/qt_messages.h"

#include <QMessageBox>
#include <QPushButton>
#include <QString>

#include "platform/ui/qt_conversions.h"

namespace tessary {
namespace {

const QString kTitle = QStringLiteral("Tessary");

}  // namespace

void QtMessages::ShowMessage(const std::string& text) {
  QMessageBox::information(parent_, kTitle, Q(text));
}

Answer QtMessages::AskYesNo(const std::string& text) {
  QMessageBox box(QMessageBox::Question, kTitle, Q(text), QMessageBox::Yes | QMessageBox::No,
                  parent_);
  // The captions a Japanese program's questions carry, whatever translation is loaded.
  box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
  box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

}  // namespace tessary
