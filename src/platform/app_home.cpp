// Resolution of the settings folder on POSIX systems.
#include "platform/app_home.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace tessary {
namespace {

std::string Parent(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// mkdir -p; failures show up later when the first file is written there.
void MakeDirs(const std::string& dir) {
  if (dir.empty() || ::access(dir.c_str(), F_OK) == 0) return;
  MakeDirs(Parent(dir));
  ::mkdir(dir.c_str(), 0755);
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

}  // namespace

std::string ExecutablePath() {
  char buf[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  return std::string(buf, static_cast<size_t>(n));
}

std::string_view WorkingFileName(WorkingFile file) {
  switch (file) {
    case WorkingFile::UnKnown:
      return "Tessary-UnKnown.txt";
    case WorkingFile::UtfSrc:
      return "Tessary-UtfSrc.txt";
    case WorkingFile::UtfDst:
      return "Tessary-UtfDst.txt";
    case WorkingFile::History:
      return "Tessary-History.txt";
    case WorkingFile::Recent:
      return "Tessary-Recent.txt";
    case WorkingFile::Title:
      return "Tessary-Title.txt";
    case WorkingFile::KeyMap:
      return "Tessary-KeyMap.txt";
    case WorkingFile::KeyDiff:
      return "Tessary-KeyDiff.txt";
    case WorkingFile::Find:
      return "Tessary-Find.txt";
    case WorkingFile::Replace:
      return "Tessary-Replace.txt";
    case WorkingFile::OutLine:
      return "Tessary-OutLine.txt";
    case WorkingFile::Help:
      return "Tessary-Help.txt";
    case WorkingFile::BinSrc:
      return "Tessary-BinSrc.txt";
    case WorkingFile::BinDst:
      return "Tessary-BinDst.txt";
    case WorkingFile::OstrIndex:
      return "Tessary-OstrIndex.txt";
    case WorkingFile::OstrSkip:
      return "Tessary-OstrSkip.txt";
    case WorkingFile::OstrFind:
      return "Tessary-OstrFind.txt";
    case WorkingFile::Snippet:
      return "Tessary-Snippet.txt";
    case WorkingFile::SnippetFile:
      return "Tessary-SnippetFile.txt";
  }
  return {};
}

std::string_view WorkingFolderName(WorkingFolder folder) {
  switch (folder) {
    case WorkingFolder::SnippetFile:
      return "SnippetFile";
  }
  return {};
}

AppHome::AppHome(std::string folder) : folder_(std::move(folder)) {
  while (folder_.size() > 1 && folder_.back() == '/') folder_.pop_back();
}

AppHome AppHome::FromEnvironment() {
  return ForProgram(ExecutablePath(), ProgramFiles::OfThisProgram().layout());
}

AppHome AppHome::ForProgram(const std::string& exe, Layout layout) {
  std::string dir = Env("TESSARY_HOME");
  if (dir.empty()) {
    if (layout == Layout::BesideExecutable && !exe.empty() &&
        ::access(Parent(exe).c_str(), W_OK) == 0)
      return AppHome(Parent(exe));
    std::string base = Env("XDG_CONFIG_HOME");
    if (base.empty()) base = Env("HOME") + "/.config";
    dir = base + "/tessary";
  }
  AppHome home(std::move(dir));
  MakeDirs(home.folder());
  return home;
}

std::string AppHome::PathOf(WorkingFile file) const {
  std::string path = folder_;
  path += '/';
  path += WorkingFileName(file);
  return path;
}

std::string AppHome::PathOf(WorkingFolder folder) const {
  std::string path = folder_;
  path += '/';
  path += WorkingFolderName(folder);
  return path;
}

std::string AppHome::SettingsFile() const {
  std::string stem = ExecutablePath();
  stem = stem.substr(stem.find_last_of('/') + 1);
  if (const size_t dot = stem.find_last_of('.'); dot != std::string::npos && dot > 0)
    stem.resize(dot);
  if (stem.empty()) stem = "tessary";
  return folder_ + "/" + stem + ".ini";
}

}  // namespace tessary
