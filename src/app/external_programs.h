// Launchers, favourites and companion programs: their settings, captions and argument lists.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "codec/char_code.h"
#include "platform/messages.h"
#include "platform/private_profile.h"
#include "platform/process_launcher.h"

namespace tessary {

inline constexpr std::string_view kProgramMissingMessage = "実行ファイルがありません";
inline constexpr std::string_view kNoFileToReadMessage = "読み込むファイルがありません";
inline constexpr std::string_view kLauncherNotSetMessage = "外部プログラムが設定されていません";
inline constexpr std::string_view kCannotStartMessage = "プログラムを起動できません";

inline constexpr int kEntryCount = 3;  // Launcher1-3, Favorite1-3

// The argument template of a launcher as a user writes it on a command line: blanks and TABs
// separate words, a double quote starts or ends a quoted run (blanks inside it belong to the
// word), two double quotes inside a quoted run stand for one. Backslashes are plain characters,
// so Windows folder names need no doubling. Words written with quotes are marked so that an
// empty quoted word survives.
struct TemplateWord {
  std::string text;
  bool quoted = false;
  bool operator==(const TemplateWord&) const = default;
};
[[nodiscard]] std::vector<TemplateWord> SplitArgumentTemplate(std::string_view options);

// "$(FileNameEx)" and "$(CurLine)" (letter case as written) replaced in one left-to-right pass:
// what a replacement brings in is never looked at again.
[[nodiscard]] std::string ExpandPlaceholders(std::string_view word, std::string_view file_name,
                                             int64_t cur_line);

// Split first, then replaced word by word, so a file name arrives as one argument whatever it
// holds. A word that was only placeholders and became empty is left out unless it was quoted.
[[nodiscard]] std::vector<std::string> LauncherArguments(std::string_view options,
                                                         std::string_view file_name,
                                                         int64_t cur_line);

// The child's working folder: the program's folder when it exists, else none (empty).
[[nodiscard]] std::string ProgramFolder(const std::string& program);

// Starts `program` with `arguments` in its own folder. The editor's working folder stays.
[[nodiscard]] Status ExecuteProgramEx(ProcessLauncher& launcher, const std::string& program,
                                      std::vector<std::string> arguments);

struct LauncherEntry {
  std::string program;  // FolderFile
  std::string options;  // Options, the argument template
  bool operator==(const LauncherEntry&) const = default;
};
struct FavoriteEntry {
  std::string path;     // FolderFile
  int index = 0;        // Index: the read code, 0 automatic; anything outside 0-7 reads 0
  std::string options;  // Options: the code's display text
  bool operator==(const FavoriteEntry&) const = default;
};
// Sections "Launcher1"-"Launcher3" and "Favorite1"-"Favorite3"; `n` is 1-3. Paths and texts are
// UTF-8 here and Shift-JIS in the file; a path Shift-JIS cannot hold is not stored.
[[nodiscard]] LauncherEntry ReadLauncher(const PrivateProfile& ini, int n);
[[nodiscard]] Status WriteLauncher(PrivateProfile& ini, int n, const LauncherEntry& e);
[[nodiscard]] FavoriteEntry ReadFavorite(const PrivateProfile& ini, int n);
[[nodiscard]] Status WriteFavorite(PrivateProfile& ini, int n, const FavoriteEntry& e);

// A file name fit for a menu caption: "&" doubled so it shows as itself, TAB and line ends as
// blanks so the caption stays one item and never carries a shortcut column.
[[nodiscard]] std::string MenuSafeName(std::string_view name);
// The item captions followed by the entry's file name without its folder (nothing when empty).
[[nodiscard]] std::string LauncherCaption(int n, std::string_view program);
[[nodiscard]] std::string FavoriteCaption(int n, std::string_view path);

enum class Companion { Binary, Csv };
// The companion beside the executable: the name alone first, then with ".exe"; empty when
// neither is a file.
[[nodiscard]] std::string FindCompanion(const std::string& executable_folder, Companion which);

// The commands that start programs. Every failure is told to the user.
class ExternalPrograms {
 public:
  ExternalPrograms(ProcessLauncher& launcher, Messages& messages, const PrivateProfile& ini,
                   std::string executable_folder);

  // Launcher `n` (1-3) on the document `file_name` with the caret on line `cur_line` (from 1).
  void RunLauncher(int n, std::string_view file_name, int64_t cur_line);
  // The companion viewer on the document; the path goes as one argument.
  void RunCompanion(Companion which, const std::string& file_name);
  // Another process of this program, with no document.
  void RunNewEditor(const std::string& own_executable);

 private:
  void Start(const std::string& program, std::vector<std::string> arguments);

  ProcessLauncher& launcher_;
  Messages& messages_;
  const PrivateProfile& ini_;
  std::string executable_folder_;
};

}  // namespace tessary
