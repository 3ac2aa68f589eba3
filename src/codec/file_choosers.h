// The Open and Save As choosers without their windows: lists, start values, results, settings.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codec/char_code.h"
#include "platform/messages.h"
#include "platform/private_profile.h"

namespace tessary {

inline constexpr const char* kNoFileNameMessage = "ファイル名が設定されていません";

// Every open and save dialog offers these, as "label|patterns|label|patterns|..."; patterns are
// separated by ';' ("*js" without the dot is meant: it also takes "*.js").
inline constexpr const char* kFileChooserFilter =
    "Text(*.txt;*.ini;*js;*.his;*.csv)|*.txt;*.ini;*js;*.his;*.csv|Java(*.java;*.xml)|*.java;*.xml|"
    "All(*.*)|*.*";

struct FileFilterEntry {
  std::string label;
  std::vector<std::string> patterns;
  bool operator==(const FileFilterEntry&) const = default;
};
// The pairs of a filter text; a trailing label without patterns is dropped.
std::vector<FileFilterEntry> ParseFileFilter(std::string_view filter);

// A remembered path split for a dialog's initial folder and file name. A path without a slash
// is a bare name (no initial folder); a path ending in a slash is a folder (no name).
struct ChooserStart {
  std::string folder;
  std::string name;
  bool operator==(const ChooserStart&) const = default;
};
ChooserStart ChooserStartOf(std::string_view path);

// Items of the code lists (UTF-8): the open list is "自動検出" and the seven codes (index =
// code), the save list the seven codes (index = code - 1), the line-end list the four line ends.
inline constexpr const char* kAutoDetectItem = "自動検出";
std::vector<std::string> OpenCodeItems();
std::vector<std::string> SaveCodeItems();
std::vector<std::string> RetCodeItems();

// List indexes from stored integers: a value the list does not have selects the default.
int OpenCodeIndexOf(int stored_code);  // 0-7, default 0
int SaveCodeIndexOf(int stored_code);  // code 1-7 as 0-6, default 0
int RetCodeIndexOf(int stored_ret);    // 0-3, default 0

struct OpenFileChoice {
  std::string path;
  CharCode code = CharCode::Auto;
  bool operator==(const OpenFileChoice&) const = default;
};
struct SaveFileChoice {
  std::string path;
  CharCode code = CharCode::SJIS;
  RetCode ret = RetCode::CrLf;
  bool operator==(const SaveFileChoice&) const = default;
};

// Which front end a call uses: the file dialog with the code panel, or the own small windows
// that open a plain file dialog from their Browse button.
enum class ChooserStyle { Extended, OwnWindow };
// The own windows are used when `MenuOpenSaveDialogXpStyle` is checked; the extended dialog is
// available on every platform this program is built for.
ChooserStyle ChooserStyleFor(bool xp_style_checked);

// The own Open window (TFormOpen) without its widgets. Its start values are read once, at
// creation, as the window reads them.
class FormOpenModel {
 public:
  FormOpenModel(PrivateProfile& ini, Messages& messages);
  // Where "参照(&B)" starts: `Load`/`FolderFile` as read at creation.
  const ChooserStart& browse_start() const { return browse_start_; }
  int initial_code_index() const { return initial_code_index_; }
  // "開く(&O)": an empty name is refused with the message (nothing: the window stays open);
  // otherwise the choice is stored in `Load` for the next time and returned.
  std::optional<OpenFileChoice> Ok(std::string_view edit_text, int code_index);

 private:
  PrivateProfile& ini_;
  Messages& messages_;
  ChooserStart browse_start_;
  int initial_code_index_ = 0;
};

// The own Save As window (TFormSaveAs) without its widgets.
class FormSaveAsModel {
 public:
  FormSaveAsModel(PrivateProfile& ini, Messages& messages);
  const ChooserStart& browse_start() const { return browse_start_; }
  int initial_code_index() const { return initial_code_index_; }  // code - 1
  int initial_ret_index() const { return initial_ret_index_; }
  // "保存(&S)": as the Open window's OK, storing in `Save`.
  std::optional<SaveFileChoice> Ok(std::string_view edit_text, int code_index, int ret_index);

 private:
  PrivateProfile& ini_;
  Messages& messages_;
  ChooserStart browse_start_;
  int initial_code_index_ = 0;
  int initial_ret_index_ = 0;
};

// What the extended dialogs start with and give back: the file name field and the panel's
// list indexes (`CharCodeType`, `CrlfType`). The name may come back empty.
struct OpenDialogExState {
  ChooserStart start;
  std::string name;  // the chosen path, on return
  int char_code_type = 0;
};
struct SaveDialogExState {
  ChooserStart start;
  std::string name;
  int char_code_type = 0;  // code - 1
  int crlf_type = 0;
};

// The windows of both front ends, shown modally; nothing means Cancel.
class FileChooserWindows {
 public:
  virtual ~FileChooserWindows() = default;
  virtual std::optional<OpenDialogExState> ShowOpenDialogEx(const OpenDialogExState& state) = 0;
  virtual std::optional<SaveDialogExState> ShowSaveDialogEx(const SaveDialogExState& state) = 0;
  // The own windows read their start values from the settings file and store their choice
  // there before they close with OK.
  virtual std::optional<OpenFileChoice> ShowFormOpen() = 0;
  virtual std::optional<SaveFileChoice> ShowFormSaveAs() = 0;
};

// Both choosers as the main window calls them, with the remembered load and save paths.
// The settings file only remembers choices for the next time: a result is what the user chose
// in the window, so a settings file that cannot be written, or a path that Shift-JIS cannot
// hold, never turns the choice into an earlier one.
class FileChoosers {
 public:
  FileChoosers(PrivateProfile& ini, Messages& messages, FileChooserWindows& windows);

  // Start-up: the remembered paths from `Load`/`FolderFile` and `Save`/`FolderFile`.
  void ReadRememberedPaths();
  const std::string& load_path() const { return load_path_; }
  const std::string& save_path() const { return save_path_; }

  // The Open chooser; load_index is the read menu's `LoadIndex` (0 = automatic), which is
  // written to `Load`/`CharCodeOpen` as the Open window's initial choice.
  std::optional<OpenFileChoice> ChooseOpen(ChooserStyle style, int load_index);
  // The Save As chooser, started on the document's save code and line end. The Save As
  // command has written them to `Save`/`CharCode` and `Save`/`CrLfCode` just before, which is
  // where the Save As window reads its start values.
  std::optional<SaveFileChoice> ChooseSaveAs(ChooserStyle style, CharCode save_code,
                                             RetCode save_ret);

 private:
  std::optional<OpenFileChoice> OpenWithDialogEx(int load_index);
  std::optional<SaveFileChoice> SaveWithDialogEx(CharCode save_code, RetCode save_ret);
  bool RefuseEmpty(std::string_view path);

  PrivateProfile& ini_;
  Messages& messages_;
  FileChooserWindows& windows_;
  std::string load_path_;
  std::string save_path_;
};

// A path in the settings file is Shift-JIS. Reading converts to UTF-8; writing leaves the key
// untouched (returns Success) when Shift-JIS cannot hold the path exactly, so the file never
// remembers a garbled path.
std::string ReadProfilePath(const PrivateProfile& ini, std::string_view section);
Status WriteProfilePath(PrivateProfile& ini, std::string_view section, std::string_view path);

}  // namespace tessary
