// The file-manager and editor choosers without their windows: title patterns and window lists.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/app_home.h"
#include "platform/messages.h"
#include "platform/window_list.h"

namespace tessary {

// One line of "Tessary-Title.txt": "1" or "0", a blank, then the pattern. A line shorter than
// four characters has no pattern.
struct TitleLine {
  bool enabled = false;
  std::string pattern;  // UTF-8
  bool operator==(const TitleLine&) const = default;
};
using TitleLines = std::array<TitleLine, 4>;

[[nodiscard]] TitleLine ParseTitleLine(std::string_view line);
// "1 " or "0 " followed by the pattern.
[[nodiscard]] std::string TitleLineText(const TitleLine& line);
// "1 - ostrel", "1 - Corvane", "0", "0".
[[nodiscard]] TitleLines DefaultTitleLines();
// The file's lines; a missing file gives the defaults, a short one is padded with the
// defaults' lines.
[[nodiscard]] TitleLines ReadTitleLines(const AppHome& home);
[[nodiscard]] Status WriteTitleLines(const AppHome& home, const TitleLines& lines);

// A listed window: its title and the id to raise it by.
using ChooserEntry = TopWindow;

// For each window in order and each enabled line with a pattern in line order, the window
// when its title holds the pattern, letters compared without case; a window matching two
// patterns is listed twice. The window `own` is never listed.
[[nodiscard]] std::vector<ChooserEntry> MatchWindows(const std::vector<TopWindow>& windows,
                                                     const TitleLines& lines, WindowId own);

// The chooser's list and its Run. Refresh reports a window system that cannot list windows.
class WindowChooser {
 public:
  WindowChooser(WindowList& windows, Messages& messages, WindowId own);

  // Lists anew with `lines`; false (after a message) when the windows cannot be listed.
  bool Refresh(const TitleLines& lines);
  [[nodiscard]] const std::vector<ChooserEntry>& Entries() const { return entries_; }
  // Raises entry `index`; false when there is none or it could not be raised (told).
  bool Run(int index);

 private:
  WindowList& windows_;
  Messages& messages_;
  WindowId own_;
  std::vector<ChooserEntry> entries_;
};

// Whether the window system can list windows at all; when it cannot (Wayland), the user is
// told and the chooser is not opened.
[[nodiscard]] bool WindowsListable(WindowList& windows, Messages& messages);

// The editor chooser's one line: other windows of this program carry it in their titles.
[[nodiscard]] TitleLines EditorTitleLines();

}  // namespace tessary
