// The own Open window (TFormOpen): a name, a requested code, and a Browse button.
#pragma once

#include "codec/file_choosers.h"
#include "codec/ui/chooser_form.h"

namespace tessary {

class TFormOpen final : public TChooserForm {
  Q_OBJECT
 public:
  // Reads its start values from the settings file now, as the window is created.
  TFormOpen(QWidget* parent, PrivateProfile& ini, Messages& messages,
            BrowseFunction browse = nullptr);
  // The choice after the window closed with OK.
  const std::optional<OpenFileChoice>& choice() const { return choice_; }

 protected:
  const ChooserStart& BrowseStart() const override { return model_.browse_start(); }
  bool TakeChoice() override;

 private:
  FormOpenModel model_;
  std::optional<OpenFileChoice> choice_;
};

}  // namespace tessary
