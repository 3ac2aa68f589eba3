// Recent files and caret history: their update rules over most-recent-first lists.
#include "app/file_lists.h"

#include <algorithm>
#include <charconv>

namespace tessary {
namespace {

std::optional<int32_t> ParseRow(std::string_view text) {
  int32_t v = 0;
  if (text.empty()) return std::nullopt;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < 0) return std::nullopt;
  return v;
}

HistoryList::Entry Split(std::string_view line) {
  const size_t tab = line.find('\t');
  if (tab == std::string_view::npos) return {std::string(line), {}};
  return {std::string(line.substr(0, tab)), std::string(line.substr(tab + 1))};
}

std::string_view PathOf(std::string_view line) {
  const size_t tab = line.find('\t');
  return tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
}

}  // namespace

bool SamePath(std::string_view a, std::string_view b) {
  return !a.empty() && a == b;
}

void RecentList::Update(const std::string& file_name) {
  list_.Push(file_name, [&](std::string_view e) { return SamePath(e, file_name); });
}

std::string RecentList::MenuCaption(size_t n) const {
  std::string caption = "&";
  caption += std::to_string(n);
  caption += ' ';
  if (n >= 1 && n <= kSize) caption += entries()[n - 1];
  return caption;
}

void HistoryList::Update(const std::string& file_name, int32_t caret_row) {
  if (file_name.empty()) return;
  list_.Push(std::to_string(caret_row) + "\t" + file_name,
             [&](std::string_view e) { return SamePath(PathOf(e), file_name); });
}

std::optional<int32_t> HistoryList::Lookup(const std::string& file_name, int32_t line_count) const {
  for (const std::string& line : list_.entries()) {
    if (!SamePath(PathOf(line), file_name)) continue;
    auto row = ParseRow(Split(line).row_text);
    if (!row) continue;
    return std::max(0, std::min(*row, line_count - 1));
  }
  return std::nullopt;
}

std::vector<HistoryList::Entry> HistoryList::entries() const {
  std::vector<Entry> out;
  out.reserve(kSize);
  for (const std::string& line : list_.entries()) out.push_back(Split(line));
  return out;
}

}  // namespace tessary
