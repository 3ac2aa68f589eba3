// History log records and the history viewer's mode setting.
#include "viewers/history_log.h"

#include <limits>

#include "viewers/board_log.h"

namespace tessary {
namespace {
constexpr std::string_view kSection = "OstrHistory";
}

bool IsHistoryHeader(std::string_view line) {
  return ContainsOnChars(line, "[ ") && ContainsOnChars(line, " ]");
}

std::vector<LogEntry> BuildHistoryEntries(const TextLines& log, std::string_view file_name) {
  std::vector<LogEntry> entries;
  if (log.Empty()) return entries;
  const auto count = static_cast<int32_t>(
      std::min<size_t>(log.Count(), static_cast<size_t>(std::numeric_limits<int32_t>::max())));
  const std::string name(FileNameOnly(file_name));
  entries.push_back({name, 0, 0});
  for (int32_t i = 0; i < count; ++i) {
    const std::string_view line = log.Line(static_cast<size_t>(i));
    if (IsHistoryHeader(line)) entries.push_back({std::string(line), i, 0});
  }
  entries.push_back(ClosingEntry(name, count));
  LinkEntries(entries);
  return entries;
}

HistoryMode ReadHistoryMode(const PrivateProfile& ini) {
  return ini.ReadBool(kSection, "This", false) && !ini.ReadBool(kSection, "All", true)
             ? HistoryMode::This
             : HistoryMode::All;
}

Status WriteHistoryMode(PrivateProfile& ini, HistoryMode mode) {
  const std::string section(kSection);
  return ini.WriteStrings({{section, "All", mode == HistoryMode::All ? "1" : "0"},
                           {section, "This", mode == HistoryMode::This ? "1" : "0"}});
}

TextLines HistoryRecordLines(const TextLines& log, const std::vector<LogEntry>& entries,
                             int32_t entry) {
  if (entry < 0 || entry + 1 >= static_cast<int32_t>(entries.size())) return {};
  return RecordLines(log, entries[static_cast<size_t>(entry)], NavigationLines::Keep);
}

}  // namespace tessary
