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
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "app/settings_values.h"
#include "app/startup_notice.h"
#include "app/status_texts.h"
#include "app/ui/form_warning.h"
#include "app/ui/form_wrap_length.h"
#include "base/sjis.h"
#include "codec/char_code.h"
#include "codec/file_choosers.h"
#include "codec/ui/qt_file_chooser_windows.h"
#include "editor/editor_canvas.h"
#include "editor/editor_row_states.h"
#include "editor/ui/editor.h"

namespace tessary {
namespace {

constexpr int kRecentIdBase = 2000;  // MenuRecent1 .. MenuRecent6 are 2001 .. 2006
constexpr std::array<int, 7> kPanelWidths{0, 100, 100, 100, 180, 120, 100};
constexpr int kPanel0Reserve = 700;

QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QColor ToQ(TColor c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}
TColor FromQ(const QColor& q) {
  return static_cast<TColor>(q.red() | (q.green() << 8) | (q.blue() << 16));
}

// Commands whose behaviour this window carries; the rest belong to windows and features still
// to come and stay visible but disabled.
bool Implemented(int id) {
  if (id >= 1001 && id <= 1021) return true;  // the File menu
  if (id >= 1301 && id <= 1329) return true;  // the View menu
  if (id >= 1402 && id <= 1405) return true;  // close-key marks
  switch (id) {
    case 1102:
    case 1103:
    case 1106:
    case 1107:
    case 1108:
    case 1109:
    case 1110:
    case 1111:
    case 1112:
    case 1401:
    case 1502:
    case 1601:
    case 1704:
    case 1802:
      return true;
    default:
      return false;
  }
}

bool Checkable(int id) {
  return id == 1005 || (id >= 1006 && id <= 1013) || id == 1102 || (id >= 1106 && id <= 1108) ||
         (id >= 1301 && id <= 1303) || (id >= 1313 && id <= 1329) || (id >= 1402 && id <= 1405) ||
         (id >= 1603 && id <= 1605);
}

// A separator goes before these items, grouping the menus as they read.
bool SeparatorBefore(int id) {
  switch (id) {
    case 1003:
    case 1005:
    case 1006:
    case 1020:
    case 1102:
    case 1104:
    case 1106:
    case 1109:
    case 1113:
    case 1118:
    case 1120:
    case 1205:
    case 1304:
    case 1313:
    case 1316:
    case 1320:
    case 1324:
    case 1326:
    case 1328:
    case 1402:
    case 1407:
    case 1411:
    case 1603:
    case 1704:
    case 1705:
    case 1708:
      return true;
    default:
      return false;
  }
}

// The file system's own bytes of a dropped path, so that a name in any encoding opens.
std::string LocalPath(const QUrl& url) {
  return QFile::encodeName(url.toLocalFile()).toStdString();
}

}  // namespace

TFormMain::TFormMain(Messages& messages, std::vector<std::string> args, QWidget* parent)
    : QMainWindow(parent), messages_(messages), args_(std::move(args)), ini_(SettingsFilePath()) {
  setAcceptDrops(true);
  CreateKeyMap();
  for (QTimer* t : {&timer1_, &timer2_, &timer3_, &rewrap_}) t->setSingleShot(true);
  connect(&timer1_, &QTimer::timeout, this, [this] { document_->Timer1Timer(); });
  connect(&timer2_, &QTimer::timeout, this, [this] { document_->Timer2Timer(); });
  connect(&timer3_, &QTimer::timeout, this, [this] { Timer3Timer(); });
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
                                                   settings_.read_menu);
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
  WireCommands();
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
    const QColor color = QColorDialog::getColor(ToQ(f.color), this);
    if (!color.isValid()) return std::nullopt;
    FontChoice chosen{font.family().toStdString(), font.pointSize(), FromQ(color)};
    // A family that stood in for the stored name keeps the stored name while unchanged.
    if (font.family() == FontOf(f).family()) chosen.name = f.name;
    return chosen;
  };
  choose_color = [this](TColor c) -> std::optional<TColor> {
    const QColor color = QColorDialog::getColor(ToQ(c), this);
    if (!color.isValid()) return std::nullopt;
    return FromQ(color);
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
  show_startup_notice = [this](KeyMapCheck check) { ShowStartupNotice(this, ini_, check); };
  run_wrap_length = [this] {
    TFormWrapLength form(this, ini_, messages_);
    return form.exec() == QDialog::Accepted;
  };

  ApplyPlacement();
}

