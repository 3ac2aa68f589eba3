// UTF-8 and UTF-16 file text to the document's Shift-JIS lines, in one pass each.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "codec/cp932_converter.h"
#include "codec/text_lines.h"

namespace tessary {

struct DecodedText {
  TextLines lines;
  // UTF-16 units that code page 932 cannot represent and that became "?", and characters
  // whose Shift-JIS form reads back as another character (best fit: U+00A5 became "\").
  uint64_t replaced_chars = 0;
  // A zero character ended the text before the end of the file: what follows it is not shown.
  bool cut_short = false;
  // False when the UTF-8 was malformed; the lines are then empty (no partial text).
  bool ok = true;
};

enum class Utf8Mark { Drop, Keep };

// The file's text up to its first zero byte, split at CR LF, CR or LF (a line end at the very
// end adds no empty line), with the mark EF BB BF taken off the first line when asked and
// present, decoded and converted to code page 932. Start bytes C0-DF (and 80-9F) take one
// continuation byte, E0-EF (and A0-BF, F8-FF) two, F0-F7 three; a four-byte character is
// outside the Basic Multilingual Plane and becomes two "?", one per UTF-16 unit. A cut-off
// sequence or a bad continuation byte anywhere makes the whole result empty. Overlong forms
// are accepted as the sequences' bits say; a decoded U+0000 ends the text, a decoded CR or LF
// ends a line as it would in the converted text. Every line ends with a line end.
DecodedText DecodeUtf8Text(std::string_view bytes, Utf8Mark mark,
                           BlockPath path = BlockPath::Vector);
// The same, decoding in the input's own buffer (a load then needs no second copy of the file).
DecodedText DecodeUtf8InPlace(std::string&& bytes, Utf8Mark mark,
                              BlockPath path = BlockPath::Vector);

struct DecodedRun {
  // The Shift-JIS text: its lines each followed by the line end asked for, but for a last line
  // that had none.
  std::string text;
  uint64_t replaced_chars = 0;
  // The line ends in it.
  uint64_t line_ends = 0;
  // False when the UTF-8 was malformed, when a line end of the file was not the one asked for,
  // or when the text held what only separate lines can carry: a zero byte or character, or a
  // CR or LF that a sequence decodes to. The text is then empty.
  bool ok = true;
};

// DecodeUtf8InPlace's lines joined by `eol`, made where the file's own line ends already are
// that eol: they stay in place, so a caller writing the joined text needs neither the lines nor
// a copy.
DecodedRun DecodeUtf8RunInPlace(std::string&& bytes, Utf8Mark mark, std::string_view eol,
                                BlockPath path = BlockPath::Vector);

enum class Utf16Mark { Expected, None };

// UTF-16 file text: a matching mark is skipped when expected (a missing one is not an error,
// the bytes are then text; a file of at most 2 bytes with a mark expected is empty), the text
// ends at the first 0000 unit, an odd last byte b counts as the unit 00bb, and the units are
// converted to code page 932 and split at CR LF, CR or LF. Unpaired and paired surrogates
// become "?" each. The last line has no line end when the text does not end with one.
DecodedText DecodeUtf16Text(std::string_view bytes, ByteOrder order, Utf16Mark mark);
DecodedText DecodeUtf16InPlace(std::string&& bytes, ByteOrder order, Utf16Mark mark);

}  // namespace tessary
