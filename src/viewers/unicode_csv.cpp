// Cutting comma- and TAB-separated text into records and fields without converting it first.
#include "viewers/unicode_csv.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "base/byte_scan.h"
#include "codec/cp932.h"
#include "codec/cp932_converter.h"
#include "codec/document_loader.h"

namespace tessary {
namespace {

constexpr uint32_t kQuote = '"';
constexpr uint32_t kCr = '\r';
constexpr uint32_t kLf = '\n';
constexpr uint32_t kReplacement = 0xFFFD;

bool IsUtf16(CsvTextCode c) {
  return c == CsvTextCode::Utf16Le || c == CsvTextCode::Utf16Be;
}
size_t UnitSize(CsvTextCode c) {
  return IsUtf16(c) ? 2 : 1;
}
uint8_t SeparatorByte(CsvSeparator s) {
  return s == CsvSeparator::Tab ? '\t' : ',';
}

const uint8_t* Data(const CsvText& t) {
  return reinterpret_cast<const uint8_t*>(t.bytes.data());
}

uint32_t UnitAt(const CsvText& t, size_t p) {
  const uint8_t* d = Data(t);
  switch (t.code) {
    case CsvTextCode::Utf16Le:
      return d[p] | d[p + 1] << 8;
    case CsvTextCode::Utf16Be:
      return d[p] << 8 | d[p + 1];
    case CsvTextCode::Utf8:
    case CsvTextCode::Sjis:
      break;
  }
  return d[p];
}

// The next unit at or after p that is a quote, the separator or a line end; t.end if none. The
// bytes are scanned sixteen at a time; in UTF-16 a hit must also be a whole unit of its own.
size_t NextSpecial(const CsvText& t, uint8_t sep, size_t p) {
  const uint8_t* d = Data(t);
  const uint8_t* end = d + t.end;
  if (!IsUtf16(t.code)) return scan::FindAny4(d + p, end, kQuote, sep, kCr, kLf) - d;
  const bool le = t.code == CsvTextCode::Utf16Le;
  while (p < t.end) {
    const size_t q = scan::FindAny4(d + p, end, kQuote, sep, kCr, kLf) - d;
    if (q >= t.end) break;
    // Units start at even offsets (a mark is two bytes): the ASCII byte is the low one.
    if (le && q % 2 == 0 && d[q + 1] == 0) return q;
    if (!le && q % 2 == 1 && d[q - 1] == 0) return q - 1;
    p = q + 1;
  }
  return t.end;
}

// Walks one record from pos, giving the sink each stretch of field text (in the file's own
// bytes) and each field end; returns where the next record starts.
template <class Sink>
size_t WalkRecord(const CsvText& t, uint8_t sep, size_t pos, Sink& sink) {
  const size_t u = UnitSize(t.code);
  size_t field_begin = pos;
  size_t from = pos;  // text not yet given to the sink starts here
  size_t p = pos;
  bool quoted = false;
  for (;;) {
    const size_t q = NextSpecial(t, sep, p);
    if (q >= t.end) {
      sink.Content(from, t.end);
      sink.EndField();
      return t.end;
    }
    const uint32_t c = UnitAt(t, q);
    if (quoted) {
      p = q + u;
      if (c != kQuote) continue;
      sink.Content(from, q);
      if (p < t.end && UnitAt(t, p) == kQuote) {
        sink.Content(q, p);  // a doubled quote is one quote
        p += u;
      } else {
        quoted = false;
      }
      from = p;
      continue;
    }
    if (c == kQuote) {
      p = q + u;
      if (q == field_begin) {
        quoted = true;
        from = p;
      }
      continue;
    }
    sink.Content(from, q);
    sink.EndField();
    if (c == sep) {
      p = from = field_begin = q + u;
      continue;
    }
    size_t next = q + u;
    if (c == kCr && next < t.end && UnitAt(t, next) == kLf) next += u;
    return next;
  }
}

struct FieldCounter {
  size_t fields = 0;
  void Content(size_t, size_t) {}
  void EndField() { ++fields; }
};

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string SjisToUtf8(std::string_view sjis) {
  std::string out(Utf8RoomFor(sjis.size()), '\0');
  char* end = Cp932ToUtf8(cp932::GetTables(), sjis, out.data());
  out.resize(end - out.data());
  return out;
}

// Collects one record's fields, converting each to UTF-8 as it ends.
class FieldCollector {
 public:
  explicit FieldCollector(const CsvText& t) : t_(t) {}
  void Content(size_t from, size_t to) { raw_.append(t_.bytes, from, to - from); }
  void EndField() {
    fields_.push_back(ToUtf8());
    raw_.clear();
  }
  std::vector<std::string> Take() { return std::move(fields_); }

 private:
  std::string ToUtf8() const {
    switch (t_.code) {
      case CsvTextCode::Utf16Le:
      case CsvTextCode::Utf16Be:
        return Utf16BytesToUtf8(raw_, t_.code);
      case CsvTextCode::Sjis:
        return SjisToUtf8(raw_);
      case CsvTextCode::Utf8:
        break;
    }
    return raw_;
  }

  const CsvText& t_;
  std::string raw_;
  std::vector<std::string> fields_;
};

std::string LowerExtension(std::string_view path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF) holding at least one character beyond ASCII.
bool IsMultiByteUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  const uint8_t* end = p + bytes.size();
  bool multi = false;
  while ((p = scan::FindHighBit(p, end)) < end) {
    const uint8_t b = *p;
    const int n = b >= 0xC2 && b <= 0xDF   ? 1
                  : b >= 0xE0 && b <= 0xEF ? 2
                  : b >= 0xF0 && b <= 0xF4 ? 3
                                           : -1;
    if (n < 0 || end - p <= n) return false;
    for (int i = 1; i <= n; ++i)
      if ((p[i] & 0xC0) != 0x80) return false;
    if ((b == 0xE0 && p[1] < 0xA0) || (b == 0xED && p[1] >= 0xA0) || (b == 0xF0 && p[1] < 0x90) ||
        (b == 0xF4 && p[1] >= 0x90))
      return false;
    multi = true;
    p += n + 1;
  }
  return multi;
}

}  // namespace

