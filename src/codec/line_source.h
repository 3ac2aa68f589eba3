// Read access to a document's logical lines, so that a save needs no copy of the text.
#pragma once

#include <cstddef>
#include <string_view>
#include <type_traits>

#include "codec/text_lines.h"

namespace tessary {

// The lines in order, from a count plus an accessor, from packed TextLines, or from a visitor
// that hands each line to a sink in turn (as a document that joins wrapped rows on the fly
// does). It refers to the lines' owner, which must outlive it; a line's view is used before
// the next one is asked for, so an owner may build each line in a reused buffer.
class LineSource {
 public:
  // `line` is any callable std::string_view(size_t).
  template <class F, class = std::enable_if_t<std::is_invocable_r_v<std::string_view, const F&, size_t>>>
  LineSource(size_t count, const F& line) : context_(&line), count_(count) {
    visit_ = [](const LineSource& self, void* sink, SinkFn call) {
      const F& get = *static_cast<const F*>(self.context_);
      for (size_t i = 0; i < self.count_; ++i) call(sink, std::string_view(get(i)));
    };
  }

  LineSource(const TextLines& lines)  // NOLINT: implicit by design
      : context_(&lines) {
    visit_ = [](const LineSource& self, void* sink, SinkFn call) {
      const auto& t = *static_cast<const TextLines*>(self.context_);
      for (size_t i = 0; i < t.Count(); ++i) call(sink, t.Line(i));
    };
  }

  // `visitor(sink)` calls sink(std::string_view) once per line, in order.
  template <class V>
  static LineSource Visiting(const V& visitor) {
    LineSource s;
    s.context_ = &visitor;
    s.visit_ = [](const LineSource& self, void* sink, SinkFn call) {
      (*static_cast<const V*>(self.context_))([&](std::string_view line) { call(sink, line); });
    };
    return s;
  }

  // Like Visiting, for an owner that may hold its lines already joined: `joined(eol, run)`
  // calls run(std::string_view) with texts that, one after another, are every line followed
  // by eol, in long runs where it can.
  template <class V, class J>
  static LineSource VisitingJoined(const V& visitor, const J& joined) {
    LineSource s = Visiting(visitor);
    s.joined_context_ = &joined;
    s.visit_joined_ = [](const LineSource& self, std::string_view eol, void* sink, SinkFn call) {
      (*static_cast<const J*>(self.joined_context_))(
          eol, [&](std::string_view text) { call(sink, text); });
    };
    return s;
  }

  // Calls f(std::string_view) for every line in order.
  template <class F>
  void ForEach(F&& f) const {
    visit_(*this, &f, Thunk<F>);
  }

  // Calls f(std::string_view) with texts that together are every line followed by eol: a line
  // and eol at a time, or longer runs from an owner that holds its lines joined.
  template <class F>
  void ForEachJoined(std::string_view eol, F&& f) const {
    if (visit_joined_) {
      visit_joined_(*this, eol, &f, Thunk<F>);
      return;
    }
    ForEach([&](std::string_view line) {
      f(line);
      f(eol);
    });
  }

 private:
  using SinkFn = void (*)(void*, std::string_view);
  LineSource() = default;
  template <class F>
  static void Thunk(void* c, std::string_view text) {
    (*static_cast<std::remove_reference_t<F>*>(c))(text);
  }

  const void* context_ = nullptr;
  size_t count_ = 0;
  void (*visit_)(const LineSource&, void*, SinkFn) = nullptr;
  const void* joined_context_ = nullptr;
  void (*visit_joined_)(const LineSource&, std::string_view, void*, SinkFn) = nullptr;
};

}  // namespace tessary
