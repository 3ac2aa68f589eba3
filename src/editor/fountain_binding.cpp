// The control's scheme: plugging its tokenizer into the document and the caret's word motion.
#include "editor/fountain_binding.h"

#include <algorithm>

#include "editor/editor_control.h"
#include "editor/editor_parser.h"
#include "editor/fountain_token_starts.h"

namespace tessary {

FountainBinding::FountainBinding(EditorControl& control) : control_(control) {
  Use(view_);
}

FountainBinding::~FountainBinding() {
  if (current_ != nullptr) current_->RemoveListener(this);
  // The tokenizers borrow the scheme: leave the document and the control with ones that own
  // nothing, unless another view sharing the document has put in its own since.
  if (&control_.Document().Tokenizer() == tokenizer_.get())
    control_.Document().SetTokenizer(nullptr);
  control_.SetTokenStarts(nullptr);
}

void FountainBinding::Use(TFountain& fountain) {
  if (current_ == &fountain) return;
  if (current_ != nullptr) current_->RemoveListener(this);
  current_ = &fountain;
  current_->AddListener(this);
  tokenizer_ = std::make_shared<TFountainRowStateTokenizer>(fountain);
  control_.Document().SetTokenizer(tokenizer_);
  control_.SetTokenStarts(std::make_shared<TFountainTokenStarts>(fountain));
  Recolour();
}

void FountainBinding::SetFountain(TFountain* fountain) {
  Use(fountain ? *fountain : view_);
}

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

// Rows top .. top + VisibleRows() + 1: the fully visible rows and the partly visible ones below.
void FountainBinding::Recolour() {
  control_.Document().InitRowStates();
  const int32_t top = control_.TopRow();
  const int32_t last = std::min(top + control_.VisibleRows() + 1, control_.Document().Count() - 1);
  for (int32_t r = top; r <= last; ++r) control_.RedrawRow(r);
}

}  // namespace tessary
