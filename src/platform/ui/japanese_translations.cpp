// Finding and installing Qt's Japanese translation file.
#include "platform/ui/japanese_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace tessary {

JapaneseTranslations::JapaneseTranslations(QCoreApplication& app) {
  // "qt_ja" pulls in qtbase_ja and the other modules' files beside it.
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  loaded_ = qt_.load(QLocale(QLocale::Japanese, QLocale::Japan), "qt", "_", folder);
  if (loaded_) app.installTranslator(&qt_);
}

JapaneseTranslations::~JapaneseTranslations() {
  if (loaded_) QCoreApplication::removeTranslator(&qt_);
}

}  // namespace tessary
