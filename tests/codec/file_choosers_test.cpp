// The Open and Save As choosers: start values, results, what the settings file remembers.
#include "codec/file_choosers.h"

#include <gtest/gtest.h>

#include "codec/file_chooser_fakes.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::ScriptedChooserWindows;
using testing::ScriptedMessages;

TEST(FileChooserLists, FilterCodeListsAndStarts) {
  const std::vector<FileFilterEntry> filters = ParseFileFilter(kFileChooserFilter);
  ASSERT_EQ(filters.size(), 3u);
  EXPECT_EQ(filters[0], (FileFilterEntry{"Text(*.txt;*.ini;*js;*.his;*.csv)",
                                         {"*.txt", "*.ini", "*js", "*.his", "*.csv"}}));
  EXPECT_EQ(filters[1], (FileFilterEntry{"Java(*.java;*.xml)", {"*.java", "*.xml"}}));
  EXPECT_EQ(filters[2], (FileFilterEntry{"All(*.*)", {"*.*"}}));
  EXPECT_EQ(ParseFileFilter("A|*.a;;*.b|Lone").size(), 1u);
  EXPECT_EQ(ParseFileFilter("A|*.a;;*.b")[0].patterns, (std::vector<std::string>{"*.a", "*.b"}));
  EXPECT_TRUE(ParseFileFilter("").empty());

  EXPECT_EQ(ChooserStartOf("/home/u/a.txt"), (ChooserStart{"/home/u", "a.txt"}));
  EXPECT_EQ(ChooserStartOf("/a.txt"), (ChooserStart{"/", "a.txt"}));
  EXPECT_EQ(ChooserStartOf("/home/u/"), (ChooserStart{"/home/u", ""}));
  EXPECT_EQ(ChooserStartOf("a.txt"), (ChooserStart{"", "a.txt"}));
  EXPECT_EQ(ChooserStartOf("C:\\doc\\b.txt"), (ChooserStart{"C:\\doc", "b.txt"}));
  EXPECT_EQ(ChooserStartOf(""), (ChooserStart{}));

  const std::vector<std::string> open = OpenCodeItems();
  ASSERT_EQ(open.size(), 8u);
  EXPECT_EQ(open[0], "自動検出");
  EXPECT_EQ(open[1], "S-JIS");
  EXPECT_EQ(open[7], "UTF16 [BOM無 LittleEndian]");
  const std::vector<std::string> save = SaveCodeItems();
  ASSERT_EQ(save.size(), 7u);
  EXPECT_EQ(save[0], "S-JIS");
  EXPECT_EQ(RetCodeItems(),
            (std::vector<std::string>{"Cr+Lf(Windows) ", "Cr(OS9)", "Lf(OSX,Android)", "無し"}));

  EXPECT_EQ(ChooserStyleFor(true), ChooserStyle::OwnWindow);
  EXPECT_EQ(ChooserStyleFor(false), ChooserStyle::Extended);
}

TEST(FileChooserLists, StoredValuesOutsideTheListsSelectTheDefault) {
  EXPECT_EQ(OpenCodeIndexOf(0), 0);
  EXPECT_EQ(OpenCodeIndexOf(7), 7);
  EXPECT_EQ(OpenCodeIndexOf(8), 0);
  EXPECT_EQ(OpenCodeIndexOf(-1), 0);
  EXPECT_EQ(SaveCodeIndexOf(1), 0);
  EXPECT_EQ(SaveCodeIndexOf(7), 6);
  EXPECT_EQ(SaveCodeIndexOf(0), 0) << "automatic is no save code";
  EXPECT_EQ(SaveCodeIndexOf(8), 0);
  EXPECT_EQ(RetCodeIndexOf(3), 3);
  EXPECT_EQ(RetCodeIndexOf(4), 0);
}

class Choosers : public ::testing::Test {
 protected:
  testing::TempDir dir;
  PrivateProfile ini{dir.File("Tessary.ini")};
  ScriptedMessages messages;
  ScriptedChooserWindows windows;
  FileChoosers choosers{ini, messages, windows};
};

// The Open window as it runs: created after the chooser wrote its initial code, the user
// types a name and picks a code, then OK.
class OwnOpenWindow final : public FileChooserWindows {
 public:
  OwnOpenWindow(PrivateProfile& ini, Messages& m) : ini_(ini), messages_(m) {}
  std::optional<OpenDialogExState> ShowOpenDialogEx(const OpenDialogExState&) override {
    return std::nullopt;
  }
  std::optional<SaveDialogExState> ShowSaveDialogEx(const SaveDialogExState&) override {
    return std::nullopt;
  }
  std::optional<OpenFileChoice> ShowFormOpen() override {
    FormOpenModel form(ini_, messages_);
    started_index = form.initial_code_index();
    return form.Ok(typed, picked_index < 0 ? form.initial_code_index() : picked_index);
  }
  std::optional<SaveFileChoice> ShowFormSaveAs() override {
    FormSaveAsModel form(ini_, messages_);
    started_index = form.initial_code_index();
    started_ret = form.initial_ret_index();
    return form.Ok(typed, form.initial_code_index(), form.initial_ret_index());
  }
  std::string typed;
  int picked_index = -1;
  int started_index = -1;
  int started_ret = -1;

