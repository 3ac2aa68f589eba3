// The sub-commands of tessary-cli; each returns the process exit status.
#pragma once

#include <string>
#include <vector>

namespace tessary::cli {

using Args = std::vector<std::string>;  // the arguments after the sub-command's name

// Prints "tessary-cli COMMAND: PROBLEM", a blank line and the command's help on standard
// error; returns 2, the status of bad arguments.
int UsageError(const char* command, const char* problem, const char* help);

int DetectCommand(const Args& args);
int ConvertCommand(const Args& args);
int CountCommand(const Args& args);
int TextConvCommand(const Args& args);
int FindCommand(const Args& args);
int ReplaceCommand(const Args& args);

}  // namespace tessary::cli
