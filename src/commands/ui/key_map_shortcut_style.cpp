// Rewriting the shortcut part of a menu item's text before the base style draws it.
#include "commands/ui/key_map_shortcut_style.h"

#include <QKeySequence>
#include <QStyleOptionMenuItem>

#include "commands/key_stroke.h"
#include "commands/ui/qt_key_stroke.h"

namespace tessary {

QString KeyMapShortcutText(const QString& toolkit_text) {
  const QKeySequence seq = QKeySequence::fromString(toolkit_text, QKeySequence::NativeText);
  if (seq.count() != 1) return toolkit_text;
  const std::optional<KeyStroke> stroke = KeyStrokeOf(seq[0]);
  const std::string text = stroke ? ShortCutText(*stroke) : std::string();
  return text.empty() ? toolkit_text : QString::fromStdString(text);
}

void KeyMapShortcutStyle::drawControl(ControlElement element, const QStyleOption* option,
                                      QPainter* painter, const QWidget* widget) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  const qsizetype tab = item ? item->text.indexOf(u'\t') : -1;
  if (element != CE_MenuItem || tab < 0) {
    QProxyStyle::drawControl(element, option, painter, widget);
    return;
  }
  // The menu puts the shortcut after a TAB in the item's text.
  QStyleOptionMenuItem shown = *item;
  shown.text = item->text.left(tab + 1) + KeyMapShortcutText(item->text.mid(tab + 1));
  QProxyStyle::drawControl(element, &shown, painter, widget);
}

}  // namespace tessary
