// The other programs' top-level windows: listing them with their titles and raising one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace tessary {

using WindowId = uint64_t;

inline constexpr std::string_view kCannotListWindowsMessage =
    "このウィンドウシステムでは他のウィンドウを一覧できません";
inline constexpr std::string_view kWindowGoneMessage = "ウィンドウがありません";

struct TopWindow {
  WindowId id = 0;
  std::string title;  // UTF-8
  bool operator==(const TopWindow&) const = default;
};

// What the window system offers. A system that cannot list other programs' windows (a Wayland
// session) answers every call with an error that says so.
class WindowList {
 public:
  virtual ~WindowList() = default;
  // Every top-level window with a title, in the window system's order.
  [[nodiscard]] virtual Result<std::vector<TopWindow>> Windows() = 0;
  // Brings the window to the front, restoring it when minimised. A window that has gone since
  // it was listed is an error, never a crash.
  [[nodiscard]] virtual Status Activate(WindowId id) = 0;
};

}  // namespace tessary
