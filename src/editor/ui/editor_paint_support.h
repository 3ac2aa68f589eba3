// Painting helpers of the editor widget: colours, the glyph cache and the decoration canvas.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QRawFont>
#include <vector>

#include "base/color.h"
#include "editor/editor_canvas.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {

// A raw font of one style and, per UTF-16 unit, its glyph and advance, looked up once.
class GlyphCache {
 public:
  struct Glyph {
    quint32 index = 0;  // 0: not in the font
    float advance = 0;
    bool known = false;
  };
  QFont font;
  QRawFont raw;
  std::vector<Glyph> glyphs;  // 65536 entries, filled as units are drawn
  std::vector<quint32> indexes;
  std::vector<QPointF> positions;

  explicit GlyphCache(const QFont& f) : font(f), raw(QRawFont::fromFont(f)), glyphs(65536) {}
  const Glyph& GlyphOf(char16_t u) {
    Glyph& g = glyphs[u];
    if (!g.known) {
      g.known = true;
      const QChar c(u);
      quint32 idx = 0;
      int n = 1;
      if (raw.isValid() && raw.glyphIndexesForChars(&c, 1, &idx, &n) && n == 1 && idx != 0) {
        g.index = idx;
        QPointF adv;
        if (raw.advancesForGlyphIndexes(&idx, &adv, 1)) g.advance = static_cast<float>(adv.x());
      }
    }
    return g;
  }
};

// The widget's painter as the drawing surface of the row-drawn event.
class PainterCanvas final : public EditorCanvas {
 public:
  explicit PainterCanvas(QPainter& p) : p_(p) {}
  void SetPen(TColor color, int width) override {
    QPen pen(ToQColor(color));
    pen.setWidth(width);
    pen.setCapStyle(Qt::FlatCap);
    p_.setPen(pen);
  }
  void Line(int x1, int y1, int x2, int y2) override { p_.drawLine(x1, y1, x2, y2); }
  void FrameRect(int l, int t, int r, int b) override {
    if (r - l < 1 || b - t < 1) return;
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(l, t, r - l - 1, b - t - 1);  // a 1-pixel pen draws one pixel beyond
  }

 private:
  QPainter& p_;
};

}  // namespace tessary
