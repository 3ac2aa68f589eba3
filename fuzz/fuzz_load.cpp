// The in-memory load in each read code (chosen by the first byte) over any file bytes.
#include <algorithm>
#include <optional>

#include "codec/document_loader.h"
#include "codec/document_saver.h"
#include "codec/utf_text_decoder.h"
#include "fuzz/fuzz_input.h"

namespace tessary::fuzz {
namespace {

bool SameLines(const TextLines& a, const TextLines& b) {
  if (a.Count() != b.Count() || a.last_line_has_end() != b.last_line_has_end()) return false;
  for (size_t i = 0; i < a.Count(); ++i)
    if (a.Line(i) != b.Line(i)) return false;
  return true;
}

bool SameText(const DecodedText& a, const DecodedText& b) {
  return a.ok == b.ok && a.replaced_chars == b.replaced_chars && a.cut_short == b.cut_short &&
         SameLines(a.lines, b.lines);
}

// The vector UTF-8 decoder (where the CPU has it) must give what the portable one gives.
void CheckUtf8Paths(std::string_view bytes, CharCode code) {
  if (code != CharCode::UTF8 && code != CharCode::UTF8Bom) return;
  const Utf8Mark mark = code == CharCode::UTF8Bom ? Utf8Mark::Drop : Utf8Mark::Keep;
  Check(SameText(DecodeUtf8Text(bytes, mark, BlockPath::Vector),
                 DecodeUtf8Text(bytes, mark, BlockPath::Scalar)),
        "UTF-8 vector and scalar decoding agree");
}

void CheckLines(const LoadedText& t, std::string_view bytes) {
  for (size_t i = 0; i < t.lines.Count(); ++i)
    Check(!HasLineEndByte(t.lines.Line(i)), "no loaded line holds CR or LF");
  // The decoders write over the file's own buffer; only a lone last UTF-16 byte may grow.
  Check(t.lines.TotalBytes() <= bytes.size() + 1, "the text is never longer than the file");
  Check(!t.decode_failed || t.lines.Empty(), "a failed decode gives no text");
}

// ---- a clean load saves back the file's own bytes, line ends aside ----

// Units of one or two bytes; CR LF, CR and LF become CR LF, and the last line gets one too.
template <class Unit>
std::vector<Unit> WithCrLfEnds(const std::vector<Unit>& text) {
  std::vector<Unit> out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') {
      out.push_back(text[i]);
      continue;
    }
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    out.insert(out.end(), {Unit{'\r'}, Unit{'\n'}});
  }
  if (!out.empty() && out.back() != '\n') out.insert(out.end(), {Unit{'\r'}, Unit{'\n'}});
  return out;
}

// Shortest forms of characters up to U+FFFF, no surrogates, no zero byte: text that a save
// writes the same way. (Four-byte characters are counted as replaced.)
bool StrictUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<uint8_t>(s[i]);
    const size_t n = b < 0x80 ? 1 : (b >= 0xC2 && b <= 0xDF) ? 2 : (b >= 0xE0 && b <= 0xEF) ? 3 : 0;
    if (b == 0 || n == 0 || i + n > s.size()) return false;
    uint32_t u = n == 1 ? b : b & (n == 2 ? 0x1F : 0x0F);
    for (size_t k = 1; k < n; ++k) {
      const auto c = static_cast<uint8_t>(s[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      u = u << 6 | (c & 0x3F);
    }
    if ((n == 3 && u < 0x800) || (u >= 0xD800 && u <= 0xDFFF)) return false;
    i += n;
  }
  return true;
}

std::optional<std::string> EightBitFile(std::string_view bytes, CharCode code) {
  const std::string_view mark = "\xEF\xBB\xBF";
  if (code == CharCode::UTF8Bom && bytes.substr(0, 3) == mark) {
    bytes.remove_prefix(3);
    if (bytes.empty()) return std::nullopt;  // a mark alone loads as one empty line
  }
  if (code == CharCode::SJIS &&
      bytes.find_first_of(std::string_view("\0\x1A", 2)) != std::string_view::npos)
    return std::nullopt;  // zeros and EOF marks are not text
  if (code != CharCode::SJIS && !StrictUtf8(bytes)) return std::nullopt;
  const std::vector<char> text = WithCrLfEnds(std::vector<char>(bytes.begin(), bytes.end()));
  return std::string(code == CharCode::UTF8Bom ? mark : "") + std::string(text.begin(), text.end());
}

std::optional<std::string> SixteenBitFile(std::string_view bytes, CharCode code) {
  const bool le = IsLittleEndian(code);
  const std::string_view mark = le ? "\xFF\xFE" : "\xFE\xFF";
  // A lone last byte becomes a whole unit; two bytes or fewer with a mark expected are empty.
  if (bytes.size() % 2 != 0 || (HasBom(code) && bytes.size() <= 2)) return std::nullopt;
  if (HasBom(code) && bytes.substr(0, 2) == mark) bytes.remove_prefix(2);
  std::vector<uint16_t> units;
  for (size_t i = 0; i < bytes.size(); i += 2) {
    const auto a = static_cast<uint8_t>(bytes[i]), b = static_cast<uint8_t>(bytes[i + 1]);
    units.push_back(static_cast<uint16_t>(le ? (b << 8 | a) : (a << 8 | b)));
  }
  if (std::find(units.begin(), units.end(), 0) != units.end()) return std::nullopt;
  std::string out(HasBom(code) ? mark : "");
  for (uint16_t u : WithCrLfEnds(units)) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out += le ? std::string{lo, hi} : std::string{hi, lo};
  }
  return out;
}

void CheckCleanLoadSavesBack(const LoadedText& t, std::string_view bytes) {
  if (t.invalid_char_found || t.decode_failed || t.text_cut_short || t.replaced_chars > 0) return;
  const std::optional<std::string> file =
      IsSixteenBit(t.code) ? SixteenBitFile(bytes, t.code) : EightBitFile(bytes, t.code);
  if (!file) return;
  Check(EncodeDocument(t.lines, t.code, RetCode::CrLf) == *file,
        "a load that reports no change saves back the file's bytes");
}

}  // namespace
}  // namespace tessary::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessary;
  using namespace tessary::fuzz;
  FuzzInput in(data, size);
  const auto requested = static_cast<CharCode>(in.Byte() % 8);
  const std::string_view bytes = in.Rest();
  const LoadedText t = LoadDocumentText(bytes, requested);
  if (bytes.empty()) {
    Check(t.code == CharCode::SJIS && t.ret == RetCode::CrLf && t.lines.Empty(), "empty file");
    return 0;
  }
  const CharCode expected = requested == CharCode::Auto ? DetectCharCode(bytes).code : requested;
  Check(t.code == expected, "the requested code, else the detected one");
  CheckLines(t, bytes);
  if (!t.invalid_char_found) CheckUtf8Paths(bytes, t.code);
  CheckCleanLoadSavesBack(t, bytes);
  return 0;
}
