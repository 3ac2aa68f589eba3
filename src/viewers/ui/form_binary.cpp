// The binary viewer window: its panes, boxes, buttons and menus onto BinaryViewerModel.
#include "viewers/ui/form_binary.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <climits>
#include <memory>

#include "commands/key_map.h"
#include "commands/ui/viewer_shortcuts.h"
#include "editor/ui/editor.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {

namespace {

constexpr QSize kMinimumSize(780, 320);
constexpr Rect kFallback{0, 0, 780, 320};
// A scan shows its progress once it has taken this long.
constexpr int kProgressAfterMs = 300;
constexpr int64_t kServiceEveryMs = 100;

QPushButton* MakeButton(const char* caption) {
  auto* b = new QPushButton(Q(caption));
  b->setAutoDefault(false);  // Enter in the boxes is discarded, never a button press
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

QLabel* Buddy(const char* caption, QWidget* box) {
  auto* label = new QLabel(Q(caption));
  label->setBuddy(box);
  return label;
}

DumpPaneLook MakePaneLook(const BinaryLook& look) {
  DumpPaneLook pane;
  // A stored name that is not installed gives way to an installed fixed-pitch Japanese font,
  // as in the editor panes.
  const QString family = Q(look.font_name);
  pane.font = QFontDatabase::hasFamily(family) ? QFont(family) : TEditor::DefaultFont();
  pane.font.setPointSize(look.font_size > 0 ? look.font_size : 14);
  pane.font.setKerning(false);
  const QFontMetrics fm(pane.font);
  pane.cell_width = std::max(1, fm.horizontalAdvance(QLatin1Char('0')));
  pane.row_height = std::max(1, fm.height());
  pane.ascent = fm.ascent();
  pane.colours = look;
  return pane;
}

// Draws one row's text, each column in its own cell; `colour_of(column)` picks the pen.
template <class ColourOf>
void DrawCells(QPainter& p, const DumpPaneLook& look, std::string_view text, int x0, int y,
               ColourOf colour_of) {
  for (size_t c = 0; c < text.size(); ++c) {
    if (text[c] == ' ') continue;
    p.setPen(ToQColor(colour_of(static_cast<int>(c))));
    p.drawText(x0 + static_cast<int>(c) * look.cell_width, y + look.ascent,
               QString(QChar(text[c])));
  }
}

}  // namespace

// ---- the dump pane ----

DumpPane::DumpPane(BinaryViewerModel& model, const DumpPaneLook& look, QWidget* parent)
    : QAbstractScrollArea(parent), model_(model) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  SetLook(look);
}

void DumpPane::SetLook(const DumpPaneLook& look) {
  look_ = look;
  viewport()->setAutoFillBackground(false);
  model_.SetPageRows(RowsPerPage());
  Sync();
}

int DumpPane::RowsPerPage() const {
  return std::max(1, viewport()->height() / look_.row_height);
}

uint64_t DumpPane::LinesPerStep() const {
  return model_.LineCount() / INT_MAX + 1;
}

void DumpPane::UpdateScrollBar() {
  const uint64_t lines = model_.LineCount();
  const uint64_t step = LinesPerStep();
  QScrollBar* bar = verticalScrollBar();
  bar->setRange(0, lines == 0 ? 0 : static_cast<int>((lines - 1) / step));
  bar->setPageStep(
      std::max(1, RowsPerPage() / static_cast<int>(std::min<uint64_t>(step, INT_MAX))));
  bar->setSingleStep(1);
  bar->setValue(static_cast<int>(model_.TopLine() / step));
}

void DumpPane::Sync() {
  syncing_ = true;
  UpdateScrollBar();
  syncing_ = false;
  viewport()->update();
}

void DumpPane::scrollContentsBy(int, int) {
  if (!syncing_)
    model_.SetTopLine(static_cast<uint64_t>(verticalScrollBar()->value()) * LinesPerStep());
  viewport()->update();
}

void DumpPane::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  model_.SetPageRows(RowsPerPage());
  Sync();
}

DumpCaret DumpPane::PointToCaret(QPoint p) const {
  const int row = std::max(0, p.y()) / look_.row_height;
  const int col = (std::max(0, p.x()) + look_.cell_width / 2) / look_.cell_width;
  return DumpCaret{model_.TopLine() + static_cast<uint64_t>(row), col};
}

