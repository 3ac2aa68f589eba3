// Texts of the status-bar panels, the caption and the wrap-length check.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessary {

// "%d行, %d桁" with 1-based line and column.
std::string CaretPositionText(int64_t line0, int64_t column0);

enum class LineEndCounting { Exclude, Include };
enum class SelectionUnit { Characters, HalfWidthColumns };

// Panel 3 for a selection given as Shift-JIS with CR LF line ends: the count followed by
// "文字", or empty for an empty selection. Characters count as UTF-16 units (every code page 932
// character is one); half-width columns count a double-byte character as 2. A lead byte pairs
// with whatever byte follows it; one at the very end counts alone.
std::string SelectionCountText(std::string_view sjis_selection, LineEndCounting line_ends,
                               SelectionUnit unit);

// The same count over a selection handed over in pieces (rows and line ends), so that a large
// selection is never copied: the text is that of the pieces joined. Counts 64 bytes at a time.
class SelectionCounter {
 public:
  SelectionCounter(LineEndCounting line_ends, SelectionUnit unit)
      : line_ends_(line_ends), unit_(unit) {}
  void Add(std::string_view piece);
  std::string Text() const;

 private:
  void AddBlock(const uint8_t* p, int n);
  std::string TextOfCounted() const;

  LineEndCounting line_ends_;
  SelectionUnit unit_;
  int64_t bytes_ = 0;
  int64_t pairs_ = 0;     // double-byte characters
  int64_t excluded_ = 0;  // CR and LF bytes that start a character, when they do not count
  bool lead_pending_ = false;  // the last byte counted is a lead byte at a character start
  uint8_t stage_[64] = {};     // bytes not counted yet, less than a block
  size_t staged_ = 0;
};

// One panel of a status bar, in pixels from the bar's left edge.
struct PanelSpan {
  int left = 0;
  int width = 0;
  bool operator==(const PanelSpan&) const = default;
};
inline constexpr int kStatusPanelCount = 7;
// The panels side by side from the left edge: 100, 100, 100, 180, 120 and 100 pixels for
// panels 1 to 6 and what is left of the bar's width for panel 0, so both bars of a window share
// their edges whatever else stands on them.
[[nodiscard]] std::array<PanelSpan, kStatusPanelCount> StatusPanelSpans(int bar_width);

// A text a panel must show in full, with its panel.
struct PanelText {
  int panel = 0;
  std::string text;
};
// The widest texts of the panels whose texts are known: the code and line-end names, the
// protection texts and a caret position of five-digit line and three-digit column.
[[nodiscard]] std::vector<PanelText> WidestKnownPanelTexts();

// The window caption: the full path while the window is active, the file name alone while it
// is not; " - Tessary" always follows.
std::string WindowCaption(std::string_view file_name, bool active);

// The wrap length typed in the wrap-length window: the refusal message, or nothing when the
// value is acceptable (10 to 250).
std::optional<std::string> WrapLengthRefusal(int64_t value);

enum class NumericType { DecimalUnSigned, DecimalSigned, DoubleUnSigned, DoubleSigned };
// Whether a typed character is let into a numeric edit holding `text` with the caret at
// `caret` (backspace is always let through by the caller).
bool NumericEditAccepts(NumericType type, std::string_view text, size_t caret, char typed);

}  // namespace tessary
