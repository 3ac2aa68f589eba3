// The shared viewer window on the offscreen platform: placement, Esc, the wheel, its frame.
#include "platform/ui/viewer_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "codec/text_lines.h"
#include "editor/ui/editor.h"
#include "platform/ui/qt_conversions.h"
#include "support/qt_test_app.h"
#include "support/test_files.h"

namespace tessary {
namespace {

constexpr QSize kMinimum(300, 200);
constexpr QSize kDefault(400, 260);

// A control that takes every key for itself, as a list or a custom pane may.
class KeyEater final : public QWidget {
 protected:
  void keyPressEvent(QKeyEvent* event) override { event->accept(); }
};

// A window of the kind the viewers are: a name field and two editor panes under a label.
class TestViewer final : public TViewerForm {
 public:
  explicit TestViewer(QWidget* parent) : TViewerForm(parent, kMinimum) { Build(); }
  TestViewer(QWidget* parent, PrivateProfile& ini)
      : TViewerForm(parent, kMinimum, SavedPlacement{ini, "FormTestViewer", kDefault}) {
    Build();
  }
  QLabel* label = nullptr;
  QLineEdit* field = nullptr;
  TEditor* upper = nullptr;
  TEditor* lower = nullptr;
  KeyEater* keys = nullptr;

 private:
  void Build() {
    auto* layout = new QVBoxLayout(Body());
    layout->addWidget(label = new QLabel("label"));
    layout->addWidget(field = new QLineEdit);
    layout->addWidget(upper = new TEditor);
    layout->addWidget(lower = new TEditor);
    layout->addWidget(keys = new KeyEater);
  }
};

class ViewerForm : public ::testing::Test {
 protected:
  void SetUp() override { testing::OffscreenApp(); }
  void Save(int left, int top, int width, int height, const char* state = "NORMAL") {
    ASSERT_TRUE(ini.WriteStrings({{"FormTestViewer", "Left", std::to_string(left)},
                                  {"FormTestViewer", "Top", std::to_string(top)},
                                  {"FormTestViewer", "Width", std::to_string(width)},
                                  {"FormTestViewer", "Height", std::to_string(height)},
                                  {"FormTestViewer", "State", state}}));
  }
  std::string Saved(const char* key) {
    return ini.ReadString("FormTestViewer", key).value_or("(none)");
  }
  testing::TempDir dir;
  PrivateProfile ini{dir.File("Tessary.ini")};
};

void Fill(TEditor* editor, int rows) {
  TextLines lines;
  for (int i = 0; i < rows; ++i) lines.AddLine("row " + std::to_string(i));
  editor->Document().SetTextLines(lines);
}

void TurnWheel(QWidget* over, int notches) {
  const QPointF at(5, 5);
  QWheelEvent wheel(at, over->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(over, &wheel);
}

TEST_F(ViewerForm, EscWithoutModifiersClosesFromAnyControl) {
  TestViewer form(nullptr);
  form.show();
  QTest::keyClick(form.field, Qt::Key_Escape, Qt::ShiftModifier);
  QTest::keyClick(form.keys, Qt::Key_Escape, Qt::ControlModifier);
  EXPECT_TRUE(form.isVisible()) << "Esc with a modifier is left to the control";

  QTest::keyClick(form.keys, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Rejected);

  for (QWidget* control : {static_cast<QWidget*>(form.field), static_cast<QWidget*>(form.upper)}) {
    form.show();
    QTest::keyClick(control, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
  }
}

TEST_F(ViewerForm, OpensWhereItStoodAndStoresWhereItCloses) {
  Save(100, 80, 420, 310);
  {
    TestViewer form(nullptr, ini);
    form.show();
    EXPECT_EQ(form.pos(), QPoint(100, 80));
    EXPECT_EQ(form.size(), QSize(420, 310));
    form.move(120, 90);
    form.resize(430, 320);
    form.reject();
  }
  EXPECT_EQ(Saved("Left"), "120");
  EXPECT_EQ(Saved("Top"), "90");
  EXPECT_EQ(Saved("Width"), "430");
  EXPECT_EQ(Saved("Height"), "320");
  EXPECT_EQ(Saved("State"), "NORMAL");

  // Maximised: the state is kept, the normal bounds stay as they were.
  ASSERT_TRUE(ini.WriteString("FormTestViewer", "State", "MAX"));
  TestViewer form(nullptr, ini);
  form.show();
  EXPECT_TRUE(form.isMaximized());
  form.accept();
  EXPECT_EQ(Saved("State"), "MAX");
  EXPECT_EQ(Saved("Left"), "120");
  EXPECT_EQ(Saved("Width"), "430");
}

TEST_F(ViewerForm, OffScreenOrMissingPlacementOpensCentredAtTheDefaultSize) {
  const QRect screen = ToQRect(VirtualScreen());
  QWidget parent;
  parent.setGeometry(screen.left() + 40, screen.top() + 30, 600, 420);
  parent.show();
  auto expect_centred = [&](PrivateProfile& settings, const std::string& what) {
    TestViewer form(&parent, settings);
    form.show();
    EXPECT_EQ(form.size(), kDefault) << what;
    EXPECT_LE((form.frameGeometry().center() - parent.frameGeometry().center()).manhattanLength(),
              2)
        << what;
    form.reject();
  };
  PrivateProfile nothing_saved(dir.File("empty.ini"));
  expect_centred(nothing_saved, "nothing saved");
  Save(screen.right() - 100, 50, 400, 260);
  expect_centred(ini, "over the right edge");
  Save(screen.left() - 10, 50, 400, 260);
  expect_centred(ini, "ten pixels over the left edge");
  Save(60, 40, 400, screen.height() + 10);
  expect_centred(ini, "taller than the screen");

  // Nine pixels over the top and left edges still count as on the screen.
  Save(screen.left() - 9, screen.top() - 9, 400, 260);
  TestViewer hanging(&parent, ini);
  hanging.show();
  EXPECT_EQ(hanging.pos(), QPoint(screen.left() - 9, screen.top() - 9));
}

TEST_F(ViewerForm, NeverSmallerThanItsMinimumSize) {
  Save(10, 10, 50, 40);
  TestViewer form(nullptr, ini);
  form.show();
  EXPECT_EQ(form.size(), kMinimum);
  form.resize(10, 10);
  EXPECT_EQ(form.size(), kMinimum);
}

TEST_F(ViewerForm, WithoutASectionItOpensCentredOnItsParentAndStoresNothing) {
  QWidget parent;
  parent.setGeometry(200, 100, 500, 400);
  parent.show();
  TestViewer form(&parent);
  form.show();
  EXPECT_LE((form.frameGeometry().center() - parent.frameGeometry().center()).manhattanLength(), 2);
  form.reject();
  EXPECT_FALSE(ini.ReadString("FormTestViewer", "State"));
}

TEST_F(ViewerForm, AWheelTurnAnywhereScrollsTheFocusedPaneThreeLines) {
  TestViewer form(nullptr);
  form.resize(500, 600);
  Fill(form.upper, 200);
  Fill(form.lower, 200);
  form.show();
  form.upper->setFocus();
  const auto top = [](TEditor* e) { return e->Control().TopRow(); };

  TurnWheel(form.label, 1);
  EXPECT_EQ(top(form.upper), 3);
  TurnWheel(form.lower->viewport(), 2);  // over the other pane: still the focused one
  EXPECT_EQ(top(form.upper), 9);
  EXPECT_EQ(top(form.lower), 0);
  TurnWheel(form.upper->viewport(), -1);  // over the focused pane itself: once, not twice
  EXPECT_EQ(top(form.upper), 6);

  form.lower->setFocus();
  TurnWheel(form.field, 1);
  EXPECT_EQ(top(form.lower), 3);
  EXPECT_EQ(top(form.upper), 6);

  // With the focus outside any pane a turn scrolls the pane under the mouse.
  form.field->setFocus();
  TurnWheel(form.upper->viewport(), 1);
  EXPECT_EQ(top(form.upper), 9);
  EXPECT_EQ(top(form.lower), 3);
}

TEST_F(ViewerForm, MenuBarOnTopStatusPanelAtTheBottomItemsById) {
  TestViewer form(nullptr);
  QMenu* file = form.AddMenu("ファイル(&F)");
  QAction* close = form.AddCommand(file, 1021, "閉じる(&X)");
  form.SetProgressText("読込中 50%");
  form.resize(400, 300);
  form.show();

  EXPECT_EQ(form.CommandAction(1021), close);
  EXPECT_EQ(close->text(), Q("閉じる(&X)"));
  EXPECT_EQ(form.CommandAction(1202), nullptr);
  EXPECT_EQ(form.ProgressText(), "読込中 50%");

  auto* bar = form.findChild<QMenuBar*>();
  auto* status = form.findChild<QStatusBar*>();
  ASSERT_TRUE(bar && status);
  EXPECT_EQ(bar->geometry().top(), 0);
  EXPECT_LE(bar->geometry().bottom(), form.label->mapTo(&form, QPoint(0, 0)).y());
  EXPECT_EQ(status->geometry().bottom(), form.height() - 1);
  EXPECT_GE(status->geometry().top(),
            form.lower->mapTo(&form, QPoint(0, form.lower->height())).y());
}

TEST(QtConversions, TextAndColoursKeepTheirMeaning) {
  const QString text = Q("漢字ｶﾅ\xE2\x80\x94x");
  EXPECT_EQ(text, QString::fromUtf16(u"漢字ｶﾅ—x"));
  EXPECT_EQ(FromQ(text), "漢字ｶﾅ\xE2\x80\x94x");
  EXPECT_EQ(Q(std::string_view("a\0b", 3)).size(), 3) << "a zero inside the text is text";

  // Red sits in the low byte of a TColor.
  EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
  EXPECT_EQ(ToQColor(clSkyBlue), QColor(0xA6, 0xCA, 0xF0));
  for (const TColor c : {clBlack, clNavy, clCream, TColor{0x123456}})
    EXPECT_EQ(FromQColor(ToQColor(c)), c);

  const Rect r{-5, 7, 30, 40};
  EXPECT_EQ(FromQRect(ToQRect(r)), r);
  EXPECT_EQ(ToQRect(r).right(), -5 + 30 - 1);
}

}  // namespace
}  // namespace tessary
