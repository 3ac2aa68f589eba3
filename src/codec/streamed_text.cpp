// Reading, checking and decoding a file's lines one piece at a time.
#include "codec/streamed_text.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>
#include <utility>

#include "base/byte_scan.h"
#include "codec/char_code_detector.h"
#include "codec/document_saver.h"
#include "codec/sjis_line_splitter.h"
#include "codec/utf_text_decoder.h"
#include "platform/worker_thread.h"

namespace tessary {
namespace {

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
  if (const size_t lf = piece.rfind('\n'); lf != std::string_view::npos) return lf + 1;
  if (const size_t cr = piece.substr(0, piece.size() - 1).rfind('\r'); cr != std::string_view::npos)
    return cr + 1;
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

using TextSink = std::function<void(std::string_view)>;

// Where a piece's text goes: each line to `lines`; or, when `runs` is set, texts that are the
// lines each followed by `eol`; or, when `text` is set, those texts appended to it (a piece
// that already is them is moved there, without a copy).
struct Receiver {
  const TextSink* lines = nullptr;
  const TextSink* runs = nullptr;
  std::string_view eol;
  std::string* text = nullptr;

  void Run(std::string_view run) const {
    if (text) {
      text->append(run);
    } else {
      (*runs)(run);
    }
  }
  bool Joined() const { return runs || text; }
  // A whole piece of joined text, followed by eol where its last line has none.
  void Whole(std::string&& piece) const {
    const bool ends = std::string_view(piece).ends_with(eol);
    if (text && text->empty()) {
      *text = std::move(piece);
    } else {
      Run(piece);
    }
    if (!ends) Run(eol);
  }
};

// What the start decided about the file a piece comes from, and whether it is the first piece.
struct PieceFrom {
  CharCode code;
  RetCode ret;
  bool first;
};

// Checks a piece of whole lines against what the start decided, then decodes it as a whole load
// decodes the file, and hands on its text. False when the piece holds what the start could not
// promise.
bool PassPiece(std::string&& piece, const PieceFrom& from, const Receiver& to,
               StreamedText::Tally& tally) {
  if (piece.empty()) return true;  // the file ended with the last piece's line end
  const CharCode code = from.code;
  const Utf8Mark mark = from.first && code == CharCode::UTF8Bom ? Utf8Mark::Drop : Utf8Mark::Keep;
  if (code != CharCode::SJIS && to.Joined() && to.eol == LineEndBytes(from.ret)) {
    // Written with the file's own line end: decoded with its line ends in place. The decoder
    // checks each of them, so it also counts them; a piece it refuses (another line end, which
    // leaves the file mixed or not the start's anyway, or a zero byte, as below) stops the
    // pieces, and the whole load takes over.
    DecodedRun decoded = DecodeUtf8RunInPlace(std::move(piece), mark, to.eol);
    if (!decoded.ok) return false;
    tally.some_text |= !decoded.text.empty();  // a mark alone is no text
    tally.cr += to.eol.starts_with('\r') ? decoded.line_ends : 0;
    tally.lf += to.eol.ends_with('\n') ? decoded.line_ends : 0;
    tally.replaced += decoded.replaced_chars;
    to.Whole(std::move(decoded.text));
    return true;
  }
  const auto* d = reinterpret_cast<const uint8_t*>(piece.data());
  const scan::PairCount n = scan::CountTwo(d, d + piece.size(), '\r', '\n');
  tally.cr += n.a;
  tally.lf += n.b;
  // A zero byte lets detection consider 16-bit codes and cuts the text; an EOF mark ends a
  // Shift-JIS text. Either is left to the whole load.
  if (std::memchr(piece.data(), 0, piece.size()) != nullptr) return false;
  if (code == CharCode::SJIS && std::memchr(piece.data(), kEofMark, piece.size()) != nullptr)
    return false;
  if (code == CharCode::SJIS && to.Joined() && JoinedBy(piece, to.eol, n)) {
    // Already the joined text (of one line at least): handed on as it is, unsplit.
    tally.some_text = true;
    to.Whole(std::move(piece));
    return true;
  }
  const auto hand = [&](const TextLines& lines) {
    tally.some_text |= !lines.Empty();
    for (size_t i = 0; i < lines.Count(); ++i) {
      if (to.Joined()) {
        to.Run(lines.Line(i));
        to.Run(to.eol);
      } else {
        (*to.lines)(lines.Line(i));
      }
    }
  };
  if (code == CharCode::SJIS) {
    const SjisSplit split = SplitSjisFileInPlace(std::move(piece), n.a + n.b);
    if (split.cut_short) return false;
    hand(split.lines);
    return true;
  }
  const DecodedText decoded = DecodeUtf8InPlace(std::move(piece), mark);
  if (!decoded.ok || decoded.cut_short) return false;
  tally.replaced += decoded.replaced_chars;
  hand(decoded.lines);
  return true;
}

// The code without its mark: what every piece after the first is written in.
CharCode WithoutMark(CharCode code) {
  switch (code) {
    case CharCode::UTF8Bom:
      return CharCode::UTF8;
    case CharCode::UTF16BomBe:
      return CharCode::UTF16Be;
    case CharCode::UTF16BomLe:
      return CharCode::UTF16Le;
    default:
      return code;
  }
}

// One piece decoded and encoded on its own into `out` (emptied first; its room is reused, unless
// the piece's own buffer becomes the output): false when the piece stopped the text. Touches
// nothing shared, so it runs on any thread.
bool EncodePiece(std::string&& piece, const PieceFrom& from, CharCode to, RetCode ret,
                 std::string& out, StreamedText::Tally& tally) {
  bool passed = true;
  const auto lines = [&](const TextSink& sink) {
    passed = PassPiece(std::move(piece), from, Receiver{&sink, nullptr, {}}, tally);
  };
  const auto joined = [&](std::string_view eol, const TextSink& run) {
    passed = PassPiece(std::move(piece), from, Receiver{nullptr, &run, eol}, tally);
  };
  out.clear();
  if (to == CharCode::SJIS)  // the lines already are in the output's code: nothing to encode
    return PassPiece(std::move(piece), from, Receiver{nullptr, nullptr, LineEndBytes(ret), &out},
                     tally);
  const int rc = EncodeDocumentInPieces(LineSource::VisitingJoined(lines, joined),
                                        from.first ? to : WithoutMark(to), ret,
                                        [&out](std::string_view bytes) {
                                          out.append(bytes);
                                          return 0;
                                        });
  return rc == 0 && passed;
}

}  // namespace

void StreamedText::Tally::Add(const Tally& t) {
  cr += t.cr;
  lf += t.lf;
  replaced += t.replaced;
  some_text |= t.some_text;
}

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
  visitor_ = [this](const TextSink& sink) { Visit(&sink, nullptr, {}); };
  joined_visitor_ = [this](std::string_view eol, const TextSink& run) {
    Visit(nullptr, &run, eol);
  };
  return LineSource::VisitingJoined(visitor_, joined_visitor_);
}

