// Block-wise line splitting of Shift-JIS bytes.
#include "codec/sjis_line_splitter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "base/byte_scan.h"

namespace tessary {
namespace {

// Rough line count so that the offsets are allocated once for typical text.
size_t GuessLines(std::string_view bytes) {
  return bytes.size() / 48 + 16;
}

// Every line but a last one without a line end ends at a CR or an LF byte; a count that
// cannot be this text's is held to the text's size.
size_t LinesAtMost(std::string_view bytes, std::optional<uint64_t> line_end_bytes) {
  if (!line_end_bytes) return GuessLines(bytes);
  return static_cast<size_t>(std::min<uint64_t>(*line_end_bytes, bytes.size())) + 1;
}

// Where the lines go: appended to a new TextLines.
class CopySink {
 public:
  explicit CopySink(std::string_view bytes) { lines_.Reserve(bytes.size(), GuessLines(bytes)); }
  void Append(const uint8_t* p, size_t n) {
    lines_.AppendBytes(std::string_view(reinterpret_cast<const char*>(p), n));
  }
  void EndLine() { lines_.EndLine(); }
  size_t PendingSize() const { return lines_.PendingSize(); }
  [[nodiscard]] TextLines Finish(bool last_line_has_end) {
    lines_.set_last_line_has_end(last_line_has_end);
    return std::move(lines_);
  }

 private:
  TextLines lines_;
};

// Where the lines go: packed towards the front of the buffer they are read from. Every write
// lands at or before the byte being read, so a 100 MB file needs no second 100 MB buffer and
// its pages are never faulted in twice.
class InPlaceSink {
 public:
  InPlaceSink(std::string&& bytes, std::optional<uint64_t> line_end_bytes)
      : bytes_(std::move(bytes)) {
    ends_.reserve(LinesAtMost(bytes_, line_end_bytes));
  }
  uint8_t* data() { return reinterpret_cast<uint8_t*>(bytes_.data()); }
  size_t size() const { return bytes_.size(); }
  void Append(const uint8_t* p, size_t n) {
    uint8_t* to = data() + written_;
    if (to != p) std::memmove(to, p, n);
    written_ += n;
  }
  void EndLine() { ends_.push_back(written_); }
  size_t PendingSize() const { return written_ - (ends_.empty() ? 0 : ends_.back()); }
  [[nodiscard]] TextLines Finish(bool last_line_has_end) {
    bytes_.resize(written_);
    return TextLines::FromPacked(std::move(bytes_), std::move(ends_), last_line_has_end);
  }

 private:
  std::string bytes_;
  std::vector<size_t> ends_;
  size_t written_ = 0;
};

struct SplitOutcome {
  bool cut_short = false;  // bytes other than zeros and EOF marks were left out
  bool last_line_has_end = true;
};

// The splitting rules over [data, data + size), the lines handed to `sink`.
template <typename Sink>
[[nodiscard]] SplitOutcome SplitInto(const uint8_t* data, size_t size, Sink& sink) {
  SplitOutcome r;
  bool prev_cr = false;
  bool eof_mark = false;
  for (size_t block = 0; block < size && !eof_mark; block += kLoadBlockSize) {
    const uint8_t* p = data + block;
    const uint8_t* end = data + std::min(size, block + kLoadBlockSize);
    while (p < end) {
      if (prev_cr && *p == '\n') {
        prev_cr = false;
        ++p;
        continue;
      }
      const uint8_t* q = scan::FindAny4(p, end, '\r', '\n', 0, kEofMark);
      if (q != p) prev_cr = false;
      sink.Append(p, static_cast<size_t>(q - p));
      if (q == end) break;
      if (*q == 0) {  // the rest of this block is not read
        r.cut_short |= !scan::AllBytesAre(q, end, 0, kEofMark);
        break;
      }
      if (*q == kEofMark) {
        eof_mark = true;
        r.cut_short |= !scan::AllBytesAre(q, data + size, 0, kEofMark);
        break;
      }
      sink.EndLine();
      prev_cr = *q == '\r';
      p = q + 1;
    }
  }
  if (sink.PendingSize() > 0) {
    sink.EndLine();
    r.last_line_has_end = false;
  }
  return r;
}

}  // namespace

TextLines SplitSjisBytes(std::string_view bytes) {
  return SplitSjisFile(bytes).lines;
}

SjisSplit SplitSjisFile(std::string_view bytes) {
  CopySink sink(bytes);
  const SplitOutcome o =
      SplitInto(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), sink);
  return SjisSplit{sink.Finish(o.last_line_has_end), o.cut_short};
}

SjisSplit SplitSjisFileInPlace(std::string&& bytes, std::optional<uint64_t> line_end_bytes) {
  InPlaceSink sink(std::move(bytes), line_end_bytes);
  const SplitOutcome o = SplitInto(sink.data(), sink.size(), sink);
  return SjisSplit{sink.Finish(o.last_line_has_end), o.cut_short};
}

bool IsJoinedCrLfText(std::string_view bytes) {
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  const uint8_t* end = p + bytes.size();
  // Each CR LF is stepped over whole, so any LF found is a lone one.
  while ((p = scan::FindAny4(p, end, '\r', '\n', 0, kEofMark)) != end) {
    if (*p != '\r' || p + 1 == end || p[1] != '\n') return false;
    p += 2;
  }
  return true;
}

}  // namespace tessary