TFormMain::~TFormMain() {
  editor_->OnDrawLine = nullptr;
  WriteMainSettings(ini_, CurrentSettings());
  document_->SaveLists();
}

// ---- building ----

void TFormMain::BuildStatusBars() {
  for (size_t b = 0; b < 2; ++b) {
    auto* bar = new QStatusBar(this);
    bar->setSizeGripEnabled(b == 1);
    for (size_t p = 0; p < 7; ++p) {
      auto* label = new QLabel(bar);
      label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      label->setFixedWidth(p == 0 ? 100 : kPanelWidths[p]);
      bar->addWidget(label);
      panels_[b][p] = label;
    }
    bars_[b] = bar;
  }
  UpdatePanelWidths();
}

QAction* TFormMain::AddCommand(QMenu* menu, const CommandEntry& e) {
  if (SeparatorBefore(e.id)) menu->addSeparator();
  QAction* a = menu->addAction(Q(e.caption));
  a->setObjectName(Q(e.command));
  a->setCheckable(Checkable(e.id));
  a->setEnabled(Implemented(e.id));
  a->setVisible(e.place == CommandPlace::MainMenu);
  actions_[e.id] = a;
  RegisterShortcut(e.id, a);
  return a;
}

void TFormMain::BuildMenus() {
  std::map<std::string_view, QMenu*> menus;
  QMenu* color_menu = nullptr;
  for (const CommandEntry& e : CommandTable()) {
    if (e.place == CommandPlace::EditorControl) continue;
    QMenu*& menu = menus[e.group];
    if (!menu) menu = menuBar()->addMenu(Q(MainMenuCaptionOfGroup(e.group)));
    QMenu* target = menu;
    // The font and colour commands stand in their own submenu of the View menu.
    if (e.id >= 1305 && e.id <= 1312) {
      if (!color_menu) {
        menu->addSeparator();
        color_menu = menu->addMenu(Q("フォント設定と色設定(&F)"));
        color_menu->setObjectName("MenuColor");
      }
      target = color_menu;
    }
    if (e.id == 1020) {
      // The recent files stand above the quit commands.
      menu->addSeparator();
      for (int n = 1; n <= 6; ++n) {
        QAction* r = menu->addAction(QString());
        r->setObjectName(QString("MenuRecent%1").arg(n));
        actions_[kRecentIdBase + n] = r;
        connect(r, &QAction::triggered, this, [this, n] { document_->MenuRecentClick(n); });
      }
    }
    AddCommand(target, e);
  }
  file_menu_ = menus[kGroupFile];
  // Radio groups show as such; clicking the checked item of an exclusive group keeps it.
  for (const auto& [first, last] :
       {std::pair{1301, 1303}, std::pair{1320, 1323}, std::pair{1324, 1325}, std::pair{1326, 1327},
        std::pair{1603, 1605}}) {
    auto* group = new QActionGroup(this);
    for (int id = first; id <= last; ++id) group->addAction(Action(id));
  }
}

