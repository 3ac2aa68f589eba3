// The window list of an X11 session through xcb, and the one for sessions that have none.
#pragma once

#include <memory>

#include "platform/window_list.h"

namespace tessary {

// The list for the session the program runs in: X11 (Qt's xcb platform) lists and raises
// windows; Wayland and the offscreen platform answer that they cannot.
[[nodiscard]] std::unique_ptr<WindowList> SessionWindowList();

}  // namespace tessary
