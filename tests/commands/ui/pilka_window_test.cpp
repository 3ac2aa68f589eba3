// The Pilka keyboard-map window through its widgets, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>

#include "codec/sjis_text.h"
#include "commands/ui/form_pilka_key_board_map.h"
#include "platform/ui/qt_conversions.h"
#include "support/qt_test_app.h"
#include "support/scripted_messages.h"

namespace tessary {
namespace {

using testing::ScriptedMessages;

class PilkaWindow : public ::testing::Test {
 protected:
  PilkaWindow() { testing::OffscreenApp(); }
  // Shown, with the document's text taken in.
  std::unique_ptr<TFormPilkaKeyBoardMap> Open() {
    auto f = std::make_unique<TFormPilkaKeyBoardMap>(
        nullptr, [this] { return Utf8ToSjis(document); }, clipboard, messages);
    f->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return f->model().text_revision() > 0; }, 5000));
    return f;
  }
  static QString Cell(const TFormPilkaKeyBoardMap& f, int row, int column) {
    return f.ListView1->model()->index(row, column).data().toString();
  }
  static QStringList Column(const TFormPilkaKeyBoardMap& f, int column) {
    QStringList texts;
    for (int r = 0; r < f.ListView1->model()->rowCount(); ++r) texts << Cell(f, r, column);
    return texts;
  }

  std::string document =
      "編集\t元に戻す\tCtrl+Z\t直前の操作を取り消す\r\n"
      "ファイル\t新規\t\t新しい文書\r\n"
      "検索\t次を検索\tF3, Shift+F3\t次を探す\r\n"
      "表示\t拡大\t,,Ctrl+;\t文字を大きく\r\n";
  MemoryClipboard clipboard;
  ScriptedMessages messages;
};

