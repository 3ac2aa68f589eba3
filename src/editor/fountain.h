// A colouring scheme (brackets, reserved words, listeners) and the base tokenizer it makes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "editor/fountain_color.h"
#include "editor/row_attribute_data.h"

namespace tessary {

// Token kinds; a row stores the kind of a token continued from the row before.
namespace token {
constexpr uint8_t kEof = 0;  // end of row: a zero byte, CR, LF or the end of the text
constexpr uint8_t kSymbol = 1;
constexpr uint8_t kInteger = 3;
constexpr uint8_t kFloat = 4;
constexpr uint8_t kBracket = 6;
constexpr uint8_t kComment = 7;
constexpr uint8_t kReserve = 8;
constexpr uint8_t kTab = 9;
constexpr uint8_t kAnk = 11;
constexpr uint8_t kDBSymbol = 12;
constexpr uint8_t kDBInt = 14;
constexpr uint8_t kDBAlph = 15;
constexpr uint8_t kDBHira = 16;
constexpr uint8_t kDBKana = 17;
constexpr uint8_t kDBKanji = 18;
constexpr uint8_t kKanaSymbol = 19;
constexpr uint8_t kKana = 20;
constexpr uint8_t kUrl = 21;
constexpr uint8_t kMail = 22;
constexpr uint8_t kHex = 23;
constexpr uint8_t kSingleQuotation = 24;
constexpr uint8_t kDoubleQuotation = 25;
constexpr uint8_t kQuotation = 26;
constexpr uint8_t kControlCode = 27;
constexpr uint8_t kHexControlCode = 28;
}  // namespace token

class TFountain;
class TFountainParser;

// A view showing text coloured by a scheme.
class TFountainListener {
 public:
  virtual ~TFountainListener() = default;
  // Something in the scheme changed: recompute the row states and redraw.
  virtual void FountainChanged(const TFountain& fountain) = 0;
  // The scheme is being destroyed: fall back to the view's own scheme.
  virtual void FountainRemoved(const TFountain& fountain) = 0;
};

// Sorted, case-insensitive, duplicate-free list of reserved words. Lookup of a token needs no
// allocation: words are also kept upper-cased (code page 932 upper-casing) for comparison.
class TReserveWordList {
 public:
  // Copies the words; later duplicates (in any letter case) are dropped.
  void Assign(const std::vector<std::string>& words);
  // True when the list held no such word (ignoring letter case) and it was added.
  bool Add(std::string word);
  bool Contains(std::string_view token) const { return Contains(token, {}); }
  // Membership of the two pieces joined (a token cut by a wrap), without joining them.
  bool Contains(std::string_view head, std::string_view tail) const;
  int Count() const { return static_cast<int>(words_.size()); }
  // Words in sorted order, each as first added.
  const std::string& Get(int i) const { return words_.at(static_cast<size_t>(i)); }
  bool operator==(const TReserveWordList& o) const { return keys_ == o.keys_; }

 private:
  std::vector<std::string> keys_;   // upper-cased, sorted
  std::vector<std::string> words_;  // words_[i] is keys_[i] as given
};

// The scheme: owns colours, bracket pairs and reserved words, notifies its listeners of every
// change, and makes tokenizers. Not copyable: its parts notify it through bound callbacks.
class TFountain {
 public:
  TFountain();
  virtual ~TFountain();
  TFountain(const TFountain&) = delete;
  TFountain& operator=(const TFountain&) = delete;

  TFountainBracketCollection& Brackets() { return brackets_; }
  const TFountainBracketCollection& Brackets() const { return brackets_; }
  TFountainColor& Reserve() { return reserve_; }
  const TFountainColor& Reserve() const { return reserve_; }
  const TReserveWordList& ReserveWordList() const { return reserveWords_; }
  // Copies the given list (sorting it, dropping duplicates) and notifies.
  void SetReserveWordList(const std::vector<std::string>& words);

  // Listeners are not owned; a listener removes itself before it goes away.
  void AddListener(TFountainListener* listener);
  void RemoveListener(TFountainListener* listener);

  // A batch of changes: listeners hear of them once, at the outermost EndUpdate, so that
  // setting several colours re-colours the document once. Held by an UpdateGuard
  // (base/update_guard.h).
  void BeginUpdate() { ++update_count_; }
  void EndUpdate();

  // A tokenizer for one computation (a row state, a drawn row, a word motion).
  virtual std::unique_ptr<TFountainParser> CreateParser() const;
  // True when nothing of the scheme is carried over a line end (see TFountainParser).
  virtual bool StatesRestartAtLineStart() const { return !brackets_.AnyOpening(); }

 protected:
  void NotifyEventList();
  TChangeNotify Notifier() {
    return [this] { NotifyEventList(); };
  }

 private:
  TFountainBracketCollection brackets_;
  TFountainColor reserve_;
  TReserveWordList reserveWords_;
  std::vector<TFountainListener*> listeners_;
  int update_count_ = 0;
  bool changed_in_update_ = false;  // a change waits for the end of the batch
};

// Cuts one row (with the next row appended when the row wraps) into tokens. A plain value: it
// borrows the texts and the scheme for one computation and allocates nothing.
class TFountainParser {
 public:
  explicit TFountainParser(const TFountain& fountain);
  virtual ~TFountainParser() = default;

