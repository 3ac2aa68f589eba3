// The Open and Save As windows and the extended dialogs on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "codec/file_chooser_fakes.h"
#include "codec/ui/form_open.h"
#include "codec/ui/form_save_as.h"
#include "codec/ui/open_dialog_ex.h"
#include "codec/ui/qt_file_chooser_windows.h"
#include "codec/ui/save_dialog_ex.h"
#include "platform/ui/qt_conversions.h"
#include "support/qt_test_app.h"
#include "support/test_files.h"

namespace tessary {
namespace {

QApplication& App() {
  return testing::OffscreenApp();
}

// The dialog's Open or Save button, as the user presses it.
void PressAccept(QFileDialog& dialog) {
  auto* box = dialog.findChild<QDialogButtonBox*>("buttonBox");
  ASSERT_TRUE(box);
  for (QAbstractButton* b : box->buttons())
    if (box->buttonRole(b) == QDialogButtonBox::AcceptRole) return b->click();
  ADD_FAILURE() << "no accept button";
}

// A Browse dialog that records its start and answers as scripted.
struct ScriptedBrowse {
  std::optional<std::string> answer;
  std::optional<ChooserStart> started;
  std::optional<BrowseKind> kind;
  int calls = 0;
  BrowseFunction Function() {
    return [this](QWidget*, BrowseKind k, const ChooserStart& s) {
      ++calls;
      kind = k;
      started = s;
      return answer;
    };
  }
};

void PressKey(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QTest::keyClick(w, key, mods);
}

class ChooserWindows : public ::testing::Test {
 protected:
  void SetUp() override { App(); }
  testing::TempDir dir;
  PrivateProfile ini{dir.File("Tessary.ini")};
  testing::ScriptedMessages messages;
  ScriptedBrowse browse;
};

TEST_F(ChooserWindows, OpenWindowBrowsesByItselfThenTakesNameAndCode) {
  ASSERT_TRUE(ini.WriteString("Load", "FolderFile", "/docs/last.txt"));
  ASSERT_TRUE(ini.WriteInteger("Load", "CharCodeOpen", 0));
  browse.answer = "/docs/next.txt";
  TFormOpen form(nullptr, ini, messages, browse.Function());
  EXPECT_EQ(form.windowTitle(), Q("ファイルを開く"));
  EXPECT_TRUE(form.windowFlags().testFlag(Qt::Tool));
  EXPECT_EQ(form.minimumSize(), QSize(650, 240));
  EXPECT_EQ(form.Label1->text(), Q("ファイル名(&F)"));
  EXPECT_EQ(form.Label1->buddy(), form.Edit1);
  EXPECT_EQ(form.Label2->buddy(), form.ComboBox1);
  EXPECT_EQ(form.ButtonBrowse->text(), Q("参照(&B)"));
  EXPECT_EQ(form.ButtonOK->text(), Q("開く(&O)"));
  EXPECT_EQ(form.ButtonCancel->text(), Q("ｷｬﾝｾﾙ(&C)"));
  ASSERT_EQ(form.ComboBox1->count(), 8);
  EXPECT_EQ(form.ComboBox1->currentText(), Q("自動検出"));
  EXPECT_TRUE(form.Edit1->text().isEmpty());

  form.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return browse.calls > 0; }, 5000));
  EXPECT_EQ(browse.calls, 1) << "the timer presses Browse once";
  EXPECT_EQ(browse.kind, BrowseKind::Open);
  EXPECT_EQ(form.Edit1->width(), form.width() - 40);
  form.resize(900, 300);
  QCoreApplication::processEvents();
  EXPECT_EQ(form.Edit1->width(), 900 - 40) << "the name field follows the window";
  EXPECT_EQ(browse.started, (ChooserStart{"/docs", "last.txt"}));
  EXPECT_EQ(form.Edit1->text(), Q("/docs/next.txt"));
  EXPECT_TRUE(form.isVisible());

  form.ComboBox1->setCurrentIndex(1);  // "S-JIS"
  form.ButtonOK->click();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.choice(), (OpenFileChoice{"/docs/next.txt", CharCode::SJIS}));
  EXPECT_EQ(ini.ReadString("Load", "FolderFile", ""), "/docs/next.txt");
  EXPECT_EQ(ini.ReadInteger("Load", "CharCode", -1), 1);
  EXPECT_EQ(ini.ReadInteger("Load", "CharCodeOpen", -1), 0) << "the read menu is not changed";
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ChooserWindows, CancellingTheBrowseDialogClosesTheWindow) {
  TFormOpen form(nullptr, ini, messages, browse.Function());
  form.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }, 5000));
  EXPECT_EQ(form.result(), QDialog::Rejected);
  EXPECT_FALSE(form.choice());
  EXPECT_FALSE(ini.ReadString("Load", "FolderFile"));
}

