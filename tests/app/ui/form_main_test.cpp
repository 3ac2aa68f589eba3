// The main window on Qt's offscreen platform with scripted answers, each test in its own home.
#include "app/ui/form_main.h"

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "app/document_fakes.h"
#include "app/editor_keys_at_exit.h"
#include "app/main_settings.h"
#include "app/startup_notice.h"
#include "app/ui/dec_edit.h"
#include "app/ui/form_wrap_length.h"
#include "base/mnemonics.h"
#include "codec/char_code_detector.h"
#include "codec/document_loader.h"
#include "codec/sjis_text.h"
#include "commands/text_conversion_commands.h"
#include "commands/ui/form_replace_tab.h"
#include "editor/leftbar_numbers.h"
#include "editor/ui/editor.h"
#include "support/qt_test_app.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::EventLog;
using testing::Hex;
using testing::ScriptedMessages;
using testing::TempDir;

QApplication& App() {
  return testing::OffscreenApp();
}

std::string U(const QString& s) {
  return s.toStdString();
}

class FormMainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    const char* h = std::getenv("TESSARY_HOME");
    outer_home_ = h ? h : "";
    home_ = std::make_unique<TempDir>();
    files_ = std::make_unique<TempDir>();
    // Settings, key map and lists of this test live in a home of their own.
    setenv("TESSARY_HOME", home_->path().c_str(), 1);
  }
  void TearDown() override {
    window_.reset();
    files_.reset();
    setenv("TESSARY_HOME", outer_home_.c_str(), 1);
    home_.reset();
  }

  TFormMain& Open(std::vector<std::string> args = {}) {
    window_ = std::make_unique<TFormMain>(messages_, AppHome::FromEnvironment(), std::move(args));
    window_->show_startup_notice = [this](KeyMapCheck) { notices_++; };
    window_->choose_font = [this](const FontChoice&) { return next_font_; };
    window_->choose_color = [this](TColor) { return next_color_; };
    return *window_;
  }
  TFormMain& OpenShown(std::vector<std::string> args = {}) {
    Open(std::move(args));
    window_->ShowFirst();
    QApplication::processEvents();
    return *window_;
  }
  // Destroys the window, which writes the settings as the program's exit does.
  void Close() { window_.reset(); }
  PrivateProfile Ini() const { return PrivateProfile(AppHome::FromEnvironment().SettingsFile()); }
  std::string Panel(int n, StatusBarId bar = StatusBarId::Bottom) const {
    return U(window_->PanelText(bar, n));
  }
  void Trigger(CommandId id) { window_->Action(id)->trigger(); }
  static std::string Sample(const char* name) {
    return std::string(TESSARY_SOURCE_DIR) + "/data/samples/" + name;
  }

  EventLog log_;
  ScriptedMessages messages_{log_};
  std::unique_ptr<TempDir> home_, files_;
  std::unique_ptr<TFormMain> window_;
  std::string outer_home_;
  int notices_ = 0;
  std::optional<FontChoice> next_font_;
  std::optional<TColor> next_color_;
};

TEST_F(FormMainTest, FirstStartUsesDefaultsAndWritesEveryEditorKeyAtExit) {
  TFormMain& w = OpenShown();
  EXPECT_EQ(w.Settings(), MainSettings{});
  EXPECT_EQ(w.Editor1().FontColor(), clWhite);
  EXPECT_EQ(w.Editor1().Color(), clBlack);
  EXPECT_EQ(w.PlacedBounds(), (Rect{0, 0, 800, 240}));
  EXPECT_TRUE(w.Action(CommandId::MenuWrapWindowWidth)->isChecked());
  EXPECT_FALSE(w.Action(CommandId::MenuSetMojiLength)->isEnabled());
  EXPECT_TRUE(w.Editor1().Control().WordWrap());
  EXPECT_EQ(w.Editor1().Caret().TabSpaceCount, 4);
  EXPECT_TRUE(w.StatusBar(StatusBarId::Top)->isVisible());
  EXPECT_TRUE(w.StatusBar(StatusBarId::Bottom)->isVisible());
  EXPECT_EQ(U(w.windowTitle()), " - Tessary");
  EXPECT_EQ(Panel(2), "1行, 1桁");
  EXPECT_EQ(Panel(4), "S-JIS");
  EXPECT_EQ(Panel(5), RetCodeName(RetCode::CrLf));
  EXPECT_EQ(w.minimumSize(), QSize(800, 240));
  const std::array<int, 7> widths{w.width() - 700, 100, 100, 100, 180, 120, 100};
  for (int p = 0; p < 7; ++p) {
    EXPECT_EQ(w.PanelWidth(StatusBarId::Top, p), widths[static_cast<size_t>(p)]) << p;
    EXPECT_EQ(w.PanelWidth(StatusBarId::Bottom, p), widths[static_cast<size_t>(p)]) << p;
  }
  // The notice is wanted on a first start, shown by Timer3 once the window stands.
  EXPECT_TRUE(w.NoticeTimerStarted());
  QTest::qWait(150);
  EXPECT_EQ(notices_, 1);
  EXPECT_TRUE(std::filesystem::exists(home_->path() + "/Tessary-KeyMap.txt"));
  Close();

  const PrivateProfile ini = Ini();
  for (const char* key : testing::kEditorKeysWrittenAtExit)
    EXPECT_TRUE(ini.ReadString("Editor", key).has_value()) << key;
  EXPECT_EQ(ini.ReadString("EditorColor", "FontColor", ""), "clWhite");
  EXPECT_EQ(ini.ReadString("EditorColor", "FontName", ""), Utf8ToSjis("ＭＳ ゴシック"));
  EXPECT_EQ(ini.ReadString("FormMain", "State", ""), "NORMAL");
  EXPECT_EQ(ini.ReadInteger("FormMain", "Width", 0), 800);
  EXPECT_TRUE(std::filesystem::exists(home_->path() + "/Tessary-History.txt"));
  EXPECT_TRUE(std::filesystem::exists(home_->path() + "/Tessary-Recent.txt"));
}

