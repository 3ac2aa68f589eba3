// Detection of character code, line end and the two flags, rule by rule and at the boundaries.
#include "codec/char_code_detector.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>

#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;

Detection D(const std::string& bytes) {
  return DetectCharCode(bytes);
}

void ExpectResult(const std::string& bytes, CharCode code, RetCode ret) {
  Detection d = D(bytes);
  EXPECT_EQ(d.code, code) << "bytes: " << bytes.size();
  EXPECT_EQ(d.ret, ret) << "bytes: " << bytes.size();
}

// Padding that matches no pattern and holds no line end or control byte.
std::string Pad(size_t n) {
  return std::string(n, 'a');
}

TEST(DisplayTexts, AreExact) {
  EXPECT_EQ(CharCodeName(CharCode::SJIS), "S-JIS");
  EXPECT_EQ(CharCodeName(CharCode::UTF8Bom), "UTF8  [BOM有]");
  EXPECT_EQ(CharCodeName(CharCode::UTF8), "UTF8  [BOM無]");
  EXPECT_EQ(CharCodeName(CharCode::UTF16BomBe), "UTF16 [BOM有 BigEndian]");
  EXPECT_EQ(CharCodeName(CharCode::UTF16Be), "UTF16 [BOM無 BigEndian]");
  EXPECT_EQ(CharCodeName(CharCode::UTF16BomLe), "UTF16 [BOM有 LittleEndian]");
  EXPECT_EQ(CharCodeName(CharCode::UTF16Le), "UTF16 [BOM無 LittleEndian]");
  EXPECT_EQ(CharCodeName(CharCode::Auto), "自動検出");
  EXPECT_EQ(RetCodeName(RetCode::CrLf), "Cr+Lf(Windows) ");
  EXPECT_EQ(RetCodeName(RetCode::Cr), "Cr(OS9)");
  EXPECT_EQ(RetCodeName(RetCode::Lf), "Lf(OSX,Android)");
  EXPECT_EQ(RetCodeName(RetCode::None), "無し");
  EXPECT_FALSE(CharCodeFromInt(8).has_value());
  EXPECT_FALSE(RetCodeFromInt(-1).has_value());
  EXPECT_EQ(CharCodeFromInt(7), CharCode::UTF16Le);
}

TEST(SmallFiles, SizesZeroToFour) {
  Detection empty = D("");
  EXPECT_EQ(empty.code, CharCode::SJIS);
  EXPECT_EQ(empty.ret, RetCode::None);
  EXPECT_FALSE(empty.invalid_char_found);
  EXPECT_FALSE(empty.unknown_file.has_value()) << "an empty file writes no working file";

  ExpectResult("a", CharCode::SJIS, RetCode::None);
  ExpectResult(Hex("FF FE"), CharCode::UTF16BomLe, RetCode::None);
  ExpectResult(Hex("FE FF"), CharCode::UTF16BomBe, RetCode::None);
  ExpectResult(Hex("82 A0"), CharCode::SJIS, RetCode::None);
  ExpectResult(Hex("EF BB"), CharCode::SJIS, RetCode::None);
  // Three bytes: never UTF-8 without a mark, even for a whole hiragana.
  ExpectResult(Hex("E3 81 82"), CharCode::SJIS, RetCode::None);
  ExpectResult(Hex("EF BB BF"), CharCode::UTF8Bom, RetCode::None);
  ExpectResult(Hex("FF FE 41"), CharCode::UTF16BomLe, RetCode::None);
  // Four bytes: offset 0 is the only pattern start.
  ExpectResult(Hex("E3 81 82 0A"), CharCode::UTF8, RetCode::Lf);
  ExpectResult(Hex("41 E3 81 82"), CharCode::SJIS, RetCode::None);
}

TEST(SmallFiles, OneByteControlIsInvalid) {
  Detection d = D(std::string(1, '\x1B'));
  EXPECT_TRUE(d.invalid_char_found);
  ASSERT_TRUE(d.unknown_file.has_value());
  EXPECT_EQ(*d.unknown_file, "");
}

