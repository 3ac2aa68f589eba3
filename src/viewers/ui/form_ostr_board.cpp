// The board log viewer's window: its lists, panes, menus and layouts over BoardLogModel.
#include "viewers/ui/form_ostr_board.h"

#include <QActionGroup>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QShowEvent>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "commands/key_map.h"
#include "commands/ui/form_find.h"
#include "commands/ui/viewer_shortcuts.h"
#include "editor/editor_control.h"
#include "editor/ui/editor.h"
#include "platform/file_io.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {
namespace {

constexpr QSize kMinimumSize(640, 320);
constexpr int kIndexSideMinimum = 150;   // Splitter1's minimum
constexpr int kThreadListMinimum = 100;  // Splitter2's minimum
constexpr int kSplitterWidth = 5;
constexpr int kSkipPaneHeight = 120;

QLabel* BuddyLabel(const char* caption, QWidget* buddy) {
  auto* label = new QLabel(Q(caption));
  label->setBuddy(buddy);
  return label;
}

QWidget* Column(std::initializer_list<QWidget*> widgets) {
  auto* w = new QWidget;
  auto* column = new QVBoxLayout(w);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  for (QWidget* child : widgets) column->addWidget(child);
  return w;
}

QAction* RadioItem(QMenu* menu, QActionGroup* group, const char* name, const char* caption) {
  QAction* a = menu->addAction(Q(caption));
  a->setObjectName(name);
  a->setCheckable(true);
  group->addAction(a);
  return a;
}

QAction* Item(QMenu* menu, const char* name, const char* caption) {
  QAction* a = menu->addAction(Q(caption));
  a->setObjectName(name);
  return a;
}

void PutCaretOnLine(TEditor& pane, int32_t line) {
  EditorControl& c = pane.Control();
  const int32_t row = c.LineToRow(std::max(0, line));
  c.SetCaret(row, 0);
  c.SetTopRow(row);
}

void FillPane(TEditor& pane, const TextLines& lines) {
  EditorControl& c = pane.Control();
  c.Lines().SetTextLines(lines);
  c.SetModified(false);
  c.SetCaret(0, 0);
  c.SetTopRow(0);
}

}  // namespace

TFormOstrBoard::TFormOstrBoard(QWidget* parent, LogViewerArgs args)
    : TViewerForm(parent, kMinimumSize),
      args_(std::move(args)),
      model_(args_.log, args_.file_name),
      settings_(ReadBoardSettings(args_.ini)),
      search_(args_.home, args_.messages, FindTarget::OstrBoard),
      numbers_(args_.numbers) {
  setObjectName("FormOstrBoard");
  setWindowTitle(Q(board_text::kCaption));
  model_.SetThreadOrder(settings_.thread_order);
  BuildControls();
  BuildMenus();
  ApplyStoredViewerShortcuts(args_.home, ShortcutWindow::BoardLog, *this);
  StylePanes();
  if (Result<std::string> skip = ReadWholeFile(args_.home.PathOf(WorkingFile::OstrSkip)))
    Editor4->Control().Lines().SetTextStr(skip.value());
  Editor4->Control().SetModified(false);
  timer1_.setSingleShot(true);
  timer1_.setInterval(kLoadDelayMs);
  connect(&timer1_, &QTimer::timeout, this, [this] { LoadLog(); });
  rewrap_.setSingleShot(true);
  connect(&rewrap_, &QTimer::timeout, this, [this] { ApplyWrap(); });
}

TFormOstrBoard::~TFormOstrBoard() = default;

// ---- controls ----

void TFormOstrBoard::BuildControls() {
  Editor1 = new TEditor;
  Editor3 = new TEditor;
  Editor4 = new TEditor;
  for (TEditor* pane : {Editor1, Editor3, Editor4}) {
    pane->installEventFilter(this);
    pane->OnDblClick = [this](TEditor&) { PaneDoubleClick(); };
  }
  Editor1->Control().SetReadOnly(true);
  Editor3->Control().SetReadOnly(true);
  Splitter1 = new QSplitter(Qt::Horizontal);
  Splitter1->setChildrenCollapsible(false);
  Splitter1->setHandleWidth(kSplitterWidth);
  Splitter1->addWidget(index_side_ = BuildIndexSide());
  Splitter1->addWidget(log_side_ = BuildLogSide());
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({kMinimumSize.width() / 3, kMinimumSize.width() * 2 / 3});
  auto* row = new QHBoxLayout(Body());
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(Splitter1);
}