TEST_F(PilkaWindow, ShowsTheDocumentThenItsRowsUnsortedAndSorted) {
  auto f = Open();
  EXPECT_EQ(f->windowTitle(), Q("Pilka キーボードマップ表示"));
  EXPECT_EQ(f->minimumSize(), QSize(900, 600));
  QStringList captions;
  for (QPushButton* b : {f->ButtonText, f->ButtonList, f->ButtonPasteText, f->ButtonPasteClip,
                         f->ButtonSortNone, f->ButtonSort, f->ButtonCopyTab, f->ButtonCopyFixed})
    captions << b->text();
  EXPECT_EQ(captions, (QStringList{Q("テキスト(&T)"), Q("リスト(&L)"), Q("ﾃｷｽﾄからﾍﾟｰｽﾄ(&I)"),
                                   Q("ｸﾘｯﾌﾟからﾍﾟｰｽﾄ(&P)"), Q("ソート無(&N)"), Q("ソート有(&S)"),
                                   Q("ﾀﾌﾞ区切でｸﾘｯﾌﾟへでｺﾋﾟｰ(&T)"), Q("固定長でｸﾘｯﾌﾟへｺﾋﾟｰ(&C)")}));

  // The text first, unwrapped and read-only.
  EXPECT_TRUE(f->Memo1->isVisible());
  EXPECT_FALSE(f->ListView1->isVisible());
  EXPECT_TRUE(f->Memo1->isReadOnly());
  EXPECT_EQ(f->Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
  QString shown = Q(document);
  shown.replace("\r\n", "\n");
  EXPECT_EQ(f->Memo1->toPlainText(), shown);
  EXPECT_TRUE(f->ButtonPasteText->isEnabled());
  EXPECT_FALSE(f->ButtonSort->isEnabled());
  EXPECT_FALSE(f->ButtonCopyTab->isEnabled());

  f->ButtonList->click();
  EXPECT_FALSE(f->Memo1->isVisible());
  EXPECT_TRUE(f->ListView1->isVisible());
  EXPECT_FALSE(f->ButtonPasteClip->isEnabled());
  EXPECT_TRUE(f->ButtonSortNone->isEnabled());
  EXPECT_TRUE(f->ButtonCopyFixed->isEnabled());
  const QAbstractItemModel* rows = f->ListView1->model();
  EXPECT_EQ(rows->headerData(0, Qt::Horizontal).toString(), Q("カテゴリ"));
  EXPECT_EQ(rows->headerData(3, Qt::Horizontal).toString(), Q("機能"));
  EXPECT_EQ(Column(*f, 0), (QStringList{Q("編集"), Q("ファイル"), Q("検索"), Q("表示")}));
  EXPECT_EQ(Cell(*f, 0, 3), Q("直前の操作を取り消す"));
  EXPECT_EQ(f->ListView1->currentIndex().row(), 0);

  f->ButtonSort->click();
  EXPECT_EQ(Column(*f, 2), (QStringList{",,Ctrl+;", "F3, Shift+F3", "Ctrl+Z", ""}));
  f->ButtonSortNone->click();
  EXPECT_EQ(Column(*f, 2), (QStringList{"Ctrl+Z", "", "F3, Shift+F3", ",,Ctrl+;"}));
  EXPECT_TRUE(messages.shown.empty());

  // Columns: 110, half the rest, 280, half the rest, 10, following the window's width.
  auto widths = [&] {
    std::vector<int> w;
    for (int c = 0; c < 5; ++c) w.push_back(f->ListView1->columnWidth(c));
    return w;
  };
  int client = f->ListView1->viewport()->width();
  EXPECT_EQ(widths(), (std::vector<int>{110, (client - 400) / 2, 280, (client - 400) / 2, 10}));
  f->resize(f->width() + 200, f->height());
  QApplication::processEvents();
  client = f->ListView1->viewport()->width();
  EXPECT_EQ(widths(), (std::vector<int>{110, (client - 400) / 2, 280, (client - 400) / 2, 10}));
  EXPECT_FALSE(f->ListView1->horizontalScrollBar()->isVisible());

  QTest::keyClick(f->ListView1, Qt::Key_Escape);
  EXPECT_FALSE(f->isVisible()) << "Esc closes";
}

TEST_F(PilkaWindow, CopiesTheRowsInTextOrderAndSaysSo) {
  auto f = Open();
  f->ButtonList->click();
  f->ButtonSort->click();
  f->ButtonCopyTab->click();
  ASSERT_TRUE(clipboard.Text());
  EXPECT_EQ(SjisToUtf8(*clipboard.Text()), document.substr(0, document.size() - 2));
  f->ButtonCopyFixed->click();
  const std::string fixed = *clipboard.Text();
  const size_t first_end = fixed.find("\r\n");
  // Widths in bytes: 8 + 2, 8 + 2, 12 + 2, 20 + 2 (the function of the first row).
  EXPECT_EQ(first_end, 10u + 10u + 14u + 22u);
  EXPECT_EQ(fixed.substr(0, 10), Utf8ToSjis("編集      "));
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{"クリップにコピーしました", "クリップにコピーしました"}));
}

TEST_F(PilkaWindow, ARefusedPasteEmptiesTheListAndDisablesTheCopies) {
  auto f = Open();
  f->ButtonList->click();
  f->ButtonText->click();
  EXPECT_TRUE(f->Memo1->isVisible());
  clipboard.SetForeignText(Utf8ToSjis("分類\tコマンド\tF1\t説明\r\n分類\tコマンド\tF2\r\n"));
  f->ButtonPasteClip->click();
  EXPECT_EQ(f->Memo1->toPlainText(), Q("分類\tコマンド\tF1\t説明\n分類\tコマンド\tF2\n"));
  EXPECT_EQ(f->ListView1->model()->rowCount(), 4) << "listed when the list is shown";
  f->ButtonList->click();
  EXPECT_EQ(messages.shown, (std::vector<std::string>{"Pilka のキーボードマップではありません"}));
  EXPECT_EQ(f->ListView1->model()->rowCount(), 0);
  EXPECT_FALSE(f->ButtonCopyTab->isEnabled());
  EXPECT_FALSE(f->ButtonCopyFixed->isEnabled());
  EXPECT_TRUE(f->ButtonSort->isEnabled());

  // The document again: a map, listed as soon as the list is shown.
  f->ButtonText->click();
  f->ButtonPasteText->click();
  f->ButtonList->click();
  EXPECT_EQ(f->ListView1->model()->rowCount(), 4);
  EXPECT_TRUE(f->ButtonCopyTab->isEnabled());
  EXPECT_EQ(messages.shown.size(), 1u);
}

}  // namespace
}  // namespace tessary
