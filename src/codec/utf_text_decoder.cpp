// One-pass UTF-8 / UTF-16 decoding straight into packed Shift-JIS lines.
#include "codec/utf_text_decoder.h"

#include <bit>
#include <cstddef>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

#include "base/byte_scan.h"
#include "codec/block_transcoder.h"
#include "platform/large_buffer.h"

namespace tessary {
namespace {

constexpr size_t kNoMark = std::numeric_limits<size_t>::max();

// Whether the decoded text is split into lines at the file's line ends, or keeps them where they
// stood as one run. In a run, a CR or LF that conversion produced cannot be told from the file's
// own, so it is only counted, and the caller refuses such a text.
enum class FileEnds { Split, Kept };

// Output of a decode, written over the input in the same buffer: the Shift-JIS form never
// takes more bytes than its UTF-8 or UTF-16 source, so the write cursor never passes the read
// cursor, and a load needs no second buffer the size of the file. Every write happens after
// the bytes it covers have been read; the vector stores check the gap where they would not.
class LineBuilder {
 public:
  LineBuilder(std::string&& buffer, FileEnds ends)
      : buf_(std::move(buffer)), kept_(ends == FileEnds::Kept) {
    base_ = buf_.data();
    out = base_;
    if (!kept_) ends_.reserve(buf_.size() / 48 + 16);
  }
  const uint8_t* Input() const { return reinterpret_cast<const uint8_t*>(base_); }

  char* out;
  uint64_t replaced = 0;
  uint64_t converted_ends = 0;

  size_t LineStart() const { return ends_.empty() ? 0 : ends_.back(); }
  bool Pending() const { return static_cast<size_t>(out - base_) > LineStart(); }
  void EndLine() { ends_.push_back(static_cast<size_t>(out - base_)); }
  // For the block conversion, which records line ends of the file itself.
  const char* Base() const { return base_; }
  std::vector<size_t>& Ends() { return ends_; }

  // A CR or LF that conversion produced: the converted text is split at CR LF, CR and LF.
  void ConvertedCr() {
    if (kept_) {
      ++converted_ends;
      return;
    }
    EndLine();
    cr_mark_ = ends_.size();
  }
  void ConvertedLf() {
    if (kept_) {
      ++converted_ends;
      return;
    }
    if (cr_mark_ == ends_.size() && !Pending()) {
      cr_mark_ = kNoMark;  // the LF of a CR LF pair
      return;
    }
    EndLine();
  }

  void PutCode(uint16_t c) {
    if (c >= 0x100) {
      if (c == cp932::kUnmapped) {
        *out++ = cp932::kReplacement;
        ++replaced;
      } else {
        out[0] = static_cast<char>(c >> 8);
        out[1] = static_cast<char>(c & 0xFF);
        out += 2;
      }
    } else {
      *out++ = static_cast<char>(c);
    }
  }
  // A character whose Shift-JIS form reads back as another one: counted with the "?".
  void PutChangedCode(uint16_t c) {
    PutCode(c);
    ++replaced;
  }
  // A character beyond the Basic Multilingual Plane: a "?" per UTF-16 unit, as the platform's
  // conversion gives, but one character lost.
  void PutLostCharacter(int question_marks) {
    for (int i = 0; i < question_marks; ++i) *out++ = cp932::kReplacement;
    ++replaced;
  }

  TextLines Finish(bool last_line_has_end) {
    buf_.resize(static_cast<size_t>(out - base_));
    return TextLines::FromPacked(std::move(buf_), std::move(ends_), last_line_has_end);
  }
  std::string FinishKept() {
    buf_.resize(static_cast<size_t>(out - base_));
    return std::move(buf_);
  }

