// Recent files and caret history: ordering, matching, clamping and their files.
#include "app/file_lists.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace tessary {
namespace {

using testing::ReadFileOrDie;
using testing::TempDir;

// Stands in for the code page 932 conversion: ASCII passes, anything else cannot be stored.
PathCodec AsciiCodec() {
  return PathCodec{[](std::string_view p) -> std::optional<std::string> {
                     for (unsigned char c : p)
                       if (c >= 0x80) return std::nullopt;
                     return std::string(p);
                   },
                   [](std::string_view p) { return std::string(p); }};
}

TEST(RecentList, MostRecentFirstWithoutDuplicates) {
  RecentList r;
  for (const char* p : {"/a", "/b", "/c"}) r.Update(p);
  r.Update("/a");
  EXPECT_EQ(r.entries(), (std::vector<std::string>{"/a", "/c", "/b", "", "", ""}));
  for (const char* p : {"/d", "/e", "/f", "/g"}) r.Update(p);
  EXPECT_EQ(r.entries(), (std::vector<std::string>{"/g", "/f", "/e", "/d", "/a", "/c"}));
  EXPECT_EQ(r.MenuCaption(1), "&1 /g");
  EXPECT_EQ(r.MenuCaption(6), "&6 /c");
}

TEST(RecentList, WholePathsMatchNotSubstrings) {
  // Opening a.txt must not take over the entry of a.txt.bak.
  RecentList r;
  r.Update("/d/a.txt.bak");
  r.Update("/d/a.txt");
  EXPECT_EQ(r.entries()[0], "/d/a.txt");
  EXPECT_EQ(r.entries()[1], "/d/a.txt.bak");
  r.Update("/d/A.TXT");
  EXPECT_EQ(r.entries()[2], "/d/a.txt.bak") << "letter case tells files apart here";
}

TEST(RecentList, FileRoundTripAndShortFiles) {
  TempDir dir;
  RecentList r;
  r.Load(dir.File("missing.txt"), AsciiCodec());
  EXPECT_EQ(r.entries(), std::vector<std::string>(6));
  r.Update("/x/one.txt");
  r.Update("/x/\xE6\x97\xA5.txt");  // not storable in the stand-in codec
  ASSERT_TRUE(r.Save(dir.File("recent.txt"), AsciiCodec()).ok());
  EXPECT_EQ(ReadFileOrDie(dir.File("recent.txt")), "\r\n/x/one.txt\r\n\r\n\r\n\r\n\r\n");
  RecentList short_file;
  short_file.Load(dir.Write("short.txt", "/p\n/q"), AsciiCodec());
  EXPECT_EQ(short_file.entries(), (std::vector<std::string>{"/p", "/q", "", "", "", ""}));
}

TEST(HistoryList, UpdateAndLookup) {
  HistoryList h;
  h.Update("", 5);
  EXPECT_EQ(h.entries()[0].path, "") << "an unnamed document is not recorded";
  h.Update("/t/a.txt", 12);
  h.Update("/t/b.txt", 3);
  h.Update("/t/a.txt", 40);
  EXPECT_EQ(h.entries()[0].path, "/t/a.txt");
  EXPECT_EQ(h.entries()[1].path, "/t/b.txt");
  EXPECT_EQ(h.entries()[2].path, "");
  EXPECT_EQ(h.Lookup("/t/a.txt", 1000), 40);
  EXPECT_EQ(h.Lookup("/t/a.txt", 20), 19) << "clamped to the last line";
  EXPECT_EQ(h.Lookup("/t/a", 1000), std::nullopt);
  EXPECT_EQ(h.entries().size(), 128u);
}

TEST(HistoryList, The129thFilePushesOutTheOldest) {
  HistoryList h;
  for (int i = 0; i < 129; ++i) h.Update("/f" + std::to_string(i), i);
  EXPECT_EQ(h.entries().size(), 128u);
  EXPECT_EQ(h.Lookup("/f0", 1000), std::nullopt);
  EXPECT_EQ(h.Lookup("/f1", 1000), 1);
  EXPECT_EQ(h.entries()[0].path, "/f128");
}

TEST(HistoryList, FileFormatAndBadRows) {
  TempDir dir;
  HistoryList h;
  h.Load(dir.File("missing.txt"), AsciiCodec());
  ASSERT_TRUE(h.Save(dir.File("h.txt"), AsciiCodec()).ok());
  std::string empty;
  for (int i = 0; i < 128; ++i) empty += "\t\r\n";
  EXPECT_EQ(ReadFileOrDie(dir.File("h.txt")), empty);

  HistoryList loaded;
  loaded.Load(dir.Write("in.txt", "7\t/a\rxx\t/b\r\n3\t/b\n"), AsciiCodec());
  EXPECT_EQ(loaded.Lookup("/a", 100), 7);
  EXPECT_EQ(loaded.Lookup("/b", 100), 3) << "a non-numeric row never matches";
  EXPECT_EQ(loaded.entries().size(), 128u);
  loaded.Update("/\xE6\x97\xA5", 9);
  ASSERT_TRUE(loaded.Save(dir.File("out.txt"), AsciiCodec()).ok());
  std::string out = ReadFileOrDie(dir.File("out.txt"));
  EXPECT_EQ(out.rfind("\t\r\n7\t/a\r\nxx\t/b\r\n3\t/b\r\n\t\r\n", 0), 0u)
      << "an unstorable path is left out; the rest stays as it was";
}

TEST(HistoryList, CorruptFilesOfMillionsOfLinesReadOnlyWhatTheListHolds) {
  TempDir dir;
  std::string corrupt = "7\ta.txt\r\n";
  corrupt.append(50u << 20, '\n');
  const std::string path = dir.Write("h.txt", corrupt);
  HistoryList history;
  history.Load(path, AsciiCodec());
  ASSERT_EQ(history.entries().size(), HistoryList::kSize);
  EXPECT_EQ(history.entries()[0].path, "a.txt");
  RecentList recent;
  recent.Load(path, AsciiCodec());
  EXPECT_EQ(recent.entries().size(), RecentList::kSize);
}

}  // namespace
}  // namespace tessary
