// INI files: reading forms, case rules, writes that keep the rest of the file.
#include "platform/private_profile.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;
using testing::ReadFileOrDie;
using testing::TempDir;

TEST(PrivateProfile, ReadsValuesByCaseInsensitiveNames) {
  TempDir dir;
  PrivateProfile ini(dir.Write("t.ini",
                               "; comment\r\n[Editor]\r\nWrapByte = 80 \r\nTab4=1\r\n"
                               "[editorcolor]\r\nFontName=\"quoted\"\r\nEmpty=\r\n"
                               "[Other]\nTab4=0\n"));
  EXPECT_EQ(ini.ReadString("editor", "WRAPBYTE"), "80");
  EXPECT_EQ(ini.ReadString("EditorColor", "FontName"), "quoted");
  EXPECT_EQ(ini.ReadString("EditorColor", "Empty"), "");
  EXPECT_FALSE(ini.ReadString("Editor", "Missing").has_value());
  EXPECT_FALSE(ini.ReadString("Nope", "Tab4").has_value());
  EXPECT_TRUE(ini.ReadBool("Editor", "Tab4", false));
  EXPECT_FALSE(ini.ReadBool("Other", "Tab4", true)) << "a key belongs to its own section";
  EXPECT_EQ(ini.ReadInteger("Editor", "WrapByte", 0), 80);
}

TEST(PrivateProfile, MissingFileGivesDefaults) {
  TempDir dir;
  PrivateProfile ini(dir.File("absent.ini"));
  EXPECT_EQ(ini.ReadString("A", "B", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadInteger("A", "B", 14), 14);
  EXPECT_TRUE(ini.ReadBool("A", "B", true));
}

TEST(PrivateProfile, IntegerForms) {
  EXPECT_EQ(ParseProfileInteger("42"), 42);
  EXPECT_EQ(ParseProfileInteger("-7"), -7);
  EXPECT_EQ(ParseProfileInteger("$1F"), 31);
  EXPECT_EQ(ParseProfileInteger("$00C0DCC0"), 0xC0DCC0);
  EXPECT_EQ(ParseProfileInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseProfileInteger("0x10"), 16);
  EXPECT_FALSE(ParseProfileInteger("").has_value());
  EXPECT_FALSE(ParseProfileInteger("true").has_value());
  EXPECT_FALSE(ParseProfileInteger("12abc").has_value());
  EXPECT_FALSE(ParseProfileInteger("99999999999").has_value());
  // The ends of the range, in both forms; the negated lowest pattern saturates.
  EXPECT_EQ(ParseProfileInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseProfileInteger("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseProfileInteger("$80000000"), -2147483647 - 1);
  EXPECT_EQ(ParseProfileInteger("-$80000000"), 2147483647);
  EXPECT_EQ(ParseProfileInteger("-$FFFFFFFF"), 1);
  EXPECT_FALSE(ParseProfileInteger("$").has_value());
  TempDir dir;
  PrivateProfile ini(dir.Write("t.ini", "[S]\r\nA=clWhite\r\nB=2\r\n"));
  EXPECT_EQ(ini.ReadInteger("S", "A", 5), 5) << "unreadable text gives the default";
  EXPECT_TRUE(ini.ReadBool("S", "B", false)) << "any non-zero value is true";
}

TEST(PrivateProfile, WritesReplaceAddAndCreate) {
  TempDir dir;
  std::string path = dir.Write("t.ini", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
  PrivateProfile ini(path);
  ASSERT_TRUE(ini.WriteString("a", "X", "9").ok());
  ASSERT_TRUE(ini.WriteInteger("A", "z", 3).ok());
  ASSERT_TRUE(ini.WriteBool("C", "w", true).ok());
  EXPECT_EQ(ReadFileOrDie(path), "[A]\r\nX=9\r\nz=3\r\n\r\n[B]\r\ny=2\r\n[C]\r\nw=1\r\n");
  // A new file is created at the first write.
  PrivateProfile fresh(dir.File("new.ini"));
  ASSERT_TRUE(fresh.WriteStrings({{"Editor", "Tab4", "1"}, {"Editor", "Tab2", "0"}}).ok());
  EXPECT_EQ(ReadFileOrDie(dir.File("new.ini")), "[Editor]\r\nTab4=1\r\nTab2=0\r\n");
}

TEST(PrivateProfile, ShiftJisNamesAreNotCaseFolded) {
  // Trail bytes take the values of ASCII letters; folding them would make two different
  // katakana names equal.
  TempDir dir;
  std::string key = Hex("83 41");    // katakana A; trail byte 0x41 is ASCII 'A'
  std::string other = Hex("83 61");  // another katakana; trail byte 0x61 is 'a'
  std::string path = dir.Write("t.ini", "[S]\r\n" + key + "=one\r\n");
  PrivateProfile ini(path);
  EXPECT_EQ(ini.ReadString("S", key), "one");
  EXPECT_FALSE(ini.ReadString("S", other).has_value());
  // Values keep their Shift-JIS bytes.
  std::string font = Hex("82 6C 82 72 20 83 53 83 56 83 62 83 4E");
  ASSERT_TRUE(ini.WriteString("EditorColor", "FontName", font).ok());
  EXPECT_EQ(ini.ReadString("EditorColor", "FontName"), font);
}

TEST(PrivateProfile, AFileFarLargerThanAnySettingsFileIsNeitherReadNorRewritten) {
  // 50 MB of line feeds once made every key read split the whole file: a minute at start-up.
  TempDir dir;
  std::string big = "[Editor]\r\nTab4=0\r\n";
  big.append(50u << 20, '\n');
  const std::string path = dir.Write("big.ini", big);
  PrivateProfile ini(path);
  EXPECT_TRUE(ini.Oversized());
  EXPECT_TRUE(ini.ReadBool("Editor", "Tab4", true)) << "keys read as their defaults";
  Status s = ini.WriteString("Editor", "Tab4", "1");
  EXPECT_FALSE(s.ok());
  EXPECT_EQ(ReadFileOrDie(path).size(), big.size());
  EXPECT_FALSE(PrivateProfile(dir.Write("small.ini", "[A]\r\nb=1\r\n")).Oversized());
}

std::string Numbered(const char* prefix, int i) {
  std::string s = prefix;
  s += std::to_string(i);
  return s;
}

TEST(PrivateProfile, TwoProcessesWritingAtOnceLoseNoKey) {
  TempDir dir;
  const std::string path = dir.File("shared.ini");
  constexpr int kWrites = 150;
  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = ::fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      PrivateProfile ini(path);
      int failed = 0;
      for (int i = 0; i < kWrites; ++i)
        failed += !ini.WriteInteger(Numbered("P", c), Numbered("K", i), i).ok();
      ::_exit(failed == 0 ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  PrivateProfile ini(path);
  int lost = 0;
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < kWrites; ++i)
      lost += ini.ReadInteger(Numbered("P", c), Numbered("K", i), -1) != i;
  EXPECT_EQ(lost, 0);
}

TEST(PrivateProfile, FailedWriteIsReportedAndLeavesTheFile) {
  TempDir dir;
  PrivateProfile ini(dir.File("missing-folder/t.ini"));
  EXPECT_FALSE(ini.WriteString("A", "b", "c").ok());
}

}  // namespace
}  // namespace tessary
