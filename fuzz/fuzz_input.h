// What every fuzz target shares: reading option bytes off the input and stopping on a broken rule.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tessary::fuzz {

// A failed rule must stop the run where the fuzzer sees it, with the input saved: a trap does
// that, and the line before it says which rule broke.
inline void Check(bool ok, const char* rule) {
  if (ok) return;
  std::fprintf(stderr, "broken rule: %s\n", rule);
  std::fflush(stderr);
  __builtin_trap();
}

// The input taken from the front: option bytes first, then text. Reads past the end give zeros
// and empty text, so every input is usable.
class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  std::string_view Bytes(size_t n) {
    const std::string_view s = rest_.substr(0, std::min(n, rest_.size()));
    rest_.remove_prefix(s.size());
    return s;
  }
  std::string_view Rest() { return Bytes(rest_.size()); }

 private:
  std::string_view rest_;
};

// The pieces between line ends (CR LF, CR or LF); the piece after the last line end is always
// there, empty or not. A document's lines look like this: no CR or LF inside.
inline std::vector<std::string> SplitAtLineEnds(std::string_view text) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      lines.back().push_back(c);
      continue;
    }
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    lines.emplace_back();
  }
  return lines;
}

inline bool HasLineEndByte(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

// Which bytes are the second byte of a double-byte character, reading from the start: a lead
// byte takes the byte after it unless that is CR or LF or the text ends there.
inline std::vector<bool> TrailBytes(std::string_view text) {
  std::vector<bool> trail(text.size(), false);
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<uint8_t>(text[i]);
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    if (lead && i + 1 < text.size() && text[i + 1] != '\r' && text[i + 1] != '\n') {
      trail[i + 1] = true;
      ++i;
    }
  }
  return trail;
}

}  // namespace tessary::fuzz
