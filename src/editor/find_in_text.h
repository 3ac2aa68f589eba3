// The match core of text search over Shift-JIS bytes: every option bit, forward and backward.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "editor/sjis_fold.h"

namespace tessary {

// Search options: a 16-bit set passed with every call.
using TSearchOptions = uint16_t;
namespace search_option {
constexpr TSearchOptions kForward = 0x1;  // clear: backward
constexpr TSearchOptions kMatchCase = 0x2;
constexpr TSearchOptions kWholeWord = 0x4;
constexpr TSearchOptions kFullHalf = 0x8;         // half-width and full-width forms are equal
constexpr TSearchOptions kSkipLineBreaks = 0x80;  // CR and LF inside the text are skipped
constexpr TSearchOptions kSkipBlanks = 0x100;     // tab, space and full-width space are skipped
}  // namespace search_option

// Whether more text follows the end of a buffer: then a match that would need bytes beyond the
// end, or the byte after the end for the whole-word test, is left undecided instead of failed.
enum class TextEnd : uint8_t { Final, MoreFollows };

struct TFoundText {
  int64_t position = 0;
  int64_t length = 0;  // text bytes covered, skipped line breaks and blanks included
  bool operator==(const TFoundText&) const = default;
};

// A scan of a part of the text: the first match in the search order, or, when the buffer ends
// before the text does, the first candidate (in search order) that needs more text; -1 when
// every candidate was decided without a match.
struct TScanOutcome {
  std::optional<TFoundText> found;
  int64_t undecided = -1;
};

// Whole-word delimiters: bytes 00-2F, 3A-40, 5B-60, 7B-80, A0-A5 and FD-FF ("_" is one). The
// bytes of a double-byte character are never delimiters.
bool IsSearchDelimiter(uint8_t b);

// A pattern prepared once for many searches (the chunks of one Search call).
//
// Text rules: a lead byte (0x81-0x9F, 0xE0-0xFC) and the byte after it form one character,
// unless that byte is CR or LF or the text ends (then the lead stands alone); a match never
// starts on the second byte of a character. Classification is taken from the start of the
// buffer, so a buffer must begin on a character boundary.
class TSearchPattern {
 public:
  TSearchPattern(std::string_view pattern, TSearchOptions options);

  bool Empty() const { return chars_.empty(); }
  // The options the pattern was prepared with (the direction bit included).
  TSearchOptions Options() const { return options_; }
  // The first match from `start` in the direction of the options (forward: from start +
  // previousLength; backward: ending at start at the latest when nothing is skipped).
  // Nothing for a start outside [0, text size] or a negative previousLength.
  std::optional<TFoundText> Find(std::string_view text, int64_t start,
                                 int64_t previousLength) const;

  // The parts of Find for a caller that holds a window of a longer text. The buffer must begin
  // on a character boundary and hold the byte before `lowest` (for the whole-word test).
  // Forward: candidates from `first` upward.
  TScanOutcome ScanForward(std::string_view text, int64_t first, TextEnd end) const;
  // Forward from `first`, every match in turn, each searched from the end of the one before (so
  // that matches never overlap); returns the first undecided candidate after the last match,
  // or -1. One pass over the text, however many matches.
  int64_t ScanForwardEach(std::string_view text, int64_t first, TextEnd end,
                          const std::function<void(const TFoundText&)>& visit) const;
  // Backward: candidates from `first` down to `lowest`.
  TScanOutcome ScanBackward(std::string_view text, int64_t first, int64_t lowest,
                            TextEnd end) const;
  // The highest backward candidate for a search that starts at `start`; -1 when the buffer
  // holds fewer characters than the pattern before it.
  int64_t FirstBackwardCandidate(std::string_view text, int64_t start) const;
  // An upper bound of the text bytes before the start that the first backward candidate needs.
  int64_t BackwardReach() const { return 2 * static_cast<int64_t>(chars_.size()); }

 private:
  struct Anchor {
    int offset = 0;                  // bytes from the candidate start to the anchor byte
    std::array<uint8_t, 4> bytes{};  // text bytes that can stand there (repeated to fill)
    bool usable = false;
    // A sharper forward filter at offset 0 when one of the bytes is a lead byte: that lead
    // counts only when one of `trails` follows it; `singles` count alone.
    bool paired = false;
    uint8_t lead = 0;
    std::array<uint8_t, 3> singles{};
    int singleCount = 0;
    std::array<uint8_t, 2> trails{};
  };
  friend class MatchScanner;

  std::vector<sjis::CharCode> chars_;  // the prepared pattern, one code per character
  int64_t byteLength_ = 0;             // bytes of the prepared pattern without option 8
  int64_t minMatchBytes_ = 0;          // no match covers fewer text bytes
  TSearchOptions options_ = 0;
  Anchor anchor_;
};

// The match core in one call (prepares the pattern each time).
std::optional<TFoundText> FindInText(std::string_view text, int64_t start, int64_t previousLength,
                                     std::string_view pattern, TSearchOptions options);

}  // namespace tessary
