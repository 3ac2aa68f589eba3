// TEditor: the editing control on screen, a Qt widget over the headless EditorControl.
#include "editor/ui/editor.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPaintEvent>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "base/sjis.h"
#include "codec/cp932.h"
#include "editor/editor_row_states.h"
#include "editor/fountain_token_starts.h"
#include "editor/ui/sjis_unicode.h"
#include "platform/ui/qt_clipboard.h"

namespace tessary {
namespace {

QColor ToQColor(TColor c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

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

std::optional<EditorKey> KeyOf(int key) {
  switch (key) {
    case Qt::Key_PageUp: return EditorKey::PageUp;
    case Qt::Key_PageDown: return EditorKey::PageDown;
    case Qt::Key_End: return EditorKey::End;
    case Qt::Key_Home: return EditorKey::Home;
    case Qt::Key_Left: return EditorKey::Left;
    case Qt::Key_Up: return EditorKey::Up;
    case Qt::Key_Right: return EditorKey::Right;
    case Qt::Key_Down: return EditorKey::Down;
    case Qt::Key_Delete: return EditorKey::Delete;
    case Qt::Key_Backspace: return EditorKey::Backspace;
    case Qt::Key_Return:
    case Qt::Key_Enter: return EditorKey::Enter;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return EditorKey::Tab;
    case Qt::Key_A: return EditorKey::A;
    case Qt::Key_B: return EditorKey::B;
    case Qt::Key_C: return EditorKey::C;
    case Qt::Key_K: return EditorKey::K;
    case Qt::Key_V: return EditorKey::V;
    case Qt::Key_X: return EditorKey::X;
    case Qt::Key_Y: return EditorKey::Y;
    case Qt::Key_Z: return EditorKey::Z;
    default: break;
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9)
    return static_cast<EditorKey>(static_cast<int>(EditorKey::D0) + (key - Qt::Key_0));
  // Shift+digit arrives as the shifted symbol on many layouts; marks are Shift+Ctrl+digit.
  static constexpr int kShifted[10] = {Qt::Key_ParenRight, Qt::Key_Exclam,  Qt::Key_At,
                                       Qt::Key_NumberSign, Qt::Key_Dollar,  Qt::Key_Percent,
                                       Qt::Key_AsciiCircum, Qt::Key_Ampersand, Qt::Key_Asterisk,
                                       Qt::Key_ParenLeft};
  for (int d = 0; d < 10; ++d)
    if (key == kShifted[d]) return static_cast<EditorKey>(static_cast<int>(EditorKey::D0) + d);
  return std::nullopt;
}

KeyModifiers ModsOf(Qt::KeyboardModifiers m) {
  KeyModifiers k = kNoModifier;
  if (m & Qt::ShiftModifier) k |= kShift;
  if (m & Qt::ControlModifier) k |= kCtrl;
  if (m & Qt::AltModifier) k |= kAlt;
  return k;
}

Qt::CursorShape QtCursor(CursorShape c) {
  switch (c) {
    case CursorShape::Arrow: return Qt::ArrowCursor;
    case CursorShape::IBeam: return Qt::IBeamCursor;
    case CursorShape::Drag: return Qt::DragMoveCursor;
    case CursorShape::MultiDrag: return Qt::DragCopyCursor;
    case CursorShape::LeftArrow: return Qt::ArrowCursor;
    case CursorShape::UpArrow: return Qt::UpArrowCursor;
  }
  return Qt::IBeamCursor;
}

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

// A raw font of one style and, per UTF-16 unit, its glyph and advance, looked up once.
struct TEditor::GlyphFont {
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

  explicit GlyphFont(const QFont& f) : font(f), raw(QRawFont::fromFont(f)), glyphs(65536) {}
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

TEditor::TEditor(QWidget* parent, std::shared_ptr<TEditorScreenStrings> document)
    : QAbstractScrollArea(parent),
      control_(std::make_unique<EditorControl>(std::move(document))) {
  clipboard_ = std::make_unique<QtClipboard>(ClipboardTextCodec{
      [](std::string_view s) { return SjisToUtf16(s); },
      [](std::u16string_view u) {
        // The clipboard's line ends become CR LF, the line end the editor's texts carry.
        std::string s = Utf16ToSjis(u);
        std::string out;
        out.reserve(s.size());
        for (size_t i = 0; i < s.size(); ++i) {
          if (s[i] == '\r') {
            out += "\r\n";
            if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
          } else if (s[i] == '\n') {
            out += "\r\n";
          } else {
            out.push_back(s[i]);
          }
        }
        return out;
      }});
  control_->SetClipboard(clipboard_.get());
  tokenizer_ = std::make_shared<TFountainRowStateTokenizer>(fountain_);
  Document().SetTokenizer(tokenizer_);
  token_starts_ = std::make_shared<TFountainTokenStarts>(fountain_);
  control_->SetTokenStarts(token_starts_);
  fountain_.AddListener(this);

  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setMouseTracking(true);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  for (ViewOptionGroup* g : std::initializer_list<ViewOptionGroup*>{
           &layout_.Margin, &layout_.Imagebar, &layout_.Leftbar, &layout_.Ruler,
           &layout_.Marks.EofMark, &layout_.Marks.RetMark, &layout_.Marks.WrapMark,
           &layout_.Marks.HideMark, &layout_.Marks.Underline})
    g->OnChange = [this] { LayoutChanged(); };
  ConnectControl();

  blink_.setInterval(std::max(100, QApplication::cursorFlashTime() / 2));
  connect(&blink_, &QTimer::timeout, this, [this] { BlinkTick(); });
  auto_scroll_.setInterval(50);
  connect(&auto_scroll_, &QTimer::timeout, this, [this] { AutoScrollTick(); });
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
    if (!syncing_scroll_) control_->SetTopRow(v);
  });
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
    if (!syncing_scroll_) control_->SetTopCol(v);
  });
  SetEditorFont(DefaultFont());
}

