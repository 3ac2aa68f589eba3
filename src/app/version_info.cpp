// The version text from the build's version and the executable's date; the picture index.
#include "app/version_info.h"

#include <sys/stat.h>

#include <array>
#include <cstdio>

#include "platform/app_home.h"

namespace tessary {
namespace {

constexpr std::array<std::string_view, kVersionImageCount> kCaptions = {"山と朝日", "波", "市松",
                                                                        "月と星",   "木", "風車"};

int Clamp(int index) {
  return index >= 0 && index < kVersionImageCount ? index : 0;
}

}  // namespace

std::string VersionText(std::string_view project_version,
                        std::optional<std::time_t> executable_time) {
  std::string text(project_version);
  if (!executable_time) return text;
  std::tm local{};
  if (!localtime_r(&*executable_time, &local)) return text;
  char date[32];
  std::snprintf(date, sizeof date, " (%04d.%02d.%02d)", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday);
  text += date;
  return text;
}

std::optional<std::time_t> ExecutableTime() {
  struct stat st {};
  const std::string path = ExecutablePath();
  if (path.empty() || stat(path.c_str(), &st) != 0) return std::nullopt;
  return st.st_mtime;
}

std::string_view ProjectVersion() {
  return TESSARY_VERSION;
}

int ReadVersionImage(const PrivateProfile& ini) {
  return Clamp(ini.ReadInteger("VersionImage", "Index", 0));
}

Status WriteVersionImage(PrivateProfile& ini, int index) {
  return ini.WriteInteger("VersionImage", "Index", Clamp(index));
}

int NextVersionImage(int index) {
  return (Clamp(index) + 1) % kVersionImageCount;
}

std::string_view VersionImageCaption(int index) {
  return kCaptions[static_cast<size_t>(Clamp(index))];
}

}  // namespace tessary
