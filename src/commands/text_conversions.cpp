// Case, width and tab conversions of Shift-JIS text, character by character.
#include "commands/text_conversions.h"

#include <array>
#include <cstdint>
#include <vector>

#include "base/sjis.h"
#include "codec/cp932.h"

namespace tessary {
namespace {

constexpr uint8_t Byte(char c) {
  return static_cast<uint8_t>(c);
}
constexpr char Char(int b) {
  return static_cast<char>(static_cast<uint8_t>(b));
}

using sjis::CharLength;
using sjis::IsPairTrail;

// Which characters a conversion changes, and how long each character is, by its first two
// bytes: step[b << 8 | next] is the character's length (1 or 2) plus kChanges when the
// conversion gives other bytes for it (next is 0 at the end of the text, which no trail byte
// is). Japanese text is mostly characters that no case conversion touches; one look-up per
// character finds them, and the case loop copies them in runs.
constexpr uint8_t kChanges = 4;

struct ChangeSet {
  std::vector<uint8_t> step = std::vector<uint8_t>(65536);

  uint8_t At(std::string_view text, size_t i) const {
    const uint8_t next = i + 1 < text.size() ? Byte(text[i + 1]) : 0;
    return step[Byte(text[i]) << 8 | next];
  }
};

// The set of a conversion found by running it on every character: what it changes is exactly
// what it gives other bytes for.
template <class ConvertOne>
ChangeSet ChangesOf(ConvertOne&& convert_one) {
  ChangeSet set;
  std::string ch, out;
  std::array<bool, 256> single{};
  for (int b = 0; b < 256; ++b) {
    ch.assign(1, Char(b));
    out.clear();
    convert_one(std::string_view(ch), out);
    single[b] = out != ch;
  }
  for (int b = 0; b < 256; ++b) {
    for (int next = 0; next < 256; ++next) {
      ch = {Char(b), Char(next)};
      const size_t len = CharLength(ch, 0);
      bool changes = single[b];
      if (len == 2) {
        out.clear();
        convert_one(std::string_view(ch), out);
        changes = out != ch;
      }
      set.step[b << 8 | next] = static_cast<uint8_t>(len | (changes ? kChanges : 0));
    }
  }
  return set;
}

// Walks the text character by character: a character the set does not name is copied with the
// run it stands in; convert(text, i, len, out) appends the form of one it names and returns the
// bytes it used (more than len when it joined the next character).
template <class Convert>
void AppendInRuns(std::string_view text, const ChangeSet& changes, Convert&& convert,
                  std::string& out) {
  size_t run = 0;
  for (size_t i = 0; i < text.size();) {
    const uint8_t step = changes.At(text, i);
    const size_t len = step & 3u;
    if ((step & kChanges) == 0) {
      i += len;
      continue;
    }
    out.append(text.substr(run, i - run));
    i += convert(text, i, len, out);
    run = i;
  }
  out.append(text.substr(run));
}

// ---- case ----

enum class Case { Upper, Lower };

// Simple Unicode case mapping of the letters code page 932 holds in both cases. A unit without
// another case form maps to itself.
uint16_t UpperUnit(uint16_t u) {
  if ((u >= 0x61 && u <= 0x7A) || (u >= 0xFF41 && u <= 0xFF5A)) return u - 0x20;
  if (u == 0x03C2) return 0x03A3;  // final sigma
  if ((u >= 0x03B1 && u <= 0x03C9) || (u >= 0x0430 && u <= 0x044F)) return u - 0x20;
  if (u >= 0x0450 && u <= 0x045F) return u - 0x50;
  if (u >= 0x2170 && u <= 0x217F) return u - 0x10;
  return u;
}

uint16_t LowerUnit(uint16_t u) {
  if ((u >= 0x41 && u <= 0x5A) || (u >= 0xFF21 && u <= 0xFF3A)) return u + 0x20;
  if ((u >= 0x0391 && u <= 0x03A9 && u != 0x03A2) || (u >= 0x0410 && u <= 0x042F)) return u + 0x20;
  if (u >= 0x0400 && u <= 0x040F) return u + 0x50;
  if (u >= 0x2160 && u <= 0x216F) return u + 0x10;
  return u;
}

// The mapped unit replaces the character only when its code has the character's length and
// reads back as that unit; a character whose unit does not change keeps its bytes, so of two
// codes of one character (∵ 0x81E6 and 0x879A) neither is rewritten to the other.
void AppendCaseMapped(std::string_view ch, Case to, std::string& out) {
  const uint16_t unit = ch.size() == 2 ? cp932::DecodePair(Byte(ch[0]), Byte(ch[1]))
                                       : cp932::DecodeSingle(Byte(ch[0]));
  const uint16_t mapped = to == Case::Upper ? UpperUnit(unit) : LowerUnit(unit);
  const uint16_t code = mapped == unit ? cp932::kUnmapped : cp932::Encode(mapped);
  if (code == cp932::kUnmapped) {
    out.append(ch);
  } else if (ch.size() == 1 && code < 0x80 && cp932::DecodeSingle(Byte(Char(code))) == mapped) {
    out.push_back(Char(code));
  } else if (ch.size() == 2 && code >= 0x100 && sjis::IsLeadByte(Char(code >> 8)) &&
             IsPairTrail(code & 0xFF) && cp932::DecodePair(code >> 8, code & 0xFF) == mapped) {
    out.push_back(Char(code >> 8));
    out.push_back(Char(code & 0xFF));
  } else {
    out.append(ch);
  }
}

// Code page 932 reads bytes below 0x80 as the same ASCII units, so their letters need no tables.
char AsciiCase(char c, Case to) {
  if (to == Case::Upper) return c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c;
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
}

void AppendCaseOf(std::string_view ch, Case to, std::string& out) {
  if (ch.size() == 1 && Byte(ch[0]) < 0x80)
    out.push_back(AsciiCase(ch[0], to));
  else
    AppendCaseMapped(ch, to, out);
}

const ChangeSet& CaseChanges(Case to) {
  static const ChangeSet upper =
      ChangesOf([](std::string_view ch, std::string& out) { AppendCaseOf(ch, Case::Upper, out); });
  static const ChangeSet lower =
      ChangesOf([](std::string_view ch, std::string& out) { AppendCaseOf(ch, Case::Lower, out); });
  return to == Case::Upper ? upper : lower;
}

void AppendCase(std::string_view text, Case to, std::string& out) {
  AppendInRuns(
      text, CaseChanges(to),
      [to](std::string_view t, size_t i, size_t len, std::string& o) {
        AppendCaseOf(t.substr(i, len), to, o);
        return len;
      },
      out);
}

// ---- width ----

// JIS X 0208 row and cell of a double-byte code. Leads 0xF0 and above give rows past 0x7E,
// which no table below holds.
struct JisCode {
  int row;
  int cell;
};

JisCode ToJis(uint8_t lead, uint8_t trail) {
  int row = lead <= 0x9F ? (lead - 0x81) * 2 + 0x21 : (lead - 0xE0) * 2 + 0x5F;
  if (trail >= 0x9F) return {row + 1, trail - 0x7E};
  return {row, trail < 0x7F ? trail - 0x1F : trail - 0x20};
}

// Appends the Shift-JIS code of a JIS X 0208 row and cell (each 0x21-0x7E).
void AppendFromJis(int row, int cell, std::string& out) {
  out.push_back(Char((row + 1) / 2 + (row <= 0x5E ? 0x70 : 0xB0)));
  if (row % 2 == 0) {
    out.push_back(Char(cell + 0x7E));
  } else {
    out.push_back(Char(cell + (cell >= 0x60 ? 0x20 : 0x1F)));
  }
}

constexpr int kSymbolRow = 0x21;
constexpr int kLatinRow = 0x23;
constexpr int kKanaRow = 0x25;
constexpr int kVoicedMarkCell = 0x2B;          // ゛
constexpr int kSemiVoicedMarkCell = 0x2C;      // ゜
constexpr uint8_t kHalfVoicedMark = 0xDE;      // ﾞ
constexpr uint8_t kHalfSemiVoicedMark = 0xDF;  // ﾟ

bool IsAsciiDigitOrLetter(int b) {
  return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

// Position k of one list corresponds to position k of the other. Every full-width symbol is a
// row 0x21 character (lead 0x81), which the lookup tables below rely on.
constexpr std::string_view kHalfSymbols =
    " !\"#$%&'()=`|-^\\~{@[+*};:]<>?_\xA4\xA1\xA5,./\xB0\xA2\xA3";
constexpr std::string_view kFullSymbols =
    "\x81\x40\x81\x49\x81\x68\x81\x94\x81\x90\x81\x93\x81\x95\x81\x66\x81\x69\x81\x6A"
    "\x81\x81\x81\x65\x81\x62\x81\x7C\x81\x4F\x81\x8F\x81\x50\x81\x6F\x81\x97\x81\x6D"
    "\x81\x7B\x81\x96\x81\x70\x81\x47\x81\x46\x81\x6E\x81\x83\x81\x84\x81\x48\x81\x51"
    "\x81\x41\x81\x42\x81\x45\x81\x43\x81\x44\x81\x5E\x81\x5B\x81\x75\x81\x76";
static_assert(kHalfSymbols.size() == 39 && kFullSymbols.size() == 2 * 39);
constexpr uint8_t kSymbolLead = 0x81;

// Byte → 1 + its position in kHalfSymbols, or 0.
constexpr std::array<uint8_t, 256> kHalfSymbolIndex = [] {
  std::array<uint8_t, 256> t{};
  for (size_t k = 0; k < kHalfSymbols.size(); ++k) t[Byte(kHalfSymbols[k])] = k + 1;
  return t;
}();

// Trail byte of a full-width symbol → its half-width byte, or 0. Looking a character up by its
// own code (never searching the list as one byte string) keeps kanji such as 煤 0x9481, whose
// bytes are the end of ＃ and the start of ＄, from matching.
constexpr std::array<uint8_t, 256> kFullSymbolToHalf = [] {
  std::array<uint8_t, 256> t{};
  for (size_t k = 0; k < kHalfSymbols.size(); ++k)
    t[Byte(kFullSymbols[2 * k + 1])] = Byte(kHalfSymbols[k]);
  return t;
}();

constexpr bool AllFullSymbolsHaveLead(uint8_t lead) {
  for (size_t k = 0; k < kFullSymbols.size(); k += 2)
    if (Byte(kFullSymbols[k]) != lead) return false;
  return true;
}
static_assert(AllFullSymbolsHaveLead(kSymbolLead));

// Which marks a half-width kana takes to become one voiced full-width kana.
enum class Voicing : uint8_t { None, Voiced, VoicedOrSemiVoiced };

struct HalfKana {
  uint8_t cell;  // in the katakana row; 0: no entry
  Voicing voicing;
};

constexpr uint8_t kFirstHalfKana = 0xA6;      // ｦ
constexpr uint8_t kLastHalfKana = 0xDF;       // ﾟ
constexpr uint8_t kHalfProlongedMark = 0xB0;  // ｰ goes through the symbol lists

constexpr HalfKana N(uint8_t cell) {
  return {cell, Voicing::None};
}
constexpr HalfKana V(uint8_t cell) {
  return {cell, Voicing::Voiced};
}
constexpr HalfKana P(uint8_t cell) {
  return {cell, Voicing::VoicedOrSemiVoiced};
}

// ｦ (0xA6) to ﾟ (0xDF). ｳ takes no voiced mark; ｰ, ﾞ and ﾟ have no entry.
constexpr HalfKana kHalfKanaToFull[kLastHalfKana - kFirstHalfKana + 1] = {
    N(0x72),                                      // ｦ
    N(0x21), N(0x23), N(0x25), N(0x27), N(0x29),  // ｧ ｨ ｩ ｪ ｫ
    N(0x63), N(0x65), N(0x67), N(0x43),           // ｬ ｭ ｮ ｯ
    N(0),                                         // ｰ
    N(0x22), N(0x24), N(0x26), N(0x28), N(0x2A),  // ｱ ｲ ｳ ｴ ｵ
    V(0x2B), V(0x2D), V(0x2F), V(0x31), V(0x33),  // ｶ ｷ ｸ ｹ ｺ
    V(0x35), V(0x37), V(0x39), V(0x3B), V(0x3D),  // ｻ ｼ ｽ ｾ ｿ
    V(0x3F), V(0x41), V(0x44), V(0x46), V(0x48),  // ﾀ ﾁ ﾂ ﾃ ﾄ
    N(0x4A), N(0x4B), N(0x4C), N(0x4D), N(0x4E),  // ﾅ ﾆ ﾇ ﾈ ﾉ
    P(0x4F), P(0x52), P(0x55), P(0x58), P(0x5B),  // ﾊ ﾋ ﾌ ﾍ ﾎ
    N(0x5E), N(0x5F), N(0x60), N(0x61), N(0x62),  // ﾏ ﾐ ﾑ ﾒ ﾓ
    N(0x64), N(0x66), N(0x68),                    // ﾔ ﾕ ﾖ
    N(0x69), N(0x6A), N(0x6B), N(0x6C), N(0x6D),  // ﾗ ﾘ ﾙ ﾚ ﾛ
    N(0x6F), N(0x73),                             // ﾜ ﾝ
    N(0),    N(0),                                // ﾞ ﾟ
};

// Katakana row cells 0x21 (ァ) to 0x76 (ヶ) → v: the half-width byte is 0xA6 + v % 56, and
// v / 56 appends ﾞ (1) or ﾟ (2). ヰ ヱ ヲ follow their vowels (ｲ ｴ ｵ).
constexpr int kFirstKanaCell = 0x21;
constexpr uint8_t kFullKanaToHalf[] = {
    1,  11, 2,  12, 3,   13, 4,  14,  5,  15, 16,  72, 17, 73,  18, 74, 19,  75, 20, 76, 21, 77,
    22, 78, 23, 79, 24,  80, 25, 81,  26, 82, 27,  83, 9,  28,  84, 29, 85,  30, 86, 31, 32, 33,
    34, 35, 36, 92, 148, 37, 93, 149, 38, 94, 150, 39, 95, 151, 40, 96, 152, 41, 42, 43, 44, 45,
    6,  46, 7,  47, 8,   48, 49, 50,  51, 52, 53,  54, 54, 12,  14, 15, 55,  69, 16, 19,
};
static_assert(std::size(kFullKanaToHalf) == 0x76 - kFirstKanaCell + 1);

// Appends the full-width form of the half-width kana at text[i]; returns the bytes used (two
// when a mark after it joined it).
size_t AppendFullKana(std::string_view text, size_t i, std::string& out) {
  const HalfKana kana = kHalfKanaToFull[Byte(text[i]) - kFirstHalfKana];
  if (kana.cell == 0) {
    out.push_back(text[i]);
    return 1;
  }
  const int mark = i + 1 < text.size() ? Byte(text[i + 1]) : 0;
  if (mark == kHalfVoicedMark && kana.voicing != Voicing::None) {
    AppendFromJis(kKanaRow, kana.cell + 1, out);
    return 2;
  }
  if (mark == kHalfSemiVoicedMark && kana.voicing == Voicing::VoicedOrSemiVoiced) {
    AppendFromJis(kKanaRow, kana.cell + 2, out);
    return 2;
  }
  AppendFromJis(kKanaRow, kana.cell, out);
  if (mark != kHalfVoicedMark && mark != kHalfSemiVoicedMark) return 1;
  AppendFromJis(kSymbolRow, mark == kHalfVoicedMark ? kVoicedMarkCell : kSemiVoicedMarkCell, out);
  return 2;
}

// Appends the full-width form of the single-byte character at text[i]; returns the bytes used.
size_t AppendFullWidth(std::string_view text, size_t i, std::string& out) {
  const uint8_t b = Byte(text[i]);
  if (IsAsciiDigitOrLetter(b)) {
    AppendFromJis(kLatinRow, b, out);
    return 1;
  }
  if (b >= kFirstHalfKana && b <= kLastHalfKana && b != kHalfProlongedMark)
    return AppendFullKana(text, i, out);
  if (const int k = kHalfSymbolIndex[b]; k != 0) {
    out.append(kFullSymbols.substr(2 * (k - 1), 2));
  } else {
    out.push_back(text[i]);
  }
  return 1;
}

void AppendHalfWidth(uint8_t lead, uint8_t trail, std::string& out) {
  const JisCode jis = ToJis(lead, trail);
  const int kana = jis.cell - kFirstKanaCell;
  if (jis.row == kKanaRow && kana >= 0 && kana < static_cast<int>(std::size(kFullKanaToHalf))) {
    const int v = kFullKanaToHalf[kana];
    out.push_back(Char(kFirstHalfKana + v % 56));
    if (v / 56 == 1) out.push_back(Char(kHalfVoicedMark));
    if (v / 56 == 2) out.push_back(Char(kHalfSemiVoicedMark));
  } else if (const uint8_t half = lead == kSymbolLead ? kFullSymbolToHalf[trail] : 0; half != 0) {
    out.push_back(Char(half));
  } else if (jis.row == kLatinRow && IsAsciiDigitOrLetter(jis.cell)) {
    // The unassigned cells of the row are no characters and stay as they are.
    out.push_back(Char(jis.cell));
  } else {
    out.push_back(Char(lead));
    out.push_back(Char(trail));
  }
}

}  // namespace

void AppendUpperCase(std::string_view text, std::string& out) {
  AppendCase(text, Case::Upper, out);
}
void AppendLowerCase(std::string_view text, std::string& out) {
  AppendCase(text, Case::Lower, out);
}

std::string UpperCase(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendUpperCase(text, out);
  return out;
}

std::string LowerCase(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendLowerCase(text, out);
  return out;
}

void AppendZenToHan(std::string_view text, std::string& out) {
  for (size_t i = 0; i < text.size();) {
    if (CharLength(text, i) == 2) {
      AppendHalfWidth(Byte(text[i]), Byte(text[i + 1]), out);
      i += 2;
    } else {
      out.push_back(text[i++]);
    }
  }
}

std::string ZenToHan(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendZenToHan(text, out);
  return out;
}

void AppendHanToZen(std::string_view text, std::string& out) {
  for (size_t i = 0; i < text.size();) {
    if (CharLength(text, i) == 2) {
      out.append(text.substr(i, 2));
      i += 2;
    } else if (sjis::IsLeadByte(text[i])) {
      // A lone lead byte. The byte after it (below 0x40, 0x7F or 0xFD-0xFF) stays as it is:
      // a double-byte form written there would be read as the lead byte's trail byte.
      const size_t len = i + 1 < text.size() ? 2 : 1;
      out.append(text.substr(i, len));
      i += len;
    } else {
      i += AppendFullWidth(text, i, out);
    }
  }
}

std::string HanToZen(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendHanToZen(text, out);
  return out;
}

// A TAB is never a trail byte, so every 0x09 byte is a TAB character.
void AppendTabsToBlanks(std::string_view text, int blanks, std::string& out) {
  const size_t count = blanks > 0 ? static_cast<size_t>(blanks) : 0;
  for (size_t from = 0; from < text.size();) {
    const size_t tab = text.find('\t', from);
    const size_t end = tab == std::string_view::npos ? text.size() : tab;
    out.append(text.substr(from, end - from));
    if (tab == std::string_view::npos) break;
    out.append(count, ' ');
    from = tab + 1;
  }
}

std::string TabsToBlanks(std::string_view text, int blanks) {
  std::string out;
  out.reserve(text.size());
  AppendTabsToBlanks(text, blanks, out);
  return out;
}

bool IsOfferedTabBlankCount(int blanks) {
  return blanks == 2 || blanks == 4 || blanks == 6 || blanks == 8;
}

int TabBlankCount(int setting) {
  return IsOfferedTabBlankCount(setting) ? setting : 4;
}

void AppendConverted(TextConversion conversion, std::string_view text, int blanks,
                     std::string& out) {
  switch (conversion) {
    case TextConversion::UpperCase:
      return AppendUpperCase(text, out);
    case TextConversion::LowerCase:
      return AppendLowerCase(text, out);
    case TextConversion::ZenToHan:
      return AppendZenToHan(text, out);
    case TextConversion::HanToZen:
      return AppendHanToZen(text, out);
    case TextConversion::TabsToBlanks:
      return AppendTabsToBlanks(text, blanks, out);
  }
}

}  // namespace tessary
