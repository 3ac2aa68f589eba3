// The manual's path and the help window's wrap setting.
#include "commands/help_index.h"

#include "platform/file_io.h"
#include "platform/install_layout.h"

namespace tessary {
namespace {

constexpr std::string_view kSection = "Help";

}  // namespace

std::string HelpTextPath(std::string_view executable) {
  return ProgramFiles(std::string(executable), BuiltInstallDirs()).PathOf(ProgramFile::Manual);
}

std::string ReadHelpText(const std::string& path) {
  Result<std::string> bytes = ReadWholeFile(path);
  return bytes ? std::move(bytes).value() : std::string();
}

HelpWrap ReadHelpWrap(const PrivateProfile& ini) {
  if (ini.ReadBool(kSection, "WrapNone", false)) return HelpWrap::None;
  return ini.ReadBool(kSection, "WrapWindowWidth", true) ? HelpWrap::WindowWidth : HelpWrap::None;
}

Status WriteHelpWrap(PrivateProfile& ini, HelpWrap wrap) {
  Status none = ini.WriteBool(kSection, "WrapNone", wrap == HelpWrap::None);
  if (!none) return none;
  return ini.WriteBool(kSection, "WrapWindowWidth", wrap == HelpWrap::WindowWidth);
}

}  // namespace tessary
