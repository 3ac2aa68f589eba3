// Block-wise line splitting of Shift-JIS bytes.
#include "codec/sjis_line_splitter.h"

#include <algorithm>
#include <cstdint>

#include "base/byte_scan.h"

namespace tessary {
namespace {

constexpr uint8_t kEofMark = 26;

// Rough line count so that the offsets are allocated once for typical text.
size_t GuessLines(std::string_view bytes) {
  return bytes.size() / 48 + 16;
}

}  // namespace

TextLines SplitSjisBytes(std::string_view bytes) {
  return SplitSjisFile(bytes).lines;
}

SjisSplit SplitSjisFile(std::string_view bytes) {
  SjisSplit r;
  TextLines& lines = r.lines;
  lines.Reserve(bytes.size(), GuessLines(bytes));
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  const size_t size = bytes.size();
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
      lines.AppendBytes(std::string_view(reinterpret_cast<const char*>(p), q - p));
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
      lines.EndLine();
      prev_cr = *q == '\r';
      p = q + 1;
    }
  }
  if (lines.PendingSize() > 0) {
    lines.EndLine();
    lines.set_last_line_has_end(false);
  }
  return r;
}

}  // namespace tessary
