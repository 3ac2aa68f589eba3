// TFormMain: the program's main window, a thin shell over the document commands and settings.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/csv_list_utf_handoff.h"
#include "app/document_ports.h"
#include "app/editor_control_port.h"
#include "app/main_settings.h"
#include "app/main_window_document.h"
#include "app/ui/status_panels.h"
#include "commands/command_handlers.h"
#include "commands/command_table.h"
#include "commands/find_replace.h"
#include "commands/line_decorations.h"
#include "commands/reserved_words.h"
#include "commands/text_conversion_commands.h"
#include "platform/messages.h"
#include "platform/private_profile.h"
#include "platform/process_launcher.h"
#include "platform/window_list.h"
#include "viewers/ui/form_snippet.h"
#include "viewers/ui/log_entry_list.h"

class QAction;
class QActionGroup;
class QMenu;

namespace tessary {

class InputHold;

class TEditor;
class TFormOutLine;
class EditorCanvas;
struct TDrawLineArgs;
enum class KeyMapCheck;
class FileChoosers;
class QtFileChooserWindows;
// The key map's files, state and the menu's shortcut table, defined with the key map code.
struct FormMainKeyMap;
struct FormMainKeyMapDeleter {
  void operator()(FormMainKeyMap* k) const;
};

enum class StatusBarId { Top, Bottom };  // StatusBar2 at the top, StatusBar1 at the bottom

// The colours of the tab and the full-width blank marks.
struct MarkColors {
  TColor tab;
  TColor dbcs;
};
// Draws the tab and full-width blank marks of one drawn row of any editor; `marks` is scratch
// space kept between rows.
void DrawDecorationMarks(TEditor& editor, EditorCanvas& canvas, const TDrawLineArgs& args,
                         const MarkColors& colors, std::vector<DecorationMark>& marks);

// One document per window. Creation reads the settings and applies them; the first showing
// places the window, applies the key map and opens the command line's file; closing asks,
// remembers the caret, and destruction writes the settings and the lists.
class TFormMain final : public QMainWindow, private MainWindowPort, private ReservedWordsPort {
  Q_OBJECT

 public:
  // `args` are the command-line arguments after the program name.
  // `home` is the settings folder: the settings file and the working files live there.
  TFormMain(Messages& messages, AppHome home, std::vector<std::string> args,
            QWidget* parent = nullptr);
  ~TFormMain() override;

  // Shows the window in the state its placement records (normal, maximised or minimised).
  void ShowFirst();

  TEditor& Editor1() { return *editor_; }
  MainWindowDocument& Document() { return *document_; }
  const MainSettings& Settings() const { return settings_; }
  PrivateProfile& Ini() { return ini_; }
  // The menu item of a command, by id or by the item's name (recent items included).
  [[nodiscard]] QAction* Action(CommandId id) const;
  [[nodiscard]] QAction* Action(std::string_view name) const;
  // The recent file item `n`, 1 to 6; null for any other number.
  [[nodiscard]] QAction* RecentAction(int n) const;
  QMenu* FileMenu() const { return file_menu_; }
  QString PanelText(StatusBarId bar, int panel) const;
  int PanelWidth(StatusBarId bar, int panel) const;
  TStatusPanels* StatusBar(StatusBarId bar) const;
  // Where the placement put the window before any state change.
  const Rect& PlacedBounds() const { return placed_bounds_; }
  // Whether the start-up check replaced a key map file that did not fit the command table.
  bool KeyMapReplaced() const { return key_map_replaced_; }
  // The outline window, created by the first outline command; null before.
  TFormOutLine* OutlineWindow() const { return outline_.get(); }
  bool NoticeTimerStarted() const { return notice_started_; }

