// Telling a build's layout from an installed one, and the settings a new user starts with.
#include "platform/install_layout.h"

#include <cstdlib>
#include <filesystem>

#include "platform/app_home.h"
#include "platform/file_io.h"

namespace tessary {
namespace {

constexpr std::string_view kDataName = "tessary";
constexpr std::string_view kDefaultsName = "tessary.ini";

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The prefix when `folder` is <prefix>/<bin>, else nothing.
std::string PrefixOf(const std::string& folder, std::string_view bin) {
  std::string suffix = "/";
  suffix += bin;
  if (folder.size() <= suffix.size() || !folder.ends_with(suffix)) return {};
  return folder.substr(0, folder.size() - suffix.size());
}

std::string Join(std::string_view a, std::string_view b, std::string_view c = {}) {
  std::string path(a);
  (path += '/') += b;
  if (!c.empty()) (path += '/') += c;
  return path;
}

// The first "<dir>/tessary/tessary.ini" of $XDG_CONFIG_DIRS, empty when none is there.
std::string AdministratorDefaults() {
  const char* env = std::getenv("XDG_CONFIG_DIRS");
  std::string_view dirs = env && *env ? env : "/etc/xdg";
  while (!dirs.empty()) {
    const size_t colon = dirs.find(':');
    const std::string_view dir = dirs.substr(0, colon);
    if (!dir.empty()) {
      std::string path = Join(dir, kDataName, kDefaultsName);
      if (FileExists(path)) return path;
    }
    dirs.remove_prefix(colon == std::string_view::npos ? dirs.size() : colon + 1);
  }
  return {};
}

}  // namespace

InstallDirs BuiltInstallDirs() {
  InstallDirs dirs;
#ifdef TESSARY_INSTALL_BINDIR
  dirs.bin = TESSARY_INSTALL_BINDIR;
  dirs.data = TESSARY_INSTALL_DATADIR;
  dirs.lib = TESSARY_INSTALL_LIBDIR;
#endif
  return dirs;
}

ProgramFiles::ProgramFiles(const std::string& executable, const InstallDirs& dirs)
    : exe_folder_(FolderOf(executable)) {
  const std::string prefix = PrefixOf(exe_folder_, dirs.bin);
  if (prefix.empty()) return;
  std::string data = Join(prefix, dirs.data, kDataName);
  std::error_code ec;
  if (!std::filesystem::is_directory(data, ec)) return;
  layout_ = Layout::Installed;
  data_folder_ = std::move(data);
  lib_folder_ = Join(prefix, dirs.lib, kDataName);
}

ProgramFiles ProgramFiles::OfThisProgram() {
  return ProgramFiles(ExecutablePath(), BuiltInstallDirs());
}

std::string ProgramFiles::PathOf(ProgramFile file) const {
  const bool installed = layout_ == Layout::Installed;
  switch (file) {
    case ProgramFile::Manual:
      return Join(installed ? data_folder_ : exe_folder_, "Tessary.txt");
    case ProgramFile::SettingsDefaults:
      return installed ? Join(data_folder_, kDefaultsName) : std::string();
  }
  return {};
}

std::string ProgramFiles::LibraryFolder() const {
  return layout_ == Layout::Installed ? lib_folder_ : exe_folder_;
}

Status SeedSettingsFile(const std::string& settings_file, const ProgramFiles& files) {
  if (files.layout() != Layout::Installed || KindOfPath(settings_file) != PathKind::Missing)
    return Success();
  std::string defaults = AdministratorDefaults();
  if (defaults.empty()) defaults = files.PathOf(ProgramFile::SettingsDefaults);
  if (defaults.empty() || !FileExists(defaults)) return Success();
  Result<std::string> bytes = ReadWholeFile(defaults);
  if (!bytes) return bytes.error();
  return WriteFileAtomic(settings_file, bytes.value());
}

}  // namespace tessary
