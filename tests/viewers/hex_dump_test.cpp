// The byte dump: line formatting, offset widths, caret columns, paged reads and the byte search.
#include "viewers/hex_dump.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;
using testing::TempDir;

std::string Line(uint64_t file_size, uint64_t line, std::string_view bytes) {
  std::string out;
  FormatDumpLine(DumpLayout::ForSize(file_size), line, bytes, out);
  return out;
}

// A file of `size` zero bytes (sparse) with `bytes` written at `at`.
std::string SparseFile(const TempDir& dir, uint64_t size, uint64_t at, std::string_view bytes) {
  const std::string path = dir.File("sparse.bin");
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  EXPECT_GE(fd, 0);
  EXPECT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
  EXPECT_EQ(::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(at)),
            static_cast<ssize_t>(bytes.size()));
  ::close(fd);
  return path;
}

std::unique_ptr<PagedFile> OpenOrDie(const std::string& path) {
  Result<std::unique_ptr<PagedFile>> f = PagedFile::Open(path);
  EXPECT_TRUE(f.ok()) << (f.ok() ? "" : f.error().message);
  return std::move(f).value();
}

TEST(HexDumpLines, ShowCodesPaddingAndCharactersAsTheDumpAlwaysHas) {
  // 41 0D 0A: the O codes, 39 blanks of padding, characters from column 55.
  const std::string crlf = Line(3, 0, Hex("41 0D 0A"));
  EXPECT_EQ(crlf, "000000 41 OD OA " + std::string(39, ' ') + "A..");
  EXPECT_EQ(crlf.find("A.."), 55u);
  for (int b = 10; b < 16; ++b) EXPECT_EQ(ByteCode(static_cast<uint8_t>(b))[0], 'O');
  EXPECT_EQ(ByteCode(9), "09");
  EXPECT_EQ(ByteCode(0x10), "10");
  EXPECT_EQ(ByteCode(0xFF), "FF");
  // Shift-JIS あ and half-width katakana show as dots; / and \ as themselves.
  EXPECT_EQ(Line(4, 0, Hex("82 A0 2F 5C")).substr(7),
            "82 A0 2F 5C " + std::string(36, ' ') + "../\\");
  EXPECT_EQ(Line(2, 0, Hex("B1 7F")).substr(55), "..");
  // The empty file's single line.
  EXPECT_EQ(Line(0, 0, ""), "000000");
  EXPECT_EQ(DumpLineCount(0), 1u);
}

TEST(HexDumpLines, FilesOfOneFifteenSixteenAndSeventeenBytes) {
  EXPECT_EQ(DumpLineCount(1), 1u);
  EXPECT_EQ(Line(1, 0, "A"), "000000 41 " + std::string(45, ' ') + "A");
  EXPECT_EQ(Line(15, 0, std::string(15, 'a')).size(), 55u + 15u);
  const std::string sixteen(16, 'b');
  EXPECT_EQ(DumpLineCount(16), 1u);
  EXPECT_EQ(Line(16, 0, sixteen).size(), 71u);
  EXPECT_EQ(Line(16, 0, sixteen).substr(55), sixteen);
  EXPECT_EQ(DumpLineCount(17), 2u);
  EXPECT_EQ(Line(17, 1, "c"), "000010 63 " + std::string(45, ' ') + "c");
}

TEST(HexDumpLines, HeaderStandsAboveTheBytesForEveryOffsetWidth) {
  const DumpLayout six = DumpLayout::ForSize(100);
  EXPECT_EQ(DumpHeader(six),
            "       +0 +1 +2 +3 +4 +5 +6 +7 +8 +9 +A +B +C +D +E +F 0123456789ABCDEF");
  const DumpLayout seven = DumpLayout::ForSize(0x1000001);
  const std::string header = DumpHeader(seven);
  const std::string line = Line(0x1000001, 0x100000, "Z");
  EXPECT_EQ(line.substr(0, 8), "1000000 ");
  EXPECT_EQ(header.find("+0"), line.find("5A"));
  EXPECT_EQ(header.find("0123"), 56u);
  EXPECT_EQ(line.find('Z'), 56u);
}

