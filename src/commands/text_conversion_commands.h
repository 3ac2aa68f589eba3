// The selected-text conversion commands: their refusals, the tab count they ask for, the edit.
#pragma once

#include <functional>

#include "commands/text_conversions.h"
#include "editor/editor_control.h"
#include "platform/messages.h"
#include "platform/private_profile.h"

namespace tessary {

inline constexpr const char* kReadOnlyRefusal = "書込禁止なので操作は無効です";
inline constexpr const char* kNoSelectionRefusal = "範囲が選択されていません";

// `Editor`/`ReplaceTab`: the blanks per TAB chosen last in the tab window. What is stored is
// read through TabBlankCount, so an edited value outside 2, 4, 6 and 8 gives 4.
[[nodiscard]] int ReadReplaceTab(const PrivateProfile& ini);
[[nodiscard]] Status WriteReplaceTab(PrivateProfile& ini, int blanks);

// Runs the tab window, preselected on the editor's tab width; true when it closed with OK,
// having stored its choice in `Editor`/`ReplaceTab`.
using RunTabWindow = std::function<bool(int tab_width)>;

// A read-only document is never changed and an empty selection is reported, both with a
// message; otherwise the selection is replaced by its conversion as one undo step.
class TextConversionCommands {
 public:
  TextConversionCommands(EditorControl& control, Messages& messages, PrivateProfile& ini,
                         RunTabWindow run_tab_window);
  void Run(TextConversion conversion);

 private:
  // Whether the command may go on; the refusal is shown when not.
  [[nodiscard]] bool MayConvert();
  void Convert(TextConversion conversion, int blanks);

  EditorControl& control_;
  Messages& messages_;
  PrivateProfile& ini_;
  RunTabWindow run_tab_window_;
};

}  // namespace tessary
