// What the Open and Save As choosers list, start with, store and return.
#include "codec/file_choosers.h"

#include "codec/sjis_text.h"

namespace tessary {
namespace {

constexpr int kCodeCount = 7;
constexpr int kRetCount = 4;

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

int InRangeOr(int value, int low, int high, int fallback) {
  return value >= low && value <= high ? value : fallback;
}

CharCode CodeAt(int index) {
  return static_cast<CharCode>(index);
}

}  // namespace

std::vector<FileFilterEntry> ParseFileFilter(std::string_view filter) {
  std::vector<FileFilterEntry> entries;
  if (filter.empty()) return entries;
  const std::vector<std::string_view> parts = Split(filter, '|');
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    FileFilterEntry e{std::string(parts[i]), {}};
    for (std::string_view p : Split(parts[i + 1], ';'))
      if (!p.empty()) e.patterns.emplace_back(p);
    entries.push_back(std::move(e));
  }
  return entries;
}

ChooserStart ChooserStartOf(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  if (slash == std::string_view::npos) return {"", std::string(path)};
  // The root folder keeps its slash, so "/a.txt" starts in "/".
  const size_t folder_end = slash == 0 ? 1 : slash;
  return {std::string(path.substr(0, folder_end)), std::string(path.substr(slash + 1))};
}

std::vector<std::string> OpenCodeItems() {
  std::vector<std::string> items{kAutoDetectItem};
  for (int c = 1; c <= kCodeCount; ++c) items.emplace_back(CharCodeName(CodeAt(c)));
  return items;
}

std::vector<std::string> SaveCodeItems() {
  std::vector<std::string> items;
  for (int c = 1; c <= kCodeCount; ++c) items.emplace_back(CharCodeName(CodeAt(c)));
  return items;
}

std::vector<std::string> RetCodeItems() {
  std::vector<std::string> items;
  for (int r = 0; r < kRetCount; ++r) items.emplace_back(RetCodeName(static_cast<RetCode>(r)));
  return items;
}

int OpenCodeIndexOf(int stored_code) {
  return InRangeOr(stored_code, 0, kCodeCount, 0);
}
int SaveCodeIndexOf(int stored_code) {
  return InRangeOr(stored_code, 1, kCodeCount, 1) - 1;
}
int RetCodeIndexOf(int stored_ret) {
  return InRangeOr(stored_ret, 0, kRetCount - 1, 0);
}

ChooserStyle ChooserStyleFor(bool xp_style_checked) {
  return xp_style_checked ? ChooserStyle::OwnWindow : ChooserStyle::Extended;
}

std::string ReadProfilePath(const PrivateProfile& ini, std::string_view section) {
  return SjisToUtf8(ini.ReadString(section, "FolderFile", ""));
}

Status WriteProfilePath(PrivateProfile& ini, std::string_view section, std::string_view path) {
  const std::optional<std::string> sjis = Utf8ToSjisExact(path);
  if (!sjis) return Success();
  return ini.WriteString(section, "FolderFile", *sjis);
}

// ---- the own windows ----

FormOpenModel::FormOpenModel(PrivateProfile& ini, Messages& messages)
    : ini_(ini),
      messages_(messages),
      browse_start_(ChooserStartOf(ReadProfilePath(ini, "Load"))),
      initial_code_index_(OpenCodeIndexOf(ini.ReadInteger("Load", "CharCodeOpen", 0))) {}

std::optional<OpenFileChoice> FormOpenModel::Ok(std::string_view edit_text, int code_index) {
  if (edit_text.empty()) {
    messages_.ShowMessage(kNoFileNameMessage);
    return std::nullopt;
  }
  const int code = OpenCodeIndexOf(code_index);
  // Remembering is a convenience; the choice stands even when the settings cannot be written.
  (void)WriteProfilePath(ini_, "Load", edit_text);
  (void)ini_.WriteInteger("Load", "CharCode", code);
  return OpenFileChoice{std::string(edit_text), CodeAt(code)};
}

