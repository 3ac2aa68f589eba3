// The save dialog with its code and line-end panel.
#include "codec/ui/save_dialog_ex.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

#include "codec/ui/open_dialog_ex.h"

namespace tessary {
namespace {

QComboBox* AddList(QWidget* panel, QHBoxLayout* row, const char* caption, QLabel** label,
                   const std::vector<std::string>& items) {
  *label = new QLabel(QString::fromUtf8(caption), panel);
  auto* box = new QComboBox(panel);
  for (const std::string& item : items) box->addItem(QString::fromStdString(item));
  row->addWidget(*label);
  row->addWidget(box);
  return box;
}

}  // namespace

TSaveDialogEx::TSaveDialogEx(QWidget* parent, const SaveDialogExState& state)
    : QFileDialog(parent), state_(state) {
  setObjectName("SaveDialogEx");
  PrepareChooserDialog(this, QFileDialog::AcceptSave, state.start);
  ExtPanel = new QWidget(this);
  ExtPanel->setObjectName("ExtPanel");
  auto* row = new QHBoxLayout(ExtPanel);
  row->setContentsMargins(0, 4, 0, 0);
  ComboCharCode = AddList(ExtPanel, row, "文字コード :", &LabelCode, SaveCodeItems());
  row->addSpacing(16);
  ComboCrLf = AddList(ExtPanel, row, "改行コード :", &LabelCrLf, RetCodeItems());
  row->addStretch();
  AddExtPanel(this, ExtPanel);
  SetCharCodeType(state.char_code_type);
  SetCrlfType(state.crlf_type);
  connect(ComboCharCode, &QComboBox::currentIndexChanged, this,
          [this](int index) { char_code_type_ = index; });
  connect(ComboCrLf, &QComboBox::currentIndexChanged, this,
          [this](int index) { crlf_type_ = index; });
}

void TSaveDialogEx::SetCharCodeType(int index) {
  char_code_type_ = SaveCodeIndexOf(index + 1);
  ComboCharCode->setCurrentIndex(char_code_type_);
}

void TSaveDialogEx::SetCrlfType(int index) {
  crlf_type_ = RetCodeIndexOf(index);
  ComboCrLf->setCurrentIndex(crlf_type_);
}

SaveDialogExState TSaveDialogEx::Result() const {
  SaveDialogExState r = state_;
  r.name = ChosenPath(*this);
  r.char_code_type = char_code_type_;
  r.crlf_type = crlf_type_;
  return r;
}

}  // namespace tessary
