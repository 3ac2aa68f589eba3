// The outline window: its menus and timers around the headless outline, the tree it shows.
#include "commands/ui/form_outline.h"

#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QShowEvent>
#include <QTreeView>
#include <QVBoxLayout>

#include "codec/sjis_text.h"
#include "commands/command_ids.h"
#include "commands/key_map.h"
#include "commands/ui/viewer_shortcuts.h"
#include "editor/editor_control.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {
namespace {

constexpr QSize kMinimumSize(200, 240);
constexpr Rect kFallback{0, 0, 200, 240};

QString SjisText(const IndentNode& node) {
  return Q(SjisToUtf8(node.text));
}

}  // namespace

TFormOutLine::TFormOutLine(QWidget* main_window, PrivateProfile& ini, const AppHome& home,
                           EditorControl& target)
    : TViewerForm(main_window, kMinimumSize, {ini, "FormOutLine", kMinimumSize, kFallback}),
      home_(home),
      target_(target),
      model_(this) {
  setObjectName("FormOutLine");
  setWindowTitle(Q("アウトライン"));
  setWindowFlag(Qt::Tool);
  setModal(false);

  Panel3 = new QLabel(Body());
  Panel3->setFrameShape(QFrame::StyledPanel);
  Panel3->setFrameShadow(QFrame::Sunken);
  TreeView1 = new QTreeView(Body());
  SetUpIndentTreeView(*TreeView1, model_);
  TreeView1->setTextElideMode(Qt::ElideNone);
  TreeView1->installEventFilter(this);
  auto* column = new QVBoxLayout(Body());
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(Panel3);
  column->addWidget(TreeView1, 1);

  QMenu* file = AddMenu("ファイル(&F)");
  connect(file->addAction(Q("左側に配置(&L)")), &QAction::triggered, this,
          [this] { PlaceBeside(OutlineSide::Left); });
  connect(file->addAction(Q("右側に配置(&R)")), &QAction::triggered, this,
          [this] { PlaceBeside(OutlineSide::Right); });
  file->addSeparator();
  connect(AddCommand(file, IdNumber(CommandId::MenuClose), "終了(&X)"), &QAction::triggered, this,
          &QDialog::reject);
  QMenu* search = AddMenu("検索(&S)");
  QAction* focus_main =
      AddCommand(search, IdNumber(CommandId::MenuShowOutLine), "メインへフォーカス移動(&M)");
  focus_main->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F3));
  connect(focus_main, &QAction::triggered, this, [this] { FocusMain(); });

  build_timer_.setSingleShot(true);
  build_timer_.setInterval(kBuildDelayMs);
  connect(&build_timer_, &QTimer::timeout, this, [this] { Build(); });
  ready_timer_.setSingleShot(true);
  ready_timer_.setInterval(kReadyDelayMs);
  connect(&ready_timer_, &QTimer::timeout, this, [this] { BecomeReady(); });
  connect(TreeView1->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this] { JumpToSelected(); });
  connect(TreeView1, &QTreeView::doubleClicked, this, [this] { JumpToSelected(); });
}

void TFormOutLine::ShowOutline() {
  if (isVisible()) {
    raise();
    activateWindow();
    return;
  }
  show();
  activateWindow();
}

// Each showing starts a fresh build; whatever the last one left is dropped first, so two
// builds never mix.
void TFormOutLine::showEvent(QShowEvent* event) {
  TViewerForm::showEvent(event);
  if (event->spontaneous()) return;
  ApplyStoredViewerShortcuts(home_, ShortcutWindow::OutLine, *this);
  ready_timer_.stop();
  ready_ = false;
  model_.Clear();
  outline_.reset();
  Panel3->clear();
  build_timer_.start();
}

void TFormOutLine::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) {
    build_timer_.stop();
    ready_timer_.stop();
    ready_ = false;
  }
  TViewerForm::hideEvent(event);
}

void TFormOutLine::Build() {
  ready_ = false;
  outline_ = Outline::Build(target_.Document(), HeadingKinds::MarksAndSections);
  // The tree comes from the outline in memory; the file is for other programs to read, so a
  // failed write does not keep the window from showing the headings.
  outline_->WriteFile(home_.PathOf(WorkingFile::OutLine)).IgnoreFailure();
  const int32_t lines = outline_->LineCount();
  Panel3->setText(Q(OutlineProgressText(lines, lines)));
  model_.SetTree(outline_, &outline_->Tree(), {SjisText, nullptr});
  if (model_.NodeCount() > 0) TreeView1->setCurrentIndex(model_.IndexOfNode(0));
  TreeView1->setFocus();
  ready_timer_.start();
}

void TFormOutLine::BecomeReady() {
  ready_ = true;
  JumpToSelected();
}

void TFormOutLine::JumpToSelected() {
  if (!ready_ || !outline_) return;
  const std::optional<size_t> node = model_.NodeOf(TreeView1->currentIndex());
  if (node) JumpToNode(target_, *outline_, *node);
}

void TFormOutLine::PlaceBeside(OutlineSide side) {
  const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
  if (!main) return;
  const QRect own = frameGeometry();
  const Rect frame = PlaceBesideMain(side, FromQRect(main->frameGeometry()), own.width());
  // Move places the frame; the size is the inside, less what the frame adds.
  const QSize border = own.size() - size();
  move(frame.left, frame.top);
  resize(frame.width - border.width(), frame.height - border.height());
}

void TFormOutLine::FocusMain() {
  QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
  if (!main) return;
  main->raise();
  main->activateWindow();
}

// Enter and Esc in the tree do nothing there: Esc has already closed the window, and Enter
// must neither activate the row nor reach a default button.
bool TFormOutLine::eventFilter(QObject* watched, QEvent* event) {
  if (watched == TreeView1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) return true;
  }
  return TViewerForm::eventFilter(watched, event);
}

}  // namespace tessary
