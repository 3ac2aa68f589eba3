// The binary viewer's model: patterns, working files, commands, search and offset hand-over.
#include "viewers/binary_viewer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/file_io.h"
#include "platform/private_profile.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"
#include "support/vector_lines.h"

namespace tessary {
namespace {

using testing::Hex;
using testing::ReadFileOrDie;
using testing::ScriptedMessages;
using testing::TempDir;
using testing::VectorLines;

std::string BytesOf(const std::variant<SearchPattern, PatternRefusal>& p) {
  return std::get<SearchPattern>(p).bytes;
}

TEST(BinarySearchPattern, TextInTheFilesCodeWithoutMarkAndFixedEntries) {
  const std::string a = "あ";
  EXPECT_EQ(BytesOf(PatternForText(a, CharCode::SJIS)), Hex("82 A0"));
  EXPECT_EQ(std::get<SearchPattern>(PatternForText(a, CharCode::SJIS)).hex, "82 A0 ");
  EXPECT_EQ(BytesOf(PatternForText(a, CharCode::UTF8)), Hex("E3 81 82"));
  EXPECT_EQ(BytesOf(PatternForText(a, CharCode::UTF8Bom)), Hex("E3 81 82"));
  EXPECT_EQ(BytesOf(PatternForText(a, CharCode::UTF16BomLe)), Hex("42 30"));
  EXPECT_EQ(BytesOf(PatternForText(a, CharCode::UTF16Be)), Hex("30 42"));
  // A character outside the Basic Multilingual Plane: UTF-16 surrogates; Shift-JIS refuses it.
  EXPECT_EQ(BytesOf(PatternForText("\xF0\x9F\x98\x80", CharCode::UTF16Le)), Hex("3D D8 00 DE"));
  EXPECT_EQ(std::get<PatternRefusal>(PatternForText("\xF0\x9F\x98\x80", CharCode::SJIS)),
            PatternRefusal::Unmappable);
  // The yen sign only has a best-fit form in Shift-JIS: refused, not searched as 5C or "?".
  EXPECT_EQ(std::get<PatternRefusal>(PatternForText("¥", CharCode::SJIS)),
            PatternRefusal::Unmappable);
  EXPECT_EQ(std::get<PatternRefusal>(PatternForText("", CharCode::UTF8)), PatternRefusal::Empty);
  const auto crlf =
      std::get<SearchPattern>(PatternForText("#13#10 Cr+Lf(Windows) ", CharCode::UTF16Le));
  EXPECT_EQ(crlf.bytes, "\r\n");
  EXPECT_EQ(crlf.hex, "0D 0A ");
  EXPECT_TRUE(crlf.fixed);
  EXPECT_EQ(BytesOf(PatternForText("#09 Tab", CharCode::SJIS)), "\t");
}

TEST(BinarySearchPattern, WorkingFilesAreWrittenButNeverDecideThePattern) {
  TempDir dir;
  const AppHome home(dir.path());
  const auto p = std::get<SearchPattern>(PatternForText("あ", CharCode::UTF8Bom));
  ASSERT_TRUE(WritePatternFiles(home, p, CharCode::UTF8Bom).ok());
  EXPECT_EQ(ReadFileOrDie(home.PathOf(WorkingFile::BinSrc)), Hex("EF BB BF E3 81 82 0D 0A"));
  EXPECT_EQ(ReadFileOrDie(home.PathOf(WorkingFile::BinDst)), Hex("E3 81 82"));
  // A working file another process made a folder: the write fails, the search still finds.
  ::unlink(home.PathOf(WorkingFile::BinDst).c_str());
  ASSERT_TRUE(MakeFolder(home.PathOf(WorkingFile::BinDst)).ok());
  EXPECT_FALSE(WritePatternFiles(home, p, CharCode::UTF8Bom).ok());
  ScriptedMessages messages;
  const std::string file = dir.Write("doc.txt", Hex("41 E3 81 82"));
  BinaryViewerModel model({home, messages, file, CharCode::UTF8});
  model.Open(0);
  model.Search("あ", SearchDirection::Next);
  EXPECT_EQ(model.CaretOffset(), 1u);
  EXPECT_EQ(model.SelLength(), 2);
  EXPECT_EQ(model.PatternHex(), "E3 81 82 ");
  EXPECT_TRUE(messages.shown.empty());
}

class BinaryViewerTest : public ::testing::Test {
 protected:
  BinaryViewerModel Open(std::string_view bytes, uint64_t stored = 0,
                         CharCode code = CharCode::SJIS) {
    BinaryViewerModel model({home, messages, dir.Write("file.bin", bytes), code});
    model.Open(stored);
    return model;
  }
  TempDir dir;
  AppHome home{dir.path()};
  ScriptedMessages messages;
};

TEST_F(BinaryViewerTest, OpensAtTheStoredOffsetAndHandsBackTheCaretsByte) {
  BinaryViewerModel m = Open(std::string(0x200, 'a'), 0x123);
  EXPECT_EQ(m.OffsetLabel(), "000123");
  EXPECT_EQ(m.TopLine(), 0x12u);
  EXPECT_EQ(m.Caret().column, 7 + 9);
  m.PlaceCaret({0x10, 60});  // the character column: byte F of that line
  EXPECT_EQ(m.OffsetLabel(), "00010F");
  m.PlaceCaret({0x12, 7 + 9});
  EXPECT_EQ(m.OffsetToHandBack(), 291u);
  // 64 bits through the settings file.
  PrivateProfile ini(home.SettingsFile());
  ASSERT_TRUE(StoreBinaryOffset(ini, uint64_t{5} << 32).ok());
  EXPECT_EQ(StoredBinaryOffset(ini, 0), uint64_t{5} << 32);
  ASSERT_TRUE(ini.WriteString("Binary", "SelStart", "-3").ok());
  EXPECT_EQ(StoredBinaryOffset(ini, 7), 7u);
}

TEST_F(BinaryViewerTest, MissingAndVanishingFilesAreReportedNeverShownAsZeros) {
  BinaryViewerModel missing({home, messages, dir.File("gone.bin"), CharCode::SJIS});
  missing.Open(0);
  EXPECT_FALSE(missing.HasDump());
  EXPECT_EQ(missing.OffsetLabel(), "");
  EXPECT_EQ(missing.OffsetToHandBack(), std::nullopt);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], binary_text::kNoFile);

