// The jump window: a digits-only box, OK and Cancel.
#include "commands/ui/form_jump.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "commands/jump.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {

TFormJump::TFormJump(QWidget* parent, const AppHome& home)
    : TViewerForm(parent, QSize(280, 110)), home_(home) {
  setObjectName("FormJump");
  setWindowTitle(Q("行へ移動"));
  setWindowFlag(Qt::Tool);
  Label1 = new QLabel(Q("行番号(&N)"));
  Edit1 = new QLineEdit;
  Edit1->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), Edit1));
  Edit1->setText(Q(StoredJumpEntry(home_)));
  Edit1->selectAll();
  Label1->setBuddy(Edit1);
  ButtonOK = new QPushButton(Q("OK(&O)"));
  ButtonOK->setDefault(true);  // Enter in the box
  ButtonCancel = new QPushButton(Q("ｷｬﾝｾﾙ(&C)"));
  ButtonCancel->setAutoDefault(false);
  connect(ButtonOK, &QPushButton::clicked, this, [this] { ButtonOKClick(); });
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* row = new QHBoxLayout;
  row->addWidget(Label1);
  row->addWidget(Edit1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ButtonOK);
  buttons->addWidget(ButtonCancel);
  auto* box = new QVBoxLayout(Body());
  box->addLayout(row);
  box->addLayout(buttons);
}

std::string TFormJump::Entry() const {
  return FromQ(Edit1->text());
}

void TFormJump::ButtonOKClick() {
  // The jump uses the box's text itself; a settings file that cannot be written only loses the
  // prefill of the next opening.
  StoreJumpEntry(home_, Entry()).IgnoreFailure();
  accept();
}

bool RunJump(QWidget* parent, const AppHome& home, EditorControl& editor) {
  TFormJump form(parent, home);
  if (form.exec() != QDialog::Accepted) return false;
  (void)JumpToLine(editor, form.Entry());
  return true;
}

}  // namespace tessary
