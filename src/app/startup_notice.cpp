// Choosing the start-up notice's texts from the two situations that call for it.
#include "app/startup_notice.h"

namespace tessary {

bool ReadStartupNoticeShow(const PrivateProfile& ini) {
  return ini.ReadBool("Wraning", "Show", true);
}

bool StartupNoticeWanted(bool show, KeyMapCheck key_map) {
  return show || key_map == KeyMapCheck::Replaced;
}

StartupNotice StartupNoticeFor(bool show, KeyMapCheck key_map) {
  const bool replaced = key_map == KeyMapCheck::Replaced;
  if (show && replaced) return {kPictographNotice, kKeyMapReplacedNotice, true, true};
  if (replaced) return {kKeyMapReplacedNotice, "", false, false};
  return {kPictographNotice, "", false, true};
}

Status StoreStartupNoticeChoice(PrivateProfile& ini, const StartupNotice& notice, bool checked) {
  if (!notice.check_box_visible) return Success();
  return ini.WriteBool("Wraning", "Show", !checked);
}

}  // namespace tessary