QWidget* TFormOstrBoard::BuildIndexSide() {
  all_ = new LogEntryList(model_.Entries(), &model_.AllRows(), this);
  starters_ = new LogEntryList(model_.Entries(), &model_.StarterRows(), this);
  members_ = new LogEntryList(model_.Entries(), &model_.MemberRows(), this);
  ListBox1 = new QListView;
  ListBox3 = new QListView;
  ListBox2 = new QListView;
  const std::pair<QListView*, LogEntryList*> lists[] = {
      {ListBox1, all_}, {ListBox3, starters_}, {ListBox2, members_}};
  for (const auto& [view, list] : lists) {
    SetUpLogListView(*view, *list);
    view->installEventFilter(this);
  }
  connect(ListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& i) {
            if (!selecting_) ListBox1Select(i.row());
          });
  connect(ListBox3->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& i) {
            if (!selecting_) ListBox3Select(i.row());
          });
  connect(ListBox2->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& i) {
            if (!selecting_) ListBox2Select(i.row());
          });
  for (QListView* v : {ListBox1, ListBox3})
    connect(v, &QListView::doubleClicked, this, [this] {
      if (!model_.MemberRows().empty()) ListBox2->setFocus();
    });
  index_stack_ = new QStackedWidget;
  index_stack_->addWidget(ListBox1);
  index_stack_->addWidget(ListBox3);
  Label2 = BuddyLabel("", ListBox1);
  Label1 = BuddyLabel("スレッド(&T)", ListBox2);
  QWidget* top = Column({Label2, index_stack_});
  QWidget* bottom = Column({Label1, ListBox2});
  top->setMinimumHeight(kThreadListMinimum);
  bottom->setMinimumHeight(kThreadListMinimum);
  Splitter2 = new QSplitter(Qt::Vertical);
  Splitter2->setChildrenCollapsible(false);
  Splitter2->addWidget(top);
  Splitter2->addWidget(bottom);
  Splitter2->setStretchFactor(0, 1);
  Splitter2->setMinimumWidth(kIndexSideMinimum);
  return Splitter2;
}

QWidget* TFormOstrBoard::BuildLogSide() {
  pane_stack_ = new QStackedWidget;
  pane_stack_->addWidget(Editor1);
  pane_stack_->addWidget(Editor3);
  Label3 = BuddyLabel("ログ(&B)", Editor1);
  Label4 = BuddyLabel("スキップタイトル(&S)", Editor4);
  skip_side_ = Column({Label4, Editor4});
  skip_side_->setFixedHeight(kSkipPaneHeight);
  skip_side_->hide();
  QWidget* side = Column({Label3, pane_stack_, skip_side_});
  side->setMinimumWidth(kIndexSideMinimum);
  return side;
}

