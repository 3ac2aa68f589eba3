// The editor widget on Qt's offscreen platform: layout, keys, mouse, input method, menu, drawing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <memory>
#include <string>

#include "codec/text_lines.h"
#include "commands/line_decorations.h"
#include "editor/editor_row_states.h"
#include "editor/leftbar_numbers.h"
#include "editor/ui/editor.h"
#include "editor/ui/sjis_unicode.h"
#include "platform/ui/qt_clipboard.h"
#include "support/qt_test_app.h"

namespace tessary {
namespace {

QApplication& App() {
  return testing::OffscreenApp();
}

std::string Sjis(const char* utf8) {
  const QString s = QString::fromUtf8(utf8);
  return Utf16ToSjis(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()),
                                         static_cast<size_t>(s.size())));
}

class EditorWidget : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    editor = std::make_unique<TEditor>();
    editor->SetEditorFont(TEditor::DefaultFont(16));
    editor->resize(640, 480);
    editor->show();
    editor->setFocus();
    QApplication::processEvents();
  }
  void Load(const std::vector<std::string>& rows, bool final_line_end = true) {
    TextLines lines;
    for (const std::string& r : rows) lines.AddLine(r);
    lines.set_last_line_has_end(final_line_end);
    editor->Document().SetTextLines(lines);
  }
  QWidget* vp() { return editor->viewport(); }
  // The middle of the cell of (row, col) on screen.
  QPoint Cell(int32_t row, int32_t col) {
    const CellMetrics& m = editor->Metrics();
    return QPoint(editor->Column0X() + col * m.char_width + 1,
                  editor->RowTop(row) + m.row_height / 2);
  }
  // The point between two columns, where a click puts the caret.
  QPoint Boundary(int32_t row, int32_t col) {
    const CellMetrics& m = editor->Metrics();
    return QPoint(editor->Column0X() + col * m.char_width, editor->RowTop(row) + m.row_height / 2);
  }
  std::string Row(int32_t r) { return std::string(editor->Control().RowText(r)); }
  QImage Grab() { return vp()->grab().toImage(); }

  std::unique_ptr<TEditor> editor;
};

TEST_F(EditorWidget, LayoutFollowsTheBarsMarginsAndFont) {
  const CellMetrics m = editor->Metrics();
  const FontMetrics& f = editor->MeasuredFont();
  EXPECT_EQ(m.char_width, f.average_char_width);
  EXPECT_EQ(m.row_height, f.height + f.external_leading);
  EXPECT_EQ(m.text_left, 19 + 12);  // Margin.Left + image bar; the left bar is hidden
  EXPECT_EQ(m.text_top, 2);
  // The underline adds one pixel to every row.
  editor->Marks().Underline.SetVisible(true);
  EXPECT_EQ(editor->Metrics().row_height, m.row_height + 1);
  editor->Margin().SetLine(3);
  EXPECT_EQ(editor->Metrics().row_height, m.row_height + 4);
  // The ruler pushes the text down by its height.
  editor->Ruler().SetVisible(true);
  EXPECT_EQ(editor->Metrics().text_top, 2 + 11);
  // Page sizes from the viewport.
  const CellMetrics n = editor->Metrics();
  EXPECT_EQ(editor->RowsPerPage(), std::max(1, (vp()->height() - n.text_top - 5) / n.row_height));
  EXPECT_EQ(editor->ColumnsPerPage(),
            (vp()->width() - n.text_left - n.char_width / 2) / n.char_width);
  EXPECT_EQ(editor->Control().VisibleRows(), editor->RowsPerPage());
}

TEST_F(EditorWidget, LeftBarDigitsFollowTheTextAndWidenTheBar) {
  editor->Leftbar().SetColumn(5);
  editor->Leftbar().SetShowNumberMode(TEditorShowNumberMode::nmLine);
  editor->Leftbar().SetVisible(true);
  const int narrow = editor->Metrics().text_left;
  EXPECT_EQ(editor->LeftbarDigitCount(), 5);
  std::vector<std::string> rows(123456, "x");
  Load(rows);
  EXPECT_EQ(editor->LeftbarDigitCount(), 6);
  EXPECT_EQ(editor->Metrics().text_left, narrow + editor->Metrics().char_width);
  // An edit that removes the sixth digit narrows the bar again.
  editor->Control().SelectAll();
  editor->Control().InsertText("a");
  EXPECT_EQ(editor->LeftbarDigitCount(), 5);
  EXPECT_EQ(editor->Metrics().text_left, narrow);
  // The start of a long file is shown with the bar its whole document will have.
  editor->Control().SetLeftbarLinesAhead(2'900'000);
  EXPECT_EQ(editor->LeftbarDigitCount(), 7);
  EXPECT_EQ(editor->Metrics().text_left, narrow + 2 * editor->Metrics().char_width);
  editor->Control().SetLeftbarLinesAhead(0);
  EXPECT_EQ(editor->LeftbarDigitCount(), 5);
}