TEditor::~TEditor() {
  fountain_.RemoveListener(this);
  // The document may outlive this widget (another view shares it): it must not keep a
  // tokenizer that reads this widget's scheme.
  if (&Document().Tokenizer() == tokenizer_.get())
    Document().SetTokenizer(std::make_shared<PassThroughRowStateTokenizer>());
  control_->SetClipboard(nullptr);
}

QFont TEditor::DefaultFont(int pixelSize) {
  const QStringList families = QFontDatabase::families();
  static const char* const kPreferred[] = {"IPAGothic", "IPAゴシック", "MS Gothic", "ＭＳ ゴシック",
                                           "Noto Sans Mono CJK JP", "VL Gothic",
                                           "Source Han Code JP"};
  QString chosen;
  for (const char* f : kPreferred) {
    if (families.contains(QString::fromUtf8(f))) {
      chosen = QString::fromUtf8(f);
      break;
    }
  }
  if (chosen.isEmpty()) {
    for (const QString& f : families) {
      if (QFontDatabase::isFixedPitch(f) && f.contains("CJK", Qt::CaseInsensitive)) {
        chosen = f;
        break;
      }
    }
  }
  QFont font = chosen.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(chosen);
  font.setPixelSize(pixelSize);
  font.setStyleHint(QFont::TypeWriter);
  font.setKerning(false);
  return font;
}

void TEditor::FountainChanged(const TFountain&) {
  Document().InitRowStates();
  viewport()->update();
}

void TEditor::ConnectControl() {
  EditorControl& c = *control_;
  c.OnInvalidate = [this](int32_t first, int32_t last) { InvalidateRows(first, last); };
  c.OnCaretMoved = [this] { CaretMoved(); };
  c.OnSelectionChange = [this](bool) { viewport()->update(); };
  c.OnSelectionModeChange = [this] { viewport()->update(); };
  c.OnChange = [this] {
    UpdateDigits();
    UpdateScrollBars();
  };
  c.OnTopRowChange = [this] {
    UpdateScrollBars();
    viewport()->update();
  };
  c.OnTopColChange = [this] {
    UpdateScrollBars();
    viewport()->update();
  };
}

// ---- metrics ----

void TEditor::SetColor(TColor c) {
  color_ = c == clNone ? clWhite : c;
  viewport()->update();
}

void TEditor::SetFontColor(TColor c) {
  font_color_ = c == clNone ? clBlack : c;
  viewport()->update();
}

void TEditor::SetEditorFont(const QFont& font) {
  font_ = font;
  for (auto& g : glyphs_) g.reset();
  MeasureFont();
  RecomputeMetrics();
}

void TEditor::MeasureFont() {
  const QFontMetrics fm(font_);
  font_metrics_.height = fm.height();
  font_metrics_.external_leading = std::max(0, fm.leading());
  // A fixed-pitch font's half-width column; a CJK font's own average width is often the
  // width of a full-width character, which would double every cell.
  font_metrics_.average_char_width = std::max(1, fm.horizontalAdvance(QLatin1Char('0')));
  ascent_ = fm.ascent();
}

void TEditor::LayoutChanged() { RecomputeMetrics(); }

void TEditor::RecomputeMetrics() {
  const TEditorScreenStrings& d = Document();
  const int32_t n = d.Count();
  const bool ends_with_line_end = n > 0 && d.GetRowAttribute(n - 1) == RowEnd::RowEndsLine;
  int64_t last = 0;
  if (n > 0)
    last = layout_.Leftbar.ShowNumberMode() == TEditorShowNumberMode::nmRow ? n - 1
                                                                             : d.RowToLine(n - 1);
  leftbar_digits_ = LeftbarDigits(layout_.Leftbar, last, ends_with_line_end);
  metrics_ = layout_.Metrics(font_metrics_, leftbar_digits_);
  control_->SetCharWidth(metrics_.char_width);
  UpdateVisibleSize();
  UpdateScrollBars();
  viewport()->update();
  updateMicroFocus();
}

void TEditor::UpdateDigits() {
  const int before = leftbar_digits_;
  const TEditorScreenStrings& d = Document();
  const int32_t n = d.Count();
  if (!layout_.Leftbar.Visible()) return;
  const bool ends = n > 0 && d.GetRowAttribute(n - 1) == RowEnd::RowEndsLine;
  int64_t last = 0;
  if (n > 0)
    last = layout_.Leftbar.ShowNumberMode() == TEditorShowNumberMode::nmRow ? n - 1
                                                                             : d.RowToLine(n - 1);
  // A change of the digit count changes the bar's width and so the whole view.
  if (LeftbarDigits(layout_.Leftbar, last, ends) != before) RecomputeMetrics();
}

int TEditor::RowsPerPage() const {
  return ViewLayout::RowsPerPage(metrics_, {viewport()->width(), viewport()->height(), 0, 0});
}

int TEditor::ColumnsPerPage() const {
  return ViewLayout::ColumnsPerPage(metrics_, {viewport()->width(), viewport()->height(), 0, 0});
}

void TEditor::UpdateVisibleSize() {
  control_->SetVisibleSize(RowsPerPage(), ColumnsPerPage());
  const QScreen* s = screen();
  const int h = s ? s->geometry().height() : 1024;
  control_->SetRowsPerDisplayHeight(std::max(1, h / metrics_.row_height));
}

