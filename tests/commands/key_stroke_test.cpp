// Shortcut texts to key values and back, with the main and the viewers' key-name tables.
#include "commands/key_stroke.h"

#include <gtest/gtest.h>

#include <set>

namespace tessary {
namespace {

uint16_t MainValue(std::string_view text) {
  return ShortCutFromText(text, KeyNameTable::Main).Value();
}

TEST(ShortCutFromText, ValuesOfTheDefaultTexts) {
  EXPECT_EQ(MainValue("Shift+Ctrl+0"), 0x6030);
  EXPECT_EQ(MainValue("F3"), 0x0072);
  EXPECT_EQ(MainValue("Shift+F3"), 0x2072);
  EXPECT_EQ(MainValue("Ctrl+Alt+C"), 0xC043);
  EXPECT_EQ(MainValue("Shift+Ctrl+Alt+Del"), 0xE02E);
  EXPECT_EQ(MainValue("Ctrl+Tab"), 0x4009);
  EXPECT_EQ(MainValue(""), 0);
}

TEST(ShortCutFromText, ModifierWordsCountAnywhereAndCaseSensitively) {
  // Lower-case words are no modifiers and "ctrla" is no key name: nothing at all.
  KeyStroke lower = ShortCutFromText("ctrl+a", KeyNameTable::Main);
  EXPECT_EQ(lower.Value(), 0);
  EXPECT_FALSE(lower.HasKey());
  // The order of the words does not matter, blanks around the key name are trimmed.
  EXPECT_EQ(MainValue("Ctrl+Shift+0"), 0x6030);
  EXPECT_EQ(MainValue(" Ctrl + N "), 0x404E);
  EXPECT_EQ(MainValue("f3"), 0);
}

TEST(ShortCutFromText, ModifiersWithAnUnknownKeyGiveBareBitsThatNoKeyMakes) {
  KeyStroke s = ShortCutFromText("Ctrl+Foo", KeyNameTable::Main);
  EXPECT_EQ(s.Value(), 0x4000);
  EXPECT_FALSE(s.HasKey());
  EXPECT_EQ(ShortCutText(s), "");
}

TEST(ShortCutFromText, PunctuationOfTheJapaneseLayout) {
  EXPECT_EQ(MainValue("Ctrl+\\"), 0x40DC);
  EXPECT_EQ(MainValue("Ctrl+@"), 0x40C0);
  EXPECT_EQ(MainValue("Ctrl+:"), 0x40BA);
  EXPECT_EQ(MainValue("Ctrl+;"), 0x40BB);
  EXPECT_EQ(MainValue("Ctrl+^"), 0x40DE);
  EXPECT_EQ(MainValue("Ctrl+-"), 0x40BD);
  EXPECT_EQ(MainValue("Space"), 0x20);
}

TEST(ShortCutFromText, ViewerTableLacksSpaceAndPunctuation) {
  EXPECT_EQ(ShortCutFromText("Ctrl+Space", KeyNameTable::Viewer).key, 0);
  EXPECT_EQ(ShortCutFromText("Ctrl+,", KeyNameTable::Viewer).key, 0);
  EXPECT_EQ(ShortCutFromText("Ctrl+\\", KeyNameTable::Viewer).key, 0);
  EXPECT_EQ(ShortCutFromText("Shift+F3", KeyNameTable::Viewer).Value(), 0x2072);
  EXPECT_EQ(ShortCutFromText("BkSp", KeyNameTable::Viewer).Value(), 0x08);
  int known = 0;
  for (std::string_view name : KeyNames())
    if (KeyCodeOf(name, KeyNameTable::Viewer) != 0) ++known;
  EXPECT_EQ(known, 74 - 12);
}

TEST(KeyNames, OfferedOrderAndEveryNameRoundTrips) {
  auto names = KeyNames();
  ASSERT_EQ(names.size(), 74u);
  EXPECT_EQ(names[0], "0");
  EXPECT_EQ(names[10], "A");
  EXPECT_EQ(names[36], "F1");
  EXPECT_EQ(names[48], "Space");
  EXPECT_EQ(names[62], "BkSp");
  EXPECT_EQ(names[63], ",");
  EXPECT_EQ(names[73], "\\");
  std::set<uint8_t> codes;
  for (std::string_view name : names) {
    const std::string text = "Shift+Ctrl+Alt+" + std::string(name);
    KeyStroke s = ShortCutFromText(text, KeyNameTable::Main);
    EXPECT_TRUE(s.HasKey()) << name;
    EXPECT_EQ(ShortCutText(s), text);
    EXPECT_EQ(KeyStroke::FromValue(s.Value()), s);
    codes.insert(s.key);
  }
  EXPECT_EQ(codes.size(), names.size()) << "two names share a key code";
}

}  // namespace
}  // namespace tessary
