// The main window's close keys and external-program items on Qt's offscreen platform.
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTreeView>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/external_programs.h"
#include "app/ui/form_main.h"
#include "codec/sjis_text.h"
#include "commands/key_map_state.h"
#include "editor/ui/editor.h"
#include "platform/file_io.h"
#include "support/qt_test_app.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"
#include "viewers/csv_list_utf_api.h"

namespace tessary {
namespace {

using testing::ScriptedMessages;
using testing::TempDir;

class RecordingLauncher final : public ProcessLauncher {
 public:
  explicit RecordingLauncher(std::vector<LaunchRequest>& log) : log_(log) {}
  Status Start(const LaunchRequest& r) override {
    log_.push_back(r);
    return Success();
  }

 private:
  std::vector<LaunchRequest>& log_;
};

class FormMainExternTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::OffscreenApp();
    const char* h = std::getenv("TESSARY_HOME");
    outer_home_ = h ? h : "";
    home_ = std::make_unique<TempDir>();
    files_ = std::make_unique<TempDir>();
    setenv("TESSARY_HOME", home_->path().c_str(), 1);
  }
  void TearDown() override {
    window_.reset();
    setenv("TESSARY_HOME", outer_home_.c_str(), 1);
  }
  TFormMain& OpenShown(std::vector<std::string> args) {
    window_ = std::make_unique<TFormMain>(messages_, AppHome::FromEnvironment(), std::move(args));
    window_->show_startup_notice = [](KeyMapCheck) {};
    window_->process_launcher = std::make_unique<RecordingLauncher>(launched_);
    window_->ShowFirst();
    QApplication::processEvents();
    return *window_;
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers m = Qt::NoModifier, bool repeat = false) {
    QKeyEvent e(QEvent::KeyPress, key, m, key == Qt::Key_Q ? "q" : QString(), repeat);
    QApplication::sendEvent(&window_->Editor1(), &e);
    QApplication::processEvents();
  }
  bool Visible() const { return window_->isVisible(); }
  PrivateProfile Ini() const { return PrivateProfile(AppHome::FromEnvironment().SettingsFile()); }
  std::string Text(CommandId id) const { return window_->Action(id)->text().toStdString(); }

  ScriptedMessages messages_;
  std::vector<LaunchRequest> launched_;
  std::unique_ptr<TempDir> home_, files_;
  std::unique_ptr<TFormMain> window_;
  std::string outer_home_;
};

TEST_F(FormMainExternTest, EscapeClosesAProtectedDocumentButRepeatsAndCtrlQDoNot) {
  const std::string file = files_->Write("view.txt", "abc\r\n");
  OpenShown({"/r", file});
  ASSERT_TRUE(Visible());
  Key(Qt::Key_Escape, Qt::NoModifier, true);  // held down before the window opened
  Key(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_TRUE(Visible());
  Key(Qt::Key_Escape);
  EXPECT_FALSE(Visible());
}

TEST_F(FormMainExternTest, KeypadEnterAndXCloseWhileQTypesIntoAWritableDocument) {
  const std::string file = files_->Write("edit.txt", "abc\r\n");
  OpenShown({file});
  Key(Qt::Key_Q);
  EXPECT_TRUE(Visible());
  EXPECT_EQ(window_->Editor1().Control().RowText(0), "qabc");
  window_->Action(CommandId::MenuReadOnly)->trigger();
  // The typed letter made the document modified: closing asks, and No keeps it open.
  messages_.answers = {Answer::No};
  Key(Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_TRUE(Visible());
  EXPECT_EQ(messages_.asked.size(), 1u);
  // An unchecked item leaves its key to the editor.
  window_->Action(CommandId::MenuCloseXkey)->trigger();
  Key(Qt::Key_X);
  EXPECT_TRUE(Visible());
  EXPECT_EQ(messages_.asked.size(), 1u);
}

TEST_F(FormMainExternTest, CaptionsShowFileNamesWhileTheKeyMapKeepsTheTableCaptions) {
  PrivateProfile ini = Ini();
  ASSERT_TRUE(WriteFavorite(ini, 1, {"/d/R&D\tplan.txt", 0, ""}).ok());
  // A line end never reaches the settings file (it could not be read back); a TAB does.
  ASSERT_TRUE(WriteLauncher(ini, 3, {"/opt/x/view\ter", ""}).ok());
  OpenShown({});
  EXPECT_EQ(Text(CommandId::MenuFavoriteAuto1), "お気入１ 起動(&X) R&&D plan.txt");
  EXPECT_EQ(Text(CommandId::MenuFavoriteAuto2), "お気入２ 起動(&Y)");
  EXPECT_EQ(Text(CommandId::MenuLauncherAuto3), "外部プログラム ３ 起動(&W) view er");
  Result<std::string> map = ReadWholeFile(AppHome::FromEnvironment().PathOf(WorkingFile::KeyMap));
  ASSERT_TRUE(map.ok());
  const std::string text = SjisToUtf8(map.value());
  EXPECT_EQ(text.find("plan"), std::string::npos);
  EXPECT_EQ(text.find("view"), std::string::npos);
  EXPECT_NE(text.find("\tお気入１ 起動(&X)\t"), std::string::npos);
  EXPECT_NE(text.find("\t外部プログラム ３ 起動(&W)\t"), std::string::npos);
}

TEST_F(FormMainExternTest, LauncherGetsTheDocumentAndCaretLineAndAFavouriteLoadsItsFile) {
  const std::string doc = files_->Write("a b.txt", "one\r\ntwo\r\nthree\r\n");
  const std::string fav = files_->Write("fav.txt", "favourite\r\n");
  const std::string program = files_->Write("tool", "");
  PrivateProfile ini = Ini();
  ASSERT_TRUE(WriteLauncher(ini, 1, {program, "-n $(CurLine) \"$(FileNameEx)\""}).ok());
  ASSERT_TRUE(WriteFavorite(ini, 2, {fav, 1, "Shift-JIS"}).ok());
  ASSERT_TRUE(WriteFavorite(ini, 3, {files_->File("gone.txt"), 0, ""}).ok());
  OpenShown({doc});
  window_->Editor1().Control().SetSelStart(6);  // on line 2
  window_->Action(CommandId::MenuLauncherAuto1)->trigger();
  ASSERT_EQ(launched_.size(), 1u);
  EXPECT_EQ(launched_[0].arguments, (std::vector<std::string>{"-n", "2", doc}));
  EXPECT_EQ(launched_[0].working_folder, files_->path());
  window_->Action(CommandId::MenuFavoriteAuto3)->trigger();
  std::string missing = "ファイルがありません\r\n";
  missing += files_->File("gone.txt");
  EXPECT_EQ(messages_.shown, std::vector<std::string>{missing});
  window_->Action(CommandId::MenuFavoriteAuto2)->trigger();
  EXPECT_EQ(window_->Document().CodeState().FileName, fav);
  EXPECT_EQ(window_->Editor1().Control().RowText(0), "favourite");
}

TEST_F(FormMainExternTest, NewEditorStartsThisProgramAndChoosersSayWhenWindowsCannotBeListed) {
  OpenShown({});
  window_->Action(CommandId::MenuNewEditor)->trigger();
  ASSERT_EQ(launched_.size(), 1u);
  EXPECT_EQ(launched_[0].program, ExecutablePath());
  EXPECT_TRUE(launched_[0].arguments.empty());
  // The offscreen platform, like a Wayland session, has no other windows to list.
  window_->Action(CommandId::MenuEditorSetFocus)->trigger();
  window_->Action(CommandId::MenuFilerSetFocus)->trigger();
  const std::string told(kCannotListWindowsMessage);
  EXPECT_EQ(messages_.shown, (std::vector<std::string>{told, told}));
  // No companion program stands beside the test program.
  window_->Action(CommandId::MenuShowBinaryExe)->trigger();
  window_->Action(CommandId::MenuShowCsvExe)->trigger();
  EXPECT_EQ(messages_.shown.size(), 4u);
  EXPECT_EQ(messages_.shown.back(), kProgramMissingMessage);
  EXPECT_EQ(launched_.size(), 1u);
}

// The Unicode CSV library's window: a visible top-level window other than the main one.
QTreeView* CsvLibraryTable(const QWidget* main) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != main && w->isVisible())
      if (auto* t = w->findChild<QTreeView*>()) return t;
  return nullptr;
}