FormSaveAsModel::FormSaveAsModel(PrivateProfile& ini, Messages& messages)
    : ini_(ini),
      messages_(messages),
      browse_start_(ChooserStartOf(ReadProfilePath(ini, "Save"))),
      initial_code_index_(SaveCodeIndexOf(ini.ReadInteger("Save", "CharCode", 1))),
      initial_ret_index_(RetCodeIndexOf(ini.ReadInteger("Save", "CrLfCode", 0))) {}

std::optional<SaveFileChoice> FormSaveAsModel::Ok(std::string_view edit_text, int code_index,
                                                  int ret_index) {
  if (edit_text.empty()) {
    messages_.ShowMessage(kNoFileNameMessage);
    return std::nullopt;
  }
  const int code = SaveCodeIndexOf(code_index + 1) + 1;
  const int ret = RetCodeIndexOf(ret_index);
  (void)WriteProfilePath(ini_, "Save", edit_text);
  (void)ini_.WriteInteger("Save", "CharCode", code);
  (void)ini_.WriteInteger("Save", "CrLfCode", ret);
  return SaveFileChoice{std::string(edit_text), CodeAt(code), static_cast<RetCode>(ret)};
}

// ---- both choosers ----

FileChoosers::FileChoosers(PrivateProfile& ini, Messages& messages, FileChooserWindows& windows)
    : ini_(ini), messages_(messages), windows_(windows) {}

void FileChoosers::ReadRememberedPaths() {
  load_path_ = ReadProfilePath(ini_, "Load");
  save_path_ = ReadProfilePath(ini_, "Save");
}

bool FileChoosers::RefuseEmpty(std::string_view path) {
  if (!path.empty()) return false;
  messages_.ShowMessage(kNoFileNameMessage);
  return true;
}

std::optional<OpenFileChoice> FileChoosers::ChooseOpen(ChooserStyle style, int load_index) {
  const int index = OpenCodeIndexOf(load_index);
  (void)ini_.WriteInteger("Load", "CharCodeOpen", index);
  if (style == ChooserStyle::Extended) return OpenWithDialogEx(index);
  std::optional<OpenFileChoice> choice = windows_.ShowFormOpen();
  if (!choice || RefuseEmpty(choice->path)) return std::nullopt;
  return choice;
}

std::optional<OpenFileChoice> FileChoosers::OpenWithDialogEx(int load_index) {
  OpenDialogExState start{ChooserStartOf(load_path_), "", load_index};
  std::optional<OpenDialogExState> done = windows_.ShowOpenDialogEx(start);
  if (!done || RefuseEmpty(done->name)) return std::nullopt;
  const int code = OpenCodeIndexOf(done->char_code_type);
  (void)WriteProfilePath(ini_, "Load", done->name);
  (void)ini_.WriteInteger("Load", "CharCode", code);
  load_path_ = done->name;
  return OpenFileChoice{done->name, CodeAt(code)};
}

std::optional<SaveFileChoice> FileChoosers::ChooseSaveAs(ChooserStyle style, CharCode save_code,
                                                         RetCode save_ret) {
  if (style == ChooserStyle::Extended) return SaveWithDialogEx(save_code, save_ret);
  std::optional<SaveFileChoice> choice = windows_.ShowFormSaveAs();
  if (!choice || RefuseEmpty(choice->path)) return std::nullopt;
  return choice;
}

std::optional<SaveFileChoice> FileChoosers::SaveWithDialogEx(CharCode save_code, RetCode save_ret) {
  SaveDialogExState start{ChooserStartOf(save_path_), "",
                          SaveCodeIndexOf(static_cast<int>(save_code)),
                          RetCodeIndexOf(static_cast<int>(save_ret))};
  std::optional<SaveDialogExState> done = windows_.ShowSaveDialogEx(start);
  if (!done || RefuseEmpty(done->name)) return std::nullopt;
  const int code = SaveCodeIndexOf(done->char_code_type + 1) + 1;
  const int ret = RetCodeIndexOf(done->crlf_type);
  (void)WriteProfilePath(ini_, "Save", done->name);
  (void)ini_.WriteInteger("Save", "CharCode", code);
  (void)ini_.WriteInteger("Save", "CrLfCode", ret);
  save_path_ = done->name;
  return SaveFileChoice{done->name, CodeAt(code), static_cast<RetCode>(ret)};
}

}  // namespace tessary
