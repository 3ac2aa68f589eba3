// Finding and installing Qt's Japanese translation file.
#include "platform/ui/japanese_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace tessary {

JapaneseTranslations::JapaneseTranslations(QCoreApplication& app) {
  // "qt_ja" pulls in qtbase_ja and the other modules' files beside it.
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  loaded_ = qt_.load(japanese, "qt", "_", folder);
  if (!loaded_) return;
  app.installTranslator(&qt_);
  // Dates and sizes in the file dialogs follow the language of their words.
  QLocale::setDefault(japanese);
}

JapaneseTranslations::~JapaneseTranslations() {
  if (!loaded_) return;
  QCoreApplication::removeTranslator(&qt_);
  QLocale::setDefault(previous_locale_);
}

}  // namespace tessary