void DumpPane::PaintRow(QPainter& p, uint64_t line, int y) {
  const std::string_view text = model_.LineText(line, text_);
  const std::string_view bytes = model_.LineBytes(line);
  const DumpLayout& layout = model_.Layout();
  const DumpCaret caret = model_.Caret();
  const BinaryLook& c = look_.colours;
  // The hit's two characters stand selected, as the editor shows a selection.
  if (line == caret.line && model_.SelLength() > 0) {
    const QRect sel(caret.column * look_.cell_width, y, 2 * look_.cell_width, look_.row_height);
    p.fillRect(sel, palette().color(QPalette::Highlight));
  }
  DrawCells(p, look_, text, 0, y, [&](int col) -> TColor {
    if (line == caret.line && model_.SelLength() > 0 && col >= caret.column &&
        col < caret.column + 2)
      return FromQColor(palette().color(QPalette::HighlightedText));
    const int j = (col - layout.ByteColumn(0)) / 3;
    const bool code = col >= layout.ByteColumn(0) && col < layout.CharColumn() &&
                      (col - layout.ByteColumn(0)) % 3 < 2 && j < static_cast<int>(bytes.size());
    if (code && IsMarkedByte(c, static_cast<uint8_t>(bytes[static_cast<size_t>(j)])))
      return c.kigou_color;
    return c.font_color;
  });
}

void DumpPane::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.fillRect(viewport()->rect(), ToQColor(look_.colours.back_color));
  p.setFont(look_.font);
  const uint64_t top = model_.TopLine();
  const int rows = RowsPerPage() + 1;
  for (int r = 0; r < rows && top + static_cast<uint64_t>(r) < model_.LineCount(); ++r)
    PaintRow(p, top + static_cast<uint64_t>(r), r * look_.row_height);
  if (model_.ReadFailurePending())
    QTimer::singleShot(0, this, [this] { model_.ReportReadFailure(); });
  if (!model_.HasDump()) return;
  const DumpCaret caret = model_.Caret();
  if (caret.line < top || caret.line > top + static_cast<uint64_t>(rows)) return;
  const int y = static_cast<int>(caret.line - top) * look_.row_height;
  const int x = caret.column * look_.cell_width;
  if (hasFocus()) p.fillRect(QRect(x, y, 2, look_.row_height), ToQColor(look_.colours.font_color));
  // The caret line's underline, left out while a selection stands, as in the editor panes.
  if (look_.colours.underline_visible && model_.SelLength() == 0) {
    p.setPen(ToQColor(look_.colours.underline_color));
    p.drawLine(0, y + look_.row_height - 1, viewport()->width(), y + look_.row_height - 1);
  }
}

void DumpPane::keyPressEvent(QKeyEvent* e) {
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  std::optional<DumpKey> key;
  switch (e->key()) {
    case Qt::Key_Left:
      key = DumpKey::Left;
      break;
    case Qt::Key_Right:
      key = DumpKey::Right;
      break;
    case Qt::Key_Up:
      key = DumpKey::Up;
      break;
    case Qt::Key_Down:
      key = DumpKey::Down;
      break;
    case Qt::Key_PageUp:
      key = DumpKey::PageUp;
      break;
    case Qt::Key_PageDown:
      key = DumpKey::PageDown;
      break;
    case Qt::Key_Home:
      key = ctrl ? DumpKey::First : DumpKey::Home;
      break;
    case Qt::Key_End:
      key = ctrl ? DumpKey::Last : DumpKey::End;
      break;
    default:
      return QAbstractScrollArea::keyPressEvent(e);
  }
  model_.MoveCaret(*key);
  Sync();
  if (on_caret_moved) on_caret_moved();
}

void DumpPane::mousePressEvent(QMouseEvent* e) {
  setFocus();
  if (e->button() != Qt::LeftButton) return;
  model_.PlaceCaret(PointToCaret(e->position().toPoint()));
  Sync();
  if (on_caret_moved) on_caret_moved();
}

// ---- the column header ----