// A rewrap changes the rows without an edit: numbered by row, the bar must widen with it at
// once, not at the next edit, or the numbers run into the text.
TEST_F(EditorWidget, LeftBarDigitsFollowARewrapAsTheyFollowLoadsAndEdits) {
  editor->Leftbar().SetVisible(true);  // four columns, numbered by row
  const int narrow = editor->Metrics().text_left;
  editor->Control().SetWordWrap(false);
  Load(std::vector<std::string>(9000, std::string(30, 'x')));
  EXPECT_EQ(editor->LeftbarDigitCount(), 4);
  editor->Document().WrapOption().SetWrapByte(20);
  editor->Control().SetWordWrap(true);  // 18,000 rows
  EXPECT_EQ(editor->LeftbarDigitCount(), 5);
  EXPECT_EQ(editor->Metrics().text_left, narrow + editor->Metrics().char_width);
  editor->Control().SetWordWrap(false);
  EXPECT_EQ(editor->LeftbarDigitCount(), 4);
  EXPECT_EQ(editor->Metrics().text_left, narrow);
  // Numbered by line, the rows of a line carry one number: the first.
  editor->Leftbar().SetShowNumberMode(TEditorShowNumberMode::nmLine);
  editor->Control().SetWordWrap(true);
  EXPECT_EQ(editor->LeftbarDigitCount(), 4);
  const std::vector<LeftbarLabel> expected{{0, 0}, {2, 1}, {4, 2}};
  EXPECT_EQ(LeftbarLabels(editor->Leftbar(), editor->Document(), 0, 5), expected);
}

