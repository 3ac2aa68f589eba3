// Qt's own Japanese texts for its dialogs (open, save, font, colour) and standard buttons.
#pragma once

#include <QLocale>
#include <QTranslator>

class QCoreApplication;

namespace tessary {

// Loads Qt's Japanese translation (Debian's qt6-translations-l10n) into the application and
// makes Japanese the default locale for the object's lifetime. Without the package the dialogs stay
// in the toolkit's English.
class JapaneseTranslations final {
 public:
  explicit JapaneseTranslations(QCoreApplication& app);
  ~JapaneseTranslations();
  JapaneseTranslations(const JapaneseTranslations&) = delete;
  JapaneseTranslations& operator=(const JapaneseTranslations&) = delete;

  [[nodiscard]] bool Loaded() const { return loaded_; }

 private:
  QTranslator qt_;
  QLocale previous_locale_;  // the default locale before, given back at the end
  bool loaded_ = false;
};

}  // namespace tessary
