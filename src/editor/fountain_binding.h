// Binds a colouring scheme to an editing control: row states, word motion, and re-colouring.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/editor_fountain.h"

namespace tessary {

class EditorControl;
class RowStateTokenizer;

// The control's Fountain property. Without a scheme of its own choosing the control uses the
// TEditorFountain of its view (View()). Whichever scheme is in use computes the document's row
// states and the Ctrl+Left/Right stops; any change of it recomputes all row states
// (InitRowStates) and redraws the control's visible rows. A batch of changes (an UpdateGuard
// on the scheme) re-colours once. A scheme that is destroyed while in use is left for the
// view's own. The binding must not outlive the control.
class FountainBinding final : public TFountainListener {
 public:
  explicit FountainBinding(EditorControl& control);
  ~FountainBinding() override;
  FountainBinding(const FountainBinding&) = delete;
  FountainBinding& operator=(const FountainBinding&) = delete;

  TEditorFountain& View() { return view_; }
  const TEditorFountain& View() const { return view_; }
  const TFountain& Fountain() const { return *current_; }
  // nullptr goes back to the view's scheme. The scheme is not owned; it tells the binding when
  // it goes away.
  void SetFountain(TFountain* fountain);
  // The control's ReserveWordList: the list of the scheme in use.
  void SetReserveWordList(const std::vector<std::string>& words);

  void FountainChanged(const TFountain& fountain) override;
  void FountainRemoved(const TFountain& fountain) override;

 private:
  void Use(TFountain& fountain);
  void Recolour();

  EditorControl& control_;
  TEditorFountain view_;
  TFountain* current_ = nullptr;
  // What this binding gave the document, which other views may share: the binding takes back
  // only its own tokenizer.
  std::shared_ptr<const RowStateTokenizer> tokenizer_;
};

}  // namespace tessary
