// Reading and writing window placements, and the off-screen rule.
#include "platform/window_placement.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tessary {
namespace {

std::string_view StateText(WindowState s) {
  switch (s) {
    case WindowState::Maximized:
      return "MAX";
    case WindowState::Minimized:
      return "MIN";
    case WindowState::Normal:
      break;
  }
  return "NORMAL";
}

}  // namespace

WindowPlacement ReadPlacement(const PrivateProfile& ini, std::string_view section,
                              const WindowPlacement& fallback) {
  WindowPlacement p;
  p.bounds.left = ini.ReadInteger(section, "Left", fallback.bounds.left);
  p.bounds.top = ini.ReadInteger(section, "Top", fallback.bounds.top);
  p.bounds.width = ini.ReadInteger(section, "Width", fallback.bounds.width);
  p.bounds.height = ini.ReadInteger(section, "Height", fallback.bounds.height);
  std::string state = ini.ReadString(section, "State", StateText(fallback.state));
  p.state = state == "MAX"   ? WindowState::Maximized
            : state == "MIN" ? WindowState::Minimized
                             : WindowState::Normal;
  return p;
}

Status WritePlacement(PrivateProfile& ini, std::string_view section, WindowState state,
                      const Rect& normal_bounds) {
  std::vector<PrivateProfile::Entry> entries;
  std::string s(section);
  entries.push_back({s, "State", std::string(StateText(state))});
  if (state == WindowState::Normal) {
    entries.push_back({s, "Left", std::to_string(normal_bounds.left)});
    entries.push_back({s, "Top", std::to_string(normal_bounds.top)});
    entries.push_back({s, "Width", std::to_string(normal_bounds.width)});
    entries.push_back({s, "Height", std::to_string(normal_bounds.height)});
  }
  return ini.WriteStrings(entries);
}

Rect PlaceOnScreen(const Rect& saved, const Rect& screen, const Rect& fallback) {
  const int64_t slack = 9;
  const bool off = saved.top + slack < screen.top || saved.top > screen.Bottom() ||
                   saved.Bottom() < screen.top || saved.Bottom() > screen.Bottom() ||
                   saved.left + slack < screen.left || saved.left > screen.Right() ||
                   saved.Right() < screen.left || saved.Right() > screen.Right();
  return off ? fallback : saved;
}

Rect KeepOnScreen(const Rect& bounds, const Rect& screen) {
  auto axis = [](int64_t start, int64_t size, int64_t lo, int64_t hi) {
    return static_cast<int>(std::max(lo, std::min(start, hi - size)));
  };
  Rect r = bounds;
  r.left = axis(bounds.left, bounds.width, screen.left, screen.Right());
  r.top = axis(bounds.top, bounds.height, screen.top, screen.Bottom());
  return r;
}

}  // namespace tessary