TEST_F(FormMainTest, PlacementMayHangFivePixelsAboveTheScreenButNotTen) {
  PrivateProfile ini = Ini();
  ASSERT_TRUE(ini.WriteInteger("FormMain", "Left", 20).ok());
  ASSERT_TRUE(ini.WriteInteger("FormMain", "Top", -5).ok());
  ASSERT_TRUE(ini.WriteInteger("FormMain", "Width", 300).ok());
  ASSERT_TRUE(ini.WriteInteger("FormMain", "Height", 200).ok());
  EXPECT_EQ(Open().PlacedBounds(), (Rect{20, -5, 300, 200}));
  Close();
  ASSERT_TRUE(ini.WriteInteger("FormMain", "Top", -10).ok());
  ASSERT_TRUE(ini.WriteInteger("FormMain", "Height", 200).ok());
  ASSERT_TRUE(ini.WriteInteger("FormMain", "Width", 300).ok());
  ASSERT_TRUE(ini.WriteString("FormMain", "State", "NORMAL").ok());
  EXPECT_EQ(Open().PlacedBounds(), (Rect{0, 0, 800, 240}));
}

TEST_F(FormMainTest, MaximisedAtExitWritesMaxAndKeepsTheNormalBounds) {
  PrivateProfile ini = Ini();
  ASSERT_TRUE(ini.WriteStrings({{"FormMain", "Left", "10"},
                                {"FormMain", "Top", "20"},
                                {"FormMain", "Width", "810"},
                                {"FormMain", "Height", "300"},
                                {"FormMain", "State", "MAX"}})
                  .ok());
  TFormMain& w = OpenShown();
  EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
  Close();
  EXPECT_EQ(ini.ReadString("FormMain", "State", ""), "MAX");
  EXPECT_EQ(ini.ReadInteger("FormMain", "Left", -1), 10);
  EXPECT_EQ(ini.ReadInteger("FormMain", "Top", -1), 20);
  EXPECT_EQ(ini.ReadInteger("FormMain", "Width", -1), 810);
  EXPECT_EQ(ini.ReadInteger("FormMain", "Height", -1), 300);
}

TEST_F(FormMainTest, CommandLineReadOnlyInEitherCaseAndOtherArguments) {
  const std::string file = files_->Write("a.txt", "abc\r\n");
  {
    TFormMain& w = OpenShown({"/R", file});
    EXPECT_EQ(w.Document().CodeState().FileName, file);
    EXPECT_TRUE(w.Editor1().Control().ReadOnly());
    EXPECT_TRUE(w.Action(CommandId::MenuReadOnly)->isChecked());
    EXPECT_EQ(Panel(6), "書禁");
    EXPECT_EQ(w.Editor1().FontColor(), clBlack);  // the read-only scheme
    EXPECT_EQ(w.Editor1().Color(), clWhite);
    Close();
  }
  {
    TFormMain& w = OpenShown({"x", file});
    EXPECT_EQ(w.Document().CodeState().FileName, file);
    EXPECT_FALSE(w.Editor1().Control().ReadOnly());
    Close();
  }
  {
    // One argument is the file: "/r" alone names a file that is not there, silently.
    TFormMain& w = OpenShown({"/r"});
    EXPECT_EQ(w.Document().CodeState().FileName, "");
    EXPECT_FALSE(w.Editor1().Control().ReadOnly());
    Close();
  }
  {
    TFormMain& w = OpenShown({file});
    EXPECT_EQ(w.Document().CodeState().FileName, file);
  }
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(FormMainTest, ALongFilesStartIsPaintedFirstAndInputWaitsForItsLoad) {
  // Far more than the start that decides the code, so the start shown is a part of the file.
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "\x82\xA0\x82\xA2 " + std::to_string(i) + "\r\n";
  const std::string file = files_->Write("long.txt", text);
  TFormMain& w = Open({file});
  w.preview_bytes = 1;
  w.ShowFirst();
  // Shown before any event: the start, which is not yet the document.
  const TEditorStrings& lines = w.Editor1().Control().Lines();
  EXPECT_GT(lines.Count(), 0);
  EXPECT_LT(lines.Count(), 20000);
  EXPECT_EQ(lines.Get(0), "\x82\xA0\x82\xA2 0");
  EXPECT_EQ(w.Document().CodeState().FileName, "");
  // Keys meanwhile reach nothing; the load follows the first paint.
  QTest::keyClick(w.Editor1().viewport(), Qt::Key_X);
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.Document().CodeState().FileName == file; }, 3000));
  EXPECT_EQ(lines.Count(), 20000);
  EXPECT_EQ(lines.Get(19999), "\x82\xA0\x82\xA2 19999");
  EXPECT_FALSE(w.Editor1().Control().Modified());
  QTest::keyClick(w.Editor1().viewport(), Qt::Key_X);
  EXPECT_TRUE(w.Editor1().Control().Modified());
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(FormMainTest, CaptionIsTheFullPathWhileActiveAndTheNameWhileNot) {
  const std::string file = files_->Write("caption.txt", "abc\r\n");
  TFormMain& w = OpenShown({file});
  w.activateWindow();
  QApplication::processEvents();
  ASSERT_TRUE(w.isActiveWindow());
  EXPECT_EQ(U(w.windowTitle()), file + " - Tessary");
  QWidget other;
  other.show();
  other.activateWindow();
  QApplication::processEvents();
  ASSERT_FALSE(w.isActiveWindow());
  EXPECT_EQ(U(w.windowTitle()), "caption.txt - Tessary");
  w.activateWindow();
  QApplication::processEvents();
  EXPECT_EQ(U(w.windowTitle()), file + " - Tessary");
}

TEST_F(FormMainTest, StatusPanelsShowTheCodeAndLineEndOfEachSampleOnBothBars) {
  const std::pair<const char*, const char*> samples[] = {
      {"sjis_crlf.txt", "S-JIS"},  {"sjis_lf.txt", "S-JIS"},
      {"sjis_cr.txt", "S-JIS"},    {"utf8_bom_crlf.txt", nullptr},
      {"utf8_lf.txt", nullptr},    {"utf16be_bom_crlf.txt", nullptr},
      {"utf16be_cr.txt", nullptr}, {"utf16le_bom_crlf.txt", nullptr},
      {"utf16le_lf.txt", nullptr},
  };
  std::set<std::string> codes, rets;
  for (const auto& [name, code] : samples) {
    SCOPED_TRACE(name);
    TFormMain& w = OpenShown({Sample(name)});
    const MainWindowDocument& d = w.Document();
    EXPECT_EQ(Panel(4), d.CodeState().ReadCodeName);
    EXPECT_EQ(Panel(5), d.CodeState().ReadRetName);
    EXPECT_EQ(Panel(4, StatusBarId::Top), d.CodeState().ReadCodeName);
    EXPECT_EQ(Panel(5, StatusBarId::Top), d.CodeState().ReadRetName);
    if (code) {
      EXPECT_EQ(Panel(4), code);
    }
    EXPECT_EQ(Panel(6), "");
    EXPECT_GT(w.Editor1().Control().RowCount(), 1);
    codes.insert(Panel(4));
    rets.insert(Panel(5));
    Close();
  }
  EXPECT_EQ(codes.size(), 7u);  // S-JIS and the six UTF forms
  EXPECT_EQ(rets.size(), 3u);
  EXPECT_TRUE(messages_.shown.empty());
}

