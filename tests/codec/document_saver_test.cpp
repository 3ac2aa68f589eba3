// The save pipeline: byte-exact output for every code and line end, working files, failures.
#include "codec/document_saver.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/app_home.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;
using testing::ReadFileOrDie;
using testing::TempDir;

// Lines "Aあ", "" and "ｱ" in Shift-JIS.
TextLines SampleLines() {
  TextLines t;
  t.AddLine(Hex("41 82 A0"));
  t.AddLine("");
  t.AddLine(Hex("B1"));
  return t;
}

struct CodeCase {
  CharCode code;
  const char* mark;
  const char* line1;  // "Aあ"
  const char* line3;  // "ｱ"
  const char* cr;
  const char* lf;
};

const CodeCase kCodes[] = {
    {CharCode::SJIS, "", "41 82 A0", "B1", "0D", "0A"},
    {CharCode::UTF8Bom, "EF BB BF", "41 E3 81 82", "EF BD B1", "0D", "0A"},
    {CharCode::UTF8, "", "41 E3 81 82", "EF BD B1", "0D", "0A"},
    {CharCode::UTF16BomBe, "FE FF", "00 41 30 42", "FF 71", "00 0D", "00 0A"},
    {CharCode::UTF16Be, "", "00 41 30 42", "FF 71", "00 0D", "00 0A"},
    {CharCode::UTF16BomLe, "FF FE", "41 00 42 30", "71 FF", "0D 00", "0A 00"},
    {CharCode::UTF16Le, "", "41 00 42 30", "71 FF", "0D 00", "0A 00"},
};

std::string Expected(const CodeCase& c, RetCode ret) {
  std::string eol;
  if (ret == RetCode::CrLf || ret == RetCode::Cr) eol += Hex(c.cr);
  if (ret == RetCode::CrLf || ret == RetCode::Lf) eol += Hex(c.lf);
  return Hex(c.mark) + Hex(c.line1) + eol + eol + Hex(c.line3) + eol;
}

constexpr RetCode kRets[] = {RetCode::CrLf, RetCode::Cr, RetCode::Lf, RetCode::None};

TEST(EncodeDocument, EveryCodeAndLineEndByteExact) {
  const TextLines lines = SampleLines();
  for (const CodeCase& c : kCodes)
    for (RetCode ret : kRets)
      EXPECT_EQ(EncodeDocument(lines, c.code, ret), Expected(c, ret))
          << CharCodeKeyWord(c.code) << " ret " << static_cast<int>(ret);
}

TEST(EncodeDocument, AnEmptyDocumentIsOnlyTheMark) {
  const TextLines none;
  EXPECT_EQ(EncodeDocument(none, CharCode::SJIS, RetCode::CrLf), "");
  EXPECT_EQ(EncodeDocument(none, CharCode::UTF8Bom, RetCode::CrLf), Hex("EF BB BF"));
  EXPECT_EQ(EncodeDocument(none, CharCode::UTF16BomLe, RetCode::CrLf), Hex("FF FE"));
  EXPECT_EQ(EncodeDocument(none, CharCode::UTF16Be, RetCode::CrLf), "");
}

TEST(EncodeDocument, AutoWritesShiftJis) {
  EXPECT_EQ(EncodeDocument(SampleLines(), CharCode::Auto, RetCode::Lf),
            Expected(kCodes[0], RetCode::Lf));
}

TEST(EncodeDocument, ReadsLinesThroughAnAccessorOrAVisitor) {
  std::vector<std::string> doc = {"ab", Hex("88 9F"), "c"};
  const std::string expected = "ab\n" + Hex("E4 BA 9C") + "\nc\n";
  auto line = [&](size_t i) { return std::string_view(doc[i]); };
  EXPECT_EQ(EncodeDocument(LineSource(doc.size(), line), CharCode::UTF8, RetCode::Lf), expected);
  // A visitor that builds each line in one reused buffer, as a wrapping document does.
  auto visit = [&](auto&& sink) {
    std::string scratch;
    for (const auto& l : doc) {
      scratch = l;
      sink(std::string_view(scratch));
      scratch.assign(scratch.size(), 'X');
    }
  };
  EXPECT_EQ(EncodeDocument(LineSource::Visiting(visit), CharCode::UTF8, RetCode::Lf), expected);
  EXPECT_EQ(EncodeDocument(LineSource::Visiting(visit), CharCode::UTF16Le, RetCode::None),
            Hex("61 00 62 00 9C 4E 63 00"));
}

