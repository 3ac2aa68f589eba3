// The start-up notice window: its three situations, Esc, and what closing it stores.
#include "app/ui/form_warning.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "platform/ui/qt_conversions.h"
#include "support/qt_test_app.h"
#include "support/test_files.h"

namespace tessary {
namespace {

QApplication& App() {
  return testing::OffscreenApp();
}

class FormWarningTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main.setGeometry(100, 80, 800, 600);
    main.show();
  }
  std::unique_ptr<TFormWarning> Make(bool show, KeyMapCheck check) {
    auto form = std::make_unique<TFormWarning>(&main, ini, StartupNoticeFor(show, check));
    form->show();
    return form;
  }
  bool app_ready = (App(), true);  // before the first widget
  testing::TempDir dir;
  PrivateProfile ini{dir.File("Tessary.ini")};
  QWidget main;
};

TEST_F(FormWarningTest, ThreeSituations) {
  const QString pictographs = Q("SJIS で表示できない絵文字    等は ?? で表示されます");
  const QString replaced =
      Q("キーボード設定の項目数が異なっているのでデフォルトの設定に変更します");
  {
    auto f = Make(true, KeyMapCheck::Replaced);
    EXPECT_EQ(f->windowTitle(), Q("注意事項"));
    EXPECT_TRUE(f->windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(f->ButtonOk->text(), Q("OK(&O)"));
    EXPECT_EQ(f->CheckBox1->text(), Q("今後は表示しない(&W)"));
    EXPECT_EQ(f->Label1->text(), pictographs);
    EXPECT_EQ(f->Label2->text(), replaced);
    EXPECT_TRUE(f->Label2->isEnabled());
    EXPECT_TRUE(f->CheckBox1->isVisible());
    EXPECT_TRUE(f->Image1->isVisible());
    EXPECT_FALSE(f->CheckBox1->isChecked());
    EXPECT_LE((f->frameGeometry().center() - main.frameGeometry().center()).manhattanLength(), 1);
  }
  {
    auto f = Make(false, KeyMapCheck::Replaced);
    EXPECT_EQ(f->Label1->text(), replaced);
    EXPECT_TRUE(f->Label2->text().isEmpty());
    EXPECT_FALSE(f->Label2->isEnabled());
    EXPECT_FALSE(f->CheckBox1->isVisible());
    EXPECT_FALSE(f->Image1->isVisible());
  }
  {
    auto f = Make(true, KeyMapCheck::Kept);
    EXPECT_EQ(f->Label1->text(), pictographs);
    EXPECT_TRUE(f->Label2->text().isEmpty());
    EXPECT_FALSE(f->Label2->isEnabled());
    EXPECT_TRUE(f->CheckBox1->isVisible());
  }
}

TEST_F(FormWarningTest, ClosingStoresTheCheckBox) {
  {
    auto f = Make(true, KeyMapCheck::Kept);
    QTest::mouseClick(f->CheckBox1, Qt::LeftButton);
    f->ButtonOk->click();
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(f->result(), QDialog::Accepted);
  }
  EXPECT_FALSE(ini.ReadBool("Wraning", "Show", true)) << "the note is off from now on";
  {
    auto f = Make(true, KeyMapCheck::Replaced);
    QTest::keyClick(f.get(), Qt::Key_Escape);
    EXPECT_FALSE(f->isVisible()) << "Esc closes";
  }
  EXPECT_TRUE(ini.ReadBool("Wraning", "Show", false)) << "an unchecked box turns it on";
}

TEST_F(FormWarningTest, HiddenCheckBoxLeavesTheStoredChoiceAlone) {
  ASSERT_TRUE(ini.WriteBool("Wraning", "Show", false));
  {
    auto f = Make(false, KeyMapCheck::Replaced);
    f->ButtonOk->click();
  }
  EXPECT_FALSE(ini.ReadBool("Wraning", "Show", true));
}

TEST_F(FormWarningTest, Timer3ShowsTheNoticeOnlyWhenItIsWanted) {
  ASSERT_TRUE(ini.WriteBool("Wraning", "Show", false));
  ShowStartupNotice(&main, ini, KeyMapCheck::Kept);  // nothing to show: returns at once

  int shown = 0;
  QString label;
  QTimer::singleShot(0, [&] {
    (void)QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 5000);
    if (auto* f = qobject_cast<TFormWarning*>(QApplication::activeModalWidget())) {
      ++shown;
      label = f->Label1->text();
      f->ButtonOk->click();
    }
  });
  ShowStartupNotice(&main, ini, KeyMapCheck::Replaced);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(label, Q("キーボード設定の項目数が異なっているのでデフォルトの設定に変更します"));
}

}  // namespace
}  // namespace tessary
