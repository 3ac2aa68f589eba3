// Reproducible Japanese test text (kana, kanji, ASCII, CR LF) for benchmarks, from a fixed seed.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace tessary::bench {

enum class TextForm { ShiftJis, Utf8 };

namespace detail {

inline void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

inline void AppendPair(std::string& out, int lead, int trail) {
  out.push_back(static_cast<char>(lead));
  out.push_back(static_cast<char>(trail));
}

}  // namespace detail

// About `bytes` bytes of text in lines of 20 to 60 characters, each ended by CR LF: mostly
// hiragana, with katakana, kanji (JIS level 1 in Shift-JIS, CJK ideographs in UTF-8), ASCII
// words and full-width punctuation. With a `word` and `wordEvery` > 0, one ASCII word in
// `wordEvery` (drawn at random) is that word; without them the text is the same as ever.
inline std::string JapaneseText(size_t bytes, TextForm form, uint32_t seed = 42,
                                std::string_view word = {}, uint32_t wordEvery = 0) {
  std::mt19937 rng(seed);
  std::string out;
  out.reserve(bytes + 256);
  while (out.size() < bytes) {
    int chars = 20 + static_cast<int>(rng() % 41);
    for (int i = 0; i < chars; ++i) {
      uint32_t kind = rng() % 100;
      if (kind < 45) {  // hiragana
        uint32_t k = rng() % 83;
        if (form == TextForm::Utf8)
          detail::AppendUtf8(out, 0x3041 + k);
        else
          detail::AppendPair(out, 0x82, 0x9F + static_cast<int>(k));
      } else if (kind < 60) {  // katakana
        uint32_t k = rng() % 86;
        if (form == TextForm::Utf8)
          detail::AppendUtf8(out, 0x30A1 + k);
        else
          detail::AppendPair(out, 0x83, 0x40 + static_cast<int>(k) + (k >= 63 ? 1 : 0));
      } else if (kind < 85) {  // kanji
        uint32_t k = rng() % 2000;
        if (form == TextForm::Utf8) {
          detail::AppendUtf8(out, 0x4E00 + k * 7);
        } else {
          int lead = 0x88 + static_cast<int>(k / 188) % 0x17;
          int trail = 0x40 + static_cast<int>(k % 188);
          if (trail >= 0x7F) ++trail;
          detail::AppendPair(out, lead, trail);
        }
      } else if (kind < 97) {  // an ASCII word
        if (!word.empty() && wordEvery > 0 && rng() % wordEvery == 0) {
          out.append(word);
          continue;
        }
        int len = 1 + static_cast<int>(rng() % 6);
        for (int j = 0; j < len; ++j) out.push_back(static_cast<char>('a' + rng() % 26));
      } else {  // full-width comma or full stop
        bool stop = rng() % 2;
        if (form == TextForm::Utf8)
          detail::AppendUtf8(out, stop ? 0x3002 : 0x3001);
        else
          detail::AppendPair(out, 0x81, stop ? 0x42 : 0x41);
      }
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace tessary::bench
