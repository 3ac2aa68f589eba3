// Colour texts, font sizes and window placements in the settings file.
#include "platform/settings_values.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace tessary {
namespace {

using testing::TempDir;

TEST(ColorText, NamesAndHexBothWays) {
  EXPECT_EQ(ColorToText(TColor{0x000000}), "clBlack");
  EXPECT_EQ(ColorToText(TColor{0x0000FF}), "clRed") << "red is the low byte";
  EXPECT_EQ(ColorToText(TColor{0xF0CAA6}), "clSkyBlue");
  EXPECT_EQ(ColorToText(TColor{0xA4A0A0}), "clMedGray");
  EXPECT_EQ(ColorToText(TColor{0x123456}), "$00123456");
  EXPECT_EQ(ColorToText(RgbColor(0xAB, 0, 0)), "$000000AB");
  EXPECT_EQ(TextToColor("clwhite"), TColor{0xFFFFFF});
  EXPECT_EQ(TextToColor("CLBLUE"), TColor{0xFF0000});
  EXPECT_EQ(TextToColor("$00C0DCC0"), TColor{0xC0DCC0});
  EXPECT_EQ(TextToColor("255"), TColor{0xFF});
  EXPECT_FALSE(TextToColor("clPink").has_value());
  EXPECT_FALSE(TextToColor("").has_value());
  for (uint32_t v : {0x000080u, 0xC0DCC0u, 0xF0FBFFu, 0x00ABCDu})
    EXPECT_EQ(TextToColor(ColorToText(TColor{v})), TColor{v});
}

TEST(ColorText, UnreadableValuesFallBack) {
  TempDir dir;
  PrivateProfile ini(dir.Write("t.ini",
                               "[EditorColor]\r\nFontColor=purple-ish\r\n"
                               "BackColor=clNavy\r\nFontSize=big\r\nFontSizeReadOnly=-3\r\n"
                               "Other=11\r\n"));
  EXPECT_EQ(ReadColor(ini, "EditorColor", "FontColor", TColor{0xFFFFFF}), TColor{0xFFFFFF});
  EXPECT_EQ(ReadColor(ini, "EditorColor", "BackColor", TColor{0}), TColor{0x800000});
  EXPECT_EQ(ReadColor(ini, "EditorColor", "Missing", TColor{7}), TColor{7});
  EXPECT_EQ(ReadFontSize(ini, "EditorColor", "FontSize", 14), 14);
  EXPECT_EQ(ReadFontSize(ini, "EditorColor", "FontSizeReadOnly", 14), 14);
  EXPECT_EQ(ReadFontSize(ini, "EditorColor", "Other", 14), 11);
}

TEST(Placement, OffScreenRule) {
  const Rect screen{0, 0, 1920, 1080};
  const Rect fallback{0, 0, 800, 240};
  auto place = [&](Rect r) { return PlaceOnScreen(r, screen, fallback); };
  auto same = [](Rect a, Rect b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
  };
  EXPECT_TRUE(same(place({100, -5, 800, 600}), {100, -5, 800, 600})) << "5 px above: accepted";
  EXPECT_TRUE(same(place({100, -10, 800, 600}), fallback)) << "10 px above: rejected";
  EXPECT_TRUE(same(place({-9, 0, 800, 600}), {-9, 0, 800, 600}));
  EXPECT_TRUE(same(place({-10, 0, 800, 600}), fallback));
  EXPECT_TRUE(same(place({1120, 0, 800, 600}), {1120, 0, 800, 600})) << "touching the right edge";
  EXPECT_TRUE(same(place({1121, 0, 800, 600}), fallback));
  EXPECT_TRUE(same(place({0, 481, 800, 600}), fallback)) << "past the bottom";
  // A second monitor to the left extends the virtual screen.
  EXPECT_TRUE(same(PlaceOnScreen({-1500, 0, 800, 600}, {-1920, 0, 3840, 1080}, fallback),
                   {-1500, 0, 800, 600}));
  // Values at the ends of int (a hand-edited file) are rejected, never overflowed.
  constexpr int kMax = 2147483647, kMin = -kMax - 1;
  EXPECT_TRUE(same(place({0, kMax, 800, 600}), fallback));
  EXPECT_TRUE(same(place({kMax, kMax, kMax, kMax}), fallback));
  EXPECT_TRUE(same(place({kMin, kMin, kMax, kMax}), fallback));
  EXPECT_TRUE(same(place({kMin, 0, 800, 600}), fallback));
}

TEST(Placement, StateIsExactAndBoundsOnlyWhenNormal) {
  TempDir dir;
  PrivateProfile ini(dir.File("t.ini"));
  ASSERT_TRUE(WritePlacement(ini, "FormMain", WindowState::Normal, {10, 20, 640, 480}).ok());
  ASSERT_TRUE(WritePlacement(ini, "FormMain", WindowState::Maximized, {0, 0, 1, 1}).ok());
  WindowPlacement p = ReadPlacement(ini, "FormMain", WindowPlacement{});
  EXPECT_EQ(p.state, WindowState::Maximized);
  EXPECT_EQ(p.bounds.left, 10) << "a maximised window leaves the normal bounds as they were";
  EXPECT_EQ(p.bounds.width, 640);
  ASSERT_TRUE(ini.WriteString("FormMain", "State", "max").ok());
  EXPECT_EQ(ReadPlacement(ini, "FormMain", {}).state, WindowState::Normal) << "case-sensitive";
  WindowPlacement none = ReadPlacement(PrivateProfile(dir.File("none.ini")), "FormMain", {});
  EXPECT_EQ(none.bounds.width, 800);
  EXPECT_EQ(none.bounds.height, 240);
}

TEST(Placement, AWindowCentredOnASmallerParentIsMovedOntoTheScreen) {
  const Rect screen{0, 0, 1280, 900};
  // A 1000 x 600 window centred on an 800 x 240 main window at the top-left corner.
  EXPECT_EQ(KeepOnScreen({-100, -180, 1000, 600}, screen), (Rect{0, 0, 1000, 600}));
  EXPECT_EQ(KeepOnScreen({500, 500, 1000, 600}, screen), (Rect{280, 300, 1000, 600}));
  EXPECT_EQ(KeepOnScreen({10, 20, 100, 100}, screen), (Rect{10, 20, 100, 100})) << "unmoved";
  // Larger than the screen: the top-left corner stays on it.
  EXPECT_EQ(KeepOnScreen({-50, -50, 2000, 1000}, screen), (Rect{0, 0, 2000, 1000}));
  // A second screen to the left.
  EXPECT_EQ(KeepOnScreen({-2500, 0, 400, 300}, {-1920, 0, 3200, 900}), (Rect{-1920, 0, 400, 300}));
}

}  // namespace
}  // namespace tessary
