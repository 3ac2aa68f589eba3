// Reading and writing keys of an INI ("private profile") file, one file access per call.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/result.h"

namespace tessary {

// The file holds "[Section]" lines and "Key=Value" lines in Shift-JIS with CR LF line ends.
// Section and key names compare ignoring ASCII letter case; values are taken to the end of the
// line with surrounding blanks (and a pair of enclosing quotes) removed; lines starting with ';'
// are comments. There is no cached copy: every call reads the file, and every write rewrites it
// whole and atomically, so several processes sharing the file see each other's last writes.
class PrivateProfile {
 public:
  // Far above any settings file this program writes. A larger file is neither read (every key
  // reads as missing) nor rewritten; Oversized() lets start-up tell the user once.
  static constexpr uint64_t kMaxBytes = 4u << 20;

  explicit PrivateProfile(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }

  // The raw value, or nothing when the file, the section or the key is missing.
  std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  // Decimal, or hexadecimal after "$" or "0x"; a missing or unreadable value gives fallback.
  int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
  // An integer where any non-zero value is true.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

  Status WriteString(std::string_view section, std::string_view key, std::string_view value);
  Status WriteInteger(std::string_view section, std::string_view key, int value);
  Status WriteBool(std::string_view section, std::string_view key, bool value);

  // Several keys in one rewrite of the file (shut-down writes dozens of keys).
  struct Entry {
    std::string section, key, value;
  };
  Status WriteStrings(const std::vector<Entry>& entries);

  [[nodiscard]] bool Oversized() const;

 private:
  std::string path_;
};

// The integer forms an INI value may take; nothing for any other text.
std::optional<int> ParseProfileInteger(std::string_view text);

}  // namespace tessary
