// UTF-8 and UTF-16 file text to Shift-JIS lines: splitting, marks, malformed input, "?".
#include "codec/utf_text_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "codec/sjis_text.h"
#include "support/test_files.h"
#include "support/utf8_text.h"

namespace tessary {
namespace {

using testing::Hex;

std::vector<std::string> LinesOf(const TextLines& t) {
  std::vector<std::string> out;
  for (size_t i = 0; i < t.Count(); ++i) out.emplace_back(t.Line(i));
  return out;
}

using Lines = std::vector<std::string>;

DecodedText U8(std::string_view bytes, Utf8Mark mark = Utf8Mark::Keep) {
  return DecodeUtf8Text(bytes, mark);
}

DecodedText U16(std::string_view bytes, ByteOrder order, Utf16Mark mark) {
  return DecodeUtf16Text(bytes, order, mark);
}
constexpr auto LE = ByteOrder::LittleEndian;
constexpr auto BE = ByteOrder::BigEndian;

TEST(DecodeUtf8, SplitsAtCrLfCrAndLfWithoutATrailingEmptyLine) {
  EXPECT_EQ(LinesOf(U8("a\r\nb\rc\nd").lines), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(LinesOf(U8("a\r\n").lines), (Lines{"a"}));
  EXPECT_EQ(LinesOf(U8("a\n\n").lines), (Lines{"a", ""}));
  EXPECT_EQ(LinesOf(U8("\r\r\n\n").lines), (Lines{"", "", ""}));
  // The text is joined with CR LF again before it is converted, so the last line always ends.
  EXPECT_TRUE(U8("a").lines.last_line_has_end());
  EXPECT_EQ(LinesOf(U8("").lines), Lines{});
}

TEST(DecodeUtf8, ConvertsToShiftJis) {
  // あ (E3 81 82) -> 82 A0; ｱ (EF BD B1) -> B1; § (C2 A7) -> 81 98; 漢 (E6 BC A2) -> 8A BF.
  DecodedText d = U8(Hex("E3 81 82 EF BD B1 C2 A7 E6 BC A2 41"));
  EXPECT_TRUE(d.ok);
  EXPECT_EQ(LinesOf(d.lines), (Lines{Hex("82 A0 B1 81 98 8A BF 41")}));
  EXPECT_EQ(d.replaced_chars, 0u);
}

TEST(DecodeUtf8, JisReadingsFromOtherSystemsStayReadable) {
  // WAVE DASH, DOUBLE VERTICAL LINE, MINUS SIGN, EM DASH, OVERLINE. Their codes read back as
  // other characters (U+FF5E and so on), so a save would change them: they are counted.
  DecodedText d = U8(Hex("E3 80 9C E2 80 96 E2 88 92 E2 80 94 E2 80 BE"));
  EXPECT_EQ(LinesOf(d.lines), (Lines{Hex("81 60 81 61 81 7C 81 5C 7E")}));
  EXPECT_EQ(d.replaced_chars, 5u);
}

TEST(DecodeUtf8, UnmappableAndBestFitCharactersAreCounted) {
  // U+00E9 has a best fit ("e"); U+0E01 has none; U+FEFF (a mark read as text) has none.
  DecodedText d = U8(Hex("C3 A9 E0 B8 81 EF BB BF"));
  EXPECT_EQ(LinesOf(d.lines), (Lines{"e??"}));
  EXPECT_EQ(d.replaced_chars, 3u);
  // YEN SIGN and a listed kanji: only the yen sign changes (to "\\").
  DecodedText yen = U8(Hex("C2 A5 E6 BC A2"));
  EXPECT_EQ(LinesOf(yen.lines), (Lines{Hex("5C 8A BF")}));
  EXPECT_EQ(yen.replaced_chars, 1u);
  DecodedText yen16 = U16(Hex("A5 00 22 6F"), LE, Utf16Mark::None);
  EXPECT_EQ(LinesOf(yen16.lines), (Lines{Hex("5C 8A BF")}));
  EXPECT_EQ(yen16.replaced_chars, 1u);
}

TEST(DecodeUtf, TextAfterAZeroIsReportedAsCut) {
  // Zero padding at the end loses nothing; text after the zero does.
  EXPECT_FALSE(U8(Hex("41 00 00")).cut_short);
  EXPECT_TRUE(U8(Hex("41 00 42")).cut_short);
  EXPECT_TRUE(U8(Hex("41 C0 80 42")).cut_short) << "overlong zero";
  EXPECT_FALSE(U8(Hex("41 0D 0A")).cut_short);
  EXPECT_FALSE(U16(Hex("41 00 00 00 00"), LE, Utf16Mark::None).cut_short);
  EXPECT_TRUE(U16(Hex("41 00 00 00 42 00"), LE, Utf16Mark::None).cut_short);
  EXPECT_FALSE(U16(Hex("00 41 00 00 00"), BE, Utf16Mark::None).cut_short);
  EXPECT_TRUE(U16(Hex("00 41 00 00 42"), BE, Utf16Mark::None).cut_short);
}

TEST(DecodeUtf8, FourByteCharacterBecomesTwoQuestionMarks) {
  // One emoji used to empty a whole valid file; now it costs two "?" (one per UTF-16 unit).
  DecodedText d = U8(Hex("41 F0 9F 98 80 42 0D 0A E3 81 82"));
  EXPECT_TRUE(d.ok);
  EXPECT_EQ(LinesOf(d.lines), (Lines{"A??B", Hex("82 A0")}));
  EXPECT_EQ(d.replaced_chars, 1u);
}

// The question before an overwrite counts characters: two emoji are two lost characters in
// every code, though each shows as two "?". A lone surrogate is one character of its own.
TEST(DecodeUtf, EachCharacterBeyondTheBasicPlaneCountsOnce) {
  DecodedText u8 = U8(Hex("F0 9F 98 80 F0 9F 8D A3"));
  EXPECT_EQ(LinesOf(u8.lines), (Lines{"????"}));
  EXPECT_EQ(u8.replaced_chars, 2u);
  DecodedText le = U16(Hex("3D D8 00 DE 3C D8 63 DF"), LE, Utf16Mark::None);
  EXPECT_EQ(LinesOf(le.lines), (Lines{"????"}));
  EXPECT_EQ(le.replaced_chars, 2u);
  DecodedText be = U16(Hex("D8 3D DE 00 00 41 D8 3C"), BE, Utf16Mark::None);
  EXPECT_EQ(LinesOf(be.lines), (Lines{"??A?"}));
  EXPECT_EQ(be.replaced_chars, 2u);
}

TEST(DecodeUtf8, MalformedInputEmptiesTheWholeText) {
  for (const std::string& bad : {Hex("41 42 80"),           // stray continuation byte at the end
                                 Hex("41 80 42"),           // stray byte before ASCII
                                 Hex("41 0D 0A 80 0D 0A"),  // on a later line
                                 Hex("E3 81"),              // cut off by the end
                                 Hex("E3 81 0D 0A"),        // cut off by a line end
                                 Hex("C3 41"),              // bad continuation
                                 Hex("F0 9F 98 41")}) {     // four-byte start, three bytes
    DecodedText d = U8(bad);
    EXPECT_FALSE(d.ok) << ::testing::PrintToString(bad);
    EXPECT_TRUE(d.lines.Empty());
  }
}

TEST(DecodeUtf8, StartBytesFollowTheirBitsNotTheStandard) {
  // A0-BF start three-byte sequences, 80-9F two-byte ones; F8-FF three-byte ones with only
  // the low 4 bits kept; overlong forms count by their bits.
  EXPECT_EQ(LinesOf(U8(Hex("A3 81 82")).lines), (Lines{Hex("82 A0")}));  // as E3 81 82
  EXPECT_EQ(LinesOf(U8(Hex("82 A7")).lines), (Lines{Hex("81 98")}));     // as C2 A7
  EXPECT_EQ(LinesOf(U8(Hex("FE 80 80")).lines), (Lines{Hex("F0 40")}));  // as EE 80 80
  EXPECT_EQ(LinesOf(U8(Hex("E0 81 81 C1 82")).lines), (Lines{"AB"}));
}

TEST(DecodeUtf8, ZeroByteEndsTheText) {
  EXPECT_EQ(LinesOf(U8(Hex("41 0D 0A 42 00 43 80")).lines), (Lines{"A", "B"}));
  EXPECT_TRUE(U8(Hex("00 41")).lines.Empty());
}

TEST(DecodeUtf8, DecodedControlCharactersActAsInTheConvertedText) {
  // Overlong forms of CR, LF and NUL: the converted text is split after conversion.
  DecodedText d = U8(Hex("41 C0 8D 42 C0 8D C0 8A 43"));
  EXPECT_EQ(LinesOf(d.lines), (Lines{"A", "B", "C"}));
  EXPECT_EQ(LinesOf(U8(Hex("41 C0 8D 0D 0A 42")).lines), (Lines{"A", "", "B"}));
  // A decoded zero ends the text, but the rest must still be well-formed.
  DecodedText z = U8(Hex("41 0D 0A 42 C0 80 43"));
  EXPECT_EQ(LinesOf(z.lines), (Lines{"A", "B"}));
  EXPECT_FALSE(z.lines.last_line_has_end());
  EXPECT_FALSE(U8(Hex("41 C0 80 80")).ok);
}

TEST(DecodeUtf8, MarkIsDroppedOnlyWhenPresent) {
  EXPECT_EQ(LinesOf(U8(Hex("EF BB BF 41"), Utf8Mark::Drop).lines), (Lines{"A"}));
  // A file read as "with mark" that has none keeps its first characters.
  EXPECT_EQ(LinesOf(U8("ABCD", Utf8Mark::Drop).lines), (Lines{"ABCD"}));
  // Only the mark: one empty line (the text is not empty).
  EXPECT_EQ(LinesOf(U8(Hex("EF BB BF"), Utf8Mark::Drop).lines), (Lines{""}));
  EXPECT_EQ(LinesOf(U8(Hex("EF BB BF 0D 0A 41"), Utf8Mark::Drop).lines), (Lines{"", "A"}));
}

TEST(DecodeUtf8, LongAsciiRunsAcrossVectorWidths) {
  std::string text;
  Lines expected;
  for (int n = 0; n < 70; ++n) {
    std::string line(static_cast<size_t>(n), static_cast<char>('a' + n % 26));
    text += line + "\xE3\x81\x82" + line + (n % 2 ? "\r\n" : "\n");
    expected.push_back(line + "\x82\xA0" + line);
  }
  EXPECT_EQ(LinesOf(U8(text).lines), expected);
}

// ---- UTF-8 as one run with its line ends in place ----

DecodedRun Run8(std::string_view bytes, std::string_view eol, Utf8Mark mark = Utf8Mark::Keep,
                BlockPath path = BlockPath::Vector) {
  return DecodeUtf8RunInPlace(std::string(bytes), mark, eol, path);
}

// The 64-byte blocks (where the CPU has them) and the character path give the same run.
void ExpectSameRunOnBothPaths(std::string_view bytes, std::string_view eol,
                              Utf8Mark mark = Utf8Mark::Keep) {
  const DecodedRun blocks = Run8(bytes, eol, mark, BlockPath::Vector);
  const DecodedRun chars = Run8(bytes, eol, mark, BlockPath::Scalar);
  ASSERT_EQ(blocks.ok, chars.ok) << ::testing::PrintToString(bytes);
  if (!blocks.ok) return;  // a refused run's counts mean nothing
  ASSERT_EQ(blocks.text, chars.text) << ::testing::PrintToString(bytes);
  ASSERT_EQ(blocks.line_ends, chars.line_ends) << ::testing::PrintToString(bytes);
  ASSERT_EQ(blocks.replaced_chars, chars.replaced_chars);
}

// What the run must equal: the lines, each followed by eol.
std::string Joined(const TextLines& lines, std::string_view eol) {
  std::string out;
  for (size_t i = 0; i < lines.Count(); ++i) out.append(lines.Line(i)).append(eol);
  return out;
}

TEST(DecodeUtf8Run, KeepsTheFilesLineEndsOnlyWhereTheyAreTheOnesAskedFor) {
  const DecodedRun crlf = Run8(Hex("E3 81 82 0D 0A E3 81 84 0D 0A 41"), "\r\n");
  ASSERT_TRUE(crlf.ok);
  EXPECT_EQ(crlf.text, Hex("82 A0 0D 0A 82 A2 0D 0A 41"));  // the last line's end is the caller's
  EXPECT_EQ(crlf.line_ends, 2u);
  EXPECT_EQ(Run8("a\rb\r", "\r").text, "a\rb\r");
  EXPECT_EQ(Run8("a\nb", "\n").text, "a\nb");
  EXPECT_EQ(Run8("one line", "").text, "one line");
  EXPECT_EQ(Run8(Hex("EF BB BF 41 0A"), "\n", Utf8Mark::Drop).text, "A\n");
  // Another line end, or line ends that only their counts agree with, are refused.
  for (const auto& [bytes, eol] : std::vector<std::pair<std::string, std::string>>{
           {"a\r\nb", "\n"},
           {"a\r\nb", "\r"},  // CR LF is one line end, not a CR
           {"a\nb", "\r\n"},
           {"a\r", "\r\n"},         // cut CR LF
           {"a\r\r\n\nb", "\r\n"},  // two CRs and two LFs, yet three line ends
           {"a\nb", ""}}) {
    const DecodedRun r = Run8(bytes, eol);
    EXPECT_FALSE(r.ok) << ::testing::PrintToString(bytes);
    EXPECT_TRUE(r.text.empty());
  }
  // What only separate lines can carry: a line end or a zero that a sequence decodes to, and
  // a zero byte. Malformed text is refused as the lines refuse it.
  for (const std::string& bytes : {Hex("41 C0 8D 42"), Hex("41 C0 8A 42"), Hex("41 C0 80 42"),
                                   Hex("41 00 42"), Hex("41 0A 80"), Hex("E3 81")})
    EXPECT_FALSE(Run8(bytes, "\n").ok) << ::testing::PrintToString(bytes);
}

// Every position of a 64-byte block, and the edges between blocks, for a line end of each
// kind (kept, another, cut, or a sequence that decodes to one) and for characters that stop the
// blocks, in text that the blocks otherwise take whole.
TEST(DecodeUtf8Run, BlocksKeepAndCountLineEndsAsTheCharacterPathDoes) {
  const std::string kana = Hex("E3 81 82");  // あ
  for (const std::string_view eol : {"\r\n", "\r", "\n", ""}) {
    std::string line;
    for (int i = 0; line.size() < 40; ++i) line += i % 3 == 0 ? kana : "ab";
    std::string filler;
    while (filler.size() < 300) filler += line + std::string(eol);
    for (const std::string& put :
         {std::string(eol), std::string("\r"), std::string("\n"), std::string("\r\n"),
          std::string("\n\r"), Hex("C0 8D"), Hex("EF BD B1"), Hex("E3 81")}) {
      for (size_t at = 0; at < 200; ++at) {
        for (const size_t cut : {size_t{0}, size_t{37}, size_t{71}}) {
          std::string bytes = filler;
          bytes.insert(at, put);
          bytes.resize(bytes.size() - cut);
          ExpectSameRunOnBothPaths(bytes, eol);
        }
      }
    }
  }
}

TEST(DecodeUtf8Run, EqualsTheLinesJoinedOnRandomText) {
  std::mt19937 rng(11);
  const char* ends[] = {"\r\n", "\r", "\n"};
  int refused = 0;
  for (int round = 0; round < 300; ++round) {
    const std::string eol = ends[rng() % 3];
    std::string bytes = rng() % 4 == 0 ? "\xEF\xBB\xBF" : "";
    const size_t length = 1 + rng() % 1500;  // a file's pieces are never empty
    while (bytes.size() < length) {
      uint32_t kind = rng() % 100;
      // Odd rounds hold only what the blocks take, so the blocks run long.
      if (round % 2 && kind >= 35 && kind < 58) kind = 99;
      if (kind < 35) {
        testing::PutUtf8(bytes, 0x3041 + rng() % 0x53);
      } else if (kind < 50) {
        testing::PutUtf8(bytes, 0x4E00 + rng() % 0x5200);  // some have no code, or a best fit
      } else if (kind < 55) {
        testing::PutUtf8(bytes, 0x80 + rng() % 0x780);  // two bytes: Latin, Greek, Cyrillic
      } else if (kind < 57) {
        testing::PutUtf8(bytes, 0xFF61 + rng() % 0x3F);  // half-width katakana: one byte
      } else if (kind < 58) {
        testing::PutUtf8(bytes, 0x1F600 + rng() % 0x40);  // beyond the plane: "??"
      } else if (kind < 66) {
        bytes += eol;
      } else if (kind < 67 && round % 5 == 0) {
        bytes += ends[rng() % 3];  // sometimes another line end
      } else if (kind < 68 && round % 7 == 0) {
        bytes += Hex(rng() % 2 ? "C0 8D" : "E0 80 8A");  // an overlong line end
      } else {
        bytes += static_cast<char>(0x20 + rng() % 0x5F);
      }
    }
    for (const Utf8Mark mark : {Utf8Mark::Keep, Utf8Mark::Drop}) {
      ExpectSameRunOnBothPaths(bytes, eol, mark);
      const DecodedText lines = DecodeUtf8Text(bytes, mark, BlockPath::Scalar);
      const DecodedRun run = Run8(bytes, eol, mark);
      ASSERT_TRUE(lines.ok);
      if (!run.ok) {
        ++refused;
        continue;
      }
      // The caller ends a last line that has no line end, as the lines all have one.
      std::string got = run.text;
      if (!got.ends_with(eol)) got += eol;
      ASSERT_EQ(got, Joined(lines.lines, eol)) << "round " << round;
      EXPECT_EQ(run.replaced_chars, lines.replaced_chars);
    }
  }
  EXPECT_GT(refused, 0);
  EXPECT_LT(refused, 300);  // rounds with only their own line ends are taken
}

// ---- UTF-16 ----

TEST(DecodeUtf16, MarksAreSkippedWhenExpectedAndPresent) {
  EXPECT_EQ(LinesOf(U16(Hex("FF FE 41 00 42 30"), LE, Utf16Mark::Expected).lines),
            (Lines{Hex("41 82 A0")}));
  EXPECT_EQ(LinesOf(U16(Hex("FE FF 00 41 30 42"), BE, Utf16Mark::Expected).lines),
            (Lines{Hex("41 82 A0")}));
  // Expected but missing: the first two bytes are text.
  EXPECT_EQ(LinesOf(U16(Hex("41 00 42 00"), LE, Utf16Mark::Expected).lines), (Lines{"AB"}));
  // Not expected: a mark is a character without Shift-JIS form.
  DecodedText d = U16(Hex("FF FE 41 00"), LE, Utf16Mark::None);
  EXPECT_EQ(LinesOf(d.lines), (Lines{"?A"}));
  EXPECT_EQ(d.replaced_chars, 1u);
}

TEST(DecodeUtf16, ShortFilesWithAnExpectedMarkAreEmpty) {
  EXPECT_TRUE(U16(Hex("FF FE"), LE, Utf16Mark::Expected).lines.Empty());
  EXPECT_TRUE(U16(Hex("41 00"), LE, Utf16Mark::Expected).lines.Empty());
  EXPECT_EQ(LinesOf(U16(Hex("41 00"), LE, Utf16Mark::None).lines), (Lines{"A"}));
  EXPECT_TRUE(U16("", LE, Utf16Mark::None).lines.Empty());
}

TEST(DecodeUtf16, SplitsLinesAndTellsWhetherTheLastOneEnds) {
  DecodedText d = U16(Hex("41 00 0D 00 0A 00 42 00 0D 00 43 00 0A 00 44 00"), LE, Utf16Mark::None);
  EXPECT_EQ(LinesOf(d.lines), (Lines{"A", "B", "C", "D"}));
  EXPECT_FALSE(d.lines.last_line_has_end());
  DecodedText e = U16(Hex("00 41 00 0D 00 0A"), BE, Utf16Mark::None);
  EXPECT_EQ(LinesOf(e.lines), (Lines{"A"}));
  EXPECT_TRUE(e.lines.last_line_has_end());
  EXPECT_EQ(LinesOf(U16(Hex("0A 00 0A 00"), LE, Utf16Mark::None).lines), (Lines{"", ""}));
}

TEST(DecodeUtf16, ZeroUnitEndsTheTextAndAnOddByteIsAUnit) {
  EXPECT_EQ(LinesOf(U16(Hex("41 00 00 00 42 00"), LE, Utf16Mark::None).lines), (Lines{"A"}));
  EXPECT_EQ(LinesOf(U16(Hex("41 00 42"), LE, Utf16Mark::None).lines), (Lines{"AB"}));
  // Big-endian too: the odd byte is not swapped, so it pairs with the terminating zero.
  EXPECT_EQ(LinesOf(U16(Hex("00 41 42"), BE, Utf16Mark::None).lines), (Lines{"AB"}));
  // A lone byte whose unit takes two Shift-JIS bytes (U+00A7 is 81 98) after text that fills
  // the buffer: both bytes of the character are kept, nothing is written past the input.
  EXPECT_EQ(LinesOf(U16(Hex("30 42 A7"), BE, Utf16Mark::None).lines), (Lines{Hex("82 A0 81 98")}));
  EXPECT_EQ(LinesOf(U16(Hex("42 30 A7"), LE, Utf16Mark::None).lines), (Lines{Hex("82 A0 81 98")}));
  EXPECT_EQ(LinesOf(U16(Hex("A7"), LE, Utf16Mark::None).lines), (Lines{Hex("81 98")}));
}

TEST(DecodeUtf16, SurrogatesBecomeOneQuestionMarkPerUnit) {
  DecodedText d = U16(Hex("3D D8 00 DE 41 00 00 DC"), LE, Utf16Mark::None);
  EXPECT_EQ(LinesOf(d.lines), (Lines{"??A?"}));
  EXPECT_EQ(d.replaced_chars, 2u);  // a pair is one character, a lone surrogate another
}

TEST(DecodeUtf16, AsciiRunsAcrossVectorWidthsInBothOrders) {
  std::string le, be;
  Lines expected;
  for (int n = 0; n < 40; ++n) {
    std::string line;
    for (int i = 0; i < n; ++i) {
      const char c = static_cast<char>(i % 7 == 6 ? '\t' : 'A' + (i + n) % 26);
      line.push_back(c);
      le += std::string{c, '\0'};
      be += std::string{'\0', c};
    }
    le += Hex("42 30 0D 00 0A 00");
    be += Hex("30 42 00 0D 00 0A");
    expected.push_back(line + Hex("82 A0"));
  }
  EXPECT_EQ(LinesOf(U16(le, LE, Utf16Mark::None).lines), expected);
  EXPECT_EQ(LinesOf(U16(be, BE, Utf16Mark::None).lines), expected);
}

// The strict check that tells a UTF-8 word file from a Shift-JIS one, which the loader's
// lenient decoder (it takes overlong forms) would not.
TEST(WellFormedUtf8, BoundariesOfEverySequenceLength) {
  const char* good[] = {"",
                        "plain",
                        "\xC2\x80",
                        "\xDF\xBF",
                        "\xE0\xA0\x80",
                        "\xED\x9F\xBF",
                        "\xEE\x80\x80",
                        "\xF0\x90\x80\x80",
                        "\xF4\x8F\xBF\xBF",
                        "予約語"};
  for (const char* t : good) EXPECT_TRUE(IsWellFormedUtf8(t)) << t;
  const std::string bad[] = {
      Hex("80"),          Hex("C0 80"),       Hex("C1 BF"),    Hex("E0 9F BF"),  // overlong
      Hex("ED A0 80"),    Hex("ED BF BF"),                                       // surrogates
      Hex("F4 90 80 80"), Hex("F5 80 80 80"), Hex("FF"),                         // too high
      Hex("E3 81"),       Hex("C3"),          Hex("E3 41 82"),                   // cut off
      Hex("82 A0 82 A2"), Hex("975C 96F1"),                                      // Shift-JIS
  };
  for (const std::string& t : bad) EXPECT_FALSE(IsWellFormedUtf8(t)) << t.size();
  EXPECT_TRUE(IsWellFormedUtf8(std::string("a\0b", 3)));
}

}  // namespace
}  // namespace tessary
