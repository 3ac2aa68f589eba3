// Where the settings file and the "Tessary-" working files live, and which working files exist.
#pragma once

#include <string>
#include <string_view>

#include "platform/install_layout.h"

namespace tessary {

// Every working file of the system, one entry each; nothing passes a file name around.
enum class WorkingFile {
  UnKnown,      // the last 8-bit file without its control bytes
  UtfSrc,       // the 16-bit save's Shift-JIS input
  UtfDst,       // the 16-bit save's UTF-16 output
  History,      // caret rows of files
  Recent,       // recent files
  Title,        // window-title patterns of the file manager switch
  KeyMap,       // the key map
  KeyDiff,      // the key map's changed rows
  Find,         // search words of the main editor
  Replace,      // replacement words
  OutLine,      // the outline's headings
  Help,         // the help index
  BinSrc,       // the binary viewer's input
  BinDst,       // the binary viewer's dump
  OstrIndex,    // the board log's index
  OstrSkip,     // the board log's skipped titles
  OstrFind,     // search words of the board log viewer
  Snippet,      // text snippets
  SnippetFile,  // names of the file snippets
};

// "Tessary-" + name + ".txt".
[[nodiscard]] std::string_view WorkingFileName(WorkingFile file);

// The folders of working data that live in the settings folder beside the working files.
enum class WorkingFolder {
  SnippetFile,  // one text file per file snippet
};

// The folder's own name: "SnippetFile".
[[nodiscard]] std::string_view WorkingFolderName(WorkingFolder folder);

// The settings folder as a value. It is worked out once, where the program starts, and handed
// to whatever keeps files there, so tests can point any part at a folder of their own.
class AppHome {
 public:
  explicit AppHome(std::string folder);
  // $TESSARY_HOME when set; else the executable's folder when it is writable and the program
  // is not installed; else $XDG_CONFIG_HOME/tessary (default ~/.config/tessary), created on
  // demand. An installed program keeps each user's settings in the user's own folder, also
  // when its folder is writable (run by root, or installed under the user's home).
  [[nodiscard]] static AppHome FromEnvironment();
  [[nodiscard]] static AppHome ForProgram(const std::string& executable, Layout layout);

  // Without a trailing slash.
  const std::string& folder() const { return folder_; }
  [[nodiscard]] std::string PathOf(WorkingFile file) const;
  [[nodiscard]] std::string PathOf(WorkingFolder folder) const;
  // "<folder>/<executable name without extension>.ini".
  [[nodiscard]] std::string SettingsFile() const;

 private:
  std::string folder_;
};

// Full path of the running executable, empty when it cannot be found.
std::string ExecutablePath();

}  // namespace tessary
