// TFormJump: the jump window, asking for the line number to move the caret to.
#pragma once

#include <string>

#include "platform/app_home.h"
#include "platform/ui/viewer_form.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tessary {

class EditorControl;

// Centred on its parent; OK stores the entry as Editor/Jump and closes accepted.
class TFormJump final : public TViewerForm {
  Q_OBJECT
 public:
  TFormJump(QWidget* parent, const AppHome& home);

  // The box's text as it stood when OK closed the window.
  [[nodiscard]] std::string Entry() const;

  QLabel* Label1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* ButtonOK = nullptr;
  QPushButton* ButtonCancel = nullptr;

 private:
  void ButtonOKClick();

  AppHome home_;
};

// What the jump command does: asks for the line in the modal window and, after OK, moves the
// caret of `editor` there. True when it moved.
[[nodiscard]] bool RunJump(QWidget* parent, const AppHome& home, EditorControl& editor);

}  // namespace tessary
