// The chooser windows of both front ends as Qt shows them, for FileChoosers.
#pragma once

#include "codec/file_choosers.h"
#include "codec/ui/chooser_form.h"

class QWidget;

namespace tessary {

// Every window is created for one call, shown modally over the owner and destroyed after.
class QtFileChooserWindows final : public FileChooserWindows {
 public:
  QtFileChooserWindows(QWidget* owner, PrivateProfile& ini, Messages& messages,
                       BrowseFunction browse = nullptr)
      : owner_(owner), ini_(ini), messages_(messages), browse_(std::move(browse)) {}

  std::optional<OpenDialogExState> ShowOpenDialogEx(const OpenDialogExState& state) override;
  std::optional<SaveDialogExState> ShowSaveDialogEx(const SaveDialogExState& state) override;
  std::optional<OpenFileChoice> ShowFormOpen() override;
  std::optional<SaveFileChoice> ShowFormSaveAs() override;

 private:
  QWidget* owner_;
  PrivateProfile& ini_;
  Messages& messages_;
  BrowseFunction browse_;
};

}  // namespace tessary