QAction* TFormMain::Action(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

QAction* TFormMain::Action(std::string_view name) const {
  for (const auto& [id, a] : actions_)
    if (a->objectName() == Q(name)) return a;
  return nullptr;
}

void TFormMain::OnCommand(int id, std::function<void()> run) {
  QAction* a = Action(id);
  connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
}

void TFormMain::OnToggle(int id, bool& setting, std::function<void()> apply) {
  QAction* a = Action(id);
  connect(a, &QAction::triggered, this, [this, a, &setting, apply = std::move(apply)] {
    setting = a->isChecked();
    if (apply) apply();
  });
}

void TFormMain::WireCommands() {
  MainWindowDocument& d = *document_;
  EditorControl& c = editor_->Control();
  OnCommand(1001, [&d] { d.MenuNewFileClick(); });
  OnCommand(1002, [&d] { d.MenuOpenClick(); });
  OnCommand(1003, [&d] { d.MenuSaveClick(); });
  OnCommand(1004, [&d] { d.MenuSaveAsClick(); });
  OnToggle(1005, settings_.open_save_dialog_xp_style, nullptr);
  OnCommand(1006, [&d] { d.MenuReadAutoClick(); });
  for (int code = 1; code <= 7; ++code)
    OnCommand(1006 + code, [&d, code] { d.MenuReadCodeClick(static_cast<CharCode>(code)); });
  OnCommand(1020, [&d] { d.MenuSaveCloseClick(); });
  OnCommand(1021, [this] { close(); });

  OnCommand(1102, [&d] { d.MenuReadOnlyClick(); });
  OnCommand(1103, [this] {
    std::unique_ptr<QMenu> menu = editor_->CreatePopupMenu();
    menu->exec(editor_->mapToGlobal(
        editor_->inputMethodQuery(Qt::ImCursorRectangle).toRect().bottomLeft()));
  });
  OnToggle(1106, settings_.caret_move_next, [this] { ApplyViewOptions(); });
  OnToggle(1107, settings_.caret_move_free, [this] { ApplyViewOptions(); });
  OnToggle(1108, settings_.caret_auto_indent, [this] { ApplyViewOptions(); });
  OnCommand(1109, [&c] { c.KeyDown(EditorKey::Home, kCtrl); });
  OnCommand(1110, [&c] { c.KeyDown(EditorKey::End, kCtrl); });
  OnCommand(1111, [&c] { c.KeyDown(EditorKey::Home, kNoModifier); });
  OnCommand(1112, [&c] { c.KeyDown(EditorKey::End, kNoModifier); });

  OnCommand(1301, [this] { ChooseWrapMode(WrapMode::None); });
  OnCommand(1302, [this] { ChooseWrapMode(WrapMode::Length); });
  OnCommand(1303, [this] { ChooseWrapMode(WrapMode::WindowWidth); });
  OnCommand(1304, [this] { MenuSetMojiLengthClick(); });
  OnCommand(1305, [this] { ChooseFont(Protection::Writable); });
  OnCommand(1306, [this] { ChooseBackColor(Protection::Writable); });
  OnCommand(1307, [this] { ChooseColor(settings_.select_font_color); });
  OnCommand(1308, [this] { ChooseColor(settings_.select_back_color); });
  OnCommand(1309, [this] { ChooseColor(settings_.kigou_color); });
  OnCommand(1310, [this] { ChooseColor(settings_.under_line_color); });
  OnCommand(1311, [this] { ChooseFont(Protection::ReadOnly); });
  OnCommand(1312, [this] { ChooseBackColor(Protection::ReadOnly); });
  OnCommand(1601, [this] { ChooseColor(settings_.reserve_color); });
  auto view = [this] { ApplyViewOptions(); };
  OnToggle(1313, settings_.row_visible, view);
  OnToggle(1314, settings_.col_visible, view);
  OnToggle(1315, settings_.under_line_visible, view);
  OnToggle(1316, settings_.crlf_mark, view);
  OnToggle(1317, settings_.eof_mark, view);
  OnToggle(1318, settings_.tab_mark, view);
  OnToggle(1319, settings_.dbcs_mark, view);
  for (int w : {2, 4, 6, 8}) OnCommand(1320 + (w / 2 - 1), [this, w] { ChooseTabWidth(w); });
  OnCommand(1324, [this] { ChooseLineEndCounting(true); });
  OnCommand(1325, [this] { ChooseLineEndCounting(false); });
  OnCommand(1326, [this] { ChooseSelectionUnit(true); });
  OnCommand(1327, [this] { ChooseSelectionUnit(false); });
  OnCommand(1328,
            [this] { SetStatusBarVisible(StatusBarPosition::Top, Action(1328)->isChecked()); });
  OnCommand(1329,
            [this] { SetStatusBarVisible(StatusBarPosition::Bottom, Action(1329)->isChecked()); });

  OnToggle(1402, settings_.close_esc_key, nullptr);
  OnToggle(1403, settings_.close_enter_key, nullptr);
  OnToggle(1404, settings_.close_q_key, nullptr);
  OnToggle(1405, settings_.close_x_key, nullptr);
  OnCommand(1502, [&d] { d.MenuNewEditorClick(); });
  WireKeyCommands();
  // Opens the File menu itself instead of synthesising the key strokes that would.
  OnCommand(1704, [this] { menuBar()->setActiveAction(file_menu_->menuAction()); });
}

// Every check mark from the settings (radio pairs and groups included).
void TFormMain::SetChecks() {
  const MainSettings& s = settings_;
  const std::pair<int, bool> checks[] = {
      {1005, s.open_save_dialog_xp_style},
      {1106, s.caret_move_next},
      {1107, s.caret_move_free},
      {1108, s.caret_auto_indent},
      {1301, s.wrap == WrapMode::None},
      {1302, s.wrap == WrapMode::Length},
      {1303, s.wrap == WrapMode::WindowWidth},
      {1313, s.row_visible},
      {1314, s.col_visible},
      {1315, s.under_line_visible},
      {1316, s.crlf_mark},
      {1317, s.eof_mark},
      {1318, s.tab_mark},
      {1319, s.dbcs_mark},
      {1320, s.tab_width == 2},
      {1321, s.tab_width == 4},
      {1322, s.tab_width == 6},
      {1323, s.tab_width == 8},
      {1324, s.crlf_not_include},
      {1325, !s.crlf_not_include},
      {1326, s.select_length_char},
      {1327, !s.select_length_char},
      {1328, s.status_bar_top},
      {1329, s.status_bar_bottom},
      {1402, s.close_esc_key},
      {1403, s.close_enter_key},
      {1404, s.close_q_key},
      {1405, s.close_x_key},
      // Reserved-word display starts off.
      {1603, false},
      {1604, false},
      {1605, true},
  };
  for (const auto& [id, on] : checks) Action(id)->setChecked(on);
  Action(1304)->setEnabled(s.wrap == WrapMode::Length);
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
  const EditorScheme scheme = SchemeFor(settings_, p);
  editor_->SetEditorFont(FontOf(scheme.font));
  editor_->SetFontColor(scheme.font.color);
  editor_->SetColor(scheme.background);
  editor_->Leftbar().SetBkColor(scheme.background);
  editor_->Ruler().SetBkColor(scheme.background);
  editor_->Leftbar().SetColor(scheme.font.color);
  editor_->Ruler().SetColor(scheme.font.color);
  editor_->Ruler().SetMarkColor(scheme.font.color);
  tab_mark_color_ = TabMarkColor(settings_);
  dbcs_mark_color_ = DbcsMarkColor(settings_);
  editor_->viewport()->update();
}

void TFormMain::ApplyViewOptions() {
  const EditorViewOptions o = ViewOptionsFor(settings_);
  editor_->View().Colors().Reserve().SetColor(o.reserve_color);
  editor_->View().Colors().Select().SetColor(o.select_color);
  editor_->View().Colors().Select().SetBkColor(o.select_back_color);
  TEditorMarks& m = editor_->Marks();
  m.Underline.SetColor(o.under_line_color);
  m.Underline.SetVisible(o.under_line);
  m.RetMark.SetVisible(o.ret_mark);
  m.EofMark.SetVisible(o.eof_mark);
  m.RetMark.SetColor(o.mark_color);
  m.EofMark.SetColor(o.mark_color);
  TEditorLeftbar& l = editor_->Leftbar();
  l.SetVisible(o.left_bar);
  l.SetShowNumber(o.left_bar);
  l.SetZeroLead(o.left_bar);
  editor_->Ruler().SetVisible(o.ruler);
  tab_mark_color_ = o.tab_mark_color;
  dbcs_mark_color_ = o.dbcs_mark_color;
  TEditorCaret& caret = editor_->Caret();
  caret.AutoIndent = o.auto_indent;
  caret.NextLine = o.next_line;
  caret.FreeCaret = o.free_caret;
  caret.TabSpaceCount = o.tab_space_count;
  editor_->Control().CaretOptionsChanged();
  editor_->viewport()->update();
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
  document_->OpenCommandLine(args_);
  const KeyMapCheck check = key_map_replaced_ ? KeyMapCheck::Replaced : KeyMapCheck::Kept;
  if (StartupNoticeWanted(ReadStartupNoticeShow(ini_), check)) {
    notice_started_ = true;
    timer3_.start(100);
  }
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

void TFormMain::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  UpdatePanelWidths();
}

bool TFormMain::eventFilter(QObject* watched, QEvent* e) {
  // The editor's visible columns change after its own resize handling: re-wrap once the
  // events have settled, so a drag of the window edge lays the text out once.
  if (watched == editor_ && e->type() == QEvent::Resize && settings_.wrap == WrapMode::WindowWidth)
    rewrap_.start(0);
  return QMainWindow::eventFilter(watched, e);
}

void TFormMain::UpdatePanelWidths() {
  const int w0 = std::max(0, width() - kPanel0Reserve);
  for (auto& bar : panels_)
    if (bar[0]) bar[0]->setFixedWidth(w0);
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
  for (auto& bar : panels_) bar[static_cast<size_t>(panel)]->setText(Q(text));
}

QString TFormMain::PanelText(StatusBarId bar, int panel) const {
  return panels_[bar == StatusBarId::Top ? 0 : 1][static_cast<size_t>(panel)]->text();
}

int TFormMain::PanelWidth(StatusBarId bar, int panel) const {
  return panels_[bar == StatusBarId::Top ? 0 : 1][static_cast<size_t>(panel)]->width();
}

QStatusBar* TFormMain::StatusBar(StatusBarId bar) const {
  return bars_[bar == StatusBarId::Top ? 0 : 1];
}

void TFormMain::SetCaptionFileName(std::string_view file_name) {
  caption_file_ = std::string(file_name);
  UpdateCaption();
}

void TFormMain::UpdateCaption() {
  setWindowTitle(Q(WindowCaption(caption_file_, isActiveWindow())));
}

void TFormMain::SetReadMenuChecks(bool auto_detect, const std::array<bool, 7>& codes) {
  Action(1006)->setChecked(auto_detect);
  for (size_t i = 0; i < codes.size(); ++i)
    Action(1007 + static_cast<int>(i))->setChecked(codes[i]);
}

void TFormMain::SetReadOnlyChecked(bool checked) {
  Action(1102)->setChecked(checked);
  // The protection panel follows the mark, also when "/r" protects a freshly loaded file.
  SetStatusText(StatusPanel::Protection, checked ? kProtectedPanelText : "");
}

void TFormMain::SetRecentCaptions(const std::array<std::string, 6>& captions) {
  for (int n = 1; n <= 6; ++n) {
    QAction* a = Action(kRecentIdBase + n);
    a->setText(Q(captions[static_cast<size_t>(n - 1)]));
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
  QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
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

// ---- view commands ----

void TFormMain::ChooseWrapMode(WrapMode mode) {
  const int id = mode == WrapMode::None ? 1301 : mode == WrapMode::Length ? 1302 : 1303;
  if (settings_.wrap == mode) {
    Action(id)->setChecked(true);  // clicking the checked item leaves it checked
    return;
  }
  settings_.wrap = mode;
  for (int i = 1301; i <= 1303; ++i) Action(i)->setChecked(i == id);
  Action(1304)->setEnabled(mode == WrapMode::Length);
  WriteWrapMode(ini_, mode);
  ApplyWrapMode();
}

void TFormMain::MenuSetMojiLengthClick() {
  if (run_wrap_length && run_wrap_length() && settings_.wrap == WrapMode::Length) ApplyWrapMode();
  activateWindow();
}

void TFormMain::ChooseTabWidth(int width) {
  settings_.tab_width = width;
  for (int w : {2, 4, 6, 8}) Action(1320 + (w / 2 - 1))->setChecked(w == width);
  ApplyViewOptions();
}

void TFormMain::ChooseLineEndCounting(bool not_include) {
  settings_.crlf_not_include = not_include;
  Action(1324)->setChecked(not_include);
  Action(1325)->setChecked(!not_include);
  UpdateCharCount();
}

void TFormMain::ChooseSelectionUnit(bool chars) {
  settings_.select_length_char = chars;
  Action(1326)->setChecked(chars);
  Action(1327)->setChecked(!chars);
  UpdateCharCount();
}

void TFormMain::ChooseFont(Protection p) {
  FontChoice& target = p == Protection::ReadOnly ? settings_.font_read_only : settings_.font;
  const std::optional<FontChoice> chosen = choose_font ? choose_font(target) : std::nullopt;
  if (!chosen) return;
  target = *chosen;
  // The other scheme's choice waits until a document of that kind is shown.
  const bool shown = editor_->Control().ReadOnly() == (p == Protection::ReadOnly);
  if (shown) SetEditorColor();
  WriteFontChoice(ini_, p, target);
}

void TFormMain::ChooseBackColor(Protection p) {
  TColor& target =
      p == Protection::ReadOnly ? settings_.back_color_read_only : settings_.back_color;
  const std::optional<TColor> chosen = choose_color ? choose_color(target) : std::nullopt;
  if (!chosen) return;
  target = *chosen;
  const bool shown = editor_->Control().ReadOnly() == (p == Protection::ReadOnly);
  if (shown) SetEditorColor();
  ApplyViewOptions();  // hidden marks take the background colour
  WriteBackColor(ini_, p, target);
}

void TFormMain::ChooseColor(TColor& target) {
  const std::optional<TColor> chosen = choose_color ? choose_color(target) : std::nullopt;
  if (!chosen) return;
  target = *chosen;
  ApplyViewOptions();
}

void TFormMain::SetStatusBarVisible(StatusBarPosition bar, bool visible) {
  if (bar == StatusBarPosition::Top) {
    settings_.status_bar_top = visible;
    bars_[0]->setVisible(visible);
  } else {
    settings_.status_bar_bottom = visible;
    bars_[1]->setVisible(visible);
  }
  WriteStatusBarVisible(ini_, bar, visible);
}

// ---- row decorations ----

void TFormMain::Editor1DrawLine(EditorCanvas& canvas, const TDrawLineArgs& a) {
  const TEditorScreenStrings& doc = editor_->Document();
  const int32_t row = a.Index;
  const std::string_view next =
      row + 1 < editor_->Control().RowCount() ? editor_->Control().RowText(row + 1) : "";
  DecorationGeometry g;
  g.char_width = editor_->Metrics().char_width;
  g.row_height = editor_->Metrics().row_height;
  g.margin_line = editor_->Margin().Line();
  g.column0_x = a.X;
  g.tab_count = editor_->Caret().TabSpaceCount;
  g.rect_left = a.ARect.left;
  g.rect_right = a.ARect.right;
  // Rows without a TAB or a full-width blank are skipped before any state is computed.
  if (a.LineStr.find('\t') == std::string_view::npos &&
      a.LineStr.find(sjis::kFullWidthBlank) == std::string_view::npos)
    return;
  RowDecorations(editor_->View(), a.LineStr, next, RowStartState(doc, row), g, marks_);
  const TColor background = editor_->Color();
  for (const DecorationMark& m : marks_) {
    if (m.kind == DecorationKind::Tab) {
      const TabMarkShape s = TabMarkGeometry(m.x, a.Y, g);
      canvas.SetPen(DecorationColor(a.Selected, background, tab_mark_color_), s.pen_width);
      canvas.Line(s.upper.x1, s.upper.y1, s.upper.x2, s.upper.y2);
      canvas.Line(s.lower.x1, s.lower.y1, s.lower.x2, s.lower.y2);
    } else {
      const BlankMarkRect r = BlankMarkGeometry(m.x, a.Y, g);
      canvas.SetPen(DecorationColor(a.Selected, background, dbcs_mark_color_), 1);
      canvas.FrameRect(r.left, r.top, r.right, r.bottom);
    }
  }
}

}  // namespace tessary