 private:
  PrivateProfile& ini_;
  Messages& messages_;
};

TEST_F(Choosers, OpenWindowStartsOnTheReadMenuAndItsCodeIsForOneLoadOnly) {
  OwnOpenWindow window(ini, messages);
  FileChoosers own(ini, messages, window);
  window.typed = "/d/a.txt";
  window.picked_index = 1;  // "S-JIS"
  const std::optional<OpenFileChoice> c = own.ChooseOpen(ChooserStyle::OwnWindow, 0);
  EXPECT_EQ(window.started_index, 0) << "自動検出";
  EXPECT_EQ(c, (OpenFileChoice{"/d/a.txt", CharCode::SJIS}));
  EXPECT_EQ(ini.ReadInteger("Load", "CharCodeOpen", -1), 0) << "the read menu's choice stays";
  EXPECT_EQ(ini.ReadInteger("Load", "CharCode", -1), 1);
  EXPECT_EQ(ini.ReadString("Load", "FolderFile", ""), "/d/a.txt");
  EXPECT_EQ(own.load_path(), "") << "only the extended dialog sets the remembered path";

  window.picked_index = -1;
  EXPECT_EQ(own.ChooseOpen(ChooserStyle::OwnWindow, 6)->code, CharCode::UTF16BomLe);
  EXPECT_EQ(window.started_index, 6);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Choosers, SaveAsWindowStartsOnTheDocumentsSaveSettings) {
  OwnOpenWindow window(ini, messages);
  FileChoosers own(ini, messages, window);
  // What the Save As command writes for a UTF-16 LE document without mark and CR line ends.
  ASSERT_TRUE(ini.WriteInteger("Save", "CharCode", 7));
  ASSERT_TRUE(ini.WriteInteger("Save", "CrLfCode", 1));
  window.typed = "/d/out.txt";
  const std::optional<SaveFileChoice> c =
      own.ChooseSaveAs(ChooserStyle::OwnWindow, CharCode::UTF16Le, RetCode::Cr);
  EXPECT_EQ(SaveCodeItems()[static_cast<size_t>(window.started_index)],
            "UTF16 [BOM無 LittleEndian]");
  EXPECT_EQ(RetCodeItems()[static_cast<size_t>(window.started_ret)], "Cr(OS9)");
  EXPECT_EQ(c, (SaveFileChoice{"/d/out.txt", CharCode::UTF16Le, RetCode::Cr}));
  EXPECT_EQ(ini.ReadString("Save", "FolderFile", ""), "/d/out.txt");
}

TEST_F(Choosers, EmptyNameInEitherWindowIsRefusedAndNothingIsStored) {
  ASSERT_TRUE(ini.WriteString("Load", "FolderFile", "/old.txt"));
  FormOpenModel open(ini, messages);
  EXPECT_EQ(open.browse_start(), (ChooserStart{"/", "old.txt"}));
  EXPECT_FALSE(open.Ok("", 3));
  FormSaveAsModel save(ini, messages);
  EXPECT_FALSE(save.Ok("", 3, 2));
  EXPECT_EQ(messages.shown, (std::vector<std::string>(2, kNoFileNameMessage)));
  EXPECT_EQ(ini.ReadString("Load", "FolderFile", ""), "/old.txt");
  EXPECT_FALSE(ini.ReadString("Load", "CharCode"));
  EXPECT_FALSE(ini.ReadString("Save", "FolderFile"));

  // A window the user left with OK must have had a name; an empty one is still not loaded.
  windows.form_open_result = OpenFileChoice{"", CharCode::SJIS};
  EXPECT_FALSE(choosers.ChooseOpen(ChooserStyle::OwnWindow, 0));
  EXPECT_EQ(messages.shown.size(), 3u);
}

TEST_F(Choosers, CancelGivesNothingAndStoresOnlyTheInitialCode) {
  EXPECT_FALSE(choosers.ChooseOpen(ChooserStyle::OwnWindow, 2));
  EXPECT_FALSE(choosers.ChooseOpen(ChooserStyle::Extended, 3));
  EXPECT_FALSE(choosers.ChooseSaveAs(ChooserStyle::OwnWindow, CharCode::SJIS, RetCode::CrLf));
  EXPECT_FALSE(choosers.ChooseSaveAs(ChooserStyle::Extended, CharCode::SJIS, RetCode::CrLf));
  EXPECT_EQ(windows.form_open_shown, 1);
  EXPECT_EQ(windows.form_save_shown, 1);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(ini.ReadInteger("Load", "CharCodeOpen", -1), 3);
  EXPECT_FALSE(ini.ReadString("Load", "FolderFile"));
  EXPECT_FALSE(ini.ReadString("Load", "CharCode"));
  EXPECT_FALSE(ini.ReadString("Save", "CharCode"));
}