TEST(EncodeDocument, BrokenShiftJisNeverSwallowsALineEnd) {
  // A lead byte at the end of a line, or before a byte that cannot follow it, is U+30FB alone.
  TextLines t;
  t.AddLine(Hex("41 82"));
  t.AddLine(Hex("82 0A 42"));
  EXPECT_EQ(EncodeDocument(t, CharCode::UTF8, RetCode::CrLf),
            Hex("41 E3 83 BB 0D 0A E3 83 BB 0A 42 0D 0A"));
  EXPECT_EQ(EncodeDocument(t, CharCode::UTF16Le, RetCode::Lf),
            Hex("41 00 FB 30 0A 00 FB 30 0A 00 42 00 0A 00"));
  // Unlisted codes with a proper trail byte are one U+30FB for both bytes.
  TextLines u;
  u.AddLine(Hex("85 40 41"));
  EXPECT_EQ(EncodeDocument(u, CharCode::UTF8, RetCode::None), Hex("E3 83 BB 41"));
}

// Lines of random Shift-JIS, rich in lead bytes at either end and in empty lines, so that
// characters start in one line and may end in the next.
std::vector<std::string> RandomLines(unsigned seed) {
  std::mt19937 rng(seed);
  const char kBytes[] = {'\x82', '\xA0', '\x81', '\x40', '\xE0',
                         '\x88', '\x9F', 'a',    '\xB1', '\x7F'};
  std::vector<std::string> lines(40);
  for (std::string& line : lines) {
    line.resize(rng() % 4);
    for (char& c : line) c = kBytes[rng() % sizeof kBytes];
  }
  return lines;
}

TEST(EncodeDocument, EightBitSavesConvertTheJoinedText) {
  // "82 0A 82" read with LF and saved without line ends is the joined "82 82": one ｂ.
  TextLines b;
  b.AddLine(Hex("82"));
  b.AddLine(Hex("82"));
  EXPECT_EQ(EncodeDocument(b, CharCode::UTF8, RetCode::None), Hex("EF BD 82"));
  // The pair may span empty lines; a lead byte that ends the text stays alone.
  TextLines a;
  a.AddLine(Hex("41 82"));
  a.AddLine("");
  a.AddLine(Hex("A0 82 A0 82"));
  EXPECT_EQ(EncodeDocument(a, CharCode::UTF8Bom, RetCode::None),
            Hex("EF BB BF 41 E3 81 82 E3 81 82 E3 83 BB"));
  // A first byte that cannot follow the lead is converted on its own, as a new start.
  TextLines c;
  c.AddLine(Hex("82"));
  c.AddLine(Hex("31 82 A0"));
  EXPECT_EQ(EncodeDocument(c, CharCode::UTF8, RetCode::None), Hex("E3 83 BB 31 E3 81 82"));
  for (unsigned seed = 1; seed <= 200; ++seed) {
    const std::vector<std::string> doc = RandomLines(seed);
    auto line = [&](size_t i) { return std::string_view(doc[i]); };
    const LineSource lines(doc.size(), line);
    for (RetCode ret : kRets) {
      const std::string joined = EncodeDocument(lines, CharCode::SJIS, ret);
      std::string utf8(Utf8RoomFor(joined.size()), '\0');
      utf8.resize(Cp932ToUtf8(cp932::GetTables(), joined, utf8.data()) - utf8.data());
      ASSERT_EQ(EncodeDocument(lines, CharCode::UTF8, ret), utf8)
          << "seed " << seed << " ret " << static_cast<int>(ret);
    }
  }
}

TEST(EncodeDocument, SixteenBitSavesConvertTheTextJoinedWithCrLf) {
  // The 16-bit save converts the lines joined with CR LF and only then puts the line end in,
  // so a lead byte never pairs across lines there, whatever the line end.
  for (unsigned seed = 1; seed <= 100; ++seed) {
    const std::vector<std::string> doc = RandomLines(seed);
    auto line = [&](size_t i) { return std::string_view(doc[i]); };
    const LineSource lines(doc.size(), line);
    const std::string crlf = EncodeDocument(lines, CharCode::SJIS, RetCode::CrLf);
    for (CharCode code : {CharCode::UTF16BomBe, CharCode::UTF16Le})
      for (RetCode ret : kRets) {
        const ByteOrder order =
            code == CharCode::UTF16Le ? ByteOrder::LittleEndian : ByteOrder::BigEndian;
        ASSERT_EQ(EncodeDocument(lines, code, ret),
                  PostProcessUtf16(ConvertAnsiToUtf16(crlf, order), code, ret))
            << "seed " << seed << " ret " << static_cast<int>(ret);
      }
  }
}

