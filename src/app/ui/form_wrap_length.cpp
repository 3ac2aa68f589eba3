// The wrap-length window.
#include "app/ui/form_wrap_length.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/main_settings.h"
#include "app/status_texts.h"
#include "app/ui/dec_edit.h"

namespace tessary {

TFormWrapLength::TFormWrapLength(QWidget* parent, PrivateProfile& ini, Messages& messages)
    : QDialog(parent), ini_(ini), messages_(messages) {
  setWindowTitle(QString::fromUtf8("指定文字数設定"));
  auto* label = new QLabel(QString::fromUtf8("折り返し文字数(&N)"), this);
  dec_edit_ = new TDecEdit(this);
  label->setBuddy(dec_edit_);
  dec_edit_->setText(QString::number(ReadWrapByte(ini_)));
  ok_ = new QPushButton(QString::fromUtf8("OK(&O)"), this);
  cancel_ = new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ(&C)"), this);
  ok_->setDefault(true);  // Enter in the edit presses OK; Esc rejects the dialog
  connect(ok_, &QPushButton::clicked, this, [this] { ButtonOkClick(); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(dec_edit_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* box = new QVBoxLayout(this);
  box->addLayout(row);
  box->addLayout(buttons);
}

void TFormWrapLength::ButtonOkClick() {
  bool ok = false;
  const qlonglong value = dec_edit_->text().toLongLong(&ok);
  // An empty edit reads as 0 and is refused like any other small value.
  const std::optional<std::string> refusal = WrapLengthRefusal(ok ? value : 0);
  if (refusal) {
    messages_.ShowMessage(*refusal);
    return;
  }
  // Every use of the wrap length reads the key afresh: a write that failed would leave the
  // choice without effect, so it is reported and the window stays open.
  if (Status s = WriteWrapByte(ini_, static_cast<int>(value)); !s) {
    messages_.ShowMessage("Error : 設定ファイルに書き込めません\r\n" + s.error().message);
    return;
  }
  accept();
}

}  // namespace tessary