void TEditor::UpdateScrollBars() {
  syncing_scroll_ = true;
  QScrollBar* v = verticalScrollBar();
  const int rows = RowsPerPage();
  v->setRange(0, std::max(0, control_->MaxCaretRow()));
  v->setPageStep(rows);
  v->setSingleStep(1);
  v->setValue(control_->TopRow());
  QScrollBar* h = horizontalScrollBar();
  const int cols = ColumnsPerPage();
  // Rows are drawn up to the cut-off column; the range does not follow the longest row, which
  // would need every row measured after each edit.
  const int widest = Document().WordWrap() ? Document().WrapOption().WrapByte() + 2
                                           : kMaxDrawnColumns + 2;
  h->setRange(0, std::max(0, widest - cols));
  h->setPageStep(cols);
  h->setSingleStep(1);
  h->setValue(control_->TopCol());
  syncing_scroll_ = false;
}

int TEditor::Column0X() const { return metrics_.text_left - control_->TopCol() * metrics_.char_width; }

int TEditor::RowTop(int32_t row) const {
  return metrics_.text_top + (row - control_->TopRow()) * metrics_.row_height;
}

QRect TEditor::RowRect(int32_t row) const {
  return QRect(0, RowTop(row), viewport()->width(), metrics_.row_height);
}

MousePoint TEditor::PointToPosition(QPoint p) const {
  MousePoint m;
  m.x = p.x();
  m.y = p.y();
  const int w = metrics_.char_width;
  // A point above the text top maps to the row above, so that selecting scrolls up.
  m.row = control_->TopRow() + FloorDiv(p.y() - metrics_.text_top, metrics_.row_height);
  m.col = std::max(0, control_->TopCol() + FloorDiv(p.x() - metrics_.text_left + w / 2, w));
  if (!viewport()->rect().contains(p))
    m.area = MouseArea::Outside;
  else if (p.x() < metrics_.text_left)
    m.area = MouseArea::LeftMargin;
  else if (p.y() < metrics_.text_top)
    m.area = MouseArea::TopMargin;
  else
    m.area = MouseArea::Text;
  return m;
}

// ---- control notifications ----

void TEditor::InvalidateRows(int32_t first, int32_t last) {
  const int32_t top = control_->TopRow();
  const int32_t bottom = top + RowsPerPage() + 1;
  if (last < 0) last = bottom;
  first = std::max(first, top);
  last = std::min(last, bottom);
  if (first > last) return;
  // Numbers and marks of the bars belong to the rows too.
  viewport()->update(QRect(0, RowTop(first), viewport()->width(),
                           (last - first + 1) * metrics_.row_height));
}

QRect TEditor::CaretRect() const {
  const int x = metrics_.text_left + (control_->CaretCol() - control_->TopCol()) * metrics_.char_width;
  const int y = RowTop(control_->CaretRow());
  int w = 2;
  if (control_->GetSelectionState() == SelectionState::Hit &&
      control_->HitStyle() == TEditorHitStyle::hsCaret) {
    // A block as wide as the hit, to the end of the row when it spans rows.
    const int32_t row = control_->CaretRow();
    const int32_t pos = control_->PosOfCol(row, control_->CaretCol());
    const int64_t room = static_cast<int64_t>(control_->RowText(row).size()) - pos;
    const int32_t end_pos = static_cast<int32_t>(pos + std::min<int64_t>(control_->HitLength(), room));
    w = std::max(2, (control_->ColOfPos(row, end_pos) - control_->CaretCol()) * metrics_.char_width);
  } else if (control_->Caret().Style == TEditorCaretStyle::csBrief) {
    const std::string_view t = control_->RowText(control_->CaretRow());
    const int32_t pos = control_->PosOfCol(control_->CaretRow(), control_->CaretCol());
    const bool dbcs = pos < static_cast<int32_t>(t.size()) && sjis::IsLeadByte(t[static_cast<size_t>(pos)]);
    w = metrics_.char_width * (dbcs ? 2 : 1);
  }
  return QRect(x, y, w, font_metrics_.height);
}

void TEditor::CaretMoved() {
  // The old caret, the caret row's underline and the ruler's caret mark follow the caret.
  if (!painted_caret_.isNull()) viewport()->update(painted_caret_.adjusted(-1, -1, 1, 1));
  viewport()->update(CaretRect().adjusted(-1, -1, 1, 1));
  if (layout_.Marks.Underline.Visible()) {
    if (painted_caret_row_ >= 0) InvalidateRows(painted_caret_row_, painted_caret_row_);
    InvalidateRows(control_->CaretRow(), control_->CaretRow());
  }
  if (layout_.Ruler.Visible())
    viewport()->update(QRect(0, 0, viewport()->width(), layout_.Ruler.Height() + 1));
  caret_on_ = true;
  if (hasFocus()) blink_.start();
  syncing_scroll_ = true;
  verticalScrollBar()->setValue(control_->TopRow());
  horizontalScrollBar()->setValue(control_->TopCol());
  syncing_scroll_ = false;
  updateMicroFocus();
}

void TEditor::BlinkTick() {
  caret_on_ = !caret_on_;
  viewport()->update(CaretRect().adjusted(-1, -1, 1, 1));
}

// ---- painting ----

TEditor::GlyphFont& TEditor::GlyphsFor(TFontStyles style) {
  auto& g = glyphs_[style.Bits() & 15];
  if (!g) {
    QFont f = font_;
    f.setBold(style.Has(TFontStyle::fsBold));
    f.setItalic(style.Has(TFontStyle::fsItalic));
    g = std::make_unique<GlyphFont>(f);
  }
  return *g;
}

