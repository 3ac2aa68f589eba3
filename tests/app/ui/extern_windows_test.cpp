// The favourites, launcher, chooser and version windows on Qt's offscreen platform.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/ui/form_program_settings.h"
#include "app/ui/form_select_window.h"
#include "app/ui/form_version.h"
#include "platform/file_io.h"
#include "support/qt_test_app.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::ScriptedMessages;
using testing::TempDir;

std::string U(const QString& s) {
  return s.toStdString();
}

class FakeWindowList final : public WindowList {
 public:
  Result<std::vector<TopWindow>> Windows() override { return windows; }
  Status Activate(WindowId id) override {
    activated.push_back(id);
    return Success();
  }
  std::vector<TopWindow> windows;
  std::vector<WindowId> activated;
};

class ExternWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::OffscreenApp(); }
  TempDir dir_;
  PrivateProfile ini_{dir_.File("t.ini")};
  ScriptedMessages messages_;
};

TEST_F(ExternWindowsTest, FavoriteWindowEditsTheClickedRowAndWritesOnlyOnOk) {
  ASSERT_TRUE(WriteFavorite(ini_, 1, {"/d/one.txt", 1, ""}).ok());
  {
    TFormFavorite form(nullptr, ini_, messages_);
    EXPECT_EQ(U(form.windowTitle()), "お気に入り設定");
    EXPECT_EQ(form.minimumSize(), QSize(680, 360));
    EXPECT_EQ(U(form.ListView1().topLevelItem(0)->text(2)), "S-JIS");
    EXPECT_EQ(U(form.Edit1().text()), "/d/one.txt");
    form.ListView1Click(2);
    form.browse = [](QWidget*) { return std::optional<std::string>("/d/picked.txt"); };
    form.ButtonOpenFile().click();
    form.ComboBox1().setCurrentIndex(3);
    EXPECT_EQ(U(form.ListView1().topLevelItem(2)->text(1)), "/d/picked.txt");
    EXPECT_EQ(U(form.ListView1().topLevelItem(2)->text(2)), U(form.ComboBox1().itemText(3)));
    form.reject();
  }
  EXPECT_EQ(ReadFavorite(ini_, 3).path, "");
  TFormFavorite form(nullptr, ini_, messages_);
  form.ListView1Click(1);
  form.Edit1().setText("/d/two.txt");
  form.ButtonOK().click();
  EXPECT_EQ(ReadFavorite(ini_, 2).path, "/d/two.txt");
  EXPECT_EQ(ReadFavorite(ini_, 1), (FavoriteEntry{"/d/one.txt", 1, "S-JIS"}));
}

TEST_F(ExternWindowsTest, LauncherWindowExampleFillsTheArgumentsAndOkWritesThem) {
  TFormLauncher form(nullptr, ini_, messages_);
  EXPECT_EQ(U(form.windowTitle()), "外部プログラム設定");
  EXPECT_EQ(form.minimumSize(), QSize(680, 370));
  form.ListView1Click(1);
  form.Edit1().setText("/opt/ed");
  form.ComboBox2().setCurrentIndex(3);
  emit form.ComboBox2().activated(3);
  EXPECT_EQ(U(form.Edit2().text()), "/l $(CurLine) \"$(FileNameEx)\"");
  EXPECT_EQ(U(form.ListView1().topLevelItem(1)->text(2)), "/l $(CurLine) \"$(FileNameEx)\"");
  emit form.ComboBox2().activated(0);
  EXPECT_EQ(U(form.Edit2().text()), "");
  form.Edit2().setText("-n $(CurLine)");
  form.ButtonOK().click();
  EXPECT_EQ(ReadLauncher(ini_, 2), (LauncherEntry{"/opt/ed", "-n $(CurLine)"}));
}

TEST_F(ExternWindowsTest, EditorChooserListsOtherEditorsAndRaisesTheChosenOne) {
  FakeWindowList list;
  list.windows = {{1, "me.txt - Tessary"}, {2, "other.txt - Tessary"}, {3, "Docs - Corvane"}};
  TFormSelectEditor form(nullptr, AppHome(dir_.path()), list, messages_, 1);
  EXPECT_EQ(U(form.windowTitle()), "エディター選択");
  form.show();
  QApplication::processEvents();
  ASSERT_EQ(form.ListBox1().count(), 1);
  EXPECT_EQ(U(form.ListBox1().item(0)->text()), "other.txt - Tessary");
  QTest::keyClick(&form.ListBox1(), Qt::Key_Return);
  EXPECT_EQ(list.activated, std::vector<WindowId>{2});
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(ExternWindowsTest, FilerChooserEditsSavesAndResetsItsPatterns) {
  FakeWindowList list;
  list.windows = {{1, "a - ostrel"}, {2, "b - files"}};
  const AppHome home(dir_.path());
  TFormSelectFiler form(nullptr, home, list, messages_, 99);
  EXPECT_EQ(U(form.windowTitle()), "ファイラー選択");
  form.show();
  QApplication::processEvents();
  EXPECT_EQ(form.ListBox1().count(), 1);
  form.Edit(3).setText("- FILES");
  form.CheckBox(3).setChecked(true);
  form.ButtonGetListClick();
  EXPECT_EQ(form.ListBox1().count(), 2);
  form.ButtonInitClick();
  EXPECT_FALSE(form.CheckBox(3).isChecked());
  EXPECT_EQ(U(form.Edit(3).text()), "");
  form.Edit(4).setText("- files");
  form.CheckBox(4).setChecked(true);
  form.ButtonSaveClick();
  EXPECT_EQ(ReadWholeFile(dir_.File("Tessary-Title.txt")).value(),
            "1 - ostrel\r\n1 - Corvane\r\n0 \r\n1 - files\r\n");
}

TEST_F(ExternWindowsTest, VersionWindowShowsTheVersionAndCyclesPictures) {
  ASSERT_TRUE(ini_.WriteInteger("VersionImage", "Index", 5).ok());
  TFormVersion form(nullptr, ini_);
  EXPECT_EQ(U(form.windowTitle()), "バージョン情報");
  EXPECT_TRUE(U(form.VersionLabel().text()).starts_with("Version ： "));
  EXPECT_EQ(form.ImageIndex(), 5);
  form.ImageClick();
  EXPECT_EQ(form.ImageIndex(), 0);
  EXPECT_EQ(ini_.ReadInteger("VersionImage", "Index", -1), 0);
  form.ImageClick();
  EXPECT_EQ(U(form.Caption().text()), "波");
}

}  // namespace
}  // namespace tessary
