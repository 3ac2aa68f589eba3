// The find window: its boxes into the model, the model's searches onto the target editor.
#include "commands/ui/form_find.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/qt_conversions.h"

namespace tessary {
namespace {

constexpr int kFrontAgainMs = 300;
constexpr int kHistoryLines = 16;
constexpr int kBoxCharacters = 16;

QPushButton* MakeButton(const char* caption) {
  auto* b = new QPushButton(Q(caption));
  b->setAutoDefault(false);
  return b;
}

QCheckBox* MakeBox(const char* caption, bool checked) {
  auto* box = new QCheckBox(Q(caption));
  box->setChecked(checked);
  return box;
}

}  // namespace

TFormFind::TFormFind(QWidget* parent, PrivateProfile& ini, const AppHome& home, Messages& messages,
                     EditorControl& target, FindWindow kind, std::optional<std::string> handed)
    : TViewerForm(parent, kind == FindWindow::Find ? QSize(520, 350) : QSize(520, 375),
                  {ini, kind == FindWindow::Find ? "FormFind" : "FormReplace",
                   kind == FindWindow::Find ? QSize(520, 350) : QSize(520, 375)}),
      model_(home, messages, kind, std::move(handed)),
      target_(target) {
  setObjectName(kind == FindWindow::Find ? "FormFind" : "FormReplace");
  setWindowTitle(Q(kind == FindWindow::Find ? "検索" : "置き換え"));
  setWindowFlag(Qt::Tool);

  Label1 = new QLabel(Q("検索する文字列(&F):"));
  ComboBox1 = new QComboBox;
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);  // the model keeps the history
  ComboBox1->setMaxVisibleItems(kHistoryLines);
  // The box's width follows the window, not the longest word of the history.
  ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  ComboBox1->setMinimumContentsLength(kBoxCharacters);
  Label1->setBuddy(ComboBox1);
  FillHistory(ComboBox1, model_.SearchHistory());
  ComboBox1->setEditText(Q(model_.word));

  const FindBoxes& b = model_.boxes;
  CheckBoxCase = MakeBox("大文字と小文字を区別する(&U)", b.match_case);
  CheckBoxWord = MakeBox("単語のみ検索する(&W)", b.whole_word);
  CheckBoxZenkaku = MakeBox("全角・半角を区別しない(&Z)", b.no_match_zenkaku);
  CheckBoxCrLf = MakeBox("改行・スペースを無視(&L)", b.include_crlf);

  ButtonNext = MakeButton("次を検索(&N)");
  ButtonNext->setDefault(true);  // Enter anywhere in the window
  ButtonPrev = MakeButton("前を検索(&P)");
  ButtonClose = MakeButton("閉じる(&C)");

  grid_ = new QGridLayout(Body());
  grid_->addWidget(Label1, 0, 0);
  grid_->addWidget(ComboBox1, 0, 1);
  auto* options = new QVBoxLayout;
  for (QCheckBox* box : {CheckBoxCase, CheckBoxWord, CheckBoxZenkaku, CheckBoxCrLf})
    options->addWidget(box);
  if (kind == FindWindow::Find) {
    CheckBoxAutoClose = MakeBox("検索完了で閉じる(&R)", model_.auto_close);
    options->addSpacing(8);
    options->addWidget(CheckBoxAutoClose);
  }
  options->addStretch();
  grid_->addLayout(options, 2, 0, 1, 2);
  buttons_ = new QVBoxLayout;
  buttons_->addWidget(ButtonNext);
  buttons_->addWidget(ButtonPrev);
  buttons_->addWidget(ButtonClose);
  buttons_->addStretch();
  grid_->addLayout(buttons_, 0, 2, 3, 1);
  grid_->setColumnStretch(1, 1);
  grid_->setRowStretch(2, 1);

  QMenu* file = AddMenu("ファイル(&F)");
  connect(file->addAction(Q("終了(&X)")), &QAction::triggered, this, &QDialog::reject);
  QMenu* search = AddMenu("検索(&S)");
  QAction* next = search->addAction(Q("次を検索(&N) "));
  next->setShortcut(QKeySequence(Qt::Key_F3));
  QAction* prev = search->addAction(Q("前を検索(&P)"));
  prev->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));

  auto forward = [this] { Find(SearchDirection::Next); };
  auto backward = [this] { Find(SearchDirection::Previous); };
  connect(ButtonNext, &QPushButton::clicked, this, forward);
  connect(next, &QAction::triggered, this, forward);
  connect(ButtonPrev, &QPushButton::clicked, this, backward);
  connect(prev, &QAction::triggered, this, backward);
  connect(ButtonClose, &QPushButton::clicked, this, &QDialog::reject);

  if (kind == FindWindow::Find) FitToContents();  // the replace window fits once it is complete

  front_again_.setSingleShot(true);
  front_again_.setInterval(kFrontAgainMs);
  connect(&front_again_, &QTimer::timeout, this, [this] { StayInFront(); });
}

// The settled sizes stay the least a window can be made; a font that needs more grows it.
void TFormFind::FitToContents() {
  FitMinimumToContents(minimumSize());
}

void TFormFind::FillHistory(QComboBox* box, const std::vector<std::string>& entries) {
  const QString text = box->currentText();  // clearing an editable box clears its text too
  box->clear();
  for (const std::string& e : entries) box->addItem(Q(e));
  box->setEditText(text);
}

void TFormFind::TakeBoxes() {
  model_.word = FromQ(ComboBox1->currentText());
  model_.boxes = FindBoxes{CheckBoxCase->isChecked(), CheckBoxWord->isChecked(),
                           CheckBoxZenkaku->isChecked(), CheckBoxCrLf->isChecked()};
  if (CheckBoxAutoClose) model_.auto_close = CheckBoxAutoClose->isChecked();
}

void TFormFind::Find(SearchDirection direction) {
  TakeBoxes();
  const FindReplaceModel::Outcome outcome = model_.Find(target_, direction);
  FillHistory(ComboBox1, model_.SearchHistory());
  if (outcome != FindReplaceModel::Outcome::Found) return;
  if (model_.ClosesAfter(outcome)) {
    accept();
    return;
  }
  // The editor that took the selection may come forward; the window follows once more later.
  if (model_.Window() == FindWindow::Find) {
    StayInFront();
    front_again_.start();
  }
}

void TFormFind::StayInFront() {
  if (!isVisible()) return;
  raise();
  activateWindow();
}

void TFormFind::showEvent(QShowEvent* event) {
  TViewerForm::showEvent(event);
  if (shown_once_) return;
  shown_once_ = true;
  ComboBox1->setFocus();
  ComboBox1->lineEdit()->selectAll();
}

void TFormFind::done(int result) {
  front_again_.stop();
  if (CheckBoxAutoClose) model_.auto_close = CheckBoxAutoClose->isChecked();
  model_.Close();
  TViewerForm::done(result);
}

}  // namespace tessary
