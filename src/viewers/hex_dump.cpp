// The byte dump without widgets: paged reads, line formatting, caret columns, byte search.
#include "viewers/hex_dump.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <functional>

namespace tessary {

namespace {

constexpr int kBytesPerLine = 16;
constexpr char kHexDigits[] = "0123456789ABCDEF";

// Reads exactly [offset, offset + n) or says why not; a file that ends early was shortened
// by another program after it was opened.
Status ReadExactly(int fd, const std::string& path, uint64_t offset, char* out, size_t n) {
  size_t got = 0;
  while (got < n) {
    const ssize_t r = ::pread(fd, out + got, n - got, static_cast<off_t>(offset + got));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return SystemError("cannot read", path, errno);
    if (r == 0) return Error{"cannot read: " + path + ": the file was shortened", 0};
    got += static_cast<size_t>(r);
  }
  return Success();
}

}  // namespace

Result<std::unique_ptr<PagedFile>> PagedFile::Open(const std::string& path) {
  // O_NONBLOCK: a FIFO put in the file's place never blocks the open; it is refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return SystemError("cannot open", path, errno);
  auto file = std::make_unique<PagedFile>(Key{}, fd, 0, path);  // closes fd from here on
  struct stat st {};
  if (::fstat(fd, &st) != 0) return SystemError("cannot read", path, errno);
  if (!S_ISREG(st.st_mode)) return Error{"cannot read: " + path + ": not a regular file", 0};
  file->size_ = static_cast<uint64_t>(st.st_size);
  return file;
}

PagedFile::PagedFile(Key, int fd, uint64_t size, std::string path)
    : fd_(fd), size_(size), path_(std::move(path)), pages_(kCachedPages) {}

PagedFile::~PagedFile() {
  ::close(fd_);
}

Result<const PagedFile::Page*> PagedFile::PageAt(uint64_t index) {
  ++tick_;
  for (Page& p : pages_)
    if (p.index == index) {
      p.used = tick_;
      return &p;
    }
  Page& victim = *std::min_element(pages_.begin(), pages_.end(),
                                   [](const Page& a, const Page& b) { return a.used < b.used; });
  victim.index = UINT64_MAX;
  const uint64_t start = index * kPageSize;
  const size_t n = static_cast<size_t>(std::min<uint64_t>(kPageSize, size_ - start));
  victim.bytes.resize(n);
  if (Status s = ReadExactly(fd_, path_, start, victim.bytes.data(), n); !s) return s.error();
  victim.index = index;
  victim.used = tick_;
  return &victim;
}

Result<std::string_view> PagedFile::Bytes(uint64_t offset, size_t n) {
  if (offset >= size_) return std::string_view();
  n = static_cast<size_t>(std::min<uint64_t>(std::min(n, kPageSize), size_ - offset));
  const uint64_t first = offset / kPageSize;
  const size_t within = static_cast<size_t>(offset % kPageSize);
  Result<const Page*> page = PageAt(first);
  if (!page) return page.error();
  if (within + n <= page.value()->bytes.size())
    return std::string_view(page.value()->bytes).substr(within, n);
  joined_.assign(page.value()->bytes, within);
  Result<const Page*> next = PageAt(first + 1);
  if (!next) return next.error();
  joined_.append(next.value()->bytes, 0, n - joined_.size());
  return std::string_view(joined_);
}

Status PagedFile::ReadInto(uint64_t offset, size_t n, std::string& out) const {
  n = offset >= size_ ? 0 : static_cast<size_t>(std::min<uint64_t>(n, size_ - offset));
  out.resize(n);
  return ReadExactly(fd_, path_, offset, out.data(), n);
}

// ---- layout and formatting ----

DumpLayout DumpLayout::ForSize(uint64_t file_size) {
  const uint64_t last_line_offset = file_size == 0 ? 0 : (file_size - 1) / kBytesPerLine * 16;
  int digits = 1;
  for (uint64_t v = last_line_offset >> 4; v != 0; v >>= 4) ++digits;
  return DumpLayout{std::max(6, digits)};
}

uint64_t DumpLineCount(uint64_t file_size) {
  return file_size == 0 ? 1 : (file_size + kBytesPerLine - 1) / kBytesPerLine;
}

std::string_view ByteCode(uint8_t b) {
  static constexpr auto kCodes = [] {
    std::array<char, 512> codes{};
    for (int v = 0; v < 256; ++v) {
      codes[2 * v] = kHexDigits[v >> 4];
      codes[2 * v + 1] = kHexDigits[v & 15];
    }
    // 10 to 15 are written with the letter O, as the dump has always shown them.
    for (int v = 10; v < 16; ++v) codes[2 * v] = 'O';
    return codes;
  }();
  return std::string_view(kCodes.data() + 2 * b, 2);
}

namespace {

void AppendOffset(uint64_t offset, int digits, std::string& out) {
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
    out += kHexDigits[(offset >> shift) & 15];
}

}  // namespace

void FormatDumpLine(const DumpLayout& layout, uint64_t line, std::string_view bytes,
                    std::string& out) {
  out.clear();
  AppendOffset(line * kBytesPerLine, layout.offset_digits, out);
  if (bytes.empty() && line == 0) return;  // the empty file's single line
  out += ' ';
  bytes = bytes.substr(0, kBytesPerLine);
  for (char c : bytes) {
    out += ByteCode(static_cast<uint8_t>(c));
    out += ' ';
  }
  out.append(static_cast<size_t>(layout.CharColumn()) - out.size(), ' ');
  for (char c : bytes) {
    const auto b = static_cast<uint8_t>(c);
    out += (b >= 0x20 && b <= 0x7E) ? c : '.';
  }
}

std::string DumpHeader(const DumpLayout& layout) {
  std::string header(static_cast<size_t>(layout.ByteColumn(0)), ' ');
  for (int j = 0; j < kBytesPerLine; ++j) {
    header += '+';
    header += kHexDigits[j];
    header += ' ';
  }
  header += "0123456789ABCDEF";
  return header;
}

std::string OffsetText(uint64_t offset) {
  std::string out;
  int digits = 1;
  for (uint64_t v = offset >> 4; v != 0; v >>= 4) ++digits;
  AppendOffset(offset, std::max(6, digits), out);
  return out;
}

std::optional<uint64_t> ParseOffsetText(std::string_view text) {
  uint64_t v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 16);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return v;
}

