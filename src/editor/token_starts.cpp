// The character-class token starts used until the colouring parser supplies real tokens.
#include "editor/token_starts.h"

#include "base/sjis.h"

namespace tessary {
namespace {

enum class CharClass : uint8_t { Word, Blank, Punct, Kana, Wide };

CharClass ClassOf(uint8_t b) {
  if (b == ' ' || b == '\t') return CharClass::Blank;
  if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '_')
    return CharClass::Word;
  if (b >= 0xA6 && b <= 0xDF) return CharClass::Kana;
  return CharClass::Punct;
}

}  // namespace

void CharClassTokenStarts::TokenStartsOf(std::string_view text, const TRowAttributeData&,
                                         std::vector<int32_t>& starts) const {
  const int32_t n = static_cast<int32_t>(text.size());
  CharClass prev = CharClass::Blank;
  for (int32_t i = 0; i < n;) {
    const uint8_t b = static_cast<uint8_t>(text[i]);
    const bool wide = sjis::IsLeadByte(b) && i + 1 < n;
    const CharClass c = wide ? CharClass::Wide : ClassOf(b);
    if (i > 0 && (c != prev || c == CharClass::Punct)) starts.push_back(i);
    prev = c;
    i += wide ? 2 : 1;
  }
}

}  // namespace tessary
