// Key map values as Qt key sequences, and the menu's actions taking shortcuts and giving captions.
#include "commands/ui/qt_key_stroke.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStyleOptionMenuItem>
#include <set>

#include "commands/ui/key_map_shortcut_style.h"
#include "support/qt_test_app.h"

namespace tessary {
namespace {

QApplication& App() {
  return testing::OffscreenApp();
}

QKeySequence Seq(std::string_view text) {
  return ToQKeySequence(ShortCutFromText(text, KeyNameTable::Main));
}

TEST(QtKeyStroke, TextsBecomeTheKeysTheyName) {
  EXPECT_EQ(Seq("Shift+Ctrl+0"), QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_0));
  EXPECT_EQ(Seq("F3"), QKeySequence(Qt::Key_F3));
  EXPECT_EQ(Seq("Ctrl+Alt+C"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));
  EXPECT_EQ(Seq("Ctrl+Tab"), QKeySequence(Qt::CTRL | Qt::Key_Tab));
  EXPECT_EQ(Seq("Ctrl+\\"), QKeySequence(Qt::CTRL | Qt::Key_Backslash));
  EXPECT_EQ(Seq("Ctrl+^"), QKeySequence(Qt::CTRL | Qt::Key_AsciiCircum));
  EXPECT_EQ(Seq("Ctrl+@"), QKeySequence(Qt::CTRL | Qt::Key_At));
  EXPECT_EQ(Seq("Alt+PgDn"), QKeySequence(Qt::ALT | Qt::Key_PageDown));
  EXPECT_TRUE(Seq("ctrl+a").isEmpty());
  EXPECT_TRUE(Seq("Ctrl+Foo").isEmpty()) << "bare modifiers are no shortcut";
  EXPECT_TRUE(Seq("").isEmpty());
}

TEST(QtKeyStroke, EveryKeyNameHasItsOwnQtKeyAndComesBack) {
  std::set<int> keys;
  for (std::string_view name : KeyNames()) {
    const KeyStroke s{KeyCodeOf(name, KeyNameTable::Main), true, false, true};
    const QKeySequence seq = ToQKeySequence(s);
    ASSERT_EQ(seq.count(), 1) << name;
    keys.insert(seq[0].key());
    EXPECT_EQ(KeyStrokeOf(seq[0]), s) << name;
  }
  EXPECT_EQ(keys.size(), KeyNames().size());
  EXPECT_EQ(KeyStrokeOf(QKeyCombination(Qt::Key_Enter))->key, 0x0D);
  EXPECT_EQ(KeyStrokeOf(QKeyCombination(Qt::ShiftModifier, Qt::Key_Backtab)),
            (KeyStroke{0x09, true, false, false}));
  EXPECT_FALSE(KeyStrokeOf(QKeyCombination(Qt::Key_F13)));
}

TEST(QtMenuShortcuts, ActionsTakeShortcutsAndGiveCaptions) {
  App();
  QAction open(QString::fromUtf8("開く(&O)... "));
  QAction favourite(QString::fromUtf8("お気入１ memo.txt 起動(&X)"));
  QtMenuShortcuts menu;
  menu.Register(1002, &open);
  menu.Register(1407, &favourite);
  KeyMap map = InitKeyMap(menu);
  EXPECT_EQ(FindKeyMapRow(map, "1002")->caption, "開く(&O)... ");
  EXPECT_EQ(FindKeyMapRow(map, "1407")->caption, "お気入１ memo.txt 起動(&X)");
  EXPECT_EQ(FindKeyMapRow(map, "1001")->caption, "新規作成(&N)");

  menu.SetShortCut(1002, ShortCutFromText("Ctrl+O", KeyNameTable::Main));
  EXPECT_EQ(open.shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
  menu.SetShortCut(1002, KeyStroke{});
  EXPECT_TRUE(open.shortcut().isEmpty());
  menu.SetShortCut(1001, ShortCutFromText("Ctrl+N", KeyNameTable::Main));  // no action: ignored
}

// The texts a base style was asked to draw for menu items.
class RecordingStyle final : public QProxyStyle {
 public:
  explicit RecordingStyle(QStringList& texts) : texts_(texts) {}
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        item && element == CE_MenuItem && !item->text.isEmpty())
      texts_ << item->text;
    QProxyStyle::drawControl(element, option, painter, widget);
  }

 private:
  QStringList& texts_;
};

// A menu shows the same text for a shortcut as the key map file and the keyboard windows.
TEST(QtKeyStroke, MenusShowShortcutsInTheKeyMapsWordsAndOrder) {
  App();
  auto native = [](QKeyCombination k) {
    return QKeySequence(k).toString(QKeySequence::NativeText);
  };
  EXPECT_EQ(KeyMapShortcutText(native(Qt::SHIFT | Qt::CTRL | Qt::Key_S)), "Shift+Ctrl+S");
  EXPECT_EQ(KeyMapShortcutText(native(Qt::SHIFT | Qt::CTRL | Qt::ALT | Qt::Key_Delete)),
            "Shift+Ctrl+Alt+Del");
  EXPECT_EQ(KeyMapShortcutText(native(Qt::ALT | Qt::Key_PageDown)), "Alt+PgDn");
  EXPECT_EQ(KeyMapShortcutText(native(Qt::SHIFT | Qt::Key_F3)), "Shift+F3");
  EXPECT_EQ(KeyMapShortcutText(native(Qt::CTRL | Qt::Key_Backspace)), "Ctrl+BkSp");

  QStringList drawn;
  KeyMapShortcutStyle style(new RecordingStyle(drawn));  // the proxy owns its base
  QMenu menu;
  menu.setStyle(&style);
  QAction* save = menu.addAction("上書き保存(&S)");
  save->setShortcut(ToQKeySequence(ShortCutFromText("Shift+Ctrl+S", KeyNameTable::Main)));
  menu.addAction("開く(&O)... ");
  menu.popup(QPoint(0, 0));
  menu.grab();
  menu.close();
  EXPECT_TRUE(drawn.contains("上書き保存(&S)\tShift+Ctrl+S")) << drawn.join('|').toStdString();
  EXPECT_TRUE(drawn.contains("開く(&O)... ")) << drawn.join('|').toStdString();
}

}  // namespace
}  // namespace tessary
