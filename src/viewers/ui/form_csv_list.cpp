// The CSV list window: its controls and menus onto CsvListModel, and the table model of rows.
#include "viewers/ui/form_csv_list.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "codec/sjis_text.h"
#include "commands/key_map.h"
#include "commands/ui/form_jump.h"
#include "commands/ui/viewer_shortcuts.h"
#include "editor/ui/editor.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {
namespace {

constexpr QSize kMinimumSize(780, 480);
constexpr Rect kFallback{0, 0, 780, 480};
constexpr int kPanelWidths[] = {100, 50, 50, 50, 50, 50, 50};
// Room around a cell's text: the view's padding on both sides.
constexpr int kCellMargin = 12;

QPushButton* MakeButton(const char* caption) {
  auto* b = new QPushButton(Q(caption));
  b->setAutoDefault(false);  // Enter in the boxes is discarded, never a button press
  return b;
}

QLabel* Buddy(const char* caption, QWidget* box) {
  auto* label = new QLabel(Q(caption));
  label->setBuddy(box);
  return label;
}

bool IsEnter(const QKeyEvent& key) {
  return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

bool IsMoveKey(const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
      return true;
    default:
      return false;
  }
}

}  // namespace

// ---- the rows ----

CsvRowsModel::CsvRowsModel(const CsvListModel& rows, QObject* parent)
    : QAbstractTableModel(parent), rows_(rows) {}

void CsvRowsModel::Reset() {
  beginResetModel();
  cache_.clear();
  cached_.clear();
  endResetModel();
}

void CsvRowsModel::HeadingsChanged() {
  emit headerDataChanged(Qt::Horizontal, 1, kCsvFieldColumns);
}

int CsvRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_.RowCount();
}

int CsvRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kCsvFieldColumns + 1;
}

const std::vector<QString>& CsvRowsModel::Cells(int row) const {
  if (const auto it = cached_.find(row); it != cached_.end()) {
    cache_.splice(cache_.begin(), cache_, it->second);
    return it->second->second;
  }
  if (cache_.size() >= kCachedRows) {
    cached_.erase(cache_.back().first);
    cache_.pop_back();
  }
  rows_.RowFields(row, scratch_, fields_);
  std::vector<QString> cells;
  cells.reserve(fields_.size());
  for (std::string_view f : fields_) cells.push_back(Q(SjisToUtf8(f)));
  cache_.emplace_front(row, std::move(cells));
  cached_[row] = cache_.begin();
  return cache_.front().second;
}

QVariant CsvRowsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  if (index.column() == 0) return Q(rows_.RowCaption(index.row()));
  const std::vector<QString>& cells = Cells(index.row());
  const size_t k = static_cast<size_t>(index.column() - 1);
  return k < cells.size() ? cells[k] : QString();
}

QVariant CsvRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section == 0) return QStringLiteral("No");
  return Q(rows_.Headings()[static_cast<size_t>(section - 1)]);
}

// ---- the window ----

TFormCsvList::TFormCsvList(QWidget* parent, const CsvListArgs& args)
    : TViewerForm(parent, kMinimumSize, {args.ini, "FormCsvList", kMinimumSize, kFallback}),
      model_({args.home, args.messages, args.lines, args.caret_line}) {
  setObjectName("FormCsvList");
  setWindowTitle(Q(csv_text::kCaption));
  run_jump = [this, home = args.home] {
    TFormJump jump(this, home);
    return jump.exec() == QDialog::Accepted;
  };
  BuildControls();
  BuildMenus();
  ApplyStoredViewerShortcuts(args.home, ShortcutWindow::CsvList, *this);
  FillHistory();
  ComboBox3->setCurrentText(QString());
  ApplyLook();
  Label4->setText(Q(model_.Label()));
}

