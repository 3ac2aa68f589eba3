// Whole-file reads report failures; atomic writes never leave a target half written.
#include "platform/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/app_home.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::TempDir;

TEST(ReadWholeFile, ReadsBytesAndReportsFailures) {
  TempDir dir;
  std::string bytes("a\0b\xFF", 4);
  EXPECT_EQ(ReadWholeFile(dir.Write("f", bytes)).value(), bytes);
  EXPECT_EQ(ReadWholeFile(dir.Write("empty", "")).value(), "");

  auto missing = ReadWholeFile(dir.File("nope"));
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.error().message.find(dir.File("nope")), std::string::npos)
      << "the message names the file";
  EXPECT_FALSE(ReadWholeFile(dir.path()).ok()) << "a folder is not a file";
  EXPECT_FALSE(FileSizeOf(dir.path()).has_value());
  EXPECT_EQ(FileSizeOf(dir.File("f")), 4u);
}

TEST(ReadWholeFile, UnreadableFileIsAnError) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  TempDir dir;
  std::string p = dir.Write("secret", "x");
  ::chmod(p.c_str(), 0);
  EXPECT_FALSE(ReadWholeFile(p).ok());
}

TEST(WriteFileAtomic, ReplacesWholeAndKeepsPermissions) {
  TempDir dir;
  std::string p = dir.Write("t.txt", "old contents");
  ::chmod(p.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomic(p, "new").ok());
  EXPECT_EQ(testing::ReadFileOrDie(p), "new");
  struct stat st {};
  ::stat(p.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // No temporary file is left beside it.
  int entries = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) (void)e, ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(WriteFileAtomic, FailureLeavesTheTargetAlone) {
  TempDir dir;
  std::string p = dir.Write("keep.txt", "precious");
  // A folder in the way of the temporary file's rename target: write into a missing folder.
  EXPECT_FALSE(WriteFileAtomic(dir.File("no/such/dir/file"), "x").ok());
  // Renaming over a folder fails after the data was written; the folder stays.
  std::filesystem::create_directory(dir.File("adir"));
  auto st = WriteFileAtomic(dir.File("adir"), "x");
  EXPECT_FALSE(st.ok());
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("adir")));
  EXPECT_EQ(testing::ReadFileOrDie(p), "precious");
}

TEST(AppHome, EnvironmentOverridesAndWorkingFileNames) {
  const char* home = std::getenv("TESSARY_HOME");
  ASSERT_NE(home, nullptr) << "tests run with their own TESSARY_HOME";
  EXPECT_EQ(AppHomeDir(), std::string(home));
  EXPECT_EQ(WorkingFilePath("UnKnown"), std::string(home) + "/Tessary-UnKnown.txt");
}

}  // namespace
}  // namespace tessary