TEST_F(Choosers, ExtendedOpenStartsFromTheRememberedPathAndRemembersTheChoice) {
  ASSERT_TRUE(ini.WriteString("Load", "FolderFile", "/docs/first.txt"));
  ASSERT_TRUE(ini.WriteString("Save", "FolderFile", "/out/saved.csv"));
  choosers.ReadRememberedPaths();
  EXPECT_EQ(choosers.save_path(), "/out/saved.csv");
  // Later writes by the own windows do not move the remembered path.
  ASSERT_TRUE(ini.WriteString("Load", "FolderFile", "/elsewhere/x.txt"));

  windows.open_result = OpenDialogExState{{}, "/docs/second.txt", 4};
  const std::optional<OpenFileChoice> c = choosers.ChooseOpen(ChooserStyle::Extended, 2);
  ASSERT_TRUE(windows.open_started);
  EXPECT_EQ(windows.open_started->start, (ChooserStart{"/docs", "first.txt"}));
  EXPECT_EQ(windows.open_started->char_code_type, 2);
  EXPECT_EQ(c, (OpenFileChoice{"/docs/second.txt", CharCode::UTF16BomBe}));
  EXPECT_EQ(choosers.load_path(), "/docs/second.txt");
  EXPECT_EQ(ini.ReadString("Load", "FolderFile", ""), "/docs/second.txt");
  EXPECT_EQ(ini.ReadInteger("Load", "CharCode", -1), 4);

  windows.open_result = OpenDialogExState{{}, "/docs/third.txt", 0};
  EXPECT_EQ(choosers.ChooseOpen(ChooserStyle::Extended, 0)->code, CharCode::Auto);
  EXPECT_EQ(windows.open_started->start, (ChooserStart{"/docs", "second.txt"}));

  windows.open_result = OpenDialogExState{{}, "", 1};
  EXPECT_FALSE(choosers.ChooseOpen(ChooserStyle::Extended, 0));
  EXPECT_EQ(messages.shown, (std::vector<std::string>{kNoFileNameMessage}));
  EXPECT_EQ(choosers.load_path(), "/docs/third.txt");
}

TEST_F(Choosers, ExtendedSaveListsCodesFromOneAndRemembersTheChoice) {
  windows.save_result = SaveDialogExState{{}, "/out/new.txt", 1, 2};
  const std::optional<SaveFileChoice> c =
      choosers.ChooseSaveAs(ChooserStyle::Extended, CharCode::UTF16Le, RetCode::Cr);
  EXPECT_EQ(windows.save_started->start, ChooserStart{});
  EXPECT_EQ(windows.save_started->char_code_type, 6);
  EXPECT_EQ(windows.save_started->crlf_type, 1);
  EXPECT_EQ(c, (SaveFileChoice{"/out/new.txt", CharCode::UTF8Bom, RetCode::Lf}));
  EXPECT_EQ(ini.ReadInteger("Save", "CharCode", -1), 2);
  EXPECT_EQ(ini.ReadInteger("Save", "CrLfCode", -1), 2);
  EXPECT_EQ(choosers.save_path(), "/out/new.txt");

  windows.save_result = SaveDialogExState{{}, "", 0, 0};
  EXPECT_FALSE(choosers.ChooseSaveAs(ChooserStyle::Extended, CharCode::SJIS, RetCode::CrLf));
  EXPECT_EQ(windows.save_started->start, (ChooserStart{"/out", "new.txt"}));
  EXPECT_EQ(messages.shown, (std::vector<std::string>{kNoFileNameMessage}));
}

TEST_F(Choosers, ChoiceStandsWhenTheSettingsCannotHoldIt) {
  // Shift-JIS has no form for this name: the settings keep the earlier path, not a garbled one.
  ASSERT_TRUE(ini.WriteString("Load", "FolderFile", "/old.txt"));
  const std::string emoji = "/d/\xF0\x9F\x98\x80.txt";
  windows.open_result = OpenDialogExState{{}, emoji, 1};
  EXPECT_EQ(choosers.ChooseOpen(ChooserStyle::Extended, 0)->path, emoji);
  EXPECT_EQ(ini.ReadString("Load", "FolderFile", ""), "/old.txt");
  EXPECT_EQ(choosers.load_path(), emoji);

  // A Japanese name is stored in Shift-JIS and read back as it was.
  windows.open_result = OpenDialogExState{{}, "/d/日本.txt", 1};
  ASSERT_TRUE(choosers.ChooseOpen(ChooserStyle::Extended, 0));
  EXPECT_EQ(ini.ReadString("Load", "FolderFile", ""), "/d/" + testing::Hex("93FA 967B") + ".txt");
  EXPECT_EQ(ReadProfilePath(ini, "Load"), "/d/日本.txt");

  // A settings file that cannot be written does not turn the choice into an earlier one.
  PrivateProfile unwritable(dir.File("missing-folder/Tessary.ini"));
  FormOpenModel form(unwritable, messages);
  EXPECT_EQ(form.Ok("/d/b.txt", 3), (OpenFileChoice{"/d/b.txt", CharCode::UTF8}));
  FormSaveAsModel save(unwritable, messages);
  EXPECT_EQ(save.Ok("/d/c.txt", 6, 3),
            (SaveFileChoice{"/d/c.txt", CharCode::UTF16Le, RetCode::None}));
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace tessary
