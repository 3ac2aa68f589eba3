// Messages and Yes/No questions shown as modal Qt message boxes.
#pragma once

#include "platform/messages.h"

class QWidget;

namespace tessary {

class QtMessages final : public Messages {
 public:
  explicit QtMessages(QWidget* parent) : parent_(parent) {}
  void ShowMessage(const std::string& text) override;
  // Yes is the default button, as users of the platform of origin expect.
  Answer AskYesNo(const std::string& text) override;

 private:
  QWidget* parent_;
};

}  // namespace tessary
