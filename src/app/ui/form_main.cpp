// The main window: menus from the command table, status bars, view settings, start-up and closing.
#include "app/ui/form_main.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "app/close_keys.h"
#include "app/external_programs.h"
#include "app/startup_notice.h"
#include "app/status_texts.h"
#include "app/ui/form_warning.h"
#include "app/ui/form_wrap_length.h"
#include "app/ui/status_panels.h"
#include "base/mnemonics.h"
#include "base/sjis.h"
#include "codec/char_code.h"
#include "codec/file_choosers.h"
#include "codec/ui/chooser_form.h"
#include "codec/ui/qt_file_chooser_windows.h"
#include "commands/ui/form_outline.h"
#include "commands/ui/form_replace_tab.h"
#include "editor/editor_canvas.h"
#include "editor/editor_row_states.h"
#include "editor/ui/editor.h"
#include "platform/settings_values.h"
#include "platform/ui/input_hold.h"
#include "platform/ui/menu_keys.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {
namespace {

// How long the load after a shown start waits for the first paint that may never come.
constexpr int kLoadWithoutPaintMilliseconds = 300;

// The menu an item goes in, with the item's separator placed: a separator before the first
// item of a submenu stands above the submenu in its parent menu.
QMenu* PlaceItem(QMenu* menu, const CommandEntry& e, std::map<Submenu, QMenu*>& submenus) {
  const bool separated = e.separator == Separator::Before;
  if (e.submenu == Submenu::None) {
    if (separated) menu->addSeparator();
    return menu;
  }
  QMenu*& sub = submenus[e.submenu];
  if (sub) {
    if (separated) sub->addSeparator();
    return sub;
  }
  if (separated) menu->addSeparator();
  const SubmenuText text = SubmenuTextOf(e.submenu);
  sub = menu->addMenu(Q(text.caption));
  sub->setObjectName(Q(text.name));
  RunEveryMarkedLetter(*sub);
  return sub;
}

CloseKeyPress CloseKeyPressOf(const QKeyEvent& e) {
  CloseKeyPress p;
  switch (e.key()) {
    case Qt::Key_Escape:
      p.key = CloseKey::Escape;
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      p.key = CloseKey::Enter;
      break;
    case Qt::Key_Q:
      p.key = CloseKey::Q;
      break;
    case Qt::Key_X:
      p.key = CloseKey::X;
      break;
    default:
      break;
  }
  const Qt::KeyboardModifiers held = e.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                                      Qt::AltModifier | Qt::MetaModifier);
  p.modifiers = held ? CloseKeyModifiers::Held : CloseKeyModifiers::None;
  p.repeat = e.isAutoRepeat() ? KeyRepeat::Repeat : KeyRepeat::First;
  return p;
}

// The main window's editor numbers logical lines in at least five digits, so the left bar agrees
// with the line of the caret panel, and keeps a narrower margin than a new control.
void SetMainEditorLayout(TEditor& e) {
  e.Margin().SetLeft(10);
  e.Margin().SetTop(0);
  e.Leftbar().SetColumn(5);
  e.Leftbar().SetLeftMargin(4);
  e.Leftbar().SetShowNumberMode(TEditorShowNumberMode::nmLine);
}

// The file system's own bytes of a dropped path, so that a name in any encoding opens.
std::string LocalPath(const QUrl& url) {
  return QFile::encodeName(url.toLocalFile()).toStdString();
}

}  // namespace

