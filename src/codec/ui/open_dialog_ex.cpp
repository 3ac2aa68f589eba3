// The open dialog with its code panel.
#include "codec/ui/open_dialog_ex.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "codec/ui/chooser_form.h"

namespace tessary {

void PrepareChooserDialog(QFileDialog* dialog, QFileDialog::AcceptMode mode,
                          const ChooserStart& start) {
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setOption(QFileDialog::HideNameFilterDetails);
  dialog->setAcceptMode(mode);
  dialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                      : QFileDialog::AnyFile);
  dialog->setNameFilters(ChooserNameFilters());
  if (!start.folder.empty()) dialog->setDirectory(QString::fromStdString(start.folder));
  if (!start.name.empty()) dialog->selectFile(QString::fromStdString(start.name));
}

void AddExtPanel(QFileDialog* dialog, QWidget* panel) {
  // Qt's own dialog lays its controls out in a grid; a layout of another kind gets the panel
  // at its end.
  if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout())) {
    grid->addWidget(panel, grid->rowCount(), 0, 1, grid->columnCount());
  } else if (auto* box = qobject_cast<QBoxLayout*>(dialog->layout())) {
    box->addWidget(panel);
  }
}

std::string ChosenPath(const QFileDialog& dialog) {
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? std::string() : files.front().toStdString();
}

TOpenDialogEx::TOpenDialogEx(QWidget* parent, const OpenDialogExState& state)
    : QFileDialog(parent), state_(state) {
  setObjectName("OpenDialogEx");
  PrepareChooserDialog(this, QFileDialog::AcceptOpen, state.start);
  ExtPanel = new QWidget(this);
  ExtPanel->setObjectName("ExtPanel");
  auto* row = new QHBoxLayout(ExtPanel);
  row->setContentsMargins(0, 4, 0, 0);
  LabelCode = new QLabel(QString::fromUtf8("文字コード :"), ExtPanel);
  ComboCharCode = new QComboBox(ExtPanel);
  ComboCharCode->setMaxVisibleItems(10);
  for (const std::string& item : OpenCodeItems())
    ComboCharCode->addItem(QString::fromStdString(item));
  row->addWidget(LabelCode);
  row->addWidget(ComboCharCode);
  row->addStretch();
  AddExtPanel(this, ExtPanel);
  SetCharCodeType(state.char_code_type);
  connect(ComboCharCode, &QComboBox::currentIndexChanged, this,
          [this](int index) { char_code_type_ = index; });
}

void TOpenDialogEx::SetCharCodeType(int index) {
  char_code_type_ = OpenCodeIndexOf(index);
  ComboCharCode->setCurrentIndex(char_code_type_);
}

OpenDialogExState TOpenDialogEx::Result() const {
  OpenDialogExState r = state_;
  r.name = ChosenPath(*this);
  r.char_code_type = char_code_type_;
  return r;
}

}  // namespace tessary
