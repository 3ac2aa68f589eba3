// The CSV list window through its widgets, offscreen, and its opening from the main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "app/ui/form_main.h"
#include "codec/sjis_text.h"
#include "commands/key_map.h"
#include "commands/key_map_fakes.h"
#include "editor/editor_control.h"
#include "editor/ui/editor.h"
#include "platform/ui/qt_conversions.h"
#include "support/qt_test_app.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"
#include "viewers/ui/form_csv_list.h"

namespace tessary {
namespace {

using testing::ScriptedMessages;
using testing::TempDir;

class TextLines final : public CsvLines {
 public:
  explicit TextLines(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  int32_t Count() const override { return static_cast<int32_t>(lines_.size()); }
  std::string_view Line(int32_t i, std::string&) const override {
    return lines_[static_cast<size_t>(i)];
  }

 private:
  std::vector<std::string> lines_;
};

std::vector<std::string> Lines(int n) {
  std::vector<std::string> lines;
  for (int i = 1; i <= n; ++i) {
    std::string line = "r";
    line += std::to_string(i);
    line += ",b,c";
    lines.push_back(line);
  }
  return lines;
}

QString Cell(const TFormCsvList& form, int row, int column) {
  return form.ListView1->model()->index(row, column).data().toString();
}
QString Heading(const TFormCsvList& form, int column) {
  return form.ListView1->model()->headerData(column, Qt::Horizontal).toString();
}

class CsvListWindow : public ::testing::Test {
 protected:
  CsvListWindow() { testing::OffscreenApp(); }
  TFormCsvList& Open(std::vector<std::string> lines, int32_t caret_line = 0) {
    lines_ = std::make_unique<TextLines>(std::move(lines));
    form_ = std::make_unique<TFormCsvList>(nullptr,
                                           CsvListArgs{ini, home, messages, *lines_, caret_line});
    form_->show();
    return *form_;
  }
  int CurrentRow() const { return form_->ListView1->currentIndex().row(); }