DumpHeaderPane::DumpHeaderPane(const BinaryViewerModel& model, const DumpPaneLook& look,
                               QWidget* parent)
    : QWidget(parent), model_(model) {
  setFocusPolicy(Qt::NoFocus);
  setEnabled(false);
  SetLook(look);
}

void DumpHeaderPane::SetLook(const DumpPaneLook& look) {
  look_ = look;
  setFixedHeight(std::max(look.row_height, BinaryHeaderHeight(look.colours.font_size)) + 2);
  update();
}

void DumpHeaderPane::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), ToQColor(look_.colours.back_color));
  p.setFont(look_.font);
  const std::string header = model_.Header();
  const HeaderMark mark = model_.HasDump() ? model_.HeaderSelection() : HeaderMark{};
  // The frame of the dump pane's viewport starts one pixel in: line the cells up with it.
  const int x0 = 1;
  if (mark.length > 0)
    p.fillRect(QRect(x0 + mark.start * look_.cell_width, 1, mark.length * look_.cell_width,
                     look_.row_height),
               palette().color(QPalette::Active, QPalette::Highlight));
  DrawCells(p, look_, header, x0, 1, [&](int col) {
    return col >= mark.start && col < mark.start + mark.length
               ? FromQColor(palette().color(QPalette::Active, QPalette::HighlightedText))
               : look_.colours.font_color;
  });
}

// ---- the window ----

TFormBinary::TFormBinary(QWidget* parent, const BinaryFormArgs& args)
    : TViewerForm(parent, kMinimumSize, {args.ini, "FormBinary", {780, 320}, kFallback}),
      ini_(args.ini),
      home_(args.home),
      model_({args.home, args.messages, args.file_name, args.code}),
      look_(ReadBinaryLook(args.ini)) {
  setWindowTitle(Q("バイナリ表示"));
  pane_look_ = MakePaneLook(look_);
  BuildControls();
  BuildMenus();
  ApplyStoredViewerShortcuts(home_, ShortcutWindow::Binary, *this);
  FillHistory();
  ComboBox1->setCurrentText(QString());
}

TFormBinary::~TFormBinary() = default;

void TFormBinary::BuildControls() {
  auto* column = new QVBoxLayout(Body());
  column->setContentsMargins(4, 4, 4, 4);
  column->setSpacing(0);
  Editor2 = new DumpHeaderPane(model_, pane_look_, Body());
  Editor1 = new DumpPane(model_, pane_look_, Body());
  Editor1->on_caret_moved = [this] { CaretMoved(); };
  column->addWidget(Editor2);
  column->addWidget(Editor1, 1);
  column->addLayout(BuildBoxes());
  column->addLayout(BuildButtons());
}

QLayout* TFormBinary::BuildBoxes() {
  ComboBox1 = new QComboBox;
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->setMinimumWidth(220);
  Edit1 = new QLineEdit;
  Edit1->setReadOnly(true);
  Label2 = new QLabel(QStringLiteral("000000"));
  Label2->setMinimumWidth(90);
  auto* boxes = new QHBoxLayout;
  boxes->setContentsMargins(0, 4, 0, 0);
  boxes->addWidget(Buddy("検索文字列(&D):", ComboBox1));
  boxes->addWidget(ComboBox1, 2);
  boxes->addWidget(Buddy("16進数(&X):", Edit1));
  boxes->addWidget(Edit1, 2);
  boxes->addWidget(new QLabel(Q("現在位置:")));
  boxes->addWidget(Label2);
  ComboBox1->installEventFilter(this);
  ComboBox1->lineEdit()->installEventFilter(this);
  Edit1->installEventFilter(this);
  return boxes;
}

