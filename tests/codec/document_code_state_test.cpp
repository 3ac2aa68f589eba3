// The document code state after loads, and the overwrite save's codes and loss warning.
#include "codec/document_code_state.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;

TEST(DocumentCodeState, LoadSetsReadSaveAndLoadedCodesAndNames) {
  DocumentCodeState s;
  s.ApplyLoad("/x/a.txt", LoadDocumentText(Hex("41 00 0A 00"), CharCode::Auto), false);
  EXPECT_EQ(s.FileName, "/x/a.txt");
  EXPECT_EQ(s.FileSize, 4u);
  EXPECT_EQ(s.ReadCode, CharCode::UTF16Le);
  EXPECT_EQ(s.SaveCode, CharCode::UTF16Le);
  EXPECT_EQ(s.LoadedCode, CharCode::UTF16Le);
  EXPECT_EQ(s.SaveRetCode, RetCode::Lf);
  EXPECT_EQ(s.LoadedSaveCodeName, "UTF16 [BOM無 LittleEndian]");
  EXPECT_EQ(s.LoadedReadRetName, "Lf(OSX,Android)");
  EXPECT_FALSE(s.FileReadOnly);
  EXPECT_FALSE(s.OverwriteLosesCharacters());
}

TEST(DocumentCodeState, OverwriteSaveGoesBackToTheLoadedCodes) {
  DocumentCodeState s;
  s.ApplyLoad("a", LoadDocumentText("a\rb\r", CharCode::Auto), false);
  s.SaveCode = CharCode::UTF8Bom;  // a Save As chose another code
  s.SaveRetCode = RetCode::None;
  s.PrepareOverwriteSave();
  EXPECT_EQ(s.SaveCode, CharCode::SJIS);
  EXPECT_EQ(s.SaveRetCode, RetCode::Cr);
}

TEST(DocumentCodeState, KeepsTheCountOfReplacedCharactersAndWriteProtection) {
  DocumentCodeState s;
  s.ApplyLoad("e", LoadDocumentText(Hex("E3 81 82 F0 9F 98 80 0A"), CharCode::Auto), false);
  EXPECT_EQ(s.ReplacedChars, 2u);
  EXPECT_TRUE(s.OverwriteLosesCharacters());
  s.ApplyLoad("m", LoadDocumentText("a\r\nb\n", CharCode::Auto), false);
  EXPECT_EQ(s.ReplacedChars, 0u);  // a new load replaces the count
  EXPECT_TRUE(s.MixedRetCode);
  EXPECT_TRUE(s.FileReadOnly);
  s.ApplyLoad("r", LoadDocumentText("a\r\n", CharCode::Auto), true);
  EXPECT_TRUE(s.FileReadOnly);
}

}  // namespace
}  // namespace tessary
