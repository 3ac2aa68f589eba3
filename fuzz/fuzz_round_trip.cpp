// Lines of listed code page 932 characters come back from a save and load in every code.
#include <string>
#include <vector>

#include "base/sjis.h"
#include "codec/cp932.h"
#include "codec/document_loader.h"
#include "codec/document_saver.h"
#include "codec/utf_text_decoder.h"
#include "fuzz/fuzz_input.h"

namespace tessary::fuzz {
namespace {

using Lines = std::vector<std::string>;

void PutCode(std::string& out, uint16_t code) {
  if (code >= 0x100) out.push_back(static_cast<char>(code >> 8));
  out.push_back(static_cast<char>(code & 0xFF));
}

// A character the table lists with a Unicode form that maps back to a code, and that is no
// control character or line end: only such text is sure to come back. Unlisted pairs decode
// to U+30FB like the listed 81 45.
bool Listed(uint16_t code, uint16_t unit) {
  if (unit < 0x20 || cp932::Encode(unit) == cp932::kUnmapped) return false;
  return unit != cp932::kDefaultUnit || code == 0x8145;
}

struct Text {
  Lines original;   // the document's lines
  Lines canonical;  // what a load of a UTF save gives: each character as Windows writes it
};

// Reads the input as Shift-JIS, keeps the listed characters and starts a line at CR and LF.
Text ListedText(std::string_view in) {
  const cp932::Tables& t = cp932::GetTables();
  Text text{Lines(1), Lines(1)};
  auto add = [&](uint16_t code, uint16_t unit) {
    if (!Listed(code, unit)) return;
    PutCode(text.original.back(), code);
    PutCode(text.canonical.back(), cp932::Encode(unit));
  };
  for (size_t i = 0; i < in.size(); ++i) {
    const auto b = static_cast<uint8_t>(in[i]);
    if (b == '\r' || b == '\n') {
      text.original.emplace_back();
      text.canonical.emplace_back();
    } else if (!sjis::IsLeadByte(b)) {
      add(b, t.single[b]);
    } else if (i + 1 < in.size() && t.pair[b << 8 | static_cast<uint8_t>(in[i + 1])] != 0) {
      const auto code = static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(in[i + 1]));
      add(code, t.pair[code]);
      ++i;
    }
  }
  return text;
}

Lines LinesOf(const TextLines& t) {
  Lines out;
  for (size_t i = 0; i < t.Count(); ++i) out.emplace_back(t.Line(i));
  return out;
}

// Through the whole load: Shift-JIS and UTF-8 text of listed characters holds no control
// byte, so detection never sends it down the unfit-file path.
void CheckEightBit(const TextLines& doc, const Text& text, RetCode ret) {
  for (CharCode code : {CharCode::SJIS, CharCode::UTF8Bom, CharCode::UTF8}) {
    const LoadedText back = LoadDocumentText(EncodeDocument(doc, code, ret), code);
    Check(!back.invalid_char_found && !back.decode_failed && back.replaced_chars == 0,
          "a save of listed characters loads cleanly");
    const Lines& expected = code == CharCode::SJIS ? text.original : text.canonical;
    Check(LinesOf(back.lines) == expected, "8-bit save and load give the lines back");
  }
}

// UTF-16 units may contain control-byte values, which detection would take for an unfit
// 8-bit file, so the decoder is asked directly, as a load with the read code set does.
void CheckSixteenBit(const TextLines& doc, const Text& text, RetCode ret) {
  for (CharCode code :
       {CharCode::UTF16BomBe, CharCode::UTF16Be, CharCode::UTF16BomLe, CharCode::UTF16Le}) {
    const ByteOrder order = IsLittleEndian(code) ? ByteOrder::LittleEndian : ByteOrder::BigEndian;
    const Utf16Mark mark = HasBom(code) ? Utf16Mark::Expected : Utf16Mark::None;
    const DecodedText back = DecodeUtf16Text(EncodeDocument(doc, code, ret), order, mark);
    Check(back.replaced_chars == 0, "a UTF-16 save of listed characters loses nothing");
    Check(LinesOf(back.lines) == text.canonical, "UTF-16 save and load give the lines back");
  }
}

}  // namespace
}  // namespace tessary::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessary;
  using namespace tessary::fuzz;
  FuzzInput in(data, size);
  // Lines joined without line ends cannot be told apart again.
  const RetCode ret = static_cast<RetCode>(in.Byte() % 3);
  const Text text = ListedText(in.Rest());
  TextLines doc;
  for (const std::string& line : text.original) doc.AddLine(line);
  CheckEightBit(doc, text, ret);
  CheckSixteenBit(doc, text, ret);
  return 0;
}
