// The history viewer's rules and state without windows: records under bracketed stamps, two modes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "codec/text_lines.h"
#include "platform/private_profile.h"
#include "viewers/log_index.h"

namespace tessary {

namespace history_text {
inline constexpr std::string_view kCaption = "ヒストリ表示 (ostrel)";
}

// A line holding both "[ " and " ]" on whole characters.
[[nodiscard]] bool IsHistoryHeader(std::string_view line);

// The leading record (named after the file, from line 0), one record per header line, the
// closing record; linked. Empty for a log without lines.
[[nodiscard]] std::vector<LogEntry> BuildHistoryEntries(const TextLines& log,
                                                        std::string_view file_name);

enum class HistoryMode { All, This };
[[nodiscard]] HistoryMode ReadHistoryMode(const PrivateProfile& ini);
[[nodiscard]] Status WriteHistoryMode(PrivateProfile& ini, HistoryMode mode);

// What the pane shows for an entry in single-record mode: its lines, none for the closing one.
[[nodiscard]] TextLines HistoryRecordLines(const TextLines& log,
                                           const std::vector<LogEntry>& entries, int32_t entry);

}  // namespace tessary