std::string Utf16BytesToUtf8(std::string_view bytes, CsvTextCode order) {
  const bool le = order == CsvTextCode::Utf16Le;
  auto unit = [&](size_t i) -> uint32_t {
    const auto lo = static_cast<uint8_t>(bytes[i + (le ? 0 : 1)]);
    const auto hi = static_cast<uint8_t>(bytes[i + (le ? 1 : 0)]);
    return lo | hi << 8;
  };
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  const size_t n = bytes.size() / 2 * 2;
  for (size_t i = 0; i < n; i += 2) {
    const uint32_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 2 < n) {
      const uint32_t low = unit(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(out, c >= 0xD800 && c < 0xE000 ? kReplacement : c);
  }
  return out;
}

std::string MarkLineBreaks(std::string_view field, LineBreakMark mark) {
  if (field.find_first_of("\r\n") == std::string_view::npos) return std::string(field);
  const std::string_view shown = mark == LineBreakMark::Ret  ? "<Ret>"
                                 : mark == LineBreakMark::Lf ? "<Lf>"
                                                             : " ";
  std::string out;
  out.reserve(field.size() + 8);
  for (size_t i = 0; i < field.size(); ++i) {
    const char c = field[i];
    if (c != '\r' && c != '\n') {
      out += c;
      continue;
    }
    out += shown;
    if (c == '\r' && i + 1 < field.size() && field[i + 1] == '\n') ++i;
  }
  return out;
}

CsvText MakeCsvText(std::string bytes, CharCode detected) {
  CsvText t;
  switch (detected) {
    case CharCode::UTF8Bom:
      t.begin = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
      break;
    case CharCode::UTF8:
      break;
    case CharCode::UTF16BomBe:
    case CharCode::UTF16BomLe:
      t.begin = 2;
      [[fallthrough]];
    case CharCode::UTF16Be:
    case CharCode::UTF16Le:
      t.code = IsLittleEndian(detected) ? CsvTextCode::Utf16Le : CsvTextCode::Utf16Be;
      break;
    case CharCode::SJIS:
    case CharCode::Auto:
      // The editor's byte tests know UTF-8 only by its kana and full-width letters and fall
      // back to Shift-JIS; a text of kanji alone would lose every character. Shift-JIS text
      // is almost never well-formed UTF-8, so a text that is counts as UTF-8 here.
      t.code = IsMultiByteUtf8(bytes) ? CsvTextCode::Utf8 : CsvTextCode::Sjis;
      break;
  }
  t.bytes = std::move(bytes);
  t.begin = std::min(t.begin, t.bytes.size());
  t.end = IsUtf16(t.code) ? t.begin + (t.bytes.size() - t.begin) / 2 * 2 : t.bytes.size();
  return t;
}

Result<CsvText> ReadCsvFile(const std::string& path) {
  std::variant<DetectedFile, ReadError> read = ReadAndDetect(path, WorkingFiles::Skip());
  if (const ReadError* e = std::get_if<ReadError>(&read)) return e->error;
  DetectedFile& f = std::get<DetectedFile>(read);
  return MakeCsvText(std::move(f.bytes), f.detection.code);
}

CsvSeparator ChooseSeparator(std::string_view path, const CsvText& text) {
  const std::string ext = LowerExtension(path);
  if (ext == ".tsv" || ext == ".tab") return CsvSeparator::Tab;
  if (ext == ".csv" || text.begin >= text.end) return CsvSeparator::Comma;
  FieldCounter tabs;
  FieldCounter commas;
  WalkRecord(text, '\t', text.begin, tabs);
  WalkRecord(text, ',', text.begin, commas);
  return tabs.fields > commas.fields ? CsvSeparator::Tab : CsvSeparator::Comma;
}

CsvRecord ParseCsvRecord(const CsvText& text, CsvSeparator sep, size_t offset) {
  CsvRecord r;
  if (offset < text.begin || offset >= text.end) {
    r.next = text.end;
    return r;
  }
  FieldCollector fields(text);
  r.next = WalkRecord(text, SeparatorByte(sep), offset, fields);
  r.fields = fields.Take();
  return r;
}

CsvRecordIndex::CsvRecordIndex(const CsvText& text, CsvSeparator sep)
    : text_(&text), sep_(sep), pos_(text.begin) {}

CsvRecordIndex::Progress CsvRecordIndex::Advance(size_t budget) {
  const size_t stop = pos_ + std::max<size_t>(budget, 1);
  const uint8_t sep = SeparatorByte(sep_);
  while (pos_ < text_->end && pos_ < stop) {
    starts_.push_back(pos_);
    FieldCounter fields;
    pos_ = WalkRecord(*text_, sep, pos_, fields);
    max_fields_ = std::max(max_fields_, fields.fields);
  }
  return Finished() ? Progress::Done : Progress::More;
}

CsvRecordIndex::Progress CsvRecordIndex::Build(const std::atomic<bool>& cancel) {
  constexpr size_t kSlice = size_t{1} << 20;
  while (!cancel.load(std::memory_order_relaxed))
    if (Advance(kSlice) == Progress::Done) return Progress::Done;
  return Progress::More;
}

}  // namespace tessary
