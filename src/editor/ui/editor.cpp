// TEditor: the editing control on screen, a Qt widget over the headless EditorControl.
#include "editor/ui/editor.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "base/sjis.h"
#include "editor/leftbar_numbers.h"
#include "editor/ui/editor_paint_support.h"
#include "editor/ui/sjis_unicode.h"
#include "platform/ui/qt_clipboard.h"

namespace tessary {
namespace {

std::optional<EditorKey> KeyOf(int key) {
  switch (key) {
    case Qt::Key_PageUp:
      return EditorKey::PageUp;
    case Qt::Key_PageDown:
      return EditorKey::PageDown;
    case Qt::Key_End:
      return EditorKey::End;
    case Qt::Key_Home:
      return EditorKey::Home;
    case Qt::Key_Left:
      return EditorKey::Left;
    case Qt::Key_Up:
      return EditorKey::Up;
    case Qt::Key_Right:
      return EditorKey::Right;
    case Qt::Key_Down:
      return EditorKey::Down;
    case Qt::Key_Delete:
      return EditorKey::Delete;
    case Qt::Key_Backspace:
      return EditorKey::Backspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return EditorKey::Enter;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return EditorKey::Tab;
    case Qt::Key_A:
      return EditorKey::A;
    case Qt::Key_B:
      return EditorKey::B;
    case Qt::Key_C:
      return EditorKey::C;
    case Qt::Key_K:
      return EditorKey::K;
    case Qt::Key_V:
      return EditorKey::V;
    case Qt::Key_X:
      return EditorKey::X;
    case Qt::Key_Y:
      return EditorKey::Y;
    case Qt::Key_Z:
      return EditorKey::Z;
    default:
      break;
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9)
    return static_cast<EditorKey>(static_cast<int>(EditorKey::D0) + (key - Qt::Key_0));
  // Shift+digit arrives as the shifted symbol on many layouts; marks are Shift+Ctrl+digit.
  static constexpr int kShifted[10] = {Qt::Key_ParenRight,  Qt::Key_Exclam,    Qt::Key_At,
                                       Qt::Key_NumberSign,  Qt::Key_Dollar,    Qt::Key_Percent,
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
    case CursorShape::Arrow:
      return Qt::ArrowCursor;
    case CursorShape::IBeam:
      return Qt::IBeamCursor;
    case CursorShape::Drag:
      return Qt::DragMoveCursor;
    case CursorShape::MultiDrag:
      return Qt::DragCopyCursor;
    case CursorShape::LeftArrow:
      return Qt::ArrowCursor;
    case CursorShape::UpArrow:
      return Qt::UpArrowCursor;
  }
  return Qt::IBeamCursor;
}

int FloorDiv(int a, int b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

TEditor::TEditor(QWidget* parent, std::shared_ptr<TEditorScreenStrings> document)
    : QAbstractScrollArea(parent),
      control_(std::make_unique<EditorControl>(std::move(document))),
      fountain_(*control_) {
  clipboard_ = std::make_unique<QtClipboard>(
      ClipboardTextCodec{[](std::string_view s) { return SjisToUtf16(s); },
                         [](std::u16string_view u) {
                           // The clipboard's line ends become CR LF, the line end the editor's
                           // texts carry.
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
  control_->SetClipboard(nullptr);
}

QFont TEditor::DefaultFont(int pixelSize) {
  const QStringList families = QFontDatabase::families();
  static const char* const kPreferred[] = {
      "IPAGothic", "IPAゴシック",       "MS Gothic", "ＭＳ ゴシック", "Noto Sans Mono CJK JP",
      "VL Gothic", "Source Han Code JP"};
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
  QFont font =
      chosen.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(chosen);
  font.setPixelSize(pixelSize);
  font.setStyleHint(QFont::TypeWriter);
  font.setKerning(false);
  return font;
}

void TEditor::ConnectControl() {
  EditorControl& c = *control_;
  c.OnInvalidate = [this](int32_t first, int32_t last) {
    // Rows redrawn to the end may be more or fewer rows (a rewrap changes no text and raises
    // no OnChange), and the bar's digits follow the rows.
    if (last < 0) UpdateDigits();
    InvalidateRows(first, last);
  };
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

void TEditor::LayoutChanged() {
  RecomputeMetrics();
}

void TEditor::RecomputeMetrics() {
  leftbar_digits_ = LeftbarDigitsOf(layout_.Leftbar, Document(), control_->LeftbarLinesAhead());
  metrics_ = layout_.Metrics(font_metrics_, leftbar_digits_);
  control_->SetCharWidth(metrics_.char_width);
  UpdateVisibleSize();
  UpdateScrollBars();
  viewport()->update();
  updateMicroFocus();
}

void TEditor::UpdateDigits() {
  if (!layout_.Leftbar.Visible()) return;
  // A change of the digit count changes the bar's width and so the whole view.
  if (LeftbarDigitsOf(layout_.Leftbar, Document(), control_->LeftbarLinesAhead()) !=
      leftbar_digits_)
    RecomputeMetrics();
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
  const int widest =
      Document().WordWrap() ? Document().WrapOption().WrapByte() + 2 : kMaxDrawnColumns + 2;
  h->setRange(0, std::max(0, widest - cols));
  h->setPageStep(cols);
  h->setSingleStep(1);
  h->setValue(control_->TopCol());
  syncing_scroll_ = false;
}

int TEditor::Column0X() const {
  return metrics_.text_left - control_->TopCol() * metrics_.char_width;
}

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
  viewport()->update(
      QRect(0, RowTop(first), viewport()->width(), (last - first + 1) * metrics_.row_height));
}

QRect TEditor::CaretRect() const {
  const int x =
      metrics_.text_left + (control_->CaretCol() - control_->TopCol()) * metrics_.char_width;
  const int y = RowTop(control_->CaretRow());
  int w = 2;
  if (control_->GetSelectionState() == SelectionState::Hit &&
      control_->HitStyle() == TEditorHitStyle::hsCaret) {
    // A block as wide as the hit, to the end of the row when it spans rows.
    const int32_t row = control_->CaretRow();
    const int32_t pos = control_->PosOfCol(row, control_->CaretCol());
    const int64_t room = static_cast<int64_t>(control_->RowText(row).size()) - pos;
    const int32_t end_pos =
        static_cast<int32_t>(pos + std::min<int64_t>(control_->HitLength(), room));
    w = std::max(2,
                 (control_->ColOfPos(row, end_pos) - control_->CaretCol()) * metrics_.char_width);
  } else if (control_->Caret().Style == TEditorCaretStyle::csBrief) {
    const std::string_view t = control_->RowText(control_->CaretRow());
    const int32_t pos = control_->PosOfCol(control_->CaretRow(), control_->CaretCol());
    const bool dbcs =
        pos < static_cast<int32_t>(t.size()) && sjis::IsLeadByte(t[static_cast<size_t>(pos)]);
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
    const std::string bytes = Utf16ToSjis(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())));
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
      return static_cast<int>(
          SjisToUtf16(control_->RowText(control_->CaretRow())
                          .substr(0, static_cast<size_t>(control_->PosOfCol(control_->CaretRow(),
                                                                            control_->CaretCol()))))
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
