// The shared frame of the own Open and Save As windows.
#include "codec/ui/chooser_form.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/qt_conversions.h"

namespace tessary {
namespace {

bool IsEnter(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

std::optional<std::string> RunFileDialog(QWidget* parent, BrowseKind kind,
                                         const ChooserStart& start, const QStringList& filters) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(kind == BrowseKind::Open ? QFileDialog::AcceptOpen
                                                : QFileDialog::AcceptSave);
  dialog.setFileMode(kind == BrowseKind::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!start.folder.empty()) dialog.setDirectory(Q(start.folder));
  if (!start.name.empty()) dialog.selectFile(Q(start.name));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

}  // namespace

QStringList ChooserNameFilters(std::string_view filter) {
  QStringList filters;
  for (const FileFilterEntry& e : ParseFileFilter(filter)) {
    QStringList patterns;
    for (const std::string& p : e.patterns) patterns << Q(p);
    filters << Q(e.label) + " (" + patterns.join(' ') + ")";
  }
  return filters;
}

std::optional<std::string> PlainFileDialog(QWidget* parent, BrowseKind kind,
                                           const ChooserStart& start) {
  return RunFileDialog(parent, kind, start, ChooserNameFilters());
}

std::optional<std::string> PlainOpenDialogAnyFile(QWidget* parent, const ChooserStart& start) {
  return RunFileDialog(parent, BrowseKind::Open, start, {});
}

TChooserForm::TChooserForm(QWidget* parent, const char* caption, const char* ok_caption,
                           BrowseKind kind, BrowseFunction browse)
    : TViewerForm(parent, QSize(650, 240)),
      kind_(kind),
      browse_(browse ? std::move(browse) : PlainFileDialog) {
  setWindowTitle(Q(caption));
  setWindowFlag(Qt::Tool);

  Label1 = new QLabel(Q("ファイル名(&F)"), this);
  Edit1 = new QLineEdit(this);
  Label1->setBuddy(Edit1);
  ButtonBrowse = new QPushButton(Q("参照(&B)"), this);
  Label2 = new QLabel(Q("文字(&E)"), this);
  ComboBox1 = new QComboBox(this);
  Label2->setBuddy(ComboBox1);
  ButtonOK = new QPushButton(Q(ok_caption), this);
  ButtonCancel = new QPushButton(Q("ｷｬﾝｾﾙ(&C)"), this);

  // The name field spans the window less 20 pixels each side.
  auto* outer = new QVBoxLayout(Body());
  outer->setContentsMargins(20, 12, 20, 12);
  auto* head = new QHBoxLayout;
  head->addWidget(Label1);
  head->addStretch();
  head->addWidget(ButtonBrowse);
  outer->addLayout(head);
  outer->addWidget(Edit1);
  grid_ = new QGridLayout;
  grid_->addWidget(Label2, 0, 0);
  grid_->addWidget(ComboBox1, 0, 1);
  grid_->setColumnStretch(2, 1);
  outer->addLayout(grid_);
  outer->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ButtonOK);
  buttons->addWidget(ButtonCancel);
  outer->addLayout(buttons);

  for (QPushButton* b : {ButtonBrowse, ButtonOK, ButtonCancel}) b->setAutoDefault(false);
  for (QWidget* w : {static_cast<QWidget*>(ButtonBrowse), static_cast<QWidget*>(ButtonOK),
                     static_cast<QWidget*>(ButtonCancel)})
    w->installEventFilter(this);
  SwallowEnterAndEsc(Edit1);
  SwallowEnterAndEsc(ComboBox1);

  connect(ButtonBrowse, &QPushButton::clicked, this, &TChooserForm::ButtonBrowseClick);
  connect(ButtonOK, &QPushButton::clicked, this, &TChooserForm::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  Timer1.setSingleShot(true);
  Timer1.setInterval(kBrowseDelayMs);
  connect(&Timer1, &QTimer::timeout, this, &TChooserForm::Timer1Timer);
}

QComboBox* TChooserForm::AddList(const char* caption, QLabel** label) {
  const int row = grid_->rowCount();
  *label = new QLabel(Q(caption), this);
  auto* box = new QComboBox(this);
  (*label)->setBuddy(box);
  grid_->addWidget(*label, row, 0);
  grid_->addWidget(box, row, 1);
  SwallowEnterAndEsc(box);
  return box;
}

void TChooserForm::FillList(QComboBox* box, const std::vector<std::string>& items, int index) {
  for (const std::string& item : items) box->addItem(Q(item));
  box->setCurrentIndex(index);
}

void TChooserForm::SwallowEnterAndEsc(QWidget* w) {
  w->installEventFilter(this);
}

bool TChooserForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return TViewerForm::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  // The window sees keys before its controls.
  if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
    ButtonCancel->click();
    return true;
  }
  const bool field = watched == Edit1 || qobject_cast<QComboBox*>(watched) != nullptr;
  if (field && (IsEnter(key->key()) || key->key() == Qt::Key_Escape)) return true;
  return TViewerForm::eventFilter(watched, event);
}

void TChooserForm::showEvent(QShowEvent* event) {
  TViewerForm::showEvent(event);
  if (shown_once_) return;
  shown_once_ = true;
  Timer1.start();
}

void TChooserForm::Timer1Timer() {
  Timer1.stop();
  ButtonBrowse->click();
}

void TChooserForm::ButtonBrowseClick() {
  std::optional<std::string> path = browse_(this, kind_, BrowseStart());
  if (!path) return reject();
  Edit1->setText(QString::fromStdString(*path));
  ComboBox1->setFocus();
}

void TChooserForm::ButtonOKClick() {
  // The user has answered: Browse must not open by itself over a refusal's message.
  Timer1.stop();
  if (TakeChoice()) accept();
}

void TChooserForm::done(int result) {
  Timer1.stop();
  TViewerForm::done(result);
  if (parentWidget()) parentWidget()->window()->activateWindow();
}

}  // namespace tessary
