// Reproducible Japanese text that code page 932 represents exactly, in Shift-JIS and UTF-8.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "codec/cp932.h"

namespace tessary::bench {

struct CodecText {
  std::string sjis;  // lines ended by CR LF
  std::string utf8;  // the same text
};

namespace detail {

inline void PutUtf8(std::string& out, uint16_t u) {
  if (u < 0x80) {
    out.push_back(static_cast<char>(u));
  } else if (u < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (u >> 6)));
    out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (u >> 12)));
    out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
  }
}

// Double-byte codes with the given lead bytes that decode to a character which encodes back
// to the same code, so every converter agrees on them.
inline std::vector<uint16_t> RoundTripCodes(int first_lead, int last_lead) {
  const cp932::Tables& t = cp932::GetTables();
  std::vector<uint16_t> codes;
  for (int lead = first_lead; lead <= last_lead; ++lead)
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const uint16_t u = t.pair[lead << 8 | trail];
      if (u != 0 && u != cp932::kDefaultUnit && t.encode[u] == (lead << 8 | trail))
        codes.push_back(static_cast<uint16_t>(lead << 8 | trail));
    }
  return codes;
}

}  // namespace detail

enum class StopAt { ShiftJisSize, Utf8Size };

// Lines of 20 to 60 characters: mostly hiragana, with katakana, JIS level-1 and level-2 kanji,
// ASCII words and full-width punctuation; generated until the chosen form reaches `bytes`.
inline CodecText MakeCodecText(size_t bytes, StopAt stop, uint32_t seed = 42) {
  const cp932::Tables& t = cp932::GetTables();
  const std::vector<uint16_t> hiragana = detail::RoundTripCodes(0x82, 0x82);
  const std::vector<uint16_t> katakana = detail::RoundTripCodes(0x83, 0x83);
  const std::vector<uint16_t> kanji = detail::RoundTripCodes(0x88, 0x9F);
  std::mt19937 rng(seed);
  CodecText text;
  text.sjis.reserve(stop == StopAt::ShiftJisSize ? bytes + 256 : bytes * 3 / 4);
  text.utf8.reserve(stop == StopAt::Utf8Size ? bytes + 256 : bytes * 3 / 2);
  auto put = [&](uint16_t code) {
    text.sjis.push_back(static_cast<char>(code >> 8));
    text.sjis.push_back(static_cast<char>(code & 0xFF));
    detail::PutUtf8(text.utf8, t.pair[code]);
  };
  auto pick = [&](const std::vector<uint16_t>& v) { return v[rng() % v.size()]; };
  auto size = [&] { return stop == StopAt::ShiftJisSize ? text.sjis.size() : text.utf8.size(); };
  while (size() < bytes) {
    const int chars = 20 + static_cast<int>(rng() % 41);
    for (int i = 0; i < chars; ++i) {
      const uint32_t kind = rng() % 100;
      if (kind < 45) {
        put(pick(hiragana));
      } else if (kind < 60) {
        put(pick(katakana));
      } else if (kind < 85) {
        put(pick(kanji));
      } else if (kind < 97) {
        const int len = 1 + static_cast<int>(rng() % 6);
        for (int j = 0; j < len; ++j) {
          const char c = static_cast<char>('a' + rng() % 26);
          text.sjis.push_back(c);
          text.utf8.push_back(c);
        }
      } else {
        put(rng() % 2 ? 0x8142 : 0x8141);
      }
    }
    text.sjis += "\r\n";
    text.utf8 += "\r\n";
  }
  return text;
}

}  // namespace tessary::bench
