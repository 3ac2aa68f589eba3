// TFormReplace: the find window plus the replacement box, replace and replace all.
#pragma once

#include "commands/ui/form_find.h"

namespace tessary {

// Always works on the main editor, whose word it keeps in the find history.
class TFormReplace final : public TFormFind {
  Q_OBJECT
 public:
  TFormReplace(QWidget* parent, PrivateProfile& ini, const AppHome& home, Messages& messages,
               EditorControl& target, std::optional<std::string> handed = std::nullopt);

  QLabel* Label2 = nullptr;
  QComboBox* ComboBox2 = nullptr;  // the replacement and its history
  QPushButton* ButtonReplace = nullptr;
  QPushButton* ButtonReplaceAll = nullptr;

 private:
  void TakeReplacement();
  void Replace();
  void ReplaceAll();
};

}  // namespace tessary
