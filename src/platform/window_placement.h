// Window placements in the settings file and the rule that keeps a window on the screen.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/result.h"
#include "platform/private_profile.h"

namespace tessary {

enum class WindowState { Normal, Maximized, Minimized };

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  // 64-bit: saved values come from a file anyone can edit and may be at the ends of int.
  int64_t Right() const { return int64_t{left} + width; }
  int64_t Bottom() const { return int64_t{top} + height; }
  bool operator==(const Rect&) const = default;
};

// Left, Top, Width, Height and State ("MAX", "MIN", "NORMAL") in a section named after the
// window.
struct WindowPlacement {
  Rect bounds{0, 0, 800, 240};
  WindowState state = WindowState::Normal;
  bool operator==(const WindowPlacement&) const = default;
};

// Each missing or unreadable key takes its value from `fallback`.
[[nodiscard]] WindowPlacement ReadPlacement(const PrivateProfile& ini, std::string_view section,
                                            const WindowPlacement& fallback);
// State always; the bounds only in the normal state, so a maximised window keeps the normal
// size it had.
[[nodiscard]] Status WritePlacement(PrivateProfile& ini, std::string_view section,
                                    WindowState state, const Rect& normal_bounds);

// The bounds moved (never resized) the least distance that brings them onto the screen; a
// window larger than the screen keeps its top-left corner on it, so its title bar stays
// reachable. Used for windows centred on a smaller parent.
[[nodiscard]] Rect KeepOnScreen(const Rect& bounds, const Rect& screen);

// The saved bounds unless they stray off the virtual screen (all monitors' bounding
// rectangle): a window may hang up to 9 pixels over the top and left edges, no further, and
// must not pass the right or bottom edges. Rejected bounds become `fallback`.
[[nodiscard]] Rect PlaceOnScreen(const Rect& saved, const Rect& virtual_screen,
                                 const Rect& fallback);

}  // namespace tessary
