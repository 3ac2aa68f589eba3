// The load pipeline: codes, line ends, names, flags, text and the "UnKnown" working file.
#include "codec/document_loader.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/app_home.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;
using testing::ReadFileOrDie;
using testing::TempDir;
using Lines = std::vector<std::string>;

Lines LinesOf(const TextLines& t) {
  Lines out;
  for (size_t i = 0; i < t.Count(); ++i) out.emplace_back(t.Line(i));
  return out;
}

LoadedText Load(std::string_view bytes, CharCode requested = CharCode::Auto) {
  return LoadDocumentText(bytes, requested);
}

TEST(LoadDocumentText, EmptyFileIsAnEmptyShiftJisDocumentWithCrLf) {
  for (CharCode requested : {CharCode::Auto, CharCode::UTF8, CharCode::UTF16BomLe}) {
    const LoadedText d = Load("", requested);
    EXPECT_EQ(d.code, CharCode::SJIS);
    EXPECT_EQ(d.ret, RetCode::CrLf);
    EXPECT_EQ(d.code_name, "S-JIS");
    EXPECT_EQ(d.ret_name, "Cr+Lf(Windows) ");
    EXPECT_TRUE(d.lines.Empty());
    EXPECT_FALSE(d.NoTextObtained());
    EXPECT_FALSE(d.WriteProtected());
  }
}

TEST(LoadDocumentText, Utf8WithMarkLosesTheMarkAndShowsItsName) {
  const LoadedText d = Load(Hex("EF BB BF E3 81 82 0D 0A 41"));
  EXPECT_EQ(d.code, CharCode::UTF8Bom);
  EXPECT_EQ(d.code_name, "UTF8  [BOM有]");
  EXPECT_EQ(d.ret, RetCode::CrLf);
  EXPECT_EQ(LinesOf(d.lines), (Lines{Hex("82 A0"), "A"}));
}

TEST(LoadDocumentText, RequestedCodeOverridesDetectionButNotTheLineEnd) {
  const std::string utf8 = Hex("E3 81 82 0A 41 0A");
  const LoadedText raw = Load(utf8, CharCode::SJIS);
  EXPECT_EQ(raw.code, CharCode::SJIS);
  EXPECT_EQ(raw.ret, RetCode::Lf);
  EXPECT_EQ(raw.ret_name, "Lf(OSX,Android)");
  EXPECT_EQ(LinesOf(raw.lines), (Lines{Hex("E3 81 82"), "A"}));
  const LoadedText decoded = Load(utf8);
  EXPECT_EQ(decoded.code, CharCode::UTF8);
  EXPECT_EQ(decoded.code_name, "UTF8  [BOM無]");
  EXPECT_EQ(LinesOf(decoded.lines), (Lines{Hex("82 A0"), "A"}));
}

TEST(LoadDocumentText, Utf16BigEndianWithMark) {
  const LoadedText d = Load(Hex("FE FF 30 42 00 0D 00 0A 00 41 00 0D 00 0A"));
  EXPECT_EQ(d.code, CharCode::UTF16BomBe);
  EXPECT_EQ(d.code_name, "UTF16 [BOM有 BigEndian]");
  EXPECT_EQ(d.ret, RetCode::CrLf);
  EXPECT_EQ(LinesOf(d.lines), (Lines{Hex("82 A0"), "A"}));
  EXPECT_TRUE(d.lines.last_line_has_end());
}

TEST(LoadDocumentText, RequestedMarkThatIsMissingTakesTheBytesAsText) {
  const LoadedText d = Load(Hex("41 00 42 00 0D 00 0A 00"), CharCode::UTF16BomLe);
  EXPECT_EQ(d.code, CharCode::UTF16BomLe);
  EXPECT_EQ(LinesOf(d.lines), (Lines{"AB"}));
}

TEST(LoadDocumentText, MalformedUtf8GivesNoTextFromANonEmptyFile) {
  const LoadedText d = Load(Hex("E3 81 82 0A 41 42 80 0A"));
  EXPECT_EQ(d.code, CharCode::UTF8);
  EXPECT_TRUE(d.decode_failed);
  EXPECT_TRUE(d.lines.Empty());
  EXPECT_TRUE(d.NoTextObtained());
  // Also when UTF-8 is requested for a Shift-JIS file.
  EXPECT_TRUE(Load(Hex("82 41 0D 0A"), CharCode::UTF8).NoTextObtained());
}

