// Showing the chooser windows modally and reading their outcome.
#include "codec/ui/qt_file_chooser_windows.h"

#include "codec/ui/form_open.h"
#include "codec/ui/form_save_as.h"
#include "codec/ui/open_dialog_ex.h"
#include "codec/ui/save_dialog_ex.h"

namespace tessary {

std::optional<OpenDialogExState> QtFileChooserWindows::ShowOpenDialogEx(
    const OpenDialogExState& state) {
  TOpenDialogEx dialog(owner_, state);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Result();
}

std::optional<SaveDialogExState> QtFileChooserWindows::ShowSaveDialogEx(
    const SaveDialogExState& state) {
  TSaveDialogEx dialog(owner_, state);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Result();
}

std::optional<OpenFileChoice> QtFileChooserWindows::ShowFormOpen() {
  TFormOpen form(owner_, ini_, messages_, browse_);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.choice();
}

std::optional<SaveFileChoice> QtFileChooserWindows::ShowFormSaveAs() {
  TFormSaveAs form(owner_, ini_, messages_, browse_);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.choice();
}

}  // namespace tessary