QLayout* TFormBinary::BuildButtons() {
  ButtonPrev = MakeButton("前ﾍﾟｰｼﾞ(&R)");
  ButtonNext = MakeButton("次ﾍﾟｰｼﾞ(&E)");
  ButtonSearchPrev = MakeButton("前を検索(&P)");
  ButtonSearchNext = MakeButton("次を検索(&N)");
  ButtonCancel = MakeButton("閉じる(&C)");
  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(0, 4, 0, 0);
  for (QPushButton* b : {ButtonPrev, ButtonNext, ButtonSearchPrev, ButtonSearchNext})
    buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(ButtonCancel);
  connect(ButtonPrev, &QPushButton::clicked, this,
          [this] { Move(&BinaryViewerModel::MenuBinaryPrevClick); });
  connect(ButtonNext, &QPushButton::clicked, this,
          [this] { Move(&BinaryViewerModel::MenuBinaryNextClick); });
  connect(ButtonSearchPrev, &QPushButton::clicked, this,
          [this] { MenuBinarySearchClick(SearchDirection::Previous); });
  connect(ButtonSearchNext, &QPushButton::clicked, this,
          [this] { MenuBinarySearchClick(SearchDirection::Next); });
  connect(ButtonCancel, &QPushButton::clicked, this, &TFormBinary::MenuBinaryCloseClick);
  return buttons;
}

void TFormBinary::BuildMenus() {
  const auto on = [this](QAction* a, auto f) { connect(a, &QAction::triggered, this, f); };
  QMenu* file = AddMenu("ファイル(&F)");
  on(AddCommand(file, 1021, "終了(&X)"), [this] { MenuBinaryCloseClick(); });
  QMenu* search = AddMenu("検索(&S)");
  on(AddCommand(search, 1202, "次を検索(&N)"),
     [this] { MenuBinarySearchClick(SearchDirection::Next); });
  on(AddCommand(search, 1203, "前を検索(&P)"),
     [this] { MenuBinarySearchClick(SearchDirection::Previous); });
  QMenu* move = AddMenu("移動(&M)");
  on(AddCommand(move, 1731, "先頭(&T)"), [this] { Move(&BinaryViewerModel::MenuBinaryTopClick); });
  on(AddCommand(move, 1732, "前ページ(&P)"),
     [this] { Move(&BinaryViewerModel::MenuBinaryPrevClick); });
  on(AddCommand(move, 1733, "次ページ(&N)"),
     [this] { Move(&BinaryViewerModel::MenuBinaryNextClick); });
  on(AddCommand(move, 1734, "最後(&E)"), [this] { Move(&BinaryViewerModel::MenuBinaryEndClick); });
  QMenu* view = AddMenu("表示(&V)");
  const auto toggle = [&](int id, const char* caption, bool BinaryLook::*flag) {
    QAction* a = AddCommand(view, id, caption);
    a->setCheckable(true);
    a->setChecked(look_.*flag);
    on(a, [this, flag] { ToggleLook(flag); });
  };
  toggle(1735, "タブ(Tab)の 09 を記号色で表示(&T)", &BinaryLook::show_tab);
  toggle(1736, "改行(Cr)の 0D を記号色で表示(&D)", &BinaryLook::show_cr);
  toggle(1737, "改行(Lf)の 0A を記号色で表示(&A)", &BinaryLook::show_lf);
  view->addSeparator();
  on(AddCommand(view, 1738, "文字色(&F)..."), [this] { MenuBinaryFontColorClick(); });
  on(AddCommand(view, 1739, "背景色(&B)..."), [this] { ChooseColor(&BinaryLook::back_color); });
  on(AddCommand(view, 1740, "記号表示色(&K)..."),
     [this] { ChooseColor(&BinaryLook::kigou_color); });
  on(AddCommand(view, 1741, "アンダーライン表示色(&U)..."),
     [this] { ChooseColor(&BinaryLook::underline_color); });
  view->addSeparator();
  toggle(1742, "カーソルのある行に下線を表示(&E)", &BinaryLook::underline_visible);
}

void TFormBinary::FillHistory() {
  const QString text = ComboBox1->currentText();
  ComboBox1->clear();
  for (const std::string& word : model_.History()) ComboBox1->addItem(Q(word));
  for (const FixedSearchEntry& e : kFixedSearchEntries) ComboBox1->addItem(Q(e.text));
  ComboBox1->setCurrentText(text);
}

void TFormBinary::ApplyLook() {
  pane_look_ = MakePaneLook(look_);
  Editor1->SetLook(pane_look_);
  Editor2->SetLook(pane_look_);
}

void TFormBinary::showEvent(QShowEvent* event) {
  TViewerForm::showEvent(event);
  if (started_) return;
  started_ = true;
  model_.Open(StoredBinaryOffset(ini_, 0));
  Editor1->SetLook(pane_look_);
  Editor1->setFocus();
  CaretMoved();
}

