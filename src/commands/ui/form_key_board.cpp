// The keyboard settings window over its model.
#include "commands/ui/form_key_board.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "commands/key_map_view.h"
#include "commands/ui/form_key_map.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {
namespace {

QComboBox* MakeBox(QWidget* parent, const std::vector<std::string>& entries) {
  auto* box = new QComboBox(parent);
  for (const std::string& e : entries) box->addItem(Q(e));
  box->setMaxVisibleItems(20);
  return box;
}

QPushButton* MakeButton(QWidget* parent, const char* caption) {
  auto* b = new QPushButton(Q(caption), parent);
  b->setAutoDefault(false);
  return b;
}

constexpr int kMargin = 20;
constexpr int kListTop = 44;
constexpr int kRowHeight = 28;

}  // namespace

TFormKeyBoard::TFormKeyBoard(QWidget* parent, const KeyMap& default_table, KeyMapFiles& files,
                             Messages& messages, PrivateProfile& ini,
                             KeyMapWindowOpener open_key_map)
    : TViewerForm(parent, QSize(900, 480)),
      model_(default_table, files, messages),
      ini_(ini),
      open_key_map_(std::move(open_key_map)) {
  setObjectName("FormKeyBoard");
  setWindowTitle(Q(kKeyBoardCaption));

  Label1 = new QLabel(Q("カテゴリ(&L)"), Body());
  ComboBox1 = new QComboBox(Body());
  Label1->setBuddy(ComboBox1);
  ListView1 = new QTreeWidget(Body());
  SetUpKeyList(ListView1, {Q("コマンド"), Q("現在のキー"), Q("機能"), ""});
  ListView1->setColumnWidth(0, 445);
  ListView1->setColumnWidth(1, 295);
  ListView1->setColumnWidth(2, 60);
  ListView1->setColumnWidth(3, 10);
  ComboBox2 = MakeBox(Body(), ModifierBoxEntries("Shift"));
  ComboBox3 = MakeBox(Body(), ModifierBoxEntries("Ctrl"));
  ComboBox4 = MakeBox(Body(), ModifierBoxEntries("Alt"));
  Label2 = new QLabel(Q("新キー(&N)"), Body());
  ComboBox5 = MakeBox(Body(), KeyBoxEntries());
  Label2->setBuddy(ComboBox5);
  Button1 = MakeButton(Body(), "ｸﾘｱ(&R)");
  ButtonInit = MakeButton(Body(), "初期化(&I)");
  ButtonOK = MakeButton(Body(), "OK(&O)");
  ButtonCancel = MakeButton(Body(), "ｷｬﾝｾﾙ(&C)");
  ButtonDiffToFile = MakeButton(Body(), "変更分を保存(&S)");
  ButtonButtonLoadFromFile = MakeButton(Body(), "変更分を反映(&A)");
  ButtonShowAll = MakeButton(Body(), "全てを表示(&P)");
  ButtonShowDiff = MakeButton(Body(), "変更分を表示(&D)");

  connect(ComboBox1, &QComboBox::activated, this, [this](int index) {
    if (index >= 0) model_.ChooseCategory(static_cast<size_t>(index));
    ListCommands();
  });
  connect(ListView1, &QTreeWidget::itemClicked, this, [this] { ListClicked(); });
  connect(ListView1, &QTreeWidget::currentItemChanged, this, [this] {
    if (!filling_) ListClicked();
  });
  connect(ComboBox2, &QComboBox::activated, this,
          [this](int i) { AfterBoxChange(&KeyBoardModel::ChangeShift, i); });
  connect(ComboBox3, &QComboBox::activated, this,
          [this](int i) { AfterBoxChange(&KeyBoardModel::ChangeCtrl, i); });
  connect(ComboBox4, &QComboBox::activated, this,
          [this](int i) { AfterBoxChange(&KeyBoardModel::ChangeAlt, i); });
  connect(ComboBox5, &QComboBox::activated, this,
          [this](int i) { AfterBoxChange(&KeyBoardModel::ChangeKey, i); });
  connect(Button1, &QPushButton::clicked, this, [this] {
    model_.Clear();
    ShowBoxes();
    ShowSelectedShortcut();
  });
  connect(ButtonInit, &QPushButton::clicked, this, &TFormKeyBoard::ButtonInitClick);
  connect(ButtonOK, &QPushButton::clicked, this, &TFormKeyBoard::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &TFormKeyBoard::reject);
  connect(ButtonDiffToFile, &QPushButton::clicked, this, [this] { model_.SaveDiff(); });
  connect(ButtonButtonLoadFromFile, &QPushButton::clicked, this, [this] {
    model_.LoadDiff();
    ListCommands();
  });
  connect(ButtonShowAll, &QPushButton::clicked, this, [this] { ShowKeyMap(true); });
  connect(ButtonShowDiff, &QPushButton::clicked, this, [this] { ShowKeyMap(false); });

  model_.Show();
  FillCategories();
  ListCommands();
  resize(minimumSize());
}

void TFormKeyBoard::FillCategories() {
  filling_ = true;
  ComboBox1->clear();
  for (const std::string& c : model_.categories()) ComboBox1->addItem(Q(c));
  ComboBox1->setCurrentIndex(model_.category() ? static_cast<int>(*model_.category()) : -1);
  filling_ = false;
}

