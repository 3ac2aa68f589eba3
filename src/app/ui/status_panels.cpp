// Placing, fitting and drawing the panels of the main window's status bars.
#include "app/ui/status_panels.h"

#include <qdrawutil.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QSizeGrip>
#include <QStyle>
#include <QStyleOption>

namespace tessary {
namespace {

constexpr int kFramePadding = 4;  // frame line and blank on either side of a text
constexpr int kSmallestPixelSize = 9;

}  // namespace

TStatusPanels::TStatusPanels(SizeGripShown grip, QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  FitFont();
  if (grip == SizeGripShown::Yes) grip_ = new QSizeGrip(this);
}

void TStatusPanels::FitFont() {
  QFont f = font();
  if (f.pixelSize() <= 0) f.setPixelSize(QFontInfo(f).pixelSize());
  setFont(f);
  auto all_fit = [this] {
    for (const PanelText& t : WidestKnownPanelTexts())
      if (!Fits(t.panel, QString::fromStdString(t.text))) return false;
    return true;
  };
  while (!all_fit() && f.pixelSize() > kSmallestPixelSize) {
    f.setPixelSize(f.pixelSize() - 1);
    setFont(f);
  }
}

bool TStatusPanels::Fits(int panel, const QString& text) const {
  const int room = StatusPanelSpans(10000)[static_cast<size_t>(panel)].width - 2 * kFramePadding;
  return fontMetrics().horizontalAdvance(text) <= room;
}

QSize TStatusPanels::sizeHint() const {
  return QSize(800, fontMetrics().height() + 6);
}

void TStatusPanels::SetText(int panel, const QString& text) {
  QString& t = texts_[static_cast<size_t>(panel)];
  if (t == text) return;
  t = text;
  const PanelSpan s = Span(panel);
  update(s.left, 0, s.width, height());
}

void TStatusPanels::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (!grip_) return;
  const QSize g = grip_->sizeHint();
  grip_->setGeometry(width() - g.width(), height() - g.height(), g.width(), g.height());
}

void TStatusPanels::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const auto spans = StatusPanelSpans(width());
  const int bottom_gap = 1;
  for (size_t i = 0; i < spans.size(); ++i) {
    const QRect r(spans[i].left, 1, spans[i].width, height() - 1 - bottom_gap);
    if (r.width() <= 0) continue;
    qDrawShadePanel(&p, r, palette(), true, 1);
    const QRect text_rect = r.adjusted(kFramePadding, 0, -kFramePadding, 0);
    const QString shown =
        fontMetrics().elidedText(texts_[i], Qt::ElideRight, std::max(0, text_rect.width()));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(text_rect, Qt::AlignVCenter | Qt::AlignLeft, shown);
  }
}

}  // namespace tessary