void TFormOstrBoard::BuildMenus() {
  QMenu* file = AddMenu("ファイル(&F)");
  connect(AddCommand(file, 1021, "終了(&X)"), &QAction::triggered, this, &QDialog::reject);

  QMenu* log = AddMenu("ログ(&L)");
  auto* modes = new QActionGroup(this);
  MenuLogAll = RadioItem(log, modes, "MenuLogAll", "全てのログ(&A)");
  MenuLogThread = RadioItem(log, modes, "MenuLogThread", "スレッドログ(&T)");
  log->addSeparator();
  connect(Item(log, "MenuGetIndex", "インデックスを再取得(&I)"), &QAction::triggered, this,
          [this] { MenuGetIndexClick(); });
  log->addSeparator();
  auto* index_orders = new QActionGroup(this);
  MenuIndexAssend = RadioItem(log, index_orders, "MenuIndexAssend", "インデックス ソート無(&N)");
  MenuIndexDesend = RadioItem(log, index_orders, "MenuIndexDesend", "インデックス ソート有(&S)");
  log->addSeparator();
  auto* thread_orders = new QActionGroup(this);
  MenuThreadAssend = RadioItem(log, thread_orders, "MenuThreadAssend", "スレッド昇順(&U)");
  MenuThreadDesend = RadioItem(log, thread_orders, "MenuThreadDesend", "スレッド降順(&D)");
  log->addSeparator();
  connect(Item(log, "MenuAddSkipTitle", "現在タイトルをスキップタイトルに追加(&P)"),
          &QAction::triggered, this, [this] { MenuAddSkipTitleClick(); });
  connect(MenuLogAll, &QAction::triggered, this, [this] { MenuLogAllClick(); });
  connect(MenuLogThread, &QAction::triggered, this, [this] { MenuLogThreadClick(); });
  connect(MenuIndexAssend, &QAction::triggered, this,
          [this] { ChooseIndexOrder(IndexOrder::Unsorted); });
  connect(MenuIndexDesend, &QAction::triggered, this,
          [this] { ChooseIndexOrder(IndexOrder::Sorted); });
  connect(MenuThreadAssend, &QAction::triggered, this,
          [this] { ChooseThreadOrder(ThreadOrder::Assend); });
  connect(MenuThreadDesend, &QAction::triggered, this,
          [this] { ChooseThreadOrder(ThreadOrder::Desend); });

  QMenu* search = AddMenu("検索(&S)");
  QAction* find = AddCommand(search, 1201, "検索(&F)...");
  QAction* next = AddCommand(search, 1202, "次を検索(&N) ");
  QAction* prev = AddCommand(search, 1203, "前を検索(&P)");
  find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  next->setShortcut(QKeySequence(Qt::Key_F3));
  prev->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
  connect(find, &QAction::triggered, this, [this] { MenuSearchWordClick(); });
  connect(next, &QAction::triggered, this, [this] { MenuSearchClick(SearchDirection::Next); });
  connect(prev, &QAction::triggered, this, [this] { MenuSearchClick(SearchDirection::Previous); });

  QMenu* view = AddMenu("表示(&V)");
  connect(Item(view, "MenuRow", "行番号 表示/非表示(&R)"), &QAction::triggered, this,
          [this] { MenuRowClick(); });
  connect(Item(view, "MenuShowSkipTitle", "スキップタイトル 表示/非表示(&S)"), &QAction::triggered,
          this, [this] { MenuShowSkipTitleClick(); });
  view->addSeparator();
  auto* layouts = new QActionGroup(this);
  MenuShowBoth = RadioItem(view, layouts, "MenuShowBoth", "インデックスとログを表示(&B)");
  MenuShowIndex = RadioItem(view, layouts, "MenuShowIndex", "インデックスのみ表示(&I)");
  MenuShowLog = RadioItem(view, layouts, "MenuShowLog", "ログのみ表示(&L)");
  connect(MenuShowBoth, &QAction::triggered, this, [this] { ChooseLayout(BoardLayout::Both); });
  connect(MenuShowIndex, &QAction::triggered, this,
          [this] { ChooseLayout(BoardLayout::IndexOnly); });
  connect(MenuShowLog, &QAction::triggered, this, [this] { ChooseLayout(BoardLayout::LogOnly); });
  SyncChecks();
}

void TFormOstrBoard::SyncChecks() {
  (settings_.mode == BoardMode::All ? MenuLogAll : MenuLogThread)->setChecked(true);
  (model_.Order() == IndexOrder::Unsorted ? MenuIndexAssend : MenuIndexDesend)->setChecked(true);
  (settings_.thread_order == ThreadOrder::Assend ? MenuThreadAssend : MenuThreadDesend)
      ->setChecked(true);
  QAction* layout = layout_ == BoardLayout::Both        ? MenuShowBoth
                    : layout_ == BoardLayout::IndexOnly ? MenuShowIndex
                                                        : MenuShowLog;
  layout->setChecked(true);
}