TEST(LoadDocumentText, ControlBytesShowTheTextWithoutThemWriteProtected) {
  std::string bytes = Hex("82 A0 1B 41 0D 0A 42 0C 0D 0A");
  const LoadedText d = Load(bytes);
  EXPECT_TRUE(d.invalid_char_found);
  EXPECT_TRUE(d.WriteProtected());
  EXPECT_EQ(d.code, CharCode::SJIS);
  EXPECT_EQ(d.code_name, "S-JIS");
  EXPECT_EQ(LinesOf(d.lines), (Lines{Hex("82 A0 41"), "B"}));
  // A requested 16-bit code does not change what is shown, only the names.
  const LoadedText forced = Load(bytes, CharCode::UTF16Le);
  EXPECT_EQ(LinesOf(forced.lines), LinesOf(d.lines));
  EXPECT_EQ(forced.code_name, "UTF16 [BOM無 LittleEndian]");
}

TEST(LoadDocumentText, ControlByteBeyond4095BytesIsJustText) {
  std::string bytes(5000, 'a');
  bytes[4999] = '\x1B';
  EXPECT_FALSE(Load(bytes).invalid_char_found);
  bytes[4094] = '\x1B';
  EXPECT_TRUE(Load(bytes).invalid_char_found);
}

TEST(LoadDocumentText, TextHiddenByAZeroOrEofMarkLaterOnIsWriteProtected) {
  // Beyond the 4,096 bytes detection looks at, only the loader's rules see these bytes.
  std::string bytes(5000, 'a');
  bytes +=
      "\r\n\x1A"
      "after the mark\r\n";
  const LoadedText d = Load(bytes);
  EXPECT_FALSE(d.invalid_char_found);
  EXPECT_TRUE(d.text_cut_short);
  EXPECT_TRUE(d.WriteProtected());
  EXPECT_EQ(d.lines.Count(), 1u);
  std::string zero(5000, 'b');
  zero += '\0';
  zero += "hidden\r\n";
  EXPECT_TRUE(Load(zero).WriteProtected());
  // A final EOF mark hides nothing.
  EXPECT_FALSE(Load(std::string(5000, 'c') + "\r\n\x1A").WriteProtected());
  // UTF-8: a zero ends the text.
  std::string utf8 = std::string(5000, 'd') + "\r\n" + Hex("E3 81 82") + '\0' + "x";
  EXPECT_TRUE(Load(utf8, CharCode::UTF8).WriteProtected());
}

TEST(LoadDocumentText, MixedLineEndsAreWriteProtectedWithCrLf) {
  const LoadedText d = Load("a\r\nb\r\nc\r\nd\ne\n");
  EXPECT_TRUE(d.mixed_ret_code);
  EXPECT_TRUE(d.WriteProtected());
  EXPECT_EQ(d.ret, RetCode::CrLf);
  EXPECT_EQ(d.ret_name, "Cr+Lf(Windows) ");
  EXPECT_EQ(LinesOf(d.lines), (Lines{"a", "b", "c", "d", "e"}));
  EXPECT_FALSE(Load("a\r\nb\r\n").mixed_ret_code);
}

TEST(LoadDocumentText, CrOnlyLineEnds) {
  const LoadedText d = Load("a\rb\r");
  EXPECT_EQ(d.ret, RetCode::Cr);
  EXPECT_EQ(d.ret_name, "Cr(OS9)");
}

TEST(LoadDocumentText, CountsCharactersThatBecameQuestionMarks) {
  // あ, an emoji (two units), U+0E01.
  const LoadedText d = Load(Hex("E3 81 82 F0 9F 98 80 E0 B8 81 0A"));
  EXPECT_EQ(d.code, CharCode::UTF8);
  EXPECT_EQ(LinesOf(d.lines), (Lines{Hex("82 A0") + "???"}));
  EXPECT_EQ(d.replaced_chars, 2u);
  EXPECT_EQ(Load(Hex("3D D8 00 DE 0D 00 0A 00")).replaced_chars, 1u);
  EXPECT_EQ(Load("plain\r\n").replaced_chars, 0u);
}

// Each test writes its working files into a settings folder of its own.
class LoadFileTest : public ::testing::Test {
 protected:
  std::string Unknown() const { return AppHome(home_.path()).PathOf(WorkingFile::UnKnown); }
  bool UnknownExists() const { return std::filesystem::exists(Unknown()); }
  WorkingFiles Write() const { return WorkingFiles::WriteIn(AppHome(home_.path())); }

