// Whole pipelines: every code page 932 character through every code, and random Unicode text
// saved in each code and loaded back against converting it directly (fixed seeds).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/sjis.h"
#include "codec/cp932.h"
#include "codec/document_loader.h"
#include "codec/document_saver.h"
#include "support/utf8_text.h"

namespace tessary {
namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const TextLines& t) {
  Lines out;
  for (size_t i = 0; i < t.Count(); ++i) out.emplace_back(t.Line(i));
  return out;
}

TextLines ToTextLines(const Lines& lines) {
  TextLines t;
  for (const auto& l : lines) t.AddLine(l);
  return t;
}

constexpr CharCode kAllCodes[] = {CharCode::SJIS,       CharCode::UTF8Bom,    CharCode::UTF8,
                                  CharCode::UTF16BomBe, CharCode::UTF16Be,    CharCode::UTF16BomLe,
                                  CharCode::UTF16Le};

void PutCode(std::string& out, uint16_t code) {
  if (code >= 0x100) out.push_back(static_cast<char>(code >> 8));
  out.push_back(static_cast<char>(code & 0xFF));
}

// Every character the table lists (control bytes aside, which the loader treats apart), as the
// code page 932 bytes and as the bytes a save followed by a load must give: the code Windows
// writes for its character, which differs for NEC and IBM duplicates.
struct AllCharacters {
  Lines original, canonical;
};

AllCharacters EveryCharacter() {
  AllCharacters all;
  std::string line, canon;
  auto add = [&](uint16_t code, uint16_t unit) {
    PutCode(line, code);
    const uint16_t back = cp932::Encode(unit);
    ASSERT_NE(back, cp932::kUnmapped) << std::hex << code;
    PutCode(canon, back);
    if (line.size() >= 120) {
      all.original.push_back(line);
      all.canonical.push_back(canon);
      line.clear();
      canon.clear();
    }
  };
  for (int b = 0x20; b < 0x100; ++b)
    if (!sjis::IsLeadByte(static_cast<uint8_t>(b))) add(static_cast<uint16_t>(b), cp932::DecodeSingle(static_cast<uint8_t>(b)));
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!sjis::IsLeadByte(static_cast<uint8_t>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const uint16_t u = cp932::GetTables().pair[lead << 8 | trail];
      // Unlisted codes decode to U+30FB too; only 8145 really is that character.
      if (u == cp932::kDefaultUnit && (lead << 8 | trail) != 0x8145) continue;
      add(static_cast<uint16_t>(lead << 8 | trail), u);
    }
  }
  all.original.push_back(line);
  all.canonical.push_back(canon);
  return all;
}

TEST(RoundTrip, EveryCodePage932CharacterThroughEveryCode) {
  const AllCharacters all = EveryCharacter();
  ASSERT_GT(all.original.size(), 100u);
  const TextLines doc = ToTextLines(all.original);
  for (CharCode code : kAllCodes) {
    const std::string bytes = EncodeDocument(doc, code, RetCode::CrLf);
    const LoadedText back = LoadDocumentText(bytes, code);
    EXPECT_EQ(back.replaced_chars, 0u) << CharCodeKeyWord(code);
    const Lines& expected = code == CharCode::SJIS ? all.original : all.canonical;
    EXPECT_EQ(LinesOf(back.lines), expected) << CharCodeKeyWord(code);
    // Detection finds the code too, except UTF-8 without mark: the earliest kana pattern
    // decides there, and this text holds byte pairs of Shift-JIS kana before its first kana.
    if (code != CharCode::UTF8) {
      EXPECT_EQ(LoadDocumentText(bytes, CharCode::Auto).code, code) << CharCodeKeyWord(code);
    }
  }
}

// ---- random Unicode text ----

using testing::PutUtf8;

void PutUtf16(std::string& out, uint32_t cp, bool le) {
  auto unit = [&](uint32_t u) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out.push_back(le ? lo : hi);
    out.push_back(le ? hi : lo);
  };
  if (cp < 0x10000) {
    unit(cp);
  } else {
    unit(0xD800 + ((cp - 0x10000) >> 10));
    unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
  }
}

// The direct conversion the loader must agree with: code page 932 where it exists, else "?"
// per UTF-16 unit.
void PutDirect(std::string& out, uint32_t cp, uint64_t& replaced) {
  if (cp >= 0x10000) {
    out += "??";
    ++replaced;  // one character, shown as a "?" per UTF-16 unit
    return;
  }
  const uint16_t c = cp932::Encode(static_cast<uint16_t>(cp));
  if (c == cp932::kUnmapped) {
    out.push_back('?');
    ++replaced;
    return;
  }
  PutCode(out, c);
  // A code that reads back as another character (best fit) is a change the load counts too.
  const uint16_t back = c < 0x100 ? cp932::DecodeSingle(static_cast<uint8_t>(c))
                                  : cp932::DecodePair(static_cast<uint8_t>(c >> 8),
                                                      static_cast<uint8_t>(c & 0xFF));
  if (back != cp) ++replaced;
}