RowSelection TEditor::SelectionOfRow(int32_t row) const {
  RowSelection s;
  const EditorControl& c = *control_;
  if (!c.Selected()) return s;
  if (c.GetSelectionState() == SelectionState::Hit && c.HitStyle() == TEditorHitStyle::hsCaret)
    return s;  // shown by the block caret instead
  if (c.GetSelectionMode() == SelectionMode::Box) {
    if (row < c.BoxFirstRow() || row > c.BoxLastRow()) return s;
    s.kind = RowSelection::Kind::Columns;
    s.from = c.BoxFirstCol();
    s.to = c.BoxLastCol();
    return s;
  }
  const TextPos a = c.StreamStart(), b = c.StreamEnd();
  if (row < a.row || row > b.row) return s;
  s.kind = RowSelection::Kind::Bytes;
  s.from = row == a.row ? a.pos : 0;
  s.to = row == b.row ? b.pos : INT32_MAX;
  s.line_end = row < b.row;
  return s;
}

void TEditor::paintEvent(QPaintEvent* e) {
  QPainter p(viewport());
  painter_ = &p;
  const QRect area = e->rect();
  p.fillRect(area, ToQColor(color_));
  PaintRows(p, area);
  PaintImagebar(p, area);
  PaintLeftbar(p, area);
  PaintRuler(p);
  if (preedit_.isEmpty()) PaintCaret(p); else PaintPreedit(p);
  painter_ = nullptr;
}

void TEditor::PaintRows(QPainter& p, const QRect& area) {
  EditorControl& c = *control_;
  TEditorScreenStrings& doc = Document();
  const int32_t count = doc.Count();
  const int32_t top = c.TopRow();
  const int32_t rows = RowsPerPage() + 1;  // the partly visible row at the bottom too

  const QRect text_area(metrics_.text_left, metrics_.text_top,
                        viewport()->width() - metrics_.text_left,
                        viewport()->height() - metrics_.text_top);
  p.save();
  p.setClipRect(text_area.intersected(area));
  const bool hit_draw = c.GetSelectionState() == SelectionState::Hit;
  const TEditorColor& sel = hit_draw ? fountain_.Colors().Hit() : fountain_.Colors().Select();
  const TColor sel_color = Resolve(sel.Color(), font_color_);
  const TColor sel_bk = Resolve(sel.BkColor(), color_);
  const ColumnRule rule{doc.TabSpaceCount(), doc.WordWrap() ? doc.WrapOption().WrapByte() : 0};
  const TailMarksShown shown{layout_.Marks.EofMark.Visible(), layout_.Marks.RetMark.Visible(),
                             layout_.Marks.WrapMark.Visible(), layout_.Marks.HideMark.Visible()};
  const int x0 = Column0X();
  // The first row's state may have to be computed; the rows below carry it forward unless
  // they hold a valid one of their own.
  TRowAttributeData state;
  bool have_state = false;
  for (int32_t r = top; r <= top + rows; ++r) {
    const int y = RowTop(r);
    if (y > area.bottom()) break;
    if (y + metrics_.row_height <= area.top()) continue;
    if (r >= count) {
      // The row after the last: "[EOF]" at its start when the text is empty or ends with a
      // line end.
      if (r == count && (count == 0 || doc.GetRowAttribute(count - 1) == RowEnd::RowEndsLine)) {
        RowPaint empty;
        empty.tail = shown.eof ? RowTail::Eof : RowTail::None;
        PaintTail(p, empty, r, y, true);
      }
      break;
    }
    const std::string_view text = doc.GetView(r);
    const std::string_view next = r + 1 < count ? doc.GetView(r + 1) : std::string_view();
    if (!row_bits::IsInvalidState(doc.GetWord1(r))) {
      state = doc.GetRowState(r);
    } else if (!have_state) {
      state = RowStartState(doc, r);
    } else {
      const RowEnd own = doc.GetRowAttribute(r);
      state.RowAttribute = own;
    }
    have_state = true;
    const RowSelection rs = SelectionOfRow(r);
    row_painter_.Paint(fountain_, text, next, state, rule, rs, sel_color, sel_bk, shown,
                       row_paint_);
    if (r + 1 < count && row_bits::IsInvalidState(doc.GetWord1(r + 1))) {
      const TRowAttributeData stored = state;
      state = doc.NextStateAfter(r, stored);
      state.PrevRowAttribute = stored.RowAttribute;
    }
    const int right = viewport()->width();
    for (const tessary::PaintRun& run : row_paint_.runs) {
      const int x = x0 + run.col * metrics_.char_width;
      if (x >= right) break;
      if (x + run.cols * metrics_.char_width > metrics_.text_left) PaintRun(p, text, run, x, y);
    }
    if (rs.kind == RowSelection::Kind::Bytes && rs.line_end) {
      // The selected line end shows as one selected cell after the text.
      p.fillRect(QRect(x0 + row_paint_.width * metrics_.char_width, y, metrics_.char_width,
                       metrics_.row_height - layout_.Margin.Line()),
                 ToQColor(sel_bk));
    }
    PaintTail(p, row_paint_, r, y, false);
    if (OnDrawLine) {
      PainterCanvas canvas(p);
      TDrawLineArgs a;
      a.LineStr = text;
      a.X = x0;
      a.Y = y;
      a.Index = r;
      a.ARect = {text_area.left(), y, text_area.right() + 1, y + metrics_.row_height};
      a.Selected = rs.kind != RowSelection::Kind::None;
      p.save();
      OnDrawLine(*this, canvas, a);
      p.restore();
    }
  }
  PaintUnderline(p);
  p.restore();
}