  BinaryViewerModel m = Open(std::string(1 << 20, 'z'));
  ASSERT_EQ(::truncate(dir.File("file.bin").c_str(), 100), 0);
  std::string line;
  EXPECT_EQ(m.LineText(0x8000, line), "080000");  // offset only, no "00" codes
  EXPECT_EQ(m.LineText(0x8001, line), "080010");
  EXPECT_EQ(messages.shown.size(), 1u);  // not while the pane paints
  EXPECT_TRUE(m.ReadFailurePending());
  m.ReportReadFailure();
  m.ReportReadFailure();
  ASSERT_EQ(messages.shown.size(), 2u);  // reported once
  EXPECT_EQ(messages.shown[1].rfind(binary_text::kUnreadable, 0), 0u);
}

TEST_F(BinaryViewerTest, SearchContinuesFromTheHitAndReportsWhatItCannotDo) {
  BinaryViewerModel m = Open("0123456789abcdefXXXXXX\r\n");
  m.PlaceCaret({0, 7});
  m.Search("X", SearchDirection::Next);
  EXPECT_EQ(m.OffsetLabel(), "000010");
  EXPECT_EQ(m.SelLength(), 2);
  EXPECT_EQ(m.TopLine(), 1u);
  m.Search("X", SearchDirection::Next);
  EXPECT_EQ(m.OffsetLabel(), "000011");
  m.Search("X", SearchDirection::Previous);
  EXPECT_EQ(m.OffsetLabel(), "000010");
  m.Search("#13#10 Cr+Lf(Windows) ", SearchDirection::Next);
  EXPECT_EQ(m.OffsetLabel(), "000016");
  EXPECT_EQ(m.PatternHex(), "0D 0A ");
  EXPECT_TRUE(messages.shown.empty());
  m.Search("#13#10 Cr+Lf(Windows) ", SearchDirection::Next);
  m.Search("", SearchDirection::Next);
  m.Search("¥", SearchDirection::Next);
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_EQ(messages.shown[0], binary_text::kNotFound);
  EXPECT_EQ(messages.shown[1], binary_text::kNoWord);
  EXPECT_EQ(messages.shown[2], binary_text::kUnmappable);
  EXPECT_EQ(m.OffsetLabel(), "000016");  // a failed search leaves the caret
  // Typed words go to the history, the fixed entries never.
  EXPECT_EQ(m.History().front(), "¥");
  EXPECT_EQ(std::count(m.History().begin(), m.History().end(), "X"), 1);
  EXPECT_EQ(std::count(m.History().begin(), m.History().end(), "#13#10 Cr+Lf(Windows) "), 0);
  m.Close();
  EXPECT_NE(ReadFileOrDie(home.PathOf(WorkingFile::Find)).find('X'), std::string::npos);
}