TEST(Marks, DecideBeforePatterns) {
  ExpectResult(Hex("EF BB BF") + "abc\r\n", CharCode::UTF8Bom, RetCode::CrLf);
  // The mark also wins over Shift-JIS kana that follow.
  ExpectResult(Hex("EF BB BF 82 A0 82 A2"), CharCode::UTF8Bom, RetCode::None);
  ExpectResult(Hex("FF FE 41 00"), CharCode::UTF16BomLe, RetCode::None);
  ExpectResult(Hex("FE FF 00 41"), CharCode::UTF16BomBe, RetCode::None);
  // A UTF-8 mark followed by a UTF-16 LE line end at an even offset becomes UTF-16 LE.
  ExpectResult(Hex("EF BB BF 41 0D 00 0A 00"), CharCode::UTF16Le, RetCode::CrLf);
}

TEST(Patterns, EachUtf8PatternAtItsRangeEnds) {
  const char* utf8[] = {"E3 81 81", "E3 81 BF", "E3 82 80", "E3 82 93", "E3 82 A1",
                        "E3 82 BF", "E3 83 80", "E3 83 B6", "EF BC 90", "EF BC 99",
                        "EF BC A1", "EF BC BA", "EF BD 81", "EF BD 9A"};
  for (const char* p : utf8) ExpectResult(Hex(p) + "\n", CharCode::UTF8, RetCode::Lf);
  const char* not_utf8[] = {"E3 81 80", "E3 81 C0", "E3 82 94", "E3 82 A0", "E3 82 C0", "E3 83 B7",
                            "EF BC 8F", "EF BC 9A", "EF BC A0", "EF BC BB", "EF BD 80", "EF BD 9B"};
  for (const char* p : not_utf8) EXPECT_EQ(D(Hex(p) + "\n").code, CharCode::SJIS) << p;
}

TEST(Patterns, EarliestOffsetWins) {
  // Shift-JIS pair 82 E3 at offset 2 comes before the UTF-8 hiragana at offset 3.
  ExpectResult(Hex("E5 A0 82 E3 81 AE") + "\n", CharCode::SJIS, RetCode::Lf);
  // A UTF-8 kana before any Shift-JIS pair.
  ExpectResult("ab" + Hex("E3 81 82") + Hex("82 A0") + "\n", CharCode::UTF8, RetCode::Lf);
  // Kanji in UTF-8 (E6 97 A5) match nothing; the later hiragana decides.
  ExpectResult(Hex("E6 97 A5 E3 81 AE") + "\n", CharCode::UTF8, RetCode::Lf);
}

TEST(Patterns, LastPatternStartIsSizeMinusFour) {
  // A UTF-8 pattern starting exactly at size-4 is found; at size-3 it is not.
  std::string at_minus4 = Pad(10) + Hex("E3 81 82") + "x";
  EXPECT_EQ(D(at_minus4).code, CharCode::UTF8);
  std::string at_minus3 = Pad(10) + Hex("E3 81 82");
  EXPECT_EQ(D(at_minus3).code, CharCode::SJIS);
  // Shift-JIS pairs at size-3 give Shift-JIS, which is also the default.
  EXPECT_EQ(D(Pad(10) + Hex("82 A0") + "x").code, CharCode::SJIS);
}

TEST(Patterns, ShiftJisRanges) {
  // Every Shift-JIS pattern keeps a following UTF-8 kana from deciding.
  const char* sjis[] = {"82 9F", "82 F1", "83 40", "83 96", "82 4F",
                        "82 58", "82 60", "82 79", "82 81", "82 9A"};
  for (const char* p : sjis)
    EXPECT_EQ(D(Hex(p) + Hex("E3 81 82") + "\n").code, CharCode::SJIS) << p;
  const char* neither[] = {"82 9B", "82 F2", "83 97", "82 4E", "82 59", "82 5F", "82 7A", "82 80"};
  for (const char* p : neither)
    EXPECT_EQ(D(Hex(p) + Hex("E3 81 82") + "\n").code, CharCode::UTF8) << p;
}

