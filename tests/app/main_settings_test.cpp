// The main window's settings: defaults on a first start, the shut-down write, read-back, mapping.
#include "app/main_settings.h"

#include <gtest/gtest.h>

#include "app/editor_keys_at_exit.h"
#include "codec/sjis_text.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::ReadFileOrDie;
using testing::TempDir;

TEST(MainSettings, FirstStartWithoutFileGivesTheDefaults) {
  TempDir dir;
  PrivateProfile ini(dir.File("tessary.ini"));
  const MainSettings s = ReadMainSettings(ini);
  EXPECT_EQ(s, MainSettings{});
  // White text on black, 800 x 240 at the top-left corner, wrap at the window edge, tab 4.
  EXPECT_EQ(s.font.color, clWhite);
  EXPECT_EQ(s.back_color, clBlack);
  EXPECT_EQ(s.font.name, "ＭＳ ゴシック");
  EXPECT_EQ(s.font.size, 14);
  EXPECT_EQ(s.font_read_only.color, clBlack);
  EXPECT_EQ(s.back_color_read_only, clWhite);
  EXPECT_EQ(s.placement.bounds.left, 0);
  EXPECT_EQ(s.placement.bounds.top, 0);
  EXPECT_EQ(s.placement.bounds.width, 800);
  EXPECT_EQ(s.placement.bounds.height, 240);
  EXPECT_EQ(s.placement.state, WindowState::Normal);
  EXPECT_EQ(s.wrap, WrapMode::WindowWidth);
  EXPECT_EQ(s.tab_width, 4);
  EXPECT_TRUE(s.status_bar_top && s.status_bar_bottom);
  EXPECT_TRUE(s.read_menu.auto_detect);
  EXPECT_TRUE(s.read_menu.Checked(CharCode::SJIS));
  EXPECT_FALSE(s.read_menu.Checked(CharCode::UTF8));
  EXPECT_TRUE(s.warning_show);
}

TEST(MainSettings, ExitWritesEveryEditorKeyAndTheFileReadsBackTheSame) {
  TempDir dir;
  PrivateProfile ini(dir.File("tessary.ini"));
  ASSERT_TRUE(WriteMainSettings(ini, ReadMainSettings(ini)));
  for (const char* key : testing::kEditorKeysWrittenAtExit)
    EXPECT_TRUE(ini.ReadString("Editor", key).has_value()) << key;
  for (const char* key :
       {"FontName", "FontSize", "FontColor", "FontNameReadOnly", "FontSizeReadOnly",
        "FontColorReadOnly", "BackColor", "BackColorReadOnly", "ReserveColor", "SelectFontColor",
        "SelectBackColor", "KigouColor", "UnderLineColor"})
    EXPECT_TRUE(ini.ReadString("EditorColor", key).has_value()) << key;
  EXPECT_EQ(ini.ReadString("Editor", "WrapWindowWidth"), "1");
  EXPECT_EQ(ini.ReadString("Editor", "WrapNone"), "0");
  EXPECT_EQ(ini.ReadString("Editor", "Tab4"), "1");
  EXPECT_EQ(ini.ReadString("EditorColor", "FontColor"), "clWhite");
  EXPECT_EQ(ini.ReadString("StatusBar", "PositionTop"), "1");
  EXPECT_EQ(ini.ReadString("OpenSaveDialog", "XpStyle"), "0");
  EXPECT_EQ(ini.ReadString("FormMain", "State"), "NORMAL");
  EXPECT_EQ(ini.ReadString("FormMain", "Width"), "800");
  // The font name is stored in Shift-JIS, the file's code.
  EXPECT_NE(ReadFileOrDie(ini.path()).find(testing::Hex("82 6C 82 72 20 83 53 83 56 83 62 83 4E")),
            std::string::npos);
  EXPECT_EQ(ReadMainSettings(ini), MainSettings{});
}