  // The platform choosers, replaceable for tests: a font (name, size, colour), a colour, an
  // open and a save-as choice. Each returns nothing when cancelled.
  std::function<std::optional<FontChoice>(const FontChoice&)> choose_font;
  std::function<std::optional<TColor>(TColor)> choose_color;
  std::function<std::optional<OpenChoice>()> choose_open_file;
  std::function<std::optional<SaveChoice>(CharCode, RetCode)> choose_save_as_file;
  // The reserved-word file: a plain open dialog without a filter.
  std::function<std::optional<std::string>(const ChooserStart&)> choose_word_file;
  // The start-up notice for the key map's situation; by default the modal notice window.
  std::function<void(KeyMapCheck)> show_startup_notice;
  // Called once the command line's file is loaded (for the start-up benchmark).
  std::function<void()> first_show_finished;
  // Command-line files from this size on have their start painted before they load.
  uint64_t preview_bytes = MainWindowDocument::kPreviewBytes;
  // Runs the wrap-length window; by default modal. True when it closed with OK.
  std::function<bool()> run_wrap_length;
  // Runs the tab window opened on the editor's tab width; by default modal. True when it
  // closed with OK, having stored the blanks per TAB.
  RunTabWindow run_replace_tab;
  // Starts launchers, companions and new editor processes; replaceable for tests.
  std::unique_ptr<ProcessLauncher> process_launcher = std::make_unique<PosixProcessLauncher>();
  // The other windows of the session for the choosers; by default the window system's own.
  std::function<std::unique_ptr<WindowList>()> window_list;
  // Loads the Unicode CSV library, by default "CsvListUtf.so" beside the executable; both
  // replaceable for tests.
  std::unique_ptr<LibraryLoader> library_loader = std::make_unique<SystemLibraryLoader>();
  std::string csv_list_utf_library;

  // ---- handlers, public so that tests drive them as the menu does ----
  void Editor1CaretMoved();
  void UpdateCharCount();
  void SetEditorColor();
  void ApplyWrapMode();
  void MenuSetMojiLengthClick();
  void Timer3Timer();
  // The files of a drop, as the drop event hands them over.
  void DropFiles(const std::vector<std::string>& paths) { document_->DropFiles(paths); }

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // MainWindowPort
  void SetStatusText(StatusPanel panel, std::string_view text) override;
  void SetCaptionFileName(std::string_view file_name) override;
  void SetReadMenuChecks(bool auto_detect, const std::array<bool, 7>& codes) override;
  void SetReadOnlyChecked(bool checked) override;
  void SetRecentCaptions(const std::array<std::string, 6>& captions) override;
  void CloseOutline() override;
  void StartTimer(MainTimer timer, int milliseconds) override;
  void CloseWindow() override { close(); }
  std::optional<OpenChoice> ChooseOpenFile() override;
  std::optional<SaveChoice> ChooseSaveAsFile(CharCode code, RetCode ret) override;
  void StartNewEditorProcess() override;
  // ReservedWordsPort
  std::optional<std::string> ChooseWordFile(const ChooserStart& start) override;
  std::optional<TColor> ChooseReserveColor(TColor current) override;
  TColor NormalBackColor() const override { return settings_.back_color; }
  void SetReserveChecks(ReserveMode mode) override;
  void SetWordFilePanel(std::string_view file_name) override;