size_t StreamedText::StartBytes() const {
  return at_end_ ? carry_.size() : AfterLastLineEnd(carry_);
}

TextLines StreamedText::StartLines() const {
  std::string start(carry_, 0, StartBytes());
  if (code_ == CharCode::SJIS) return SplitSjisFileInPlace(std::move(start)).lines;
  const Utf8Mark mark = code_ == CharCode::UTF8Bom ? Utf8Mark::Drop : Utf8Mark::Keep;
  DecodedText decoded = DecodeUtf8InPlace(std::move(start), mark);
  return decoded.ok ? std::move(decoded.lines) : TextLines();
}

bool StreamedText::Confirmed() const {
  const bool mixed = tally_.cr > 0 && tally_.lf > 0 && tally_.cr != tally_.lf;
  return visited_ && !stopped_ && tally_.some_text && !mixed &&
         RetOfCounts(tally_.cr, tally_.lf) == ret_;
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

std::optional<std::string> StreamedText::NextPiece() {
  if (read_all_ || stopped_) return std::nullopt;
  std::string piece = std::move(carry_);
  carry_.clear();
  size_t cut = 0;
  for (;;) {
    if (!at_end_ && piece.size() < piece_bytes_ && !ReadMore(piece)) {
      stopped_ = true;
      return std::nullopt;
    }
    cut = at_end_ ? piece.size() : AfterLastLineEnd(piece);
    if (cut > 0 || at_end_) break;
    if (!ReadMore(piece)) {  // one line longer than a piece: the piece grows until it ends
      stopped_ = true;
      return std::nullopt;
    }
  }
  carry_.assign(piece, cut, std::string::npos);
  piece.resize(cut);
  read_all_ = at_end_ && carry_.empty();
  return piece;
}

void StreamedText::Visit(const TextSink* lines, const TextSink* runs, std::string_view eol) {
  if (visited_) {  // the pieces are gone: a second visit could only give other lines
    stopped_ = true;
    return;
  }
  visited_ = true;
  bool first = true;
  while (std::optional<std::string> piece = NextPiece()) {
    if (!PassPiece(std::move(*piece), PieceFrom{code_, ret_, first}, Receiver{lines, runs, eol},
                   tally_)) {
      stopped_ = true;
      return;
    }
    first = false;
  }
}

int StreamedText::EncodeInPieces(CharCode code, RetCode ret, const PieceWriter& put) {
  // Without line ends, UTF-8 is made from the text joined across pieces: one piece after the
  // other, on this thread.
  const auto on_this_thread = [&] {
    const int rc = EncodeDocumentInPieces(Lines(), code, ret, put);
    return rc != 0 ? rc : stopped_ ? ECANCELED : 0;
  };
  if ((code == CharCode::UTF8 || code == CharCode::UTF8Bom) && ret == RetCode::None)
    return on_this_thread();
  // Pieces go to the workers in turn and are written in the same turn, so that the output keeps
  // their order; this thread only reads and writes. One lane more than two cores run at once:
  // a lane whose piece is made while an earlier one is still being made waits for its turn to
  // be written, and the third keeps both cores decoding meanwhile (8% faster on two cores).
  constexpr size_t kLanes = 3;
  struct Lane {
    WorkerThread worker;
    std::string out, done;  // the piece being made and the last one made, reused in turn
    Tally tally;
    bool passed = true;
    bool busy = false;
  };
  std::unique_ptr<std::array<Lane, kLanes>> made;
  try {
    made = std::make_unique<std::array<Lane, kLanes>>();
  } catch (const std::system_error&) {  // no thread to be had: the same work, on this one
    return on_this_thread();
  }
  std::array<Lane, kLanes>& lanes = *made;
  if (visited_) {
    stopped_ = true;
    return ECANCELED;
  }
  visited_ = true;
  bool first = true;
  const auto start = [&](Lane& lane) {
    std::optional<std::string> piece = NextPiece();
    if (!piece) return;
    lane.tally = Tally();
    lane.busy = true;
    lane.worker.Start([&lane, this, code, ret, input = std::move(*piece), first]() mutable {
      lane.passed = EncodePiece(std::move(input), PieceFrom{code_, ret_, first}, code, ret,
                                lane.out, lane.tally);
    });
    first = false;
  };
  const auto wait_all = [&] {
    for (Lane& lane : lanes) lane.worker.Wait();
  };
  for (Lane& lane : lanes) start(lane);
  for (size_t k = 0; lanes[k].busy; k = (k + 1) % lanes.size()) {
    Lane& lane = lanes[k];
    lane.worker.Wait();
    lane.busy = false;
    if (!lane.passed || stopped_) {
      wait_all();
      stopped_ = true;
      return ECANCELED;
    }
    tally_.Add(lane.tally);
    // The lane makes its next piece while this one is written.
    lane.out.swap(lane.done);
    start(lane);
    if (const int rc = put(lane.done); rc != 0) {
      wait_all();
      return rc;
    }
  }
  return stopped_ ? ECANCELED : 0;
}

}  // namespace tessary
