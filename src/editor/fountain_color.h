// Colours, font styles and bracket pairs of a colouring scheme; each change notifies its owner.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/color.h"
#include "base/result.h"

namespace tessary {

enum class TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A set of TFontStyle values.
class TFontStyles {
 public:
  constexpr TFontStyles() = default;
  constexpr TFontStyles(std::initializer_list<TFontStyle> styles) {
    for (TFontStyle s : styles) bits_ |= static_cast<uint8_t>(s);
  }
  constexpr bool Has(TFontStyle s) const { return (bits_ & static_cast<uint8_t>(s)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr uint8_t Bits() const { return bits_; }
  constexpr bool operator==(const TFontStyles&) const = default;

 private:
  uint8_t bits_ = 0;
};

// Called when something the owner shows has changed.
using TChangeNotify = std::function<void()>;

// Foreground, background and style of one token kind. Not copyable: the owner's notification
// is bound to this object.
class TFountainColor {
 public:
  explicit TFountainColor(TChangeNotify onChange = {}) : onChange_(std::move(onChange)) {}
  TFountainColor(const TFountainColor&) = delete;
  TFountainColor& operator=(const TFountainColor&) = delete;

  TColor BkColor() const { return bkColor_; }
  TColor Color() const { return color_; }
  TFontStyles Style() const { return style_; }
  // Each setter notifies the owner only when the value really changes.
  void SetBkColor(TColor c);
  void SetColor(TColor c);
  void SetStyle(TFontStyles s);
  // Copies the three values from another colour (one notification at most).
  void Assign(const TFountainColor& other);
  void SetOnChange(TChangeNotify onChange) { onChange_ = std::move(onChange); }

 private:
  void Changed() const {
    if (onChange_) onChange_();
  }
  TColor bkColor_ = clNone;
  TColor color_ = clNone;
  TFontStyles style_;
  TChangeNotify onChange_;
};

using TEditorColor = TFountainColor;

class TFountainColorItem {
 public:
  explicit TFountainColorItem(TChangeNotify onChange) : itemColor_(std::move(onChange)) {}
  virtual ~TFountainColorItem() = default;
  TFountainColor& ItemColor() { return itemColor_; }
  const TFountainColor& ItemColor() const { return itemColor_; }

 private:
  TFountainColor itemColor_;
};

// A pair of delimiters whose span is drawn in ItemColor; the span may run over several rows.
class TFountainBracketItem : public TFountainColorItem {
 public:
  explicit TFountainBracketItem(TChangeNotify onChange)
      : TFountainColorItem(onChange), onChange_(std::move(onChange)) {}
  const std::string& LeftBracket() const { return left_; }
  const std::string& RightBracket() const { return right_; }
  void SetLeftBracket(std::string s);
  void SetRightBracket(std::string s);

 private:
  std::string left_;
  std::string right_;
  TChangeNotify onChange_;
};

// At most kMaxBrackets pairs: a row stores the open pair's index in four bits.
class TFountainBracketCollection {
 public:
  static constexpr int kMaxBrackets = 14;

  explicit TFountainBracketCollection(TChangeNotify onChange = {})
      : onChange_(std::move(onChange)) {}
  TFountainBracketCollection(const TFountainBracketCollection&) = delete;
  TFountainBracketCollection& operator=(const TFountainBracketCollection&) = delete;
  virtual ~TFountainBracketCollection() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  TFountainBracketItem& Item(int i) { return *items_.at(static_cast<size_t>(i)); }
  const TFountainBracketItem& Item(int i) const { return *items_.at(static_cast<size_t>(i)); }
  // A new, empty pair at the end; fails with "TFountainBracketCollection" CR LF
  // "You can not add item over 14" when the collection is full.
  Result<TFountainBracketItem*> Add();
  // Convenience: Add, then set both brackets.
  Result<TFountainBracketItem*> Add(std::string left, std::string right);
  void Delete(int i);
  void Clear();
  // True when some pair has a non-empty LeftBracket, i.e. a span can open and cross rows.
  bool AnyOpening() const;

 private:
  void Changed() const {
    if (onChange_) onChange_();
  }
  std::vector<std::unique_ptr<TFountainBracketItem>> items_;
  TChangeNotify onChange_;
};

using TEditorBracketCollection = TFountainBracketCollection;

}  // namespace tessary