void TFormOstrBoard::StylePanes() {
  if (args_.look) {
    args_.look(*Editor1, LogPane::Log);
    args_.look(*Editor3, LogPane::Log);
    args_.look(*Editor4, LogPane::SkipTitles);
  }
  ApplyNumbers();
}

void TFormOstrBoard::ApplyNumbers() {
  const bool shown = numbers_ == PaneNumbers::Shown;
  for (TEditor* pane : {Editor1, Editor3, Editor4}) {
    TEditorLeftbar& bar = pane->Leftbar();
    bar.SetVisible(shown);
    bar.SetShowNumber(shown);
    bar.SetZeroLead(shown);
  }
}

// At the window width the rows end one column before the right edge, so the caret fits.
void TFormOstrBoard::ApplyWrap() {
  Editor4->Control().SetWordWrap(false);
  if (args_.wrap != PaneWrap::WindowWidth) return;
  for (TEditor* pane : {Editor1, Editor3}) {
    EditorControl& c = pane->Control();
    const int wrap_byte = std::max(1, pane->ColumnsPerPage() - 1);
    if (c.WordWrap() && c.Document().WrapOption().WrapByte() == wrap_byte) continue;
    c.Document().WrapOption().SetWrapByte(wrap_byte);
    c.SetWordWrap(true);
  }
}

// ---- loading and showing the index ----

void TFormOstrBoard::Progress(int32_t done, int32_t count) {
  Label2->setText(Q(BoardLogModel::IndexingLabel(done, count)));
  Label2->repaint();  // painted now; no events are serviced while the index is built
}

void TFormOstrBoard::LoadLog() {
  ApplyWrap();  // set on the empty pane, where it costs nothing; the load then wraps once
  Editor1->Control().Lines().SetTextLines(args_.log);
  const Result<std::string> stored = ReadWholeFile(args_.home.PathOf(WorkingFile::OstrIndex));
  const SkipTitles skip = SkipTitlesOf(Editor4->Control().Text());
  const BoardLogModel::IndexSource source =
      model_.Load(stored ? std::optional<std::string_view>(stored.value()) : std::nullopt, skip,
                  [this](int32_t done, int32_t count) { Progress(done, count); });
  loaded_ = true;
  if (source == BoardLogModel::IndexSource::Invalid) {
    WriteIndex();
    ResetLists();
    args_.messages.ShowMessage(std::string(board_text::kBadIndex));
    return;
  }
  if (source == BoardLogModel::IndexSource::Built) WriteIndex();
  Progress(model_.LineCount(), model_.LineCount());
  ShowIndex();
}

void TFormOstrBoard::WriteIndex() {
  // The index in memory is what the window uses; a file that cannot be written only costs a
  // rebuild next time.
  WriteFileAtomic(args_.home.PathOf(WorkingFile::OstrIndex), IndexFileText(model_.Entries()))
      .IgnoreFailure();
}

void TFormOstrBoard::ResetLists() {
  all_->Reset();
  starters_->Reset();
  members_->Reset();
}

void TFormOstrBoard::ShowIndex() {
  model_.ClearThread();
  ResetLists();
  if (model_.Entries().empty()) return;
  selecting_ = true;
  SetCurrentRow(*ListBox1, 0);
  SetCurrentRow(*ListBox3, 0);
  selecting_ = false;
  ListBox1Select(0);
  if (settings_.mode == BoardMode::Thread && !model_.StarterRows().empty()) ListBox3Select(0);
  ShowMode();
}

void TFormOstrBoard::ShowMode() {
  const bool all = settings_.mode == BoardMode::All;
  index_stack_->setCurrentWidget(all ? ListBox1 : ListBox3);
  pane_stack_->setCurrentWidget(all ? Editor1 : Editor3);
  Label2->setBuddy(all ? ListBox1 : ListBox3);
  Label3->setBuddy(all ? Editor1 : Editor3);
  if (all) {
    model_.ClearThread();
    members_->Reset();
  }
  (all ? ListBox1 : ListBox3)->setFocus();
  SyncChecks();
  SetCounts();
}

