// Where a built and an installed program find their files, keep settings and get first defaults.
#include "platform/install_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/app_home.h"
#include "support/test_files.h"

namespace tessary {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileOrDie;
using testing::TempDir;

// Sets or clears an environment variable for one test and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

constexpr InstallDirs kDebianDirs{"bin", "share", "lib/x86_64-linux-gnu"};

// A prefix with the executable in bin/ and, when installed, the data folder share/tessary.
struct Prefix {
  TempDir dir;
  explicit Prefix(Layout layout) {
    fs::create_directories(dir.File("bin"));
    dir.Write("bin/tessary", "");
    if (layout == Layout::Installed) fs::create_directories(dir.File("share/tessary"));
  }
  std::string Exe() const { return dir.File("bin/tessary"); }
};

TEST(ProgramFiles, AnInstalledProgramLooksInItsPrefixAndABuiltOneBesideItself) {
  const Prefix installed(Layout::Installed);
  const ProgramFiles in(installed.Exe(), kDebianDirs);
  EXPECT_EQ(in.layout(), Layout::Installed);
  EXPECT_EQ(in.PathOf(ProgramFile::Manual), installed.dir.File("share/tessary/Tessary.txt"));
  EXPECT_EQ(in.PathOf(ProgramFile::SettingsDefaults),
            installed.dir.File("share/tessary/tessary.ini"));
  EXPECT_EQ(in.LibraryFolder(), installed.dir.File("lib/x86_64-linux-gnu/tessary"));

  // A build folder is also named bin, but holds no data folder beside it.
  const Prefix built(Layout::BesideExecutable);
  const ProgramFiles beside(built.Exe(), kDebianDirs);
  EXPECT_EQ(beside.layout(), Layout::BesideExecutable);
  EXPECT_EQ(beside.PathOf(ProgramFile::Manual), built.dir.File("bin/Tessary.txt"));
  EXPECT_EQ(beside.PathOf(ProgramFile::SettingsDefaults), "");
  EXPECT_EQ(beside.LibraryFolder(), built.dir.File("bin"));

  // A program copied into a folder of another name is used where it lies.
  TempDir portable;
  fs::create_directories(portable.File("share/tessary"));
  const ProgramFiles copied(portable.File("tessary"), kDebianDirs);
  EXPECT_EQ(copied.layout(), Layout::BesideExecutable);
  EXPECT_EQ(copied.PathOf(ProgramFile::Manual), portable.File("Tessary.txt"));
}

TEST(AppHome, AnInstalledProgramKeepsSettingsInTheUsersFolderEvenWhenItsOwnIsWritable) {
  TempDir user;
  const ScopedEnv no_home("TESSARY_HOME", std::nullopt);
  const ScopedEnv xdg("XDG_CONFIG_HOME", user.File("config"));
  const Prefix installed(Layout::Installed);
  EXPECT_EQ(AppHome::ForProgram(installed.Exe(), Layout::Installed).folder(),
            user.File("config/tessary"));
  EXPECT_TRUE(fs::is_directory(user.File("config/tessary")));
  // A build runs with its settings beside it, as long as it may write there.
  const Prefix built(Layout::BesideExecutable);
  EXPECT_EQ(AppHome::ForProgram(built.Exe(), Layout::BesideExecutable).folder(),
            built.dir.File("bin"));
  {
    const ScopedEnv no_xdg("XDG_CONFIG_HOME", std::nullopt);
    const ScopedEnv home("HOME", user.path());
    EXPECT_EQ(AppHome::ForProgram(installed.Exe(), Layout::Installed).folder(),
              user.File(".config/tessary"));
  }
  const ScopedEnv chosen("TESSARY_HOME", user.File("chosen"));
  EXPECT_EQ(AppHome::ForProgram(installed.Exe(), Layout::Installed).folder(), user.File("chosen"));
}

TEST(SeedSettingsFile, ANewUserOfAnInstalledProgramStartsFromTheDefaultsOnce) {
  const ScopedEnv no_admin("XDG_CONFIG_DIRS", "/nonexistent-tessary-xdg");
  const Prefix installed(Layout::Installed);
  installed.dir.Write("share/tessary/tessary.ini", "[FormMain]\r\nWidth=960\r\n");
  const ProgramFiles files(installed.Exe(), kDebianDirs);
  TempDir user;
  const std::string settings = user.File("tessary.ini");
  ASSERT_TRUE(SeedSettingsFile(settings, files).ok());
  EXPECT_EQ(ReadFileOrDie(settings), "[FormMain]\r\nWidth=960\r\n");
  // The user's own settings are never replaced.
  user.Write("tessary.ini", "[FormMain]\r\nWidth=500\r\n");
  ASSERT_TRUE(SeedSettingsFile(settings, files).ok());
  EXPECT_EQ(ReadFileOrDie(settings), "[FormMain]\r\nWidth=500\r\n");

  // An administrator's defaults in the XDG configuration folders come first.
  TempDir admin;
  fs::create_directories(admin.File("xdg/tessary"));
  admin.Write("xdg/tessary/tessary.ini", "[FormMain]\r\nWidth=1200\r\n");
  const ScopedEnv dirs("XDG_CONFIG_DIRS", "/nonexistent-tessary-xdg:" + admin.File("xdg"));
  const std::string other = user.File("other.ini");
  ASSERT_TRUE(SeedSettingsFile(other, files).ok());
  EXPECT_EQ(ReadFileOrDie(other), "[FormMain]\r\nWidth=1200\r\n");

  // A build's settings start from the built-in defaults: nothing is written.
  const Prefix built(Layout::BesideExecutable);
  ASSERT_TRUE(
      SeedSettingsFile(user.File("built.ini"), ProgramFiles(built.Exe(), kDebianDirs)).ok());
  EXPECT_FALSE(fs::exists(user.File("built.ini")));
}

}  // namespace
}  // namespace tessary