void TFormKeyBoard::ListCommands() {
  filling_ = true;
  ListView1->clear();
  QList<QTreeWidgetItem*> items;
  for (const KeyBoardModel::Item& item : model_.items())
    items << new QTreeWidgetItem(QStringList{Q(item.caption), Q(item.shortcut), Q(item.id), ""});
  ListView1->addTopLevelItems(items);
  if (const std::optional<size_t> s = model_.selected()) {
    QTreeWidgetItem* item = ListView1->topLevelItem(static_cast<int>(*s));
    ListView1->setCurrentItem(item);
    ListView1->scrollToItem(item);
  }
  filling_ = false;
  ShowBoxes();
}

void TFormKeyBoard::ShowBoxes() {
  const KeyBoardModel::Boxes& b = model_.boxes();
  ComboBox2->setCurrentIndex(b.shift);
  ComboBox3->setCurrentIndex(b.ctrl);
  ComboBox4->setCurrentIndex(b.alt);
  ComboBox5->setCurrentIndex(b.key);
}

void TFormKeyBoard::ShowSelectedShortcut() {
  const std::optional<size_t> s = model_.selected();
  if (!s) return;
  QTreeWidgetItem* item = ListView1->topLevelItem(static_cast<int>(*s));
  if (!item) return;
  item->setText(1, Q(model_.items()[*s].shortcut));
  // A change with nothing selected works on the first command, which becomes the selection.
  if (ListView1->currentItem() != item) {
    filling_ = true;
    ListView1->setCurrentItem(item);
    filling_ = false;
  }
}

void TFormKeyBoard::ListClicked() {
  const int row =
      ListView1->currentItem() ? ListView1->indexOfTopLevelItem(ListView1->currentItem()) : -1;
  model_.SelectItem(row >= 0 ? std::optional<size_t>(static_cast<size_t>(row)) : std::nullopt);
  ShowBoxes();
  ShowSelectedShortcut();
}

void TFormKeyBoard::AfterBoxChange(void (KeyBoardModel::*change)(int), int index) {
  (model_.*change)(index);
  ShowBoxes();
  ShowSelectedShortcut();
}

void TFormKeyBoard::ButtonOKClick() {
  const std::optional<KeyBoardResult> r = model_.Ok();
  if (!r) return;  // the file could not be written: the window stays with the user's changes
  result_ = *r;
  done(result_ == KeyBoardResult::Ok ? Accepted : Rejected);
}

void TFormKeyBoard::reject() {
  result_ = model_.Cancel();
  done(result_ == KeyBoardResult::Ok ? Accepted : Rejected);
}

void TFormKeyBoard::ButtonInitClick() {
  model_.Init();
  FillCategories();
  ListCommands();
  ComboBox1->setFocus();
}

void TFormKeyBoard::ShowKeyMap(bool all) {
  (void)WriteShowKeyMapItem(ini_, all);
  if (open_key_map_) open_key_map_(this);
}

void TFormKeyBoard::showEvent(QShowEvent* event) {
  TViewerForm::showEvent(event);
  if (shown_once_) return;
  shown_once_ = true;
  ComboBox1->setFocus();
}

void TFormKeyBoard::resizeEvent(QResizeEvent* event) {
  TViewerForm::resizeEvent(event);
  SizeList();
}

void TFormKeyBoard::SizeList() {
  // The list fills the client area less 45 pixels across and 145 down; the boxes and buttons
  // stand in two rows below it.
  const int w = width();
  const int h = height();
  Label1->setGeometry(kMargin, 12, 90, 24);
  ComboBox1->setGeometry(kMargin + 95, 12, 220, 24);
  ListView1->setGeometry(kMargin, kListTop, w - 45, h - 145);
  const int row1 = kListTop + (h - 145) + 12;
  const int row2 = row1 + kRowHeight + 12;
  ComboBox2->setGeometry(kMargin, row1, 80, kRowHeight);
  ComboBox3->setGeometry(kMargin + 90, row1, 80, kRowHeight);
  ComboBox4->setGeometry(kMargin + 180, row1, 80, kRowHeight);
  Label2->setGeometry(kMargin + 280, row1, 80, kRowHeight);
  ComboBox5->setGeometry(kMargin + 360, row1, 110, kRowHeight);
  Button1->setGeometry(kMargin + 490, row1, 100, kRowHeight);
  ButtonInit->setGeometry(w - 25 - 120, row1, 120, kRowHeight);
  ButtonDiffToFile->setGeometry(kMargin, row2, 140, kRowHeight);
  ButtonButtonLoadFromFile->setGeometry(kMargin + 150, row2, 140, kRowHeight);
  ButtonShowAll->setGeometry(kMargin + 300, row2, 130, kRowHeight);
  ButtonShowDiff->setGeometry(kMargin + 440, row2, 130, kRowHeight);
  ButtonOK->setGeometry(w - 25 - 210, row2, 100, kRowHeight);
  ButtonCancel->setGeometry(w - 25 - 100, row2, 100, kRowHeight);
}

bool ShowKeyBoard(QWidget* main_window, const KeyMap& default_table, KeyMapFiles& files,
                  Messages& messages, PrivateProfile& ini,
                  TFormKeyBoard::KeyMapWindowOpener open_key_map) {
  TFormKeyBoard form(main_window, default_table, files, messages, ini, std::move(open_key_map));
  form.exec();
  if (main_window) main_window->activateWindow();
  return form.Result() == KeyBoardResult::Ok;
}

}  // namespace tessary