uint32_t RandomCodePoint(std::mt19937& rng) {
  for (;;) {
    const uint32_t kind = rng() % 10;
    uint32_t cp;
    if (kind < 3) {
      cp = 0x20 + rng() % 0x5F;  // printable ASCII
    } else if (kind < 6) {  // a character of the table
      const uint16_t code = static_cast<uint16_t>(0x8140 + rng() % (0x9FFC - 0x8140));
      cp = cp932::GetTables().pair[code];
      if (cp == 0) continue;
    } else if (kind < 8) {
      cp = rng() % 0x10000;  // anywhere in the BMP: mostly unmappable
    } else if (kind < 9) {
      cp = 0x10000 + rng() % 0x100000;  // beyond the BMP
    } else {
      constexpr uint32_t kSpecial[] = {0x301C, 0x2016, 0x2212, 0x2014, 0x203E, 0x00A5,
                                       0x00E9, 0xFF5E, 0xFEFF, 0xFF71, 0x0080, 0xE000};
      cp = kSpecial[rng() % std::size(kSpecial)];
    }
    if (cp < 0x20 || cp == 0x7F || (cp >= 0xD800 && cp <= 0xDFFF)) continue;
    return cp;
  }
}

struct RandomDoc {
  std::vector<std::vector<uint32_t>> lines;
  std::string eol;
  bool last_has_end = true;
};

RandomDoc MakeDoc(std::mt19937& rng) {
  RandomDoc d;
  const int n = 1 + static_cast<int>(rng() % 12);
  for (int i = 0; i < n; ++i) {
    std::vector<uint32_t> line(rng() % 30);
    for (auto& cp : line) cp = RandomCodePoint(rng);
    d.lines.push_back(std::move(line));
  }
  constexpr const char* kEols[] = {"\r\n", "\r", "\n"};
  d.eol = kEols[rng() % 3];
  // One line end at least: UTF-16 without mark is recognised only by its line ends, and a
  // file taken for 8-bit text with 00 bytes is shown as "invalid characters" whatever was
  // requested.
  d.last_has_end = n == 1 || rng() % 2;
  if (!d.last_has_end && d.lines.back().empty()) d.lines.back().push_back('x');
  return d;
}

// The file bytes of the document in one code, as another program would have written them.
std::string FileBytes(const RandomDoc& d, CharCode code) {
  std::string out;
  const bool utf8 = code == CharCode::UTF8Bom || code == CharCode::UTF8;
  const bool le = IsLittleEndian(code);
  if (code == CharCode::UTF8Bom) out += "\xEF\xBB\xBF";
  if (code == CharCode::UTF16BomBe) out += "\xFE\xFF";
  if (code == CharCode::UTF16BomLe) out += "\xFF\xFE";
  uint64_t ignored = 0;
  for (size_t i = 0; i < d.lines.size(); ++i) {
    std::vector<uint32_t> cps = d.lines[i];
    if (i + 1 < d.lines.size() || d.last_has_end)
      for (char c : d.eol) cps.push_back(static_cast<uint8_t>(c));
    for (uint32_t cp : cps) {
      if (code == CharCode::SJIS) PutDirect(out, cp, ignored);
      else if (utf8) PutUtf8(out, cp);
      else PutUtf16(out, cp, le);
    }
  }
  return out;
}

TEST(RoundTrip, RandomUnicodeLoadsAsItsDirectConversionInEveryCode) {
  std::mt19937 rng(20261207);
  for (int round = 0; round < 300; ++round) {
    const RandomDoc d = MakeDoc(rng);
    Lines expected;
    uint64_t replaced = 0;
    for (const auto& line : d.lines) {
      std::string s;
      for (uint32_t cp : line) PutDirect(s, cp, replaced);
      expected.push_back(s);
    }
    for (CharCode code : kAllCodes) {
      const LoadedText loaded = LoadDocumentText(FileBytes(d, code), code);
      ASSERT_EQ(LinesOf(loaded.lines), expected) << "round " << round << " " << CharCodeKeyWord(code);
      EXPECT_EQ(loaded.replaced_chars, code == CharCode::SJIS ? 0 : replaced) << round;
      // Saving the loaded text in the same code and loading it again changes nothing.
      const std::string saved = EncodeDocument(loaded.lines, code, RetCode::Lf);
      const LoadedText again = LoadDocumentText(saved, code);
      ASSERT_EQ(LinesOf(again.lines), expected) << "round " << round << " " << CharCodeKeyWord(code);
      EXPECT_EQ(again.replaced_chars, 0u);
    }
  }
}

}  // namespace
}  // namespace tessary
