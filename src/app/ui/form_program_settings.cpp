// The favourites and launcher settings windows: a three-row list over edits and OK / Cancel.
#include "app/ui/form_program_settings.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "codec/file_choosers.h"
#include "codec/ui/chooser_form.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {
namespace {

struct Column {
  const char* title;
  int width;
};

QTreeWidget* NewList(QWidget* parent, const std::array<Column, 4>& columns) {
  auto* list = new QTreeWidget(parent);
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setColumnCount(static_cast<int>(columns.size()));
  QStringList titles;
  for (const Column& c : columns) titles << Q(c.title);
  list->setHeaderLabels(titles);
  for (size_t i = 0; i < columns.size(); ++i)
    list->setColumnWidth(static_cast<int>(i), columns[i].width);
  for (int n = 1; n <= kEntryCount; ++n)
    list->addTopLevelItem(new QTreeWidgetItem({Q(std::to_string(n))}));
  return list;
}

QTreeWidgetItem& Item(QTreeWidget& list, int row) {
  return *list.topLevelItem(row);
}

std::optional<std::string> OpenDialog(QWidget* parent, std::string_view filter,
                                      const std::string& start) {
  QFileDialog dialog(parent);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  QStringList filters = ChooserNameFilters(filter);
#ifndef _WIN32
  // Programs here rarely have an extension: "All" means every file, not every name with a dot.
  filters.replaceInStrings("*.*", "*");
#endif
  dialog.setNameFilters(filters);
  const ChooserStart s = ChooserStartOf(start);
  if (!s.folder.empty()) dialog.setDirectory(Q(s.folder));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

// Buttons right-aligned under the edits: OK is the default.
QHBoxLayout* OkCancel(QDialog* form, QPushButton*& ok) {
  ok = new QPushButton(Q("OK(&O)"), form);
  auto* cancel = new QPushButton(Q("ｷｬﾝｾﾙ(&C)"), form);
  ok->setDefault(true);
  QObject::connect(cancel, &QPushButton::clicked, form, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(ok);
  row->addWidget(cancel);
  return row;
}

void ReportWriteFailure(Messages& messages, const Status& s) {
  std::string text = "Error : 設定ファイルに書き込めません\r\n";
  text += s.error().message;
  messages.ShowMessage(text);
}

}  // namespace

// ---- favourites ----

TFormFavorite::TFormFavorite(QWidget* parent, PrivateProfile& ini, Messages& messages)
    : TViewerForm(parent, QSize(680, 360)), model_(ini), messages_(messages) {
  setObjectName("FormFavorite");
  setWindowTitle(Q("お気に入り設定"));
  list_ = NewList(this, {{{"No", 35}, {"ファイル名", 380}, {"文字コード", 250}, {"", 10}}});
  for (int row = 0; row < kEntryCount; ++row) ShowRow(row);
  edit_ = new QLineEdit(this);
  open_file_ = new QPushButton(Q("参照(&B)"), this);
  combo_ = new QComboBox(this);
  for (const std::string& item : OpenCodeItems()) combo_->addItem(Q(item));
  auto* grid = new QGridLayout;
  auto* name_label = new QLabel(Q("ファイル名(&N)"), this);
  auto* code_label = new QLabel(Q("文字(&E)"), this);
  name_label->setBuddy(edit_);
  code_label->setBuddy(combo_);
  grid->addWidget(name_label, 0, 0);
  grid->addWidget(edit_, 0, 1);
  grid->addWidget(open_file_, 0, 2);
  grid->addWidget(code_label, 1, 0);
  grid->addWidget(combo_, 1, 1);
  grid->setColumnStretch(1, 1);  // the edits take the width, the buttons keep theirs
  auto* box = new QVBoxLayout(Body());
  box->addWidget(list_, 1);
  box->addLayout(grid);
  box->addLayout(OkCancel(this, ok_));

  browse = [this](QWidget* p) { return OpenDialog(p, kFileChooserFilter, FromQ(edit_->text())); };
  connect(list_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { ListView1Click(list_->indexOfTopLevelItem(item)); });
  connect(edit_, &QLineEdit::textChanged, this, [this](const QString& t) {
    if (loading_) return;
    model_.SetPath(FromQ(t));
    ShowRow(model_.Selected());
  });
  connect(combo_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (loading_) return;
    model_.SetCodeIndex(index);
    ShowRow(model_.Selected());
  });
  connect(open_file_, &QPushButton::clicked, this, [this] {
    if (std::optional<std::string> path = browse ? browse(this) : std::nullopt)
      edit_->setText(Q(*path));
  });
  connect(ok_, &QPushButton::clicked, this, [this] {
    if (Status s = model_.Save(); !s) return ReportWriteFailure(messages_, s);
    accept();
  });
  ListView1Click(0);
}

void TFormFavorite::ShowRow(int row) {
  const FavoriteEntry& e = model_.Rows()[static_cast<size_t>(row)];
  Item(*list_, row).setText(1, Q(e.path));
  Item(*list_, row).setText(2, Q(FavoritesModel::CodeText(e.index)));
}

void TFormFavorite::ListView1Click(int row) {
  model_.Select(row);
  const FavoriteEntry& e = model_.Rows()[static_cast<size_t>(model_.Selected())];
  loading_ = true;
  list_->setCurrentItem(&Item(*list_, model_.Selected()));
  edit_->setText(Q(e.path));
  combo_->setCurrentIndex(e.index);
  loading_ = false;
}

// ---- launchers ----

TFormLauncher::TFormLauncher(QWidget* parent, PrivateProfile& ini, Messages& messages)
    : TViewerForm(parent, QSize(680, 370)), model_(ini), messages_(messages) {
  setObjectName("FormLauncher");
  setWindowTitle(Q("外部プログラム設定"));
  list_ = NewList(this, {{{"No", 35}, {"ファイル名", 480}, {"引数", 300}, {"", 10}}});
  for (int row = 0; row < kEntryCount; ++row) ShowRow(row);
  edit1_ = new QLineEdit(this);
  edit2_ = new QLineEdit(this);
  open_file_ = new QPushButton(Q("参照(&B)"), this);
  combo_ = new QComboBox(this);
  for (const std::string& item : LaunchersModel::ExampleItems()) combo_->addItem(Q(item));
  auto* grid = new QGridLayout;
  auto* name_label = new QLabel(Q("ファイル名(&N)"), this);
  auto* args_label = new QLabel(Q("引数(&A)"), this);
  name_label->setBuddy(edit1_);
  args_label->setBuddy(edit2_);
  grid->addWidget(name_label, 0, 0);
  grid->addWidget(edit1_, 0, 1);
  grid->addWidget(open_file_, 0, 2);
  grid->addWidget(args_label, 1, 0);
  grid->addWidget(edit2_, 1, 1);
  grid->addWidget(combo_, 1, 2);
  grid->addWidget(new QLabel(Q("Pilkaの場合 C:\\tool\\Pilka.exe"), this), 2, 1);
  grid->setColumnStretch(1, 1);  // the edits take the width, the buttons keep theirs
  auto* box = new QVBoxLayout(Body());
  box->addWidget(list_, 1);
  box->addLayout(grid);
  box->addLayout(OkCancel(this, ok_));

  browse = [this](QWidget* p) { return OpenDialog(p, kLauncherFileFilter, FromQ(edit1_->text())); };
  connect(list_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { ListView1Click(list_->indexOfTopLevelItem(item)); });
  connect(edit1_, &QLineEdit::textChanged, this, [this](const QString& t) {
    if (loading_) return;
    model_.SetProgram(FromQ(t));
    ShowRow(model_.Selected());
  });
  connect(edit2_, &QLineEdit::textChanged, this, [this](const QString& t) {
    if (loading_) return;
    model_.SetOptions(FromQ(t));
    ShowRow(model_.Selected());
  });
  connect(combo_, &QComboBox::activated, this, [this](int index) {
    edit2_->setText(Q(LaunchersModel::ExampleOptions(FromQ(combo_->itemText(index)))));
  });
  connect(open_file_, &QPushButton::clicked, this, [this] {
    if (std::optional<std::string> path = browse ? browse(this) : std::nullopt)
      edit1_->setText(Q(*path));
  });
  connect(ok_, &QPushButton::clicked, this, [this] {
    if (Status s = model_.Save(); !s) return ReportWriteFailure(messages_, s);
    accept();
  });
  ListView1Click(0);
}

void TFormLauncher::ShowRow(int row) {
  const LauncherEntry& e = model_.Rows()[static_cast<size_t>(row)];
  Item(*list_, row).setText(1, Q(e.program));
  Item(*list_, row).setText(2, Q(e.options));
}

void TFormLauncher::ListView1Click(int row) {
  model_.Select(row);
  const LauncherEntry& e = model_.Rows()[static_cast<size_t>(model_.Selected())];
  loading_ = true;
  list_->setCurrentItem(&Item(*list_, model_.Selected()));
  edit1_->setText(Q(e.program));
  edit2_->setText(Q(e.options));
  loading_ = false;
}

}  // namespace tessary
