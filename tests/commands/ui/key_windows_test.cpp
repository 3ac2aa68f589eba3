// The keyboard settings window and the key map window through their widgets, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include "codec/sjis_text.h"
#include "commands/key_map_fakes.h"
#include "commands/key_map_view.h"
#include "commands/ui/form_key_board.h"
#include "commands/ui/form_key_map.h"
#include "platform/ui/qt_clipboard.h"
#include "platform/ui/qt_conversions.h"
#include "support/qt_test_app.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::DefaultKeyMap;
using testing::ScriptedMessages;

QApplication& App() {
  return testing::OffscreenApp();
}

// A choice in a drop-down list as the user makes it.
void Pick(QComboBox* box, const QString& text) {
  const int index = box->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  box->setCurrentIndex(index);
  emit box->activated(index);
}

QTreeWidgetItem* ItemWithId(QTreeWidget* list, const char* id) {
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    if (list->topLevelItem(i)->text(2) == id) return list->topLevelItem(i);
  ADD_FAILURE() << "no item " << id;
  return nullptr;
}

void ClickItem(QTreeWidget* list, QTreeWidgetItem* item) {
  ASSERT_TRUE(item);
  list->scrollToItem(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

class KeyWindows : public ::testing::Test {
 protected:
  KeyWindows() {
    App();
    dir.Write(std::string(WorkingFileName(WorkingFile::KeyMap)), EncodeKeyMapFile(defaults));
  }
  std::unique_ptr<TFormKeyBoard> OpenKeyBoard() {
    auto form = std::make_unique<TFormKeyBoard>(nullptr, defaults, files, messages, ini,
                                                [this](QWidget*) { ++key_map_opened; });
    form->show();
    return form;
  }
  std::string Stored(std::string_view id) {
    Result<std::optional<KeyMap>> map = files.Load(files.key_map_path());
    return FindKeyMapRow(*map.value(), id)->shortcut;
  }
  const KeyMap defaults = DefaultKeyMap();
  testing::TempDir dir;
  KeyMapFiles files{AppHome(dir.path())};
  PrivateProfile ini{dir.File("Tessary.ini")};
  ScriptedMessages messages;
  int key_map_opened = 0;
};

TEST_F(KeyWindows, KeyBoardWindowShowsTheFirstCategoryAndItsFirstCommand) {
  auto f = OpenKeyBoard();
  EXPECT_EQ(f->windowTitle(), Q("キーボード設定"));
  EXPECT_EQ(f->minimumSize(), QSize(900, 480));
  EXPECT_EQ(f->Label1->buddy(), f->ComboBox1);
  EXPECT_EQ(f->Label2->text(), Q("新キー(&N)"));
  QStringList categories;
  for (int i = 0; i < f->ComboBox1->count(); ++i) categories << f->ComboBox1->itemText(i);
  EXPECT_EQ(categories, (QStringList{Q("ファイル"), Q("編集"), Q("検索"), Q("表示"), Q("ツール"),
                                     Q("ウィンドウ"), Q("予約語"), Q("拡張"), Q("ヘルプ")}));
  EXPECT_EQ(f->ComboBox1->currentIndex(), 0);
  EXPECT_EQ(f->focusWidget(), f->ComboBox1);

  const QTreeWidgetItem* header = f->ListView1->headerItem();
  EXPECT_EQ(header->text(0), Q("コマンド"));
  EXPECT_EQ(header->text(1), Q("現在のキー"));
  EXPECT_EQ(header->text(2), Q("機能"));
  EXPECT_EQ(f->ListView1->columnWidth(0), 445);
  EXPECT_EQ(f->ListView1->columnWidth(1), 295);
  EXPECT_EQ(f->ListView1->geometry().size(), QSize(f->width() - 45, f->height() - 145));

  ASSERT_GT(f->ListView1->topLevelItemCount(), 0);
  EXPECT_EQ(f->ListView1->currentItem(), f->ListView1->topLevelItem(0));
  EXPECT_EQ(f->ListView1->topLevelItem(0)->text(2), "1001");
  EXPECT_EQ(f->ComboBox2->count(), 2);
  EXPECT_EQ(f->ComboBox5->count(), static_cast<int>(KeyNames().size()) + 1);

  // Clicking a command shows its key in the four boxes: 検索 "Shift+F3" style keys.
  Pick(f->ComboBox1, Q("検索"));
  ClickItem(f->ListView1, ItemWithId(f->ListView1, "1201"));
  EXPECT_EQ(f->ComboBox2->currentText(), " ");
  EXPECT_EQ(f->ComboBox3->currentText(), "Ctrl");
  EXPECT_EQ(f->ComboBox4->currentText(), " ");
  EXPECT_EQ(f->ComboBox5->currentText(), "F");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(KeyWindows, KeysTakenElsewhereAreRefusedWithTheHoldersGroup) {
  auto f = OpenKeyBoard();
  Pick(f->ComboBox1, Q("編集"));
  QTreeWidgetItem* copy_line = ItemWithId(f->ListView1, "1104");
  ClickItem(f->ListView1, copy_line);
  EXPECT_EQ(copy_line->text(0), Q("１行コピー(&C)"));
  f->Button1->click();  // ｸﾘｱ
  EXPECT_EQ(copy_line->text(1), "");
  EXPECT_EQ(f->ComboBox3->currentIndex(), 0);

  Pick(f->ComboBox3, "Ctrl");
  EXPECT_EQ(messages.shown.back(), kModifiersWithoutKeyMessage);
  Pick(f->ComboBox5, "F");
  EXPECT_EQ(messages.shown.back(), KeyInUseMessage("検索"));
  EXPECT_EQ(messages.shown.back(), "「検索」\r\nで既に使用済みですので設定できません");
  Pick(f->ComboBox5, "Z");
  EXPECT_EQ(messages.shown.back(), "「エディタ」\r\nで既に使用済みですので設定できません");
  EXPECT_EQ(copy_line->text(1), "") << "a refused key changes nothing";

  Pick(f->ComboBox5, "J");
  EXPECT_EQ(copy_line->text(1), "Ctrl+J");
  Pick(f->ComboBox5, "J");
  EXPECT_EQ(messages.shown.back(), kSameKeyMessage);
  EXPECT_EQ(messages.shown.size(), 4u);

  // 拡張 commands meet only each other.
  Pick(f->ComboBox1, Q("拡張"));
  ClickItem(f->ListView1, ItemWithId(f->ListView1, "1701"));
  Pick(f->ComboBox3, "Ctrl");
  Pick(f->ComboBox5, "F");
  EXPECT_EQ(ItemWithId(f->ListView1, "1701")->text(1), "Ctrl+F");
  ClickItem(f->ListView1, ItemWithId(f->ListView1, "1702"));
  Pick(f->ComboBox3, "Ctrl");
  Pick(f->ComboBox5, "F");
  EXPECT_EQ(messages.shown.back(), "「拡張」\r\nで既に使用済みですので設定できません");
  EXPECT_EQ(ItemWithId(f->ListView1, "1702")->text(1), "");

  EXPECT_EQ(Stored("1104"), "Ctrl+Alt+C") << "nothing is written before OK";
  f->ButtonOK->click();
  EXPECT_FALSE(f->isVisible());
  EXPECT_EQ(f->result(), QDialog::Accepted);
  EXPECT_EQ(f->Result(), KeyBoardResult::Ok);
  EXPECT_EQ(Stored("1104"), "Ctrl+J");
  EXPECT_EQ(Stored("1701"), "Ctrl+F");
}

TEST_F(KeyWindows, CancelAndEscDropChangesButReportAWrittenFile) {
  {
    auto f = OpenKeyBoard();
    Pick(f->ComboBox5, "F12");  // on 1001
    QTest::keyClick(f.get(), Qt::Key_Escape);
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(f->Result(), KeyBoardResult::Cancel);
    EXPECT_EQ(Stored("1001"), FindKeyMapRow(defaults, "1001")->shortcut);
  }
  {
    // A key map changed by hand; 初期化 writes the defaults, so even Cancel re-applies them.
    KeyMap changed = defaults;
    FindKeyMapRow(changed, "1001")->shortcut = "F11";
    ASSERT_TRUE(files.Save(files.key_map_path(), changed));
    auto f = OpenKeyBoard();
    EXPECT_EQ(f->ListView1->topLevelItem(0)->text(1), "F11");
    messages.answers = {Answer::No};
    f->ButtonInit->click();
    EXPECT_EQ(Stored("1001"), "F11") << "No does nothing";
    messages.answers = {Answer::Yes};
    f->ButtonInit->click();
    EXPECT_EQ(messages.asked.back(), kInitQuestion);
    EXPECT_EQ(f->ListView1->topLevelItem(0)->text(1), Q(FindKeyMapRow(defaults, "1001")->shortcut));
    EXPECT_EQ(f->ComboBox1->currentIndex(), 0);
    f->ButtonCancel->click();
    EXPECT_EQ(f->Result(), KeyBoardResult::Ok);
    EXPECT_EQ(f->result(), QDialog::Accepted);
    EXPECT_EQ(Stored("1001"), FindKeyMapRow(defaults, "1001")->shortcut);
  }
}

TEST_F(KeyWindows, DifferenceFileSavedAppliedAndShown) {
  auto f = OpenKeyBoard();
  Pick(f->ComboBox5, "F12");  // 1001 (Ctrl+N) takes Ctrl+F12
  messages.answers = {Answer::Yes};
  f->ButtonDiffToFile->click();
  EXPECT_EQ(messages.shown.back(), kDiffSavedMessage);
  Result<std::optional<KeyMap>> diff = files.Load(files.key_diff_path());
  ASSERT_TRUE(diff && diff.value());
  ASSERT_EQ(diff.value()->size(), 1u);
  EXPECT_EQ(diff.value()->front().shortcut, "Ctrl+F12");

  f->ButtonShowDiff->click();
  EXPECT_FALSE(ini.ReadBool("ShowKeyMapItem", "All", true));
  f->ButtonShowAll->click();
  EXPECT_TRUE(ini.ReadBool("ShowKeyMapItem", "All", false));
  EXPECT_EQ(key_map_opened, 2);
  f->ButtonCancel->click();
  EXPECT_EQ(f->Result(), KeyBoardResult::Cancel);

  // A new window on the unchanged file applies the difference and writes it.
  auto g = OpenKeyBoard();
  EXPECT_NE(g->ListView1->topLevelItem(0)->text(1), "Ctrl+F12");
  messages.answers = {Answer::Yes};
  g->ButtonButtonLoadFromFile->click();
  EXPECT_EQ(messages.shown.back(), kDiffAppliedMessage);
  EXPECT_EQ(g->ListView1->topLevelItem(0)->text(1), "Ctrl+F12");
  EXPECT_EQ(Stored("1001"), "Ctrl+F12");
  g->ButtonCancel->click();
  EXPECT_EQ(g->Result(), KeyBoardResult::Ok);
}

TEST_F(KeyWindows, OkThatCannotWriteKeepsTheWindowAndTheChanges) {
  testing::FaultyKeyMapFiles faulty(dir.path());
  TFormKeyBoard f(nullptr, defaults, faulty, messages, ini, nullptr);
  f.show();
  Pick(f.ComboBox5, "F12");
  faulty.fail_write = true;
  f.ButtonOK->click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("Read-only file system"), std::string::npos)
      << messages.shown[0];
  EXPECT_TRUE(f.isVisible()) << "nothing the user did is lost";
  EXPECT_EQ(f.ListView1->topLevelItem(0)->text(1), "Ctrl+F12");
  faulty.fail_write = false;
  f.ButtonOK->click();
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(f.Result(), KeyBoardResult::Ok);
  EXPECT_EQ(Stored("1001"), "Ctrl+F12");
}

// A cell of a list drawn from a model.
QString Cell(const QTreeView* list, int row, int column) {
  return list->model()->index(row, column).data().toString();
}

ClipboardTextCodec SjisCodec() {
  return {[](std::string_view sjis) { return Q(SjisToUtf8(sjis)).toStdU16String(); },
          [](std::u16string_view u) {
            return Utf8ToSjis(QString::fromStdU16String(std::u16string(u)).toStdString());
          }};
}

TEST_F(KeyWindows, KeyMapWindowListsUnsortedOrByModifiersAndCopies) {
  ASSERT_TRUE(WriteShowKeyMapItem(ini, true));
  QtClipboard clipboard(SjisCodec());
  TFormKeyMap f(nullptr, ini, files, messages, clipboard);
  f.show();
  EXPECT_EQ(f.windowTitle(), Q("キーボードマップ"));
  EXPECT_EQ(f.minimumSize(), QSize(900, 600));
  EXPECT_EQ(f.ListView1->model()->headerData(0, Qt::Horizontal).toString(), Q("カテゴリ"));
  EXPECT_EQ(f.ListView1->columnWidth(0), 110);
  EXPECT_EQ(f.ListView1->columnWidth(1), f.ListView1->width() - 420);
  const int before = f.ListView1->columnWidth(1);
  f.resize(f.width() + 300, 700);
  EXPECT_EQ(f.ListView1->columnWidth(1), before + 300) << "widths follow the window";
  EXPECT_FALSE(f.ListView1->horizontalScrollBar()->isVisible());

  ASSERT_EQ(f.ListView1->model()->rowCount(), static_cast<int>(defaults.size()));
  EXPECT_EQ(Cell(f.ListView1, 0, 3), "1001");
  EXPECT_EQ(f.ListView1->currentIndex().row(), 0);

  f.ButtonSort->click();
  const int n = f.ListView1->model()->rowCount();
  EXPECT_EQ(ModifierGroupOf(Cell(f.ListView1, 0, 2).toStdString()), ModifierGroup::Plain);
  EXPECT_EQ(Cell(f.ListView1, n - 1, 2), "") << "rows without a key come last";
  EXPECT_EQ(f.ListView1->currentIndex().row(), 0);

  f.ButtonCopy->click();
  QStringList shown;
  for (int i = 0; i < n; ++i) {
    QStringList fields;
    for (int c = 0; c < 4; ++c) fields << Cell(f.ListView1, i, c);
    shown << fields.join("\t");
  }
  EXPECT_EQ(QApplication::clipboard()->text(), shown.join("\r\n"));

  f.ButtonSortNone->click();
  EXPECT_EQ(Cell(f.ListView1, 0, 3), "1001");
  QTest::keyClick(f.ListView1, Qt::Key_Escape);
  EXPECT_FALSE(f.isVisible()) << "Esc closes";
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(KeyWindows, KeyMapWindowReportsAMissingFileAfterItIsShown) {
  ASSERT_TRUE(WriteShowKeyMapItem(ini, false));  // the difference file, never saved
  MemoryClipboard clipboard;
  TFormKeyMap f(nullptr, ini, files, messages, clipboard);
  EXPECT_EQ(f.ListView1->model()->rowCount(), 0);
  EXPECT_TRUE(messages.shown.empty()) << "not before the window is up";
  f.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.shown.empty(); }, 5000));
  EXPECT_EQ(messages.shown, (std::vector<std::string>{kKeyMapMissingMessage}));
  QTest::qWait(150);
  EXPECT_EQ(messages.shown.size(), 1u) << "once";
  f.ButtonCopy->click();
  EXPECT_EQ(clipboard.Text(), "");
  f.ButtonClose->click();
  EXPECT_FALSE(f.isVisible());

  // Closed before the message was due: it is not shown over whatever comes next.
  TFormKeyMap g(nullptr, ini, files, messages, clipboard);
  g.show();
  QTest::keyClick(g.ListView1, Qt::Key_Escape);
  QTest::qWait(2 * kKeyMapMissingMessageDelayMs);
  EXPECT_EQ(messages.shown.size(), 1u);
}

}  // namespace
}  // namespace tessary
