// Comma- and TAB-separated files read in their own Unicode: an index of record starts, records on
// demand.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "codec/char_code.h"

namespace tessary {

// How the file's bytes spell characters. Shift-JIS stays Shift-JIS until a field is shown:
// none of the bytes the records are cut at (quote, comma, TAB, CR, LF) is ever a trail byte.
enum class CsvTextCode { Utf8, Utf16Le, Utf16Be, Sjis };
enum class CsvSeparator { Comma, Tab };

// A file's whole bytes and where its text begins (after a byte-order mark).
struct CsvText {
  std::string bytes;
  CsvTextCode code = CsvTextCode::Utf8;
  size_t begin = 0;
  // One past the last whole character unit (a UTF-16 file's odd last byte is left out).
  size_t end = 0;
};

// The bytes read with the detected code (the editor's detection), the mark skipped. Where that
// code is Shift-JIS (also the detection's fallback) but the bytes are well-formed UTF-8 with a
// character beyond ASCII, they are read as UTF-8.
[[nodiscard]] CsvText MakeCsvText(std::string bytes, CharCode detected);
// Reads and detects the file as the editor does; the editor's working files are left alone.
[[nodiscard]] Result<CsvText> ReadCsvFile(const std::string& path);

// ".tsv" and ".tab" files are TAB-separated and ".csv" files comma-separated (any letter case);
// any other file is TAB-separated when its first record has more fields cut at TABs than at
// commas (both counted outside quotes), else comma-separated.
[[nodiscard]] CsvSeparator ChooseSeparator(std::string_view path, const CsvText& text);

// One record as UTF-8 fields and the offset where the next one starts.
//
// The rules (RFC 4180, read leniently): a record ends at CR LF, CR or LF outside quotes, or at
// the end of the text (a line end at the very end adds no empty record). A field that begins
// with a double quote is quoted: separators and line ends inside it are text, a doubled quote
// is one quote, and the closing quote ends the quoting; anything after it up to the next
// separator is kept as text. A quote inside an unquoted field is an ordinary character. A quote
// that is never closed runs to the end of the text. The same rules hold for TAB-separated text.
// A lone UTF-16 surrogate becomes U+FFFD, an unlisted Shift-JIS code U+30FB as in the editor;
// malformed UTF-8 is passed on as it is (the window shows it as U+FFFD).
struct CsvRecord {
  std::vector<std::string> fields;
  size_t next = 0;
};
[[nodiscard]] CsvRecord ParseCsvRecord(const CsvText& text, CsvSeparator sep, size_t offset);

// The offsets of every record's start, found in one pass that can be run in slices (to keep a
// window live) and abandoned at any time, and the most fields any record seen so far has.
class CsvRecordIndex {
 public:
  CsvRecordIndex(const CsvText& text, CsvSeparator sep);

  enum class Progress { More, Done };
  // Indexes records until about `budget` bytes more have been passed or the text ends.
  [[nodiscard]] Progress Advance(size_t budget);
  // Indexes to the end unless `cancel` is raised (checked between slices of a megabyte).
  [[nodiscard]] Progress Build(const std::atomic<bool>& cancel);

  [[nodiscard]] bool Finished() const { return pos_ >= text_->end; }
  [[nodiscard]] size_t Count() const { return starts_.size(); }
  [[nodiscard]] uint64_t Start(size_t record) const { return starts_[record]; }
  [[nodiscard]] size_t MaxFields() const { return max_fields_; }
  // Bytes passed so far, out of the text's bytes.
  [[nodiscard]] size_t Scanned() const { return pos_; }

 private:
  const CsvText* text_;
  CsvSeparator sep_;
  size_t pos_;
  size_t max_fields_ = 0;
  std::vector<uint64_t> starts_;
};

// How a line break inside a field is shown in a one-line table cell.
enum class LineBreakMark { Ret, Lf, Blank };
// Each CR LF, CR or LF of the field as "<Ret>", "<Lf>" or one blank.
[[nodiscard]] std::string MarkLineBreaks(std::string_view field, LineBreakMark mark);

// UTF-16 units (in the given byte order) to UTF-8; exposed for the tests of the edge cases.
[[nodiscard]] std::string Utf16BytesToUtf8(std::string_view bytes, CsvTextCode order);

}  // namespace tessary
