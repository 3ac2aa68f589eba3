// The Pilka keyboard-map window over its model.
#include "commands/ui/form_pilka_key_board_map.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <utility>

#include "codec/sjis_text.h"
#include "commands/ui/key_list.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {
namespace {

// Fixed columns: category 110, current key 280, blank 10; command and function share the rest.
constexpr int kFixedColumnsWidth = 400;

QString DisplayText(const std::string& sjis) {
  QString text = Q(SjisToUtf8(sjis));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

const std::string& Field(const PilkaRow& row, int column) {
  switch (column) {
    case 0:
      return row.category;
    case 1:
      return row.command;
    case 2:
      return row.keys;
    default:
      return row.function;
  }
}

}  // namespace

TFormPilkaKeyBoardMap::TFormPilkaKeyBoardMap(QWidget* parent, PilkaDocumentText document_text,
                                             Clipboard& clipboard, Messages& messages)
    : TViewerForm(parent, QSize(900, 600)), model_(std::move(document_text), clipboard, messages) {
  setObjectName("FormPilkaKeyBoardMap");
  setWindowTitle(Q(kPilkaMapCaption));

  Memo1 = new QPlainTextEdit(this);
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  ListView1 = new QTreeView(this);
  rows_ = new KeyRowsModel({Q("カテゴリ"), Q("コマンド"), Q("現在のキー"), Q("機能"), ""}, this);
  ListView1->setModel(rows_);
  SetUpKeyList(ListView1);
  ListView1->viewport()->installEventFilter(this);  // its width sets the columns'
  CreateButtons();
  LayOut();
  Connect();
  Refresh();
}

void TFormPilkaKeyBoardMap::CreateButtons() {
  ButtonText = new QPushButton(Q("テキスト(&T)"), this);
  ButtonList = new QPushButton(Q("リスト(&L)"), this);
  ButtonPasteText = new QPushButton(Q("ﾃｷｽﾄからﾍﾟｰｽﾄ(&I)"), this);
  ButtonPasteClip = new QPushButton(Q("ｸﾘｯﾌﾟからﾍﾟｰｽﾄ(&P)"), this);
  ButtonSortNone = new QPushButton(Q("ソート無(&N)"), this);
  ButtonSort = new QPushButton(Q("ソート有(&S)"), this);
  ButtonCopyTab = new QPushButton(Q("ﾀﾌﾞ区切でｸﾘｯﾌﾟへでｺﾋﾟｰ(&T)"), this);
  ButtonCopyFixed = new QPushButton(Q("固定長でｸﾘｯﾌﾟへｺﾋﾟｰ(&C)"), this);
}

// The views over two rows of buttons: showing and pasting the text, then ordering and copying
// the list.
void TFormPilkaKeyBoardMap::LayOut() {
  pages_ = new QStackedWidget(this);
  pages_->addWidget(Memo1);
  pages_->addWidget(ListView1);
  auto* outer = new QVBoxLayout(Body());
  outer->addWidget(pages_, 1);
  const std::array<std::array<QPushButton*, 4>, 2> rows = {{
      {ButtonText, ButtonList, ButtonPasteText, ButtonPasteClip},
      {ButtonSortNone, ButtonSort, ButtonCopyTab, ButtonCopyFixed},
  }};
  for (const auto& row : rows) {
    auto* line = new QHBoxLayout;
    for (QPushButton* b : row) {
      b->setAutoDefault(false);
      line->addWidget(b);
    }
    line->addStretch();
    outer->addLayout(line);
  }
}

void TFormPilkaKeyBoardMap::Connect() {
  auto on = [this](QPushButton* button, auto step) {
    connect(button, &QPushButton::clicked, this, [this, step] { Do(step); });
  };
  on(ButtonText, [](PilkaMapModel& m) { m.ShowText(); });
  on(ButtonList, [](PilkaMapModel& m) { m.ShowList(); });
  on(ButtonPasteText, [](PilkaMapModel& m) { m.PasteFromDocument(); });
  on(ButtonPasteClip, [](PilkaMapModel& m) { m.PasteFromClipboard(); });
  on(ButtonSortNone, [](PilkaMapModel& m) { m.ListInOrder(PilkaOrder::Text); });
  on(ButtonSort, [](PilkaMapModel& m) { m.ListInOrder(PilkaOrder::Sorted); });
  on(ButtonCopyTab, [](PilkaMapModel& m) { m.CopyTabSeparated(); });
  on(ButtonCopyFixed, [](PilkaMapModel& m) { m.CopyFixedWidth(); });
}

template <class Step>
void TFormPilkaKeyBoardMap::Do(Step step) {
  step(model_);
  Refresh();
}

void TFormPilkaKeyBoardMap::Refresh() {
  if (model_.text_revision() != shown_text_revision_) {
    shown_text_revision_ = model_.text_revision();
    Memo1->setPlainText(DisplayText(model_.text()));
  }
  if (model_.list_revision() != shown_list_revision_) {
    shown_list_revision_ = model_.list_revision();
    rows_->Reset(static_cast<int>(model_.shown().size()), [this](int row, int column) {
      return SjisToUtf8(Field(model_.rows()[model_.shown()[static_cast<size_t>(row)]], column));
    });
    SelectFirstRow(ListView1);
  }
  const bool list = model_.view() == PilkaView::List;
  pages_->setCurrentWidget(list ? static_cast<QWidget*>(ListView1) : Memo1);
  const PilkaButtons b = model_.buttons();
  ButtonPasteText->setEnabled(b.paste);
  ButtonPasteClip->setEnabled(b.paste);
  ButtonSortNone->setEnabled(b.sort);
  ButtonSort->setEnabled(b.sort);
  ButtonCopyTab->setEnabled(b.copy);
  ButtonCopyFixed->setEnabled(b.copy);
}

void TFormPilkaKeyBoardMap::SizeColumns() {
  const int shared = std::max(ListView1->viewport()->width() - kFixedColumnsWidth, 80) / 2;
  const std::array<int, 5> widths = {110, shared, 280, shared, 10};
  SetColumnWidths(ListView1, widths);
}

// The text is taken once the window stands, so a map that does not pass is reported over it.
void TFormPilkaKeyBoardMap::showEvent(QShowEvent* event) {
  TViewerForm::showEvent(event);
  SizeColumns();
  if (shown_once_) return;
  shown_once_ = true;
  QTimer::singleShot(0, this, [this] { Do([](PilkaMapModel& m) { m.Start(); }); });
}

bool TFormPilkaKeyBoardMap::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListView1->viewport() && event->type() == QEvent::Resize) SizeColumns();
  return TViewerForm::eventFilter(watched, event);
}

void ShowPilkaKeyBoardMap(QWidget* parent, PilkaDocumentText document_text, Clipboard& clipboard,
                          Messages& messages) {
  TFormPilkaKeyBoardMap form(parent, std::move(document_text), clipboard, messages);
  form.exec();
}

}  // namespace tessary