TEST(Utf16LineEnds, CrLfPhaseAtEvenOffsetsOnly) {
  ExpectResult(Hex("41 00 0D 00 0A 00"), CharCode::UTF16Le, RetCode::CrLf);
  ExpectResult(Hex("00 41 00 0D 00 0A"), CharCode::UTF16Be, RetCode::CrLf);
  // At an odd offset the CR LF pattern is not seen; the single-unit phase then reads the pair
  // 00 0A at offset 2 as a big-endian LF.
  ExpectResult(Hex("41 0D 00 0A 00 42"), CharCode::UTF16Be, RetCode::Lf);
  // With a mark the search starts at offset 2 and the code stays.
  ExpectResult(Hex("FF FE 41 00 0D 00 0A 00"), CharCode::UTF16BomLe, RetCode::CrLf);
  ExpectResult(Hex("FE FF 00 41 00 0D 00 0A"), CharCode::UTF16BomBe, RetCode::CrLf);
  // The last CR LF start is size-4.
  ExpectResult(Pad(4) + Hex("0D 00 0A 00"), CharCode::UTF16Le, RetCode::CrLf);
}

TEST(Utf16LineEnds, SingleUnitPhaseInOrder) {
  ExpectResult(Hex("41 42 00 0D"), CharCode::UTF16Be, RetCode::Cr);
  ExpectResult(Hex("41 42 0D 00"), CharCode::UTF16Le, RetCode::Cr);
  ExpectResult(Hex("41 42 00 0A"), CharCode::UTF16Be, RetCode::Lf);
  ExpectResult(Hex("41 42 0A 00"), CharCode::UTF16Le, RetCode::Lf);
  // Odd offsets are skipped: 0D 00 at offset 1 is not a line end; the 8-bit count finds the CR.
  Detection odd = D(Hex("41 0D 00 42"));
  EXPECT_EQ(odd.ret, RetCode::Cr);
  EXPECT_EQ(odd.code, CharCode::SJIS);
  EXPECT_TRUE(odd.invalid_char_found) << "the NUL is a control byte";
  // The earliest even offset wins: LF unit at 2 before CR unit at 4.
  ExpectResult(Hex("41 00 0A 00 0D 00"), CharCode::UTF16Le, RetCode::Lf);
  // A mark keeps its code also in this phase.
  ExpectResult(Hex("FE FF 0D 00"), CharCode::UTF16BomBe, RetCode::Cr);
  // The last pair start is size-2.
  ExpectResult(Pad(2) + Hex("0A 00"), CharCode::UTF16Le, RetCode::Lf);
}

TEST(Utf16LineEnds, TurnAnEightBitFileIntoUtf16) {
  // A Shift-JIS text with a NUL-adjacent LF at an even offset is taken as UTF-16.
  Detection d = D(Hex("82 A0 0A 00") + "abc");
  EXPECT_EQ(d.code, CharCode::UTF16Le);
  EXPECT_EQ(d.ret, RetCode::Lf);
  EXPECT_FALSE(d.invalid_char_found) << "control bytes are looked for in 8-bit results only";
  EXPECT_FALSE(d.unknown_file.has_value());
}

TEST(Utf16LineEnds, NoLineEndMeansNotRecognised) {
  // "ab" as UTF-16 LE without a line end: an 8-bit file full of NUL control bytes.
  Detection d = D(Hex("61 00 62 00"));
  EXPECT_EQ(d.code, CharCode::SJIS);
  EXPECT_EQ(d.ret, RetCode::None);
  EXPECT_TRUE(d.invalid_char_found);
  EXPECT_EQ(*d.unknown_file, "ab");
}

