// Wrap option setters that need more than a plain compare-and-store.
#include "editor/editor_wrap_option.h"

#include <algorithm>

namespace tessary {

void TEditorWrapOption::SetWrapByte(int32_t v) { Set(wrap_byte_, std::clamp(v, kMinWrapByte, kMaxWrapByte)); }

void TEditorWrapOption::Assign(const TEditorWrapOption& o) {
  follow_ret_mark_ = o.follow_ret_mark_;
  follow_punctuation_ = o.follow_punctuation_;
  follow_str_ = o.follow_str_;
  leading_ = o.leading_;
  lead_str_ = o.lead_str_;
  punctuation_str_ = o.punctuation_str_;
  word_break_ = o.word_break_;
  wrap_byte_ = o.wrap_byte_;
  if (OnChange) OnChange();
}

}  // namespace tessary
