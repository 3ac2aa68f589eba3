// The control's own colouring scheme.
#include "editor/editor_fountain.h"

#include "editor/editor_parser.h"

namespace tessary {

TEditorColors::TEditorColors(TFountainColor& reserve, const TChangeNotify& onChange)
    : ank_(onChange),
      comment_(onChange),
      dbcs_(onChange),
      hit_(onChange),
      int_(onChange),
      mail_(onChange),
      reserve_(reserve),
      select_(onChange),
      str_(onChange),
      symbol_(onChange),
      url_(onChange) {
  // The default selection colours are set before the notification is bound, so a new scheme
  // notifies nobody.
  select_.SetOnChange({});
  select_.SetBkColor(clNavy);
  select_.SetColor(clWhite);
  select_.SetOnChange(onChange);
}

TEditorFountain::TEditorFountain() : colors_(Reserve(), Notifier()) {}

std::unique_ptr<TFountainParser> TEditorFountain::CreateParser() const {
  return std::make_unique<TEditorParser>(*this);
}

}  // namespace tessary