TFormMain::TFormMain(Messages& messages, AppHome home, std::vector<std::string> args,
                     QWidget* parent)
    : QMainWindow(parent),
      messages_(messages),
      home_(std::move(home)),
      args_(std::move(args)),
      ini_(home_.SettingsFile()) {
  setAcceptDrops(true);
  CreateKeyMap();
  for (QTimer* t : {&timer1_, &timer2_, &timer3_, &rewrap_, &load_after_paint_})
    t->setSingleShot(true);
  connect(&timer1_, &QTimer::timeout, this, [this] { document_->Timer1Timer(); });
  connect(&timer2_, &QTimer::timeout, this, [this] { document_->Timer2Timer(); });
  connect(&timer3_, &QTimer::timeout, this, [this] { Timer3Timer(); });
  connect(&load_after_paint_, &QTimer::timeout, this, [this] { FinishFirstShow(); });
  // Only a text that is wrapped already follows the window's width; a text just loaded waits
  // for the post-load timer, which applies the wrap mode.
  connect(&rewrap_, &QTimer::timeout, this, [this] {
    if (settings_.wrap == WrapMode::WindowWidth && editor_->Control().WordWrap()) ApplyWrapMode();
  });
  setWindowTitle(Q(WindowCaption("", true)));
  setMinimumSize(800, 240);

  settings_ = ReadMainSettings(ini_);

  auto* central = new QWidget(this);
  auto* box = new QVBoxLayout(central);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(0);
  editor_ = new TEditor(central);
  SetMainEditorLayout(*editor_);
  editor_->installEventFilter(this);
  BuildStatusBars();
  box->addWidget(bars_[0]);
  box->addWidget(editor_, 1);
  box->addWidget(bars_[1]);
  setCentralWidget(central);

  editor_port_ = std::make_unique<EditorControlPort>(
      editor_->Control(), [this] { SetEditorColor(); }, [this] { ApplyWrapMode(); });
  MainWindowPort& port = *this;
  document_ = std::make_unique<MainWindowDocument>(*editor_port_, port, messages_, ini_,
                                                   settings_.read_menu, home_);
  EditorControl& c = editor_->Control();
  auto caret_moved = c.OnCaretMoved;
  c.OnCaretMoved = [this, caret_moved] {
    if (caret_moved) caret_moved();
    Editor1CaretMoved();
  };
  auto selection_changed = c.OnSelectionChange;
  c.OnSelectionChange = [this, selection_changed](bool selected) {
    if (selection_changed) selection_changed(selected);
    UpdateCharCount();
  };
  editor_->OnDrawLine = [this](TEditor&, EditorCanvas& canvas, const TDrawLineArgs& a) {
    Editor1DrawLine(canvas, a);
  };

  BuildMenus();
  RegisterHandlers();
  EnableRegisteredCommands();
  SetChecks();
  ApplyEditorSettings();
  document_->Start();
  Editor1CaretMoved();
  bars_[0]->setVisible(settings_.status_bar_top);
  bars_[1]->setVisible(settings_.status_bar_bottom);
  document_->ApplyCommandLineProtection(args_);

  // The defaults of the choosers: the platform's own dialogs.
  choose_font = [this](const FontChoice& f) -> std::optional<FontChoice> {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, FontOf(f), this);
    if (!ok) return std::nullopt;
    const QColor color = QColorDialog::getColor(ToQColor(f.color), this);
    if (!color.isValid()) return std::nullopt;
    FontChoice chosen{font.family().toStdString(), font.pointSize(), FromQColor(color)};
    // A family that stood in for the stored name keeps the stored name while unchanged.
    if (font.family() == FontOf(f).family()) chosen.name = f.name;
    return chosen;
  };
  choose_color = [this](TColor c) -> std::optional<TColor> {
    const QColor color = QColorDialog::getColor(ToQColor(c), this);
    if (!color.isValid()) return std::nullopt;
    return FromQColor(color);
  };
  chooser_windows_ = std::make_unique<QtFileChooserWindows>(this, ini_, messages_);
  choosers_ = std::make_unique<FileChoosers>(ini_, messages_, *chooser_windows_);
  choosers_->ReadRememberedPaths();
  choose_open_file = [this]() -> std::optional<OpenChoice> {
    const std::optional<OpenFileChoice> c = choosers_->ChooseOpen(
        ChooserStyleFor(settings_.open_save_dialog_xp_style), document_->LoadIndex());
    if (!c) return std::nullopt;
    return OpenChoice{c->path, c->code};
  };
  choose_save_as_file = [this](CharCode code, RetCode ret) -> std::optional<SaveChoice> {
    const std::optional<SaveFileChoice> c =
        choosers_->ChooseSaveAs(ChooserStyleFor(settings_.open_save_dialog_xp_style), code, ret);
    if (!c) return std::nullopt;
    return SaveChoice{c->path, c->code, c->ret};
  };
  choose_word_file = [this](const ChooserStart& start) {
    return PlainOpenDialogAnyFile(this, start);
  };
  show_startup_notice = [this](KeyMapCheck check) { ShowStartupNotice(this, ini_, check); };
  run_wrap_length = [this] {
    TFormWrapLength form(this, ini_, messages_);
    return form.exec() == QDialog::Accepted;
  };
  run_replace_tab = [this](int tab_width) {
    TFormReplaceTab form(this, ini_, messages_, tab_width);
    return form.exec() == QDialog::Accepted;
  };

  ApplyPlacement();
}

