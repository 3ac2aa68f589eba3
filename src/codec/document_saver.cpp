// Encoding the document's lines for each save code, and the 16-bit save's working files.
#include "codec/document_saver.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "codec/cp932.h"
#include "platform/app_home.h"
#include "platform/file_io.h"
#include "platform/large_buffer.h"

namespace tessary {
namespace {

// The output buffer written through raw pointers; Room(n) guarantees n writable bytes. It
// either grows to hold the whole output, or, given a writer, hands its bytes on whenever it is
// full, so that a document of any size is encoded in the room of one piece.
class ByteSink {
 public:
  explicit ByteSink(size_t estimate) { ResizeLargeBuffer(buf_, estimate); }
  ByteSink(const PieceWriter& put, size_t piece) : put_(&put) { buf_.resize(piece); }

  char* Room(size_t n) {
    if (buf_.size() - used_ < n) {
      if (put_) HandOn();
      if (buf_.size() - used_ < n) GrowTo(std::max(buf_.size() * 2, used_ + n));
    }
    return buf_.data() + used_;
  }
  void Commit(const char* end) { used_ = static_cast<size_t>(end - buf_.data()); }
  void Append(std::string_view s) {
    char* o = Room(s.size());
    std::copy(s.begin(), s.end(), o);
    Commit(o + s.size());
  }
  std::string Take() {
    buf_.resize(used_);
    return std::move(buf_);
  }
  // Hands on the rest; 0, or the first failure of the writer.
  [[nodiscard]] int Flush() {
    HandOn();
    return error_;
  }

 private:
  // After the writer's first failure nothing more is handed on.
  void HandOn() {
    if (error_ == 0 && used_ > 0) error_ = (*put_)(std::string_view(buf_.data(), used_));
    used_ = 0;
  }

  void GrowTo(size_t n) {
    std::string bigger;
    ResizeLargeBuffer(bigger, n);
    std::copy(buf_.data(), buf_.data() + used_, bigger.data());
    buf_.swap(bigger);
  }