TEST(HexDumpLines, OneOffsetWidthForTheWholeFile) {
  // Up to 16 MiB the last line's offset fits six digits; one byte more needs seven on every
  // line, the first included.
  EXPECT_EQ(DumpLayout::ForSize(0x1000000).offset_digits, 6);
  EXPECT_EQ(DumpLayout::ForSize(0x1000001).offset_digits, 7);
  EXPECT_EQ(Line(0x1000001, 0, "A").substr(0, 8), "0000000 ");
  EXPECT_EQ(DumpLayout::ForSize(0x10000001).offset_digits, 8);
  EXPECT_EQ(DumpLayout::ForSize(uint64_t{1} << 40).offset_digits, 10);
  EXPECT_EQ(OffsetText(0x123), "000123");
  EXPECT_EQ(OffsetText(0x10000000), "10000000");
  EXPECT_EQ(ParseOffsetText("10000000"), 0x10000000u);
  EXPECT_EQ(ParseOffsetText(""), std::nullopt);
  EXPECT_EQ(ParseOffsetText("12G"), std::nullopt);
}

TEST(HexDumpCaret, SnapsIntoTheByteCodesAndNamesTheByteUnderIt) {
  const DumpLayout l = DumpLayout::ForSize(64);
  // In the offset column: byte 0; in the character column: column 54, byte 15.
  EXPECT_EQ(SnapCaret(l, 64, {1, 2}).column, 7);
  EXPECT_EQ(SnapCaret(l, 64, {1, 60}).column, 54);
  EXPECT_EQ(ByteAtCaret(l, 64, {1, 60}), 31u);
  EXPECT_EQ(ByteAtCaret(l, 64, {0, 9}), 0u);  // the blank after byte 0
  EXPECT_EQ(ByteAtCaret(l, 64, {0, 10}), 1u);
  EXPECT_EQ(CaretAtByte(l, 64, 0x23).line, 2u);
  EXPECT_EQ(CaretAtByte(l, 64, 0x23).column, 7 + 3 * 3);
  // Header mark: "+j" over byte j; an empty mark on a separating blank.
  EXPECT_EQ(HeaderMarkAt(l, 10).start, 10);
  EXPECT_EQ(HeaderMarkAt(l, 11).length, 2);
  EXPECT_EQ(HeaderMarkAt(l, 11).start, 10);
  EXPECT_EQ(HeaderMarkAt(l, 12).length, 0);
  EXPECT_EQ(HeaderMarkAt(l, 12).start, 12);
}

TEST(HexDumpCaret, PaddingOfAShortLastLineNamesItsLastByteNeverOnePastTheEnd) {
  const DumpLayout l = DumpLayout::ForSize(17);
  const DumpCaret in_padding{1, 40};
  EXPECT_EQ(SnapCaret(l, 17, in_padding).column, 9);
  EXPECT_EQ(ByteAtCaret(l, 17, in_padding), 16u);
  EXPECT_EQ(ByteAtCaret(l, 17, {5, 40}), 16u);  // a line past the end
  EXPECT_EQ(CaretAtByte(l, 17, 1000).line, 1u);
  EXPECT_EQ(ByteAtCaret(DumpLayout::ForSize(0), 0, {0, 30}), 0u);
}

