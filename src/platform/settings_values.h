// Value forms of the settings file beyond plain integers: colours and font sizes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/color.h"
#include "platform/private_profile.h"
#include "platform/window_placement.h"  // window placements, the other value form

namespace tessary {

// One of the twenty colour names ("clBlack", "clWhite", ...) where the colour has one,
// else "$" and eight upper-case hexadecimal digits.
std::string ColorToText(TColor c);
// A colour name in any letter case, or a decimal or "$"-hexadecimal number; else nothing.
std::optional<TColor> TextToColor(std::string_view text);

TColor ReadColor(const PrivateProfile& ini, std::string_view section, std::string_view key,
                 TColor fallback);
// A font size: a positive integer; anything else gives the fallback.
int ReadFontSize(const PrivateProfile& ini, std::string_view section, std::string_view key,
                 int fallback);

}  // namespace tessary
