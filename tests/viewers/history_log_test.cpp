// The history viewer without windows: record headers, the entry list and the two modes' setting.
#include "viewers/history_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/sjis_text.h"
#include "platform/private_profile.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;
using testing::TempDir;

TextLines Log(const std::vector<std::string>& lines) {
  TextLines t;
  for (const std::string& l : lines) t.AddLine(Utf8ToSjis(l));
  return t;
}

TEST(HistoryRules, HeadersNeedBlanksInsideTheBracketsOnWholeCharacters) {
  EXPECT_TRUE(IsHistoryHeader("[ 2024/01/02 ] opened"));
  EXPECT_FALSE(IsHistoryHeader("[2024/01/02 ]"));
  EXPECT_FALSE(IsHistoryHeader("[ 2024/01/02]"));
  // ー is 81 5B: its trail byte followed by a blank is no "[ ".
  EXPECT_FALSE(IsHistoryHeader(Hex("81 5B") + " x ]"));
}

TEST(HistoryEntries, LeadingHeaderAndClosingRecordsLinked) {
  const TextLines log = Log({"intro", "[ 1 ]\tA", "a", "[ 2 ] B", "b", "last"});
  const std::vector<LogEntry> e = BuildHistoryEntries(log, "/x/hist.log");
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0], (LogEntry{"hist.log", 0, 1}));
  EXPECT_EQ(e[1], (LogEntry{"[ 1 ]\tA", 1, 3}));  // a TAB inside a header stays in it
  EXPECT_EQ(e[3], (LogEntry{"hist.log", 5, 5}));
  EXPECT_EQ(HistoryRecordLines(log, e, 1).Count(), 2u);
  EXPECT_EQ(HistoryRecordLines(log, e, 2).Count(), 2u);  // "last" never belongs to a record
  EXPECT_TRUE(HistoryRecordLines(log, e, 3).Empty());    // the closing record shows nothing
  EXPECT_TRUE(BuildHistoryEntries(TextLines{}, "x").empty());
}

TEST(HistoryEntries, ALogWithoutHeadersIsOneLeadingRecord) {
  const TextLines log = Log({"a", "b", "c"});
  const std::vector<LogEntry> e = BuildHistoryEntries(log, "h.txt");
  ASSERT_EQ(e.size(), 2u);
  const TextLines shown = HistoryRecordLines(log, e, 0);
  ASSERT_EQ(shown.Count(), 2u);  // every line but the last
  EXPECT_EQ(shown.Line(1), "b");
}

TEST(HistorySettings, ModeReadWithItsDefaultAndWritten) {
  TempDir dir;
  PrivateProfile ini(dir.File("t.ini"));
  EXPECT_EQ(ReadHistoryMode(ini), HistoryMode::All);
  ASSERT_TRUE(WriteHistoryMode(ini, HistoryMode::This).ok());
  EXPECT_EQ(ReadHistoryMode(ini), HistoryMode::This);
  EXPECT_EQ(ini.ReadString("OstrHistory", "All", ""), "0");
}

}  // namespace
}  // namespace tessary
