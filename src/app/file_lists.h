// The recent-file list (6 paths) and the caret history (128 rows with paths), and their files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "platform/mru_list.h"

namespace tessary {

// Paths live in memory as the system spells them (UTF-8 on Linux); the list files are
// Shift-JIS. A path that Shift-JIS cannot hold is left out of the file rather than written
// garbled.
using PathCodec = ListTextCodec;

// Two paths name the same file. Exact comparison: Linux file systems tell letter case apart,
// and a substring test would let "a.txt" take over the entry of "a.txt.bak".
bool SamePath(std::string_view a, std::string_view b);

class RecentList {
 public:
  static constexpr size_t kSize = 6;
  RecentList() : list_({kSize, MruLength::Fixed, ""}) {}

  // Missing file: six empty entries. Short files are filled up, long ones cut.
  void Load(const std::string& path, const PathCodec& codec) { list_.Load(path, codec); }
  [[nodiscard]] Status Save(const std::string& path, const PathCodec& codec) const {
    return list_.Save(path, codec);
  }

  // Puts the path at the top, removing its earlier entry (or the last one).
  void Update(const std::string& file_name);
  const std::vector<std::string>& entries() const { return list_.entries(); }
  // "&N " followed by entry N (1-based).
  std::string MenuCaption(size_t n) const;

 private:
  MruList list_;
};

// Each entry is the caret row, a TAB and the path; an empty entry is a TAB alone.
class HistoryList {
 public:
  static constexpr size_t kSize = 128;
  struct Entry {
    std::string row_text;  // as stored; a non-numeric text never matches
    std::string path;
  };
  HistoryList() : list_({kSize, MruLength::Fixed, "\t"}) {}

  // Missing file: 128 empty entries.
  void Load(const std::string& path, const PathCodec& codec) { list_.Load(path, codec); }
  [[nodiscard]] Status Save(const std::string& path, const PathCodec& codec) const {
    return list_.Save(path, codec);
  }

  // Records the caret row for the file at the top; nothing for an empty name.
  void Update(const std::string& file_name, int32_t caret_row);
  // The remembered row, clamped to the last of line_count lines, or nothing.
  std::optional<int32_t> Lookup(const std::string& file_name, int32_t line_count) const;
  std::vector<Entry> entries() const;

 private:
  MruList list_;
};

}  // namespace tessary