void TFormCsvList::BuildControls() {
  ComboBox1 = new QComboBox;
  for (int i = 0; i < kCsvPageSizeCount; ++i) ComboBox1->addItem(QString::number(CsvPageSizeAt(i)));
  ComboBox2 = new QComboBox;
  for (int i = 0; i < kCsvColWidthCount; ++i) ComboBox2->addItem(QString::number(CsvColWidthAt(i)));
  ComboBox3 = new QComboBox;
  ComboBox3->setEditable(true);
  ComboBox3->setInsertPolicy(QComboBox::NoInsert);
  ComboBox3->setMinimumContentsLength(16);
  Label4 = new QLabel;
  Label4->setMinimumWidth(160);
  ButtonPrev = MakeButton("前ﾍﾟｰｼﾞ(&R)");
  ButtonNext = MakeButton("次ﾍﾟｰｼﾞ(&E)");
  ButtonSearchPrev = MakeButton("前を検索(&P)");
  ButtonSearchNext = MakeButton("次を検索(&N)");
  ButtonFitColumnWidth = MakeButton("幅調整(&A)");
  ButtonCancel = MakeButton("閉じる(&C)");

  ListView1 = new QTableView;
  rows_ = new CsvRowsModel(model_, this);
  ListView1->setModel(rows_);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->setShowGrid(false);
  ListView1->setWordWrap(false);
  ListView1->verticalHeader()->hide();
  ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  ListView1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  ListView1->horizontalHeader()->setHighlightSections(false);
  QPalette p = ListView1->palette();  // the selection stays visible without the focus
  p.setColor(QPalette::Inactive, QPalette::Highlight,
             p.color(QPalette::Active, QPalette::Highlight));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             p.color(QPalette::Active, QPalette::HighlightedText));
  ListView1->setPalette(p);

  StatusBar1 = new QStatusBar;
  StatusBar1->setSizeGripEnabled(false);
  for (int width : kPanelWidths) {
    auto* panel = new QLabel;
    panel->setFixedWidth(width);
    StatusBar1->addWidget(panel);
    Panels.push_back(panel);
  }

  auto* top = new QHBoxLayout;
  top->addWidget(Buddy("表示行数(&L):", ComboBox1));
  top->addWidget(ComboBox1);
  top->addWidget(Buddy("幅(&W):", ComboBox2));
  top->addWidget(ComboBox2);
  top->addWidget(ButtonPrev);
  top->addWidget(ButtonNext);
  top->addWidget(ButtonFitColumnWidth);
  top->addStretch();
  top->addWidget(ButtonCancel);
  auto* search = new QHBoxLayout;
  search->addWidget(Buddy("検索文字列(&D):", ComboBox3));
  search->addWidget(ComboBox3, 1);
  search->addWidget(ButtonSearchPrev);
  search->addWidget(ButtonSearchNext);
  search->addWidget(Label4);
  auto* box = new QVBoxLayout(Body());
  box->setContentsMargins(4, 4, 4, 0);
  box->addLayout(top);
  box->addLayout(search);
  box->addWidget(ListView1, 1);
  box->addWidget(StatusBar1);

  for (QWidget* w : std::initializer_list<QWidget*>{
           ListView1, ComboBox1, ComboBox2, ComboBox3, ButtonPrev, ButtonNext, ButtonSearchPrev,
           ButtonSearchNext, ButtonFitColumnWidth, ButtonCancel})
    w->installEventFilter(this);
  ComboBox3->lineEdit()->installEventFilter(this);
  Label4->installEventFilter(this);

  connect(ButtonPrev, &QPushButton::clicked, this,
          [this] { Run([](CsvListModel& m, int v) { m.MenuCsvListPrevClick(v); }); });
  connect(ButtonNext, &QPushButton::clicked, this,
          [this] { Run([](CsvListModel& m, int v) { m.MenuCsvListNextClick(v); }); });
  connect(ButtonSearchPrev, &QPushButton::clicked, this,
          [this] { MenuCsvListSearchClick(SearchDirection::Previous); });
  connect(ButtonSearchNext, &QPushButton::clicked, this,
          [this] { MenuCsvListSearchClick(SearchDirection::Next); });
  connect(ButtonFitColumnWidth, &QPushButton::clicked, this,
          [this] { MenuCsvListFitColumnWidthClick(); });
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(ComboBox1, &QComboBox::activated, this,
          [this](int i) { Run([i](CsvListModel& m, int) { m.ComboBox1Change(i); }); });
  connect(ComboBox2, &QComboBox::activated, this, [this](int i) {
    model_.ComboBox2Change(i);
    SetFieldWidths(CsvColWidthAt(model_.ColWidthIndex()));
  });
  connect(ListView1, &QTableView::clicked, this, [this](const QModelIndex& index) {
    model_.Select(index.row(), CsvSelectionBy::User);
    ShowPanels();
  });
  // The user moves the current row by keys or clicks; the window's own moves come from Sync.
  connect(ListView1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (!syncing_) model_.Select(current.row(), CsvSelectionBy::User);
          });
}