TEST_F(BinaryViewerTest, MoveCommandsStayInsideTheDump) {
  BinaryViewerModel m = Open(std::string(16 * 100 + 3, 'q'), 16 * 50);
  m.SetPageRows(10);
  m.MenuBinaryEndClick();
  EXPECT_EQ(m.Caret().line, 100u);
  EXPECT_EQ(m.TopLine(), 100u);
  EXPECT_EQ(m.Caret().column, 7);
  m.MoveCaret(DumpKey::End);  // short last line: its third byte
  EXPECT_EQ(m.OffsetLabel(), "000642");
  m.MenuBinaryNextClick();  // already on the last line
  EXPECT_EQ(m.Caret().line, 100u);
  m.MenuBinaryPrevClick();
  EXPECT_EQ(m.Caret().line, 90u);
  EXPECT_EQ(m.TopLine(), 90u);
  m.MenuBinaryTopClick();
  EXPECT_EQ(m.Caret().line, 0u);
  EXPECT_EQ(m.TopLine(), 0u);
  EXPECT_EQ(m.OffsetLabel(), "000002");  // the column stays
  m.MoveCaret(DumpKey::Home);
  m.MoveCaret(DumpKey::Left);
  m.MoveCaret(DumpKey::Up);
  EXPECT_EQ(m.OffsetLabel(), "000000");
  m.MoveCaret(DumpKey::Right);
  m.MoveCaret(DumpKey::Right);
  m.MoveCaret(DumpKey::Right);
  EXPECT_EQ(m.OffsetLabel(), "000001");
  EXPECT_EQ(m.HeaderSelection().start, 10);
  m.MoveCaret(DumpKey::Last);
  EXPECT_EQ(m.OffsetLabel(), "000642");
  EXPECT_EQ(m.TopLine(), 91u);  // scrolled just far enough to show the caret
}

TEST_F(BinaryViewerTest, EmptyFileShowsOneLineAndAnswersOffsetZero) {
  BinaryViewerModel m = Open("", 99);
  std::string line;
  EXPECT_EQ(m.LineCount(), 1u);
  EXPECT_EQ(m.LineText(0, line), "000000");
  EXPECT_EQ(m.OffsetLabel(), "000000");
  m.Search("a", SearchDirection::Previous);
  EXPECT_EQ(messages.shown, std::vector<std::string>{std::string(binary_text::kNotFound)});
}

TEST(BinaryLookSettings, DefaultsRoundTripAndMarks) {
  TempDir dir;
  PrivateProfile ini(dir.File("t.ini"));
  BinaryLook look = ReadBinaryLook(ini);
  EXPECT_EQ(look, BinaryLook{});
  EXPECT_TRUE(IsMarkedByte(look, 0x0A));
  EXPECT_FALSE(IsMarkedByte(look, 0x0B));
  look.show_cr = false;
  look.font_size = 20;
  look.kigou_color = clRed;
  ASSERT_TRUE(WriteBinaryLook(ini, look).ok());
  EXPECT_EQ(ReadBinaryLook(ini), look);
  EXPECT_FALSE(IsMarkedByte(look, 0x0D));
  EXPECT_EQ(ini.ReadString("BinaryEditor", "ShowCr", ""), "0");
  EXPECT_EQ(BinaryHeaderHeight(14), 20);
}

TEST(BinaryOffsets, TranslateBetweenTheEditorsTextAndTheFilesBytes) {
  // "aあ" / "" / "bc": Shift-JIS bytes 61 82 A0, then 62 63.
  const VectorLines lines({"a\x82\xA0", "", "bc"});
  struct Case {
    CharCode code;
    RetCode ret;
    uint64_t at_b;  // file offset of "b"
  };
  const Case cases[] = {
      {CharCode::SJIS, RetCode::CrLf, 3 + 2 + 2},
      {CharCode::SJIS, RetCode::Lf, 3 + 1 + 1},
      {CharCode::SJIS, RetCode::Cr, 3 + 1 + 1},
      {CharCode::UTF8, RetCode::Lf, 4 + 1 + 1},
      {CharCode::UTF8Bom, RetCode::CrLf, 3 + 4 + 2 + 2},
      {CharCode::UTF16BomLe, RetCode::CrLf, 2 + 4 + 4 + 4},
      {CharCode::UTF16Be, RetCode::Lf, 4 + 2 + 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.code) * 10 + static_cast<int>(c.ret));
    EXPECT_EQ(FileOffsetOfPlace(lines, {2, 0}, c.code, c.ret), c.at_b);
    EXPECT_EQ(PlaceOfFileOffset(lines, c.at_b, c.code, c.ret), (TextPlace{2, 0}));
    EXPECT_EQ(PlaceOfFileOffset(lines, c.at_b + (IsSixteenBit(c.code) ? 2 : 1), c.code, c.ret),
              (TextPlace{2, 1}));
    // あ's bytes all lead to あ; the line end's bytes to the end of its line.
    const uint64_t a = FileOffsetOfPlace(lines, {0, 1}, c.code, c.ret);
    EXPECT_EQ(PlaceOfFileOffset(lines, a + 1, c.code, c.ret), (TextPlace{0, 1}));
    const uint64_t end0 = FileOffsetOfPlace(lines, {0, 3}, c.code, c.ret);
    EXPECT_EQ(PlaceOfFileOffset(lines, end0, c.code, c.ret), (TextPlace{0, 3}));
    EXPECT_EQ(PlaceOfFileOffset(lines, 0, c.code, c.ret), (TextPlace{0, 0}));
    EXPECT_EQ(PlaceOfFileOffset(lines, 1000, c.code, c.ret), (TextPlace{2, 2}));
  }
  EXPECT_EQ(PlaceOfFileOffset(VectorLines({}), 5, CharCode::SJIS, RetCode::CrLf),
            (TextPlace{0, 0}));
}

}  // namespace
}  // namespace tessary