TFormMain::~TFormMain() {
  editor_->OnDrawLine = nullptr;
  // The window is going: there is nobody left to tell, and an oversized settings file was
  // reported at start-up. The next start reads whatever was written.
  WriteMainSettings(ini_, CurrentSettings()).IgnoreFailure();
  document_->SaveLists().IgnoreFailure();
}

// ---- building ----

void TFormMain::BuildStatusBars() {
  bars_[0] = new TStatusPanels(SizeGripShown::No, this);
  bars_[1] = new TStatusPanels(SizeGripShown::Yes, this);
}

QAction* TFormMain::AddCommand(QMenu* menu, const CommandEntry& e) {
  QAction* a = menu->addAction(Q(e.caption));
  a->setObjectName(Q(e.command));
  a->setCheckable(e.checkable == Checkable::Yes);
  a->setVisible(e.place == CommandPlace::MainMenu);
  const CommandId id = CommandIdOf(e);
  actions_[id] = a;
  connect(a, &QAction::triggered, this, [this, id] { handlers_.Run(id); });
  RegisterShortcut(e.id, a);
  return a;
}

// The recent files, numbered 1 to 6, stand above the quit commands.
void TFormMain::AddRecentItems(QMenu* menu) {
  menu->addSeparator();
  for (int n = 1; n <= static_cast<int>(recent_.size()); ++n) {
    QAction* r = menu->addAction(QString());
    r->setObjectName(QString("MenuRecent%1").arg(n));
    recent_[static_cast<size_t>(n - 1)] = r;
    connect(r, &QAction::triggered, this, [this, n] { document_->MenuRecentClick(n); });
  }
}

void TFormMain::BuildMenus() {
  std::map<std::string_view, QMenu*> menus;
  std::map<Submenu, QMenu*> submenus;
  // Clicking the checked item of an exclusive group keeps it checked.
  std::map<RadioGroup, QActionGroup*> groups;
  for (const CommandEntry& e : CommandTable()) {
    if (e.place == CommandPlace::EditorControl) continue;
    QMenu*& menu = menus[e.group];
    if (!menu) {
      menu = menuBar()->addMenu(Q(MainMenuCaptionOfGroup(e.group)));
      RunEveryMarkedLetter(*menu);
    }
    if (CommandIdOf(e) == CommandId::MenuSaveClose) AddRecentItems(menu);
    QAction* a = AddCommand(PlaceItem(menu, e, submenus), e);
    if (e.radio == RadioGroup::None) continue;
    QActionGroup*& group = groups[e.radio];
    if (!group) group = new QActionGroup(this);
    group->addAction(a);
  }
  file_menu_ = menus[kGroupFile];
}