TEST(HexDumpCaret, WideOffsetsKeepCaretHeaderAndByteTogether) {
  // At 0xFFFFFF in a file of 16 MiB + 1 byte the columns sit one further right on every line:
  // the caret on byte F of the line at 0xFFFFF0 names 0xFFFFFF, not its neighbour.
  for (const uint64_t size : {uint64_t{0x1000001}, uint64_t{0x10000001}}) {
    const DumpLayout l = DumpLayout::ForSize(size);
    const int shift = l.offset_digits - 6;
    for (const uint64_t offset : {uint64_t{0xFFFFFF}, uint64_t{0x1000000}, size - 1}) {
      const DumpCaret c = CaretAtByte(l, size, offset);
      EXPECT_EQ(c.column, 7 + shift + 3 * static_cast<int>(offset % 16));
      EXPECT_EQ(ByteAtCaret(l, size, c), offset);
      EXPECT_EQ(ByteAtCaret(l, size, {c.line, c.column + 1}), offset);  // second digit
      EXPECT_EQ(HeaderMarkAt(l, c.column + 1).start, c.column);
      std::string line;
      FormatDumpLine(l, c.line, std::string(16, 'x'), line);
      EXPECT_EQ(line.substr(static_cast<size_t>(c.column), 2), "78");
    }
  }
}