TEST(MainSettings, ChangedValuesSurviveARestart) {
  TempDir dir;
  PrivateProfile ini(dir.File("tessary.ini"));
  MainSettings s;
  s.font = {"IPAゴシック", 11, 0x123456};
  s.back_color_read_only = clCream;
  s.read_menu.auto_detect = false;
  s.read_menu.codes = {false, false, true, false, false, false, false};
  s.wrap = WrapMode::None;
  s.tab_width = 8;
  s.crlf_not_include = false;
  s.caret_move_free = true;
  s.status_bar_bottom = false;
  s.placement.bounds = {30, 40, 900, 500};
  ASSERT_TRUE(WriteMainSettings(ini, s));
  EXPECT_EQ(ini.ReadString("EditorColor", "FontColor"), "$00123456");
  EXPECT_EQ(ini.ReadString("EditorColor", "BackColorReadOnly"), "clCream");
  EXPECT_EQ(ReadMainSettings(ini), s);
}

TEST(MainSettings, MaximisedAtExitKeepsTheNormalBounds) {
  TempDir dir;
  PrivateProfile ini(dir.File("tessary.ini"));
  MainSettings s;
  s.placement.bounds = {10, 20, 1000, 600};
  ASSERT_TRUE(WriteMainSettings(ini, s));
  s.placement.state = WindowState::Maximized;
  s.placement.bounds = {0, 0, 1920, 1080};
  ASSERT_TRUE(WriteMainSettings(ini, s));
  EXPECT_EQ(ini.ReadString("FormMain", "State"), "MAX");
  EXPECT_EQ(ini.ReadString("FormMain", "Width"), "1000");
  EXPECT_EQ(ini.ReadString("FormMain", "Left"), "10");
}

TEST(MainSettings, UnreadableValuesFallBackToTheKeysDefaults) {
  TempDir dir;
  PrivateProfile ini(dir.Write("tessary.ini",
                               "[EditorColor]\r\nFontColor=clNoSuchColour\r\nFontSize=big\r\n"
                               "BackColor=clyellow\r\nFontName=\r\n[Editor]\r\nTab4=0\r\nTab6=1\r\n"
                               "WrapNone=0\r\nWrapLength=1\r\nWrapByte=x\r\n"));
  const MainSettings s = ReadMainSettings(ini);
  EXPECT_EQ(s.font.color, clWhite);
  EXPECT_EQ(s.font.size, 14);
  EXPECT_EQ(s.font.name, kDefaultFontName);
  EXPECT_EQ(s.back_color, clYellow);
  EXPECT_EQ(s.tab_width, 6);
  EXPECT_EQ(s.wrap, WrapMode::Length);
  EXPECT_EQ(ReadWrapByte(ini), 80);
}

TEST(MainSettings, AllReadKeysOffLeavesNoReadItemChecked) {
  TempDir dir;
  PrivateProfile ini(dir.Write("tessary.ini", "[Editor]\r\nReadAuto=0\r\nReadSJIS=0\r\n"));
  const MainSettings s = ReadMainSettings(ini);
  EXPECT_FALSE(s.read_menu.auto_detect);
  for (bool c : s.read_menu.codes) EXPECT_FALSE(c);
}

TEST(MainSettings, KeysWrittenAtOnceByTheViewCommandsReadBack) {
  TempDir dir;
  PrivateProfile ini(dir.File("tessary.ini"));
  ASSERT_TRUE(WriteFontChoice(ini, Protection::ReadOnly, {"IPAゴシック", 20, clNavy}));
  ASSERT_TRUE(WriteBackColor(ini, Protection::Writable, clTeal));
  ASSERT_TRUE(WriteWrapMode(ini, WrapMode::Length));
  ASSERT_TRUE(WriteWrapByte(ini, 120));
  ASSERT_TRUE(WriteStatusBarVisible(ini, StatusBarPosition::Top, false));
  const MainSettings s = ReadMainSettings(ini);
  EXPECT_EQ(s.font_read_only, (FontChoice{"IPAゴシック", 20, clNavy}));
  EXPECT_EQ(s.font, MainSettings{}.font);
  EXPECT_EQ(s.back_color, clTeal);
  EXPECT_EQ(s.wrap, WrapMode::Length);
  EXPECT_EQ(ini.ReadString("Editor", "WrapWindowWidth"), "0");
  EXPECT_EQ(ReadWrapByte(ini), 120);
  EXPECT_FALSE(s.status_bar_top);
  EXPECT_TRUE(s.status_bar_bottom);
}

