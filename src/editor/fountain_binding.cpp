// The control's scheme: plugging its tokenizer into the document and the caret's word motion.
#include "editor/fountain_binding.h"

#include "editor/editor_control.h"
#include "editor/editor_parser.h"
#include "editor/fountain_token_starts.h"

namespace tessary {

FountainBinding::FountainBinding(EditorControl& control) : control_(control) { Use(view_); }

FountainBinding::~FountainBinding() {
  if (current_ != nullptr) current_->RemoveListener(this);
  // The tokenizers borrow the scheme: leave the document with ones that own nothing.
  control_.Document().SetTokenizer(nullptr);
  control_.SetTokenStarts(nullptr);
}

void FountainBinding::Use(TFountain& fountain) {
  if (current_ == &fountain) return;
  if (current_ != nullptr) current_->RemoveListener(this);
  current_ = &fountain;
  current_->AddListener(this);
  control_.Document().SetTokenizer(std::make_shared<TFountainRowStateTokenizer>(fountain));
  control_.SetTokenStarts(std::make_shared<TFountainTokenStarts>(fountain));
  Recolour();
}

void FountainBinding::SetFountain(TFountain* fountain) { Use(fountain ? *fountain : view_); }

void FountainBinding::SetReserveWordList(const std::vector<std::string>& words) {
  current_->SetReserveWordList(words);  // notifies, which re-colours
}

void FountainBinding::FountainChanged(const TFountain& fountain) {
  if (&fountain == current_) Recolour();
}

void FountainBinding::FountainRemoved(const TFountain& fountain) {
  if (&fountain != current_) return;
  current_ = nullptr;  // it is going away: no RemoveListener on it
  Use(view_);
}

void FountainBinding::Recolour() {
  control_.Document().InitRowStates();
  const int32_t top = control_.TopRow();
  for (int32_t r = top; r <= top + control_.VisibleRows() && r < control_.Document().Count(); ++r)
    control_.RedrawRow(r);
}

}  // namespace tessary
