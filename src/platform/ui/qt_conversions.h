// Conversions between the plain values the core uses and Qt's: text, colours, rectangles.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <string>
#include <string_view>

#include "base/color.h"
#include "platform/window_placement.h"

namespace tessary {

// UTF-8 text as Qt shows it. Shift-JIS text goes through the code page tables instead.
[[nodiscard]] inline QString Q(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
[[nodiscard]] inline std::string FromQ(const QString& text) {
  return text.toStdString();
}

// TColor holds red in its low byte (0x00BBGGRR); QColor takes red first.
[[nodiscard]] inline QColor ToQColor(TColor c) {
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}
[[nodiscard]] inline TColor FromQColor(const QColor& c) {
  return RgbColor(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                  static_cast<uint8_t>(c.blue()));
}

[[nodiscard]] inline Rect FromQRect(const QRect& r) {
  return Rect{r.left(), r.top(), r.width(), r.height()};
}
[[nodiscard]] inline QRect ToQRect(const Rect& r) {
  return QRect(r.left, r.top, r.width, r.height);
}

}  // namespace tessary
