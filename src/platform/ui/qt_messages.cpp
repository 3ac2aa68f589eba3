// Modal message boxes for the platform's message interface.
#include "platform/ui/qt_messages.h"

#include <QMessageBox>
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
  auto button = QMessageBox::question(parent_, kTitle, Q(text), QMessageBox::Yes | QMessageBox::No,
                                      QMessageBox::Yes);
  return button == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

}  // namespace tessary