  TempDir home_;
  TempDir dir_;
};

TEST_F(LoadFileTest, MissingFileIsReported) {
  Result<LoadedText> r = LoadDocumentFile(dir_.File("none.txt"), CharCode::Auto, Write());
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error().message, "ファイルがありません");
  EXPECT_FALSE(UnknownExists());
}

TEST_F(LoadFileTest, UnknownFileHoldsTheTextWithoutControlBytes) {
  const std::string path = dir_.Write("esc.txt",
                                      "a\x1B"
                                      "b\r\n");
  Result<LoadedText> r = LoadDocumentFile(path, CharCode::Auto, Write());
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(LinesOf(r.value().lines), (Lines{"ab"}));
  EXPECT_EQ(ReadFileOrDie(Unknown()), "ab\r\n");
}

TEST_F(LoadFileTest, CleanEightBitFileEmptiesTheUnknownFile) {
  home_.Write("Tessary-UnKnown.txt", "left over");
  const std::string path = dir_.Write("ok.txt", Hex("E3 81 82 0A"));
  ASSERT_TRUE(LoadDocumentFile(path, CharCode::Auto, Write()).ok());
  EXPECT_EQ(ReadFileOrDie(Unknown()), "");
}

TEST_F(LoadFileTest, SixteenBitAndEmptyFilesAndSkipLeaveItAlone) {
  const std::string u16 = dir_.Write("u16.txt", Hex("FF FE 41 00 0D 00 0A 00"));
  const std::string empty = dir_.Write("empty.txt", "");
  const std::string esc = dir_.Write("esc.txt", "a\x1B");
  ASSERT_TRUE(LoadDocumentFile(u16, CharCode::Auto, Write()).ok());
  ASSERT_TRUE(LoadDocumentFile(empty, CharCode::Auto, Write()).ok());
  Result<LoadedText> skipped = LoadDocumentFile(esc, CharCode::Auto, WorkingFiles::Skip());
  ASSERT_TRUE(skipped.ok());
  EXPECT_EQ(LinesOf(skipped.value().lines), (Lines{"a"}));
  EXPECT_FALSE(UnknownExists());
}

TEST_F(LoadFileTest, FailureToWriteTheUnknownFileStopsTheLoad) {
  std::filesystem::create_directories(Unknown() + "/x");
  const std::string path = dir_.Write("a.txt", "abc\r\n");
  EXPECT_FALSE(LoadDocumentFile(path, CharCode::Auto, Write()).ok());
  EXPECT_TRUE(LoadDocumentFile(path, CharCode::Auto, WorkingFiles::Skip()).ok());
}

TEST_F(LoadFileTest, ReadAndDetectSaysWhyItStoppedAndKeepsTheBytesOtherwise) {
  auto failure = [](std::variant<DetectedFile, ReadError> r) {
    return std::get<ReadError>(std::move(r));
  };
  const ReadError missing = failure(ReadAndDetect(dir_.File("none.txt"), Write()));
  EXPECT_EQ(missing.failure, ReadFailure::Missing);
  EXPECT_EQ(missing.error.message, "ファイルがありません");
  const ReadError folder = failure(ReadAndDetect(dir_.path(), WorkingFiles::Skip()));
  EXPECT_EQ(folder.failure, ReadFailure::Unreadable);
  EXPECT_NE(folder.error.message.find(dir_.path() + " is a folder"), std::string::npos);

  const std::string esc = dir_.Write("esc.txt",
                                     "a\x1B"
                                     "b\n");
  DetectedFile read = std::get<DetectedFile>(ReadAndDetect(esc, Write()));
  EXPECT_EQ(read.bytes,
            "a\x1B"
            "b\n");  // not decoded: the caller moves them on
  EXPECT_TRUE(read.detection.invalid_char_found);
  // When only the working file fails, what the file was found to be still comes back.
  std::filesystem::remove(Unknown());
  std::filesystem::create_directories(Unknown() + "/x");
  const ReadError unwritten = failure(ReadAndDetect(esc, Write()));
  EXPECT_EQ(unwritten.failure, ReadFailure::WorkingFileNotWritten);
  EXPECT_FALSE(unwritten.error.message.empty());
  EXPECT_TRUE(unwritten.detection.invalid_char_found);
  EXPECT_EQ(unwritten.detection.ret, RetCode::Lf);
}

}  // namespace
}  // namespace tessary
