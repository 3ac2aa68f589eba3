// Questions and Qt's own dialogs in Japanese, on the offscreen platform.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "platform/ui/japanese_translations.h"
#include "platform/ui/qt_messages.h"
#include "support/qt_test_app.h"

namespace tessary {
namespace {

QApplication& App() {
  return testing::OffscreenApp();
}

bool HasJapanese(const QString& s) {
  return std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() >= 0x3040; });
}

// Whether any label or button of the dialog speaks Japanese.
bool SpeaksJapanese(const QWidget& dialog) {
  for (const QLabel* l : dialog.findChildren<QLabel*>())
    if (HasJapanese(l->text())) return true;
  for (const QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
    if (HasJapanese(b->text())) return true;
  return false;
}

TEST(JapaneseDialogs, QuestionsOfferHaiAndIieAndOnlyHaiIsYes) {
  App();
  QtMessages messages(nullptr);
  for (QMessageBox::StandardButton press : {QMessageBox::No, QMessageBox::Yes}) {
    QStringList texts;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      for (QAbstractButton* b : box->buttons()) texts << b->text();
      box->button(press)->click();
    });
    const Answer a = messages.AskYesNo("変更されていますが、終了しますか？");
    EXPECT_EQ(a, press == QMessageBox::Yes ? Answer::Yes : Answer::No);
    texts.sort();
    EXPECT_EQ(texts, (QStringList{"いいえ(&N)", "はい(&Y)"}));
  }
}

TEST(JapaneseDialogs, QtsOwnDialogsSpeakJapaneseWhileTheTranslationIsLoaded) {
  App();
  const QLocale before;
  auto japanese = std::make_unique<JapaneseTranslations>(App());
  ASSERT_TRUE(japanese->Loaded()) << "qt6-translations-l10n is installed by install-deps.sh";
  EXPECT_EQ(QLocale().language(), QLocale::Japanese);  // the file dialogs' dates and sizes
  QFileDialog files;
  files.setOption(QFileDialog::DontUseNativeDialog);
  EXPECT_TRUE(SpeaksJapanese(files));
  QFontDialog font;
  font.setOption(QFontDialog::DontUseNativeDialog);
  EXPECT_TRUE(SpeaksJapanese(font));
  QColorDialog color;
  color.setOption(QColorDialog::DontUseNativeDialog);
  EXPECT_TRUE(SpeaksJapanese(color));
  japanese.reset();
  EXPECT_EQ(QLocale(), before);
}

}  // namespace
}  // namespace tessary