void TFormOstrBoard::SetCounts() {
  Label2->setText(Q(model_.CountsLabel(settings_.mode)));
}

void TFormOstrBoard::ShowLogLine(int32_t line) {
  PutCaretOnLine(*Editor1, line);
}

void TFormOstrBoard::ShowPost(int32_t entry) {
  FillPane(*Editor3, model_.PostOf(entry));
}

// ---- selections ----

void TFormOstrBoard::ListBox1Select(int row) {
  const int32_t e = all_->EntryAt(row);
  if (e < 0) return;
  ShowLogLine(model_.Entry(e).start);
  ShowPost(e);
}

void TFormOstrBoard::ListBox3Select(int row) {
  model_.FillThread(starters_->EntryAt(row));
  members_->Reset();
  if (model_.MemberRows().empty()) return;
  selecting_ = true;
  SetCurrentRow(*ListBox2, 0);
  selecting_ = false;
  ListBox2Select(0);
}

void TFormOstrBoard::ListBox2Select(int row) {
  const int32_t e = members_->EntryAt(row);
  if (e < 0) return;
  ShowPost(e);
  selecting_ = true;
  SetCurrentRow(*ListBox1, BoardLogModel::RowOf(model_.AllRows(), e));
  selecting_ = false;
  ShowLogLine(model_.Entry(e).start);
}

void TFormOstrBoard::PaneDoubleClick() {
  if (settings_.mode != BoardMode::All) return;
  const EditorControl& c = Editor1->Control();
  const int32_t e = model_.EntryAtLine(c.RowToLine(c.CaretRow()));
  const int row = BoardLogModel::RowOf(model_.AllRows(), e);
  if (row < 0) return;
  selecting_ = true;
  SetCurrentRow(*ListBox1, row);
  selecting_ = false;
  ListBox1Select(row);
}

// ---- commands ----

void TFormOstrBoard::MenuLogAllClick() {
  if (model_.AllRows().empty()) {
    SyncChecks();
    return args_.messages.ShowMessage(std::string(board_text::kNoEntries));
  }
  if (settings_.mode == BoardMode::All) return;
  settings_.mode = BoardMode::All;
  ShowMode();
  ListBox1Select(CurrentRow(*ListBox1));
}

void TFormOstrBoard::MenuLogThreadClick() {
  if (model_.StarterRows().empty()) {
    SyncChecks();
    return args_.messages.ShowMessage(std::string(board_text::kNoEntries));
  }
  if (settings_.mode == BoardMode::Thread) return;
  const int32_t e = all_->EntryAt(CurrentRow(*ListBox1));
  const int32_t starter = model_.StarterFor(e);
  settings_.mode = BoardMode::Thread;
  ShowMode();
  selecting_ = true;
  SetCurrentRow(*ListBox3, std::max(0, BoardLogModel::RowOf(model_.StarterRows(), starter)));
  selecting_ = false;
  if (e >= 0) ShowLogLine(model_.Entry(e).start);
  model_.FillThread(starter);
  members_->Reset();
  const int member = std::max(0, BoardLogModel::RowOf(model_.MemberRows(), e));
  if (model_.MemberRows().empty()) return ShowPost(-1);
  selecting_ = true;
  SetCurrentRow(*ListBox2, member);
  selecting_ = false;
  ListBox2Select(member);
}

void TFormOstrBoard::MenuGetIndexClick() {
  model_.Rebuild(SkipTitlesOf(Editor4->Control().Text()),
                 [this](int32_t done, int32_t count) { Progress(done, count); });
  WriteIndex();
  ShowIndex();
}

void TFormOstrBoard::ChooseIndexOrder(IndexOrder order) {
  if (order == model_.Order()) return;
  model_.SetOrder(order);
  ShowIndex();
}

void TFormOstrBoard::ChooseThreadOrder(ThreadOrder order) {
  if (order == settings_.thread_order) return;
  settings_.thread_order = order;
  model_.SetThreadOrder(order);
  if (settings_.mode == BoardMode::Thread) ListBox3Select(CurrentRow(*ListBox3));
}