void TFormCsvList::BuildMenus() {
  const auto on = [this](QMenu* menu, int id, const char* caption, auto handler) {
    connect(AddCommand(menu, id, caption), &QAction::triggered, this, handler);
  };
  const auto paging = [this](void (CsvListModel::*page)(int)) {
    return [this, page] { Run([page](CsvListModel& m, int v) { (m.*page)(v); }); };
  };
  QMenu* file = AddMenu("ファイル(&F)");
  on(file, 1711, "全て表示(&A)", [this] { MenuCsvListLoadAllClick(); });
  on(file, 1712, "カラム幅の自動調整(&C)", [this] { MenuCsvListFitColumnWidthClick(); });
  on(file, 1713, "現在行をヘッダーに設定(&H)", [this] { MenuAddHeaderClick(); });
  on(file, 1021, "終了(&X)", [this] { reject(); });
  QMenu* search = AddMenu("検索(&S)");
  on(search, 1202, "次を検索(&N)", [this] { MenuCsvListSearchClick(SearchDirection::Next); });
  on(search, 1203, "前を検索(&P)", [this] { MenuCsvListSearchClick(SearchDirection::Previous); });
  CommandAction(1202)->setShortcut(QKeySequence(Qt::Key_F3));
  CommandAction(1203)->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
  QMenu* move = AddMenu("移動(&M)");
  on(move, 1101, "行へ移動(&G)...", [this] { MenuCsvListJumpClick(); });
  CommandAction(1101)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  on(move, 1714, "開始時へ移動(S)...",
     [this] { Run([](CsvListModel& m, int) { m.MenuMoveStartPositionClick(); }); });
  move->addSeparator();
  on(move, 1715, "先頭(&T)",
     [this] { Run([](CsvListModel& m, int) { m.MenuCsvListTopClick(); }); });
  on(move, 1716, "前ページ(&P)", paging(&CsvListModel::MenuCsvListPrevClick));
  on(move, 1717, "次ページ(&N)", paging(&CsvListModel::MenuCsvListNextClick));
  on(move, 1718, "最後(&E)",
     [this] { Run([](CsvListModel& m, int) { m.MenuCsvListEndClick(); }); });
  QMenu* view = AddMenu("表示(&V)");
  on(view, 1719, "文字色(&F)...", [this] { ChooseFont(); });
  on(view, 1720, "背景色(&B)...", [this] { ChooseBackColor(); });
}

void TFormCsvList::FillHistory() {
  const QString text = ComboBox3->currentText();
  ComboBox3->clear();
  for (const std::string& word : model_.History()) ComboBox3->addItem(Q(word));
  ComboBox3->setCurrentText(text);
}

int TFormCsvList::NumberColumnWidth() const {
  // The width the font size gives, wider when the last caption would not fit in it.
  const QString widest = Q(CsvRowCaption(std::max(model_.FirstLine() + model_.RowCount(), 1) - 1));
  const int fit = ListView1->fontMetrics().horizontalAdvance(widest) + kCellMargin;
  return std::max(CsvNumberColumnWidth(model_.Look().font_size), fit);
}

void TFormCsvList::ApplyLook() {
  const CsvListLook& look = model_.Look();
  // A stored name that is not installed gives way to an installed fixed-pitch Japanese font.
  const QString family = Q(look.font_name);
  QFont font = QFontDatabase::hasFamily(family) ? QFont(family) : TEditor::DefaultFont();
  font.setPointSize(look.font_size > 0 ? look.font_size : 14);
  ListView1->setFont(font);
  QPalette p = ListView1->palette();
  p.setColor(QPalette::Text, ToQColor(look.font_color));
  p.setColor(QPalette::Base, ToQColor(look.back_color));
  ListView1->setPalette(p);
  ListView1->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
  ListView1->setColumnWidth(0, NumberColumnWidth());
}

void TFormCsvList::SetFieldWidths(int width) {
  for (int k = 1; k <= kCsvFieldColumns; ++k) ListView1->setColumnWidth(k, width);
}

void TFormCsvList::showEvent(QShowEvent* event) {
  TViewerForm::showEvent(event);
  if (started_) return;
  started_ = true;
  model_.Start();
  ComboBox1->setCurrentIndex(model_.PageSizeIndex());
  ComboBox2->setCurrentIndex(model_.ColWidthIndex());
  SetFieldWidths(CsvColWidthAt(model_.ColWidthIndex()));
  Sync();
}

int TFormCsvList::VisibleRows() const {
  const int row = std::max(ListView1->verticalHeader()->defaultSectionSize(), 1);
  return std::max(ListView1->viewport()->height() / row, 1);
}

void TFormCsvList::Run(const std::function<void(CsvListModel&, int)>& command) {
  command(model_, VisibleRows());
  Sync();
}