// ---- caret rules ----

namespace {

// Bytes on a line: 16, fewer on a short last line, at least 1 so the caret has somewhere to be.
int BytesOnLine(uint64_t file_size, uint64_t line) {
  const uint64_t start = line * kBytesPerLine;
  if (start >= file_size) return 1;
  return static_cast<int>(std::min<uint64_t>(kBytesPerLine, file_size - start));
}

}  // namespace

DumpCaret SnapCaret(const DumpLayout& layout, uint64_t file_size, DumpCaret caret) {
  caret.line = std::min(caret.line, DumpLineCount(file_size) - 1);
  const int last = BytesOnLine(file_size, caret.line) - 1;
  caret.column = std::clamp(caret.column, layout.ByteColumn(0), layout.ByteColumn(last) + 2);
  return caret;
}

uint64_t ByteAtCaret(const DumpLayout& layout, uint64_t file_size, DumpCaret caret) {
  caret = SnapCaret(layout, file_size, caret);
  const int j = (caret.column - layout.ByteColumn(0)) / 3;
  return caret.line * kBytesPerLine + static_cast<uint64_t>(j);
}

DumpCaret CaretAtByte(const DumpLayout& layout, uint64_t file_size, uint64_t offset) {
  if (file_size != 0) offset = std::min(offset, file_size - 1);
  if (file_size == 0) offset = 0;
  return DumpCaret{offset / kBytesPerLine, layout.ByteColumn(static_cast<int>(offset % 16))};
}

HeaderMark HeaderMarkAt(const DumpLayout& layout, int caret_column) {
  const int j = (caret_column - layout.ByteColumn(0)) / 3;
  if (caret_column >= layout.ByteColumn(0) && caret_column - layout.ByteColumn(j) < 2)
    return HeaderMark{layout.ByteColumn(j), 2};
  return HeaderMark{caret_column, 0};
}

// ---- search ----

namespace {

// Patterns this long or longer skip ahead by their last byte; shorter ones go by memchr.
constexpr size_t kSkipSearchLength = 4;

// Finds the first match in a block (forward) or the last (backward, over the block reversed),
// with the skip tables built once per search rather than once per block.
class BlockMatcher {
 public:
  explicit BlockMatcher(std::string_view pattern)
      : pattern_(pattern),
        reversed_(pattern.rbegin(), pattern.rend()),
        forward_(pattern_.begin(), pattern_.end()),
        backward_(reversed_.begin(), reversed_.end()) {}
  BlockMatcher(const BlockMatcher&) = delete;  // the searchers point into the strings
  BlockMatcher& operator=(const BlockMatcher&) = delete;

