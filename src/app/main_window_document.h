// The main window's document: its code state, loading, saving, the document commands and lists.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/document_ports.h"
#include "app/file_lists.h"
#include "app/main_settings.h"
#include "codec/char_code.h"
#include "codec/document_code_state.h"
#include "codec/document_loader.h"
#include "platform/app_home.h"
#include "platform/messages.h"
#include "platform/private_profile.h"

namespace tessary {

// Messages of the document commands, exact (UTF-8).
inline constexpr std::string_view kDetectFileMissingMessage = "Error : ファイルがありません";
inline constexpr std::string_view kNoFileLoadedMessage = "ファイルが読み込まれていません";
inline constexpr std::string_view kNoContentMessage = "内容がありません";
inline constexpr std::string_view kFileReadOnlyMessage = "ファイルが読取専用なので変更できません";
inline constexpr std::string_view kQuitQuestion = "変更されていますが、終了しますか？";
inline constexpr std::string_view kDropOneFileMessage =
    "ドロップするファイルは１個にしてください。";
inline constexpr std::string_view kReadOnlyPanelText = "ファイル読取専用";
inline constexpr std::string_view kProtectedPanelText = "書禁";

// The overwrite confirmation: read and save code names, then read and save line-end names.
std::string SaveConfirmationText(std::string_view read_code, std::string_view save_code,
                                 std::string_view read_ret, std::string_view save_ret);
// Asked after the confirmation when the loaded text lost characters to "?".
std::string ReplacedCharsQuestion(uint64_t count);

// A file whose write permission is gone for everyone (the read-only attribute).
bool FileHasReadOnlyAttribute(const std::string& path);

// Whether the command line asks for write-protected viewing: exactly two arguments, the first
// "/r" in either letter case.
bool CommandLineReadOnly(const std::vector<std::string>& args);

// Holds the document code state and runs the commands that load, save, replace and protect
// the document. Invariant: FileName is the file the editor's text came from (empty for a new
// document); a failed load or save leaves it, the text and Modified as they were.
class MainWindowDocument {
 public:
  MainWindowDocument(DocumentEditorPort& editor, MainWindowPort& window, Messages& messages,
                     PrivateProfile& ini, const ReadCodeMenu& read_menu, AppHome home);

  // ---- start-up and shut-down ----
  // Reads the history and recent lists, prepares the empty document, shows the recent
  // captions, the read menu and the status panels.
  void Start();
  // /r with a file: write protection before anything is loaded.
  void ApplyCommandLineProtection(const std::vector<std::string>& args);
  // Opens the command line's file (one argument, or the second of two), protected after "/r".
  void OpenCommandLine(const std::vector<std::string>& args);
  // Files from this size on load long enough that their start is shown first.
  static constexpr uint64_t kPreviewBytes = uint64_t{8} << 20;
  // Before OpenCommandLine, for a file of at least preview_bytes whose start decides its code:
  // shows the lines of that start, so that the window's first screen needs no whole load, and
  // says true. The load that follows replaces them (or, should it stop, takes them away). The
  // window must hold back input meanwhile: the text is not the document.
  bool PreviewCommandLine(const std::vector<std::string>& args,
                          uint64_t preview_bytes = kPreviewBytes);
  // The close request: false keeps the window open.
  bool CloseQuery();
  // The window closes: the caret row of the current file goes into the history.
  void OnClose();
  Status SaveLists() const;

  // ---- loading ----
  // Loads FileName with ReadCode as the request (Auto detects). A load that stops before the
  // text is replaced (after a message) keeps the shown document's FileName and ReadCode.
  void LoadFile();
  void Timer1Timer();
  void Timer2Timer();
  void SetLoadIndexFromMenu();
  void SetLoadCharFromMenu();
  void MenuReadAutoClick();
  void MenuReadCodeClick(CharCode code);

  // ---- saving ----
  // Writes the text with SaveCode / SaveRetCode; on failure shows the reason and keeps
  // Modified. True when the file was written.
  bool SaveFile(const std::string& target);
  void MenuSaveClick();
  void MenuSaveAsClick();
  void MenuSaveCloseClick();

  // ---- document commands ----
  void MenuNewFileClick();
  void MenuOpenClick();
  void MenuRecentClick(int n);  // 1 .. 6
  // A favourite: after the discard question, `path` loads with `code` as the read request;
  // a missing file is named in the message.
  void OpenFavorite(const std::string& path, CharCode code);
  void MenuReadOnlyClick();
  void MenuNewEditorClick();
  void DropFiles(const std::vector<std::string>& paths);

  // ---- lists ----
  void UpdateHistory();
  void JumpHistory();
  void UpdateRecent();
  void SetMenuRecent();
  const RecentList& Recent() const { return recent_; }
  const HistoryList& History() const { return history_; }

  // ---- state ----
  const DocumentCodeState& CodeState() const { return state_; }
  // The file and code the next LoadFile reads.
  void SetFileName(std::string name) { state_.FileName = std::move(name); }
  void SetReadCode(CharCode c) { state_.ReadCode = c; }
  int LoadIndex() const { return load_index_; }
  bool MenuReadOnlyChecked() const { return menu_read_only_; }
  const std::string& SaveAsFileName() const { return save_as_file_name_; }
  const ReadCodeMenu& ReadMenu() const { return read_menu_; }

 private:
  bool DiscardAllowed();
  bool ConfirmOverwrite(std::string_view read_code, std::string_view save_code,
                        std::string_view read_ret, std::string_view save_ret);
  bool OverwriteSave();
  void LoadMenuChoice(const std::string& path);
  std::optional<LoadedText> ReadText(const std::string& path, CharCode requested);
  // Takes the text's lines over.
  void ShowText(const std::string& path, LoadedText& text);
  void KeepShownDocument();
  void ApplyProtection();
  void ShowCodePanels();
  void Show(std::string_view text) { messages_.ShowMessage(std::string(text)); }

  DocumentEditorPort& editor_;
  MainWindowPort& window_;
  Messages& messages_;
  PrivateProfile& ini_;
  ReadCodeMenu read_menu_;
  AppHome home_;
  RecentList recent_;
  HistoryList history_;

  DocumentCodeState state_;
  int load_index_ = 0;
  bool menu_read_only_ = false;
  std::string save_as_file_name_;
  // The file the editor's text came from and its effective code: what FileName and ReadCode
  // return to when a load fails before the text is replaced.
  std::string text_file_name_;
  // The editor shows the start of the command line's file, not yet its document.
  bool previewing_ = false;
  CharCode text_read_code_ = CharCode::SJIS;
};

}  // namespace tessary
