// Entry lists of the log viewers: building, writing, reading back and checking against the log.
#include "viewers/log_index.h"

#include <charconv>
#include <limits>

#include "base/line_split.h"
#include "base/sjis.h"

namespace tessary {
namespace {

constexpr size_t kNumberWidth = 5;

void AppendNumber(std::string& out, int32_t n) {
  char digits[16];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, n);
  const size_t length = static_cast<size_t>(end - digits);
  if (length < kNumberWidth) out.append(kNumberWidth - length, '0');
  out.append(digits, length);
}

std::optional<int32_t> ParseNumber(std::string_view field) {
  if (field.empty()) return std::nullopt;
  int32_t n = 0;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), n);
  if (ec != std::errc() || end != field.data() + field.size() || n < 0) return std::nullopt;
  return n;
}

std::optional<LogEntry> ParseEntry(std::string_view line) {
  const size_t second = line.rfind('\t');
  if (second == std::string_view::npos || second == 0) return std::nullopt;
  const size_t first = line.rfind('\t', second - 1);
  if (first == std::string_view::npos) return std::nullopt;
  const std::optional<int32_t> start = ParseNumber(line.substr(first + 1, second - first - 1));
  const std::optional<int32_t> next = ParseNumber(line.substr(second + 1));
  if (!start || !next) return std::nullopt;
  return LogEntry{std::string(line.substr(0, first)), *start, *next};
}

}  // namespace

size_t FindOnChars(std::string_view text, std::string_view needle) {
  if (needle.empty()) return 0;
  size_t boundary = 0;  // a character start at or before the candidate
  size_t pos = text.find(needle);
  while (pos != std::string_view::npos) {
    while (boundary < pos) boundary += sjis::CharLength(text, boundary);
    if (boundary == pos) return pos;
    pos = text.find(needle, boundary);  // the candidate sat inside a double-byte character
  }
  return std::string_view::npos;
}

void LinkEntries(std::vector<LogEntry>& entries) {
  for (size_t i = 0; i < entries.size(); ++i)
    entries[i].next = i + 1 < entries.size() ? entries[i + 1].start : entries[i].start;
}

LogEntry ClosingEntry(std::string_view file_name, int32_t line_count) {
  const int32_t last = line_count > 0 ? line_count - 1 : 0;
  return LogEntry{std::string(file_name), last, last};
}

std::string EntryLine(const LogEntry& entry) {
  std::string out = entry.header;
  out += '\t';
  AppendNumber(out, entry.start);
  out += '\t';
  AppendNumber(out, entry.next);
  return out;
}

std::string IndexFileText(const std::vector<LogEntry>& entries) {
  std::string out;
  for (const LogEntry& e : entries) {
    out += EntryLine(e);
    out += kCrLf;
  }
  return out;
}

std::optional<std::vector<LogEntry>> ParseIndexText(std::string_view text) {
  std::vector<LogEntry> entries;
  LineSplitter lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    std::optional<LogEntry> entry = ParseEntry(line);
    if (!entry) return std::nullopt;
    entries.push_back(std::move(*entry));
  }
  return entries;
}

bool IndexMatchesLog(const std::vector<LogEntry>& entries, const TextLines& log) {
  if (entries.empty() || log.Empty() || log.Count() > std::numeric_limits<int32_t>::max())
    return false;
  const auto last = static_cast<int32_t>(log.Count() - 1);
  const LogEntry& closing = entries.back();
  if (closing.start != last || closing.next != last) return false;
  int32_t previous = 0;
  for (size_t i = 0; i + 1 < entries.size(); ++i) {
    const LogEntry& e = entries[i];
    if (e.start < previous || e.start > last || e.next != entries[i + 1].start) return false;
    if (log.Line(static_cast<size_t>(e.start)) != e.header) return false;
    previous = e.start + 1;
  }
  return true;
}

std::string_view FileNameOnly(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace tessary
