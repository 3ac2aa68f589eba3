// The text-snippet window: its pages and buttons onto TextSnippets, and the snippet tree rows.
#include "viewers/ui/form_snippet.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include "codec/sjis_text.h"
#include "editor/ui/editor.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {
namespace {

constexpr QSize kMinimumSize(690, 240);
// A placement that is missing or off the screen opens at the top left corner.
constexpr Rect kFallback{0, 0, 690, 240};

QPushButton* MakeButton(const char* caption) {
  auto* b = new QPushButton(Q(caption));
  b->setAutoDefault(false);  // Enter belongs to the tree and the editor
  return b;
}

// A page: the pane (or panes) on the left, the buttons in a column on the right.
QVBoxLayout* ButtonColumn(QWidget* page, std::initializer_list<QWidget*> panes) {
  auto* row = new QHBoxLayout(page);
  row->setContentsMargins(4, 4, 4, 4);
  for (QWidget* pane : panes) row->addWidget(pane, 1);
  auto* column = new QVBoxLayout;
  row->addLayout(column);
  return column;
}

QString SjisText(const IndentNode& node) {
  return Q(SjisToUtf8(node.text));
}

}  // namespace

void ShowSnippetTree(QTreeView& view, IndentTreeModel& model,
                     std::shared_ptr<const IndentTree> tree, int selected) {
  const IndentTree* nodes = tree.get();
  model.SetTree(std::move(tree), nodes, {SjisText, nullptr});
  view.expandAll();
  if (selected >= 0) view.setCurrentIndex(model.IndexOfNode(static_cast<size_t>(selected)));
}

int CurrentSnippetNode(const QTreeView& view, const IndentTreeModel& model) {
  const std::optional<size_t> node = model.NodeOf(view.currentIndex());
  return node ? static_cast<int>(*node) : -1;
}

TFormSnippet::TFormSnippet(QWidget* parent, SnippetWindowArgs args, SnippetClock clock)
    : TViewerForm(parent, kMinimumSize, {args.ini, "FormSnippet", kMinimumSize, kFallback}),
      Editor1(new TEditor),
      model_({args.home, args.messages, args.clipboard, args.target}, Editor1->Control(),
             std::move(clock)) {
  setObjectName("FormSnippet");
  setWindowTitle(Q("スニペット表示(文字列)"));
  if (args.look) args.look(*Editor1, SnippetPane::Editable);
  Editor1->Control().SetWantTabs(true);  // Tab is typed into the text
  Pages = new QStackedWidget;
  (new QVBoxLayout(Body()))->addWidget(Pages);
  Body()->layout()->setContentsMargins(0, 0, 0, 0);
  BuildTreePage();
  BuildEditPage();
  BuildMenus();
}

void TFormSnippet::BuildTreePage() {
  Panel1 = new QWidget;
  TreeView1 = new QTreeView;
  SetUpIndentTreeView(*TreeView1, tree_model_);
  TreeView1->installEventFilter(this);
  QVBoxLayout* column = ButtonColumn(Panel1, {TreeView1});
  column->addWidget(ButtonSet = MakeButton("ｶｰｿﾙ位置に貼付(&V)"));
  column->addWidget(ButtonEditor = MakeButton("編集画面へ(&E)"));
  column->addStretch();
  column->addWidget(ButtonClose = MakeButton("ｷｬﾝｾﾙ(&C)"));
  Pages->addWidget(Panel1);
  connect(ButtonSet, &QPushButton::clicked, this, [this] { Insert(); });
  connect(TreeView1, &QTreeView::doubleClicked, this, [this] { Insert(); });
  connect(ButtonEditor, &QPushButton::clicked, this, [this] {
    model_.ButtonEditorClick();
    ShowPage();
  });
  connect(ButtonClose, &QPushButton::clicked, this, &TFormSnippet::reject);
}

void TFormSnippet::BuildEditPage() {
  Panel2 = new QWidget;
  QVBoxLayout* column = ButtonColumn(Panel2, {Editor1});
  column->addWidget(ButtonSave = MakeButton("保存(&S)"));
  column->addWidget(ButtonTree = MakeButton("ﾂﾘｰ画面へ(&T)"));
  column->addWidget(ButtonPaste = MakeButton("ｸﾘｯﾌﾟから貼付(&V)"));
  column->addStretch();
  column->addWidget(ButtonInit = MakeButton("初期化(&I)"));
  Pages->addWidget(Panel2);
  connect(ButtonSave, &QPushButton::clicked, this, [this] {
    model_.ButtonSaveClick();
    ShowPage();
  });
  connect(ButtonTree, &QPushButton::clicked, this, [this] {
    model_.ButtonTreeClick();
    ShowPage();
  });
  connect(ButtonPaste, &QPushButton::clicked, this, [this] {
    model_.ButtonPasteClick();
    Editor1->setFocus();
  });
  connect(ButtonInit, &QPushButton::clicked, this, [this] {
    model_.ButtonInitClick();
    Editor1->viewport()->update();
  });
}

void TFormSnippet::BuildMenus() {
  QMenu* file = AddMenu("ファイル(&F)");
  connect(file->addAction(Q("終了(&X)")), &QAction::triggered, this, &TFormSnippet::reject);
  QMenu* help = AddMenu("ヘルプ(&H)");
  connect(help->addAction(Q("ヘルプ表示(&C)")), &QAction::triggered, this,
          [this] { model_.MenuHelpClick(); });
}

void TFormSnippet::showEvent(QShowEvent* event) {
  TViewerForm::showEvent(event);
  if (started_) return;
  started_ = true;
  model_.Start();
  ShowPage();
}

// The page the model is on, its tree refilled when it is the tree page.
void TFormSnippet::ShowPage() {
  if (model_.Page() == SnippetPage::Edit) {
    Pages->setCurrentWidget(Panel2);
    Editor1->setFocus();
    return;
  }
  ShowSnippetTree(*TreeView1, tree_model_, model_.Tree(), model_.Selected());
  Pages->setCurrentWidget(Panel1);
  TreeView1->setFocus();
}

bool IsInsertKey(const QEvent& event) {
  if (event.type() != QEvent::KeyPress) return false;
  const auto& key = static_cast<const QKeyEvent&>(event);
  const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
  return enter && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

void TFormSnippet::Insert() {
  model_.Select(CurrentSnippetNode(*TreeView1, tree_model_));
  if (model_.ButtonSetClick() == Insertion::Inserted) accept();
}

bool TFormSnippet::eventFilter(QObject* watched, QEvent* event) {
  if (watched == TreeView1 && IsInsertKey(*event)) {
    Insert();
    return true;
  }
  return TViewerForm::eventFilter(watched, event);
}

void TFormSnippet::reject() {
  if (model_.CloseQuery() == Leaving::Allowed) TViewerForm::reject();
}

}  // namespace tessary
