// The start-up notice (TFormWarning): when it is shown, what its labels say, what closing stores.
#pragma once

#include <string>

#include "base/result.h"
#include "commands/key_map_state.h"
#include "platform/private_profile.h"

namespace tessary {

// Whether the key map file found at start-up had to be replaced by the default one (a missing
// file is created and does not count).
enum class KeyMapCheck { Kept, Replaced };

inline constexpr const char* kStartupNoticeCaption = "注意事項";
inline constexpr const char* kPictographNotice =
    "SJIS で表示できない絵文字    等は ?? で表示されます";
inline constexpr const char* kDontShowAgainCaption = "今後は表示しない(&W)";

// `Wraning`/`Show` (the section's name is spelt so), default true.
bool ReadStartupNoticeShow(const PrivateProfile& ini);

// Timer3 is started (100 ms after the first showing) when the notice is wanted or the key map
// was replaced.
bool StartupNoticeWanted(bool show, KeyMapCheck key_map);

struct StartupNotice {
  std::string label1;
  std::string label2;
  bool label2_enabled = false;     // an empty second label is greyed
  bool check_box_visible = false;  // the check box and the icon together
  bool operator==(const StartupNotice&) const = default;
};
StartupNotice StartupNoticeFor(bool show, KeyMapCheck key_map);

// Closing the notice stores `Show` := not checked. A hidden check box cannot have been
// unchecked by the user, so it leaves the stored choice alone instead of turning the notice
// back on.
Status StoreStartupNoticeChoice(PrivateProfile& ini, const StartupNotice& notice, bool checked);

}  // namespace tessary
