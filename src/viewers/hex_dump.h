// The byte dump without widgets: a file read in pages, its lines formatted on demand, the
// column rules of the caret and the byte search.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "commands/find_replace.h"

namespace tessary {

// A file read a page at a time through its descriptor, never mapped: a file shortened by
// another program while it is shown gives a read error, not a crash. The size is the one the
// file had when it was opened; only a few recent pages are kept.
class PagedFile {
  struct Key {
    explicit Key() = default;
  };

 public:
  static constexpr size_t kPageSize = 64 * 1024;
  static constexpr size_t kCachedPages = 16;

  // Only a regular file is opened; any failure carries the system's reason.
  [[nodiscard]] static Result<std::unique_ptr<PagedFile>> Open(const std::string& path);
  // Made only by Open (the key is private).
  PagedFile(Key, int fd, uint64_t size, std::string path);
  ~PagedFile();
  PagedFile(const PagedFile&) = delete;
  PagedFile& operator=(const PagedFile&) = delete;

  [[nodiscard]] uint64_t Size() const { return size_; }
  // Bytes [offset, offset + n) clipped to the size, through the page cache; the view lasts
  // until the next call. n is at most kPageSize.
  [[nodiscard]] Result<std::string_view> Bytes(uint64_t offset, size_t n);
  // Bytes [offset, offset + n) clipped to the size into `out`, past the cache (for scans).
  [[nodiscard]] Status ReadInto(uint64_t offset, size_t n, std::string& out) const;

 private:
  struct Page {
    uint64_t index = UINT64_MAX;
    std::string bytes;
    uint64_t used = 0;  // tick of the last use
  };
  [[nodiscard]] Result<const Page*> PageAt(uint64_t index);

  int fd_;
  uint64_t size_;
  std::string path_;
  std::vector<Page> pages_;
  uint64_t tick_ = 0;
  std::string joined_;  // for a request that straddles two pages
};

// Where everything stands on a dump line. The offset has one width for the whole file (six
// digits, more when the last line's offset needs them), and every column follows from it, so
// the caret rules of a file over 16 MiB agree with what its lines show.
struct DumpLayout {
  int offset_digits = 6;

  [[nodiscard]] static DumpLayout ForSize(uint64_t file_size);
  [[nodiscard]] int ByteColumn(int j) const { return offset_digits + 1 + 3 * j; }
  [[nodiscard]] int CharColumn() const { return ByteColumn(16); }
  [[nodiscard]] int LineLength() const { return CharColumn() + 16; }
};

// Lines of the dump: one per 16 bytes, and one ("000000") for an empty file.
[[nodiscard]] uint64_t DumpLineCount(uint64_t file_size);

// The two-character code of a byte: "00" to "09", "OA" to "OF" (capital letter O) for 10 to
// 15, then two upper-case hexadecimal digits.
[[nodiscard]] std::string_view ByteCode(uint8_t b);

// Line `line` of the dump from its bytes (at most 16) into `out`: offset, blank, each byte's
// code and a blank, padding up to the character column, one character per byte.
void FormatDumpLine(const DumpLayout& layout, uint64_t line, std::string_view bytes,
                    std::string& out);

// The column header: blanks up to byte 0's column, "+0" ... "+F" above the bytes, then
// "0123456789ABCDEF" above the characters.
[[nodiscard]] std::string DumpHeader(const DumpLayout& layout);

// An offset as upper-case hexadecimal, at least six digits ("%.06X").
[[nodiscard]] std::string OffsetText(uint64_t offset);
// The number a label shows, or nothing for text that is no hexadecimal offset.
[[nodiscard]] std::optional<uint64_t> ParseOffsetText(std::string_view text);

// Caret rules of the dump pane. The caret rests only on byte codes and their blanks, and on a
// short last line only as far as its last byte, so it always names a byte of the file.
struct DumpCaret {
  uint64_t line = 0;
  int column = 0;
};
// The caret moved into the byte columns of its line.
[[nodiscard]] DumpCaret SnapCaret(const DumpLayout& layout, uint64_t file_size, DumpCaret caret);
// The byte the (snapped) caret stands on; 0 for an empty file.
[[nodiscard]] uint64_t ByteAtCaret(const DumpLayout& layout, uint64_t file_size, DumpCaret caret);
// The caret on the first column of a byte (clamped to the last byte).
[[nodiscard]] DumpCaret CaretAtByte(const DumpLayout& layout, uint64_t file_size, uint64_t offset);

// The part of the header marked for a caret column: "+j" above the byte the caret is on, or an
// empty mark at the caret's column when it stands on a separating blank.
struct HeaderMark {
  int start = 0;
  int length = 0;
};
[[nodiscard]] HeaderMark HeaderMarkAt(const DumpLayout& layout, int caret_column);

// How a scan of the file ended.
enum class ScanOutcome : uint8_t { Found, NotFound, Cancelled, Failed };
struct ScanResult {
  ScanOutcome outcome = ScanOutcome::NotFound;
  uint64_t offset = 0;  // of the hit
  Error error;          // why the file could not be read
};

// A scan reads the file in blocks of this size: small enough to stay in the processor's cache
// between the read and the search (a first scan through blocks of megabytes ran at half speed).
inline constexpr size_t kByteScanBlock = 256 << 10;

// Told how far a scan has come (bytes looked at, bytes to look at); false stops it.
using ScanProgress = std::function<bool(uint64_t done, uint64_t total)>;

// The first occurrence of `pattern` starting at or after `start` (Next) or at or before it
// (Previous). The file is read in blocks that overlap by the pattern's length - 1, so a match
// across a block edge is found once. An empty pattern finds nothing.
[[nodiscard]] ScanResult FindBytes(const PagedFile& file, std::string_view pattern, uint64_t start,
                                   SearchDirection direction, const ScanProgress& progress = {});

}  // namespace tessary
