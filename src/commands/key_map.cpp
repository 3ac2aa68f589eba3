// Key map rows, the default table, and reading and writing the key map files.
#include "commands/key_map.h"

#include <algorithm>

#include "base/line_split.h"
#include "codec/sjis_text.h"
#include "platform/app_home.h"
#include "platform/file_io.h"

namespace tessary {
namespace {

// The next TAB-separated field of rest, removed from it; the whole rest when no TAB is left.
std::string_view TakeField(std::string_view& rest) {
  const size_t tab = rest.find('\t');
  std::string_view field = rest.substr(0, tab);
  rest = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
  return field;
}

}  // namespace

KeyMapRow ParseKeyMapRow(std::string_view line) {
  KeyMapRow row;
  std::string_view rest = line;
  const size_t tabs = static_cast<size_t>(std::count(line.begin(), line.end(), '\t'));
  row.group = TakeField(rest);
  if (tabs >= 1) row.caption = TakeField(rest);
  if (tabs >= 2) row.shortcut = TakeField(rest);
  if (tabs >= 3) row.id = rest;  // everything after the third TAB, further TABs included
  return row;
}

std::string KeyMapRowText(const KeyMapRow& row) {
  std::string text;
  text.reserve(row.group.size() + row.caption.size() + row.shortcut.size() + row.id.size() + 3);
  text.append(row.group).append(1, '\t').append(row.caption).append(1, '\t');
  text.append(row.shortcut).append(1, '\t').append(row.id);
  return text;
}

const KeyMapRow* FindKeyMapRow(const KeyMap& map, std::string_view id) {
  for (const KeyMapRow& row : map)
    if (row.id == id) return &row;
  return nullptr;
}

KeyMapRow* FindKeyMapRow(KeyMap& map, std::string_view id) {
  return const_cast<KeyMapRow*>(FindKeyMapRow(static_cast<const KeyMap&>(map), id));
}

KeyMap InitKeyMap(const CaptionSource& captions) {
  KeyMap map;
  map.reserve(CommandTable().size());
  for (const CommandEntry& e : CommandTable()) {
    // The editor keys are constants: no menu item carries them.
    std::string caption =
        e.place == CommandPlace::EditorControl ? std::string(e.caption) : captions.Caption(e);
    map.push_back(KeyMapRow{std::string(e.group), std::move(caption),
                            std::string(e.default_shortcut), CommandIdText(e.id)});
  }
  return map;
}

std::vector<std::string> GetFunctionList(const KeyMap& source) {
  std::vector<std::string> ids;
  ids.reserve(source.size());
  for (const KeyMapRow& row : source) ids.push_back(row.id);
  std::sort(ids.begin(), ids.end());
  return ids;
}

std::string EncodeKeyMapFile(const KeyMap& map) {
  std::string bytes;
  for (const KeyMapRow& row : map) bytes.append(Utf8ToSjis(KeyMapRowText(row))).append("\r\n");
  return bytes;
}

size_t MaxKeyMapRows() {
  return CommandTable().size() + 1;
}

KeyMap DecodeKeyMapFile(std::string_view bytes) {
  KeyMap map;
  for (std::string_view line : SplitLines(bytes, MaxKeyMapRows()))
    map.push_back(ParseKeyMapRow(SjisToUtf8(line)));
  return map;
}

KeyMapFiles::KeyMapFiles(const AppHome& home)
    : key_map_path_(home.PathOf(WorkingFile::KeyMap)),
      key_diff_path_(home.PathOf(WorkingFile::KeyDiff)) {}

bool KeyMapFiles::Exists(const std::string& path) const {
  return FileExists(path);
}

Result<std::string> KeyMapFiles::Read(const std::string& path) const {
  return ReadWholeFile(path);
}

Status KeyMapFiles::Write(const std::string& path, std::string_view bytes) {
  return WriteFileAtomic(path, bytes);
}

Result<std::optional<KeyMap>> KeyMapFiles::Load(const std::string& path) const {
  if (!Exists(path)) return std::optional<KeyMap>();
  Result<std::string> bytes = Read(path);
  if (!bytes) return bytes.error();
  return std::optional<KeyMap>(DecodeKeyMapFile(bytes.value()));
}

Status KeyMapFiles::Save(const std::string& path, const KeyMap& map) {
  return Write(path, EncodeKeyMapFile(map));
}

std::string KeyMapReadErrorText(const Error& error) {
  return "キーボード設定のファイルを読み込めませんでした\r\n" + error.message;
}

std::string KeyMapWriteErrorText(const Error& error) {
  return "キーボード設定のファイルを保存できませんでした\r\n" + error.message;
}

}  // namespace tessary
