// The own Save As window (TFormSaveAs): a name, a code, a line end, and a Browse button.
#pragma once

#include "codec/file_choosers.h"
#include "codec/ui/chooser_form.h"

namespace tessary {

class TFormSaveAs final : public TChooserForm {
  Q_OBJECT
 public:
  TFormSaveAs(QWidget* parent, PrivateProfile& ini, Messages& messages,
              BrowseFunction browse = nullptr);
  const std::optional<SaveFileChoice>& choice() const { return choice_; }

  QLabel* Label3 = nullptr;
  QComboBox* ComboBox2 = nullptr;

 protected:
  const ChooserStart& BrowseStart() const override { return model_.browse_start(); }
  bool TakeChoice() override;

 private:
  FormSaveAsModel model_;
  std::optional<SaveFileChoice> choice_;
};

}  // namespace tessary
