// The binary viewer window through its widgets, offscreen, and its opening from the main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/ui/form_main.h"
#include "commands/key_map.h"
#include "commands/key_map_fakes.h"
#include "editor/editor_control.h"
#include "editor/ui/editor.h"
#include "platform/ui/qt_conversions.h"
#include "support/qt_test_app.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"
#include "viewers/ui/form_binary.h"

namespace tessary {
namespace {

using testing::Hex;
using testing::ScriptedMessages;
using testing::TempDir;

class BinaryWindow : public ::testing::Test {
 protected:
  BinaryWindow() { testing::OffscreenApp(); }
  TFormBinary& Open(std::string_view bytes, uint64_t offset = 0, CharCode code = CharCode::SJIS) {
    EXPECT_TRUE(StoreBinaryOffset(ini, offset).ok());
    form_ = std::make_unique<TFormBinary>(
        nullptr, BinaryFormArgs{ini, home, messages, dir.Write("f.bin", bytes), code});
    form_->show();
    return *form_;
  }
  std::string Label() const { return FromQ(form_->Label2->text()); }

  TempDir dir;
  AppHome home{dir.path()};
  PrivateProfile ini{home.SettingsFile()};
  ScriptedMessages messages;
  std::unique_ptr<TFormBinary> form_;
};

TEST_F(BinaryWindow, KeysClicksAndMenusMoveTheCaretAndTheLabelFollows) {
  TFormBinary& f = Open(std::string(0x1000, 'a'), 0x123);
  EXPECT_EQ(Label(), "000123");
  EXPECT_EQ(FromQ(f.windowTitle()), "バイナリ表示");
  QTest::keyClick(f.Editor1, Qt::Key_Right);
  QTest::keyClick(f.Editor1, Qt::Key_Right);
  QTest::keyClick(f.Editor1, Qt::Key_Right);
  EXPECT_EQ(Label(), "000124");
  QTest::keyClick(f.Editor1, Qt::Key_Down);
  EXPECT_EQ(Label(), "000134");
  f.CommandAction(1734)->trigger();  // 最後
  EXPECT_EQ(f.Model().Caret().line, 0xFFu);
  f.CommandAction(1731)->trigger();  // 先頭
  EXPECT_EQ(Label(), "000004");
  // A click in the character column lands on byte F of the clicked line.
  const DumpCaret clicked = f.Editor1->PointToCaret(QPoint(f.Editor1->viewport()->width() - 2, 1));
  QTest::mouseClick(f.Editor1->viewport(), Qt::LeftButton, {},
                    QPoint(f.Editor1->viewport()->width() - 2, 1));
  EXPECT_EQ(clicked.line, 0u);
  EXPECT_EQ(Label(), "00000F");
  // Esc acts as 終了: the offset goes back through Binary/SelStart.
  QTest::keyClick(f.Editor1, Qt::Key_Escape);
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(StoredBinaryOffset(ini, 0), 15u);
}

TEST_F(BinaryWindow, TheCloseBoxKeepsTheOffsetThatCameIn) {
  TFormBinary& f = Open(std::string(100, 'a'), 5);
  QTest::keyClick(f.Editor1, Qt::Key_Down);
  f.close();
  EXPECT_EQ(StoredBinaryOffset(ini, 0), 5u);
}

TEST_F(BinaryWindow, SearchShowsTheHitTheBytesAndKeepsHistoryAndLook) {
  TFormBinary& f = Open("abc\r\nxyz\x82\xA0\r\n");  // あ in Shift-JIS
  f.ComboBox1->setCurrentText(QStringLiteral("#13#10 Cr+Lf(Windows) "));
  f.CommandAction(1202)->trigger();
  EXPECT_EQ(Label(), "000003");
  EXPECT_EQ(FromQ(f.Edit1->text()), "0D 0A ");
  f.CommandAction(1202)->trigger();
  EXPECT_EQ(Label(), "00000A");
  f.ComboBox1->setCurrentText(Q("あ"));
  f.ButtonSearchPrev->click();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(f.ComboBox1->itemText(0), Q("あ"));
  EXPECT_EQ(f.ComboBox1->count(), 5);  // the word and the four fixed entries
  // Enter in the boxes is discarded; Esc still closes.
  QTest::keyClick(f.ComboBox1->lineEdit(), Qt::Key_Return);
  EXPECT_TRUE(f.isVisible());
  f.CommandAction(1736)->trigger();  // 0D unmarked
  f.choose_color = [](TColor) { return std::optional(clRed); };
  f.CommandAction(1740)->trigger();
  f.CommandAction(1021)->trigger();
  const BinaryLook look = ReadBinaryLook(ini);
  EXPECT_FALSE(look.show_cr);
  EXPECT_EQ(look.kigou_color, clRed);
  EXPECT_EQ(StoredBinaryOffset(ini, 0), 8u);
}

// Whether any pixel of a byte's two code cells on the first row is drawn in the mark colour.
bool CodeCellsHaveMarkColour(TFormBinary& f, int byte) {
  const QImage image = f.Editor1->viewport()->grab().toImage();
  // The cells' pixel range, from the pane's own mapping of points to columns.
  int left = 0;
  while (f.Editor1->PointToCaret(QPoint(left, 1)).column < 7 + 3 * byte) ++left;
  int right = left;
  while (f.Editor1->PointToCaret(QPoint(right, 1)).column < 9 + 3 * byte) ++right;
  // The glyphs of the first row, above the caret line's underline.
  int row_height = 1;
  while (f.Editor1->PointToCaret(QPoint(left, row_height)).line == 0) ++row_height;
  for (int y = 1; y < row_height - 3; ++y)
    for (int x = left; x < right; ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.blue() > 150 && c.red() < 100 && c.green() < 100) return true;
    }
  return false;
}

TEST_F(BinaryWindow, MarksTheLineEndAndTabCodesInTheMarkColourByTheSwitches) {
  TFormBinary& f = Open("\nA\t\r");
  f.resize(780, 400);
  QApplication::processEvents();
  EXPECT_TRUE(CodeCellsHaveMarkColour(f, 0));   // OA
  EXPECT_FALSE(CodeCellsHaveMarkColour(f, 1));  // 41
  EXPECT_TRUE(CodeCellsHaveMarkColour(f, 2));   // 09
  EXPECT_TRUE(CodeCellsHaveMarkColour(f, 3));   // OD
  f.CommandAction(1737)->trigger();             // 0A no longer marked
  EXPECT_FALSE(CodeCellsHaveMarkColour(f, 0));
  EXPECT_TRUE(CodeCellsHaveMarkColour(f, 2));
}

TEST_F(BinaryWindow, TakesItsShortcutsFromTheKeyMapRowsByNumber) {
  KeyMap map = testing::DefaultKeyMap();
  FindKeyMapRow(map, "1734")->shortcut = "Ctrl+E";
  KeyMapFiles files(home);
  ASSERT_TRUE(files.Save(files.key_map_path(), map));
  TFormBinary& f = Open("x");
  EXPECT_EQ(f.CommandAction(1734)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
}

// The main window opens the dump at the caret's file byte and takes the byte last shown back
// as the caret's character, for files whose bytes differ from the editor's text.
TEST(BinaryFromMainWindow, TranslatesTheCaretToTheFileByteAndBack) {
  testing::OffscreenApp();
  TempDir dir;
  ScriptedMessages messages;
  TFormMain main(messages, AppHome(dir.path()), {});
  EditorControl& c = main.Editor1().Control();
  // UTF-8 with LF: "aあ\nbc\n"; あ takes three bytes, the line end one.
  const std::string path = dir.Write("u.txt", "a\xE3\x81\x82\nbc\n");
  main.Document().SetFileName(path);
  main.Document().SetReadCode(CharCode::Auto);
  main.Document().LoadFile();
  ASSERT_EQ(main.Document().CodeState().ReadCode, CharCode::UTF8);
  c.SetSelStart(6);  // "c": a, あ (2), CR LF (2), b
  uint64_t opened_at = 0;
  QTimer::singleShot(0, [&] {
    auto* form = qobject_cast<TFormBinary*>(QApplication::activeModalWidget());
    ASSERT_NE(form, nullptr);
    opened_at = form->Model().CaretOffset();
    form->Model().PlaceCaret(CaretAtByte(form->Model().Layout(), 8, 2));  // a byte of あ
    form->MenuBinaryCloseClick();
  });
  main.Action(CommandId::MenuShowBinary)->trigger();
  EXPECT_EQ(opened_at, 6u);
  EXPECT_EQ(c.SelStart(), 1);
  // Modified text is refused before the window opens.
  c.SetModified(true);
  main.Action(CommandId::MenuShowBinary)->trigger();
  EXPECT_EQ(messages.shown.back(), binary_text::kModified);
}

}  // namespace
}  // namespace tessary
