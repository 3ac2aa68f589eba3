// TFormFind: the find window over FindReplaceModel, searching the editor it was opened on.
#pragma once

#include <QTimer>
#include <optional>
#include <string>

#include "commands/find_replace.h"
#include "platform/private_profile.h"
#include "platform/ui/viewer_form.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace tessary {

class EditorControl;

// Shows its target's hits as the selection and stays in front of that editor after each hit.
// The replace window (TFormReplace) builds on it with FindWindow::Replace.
class TFormFind : public TViewerForm {
  Q_OBJECT
 public:
  // `target` outlives the window. The word is `handed`, else the stored SearchWord.
  TFormFind(QWidget* parent, PrivateProfile& ini, const AppHome& home, Messages& messages,
            EditorControl& target, FindWindow kind = FindWindow::Find,
            std::optional<std::string> handed = std::nullopt);

  [[nodiscard]] const FindReplaceModel& Model() const { return model_; }

  QLabel* Label1 = nullptr;
  QComboBox* ComboBox1 = nullptr;  // the search word and its history
  QCheckBox* CheckBoxCase = nullptr;
  QCheckBox* CheckBoxWord = nullptr;
  QCheckBox* CheckBoxZenkaku = nullptr;
  QCheckBox* CheckBoxCrLf = nullptr;
  QCheckBox* CheckBoxAutoClose = nullptr;  // the find window only
  QPushButton* ButtonNext = nullptr;
  QPushButton* ButtonPrev = nullptr;
  QPushButton* ButtonClose = nullptr;

  void done(int result) override;

 protected:
  // The search row is row 0 of the grid; the replace window adds its row below it and its
  // buttons to the button column.
  [[nodiscard]] QGridLayout* Grid() const { return grid_; }
  // The minimum and first size become what the laid-out widgets need, 520 pixels wide at least.
  void FitToContents();
  [[nodiscard]] QVBoxLayout* ButtonColumn() const { return buttons_; }
  [[nodiscard]] FindReplaceModel& model() { return model_; }
  [[nodiscard]] EditorControl& target() { return target_; }
  // The boxes into the model, before any command.
  void TakeBoxes();
  static void FillHistory(QComboBox* box, const std::vector<std::string>& entries);
  void showEvent(QShowEvent* event) override;

 private:
  void Find(SearchDirection direction);
  void StayInFront();

  FindReplaceModel model_;
  EditorControl& target_;
  QGridLayout* grid_ = nullptr;
  QVBoxLayout* buttons_ = nullptr;
  QTimer front_again_;
  bool shown_once_ = false;
};

}  // namespace tessary
