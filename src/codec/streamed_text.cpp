// Reading, checking and decoding a file's lines one piece at a time.
#include "codec/streamed_text.h"

#include <cstring>
#include <utility>

#include "base/byte_scan.h"
#include "codec/char_code_detector.h"
#include "codec/sjis_line_splitter.h"
#include "codec/utf_text_decoder.h"

namespace tessary {
namespace {

constexpr char kEofMark = 26;

// The line end a whole file's CR and LF counts give, as detection gives it.
RetCode RetOfCounts(uint64_t cr, uint64_t lf) {
  if (cr > 0 && lf > 0) return RetCode::CrLf;
  if (cr > 0) return RetCode::Cr;
  if (lf > 0) return RetCode::Lf;
  return RetCode::None;
}

// Where a piece may end so that no line end is split and no line is cut: after its last LF, or
// after its last CR when the byte after it is known and is no LF. 0 when there is no such place.
size_t AfterLastLineEnd(std::string_view piece) {
  if (piece.empty()) return 0;
  if (const void* lf = ::memrchr(piece.data(), '\n', piece.size()))
    return static_cast<size_t>(static_cast<const char*>(lf) - piece.data()) + 1;
  if (const void* cr = ::memrchr(piece.data(), '\r', piece.size() - 1))
    return static_cast<size_t>(static_cast<const char*>(cr) - piece.data()) + 1;
  return 0;
}

// Whether a Shift-JIS piece (no zero byte or EOF mark, `n` its CR and LF counts) already is
// its lines each followed by eol, but for a last line without one.
bool JoinedBy(std::string_view piece, std::string_view eol, const scan::PairCount& n) {
  if (eol == "\r\n") return IsJoinedCrLfText(piece);
  if (eol == "\n") return n.a == 0;
  if (eol == "\r") return n.b == 0;
  return n.a == 0 && n.b == 0;  // one line
}

}  // namespace

std::optional<StreamedText> StreamedText::Open(const std::string& path, CharCode requested,
                                               size_t piece_bytes) {
  Result<FileReader> reader = FileReader::Open(path);
  if (!reader) return std::nullopt;
  StreamedText t(std::move(reader).value(), piece_bytes < 1 ? 1 : piece_bytes);
  const uint64_t size = t.reader_.Size();
  const size_t start = static_cast<size_t>(std::min<uint64_t>(size, kStartBytes));
  t.carry_.resize(start);
  Result<size_t> got = t.reader_.Read(t.carry_.data(), start);
  if (!got || got.value() != start) return std::nullopt;
  t.at_end_ = start == size;
  const std::optional<StartDecision> decided = DecideFromStart(t.carry_, size);
  if (!decided || decided->invalid_char_found) return std::nullopt;
  t.code_ = requested == CharCode::Auto ? decided->code : requested;
  if (t.code_ != CharCode::SJIS && t.code_ != CharCode::UTF8 && t.code_ != CharCode::UTF8Bom)
    return std::nullopt;
  const auto* d = reinterpret_cast<const uint8_t*>(t.carry_.data());
  const scan::PairCount n = scan::CountTwo(d, d + t.carry_.size(), '\r', '\n');
  t.ret_ = RetOfCounts(n.a, n.b);
  return t;
}

LineSource StreamedText::Lines() {
  // Made here, where the text stays while its lines are visited.
  visitor_ = [this](const TextSink& sink) { Visit(Receiver{&sink, nullptr, {}}); };
  joined_visitor_ = [this](std::string_view eol, const TextSink& run) {
    Visit(Receiver{nullptr, &run, eol});
  };
  return LineSource::VisitingJoined(visitor_, joined_visitor_);
}

TextLines StreamedText::StartLines() const {
  std::string start(carry_, 0, at_end_ ? carry_.size() : AfterLastLineEnd(carry_));
  if (code_ == CharCode::SJIS) return SplitSjisFileInPlace(std::move(start)).lines;
  const Utf8Mark mark = code_ == CharCode::UTF8Bom ? Utf8Mark::Drop : Utf8Mark::Keep;
  DecodedText decoded = DecodeUtf8InPlace(std::move(start), mark);
  return decoded.ok ? std::move(decoded.lines) : TextLines();
}

bool StreamedText::Confirmed() const {
  const bool mixed = cr_ > 0 && lf_ > 0 && cr_ != lf_;
  return visited_ && !stopped_ && some_text_ && !mixed && RetOfCounts(cr_, lf_) == ret_;
}

// Appends up to a piece of the file; the end is reached when fewer bytes come.
bool StreamedText::ReadMore(std::string& piece) {
  const size_t at = piece.size();
  piece.resize(at + piece_bytes_);
  Result<size_t> got = reader_.Read(piece.data() + at, piece_bytes_);
  if (!got) return false;
  piece.resize(at + got.value());
  if (got.value() < piece_bytes_) at_end_ = true;
  return true;
}

void StreamedText::Visit(const Receiver& to) {
  if (visited_) {  // the pieces are gone: a second visit could only give other lines
    stopped_ = true;
    return;
  }
  visited_ = true;
  bool first = true;
  while (!stopped_) {
    std::string piece = std::move(carry_);
    carry_.clear();
    size_t cut = 0;
    for (;;) {
      if (!at_end_ && piece.size() < piece_bytes_ && !ReadMore(piece)) {
        stopped_ = true;
        return;
      }
      cut = at_end_ ? piece.size() : AfterLastLineEnd(piece);
      if (cut > 0 || at_end_) break;
      if (!ReadMore(piece)) {  // one line longer than a piece: the piece grows until it ends
        stopped_ = true;
        return;
      }
    }
    carry_.assign(piece, cut, std::string::npos);
    piece.resize(cut);
    const bool last = at_end_ && carry_.empty();
    if (!PassPiece(std::move(piece), first, to)) stopped_ = true;
    first = false;
    if (last) return;
  }
}

// Checks a piece of whole lines against what the start decided, then decodes it as a whole load
// decodes the file, and hands on its text.
bool StreamedText::PassPiece(std::string&& piece, bool first, const Receiver& to) {
  if (piece.empty()) return true;  // the file ended with the last piece's line end
  // A zero byte lets detection consider 16-bit codes and cuts the text; an EOF mark ends a
  // Shift-JIS text. Either is left to the whole load.
  if (std::memchr(piece.data(), 0, piece.size()) != nullptr) return false;
  if (code_ == CharCode::SJIS && std::memchr(piece.data(), kEofMark, piece.size()) != nullptr)
    return false;
  const auto* d = reinterpret_cast<const uint8_t*>(piece.data());
  const scan::PairCount n = scan::CountTwo(d, d + piece.size(), '\r', '\n');
  cr_ += n.a;
  lf_ += n.b;
  if (code_ == CharCode::SJIS && to.runs && JoinedBy(piece, to.eol, n)) {
    // Already the joined text (of one line at least): handed on as it is, unsplit.
    some_text_ = true;
    (*to.runs)(piece);
    if (!to.eol.empty() && !std::string_view(piece).ends_with(to.eol)) (*to.runs)(to.eol);
    return true;
  }
  const auto hand = [&](const TextLines& lines) {
    some_text_ |= !lines.Empty();
    for (size_t i = 0; i < lines.Count(); ++i) {
      if (to.runs) {
        (*to.runs)(lines.Line(i));
        (*to.runs)(to.eol);
      } else {
        (*to.lines)(lines.Line(i));
      }
    }
  };
  if (code_ == CharCode::SJIS) {
    const SjisSplit split = SplitSjisFileInPlace(std::move(piece), n.a + n.b);
    if (split.cut_short) return false;
    hand(split.lines);
    return true;
  }
  const Utf8Mark mark = first && code_ == CharCode::UTF8Bom ? Utf8Mark::Drop : Utf8Mark::Keep;
  const DecodedText decoded = DecodeUtf8InPlace(std::move(piece), mark);
  if (!decoded.ok || decoded.cut_short) return false;
  replaced_chars_ += decoded.replaced_chars;
  hand(decoded.lines);
  return true;
}

}  // namespace tessary