TEST(ViewSettings, SchemesMarksAndWrapModes) {
  MainSettings s;
  EXPECT_EQ(SchemeFor(s, Protection::Writable), (EditorScheme{s.font, clBlack}));
  EXPECT_EQ(SchemeFor(s, Protection::ReadOnly), (EditorScheme{s.font_read_only, clWhite}));
  EXPECT_EQ(TabMarkColor(s), clBlue);
  s.tab_mark = false;
  EXPECT_EQ(TabMarkColor(s), s.back_color);  // drawn invisibly
  EXPECT_EQ(DbcsMarkColor(s), clBlue);
  EXPECT_EQ(WrapFor(WrapMode::None, 80, 100).word_wrap, false);
  EXPECT_EQ(WrapFor(WrapMode::Length, 72, 100), (WrapSetting{true, 72}));
  EXPECT_EQ(WrapFor(WrapMode::WindowWidth, 72, 100), (WrapSetting{true, 99}));
  EXPECT_EQ(WrapFor(WrapMode::WindowWidth, 72, 0), (WrapSetting{true, 1}));
}

TEST(ViewSettings, StartUpOptionsFollowTheMenuKeys) {
  MainSettings s;
  EXPECT_EQ(ViewOptionsFor(s), EditorViewOptions{});
  s.row_visible = false;
  s.crlf_mark = false;
  s.dbcs_mark = false;
  s.kigou_color = clLime;
  s.tab_width = 2;
  s.caret_move_free = true;
  const EditorViewOptions v = ViewOptionsFor(s);
  EXPECT_FALSE(v.left_bar);
  EXPECT_FALSE(v.ret_mark);
  EXPECT_EQ(v.mark_color, clLime);  // line-end and EOF marks keep their colour when hidden
  EXPECT_EQ(v.tab_mark_color, clLime);
  EXPECT_EQ(v.dbcs_mark_color, s.back_color);
  EXPECT_EQ(v.tab_space_count, 2);
  EXPECT_TRUE(v.free_caret);
}

TEST(SjisText, ExactFormsOnly) {
  EXPECT_EQ(Utf8ToSjisExact("/home/a/あ.txt"), "/home/a/\x82\xA0.txt");
  EXPECT_EQ(SjisToUtf8("/home/a/\x82\xA0.txt"), "/home/a/あ.txt");
  EXPECT_EQ(Utf8ToSjisExact(""), "");
  EXPECT_FALSE(Utf8ToSjisExact("/home/a/😀.txt"));
  EXPECT_FALSE(Utf8ToSjisExact("/home/a/é.txt"));  // no exact code page 932 form
  EXPECT_FALSE(Utf8ToSjisExact("a\nb"));
  EXPECT_FALSE(Utf8ToSjisExact("\xE3\x81"));  // cut-off UTF-8
}

TEST(MainSettings, AnOversizedSettingsFileIsReportedOnce) {
  TempDir dir;
  EXPECT_FALSE(SettingsFileProblem(PrivateProfile(dir.Write("ok.ini", "[Editor]\r\n"))));
  const std::string path = dir.Write("big.ini", std::string(PrivateProfile::kMaxBytes + 1, '\n'));
  const std::optional<std::string> problem = SettingsFileProblem(PrivateProfile(path));
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->find(path), std::string::npos) << "names the file";
  EXPECT_EQ(ReadMainSettings(PrivateProfile(path)), MainSettings{}) << "every key its default";
}

}  // namespace
}  // namespace tessary
