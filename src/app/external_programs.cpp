// Launchers, favourites and companions: templates to argument lists, settings, captions, starts.
#include "app/external_programs.h"

#include <sys/stat.h>

#include <filesystem>
#include <string_view>

#include "codec/sjis_text.h"
#include "commands/command_ids.h"
#include "commands/command_table.h"
#include "platform/file_io.h"

namespace tessary {
namespace {

constexpr std::string_view kFileNamePlaceholder = "$(FileNameEx)";
constexpr std::string_view kCurLinePlaceholder = "$(CurLine)";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string Section(std::string_view kind, int n) {
  std::string s(kind);
  s += std::to_string(n);
  return s;
}

std::string ReadText(const PrivateProfile& ini, std::string_view section, std::string_view key) {
  return SjisToUtf8(ini.ReadString(section, key, ""));
}

// A text Shift-JIS cannot hold is left as it was in the file rather than stored mangled.
Status WriteText(PrivateProfile& ini, std::string_view section, std::string_view key,
                 std::string_view utf8) {
  const std::optional<std::string> sjis = Utf8ToSjisExact(utf8);
  if (!sjis) return Success();
  return ini.WriteString(section, key, *sjis);
}

std::string BaseName(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string CaptionWithName(int id, std::string_view path) {
  const CommandEntry* e = FindCommand(id);
  std::string caption = e ? std::string(e->caption) : std::string();
  // Without a file the item keeps the table's caption, with no blank left dangling.
  const std::string name = BaseName(path);
  if (name.empty()) return caption;
  caption += ' ';
  caption += MenuSafeName(name);
  return caption;
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string TwoLines(std::string_view first, std::string_view second) {
  std::string text(first);
  text += "\r\n";
  text += second;
  return text;
}

}  // namespace

std::vector<TemplateWord> SplitArgumentTemplate(std::string_view options) {
  std::vector<TemplateWord> words;
  TemplateWord word;
  bool in_word = false, quoting = false;
  for (size_t i = 0; i < options.size(); ++i) {
    const char c = options[i];
    if (!quoting && IsBlank(c)) {
      if (in_word) words.push_back(std::move(word));
      word = TemplateWord{};
      in_word = false;
      continue;
    }
    in_word = true;
    if (c != '"') {
      word.text += c;
    } else if (quoting && i + 1 < options.size() && options[i + 1] == '"') {
      word.text += '"';
      ++i;
    } else {
      quoting = !quoting;
      word.quoted = true;
    }
  }
  if (in_word) words.push_back(std::move(word));
  return words;
}

std::string ExpandPlaceholders(std::string_view word, std::string_view file_name,
                               int64_t cur_line) {
  std::string out;
  for (size_t i = 0; i < word.size();) {
    if (word.substr(i).starts_with(kFileNamePlaceholder)) {
      out += file_name;
      i += kFileNamePlaceholder.size();
    } else if (word.substr(i).starts_with(kCurLinePlaceholder)) {
      out += std::to_string(cur_line);
      i += kCurLinePlaceholder.size();
    } else {
      out += word[i++];
    }
  }
  return out;
}

std::vector<std::string> LauncherArguments(std::string_view options, std::string_view file_name,
                                           int64_t cur_line) {
  std::vector<std::string> args;
  for (const TemplateWord& w : SplitArgumentTemplate(options)) {
    std::string a = ExpandPlaceholders(w.text, file_name, cur_line);
    if (a.empty() && !w.quoted) continue;
    args.push_back(std::move(a));
  }
  return args;
}

std::string ProgramFolder(const std::string& program) {
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::absolute(program, ec).parent_path();
  if (ec || !std::filesystem::is_directory(folder, ec)) return {};
  return folder.string();
}

Status ExecuteProgramEx(ProcessLauncher& launcher, const std::string& program,
                        std::vector<std::string> arguments) {
  return launcher.Start(LaunchRequest{program, std::move(arguments), ProgramFolder(program)});
}

LauncherEntry ReadLauncher(const PrivateProfile& ini, int n) {
  const std::string s = Section("Launcher", n);
  return LauncherEntry{ReadText(ini, s, "FolderFile"), ReadText(ini, s, "Options")};
}

Status WriteLauncher(PrivateProfile& ini, int n, const LauncherEntry& e) {
  const std::string s = Section("Launcher", n);
  if (Status st = WriteText(ini, s, "FolderFile", e.program); !st) return st;
  return WriteText(ini, s, "Options", e.options);
}

FavoriteEntry ReadFavorite(const PrivateProfile& ini, int n) {
  const std::string s = Section("Favorite", n);
  const int index = ini.ReadInteger(s, "Index", 0);
  return FavoriteEntry{ReadText(ini, s, "FolderFile"), index >= 0 && index <= 7 ? index : 0,
                       ReadText(ini, s, "Options")};
}

Status WriteFavorite(PrivateProfile& ini, int n, const FavoriteEntry& e) {
  const std::string s = Section("Favorite", n);
  if (Status st = WriteText(ini, s, "FolderFile", e.path); !st) return st;
  if (Status st = WriteText(ini, s, "Options", e.options); !st) return st;
  return ini.WriteInteger(s, "Index", e.index);
}

std::string MenuSafeName(std::string_view name) {
  std::string out;
  for (const char c : name) {
    if (c == '&') {
      out += "&&";
    } else if (c == '\t' || c == '\r' || c == '\n') {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

std::string LauncherCaption(int n, std::string_view program) {
  return CaptionWithName(static_cast<int>(CommandId::MenuLauncherAuto1) + n - 1, program);
}

std::string FavoriteCaption(int n, std::string_view path) {
  return CaptionWithName(static_cast<int>(CommandId::MenuFavoriteAuto1) + n - 1, path);
}

std::string FindCompanion(const std::string& executable_folder, Companion which) {
  std::string base = executable_folder;
  base += which == Companion::Binary ? "/Rorezuvidavuv" : "/Virovadizi";
  if (IsRegularFile(base)) return base;
  base += ".exe";
  return IsRegularFile(base) ? base : std::string();
}

ExternalPrograms::ExternalPrograms(ProcessLauncher& launcher, Messages& messages,
                                   const PrivateProfile& ini, std::string executable_folder)
    : launcher_(launcher),
      messages_(messages),
      ini_(ini),
      executable_folder_(std::move(executable_folder)) {}

void ExternalPrograms::Start(const std::string& program, std::vector<std::string> arguments) {
  const Status st = ExecuteProgramEx(launcher_, program, std::move(arguments));
  if (!st) messages_.ShowMessage(TwoLines(kCannotStartMessage, st.error().message));
}

void ExternalPrograms::RunLauncher(int n, std::string_view file_name, int64_t cur_line) {
  const LauncherEntry e = ReadLauncher(ini_, n);
  if (e.program.empty()) return messages_.ShowMessage(std::string(kLauncherNotSetMessage));
  if (!IsRegularFile(e.program))
    return messages_.ShowMessage(TwoLines(kProgramMissingMessage, e.program));
  Start(e.program, LauncherArguments(e.options, file_name, cur_line));
}

void ExternalPrograms::RunCompanion(Companion which, const std::string& file_name) {
  const std::string program = FindCompanion(executable_folder_, which);
  if (program.empty()) return messages_.ShowMessage(std::string(kProgramMissingMessage));
  if (file_name.empty() || !FileExists(file_name))
    return messages_.ShowMessage(std::string(kNoFileToReadMessage));
  Start(program, {file_name});
}

void ExternalPrograms::RunNewEditor(const std::string& own_executable) {
  Start(own_executable, {});
}

}  // namespace tessary
