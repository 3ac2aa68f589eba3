// Line-based INI reading and whole-file atomic rewriting.
#include "platform/private_profile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <charconv>
#include <cstdint>

#include "base/line_split.h"
#include "base/sjis.h"
#include "platform/file_io.h"

namespace tessary {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view s) {
  size_t b = s.find_first_not_of(kBlanks);
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(kBlanks);
  return s.substr(b, e - b + 1);
}

char FoldAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// Compares ignoring ASCII case, but never folds the trail byte of a double-byte character
// (trail bytes include the ASCII letters' values).
bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (sjis::IsLeadByte(a[i])) {
      if (i + 1 >= a.size() || a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

struct ParsedLine {
  enum class Kind { Other, Section, Key } kind = Kind::Other;
  std::string_view name;   // section or key name
  std::string_view value;  // for keys
};

ParsedLine Parse(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t[0] == ';') return {};
  if (t[0] == '[') {
    size_t close = t.find(']');
    if (close == std::string_view::npos) return {};
    return {ParsedLine::Kind::Section, Trim(t.substr(1, close - 1)), {}};
  }
  size_t eq = t.find('=');
  if (eq == std::string_view::npos) return {};
  std::string_view value = Trim(t.substr(eq + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return {ParsedLine::Kind::Key, Trim(t.substr(0, eq)), value};
}

// The whole file, or nothing when it is missing, unreadable or larger than any settings file
// this program writes (reading such a file for every key would make start-up take minutes).
std::optional<std::string> ReadBounded(const std::string& path) {
  const std::optional<uint64_t> size = FileSizeOf(path);
  if (!size || *size > PrivateProfile::kMaxBytes) return std::nullopt;
  auto bytes = ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return std::move(bytes).value();
}

// Holds an advisory lock on the settings file's folder for one read-modify-write, so that two
// processes writing keys at once never lose each other's keys. The folder, not the file, is
// locked because every write renames a new file over the old one. Best effort: where the lock
// cannot be had within a few seconds, the write goes ahead as it would without locking.
class FolderLock {
 public:
  explicit FolderLock(const std::string& file_path) {
    const size_t slash = file_path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : file_path.substr(0, slash + 1);
    fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    for (int tries = 0; tries < 300; ++tries) {
      if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
      if (errno != EWOULDBLOCK && errno != EINTR) return;
      ::usleep(10000);
    }
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }

 private:
  int fd_ = -1;
};

// Applies one write to the lines: replaces the key's line, or adds it at the end of its
// section, or adds the section at the end of the file.
void Apply(std::vector<std::string>& lines, const PrivateProfile::Entry& e) {
  std::string newline = e.key + "=" + e.value;
  bool in_section = false;
  size_t insert_at = std::string::npos;  // after the section's last non-blank line
  for (size_t i = 0; i < lines.size(); ++i) {
    ParsedLine p = Parse(lines[i]);
    if (p.kind == ParsedLine::Kind::Section) {
      if (in_section) break;
      in_section = NamesEqual(p.name, e.section);
      if (in_section) insert_at = i + 1;
      continue;
    }
    if (!in_section) continue;
    if (p.kind == ParsedLine::Kind::Key && NamesEqual(p.name, e.key)) {
      lines[i] = newline;
      return;
    }
    if (!Trim(lines[i]).empty()) insert_at = i + 1;
  }
  if (insert_at != std::string::npos) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert_at), newline);
    return;
  }
  lines.push_back("[" + e.section + "]");
  lines.push_back(newline);
}

}  // namespace

std::optional<int> ParseProfileInteger(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text[0] == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  // Hexadecimal values are 32-bit patterns ("$FFFFFFFF" is -1), decimal ones must fit.
  unsigned long long v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (base == 16) {
    if (v > 0xFFFFFFFFull) return std::nullopt;
    // "-$80000000" negates the lowest pattern: saturate instead of overflowing.
    const int64_t bits = static_cast<int32_t>(static_cast<uint32_t>(v));
    return static_cast<int>(std::min<int64_t>(negative ? -bits : bits, INT32_MAX));
  }
  if (v > (negative ? 2147483648ull : 2147483647ull)) return std::nullopt;
  return negative ? static_cast<int>(-static_cast<long long>(v)) : static_cast<int>(v);
}

std::optional<std::string> PrivateProfile::ReadString(std::string_view section,
                                                      std::string_view key) const {
  const std::optional<std::string> text = ReadBounded(path_);
  if (!text) return std::nullopt;
  bool in_section = false;
  LineSplitter lines(*text);
  for (std::string_view line; lines.Next(line);) {
    ParsedLine p = Parse(line);
    if (p.kind == ParsedLine::Kind::Section) {
      in_section = NamesEqual(p.name, section);
    } else if (in_section && p.kind == ParsedLine::Kind::Key && NamesEqual(p.name, key)) {
      return std::string(p.value);
    }
  }
  return std::nullopt;
}

std::string PrivateProfile::ReadString(std::string_view section, std::string_view key,
                                       std::string_view fallback) const {
  auto v = ReadString(section, key);
  return v ? *v : std::string(fallback);
}

int PrivateProfile::ReadInteger(std::string_view section, std::string_view key,
                                int fallback) const {
  auto v = ReadString(section, key);
  if (!v) return fallback;
  return ParseProfileInteger(*v).value_or(fallback);
}

bool PrivateProfile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool PrivateProfile::Oversized() const {
  const std::optional<uint64_t> size = FileSizeOf(path_);
  return size && *size > kMaxBytes;
}

Status PrivateProfile::WriteStrings(const std::vector<Entry>& entries) {
  FolderLock lock(path_);
  // An oversized file is not ours to rewrite: its keys are not read either, and rewriting it
  // would either keep all of it or throw away what someone put there.
  if (Oversized()) return Error{"settings file too large, not rewritten: " + path_, EFBIG};
  std::vector<std::string> lines;
  if (FileExists(path_)) {
    Result<std::string> text = ReadWholeFile(path_);
    // A file that exists but cannot be read is not replaced by one holding only our keys.
    if (!text) return text.error();
    for (std::string_view l : SplitLines(text.value())) lines.emplace_back(l);
  }
  for (const Entry& e : entries) Apply(lines, e);
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return WriteFileAtomic(path_, out);
}

Status PrivateProfile::WriteString(std::string_view section, std::string_view key,
                                   std::string_view value) {
  return WriteStrings({{std::string(section), std::string(key), std::string(value)}});
}

Status PrivateProfile::WriteInteger(std::string_view section, std::string_view key, int value) {
  return WriteString(section, key, std::to_string(value));
}

Status PrivateProfile::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

}  // namespace tessary
