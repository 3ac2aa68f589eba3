// The history viewer's window: the record list and the pane in its two modes.
#include "viewers/ui/form_ostr_history.h"

#include <QActionGroup>
#include <QHBoxLayout>
#include <QListView>
#include <QMenu>
#include <QShowEvent>
#include <QSplitter>
#include <algorithm>

#include "commands/key_map.h"
#include "commands/ui/viewer_shortcuts.h"
#include "editor/editor_control.h"
#include "editor/ui/editor.h"
#include "platform/ui/qt_conversions.h"
#include "viewers/board_log.h"

namespace tessary {
namespace {

constexpr QSize kMinimumSize(640, 320);
constexpr int kSplitterMinimum = 100;

}  // namespace

TFormOstrHistory::TFormOstrHistory(QWidget* parent, LogViewerArgs args)
    : TViewerForm(parent, kMinimumSize), args_(std::move(args)), mode_(ReadHistoryMode(args_.ini)) {
  setObjectName("FormOstrHistory");
  setWindowTitle(Q(history_text::kCaption));
  list_ = new LogEntryList(entries_, nullptr, this);
  ListBox1 = new QListView;
  SetUpLogListView(*ListBox1, *list_);
  ListBox1->setMinimumWidth(kSplitterMinimum);
  ListBox1->installEventFilter(this);
  connect(ListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& i) { ListBox1Select(i.row()); });
  Editor1 = new TEditor;
  Editor1->setMinimumWidth(kSplitterMinimum);
  Editor1->installEventFilter(this);
  Editor1->Control().SetReadOnly(true);
  if (args_.look) args_.look(*Editor1, LogPane::Log);
  Splitter1 = new QSplitter(Qt::Horizontal);
  Splitter1->setChildrenCollapsible(false);
  Splitter1->addWidget(ListBox1);
  Splitter1->addWidget(Editor1);
  Splitter1->setStretchFactor(1, 1);
  auto* row = new QHBoxLayout(Body());
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(Splitter1);
  BuildMenus();
  ApplyStoredViewerShortcuts(args_.home, ShortcutWindow::History, *this);
  rewrap_.setSingleShot(true);
  connect(&rewrap_, &QTimer::timeout, this, [this] { ApplyWrap(); });
}

void TFormOstrHistory::BuildMenus() {
  QMenu* file = AddMenu("ファイル(&F)");
  auto* group = new QActionGroup(this);
  MenuLogAll = file->addAction(Q("全てのログ(&A)"));
  MenuLogThis = file->addAction(Q("個別ログ(&D)"));
  MenuLogAll->setObjectName("MenuLogAll");
  MenuLogThis->setObjectName("MenuLogThis");
  for (QAction* a : {MenuLogAll, MenuLogThis}) {
    a->setCheckable(true);
    group->addAction(a);
  }
  SyncChecks();
  connect(MenuLogAll, &QAction::triggered, this, [this] { ChooseMode(HistoryMode::All); });
  connect(MenuLogThis, &QAction::triggered, this, [this] { ChooseMode(HistoryMode::This); });
  file->addSeparator();
  connect(AddCommand(file, 1021, "終了(&X)"), &QAction::triggered, this, &QDialog::reject);
}

void TFormOstrHistory::SyncChecks() {
  (mode_ == HistoryMode::All ? MenuLogAll : MenuLogThis)->setChecked(true);
}

void TFormOstrHistory::ApplyWrap() {
  if (args_.wrap != PaneWrap::WindowWidth) return;
  EditorControl& c = Editor1->Control();
  const int wrap_byte = std::max(1, Editor1->ColumnsPerPage() - 1);
  if (c.WordWrap() && c.Document().WrapOption().WrapByte() == wrap_byte) return;
  c.Document().WrapOption().SetWrapByte(wrap_byte);
  c.SetWordWrap(true);
}

void TFormOstrHistory::ShowWholeLog() {
  EditorControl& c = Editor1->Control();
  c.Lines().SetTextLines(args_.log);
  c.SetModified(false);
}

void TFormOstrHistory::FormShow() {
  ApplyWrap();
  ShowWholeLog();
  entries_ = BuildHistoryEntries(args_.log, args_.file_name);
  list_->Reset();
  if (entries_.empty()) return;
  SetCurrentRow(*ListBox1, 0);  // shows the first record in the current mode
  ListBox1->setFocus();
}

void TFormOstrHistory::ListBox1Select(int row) {
  const int32_t e = list_->EntryAt(row);
  if (e < 0 || busy_) return;
  busy_ = true;
  EditorControl& c = Editor1->Control();
  if (mode_ == HistoryMode::All) {
    const int32_t r = c.LineToRow(entries_[static_cast<size_t>(e)].start);
    c.SetCaret(r, 0);
    c.SetTopRow(r);
  } else {
    c.Lines().SetTextLines(HistoryRecordLines(args_.log, entries_, e));
    c.SetModified(false);
    c.SetCaret(0, 0);
    c.SetTopRow(0);
  }
  busy_ = false;
}

void TFormOstrHistory::ChooseMode(HistoryMode mode) {
  if (entries_.empty()) {
    SyncChecks();
    return args_.messages.ShowMessage(std::string(board_text::kNoEntries));
  }
  if (mode == mode_) return;
  mode_ = mode;
  SyncChecks();
  if (mode == HistoryMode::All) ShowWholeLog();
  ListBox1Select(CurrentRow(*ListBox1));
}

void TFormOstrHistory::showEvent(QShowEvent* event) {
  TViewerForm::showEvent(event);
  if (event->spontaneous() || shown_) return;
  shown_ = true;
  if (QWidget* main = parentWidget()) setGeometry(main->geometry());
  Splitter1->setSizes({width() / 3, width() - width() / 3});
  FormShow();
}

bool TFormOstrHistory::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListBox1 && IsEnterKey(*event)) return true;
  if (watched == Editor1 && event->type() == QEvent::Resize && args_.wrap == PaneWrap::WindowWidth)
    rewrap_.start(0);
  return TViewerForm::eventFilter(watched, event);
}

void TFormOstrHistory::done(int result) {
  rewrap_.stop();
  WriteHistoryMode(args_.ini, mode_).IgnoreFailure();  // written again at every close
  TViewerForm::done(result);
}

}  // namespace tessary