QAction* TFormMain::Action(CommandId id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

QAction* TFormMain::RecentAction(int n) const {
  return n >= 1 && n <= static_cast<int>(recent_.size()) ? recent_[static_cast<size_t>(n - 1)]
                                                         : nullptr;
}

QAction* TFormMain::Action(std::string_view name) const {
  for (const auto& [id, a] : actions_)
    if (a->objectName() == Q(name)) return a;
  for (QAction* a : recent_)
    if (a->objectName() == Q(name)) return a;
  return nullptr;
}

QFont TFormMain::FontOf(const FontChoice& f) const {
  // A stored name that is not installed (the default one on most systems) gives way to an
  // installed fixed-pitch Japanese font; the stored name itself is kept.
  const QString family = Q(f.name);
  QFont font = QFontDatabase::hasFamily(family) ? QFont(family) : TEditor::DefaultFont();
  font.setPointSize(f.size > 0 ? f.size : 14);
  return font;
}

void TFormMain::SetEditorColor() {
  const Protection p = editor_->Control().ReadOnly() ? Protection::ReadOnly : Protection::Writable;
  ApplyScheme(*editor_, p);
  tab_mark_color_ = TabMarkColor(settings_);
  dbcs_mark_color_ = DbcsMarkColor(settings_);
  editor_->viewport()->update();
}

// The font and colours of one scheme on any editor: the main one, or a snippet pane.
void TFormMain::ApplyScheme(TEditor& editor, Protection p) const {
  const EditorScheme scheme = SchemeFor(settings_, p);
  editor.SetEditorFont(FontOf(scheme.font));
  editor.SetFontColor(scheme.font.color);
  editor.SetColor(scheme.background);
  editor.Leftbar().SetBkColor(scheme.background);
  editor.Ruler().SetBkColor(scheme.background);
  editor.Leftbar().SetColor(scheme.font.color);
  editor.Ruler().SetColor(scheme.font.color);
  editor.Ruler().SetMarkColor(scheme.font.color);
}

void TFormMain::ApplyViewOptions() {
  ApplyViewTo(*editor_);
  const EditorViewOptions o = ViewOptionsFor(settings_);
  tab_mark_color_ = o.tab_mark_color;
  dbcs_mark_color_ = o.dbcs_mark_color;
  editor_->viewport()->update();
}

// The view settings (colours of reserved words and selection, marks, bars, caret options).
void TFormMain::ApplyViewTo(TEditor& editor) const {
  const EditorViewOptions o = ViewOptionsFor(settings_);
  editor.View().Colors().Reserve().SetColor(o.reserve_color);
  editor.View().Colors().Select().SetColor(o.select_color);
  editor.View().Colors().Select().SetBkColor(o.select_back_color);
  TEditorMarks& m = editor.Marks();
  m.Underline.SetColor(o.under_line_color);
  m.Underline.SetVisible(o.under_line);
  m.RetMark.SetVisible(o.ret_mark);
  m.EofMark.SetVisible(o.eof_mark);
  m.RetMark.SetColor(o.mark_color);
  m.EofMark.SetColor(o.mark_color);
  TEditorLeftbar& l = editor.Leftbar();
  l.SetVisible(o.left_bar);
  l.SetShowNumber(o.left_bar);
  l.SetZeroLead(o.left_bar);
  editor.Ruler().SetVisible(o.ruler);
  TEditorCaret& caret = editor.Caret();
  caret.AutoIndent = o.auto_indent;
  caret.NextLine = o.next_line;
  caret.FreeCaret = o.free_caret;
  caret.TabSpaceCount = o.tab_space_count;
  editor.Control().CaretOptionsChanged();
}

// A snippet pane looks like the main editor, its preview like a read-only document, and both
// always draw the tab and full-width blank marks in the mark colour.
void TFormMain::StyleSnippetEditor(TEditor& editor, SnippetPane pane) const {
  ApplyScheme(editor, pane == SnippetPane::Preview ? Protection::ReadOnly : Protection::Writable);
  ApplyViewTo(editor);
  const TColor mark = settings_.kigou_color;
  editor.OnDrawLine = [mark, marks = std::vector<DecorationMark>()](
                          TEditor& sender, EditorCanvas& canvas, const TDrawLineArgs& a) mutable {
    DrawDecorationMarks(sender, canvas, a, {mark, mark}, marks);
  };
}

// The log viewers' panes: the read-only look for the log, the editable one for the skip titles,
// the main window's marks; no ruler. Their line numbers are the window's own business.
void TFormMain::StyleLogPane(TEditor& editor, LogPane pane) const {
  ApplyScheme(editor, pane == LogPane::Log ? Protection::ReadOnly : Protection::Writable);
  ApplyViewTo(editor);
  editor.Ruler().SetVisible(false);
}

void TFormMain::ApplyEditorSettings() {
  SetEditorColor();
  ApplyViewOptions();
  editor_->Control().Lines().Clear();
  editor_->Control().SetModified(false);
  ApplyWrapMode();  // an empty document wraps as the settings say from the start
}

void TFormMain::ApplyWrapMode() {
  const WrapSetting w = WrapFor(settings_.wrap, ReadWrapByte(ini_), editor_->ColumnsPerPage());
  EditorControl& c = editor_->Control();
  // The wrap length goes first so that turning wrapping on lays the rows out once.
  if (w.word_wrap) c.Document().WrapOption().SetWrapByte(w.wrap_byte);
  c.SetWordWrap(w.word_wrap);
}

// ---- placement, first showing, closing ----

void TFormMain::ApplyPlacement() {
  const QRect v = QGuiApplication::primaryScreen()
                      ? QGuiApplication::primaryScreen()->virtualGeometry()
                      : QRect(0, 0, 1280, 1024);
  const Rect screen{v.left(), v.top(), v.width(), v.height()};
  placed_bounds_ = PlaceOnScreen(settings_.placement.bounds, screen, Rect{0, 0, 800, 240});
  move(placed_bounds_.left, placed_bounds_.top);
  resize(placed_bounds_.width, placed_bounds_.height);
}

void TFormMain::ShowFirst() {
  switch (settings_.placement.state) {
    case WindowState::Maximized:
      showMaximized();
      break;
    case WindowState::Minimized:
      showMinimized();
      break;
    case WindowState::Normal:
      show();
      break;
  }
}

void TFormMain::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (shown_once_) return;
  shown_once_ = true;
  FirstShow();
}

