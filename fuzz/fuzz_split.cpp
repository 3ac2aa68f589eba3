// Shift-JIS line splitting against a model that drops what zeros and the EOF mark hide.
#include <algorithm>
#include <string>
#include <vector>

#include "codec/sjis_line_splitter.h"
#include "fuzz/fuzz_input.h"

namespace tessary::fuzz {
namespace {

struct ModelLines {
  std::vector<std::string> lines;
  bool last_line_has_end = true;
};

struct Visible {
  std::string text;
  bool cut_short = false;  // a hidden byte was neither a zero nor an EOF mark
};

bool OnlyZerosAndMarks(std::string_view hidden) {
  return hidden.find_first_not_of(std::string_view("\0\x1A", 2)) == std::string_view::npos;
}

// The bytes the loader sees: each block up to its first zero byte, all up to the EOF mark.
Visible VisibleText(std::string_view bytes) {
  Visible v;
  for (size_t block = 0; block < bytes.size(); block += kLoadBlockSize) {
    const std::string_view b = bytes.substr(block, kLoadBlockSize);
    const size_t zero = std::min(b.find('\0'), b.size());
    const size_t mark = b.substr(0, zero).find('\x1A');
    if (mark != std::string_view::npos) {
      v.text += b.substr(0, mark);
      v.cut_short |= !OnlyZerosAndMarks(bytes.substr(block + mark));
      return v;
    }
    v.text += b.substr(0, zero);
    v.cut_short |= !OnlyZerosAndMarks(b.substr(zero));
  }
  return v;
}

// Lines ended by CR LF, CR or LF; bytes after the last line end form a line without an end.
ModelLines Split(std::string_view text) {
  ModelLines m;
  std::string pending;
  bool prev_cr = false;
  for (char c : text) {
    const bool pair_lf = prev_cr && c == '\n';
    prev_cr = c == '\r';
    if (pair_lf) continue;
    if (c == '\r' || c == '\n') {
      m.lines.push_back(std::move(pending));
      pending.clear();
    } else {
      pending.push_back(c);
    }
  }
  if (!pending.empty()) {
    m.lines.push_back(std::move(pending));
    m.last_line_has_end = false;
  }
  return m;
}

}  // namespace
}  // namespace tessary::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessary;
  using namespace tessary::fuzz;
  FuzzInput in(data, size);
  // Long inputs reach past a block boundary only when repeated: the first byte says how often.
  const size_t copies = 1 + in.Byte() % 4;
  const std::string_view unit = in.Rest();
  std::string bytes;
  for (size_t i = 0; i < copies; ++i) bytes += unit;
  const SjisSplit split = SplitSjisFile(bytes);
  const TextLines& got = split.lines;
  const Visible visible = VisibleText(bytes);
  Check(split.cut_short == visible.cut_short, "text hidden by a zero or EOF mark is reported");
  const ModelLines want = Split(visible.text);
  Check(got.Count() == want.lines.size(), "line count");
  for (size_t i = 0; i < got.Count(); ++i) Check(got.Line(i) == want.lines[i], "line bytes");
  if (got.Count() > 0) Check(got.last_line_has_end() == want.last_line_has_end, "last line end");
  return 0;
}