TEST(EncodeDocument, LongAsciiRunsAndHalfWidthKanaGrowTheBuffer) {
  // Half-width kana take three UTF-8 bytes for one Shift-JIS byte: beyond the first estimate.
  TextLines t;
  std::string kana(5000, '\xB1'), ascii(5000, 'x');
  t.AddLine(kana);
  t.AddLine(ascii);
  const std::string out = EncodeDocument(t, CharCode::UTF8, RetCode::Lf);
  std::string expected;
  for (int i = 0; i < 5000; ++i) expected += Hex("EF BD B1");
  expected += "\n" + ascii + "\n";
  EXPECT_EQ(out, expected);
  const std::string le = EncodeDocument(t, CharCode::UTF16Le, RetCode::None);
  ASSERT_EQ(le.size(), 20000u);
  EXPECT_EQ(le.substr(0, 2), Hex("71 FF"));
  EXPECT_EQ(le.substr(19998), Hex("78 00"));
}

TEST(EncodeDocumentInPieces, GivesTheBytesOfTheWholeEncodingAndStopsAtAFailure) {
  // Megabytes in lines of every length, one far longer than a piece, and lead bytes at line
  // ends, so that pieces end inside characters and inside line ends.
  TextLines doc;
  std::mt19937 rng(7);
  for (int i = 0; i < 3000; ++i) {
    std::string line;
    const size_t n = rng() % 2000;
    for (size_t k = 0; k < n; ++k) line += (k % 7 == 3) ? Hex("88 9F") : std::string("a");
    if (i % 5 == 0) line += Hex("82");
    doc.AddLine(line);
  }
  doc.AddLine(std::string(3 << 20, '\xB1'));
  doc.AddLine(Hex("A0 41"));
  for (const CodeCase& c : kCodes)
    for (RetCode ret : kRets) {
      std::string pieces;
      auto put = [&](std::string_view piece) {
        pieces += piece;
        return 0;
      };
      ASSERT_EQ(EncodeDocumentInPieces(doc, c.code, ret, put), 0);
      ASSERT_EQ(pieces, EncodeDocument(doc, c.code, ret))
          << CharCodeKeyWord(c.code) << " ret " << static_cast<int>(ret);
    }
  int calls = 0;
  auto full = [&](std::string_view) {
    ++calls;
    return ENOSPC;
  };
  EXPECT_EQ(EncodeDocumentInPieces(doc, CharCode::UTF8, RetCode::CrLf, full), ENOSPC);
  EXPECT_EQ(calls, 1) << "nothing is handed on after a failure";
}

TEST(PostProcessUtf16, MatchesCrLfAtAnyByteOffsetAndDropsTheTail) {
  // The pattern at the odd offset 3 counts; "42 00" after the last CR LF is not copied.
  const std::string converted = Hex("FF FE 41 0D 00 0A 00 42 00");
  EXPECT_EQ(PostProcessUtf16(converted, CharCode::UTF16Le, RetCode::Lf), Hex("41 0A 00"));
  EXPECT_EQ(PostProcessUtf16(converted, CharCode::UTF16BomLe, RetCode::CrLf),
            Hex("FF FE 41 0D 00 0A 00"));
  EXPECT_EQ(PostProcessUtf16(Hex("FE FF 00 41 00 0D 00 0A"), CharCode::UTF16Be, RetCode::Cr),
            Hex("00 41 00 0D"));
  EXPECT_EQ(PostProcessUtf16(Hex("FE FF 00 41 00 0D 00 0A"), CharCode::UTF16BomBe, RetCode::None),
            Hex("FE FF 00 41"));
  // Too short to hold a line end after the mark: only the code's mark.
  EXPECT_EQ(PostProcessUtf16(Hex("FF FE 0D 00"), CharCode::UTF16BomLe, RetCode::CrLf),
            Hex("FF FE"));
}

