// Recent files and caret history: update rules and the Shift-JIS list files.
#include "app/file_lists.h"

#include <algorithm>
#include <charconv>

#include "base/line_split.h"
#include "platform/file_io.h"

namespace tessary {
namespace {

std::optional<int32_t> ParseRow(std::string_view text) {
  int32_t v = 0;
  if (text.empty()) return std::nullopt;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < 0) return std::nullopt;
  return v;
}

std::string ToFile(const PathCodec& codec, const std::string& path) {
  if (path.empty()) return {};
  return codec.to_file(path).value_or(std::string());
}

// Room for a row of a list: a path as long as the system allows, and a caret row.
constexpr uint64_t kMaxRowBytes = 4096 + 32;

// The first `size` lines of a list file, filled up with empty ones. Neither bytes nor lines
// past what the list can hold are read, so a corrupt file of any size costs no more than a
// good one.
std::vector<std::string> ReadLines(const std::string& path, size_t size) {
  auto bytes = ReadFileHead(path, size * kMaxRowBytes);
  if (!bytes) return {};
  std::vector<std::string> lines;
  for (std::string_view l : SplitLines(bytes.value(), size)) lines.emplace_back(l);
  lines.resize(size);
  return lines;
}

}  // namespace

bool SamePath(std::string_view a, std::string_view b) {
  return !a.empty() && a == b;
}

void RecentList::Load(const std::string& path, const PathCodec& codec) {
  entries_.assign(kSize, std::string());
  if (!FileExists(path)) return;
  std::vector<std::string> lines = ReadLines(path, kSize);
  for (size_t i = 0; i < kSize && i < lines.size(); ++i) entries_[i] = codec.from_file(lines[i]);
}

Status RecentList::Save(const std::string& path, const PathCodec& codec) const {
  std::string out;
  for (const auto& e : entries_) out += ToFile(codec, e) + "\r\n";
  return WriteFileAtomic(path, out);
}

void RecentList::Update(const std::string& file_name) {
  size_t victim = kSize - 1;
  for (size_t i = 0; i < kSize; ++i) {
    if (SamePath(entries_[i], file_name)) {
      victim = i;
      break;
    }
  }
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(victim));
  entries_.insert(entries_.begin(), file_name);
}

std::string RecentList::MenuCaption(size_t n) const {
  std::string caption = "&";
  caption += std::to_string(n);
  caption += ' ';
  if (n >= 1 && n <= kSize) caption += entries_[n - 1];
  return caption;
}

void HistoryList::Load(const std::string& path, const PathCodec& codec) {
  entries_.assign(kSize, Entry{});
  if (!FileExists(path)) return;
  std::vector<std::string> lines = ReadLines(path, kSize);
  for (size_t i = 0; i < kSize && i < lines.size(); ++i) {
    const std::string& line = lines[i];
    size_t tab = line.find('\t');
    if (tab == std::string::npos) {
      entries_[i].row_text = line;
      continue;
    }
    entries_[i].row_text = line.substr(0, tab);
    entries_[i].path = codec.from_file(std::string_view(line).substr(tab + 1));
  }
}

Status HistoryList::Save(const std::string& path, const PathCodec& codec) const {
  std::string out;
  for (const auto& e : entries_) {
    std::string p = ToFile(codec, e.path);
    // An entry whose path cannot be stored is left empty rather than garbled.
    out += (p.empty() ? std::string() : e.row_text) + "\t" + p + "\r\n";
  }
  return WriteFileAtomic(path, out);
}

void HistoryList::Update(const std::string& file_name, int32_t caret_row) {
  if (file_name.empty()) return;
  size_t victim = kSize - 1;
  for (size_t i = 0; i < kSize; ++i) {
    if (SamePath(entries_[i].path, file_name)) {
      victim = i;
      break;
    }
  }
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(victim));
  entries_.insert(entries_.begin(), Entry{std::to_string(caret_row), file_name});
}

std::optional<int32_t> HistoryList::Lookup(const std::string& file_name, int32_t line_count) const {
  for (const auto& e : entries_) {
    if (!SamePath(e.path, file_name)) continue;
    auto row = ParseRow(e.row_text);
    if (!row) continue;
    return std::max(0, std::min(*row, line_count - 1));
  }
  return std::nullopt;
}

}  // namespace tessary
