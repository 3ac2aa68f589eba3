// Colours and bracket pairs of a colouring scheme.
#include "editor/fountain_color.h"

namespace tessary {

void TFountainColor::SetBkColor(TColor c) {
  if (c == bkColor_) return;
  bkColor_ = c;
  Changed();
}

void TFountainColor::SetColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  Changed();
}

void TFountainColor::SetStyle(TFontStyles s) {
  if (s == style_) return;
  style_ = s;
  Changed();
}

void TFountainColor::Assign(const TFountainColor& other) {
  if (other.bkColor_ == bkColor_ && other.color_ == color_ && other.style_ == style_) return;
  bkColor_ = other.bkColor_;
  color_ = other.color_;
  style_ = other.style_;
  Changed();
}

void TFountainBracketItem::SetLeftBracket(std::string s) {
  if (s == left_) return;
  left_ = std::move(s);
  if (onChange_) onChange_();
}

void TFountainBracketItem::SetRightBracket(std::string s) {
  if (s == right_) return;
  right_ = std::move(s);
  if (onChange_) onChange_();
}

Result<TFountainBracketItem*> TFountainBracketCollection::Add() {
  if (Count() >= kMaxBrackets) {
    return Error{"TFountainBracketCollection\r\nYou can not add item over " +
                 std::to_string(kMaxBrackets)};
  }
  items_.push_back(std::make_unique<TFountainBracketItem>([this] { Changed(); }));
  Changed();
  return items_.back().get();
}

Result<TFountainBracketItem*> TFountainBracketCollection::Add(std::string left,
                                                              std::string right) {
  Result<TFountainBracketItem*> item = Add();
  if (item) {
    item.value()->SetLeftBracket(std::move(left));
    item.value()->SetRightBracket(std::move(right));
  }
  return item;
}

void TFountainBracketCollection::Delete(int i) {
  if (i < 0 || i >= Count()) return;
  items_.erase(items_.begin() + i);
  Changed();
}

void TFountainBracketCollection::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

bool TFountainBracketCollection::AnyOpening() const {
  for (const auto& item : items_)
    if (!item->LeftBracket().empty()) return true;
  return false;
}

}  // namespace tessary