void TEditor::PaintRun(QPainter& p, std::string_view row, const tessary::PaintRun& run, int x, int y) {
  const int w = metrics_.char_width;
  const TColor bk = Resolve(run.bkColor, color_);
  if (bk != color_ || run.selected)
    p.fillRect(QRect(x, y, run.cols * w, metrics_.row_height - layout_.Margin.Line()), ToQColor(bk));
  if (run.blank) return;
  p.setPen(ToQColor(Resolve(run.color, font_color_)));
  DrawGlyphs(p, row.substr(static_cast<size_t>(run.start), static_cast<size_t>(run.length)), x,
             y + font_metrics_.external_leading + ascent_, run.style);
  if (run.style.Has(TFontStyle::fsUnderline)) {
    const int uy = y + font_metrics_.external_leading + ascent_ + 1;
    p.drawLine(x, uy, x + run.cols * w - 1, uy);
  }
  if (run.style.Has(TFontStyle::fsStrikeOut)) {
    const int sy = y + font_metrics_.external_leading + ascent_ / 2 + 1;
    p.drawLine(x, sy, x + run.cols * w - 1, sy);
  }
}

// Each character at its own cell: a glyph narrower than its cells (one, or two for a
// double-byte character) is centred in them, so text lines up in any font.
void TEditor::DrawGlyphs(QPainter& p, std::string_view bytes, int x, int baseline, TFontStyles style) {
  GlyphFont& g = GlyphsFor(style);
  const int w = metrics_.char_width;
  g.indexes.clear();
  g.positions.clear();
  units_.clear();
  int cx = x;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<uint8_t>(bytes[i]);
    char16_t u;
    int cells = 1;
    if (sjis::IsLeadByte(b) && i + 1 < bytes.size()) {
      const auto t = static_cast<uint8_t>(bytes[i + 1]);
      u = cp932::IsTrailByte(t) ? static_cast<char16_t>(cp932::DecodePair(b, t))
                                : static_cast<char16_t>(cp932::kDefaultUnit);
      cells = 2;
      ++i;
    } else if (sjis::IsLeadByte(b)) {
      u = static_cast<char16_t>(cp932::kDefaultUnit);
    } else {
      u = static_cast<char16_t>(cp932::DecodeSingle(b));
    }
    if (u > 0x20 && u != 0x3000) {
      const GlyphFont::Glyph& glyph = g.GlyphOf(u);
      if (glyph.index != 0) {
        const qreal offset = std::max<qreal>(0, (cells * w - glyph.advance) / 2);
        g.indexes.push_back(glyph.index);
        g.positions.emplace_back(cx + offset, baseline);
      } else {
        // Not in the font: the platform's font fallback draws it, still in its own cells.
        p.setFont(g.font);
        p.drawText(QPointF(cx, baseline), QString(QChar(u)));
      }
    }
    cx += cells * w;
  }
  if (g.indexes.empty()) return;
  QGlyphRun run;
  run.setRawFont(g.raw);
  // The run borrows the buffers, which live until the next call.
  run.setRawData(g.indexes.data(), g.positions.data(), static_cast<int>(g.indexes.size()));
  p.drawGlyphRun(QPointF(0, 0), run);
}

void TEditor::PaintTail(QPainter& p, const RowPaint& rp, int32_t row, int y, bool after_last) {
  if (rp.tail == RowTail::None) return;
  const int w = metrics_.char_width;
  const int x = Column0X() + (after_last ? 0 : rp.width) * w;
  if (x < metrics_.text_left) return;  // marks are drawn only when they start in the text area
  const int h = font_metrics_.height;
  const TEditorMark* mark = nullptr;
  switch (rp.tail) {
    case RowTail::Eof: mark = &layout_.Marks.EofMark; break;
    case RowTail::Ret: mark = &layout_.Marks.RetMark; break;
    case RowTail::Wrap: mark = &layout_.Marks.WrapMark; break;
    case RowTail::Hide: mark = &layout_.Marks.HideMark; break;
    case RowTail::None: return;
  }
  TColor color = Resolve(mark->Color(), font_color_);
  if (rp.tail_selected && rp.tail != RowTail::Eof) {
    const bool hit = control_->GetSelectionState() == SelectionState::Hit;
    color = Resolve((hit ? fountain_.Colors().Hit() : fountain_.Colors().Select()).Color(), font_color_);
  }
  QPen pen(ToQColor(color));
  pen.setWidth(1);
  p.setPen(pen);
  auto seg = [&](const Segment& s) { p.drawLine(x + s.x1, y + s.y1, x + s.x2, y + s.y2); };
  switch (rp.tail) {
    case RowTail::Eof:
      DrawGlyphs(p, "[EOF]", x, y + font_metrics_.external_leading + ascent_, {});
      break;
    case RowTail::Ret: {
      const RetMarkShape s = RetMarkGeometry(w, h);
      seg(s.stem);
      seg(s.left_head);
      seg(s.right_head);
      break;
    }
    case RowTail::Wrap: {
      const ChevronShape s = WrapMarkGeometry(w, h);
      seg(s.upper);
      seg(s.lower);
      break;
    }
    case RowTail::Hide: {
      const ChevronShape s = HideMarkGeometry(w, h);
      seg(s.upper);
      seg(s.lower);
      break;
    }
    case RowTail::None: break;
  }
  (void)row;
}

