// Search over the document's rows in chunks, and how the control shows a hit.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codec/sjis_line_splitter.h"  // IsJoinedCrLfText, for the joined-text searches
#include "codec/text_lines.h"
#include "editor/find_in_text.h"
#include "editor/hit_style.h"
#include "editor/row_attribute_data.h"
#include "editor/text_pos.h"

namespace tessary {

class TEditorScreenStrings;

// What search reads of the document.
class TSearchRows {
 public:
  virtual ~TSearchRows() = default;
  virtual int32_t RowCount() const = 0;
  // Valid while the rows are not changed.
  virtual std::string_view RowText(int32_t row) const = 0;
  virtual RowEnd RowAttribute(int32_t row) const = 0;
  // Calls f(row, text, rowEnd) for rows from `from` on until f returns false. Override when a
  // sequential walk is cheaper than RowText and RowAttribute per row.
  virtual void ForEachRowFrom(
      int32_t from, const std::function<bool(int32_t, std::string_view, RowEnd)>& f) const;
};

// The document as search rows.
class TScreenStringsSearchRows final : public TSearchRows {
 public:
  explicit TScreenStringsSearchRows(const TEditorScreenStrings& doc) : doc_(doc) {}
  int32_t RowCount() const override;
  std::string_view RowText(int32_t row) const override;
  RowEnd RowAttribute(int32_t row) const override;
  void ForEachRowFrom(
      int32_t from, const std::function<bool(int32_t, std::string_view, RowEnd)>& f) const override;

 private:
  const TEditorScreenStrings& doc_;
};

// Loaded lines as the rows of an unwrapped document holds them (TEditorScreenStrings::
// SetTextLines without word wrap): one row per line, each ending its line, the last one at the
// end of the file when the text has no line end after it. Searching them needs no document.
class TTextLinesSearchRows final : public TSearchRows {
 public:
  explicit TTextLinesSearchRows(const TextLines& lines) : lines_(lines) {}
  int32_t RowCount() const override { return static_cast<int32_t>(lines_.Count()); }
  std::string_view RowText(int32_t row) const override {
    return lines_.Line(static_cast<size_t>(row));
  }
  RowEnd RowAttribute(int32_t row) const override {
    return row + 1 == RowCount() && !lines_.last_line_has_end() ? RowEnd::RowAtEof
                                                                : RowEnd::RowEndsLine;
  }

 private:
  const TextLines& lines_;
};

// What the control tells Search about itself when Search is called.
struct TSearchCaret {
  // The caret's byte position on its row: its column minus the tab padding before it, capped
  // at the row's length. row == RowCount() is the row after the last.
  TextPos caret;
  // Something is selected, or a hit is marked: its start and end (the byte after it).
  bool hasRange = false;
  TextPos rangeStart;
  TextPos rangeEnd;
  TEditorHitStyle hitStyle = TEditorHitStyle::hsSelect;
  int64_t hitLength = 0;  // the length remembered from the last ShowHit
};

// Where a search begins: a position and the previous hit length to step over (forward).
struct TSearchStart {
  TextPos position;
  int64_t previousLength = 0;
};

struct TSearchHit {
  TextPos start;       // where the caret goes: never inside a line end
  int64_t length = 0;  // bytes, each line end counting 2, skipped breaks and blanks included
  bool operator==(const TSearchHit&) const = default;
};

// How the control shows a hit (ShowHit). The control cancels its selection, then applies this:
// selection None: just the caret; Selected: an ordinary selection from anchor to caret; Hit:
// the same range in the hit selection state, drawn with the Hit colours. With blockCaret the
// caret stands at the hit start and is drawn as a block from there to blockEnd on its row (at
// least 2 pixels wide). Finally it remembers hitLength and scrolls the caret into view.
struct THitDisplay {
  enum class Selection : uint8_t { None, Selected, Hit };
  Selection selection = Selection::None;
  TextPos anchor;
  TextPos caret;
  bool blockCaret = false;
  TextPos blockEnd;
  int64_t hitLength = 0;
  bool operator==(const THitDisplay&) const = default;
};

// Chunks hold rows joined with CR LF after each RowEndsLine row, until more than this many bytes.
constexpr size_t kSearchChunkBytes = 8191;

// The start of a search from the control's state, in the direction of the options.
TSearchStart SearchStartOf(const TSearchRows& rows, const TSearchCaret& caret,
                           TSearchOptions options);

// The first match from `from` in the direction of the options, searched chunk by chunk with
// one row of overlap, so that a match starting in the last row of a chunk is found.
std::optional<TSearchHit> SearchRows(const TSearchRows& rows, const TSearchPattern& pattern,
                                     TSearchOptions options, TSearchStart from);

// A match over the rows: `end` is the position after its last byte, on the row of that byte.
// Bytes count from the start of a row, its line end included (a position may lie in it).
struct TMatchSpan {
  TextPos start;
  TextPos end;
  bool operator==(const TMatchSpan&) const = default;
};

// Every match from `floor` to the end of the text, in order, each searched in the original
// text from the end of the one before (they never overlap). One pass: a chunk is refilled only
// where the text runs out, never per match.
void ForEachMatch(const TSearchRows& rows, const TSearchPattern& pattern, TextPos floor,
                  const std::function<void(const TMatchSpan&)>& visit);

// The hits that repeated forward searches find from `from`, in order, as a control that shows
// each hit in `style` finds them by calling Search again and again: each search begins where
// the control's state after the previous hit makes it begin (with hsCaret the hit's length
// after its start; otherwise the end of the hit as ShowHit places the caret). The direction
// bit of the pattern is ignored. Stops when nothing more is found, when visit returns false, or
// after a hit that the next search would find again (one inside a line end, where the caret
// cannot stand: repeated calls of Search would never get past it). A
// chunk is refilled only where the text runs out, never per hit.
void ForEachSearchHit(const TSearchRows& rows, const TSearchPattern& pattern, TSearchStart from,
                      TEditorHitStyle style, const std::function<bool(const TSearchHit&)>& visit);

// A hit in a joined text: where it lies as a row and byte, and the text of that row.
struct TJoinedTextHit {
  TSearchHit hit;
  std::string_view line;  // without its line end
};

// ForEachSearchHit from the start of a text that IsJoinedCrLfText accepts, over its bytes as
// they are: no rows are built and no text is copied, and rows are counted only up to each hit.
// The hits are those ForEachSearchHit finds on the rows of the split text.
void ForEachSearchHitInJoinedText(std::string_view text, const TSearchPattern& pattern,
                                  TEditorHitStyle style,
                                  const std::function<bool(const TJoinedTextHit&)>& visit);

// The display step alone (also used after a replacement).
THitDisplay ShowHit(const TSearchRows& rows, TEditorHitStyle style, TextPos hitStart,
                    int64_t length);

// Search(pattern, options): nothing for an empty text or pattern or when nothing matches (the
// control then changes nothing); else how to show the match.
std::optional<THitDisplay> Search(const TSearchRows& rows, const TSearchCaret& caret,
                                  std::string_view pattern, TSearchOptions options);

// The position `bytes` bytes after `from`, counting each RowEndsLine row's line end as 2 and a
// RowAtEof row's end as 1; a position past the text is the row after the last, byte 0. A
// position at the end of a RowWrapped row is the start of the next row.
TextPos AdvanceBytes(const TSearchRows& rows, TextPos from, int64_t bytes);

}  // namespace tessary
