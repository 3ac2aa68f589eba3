// The replace window: the replacement box and its two commands over the shared model.
#include "commands/ui/form_replace.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/qt_conversions.h"

namespace tessary {

TFormReplace::TFormReplace(QWidget* parent, PrivateProfile& ini, const AppHome& home,
                           Messages& messages, EditorControl& target,
                           std::optional<std::string> handed)
    : TFormFind(parent, ini, home, messages, target, FindWindow::Replace, std::move(handed)) {
  Label2 = new QLabel(Q("置き換え後の文字列(&Q):"));
  ComboBox2 = new QComboBox;
  ComboBox2->setEditable(true);
  ComboBox2->setInsertPolicy(QComboBox::NoInsert);
  ComboBox2->setMaxVisibleItems(16);
  ComboBox2->setSizeAdjustPolicy(ComboBox1->sizeAdjustPolicy());
  ComboBox2->setMinimumContentsLength(ComboBox1->minimumContentsLength());
  Label2->setBuddy(ComboBox2);
  FillHistory(ComboBox2, model().ReplaceHistory());
  Grid()->addWidget(Label2, 1, 0);
  Grid()->addWidget(ComboBox2, 1, 1);

  ButtonReplace = new QPushButton(Q("置換(&R)"));
  ButtonReplaceAll = new QPushButton(Q("全て置換(&A)"));
  for (QPushButton* b : {ButtonReplace, ButtonReplaceAll}) {
    b->setAutoDefault(false);
    ButtonColumn()->insertWidget(ButtonColumn()->count() - 2, b);  // above 閉じる
  }
  FitToContents();
  connect(ButtonReplace, &QPushButton::clicked, this, [this] { Replace(); });
  connect(ButtonReplaceAll, &QPushButton::clicked, this, [this] { ReplaceAll(); });
}

void TFormReplace::TakeReplacement() {
  TakeBoxes();
  model().replacement = FromQ(ComboBox2->currentText());
}

void TFormReplace::Replace() {
  TakeReplacement();
  (void)model().Replace(target());
  FillHistory(ComboBox2, model().ReplaceHistory());
}

void TFormReplace::ReplaceAll() {
  TakeReplacement();
  (void)model().ReplaceAll(target());
  FillHistory(ComboBox1, model().SearchHistory());
  FillHistory(ComboBox2, model().ReplaceHistory());
}

}  // namespace tessary