void TEditor::PaintUnderline(QPainter& p) {
  painted_caret_row_ = -1;
  if (!layout_.Marks.Underline.Visible() || control_->Selected()) return;
  const int32_t r = control_->CaretRow();
  if (r < control_->TopRow() || r > control_->TopRow() + RowsPerPage()) return;
  const int y = RowTop(r) + metrics_.row_height - 1;
  p.setPen(ToQColor(Resolve(layout_.Marks.Underline.Color(), font_color_)));
  p.drawLine(metrics_.text_left, y, viewport()->width(), y);
  painted_caret_row_ = r;
}

void TEditor::PaintImagebar(QPainter& p, const QRect& area) {
  const TEditorImagebar& bar = layout_.Imagebar;
  if (!bar.Visible()) return;
  const int width = bar.Width();
  if (area.left() >= width) return;
  const TEditorLeftbar& lb = layout_.Leftbar;
  const TColor bk = lb.Visible() && lb.BkColor() != clNone ? lb.BkColor() : color_;
  p.fillRect(QRect(0, metrics_.text_top, width, viewport()->height()), ToQColor(bk));
  const int32_t count = control_->RowCount();
  const int32_t top = control_->TopRow();
  QFont small = font_;
  small.setPixelSize(std::max(6, std::min(font_metrics_.height - 4, bar.DigitWidth() + 3)));
  p.setFont(small);
  for (int32_t r = top; r < count && r <= top + RowsPerPage(); ++r) {
    const MarkSet m = control_->RowMarks(r);
    if (m == 0) continue;
    const int y = RowTop(r) + 2;
    const int dh = std::max(4, font_metrics_.height - 4);
    for (int n = 0; n < 10; ++n) {
      if (!(m & (1u << n))) continue;
      // The lowest digit mark, as a small framed digit.
      const QRect box(bar.LeftMargin(), y, bar.DigitWidth(), dh);
      p.fillRect(box, QColor(0, 0, 128));
      p.setPen(Qt::white);
      p.drawText(box, Qt::AlignCenter, QString::number(n));
      break;
    }
    for (int n = 10; n < 16; ++n) {
      if (!(m & (1u << n))) continue;
      const int mw = std::max(4, bar.MarkWidth());
      const QRect box(bar.LeftMargin() + bar.DigitWidth(), y + 1, mw, std::max(4, dh - 2));
      static const QColor kImage[6] = {Qt::red, Qt::darkGreen, Qt::blue, Qt::darkYellow,
                                       Qt::magenta, Qt::darkCyan};
      p.setBrush(kImage[n - 10]);
      p.setPen(Qt::NoPen);
      p.drawEllipse(box);
      p.setBrush(Qt::NoBrush);
      break;
    }
  }
}

void TEditor::PaintLeftbar(QPainter& p, const QRect& area) {
  const TEditorLeftbar& bar = layout_.Leftbar;
  if (!bar.Visible()) return;
  const int left = layout_.Imagebar.Width();
  const int width = layout_.LeftbarWidth(leftbar_digits_, metrics_.char_width);
  if (area.left() >= left + width) return;
  const TColor bk = Resolve(bar.BkColor(), color_);
  p.fillRect(QRect(left, metrics_.text_top, width, viewport()->height()), ToQColor(bk));
  if (bar.Edge()) {
    p.setPen(ToQColor(clGray));
    p.drawLine(left + width - 2, metrics_.text_top, left + width - 2, viewport()->height());
    p.setPen(ToQColor(clWhite));
    p.drawLine(left + width - 1, metrics_.text_top, left + width - 1, viewport()->height());
  }
  if (!bar.ShowNumber()) return;
  const TEditorScreenStrings& doc = Document();
  const int32_t count = doc.Count();
  const bool ends_with_line_end = count > 0 && doc.GetRowAttribute(count - 1) == RowEnd::RowEndsLine;
  const int32_t top = control_->TopRow();
  const int32_t bottom = top + RowsPerPage() + 1;
  const bool by_line = bar.ShowNumberMode() == TEditorShowNumberMode::nmLine;
  int64_t line = by_line && top <= count ? doc.CountEndsLineBefore(std::min(top, count)) : 0;
  const int x = left + bar.LeftMargin();
  p.setPen(ToQColor(Resolve(bar.Color(), font_color_)));
  for (int32_t r = top; r <= bottom && r <= count; ++r) {
    const bool after_last = r == count;
    if (after_last && !ends_with_line_end) break;
    // nmLine: a row starts a line when the row above does not wrap into it.
    const bool starts_line = r == 0 || doc.GetRowAttribute(r - 1) != RowEnd::RowWrapped;
    const int y = RowTop(r);
    if (!by_line || starts_line) {
      const std::string text = LeftbarNumberText(bar, by_line ? line : r, leftbar_digits_);
      DrawGlyphs(p, text, x, y + font_metrics_.external_leading + ascent_, {});
    }
    if (by_line && !after_last && doc.GetRowAttribute(r) != RowEnd::RowWrapped) ++line;
  }
}

