// Where the program's own files lie: beside the executable, or in the system's places once
// installed.
#pragma once

#include <string>
#include <string_view>

#include "base/result.h"

namespace tessary {

// Folders of an installation relative to its prefix, as the build's install rules use them.
struct InstallDirs {
  std::string_view bin = "bin";
  std::string_view data = "share";
  std::string_view lib = "lib";
};

// The folders this build installs into.
[[nodiscard]] InstallDirs BuiltInstallDirs();

// The files that the build keeps beside the executable and an installation spreads out.
enum class ProgramFile {
  Manual,            // "Tessary.txt", the help window's text
  SettingsDefaults,  // "tessary.ini", what a user's first settings file starts as
};

enum class Layout {
  BesideExecutable,  // a build folder or a folder the program was copied into
  Installed,         // <prefix>/bin with <prefix>/share/tessary beside it
};

class ProgramFiles {
 public:
  // The layout is read from the disk once: installed when the executable's folder is the
  // prefix's bin folder and the prefix holds the data folder "tessary".
  ProgramFiles(const std::string& executable, const InstallDirs& dirs);
  [[nodiscard]] static ProgramFiles OfThisProgram();

  Layout layout() const { return layout_; }
  // Where the file is looked for. Settings defaults exist only in an installation; beside an
  // executable the path is empty, and the built-in defaults apply.
  [[nodiscard]] std::string PathOf(ProgramFile file) const;
  // The folder of the libraries the program loads at run time (the Unicode CSV viewer).
  [[nodiscard]] std::string LibraryFolder() const;

 private:
  Layout layout_ = Layout::BesideExecutable;
  std::string exe_folder_;
  std::string data_folder_;  // <prefix>/share/tessary when installed
  std::string lib_folder_;   // <prefix>/lib/tessary when installed
};

// An installed program's first start for a user: when the settings file is missing, it is
// written whole from the defaults, preferring an administrator's copy in $XDG_CONFIG_DIRS (default
// /etc/xdg) under "tessary/" over the installed one. An existing settings file is never touched;
// without defaults nothing is written.
[[nodiscard]] Status SeedSettingsFile(const std::string& settings_file, const ProgramFiles& files);

}  // namespace tessary
