// The selected-text conversion commands.
#include "commands/text_conversion_commands.h"

#include <utility>

namespace tessary {
namespace {

constexpr const char* kEditor = "Editor";
constexpr const char* kReplaceTab = "ReplaceTab";
constexpr int kDefaultReplaceTab = 4;

void ShowOutcome(EditorControl::ConvertOutcome outcome, Messages& messages) {
  using enum EditorControl::ConvertOutcome;
  if (outcome == ReadOnly) messages.ShowMessage(kReadOnlyRefusal);
  if (outcome == NoSelection) messages.ShowMessage(kNoSelectionRefusal);
}

}  // namespace

int ReadReplaceTab(const PrivateProfile& ini) {
  return TabBlankCount(ini.ReadInteger(kEditor, kReplaceTab, kDefaultReplaceTab));
}

Status WriteReplaceTab(PrivateProfile& ini, int blanks) {
  return ini.WriteInteger(kEditor, kReplaceTab, TabBlankCount(blanks));
}

TextConversionCommands::TextConversionCommands(EditorControl& control, Messages& messages,
                                               PrivateProfile& ini, RunTabWindow run_tab_window)
    : control_(control),
      messages_(messages),
      ini_(ini),
      run_tab_window_(std::move(run_tab_window)) {}

bool TextConversionCommands::MayConvert() {
  if (control_.ReadOnly()) {
    messages_.ShowMessage(kReadOnlyRefusal);
    return false;
  }
  if (control_.GetSelectionState() != SelectionState::Selected) {
    messages_.ShowMessage(kNoSelectionRefusal);
    return false;
  }
  return true;
}

void TextConversionCommands::Run(TextConversion conversion) {
  if (!MayConvert()) return;
  int blanks = 0;
  if (conversion == TextConversion::TabsToBlanks) {
    if (!run_tab_window_ || !run_tab_window_(control_.Caret().TabSpaceCount)) return;
    // The window stored the choice; reading it back is what the next opening will offer too.
    blanks = ReadReplaceTab(ini_);
  }
  Convert(conversion, blanks);
}

void TextConversionCommands::Convert(TextConversion conversion, int blanks) {
  const auto outcome =
      control_.ConvertSelection([conversion, blanks](std::string_view piece, std::string& out) {
        AppendConverted(conversion, piece, blanks, out);
      });
  ShowOutcome(outcome, messages_);
}

}  // namespace tessary