void TEditor::PaintRuler(QPainter& p) {
  const TEditorRuler& ruler = layout_.Ruler;
  if (!ruler.Visible()) return;
  const int h = ruler.Height();
  const int w = metrics_.char_width;
  const int right = viewport()->width();
  p.fillRect(QRect(0, 0, right, h), ToQColor(Resolve(ruler.BkColor(), color_)));
  if (ruler.Edge()) {
    p.setPen(ToQColor(clGray));
    p.drawLine(0, h - 1, right, h - 1);
  }
  p.save();
  p.setClipRect(QRect(metrics_.text_left, 0, right - metrics_.text_left, h));
  const int range = ruler.GaugeRange();
  const int first = control_->TopCol();
  const int last = first + ColumnsPerPage() + 2;
  const int base = ruler.Edge() ? h - 2 : h - 1;
  p.setPen(ToQColor(Resolve(ruler.Color(), font_color_)));
  QFont small = font_;
  small.setPixelSize(std::max(6, h - 3));
  p.setFont(small);
  for (int c = first; c <= last; ++c) {
    const int x = metrics_.text_left + (c - first) * w;
    int len = 2;
    if (c % range == 0) len = h - 2;
    else if (c % (range / 2) == 0) len = 4;
    p.drawLine(x, base, x, base - len + 1);
    if (c % range == 0 && c > 0)
      p.drawText(QPoint(x + 2, base - 2), QString::number(c / range % 10));
  }
  // The caret's column.
  const int cx = metrics_.text_left + (control_->CaretCol() - first) * w;
  p.fillRect(QRect(cx, 1, std::max(2, w), base - 1), ToQColor(Resolve(ruler.MarkColor(), font_color_)));
  p.restore();
}

void TEditor::PaintCaret(QPainter& p) {
  const QRect r = CaretRect();
  painted_caret_ = r;  // where it is (or blinks): repainted when the caret moves
  if (!hasFocus() || !caret_on_) return;
  if (r.right() < metrics_.text_left || r.top() < metrics_.text_top - metrics_.row_height) return;
  p.save();
  p.setClipRect(QRect(metrics_.text_left, metrics_.text_top, viewport()->width(), viewport()->height()));
  p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  const bool hit_block = control_->GetSelectionState() == SelectionState::Hit &&
                         control_->HitStyle() == TEditorHitStyle::hsCaret;
  if (!hit_block && control_->Caret().Style == TEditorCaretStyle::csBrief)
    p.fillRect(QRect(r.left(), r.bottom() - 1, r.width(), 2), Qt::white);
  else
    p.fillRect(r, Qt::white);
  p.restore();
}

void TEditor::PaintPreedit(QPainter& p) {
  // The composition is drawn over the text at the caret, underlined, until it is committed.
  const QRect caret = CaretRect();
  const std::string sjis = Utf16ToSjis(
      std::u16string_view(reinterpret_cast<const char16_t*>(preedit_.utf16()), static_cast<size_t>(preedit_.size())));
  int cols = 0;
  for (size_t i = 0; i < sjis.size(); ++i) {
    if (sjis::IsLeadByte(sjis[i]) && i + 1 < sjis.size()) ++i, cols += 2; else ++cols;
  }
  const QRect box(caret.left(), caret.top(), cols * metrics_.char_width, metrics_.row_height);
  p.fillRect(box, ToQColor(color_));
  p.setPen(ToQColor(font_color_));
  DrawGlyphs(p, sjis, box.left(), caret.top() + font_metrics_.external_leading + ascent_, {});
  p.drawLine(box.left(), box.top() + font_metrics_.height, box.right(), box.top() + font_metrics_.height);
}

// ---- events ----

void TEditor::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  UpdateVisibleSize();
  UpdateScrollBars();
}

bool TEditor::focusNextPrevChild(bool next) {
  // Tab belongs to the text while the control wants tabs.
  if (control_->WantTabs()) return false;
  return QAbstractScrollArea::focusNextPrevChild(next);
}

void TEditor::keyPressEvent(QKeyEvent* e) {
  const KeyModifiers mods = ModsOf(e->modifiers());
  const KeyRepeat repeat = e->isAutoRepeat() ? KeyRepeat::Repeat : KeyRepeat::First;
  std::optional<EditorKey> key = KeyOf(e->key());
  // Shift+digit gives the layout's symbol as the key; the platform's virtual key (the digit on
  // Windows) still tells which digit it was.
  const quint32 native = e->nativeVirtualKey();
  if ((mods & kCtrl) && native >= '0' && native <= '9')
    key = static_cast<EditorKey>(static_cast<int>(EditorKey::D0) + static_cast<int>(native - '0'));
  if (key) {
    if (ActionForKey(*key, mods)) {
      control_->KeyDown(*key, mods, repeat);
      e->accept();
      return;
    }
  }
  const QString text = e->text();
  if (!text.isEmpty() && !(mods & kCtrl) && !(mods & kAlt) && text.at(0).unicode() >= 0x20 &&
      text.at(0).unicode() != 0x7F) {
    const std::string bytes = Utf16ToSjis(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())));
    for (const char b : bytes) control_->KeyPress(static_cast<uint8_t>(b));
    e->accept();
    return;
  }
  QAbstractScrollArea::keyPressEvent(e);
}

void TEditor::inputMethodEvent(QInputMethodEvent* e) {
  const QString commit = e->commitString();
  preedit_ = e->preeditString();
  preedit_cursor_ = 0;
  for (const QInputMethodEvent::Attribute& a : e->attributes())
    if (a.type == QInputMethodEvent::Cursor) preedit_cursor_ = a.start;
  if (!commit.isEmpty()) {
    // Qt sends no character messages for a committed string, so it goes in as one insert.
    control_->InsertText(Utf16ToSjis(std::u16string_view(
        reinterpret_cast<const char16_t*>(commit.utf16()), static_cast<size_t>(commit.size()))));
  }
  viewport()->update();
  updateMicroFocus();
  e->accept();
}

