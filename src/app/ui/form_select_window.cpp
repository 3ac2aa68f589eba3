// The window choosers: a list of matching window titles over the buttons, patterns for files.
#include "app/ui/form_select_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/command_ids.h"
#include "commands/key_map.h"
#include "commands/ui/viewer_shortcuts.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {
namespace {

// Enter in the list runs the chosen entry.
class ListKeys final : public QObject {
 public:
  ListKeys(QObject* parent, std::function<void()> run) : QObject(parent), run_(std::move(run)) {}
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(e)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        run_();
        return true;
      }
    }
    return QObject::eventFilter(watched, e);
  }

 private:
  std::function<void()> run_;
};

void ApplyKeyMap(const TViewerForm& form, ShortcutWindow window, const AppHome& home) {
  const KeyMapFiles files(home);
  Result<std::optional<KeyMap>> map = files.Load(files.key_map_path());
  if (map && map.value()) ApplyViewerShortcuts(*map.value(), window, form);
}

}  // namespace

TFormSelectWindow::TFormSelectWindow(QWidget* parent, QSize minimum, const AppHome& home,
                                     WindowList& windows, Messages& messages, WindowId own,
                                     ShortcutWindow window)
    : TViewerForm(parent, minimum), chooser_(windows, messages, own) {
  const CommandId run_id = window == ShortcutWindow::SelectFiler ? CommandId::MenuFilerSetFocus
                                                                 : CommandId::MenuEditorSetFocus;
  QMenu* menu = AddMenu("ファイル(&F)");
  connect(AddCommand(menu, static_cast<int>(run_id), "実行(&O)"), &QAction::triggered, this,
          [this] { ButtonRunClick(); });
  connect(AddCommand(menu, static_cast<int>(CommandId::MenuClose), "終了(&X)"), &QAction::triggered,
          this, &QDialog::reject);
  ApplyKeyMap(*this, window, home);
  list_ = new QListWidget(this);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list_->installEventFilter(new ListKeys(this, [this] { ButtonRunClick(); }));
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { ButtonRunClick(); });
  buttons_ = new QHBoxLayout;
  run_ = AddButton("実行(&O)");
  get_list_ = AddButton("再取得(&G)");
  connect(run_, &QPushButton::clicked, this, [this] { ButtonRunClick(); });
  connect(get_list_, &QPushButton::clicked, this, [this] { ButtonGetListClick(); });
}

QPushButton* TFormSelectWindow::AddButton(const char* caption) {
  auto* b = new QPushButton(Q(caption), this);
  b->setAutoDefault(false);
  buttons_->addWidget(b);
  return b;
}

void TFormSelectWindow::FinishButtons() {
  connect(AddButton("ｷｬﾝｾﾙ(&C)"), &QPushButton::clicked, this, &QDialog::reject);
  buttons_->addStretch();
}

void TFormSelectWindow::showEvent(QShowEvent* e) {
  TViewerForm::showEvent(e);
  if (listed_) return;
  listed_ = true;
  ButtonGetListClick();
  list_->setFocus();
}

void TFormSelectWindow::ButtonGetListClick() {
  list_->clear();
  if (!chooser_.Refresh(Lines())) return;
  // A title wider than the list scrolls it sideways.
  for (const ChooserEntry& entry : chooser_.Entries()) list_->addItem(Q(entry.title));
  if (list_->count() > 0) list_->setCurrentRow(0);
}

void TFormSelectWindow::ButtonRunClick() {
  if (list_->count() == 0) return;
  if (chooser_.Run(list_->currentRow())) accept();
}

// ---- file managers ----

TFormSelectFiler::TFormSelectFiler(QWidget* parent, const AppHome& home, WindowList& windows,
                                   Messages& messages, WindowId own)
    : TFormSelectWindow(parent, QSize(640, 350), home, windows, messages, own,
                        ShortcutWindow::SelectFiler),
      home_(home),
      messages_(messages) {
  setObjectName("FormSelectFiler");
  setWindowTitle(Q("ファイラー選択"));
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(Q("有効"), this), 0, 0);
  grid->addWidget(new QLabel(Q("プログラム名"), this), 0, 1);
  for (size_t k = 0; k < checks_.size(); ++k) {
    checks_[k] = new QCheckBox(this);
    edits_[k] = new QLineEdit(this);
    grid->addWidget(checks_[k], static_cast<int>(k) + 1, 0);
    grid->addWidget(edits_[k], static_cast<int>(k) + 1, 1);
  }
  connect(AddButton("保存(&S)"), &QPushButton::clicked, this, [this] { ButtonSaveClick(); });
  connect(AddButton("初期化(&I)"), &QPushButton::clicked, this, [this] { ButtonInitClick(); });
  FinishButtons();
  auto* box = new QVBoxLayout(Body());
  box->addWidget(&ListBox1(), 1);
  box->addLayout(grid);
  box->addLayout(Buttons());
  ShowLines(ReadTitleLines(home_));
}

TitleLines TFormSelectFiler::Lines() const {
  TitleLines lines;
  for (size_t k = 0; k < lines.size(); ++k)
    lines[k] = TitleLine{checks_[k]->isChecked(), FromQ(edits_[k]->text())};
  return lines;
}

void TFormSelectFiler::ShowLines(const TitleLines& lines) {
  for (size_t k = 0; k < lines.size(); ++k) {
    checks_[k]->setChecked(lines[k].enabled);
    edits_[k]->setText(Q(lines[k].pattern));
  }
}

void TFormSelectFiler::ButtonSaveClick() {
  if (Status s = WriteTitleLines(home_, Lines()); !s) {
    messages_.ShowMessage(s.error().message);
    return;
  }
  accept();
}

void TFormSelectFiler::ButtonInitClick() {
  ShowLines(DefaultTitleLines());
}

// ---- other editors ----

TFormSelectEditor::TFormSelectEditor(QWidget* parent, const AppHome& home, WindowList& windows,
                                     Messages& messages, WindowId own)
    : TFormSelectWindow(parent, QSize(640, 190), home, windows, messages, own,
                        ShortcutWindow::SelectEditor) {
  setObjectName("FormSelectEditor");
  setWindowTitle(Q("エディター選択"));
  FinishButtons();
  auto* box = new QVBoxLayout(Body());
  box->addWidget(&ListBox1(), 1);
  box->addLayout(Buttons());
}

}  // namespace tessary
