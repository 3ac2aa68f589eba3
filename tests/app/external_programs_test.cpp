// Launchers, favourites and companions: exact argument lists for hostile names, settings,
// captions, messages, and a real start of a small script.
#include "app/external_programs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/file_io.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::ScriptedMessages;
using testing::TempDir;
using Args = std::vector<std::string>;

class RecordingLauncher final : public ProcessLauncher {
 public:
  Status Start(const LaunchRequest& r) override {
    requests.push_back(r);
    if (fail) return Error{"cannot run: no such thing", 2};
    return Success();
  }
  std::vector<LaunchRequest> requests;
  bool fail = false;
};

std::string Executable(const TempDir& dir, const std::string& name, std::string_view body) {
  const std::string path = dir.Write(name, body);
  chmod(path.c_str(), 0755);
  return path;
}

TEST(ArgumentTemplateTest, QuotesGroupWordsAndDoubledQuotesStandForOne) {
  using W = TemplateWord;
  EXPECT_EQ(SplitArgumentTemplate("  /l  12\t\"a b\"  "),
            (std::vector<W>{{"/l", false}, {"12", false}, {"a b", true}}));
  EXPECT_EQ(
      SplitArgumentTemplate(R"(x"y z"w "" "say ""hi""" C:\tool\)"),
      (std::vector<W>{{"xy zw", true}, {"", true}, {"say \"hi\"", true}, {"C:\\tool\\", false}}));
  EXPECT_TRUE(SplitArgumentTemplate(" \t ").empty());
  // An unclosed quote runs to the end.
  EXPECT_EQ(SplitArgumentTemplate("\"open end "), (std::vector<W>{{"open end ", true}}));
}

TEST(ArgumentTemplateTest, PilkaStyleTemplateAndNoDocument) {
  EXPECT_EQ(LauncherArguments("/l $(CurLine) \"$(FileNameEx)\"", "/home/u/a.txt", 12),
            (Args{"/l", "12", "/home/u/a.txt"}));
  // No document: the quoted file name stays as an empty argument, the bare one goes.
  EXPECT_EQ(LauncherArguments("/l $(CurLine) \"$(FileNameEx)\"", "", 1), (Args{"/l", "1", ""}));
  EXPECT_EQ(LauncherArguments("$(FileNameEx) -n$(CurLine)", "", 1), (Args{"-n1"}));
  // Placeholders are case-sensitive and may sit inside a word, several times.
  EXPECT_EQ(LauncherArguments("$(filenameex) +$(CurLine):$(CurLine)", "f", 7),
            (Args{"$(filenameex)", "+7:7"}));
}

TEST(ArgumentTemplateTest, HostileFileNamesArriveAsExactlyOneArgument) {
  const std::string names[] = {
      "/tmp/a b/c d.txt",
      "/tmp/q\"uo\"te.txt",
      "/tmp/$(CurLine)$(FileNameEx).txt",
      "/tmp/x; rm -rf ~ `id` $HOME.txt",
      "/tmp/line\nbreak\ttab.txt",
      "/tmp/\"\".txt",
  };
  for (const std::string& name : names) {
    EXPECT_EQ(LauncherArguments("$(FileNameEx)", name, 3), Args{name}) << name;
    EXPECT_EQ(LauncherArguments("\"$(FileNameEx)\"", name, 3), Args{name}) << name;
    std::string joined = "--file=";
    joined += name;
    EXPECT_EQ(LauncherArguments("-v --file=$(FileNameEx) $(CurLine)", name, 3),
              (Args{"-v", joined, "3"}))
        << name;
  }
}

TEST(ExternalProgramsTest, LauncherStartsItsProgramInItsFolderWithTheExpandedArguments) {
  TempDir dir, home;
  const std::string program = Executable(dir, "tool", "#!/bin/sh\n");
  PrivateProfile ini(home.File("t.ini"));
  ASSERT_TRUE(WriteLauncher(ini, 2, {program, "-l $(CurLine) \"$(FileNameEx)\""}).ok());
  RecordingLauncher launcher;
  ScriptedMessages messages;
  ExternalPrograms programs(launcher, messages, ini, dir.path());
  programs.RunLauncher(2, "/d/my file.txt", 40);
  ASSERT_EQ(launcher.requests.size(), 1u);
  EXPECT_EQ(launcher.requests[0].program, program);
  EXPECT_EQ(launcher.requests[0].arguments, (Args{"-l", "40", "/d/my file.txt"}));
  EXPECT_EQ(launcher.requests[0].working_folder, std::filesystem::path(program).parent_path());
  EXPECT_TRUE(messages.shown.empty());
}

TEST(ExternalProgramsTest, UnsetMissingAndFailingLaunchersAreToldToTheUser) {
  TempDir dir, home;
  PrivateProfile ini(home.File("t.ini"));
  RecordingLauncher launcher;
  ScriptedMessages messages;
  ExternalPrograms programs(launcher, messages, ini, dir.path());
  programs.RunLauncher(1, "", 1);
  ASSERT_TRUE(WriteLauncher(ini, 1, {dir.File("gone"), ""}).ok());
  programs.RunLauncher(1, "", 1);
  ASSERT_TRUE(WriteLauncher(ini, 1, {Executable(dir, "t", ""), ""}).ok());
  launcher.fail = true;
  programs.RunLauncher(1, "", 1);
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_EQ(messages.shown[0], kLauncherNotSetMessage);
  std::string missing(kProgramMissingMessage);
  missing += "\r\n";
  missing += dir.File("gone");
  EXPECT_EQ(messages.shown[1], missing);
  EXPECT_EQ(messages.shown[2], "プログラムを起動できません\r\ncannot run: no such thing");
  EXPECT_EQ(launcher.requests.size(), 1u);
}

TEST(ExternalProgramsTest, CompanionsAreFoundWithOrWithoutExeAndGetThePathAsOneArgument) {
  TempDir exe_dir, docs, home;
  PrivateProfile ini(home.File("t.ini"));
  RecordingLauncher launcher;
  ScriptedMessages messages;
  ExternalPrograms programs(launcher, messages, ini, exe_dir.path());
  const std::string doc = docs.Write("a b;c.txt", "x");
  programs.RunCompanion(Companion::Binary, doc);
  EXPECT_EQ(messages.shown, Args{"実行ファイルがありません"});
  const std::string binary = Executable(exe_dir, "Rorezuvidavuv", "");
  const std::string csv = Executable(exe_dir, "Virovadizi.exe", "");
  EXPECT_EQ(FindCompanion(exe_dir.path(), Companion::Binary), binary);
  EXPECT_EQ(FindCompanion(exe_dir.path(), Companion::Csv), csv);
  programs.RunCompanion(Companion::Csv, doc);
  programs.RunCompanion(Companion::Binary, "");
  programs.RunCompanion(Companion::Binary, docs.File("not there.txt"));
  ASSERT_EQ(launcher.requests.size(), 1u);
  EXPECT_EQ(launcher.requests[0].program, csv);
  EXPECT_EQ(launcher.requests[0].arguments, Args{doc});
  EXPECT_EQ(messages.shown, (Args{"実行ファイルがありません", "読み込むファイルがありません",
                                  "読み込むファイルがありません"}));
}

TEST(ExternalProgramsTest, EntriesRoundTripAndAnIndexOutsideTheCodesReadsAutomatic) {
  TempDir home;
  PrivateProfile ini(home.File("t.ini"));
  const FavoriteEntry f{"/home/u/日本語.txt", 3, "UTF8"};
  ASSERT_TRUE(WriteFavorite(ini, 3, f).ok());
  EXPECT_EQ(ReadFavorite(ini, 3), f);
  EXPECT_EQ(ReadFavorite(ini, 1), FavoriteEntry{});
  for (int bad : {8, -1, 99}) {
    ASSERT_TRUE(ini.WriteInteger("Favorite2", "Index", bad).ok());
    EXPECT_EQ(ReadFavorite(ini, 2).index, 0) << bad;
  }
  ASSERT_TRUE(ini.WriteInteger("Favorite2", "Index", 7).ok());
  EXPECT_EQ(ReadFavorite(ini, 2).index, 7);
  const LauncherEntry l{"/opt/p/ed", "/l $(CurLine) \"$(FileNameEx)\""};
  ASSERT_TRUE(WriteLauncher(ini, 1, l).ok());
  EXPECT_EQ(ReadLauncher(ini, 1), l);
}

TEST(ExternalProgramsTest, CaptionsShowTheFileNamePartLiterallyOnOneLine) {
  EXPECT_EQ(LauncherCaption(1, "/opt/tools/viewer"), "外部プログラム １ 起動(&U) viewer");
  EXPECT_EQ(LauncherCaption(3, ""), "外部プログラム ３ 起動(&W)");
  EXPECT_EQ(FavoriteCaption(2, "/d/R&D\tplan\r\n.txt"), "お気入２ 起動(&Y) R&&D plan  .txt");
}

// Waits for a file the started script writes; the script runs on its own.
std::string WaitForFile(const std::string& path) {
  for (int i = 0; i < 500 && !FileExists(path); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  Result<std::string> r = ReadWholeFile(path);
  return r ? r.value() : std::string();
}

TEST(PosixProcessLauncherTest, ScriptGetsEachArgumentExactlyAndRunsInItsOwnFolder) {
  TempDir dir;
  const std::string out = dir.File("out.txt");
  const std::string script = testing::ArgumentRecorderScript(out);
  const std::string program = Executable(dir, "record", script);
  const std::string before = std::filesystem::current_path().string();
  const std::string hostile = "a \"b\" $(CurLine); `id` $HOME\nz";
  PosixProcessLauncher launcher;
  ASSERT_TRUE(ExecuteProgramEx(launcher, program,
                               LauncherArguments("-x \"$(FileNameEx)\" $(CurLine)", hostile, 5))
                  .ok());
  std::string expected = std::filesystem::canonical(dir.path()).string();
  expected += "\n[-x]\n[";
  expected += hostile;
  expected += "]\n[5]\n";
  EXPECT_EQ(WaitForFile(out), expected);
  EXPECT_EQ(std::filesystem::current_path().string(), before);
}

TEST(PosixProcessLauncherTest, MissingAndNotExecutableProgramsReportAFailure) {
  TempDir dir;
  PosixProcessLauncher launcher;
  const Status missing = launcher.Start({dir.File("nothing"), {}, ""});
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().system_error, ENOENT);
  const std::string plain = dir.Write("plain.txt", "#!/bin/sh\n");
  const Status refused = launcher.Start({plain, {}, dir.path()});
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error().system_error, EACCES);
  const Status no_folder = launcher.Start({"/bin/true", {}, dir.File("no-such-folder")});
  ASSERT_FALSE(no_folder.ok());
  EXPECT_EQ(no_folder.error().system_error, ENOENT);
}

}  // namespace
}  // namespace tessary
