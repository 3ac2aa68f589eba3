// Where the settings file and the "Tessary-" working files live.
#pragma once

#include <string>

namespace tessary {

// The folder for settings and working files, without a trailing slash:
// $TESSARY_HOME when set; else the executable's folder when it is writable;
// else $XDG_CONFIG_HOME/tessary (default ~/.config/tessary), created on demand.
std::string AppHomeDir();

// AppHomeDir() + "/Tessary-" + name + ".txt".
std::string WorkingFilePath(const std::string& name);

// Full path of the running executable, empty when it cannot be found.
std::string ExecutablePath();

}  // namespace tessary