QVariant TEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
  switch (query) {
    case Qt::ImEnabled:
      return !control_->ReadOnly();
    case Qt::ImCursorRectangle:
    case Qt::ImAnchorRectangle: {
      // The candidate window opens at the caret (below the composition).
      QRect r = CaretRect();
      r.setHeight(metrics_.row_height);
      return QRect(viewport()->mapTo(this, r.topLeft()), r.size());
    }
    case Qt::ImFont:
      return font_;
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
      return static_cast<int>(SjisToUtf16(control_->RowText(control_->CaretRow())
                                               .substr(0, static_cast<size_t>(control_->PosOfCol(
                                                              control_->CaretRow(), control_->CaretCol()))))
                                  .size());
    case Qt::ImSurroundingText: {
      const std::u16string u = SjisToUtf16(control_->RowText(control_->CaretRow()));
      return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
    }
    case Qt::ImHints:
      return static_cast<int>(Qt::ImhMultiLine);
    default:
      return QAbstractScrollArea::inputMethodQuery(query);
  }
}

void TEditor::UpdateCursorShape(const MousePoint& m, KeyModifiers mods) {
  std::optional<CursorShape> c = control_->DragCursor(mods);
  if (!c) c = control_->CursorAt(m);
  if (c) viewport()->setCursor(QtCursor(*c));
}

void TEditor::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(e);
    return;
  }
  setFocus(Qt::MouseFocusReason);
  mouse_down_ = true;
  last_mouse_ = e->position().toPoint();
  last_mods_ = e->modifiers();
  control_->MouseDown(PointToPosition(last_mouse_), ModsOf(e->modifiers()));
}

void TEditor::mouseMoveEvent(QMouseEvent* e) {
  last_mouse_ = e->position().toPoint();
  last_mods_ = e->modifiers();
  const MousePoint m = PointToPosition(last_mouse_);
  if (mouse_down_ && (e->buttons() & Qt::LeftButton)) {
    control_->MouseMove(m, ModsOf(e->modifiers()));
    // Above or below the text, selection keeps scrolling while the button is held.
    const bool outside = last_mouse_.y() < metrics_.text_top ||
                         last_mouse_.y() >= metrics_.text_top + RowsPerPage() * metrics_.row_height;
    if (outside && !auto_scroll_.isActive()) auto_scroll_.start();
    if (!outside) auto_scroll_.stop();
  }
  UpdateCursorShape(m, ModsOf(e->modifiers()));
}

void TEditor::AutoScrollTick() {
  if (!mouse_down_) {
    auto_scroll_.stop();
    return;
  }
  control_->MouseMove(PointToPosition(last_mouse_), ModsOf(last_mods_));
}

void TEditor::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !mouse_down_) {
    QAbstractScrollArea::mouseReleaseEvent(e);
    return;
  }
  mouse_down_ = false;
  auto_scroll_.stop();
  const MousePoint m = PointToPosition(e->position().toPoint());
  control_->MouseUp(m, ModsOf(e->modifiers()));
  UpdateCursorShape(m, ModsOf(e->modifiers()));
}

void TEditor::mouseDoubleClickEvent(QMouseEvent* e) {
  // Qt sends this instead of the second press: it still places the caret.
  mousePressEvent(e);
  if (e->button() == Qt::LeftButton && OnDblClick) OnDblClick(*this);
}

void TEditor::wheelEvent(QWheelEvent* e) {
  const int steps = e->angleDelta().y() / 120;
  if (steps != 0) control_->SetTopRow(control_->TopRow() - steps * 3);
  e->accept();
}

std::unique_ptr<QMenu> TEditor::CreatePopupMenu() {
  auto menu = std::make_unique<QMenu>(this);
  std::function<void(QMenu*, const std::vector<EditorMenuItem>&)> fill =
      [&](QMenu* m, const std::vector<EditorMenuItem>& items) {
        for (const EditorMenuItem& item : items) {
          if (item.IsSeparator()) {
            m->addSeparator();
            continue;
          }
          const QString caption = QString::fromStdString(item.caption);
          if (!item.children.empty()) {
            QMenu* sub = m->addMenu(caption);
            sub->setEnabled(item.enabled);
            fill(sub, item.children);
            continue;
          }
          QAction* a = m->addAction(caption);
          if (!item.shortcut.empty())
            a->setShortcut(QKeySequence(QString::fromStdString(item.shortcut)));
          a->setShortcutVisibleInContextMenu(true);
          a->setEnabled(item.enabled);
          a->setCheckable(item.checked);
          a->setChecked(item.checked);
          if (item.has_action) {
            const EditorAction action = item.action;
            connect(a, &QAction::triggered, this, [this, action] { control_->Execute(action); });
          }
        }
      };
  fill(menu.get(), control_->PopupMenu());
  return menu;
}

void TEditor::contextMenuEvent(QContextMenuEvent* e) {
  if (popup_menu_) {
    popup_menu_->exec(e->globalPos());
    return;
  }
  std::unique_ptr<QMenu> menu = CreatePopupMenu();
  menu->exec(e->globalPos());
}

void TEditor::focusInEvent(QFocusEvent* e) {
  control_->SetFocused(true);
  caret_on_ = true;
  blink_.start();
  viewport()->update();
  QAbstractScrollArea::focusInEvent(e);
}

void TEditor::focusOutEvent(QFocusEvent* e) {
  control_->SetFocused(false);
  blink_.stop();
  viewport()->update();
  QAbstractScrollArea::focusOutEvent(e);
}

void TEditor::scrollContentsBy(int, int) {
  // Scrolling is the control's TopRow and TopCol; the scroll bars only report to it.
}

}  // namespace tessary