TEST_F(EditorWidget, KeysReachTheControl) {
  Load({"abc", "de"});
  QTest::keyClick(editor.get(), Qt::Key_Right);
  QTest::keyClick(editor.get(), Qt::Key_Right);
  EXPECT_EQ(editor->Control().CaretCol(), 2);
  QTest::keyClick(editor.get(), Qt::Key_Down);
  EXPECT_EQ(editor->Control().CaretRow(), 1);
  QTest::keyClick(editor.get(), Qt::Key_Home);
  QTest::keyClick(editor.get(), Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(editor->Control().SelText(), "d");
  QTest::keyClicks(editor.get(), "XY");
  EXPECT_EQ(Row(1), "XYe");
  QTest::keyClick(editor.get(), Qt::Key_Tab);
  EXPECT_EQ(Row(1), "XY\te");  // Tab stays in the text, it does not move the focus
  EXPECT_TRUE(editor->hasFocus());
  QTest::keyClick(editor.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Row(1), "XYe");
  QTest::keyClick(editor.get(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(editor->Control().SelLength(), editor->Control().TextLength());
  QTest::keyClick(editor.get(), Qt::Key_Return);
  // The selection went and a line end came: one empty row that ends a line.
  EXPECT_EQ(editor->Control().RowCount(), 1);
  EXPECT_EQ(Row(0), "");
  EXPECT_EQ(editor->Control().RowAttribute(0), RowEnd::RowEndsLine);
}

TEST_F(EditorWidget, MarkKeysWithShiftedDigits) {
  Load({"a", "b", "c", "d"});
  editor->Control().SetCaret(2, 0);
  QTest::keyClick(editor.get(), Qt::Key_3, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(editor->Control().MarkRow(3), 2);
  // The same chord as a US keyboard reports it: the shifted symbol.
  editor->Control().SetCaret(0, 0);
  QTest::keyClick(editor.get(), Qt::Key_Exclam, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(editor->Control().MarkRow(1), 0);
  QTest::keyClick(editor.get(), Qt::Key_3, Qt::AltModifier | Qt::ControlModifier);
  EXPECT_EQ(editor->Control().CaretRow(), 2);
}

TEST_F(EditorWidget, TypedJapaneseGoesInAsShiftJis) {
  Load({""});
  // Typed characters that no key code names (the keyboard's own text).
  for (const QChar c : QString::fromUtf8("日本ｶﾅ")) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(editor.get(), &press);
  }
  EXPECT_EQ(Row(0), Sjis("日本ｶﾅ"));
  EXPECT_EQ(editor->Control().CaretCol(), 6);
}

TEST_F(EditorWidget, InputMethodCommitInsertsShiftJisAndLaterKeysStillType) {
  Load({"ab"});
  editor->Control().SetCaret(0, 1);
  const QImage before = Grab();
  {
    QInputMethodEvent preedit(QString::fromUtf8("にほん"), {});
    QApplication::sendEvent(editor.get(), &preedit);
  }
  EXPECT_EQ(editor->Preedit(), QString::fromUtf8("にほん"));
  EXPECT_EQ(Row(0), "ab");  // a composition is not text yet
  // It is drawn at the caret, over the six cells after it, underlined.
  const QImage during = Grab();
  const int w = editor->Metrics().char_width;
  const int x0 = editor->Column0X();
  const int y_line = editor->RowTop(0) + editor->MeasuredFont().height;
  for (int x = x0 + w; x < x0 + 7 * w; ++x)
    EXPECT_NE(during.pixel(x, y_line), qRgb(255, 255, 255)) << x;
  bool changed = false;
  for (int x = x0 + 3 * w; x < x0 + 7 * w && !changed; ++x)
    for (int y = editor->RowTop(0); y < y_line; ++y)
      if (during.pixel(x, y) != before.pixel(x, y)) changed = true;
  EXPECT_TRUE(changed);
  {
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("日本€😀"));
    QApplication::sendEvent(editor.get(), &commit);
  }
  EXPECT_TRUE(editor->Preedit().isEmpty());
  // What Shift-JIS cannot hold becomes "?": the euro sign, and the emoji as one character.
  std::string expected = "a";
  expected += Sjis("日本");
  EXPECT_EQ(Row(0), expected + "??b");
  // No character messages follow a commit on this platform: nothing may be skipped.
  QTest::keyClicks(editor.get(), "xy");
  EXPECT_EQ(Row(0), expected + "??xyb");
}

TEST_F(EditorWidget, InputMethodIsPlacedAtTheCaret) {
  Load({"abcdef", "ghi"});
  editor->Control().SetCaret(1, 2);
  const QRect r = editor->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  const QPoint at = vp()->mapTo(editor.get(), Boundary(1, 2));
  EXPECT_EQ(r.left(), at.x());
  EXPECT_EQ(r.top(), vp()->mapTo(editor.get(), QPoint(0, editor->RowTop(1))).y());
  EXPECT_TRUE(editor->inputMethodQuery(Qt::ImEnabled).toBool());
  editor->Control().SetReadOnly(true);
  EXPECT_FALSE(editor->inputMethodQuery(Qt::ImEnabled).toBool());
}

TEST_F(EditorWidget, ClicksAndDragsMapToRowsAndColumns) {
  Load({"abcdefgh", Sjis("日本語テキスト"), "xyz"});
  QTest::mouseClick(vp(), Qt::LeftButton, {}, Boundary(0, 3));
  EXPECT_EQ(editor->Control().CaretRow(), 0);
  EXPECT_EQ(editor->Control().CaretCol(), 3);
  // A click on the second half of a double-byte character lands on a character boundary.
  QTest::mouseClick(vp(), Qt::LeftButton, {}, Boundary(1, 3));
  EXPECT_EQ(editor->Control().CaretRow(), 1);
  EXPECT_EQ(editor->Control().CaretCol() % 2, 0);
  // Shift+click extends from the caret.
  QTest::mouseClick(vp(), Qt::LeftButton, {}, Boundary(0, 1));
  QTest::mouseClick(vp(), Qt::LeftButton, Qt::ShiftModifier, Boundary(0, 5));
  EXPECT_EQ(editor->Control().SelText(), "bcde");
  // A drag selects from the press point to the pointer.
  QTest::mousePress(vp(), Qt::LeftButton, {}, Boundary(2, 0));
  QTest::mouseMove(vp(), Boundary(2, 2));
  QTest::mouseRelease(vp(), Qt::LeftButton, {}, Boundary(2, 2));
  EXPECT_EQ(editor->Control().SelText(), "xy");
}

TEST_F(EditorWidget, DraggingAboveTheTextKeepsScrollingUp) {
  Load(std::vector<std::string>(300, "row text"));
  editor->Control().SetTopRow(100);
  QTest::mousePress(vp(), Qt::LeftButton, {}, Boundary(105, 2));
  QTest::mouseMove(vp(), QPoint(Boundary(105, 2).x(), 0));
  QTest::qWait(400);  // the auto-scroll timer runs while the button is held
  const int32_t top = editor->Control().TopRow();
  EXPECT_LT(top, 99);
  QTest::mouseRelease(vp(), Qt::LeftButton, {}, QPoint(Boundary(105, 2).x(), 0));
  EXPECT_TRUE(editor->Control().Selected());
  EXPECT_EQ(editor->Control().StreamEnd().row, 105);
  EXPECT_LT(editor->Control().StreamStart().row, 100);
  QTest::qWait(150);
  EXPECT_EQ(editor->Control().TopRow(), top);  // and stops with the release
}

TEST_F(EditorWidget, DraggingTheSelectionMovesItAndCtrlCopiesIt) {
  Load({"abcdef", "xyz"});
  editor->Control().SetSelStart(1);
  editor->Control().SetSelLength(2);  // "bc"
  QTest::mousePress(vp(), Qt::LeftButton, {}, Cell(0, 1));
  QTest::mouseMove(vp(), Boundary(0, 4));
  QTest::mouseMove(vp(), Boundary(0, 5));
  QTest::mouseRelease(vp(), Qt::LeftButton, {}, Boundary(0, 5));
  EXPECT_EQ(Row(0), "adebcf");
  editor->Control().SetSelStart(0);
  editor->Control().SetSelLength(1);  // "a"
  QTest::mousePress(vp(), Qt::LeftButton, {}, Cell(0, 0));
  QTest::mouseMove(vp(), Boundary(1, 1), 0);
  QTest::mouseMove(vp(), Boundary(1, 2));
  QTest::mouseRelease(vp(), Qt::LeftButton, Qt::ControlModifier, Boundary(1, 2));
  EXPECT_EQ(Row(0), "adebcf");
  EXPECT_EQ(Row(1), "xyaz");
}

TEST_F(EditorWidget, LeftMarginClickSelectsTheRow) {
  Load({"first", "second", "third"});
  QTest::mouseClick(vp(), Qt::LeftButton, {}, QPoint(3, editor->RowTop(1) + 2));
  EXPECT_EQ(editor->Control().SelText(), "second\r\n");
}

TEST_F(EditorWidget, DoubleClickIsAnEventForTheWindow) {
  Load({"abc"});
  int clicks = 0;
  editor->OnDblClick = [&](TEditor&) { ++clicks; };
  QTest::mouseDClick(vp(), Qt::LeftButton, {}, Boundary(0, 2));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(editor->Control().CaretCol(), 2);
}

TEST_F(EditorWidget, WheelAndScrollBarsMoveTheTopRow) {
  Load(std::vector<std::string>(500, "row"));
  QWheelEvent wheel(QPointF(50, 50), vp()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(vp(), &wheel);
  EXPECT_EQ(editor->Control().TopRow(), 3);
  editor->verticalScrollBar()->setValue(40);
  EXPECT_EQ(editor->Control().TopRow(), 40);
  QTest::keyClick(editor.get(), Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(editor->verticalScrollBar()->value(), editor->Control().TopRow());
  EXPECT_GT(editor->Control().TopRow(), 400);
}

TEST_F(EditorWidget, PopupMenuStatesFollowTheControl) {
  Load({"abc"});
  auto find = [](QMenu& m, const char* caption) -> QAction* {
    for (QAction* a : m.actions())
      if (a->text() == QString::fromUtf8(caption)) return a;
    return nullptr;
  };
  {
    std::unique_ptr<QMenu> m = editor->CreatePopupMenu();
    ASSERT_NE(find(*m, "コピー(&C)"), nullptr);
    EXPECT_FALSE(find(*m, "コピー(&C)")->isEnabled());
    EXPECT_FALSE(find(*m, "元に戻す(&U)")->isEnabled());
    EXPECT_TRUE(find(*m, "すべて選択(&A)")->isEnabled());
    EXPECT_FALSE(find(*m, "Box選択モード(&K)")->isChecked());
  }
  editor->Control().SetSelectionMode(SelectionMode::Box);
  editor->Control().KeyDown(EditorKey::Right, kShift);
  editor->Control().KeyDown(EditorKey::Right, kShift);
  editor->Control().PutMark(0, 3);
  std::unique_ptr<QMenu> m = editor->CreatePopupMenu();
  EXPECT_TRUE(find(*m, "コピー(&C)")->isEnabled());
  EXPECT_TRUE(find(*m, "Box選択モード(&K)")->isChecked());
  QAction* marks = find(*m, "マーク設定");
  ASSERT_NE(marks, nullptr);
  ASSERT_NE(marks->menu(), nullptr);
  EXPECT_TRUE(marks->menu()->actions().at(3)->isChecked());
  EXPECT_FALSE(marks->menu()->actions().at(2)->isChecked());
  // Triggering an item runs it on the control.
  find(*m, "Box選択モード(&K)")->trigger();
  EXPECT_EQ(editor->Control().GetSelectionMode(), SelectionMode::Stream);
}

TEST_F(EditorWidget, ClipboardKeepsTheBoxMarkAndConvertsText) {
  Load({Sjis("日本語"), "abc"});
  QtClipboard& clip = editor->SystemClipboard();
  clip.SetText(Sjis("日本\r\nab\r\n"), ClipboardShape::Box);
  EXPECT_TRUE(clip.HasBoxFormat());
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("日本\r\nab\r\n"));
  EXPECT_EQ(clip.Text(), Sjis("日本\r\nab\r\n"));
  // Another program's copy carries no box mark; its LF line ends become CR LF.
  QGuiApplication::clipboard()->setText(QString::fromUtf8("外\nx"));
  EXPECT_FALSE(clip.HasBoxFormat());
  EXPECT_EQ(clip.Text(), Sjis("外\r\nx"));
  // Ctrl+C in box mode, Ctrl+V pastes as a box.
  editor->Control().SetSelectionMode(SelectionMode::Box);
  editor->Control().SetCaret(0, 0);
  QTest::keyClick(editor.get(), Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClick(editor.get(), Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(editor.get(), Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(editor.get(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_TRUE(clip.HasBoxFormat());
  EXPECT_EQ(clip.Text(), Sjis("日") + "\r\nab\r\n");
}

// The ink of a drawn row, by pixel column, inside [x0, x1).
bool InkBetween(const QImage& img, int x0, int x1, int y0, int y1, QRgb background) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (img.pixel(x, y) != background) return true;
  return false;
}

TEST_F(EditorWidget, EveryColumnIsDrawnInItsOwnCell) {
  editor->SetColor(clWhite);
  // Row 0: a double-byte character then "A"; row 1: "A" at column 2 after two spaces.
  Load({Sjis("日") + "A", "  A", ""});
  QImage img = Grab();
  const int w = editor->Metrics().char_width;
  const int y0 = editor->RowTop(0), y1 = editor->RowTop(1) - 1;
  const int x0 = editor->Column0X();
  const QRgb white = qRgb(255, 255, 255);
  EXPECT_TRUE(InkBetween(img, x0, x0 + 2 * w, y0, y1, white));
  EXPECT_TRUE(InkBetween(img, x0 + 2 * w, x0 + 3 * w, y0, y1, white));
  EXPECT_FALSE(InkBetween(img, x0 + 3 * w + 1, x0 + 10 * w, y0, y1, white));
  // The "A" of both rows stands in the same pixel columns.
  const int z0 = editor->RowTop(1), z1 = editor->RowTop(2) - 1;
  EXPECT_FALSE(InkBetween(img, x0, x0 + 2 * w, z0, z1, white));
  for (int x = x0 + 2 * w; x < x0 + 3 * w; ++x)
    EXPECT_EQ(InkBetween(img, x, x + 1, y0, y1, white), InkBetween(img, x, x + 1, z0, z1, white))
        << x;
}

// A lone lead byte shows as the full-width dot, which is wider than the byte's one cell: it is
// drawn inside that cell, leaving the next cell to the line-end mark.
TEST_F(EditorWidget, AGlyphForAnUndecodableByteStaysInsideItsCell) {
  editor->SetColor(clWhite);
  Load({"\x82", "A\x82"});
  editor->Control().SetCaret(1, 0);
  QImage img = Grab();
  const int w = editor->Metrics().char_width;
  const int x0 = editor->Column0X();
  const QRgb white = qRgb(255, 255, 255);
  for (int row : {0, 1}) {
    const int y0 = editor->RowTop(row), y1 = editor->RowTop(row + 1) - 1;
    const int cell = row;  // the byte's column
    EXPECT_TRUE(InkBetween(img, x0 + cell * w, x0 + (cell + 1) * w, y0, y1, white)) << row;
    EXPECT_FALSE(InkBetween(img, x0 + (cell + 1) * w, x0 + (cell + 3) * w, y0, y1, white)) << row;
  }
}

TEST_F(EditorWidget, SelectionAndMarksAreDrawnInTheirColours) {
  editor->SetColor(clWhite);
  editor->Marks().EofMark.SetVisible(true);
  editor->Marks().EofMark.SetColor(clRed);
  Load({"abcd", "efgh"});
  editor->Control().SetSelStart(1);
  editor->Control().SetSelLength(2);
  QImage img = Grab();
  const int w = editor->Metrics().char_width;
  const int x0 = editor->Column0X();
  const int y = editor->RowTop(0) + 1;
  EXPECT_EQ(img.pixel(x0 + w + 1, y), qRgb(0, 0, 128));          // Select's navy background
  EXPECT_EQ(img.pixel(x0 + 3 * w + 3, y), qRgb(255, 255, 255));  // past the caret bar
  // "[EOF]" on the empty row after the text, in the mark's colour.
  bool red = false;
  const int ey = editor->RowTop(2);
  for (int yy = ey; yy < ey + editor->Metrics().row_height && !red; ++yy)
    for (int x = x0; x < x0 + 6 * w; ++x)
      if (qRed(img.pixel(x, yy)) > 200 && qGreen(img.pixel(x, yy)) < 80) red = true;
  EXPECT_TRUE(red);
}

TEST_F(EditorWidget, ASchemeChangeRecolours) {
  editor->SetColor(clWhite);
  Load({"ab // cd", "ef"});
  editor->View().Colors().Comment().SetBkColor(clYellow);
  const int x = editor->Column0X() + 6 * editor->Metrics().char_width + 1;
  const int y = editor->RowTop(0) + 1;
  EXPECT_EQ(Grab().pixel(x, y), qRgb(255, 255, 255));  // no commenter yet
  editor->View().SetCommenter("//");
  EXPECT_EQ(Grab().pixel(x, y), qRgb(255, 255, 0));
}

TEST_F(EditorWidget, RowsFarBelowTheColouredPartAreDrawnInTheirSpanColour) {
  editor->SetColor(clWhite);
  auto item = editor->View().Brackets().Add("(", ")");
  ASSERT_TRUE(item.ok());
  item.value()->ItemColor().SetBkColor(clYellow);
  std::vector<std::string> rows(3000, "text");
  rows[2500] = "(open";
  rows[2503] = "close)";
  Load(rows);
  // States are computed for the first screens only; the span's rows are drawn from states
  // carried forward at paint time.
  editor->Control().SetTopRow(2499);
  const QImage img = Grab();
  const int x = editor->Column0X() + 1;
  auto at = [&](int32_t row) { return img.pixel(x, editor->RowTop(row) + 1); };
  EXPECT_EQ(at(2499), qRgb(255, 255, 255));
  EXPECT_EQ(at(2500), qRgb(255, 255, 0));
  EXPECT_EQ(at(2502), qRgb(255, 255, 0));
  EXPECT_EQ(at(2503), qRgb(255, 255, 0));
  EXPECT_EQ(at(2504), qRgb(255, 255, 255));
  // Starting the view inside the span gives the same colours.
  editor->Control().SetTopRow(2502);
  const QImage inside = Grab();
  EXPECT_EQ(inside.pixel(x, editor->RowTop(2502) + 1), qRgb(255, 255, 0));
  EXPECT_EQ(inside.pixel(x, editor->RowTop(2504) + 1), qRgb(255, 255, 255));
}

TEST_F(EditorWidget, DrawLineEventReportsEachRow) {
  Load({"a\tb", "cd", "ef"});
  editor->Control().SetSelStart(5);  // the "c" of row 1
  editor->Control().SetSelLength(1);
  std::vector<TDrawLineArgs> seen;
  std::vector<std::string> texts;
  editor->OnDrawLine = [&](TEditor&, EditorCanvas& c, const TDrawLineArgs& a) {
    seen.push_back(a);
    texts.emplace_back(a.LineStr);
    c.SetPen(clRed, 1);
    c.Line(a.X, a.Y, a.X + 1, a.Y);
  };
  vp()->repaint();
  ASSERT_EQ(seen.size(), 3u);
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(seen[static_cast<size_t>(r)].Index, r);
    EXPECT_EQ(seen[static_cast<size_t>(r)].Y, editor->RowTop(r));
    EXPECT_EQ(seen[static_cast<size_t>(r)].X, editor->Column0X());
    EXPECT_EQ(seen[static_cast<size_t>(r)].ARect.left, editor->Metrics().text_left);
  }
  EXPECT_EQ(texts[0], "a\tb");
  EXPECT_FALSE(seen[0].Selected);
  EXPECT_TRUE(seen[1].Selected);
  EXPECT_FALSE(seen[2].Selected);
}

// The main window's handler as it will be wired: tab and full-width blank marks in red.
void HookRedDecorations(TEditor& editor) {
  editor.OnDrawLine = [](TEditor& e, EditorCanvas& canvas, const TDrawLineArgs& a) {
    DecorationGeometry g;
    g.char_width = e.Metrics().char_width;
    g.row_height = e.Metrics().row_height;
    g.margin_line = e.Margin().Line();
    g.column0_x = a.X;
    g.tab_count = e.Document().TabSpaceCount();
    g.rect_left = a.ARect.left;
    g.rect_right = a.ARect.right;
    std::vector<DecorationMark> marks;
    RowDecorations(e.View(), a.LineStr, {}, RowStartState(e.Document(), a.Index), g, marks);
    for (const DecorationMark& m : marks) {
      canvas.SetPen(DecorationColor(a.Selected, e.Color(), clRed), 1);
      if (m.kind == DecorationKind::Tab) {
        const TabMarkShape t = TabMarkGeometry(m.x, a.Y, g);
        canvas.Line(t.upper.x1, t.upper.y1, t.upper.x2, t.upper.y2);
        canvas.Line(t.lower.x1, t.lower.y1, t.lower.x2, t.lower.y2);
      } else {
        const BlankMarkRect b = BlankMarkGeometry(m.x, a.Y, g);
        canvas.FrameRect(b.left, b.top, b.right, b.bottom);
      }
    }
  };
}

// Pixel columns of a row band holding red.
std::vector<int> RedColumns(const QImage& img, int y0, int y1) {
  std::vector<int> xs;
  for (int x = 0; x < img.width(); ++x)
    for (int y = y0; y < y1; ++y)
      if (img.pixel(x, y) == qRgb(255, 0, 0)) {
        xs.push_back(x);
        break;
      }
  return xs;
}

TEST_F(EditorWidget, TabAndFullWidthBlankMarksStandInTheirCells) {
  editor->SetColor(clWhite);
  editor->Control().Caret().TabSpaceCount = 4;
  editor->Control().CaretOptionsChanged();
  // Two TABs from column 0, "ab", then a full-width blank at column 10.
  Load({"\t\tab" + Sjis("　") + "c", "x"});
  HookRedDecorations(*editor);
  const QImage img = Grab();
  const int w = editor->Metrics().char_width;
  const int x0 = editor->Column0X();
  const std::vector<int> red = RedColumns(img, editor->RowTop(0), editor->RowTop(1));
  ASSERT_FALSE(red.empty());
  auto any_in = [&](int from, int to) {
    return std::any_of(red.begin(), red.end(), [&](int x) { return x >= from && x < to; });
  };
  EXPECT_TRUE(any_in(x0, x0 + w));              // the first tab's arrow, in its first cell
  EXPECT_TRUE(any_in(x0 + 4 * w, x0 + 5 * w));  // the second, four columns on
  EXPECT_FALSE(any_in(x0 + w, x0 + 4 * w));
  // The square sits in the blank's two cells (columns 10-11).
  EXPECT_TRUE(any_in(x0 + 10 * w, x0 + 12 * w));
  EXPECT_FALSE(any_in(x0 + 5 * w, x0 + 10 * w));
  EXPECT_FALSE(any_in(x0 + 12 * w, img.width()));
  // Inside a selection the marks take the background colour: no red.
  editor->Control().SelectAll();
  EXPECT_TRUE(RedColumns(Grab(), editor->RowTop(0), editor->RowTop(1)).empty());
}

}  // namespace
}  // namespace tessary
