// The version window's text and its picture index, without the window.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"
#include "platform/private_profile.h"

namespace tessary {

inline constexpr int kVersionImageCount = 6;
inline constexpr std::string_view kVersionPrefix = "Version ： ";

// The project version followed by the executable's date as "yyyy.mm.dd" (local time), or the
// version alone when the date is unknown.
[[nodiscard]] std::string VersionText(std::string_view project_version,
                                      std::optional<std::time_t> executable_time);
// The modification time of the running executable, when it can be read.
[[nodiscard]] std::optional<std::time_t> ExecutableTime();
// The version this program was built as.
[[nodiscard]] std::string_view ProjectVersion();

// `VersionImage`/`Index`: the picture shown; anything outside 0-5 reads 0.
[[nodiscard]] int ReadVersionImage(const PrivateProfile& ini);
[[nodiscard]] Status WriteVersionImage(PrivateProfile& ini, int index);
// The picture a click shows: the next one, after the last the first.
[[nodiscard]] int NextVersionImage(int index);
// The caption under picture `index` (UTF-8).
[[nodiscard]] std::string_view VersionImageCaption(int index);

}  // namespace tessary
