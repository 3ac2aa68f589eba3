// The vector block conversions must give exactly what the scalar paths give, on any input.
#include "codec/block_transcoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "codec/cp932.h"
#include "codec/cp932_converter.h"
#include "codec/utf_text_decoder.h"
#include "support/utf8_text.h"

namespace tessary {
namespace {

// The AVX2 blocks convert from Shift-JIS only.
bool AnySjisBlockPath() { return block::Available() || block::Avx2Available(); }

using testing::PutUtf8;

// Mostly what Japanese text holds, mixed with every kind of character and fault that makes the
// block loop stop, hand over or cut a sequence at a block boundary.
std::string RandomUtf8(std::mt19937& rng, size_t length, int fault_per_mille) {
  std::string s;
  while (s.size() < length) {
    const uint32_t kind = rng() % 1000;
    if (kind < static_cast<uint32_t>(fault_per_mille)) {
      switch (rng() % 12) {
        case 0: s += "\xE3\x81"; break;                    // cut-off sequence
        case 1: s += '\x80'; break;                        // stray continuation byte
        case 2: s += "\xC0\x8D"; break;                    // overlong CR
        case 3: s += "\xE0\x80\x8A"; break;                // overlong LF
        case 4: s += "\xC1\xBF"; break;                    // overlong DEL
        case 5: PutUtf8(s, 0x1F600); break;                // beyond the BMP
        case 6: PutUtf8(s, 0xD800 + rng() % 0x800); break; // surrogate
        case 7: s += "\xF8\x80\x80"; break;                // F8: three bytes as read
        case 8: s += '\0'; break;                          // ends the text
        case 9: PutUtf8(s, 0xFF61 + rng() % 0x3F); break;  // half-width katakana: one byte
        case 10: PutUtf8(s, 0x0E01 + rng() % 0x50); break; // Thai: unmapped
        default: s += "\xE3\x81\xC1"; break;               // bad continuation
      }
    } else if (kind < 450) {
      PutUtf8(s, 0x3041 + rng() % 0x53);  // hiragana
    } else if (kind < 600) {
      PutUtf8(s, 0x4E00 + rng() % 0x5000);  // CJK (some unmapped)
    } else if (kind < 650) {
      PutUtf8(s, 0x391 + rng() % 0x40);  // Greek and Cyrillic: two bytes
    } else if (kind < 680) {
      const char* ends[] = {"\r\n", "\r", "\n", "\n\r"};
      s += ends[rng() % 4];
    } else if (kind < 700) {
      PutUtf8(s, 0x80 + rng() % 0x780);  // other two-byte characters
    } else if (kind < 720) {
      s += static_cast<char>(1 + rng() % 0x1F);  // control bytes, tab among them
    } else {
      s += static_cast<char>(0x20 + rng() % 0x5F);
    }
  }
  return s;
}

std::vector<std::string> LinesOf(const TextLines& t) {
  std::vector<std::string> out;
  for (size_t i = 0; i < t.Count(); ++i) out.emplace_back(t.Line(i));
  return out;
}

void ExpectSameDecode(const std::string& bytes) {
  const DecodedText vector = DecodeUtf8Text(bytes, Utf8Mark::Drop, BlockPath::Vector);
  const DecodedText scalar = DecodeUtf8Text(bytes, Utf8Mark::Drop, BlockPath::Scalar);
  ASSERT_EQ(vector.ok, scalar.ok);
  ASSERT_EQ(vector.replaced_chars, scalar.replaced_chars);
  ASSERT_EQ(vector.lines.last_line_has_end(), scalar.lines.last_line_has_end());
  ASSERT_EQ(LinesOf(vector.lines), LinesOf(scalar.lines));
}

TEST(BlockUtf8ToSjis, MatchesTheScalarPathOnRandomText) {
  if (!block::Available()) GTEST_SKIP() << "no vector block conversion on this CPU";
  std::mt19937 rng(7);
  for (int round = 0; round < 3000; ++round) {
    const size_t length = rng() % 700;
    // Faults are rare in real files; without them the whole text is valid and goes far.
    const int faults = round % 3 == 0 ? 0 : static_cast<int>(rng() % 8);
    SCOPED_TRACE(round);
    ExpectSameDecode(RandomUtf8(rng, length, faults));
  }
}

TEST(BlockUtf8ToSjis, MatchesTheScalarPathAtEveryBlockBoundary) {
  if (!block::Available()) GTEST_SKIP() << "no vector block conversion on this CPU";
  // A three-byte character, a CR LF pair, a two-byte character and a fault, each moved across
  // the 64-byte boundaries one byte at a time, after ASCII-only starts of any length.
  const std::string pieces[] = {"\xE6\xBC\xA2", "\r\n", "\xCE\xB1", "\xE3\x81", "\xEF\xBD\xB1",
                                std::string("\0", 1)};
  for (const std::string& piece : pieces) {
    for (size_t at = 0; at < 200; ++at) {
      std::string s;
      for (size_t i = 0; i < at; ++i) s += i % 5 == 0 ? "\xE3\x81\x82" : "a";
      s += piece;
      for (int i = 0; i < 90; ++i) s += i % 3 == 0 ? "b" : "\xE3\x82\xA2";
      SCOPED_TRACE(at);
      ExpectSameDecode(s);
    }
  }
}

TEST(BlockUtf8ToSjis, LongPureTextMatches) {
  if (!block::Available()) GTEST_SKIP() << "no vector block conversion on this CPU";
  std::mt19937 rng(11);
  ExpectSameDecode(RandomUtf8(rng, 300000, 0));
  ExpectSameDecode("\xEF\xBB\xBF" + RandomUtf8(rng, 5000, 0));
}

TEST(BlockUtf8ToSjis, MatchesTheScalarPathOnEveryThreeByteUnit) {
  if (!block::Available()) GTEST_SKIP() << "no vector block conversion on this CPU";
  // Every unit from 0x80 up in three-byte form (overlong below 0x800), in order, so that each
  // run of eight holds mapped, unmapped and single-byte units side by side; shifted so that each
  // unit takes every place in a run. Surrogates would make the whole text bad, so they are
  // left out.
  for (int skew = 0; skew < 8; ++skew) {
    std::string s;
    for (int i = 0; i < skew; ++i) s += "\xE3\x81\x82";
    for (uint32_t u = 0x80; u < 0x10000; ++u) {
      if (u >= 0xD800 && u < 0xE000) continue;
      s += static_cast<char>(0xE0 | u >> 12);
      s += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      s += static_cast<char>(0x80 | (u & 0x3F));
      if (u % 61 == 0) s += "\r\n";
    }
    SCOPED_TRACE(skew);
    ExpectSameDecode(s);
  }
}

TEST(BlockUtf8ToSjis, MatchesTheScalarPathOnEveryTwoByteSequence) {
  if (!block::Available()) GTEST_SKIP() << "no vector block conversion on this CPU";
  // Any two bytes inside a run of kanji, at a varying place: well-formed two-byte characters,
  // cut-off and stray sequences, ASCII and line ends must each stop a run exactly there. An
  // ASCII byte after them makes a cut-off sequence that a run took whole show as good text.
  for (uint32_t pair = 0; pair < 0x10000; ++pair) {
    for (const char* after : {"", "A"}) {
      std::string s;
      for (uint32_t i = 0; i < pair % 9; ++i) s += "\xE6\xBC\xA2";
      s += static_cast<char>(pair >> 8);
      s += static_cast<char>(pair & 0xFF);
      s += after;
      for (int i = 0; i < 12; ++i) s += "\xE5\xAD\x97";
      SCOPED_TRACE(pair);
      ExpectSameDecode(s);
    }
  }
}

std::string RandomSjis(std::mt19937& rng, size_t length) {
  std::string s;
  while (s.size() < length) {
    const uint32_t kind = rng() % 100;
    if (kind < 60) {
      // A lead byte and any byte after it: listed codes, unlisted ones, unusable trail bytes.
      const uint8_t lead = rng() % 2 ? 0x81 + rng() % 0x1F : 0xE0 + rng() % 0x1D;
      const uint8_t trail = rng() % 10 == 0 ? rng() % 256 : 0x40 + rng() % 0xBD;
      s += static_cast<char>(lead);
      s += static_cast<char>(trail);
    } else if (kind < 65) {
      s += static_cast<char>(0xA1 + rng() % 0x3F);  // half-width katakana
    } else if (kind < 67) {
      const uint8_t odd[] = {0x80, 0xA0, 0xFD, 0xFE, 0xFF};
      s += static_cast<char>(odd[rng() % 5]);
    } else if (kind < 69) {
      s += static_cast<char>(rng() % 0x20);
    } else {
      s += static_cast<char>(0x20 + rng() % 0x60);
    }
  }
  return s;
}

void ExpectSameEncode(const std::string& sjis) {
  const cp932::Tables& t = cp932::GetTables();
  std::string vector(Utf8RoomFor(sjis.size()), '\0'), scalar(Utf8RoomFor(sjis.size()), '\0');
  vector.resize(Cp932ToUtf8(t, sjis, vector.data(), BlockPath::Vector) - vector.data());
  scalar.resize(Cp932ToUtf8(t, sjis, scalar.data(), BlockPath::Scalar) - scalar.data());
  ASSERT_EQ(vector, scalar);
  for (const ByteOrder order : {ByteOrder::LittleEndian, ByteOrder::BigEndian}) {
    std::string wide(Utf16RoomFor(sjis.size()), '\0'), plain(Utf16RoomFor(sjis.size()), '\0');
    wide.resize(Cp932ToUtf16(t, sjis, wide.data(), order, BlockPath::Vector) - wide.data());
    plain.resize(Cp932ToUtf16(t, sjis, plain.data(), order, BlockPath::Scalar) - plain.data());
    ASSERT_EQ(wide, plain);
  }
}

TEST(BlockSjisToUnicode, MatchesTheScalarPathOnRandomText) {
  if (!AnySjisBlockPath()) GTEST_SKIP() << "no vector block conversion on this CPU";
  std::mt19937 rng(5);
  for (int round = 0; round < 3000; ++round) {
    SCOPED_TRACE(round);
    ExpectSameEncode(RandomSjis(rng, rng() % 600));
  }
  ExpectSameEncode(RandomSjis(rng, 200000));
}

TEST(BlockSjisToUnicode, MatchesTheScalarPathAtEveryBlockBoundary) {
  if (!AnySjisBlockPath()) GTEST_SKIP() << "no vector block conversion on this CPU";
  // Runs of lead-byte values of every length and parity (trail bytes that are lead values too),
  // and a lone lead byte at the end of the line, moved across the block boundaries.
  for (size_t at = 0; at < 140; ++at) {
    for (int run = 1; run <= 7; ++run) {
      std::string s(at, 'a');
      for (int i = 0; i < run; ++i) s += '\x88';
      s += "\x9F\x82\xA0";
      for (int i = 0; i < 40; ++i) s += "\x88\x9F";
      SCOPED_TRACE(at);
      ExpectSameEncode(s);
      ExpectSameEncode(s + '\x81');
    }
  }
}

TEST(BlockSjisToUnicode, MatchesTheScalarPathOnEveryTwoByteSequence) {
  if (!AnySjisBlockPath()) GTEST_SKIP() << "no vector block conversion on this CPU";
  // Every lead byte with every byte after it (unusable trail bytes, lead values as trail bytes,
  // zero and line-end bytes), each pair after an odd or even run of kanji: a mistaken table
  // entry or a lead byte paired across the wrong boundary shows in the bytes that follow.
  for (const size_t skew : {size_t{0}, size_t{1}, size_t{31}, size_t{32}, size_t{33}}) {
    std::string all(skew, 'a');
    for (uint32_t code = 0; code < 0x10000; ++code) {
      all += static_cast<char>(code >> 8);
      all += static_cast<char>(code & 0xFF);
      if (code % 7 == 0) all += "\x8A\xBF";
    }
    SCOPED_TRACE(skew);
    ExpectSameEncode(all);
  }
  // Each pair alone at the end of a block and at the end of the text, where the trail byte is
  // read from the padded copy of the rest.
  for (uint32_t code = 0; code < 0x10000; ++code) {
    std::string s(31, 'a');
    s += static_cast<char>(code >> 8);
    s += static_cast<char>(code & 0xFF);
    SCOPED_TRACE(code);
    ExpectSameEncode(s);
    ExpectSameEncode(s + "\x82\xA0" + std::string(30, 'b'));
  }
}

}  // namespace
}  // namespace tessary
