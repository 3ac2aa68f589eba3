// The viewer close keys: which presses close a protected document and which never do.
#include "app/close_keys.h"

#include <gtest/gtest.h>

namespace tessary {
namespace {

CloseKeyPress Press(CloseKey key, CloseKeyModifiers m = CloseKeyModifiers::None,
                    KeyRepeat r = KeyRepeat::First) {
  return CloseKeyPress{key, m, r};
}

TEST(CloseKeysTest, EachCheckedKeyClosesOnlyAProtectedDocument) {
  const MainSettings all;  // every close item checked by default
  for (CloseKey k : {CloseKey::Escape, CloseKey::Enter, CloseKey::Q, CloseKey::X}) {
    EXPECT_TRUE(KeyClosesViewer(Press(k), Protection::ReadOnly, all));
    // A writable document types the letter or takes the key itself.
    EXPECT_FALSE(KeyClosesViewer(Press(k), Protection::Writable, all));
  }
  EXPECT_FALSE(KeyClosesViewer(Press(CloseKey::Other), Protection::ReadOnly, all));
}

TEST(CloseKeysTest, AnUncheckedItemLeavesItsKeyAloneAndTheOthersWorking) {
  MainSettings s;
  s.close_q_key = false;
  s.close_enter_key = false;
  EXPECT_FALSE(KeyClosesViewer(Press(CloseKey::Q), Protection::ReadOnly, s));
  EXPECT_FALSE(KeyClosesViewer(Press(CloseKey::Enter), Protection::ReadOnly, s));
  EXPECT_TRUE(KeyClosesViewer(Press(CloseKey::X), Protection::ReadOnly, s));
  EXPECT_TRUE(KeyClosesViewer(Press(CloseKey::Escape), Protection::ReadOnly, s));
  s.close_esc_key = false;
  s.close_x_key = false;
  EXPECT_FALSE(KeyClosesViewer(Press(CloseKey::X), Protection::ReadOnly, s));
  EXPECT_FALSE(KeyClosesViewer(Press(CloseKey::Escape), Protection::ReadOnly, s));
}

TEST(CloseKeysTest, ModifiersAndRepeatsNeverClose) {
  const MainSettings all;
  // Ctrl+Q, Shift+X, Alt+Enter: the modifier makes them other commands.
  for (CloseKey k : {CloseKey::Escape, CloseKey::Enter, CloseKey::Q, CloseKey::X}) {
    EXPECT_FALSE(KeyClosesViewer(Press(k, CloseKeyModifiers::Held), Protection::ReadOnly, all));
    // The Enter still held from the program that opened the file arrives as repeats.
    EXPECT_FALSE(KeyClosesViewer(Press(k, CloseKeyModifiers::None, KeyRepeat::Repeat),
                                 Protection::ReadOnly, all));
  }
}

}  // namespace
}  // namespace tessary
