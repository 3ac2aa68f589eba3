// Entry lists of the board and history log viewers: records of header text, start and next start.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codec/text_lines.h"

namespace tessary {

// One record of a log: its header line as it stands, the 0-based line where it starts and the
// start of the record after it. The closing record names the log's file and starts (and ends)
// at the log's last line.
struct LogEntry {
  std::string header;
  int32_t start = 0;
  int32_t next = 0;
  bool operator==(const LogEntry&) const = default;
};

// The first occurrence of `needle` that starts on a character of the Shift-JIS `text`, never
// inside a double-byte character; npos when none.
[[nodiscard]] size_t FindOnChars(std::string_view text, std::string_view needle);
[[nodiscard]] inline bool ContainsOnChars(std::string_view text, std::string_view needle) {
  return FindOnChars(text, needle) != std::string_view::npos;
}

// Each record's next start becomes the start of the record after it; the last keeps its own.
void LinkEntries(std::vector<LogEntry>& entries);

// The closing record of a log of `line_count` lines (at least 1).
[[nodiscard]] LogEntry ClosingEntry(std::string_view file_name, int32_t line_count);

// "header TAB start TAB next", the numbers zero-filled to at least five digits.
[[nodiscard]] std::string EntryLine(const LogEntry& entry);
// Every entry line followed by CR LF: the index file's text.
[[nodiscard]] std::string IndexFileText(const std::vector<LogEntry>& entries);

// Reads an index file back. The two numbers are the fields after the last two TABs, so a
// header holding a TAB comes back whole. nullopt when a line lacks two TABs or a number.
[[nodiscard]] std::optional<std::vector<LogEntry>> ParseIndexText(std::string_view text);

// A stored index belongs to this log only when it ends with the closing record of the log's
// last line and every other record starts, in order, on a line of the log that is still its
// header; one pass over the records.
[[nodiscard]] bool IndexMatchesLog(const std::vector<LogEntry>& entries, const TextLines& log);

// The file name without its folder ('/' or '\\').
[[nodiscard]] std::string_view FileNameOnly(std::string_view path);

}  // namespace tessary
