// TFormWrapLength: the window that sets how many half-width columns a row wraps at.
#pragma once

#include <QDialog>

#include "platform/messages.h"
#include "platform/private_profile.h"

class QPushButton;

namespace tessary {

class TDecEdit;

// Opens on the stored `Editor`/`WrapByte`; OK stores a value of 10 to 250 and closes with
// Accepted, anything outside is refused with a message and the window stays open.
class TFormWrapLength : public QDialog {
  Q_OBJECT

 public:
  TFormWrapLength(QWidget* parent, PrivateProfile& ini, Messages& messages);
  TDecEdit& DecEdit1() { return *dec_edit_; }
  QPushButton& ButtonOk() { return *ok_; }
  QPushButton& ButtonCancel() { return *cancel_; }
  // What the OK button does; public so that the window's owner and tests can press it.
  void ButtonOkClick();

 private:
  PrivateProfile& ini_;
  Messages& messages_;
  TDecEdit* dec_edit_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace tessary
