// The colouring scheme and the base tokenizer: token scanning and the row-to-row state.
#include "editor/fountain.h"

#include <algorithm>
#include <array>

#include "base/sjis.h"
#include "editor/sjis_fold.h"

namespace tessary {
namespace {

// Upper-cased character of `text` at i, with its length; a lead byte at the end stays single.
struct FoldedChar {
  sjis::CharCode code;
  size_t length;
};
template <class ByteAt>
FoldedChar UpperAt(ByteAt at, size_t i, size_t n) {
  uint8_t b = at(i);
  if (sjis::IsLeadByte(b) && i + 1 < n)
    return {sjis::UpperChar(static_cast<sjis::CharCode>(b << 8 | at(i + 1))), 2};
  return {sjis::UpperByte(b), 1};
}

// Compares text (through `at`, n bytes) upper-cased with an upper-cased key, as bytes.
template <class ByteAt>
int CompareUpper(ByteAt at, size_t n, std::string_view key) {
  size_t i = 0, k = 0;
  while (i < n && k < key.size()) {
    FoldedChar c = UpperAt(at, i, n);
    uint8_t first =
        c.length == 2 ? static_cast<uint8_t>(c.code >> 8) : static_cast<uint8_t>(c.code);
    uint8_t kb = static_cast<uint8_t>(key[k]);
    if (first != kb) return first < kb ? -1 : 1;
    if (c.length == 2) {
      if (k + 1 >= key.size()) return 1;
      uint8_t second = static_cast<uint8_t>(c.code & 0xFF);
      uint8_t kb2 = static_cast<uint8_t>(key[k + 1]);
      if (second != kb2) return second < kb2 ? -1 : 1;
    }
    i += c.length;
    k += c.length;
  }
  if (i < n) return 1;
  if (k < key.size()) return -1;
  return 0;
}

bool IsDigit(uint8_t b) {
  return b >= '0' && b <= '9';
}
bool IsHexDigit(uint8_t b) {
  return IsDigit(b) || (b >= 'A' && b <= 'F') || (b >= 'a' && b <= 'f');
}
bool IsWordStart(uint8_t b) {
  return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '_';
}
bool IsWordByte(uint8_t b) {
  return IsWordStart(b) || IsDigit(b);
}
bool IsKanjiLead(uint8_t b) {
  return (b >= 0x88 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

constexpr uint16_t kLongVowel = 0x815B;  // "ー"
constexpr uint16_t kFullMinus = 0x817C;  // "－"
bool IsDBDigitRun(uint16_t c) {
  return (c >= 0x824F && c <= 0x8258) || c == 0x8143 || c == 0x8144;
}
bool IsDBAlph(uint16_t c) {
  return (c >= 0x8260 && c <= 0x8279) || (c >= 0x8281 && c <= 0x829A);
}
bool IsHiraRun(uint16_t c) {
  return (c >= 0x829F && c <= 0x82F1) || c == kLongVowel || c == kFullMinus;
}
bool IsKataRun(uint16_t c) {
  return (c >= 0x8340 && c <= 0x8396) || c == kLongVowel || c == kFullMinus;
}

// What the first byte of a new token selects.
enum class FirstByte : uint8_t {
  End,
  Tab,
  Digit,
  Word,
  DBSymbol,
  Lead82,
  Lead83,
  Kanji,
  KanaSymbol,
  Kana,
  SingleQuote,
  DoubleQuote,
  Other
};

constexpr std::array<FirstByte, 256> MakeFirstByteTable() {
  std::array<FirstByte, 256> t{};
  for (int b = 0; b < 256; ++b) {
    FirstByte f = FirstByte::Other;
    if (b == 0 || b == '\r' || b == '\n')
      f = FirstByte::End;
    else if (b == '\t')
      f = FirstByte::Tab;
    else if (b >= '0' && b <= '9')
      f = FirstByte::Digit;
    else if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '_')
      f = FirstByte::Word;
    else if (b == 0x81 || (b >= 0x84 && b <= 0x87))
      f = FirstByte::DBSymbol;
    else if (b == 0x82)
      f = FirstByte::Lead82;
    else if (b == 0x83)
      f = FirstByte::Lead83;
    else if ((b >= 0x88 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC))
      f = FirstByte::Kanji;
    else if (b >= 0xA1 && b <= 0xA5)
      f = FirstByte::KanaSymbol;
    else if (b >= 0xA6 && b <= 0xDF)
      f = FirstByte::Kana;
    else if (b == '\'')
      f = FirstByte::SingleQuote;
    else if (b == '"')
      f = FirstByte::DoubleQuote;
    t[b] = f;
  }
  return t;
}
constexpr std::array<FirstByte, 256> kFirstByte = MakeFirstByteTable();

// Bytes skipped before a token: control bytes and spaces, but not tab and not the end markers.
constexpr bool IsSkipped(uint8_t b) {
  return (b >= 0x01 && b <= 0x08) || (b >= 0x0B && b <= 0x20 && b != '\r');
}

}  // namespace

// ---- TReserveWordList ----

// One sort of the whole list, not an insertion per word: a word file of 100,000 words loads in
// n log n. The stable sort keeps each key's words in list order, so the first one stays.
void TReserveWordList::Assign(const std::vector<std::string>& words) {
  struct Entry {
    std::string key;
    size_t index;
  };
  std::vector<Entry> entries;
  entries.reserve(words.size());
  for (size_t i = 0; i < words.size(); ++i) entries.push_back({sjis::UpperCase(words[i]), i});
  std::stable_sort(entries.begin(), entries.end(),
                   [](const Entry& a, const Entry& b) { return a.key < b.key; });
  keys_.clear();
  words_.clear();
  keys_.reserve(entries.size());
  words_.reserve(entries.size());
  for (Entry& e : entries) {
    if (!keys_.empty() && keys_.back() == e.key) continue;
    keys_.push_back(std::move(e.key));
    words_.push_back(words[e.index]);
  }
}

bool TReserveWordList::Add(std::string word) {
  std::string key = sjis::UpperCase(word);
  auto it = std::lower_bound(keys_.begin(), keys_.end(), key);
  if (it != keys_.end() && *it == key) return false;
  size_t at = static_cast<size_t>(it - keys_.begin());
  keys_.insert(it, std::move(key));
  words_.insert(words_.begin() + static_cast<std::ptrdiff_t>(at), std::move(word));
  return true;
}

bool TReserveWordList::Contains(std::string_view head, std::string_view tail) const {
  if (keys_.empty() || head.size() + tail.size() == 0) return false;
  auto at = [&](size_t i) {
    return static_cast<uint8_t>(i < head.size() ? head[i] : tail[i - head.size()]);
  };
  size_t n = head.size() + tail.size();
  size_t lo = 0, hi = keys_.size();
  while (lo < hi) {
    size_t mid = (lo + hi) / 2;
    int c = CompareUpper(at, n, keys_[mid]);
    if (c == 0) return true;
    if (c > 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return false;
}

// ---- TFountain ----

TFountain::TFountain() : brackets_(Notifier()), reserve_(Notifier()) {}

TFountain::~TFountain() {
  // Copy: a listener may unregister itself while being told.
  std::vector<TFountainListener*> listeners = listeners_;
  for (TFountainListener* l : listeners) l->FountainRemoved(*this);
}

void TFountain::SetReserveWordList(const std::vector<std::string>& words) {
  reserveWords_.Assign(words);
  NotifyEventList();
}

void TFountain::AddListener(TFountainListener* listener) {
  if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
    listeners_.push_back(listener);
}

void TFountain::RemoveListener(TFountainListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void TFountain::NotifyEventList() {
  if (update_count_ > 0) {
    changed_in_update_ = true;
    return;
  }
  std::vector<TFountainListener*> listeners = listeners_;
  for (TFountainListener* l : listeners) l->FountainChanged(*this);
}

// The count drops before the listeners are told, so a listener that throws leaves no batch
// open.
void TFountain::EndUpdate() {
  if (update_count_ == 0 || --update_count_ > 0 || !changed_in_update_) return;
  changed_in_update_ = false;
  NotifyEventList();
}

std::unique_ptr<TFountainParser> TFountain::CreateParser() const {
  return std::make_unique<TFountainParser>(*this);
}

Result<std::unique_ptr<TFountainParser>> CreateFountainParser(const TFountain* fountain) {
  if (fountain == nullptr) return Error{"TFountainParser.Create need instance of TFountain"};
  return fountain->CreateParser();
}

// ---- TFountainParser: scanning ----

TFountainParser::TFountainParser(const TFountain& fountain) : fountain_(fountain) {}

void TFountainParser::Start(std::string_view row, std::string_view appended,
                            const TRowAttributeData& state) {
  row_ = row;
  appended_ = appended;
  pos_ = 0;
  tokenStart_ = 0;
  token_ = token::kEof;
  // A stored index of a pair that has since been removed (states not yet recomputed) must not
  // reach past the collection.
  bracketIndex_ =
      state.BracketIndex < fountain_.Brackets().Count() ? state.BracketIndex : kNoBracket;
  lastBracketPair_ = kNoBracket;
  elementIndex_ = state.ElementIndex;
  extraInt_ = state.ExtraInt;
  extraByte_ = state.ExtraByte;
  pendingKind_ = state.TokenKind;
  pendingRemain_ = state.Remain;
  isContinuation_ = false;
  rowAttribute_ = state.RowAttribute;
  prevRowAttribute_ = state.PrevRowAttribute;
}

bool TFountainParser::StartsWith(std::string_view s) const {
  for (size_t i = 0; i < s.size(); ++i)
    if (At(pos_ + static_cast<int64_t>(i)) != static_cast<uint8_t>(s[i]) ||
        IsEndMarker(At(pos_ + static_cast<int64_t>(i))))
      return false;
  return !s.empty();
}

bool TFountainParser::StartsWithIgnoreCase(std::string_view s) const {
  for (size_t i = 0; i < s.size(); ++i) {
    uint8_t b = At(pos_ + static_cast<int64_t>(i));
    if (IsEndMarker(b) || sjis::UpperByte(b) != sjis::UpperByte(static_cast<uint8_t>(s[i])))
      return false;
  }
  return !s.empty();
}

uint8_t TFountainParser::NextToken() {
  isContinuation_ = false;
  while (IsSkipped(At(pos_))) ++pos_;
  tokenStart_ = pos_;
  if (IsEndMarker(At(pos_))) {
    pendingKind_ = 0;
    pendingRemain_ = 0;
    token_ = token::kEof;
    return token_;
  }
  if (pendingKind_ != 0) {
    uint8_t kind = pendingKind_;
    int32_t remain = pendingRemain_;
    pendingKind_ = 0;
    pendingRemain_ = 0;
    isContinuation_ = true;
    token_ = kind;
    if (remain > 0) {
      for (int32_t i = 0; i < remain && !IsEndMarker(At(pos_)); ++i) ++pos_;
      if (kind == token::kBracket) {
        lastBracketPair_ = bracketIndex_;
        bracketIndex_ = kNoBracket;
      }
    } else {
      ScanContinued(kind);
    }
    return token_;
  }
  if (bracketIndex_ >= 0) {
    token_ = token::kBracket;
    ContinueBracketSpan();
    return token_;
  }
  ScanNew();
  if (pos_ == tokenStart_) ++pos_;  // every token consumes at least one byte
  return token_;
}

void TFountainParser::ScanNew() {
  if (TryOpenBracket()) return;
  ScanByFirstByte();
}

bool TFountainParser::TryOpenBracket() {
  const TFountainBracketCollection& brackets = fountain_.Brackets();
  for (int i = 0; i < brackets.Count(); ++i) {
    const std::string& left = brackets.Item(i).LeftBracket();
    if (!left.empty() && StartsWith(left)) {
      token_ = token::kBracket;
      bracketIndex_ = i;
      pos_ += static_cast<int64_t>(left.size());
      ContinueBracketSpan();
      return true;
    }
  }
  return false;
}

void TFountainParser::ContinueBracketSpan() {
  lastBracketPair_ = bracketIndex_;
  const std::string& right = fountain_.Brackets().Item(bracketIndex_).RightBracket();
  while (!IsEndMarker(At(pos_))) {
    if (!right.empty() && StartsWith(right)) {
      pos_ += static_cast<int64_t>(right.size());
      bracketIndex_ = kNoBracket;
      return;
    }
    pos_ += (sjis::IsLeadByte(At(pos_)) && !IsEndMarker(At(pos_ + 1))) ? 2 : 1;
  }
  // A pair without a right bracket cannot close: its span ends with the scanned text.
  if (right.empty()) bracketIndex_ = kNoBracket;
}

void TFountainParser::ScanQuoted(uint8_t quote) {
  while (!IsEndMarker(At(pos_))) {
    uint8_t b = At(pos_);
    if (b == quote) {
      if (At(pos_ + 1) == quote) {  // a doubled quote stands for itself
        pos_ += 2;
        continue;
      }
      ++pos_;
      return;
    }
    pos_ += (sjis::IsLeadByte(b) && !IsEndMarker(At(pos_ + 1))) ? 2 : 1;
  }
}

void TFountainParser::ScanDigits() {
  while (IsDigit(At(pos_))) ++pos_;
}

void TFountainParser::ScanHexDigits() {
  while (IsHexDigit(At(pos_))) ++pos_;
}

void TFountainParser::ScanNumberTail() {
  if (At(pos_) == '.') {
    token_ = token::kFloat;
    uint8_t after = At(pos_ + 1);
    if (!IsDigit(after) && after != 'E' && after != 'e') return;
    ++pos_;
    ScanDigits();
  }
  if (At(pos_) == 'E' || At(pos_) == 'e') {
    token_ = token::kFloat;
    ++pos_;
    if (At(pos_) == '+' || At(pos_) == '-') ++pos_;
    ScanDigits();
  }
}

void TFountainParser::ScanWordTail() {
  while (IsWordByte(At(pos_))) ++pos_;
}

void TFountainParser::ScanKanjiRun() {
  while (IsKanjiLead(At(pos_))) pos_ += At(pos_ + 1) > 0x3F ? 2 : 1;
}

void TFountainParser::ScanKanaRun() {
  while (At(pos_) >= 0xA6 && At(pos_) <= 0xDF) ++pos_;
}

void TFountainParser::ScanDBRun(bool (*member)(uint16_t)) {
  while (member(DoubleAt(pos_))) pos_ += 2;
}

void TFountainParser::ScanByFirstByte() {
  uint8_t b = At(pos_);
  switch (kFirstByte[b]) {
    case FirstByte::End:
      token_ = token::kEof;
      return;
    case FirstByte::Tab:
      token_ = token::kTab;
      ++pos_;
      return;
    case FirstByte::Digit:
      token_ = token::kInteger;
      ScanDigits();
      ScanNumberTail();
      return;
    case FirstByte::Word:
      token_ = token::kAnk;
      ++pos_;
      ScanWordTail();
      return;
    case FirstByte::DBSymbol:
      token_ = token::kDBSymbol;
      break;
    case FirstByte::Lead82: {
      uint8_t t = At(pos_ + 1);
      if (t >= 0x4F && t <= 0x58) {
        token_ = token::kDBInt;
        ScanDBRun(IsDBDigitRun);
        return;
      }
      if ((t >= 0x60 && t <= 0x79) || (t >= 0x81 && t <= 0x9A)) {
        token_ = token::kDBAlph;
        ScanDBRun(IsDBAlph);
        return;
      }
      if (t >= 0x9F && t <= 0xF1) {
        token_ = token::kDBHira;
        ScanDBRun(IsHiraRun);
        return;
      }
      token_ = token::kDBSymbol;
      break;
    }
    case FirstByte::Lead83: {
      uint8_t t = At(pos_ + 1);
      if (t >= 0x40 && t <= 0x96) {
        token_ = token::kDBKana;
        ScanDBRun(IsKataRun);
        return;
      }
      token_ = token::kDBSymbol;
      break;
    }
    case FirstByte::Kanji:
      token_ = token::kDBKanji;
      ScanKanjiRun();
      return;
    case FirstByte::KanaSymbol:
      token_ = token::kKanaSymbol;
      ++pos_;
      return;
    case FirstByte::Kana:
      token_ = token::kKana;
      ScanKanaRun();
      return;
    case FirstByte::SingleQuote:
    case FirstByte::DoubleQuote:
      if (QuotesAreTokens()) {
        token_ = b == '\'' ? token::kSingleQuotation : token::kDoubleQuotation;
        ++pos_;
        ScanQuoted(b);
        return;
      }
      [[fallthrough]];
    case FirstByte::Other:
      token_ = token::kSymbol;
      ++pos_;
      return;
  }
  // A double-byte symbol: two bytes when a valid trail follows, else the lead alone.
  uint8_t trail = At(pos_ + 1);
  if (trail >= sjis::kFirstTrailByte && !IsEndMarker(trail)) {
    pos_ += 2;
  } else {
    token_ = token::kSymbol;
    ++pos_;
  }
}

void TFountainParser::ScanContinued(uint8_t kind) {
  switch (kind) {
    case token::kComment:
      while (!IsEndMarker(At(pos_))) ++pos_;
      return;
    case token::kSingleQuotation:
      ScanQuoted('\'');
      return;
    case token::kDoubleQuotation:
      ScanQuoted('"');
      return;
    case token::kInteger:
    case token::kFloat:
      // A number cut right after its exponent letter goes on with the exponent's sign.
      if (At(pos_) == '+' || At(pos_) == '-') ++pos_;
      ScanDigits();
      ScanNumberTail();
      token_ = kind == token::kFloat ? token::kFloat : token_;
      return;
    case token::kAnk:
      ScanWordTail();
      return;
    case token::kDBInt:
      ScanDBRun(IsDBDigitRun);
      return;
    case token::kDBAlph:
      ScanDBRun(IsDBAlph);
      return;
    case token::kDBHira:
      ScanDBRun(IsHiraRun);
      return;
    case token::kDBKana:
      ScanDBRun(IsKataRun);
      return;
    case token::kDBKanji:
      ScanKanjiRun();
      return;
    case token::kKana:
      ScanKanaRun();
      return;
    case token::kBracket:
      if (bracketIndex_ >= 0)
        ContinueBracketSpan();
      else
        ++pos_;
      return;
    default:
      // A reserved word, or a kind with no rule of its own: by the rule of the row's first
      // byte, keeping the kind carried over.
      ScanByFirstByte();
      token_ = kind;
      if (pos_ == tokenStart_) ++pos_;
      return;
  }
}

bool TFountainParser::RunsToItsEnd(uint8_t kind) const {
  return kind == token::kComment || kind == token::kSingleQuotation ||
         kind == token::kDoubleQuotation;
}

const TFountainColor* TFountainParser::KindColor(uint8_t kind) const {
  if (kind == token::kReserve) return &fountain_.Reserve();
  if (kind == token::kBracket && lastBracketPair_ >= 0 &&
      lastBracketPair_ < fountain_.Brackets().Count())
    return &fountain_.Brackets().Item(lastBracketPair_).ItemColor();
  return nullptr;
}

std::string_view TFountainParser::TokenHead() const {
  int64_t n = RowLength();
  int64_t s = std::min(tokenStart_, n), e = std::min(pos_, n);
  return row_.substr(static_cast<size_t>(s), static_cast<size_t>(e - s));
}

std::string_view TFountainParser::TokenTail() const {
  int64_t n = RowLength();
  int64_t s = std::max(tokenStart_, n) - n, e = std::max(pos_, n) - n;
  return appended_.substr(static_cast<size_t>(s), static_cast<size_t>(e - s));
}

uint8_t TFountainParser::EffectiveKind() const {
  if (isContinuation_ || token_ == token::kEof || token_ == token::kBracket ||
      token_ == token::kComment)
    return token_;
  return fountain_.ReserveWordList().Contains(TokenHead(), TokenTail()) ? token::kReserve : token_;
}

const TFountainColor* TFountainParser::TokenColor() const {
  return KindColor(EffectiveKind());
}

// ---- TFountainParser: the state at the start of the next row ----

// Nothing carried in and no wrap: only a bracket span opened on the row could reach the next
// one, so a row without the first byte of any opening bracket (a trail byte counts, which errs
// on the side of scanning) passes the state on as it is. Re-colouring a long document up to a
// view at its end then tokenizes only the rows that might open a span.
bool TFountainParser::PassesStateOn(std::string_view row, const TRowAttributeData& state) const {
  if (!OnlyBracketSpansCrossRows() || state.RowAttribute == RowEnd::RowWrapped ||
      state.TokenKind != 0 || state.Remain != 0 || state.BracketIndex != kNoBracket)
    return false;
  const TFountainBracketCollection& brackets = fountain_.Brackets();
  for (int i = 0; i < brackets.Count(); ++i) {
    const std::string& left = brackets.Item(i).LeftBracket();
    if (!left.empty() && row.find(left.front()) != std::string_view::npos) return false;
  }
  return true;
}

TRowAttributeData TFountainParser::NextRowState(std::string_view row, std::string_view appended,
                                                RowEnd nextRowAttribute,
                                                const TRowAttributeData& state) {
  if (PassesStateOn(row, state)) return state;
  TRowAttributeData out = state;
  if (state.TokenKind == token::kComment) {  // a comment ends with its logical line
    out.Remain = 0;
    if (state.RowAttribute != RowEnd::RowWrapped) out.TokenKind = 0;
    return out;
  }
  if (std::all_of(row.begin(), row.end(), [](char c) { return c == ' '; })) return out;
  if (state.RowAttribute != RowEnd::RowWrapped) appended = {};

  Start(row, appended, state);
  const int64_t rowLength = RowLength();
  const int64_t textEnd = rowLength + static_cast<int64_t>(appended.size());
  bool any = false;
  int64_t lastStart = 0, lastEnd = 0;
  uint8_t lastKind = 0;
  int32_t elementBefore = out.ElementIndex;
  int32_t spanPair = kNoBracket;
  while (NextToken() != token::kEof) {
    any = true;
    elementBefore = out.ElementIndex;
    out.BracketIndex = bracketIndex_;
    if (token_ == token::kBracket) spanPair = lastBracketPair_;
    lastStart = tokenStart_;
    lastEnd = pos_;
    lastKind = token_;
    if (lastEnd > rowLength) {
      lastKind = EffectiveKind();  // only a token carried over needs the reserved-word test
      break;
    }
    out.ElementIndex = elementIndex_;
    out.ExtraByte = extraByte_;
  }
  out.Remain = 0;
  out.TokenKind = 0;
  if (!any) return out;
  if (lastStart >= rowLength) {  // the last token belongs to the next row
    out.BracketIndex = kNoBracket;
    return out;
  }
  if (lastEnd <= rowLength) return out;

  // The last token straddles the row end.
  out.ElementIndex = elementBefore;
  if (lastKind == token::kBracket && spanPair >= 0) {
    if (bracketIndex_ == kNoBracket) {  // closed inside the appended text: open at the boundary
      out.BracketIndex = spanPair;
      int64_t after = lastEnd - rowLength;
      const std::string& right = fountain_.Brackets().Item(spanPair).RightBracket();
      if (after < static_cast<int64_t>(right.size())) {
        out.TokenKind = token::kBracket;
        out.Remain = static_cast<int32_t>(after);
      }
    }
    return out;
  }
  out.TokenKind = lastKind;
  if (RunsToItsEnd(lastKind)) return out;
  if (lastEnd >= textEnd && nextRowAttribute == RowEnd::RowWrapped) return out;
  out.Remain = static_cast<int32_t>(lastEnd - rowLength);
  return out;
}

}  // namespace tessary