TEST(EightBitLineEnds, CountsDecide) {
  ExpectResult("a\r\nb\r\n", CharCode::SJIS, RetCode::CrLf);
  ExpectResult("a\rb\r", CharCode::SJIS, RetCode::Cr);
  ExpectResult("a\nb\n", CharCode::SJIS, RetCode::Lf);
  ExpectResult("ab", CharCode::SJIS, RetCode::None);
  EXPECT_FALSE(D("a\r\nb\r\nc\r\nd\r\n").mixed_ret_code);
  Detection mixed = D("\r\r\r\n\n\n\n\n");
  EXPECT_EQ(mixed.ret, RetCode::CrLf);
  EXPECT_TRUE(mixed.mixed_ret_code);
  // Equal counts in any arrangement are not mixed.
  EXPECT_FALSE(D("\n\r\n\r").mixed_ret_code);
  // Counting covers the whole file, far beyond the first block.
  std::string big = std::string(100000, 'x') + "\r\n";
  EXPECT_EQ(D(big + big + "\n").ret, RetCode::CrLf);
  EXPECT_TRUE(D(big + big + "\n").mixed_ret_code);
}

TEST(ControlBytes, Classification) {
  for (int b = 0; b < 256; ++b) {
    bool expected = b <= 8 || b == 0x0B || b == 0x0C || (b >= 0x0E && b <= 0x1F);
    EXPECT_EQ(IsControlByte(static_cast<unsigned char>(b)), expected) << b;
  }
}

TEST(ControlBytes, OnlyTheFirst4095BytesAreExamined) {
  auto with_esc_at = [](size_t pos, size_t size) {
    std::string s = Pad(size);
    s[pos] = '\x1B';
    return s;
  };
  Detection at4094 = D(with_esc_at(4094, 6000));
  EXPECT_TRUE(at4094.invalid_char_found);
  EXPECT_EQ(*at4094.unknown_file, Pad(5999)) << "the whole file without the control byte";
  EXPECT_FALSE(D(with_esc_at(4095, 6000)).invalid_char_found);
  EXPECT_FALSE(D(with_esc_at(4096, 6000)).invalid_char_found);
  EXPECT_FALSE(D(with_esc_at(4999, 6000)).invalid_char_found);
  Detection clean = D(Pad(6000));
  ASSERT_TRUE(clean.unknown_file.has_value());
  EXPECT_EQ(*clean.unknown_file, "") << "the working file is emptied";
}

TEST(ControlBytes, WorkingFileDropsEveryControlByteButKeepsTheRest) {
  std::string s =
      "a\x0C"
      "b\x0B"
      "c\t\r\n\x7F" +
      Hex("82 A0") + "\x1F" + Pad(5000) + "\x01z";
  Detection d = D(s);
  EXPECT_TRUE(d.invalid_char_found);
  EXPECT_EQ(*d.unknown_file, "abc\t\r\n\x7F" + Hex("82 A0") + Pad(5000) + "z");
}

TEST(ControlBytes, AppliesToUtf8Results) {
  Detection d = D(Hex("EF BB BF") + "a\x08" + "b");
  EXPECT_EQ(d.code, CharCode::UTF8Bom);
  EXPECT_TRUE(d.invalid_char_found);
  EXPECT_EQ(*d.unknown_file, Hex("EF BB BF") + "ab");
}

}  // namespace
}  // namespace tessary