void TFormMain::FirstShow() {
  if (std::optional<std::string> problem = SettingsFileProblem(ini_))
    messages_.ShowMessage(*problem);
  StartKeyMap();
  editor_->setFocus();
  if (document_->PreviewCommandLine(args_, preview_bytes)) {
    // The first paint shows the file's start; the load follows it. Until then the text is not
    // the document, so no command may meet it.
    input_hold_ = std::make_unique<InputHold>();
    editor_->viewport()->installEventFilter(this);
    load_after_paint_.start(kLoadWithoutPaintMilliseconds);
    return;
  }
  FinishFirstShow();
}

void TFormMain::FinishFirstShow() {
  load_after_paint_.stop();
  editor_->viewport()->removeEventFilter(this);
  // Released before the load: its messages are modal boxes that need their keys.
  input_hold_.reset();
  document_->OpenCommandLine(args_);
  const KeyMapCheck check = key_map_replaced_ ? KeyMapCheck::Replaced : KeyMapCheck::Kept;
  if (StartupNoticeWanted(ReadStartupNoticeShow(ini_), check)) {
    notice_started_ = true;
    timer3_.start(100);
  }
  if (first_show_finished) first_show_finished();
}

void TFormMain::Timer3Timer() {
  const KeyMapCheck check = key_map_replaced_ ? KeyMapCheck::Replaced : KeyMapCheck::Kept;
  if (show_startup_notice) show_startup_notice(check);
}

void TFormMain::closeEvent(QCloseEvent* e) {
  if (!document_->CloseQuery()) {
    e->ignore();
    return;
  }
  document_->OnClose();
  CloseOutline();  // it stores where it stood
  if (csv_list_utf_) csv_list_utf_->Close(static_cast<QWidget*>(this));
  e->accept();
}

