// TFormReplaceTab: the window that asks how many blanks a TAB of the selection becomes.
#pragma once

#include <QDialog>
#include <array>

#include "platform/messages.h"
#include "platform/private_profile.h"
#include "platform/ui/viewer_form.h"

class QPushButton;
class QRadioButton;

namespace tessary {

// Opens centred on its parent with the item of the editor's tab width chosen (4 when that
// width is not offered). OK stores the choice in `Editor`/`ReplaceTab` and closes with
// Accepted; Cancel and Esc close without storing.
class TFormReplaceTab final : public TViewerForm {
  Q_OBJECT

 public:
  TFormReplaceTab(QWidget* parent, PrivateProfile& ini, Messages& messages, int tab_width);
  // The items " 2 文字" to " 8 文字", in order.
  [[nodiscard]] QRadioButton& Item(int index) const { return *items_.at(index); }
  QPushButton& ButtonOk() { return *ok_; }
  QPushButton& ButtonCancel() { return *cancel_; }
  // What the OK button does; public so that tests can press it as the button does.
  void ButtonOkClick();

 private:
  [[nodiscard]] int ChosenBlanks() const;

  PrivateProfile& ini_;
  Messages& messages_;
  std::array<QRadioButton*, 4> items_{};
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace tessary