  // Starts scanning `row` followed by `appended` (empty unless the row is RowWrapped) from the
  // state stored at the start of the row.
  void Start(std::string_view row, std::string_view appended, const TRowAttributeData& state);
  // Scans the next token and returns its kind; kEof once the row's end marker is reached.
  uint8_t NextToken();

  uint8_t Token() const { return token_; }
  int64_t TokenStart() const { return tokenStart_; }
  int64_t TokenEnd() const { return pos_; }
  int64_t RowLength() const { return static_cast<int64_t>(row_.size()); }
  // True when the current token continues one begun on the previous row.
  bool IsContinuation() const { return isContinuation_; }
  int32_t BracketIndex() const { return bracketIndex_; }
  // Index of the bracket pair of the last bracket span.
  int32_t LastBracketPair() const { return lastBracketPair_; }
  int32_t ElementIndex() const { return elementIndex_; }
  uint8_t ExtraByte() const { return extraByte_; }
  // The current token's bytes in the row and in the appended text.
  std::string_view TokenHead() const;
  std::string_view TokenTail() const;
  // The kind under which the current token is coloured and carried over: a reserved word (not a
  // continuation, not kEof, kBracket or kComment) becomes kReserve.
  uint8_t EffectiveKind() const;
  // Colour of the current token, nullptr when it has none.
  const TFountainColor* TokenColor() const;

  // The state at the start of the next row, from this row's text and the state at its start
  // (state.RowAttribute is the row's own). `appended` is the next row when this one wraps;
  // nextRowAttribute is that row's RowAttribute.
  TRowAttributeData NextRowState(std::string_view row, std::string_view appended,
                                 RowEnd nextRowAttribute, const TRowAttributeData& state);

 protected:
  // Byte i of the scanned text, 0 (an end marker) past its end.
  uint8_t At(int64_t i) const {
    if (i < static_cast<int64_t>(row_.size())) return static_cast<uint8_t>(row_[i]);
    i -= static_cast<int64_t>(row_.size());
    return i < static_cast<int64_t>(appended_.size()) ? static_cast<uint8_t>(appended_[i]) : 0;
  }
  static bool IsEndMarker(uint8_t b) { return b == 0 || b == '\r' || b == '\n'; }
  bool StartsWith(std::string_view s) const;
  // True when the row provably hands `state` on unchanged: see NextRowState.
  bool PassesStateOn(std::string_view row, const TRowAttributeData& state) const;
  bool StartsWithIgnoreCase(std::string_view s) const;

  // Rules a subclass changes. ScanNew: a token that is not a continuation, starting at pos_
  // (not an end marker, no span open); sets token_ and moves pos_ past it.
  virtual void ScanNew();
  // Continues a token of `kind` begun on the previous row, from pos_ (Remain was 0).
  virtual void ScanContinued(uint8_t kind);
  // Whether a token of this kind, cut at the row end, continues by its own rule on the next row
  // (it records no Remain).
  virtual bool RunsToItsEnd(uint8_t kind) const;
  // Colour of a token kind, nullptr for none.
  virtual const TFountainColor* KindColor(uint8_t kind) const;
  // Whether ' and " open quoted-text tokens (kinds 24 and 25) in the first-byte table.
  virtual bool QuotesAreTokens() const { return true; }
  // Whether, on a row that does not wrap, only an open bracket span reaches the next row. A
  // subclass that keeps state of its own in ElementIndex, ExtraInt or ExtraByte says no.
  virtual bool OnlyBracketSpansCrossRows() const { return true; }

  // Scanners shared by the rules; each moves pos_.
  void ScanByFirstByte();  // the first-byte table
  bool TryOpenBracket();
  void ContinueBracketSpan();
  void ScanQuoted(uint8_t quote);  // to the next single `quote`; pos_ is after the opening
  void ScanNumberTail();           // after the integer digits
  void ScanWordTail();
  void ScanDigits();
  void ScanHexDigits();
  void ScanKanjiRun();
  void ScanKanaRun();
  void ScanDBRun(bool (*member)(uint16_t));
  uint16_t DoubleAt(int64_t i) const { return static_cast<uint16_t>(At(i) << 8 | At(i + 1)); }

  const TFountain& fountain_;
  std::string_view row_;
  std::string_view appended_;
  int64_t pos_ = 0;
  int64_t tokenStart_ = 0;
  uint8_t token_ = token::kEof;
  int32_t bracketIndex_ = kNoBracket;
  int32_t lastBracketPair_ = kNoBracket;
  int32_t elementIndex_ = 0;
  int32_t extraInt_ = 0;
  uint8_t extraByte_ = 0;
  uint8_t pendingKind_ = 0;
  int32_t pendingRemain_ = 0;
  bool isContinuation_ = false;
  RowEnd rowAttribute_ = RowEnd::RowEndsLine;
  RowEnd prevRowAttribute_ = RowEnd::RowEndsLine;
};

// A tokenizer for a scheme given by pointer: fails with "TFountainParser.Create need instance of
// TFountain" when there is none.
Result<std::unique_ptr<TFountainParser>> CreateFountainParser(const TFountain* fountain);

}  // namespace tessary
