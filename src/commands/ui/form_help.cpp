// The help window: the manual, its heading tree, the wrap menu.
#include "commands/ui/form_help.h"

#include <QActionGroup>
#include <QApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QShowEvent>
#include <QSplitter>
#include <QStyle>
#include <QTreeView>

#include "codec/sjis_text.h"
#include "editor/editor_control.h"
#include "editor/ui/editor.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {
namespace {

constexpr QSize kMinimumSize(400, 300);
constexpr QSize kFirstSize(800, 600);
constexpr int kTreeWidth = 170;
constexpr int kPaneMinimum = 100;
constexpr int kTabWidth = 2;

QString SjisText(const IndentNode& node) {
  return Q(SjisToUtf8(node.text));
}

}  // namespace

TFormHelp::TFormHelp(QWidget* main_window, PrivateProfile& ini, const AppHome& home,
                     const std::string& manual)
    : TViewerForm(main_window, kMinimumSize), ini_(ini), model_(this), wrap_(ReadHelpWrap(ini)) {
  setObjectName("FormHelp");
  setWindowTitle(Q("ヘルプ表示"));
  resize(kFirstSize);

  TreeView1 = new QTreeView;
  SetUpIndentTreeView(*TreeView1, model_);
  TreeView1->setMinimumWidth(kPaneMinimum);
  Editor1 = new TEditor;
  Editor1->setMinimumWidth(kPaneMinimum);
  Editor1->installEventFilter(this);
  Splitter1 = new QSplitter(Qt::Horizontal);
  Splitter1->setChildrenCollapsible(false);
  Splitter1->addWidget(TreeView1);
  Splitter1->addWidget(Editor1);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({kTreeWidth, kFirstSize.width() - kTreeWidth});
  auto* row = new QHBoxLayout(Body());
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(Splitter1);

  BuildMenus();
  LoadManual(manual);
  headings_ = Outline::Build(Editor1->Document(), HeadingKinds::MarksOnly);
  // The tree is the headings in memory; the index file is only a copy for other programs.
  headings_->WriteFile(home.PathOf(WorkingFile::Help)).IgnoreFailure();
  const QIcon first = style()->standardIcon(QStyle::SP_DirIcon);
  const QIcon second = style()->standardIcon(QStyle::SP_FileIcon);
  model_.SetTree(headings_, &headings_->Tree(), {SjisText, [first, second](const IndentNode& n) {
                                                   return n.level == 1 ? second : first;
                                                 }});

  ready_timer_.setSingleShot(true);
  ready_timer_.setInterval(kReadyDelayMs);
  connect(&ready_timer_, &QTimer::timeout, this, [this] { BecomeReady(); });
  rewrap_.setSingleShot(true);
  connect(&rewrap_, &QTimer::timeout, this, [this] { ApplyWrap(); });
  connect(TreeView1->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this] { JumpToSelected(); });
  connect(TreeView1, &QTreeView::clicked, this, [this] { JumpToSelected(); });
}

TFormHelp::~TFormHelp() = default;

void TFormHelp::BuildMenus() {
  QMenu* file = AddMenu("ファイル(&F)");
  connect(file->addAction(Q("閉じる(&X)")), &QAction::triggered, this, &QDialog::reject);
  QMenu* view = AddMenu("表示(&V)");
  MenuWrapNone = view->addAction(Q("折り返さない(&N)"));
  MenuWrapWindowWidth = view->addAction(Q("ウィンドウの右端で折り返し(&W)"));
  auto* group = new QActionGroup(this);
  for (QAction* a : {MenuWrapNone, MenuWrapWindowWidth}) {
    a->setCheckable(true);
    group->addAction(a);
  }
  (wrap_ == HelpWrap::None ? MenuWrapNone : MenuWrapWindowWidth)->setChecked(true);
  connect(MenuWrapNone, &QAction::triggered, this, [this] { ChooseWrap(HelpWrap::None); });
  connect(MenuWrapWindowWidth, &QAction::triggered, this,
          [this] { ChooseWrap(HelpWrap::WindowWidth); });
}

void TFormHelp::LoadManual(const std::string& manual) {
  EditorControl& c = Editor1->Control();
  Editor1->Caret().TabSpaceCount = kTabWidth;
  c.CaretOptionsChanged();
  c.Lines().SetTextStr(ReadHelpText(manual));
  c.SetReadOnly(true);
  c.SetModified(false);
  c.SetCaret(0, 0);
  // Wrapped when shown: only then does the editor know its width.
}

void TFormHelp::ChooseWrap(HelpWrap wrap) {
  (wrap == HelpWrap::None ? MenuWrapNone : MenuWrapWindowWidth)->setChecked(true);
  if (wrap == wrap_) return;
  wrap_ = wrap;
  ApplyWrap();
}

// At the window width the rows end one column before the right edge, so the caret fits.
void TFormHelp::ApplyWrap() {
  EditorControl& c = Editor1->Control();
  if (wrap_ == HelpWrap::WindowWidth)
    c.Document().WrapOption().SetWrapByte(std::max(1, Editor1->ColumnsPerPage() - 1));
  c.SetWordWrap(wrap_ == HelpWrap::WindowWidth);
}

void TFormHelp::showEvent(QShowEvent* event) {
  TViewerForm::showEvent(event);
  if (event->spontaneous()) return;
  ApplyWrap();
  if (model_.NodeCount() > 0) TreeView1->setCurrentIndex(model_.IndexOfNode(0));
  ready_timer_.start();
}

void TFormHelp::BecomeReady() {
  TreeView1->setFocus();
  ready_ = true;
}

void TFormHelp::JumpToSelected() {
  if (!ready_) return;
  const std::optional<size_t> node = model_.NodeOf(TreeView1->currentIndex());
  if (node) JumpToNode(Editor1->Control(), *headings_, *node);
}

// The editor's visible columns change after its own resize handling: re-wrap once the events
// have settled, so a drag of the window edge lays the text out once.
bool TFormHelp::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Editor1 && event->type() == QEvent::Resize && wrap_ == HelpWrap::WindowWidth)
    rewrap_.start(0);
  return TViewerForm::eventFilter(watched, event);
}

void TFormHelp::done(int result) {
  ready_timer_.stop();
  rewrap_.stop();
  ready_ = false;
  // Stored for the next opening; a settings file that cannot be written keeps the last choice.
  WriteHelpWrap(ini_, wrap_).IgnoreFailure();
  TViewerForm::done(result);
}

void ShowHelpWindow(QWidget* main_window, PrivateProfile& ini, const AppHome& home) {
  TFormHelp form(main_window, ini, home, HelpTextPath(ExecutablePath()));
  form.exec();
}

}  // namespace tessary