 private:
  std::string buf_;
  bool kept_;
  char* base_;
  std::vector<size_t> ends_;
  size_t cr_mark_ = kNoMark;
};

// A unit below 0x0E that conversion turned into a byte: only U+0000, CR and LF need care, as
// no other unit maps to a byte below 0x20.
enum class Flow { Go, Stop };
inline Flow PutLowUnit(LineBuilder& b, uint16_t u) {
  switch (u) {
    case 0: return Flow::Stop;
    case '\r': b.ConvertedCr(); return Flow::Go;
    case '\n': b.ConvertedLf(); return Flow::Go;
    default: *b.out++ = static_cast<char>(u); return Flow::Go;
  }
}

inline Flow PutUnit(LineBuilder& b, const cp932::Tables& t, uint16_t u) {
  if (u < 0x0E) return PutLowUnit(b, u);
  const uint16_t code = t.load[u];
  if (code == cp932::kUnmapped && t.encode[u] != cp932::kUnmapped) {
    b.PutChangedCode(t.encode[u]);
    return Flow::Go;
  }
  b.PutCode(code);
  return Flow::Go;
}

inline bool IsCont(uint8_t c) { return (c & 0xC0) == 0x80; }
inline bool IsSurrogatePair(uint16_t first, uint16_t second) {
  return (first & 0xFC00) == 0xD800 && (second & 0xFC00) == 0xDC00;
}

// ---- UTF-8 ----

enum class Step { Ok, Bad };

// Decodes the sequence at p (start byte >= 0x80); advances p. Sets units to 1 with *unit, or
// to 2 for a character beyond the Basic Multilingual Plane.
inline Step DecodeSequence(const uint8_t*& p, const uint8_t* end, uint32_t& unit, int& units) {
  const uint8_t b = p[0];
  units = 1;
  if (b & 0x20) {
    if (b >= 0xF0 && b <= 0xF7) {
      if (end - p < 4 || !IsCont(p[1]) || !IsCont(p[2]) || !IsCont(p[3])) return Step::Bad;
      unit = static_cast<uint32_t>(b & 0x07) << 18 | static_cast<uint32_t>(p[1] & 0x3F) << 12 |
             static_cast<uint32_t>(p[2] & 0x3F) << 6 | (p[3] & 0x3F);
      p += 4;
      if (unit >= 0x10000) units = 2;
      return Step::Ok;
    }
    if (end - p < 3 || !IsCont(p[1]) || !IsCont(p[2])) return Step::Bad;
    unit = static_cast<uint32_t>(b & 0x0F) << 12 | static_cast<uint32_t>(p[1] & 0x3F) << 6 |
           (p[2] & 0x3F);
    p += 3;
    return Step::Ok;
  }
  if (end - p < 2 || !IsCont(p[1])) return Step::Bad;
  unit = static_cast<uint32_t>(b & 0x3F) << 6 | (p[1] & 0x3F);
  p += 2;
  return Step::Ok;
}

// After a decoded U+0000 the rest is only checked: a bad sequence still empties the result.
bool RestIsWellFormed(const uint8_t* p, const uint8_t* end) {
  while (p < end) {
    p = scan::FindHighBit(p, end);
    if (p == end) return true;
    uint32_t unit;
    int units;
    if (DecodeSequence(p, end, unit, units) == Step::Bad) return false;
  }
  return true;
}

// Plain ASCII bytes (no CR, LF) copied 16 at a time; stops at anything else.
inline void CopyPlainAscii(const uint8_t*& p, const uint8_t* end, char*& o) {
#ifdef TESSARY_SSE2
  const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
  while (end - p >= 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int stop = _mm_movemask_epi8(x) |
                     _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(x, cr), _mm_cmpeq_epi8(x, lf)));
    if (stop == 0) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o), x);
      p += 16;
      o += 16;
      continue;
    }
    const int n = std::countr_zero(static_cast<unsigned>(stop));
    // 16 bytes at o may cover bytes not read yet, unless the cursors are 16 apart (or equal,
    // when the store rewrites the same bytes).
    const auto gap = reinterpret_cast<const char*>(p) - o;
    if (gap == 0 || gap >= 16) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o), x);
      o += n;
      p += n;
    } else {
      for (int i = 0; i < n; ++i) *o++ = static_cast<char>(*p++);
    }
    return;
  }
