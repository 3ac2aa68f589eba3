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

std::string AppHomeDir() {
  std::string dir = Env("TESSARY_HOME");
  if (dir.empty()) {
    std::string exe = ExecutablePath();
    if (!exe.empty() && ::access(Parent(exe).c_str(), W_OK) == 0) return Parent(exe);
    std::string base = Env("XDG_CONFIG_HOME");
    if (base.empty()) base = Env("HOME") + "/.config";
    dir = base + "/tessary";
  }
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  MakeDirs(dir);
  return dir;
}

std::string WorkingFilePath(const std::string& name) {
  return AppHomeDir() + "/Tessary-" + name + ".txt";
}

}  // namespace tessary