MainSettings TFormMain::CurrentSettings() const {
  MainSettings s = settings_;
  s.read_menu = document_->ReadMenu();
  const Qt::WindowStates st = windowState();
  s.placement.state = (st & Qt::WindowMaximized)   ? WindowState::Maximized
                      : (st & Qt::WindowMinimized) ? WindowState::Minimized
                                                   : WindowState::Normal;
  s.placement.bounds = Rect{pos().x(), pos().y(), width(), height()};
  return s;
}

// ---- window events ----

void TFormMain::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::ActivationChange) UpdateCaption();
}

bool TFormMain::eventFilter(QObject* watched, QEvent* e) {
  // The start of a long file is being painted: the load runs once this paint is done.
  if (input_hold_ && watched == editor_->viewport() && e->type() == QEvent::Paint)
    load_after_paint_.start(0);
  // The editor's visible columns change after its own resize handling: re-wrap once the
  // events have settled, so a drag of the window edge lays the text out once.
  if (watched == editor_ && e->type() == QEvent::Resize && settings_.wrap == WrapMode::WindowWidth)
    rewrap_.start(0);
  // Key preview: the close keys of a protected document never reach the editor.
  if (watched == editor_ && e->type() == QEvent::KeyPress) {
    const Protection p =
        editor_->Control().ReadOnly() ? Protection::ReadOnly : Protection::Writable;
    if (KeyClosesViewer(CloseKeyPressOf(*static_cast<QKeyEvent*>(e)), p, settings_)) {
      close();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, e);
}

void TFormMain::dragEnterEvent(QDragEnterEvent* e) {
  if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void TFormMain::dropEvent(QDropEvent* e) {
  std::vector<std::string> paths;
  for (const QUrl& u : e->mimeData()->urls())
    if (u.isLocalFile()) paths.push_back(LocalPath(u));
  e->acceptProposedAction();
  DropFiles(paths);
}

void TFormMain::wheelEvent(QWheelEvent* e) {
  // A wheel turned over the bars or the menu still scrolls the focused editor, three rows a step.
  if (editor_->hasFocus() && e->angleDelta().y() != 0) {
    EditorControl& c = editor_->Control();
    c.SetTopRow(c.TopRow() + (e->angleDelta().y() > 0 ? -3 : 3));
    e->accept();
    return;
  }
  QMainWindow::wheelEvent(e);
}

// ---- the window port ----

void TFormMain::SetStatusText(StatusPanel panel, std::string_view text) {
  for (TStatusPanels* bar : bars_) bar->SetText(static_cast<int>(panel), Q(text));
}

QString TFormMain::PanelText(StatusBarId bar, int panel) const {
  return StatusBar(bar)->Text(panel);
}

int TFormMain::PanelWidth(StatusBarId bar, int panel) const {
  return StatusBar(bar)->Span(panel).width;
}

TStatusPanels* TFormMain::StatusBar(StatusBarId bar) const {
  return bars_[bar == StatusBarId::Top ? 0 : 1];
}

void TFormMain::SetCaptionFileName(std::string_view file_name) {
  caption_file_ = std::string(file_name);
  UpdateCaption();
}

void TFormMain::UpdateCaption() {
  setWindowTitle(Q(WindowCaption(caption_file_, isActiveWindow())));
}

void TFormMain::SetRecentCaptions(const std::array<std::string, 6>& captions) {
  // "&N " marks the item's digit; the path after it is shown as it is, ampersands included.
  constexpr size_t kNumberPart = 3;
  for (size_t i = 0; i < recent_.size(); ++i) {
    const std::string_view c = captions[i];
    const size_t cut = std::min(kNumberPart, c.size());
    recent_[i]->setText(Q(std::string(c.substr(0, cut)) + LiteralMenuText(c.substr(cut))));
  }
}

void TFormMain::StartTimer(MainTimer timer, int milliseconds) {
  QTimer& t = timer == MainTimer::Timer1 ? timer1_ : timer == MainTimer::Timer2 ? timer2_ : timer3_;
  t.start(milliseconds);
}

std::optional<OpenChoice> TFormMain::ChooseOpenFile() {
  return choose_open_file ? choose_open_file() : std::nullopt;
}

std::optional<SaveChoice> TFormMain::ChooseSaveAsFile(CharCode code, RetCode ret) {
  return choose_save_as_file ? choose_save_as_file(code, ret) : std::nullopt;
}

void TFormMain::StartNewEditorProcess() {
  ExternalPrograms(*process_launcher, messages_, ini_, "").RunNewEditor(ExecutablePath());
}

// ---- status panels ----

void TFormMain::Editor1CaretMoved() {
  const EditorControl& c = editor_->Control();
  // An empty document (no row, or one empty row without a line end) shows line 1, column 1.
  if (c.RowCount() == 0 || (c.RowCount() == 1 && c.RowText(0).empty())) {
    SetStatusText(StatusPanel{2}, CaretPositionText(0, 0));
    return;
  }
  // The position is shown on empty rows as well, so the panel never lags behind the caret.
  const int32_t row = c.CaretRow();
  SetStatusText(StatusPanel{2}, CaretPositionText(c.RowToLine(row), c.CaretCol()));
}

void TFormMain::UpdateCharCount() {
  const EditorControl& c = editor_->Control();
  if (!c.Selected()) {
    SetStatusText(StatusPanel::Selection, "");
    return;
  }
  // Line ends count when "改行をカウントする(&I)" is the checked item, as its caption says.
  const LineEndCounting ends =
      settings_.crlf_not_include ? LineEndCounting::Exclude : LineEndCounting::Include;
  const SelectionUnit unit =
      settings_.select_length_char ? SelectionUnit::Characters : SelectionUnit::HalfWidthColumns;
  // Counted over the rows themselves: a large selection is never copied to be counted.
  SelectionCounter counter(ends, unit);
  c.ForEachSelectedPiece([&counter](std::string_view piece) { counter.Add(piece); });
  SetStatusText(StatusPanel::Selection, counter.Text());
}

// ---- row decorations ----

void TFormMain::Editor1DrawLine(EditorCanvas& canvas, const TDrawLineArgs& a) {
  DrawDecorationMarks(*editor_, canvas, a, {tab_mark_color_, dbcs_mark_color_}, marks_);
}

void DrawDecorationMarks(TEditor& editor, EditorCanvas& canvas, const TDrawLineArgs& a,
                         const MarkColors& colors, std::vector<DecorationMark>& marks) {
  // Rows without a TAB or a full-width blank are skipped before any state is computed.
  if (a.LineStr.find('\t') == std::string_view::npos &&
      a.LineStr.find(sjis::kFullWidthBlank) == std::string_view::npos)
    return;
  const TEditorScreenStrings& doc = editor.Document();
  const int32_t row = a.Index;
  const std::string_view next =
      row + 1 < editor.Control().RowCount() ? editor.Control().RowText(row + 1) : "";
  DecorationGeometry g;
  g.char_width = editor.Metrics().char_width;
  g.row_height = editor.Metrics().row_height;
  g.margin_line = editor.Margin().Line();
  g.column0_x = a.X;
  g.tab_count = editor.Caret().TabSpaceCount;
  g.rect_left = a.ARect.left;
  g.rect_right = a.ARect.right;
  RowDecorations(editor.View(), a.LineStr, next, RowStartState(doc, row), g, marks);
  const TColor background = editor.Color();
  for (const DecorationMark& m : marks) {
    if (m.kind == DecorationKind::Tab) {
      const TabMarkShape s = TabMarkGeometry(m.x, a.Y, g);
      canvas.SetPen(DecorationColor(a.Selected, background, colors.tab), s.pen_width);
      canvas.Line(s.upper.x1, s.upper.y1, s.upper.x2, s.upper.y2);
      canvas.Line(s.lower.x1, s.lower.y1, s.lower.x2, s.lower.y2);
    } else {
      const BlankMarkRect r = BlankMarkGeometry(m.x, a.Y, g);
      canvas.SetPen(DecorationColor(a.Selected, background, colors.dbcs), 1);
      canvas.FrameRect(r.left, r.top, r.right, r.bottom);
    }
  }
}

}  // namespace tessary
