// The file-snippet window: its pages, buttons and name box onto FileSnippets.
#include "viewers/ui/form_snippet_file.h"

#include <QHBoxLayout>
#include <QInputDialog>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeView>
#include <QVBoxLayout>

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

}  // namespace

TFormSnippetFile::TFormSnippetFile(QWidget* parent, SnippetWindowArgs args)
    : TViewerForm(parent, kMinimumSize, {args.ini, "FormSnippetFile", kMinimumSize, kFallback}),
      Editor1(new TEditor),
      Editor2(new TEditor),
      model_({args.home, args.messages, args.clipboard, args.target}, Editor1->Control(),
             Editor2->Control()) {
  setObjectName("FormSnippetFile");
  setWindowTitle(Q("スニペット表示(ファイル)"));
  if (args.look) {
    args.look(*Editor1, SnippetPane::Preview);
    args.look(*Editor2, SnippetPane::Editable);
  }
  Editor1->Control().SetReadOnly(true);
  Editor2->Control().SetWantTabs(true);
  ask_name = [this]() -> std::optional<std::string> {
    bool ok = false;
    const QString name = QInputDialog::getText(this, Q("ファイルの追加"), Q("ファイル名"),
                                               QLineEdit::Normal, QString(), &ok);
    if (!ok) return std::nullopt;
    return FromQ(name);
  };
  Pages = new QStackedWidget;
  (new QVBoxLayout(Body()))->addWidget(Pages);
  Body()->layout()->setContentsMargins(0, 0, 0, 0);
  BuildTreePage();
  BuildEditPage();
  BuildMenus();
}

void TFormSnippetFile::BuildTreePage() {
  Panel1 = new QWidget;
  TreeView1 = new QTreeView;
  SetUpIndentTreeView(*TreeView1, tree_model_);
  TreeView1->installEventFilter(this);
  auto* row = new QHBoxLayout(Panel1);
  row->setContentsMargins(4, 4, 4, 4);
  row->addWidget(TreeView1, 2);
  row->addWidget(Editor1, 3);
  auto* column = new QVBoxLayout;
  row->addLayout(column);
  column->addWidget(ButtonSet = MakeButton("ｶｰｿﾙ位置に貼付(&V)"));
  column->addWidget(ButtonEdit = MakeButton("編集(&E)"));
  column->addWidget(Button3Add = MakeButton("追加(&A)"));
  column->addWidget(ButtonDelete = MakeButton("削除(&D)"));
  column->addStretch();
  column->addWidget(ButtonClose = MakeButton("ｷｬﾝｾﾙ(&C)"));
  Pages->addWidget(Panel1);
  connect(ButtonSet, &QPushButton::clicked, this, [this] { Insert(); });
  connect(TreeView1, &QTreeView::doubleClicked, this, [this] { Insert(); });
  connect(TreeView1->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
    if (!filling_) model_.TreeView1Click(CurrentSnippetNode(*TreeView1, tree_model_));
  });
  connect(ButtonEdit, &QPushButton::clicked, this,
          [this] { Step([this] { model_.ButtonEditClick(); }); });
  connect(ButtonDelete, &QPushButton::clicked, this,
          [this] { Step([this] { model_.ButtonDeleteClick(); }); });
  connect(Button3Add, &QPushButton::clicked, this, [this] {
    const std::optional<std::string> name = ask_name ? ask_name() : std::nullopt;
    Step([this, &name] { model_.Button3AddClick(name); });
  });
  connect(ButtonClose, &QPushButton::clicked, this, &TFormSnippetFile::reject);
}

void TFormSnippetFile::BuildEditPage() {
  Panel2 = new QWidget;
  auto* row = new QHBoxLayout(Panel2);
  row->setContentsMargins(4, 4, 4, 4);
  row->addWidget(Editor2, 1);
  auto* column = new QVBoxLayout;
  row->addLayout(column);
  column->addWidget(ButtonSave = MakeButton("保存(&S)"));
  column->addWidget(ButtonTree = MakeButton("ﾂﾘｰ画面へ(&T)"));
  column->addWidget(ButtonPaste = MakeButton("ｸﾘｯﾌﾟから貼付(&V)"));
  column->addStretch();
  Pages->addWidget(Panel2);
  connect(ButtonSave, &QPushButton::clicked, this,
          [this] { Step([this] { model_.ButtonSaveClick(); }); });
  connect(ButtonTree, &QPushButton::clicked, this,
          [this] { Step([this] { model_.ButtonTreeClick(); }); });
  connect(ButtonPaste, &QPushButton::clicked, this, [this] {
    model_.ButtonPasteClick();
    Editor2->setFocus();
  });
}

void TFormSnippetFile::BuildMenus() {
  QMenu* file = AddMenu("ファイル(&F)");
  connect(file->addAction(Q("終了(&X)")), &QAction::triggered, this, &TFormSnippetFile::reject);
  QMenu* help = AddMenu("ヘルプ(&H)");
  connect(help->addAction(Q("ヘルプ表示(&C)")), &QAction::triggered, this,
          [this] { model_.MenuHelpClick(); });
}

void TFormSnippetFile::showEvent(QShowEvent* event) {
  TViewerForm::showEvent(event);
  if (started_) return;
  started_ = true;
  Step([this] { model_.Start(); });
}

void TFormSnippetFile::Step(const std::function<void()>& step) {
  step();
  ShowPage();
}

// The page the model is on; the tree is refilled from the list the model holds.
void TFormSnippetFile::ShowPage() {
  if (model_.Page() == SnippetPage::Edit) {
    Pages->setCurrentWidget(Panel2);
    Editor2->setFocus();
    return;
  }
  filling_ = true;
  ShowSnippetTree(*TreeView1, tree_model_, model_.Tree(), model_.Selected());
  filling_ = false;
  Pages->setCurrentWidget(Panel1);
  TreeView1->setFocus();
  Editor1->viewport()->update();
}

void TFormSnippetFile::Insert() {
  if (model_.ButtonSetClick() == Insertion::Inserted) accept();
}

bool TFormSnippetFile::eventFilter(QObject* watched, QEvent* event) {
  if (watched == TreeView1 && IsInsertKey(*event)) {
    Insert();
    return true;
  }
  return TViewerForm::eventFilter(watched, event);
}

void TFormSnippetFile::reject() {
  if (model_.CloseQuery() == Leaving::Allowed) TViewerForm::reject();
}

}  // namespace tessary
