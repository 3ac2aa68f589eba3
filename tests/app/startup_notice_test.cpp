// The start-up notice's three situations and what closing it stores.
#include "app/startup_notice.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace tessary {
namespace {

TEST(StartupNotice, ThreeSituations) {
  EXPECT_FALSE(StartupNoticeWanted(false, KeyMapCheck::Kept));
  EXPECT_TRUE(StartupNoticeWanted(false, KeyMapCheck::Replaced));
  EXPECT_TRUE(StartupNoticeWanted(true, KeyMapCheck::Kept));

  const StartupNotice both = StartupNoticeFor(true, KeyMapCheck::Replaced);
  EXPECT_EQ(both.label1, "SJIS で表示できない絵文字    等は ?? で表示されます");
  EXPECT_EQ(both.label2, "キーボード設定の項目数が異なっているのでデフォルトの設定に変更します");
  EXPECT_TRUE(both.label2_enabled);
  EXPECT_TRUE(both.check_box_visible);

  const StartupNotice key_map = StartupNoticeFor(false, KeyMapCheck::Replaced);
  EXPECT_EQ(key_map.label1, "キーボード設定の項目数が異なっているのでデフォルトの設定に変更します");
  EXPECT_EQ(key_map.label2, "");
  EXPECT_FALSE(key_map.label2_enabled);
  EXPECT_FALSE(key_map.check_box_visible);

  const StartupNotice note = StartupNoticeFor(true, KeyMapCheck::Kept);
  EXPECT_EQ(note.label1, "SJIS で表示できない絵文字    等は ?? で表示されます");
  EXPECT_FALSE(note.label2_enabled);
  EXPECT_TRUE(note.check_box_visible);
}

TEST(StartupNotice, ClosingStoresTheCheckBox) {
  testing::TempDir dir;
  PrivateProfile ini(dir.File("t.ini"));
  EXPECT_TRUE(ReadStartupNoticeShow(ini));  // default
  const StartupNotice note = StartupNoticeFor(true, KeyMapCheck::Kept);
  ASSERT_TRUE(StoreStartupNoticeChoice(ini, note, true));
  EXPECT_FALSE(ReadStartupNoticeShow(ini));
  // Only the key map notice, check box hidden: the user's "don't show" stays.
  ASSERT_TRUE(StoreStartupNoticeChoice(ini, StartupNoticeFor(false, KeyMapCheck::Replaced), false));
  EXPECT_FALSE(ReadStartupNoticeShow(ini));
  ASSERT_TRUE(StoreStartupNoticeChoice(ini, note, false));
  EXPECT_TRUE(ReadStartupNoticeShow(ini));
}

}  // namespace
}  // namespace tessary
