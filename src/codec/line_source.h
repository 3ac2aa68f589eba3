// Read access to a document's logical lines, so that a save needs no copy of the text.
#pragma once

#include <cstddef>
#include <string_view>
#include <type_traits>

#include "codec/text_lines.h"

namespace tessary {

// A count plus an accessor; refers to the lines' owner, which must outlive it. Line(i) views
// may be invalidated by the next call (an owner may build a line on demand), so a reader uses
// each view before asking for the next.
class LineSource {
 public:
  // `line` is any callable std::string_view(size_t); it is referred to, not copied.
  template <class F, class = std::enable_if_t<std::is_invocable_r_v<std::string_view, const F&, size_t>>>
  LineSource(size_t count, const F& line)
      : count_(count), context_(&line), call_([](const void* c, size_t i) {
          return std::string_view((*static_cast<const F*>(c))(i));
        }) {}

  LineSource(const TextLines& lines)  // NOLINT: implicit by design
      : count_(lines.Count()), context_(&lines), call_([](const void* c, size_t i) {
          return static_cast<const TextLines*>(c)->Line(i);
        }) {}

  size_t Count() const { return count_; }
  std::string_view Line(size_t i) const { return call_(context_, i); }

 private:
  size_t count_;
  const void* context_;
  std::string_view (*call_)(const void*, size_t);
};

}  // namespace tessary