// Every sample holds the same text, so Save As from the Shift-JIS one in each sample's code and
// line end gives that sample's bytes, and an overwrite save gives back the file's own bytes.
TEST_F(FormMainTest, SaveAsAndOverwriteInEveryCodeAndLineEndGiveTheSampleBytes) {
  for (const char* name :
       {"sjis_crlf.txt", "sjis_lf.txt", "sjis_cr.txt", "utf8_bom_crlf.txt", "utf8_lf.txt",
        "utf16be_bom_crlf.txt", "utf16be_cr.txt", "utf16le_bom_crlf.txt", "utf16le_lf.txt"}) {
    SCOPED_TRACE(name);
    const std::string expected = testing::ReadFileOrDie(Sample(name));
    const Detection d = DetectCharCode(expected);
    const std::string out = files_->File(std::string("as-") + name);
    TFormMain& w = OpenShown({Sample("sjis_crlf.txt")});
    w.choose_save_as_file = [&](CharCode, RetCode) {
      return std::optional<SaveChoice>(SaveChoice{out, d.code, d.ret});
    };
    Trigger(CommandId::MenuSaveAs);
    EXPECT_EQ(testing::ReadFileOrDie(out), expected);
    Close();

    const std::string copy = files_->Write(std::string("copy-") + name, expected);
    TFormMain& again = OpenShown({copy});
    again.Editor1().Control().SetModified(true);
    messages_.answers = {Answer::Yes};
    Trigger(CommandId::MenuSave);
    EXPECT_EQ(testing::ReadFileOrDie(copy), expected);
    EXPECT_FALSE(again.Editor1().Control().Modified());
    Close();
  }
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(FormMainTest, MixedLineEndsThenInvalidCharacterMessagesAndProtection) {
  const std::string file = files_->Write("mixed.txt", "ab\r\ncd\nef\x01\r\n");
  TFormMain& w = OpenShown({file});
  ASSERT_EQ(messages_.shown.size(), 2u);
  EXPECT_EQ(messages_.shown[0], kMixedRetCodeMessage);
  EXPECT_EQ(messages_.shown[1], kInvalidCharMessage);
  EXPECT_TRUE(w.Editor1().Control().ReadOnly());
  EXPECT_EQ(Panel(3), "ファイル読取専用");
  EXPECT_EQ(Panel(6), "書禁");
}

TEST_F(FormMainTest, WrapLengthWindowRefusesNineAnd251) {
  Open();
  PrivateProfile ini = Ini();
  TFormWrapLength form(window_.get(), ini, messages_);
  EXPECT_EQ(U(form.DecEdit1().text()), "80");
  for (const char* refused : {"9", "251", ""}) {
    form.DecEdit1().setText(refused);
    form.ButtonOkClick();
    EXPECT_NE(form.result(), QDialog::Accepted);
  }
  EXPECT_EQ(messages_.shown,
            (std::vector<std::string>{"10以上を設定してください", "250以下を設定してください",
                                      "10以上を設定してください"}));
  EXPECT_FALSE(ini.ReadString("Editor", "WrapByte").has_value());
  for (const char* accepted : {"10", "250"}) {
    form.DecEdit1().setText(accepted);
    form.ButtonOkClick();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(ini.ReadString("Editor", "WrapByte", ""), accepted);
  }
}

TEST_F(FormMainTest, BoardLogFormatterIsOneEditAndTheLogViewersCheckBeforeOpening) {
  TFormMain& w = Open();
  EditorControl& c = w.Editor1().Control();
  Trigger(CommandId::MenuOstrBoard);
  Trigger(CommandId::MenuOstrHistory);
  EXPECT_EQ(messages_.shown, (std::vector<std::string>{"内容がありません", "内容がありません"}));
  const std::string page = Utf8ToSjis("a\r\n《前のページ 1\r\nb\r\n《前のページ 2\r\nc");
  c.Lines().SetTextStr(page);
  PrivateProfile ini = Ini();
  ASSERT_TRUE(ini.WriteString("OstrBoard", "FileName", "other.txt").ok());
  messages_.answers = {Answer::No};
  Trigger(CommandId::MenuOstrBoard);  // answered No: no window
  EXPECT_EQ(messages_.asked, std::vector<std::string>{"前回のファイル名と違いますが、表示しますか？"});
  Trigger(CommandId::MenuOstrBoardSeikei);
  EXPECT_EQ(c.Text(), "b\r\n");
  EXPECT_TRUE(c.Modified());
  c.Undo();
  EXPECT_EQ(c.Text(), page);
}

TEST_F(FormMainTest, ConversionItemsRewriteTheSelectionAndUndoRestoresIt) {
  TFormMain& w = Open();
  EditorControl& c = w.Editor1().Control();
  std::vector<int> tab_windows;
  w.run_replace_tab = [&](int tab_width) {
    tab_windows.push_back(tab_width);
    PrivateProfile ini = Ini();
    return static_cast<bool>(WriteReplaceTab(ini, 2));
  };
  // ab TAB ｶﾞ CR LF Ａｂ
  const std::string text = Hex("61 62 09 B6 DE 0D 0A 82 60 82 82");
  const std::pair<CommandId, std::string> cases[] = {
      {CommandId::MenuUpperCase, Hex("41 42 09 B6 DE 0D 0A 82 60 82 61")},
      {CommandId::MenuLowerCase, Hex("61 62 09 B6 DE 0D 0A 82 81 82 82")},
      {CommandId::MenuZenToHan, Hex("61 62 09 B6 DE 0D 0A 41 62")},
      {CommandId::MenuHanToZen, Hex("82 81 82 82 09 83 4B 0D 0A 82 60 82 82")},
      {CommandId::MenuReplaceTab, Hex("61 62 20 20 B6 DE 0D 0A 82 60 82 82")},
  };
  for (const auto& [id, converted] : cases) {
    c.Lines().SetTextStr(text);
    c.SelectAll();
    Trigger(id);
    EXPECT_EQ(c.Text(), converted) << static_cast<int>(id);
    c.Undo();
    EXPECT_EQ(c.Text(), text) << static_cast<int>(id);
  }
  EXPECT_EQ(tab_windows, std::vector<int>{c.Caret().TabSpaceCount});
  EXPECT_TRUE(messages_.shown.empty());
  // Nothing selected, then protected: only the messages.
  c.CancelSelection();
  Trigger(CommandId::MenuUpperCase);
  c.SelectAll();
  Trigger(CommandId::MenuReadOnly);
  ASSERT_TRUE(c.ReadOnly());
  Trigger(CommandId::MenuReplaceTab);
  EXPECT_EQ(messages_.shown, (std::vector<std::string>{kNoSelectionRefusal, kReadOnlyRefusal}));
  EXPECT_EQ(c.Text(), text);
  EXPECT_EQ(tab_windows.size(), 1u);
}

TEST_F(FormMainTest, TabWindowOffersTheTabWidthAndStoresOnlyAnOkChoice) {
  Open();
  PrivateProfile ini = Ini();
  for (auto [tab_width, item] : {std::pair{2, 0}, {6, 2}, {8, 3}, {3, 1}, {5, 1}}) {
    TFormReplaceTab form(window_.get(), ini, messages_, tab_width);
    EXPECT_TRUE(form.Item(item).isChecked()) << tab_width;
  }
  TFormReplaceTab form(window_.get(), ini, messages_, 4);
  EXPECT_EQ(U(form.windowTitle()), "タブを空白に置き換え");
  EXPECT_EQ(U(form.Item(0).text()), " 2 文字");
  EXPECT_EQ(U(form.Item(3).text()), " 8 文字");
  EXPECT_EQ(U(form.ButtonCancel().text()), "ｷｬﾝｾﾙ(&C)");
  form.Item(3).setChecked(true);
  form.ButtonCancel().click();
  EXPECT_FALSE(ini.ReadString("Editor", "ReplaceTab").has_value());
  form.Item(0).setChecked(true);
  form.ButtonOkClick();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(ini.ReadString("Editor", "ReplaceTab", ""), "2");
}

// The item runs the real window: OK in it converts with the count it stored.
TEST_F(FormMainTest, TabItemOpensTheTabWindowModally) {
  TFormMain& w = OpenShown();
  EditorControl& c = w.Editor1().Control();
  c.Lines().SetTextStr("a\tb");
  c.SelectAll();
  QTimer::singleShot(0, [] {
    auto* form = qobject_cast<TFormReplaceTab*>(QApplication::activeModalWidget());
    ASSERT_NE(form, nullptr);
    form->Item(2).setChecked(true);
    form->ButtonOk().click();
  });
  Trigger(CommandId::MenuReplaceTab);
  EXPECT_EQ(c.Text(), "a      b");
  EXPECT_EQ(Ini().ReadString("Editor", "ReplaceTab", ""), "6");
}

TEST_F(FormMainTest, NumericEditDropsWhatItsKindDoesNotTake) {
  App();
  TDecEdit edit;
  QTest::keyClicks(&edit, "1a-2.3");
  EXPECT_EQ(U(edit.text()), "123");
  edit.clear();
  edit.SetNumericType(NumericType::DoubleSigned);
  QTest::keyClicks(&edit, "-1.2.3-");
  EXPECT_EQ(U(edit.text()), "-1.23");
}

TEST_F(FormMainTest, WrapLengthModeUsesTheStoredLengthAndWritesTheModeAtOnce) {
  TFormMain& w = OpenShown();
  ASSERT_TRUE(Ini().WriteString("Editor", "WrapByte", "40").ok());
  Trigger(CommandId::MenuWrapLength);
  EXPECT_TRUE(w.Action(CommandId::MenuSetMojiLength)->isEnabled());
  EXPECT_FALSE(w.Action(CommandId::MenuWrapWindowWidth)->isChecked());
  EXPECT_EQ(w.Editor1().Document().WrapOption().WrapByte(), 40);
  EXPECT_TRUE(Ini().ReadBool("Editor", "WrapLength", false));
  EXPECT_FALSE(Ini().ReadBool("Editor", "WrapWindowWidth", true));
  Trigger(CommandId::MenuWrapNone);
  EXPECT_FALSE(w.Editor1().Control().WordWrap());
  EXPECT_FALSE(w.Action(CommandId::MenuSetMojiLength)->isEnabled());
  // Clicking the checked item leaves it checked.
  Trigger(CommandId::MenuWrapNone);
  EXPECT_TRUE(w.Action(CommandId::MenuWrapNone)->isChecked());
}

TEST_F(FormMainTest, SelectionCountFollowsTheCaptionsOfTheLineEndItems) {
  const std::string file = files_->Write("sel.txt", "ab\r\ncd\r\n");
  TFormMain& w = OpenShown({file});
  EditorControl& c = w.Editor1().Control();
  c.SetSelStart(0);
  c.SetSelLength(6);  // a, b, CR LF, c, d
  w.UpdateCharCount();
  // By default "改行をカウントしない(&N)" is checked: the line end is not counted.
  EXPECT_TRUE(w.Action(CommandId::MenuCrLfNotInclude)->isChecked());
  EXPECT_EQ(Panel(3), "4文字");
  EXPECT_EQ(Panel(3, StatusBarId::Top), "4文字");
  Trigger(CommandId::MenuCrlfInclude);
  EXPECT_TRUE(w.Action(CommandId::MenuCrlfInclude)->isChecked());
  EXPECT_FALSE(w.Action(CommandId::MenuCrLfNotInclude)->isChecked());
  EXPECT_EQ(Panel(3), "6文字");
  Close();
  EXPECT_FALSE(Ini().ReadBool("Editor", "CrlfNotInclude", true));
}

TEST_F(FormMainTest, SelectionOfTwoFullWidthCharactersInBothUnits) {
  const std::string file = files_->Write("wide.txt", Hex("82 A0 82 A2") + "\r\n");
  TFormMain& w = OpenShown({file});
  EditorControl& c = w.Editor1().Control();
  c.SetSelStart(0);
  c.SetSelLength(4);
  w.UpdateCharCount();
  EXPECT_EQ(Panel(3), "2文字");
  Trigger(CommandId::MenuSelctLengthByte);
  EXPECT_EQ(Panel(3), "4文字");
  c.CancelSelection();
  w.UpdateCharCount();
  EXPECT_EQ(Panel(3), "");
}

TEST_F(FormMainTest, CaretPositionIsTheLogicalLineAndColumn) {
  const std::string file = files_->Write("pos.txt", "abc\r\ndef\r\n");
  TFormMain& w = OpenShown({file});
  w.Editor1().Control().SetCaret(1, 2);
  EXPECT_EQ(Panel(2), "2行, 3桁");
  EXPECT_EQ(Panel(2, StatusBarId::Top), "2行, 3桁");
}

// The left bar numbers what the caret panel calls a line: a wrapped Japanese line shows its
// number on its first row only, in five columns.
TEST_F(FormMainTest, LeftBarNumbersTheLinesOfTheCaretPanelInFiveColumns) {
  std::string text = Utf8ToSjis("一行目\r\n");
  for (int i = 0; i < 60; ++i) text += Utf8ToSjis("日本語の文章");
  text += Utf8ToSjis("\r\n三行目\r\n");
  TFormMain& w = OpenShown({files_->Write("wrapped.txt", text)});
  QTest::qWait(150);  // the post-load timer wraps at the window's edge
  TEditor& e = w.Editor1();
  EXPECT_EQ(e.Leftbar().ShowNumberMode(), TEditorShowNumberMode::nmLine);
  EXPECT_EQ(e.LeftbarDigitCount(), 5);
  const int cw = e.Metrics().char_width;
  EXPECT_EQ(e.Metrics().text_left, 10 + e.Imagebar().Width() + 4 + 5 * cw + 4 + 2);
  EXPECT_EQ(e.Metrics().text_top, e.Ruler().Height());  // no top margin above the ruler
  const TEditorScreenStrings& doc = e.Document();
  const int32_t third = doc.LineToRow(2);
  ASSERT_GT(third, 3);  // the second line takes several rows
  const std::vector<LeftbarLabel> expected{{0, 0}, {1, 1}, {third, 2}, {third + 1, 3}};
  EXPECT_EQ(LeftbarLabels(e.Leftbar(), doc, 0, doc.Count()), expected);
  EXPECT_EQ(LeftbarNumberText(e.Leftbar(), 1, e.LeftbarDigitCount()), "00002");
  e.Control().SetCaret(third - 1, 0);  // the last row of the second line
  EXPECT_EQ(Panel(2), "2行, 1桁");
}

// Both bars lay their panels out alike at every width, the bottom one's size grip included,
// and every text the panels are known to show fits whole.
TEST_F(FormMainTest, StatusBarsShareTheirPanelEdgesAndTheKnownTextsFit) {
  TFormMain& w = OpenShown();
  const TStatusPanels& top = *w.StatusBar(StatusBarId::Top);
  const TStatusPanels& bottom = *w.StatusBar(StatusBarId::Bottom);
  for (int width : {800, 1000, 1280}) {
    w.resize(width, 300);
    QApplication::processEvents();
    EXPECT_EQ(w.PanelWidth(StatusBarId::Top, 0), width - 700);
    EXPECT_EQ(w.PanelWidth(StatusBarId::Bottom, 0), width - 700);
    for (int p = 0; p < kStatusPanelCount; ++p) {
      const int x_top = top.mapTo(&w, QPoint(top.Span(p).left, 0)).x();
      const int x_bottom = bottom.mapTo(&w, QPoint(bottom.Span(p).left, 0)).x();
      EXPECT_EQ(x_top, x_bottom) << width << " " << p;
    }
    EXPECT_EQ(bottom.mapTo(&w, QPoint(bottom.Span(6).left + 100, 0)).x(), width);
  }
  for (const PanelText& t : WidestKnownPanelTexts()) {
    EXPECT_TRUE(top.Fits(t.panel, QString::fromStdString(t.text))) << t.text;
    EXPECT_TRUE(bottom.Fits(t.panel, QString::fromStdString(t.text))) << t.text;
  }
  EXPECT_GE(QFontInfo(bottom.font()).pixelSize(), 9);
}

TEST_F(FormMainTest, FontChosenWhileReadOnlyWaitsForAWritableDocument) {
  const std::string file = files_->Write("ro.txt", "abc\r\n");
  TFormMain& w = OpenShown({"/r", file});
  next_font_ = FontChoice{"No Such Font Family", 20, clRed};
  Trigger(CommandId::MenuFontColor);
  EXPECT_EQ(w.Editor1().FontColor(), clBlack);  // still the read-only scheme
  const PrivateProfile ini = Ini();
  EXPECT_EQ(ini.ReadInteger("EditorColor", "FontSize", 0), 20);
  EXPECT_EQ(ini.ReadString("EditorColor", "FontColor", ""), "clRed");
  EXPECT_EQ(ini.ReadString("EditorColor", "FontName", ""), "No Such Font Family");
  // Write protection off: the writable scheme with the new font shows, an unknown name
  // falling back to an installed font.
  Trigger(CommandId::MenuReadOnly);
  EXPECT_FALSE(w.Editor1().Control().ReadOnly());
  EXPECT_EQ(w.Editor1().FontColor(), clRed);
  EXPECT_FALSE(w.Editor1().EditorFont().family().isEmpty());
  EXPECT_EQ(w.Editor1().EditorFont().pointSize(), 20);
  // A cancelled dialog changes nothing.
  next_color_.reset();
  Trigger(CommandId::MenuBackColor);
  EXPECT_EQ(w.Editor1().Color(), clBlack);
}

TEST_F(FormMainTest, UnknownFontNameInTheSettingsNeverBreaksStartUp) {
  ASSERT_TRUE(Ini()
                  .WriteStrings({{"EditorColor", "FontName", "???"},
                                 {"EditorColor", "FontSize", "huge"},
                                 {"EditorColor", "BackColor", "nocolour"}})
                  .ok());
  TFormMain& w = OpenShown({Sample("sjis_crlf.txt")});
  EXPECT_EQ(w.Editor1().EditorFont().pointSize(), 14);
  EXPECT_EQ(w.Editor1().Color(), clBlack);
  EXPECT_GT(w.Editor1().Control().RowCount(), 1);
}

TEST_F(FormMainTest, BackgroundAndMarkColoursApplyAndHiddenMarksTakeTheBackground) {
  TFormMain& w = OpenShown();
  next_color_ = clNavy;
  Trigger(CommandId::MenuBackColor);
  EXPECT_EQ(w.Editor1().Color(), clNavy);
  EXPECT_EQ(w.Editor1().Leftbar().BkColor(), clNavy);
  EXPECT_EQ(Ini().ReadString("EditorColor", "BackColor", ""), "clNavy");
  next_color_ = clLime;
  Trigger(CommandId::MenuKigouColor);
  EXPECT_EQ(w.Editor1().Marks().RetMark.Color(), clLime);
  Trigger(CommandId::MenuCrLf);  // line-end marks off
  EXPECT_FALSE(w.Editor1().Marks().RetMark.Visible());
  Trigger(CommandId::MenuRow);
  EXPECT_FALSE(w.Editor1().Leftbar().Visible());
  Trigger(CommandId::MenuTab6);
  EXPECT_EQ(w.Editor1().Caret().TabSpaceCount, 6);
  EXPECT_FALSE(w.Action(CommandId::MenuTab4)->isChecked());
  Trigger(CommandId::MenuStatusBarTopVisible);
  EXPECT_FALSE(w.StatusBar(StatusBarId::Top)->isVisible());
  EXPECT_FALSE(Ini().ReadBool("StatusBar", "PositionTop", true));
  Close();
  Open();
  EXPECT_EQ(window_->Editor1().Color(), clNavy);
  EXPECT_EQ(window_->Settings().tab_width, 6);
  EXPECT_FALSE(window_->Settings().row_visible);
}

TEST_F(FormMainTest, WideningTheWindowReWrapsAtTheNewEdgeAfterThePostLoadTimer) {
  const std::string file = files_->Write("long.txt", std::string(300, 'x') + "\r\n");
  TFormMain& w = OpenShown({file});
  // A small text is never shown unwrapped, even before the post-load timer.
  EXPECT_TRUE(w.Editor1().Control().WordWrap());
  EXPECT_GT(w.Editor1().Control().RowCount(), 2);
  QTest::qWait(250);  // the post-load timer applies the wrap mode again
  const TEditorWrapOption& wrap = w.Editor1().Document().WrapOption();
  ASSERT_TRUE(w.Editor1().Control().WordWrap());
  const int narrow = wrap.WrapByte();
  EXPECT_EQ(narrow, w.Editor1().ColumnsPerPage() - 1);
  w.resize(w.width() + 400, w.height());
  QTest::qWait(50);
  EXPECT_GT(wrap.WrapByte(), narrow);
  EXPECT_EQ(wrap.WrapByte(), w.Editor1().ColumnsPerPage() - 1);
}

TEST_F(FormMainTest, WheelOverTheWindowScrollsTheFocusedEditorThreeRows) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "line\r\n";
  const std::string file = files_->Write("rows.txt", text);
  TFormMain& w = OpenShown({file});
  w.Editor1().setFocus();
  QApplication::processEvents();
  // What a wheel turned over a child that does not scroll (a status bar) reaches.
  QWheelEvent down(QPointF(5, 5), w.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  static_cast<QObject&>(w).event(&down);
  if (!w.Editor1().hasFocus()) GTEST_SKIP() << "no keyboard focus on this platform";
  EXPECT_EQ(w.Editor1().Control().TopRow(), 3);
}

QMimeData* UrlsOf(const std::vector<std::string>& paths) {
  auto* data = new QMimeData;
  QList<QUrl> urls;
  for (const auto& p : paths) urls << QUrl::fromLocalFile(QString::fromStdString(p));
  data->setUrls(urls);
  return data;
}

void Drop(QWidget& target, const std::vector<std::string>& paths) {
  std::unique_ptr<QMimeData> data(UrlsOf(paths));
  QDropEvent e(QPointF(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  // The application object delivers a drop only inside a real drag; the window's own
  // handler is what a drag ending over it reaches.
  static_cast<QObject&>(target).event(&e);
}

TEST_F(FormMainTest, DropOfOneFileTwoFilesAndAFolder) {
  const std::string a = files_->Write("a.txt", "abc\r\n");
  const std::string b = files_->Write("b.txt", "def\r\n");
  const std::string japanese = files_->Write("日本語の名前.txt", "ghi\r\n");
  TFormMain& w = OpenShown();
  Drop(w, {japanese});
  EXPECT_EQ(w.Document().CodeState().FileName, japanese);
  Drop(w, {a});
  EXPECT_EQ(w.Document().CodeState().FileName, a);
  Drop(w, {a, b});
  EXPECT_EQ(messages_.shown, std::vector<std::string>{std::string(kDropOneFileMessage)});
  EXPECT_EQ(w.Document().CodeState().FileName, a);
  messages_.shown.clear();
  Drop(w, {files_->path()});
  EXPECT_TRUE(messages_.shown.empty());  // shown once the drop has ended
  QTest::qWait(300);
  EXPECT_EQ(messages_.shown, std::vector<std::string>{std::string(kFileMissingMessage)});
  EXPECT_EQ(w.Document().CodeState().FileName, a);
}

TEST_F(FormMainTest, MenusCarryEveryCommandOfTheTable) {
  TFormMain& w = OpenShown();
  for (const CommandEntry& e : CommandTable()) {
    if (e.place == CommandPlace::EditorControl) continue;
    QAction* a = w.Action(CommandIdOf(e));
    ASSERT_NE(a, nullptr) << e.id;
    EXPECT_EQ(U(a->text()), e.caption) << e.id;
    EXPECT_EQ(a->isVisible(), e.place == CommandPlace::MainMenu) << e.id;
  }
  EXPECT_FALSE(w.Action(CommandId::MenuBinaryTop)->isEnabled());  // the viewer's own items
  EXPECT_TRUE(w.Action(CommandId::MenuSave)->isEnabled());
  EXPECT_EQ(U(w.Action(CommandId::MenuSave)->shortcut().toString()),
            "Ctrl+S");  // the key map applied
}

// The items of a menu by name, "-" for a separator and the submenu's name in brackets.
std::string Layout(const QMenu* menu) {
  std::string text;
  for (const QAction* a : menu->actions()) {
    if (!text.empty()) text += ' ';
    if (a->isSeparator())
      text += '-';
    else if (a->menu())
      text.append(1, '[').append(U(a->menu()->objectName())).append(1, ']');
    else
      text += U(a->objectName());
  }
  return text;
}

const QMenu* MenuOf(const TFormMain& w, const char* caption) {
  for (const QAction* a : w.menuBar()->actions())
    if (U(a->text()) == caption) return a->menu();
  return nullptr;
}

TEST_F(FormMainTest, MenusReadInGroupsWithTheRecentFilesAndTheNamedSubmenus) {
  TFormMain& w = Open();
  ASSERT_NE(MenuOf(w, "ファイル(&F)"), nullptr);
  EXPECT_EQ(Layout(MenuOf(w, "ファイル(&F)")),
            "MenuNewFile MenuOpen - MenuSave MenuSaveAs - MenuOpenSaveDialogXpStyle - "
            "[MenuReadCode] - MenuRecent1 MenuRecent2 MenuRecent3 MenuRecent4 MenuRecent5 "
            "MenuRecent6 - MenuSaveClose MenuClose");
  const QMenu* read = MenuOf(w, "ファイル(&F)")->findChild<QMenu*>("MenuReadCode");
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(U(read->title()), "読込文字(&R)");
  EXPECT_EQ(Layout(read),
            "MenuReadAuto MenuReadSJIS MenuReadUTF8Bom MenuReadUTF8 MenuReadUTF16BomBe "
            "MenuReadUTF16Be MenuReadUTF16BomLe MenuReadUTF16Le");
  const QMenu* edit = MenuOf(w, "編集(&E)");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(Layout(edit),
            "MenuJump - MenuReadOnly MenuPopUpShow - MenuCopyOneLine MenuSelectWord - "
            "MenuCaretMoveNext MenuCaretMoveFree MenuCaretAutoIndent - MenuMoveDocumentTop "
            "MenuMoveDocumentEnd MenuMoveLineTop MenuMoveLineEnd - [MenuConvertSelection] - "
            "[MenuSnippet] - MenuOstrBoardSeikei");
  EXPECT_EQ(U(edit->findChild<QMenu*>("MenuConvertSelection")->title()), "選択範囲の変換(&S)");
  const QMenu* view = MenuOf(w, "表示(&V)");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(Layout(view),
            "MenuWrapNone MenuWrapLength MenuWrapWindowWidth - MenuSetMojiLength - [MenuColor] - "
            "MenuRow MenuColumn MenuShowUnderLine - [MenuKigou] - "
            "MenuTab2 MenuTab4 MenuTab6 MenuTab8 - [MenuSelectLength] - MenuStatusBarTopVisible "
            "MenuStatusBarBottomVisible");
  const QMenu* colors = view->findChild<QMenu*>("MenuColor");
  ASSERT_NE(colors, nullptr);
  EXPECT_EQ(Layout(colors),
            "MenuFontColor MenuBackColor MenuSelectColor MenuSelectBackColor MenuKigouColor "
            "MenuUnderLineColor MenuFontColorReadOnly MenuBackColorReadOnly");
  EXPECT_EQ(U(view->findChild<QMenu*>("MenuKigou")->title()), "記号(&A)");
  EXPECT_EQ(Layout(view->findChild<QMenu*>("MenuKigou")), "MenuCrLf MenuEof MenuTab MenuDBCS");
  EXPECT_EQ(Layout(view->findChild<QMenu*>("MenuSelectLength")),
            "MenuCrLfNotInclude MenuCrlfInclude - MenuSelectLengthChar MenuSelctLengthByte");
  const QMenu* keys = MenuOf(w, "ツール(&T)")->findChild<QMenu*>("MenuCloseKey");
  ASSERT_NE(keys, nullptr);
  EXPECT_EQ(U(keys->title()), "書き換え禁止時のキーボード処理(&R)");
  EXPECT_EQ(Layout(keys), "MenuCloseESCkey MenuCloseENTERkey MenuCloseQkey MenuCloseXkey");
  EXPECT_EQ(Layout(MenuOf(w, "予約語(&R)")),
            "MenuReserveColor MenuReserveRead - [MenuReserveSelect]");
  EXPECT_EQ(U(MenuOf(w, "予約語(&R)")->findChild<QMenu*>("MenuReserveSelect")->title()),
            "予約語色選択(&S)");
}

// The letters each level of the menus marks, repeated ones collected in `repeated`.
void CollectRepeatedLetters(const QMenu& menu, std::vector<std::string>& repeated) {
  std::map<char, int> seen;
  for (const QAction* a : menu.actions()) {
    if (a->isSeparator() || !a->isVisible()) continue;
    for (char c : MnemonicLetters(U(a->text())))
      if (++seen[c] == 2) repeated.push_back(U(menu.title()) + " " + c);
    if (a->menu()) CollectRepeatedLetters(*a->menu(), repeated);
  }
}

TEST_F(FormMainTest, EachMenuLevelMarksALetterOnceAndTheLetterRunsItsItem) {
  TFormMain& w = OpenShown();
  std::vector<std::string> repeated;
  for (const QAction* a : w.menuBar()->actions()) CollectRepeatedLetters(*a->menu(), repeated);
  EXPECT_EQ(repeated, std::vector<std::string>{});

  QMenu* view = const_cast<QMenu*>(MenuOf(w, "表示(&V)"));
  const bool row = w.Action(CommandId::MenuRow)->isChecked();
  view->popup(QPoint(0, 0));
  QTest::keyClick(view, Qt::Key_L);
  EXPECT_NE(w.Action(CommandId::MenuRow)->isChecked(), row);
  EXPECT_FALSE(view->isVisible());
  // "終了(&Q && &X)" quits by either letter.
  for (Qt::Key key : {Qt::Key_Q, Qt::Key_X}) {
    TFormMain& shown = OpenShown();
    ASSERT_TRUE(shown.isVisible());
    shown.FileMenu()->popup(QPoint(0, 0));
    QTest::keyClick(shown.FileMenu(), key);
    EXPECT_FALSE(shown.isVisible()) << key;
  }
}

TEST_F(FormMainTest, EnabledItemsAreTheCommandsWithHandlers) {
  TFormMain& w = Open();
  std::vector<int> enabled;
  for (const CommandEntry& e : CommandTable())
    if (e.place != CommandPlace::EditorControl && w.Action(CommandIdOf(e))->isEnabled())
      enabled.push_back(e.id);
  const std::pair<int, int> ranges[] = {{1001, 1013}, {1020, 1021}, {1101, 1120}, {1201, 1205},
                                        {1301, 1303}, {1305, 1329}, {1401, 1405}, {1407, 1414},
                                        {1501, 1503}, {1601, 1605}, {1701, 1710},
                                        {1801, 1803}};
  std::vector<int> expected;
  for (auto [first, last] : ranges)
    for (int id = first; id <= last; ++id) expected.push_back(id);
  // The wrap length item (1304) has its handler but waits for wrapping at the wrap length.
  EXPECT_EQ(enabled, expected);
  Trigger(CommandId::MenuWrapLength);
  EXPECT_TRUE(w.Action(CommandId::MenuSetMojiLength)->isEnabled());
}

TEST_F(FormMainTest, ReservedWordItemsFollowTheModelAndBothBarsNameTheWordFile) {
  TFormMain& w = OpenShown();
  std::vector<ChooserStart> starts;
  std::optional<std::string> chosen;
  window_->choose_word_file = [&](const ChooserStart& start) {
    starts.push_back(start);
    return chosen;
  };
  EXPECT_TRUE(w.Action(CommandId::MenuReseveNoSet)->isChecked());
  Trigger(CommandId::MenuReseveReserveSet);  // nothing loaded yet
  EXPECT_EQ(messages_.shown, std::vector<std::string>{kNoReservedWordsMessage});
  EXPECT_TRUE(w.Action(CommandId::MenuReseveNoSet)->isChecked());
  EXPECT_FALSE(w.Action(CommandId::MenuReseveReserveSet)->isChecked());

  chosen = files_->Write("words.txt", "select\r\n");
  Trigger(CommandId::MenuReserveRead);
  EXPECT_TRUE(w.Action(CommandId::MenuReseveReserveSet)->isChecked());
  EXPECT_EQ(Panel(1, StatusBarId::Top), "words.txt");
  EXPECT_EQ(Panel(1, StatusBarId::Bottom), "words.txt");
  EXPECT_TRUE(w.Editor1().View().ReserveWordList().Contains("SELECT"));

  Trigger(CommandId::MenuReseveIniSet);
  EXPECT_TRUE(w.Action(CommandId::MenuReseveIniSet)->isChecked());
  EXPECT_FALSE(w.Action(CommandId::MenuReseveReserveSet)->isChecked());
  next_color_ = clLime;
  Trigger(CommandId::MenuReserveColor);
  ASSERT_EQ(w.Editor1().View().Brackets().Count(), 1);
  const TFountainColor& pair = w.Editor1().View().Brackets().Item(0).ItemColor();
  EXPECT_EQ(pair.Color(), clLime);
  EXPECT_EQ(pair.BkColor(), w.Settings().back_color);
  EXPECT_EQ(w.Settings().reserve_color, clLime);
  Close();

  // The colour and the word file are remembered; the mode and the panel start afresh.
  EXPECT_EQ(Ini().ReadString("EditorColor", "ReserveColor", ""), "clLime");
  TFormMain& next = OpenShown();
  EXPECT_EQ(next.Editor1().View().Reserve().Color(), clLime);
  EXPECT_TRUE(next.Action(CommandId::MenuReseveNoSet)->isChecked());
  EXPECT_EQ(Panel(1), "");
  std::vector<ChooserStart> next_starts;
  window_->choose_word_file = [&](const ChooserStart& start) {
    next_starts.push_back(start);
    return std::nullopt;
  };
  Trigger(CommandId::MenuReserveRead);
  EXPECT_EQ(next_starts, std::vector<ChooserStart>{ChooserStartOf(files_->File("words.txt"))});
}

TEST_F(FormMainTest, ReadCodeItemsExcludeEachOtherAndTheCheckedOneStays) {
  TFormMain& w = OpenShown();
  QAction* sjis = w.Action(CommandId::MenuReadSJIS);
  QAction* utf8 = w.Action(CommandId::MenuReadUTF8);
  ASSERT_TRUE(sjis->isChecked());
  Trigger(CommandId::MenuReadSJIS);  // clicking the checked code keeps it
  EXPECT_TRUE(sjis->isChecked());
  EXPECT_TRUE(w.Document().ReadMenu().Checked(CharCode::SJIS));
  Trigger(CommandId::MenuReadUTF8);
  EXPECT_TRUE(utf8->isChecked());
  EXPECT_FALSE(sjis->isChecked());
  EXPECT_TRUE(w.Action(CommandId::MenuReadAuto)->isChecked());  // detection is no alternative
  Close();

  // Settings naming two codes show the first, the one that loading uses.
  ASSERT_TRUE(Ini().WriteBool("Editor", ReadMenuKey(CharCode::UTF8Bom), true).ok());
  TFormMain& next = Open();
  EXPECT_TRUE(next.Action(CommandId::MenuReadUTF8Bom)->isChecked());
  EXPECT_FALSE(next.Action(CommandId::MenuReadUTF8)->isChecked());
}

TEST_F(FormMainTest, RecentItemsCarryTheOpenedFilesAndOpenThem) {
  const std::string a = files_->Write("a.txt", "abc\r\n");
  const std::string b = files_->Write("a.txt.bak", "def\r\n");
  TFormMain& w = OpenShown({a});
  Drop(w, {b});
  EXPECT_EQ(U(w.RecentAction(1)->text()), "&1 " + b);
  EXPECT_EQ(U(w.RecentAction(2)->text()), "&2 " + a);
  window_->RecentAction(2)->trigger();
  EXPECT_EQ(w.Document().CodeState().FileName, a);
  EXPECT_EQ(U(w.RecentAction(1)->text()), "&1 " + a);
  EXPECT_EQ(U(w.RecentAction(2)->text()), "&2 " + b);
  Close();
  // The list is saved at exit and shown at the next start.
  TFormMain& next = Open();
  EXPECT_EQ(U(next.RecentAction(1)->text()), "&1 " + a);
}

// A path with an ampersand shows as it is and marks no letter beside the item's digit.
TEST_F(FormMainTest, RecentItemsShowAnAmpersandOfThePathAsItIs) {
  const std::string a = files_->Write("a&b.txt", "abc\r\n");
  TFormMain& w = OpenShown({a});
  std::string shown = "&1 ";
  for (char c : a) shown += c == '&' ? std::string("&&") : std::string(1, c);
  EXPECT_EQ(U(w.RecentAction(1)->text()), shown);
  EXPECT_EQ(MnemonicLetters(U(w.RecentAction(1)->text())), "1");
  w.RecentAction(1)->trigger();
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(w.Document().CodeState().FileName, a);
}

TEST_F(FormMainTest, FileMenuCommandOpensTheFileMenu) {
  TFormMain& w = OpenShown();
  Trigger(CommandId::MenuFileOpen);
  QApplication::processEvents();
  EXPECT_TRUE(w.FileMenu()->isVisible());
  w.FileMenu()->close();
}

TEST_F(FormMainTest, CloseAsksWhenModifiedAndNoKeepsTheWindow) {
  TFormMain& w = OpenShown();
  w.Editor1().Control().InsertText("x");
  messages_.answers = {Answer::No, Answer::Yes};
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.close());
  EXPECT_EQ(messages_.asked, (std::vector<std::string>(2, std::string(kQuitQuestion))));
}

}  // namespace
}  // namespace tessary