#endif
  while (p < end && *p < 0x80 && *p != '\r' && *p != '\n') *o++ = static_cast<char>(*p++);
}

// Japanese text is mostly three-byte sequences that map to double-byte codes: runs of those
// take one load and one mask test per character. One character per step measured faster
// than two: kana, kanji and ASCII words alternate, and shorter steps waste less at each change.
// Anything else (a character that maps to a single byte or to nothing)
// is left to the general path.
inline bool IsDoubleByteCode(uint16_t c) { return static_cast<uint16_t>(c - 0x100) < 0xFEFF; }

inline void Take3ByteRuns(const cp932::Tables& t, const uint8_t*& p, const uint8_t* end, char*& o) {
  while (end - p >= 4) {
    uint32_t w;
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(&w, p, 4);
    } else {
      w = p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16;
    }
    if ((w & 0xC0C0F0u) != 0x8080E0u) break;
    const uint32_t u = (w & 0x0F) << 12 | ((w >> 2) & 0xFC0) | ((w >> 16) & 0x3F);
    const uint16_t code = t.load[u];
    if (!IsDoubleByteCode(code)) break;
    o[0] = static_cast<char>(code >> 8);
    o[1] = static_cast<char>(code & 0xFF);
    o += 2;
    p += 3;
  }
}

std::string CopyOf(std::string_view bytes) {
  std::string copy;
  ResizeLargeBuffer(copy, bytes.size());
  std::memcpy(copy.data(), bytes.data(), bytes.size());
  return copy;
}

}  // namespace

DecodedText DecodeUtf8Text(std::string_view bytes, Utf8Mark mark, BlockPath path) {
  return DecodeUtf8InPlace(CopyOf(bytes), mark, path);
}

DecodedText DecodeUtf16Text(std::string_view bytes, ByteOrder order, Utf16Mark mark) {
  return DecodeUtf16InPlace(CopyOf(bytes), order, mark);
}

