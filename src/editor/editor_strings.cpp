// Logical-line operations over the document's rows, and the block-wise Shift-JIS file loader.
#include "editor/editor_strings.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "base/line_split.h"
#include "base/update_guard.h"
#include "codec/sjis_line_splitter.h"
#include "codec/text_lines.h"
#include "editor/editor_screen_strings.h"
#include "editor/editor_view.h"

namespace tessary {
namespace {

// Files are read in chunks of whole blocks, so the block rules hold at the same file offsets
// as if the file were read at once.
constexpr size_t kChunkSize = 128 * kLoadBlockSize;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// Length of the part of a block that is read: up to its first zero byte.
size_t SeenLength(std::string_view block) {
  const size_t z = block.find('\0');
  return z == std::string_view::npos ? block.size() : z;
}

// Offset of the first byte 26 that is read (not hidden behind a zero byte), or npos.
size_t FindEofMark(std::string_view chunk) {
  for (size_t at = 0; at < chunk.size(); at += kLoadBlockSize) {
    std::string_view block = chunk.substr(at, kLoadBlockSize);
    const size_t seen = SeenLength(block);
    const size_t m = block.substr(0, seen).find(static_cast<char>(kEofMark));
    if (m != std::string_view::npos) return at + m;
  }
  return std::string_view::npos;
}

// The first and the last byte that are read, or -1 when every block is hidden.
int FirstSeenByte(std::string_view chunk) {
  for (size_t at = 0; at < chunk.size(); at += kLoadBlockSize)
    if (chunk[at] != '\0') return static_cast<uint8_t>(chunk[at]);
  return -1;
}

int LastSeenByte(std::string_view chunk) {
  if (chunk.empty()) return -1;
  for (size_t at = (chunk.size() - 1) / kLoadBlockSize * kLoadBlockSize;; at -= kLoadBlockSize) {
    std::string_view block = chunk.substr(at, kLoadBlockSize);
    const size_t seen = SeenLength(block);
    if (seen > 0) return static_cast<uint8_t>(block[seen - 1]);
    if (at == 0) return -1;
  }
}

// Feeds the lines of successive chunks into the document, joining a line cut by a chunk end.
class ChunkLoader {
 public:
  explicit ChunkLoader(TEditorScreenStrings& doc) : doc_(doc) {}

  void Add(std::string_view chunk) {
    const TextLines lines = SplitSjisBytes(chunk);
    size_t first = 0;
    // An LF that opens the chunk belongs to the CR that closed the previous one.
    if (prev_cr_ && FirstSeenByte(chunk) == '\n' && lines.Count() > 0) first = 1;
    const int last = LastSeenByte(chunk);
    if (last >= 0) prev_cr_ = last == '\r';
    for (size_t i = first; i < lines.Count(); ++i) {
      const bool open = i + 1 == lines.Count() && !lines.last_line_has_end();
      if (!pending_.empty()) {
        pending_.append(lines.Line(i));
        if (open) break;
        doc_.AppendLoadedLine(pending_);
        pending_.clear();
      } else if (open) {
        pending_.assign(lines.Line(i));
      } else {
        doc_.AppendLoadedLine(lines.Line(i));
      }
    }
  }
  void Finish() {
    if (pending_.empty()) return;
    doc_.AppendLoadedLine(pending_);
    doc_.SetLastRowAtEof();
  }