TEST_F(ChooserWindows, EmptyNameKeepsTheWindowOpenAndKeysAreSwallowed) {
  TFormSaveAs form(nullptr, ini, messages, browse.Function());
  form.show();
  form.Timer1.stop();  // the user types instead of browsing
  form.ButtonOK->click();
  EXPECT_EQ(messages.shown, (std::vector<std::string>{kNoFileNameMessage}));
  EXPECT_TRUE(form.isVisible());

  form.Edit1->setText("/d/x.txt");
  PressKey(form.Edit1, Qt::Key_Return);
  PressKey(form.ComboBox1, Qt::Key_Enter);
  PressKey(form.ComboBox2, Qt::Key_Return);
  PressKey(form.Edit1, Qt::Key_Escape, Qt::ShiftModifier);
  EXPECT_TRUE(form.isVisible()) << "Enter does not press a button; Shift+Esc is no Cancel";
  EXPECT_EQ(messages.shown.size(), 1u);

  PressKey(form.ComboBox2, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Rejected);
  EXPECT_FALSE(form.choice());
  EXPECT_FALSE(ini.ReadString("Save", "FolderFile"));
}

// A message box waits in its own event loop: the Browse timer must not fire over it.
class MessagesThatWait final : public Messages {
 public:
  void ShowMessage(const std::string& text) override {
    shown.push_back(text);
    QTest::qWait(2 * TChooserForm::kBrowseDelayMs);
  }
  Answer AskYesNo(const std::string&) override { return Answer::No; }
  std::vector<std::string> shown;
};

TEST_F(ChooserWindows, OkWithAnEmptyNameBeforeTheBrowseTimerNeverBrowsesOverTheMessage) {
  MessagesThatWait waiting;
  TFormOpen form(nullptr, ini, waiting, browse.Function());
  form.show();
  ASSERT_TRUE(form.Timer1.isActive());
  form.ButtonOK->click();  // before the timer: the name is empty
  EXPECT_EQ(waiting.shown, (std::vector<std::string>{kNoFileNameMessage}));
  EXPECT_EQ(browse.calls, 0);
  QTest::qWait(TChooserForm::kBrowseDelayMs + 100);
  EXPECT_EQ(browse.calls, 0) << "the user has taken over from the timer";
  EXPECT_TRUE(form.isVisible());
}

TEST_F(ChooserWindows, EscOnAButtonIsCancelToo) {
  TFormOpen form(nullptr, ini, messages, browse.Function());
  form.show();
  form.Timer1.stop();
  PressKey(form.ButtonOK, Qt::Key_Escape);
  EXPECT_EQ(form.result(), QDialog::Rejected);
  EXPECT_FALSE(form.isVisible());
}

TEST_F(ChooserWindows, SaveAsWindowStartsOnTheSaveSettingsAndStoresTheChoice) {
  ASSERT_TRUE(ini.WriteInteger("Save", "CharCode", 7));
  ASSERT_TRUE(ini.WriteInteger("Save", "CrLfCode", 1));
  ASSERT_TRUE(ini.WriteString("Save", "FolderFile", "/out/old.csv"));
  browse.answer = "/out/new.txt";
  TFormSaveAs form(nullptr, ini, messages, browse.Function());
  EXPECT_EQ(form.windowTitle(), Q("ファイルに名前を付けて保存"));
  EXPECT_EQ(form.ButtonOK->text(), Q("保存(&S)"));
  EXPECT_EQ(form.Label3->text(), Q("改行(&L)"));
  EXPECT_EQ(form.Label3->buddy(), form.ComboBox2);
  ASSERT_EQ(form.ComboBox1->count(), 7);
  ASSERT_EQ(form.ComboBox2->count(), 4);
  EXPECT_EQ(form.ComboBox1->currentText(), Q("UTF16 [BOM無 LittleEndian]"));
  EXPECT_EQ(form.ComboBox2->currentText(), Q("Cr(OS9)"));

  form.show();
  form.Timer1.stop();
  form.ButtonBrowse->click();
  EXPECT_EQ(browse.kind, BrowseKind::Save);
  EXPECT_EQ(browse.started, (ChooserStart{"/out", "old.csv"}));
  form.ComboBox1->setCurrentIndex(2);  // UTF8 [BOM無]
  form.ComboBox2->setCurrentIndex(2);  // Lf
  form.ButtonOK->click();
  EXPECT_EQ(form.choice(), (SaveFileChoice{"/out/new.txt", CharCode::UTF8, RetCode::Lf}));
  EXPECT_EQ(ini.ReadInteger("Save", "CharCode", -1), 3);
  EXPECT_EQ(ini.ReadInteger("Save", "CrLfCode", -1), 2);
  EXPECT_EQ(ini.ReadString("Save", "FolderFile", ""), "/out/new.txt");
}

QStringList ExpectedFilters() {
  return {"Text(*.txt;*.ini;*js;*.his;*.csv) (*.txt *.ini *js *.his *.csv)",
          "Java(*.java;*.xml) (*.java *.xml)", "All(*.*) (*.*)"};
}

