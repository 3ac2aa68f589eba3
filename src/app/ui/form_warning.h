// The start-up notice window (TFormWarning): the pictograph note and the key map replacement.
#pragma once

#include "app/startup_notice.h"
#include "platform/ui/viewer_form.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace tessary {

// A tool window centred on the main window. Its texts follow the situation it is made for;
// when it is destroyed it stores whether the note is wanted at the next start.
class TFormWarning final : public TViewerForm {
  Q_OBJECT
 public:
  TFormWarning(QWidget* main_window, PrivateProfile& ini, const StartupNotice& notice);
  ~TFormWarning() override;

  QLabel* Image1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QPushButton* ButtonOk = nullptr;

 protected:
  void done(int result) override;

 private:
  PrivateProfile& ini_;
  StartupNotice notice_;
};

// What Timer3 does: shows the notice for the situation modally over the main window, when
// the situation calls for it.
void ShowStartupNotice(QWidget* main_window, PrivateProfile& ini, KeyMapCheck key_map);

}  // namespace tessary