TEST(PagedFileReads, PagesJoinAndFailuresCarryTheirReason) {
  TempDir dir;
  std::string bytes(6 * PagedFile::kPageSize, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  const std::string path = dir.Write("pages.bin", bytes);
  std::unique_ptr<PagedFile> f = OpenOrDie(path);
  EXPECT_EQ(f->Size(), bytes.size());
  // Straddling a page edge, at the end, and past it.
  for (const uint64_t at :
       {uint64_t{0}, PagedFile::kPageSize - 5, 2 * PagedFile::kPageSize + 3, bytes.size() - 4}) {
    Result<std::string_view> got = f->Bytes(at, 16);
    ASSERT_TRUE(got.ok());
    EXPECT_EQ(got.value(), std::string_view(bytes).substr(at, 16)) << at;
  }
  EXPECT_EQ(f->Bytes(bytes.size(), 16).value(), "");
  // Shortened by another program while shown: an error, never zeros.
  ASSERT_EQ(::truncate(path.c_str(), 10), 0);
  Result<std::string_view> late = f->Bytes(4 * PagedFile::kPageSize + 20, 16);  // not cached
  ASSERT_FALSE(late.ok());
  EXPECT_NE(late.error().message.find("shortened"), std::string::npos);
  EXPECT_FALSE(PagedFile::Open(dir.File("missing.bin")).ok());
  const Result<std::unique_ptr<PagedFile>> folder = PagedFile::Open(dir.path());
  ASSERT_FALSE(folder.ok());
  EXPECT_NE(folder.error().message.find("not a regular file"), std::string::npos);
}

TEST(HexDumpSearch, FindsMatchesAcrossBlockEdgesAndAtTheLastOffsetBothWays) {
  TempDir dir;
  const uint64_t edge = 16 * kByteScanBlock;  // a block edge, forward from 0
  const uint64_t size = 2 * edge + edge / 4;
  const std::string path = SparseFile(dir, size, edge - 2, "NEEDLE");
  {
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_EQ(::pwrite(fd, "END", 3, static_cast<off_t>(size - 3)), 3);
    ::close(fd);
  }
  std::unique_ptr<PagedFile> f = OpenOrDie(path);
  using enum SearchDirection;
  EXPECT_EQ(FindBytes(*f, "NEEDLE", 0, Next).offset, edge - 2);
  EXPECT_EQ(FindBytes(*f, "NEEDLE", 0, Next).outcome, ScanOutcome::Found);
  EXPECT_EQ(FindBytes(*f, "NEEDLE", edge - 1, Next).outcome, ScanOutcome::NotFound);
  EXPECT_EQ(FindBytes(*f, "NEEDLE", size - 1, Previous).offset, edge - 2);
  EXPECT_EQ(FindBytes(*f, "NEEDLE", edge - 2, Previous).offset, edge - 2);
  EXPECT_EQ(FindBytes(*f, "NEEDLE", edge - 3, Previous).outcome, ScanOutcome::NotFound);
  // The last possible offset, from either side.
  EXPECT_EQ(FindBytes(*f, "END", 0, Next).offset, size - 3);
  EXPECT_EQ(FindBytes(*f, "END", size - 3, Next).offset, size - 3);
  EXPECT_EQ(FindBytes(*f, "END", size + 100, Previous).offset, size - 3);
  EXPECT_EQ(FindBytes(*f, "ENDX", 0, Next).outcome, ScanOutcome::NotFound);
  // A zero run: the first and the last.
  EXPECT_EQ(FindBytes(*f, std::string(2, '\0'), 5, Next).offset, 5u);
  EXPECT_EQ(FindBytes(*f, std::string(2, '\0'), size, Previous).offset, size - 5);
  // Nothing to find in an empty pattern or a file shorter than the pattern.
  EXPECT_EQ(FindBytes(*f, "", 0, Next).outcome, ScanOutcome::NotFound);
  const std::unique_ptr<PagedFile> tiny = OpenOrDie(dir.Write("tiny", "AB"));
  EXPECT_EQ(FindBytes(*tiny, "ABC", 0, Previous).outcome, ScanOutcome::NotFound);
  EXPECT_EQ(FindBytes(*tiny, "AB", 1, Previous).offset, 0u);
}

// Every pattern length takes its own path (memchr below four bytes, skip tables above); each
// must give what a search of the whole text in memory gives, across the block edges too.
TEST(HexDumpSearch, AgreesWithASearchOfTheWholeTextForShortAndLongPatterns) {
  TempDir dir;
  std::string text((8 << 20) + 100, 'a');
  uint32_t seed = 12345;
  for (char& c : text) {
    seed = seed * 1103515245u + 12345u;
    c = "aab"[(seed >> 16) % 3];
  }
  const std::string path = dir.Write("ab.bin", text);
  std::unique_ptr<PagedFile> f = OpenOrDie(path);
  const uint64_t edge = 16 * kByteScanBlock;
  for (const std::string pattern : {"b", "bb", "bbb", "bbbb", "babbab", "bbbbbbbbbbbbbbbbbbb"}) {
    for (const uint64_t start : {uint64_t{0}, edge - 7, edge, uint64_t{12345}, text.size() - 3}) {
      SCOPED_TRACE(pattern + " from " + std::to_string(start));
      const size_t next = text.find(pattern, start);
      const ScanResult n = FindBytes(*f, pattern, start, SearchDirection::Next);
      EXPECT_EQ(n.outcome == ScanOutcome::Found ? n.offset : std::string::npos, next);
      const size_t prev = text.rfind(pattern, start);
      const ScanResult p = FindBytes(*f, pattern, start, SearchDirection::Previous);
      EXPECT_EQ(p.outcome == ScanOutcome::Found ? p.offset : std::string::npos, prev);
    }
  }
}

TEST(HexDumpSearch, ProgressCanCancelAndAShortenedFileFails) {
  TempDir dir;
  const std::string path = SparseFile(dir, 12 << 20, 0, "x");
  std::unique_ptr<PagedFile> f = OpenOrDie(path);
  int calls = 0;
  const ScanResult cancelled =
      FindBytes(*f, "absent", 0, SearchDirection::Next, [&](uint64_t, uint64_t total) {
        EXPECT_EQ(total, uint64_t{12} << 20);
        return ++calls < 2;
      });
  EXPECT_EQ(cancelled.outcome, ScanOutcome::Cancelled);
  EXPECT_EQ(calls, 2);
  ASSERT_EQ(::truncate(path.c_str(), 1 << 20), 0);
  const ScanResult failed = FindBytes(*f, "absent", 12 << 20, SearchDirection::Previous);
  EXPECT_EQ(failed.outcome, ScanOutcome::Failed);
  EXPECT_FALSE(failed.error.message.empty());
}

}  // namespace
}  // namespace tessary
