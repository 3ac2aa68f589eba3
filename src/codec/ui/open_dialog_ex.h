// The file dialog with a code panel along its bottom (TOpenDialogEx), for opening.
#pragma once

#include <QFileDialog>

#include "codec/file_choosers.h"

class QComboBox;
class QLabel;

namespace tessary {

// Qt's own file dialog (never the platform's, which could not take the panel) with the
// choosers' filters, started in a folder on a name.
void PrepareChooserDialog(QFileDialog* dialog, QFileDialog::AcceptMode mode,
                          const ChooserStart& start);
// Puts a panel below the dialog's own controls, across its whole width.
void AddExtPanel(QFileDialog* dialog, QWidget* panel);
// The path the dialog was accepted with; empty when there is none.
std::string ChosenPath(const QFileDialog& dialog);

class TOpenDialogEx final : public QFileDialog {
  Q_OBJECT
  Q_PROPERTY(int CharCodeType READ CharCodeType WRITE SetCharCodeType)
 public:
  explicit TOpenDialogEx(QWidget* parent, const OpenDialogExState& state);
  int CharCodeType() const { return char_code_type_; }
  void SetCharCodeType(int index);
  // The name and the code list's index after the dialog closed.
  OpenDialogExState Result() const;

  QWidget* ExtPanel = nullptr;
  QLabel* LabelCode = nullptr;
  QComboBox* ComboCharCode = nullptr;

 private:
  OpenDialogExState state_;
  int char_code_type_ = 0;
};

}  // namespace tessary
