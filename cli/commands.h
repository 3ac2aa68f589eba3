// The sub-commands of tessary-cli; each returns the process exit status.
#pragma once

#include <string>
#include <vector>

namespace tessary::cli {

using Args = std::vector<std::string>;  // the arguments after the sub-command's name

int DetectCommand(const Args& args);
int ConvertCommand(const Args& args);
int CountCommand(const Args& args);
int TextConvCommand(const Args& args);
int FindCommand(const Args& args);
int ReplaceCommand(const Args& args);

}  // namespace tessary::cli