// Every save gets a settings folder of its own, handed in as a value.
class SaveFileTest : public ::testing::Test {
 protected:
  AppHome Home() const { return AppHome(home_.path()); }

  TempDir home_;
  TempDir dir_;
};

TEST_F(SaveFileTest, EightBitCodesWriteTheEncodedBytes) {
  const std::string target = dir_.File("out.txt");
  ASSERT_TRUE(SaveFile(target, SampleLines(), CharCode::UTF8Bom, RetCode::None, Home()).ok());
  EXPECT_EQ(ReadFileOrDie(target), Expected(kCodes[1], RetCode::None));
  EXPECT_FALSE(std::filesystem::exists(Home().PathOf(WorkingFile::UtfSrc)));
}

TEST_F(SaveFileTest, SixteenBitSaveLeavesBothWorkingFiles) {
  const std::string target = dir_.File("out.txt");
  ASSERT_TRUE(SaveFile(target, SampleLines(), CharCode::UTF16Be, RetCode::Lf, Home()).ok());
  EXPECT_EQ(ReadFileOrDie(target), Expected(kCodes[4], RetCode::Lf));
  EXPECT_EQ(ReadFileOrDie(Home().PathOf(WorkingFile::UtfSrc)),
            Hex("41 82 A0 0D 0A 0D 0A B1 0D 0A"));
  EXPECT_EQ(ReadFileOrDie(Home().PathOf(WorkingFile::UtfDst)),
            Hex("FE FF 00 41 30 42 00 0D 00 0A 00 0D 00 0A FF 71 00 0D 00 0A"));
}

TEST_F(SaveFileTest, SixteenBitSaveEqualsTheInMemoryEncodingForEveryCodeAndLineEnd) {
  TextLines lines = SampleLines();
  lines.AddLine(Hex("81 40 41"));  // ideographic space U+3000
  lines.AddLine(Hex("81 76"));     // 」 U+300D: a 0D byte inside the unit
  for (CharCode code :
       {CharCode::UTF16BomBe, CharCode::UTF16Be, CharCode::UTF16BomLe, CharCode::UTF16Le})
    for (RetCode ret : kRets) {
      const std::string target = dir_.File("t.txt");
      ASSERT_TRUE(SaveUtf16(target, lines, code, ret, Home()).ok());
      EXPECT_EQ(ReadFileOrDie(target), EncodeDocument(lines, code, ret))
          << CharCodeKeyWord(code) << " ret " << static_cast<int>(ret);
    }
}

TEST_F(SaveFileTest, StaleConvertedFileIsReplaced) {
  home_.Write("Tessary-UtfDst.txt", Hex("FF FE 5A 00 0D 00 0A 00"));
  const std::string target = dir_.File("out.txt");
  ASSERT_TRUE(SaveUtf16(target, SampleLines(), CharCode::UTF16Le, RetCode::CrLf, Home()).ok());
  EXPECT_EQ(ReadFileOrDie(target), Expected(kCodes[6], RetCode::CrLf));
}

TEST_F(SaveFileTest, FailuresAreReportedAndLeaveTheTargetAlone) {
  const std::string target = dir_.Write("keep.txt", "old text");
  // The converted file cannot be replaced (a folder with something in it is in its place).
  std::filesystem::create_directories(Home().PathOf(WorkingFile::UtfDst) + "/x");
  Status s = SaveFile(target, SampleLines(), CharCode::UTF16BomLe, RetCode::CrLf, Home());
  EXPECT_FALSE(s.ok());
  EXPECT_EQ(ReadFileOrDie(target), "old text");
  // A target in a folder that cannot exist.
  Status t = SaveFile(target + "/child.txt", SampleLines(), CharCode::SJIS, RetCode::CrLf, Home());
  EXPECT_FALSE(t.ok());
  EXPECT_NE(t.error().message.find("child.txt"), std::string::npos);
  EXPECT_EQ(ReadFileOrDie(target), "old text");
}

TEST_F(SaveFileTest, TargetKeepsItsPermissions) {
  const std::string target = dir_.Write("mode.txt", "old");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  ASSERT_TRUE(SaveFile(target, SampleLines(), CharCode::UTF8, RetCode::CrLf, Home()).ok());
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(ReadFileOrDie(target), Expected(kCodes[2], RetCode::CrLf));
}

}  // namespace
}  // namespace tessary