namespace tessary {
namespace {

// A plain offset-by-offset reading of the detection rules, for comparison with the fast one.
Detection Reference(const std::string& s) {
  Detection r;
  const size_t n = s.size();
  auto b = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
  if (n == 0) {
    r.ret = RetCode::None;
    return r;
  }
  int code = 1;
  if (n == 2) {
    if (b(0) == 0xFF && b(1) == 0xFE) code = 6;
    if (b(0) == 0xFE && b(1) == 0xFF) code = 4;
  } else if (n >= 3) {
    if (b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF)
      code = 2;
    else if (b(0) == 0xFF && b(1) == 0xFE)
      code = 6;
    else if (b(0) == 0xFE && b(1) == 0xFF)
      code = 4;
    else {
      auto in = [](uint8_t x, int lo, int hi) { return x >= lo && x <= hi; };
      bool found = false;
      for (size_t i = 0; n >= 4 && i <= n - 4 && !found; ++i) {
        uint8_t x = b(i), y = b(i + 1), z = b(i + 2);
        bool u = (x == 0xE3 && y == 0x81 && in(z, 0x81, 0xBF)) ||
                 (x == 0xE3 && y == 0x82 && in(z, 0x80, 0x93)) ||
                 (x == 0xE3 && y == 0x82 && in(z, 0xA1, 0xBF)) ||
                 (x == 0xE3 && y == 0x83 && in(z, 0x80, 0xB6)) ||
                 (x == 0xEF && y == 0xBC && in(z, 0x90, 0x99)) ||
                 (x == 0xEF && y == 0xBC && in(z, 0xA1, 0xBA)) ||
                 (x == 0xEF && y == 0xBD && in(z, 0x81, 0x9A));
        bool j = (x == 0x82 && in(y, 0x9F, 0xF1)) || (x == 0x83 && in(y, 0x40, 0x96)) ||
                 (x == 0x82 && in(y, 0x4F, 0x58)) || (x == 0x82 && in(y, 0x60, 0x79)) ||
                 (x == 0x82 && in(y, 0x81, 0x9A));
        if (u)
          code = 3, found = true;
        else if (j)
          code = 1, found = true;
      }
    }
  }
  const bool keep = code == 4 || code == 6;
  int ret = -1;
  for (size_t i = keep ? 2 : 0; n >= 4 && i <= n - 4 && ret < 0; i += 2) {
    if (b(i) == 0x0D && b(i + 1) == 0 && b(i + 2) == 0x0A && b(i + 3) == 0) {
      ret = 0;
      if (!keep) code = 7;
    } else if (b(i) == 0 && b(i + 1) == 0x0D && b(i + 2) == 0 && b(i + 3) == 0x0A) {
      ret = 0;
      if (!keep) code = 5;
    }
  }
  for (size_t i = 0; n >= 2 && i <= n - 2 && ret < 0; i += 2) {
    uint8_t x = b(i), y = b(i + 1);
    int c = 0;
    if (x == 0 && y == 0x0D)
      ret = 1, c = 5;
    else if (x == 0x0D && y == 0)
      ret = 1, c = 7;
    else if (x == 0 && y == 0x0A)
      ret = 2, c = 5;
    else if (x == 0x0A && y == 0)
      ret = 2, c = 7;
    if (c && !keep) code = c;
  }
  if (ret < 0) {
    size_t cr = 0, lf = 0;
    for (char c : s) cr += c == '\r', lf += c == '\n';
    if (cr && lf)
      ret = 0, r.mixed_ret_code = cr != lf;
    else if (cr)
      ret = 1;
    else if (lf)
      ret = 2;
    else
      ret = 3;
  }
  r.code = static_cast<CharCode>(code);
  r.ret = static_cast<RetCode>(ret);
  if (code <= 3) {
    for (size_t i = 0; i < n && i < 4095; ++i)
      if (IsControlByte(b(i))) r.invalid_char_found = true;
    r.unknown_file = r.invalid_char_found ? WithoutControlBytes(s) : "";
  }
  return r;
}

TEST(DetectionProperty, AgreesWithAPlainReadingOfTheRules) {
  const uint8_t alphabet[] = {0x00, 0x0D, 0x0A, 0xE3, 0x81, 0x82, 0x83, 0xEF, 0xBC, 0xBD,
                              0x90, 0xA1, 0xFF, 0xFE, 0xBB, 0xBF, 0x41, 0x1B, 0x9F, 0x40};
  std::mt19937 rng(20261207);
  for (int round = 0; round < 20000; ++round) {
    size_t n = round < 15000 ? rng() % 24 : rng() % 5000;
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(alphabet[rng() % std::size(alphabet)]);
    Detection got = DetectCharCode(s), want = Reference(s);
    ASSERT_EQ(got.code, want.code) << ::testing::PrintToString(s);
    ASSERT_EQ(got.ret, want.ret) << ::testing::PrintToString(s);
    ASSERT_EQ(got.invalid_char_found, want.invalid_char_found);
    ASSERT_EQ(got.mixed_ret_code, want.mixed_ret_code);
    ASSERT_EQ(got.unknown_file, want.unknown_file);
  }
}

}  // namespace
}  // namespace tessary