  // Building.
  void BuildStatusBars();
  void BuildMenus();
  QAction* AddCommand(QMenu* menu, const CommandEntry& entry);
  void AddRecentItems(QMenu* menu);
  // Every handler is registered before the items are enabled by EnableRegisteredCommands.
  void RegisterHandlers();
  void RegisterFileHandlers();
  void RegisterEditHandlers();
  void RegisterViewHandlers();
  void RegisterKeyHandlers();
  void RegisterConversionHandlers();
  void RegisterSearchHandlers();
  void RegisterReserveHandlers();
  void RegisterToolHandlers();
  void RegisterSnippetHandlers();
  // Launchers, favourites, companions, choosers and the version window (form_main_extern.cpp).
  void RegisterExternalHandlers();
  void SetMenuLauncher();
  void SetMenuFavorite();
  int64_t CaretLineNumber() const;
  // A check item whose handler copies its new mark into `setting`, then runs `apply`.
  void HandleToggle(CommandId id, bool& setting, std::function<void()> apply);
  void EnableRegisteredCommands();
  void SetChecks();
  void ApplyEditorSettings();
  void ApplyViewOptions();
  void ApplyScheme(TEditor& editor, Protection p) const;
  void ApplyViewTo(TEditor& editor) const;
  void StyleSnippetEditor(TEditor& editor, SnippetPane pane) const;
  void StyleLogPane(TEditor& editor, LogPane pane) const;
  void ApplyPlacement();
  void FirstShow();
  void FinishFirstShow();
  // The key map side (kept apart: its header and the notice's both name the replaced-map text).
  void RegisterShortcut(int id, QAction* action);
  void KeepTableCaption(CommandId id);
  void CreateKeyMap();
  void StartKeyMap();
  void UpdateCaption();

  // View commands.
  void ChooseWrapMode(WrapMode mode);
  void ChooseTabWidth(int width);
  void ChooseLineEndCounting(bool not_include);
  void ChooseSelectionUnit(bool chars);
  void ChooseFont(Protection p);
  void ChooseBackColor(Protection p);
  void ChooseColor(TColor& target);
  void SetStatusBarVisible(StatusBarPosition bar, bool visible);

  // Search commands: the find or replace window modally over the main editor; afterwards the
  // word last searched there is the word of F3 and Shift+F3.
  void OpenFindWindow(FindWindow kind, std::string word);
  // The text- or file-snippet window modally over the main editor (not on a protected one).
  void OpenSnippetWindow(CommandId which);
  void OpenCsvList();
  // The board log or the history viewer over a copy of the document's lines; the log's name is
  // stored for the next opening.
  enum class LogViewer { Board, History };
  void OpenLogViewer(LogViewer which);
  void OpenBinary();
  void SelectCaretWord();
  void CopyCaretLine();
  void Editor1DrawLine(EditorCanvas& canvas, const TDrawLineArgs& args);
  QFont FontOf(const FontChoice& f) const;
  MainSettings CurrentSettings() const;

  Messages& messages_;
  AppHome home_;
  std::vector<std::string> args_;
  PrivateProfile ini_;
  MainSettings settings_;
  TEditor* editor_ = nullptr;
  std::unique_ptr<EditorControlPort> editor_port_;
  std::unique_ptr<MainWindowDocument> document_;
  std::unique_ptr<QtFileChooserWindows> chooser_windows_;
  std::unique_ptr<FileChoosers> choosers_;
  std::unique_ptr<TextConversionCommands> conversions_;
  std::unique_ptr<ReservedWords> reserved_;
  std::unique_ptr<TFormOutLine> outline_;
  // Made by the first use of the Unicode CSV command; closes the library at exit.
  std::unique_ptr<CsvListUtfHandoff> csv_list_utf_;

  CommandHandlers handlers_;
  MainSearch search_{home_, messages_};
  std::map<CommandId, QAction*> actions_;
  std::array<QAction*, 6> recent_{};
  std::unique_ptr<FormMainKeyMap, FormMainKeyMapDeleter> keys_;
  bool key_map_replaced_ = false;
  QMenu* file_menu_ = nullptr;
  std::array<TStatusPanels*, 2> bars_{};  // StatusBar2 (top), StatusBar1 (bottom)

  QTimer timer1_, timer2_, timer3_, rewrap_;
  // While the start of a long file is shown: input held back, and the load after the first
  // paint (or after a while, should no paint come, as for a minimised window).
  std::unique_ptr<InputHold> input_hold_;
  QTimer load_after_paint_;
  std::string caption_file_;
  Rect placed_bounds_;
  bool shown_once_ = false;
  bool notice_started_ = false;
  TColor tab_mark_color_ = clBlue;
  TColor dbcs_mark_color_ = clBlue;
  std::vector<DecorationMark> marks_;
};

}  // namespace tessary