TEST_F(FormMainExternTest, UnicodeCsvCommandTellsAMissingLibraryByItsFileName) {
  OpenShown({files_->Write("t.csv", "a,b\r\n")});
  window_->csv_list_utf_library = files_->File(std::string(kCsvListUtfLibrary));
  window_->Action(CommandId::MenuShowNoteCsv)->trigger();
  std::string want = "DLL が読み込まれていません\r\n";
  want += kCsvListUtfLibrary;
  EXPECT_EQ(messages_.shown, std::vector<std::string>{want});
  window_->close();  // nothing was loaded: no message at exit
  EXPECT_EQ(messages_.shown.size(), 1u);
}

TEST_F(FormMainExternTest, UnicodeCsvCommandShowsTheFileThroughTheLibraryUntilTheWindowCloses) {
  OpenShown({files_->Write("t.csv", "名前,値\r\n\"😀\",1\r\n")});
  window_->csv_list_utf_library = TESSARY_CSVLIST_UTF_LIBRARY;
  window_->Action(CommandId::MenuShowNoteCsv)->trigger();
  QApplication::processEvents();
  QTreeView* table = CsvLibraryTable(window_.get());
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->model()->rowCount(), 2);
  EXPECT_EQ(table->model()->index(1, 1).data().toString().toStdString(), "😀");
  window_->close();  // CloseForm, then the library is unloaded
  EXPECT_EQ(CsvLibraryTable(window_.get()), nullptr);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(FormMainExternTest, LauncherItemReallyStartsItsProgramWithTheDocumentAsOneArgument) {
  const std::string doc = files_->Write("a b;$(CurLine).txt", "one\r\n");
  const std::string out = files_->File("args.txt");
  const std::string script = testing::ArgumentRecorderScript(out);
  const std::string program = files_->Write("record", script);
  ASSERT_EQ(chmod(program.c_str(), 0755), 0);
  PrivateProfile ini = Ini();
  ASSERT_TRUE(WriteLauncher(ini, 2, {program, "--line=$(CurLine) $(FileNameEx)"}).ok());
  OpenShown({doc});
  window_->process_launcher = std::make_unique<PosixProcessLauncher>();
  window_->Action(CommandId::MenuLauncherAuto2)->trigger();
  for (int i = 0; i < 500 && !FileExists(out); ++i) QTest::qWait(10);
  std::string expected = std::filesystem::canonical(files_->path()).string();
  expected += "\n[--line=1]\n[";
  expected += doc;
  expected += "]\n";
  Result<std::string> got = ReadWholeFile(out);
  ASSERT_TRUE(got.ok());
  EXPECT_EQ(got.value(), expected);
  EXPECT_TRUE(messages_.shown.empty());
}

}  // namespace
}  // namespace tessary