 private:
  TEditorScreenStrings& doc_;
  std::string pending_;  // a line without line end so far
  bool prev_cr_ = false;
};

}  // namespace

EditorView* TEditorStrings::Owner() const {
  return document_.OwnerView();
}

void TEditorStrings::BeginChange() const {
  if (EditorView* v = Owner()) v->CancelSelection();
}

void TEditorStrings::EndChange(int32_t row, size_t insertedLength) const {
  if (EditorView* v = Owner()) v->LinesChanged(row, static_cast<int64_t>(insertedLength));
}

int32_t TEditorStrings::Count() const {
  return document_.LineCount();
}

std::string TEditorStrings::Get(int32_t i) const {
  CheckLine(i, Count());
  if (!document_.WordWrap()) return document_.Get(i);
  std::string s = document_.RowRangeText(document_.LineToRow(i), -1).Text;
  while (s.size() >= 2 && s.compare(s.size() - 2, 2, kCrLf) == 0) s.resize(s.size() - 2);
  return s;
}

void TEditorStrings::Put(int32_t i, std::string_view s) {
  CheckLine(i, Count());
  BeginChange();
  const int32_t a = document_.LineToRow(i);
  const int32_t b = document_.LineEndRow(a);
  std::string text(s);
  if (document_.GetRowAttribute(b) == RowEnd::RowEndsLine) text.append(kCrLf);
  document_.ReplaceRows(a, b - a + 1, text);
  EndChange(a, text.size());
}

void TEditorStrings::Insert(int32_t i, std::string_view s) {
  CheckLine(i, Count() + 1);
  const int32_t row = document_.LineToRow(i);
  if (row >= document_.Count()) {
    Add(s);
    return;
  }
  BeginChange();
  std::string text(s);
  text.append(kCrLf);
  document_.ReplaceRows(row, 0, text);
  EndChange(row, text.size());
}

int32_t TEditorStrings::Add(std::string_view s) {
  const int32_t former = Count();
  BeginChange();
  const int32_t n = document_.Count();
  std::string text;
  int32_t row = n;
  if (n > 0 && document_.GetRowAttribute(n - 1) != RowEnd::RowEndsLine) {
    // The text ends without a line end and still does after the new line.
    row = n - 1;
    text.assign(document_.GetView(row));
    text.append(kCrLf);
    text.append(s);
    document_.ReplaceRows(row, 1, text);
  } else {
    text.assign(s);
    text.append(kCrLf);
    document_.ReplaceRows(n, 0, text);
  }
  EndChange(row, text.size());
  return former;
}

void TEditorStrings::Delete(int32_t i) {
  CheckLine(i, Count());
  BeginChange();
  const int32_t a = document_.LineToRow(i);
  document_.ReplaceRows(a, document_.LineEndRow(a) - a + 1, {});
  EndChange(a, 0);
}

void TEditorStrings::Clear() {
  BeginChange();
  document_.ClearDocument();
  EndChange(0, 0);
}

void TEditorStrings::SetTextStr(std::string_view s) {
  BeginChange();
  {
    TEditorScreenStrings& doc = document_;
    const UpdateGuard update(doc);
    doc.ClearDocument();
    size_t pos = 0;
    while (pos < s.size()) {
      size_t e = s.find_first_of("\r\n", pos);
      if (e == std::string_view::npos) {
        doc.AppendLoadedLine(s.substr(pos));
        doc.SetLastRowAtEof();
        break;
      }
      doc.AppendLoadedLine(s.substr(pos, e - pos));
      pos = e + ((s[e] == '\r' && e + 1 < s.size() && s[e + 1] == '\n') ? 2 : 1);
    }
    doc.FinishLoad();
  }
  EndChange(0, s.size());
}

std::string TEditorStrings::GetTextStr() const {
  std::string out;
  out.reserve(document_.TotalTextBytes() + 2 * static_cast<size_t>(document_.Count()));
  document_.ForEachRow(0, [&](int32_t, std::string_view text, uint32_t w1, uint32_t) {
    out.append(text);
    if (row_bits::RowAttributeOf(w1) == RowEnd::RowEndsLine) out.append(kCrLf);
    return true;
  });
  return out;
}

void TEditorStrings::SetTextLines(const TextLines& lines) {
  BeginChange();
  document_.SetTextLines(lines);
  EndChange(0, lines.TotalBytes());
}

void TEditorStrings::SetTextLines(TextLines&& lines) {
  const size_t bytes = lines.TotalBytes();
  BeginChange();
  document_.SetTextLines(std::move(lines));
  EndChange(0, bytes);
}

void TEditorStrings::Assign(const TheStringList& other) {
  std::string text;
  for (int32_t i = 0; i < other.Count(); ++i) {
    text.append(other.GetView(i));
    text.append(kCrLf);
  }
  SetTextStr(text);
  if (EditorView* v = Owner()) v->SetCaret(std::max(0, document_.Count() - 1), 0);
}

void TEditorStrings::Assign(const TEditorStrings& other) {
  SetTextStr(other.GetTextStr());
  if (EditorView* v = Owner()) v->SetCaret(std::max(0, document_.Count() - 1), 0);
}

Status TEditorStrings::LoadFromFile(const std::string& path) {
  BeginChange();
  if (Status read = LoadRows(path); !read.ok()) return read;
  EndChange(0, 0);
  return Success();
}

// The document holds what was read; on failure it is empty.
Status TEditorStrings::LoadRows(const std::string& path) {
  TEditorScreenStrings& doc = document_;
  const UpdateGuard update(doc);
  doc.ClearDocument();
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    const int err = errno;
    return SystemError("cannot open", path, err);
  }
  std::string buffer(kChunkSize, '\0');
  ChunkLoader loader(doc);
  for (;;) {
    const size_t got = std::fread(buffer.data(), 1, kChunkSize, file.get());
    if (std::ferror(file.get())) {
      const int err = errno;
      doc.ClearDocument();
      return SystemError("cannot read", path, err);
    }
    if (got == 0) break;
    std::string_view chunk(buffer.data(), got);
    const size_t eof = FindEofMark(chunk);
    if (eof != std::string_view::npos) chunk = chunk.substr(0, eof);
    loader.Add(chunk);
    if (eof != std::string_view::npos || got < kChunkSize) break;
  }
  loader.Finish();
  doc.FinishLoad();
  return Success();
}

void TEditorStrings::SetUpdateState(bool updating) {
  EditorView* v = Owner();
  if (updating) {
    if (update_count_++ == 0) {
      document_.BeginUpdate();
      if (v) v->BeginLinesUpdate();
    }
  } else if (update_count_ > 0) {
    if (--update_count_ == 0) {
      if (v) v->EndLinesUpdate();
      document_.EndUpdate();
    }
  }
}

}  // namespace tessary
