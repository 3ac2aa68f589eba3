// The recent-file list (6 paths) and the caret history (128 rows with paths), and their files.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace tessary {

// Paths live in memory as the system spells them (UTF-8 on Linux); the list files are
// Shift-JIS. A path that Shift-JIS cannot hold is left out of the file rather than written
// garbled.
struct PathCodec {
  // Shift-JIS bytes of a path, or nothing when a character has no Shift-JIS form.
  std::function<std::optional<std::string>(std::string_view)> to_file;
  std::function<std::string(std::string_view)> from_file;
};

// Two paths name the same file. Exact comparison: Linux file systems tell letter case apart,
// and a substring test would let "a.txt" take over the entry of "a.txt.bak".
bool SamePath(std::string_view a, std::string_view b);

class RecentList {
 public:
  static constexpr size_t kSize = 6;
  RecentList() : entries_(kSize) {}

  // Missing file: six empty entries. Short files are filled up, long ones cut.
  void Load(const std::string& path, const PathCodec& codec);
  Status Save(const std::string& path, const PathCodec& codec) const;

  // Puts the path at the top, removing its earlier entry (or the last one).
  void Update(const std::string& file_name);
  const std::vector<std::string>& entries() const { return entries_; }
  // "&N " followed by entry N (1-based).
  std::string MenuCaption(size_t n) const;

 private:
  std::vector<std::string> entries_;
};

class HistoryList {
 public:
  static constexpr size_t kSize = 128;
  struct Entry {
    std::string row_text;  // as stored; a non-numeric text never matches
    std::string path;
  };
  HistoryList() : entries_(kSize) {}

  // Missing file: 128 empty entries (a TAB alone in the file).
  void Load(const std::string& path, const PathCodec& codec);
  Status Save(const std::string& path, const PathCodec& codec) const;

  // Records the caret row for the file at the top; nothing for an empty name.
  void Update(const std::string& file_name, int32_t caret_row);
  // The remembered row, clamped to the last of line_count lines, or nothing.
  std::optional<int32_t> Lookup(const std::string& file_name, int32_t line_count) const;
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
};

}  // namespace tessary
