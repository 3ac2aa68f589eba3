// TEditor: the editing control on screen, a Qt widget over the headless EditorControl.
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QRawFont>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "base/color.h"
#include "editor/editor_canvas.h"
#include "editor/editor_control.h"
#include "editor/editor_fountain.h"
#include "editor/editor_parser.h"
#include "editor/editor_row_painter.h"
#include "editor/fountain_binding.h"
#include "editor/view_layout.h"

class QMenu;
class QPainter;

namespace tessary {

class GlyphCache;
class QtClipboard;

// The widget holds no editing rules: keys, characters, the input method and the mouse become
// operations of the control, and painting shows the control's rows, caret and selection. Every
// display column is drawn in its own cell of the same width (a double-byte character in two),
// so text lines up whatever glyph widths the font has, and only the visible rows are converted
// from Shift-JIS for drawing.
class TEditor : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TEditor(QWidget* parent = nullptr,
                   std::shared_ptr<TEditorScreenStrings> document = nullptr);
  ~TEditor() override;

  EditorControl& Control() { return *control_; }
  const EditorControl& Control() const { return *control_; }
  TEditorScreenStrings& Document() { return control_->Document(); }
  // The built-in colouring scheme (colours, commenter, quotation, ...).
  TEditorFountain& View() { return fountain_.View(); }
  // The scheme in use (the built-in one unless another is set) and its wiring to the control.
  FountainBinding& Binding() { return fountain_; }
  TEditorCaret& Caret() { return control_->Caret(); }

  // The published sub-objects; each change recomputes the metrics and repaints.
  TEditorMargin& Margin() { return layout_.Margin; }
  TEditorImagebar& Imagebar() { return layout_.Imagebar; }
  TEditorLeftbar& Leftbar() { return layout_.Leftbar; }
  TEditorRuler& Ruler() { return layout_.Ruler; }
  TEditorMarks& Marks() { return layout_.Marks; }
  const ViewLayout& Layout() const { return layout_; }

  // The control's colours: the background and the font colour (never clNone).
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  TColor FontColor() const { return font_color_; }
  void SetFontColor(TColor c);
  void SetEditorFont(const QFont& font);
  const QFont& EditorFont() const { return font_; }
  // A fixed-pitch Japanese font of the given pixel size: the first installed of the usual
  // Japanese fixed-pitch families, else any monospace CJK font, else the system's fixed font.
  static QFont DefaultFont(int pixelSize = 16);

  TEditorHitStyle HitStyle() const { return control_->HitStyle(); }

  // Cell metrics and the page size they give.
  const CellMetrics& Metrics() const { return metrics_; }
  const FontMetrics& MeasuredFont() const { return font_metrics_; }
  int RowsPerPage() const;
  int ColumnsPerPage() const;
  int LeftbarDigitCount() const { return leftbar_digits_; }
  // Pixel x of column 0 (the horizontal scroll included) and the top of a screen row.
  int Column0X() const;
  int RowTop(int32_t row) const;
  // The control's view of a widget point: row, column and area.
  MousePoint PointToPosition(QPoint p) const;

  // After each drawn row, for decorations such as the tab and full-width blank marks.
  std::function<void(TEditor& sender, EditorCanvas& canvas, const TDrawLineArgs& args)> OnDrawLine;
  // A double click in the text; the control does not act on it by itself.
  std::function<void(TEditor& sender)> OnDblClick;

  // Builds the control's own pop-up menu (used when the application sets none) with its
  // enabled and checked states; triggering an item runs its action on the control.
  std::unique_ptr<QMenu> CreatePopupMenu();
  // The application's own pop-up menu (not owned); nullptr shows the control's.
  void SetPopupMenu(QMenu* menu) { popup_menu_ = menu; }

  // Answers the input method: the caret rectangle places the candidate window.
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

  // The preedit text of a composition in progress (empty when none).
  const QString& Preedit() const { return preedit_; }

  // The Qt clipboard the control uses; converters are wired to the code page 932 tables.
  QtClipboard& SystemClipboard() { return *clipboard_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  bool focusNextPrevChild(bool next) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void ConnectControl();
  void LayoutChanged();
  void MeasureFont();
  void RecomputeMetrics();
  void UpdateDigits();
  void UpdateScrollBars();
  void UpdateVisibleSize();
  void CaretMoved();
  void InvalidateRows(int32_t first, int32_t last);
  void UpdateCursorShape(const MousePoint& p, KeyModifiers mods);
  void AutoScrollTick();
  void BlinkTick();
  QRect CaretRect() const;
  QRect RowRect(int32_t row) const;
  RowSelection SelectionOfRow(int32_t row) const;
  TColor Resolve(TColor c, TColor fallback) const { return c == clNone ? fallback : c; }

  // Painting parts.
  void PaintRows(QPainter& p, const QRect& area);
  void RowStateFor(int32_t row, bool have_state, TRowAttributeData& state);
  void RaiseDrawLine(QPainter& p, const TDrawLineArgs& args);
  void PaintRun(QPainter& p, std::string_view row, const PaintRun& run, int x, int y);
  void PaintTail(QPainter& p, const RowPaint& rp, int32_t row, int y, bool after_last);
  void PaintImagebar(QPainter& p, const QRect& area);
  void PaintLeftbar(QPainter& p, const QRect& area);
  void PaintRuler(QPainter& p);
  void PaintCaret(QPainter& p);
  void PaintPreedit(QPainter& p);
  void PaintUnderline(QPainter& p);
  void DrawGlyphs(QPainter& p, std::string_view bytes, int x, int baseline, TFontStyles style);
  void DrawGlyphInCells(QPainter& p, GlyphCache& g, char16_t u, const QRect& cells);

  std::unique_ptr<EditorControl> control_;
  std::unique_ptr<QtClipboard> clipboard_;
  FountainBinding fountain_;  // after control_: it must not outlive the control
  ViewLayout layout_;
  QFont font_;
  FontMetrics font_metrics_;
  int ascent_ = 12;
  CellMetrics metrics_;
  int leftbar_digits_ = 4;
  TColor color_ = clWhite;
  TColor font_color_ = clBlack;

  // Glyph lookup: one raw font per style set, a glyph index per UTF-16 unit filled lazily.
  std::unique_ptr<GlyphCache> glyphs_[16];
  GlyphCache& GlyphsFor(TFontStyles style);

  EditorRowPainter row_painter_;
  RowPaint row_paint_;
  TRowAttributeData carried_;  // the state after the row drawn last
  std::u16string units_;

  QString preedit_;
  int preedit_cursor_ = 0;
  QTimer blink_;
  bool caret_on_ = true;
  QTimer auto_scroll_;
  QPoint last_mouse_;
  Qt::KeyboardModifiers last_mods_;
  bool mouse_down_ = false;
  bool syncing_scroll_ = false;
  int32_t painted_caret_row_ = -1;
  QRect painted_caret_;
  QMenu* popup_menu_ = nullptr;
  QPainter* painter_ = nullptr;  // set while painting, for the row-drawn event
};

}  // namespace tessary