  [[nodiscard]] std::optional<size_t> First(std::string_view hay) const {
    if (pattern_.size() < kSkipSearchLength) {
      const void* hit = ::memmem(hay.data(), hay.size(), pattern_.data(), pattern_.size());
      if (hit == nullptr) return std::nullopt;
      return static_cast<size_t>(static_cast<const char*>(hit) - hay.data());
    }
    const auto [from, to] = forward_(hay.begin(), hay.end());
    if (from == hay.end()) return std::nullopt;
    return static_cast<size_t>(from - hay.begin());
  }

  [[nodiscard]] std::optional<size_t> Last(std::string_view hay) const {
    if (hay.size() < pattern_.size()) return std::nullopt;
    if (pattern_.size() < kSkipSearchLength) return LastByFirstByte(hay);
    const auto [from, to] = backward_(hay.rbegin(), hay.rend());
    if (from == hay.rend()) return std::nullopt;
    return hay.size() - static_cast<size_t>(to - hay.rbegin());
  }

 private:
  // Scans back from the end for the pattern's first byte.
  std::optional<size_t> LastByFirstByte(std::string_view hay) const {
    const auto first = static_cast<unsigned char>(pattern_[0]);
    size_t end = hay.size() - pattern_.size() + 1;  // candidates [0, end)
    while (end > 0) {
      const void* p = ::memrchr(hay.data(), first, end);
      if (p == nullptr) return std::nullopt;
      const size_t at = static_cast<size_t>(static_cast<const char*>(p) - hay.data());
      if (std::memcmp(hay.data() + at, pattern_.data(), pattern_.size()) == 0) return at;
      end = at;
    }
    return std::nullopt;
  }

  std::string pattern_;
  std::string reversed_;
  std::boyer_moore_horspool_searcher<std::string::const_iterator> forward_;
  std::boyer_moore_horspool_searcher<std::string::const_iterator> backward_;
};

ScanResult ScanForward(const PagedFile& file, const BlockMatcher& matcher, size_t m, uint64_t start,
                       const ScanProgress& progress) {
  const uint64_t size = file.Size();
  std::string block;
  for (uint64_t pos = start; pos + m <= size; pos += kByteScanBlock) {
    if (progress && !progress(pos - start, size - start)) return {ScanOutcome::Cancelled, 0, {}};
    if (Status s = file.ReadInto(pos, kByteScanBlock + m - 1, block); !s)
      return {ScanOutcome::Failed, 0, s.error()};
    if (const auto at = matcher.First(block)) return {ScanOutcome::Found, pos + *at, {}};
  }
  return {};
}

ScanResult ScanBackward(const PagedFile& file, const BlockMatcher& matcher, size_t m,
                        uint64_t start, const ScanProgress& progress) {
  const uint64_t size = file.Size();
  if (size < m) return {};
  uint64_t last = std::min(start, size - m);  // the highest start still to try
  const uint64_t total = last + 1;
  std::string block;
  for (;;) {
    if (progress && !progress(total - (last + 1), total)) return {ScanOutcome::Cancelled, 0, {}};
    const uint64_t lo = last >= kByteScanBlock ? last - kByteScanBlock + 1 : 0;
    // Every match in [lo, last + m) starts at or before `last`.
    if (Status s = file.ReadInto(lo, static_cast<size_t>(last - lo) + m, block); !s)
      return {ScanOutcome::Failed, 0, s.error()};
    if (const auto at = matcher.Last(block)) return {ScanOutcome::Found, lo + *at, {}};
    if (lo == 0) return {};
    last = lo - 1;
  }
}

}  // namespace

ScanResult FindBytes(const PagedFile& file, std::string_view pattern, uint64_t start,
                     SearchDirection direction, const ScanProgress& progress) {
  if (pattern.empty()) return {};
  const BlockMatcher matcher(pattern);
  if (direction == SearchDirection::Next)
    return ScanForward(file, matcher, pattern.size(), start, progress);
  return ScanBackward(file, matcher, pattern.size(), start, progress);
}

}  // namespace tessary
