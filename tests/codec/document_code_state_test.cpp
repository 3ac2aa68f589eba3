// The document code state through loads, and the overwrite save's codes and loss warning.
#include "codec/document_code_state.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;

// A load as the window completes it: the text, then the file's size and protection, where the
// file's own read-only attribute adds to what the text demands.
void Load(DocumentCodeState& s, const std::string& name, const LoadedText& t,
          FileProtection attribute = FileProtection::Writable) {
  s.ApplyText(name, t);
  const bool read_only = attribute == FileProtection::ReadOnly || t.WriteProtected();
  s.ApplyFileFacts(t.file_size, read_only ? FileProtection::ReadOnly : FileProtection::Writable);
}

TEST(DocumentCodeState, LoadSetsReadSaveAndLoadedCodesAndNames) {
  DocumentCodeState s;
  Load(s, "/x/a.txt", LoadDocumentText(Hex("41 00 0A 00"), CharCode::Auto));
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

TEST(DocumentCodeState, TextWithoutFileFactsKeepsSizeProtectionAndConfirmationNames) {
  DocumentCodeState s;
  Load(s, "ro", LoadDocumentText("a\r\n", CharCode::Auto), FileProtection::ReadOnly);
  // The next file's text is shown, then the file vanishes before its size is known.
  s.ApplyText("gone", LoadDocumentText(Hex("EF BB BF 61 0A"), CharCode::Auto));
  EXPECT_EQ(s.FileName, "gone");
  EXPECT_EQ(s.ReadCode, CharCode::UTF8Bom);
  EXPECT_EQ(s.SaveRetName, "Lf(OSX,Android)");
  EXPECT_EQ(s.FileSize, 3u);
  EXPECT_TRUE(s.FileReadOnly);
  EXPECT_EQ(s.LoadedReadCodeName, "S-JIS");
  EXPECT_EQ(s.LoadedSaveRetName, "Cr+Lf(Windows) ");
  // A file found empty after all is Shift-JIS with CR LF whatever its text was read as.
  s.ApplyFileFacts(0, FileProtection::Writable);
  EXPECT_EQ(s.ReadCode, CharCode::SJIS);
  EXPECT_EQ(s.LoadedRetCode, RetCode::CrLf);
  EXPECT_EQ(s.LoadedSaveCodeName, "S-JIS");
  EXPECT_FALSE(s.FileReadOnly);
}

TEST(DocumentCodeState, OverwriteSaveGoesBackToTheLoadedCodes) {
  DocumentCodeState s;
  Load(s, "a", LoadDocumentText("a\rb\r", CharCode::Auto));
  s.SaveCode = CharCode::UTF8Bom;  // a Save As chose another code
  s.SaveRetCode = RetCode::None;
  s.PrepareOverwriteSave();
  EXPECT_EQ(s.SaveCode, CharCode::SJIS);
  EXPECT_EQ(s.SaveRetCode, RetCode::Cr);
}

TEST(DocumentCodeState, KeepsTheCountOfReplacedCharactersAndWriteProtection) {
  DocumentCodeState s;
  Load(s, "e", LoadDocumentText(Hex("E3 81 82 F0 9F 98 80 0A"), CharCode::Auto));
  EXPECT_EQ(s.ReplacedChars, 1u);  // the emoji: one character, two "?"
  EXPECT_TRUE(s.OverwriteLosesCharacters());
  Load(s, "m", LoadDocumentText("a\r\nb\n", CharCode::Auto));
  EXPECT_EQ(s.ReplacedChars, 0u);  // a new load replaces the count
  EXPECT_TRUE(s.MixedRetCode);
  EXPECT_TRUE(s.FileReadOnly);
  Load(s, "r", LoadDocumentText("a\r\n", CharCode::Auto), FileProtection::ReadOnly);
  EXPECT_TRUE(s.FileReadOnly);
}

}  // namespace
}  // namespace tessary
