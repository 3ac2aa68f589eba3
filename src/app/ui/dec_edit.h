// TDecEdit: a single-line edit that lets only the characters of its numeric kind in.
#pragma once

#include <QLineEdit>

#include "app/status_texts.h"

namespace tessary {

class TDecEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TDecEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}
  NumericType GetNumericType() const { return numeric_type_; }
  void SetNumericType(NumericType t) { numeric_type_ = t; }

 protected:
  // Typed characters pass through NumericEditAccepts; editing keys (backspace, arrows, Enter)
  // and shortcuts are left to the line edit.
  void keyPressEvent(QKeyEvent* e) override;

 private:
  NumericType numeric_type_ = NumericType::DecimalUnSigned;
};

}  // namespace tessary
