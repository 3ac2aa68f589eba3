// The file dialog with code and line-end lists along its bottom (TSaveDialogEx), for saving.
#pragma once

#include <QFileDialog>

#include "codec/file_choosers.h"

class QComboBox;
class QLabel;

namespace tessary {

class TSaveDialogEx final : public QFileDialog {
  Q_OBJECT
  Q_PROPERTY(int CharCodeType READ CharCodeType WRITE SetCharCodeType)
  Q_PROPERTY(int CrlfType READ CrlfType WRITE SetCrlfType)
 public:
  explicit TSaveDialogEx(QWidget* parent, const SaveDialogExState& state);
  int CharCodeType() const { return char_code_type_; }  // code - 1
  void SetCharCodeType(int index);
  int CrlfType() const { return crlf_type_; }
  void SetCrlfType(int index);
  SaveDialogExState Result() const;

  QWidget* ExtPanel = nullptr;
  QLabel* LabelCode = nullptr;
  QComboBox* ComboCharCode = nullptr;
  QLabel* LabelCrLf = nullptr;
  QComboBox* ComboCrLf = nullptr;

 private:
  SaveDialogExState state_;
  int char_code_type_ = 0;
  int crlf_type_ = 0;
};

}  // namespace tessary
