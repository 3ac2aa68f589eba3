// Scripted message boxes, a recording menu and key map files that fail on request.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "commands/key_map.h"
#include "commands/key_map_state.h"
#include "platform/messages.h"
#include "support/scripted_messages.h"

namespace tessary::testing {

class RecordingMenu final : public MenuShortcuts {
 public:
  void SetShortCut(int id, const KeyStroke& stroke) override {
    shortcuts[id] = stroke;
    ++calls;
  }
  std::map<int, KeyStroke> shortcuts;
  int calls = 0;
};

// Real files in a folder; reads or writes fail when asked, whatever the user's rights.
class FaultyKeyMapFiles final : public KeyMapFiles {
 public:
  explicit FaultyKeyMapFiles(const std::string& folder) : KeyMapFiles(AppHome(folder)) {}
  Result<std::string> Read(const std::string& path) const override {
    if (fail_read) return Error{"cannot open: " + path + ": Permission denied", 13};
    return KeyMapFiles::Read(path);
  }
  Status Write(const std::string& path, std::string_view bytes) override {
    ++writes;
    if (fail_write) return Error{"cannot write: " + path + ": Read-only file system", 30};
    return KeyMapFiles::Write(path, bytes);
  }
  bool fail_read = false;
  bool fail_write = false;
  int writes = 0;
};

inline KeyMap DefaultKeyMap() {
  return InitKeyMap(BuiltInCaptions());
}

}  // namespace tessary::testing
