// Key map rows, the default table, and the key map and difference files.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "commands/command_table.h"
#include "platform/app_home.h"

namespace tessary {

// One row: group, caption, shortcut text and command id, TAB-separated in the files. Rows are
// matched to commands by the id text alone; group and caption only label the row. In memory
// the fields are UTF-8.
struct KeyMapRow {
  std::string group;
  std::string caption;
  std::string shortcut;
  std::string id;  // the text after the third TAB, compared exactly
  bool operator==(const KeyMapRow&) const = default;
};
using KeyMap = std::vector<KeyMapRow>;

// Splits at the first three TABs; missing fields are empty, so a row with fewer than three
// TABs has an empty id and matches no command.
KeyMapRow ParseKeyMapRow(std::string_view line);
std::string KeyMapRowText(const KeyMapRow& row);

// The first row with the id, in key map order; nullptr when none has it.
const KeyMapRow* FindKeyMapRow(const KeyMap& map, std::string_view id);
KeyMapRow* FindKeyMapRow(KeyMap& map, std::string_view id);

// The default table: the 158 command rows in table order, captions of the menu commands taken
// from the source, the default shortcuts from the table.
KeyMap InitKeyMap(const CaptionSource& captions);

// The ids of the rows, sorted.
std::vector<std::string> GetFunctionList(const KeyMap& source);

// File bytes: Shift-JIS, CR LF after every row, the last included.
std::string EncodeKeyMapFile(const KeyMap& map);
// Lines end at CR LF, CR or LF; a line end at the very end adds no row; an empty file has none.
// At most MaxKeyMapRows() rows are read: one more than the command table has, so that a file
// with too many rows is still told apart from a good one without building all of them.
KeyMap DecodeKeyMapFile(std::string_view bytes);
size_t MaxKeyMapRows();


// The key map file and the difference file, and how they are reached. The I/O members are
// virtual so that tests can make a file unreadable or unwritable whatever the user running
// them may do.
class KeyMapFiles {
 public:
  // "Tessary-KeyMap.txt" and "Tessary-KeyDiff.txt" in the settings folder.
  explicit KeyMapFiles(const AppHome& home);
  virtual ~KeyMapFiles() = default;

  const std::string& key_map_path() const { return key_map_path_; }
  const std::string& key_diff_path() const { return key_diff_path_; }

  virtual bool Exists(const std::string& path) const;
  virtual Result<std::string> Read(const std::string& path) const;
  virtual Status Write(const std::string& path, std::string_view bytes);

  // The rows of the file; nothing when it does not exist; an error when it cannot be read.
  Result<std::optional<KeyMap>> Load(const std::string& path) const;
  // Rewrites the file whole; on failure the earlier file stays as it was.
  Status Save(const std::string& path, const KeyMap& map);

 private:
  std::string key_map_path_;
  std::string key_diff_path_;
};

// The user's message for a key map file that could not be read or written.
std::string KeyMapReadErrorText(const Error& error);
std::string KeyMapWriteErrorText(const Error& error);

}  // namespace tessary