void TFormBinary::CaretMoved() {
  Label2->setText(Q(model_.OffsetLabel()));
  Editor2->update();
  Editor1->viewport()->update();
}

void TFormBinary::Move(void (BinaryViewerModel::*command)()) {
  (model_.*command)();
  Editor1->Sync();
  Editor1->setFocus();
  CaretMoved();
}

void TFormBinary::ToggleLook(bool BinaryLook::*flag) {
  look_.*flag = !(look_.*flag);
  ApplyLook();
}

void TFormBinary::ChooseColor(TColor BinaryLook::*colour) {
  const std::optional<TColor> chosen = choose_color ? choose_color(look_.*colour) : std::nullopt;
  if (!chosen) return;
  look_.*colour = *chosen;
  ApplyLook();
}

void TFormBinary::MenuBinaryFontColorClick() {
  const std::optional<BinaryLook> chosen = choose_font ? choose_font(look_) : std::nullopt;
  if (!chosen) return;
  look_.font_name = chosen->font_name;
  look_.font_size = chosen->font_size;
  look_.font_color = chosen->font_color;
  ApplyLook();
}

// Long scans keep the window answering and offer a cancel once they take more than a moment.
bool TFormBinary::RunScanStep(uint64_t done, uint64_t total) {
  if (!scan_clock_.isValid()) {
    scan_clock_.start();
    serviced_ms_ = 0;
    cancel_scan_ = false;
  }
  // The window is serviced a few times a second: more often would cost the scan its speed.
  const int64_t now = scan_clock_.elapsed();
  if (now - serviced_ms_ < kServiceEveryMs) return !cancel_scan_;
  serviced_ms_ = now;
  if (!progress_ && now >= kProgressAfterMs) {
    progress_ = std::make_unique<QProgressDialog>(Q("検索しています..."), Q("中止"), 0, 1000, this);
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setMinimumDuration(0);
    connect(progress_.get(), &QProgressDialog::canceled, this, [this] { cancel_scan_ = true; });
  }
  if (progress_) progress_->setValue(total == 0 ? 0 : static_cast<int>(done * 1000 / total));
  QApplication::processEvents();
  return !cancel_scan_;
}

void TFormBinary::MenuBinarySearchClick(SearchDirection direction) {
  const std::string word = FromQ(ComboBox1->currentText());
  const QScopedValueRollback scanning(scanning_, true);
  model_.Search(word, direction,
                [this](uint64_t done, uint64_t total) { return RunScanStep(done, total); });
  progress_.reset();
  scan_clock_.invalidate();
  if (!word.empty()) {
    FillHistory();
    ComboBox1->setCurrentText(Q(word));
  }
  Edit1->setText(Q(model_.PatternHex()));
  Editor1->Sync();
  CaretMoved();
}

void TFormBinary::Finish() {
  if (const std::optional<uint64_t> offset = model_.OffsetToHandBack())
    StoreBinaryOffset(ini_, *offset).IgnoreFailure();
}

void TFormBinary::MenuBinaryCloseClick() {
  reject();
}

// Esc and the window's own commands hand the offset back; the close box does not, so the main
// window keeps the offset it passed in.
void TFormBinary::reject() {
  // While a scan runs the window stays: Esc or the close box stop the scan first.
  if (scanning_) {
    cancel_scan_ = true;
    return;
  }
  if (!closing_by_box_) Finish();
  TViewerForm::reject();
}

// However the window ends, its look and the search history are kept for the next opening.
void TFormBinary::done(int result) {
  if (started_) {
    model_.Close();
    WriteBinaryLook(ini_, look_).IgnoreFailure();
  }
  started_ = false;
  TViewerForm::done(result);
}

void TFormBinary::closeEvent(QCloseEvent* event) {
  closing_by_box_ = true;
  TViewerForm::closeEvent(event);
  closing_by_box_ = false;
}

bool TFormBinary::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const bool box = watched == ComboBox1 || watched == ComboBox1->lineEdit() || watched == Edit1;
    if (box && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)) return true;
  }
  return TViewerForm::eventFilter(watched, event);
}

}  // namespace tessary
