// Modal message boxes for the platform's message interface.
#include "platform/ui/qt_messages.h"

#include <QMessageBox>
#include <QString>

namespace tessary {
namespace {

const QString kTitle = QStringLiteral("Tessary");

QString Text(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

void QtMessages::ShowMessage(const std::string& text) {
  QMessageBox::information(parent_, kTitle, Text(text));
}

Answer QtMessages::AskYesNo(const std::string& text) {
  auto button = QMessageBox::question(parent_, kTitle, Text(text),
                                      QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
  return button == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

}  // namespace tessary
