// A style that shows menu shortcuts as the key map writes them ("Shift+Ctrl+S", "PgDn").
#pragma once

#include <QProxyStyle>
#include <QString>

namespace tessary {

// The key map's text of a shortcut the toolkit wrote in its own words and order; the text as it
// came for a key the key map has no name for.
[[nodiscard]] QString KeyMapShortcutText(const QString& toolkit_text);

// Menus, the keyboard settings and the key map window then show one text for one key: menu
// items draw their shortcut in the key map's order and names instead of the toolkit's.
class KeyMapShortcutStyle final : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
};

}  // namespace tessary