  std::string buf_;
  size_t used_ = 0;
  const PieceWriter* put_ = nullptr;
  int error_ = 0;
};

struct Extent {
  size_t lines = 0;
  size_t bytes = 0;
};

// One pass to size the output buffer, so that a large document is not copied while it grows.
Extent Measure(const LineSource& lines) {
  Extent e;
  lines.ForEach([&](std::string_view line) {
    ++e.lines;
    e.bytes += line.size();
  });
  return e;
}

void EncodeSjis(const LineSource& lines, RetCode ret, ByteSink& out) {
  lines.ForEachJoined(LineEndBytes(ret), [&](std::string_view text) { out.Append(text); });
}

void EncodeUtf8(const LineSource& lines, RetCode ret, bool mark, ByteSink& out) {
  const cp932::Tables& t = cp932::GetTables();
  const std::string_view eol = LineEndBytes(ret);
  if (mark) out.Append("\xEF\xBB\xBF");
  // Converted as the joined text: without line ends a character may start in one line and end
  // in the next.
  JoinedCp932ToUtf8 joined(t);
  lines.ForEachJoined(eol, [&](std::string_view text) {
    // Long runs go in slices, so that the room asked for stays near the piece size.
    constexpr size_t kSlice = size_t{256} << 10;
    for (size_t at = 0; at < text.size(); at += kSlice) {
      const std::string_view slice = text.substr(at, kSlice);
      out.Commit(joined.Put(slice, out.Room(Utf8RoomFor(slice.size() + 1))));
    }
  });
  out.Commit(joined.Finish(out.Room(Utf8RoomFor(1))));
}

char* PutUnit(char* o, uint16_t u, ByteOrder order) {
  const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
  o[0] = order == ByteOrder::LittleEndian ? lo : hi;
  o[1] = order == ByteOrder::LittleEndian ? hi : lo;
  return o + 2;
}

// The line end of ret as UTF-16 units.
char* PutLineEnd16(char* o, RetCode ret, ByteOrder order) {
  if (ret == RetCode::CrLf || ret == RetCode::Cr) o = PutUnit(o, '\r', order);
  if (ret == RetCode::CrLf || ret == RetCode::Lf) o = PutUnit(o, '\n', order);
  return o;
}

ByteOrder OrderOf(CharCode code) {
  return IsLittleEndian(code) ? ByteOrder::LittleEndian : ByteOrder::BigEndian;
}

void PutMark16(ByteSink& out, CharCode code) {
  if (code == CharCode::UTF16BomBe) out.Append("\xFE\xFF");
  if (code == CharCode::UTF16BomLe) out.Append("\xFF\xFE");
}

void EncodeUtf16(const LineSource& lines, CharCode code, RetCode ret, ByteSink& out) {
  const cp932::Tables& t = cp932::GetTables();
  const ByteOrder order = OrderOf(code);
  PutMark16(out, code);
  lines.ForEach([&](std::string_view line) {
    char* o = out.Room(Utf16RoomFor(line.size()) + 4);
    o = Cp932ToUtf16(t, line, o, order);
    out.Commit(PutLineEnd16(o, ret, order));
  });
}

void Encode(const LineSource& lines, CharCode code, RetCode ret, ByteSink& out) {
  switch (code) {
    case CharCode::UTF8Bom:
      return EncodeUtf8(lines, ret, true, out);
    case CharCode::UTF8:
      return EncodeUtf8(lines, ret, false, out);
    case CharCode::UTF16BomBe:
    case CharCode::UTF16Be:
    case CharCode::UTF16BomLe:
    case CharCode::UTF16Le:
      return EncodeUtf16(lines, code, ret, out);
    case CharCode::SJIS:
    case CharCode::Auto:
      break;
  }
  EncodeSjis(lines, ret, out);
}

// Room for the whole output: the most it can take for UTF-16 (a unit per byte), since growing
// the buffer would fill and copy far more than the bytes reserved and never used.
size_t Estimate(const LineSource& lines, CharCode code, RetCode ret) {
  const Extent e = Measure(lines);
  if (IsSixteenBit(code)) return Utf16RoomFor(e.bytes) + e.lines * 4 + 64;
  const size_t eol = e.lines * LineEndBytes(ret).size();
  if (code == CharCode::UTF8 || code == CharCode::UTF8Bom) return e.bytes / 2 * 3 + eol + 64;
  return e.bytes + eol;
}

// The size of the pieces a document is written in: large enough that each write is cheap,
// small enough to stay in the CPU's caches.
constexpr size_t kPieceBytes = size_t{1} << 20;

Status RemoveIfPresent(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
  if (ec) return SystemError("cannot remove", path, ec.value());
  return Success();
}

}  // namespace

std::string_view LineEndBytes(RetCode ret) {
  switch (ret) {
    case RetCode::CrLf:
      return "\r\n";
    case RetCode::Cr:
      return "\r";
    case RetCode::Lf:
      return "\n";
    case RetCode::None:
      return "";
  }
  return "\r\n";
}

std::string EncodeDocument(const LineSource& lines, CharCode code, RetCode ret) {
  ByteSink out(Estimate(lines, code, ret));
  Encode(lines, code, ret, out);
  return out.Take();
}

int EncodeDocumentInPieces(const LineSource& lines, CharCode code, RetCode ret,
                           const PieceWriter& put) {
  ByteSink out(put, kPieceBytes);
  Encode(lines, code, ret, out);
  return out.Flush();
}

Status SaveFile(const std::string& target, const LineSource& lines, CharCode code, RetCode ret,
                const AppHome& home) {
  if (IsSixteenBit(code)) return SaveUtf16(target, lines, code, ret, home);
  return WriteFileAtomic(target, EncodeDocument(lines, code, ret));
}

std::string ConvertAnsiToUtf16(std::string_view sjis, ByteOrder order) {
  std::string out;
  ResizeLargeBuffer(out, 2 + Utf16RoomFor(sjis.size()));
  char* o = PutUnit(out.data(), 0xFEFF, order);
  o = Cp932ToUtf16(cp932::GetTables(), sjis, o, order);
  out.resize(static_cast<size_t>(o - out.data()));
  return out;
}

std::string PostProcessUtf16(std::string_view converted, CharCode code, RetCode ret) {
  const ByteOrder order = OrderOf(code);
  const bool le = order == ByteOrder::LittleEndian;
  ByteSink out(converted.size() + 2);
  PutMark16(out, code);
  const size_t size = converted.size();
  if (size >= 6) {
    const auto* d = reinterpret_cast<const uint8_t*>(converted.data());
    const size_t last = size - 4;  // last offset tried, inclusive
    // Every match holds a 0D byte, at i (LE) or i + 1 (BE); walk those instead of every offset.
    const size_t cr_at = le ? 0 : 1;
    size_t j = 2;
    for (size_t k = 2 + cr_at; k <= last + cr_at;) {
      const void* f = std::memchr(d + k, 0x0D, last + cr_at + 1 - k);
      if (!f) break;
      k = static_cast<size_t>(static_cast<const uint8_t*>(f) - d);
      const size_t i = k - cr_at;
      const uint8_t* q = d + i;
      const bool match = le ? (q[0] == 0x0D && q[1] == 0 && q[2] == 0x0A && q[3] == 0)
                            : (q[0] == 0 && q[1] == 0x0D && q[2] == 0 && q[3] == 0x0A);
      if (match) {
        if (i > j) out.Append(converted.substr(j, i - j));
        j = i + 4;
        char* o = out.Room(4);
        out.Commit(PutLineEnd16(o, ret, order));
      }
      ++k;
    }
  }
  return out.Take();
}

Status SaveUtf16(const std::string& target, const LineSource& lines, CharCode code, RetCode ret,
                 const AppHome& home) {
  const std::string src_path = home.PathOf(WorkingFile::UtfSrc);
  const std::string dst_path = home.PathOf(WorkingFile::UtfDst);
  std::string converted;
  {
    const std::string src = EncodeDocument(lines, CharCode::SJIS, RetCode::CrLf);
    if (Status s = WriteFileAtomic(src_path, src); !s) return s;
    if (Status s = RemoveIfPresent(dst_path); !s) return s;
    converted = ConvertAnsiToUtf16(src, OrderOf(code));
  }
  if (Status s = WriteFileAtomic(dst_path, converted); !s) return s;
  const std::string bytes = PostProcessUtf16(converted, code, ret);
  converted = std::string();
  return WriteFileAtomic(target, bytes);
}

}  // namespace tessary
