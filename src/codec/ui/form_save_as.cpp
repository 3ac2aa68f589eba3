// The own Save As window over its model.
#include "codec/ui/form_save_as.h"

#include <QComboBox>
#include <QLineEdit>

namespace tessary {

TFormSaveAs::TFormSaveAs(QWidget* parent, PrivateProfile& ini, Messages& messages,
                         BrowseFunction browse)
    : TChooserForm(parent, "ファイルに名前を付けて保存", "保存(&S)", BrowseKind::Save,
                   std::move(browse)),
      model_(ini, messages) {
  setObjectName("FormSaveAs");
  FillList(ComboBox1, SaveCodeItems(), model_.initial_code_index());
  ComboBox2 = AddList("改行(&L)", &Label3);
  FillList(ComboBox2, RetCodeItems(), model_.initial_ret_index());
}

bool TFormSaveAs::TakeChoice() {
  choice_ =
      model_.Ok(Edit1->text().toStdString(), ComboBox1->currentIndex(), ComboBox2->currentIndex());
  return choice_.has_value();
}

}  // namespace tessary
