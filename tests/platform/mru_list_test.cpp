// Most-recent-first lists: pushing, bounds, fixed lengths and their Shift-JIS files.
#include "platform/mru_list.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace tessary {
namespace {

using testing::ReadFileOrDie;
using testing::TempDir;
using V = std::vector<std::string>;

// Stands in for the Shift-JIS conversion: ASCII passes, anything else cannot be stored.
ListTextCodec AsciiOnly() {
  return {[](std::string_view t) -> std::optional<std::string> {
            for (unsigned char c : t)
              if (c >= 0x80) return std::nullopt;
            return std::string(t);
          },
          [](std::string_view t) { return std::string(t); }};
}

std::string Numbered(const char* prefix, int i) {
  std::string s = prefix;
  s += std::to_string(i);
  return s;
}

TEST(MruList, ASearchHistoryKeepsOneEntryPerWordAndAtMost32) {
  MruList words({32, MruLength::UpTo, ""});
  words.Push("a");
  words.Push("b");
  words.Push("a");
  EXPECT_EQ(words.entries(), (V{"a", "b"}));
  for (int i = 0; i < 40; ++i) words.Push(Numbered("w", i));
  ASSERT_EQ(words.entries().size(), 32u);
  EXPECT_EQ(words.entries().front(), "w39");
  EXPECT_EQ(words.entries().back(), "w8") << "the oldest are pushed out";
}

TEST(MruList, FixedListsAreFilledAndMatchByTheCallersRule) {
  MruList paths({3, MruLength::Fixed, "-"});
  EXPECT_EQ(paths.entries(), (V{"-", "-", "-"}));
  paths.Push("/x");
  paths.Push("/y", [](std::string_view e) { return e == "/x"; });  // replaces /x
  EXPECT_EQ(paths.entries(), (V{"/y", "-", "-"}));
}

TEST(MruList, FilesRoundTripWithUnstorableEntriesLeftEmpty) {
  TempDir dir;
  MruList list({4, MruLength::UpTo, ""});
  list.Load(dir.File("missing.txt"), AsciiOnly());
  EXPECT_TRUE(list.entries().empty());
  list.Push("one");
  list.Push("\xE6\x97\xA5");
  ASSERT_TRUE(list.Save(dir.File("l.txt"), AsciiOnly()).ok());
  EXPECT_EQ(ReadFileOrDie(dir.File("l.txt")), "\r\none\r\n");
  // Line ends of any kind; lines past the capacity are not read.
  list.Load(dir.Write("in.txt", "a\rb\nc\r\nd\ne\nf\n"), AsciiOnly());
  EXPECT_EQ(list.entries(), (V{"a", "b", "c", "d"}));
}

}  // namespace
}  // namespace tessary