void TFormOstrBoard::MenuAddSkipTitleClick() {
  const EditorControl& c = Editor1->Control();
  if (c.RowCount() == 0) return;
  const int32_t line = c.RowToLine(c.CaretRow());
  if (line < 0 || static_cast<size_t>(line) >= args_.log.Count()) return;
  const std::string_view header = args_.log.Line(static_cast<size_t>(line));
  if (IsPostHeader(header)) Editor4->Control().Lines().Add(header);
}

bool TFormOstrBoard::RefusedInThreadMode() {
  if (settings_.mode != BoardMode::Thread) return false;
  args_.messages.ShowMessage(std::string(board_text::kNoSearchInThread));
  return true;
}

void TFormOstrBoard::MenuSearchWordClick() {
  if (RefusedInThreadMode()) return;
  EditorControl& c = Editor1->Control();
  const std::string word = search_.WordForFind(c);
  if (run_find) {
    search_.SetWord(run_find(word));
    return;
  }
  TFormFind form(this, args_.ini, args_.home, args_.messages, c, FindWindow::Find, word);
  form.exec();
  search_.TakeBack(form.Model());
}

void TFormOstrBoard::MenuSearchClick(SearchDirection direction) {
  if (RefusedInThreadMode()) return;
  (void)search_.Search(Editor1->Control(), direction);  // a miss has shown its message
}

void TFormOstrBoard::MenuRowClick() {
  numbers_ = numbers_ == PaneNumbers::Shown ? PaneNumbers::Hidden : PaneNumbers::Shown;
  ApplyNumbers();
}

void TFormOstrBoard::MenuShowSkipTitleClick() {
  skip_side_->setVisible(skip_side_->isHidden());
}

int TFormOstrBoard::IndexSideWidth() const {
  return layout_ == BoardLayout::LogOnly ? 1 : index_side_->width();
}

void TFormOstrBoard::ChooseLayout(BoardLayout layout) {
  if (layout == layout_) return;
  const LayoutWidths w = layout_memory_.Choose(layout, IndexSideWidth(), width());
  layout_ = layout;
  index_side_->setVisible(layout != BoardLayout::LogOnly);
  log_side_->setVisible(layout != BoardLayout::IndexOnly);
  Splitter1->setHandleWidth(std::max(1, w.splitter_width));
  if (layout == BoardLayout::Both)
    Splitter1->setSizes({w.index_width, std::max(1, Splitter1->width() - w.index_width)});
  SyncChecks();
}

// ---- events ----

void TFormOstrBoard::showEvent(QShowEvent* event) {
  TViewerForm::showEvent(event);
  if (event->spontaneous() || loaded_ || timer1_.isActive()) return;
  // Over the main window and as large.
  if (QWidget* main = parentWidget()) setGeometry(main->geometry());
  Splitter1->setSizes({width() / 3, width() - width() / 3});
  const int h = Splitter2->height();
  Splitter2->setSizes({h * 3 / 5, h - h * 3 / 5});  // the index list above gets the more room
  timer1_.start();
}

bool TFormOstrBoard::eventFilter(QObject* watched, QEvent* event) {
  const bool list = watched == ListBox1 || watched == ListBox2 || watched == ListBox3;
  if (list && IsEnterKey(*event)) return true;
  if ((watched == Editor1 || watched == Editor3) && event->type() == QEvent::Resize &&
      args_.wrap == PaneWrap::WindowWidth)
    rewrap_.start(0);
  return TViewerForm::eventFilter(watched, event);
}

void TFormOstrBoard::done(int result) {
  timer1_.stop();
  rewrap_.stop();
  // The skip titles are kept whatever they hold; settings writes are repeated at every close.
  WriteFileAtomic(args_.home.PathOf(WorkingFile::OstrSkip), Editor4->Control().Text())
      .IgnoreFailure();
  WriteBoardSettings(args_.ini, settings_).IgnoreFailure();
  TViewerForm::done(result);
}

}  // namespace tessary
