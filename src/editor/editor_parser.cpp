// The control's tokenizer rules and colours, drawn-row runs, and the document's row-state plug.
#include "editor/editor_parser.h"

#include <cstring>

namespace tessary {
namespace {

struct ByteSet {
  bool bits[256] = {};
};

constexpr ByteSet MakeSet(const char* extra) {
  ByteSet s;
  for (int b = '0'; b <= '9'; ++b) s.bits[b] = true;
  for (int b = 'A'; b <= 'Z'; ++b) s.bits[b] = true;
  for (int b = 'a'; b <= 'z'; ++b) s.bits[b] = true;
  for (const char* p = extra; *p != 0; ++p) s.bits[static_cast<uint8_t>(*p)] = true;
  return s;
}
constexpr ByteSet kMailSet = MakeSet("!$%&*,-./;=?@^_~");
constexpr ByteSet kUrlSet = MakeSet("#%&+-./:=?_~");


}  // namespace

void TEditorParser::ScanSet(const bool (&set)[256]) {
  while (set[At(pos_)]) ++pos_;
}

bool TEditorParser::TryMail() {
  uint8_t first = At(pos_);
  if (!kMailSet.bits[first] || first == '@') return false;
  bool at = false, dotAfterAt = false;
  int64_t end = pos_;
  for (; kMailSet.bits[At(end)]; ++end) {
    if (At(end) == '@') at = true;
    else if (at && At(end) == '.') dotAfterAt = true;
  }
  if (!dotAfterAt) return false;
  token_ = token::kMail;
  pos_ = end;
  return true;
}

bool TEditorParser::TryUrl() {
  if (!StartsWith("ftp:") && !StartsWith("http:") && !StartsWith("https:") && !StartsWith("www."))
    return false;
  token_ = token::kUrl;
  ScanSet(kUrlSet.bits);
  return true;
}

void TEditorParser::ScanNew() {
  const TEditorFountain& f = editorFountain_;
  if (TryOpenBracket()) return;
  if (f.Mail() && TryMail()) return;
  if (f.Url() && TryUrl()) return;
  if (StartsWith(f.Commenter())) {
    token_ = token::kComment;
    while (!IsEndMarker(At(pos_))) ++pos_;
    return;
  }
  if (!f.Quotation().empty() && At(pos_) == static_cast<uint8_t>(f.Quotation()[0])) {
    token_ = token::kQuotation;
    ++pos_;
    ScanQuoted(static_cast<uint8_t>(f.Quotation()[0]));
    return;
  }
  if (f.ControlCode() && StartsWith("#$")) {
    token_ = token::kHexControlCode;
    pos_ += 2;
    ScanHexDigits();
    return;
  }
  if (f.ControlCode() && At(pos_) == '#') {
    token_ = token::kControlCode;
    ++pos_;
    ScanDigits();
    return;
  }
  if (StartsWithIgnoreCase(f.HexPrefix())) {
    token_ = token::kHex;
    pos_ += static_cast<int64_t>(f.HexPrefix().size());
    ScanHexDigits();
    return;
  }
  ScanByFirstByte();
}

void TEditorParser::ScanContinued(uint8_t kind) {
  switch (kind) {
    case token::kUrl:
      ScanSet(kUrlSet.bits);
      break;
    case token::kMail:
      ScanSet(kMailSet.bits);
      break;
    case token::kHex:
    case token::kHexControlCode:
      ScanHexDigits();
      break;
    case token::kControlCode:
      ScanDigits();
      break;
    case token::kQuotation:
      if (!editorFountain_.Quotation().empty())
        ScanQuoted(static_cast<uint8_t>(editorFountain_.Quotation()[0]));
      break;
    default:
      TFountainParser::ScanContinued(kind);
      return;
  }
  if (pos_ == tokenStart_) ++pos_;
}

bool TEditorParser::RunsToItsEnd(uint8_t kind) const {
  return kind == token::kQuotation || TFountainParser::RunsToItsEnd(kind);
}

const TFountainColor* TEditorParser::KindColor(uint8_t kind) const {
  const TEditorColors& c = editorFountain_.Colors();
  switch (kind) {
    case token::kSymbol:
      return &c.Symbol();
    case token::kInteger:
    case token::kFloat:
    case token::kHex:
      return &c.Int();
    case token::kComment:
      return &c.Comment();
    case token::kAnk:
      return &c.Ank();
    case token::kDBSymbol:
    case token::kDBInt:
    case token::kDBAlph:
    case token::kDBHira:
    case token::kDBKana:
    case token::kDBKanji:
    case token::kKanaSymbol:
    case token::kKana:
      return &c.DBCS();
    case token::kUrl:
      return &c.Url();
    case token::kMail:
      return &c.Mail();
    case token::kQuotation:
    case token::kControlCode:
    case token::kHexControlCode:
      return &c.Str();
    default:
      return TFountainParser::KindColor(kind);  // brackets, reserved words, none
  }
}

void RowTokenRuns(const TFountain& fountain, std::string_view row, std::string_view nextRow,
                  const TRowAttributeData& state, std::vector<TTokenRun>& out) {
  out.clear();
  std::unique_ptr<TFountainParser> parser = fountain.CreateParser();
  std::string_view appended = state.RowAttribute == RowEnd::RowWrapped ? nextRow : std::string_view();
  parser->Start(row, appended, state);
  const int32_t length = static_cast<int32_t>(row.size());
  int32_t covered = 0;
  while (parser->NextToken() != token::kEof) {
    int32_t start = static_cast<int32_t>(parser->TokenStart());
    if (start >= length) break;
    int32_t end = static_cast<int32_t>(std::min<int64_t>(parser->TokenEnd(), length));
    if (start > covered) out.push_back({covered, start - covered, token::kEof, clNone, clNone, {}});
    TTokenRun run{start, end - start, parser->EffectiveKind(), clNone, clNone, {}};
    if (const TFountainColor* c = parser->TokenColor()) {
      run.color = c->Color();
      run.bkColor = c->BkColor();
      run.style = c->Style();
    }
    out.push_back(run);
    covered = end;
  }
  if (covered < length) out.push_back({covered, length - covered, token::kEof, clNone, clNone, {}});
}

TFountainRowStateTokenizer::TFountainRowStateTokenizer(const TFountain& fountain)
    : fountain_(fountain), parser_(fountain.CreateParser()) {}

TFountainRowStateTokenizer::~TFountainRowStateTokenizer() = default;

TRowAttributeData TFountainRowStateTokenizer::NextRowState(std::string_view rowText,
                                                           const TRowAttributeData& start) const {
  return parser_->NextRowState(rowText, {}, RowEnd::RowEndsLine, start);
}

TRowAttributeData TFountainRowStateTokenizer::NextWrappedRowState(
    std::string_view rowText, std::string_view nextRowText, RowEnd nextRowAttribute,
    const TRowAttributeData& start) const {
  return parser_->NextRowState(rowText, nextRowText, nextRowAttribute, start);
}

bool TFountainRowStateTokenizer::StatesRestartAtLineStart() const {
  return fountain_.StatesRestartAtLineStart();
}

}  // namespace tessary
