// The save pipeline: the document's Shift-JIS lines to file bytes in one of the seven codes.
#pragma once

#include <string>
#include <string_view>

#include "base/result.h"
#include "codec/char_code.h"
#include "codec/cp932_converter.h"
#include "codec/line_source.h"
#include "platform/app_home.h"
#include "platform/file_io.h"

namespace tessary {

// Bytes of the line end in an 8-bit file: CR LF, CR, LF or nothing.
std::string_view LineEndBytes(RetCode ret);

// The whole file as a save writes it: every line followed by the line end (the last one too;
// with RetCode::None the lines run together). Shift-JIS as it is; UTF-8 with EF BB BF for
// UTF8Bom; UTF-16 in the code's byte order with FE FF / FF FE for the marked codes and the line
// end as 000D / 000A units. Any other value (Auto) writes Shift-JIS. For 16-bit codes this is
// exactly what SaveUtf16's working files and post-processing produce.
std::string EncodeDocument(const LineSource& lines, CharCode code, RetCode ret);

// The same bytes handed to `put` in pieces of about a megabyte as they are made, so that a
// large document is written without its encoded copy in memory. Returns the first non-zero
// result of put (then the rest is not handed on), else 0.
[[nodiscard]] int EncodeDocumentInPieces(const LineSource& lines, CharCode code, RetCode ret,
                                         const PieceWriter& put);

// Writes the document to target with code and line end: 8-bit codes directly, 16-bit codes
// through SaveUtf16. The write goes to a temporary file beside target that is renamed over it,
// so target is never left truncated and keeps its permissions. Any failure is returned; the
// caller shows it and keeps the document modified (clear Modified only on success).
[[nodiscard]] Status SaveFile(const std::string& target, const LineSource& lines, CharCode code,
                              RetCode ret, const AppHome& home);

// The 16-bit save with its two working files in the settings folder: "Tessary-UtfSrc.txt" (the
// lines as Shift-JIS, each followed by CR LF) and "Tessary-UtfDst.txt" (that text as UTF-16 with a
// mark, CR LF as 000D 000A, in the code's byte order), both left in place; then the post-
// processing writes the target. A stale "Tessary-UtfDst.txt" is removed first, so a failed
// conversion can never pass off an earlier save's text as this one.
[[nodiscard]] Status SaveUtf16(const std::string& target, const LineSource& lines, CharCode code,
                               RetCode ret, const AppHome& home);

// What the conversion step of SaveUtf16 does in-process: Shift-JIS text to UTF-16 in the given
// byte order, starting with the two-byte mark; CR and LF bytes become 000D and 000A.
std::string ConvertAnsiToUtf16(std::string_view sjis, ByteOrder order);

// The post-processing of SaveUtf16 over the converted file's bytes: the code's mark (none for
// UTF16Be / UTF16Le), then the text after the converted file's own two-byte mark with every
// CR LF pair found (at any byte offset from 2 to size - 4) replaced by the line end of ret in
// the file's byte order. Bytes after the last CR LF are not copied.
std::string PostProcessUtf16(std::string_view converted, CharCode code, RetCode ret);

}  // namespace tessary