  TempDir dir;
  AppHome home{dir.path()};
  PrivateProfile ini{home.SettingsFile()};
  ScriptedMessages messages;
  std::unique_ptr<TextLines> lines_;
  std::unique_ptr<TFormCsvList> form_;
};

TEST_F(CsvListWindow, ShowsAPageOfRowsWithTheirCaptionsAndFields) {
  std::vector<std::string> lines = Lines(30);
  lines[2] = Utf8ToSjis("\"名前\",\"a,b\",\"c\"");
  TFormCsvList& f = Open(lines);
  EXPECT_EQ(f.windowTitle(), Q("CsvList表示"));
  EXPECT_GE(f.width(), 780);
  EXPECT_EQ(f.ListView1->model()->columnCount(), 97);
  EXPECT_EQ(f.ListView1->model()->rowCount(), 20);
  EXPECT_EQ(Heading(f, 0), "No");
  EXPECT_EQ(Heading(f, 1), "01");
  EXPECT_EQ(Heading(f, 96), "96");
  EXPECT_EQ(Cell(f, 0, 0), "00001");
  EXPECT_EQ(Cell(f, 2, 1), Q("名前"));
  EXPECT_EQ(Cell(f, 2, 2), "a,b");
  EXPECT_EQ(Cell(f, 2, 4), "");
  EXPECT_EQ(f.ListView1->columnWidth(1), 75);
  EXPECT_GE(f.ListView1->columnWidth(0), 70);
  EXPECT_EQ(f.ComboBox1->count(), 46);
  EXPECT_EQ(f.ComboBox1->currentText(), "20");
  EXPECT_EQ(f.ComboBox2->count(), 12);
  EXPECT_EQ(f.Label4->text(), Q("行:      桁:  "));
  EXPECT_EQ(f.Panels.size(), 7u);
  EXPECT_EQ(f.Panels[1]->text(), "00001");
  EXPECT_EQ(f.Panels[2]->text(), "00020");
  EXPECT_EQ(CurrentRow(), 0);
  // The menu's defaults, by command number.
  EXPECT_EQ(f.CommandAction(1202)->shortcut(), QKeySequence(Qt::Key_F3));
  EXPECT_EQ(f.CommandAction(1203)->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F3));
  EXPECT_EQ(f.CommandAction(1101)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
  for (int id : {1711, 1712, 1713, 1714, 1715, 1716, 1717, 1718, 1719, 1720, 1021})
    EXPECT_NE(f.CommandAction(id), nullptr) << id;
}

TEST_F(CsvListWindow, PagesAndLoadsAllThroughItsCommands) {
  TFormCsvList& f = Open(Lines(3001), 2000);
  f.CommandAction(1718)->trigger();  // 最後
  EXPECT_EQ(f.ListView1->model()->rowCount(), 1);
  EXPECT_EQ(Cell(f, 0, 0), "03001");
  f.ButtonPrev->click();
  EXPECT_EQ(Cell(f, 0, 0), "02981");
  f.ComboBox1->setCurrentIndex(0);
  emit f.ComboBox1->activated(0);
  EXPECT_EQ(f.ListView1->model()->rowCount(), 10);
  messages.answers = {Answer::Yes};
  f.CommandAction(1711)->trigger();
  EXPECT_EQ(messages.asked.size(), 1u);
  EXPECT_EQ(f.ListView1->model()->rowCount(), 3001);
  EXPECT_FALSE(f.ComboBox1->isEnabled());
  EXPECT_EQ(CurrentRow(), 2000);  // the caret's line
  EXPECT_EQ(f.Panels[2]->text(), "03001");
  f.CommandAction(1715)->trigger();
  EXPECT_EQ(CurrentRow(), 0);
}

TEST_F(CsvListWindow, SearchesFromTheBoxAndShowsTheHitFields) {
  std::vector<std::string> lines = Lines(20);
  lines[11] = "a,b,xWORDy,d,e,f,word";
  TFormCsvList& f = Open(lines);
  f.ButtonSearchNext->click();
  EXPECT_EQ(messages.shown.back(), "検索語が設定されていません");
  f.ComboBox3->setCurrentText("word");
  // Enter in the box neither searches nor closes the window.
  QTest::keyClick(f.ComboBox3->lineEdit(), Qt::Key_Return);
  EXPECT_TRUE(f.isVisible());
  f.ButtonSearchNext->click();
  EXPECT_EQ(f.Label4->text(), Q("行:00012 桁:03/07"));
  EXPECT_EQ(CurrentRow(), 11);
  EXPECT_EQ(f.ComboBox3->itemText(0), "word");
  // A key that moves through the table starts the next search at the row's first field.
  QTest::keyClick(f.ListView1, Qt::Key_Down);
  QTest::keyClick(f.ListView1, Qt::Key_Up);
  EXPECT_EQ(f.Model().HitCol(), -1);
  f.CommandAction(1202)->trigger();
  EXPECT_EQ(f.Label4->text(), Q("行:00012 桁:03/07"));
}

TEST_F(CsvListWindow, HeadingsWidthsAndFont) {
  TFormCsvList& f = Open({"id,a much longer cell text than the column,x", "1,2,3"});
  f.CommandAction(1713)->trigger();
  EXPECT_EQ(Heading(f, 1), "01 id");
  EXPECT_EQ(Heading(f, 3), "03 x");
  f.CommandAction(1712)->trigger();
  EXPECT_GT(f.ListView1->columnWidth(2), 200);
  EXPECT_LT(f.ListView1->columnWidth(3), 75);
  f.choose_font = [](const CsvListLook& look) {
    CsvListLook chosen = look;
    chosen.font_size = 24;
    chosen.font_color = clRed;
    return std::optional(chosen);
  };
  f.choose_color = [](TColor) { return std::optional(clNavy); };
  f.CommandAction(1719)->trigger();
  f.CommandAction(1720)->trigger();
  EXPECT_EQ(f.ListView1->columnWidth(0), 24 * 60 / 12);
  EXPECT_EQ(f.ListView1->palette().color(QPalette::Base), ToQColor(clNavy));
  f.reject();
  EXPECT_EQ(ReadCsvListLook(ini).font_size, 24);
  EXPECT_EQ(ReadCsvListLook(ini).back_color, clNavy);
}

TEST_F(CsvListWindow, TakesItsShortcutsFromTheKeyMapRowsByNumber) {
  KeyMap map = testing::DefaultKeyMap();
  FindKeyMapRow(map, "1711")->shortcut = "Shift+Ctrl+A";
  FindKeyMapRow(map, "1202")->shortcut = "F5";
  KeyMapFiles files(home);
  ASSERT_TRUE(files.Save(files.key_map_path(), map));
  TFormCsvList& f = Open(Lines(5));
  EXPECT_EQ(f.CommandAction(1711)->shortcut(), QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_A));
  EXPECT_EQ(f.CommandAction(1202)->shortcut(), QKeySequence(Qt::Key_F5));
  EXPECT_EQ(f.CommandAction(1101)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
}

// The main window hands its caret line over and takes the selected row's line back.
TEST(CsvListFromMainWindow, OpensAtTheCaretLineAndMovesTheCaretToTheSelectedLine) {
  testing::OffscreenApp();
  TempDir dir;
  ScriptedMessages messages;
  TFormMain main(messages, AppHome(dir.path()), {});
  EditorControl& c = main.Editor1().Control();
  QAction* open = main.Action(CommandId::MenuShowCsvList);
  ASSERT_TRUE(open->isEnabled());
  open->trigger();
  EXPECT_EQ(messages.shown.back(), "ファイルが読み込まれていません");
  std::string text;
  for (int i = 1; i <= 50; ++i) {
    text += "line";
    text += std::to_string(i);
    text += ",x\r\n";
  }
  c.Lines().SetTextStr(text);
  c.SetCaret(c.LineToRow(9), 0);
  int first_row_line = -1;
  QTimer::singleShot(0, [&] {
    auto* form = qobject_cast<TFormCsvList*>(QApplication::activeModalWidget());
    ASSERT_NE(form, nullptr);
    first_row_line = form->Model().FirstLine();
    form->CommandAction(1717)->trigger();  // next page: lines 31-50
    QTest::keyClick(form->ListView1, Qt::Key_Down);
    form->reject();
  });
  open->trigger();
  EXPECT_EQ(first_row_line, 9);
  EXPECT_EQ(c.RowToLine(c.CaretRow()), 30);
  EXPECT_EQ(main.Ini().ReadInteger("CsvList", "LineNum", -1), 30);
}

}  // namespace
}  // namespace tessary
