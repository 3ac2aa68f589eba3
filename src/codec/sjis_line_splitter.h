// Splits Shift-JIS file bytes into lines the way the document's file loader reads them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "codec/text_lines.h"

namespace tessary {

// The file is read in blocks of this many bytes; a zero byte hides the rest of its block.
constexpr size_t kLoadBlockSize = 8192;
// The byte that ends a Shift-JIS text wherever it stands.
constexpr uint8_t kEofMark = 26;

// Every CR and every LF ends a line, except an LF directly after a CR (also across a block
// boundary). A zero byte skips the rest of its block (the line goes on in the next block);
// byte 26 ends the text. Bytes after the last line end form one more line without a line end.
TextLines SplitSjisBytes(std::string_view bytes);

struct SjisSplit {
  TextLines lines;
  // Bytes other than zeros and EOF marks were left out by those rules: the document does not
  // show the whole file, and writing it back would delete them.
  bool cut_short = false;
};
[[nodiscard]] SjisSplit SplitSjisFile(std::string_view bytes);
// The same, the lines packed in the file's own buffer (no second copy of the text). Given the
// number of CR and LF bytes in it, the line offsets are allocated once at their final size
// instead of grown (a wrong count costs only that).
[[nodiscard]] SjisSplit SplitSjisFileInPlace(std::string&& bytes,
                                             std::optional<uint64_t> line_end_bytes = {});

// Whether `bytes` are exactly the lines they load as, joined by CR LF (as search joins rows):
// Shift-JIS whose every CR is followed by LF and every LF follows a CR, without zero bytes or
// EOF marks (which the loader would cut at). The last line is the text after the last CR LF.
[[nodiscard]] bool IsJoinedCrLfText(std::string_view bytes);

}  // namespace tessary