namespace {

template <FileEnds E>
using Utf8Result = std::conditional_t<E == FileEnds::Split, DecodedText, DecodedRun>;

// Whether the bytes at p begin with the line end `eol`. (With eol "\r", the LF of a CR LF is
// refused at the next step, as a line end of another kind.)
inline bool IsKeptLineEnd(const uint8_t* p, const uint8_t* end, std::string_view eol) {
  const size_t n = eol.size();
  if (n == 0 || static_cast<size_t>(end - p) < n) return false;
  return p[0] == static_cast<uint8_t>(eol[0]) && (n == 1 || p[1] == static_cast<uint8_t>(eol[1]));
}

template <FileEnds E>
Utf8Result<E> DecodeUtf8With(std::string&& bytes, Utf8Mark mark, BlockPath path,
                             std::string_view eol = {}) {
  constexpr bool kKept = E == FileEnds::Kept;
  const cp932::Tables& t = cp932::GetTables();
  const size_t size = bytes.size();
  LineBuilder b(std::move(bytes), E);
  const uint8_t* p = b.Input();
  const void* nul = std::memchr(p, 0, size);
  Utf8Result<E> r;
  if (kKept && nul) {
    r.ok = false;
    return r;
  }
  const uint8_t* end = nul ? static_cast<const uint8_t*>(nul) : p + size;
  const uint8_t* raw_line = p;  // start of the current line of the file
  if (mark == Utf8Mark::Drop && end - p >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
    p += 3;
  // The cursor lives in a local so that the compiler keeps it in a register; the builder's
  // own copy is synchronised around the rare paths that use it.
  char* o = b.out;
  const bool blocks = path == BlockPath::Vector && block::Available();
  block::KeptEnds kept(eol);  // the blocks and the character path count into it alike
  while (p < end) {
    if (blocks) {
      if constexpr (kKept) {
        block::Utf8ToSjis(t, p, end, o, kept);
      } else {
        block::LineSink sink{b.Base(), b.Ends(), raw_line};
        block::Utf8ToSjis(t, p, end, o, sink);
      }
      if (p == end) break;
    }
    Take3ByteRuns(t, p, end, o);
    if (p == end) break;
    const uint8_t c = *p;
    if (c < 0x80) {
      if (c == '\r' || c == '\n') {
        if constexpr (kKept) {
          if (!IsKeptLineEnd(p, end, eol)) {
            r.ok = false;
            return r;
          }
          for (const char e : eol) *o++ = e;
          p += eol.size();
          ++kept.count;
          continue;
        }
        // A line end of the file: the lines are joined again with CR LF before conversion, so
        // whatever came before, this closes exactly one line.
        b.out = o;
        b.EndLine();
        ++p;
        if (c == '\r' && p < end && *p == '\n') ++p;
        raw_line = p;
        continue;
      }
      CopyPlainAscii(p, end, o);
      continue;
    }
    uint32_t unit;
    int units;
    if (DecodeSequence(p, end, unit, units) == Step::Bad) {
      r.ok = false;
      return r;
    }
    b.out = o;
    if (units == 2 || unit > 0xFFFF) {
      b.PutLostCharacter(2);
    } else if (PutUnit(b, t, static_cast<uint16_t>(unit)) == Flow::Stop) {
      if (kKept || !RestIsWellFormed(p, end)) {
        r.ok = false;
        return r;
      }
      if constexpr (!kKept) {
        r.cut_short = !scan::AllBytesAre(p, b.Input() + size, 0);
        const bool pending = b.Pending();
        if (pending) b.EndLine();
        r.replaced_chars = b.replaced;
        r.lines = b.Finish(!pending);
        return r;
      }
    }
    o = b.out;
  }
  b.out = o;
  r.replaced_chars = b.replaced;
  if constexpr (kKept) {
    r.line_ends = kept.count;
    r.ok = b.converted_ends == 0;
    if (r.ok) r.text = b.FinishKept();
  } else {
    if (raw_line < end) b.EndLine();  // the last line of the file had no line end
    // Zero padding after the text loses nothing; anything else after the zero byte does. Checked
    // before the buffer passes to the lines.
    if (nul) r.cut_short = !scan::AllBytesAre(end, b.Input() + size, 0);
    r.lines = b.Finish(true);
  }
  return r;
}

}  // namespace

DecodedText DecodeUtf8InPlace(std::string&& bytes, Utf8Mark mark, BlockPath path) {
  return DecodeUtf8With<FileEnds::Split>(std::move(bytes), mark, path);
}

DecodedRun DecodeUtf8RunInPlace(std::string&& bytes, Utf8Mark mark, std::string_view eol,
                                BlockPath path) {
  return DecodeUtf8With<FileEnds::Kept>(std::move(bytes), mark, path, eol);
}

namespace {

inline uint16_t LoadUnit(const uint8_t* p, ByteOrder order) {
  return order == ByteOrder::LittleEndian ? static_cast<uint16_t>(p[0] | p[1] << 8)
                                          : static_cast<uint16_t>(p[0] << 8 | p[1]);
}

// Units 0x20-0x7F narrowed 8 at a time; returns how many units it took (0 when the first
// unit is anything else). The 8-byte store covers unread input unless the cursors are far
// enough apart; then the units are written one by one.
inline size_t NarrowAscii(const uint8_t* p, size_t units_left, char* o, ByteOrder order) {
#ifdef TESSARY_SSE2
  if (units_left >= 8) {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    if (order == ByteOrder::BigEndian) x = _mm_or_si128(_mm_slli_epi16(x, 8), _mm_srli_epi16(x, 8));
    const __m128i d = _mm_sub_epi16(x, _mm_set1_epi16(0x20));
    const __m128i ok = _mm_and_si128(_mm_cmpgt_epi16(d, _mm_set1_epi16(-1)),
                                     _mm_cmplt_epi16(d, _mm_set1_epi16(0x60)));
    const unsigned bad = ~static_cast<unsigned>(_mm_movemask_epi8(ok)) & 0xFFFF;
    const size_t k = bad == 0 ? 8 : std::countr_zero(bad) / 2;
    const auto gap = static_cast<size_t>(reinterpret_cast<const char*>(p) - o);
    if (gap + 2 * k >= 8) {
      _mm_storel_epi64(reinterpret_cast<__m128i*>(o), _mm_packus_epi16(x, x));
    } else {
      for (size_t i = 0; i < k; ++i)
        o[i] = static_cast<char>(p[2 * i + (order == ByteOrder::BigEndian)]);
    }
    return k;
  }
#endif
  (void)p, (void)units_left, (void)o, (void)order;
  return 0;
}

// Units that convert to printable codes, one per step without a branch on their width (kana,
// kanji and ASCII alternate too often for one to be predicted); stops before a unit below
// 0x0E (line ends, the end of the text) or one without a code (counted by the general path).
// In place, the two-byte store reaches at most the current unit's own bytes, already read.
inline size_t TakeUnits(const cp932::Tables& t, const uint8_t* p, size_t units, char*& o,
                        ByteOrder order) {
  char* out = o;
  size_t i = 0;
  for (; i < units; ++i) {
    const uint16_t u = LoadUnit(p + 2 * i, order);
    const uint32_t code = t.load[u];
    if (u < 0x0E || code == cp932::kUnmapped) break;
    const uint32_t two = code > 0xFF;
    const uint32_t wide = (code >> 8 | code << 8) & 0xFFFF;
    const uint32_t v = code ^ ((code ^ wide) & (0u - two));
    std::memcpy(out, &v, 2);
    out += 1 + two;
  }
  o = out;
  return i;
}

}  // namespace

DecodedText DecodeUtf16InPlace(std::string&& bytes, ByteOrder order, Utf16Mark mark) {
  DecodedText r;
  size_t n = bytes.size();
  if (n == 0 || (n <= 2 && mark == Utf16Mark::Expected)) return r;
  // A lone last byte becomes a whole character (up to two bytes of output from one of input),
  // so the in-place output needs one byte of room beyond the input.
  if (n & 1) bytes.push_back('\0');
  LineBuilder b(std::move(bytes), FileEnds::Split);
  const uint8_t* p = b.Input();
  if (mark == Utf16Mark::Expected) {
    const bool le = order == ByteOrder::LittleEndian;
    if ((le && p[0] == 0xFF && p[1] == 0xFE) || (!le && p[0] == 0xFE && p[1] == 0xFF)) {
      p += 2;
      n -= 2;
    }
  }
  const cp932::Tables& t = cp932::GetTables();
  const size_t units = n / 2;
  bool stopped = false;
  size_t i = 0;
  while (i < units) {
    const uint8_t* q = p + 2 * i;
    const uint16_t u = LoadUnit(q, order);
    if (u >= 0x20 && u < 0x80) {
      const size_t k = NarrowAscii(q, units - i, b.out, order);
      if (k > 0) {
        b.out += k;
        i += k;
        continue;
      }
      *b.out++ = static_cast<char>(u);
      ++i;
      continue;
    }
    if (u >= 0x0E && t.load[u] != cp932::kUnmapped) {
      i += TakeUnits(t, q, units - i, b.out, order);
      continue;
    }
    ++i;
    if (IsSurrogatePair(u, i < units ? LoadUnit(p + 2 * i, order) : 0)) {
      ++i;
      b.PutLostCharacter(2);
      continue;
    }
    if (PutUnit(b, t, u) == Flow::Stop) {
      stopped = true;
      break;
    }
  }
  // An odd last byte pairs with the zero that ends the buffer: the unit 00bb in either order.
  if (!stopped && (n & 1)) stopped = PutUnit(b, t, p[n - 1]) == Flow::Stop;
  // Zero padding after the text loses nothing; anything else after the zero unit does.
  r.cut_short = stopped && !scan::AllBytesAre(p + 2 * i, p + n, 0);
  const bool pending = b.Pending();
  if (pending) b.EndLine();
  r.replaced_chars = b.replaced;
  r.lines = b.Finish(!pending);
  return r;
}

}  // namespace tessary
