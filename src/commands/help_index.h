// The help window's headless side: where the manual lies and how its text is wrapped.
#pragma once

#include <string>
#include <string_view>

#include "base/result.h"
#include "platform/private_profile.h"

namespace tessary {

// The manual, "Tessary.txt": in the folder of the executable `executable` names, or in the
// installation's data folder when that executable is installed.
[[nodiscard]] std::string HelpTextPath(std::string_view executable);

// The manual's bytes as Shift-JIS, nothing when it is missing or cannot be read: the window
// then shows an empty text.
[[nodiscard]] std::string ReadHelpText(const std::string& path);

enum class HelpWrap { None, WindowWidth };

// Help/WrapNone (default false) and Help/WrapWindowWidth (default true). WrapNone wins when a
// hand-edited file sets both.
[[nodiscard]] HelpWrap ReadHelpWrap(const PrivateProfile& ini);
[[nodiscard]] Status WriteHelpWrap(PrivateProfile& ini, HelpWrap wrap);

}  // namespace tessary
