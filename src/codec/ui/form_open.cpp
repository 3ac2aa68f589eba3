// The own Open window over its model.
#include "codec/ui/form_open.h"

#include <QComboBox>
#include <QLineEdit>

namespace tessary {

TFormOpen::TFormOpen(QWidget* parent, PrivateProfile& ini, Messages& messages,
                     BrowseFunction browse)
    : TChooserForm(parent, "ファイルを開く", "開く(&O)", BrowseKind::Open, std::move(browse)),
      model_(ini, messages) {
  setObjectName("FormOpen");
  FillList(ComboBox1, OpenCodeItems(), model_.initial_code_index());
}

bool TFormOpen::TakeChoice() {
  choice_ = model_.Ok(Edit1->text().toStdString(), ComboBox1->currentIndex());
  return choice_.has_value();
}

}  // namespace tessary
