// TStatusPanels: a status bar of seven sunken panels at the main window's fixed widths.
#pragma once

#include <QFont>
#include <QString>
#include <QWidget>
#include <array>

#include "app/status_texts.h"

class QSizeGrip;

namespace tessary {

enum class SizeGripShown { No, Yes };

// Panels are placed from the bar's left edge by StatusPanelSpans alone: the size grip of the
// bottom bar lies over the last panel's right end instead of pushing the panels aside, so the
// two bars of a window show their panels edge to edge. The font is the application's, made
// smaller where needed until every known panel text fits its panel; other texts are elided.
class TStatusPanels final : public QWidget {
 public:
  TStatusPanels(SizeGripShown grip, QWidget* parent);

  void SetText(int panel, const QString& text);
  QString Text(int panel) const { return texts_[static_cast<size_t>(panel)]; }
  PanelSpan Span(int panel) const { return StatusPanelSpans(width())[static_cast<size_t>(panel)]; }
  // Whether the text shows whole inside its panel's frame in the bar's font.
  [[nodiscard]] bool Fits(int panel, const QString& text) const;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void FitFont();

  std::array<QString, kStatusPanelCount> texts_;
  QSizeGrip* grip_ = nullptr;
};

}  // namespace tessary