TEST_F(ChooserWindows, OpenDialogExHasTheCodePanelAndGivesNameAndCode) {
  const std::string file = dir.Write("a.txt", "x");
  TOpenDialogEx dialog(nullptr, OpenDialogExState{{dir.path(), "a.txt"}, "", 3});
  EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
  EXPECT_EQ(dialog.nameFilters(), ExpectedFilters());
  EXPECT_EQ(dialog.directory().absolutePath(), QString::fromStdString(dir.path()));
  EXPECT_EQ(dialog.LabelCode->text(), Q("文字コード :"));
  ASSERT_EQ(dialog.ComboCharCode->count(), 8);
  EXPECT_EQ(dialog.ComboCharCode->itemText(0), Q("自動検出"));
  EXPECT_EQ(dialog.ComboCharCode->maxVisibleItems(), 10);
  EXPECT_EQ(dialog.ComboCharCode->currentIndex(), 3);
  EXPECT_EQ(dialog.property("CharCodeType").toInt(), 3);
  EXPECT_TRUE(dialog.ExtPanel->isAncestorOf(dialog.ComboCharCode));
  EXPECT_EQ(dialog.ExtPanel->parentWidget(), &dialog);

  dialog.show();
  dialog.ComboCharCode->setCurrentIndex(5);
  EXPECT_EQ(dialog.CharCodeType(), 5);
  dialog.selectFile(QString::fromStdString(file));
  PressAccept(dialog);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  const OpenDialogExState r = dialog.Result();
  EXPECT_EQ(r.name, file);
  EXPECT_EQ(r.char_code_type, 5);
}

TEST_F(ChooserWindows, SaveDialogExHasBothListsStartedOnTheSaveSettings) {
  TSaveDialogEx dialog(nullptr, SaveDialogExState{{dir.path(), "b.txt"}, "", 6, 1});
  EXPECT_EQ(dialog.nameFilters(), ExpectedFilters());
  EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(dialog.LabelCode->text(), Q("文字コード :"));
  EXPECT_EQ(dialog.LabelCrLf->text(), Q("改行コード :"));
  ASSERT_EQ(dialog.ComboCharCode->count(), 7);
  ASSERT_EQ(dialog.ComboCrLf->count(), 4);
  EXPECT_EQ(dialog.ComboCharCode->currentText(), Q("UTF16 [BOM無 LittleEndian]"));
  EXPECT_EQ(dialog.ComboCrLf->currentText(), Q("Cr(OS9)"));
  EXPECT_EQ(dialog.property("CrlfType").toInt(), 1);
  dialog.setProperty("CharCodeType", 9);
  EXPECT_EQ(dialog.CharCodeType(), 0) << "an index the list lacks selects S-JIS";

  dialog.show();
  dialog.ComboCrLf->setCurrentIndex(3);
  dialog.selectFile(QString::fromStdString(dir.File("b.txt")));
  PressAccept(dialog);
  const SaveDialogExState r = dialog.Result();
  EXPECT_EQ(r.name, dir.File("b.txt"));
  EXPECT_EQ(r.char_code_type, 0);
  EXPECT_EQ(r.crlf_type, 3);
}

// Runs `act` on the modal window once it is up.
template <typename W, typename F>
void WhenModal(F act) {
  QTimer::singleShot(0, [act] {
    (void)QTest::qWaitFor([] { return qobject_cast<W*>(QApplication::activeModalWidget()); }, 5000);
    if (W* w = qobject_cast<W*>(QApplication::activeModalWidget())) act(*w);
  });
}

TEST_F(ChooserWindows, ChoosersShowTheWindowsModallyOverTheOwner) {
  const std::string file = dir.Write("c.txt", "x");
  QWidget owner;
  owner.show();
  QtFileChooserWindows windows(&owner, ini, messages, browse.Function());
  FileChoosers choosers(ini, messages, windows);

  WhenModal<TOpenDialogEx>([&](TOpenDialogEx& d) {
    d.ComboCharCode->setCurrentIndex(1);
    d.selectFile(QString::fromStdString(file));
    PressAccept(d);
  });
  EXPECT_EQ(choosers.ChooseOpen(ChooserStyle::Extended, 0), (OpenFileChoice{file, CharCode::SJIS}));
  EXPECT_EQ(choosers.load_path(), file);

  WhenModal<TSaveDialogEx>([](TSaveDialogEx& d) { d.reject(); });
  EXPECT_FALSE(choosers.ChooseSaveAs(ChooserStyle::Extended, CharCode::SJIS, RetCode::CrLf));

  browse.answer = file;
  WhenModal<TFormOpen>([](TFormOpen& f) {
    (void)QTest::qWaitFor([&] { return !f.Edit1->text().isEmpty(); }, 5000);
    f.ButtonOK->click();
  });
  EXPECT_EQ(choosers.ChooseOpen(ChooserStyle::OwnWindow, 7),
            (OpenFileChoice{file, CharCode::UTF16Le}));

  WhenModal<TFormSaveAs>([](TFormSaveAs& f) { f.ButtonCancel->click(); });
  EXPECT_FALSE(choosers.ChooseSaveAs(ChooserStyle::OwnWindow, CharCode::SJIS, RetCode::CrLf));
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace tessary
