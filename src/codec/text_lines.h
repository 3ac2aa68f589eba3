// Shift-JIS lines packed into one buffer: what a loader hands to the document.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessary {

// Lines without line-end bytes. One allocation for all text and one for the offsets, so a
// million-line file costs no per-line allocation on the way in.
class TextLines {
 public:
  size_t Count() const { return ends_.size(); }
  bool Empty() const { return ends_.empty(); }
  std::string_view Line(size_t i) const {
    size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(bytes_).substr(begin, ends_[i] - begin);
  }

  // Bytes of the line being built; EndLine closes it.
  void AppendBytes(std::string_view s) { bytes_.append(s); }
  void EndLine() { ends_.push_back(bytes_.size()); }
  void AddLine(std::string_view s) {
    AppendBytes(s);
    EndLine();
  }
  // Bytes appended since the last EndLine.
  size_t PendingSize() const { return bytes_.size() - (ends_.empty() ? 0 : ends_.back()); }

  // False when the text's last line has no line end after it (the last row is then at the end
  // of the file rather than ending a line). Meaningless when there are no lines.
  bool last_line_has_end() const { return last_line_has_end_; }
  void set_last_line_has_end(bool v) { last_line_has_end_ = v; }

  void Reserve(size_t bytes, size_t lines) {
    bytes_.reserve(bytes);
    ends_.reserve(lines);
  }
  size_t TotalBytes() const { return bytes_.size(); }
  // End offset of each line in bytes(), ascending.
  std::span<const size_t> ends() const { return ends_; }
  const std::string& bytes() const { return bytes_; }

  // All lines joined, each followed by `eol`; the last one only when it had a line end.
  std::string Joined(std::string_view eol) const;

  // Adopts lines built elsewhere without copying: `ends` holds the end offset of each line in
  // `bytes`, in ascending order, the last one equal to bytes.size().
  static TextLines FromPacked(std::string bytes, std::vector<size_t> ends, bool last_line_has_end) {
    TextLines t;
    t.bytes_ = std::move(bytes);
    t.ends_ = std::move(ends);
    t.last_line_has_end_ = last_line_has_end;
    return t;
  }

 private:
  std::string bytes_;
  std::vector<size_t> ends_;
  bool last_line_has_end_ = true;
};

}  // namespace tessary
