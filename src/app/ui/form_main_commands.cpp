// The main window's command handlers, the view commands they run, and the check marks that
// follow the window's settings.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <utility>

#include "app/status_texts.h"
#include "app/ui/form_main.h"
#include "codec/char_code.h"
#include "codec/sjis_text.h"
#include "commands/caret_word.h"
#include "commands/jump.h"
#include "commands/ui/form_find.h"
#include "commands/ui/form_help.h"
#include "commands/ui/form_jump.h"
#include "commands/ui/form_outline.h"
#include "commands/ui/form_pilka_key_board_map.h"
#include "commands/ui/form_replace.h"
#include "editor/editor_control.h"
#include "editor/ui/editor.h"
#include "platform/settings_values.h"
#include "platform/ui/qt_clipboard.h"
#include "platform/ui/qt_conversions.h"
#include "viewers/board_log.h"
#include "viewers/ui/form_binary.h"
#include "viewers/ui/form_csv_list.h"
#include "viewers/ui/form_ostr_board.h"
#include "viewers/ui/form_ostr_history.h"
#include "viewers/ui/form_snippet_file.h"

namespace tessary {
namespace {

// A viewer's font item asks the main window's font chooser with the viewer's own look; the
// chosen name, size and colour come back in that look, the rest of it unchanged.
template <class Look>
std::function<std::optional<Look>(const Look&)> LookFontChooser(
    const std::function<std::optional<FontChoice>(const FontChoice&)>& choose_font) {
  return [choose_font](const Look& look) -> std::optional<Look> {
    const std::optional<FontChoice> f =
        choose_font ? choose_font({look.font_name, look.font_size, look.font_color}) : std::nullopt;
    if (!f) return std::nullopt;
    Look chosen = look;
    chosen.font_name = f->name;
    chosen.font_size = f->size;
    chosen.font_color = f->color;
    return chosen;
  };
}

// The read-code items in the order of the codes, CharCode::SJIS (1) to CharCode::UTF16Le (7).
constexpr std::array<CommandId, 7> kReadCodeItems = {
    CommandId::MenuReadSJIS,       CommandId::MenuReadUTF8Bom, CommandId::MenuReadUTF8,
    CommandId::MenuReadUTF16BomBe, CommandId::MenuReadUTF16Be, CommandId::MenuReadUTF16BomLe,
    CommandId::MenuReadUTF16Le};

constexpr std::array<std::pair<WrapMode, CommandId>, 3> kWrapItems = {{
    {WrapMode::None, CommandId::MenuWrapNone},
    {WrapMode::Length, CommandId::MenuWrapLength},
    {WrapMode::WindowWidth, CommandId::MenuWrapWindowWidth},
}};

constexpr std::array<std::pair<int, CommandId>, 4> kTabWidthItems = {{
    {2, CommandId::MenuTab2},
    {4, CommandId::MenuTab4},
    {6, CommandId::MenuTab6},
    {8, CommandId::MenuTab8},
}};

CommandId WrapItem(WrapMode mode) {
  for (const auto& [m, id] : kWrapItems)
    if (m == mode) return id;
  return CommandId::MenuWrapWindowWidth;
}

}  // namespace

void TFormMain::HandleToggle(CommandId id, bool& setting, std::function<void()> apply) {
  handlers_.Register(id, [this, id, &setting, apply = std::move(apply)] {
    setting = Action(id)->isChecked();
    if (apply) apply();
  });
}

void TFormMain::RegisterHandlers() {
  RegisterFileHandlers();
  RegisterEditHandlers();
  RegisterViewHandlers();
  RegisterKeyHandlers();
  RegisterConversionHandlers();
  RegisterSearchHandlers();
  RegisterReserveHandlers();
  RegisterToolHandlers();
  RegisterSnippetHandlers();
  RegisterExternalHandlers();
  using enum CommandId;
  HandleToggle(MenuCloseESCkey, settings_.close_esc_key, nullptr);
  HandleToggle(MenuCloseENTERkey, settings_.close_enter_key, nullptr);
  HandleToggle(MenuCloseQkey, settings_.close_q_key, nullptr);
  HandleToggle(MenuCloseXkey, settings_.close_x_key, nullptr);
  handlers_.Register(MenuNewEditor, [this] { document_->MenuNewEditorClick(); });
  // Opens the File menu itself instead of synthesising the key strokes that would.
  handlers_.Register(MenuFileOpen,
                     [this] { menuBar()->setActiveAction(file_menu_->menuAction()); });
  // The document's text is read anew for every paste, so edits made meanwhile are seen.
  handlers_.Register(MenuPilkaKeyBoarsMap, [this] {
    EditorControl& c = editor_->Control();
    ShowPilkaKeyBoardMap(
        this, [&c] { return c.Lines().GetTextStr(); }, editor_->SystemClipboard(), messages_);
    activateWindow();
  });
}

// Items of features still to come have no handler and stay visible but disabled. The wrap
// length item, registered, is further enabled only while wrapping at the wrap length.
void TFormMain::EnableRegisteredCommands() {
  for (const auto& [id, a] : actions_) a->setEnabled(handlers_.Registered(id));
}

void TFormMain::RegisterFileHandlers() {
  using enum CommandId;
  MainWindowDocument& d = *document_;
  handlers_.Register(MenuNewFile, [&d] { d.MenuNewFileClick(); });
  handlers_.Register(MenuOpen, [&d] { d.MenuOpenClick(); });
  handlers_.Register(MenuSave, [&d] { d.MenuSaveClick(); });
  handlers_.Register(MenuSaveAs, [&d] { d.MenuSaveAsClick(); });
  HandleToggle(MenuOpenSaveDialogXpStyle, settings_.open_save_dialog_xp_style, nullptr);
  handlers_.Register(MenuReadAuto, [&d] { d.MenuReadAutoClick(); });
  for (size_t i = 0; i < kReadCodeItems.size(); ++i) {
    const auto code = static_cast<CharCode>(i + 1);
    handlers_.Register(kReadCodeItems[i], [&d, code] { d.MenuReadCodeClick(code); });
  }
  handlers_.Register(MenuSaveClose, [&d] { d.MenuSaveCloseClick(); });
  handlers_.Register(MenuClose, [this] { close(); });
}

void TFormMain::RegisterEditHandlers() {
  using enum CommandId;
  EditorControl& c = editor_->Control();
  handlers_.Register(MenuReadOnly, [this] { document_->MenuReadOnlyClick(); });
  handlers_.Register(MenuPopUpShow, [this] {
    std::unique_ptr<QMenu> menu = editor_->CreatePopupMenu();
    menu->exec(editor_->mapToGlobal(
        editor_->inputMethodQuery(Qt::ImCursorRectangle).toRect().bottomLeft()));
  });
  auto view = [this] { ApplyViewOptions(); };
  HandleToggle(MenuCaretMoveNext, settings_.caret_move_next, view);
  HandleToggle(MenuCaretMoveFree, settings_.caret_move_free, view);
  HandleToggle(MenuCaretAutoIndent, settings_.caret_auto_indent, view);
  handlers_.Register(MenuMoveDocumentTop, [&c] { c.KeyDown(EditorKey::Home, kCtrl); });
  handlers_.Register(MenuMoveDocumentEnd, [&c] { c.KeyDown(EditorKey::End, kCtrl); });
  handlers_.Register(MenuMoveLineTop, [&c] { c.KeyDown(EditorKey::Home, kNoModifier); });
  handlers_.Register(MenuMoveLineEnd, [&c] { c.KeyDown(EditorKey::End, kNoModifier); });
}

constexpr std::array<std::pair<CommandId, TextConversion>, 5> kConversionItems = {{
    {CommandId::MenuReplaceTab, TextConversion::TabsToBlanks},
    {CommandId::MenuUpperCase, TextConversion::UpperCase},
    {CommandId::MenuLowerCase, TextConversion::LowerCase},
    {CommandId::MenuZenToHan, TextConversion::ZenToHan},
    {CommandId::MenuHanToZen, TextConversion::HanToZen},
}};

// The tab window is reached through run_replace_tab when the command runs, so that tests may
// replace it after the window is built.
void TFormMain::RegisterConversionHandlers() {
  conversions_ = std::make_unique<TextConversionCommands>(
      editor_->Control(), messages_, ini_,
      [this](int tab_width) { return run_replace_tab && run_replace_tab(tab_width); });
  for (const auto& [id, conversion] : kConversionItems)
    handlers_.Register(id, [this, k = conversion] { conversions_->Run(k); });
}

void TFormMain::RegisterViewHandlers() {
  using enum CommandId;
  for (const auto& [mode, id] : kWrapItems)
    handlers_.Register(id, [this, mode] { ChooseWrapMode(mode); });
  handlers_.Register(MenuSetMojiLength, [this] { MenuSetMojiLengthClick(); });
  handlers_.Register(MenuFontColor, [this] { ChooseFont(Protection::Writable); });
  handlers_.Register(MenuBackColor, [this] { ChooseBackColor(Protection::Writable); });
  handlers_.Register(MenuSelectColor, [this] { ChooseColor(settings_.select_font_color); });
  handlers_.Register(MenuSelectBackColor, [this] { ChooseColor(settings_.select_back_color); });
  handlers_.Register(MenuKigouColor, [this] { ChooseColor(settings_.kigou_color); });
  handlers_.Register(MenuUnderLineColor, [this] { ChooseColor(settings_.under_line_color); });
  handlers_.Register(MenuFontColorReadOnly, [this] { ChooseFont(Protection::ReadOnly); });
  handlers_.Register(MenuBackColorReadOnly, [this] { ChooseBackColor(Protection::ReadOnly); });
  auto view = [this] { ApplyViewOptions(); };
  HandleToggle(MenuRow, settings_.row_visible, view);
  HandleToggle(MenuColumn, settings_.col_visible, view);
  HandleToggle(MenuShowUnderLine, settings_.under_line_visible, view);
  HandleToggle(MenuCrLf, settings_.crlf_mark, view);
  HandleToggle(MenuEof, settings_.eof_mark, view);
  HandleToggle(MenuTab, settings_.tab_mark, view);
  HandleToggle(MenuDBCS, settings_.dbcs_mark, view);
  for (const auto& [width, id] : kTabWidthItems)
    handlers_.Register(id, [this, w = width] { ChooseTabWidth(w); });
  handlers_.Register(MenuCrLfNotInclude, [this] { ChooseLineEndCounting(true); });
  handlers_.Register(MenuCrlfInclude, [this] { ChooseLineEndCounting(false); });
  handlers_.Register(MenuSelectLengthChar, [this] { ChooseSelectionUnit(true); });
  handlers_.Register(MenuSelctLengthByte, [this] { ChooseSelectionUnit(false); });
  handlers_.Register(MenuStatusBarTopVisible, [this] {
    SetStatusBarVisible(StatusBarPosition::Top, Action(MenuStatusBarTopVisible)->isChecked());
  });
  handlers_.Register(MenuStatusBarBottomVisible, [this] {
    SetStatusBarVisible(StatusBarPosition::Bottom, Action(MenuStatusBarBottomVisible)->isChecked());
  });
}

void TFormMain::RegisterSearchHandlers() {
  using enum CommandId;
  EditorControl& c = editor_->Control();
  handlers_.Register(MenuSearchWord,
                     [this, &c] { OpenFindWindow(FindWindow::Find, search_.WordForFind(c)); });
  handlers_.Register(MenuSearchWordOneLine,
                     [this, &c] { OpenFindWindow(FindWindow::Find, search_.LineForFind(c)); });
  handlers_.Register(MenuSearchNext,
                     [this, &c] { (void)search_.Search(c, SearchDirection::Next); });
  handlers_.Register(MenuSearchPrev,
                     [this, &c] { (void)search_.Search(c, SearchDirection::Previous); });
  handlers_.Register(MenuReplaceWord, [this, &c] {
    if (std::optional<std::string> word = search_.WordForReplace(c))
      OpenFindWindow(FindWindow::Replace, std::move(*word));
  });
  handlers_.Register(MenuJump, [this, &c] {
    (void)RunJump(this, home_, c);
    activateWindow();
  });
  handlers_.Register(MenuCopyOneLine, [this] { CopyCaretLine(); });
  handlers_.Register(MenuSelectWord, [this] { SelectCaretWord(); });
  editor_->OnDblClick = [this](TEditor&) { SelectCaretWord(); };
}

// The mode items are a radio group over the model's mode; the model says which one holds.
constexpr std::array<std::pair<ReserveMode, CommandId>, 3> kReserveModeItems = {{
    {ReserveMode::NoSet, CommandId::MenuReseveNoSet},
    {ReserveMode::ReserveSet, CommandId::MenuReseveReserveSet},
    {ReserveMode::IniSet, CommandId::MenuReseveIniSet},
}};

void TFormMain::RegisterReserveHandlers() {
  using enum CommandId;
  ReservedWordsPort& port = *this;
  reserved_ = std::make_unique<ReservedWords>(editor_->View(), editor_->Control(), port, messages_,
                                              ini_, settings_.reserve_folder_file);
  ReservedWords& r = *reserved_;
  handlers_.Register(MenuReserveColor, [this, &r] {
    r.MenuReserveColorClick();
    settings_.reserve_color = r.ReserveColor();  // written at shut-down
  });
  handlers_.Register(MenuReserveRead, [&r] { r.MenuReserveReadClick(); });
  handlers_.Register(MenuReseveIniSet, [&r] { r.MenuReseveIniSetClick(); });
  handlers_.Register(MenuReseveReserveSet, [&r] { r.MenuReseveReserveSetClick(); });
  handlers_.Register(MenuReseveNoSet, [&r] { r.MenuReseveNoSetClick(); });
}

std::optional<std::string> TFormMain::ChooseWordFile(const ChooserStart& start) {
  const std::optional<std::string> chosen =
      choose_word_file ? choose_word_file(start) : std::nullopt;
  activateWindow();
  return chosen;
}

std::optional<TColor> TFormMain::ChooseReserveColor(TColor current) {
  return choose_color ? choose_color(current) : std::nullopt;
}

void TFormMain::SetReserveChecks(ReserveMode mode) {
  for (const auto& [m, id] : kReserveModeItems) Action(id)->setChecked(m == mode);
}

void TFormMain::SetWordFilePanel(std::string_view file_name) {
  SetStatusText(StatusPanel::WordFile, file_name);
}

// The outline window lives from its first showing to the end of the run, hidden in between;
// loading a document closes it.
void TFormMain::RegisterToolHandlers() {
  handlers_.Register(CommandId::MenuShowOutLine, [this] {
    if (!OutlineHasText(editor_->Control(), messages_)) return;
    if (!outline_) outline_ = std::make_unique<TFormOutLine>(this, ini_, home_, editor_->Control());
    outline_->ShowOutline();
  });
  handlers_.Register(CommandId::MenuShowCsvList, [this] {
    OpenCsvList();
    activateWindow();
  });
  handlers_.Register(CommandId::MenuShowBinary, [this] {
    OpenBinary();
    activateWindow();
  });
  handlers_.Register(CommandId::MenuShowHelp, [this] {
    ShowHelpWindow(this, ini_, home_);
    activateWindow();
  });
  handlers_.Register(CommandId::MenuOstrBoard, [this] {
    OpenLogViewer(LogViewer::Board);
    activateWindow();
  });
  handlers_.Register(CommandId::MenuOstrHistory, [this] {
    OpenLogViewer(LogViewer::History);
    activateWindow();
  });
  handlers_.Register(CommandId::MenuOstrBoardSeikei,
                     [this] { (void)MenuOstrBoardSeikeiClick(editor_->Control(), messages_); });
}

// The viewer reads a copy of the lines, so its panes and index never depend on the editor's
// rows; the settings carry the log's name from one opening to the next.
void TFormMain::OpenLogViewer(LogViewer which) {
  EditorControl& c = editor_->Control();
  const std::string_view section = which == LogViewer::Board ? "OstrBoard" : "OstrHistory";
  const std::string& file = document_->CodeState().FileName;
  const std::string stored = ini_.ReadString(section, "FileName", "");
  if (MayOpenLogViewer(c.TextLength() == 0, stored, Utf8ToSjis(file), messages_) != Proceed::Yes)
    return;
  const TextLines log = DocumentLines(c);
  LogViewerArgs args{
      ini_,
      home_,
      messages_,
      log,
      file,
      [this](TEditor& e, LogPane p) { StyleLogPane(e, p); },
      settings_.row_visible ? PaneNumbers::Hidden : PaneNumbers::Shown,
      settings_.wrap == WrapMode::WindowWidth ? PaneWrap::WindowWidth : PaneWrap::None};
  if (which == LogViewer::Board)
    TFormOstrBoard(this, std::move(args)).exec();
  else
    TFormOstrHistory(this, std::move(args)).exec();
  ini_.WriteString(section, "FileName", Utf8ToSjis(file)).IgnoreFailure();
}

// The caret line goes to the list through CsvList/LineNum and comes back from there: the list
// writes the line of its selected row when it closes.
void TFormMain::OpenCsvList() {
  EditorControl& c = editor_->Control();
  if (c.LineCount() == 0) return messages_.ShowMessage(std::string(csv_text::kNoFile));
  const int32_t caret_line = c.RowToLine(c.CaretRow());
  StoreCsvListLine(ini_, caret_line).IgnoreFailure();  // the list then starts at its top
  const DocumentCsvLines lines(c.Document());
  TFormCsvList form(this, {ini_, home_, messages_, lines, caret_line});
  form.choose_font = LookFontChooser<CsvListLook>(choose_font);
  form.choose_color = choose_color;
  form.exec();
  const int32_t line = JumpToLineIndex(c, StoredCsvListLine(ini_, c.LineCount()));
  c.SetTopRow(c.LineToRow(line));
}

// The dump opens at the file byte of the caret's character and the caret comes back to the
// character of the byte last shown: the offset is translated between the editor's text and
// the file for the document's code and line end, and handed over through Binary/SelStart.
void TFormMain::OpenBinary() {
  EditorControl& c = editor_->Control();
  if (c.Modified()) return messages_.ShowMessage(std::string(binary_text::kModified));
  const DocumentCodeState& state = document_->CodeState();
  const DocumentCsvLines lines(c.Document());
  uint64_t offset = 0;
  if (c.LineCount() > 0) {
    const int64_t at = c.SelStart();
    const int32_t line = c.LineFromChar(at);
    offset =
        FileOffsetOfPlace(lines, {line, at - c.LineIndex(line)}, state.ReadCode, state.ReadRetCode);
  }
  StoreBinaryOffset(ini_, offset).IgnoreFailure();
  TFormBinary form(this, {ini_, home_, messages_, state.FileName, state.ReadCode});
  form.choose_font = LookFontChooser<BinaryLook>(choose_font);
  form.choose_color = choose_color;
  form.exec();
  const uint64_t shown = StoredBinaryOffset(ini_, offset);
  if (shown == offset || c.LineCount() == 0) return;
  const TextPlace place = PlaceOfFileOffset(lines, shown, state.ReadCode, state.ReadRetCode);
  c.SetSelStart(c.LineIndex(place.line) + place.byte);
}

void TFormMain::CloseOutline() {
  if (outline_ && outline_->isVisible()) outline_->reject();
}

void TFormMain::OpenFindWindow(FindWindow kind, std::string word) {
  EditorControl& c = editor_->Control();
  std::unique_ptr<TFormFind> form;
  if (kind == FindWindow::Find)
    form = std::make_unique<TFormFind>(this, ini_, home_, messages_, c, kind, std::move(word));
  else
    form = std::make_unique<TFormReplace>(this, ini_, home_, messages_, c, std::move(word));
  form->exec();
  search_.TakeBack(form->Model());
  activateWindow();
}

void TFormMain::RegisterSnippetHandlers() {
  using enum CommandId;
  handlers_.Register(MenuShowSnippet, [this] { OpenSnippetWindow(MenuShowSnippet); });
  handlers_.Register(MenuShowSnippetFile, [this] { OpenSnippetWindow(MenuShowSnippetFile); });
}

void TFormMain::OpenSnippetWindow(CommandId which) {
  EditorControl& c = editor_->Control();
  if (PrepareSnippetWindow(c, messages_) != Leaving::Allowed) return;
  SnippetWindowArgs args{
      ini_, home_, messages_, c, editor_->SystemClipboard(), [this](TEditor& e, SnippetPane p) {
        StyleSnippetEditor(e, p);
      }};
  if (which == CommandId::MenuShowSnippet)
    TFormSnippet(this, std::move(args)).exec();
  else
    TFormSnippetFile(this, std::move(args)).exec();
  activateWindow();
}

void TFormMain::SelectCaretWord() {
  EditorControl& c = editor_->Control();
  if (c.RowCount() == 0) return;
  const CaretLine line = CaretLineOf(c);
  const CaretWord word = WordAroundCaret(line.line_text, line.caret);
  c.SetSelStart(c.LineIndex(line.line) + static_cast<int64_t>(word.start));
  c.SetSelLength(static_cast<int64_t>(word.length));
}

void TFormMain::CopyCaretLine() {
  const CaretLine line = CaretLineOf(editor_->Control());
  QApplication::clipboard()->setText(Q(SjisToUtf8(line.line_text)));
}

// Every check mark from the settings (radio pairs and groups included).
void TFormMain::SetChecks() {
  using enum CommandId;
  const MainSettings& s = settings_;
  const std::pair<CommandId, bool> checks[] = {
      {MenuOpenSaveDialogXpStyle, s.open_save_dialog_xp_style},
      {MenuCaretMoveNext, s.caret_move_next},
      {MenuCaretMoveFree, s.caret_move_free},
      {MenuCaretAutoIndent, s.caret_auto_indent},
      {MenuRow, s.row_visible},
      {MenuColumn, s.col_visible},
      {MenuShowUnderLine, s.under_line_visible},
      {MenuCrLf, s.crlf_mark},
      {MenuEof, s.eof_mark},
      {MenuTab, s.tab_mark},
      {MenuDBCS, s.dbcs_mark},
      {MenuCrLfNotInclude, s.crlf_not_include},
      {MenuCrlfInclude, !s.crlf_not_include},
      {MenuSelectLengthChar, s.select_length_char},
      {MenuSelctLengthByte, !s.select_length_char},
      {MenuStatusBarTopVisible, s.status_bar_top},
      {MenuStatusBarBottomVisible, s.status_bar_bottom},
      {MenuCloseESCkey, s.close_esc_key},
      {MenuCloseENTERkey, s.close_enter_key},
      {MenuCloseQkey, s.close_q_key},
      {MenuCloseXkey, s.close_x_key},
  };
  for (const auto& [id, on] : checks) Action(id)->setChecked(on);
  SetReserveChecks(reserved_->Mode());
  for (const auto& [mode, id] : kWrapItems) Action(id)->setChecked(s.wrap == mode);
  for (const auto& [width, id] : kTabWidthItems) Action(id)->setChecked(s.tab_width == width);
  Action(MenuSetMojiLength)->setEnabled(s.wrap == WrapMode::Length);
}

void TFormMain::SetReadMenuChecks(bool auto_detect, const std::array<bool, 7>& codes) {
  Action(CommandId::MenuReadAuto)->setChecked(auto_detect);
  // From the last code to the first: should the settings hold several, the exclusive group
  // keeps the first, the one that loading uses.
  for (size_t i = codes.size(); i-- > 0;) Action(kReadCodeItems[i])->setChecked(codes[i]);
}

void TFormMain::SetReadOnlyChecked(bool checked) {
  Action(CommandId::MenuReadOnly)->setChecked(checked);
  // The protection panel follows the mark, also when "/r" protects a freshly loaded file.
  SetStatusText(StatusPanel::Protection, checked ? kProtectedPanelText : "");
}

// ---- view commands ----

void TFormMain::ChooseWrapMode(WrapMode mode) {
  Action(WrapItem(mode))->setChecked(true);  // the group unchecks the other modes
  if (settings_.wrap == mode) return;
  settings_.wrap = mode;
  Action(CommandId::MenuSetMojiLength)->setEnabled(mode == WrapMode::Length);
  WriteWrapMode(ini_, mode).IgnoreFailure();  // written again at shut-down
  ApplyWrapMode();
}

void TFormMain::MenuSetMojiLengthClick() {
  if (run_wrap_length && run_wrap_length() && settings_.wrap == WrapMode::Length) ApplyWrapMode();
  activateWindow();
}

void TFormMain::ChooseTabWidth(int width) {
  settings_.tab_width = width;
  for (const auto& [w, id] : kTabWidthItems) Action(id)->setChecked(w == width);
  ApplyViewOptions();
}

void TFormMain::ChooseLineEndCounting(bool not_include) {
  settings_.crlf_not_include = not_include;
  Action(CommandId::MenuCrLfNotInclude)->setChecked(not_include);
  Action(CommandId::MenuCrlfInclude)->setChecked(!not_include);
  UpdateCharCount();
}

void TFormMain::ChooseSelectionUnit(bool chars) {
  settings_.select_length_char = chars;
  Action(CommandId::MenuSelectLengthChar)->setChecked(chars);
  Action(CommandId::MenuSelctLengthByte)->setChecked(!chars);
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
  WriteFontChoice(ini_, p, target).IgnoreFailure();  // written again at shut-down
}

void TFormMain::ChooseBackColor(Protection p) {
  TColor& target =
      p == Protection::ReadOnly ? settings_.back_color_read_only : settings_.back_color;
  const std::optional<TColor> chosen = choose_color ? choose_color(target) : std::nullopt;
  if (!chosen) return;
  target = *chosen;
  const bool shown = editor_->Control().ReadOnly() == (p == Protection::ReadOnly);
  if (shown) SetEditorColor();
  ApplyViewOptions();                               // hidden marks take the background colour
  WriteBackColor(ini_, p, target).IgnoreFailure();  // written again at shut-down
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
  WriteStatusBarVisible(ini_, bar, visible).IgnoreFailure();  // written again at shut-down
}

}  // namespace tessary
