// Joining packed lines back into text.
#include "codec/text_lines.h"

namespace tessary {

std::string TextLines::Joined(std::string_view eol) const {
  std::string out;
  out.reserve(bytes_.size() + ends_.size() * eol.size());
  for (size_t i = 0; i < Count(); ++i) {
    out.append(Line(i));
    if (i + 1 < Count() || last_line_has_end_) out.append(eol);
  }
  return out;
}

}  // namespace tessary
