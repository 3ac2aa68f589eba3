// The favourites and launcher windows' models and the version window's values.
#include <gtest/gtest.h>

#include "app/program_settings_model.h"
#include "app/version_info.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::TempDir;

TEST(FavoritesModelTest, EditsChangeTheSelectedRowAndOnlySaveWrites) {
  TempDir dir;
  PrivateProfile ini(dir.File("t.ini"));
  ASSERT_TRUE(WriteFavorite(ini, 2, {"/d/two.txt", 9, "junk"}).ok());
  FavoritesModel m(ini);
  EXPECT_EQ(m.Rows()[1].index, 0);  // outside the codes
  m.Select(2);
  m.SetPath("/d/three.txt");
  m.SetCodeIndex(6);
  m.Select(5);  // no such row: the selection stays
  m.SetCodeIndex(42);
  EXPECT_EQ(m.Rows()[2], (FavoriteEntry{"/d/three.txt", 0, "自動検出"}));
  m.SetCodeIndex(2);
  EXPECT_EQ(ReadFavorite(ini, 3).path, "");
  ASSERT_TRUE(m.Save().ok());
  EXPECT_EQ(ReadFavorite(ini, 3), (FavoriteEntry{"/d/three.txt", 2, FavoritesModel::CodeText(2)}));
  EXPECT_EQ(ReadFavorite(ini, 2), (FavoriteEntry{"/d/two.txt", 0, "自動検出"}));
  EXPECT_EQ(FavoritesModel::CodeText(1), "S-JIS");
}

TEST(LaunchersModelTest, ExamplesFillTheTemplateAndSaveWritesAllThree) {
  const std::vector<std::string> items = LaunchersModel::ExampleItems();
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(LaunchersModel::ExampleOptions(items[0]), "");
  EXPECT_EQ(LaunchersModel::ExampleOptions(items[1]), "$(FileNameEx)");
  EXPECT_EQ(LaunchersModel::ExampleOptions(items[2]), "$(CurLine)");
  EXPECT_EQ(LaunchersModel::ExampleOptions(items[3]), "/l $(CurLine) \"$(FileNameEx)\"");
  TempDir dir;
  PrivateProfile ini(dir.File("t.ini"));
  LaunchersModel m(ini);
  m.Select(1);
  m.SetProgram("/opt/ed");
  m.SetOptions(LaunchersModel::ExampleOptions(items[3]));
  ASSERT_TRUE(m.Save().ok());
  EXPECT_EQ(ReadLauncher(ini, 2), (LauncherEntry{"/opt/ed", "/l $(CurLine) \"$(FileNameEx)\""}));
  EXPECT_EQ(ReadLauncher(ini, 1), LauncherEntry{});
}

TEST(VersionInfoTest, TextCarriesTheVersionAndTheExecutablesDate) {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 2;
  t.tm_mday = 7;
  t.tm_hour = 12;
  EXPECT_EQ(VersionText("0.1", std::mktime(&t)), "0.1 (2026.03.07)");
  EXPECT_EQ(VersionText("0.1", std::nullopt), "0.1");
  EXPECT_FALSE(ProjectVersion().empty());
  EXPECT_TRUE(ExecutableTime().has_value());
}

TEST(VersionInfoTest, PicturesCycleThroughSixAndAStoredIndexOutsideReadsZero) {
  TempDir dir;
  PrivateProfile ini(dir.File("t.ini"));
  EXPECT_EQ(ReadVersionImage(ini), 0);
  int index = 0;
  for (int k = 0; k < kVersionImageCount; ++k) index = NextVersionImage(index);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(NextVersionImage(5), 0);
  ASSERT_TRUE(WriteVersionImage(ini, 4).ok());
  EXPECT_EQ(ReadVersionImage(ini), 4);
  ASSERT_TRUE(ini.WriteInteger("VersionImage", "Index", 6).ok());
  EXPECT_EQ(ReadVersionImage(ini), 0);
  EXPECT_NE(VersionImageCaption(0), VersionImageCaption(5));
}

}  // namespace
}  // namespace tessary