// The table follows the model: its rows when they were filled anew, the selected row placed
// as the command asked, the label and the panels.
void TFormCsvList::Sync() {
  syncing_ = true;
  if (model_.Generation() != shown_generation_) {
    shown_generation_ = model_.Generation();
    rows_->Reset();
    ListView1->setColumnWidth(0, NumberColumnWidth());
  }
  if (model_.Selected() >= 0) {
    const QModelIndex index = rows_->index(model_.Selected(), 0);
    ListView1->setCurrentIndex(index);
    ListView1->scrollTo(index, model_.Scroll() == CsvScroll::Centre
                                   ? QAbstractItemView::PositionAtCenter
                                   : QAbstractItemView::PositionAtTop);
    ListView1->horizontalScrollBar()->setValue(0);
  }
  syncing_ = false;
  Label4->setText(Q(model_.Label()));
  ShowPanels();
  ListView1->setFocus();
}

void TFormCsvList::ShowPanels() {
  Panels[1]->setText(Q(model_.FirstCaption()));
  Panels[2]->setText(Q(model_.LastCaption()));
}

void TFormCsvList::MenuCsvListLoadAllClick() {
  if (!model_.MenuCsvListLoadAllClick()) return;
  ComboBox1->setEnabled(false);
  Sync();
}

void TFormCsvList::MenuCsvListFitColumnWidthClick() {
  const std::vector<std::vector<std::string>> widest = model_.WidestCells(4);
  const QFontMetrics cells = ListView1->fontMetrics();
  const QFontMetrics captions = ListView1->horizontalHeader()->fontMetrics();
  for (int k = 1; k <= kCsvFieldColumns; ++k) {
    int width = captions.horizontalAdvance(Q(model_.Headings()[static_cast<size_t>(k - 1)]));
    for (const std::string& text : widest[static_cast<size_t>(k - 1)])
      width = std::max(width, cells.horizontalAdvance(Q(text)));
    ListView1->setColumnWidth(k, width + kCellMargin);
  }
  ListView1->setFocus();
  Panels[1]->setText(QStringLiteral("96"));
  Panels[2]->setText(QStringLiteral("96"));
}

void TFormCsvList::MenuAddHeaderClick() {
  if (!model_.MenuAddHeaderClick()) return;
  rows_->HeadingsChanged();
  ListView1->setFocus();
  Panels[1]->setText(QStringLiteral("96"));
  Panels[2]->setText(QStringLiteral("96"));
}

void TFormCsvList::MenuCsvListSearchClick(SearchDirection direction) {
  const std::string word = FromQ(ComboBox3->currentText());
  const bool found = model_.Search(word, direction);
  if (!word.empty()) {
    FillHistory();
    ComboBox3->setCurrentText(Q(word));
  }
  if (found) return Sync();
  Label4->setText(Q(model_.Label()));
}

void TFormCsvList::MenuCsvListJumpClick() {
  if (!run_jump || !run_jump()) return;
  Run([](CsvListModel& m, int) { m.JumpConfirmed(); });
}

void TFormCsvList::ChooseFont() {
  const std::optional<CsvListLook> chosen = choose_font ? choose_font(model_.Look()) : std::nullopt;
  if (!chosen) return;
  CsvListLook look = model_.Look();
  look.font_name = chosen->font_name;
  look.font_size = chosen->font_size;
  look.font_color = chosen->font_color;
  model_.SetLook(look);
  ApplyLook();
}

void TFormCsvList::ChooseBackColor() {
  const std::optional<TColor> chosen =
      choose_color ? choose_color(model_.Look().back_color) : std::nullopt;
  if (!chosen) return;
  CsvListLook look = model_.Look();
  look.back_color = *chosen;
  model_.SetLook(look);
  ApplyLook();
}

bool TFormCsvList::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress && watched == Label4) {
    ListView1->setFocus();
    return true;
  }
  if (event->type() != QEvent::KeyPress) return TViewerForm::eventFilter(watched, event);
  const auto& key = static_cast<const QKeyEvent&>(*event);
  const bool box = watched == ComboBox1 || watched == ComboBox2 || watched == ComboBox3 ||
                   watched == ComboBox3->lineEdit();
  if (box && IsEnter(key)) return true;
  // Moving through the table by keys forgets the field of the last hit, as a click does.
  if (IsMoveKey(key)) model_.Select(model_.Selected(), CsvSelectionBy::User);
  return TViewerForm::eventFilter(watched, event);
}

void TFormCsvList::done(int result) {
  if (started_) model_.Close();
  TViewerForm::done(result);
}

}  // namespace tessary
