// The key map window over its model.
#include "commands/ui/form_key_map.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "platform/ui/qt_conversions.h"

namespace tessary {

TFormKeyMap::TFormKeyMap(QWidget* parent, const PrivateProfile& ini, const KeyMapFiles& files,
                         Messages& messages, Clipboard& clipboard)
    : TViewerForm(parent, QSize(900, 600)),
      model_(ReadShowKeyMapItem(ini), files),
      messages_(messages),
      clipboard_(clipboard) {
  setObjectName("FormKeyMap");
  setWindowTitle(Q(kKeyMapViewCaption));

  ListView1 = new QTreeView(this);
  rows_ = new KeyRowsModel({Q("カテゴリ"), Q("コマンド"), Q("現在のキー"), Q("機能"), ""}, this);
  ListView1->setModel(rows_);
  SetUpKeyList(ListView1);
  ButtonSortNone = new QPushButton(Q("ソート無(&N)"), this);
  ButtonSort = new QPushButton(Q("ソート有(&K)"), this);
  ButtonCopy = new QPushButton(Q("ｸﾘｯﾌﾟへｺﾋﾟｰ(&L)"), this);
  ButtonClose = new QPushButton(Q("閉じる(&C)"), this);
  for (QPushButton* b : {ButtonSortNone, ButtonSort, ButtonCopy, ButtonClose})
    b->setAutoDefault(false);

  auto* outer = new QVBoxLayout(Body());
  outer->addWidget(ListView1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ButtonSortNone);
  buttons->addWidget(ButtonSort);
  buttons->addWidget(ButtonCopy);
  buttons->addStretch();
  buttons->addWidget(ButtonClose);
  outer->addLayout(buttons);

  connect(ButtonSortNone, &QPushButton::clicked, this, [this] {
    model_.ShowOrder(KeyMapOrder::File);
    List();
  });
  connect(ButtonSort, &QPushButton::clicked, this, [this] {
    model_.ShowOrder(KeyMapOrder::Sorted);
    List();
  });
  connect(ButtonCopy, &QPushButton::clicked, this, [this] { model_.CopyToClipboard(clipboard_); });
  connect(ButtonClose, &QPushButton::clicked, this, &QDialog::accept);
  Timer1.setSingleShot(true);
  Timer1.setInterval(kKeyMapMissingMessageDelayMs);
  connect(&Timer1, &QTimer::timeout, this, [this] { model_.ShowDueMessage(messages_); });
  List();
}

void TFormKeyMap::List() {
  shown_ = model_.ShownRows();
  rows_->Reset(static_cast<int>(shown_.size()), [this](int row, int column) {
    const KeyMapRow& r = *shown_[static_cast<size_t>(row)];
    const std::array<const std::string*, 4> fields = {&r.group, &r.caption, &r.shortcut, &r.id};
    return *fields[static_cast<size_t>(column)];
  });
  if (const std::optional<size_t> s = model_.selected()) {
    const QModelIndex selected = rows_->index(static_cast<int>(*s), 0);
    ListView1->setCurrentIndex(selected);
    ListView1->scrollTo(selected);
  }
}

void TFormKeyMap::SizeColumns() {
  // The list stands for the client area; the 40 pixels the columns leave free take its frame
  // and scroll bar, so no horizontal scroll bar appears.
  const int width = ListView1->width();
  const std::array<int, 5> widths = {110, std::max(width - 420, 40), 200, 60, 10};
  SetColumnWidths(ListView1, widths);
}

void TFormKeyMap::showEvent(QShowEvent* event) {
  TViewerForm::showEvent(event);
  SizeColumns();
  if (shown_once_) return;
  shown_once_ = true;
  if (model_.due_message()) Timer1.start();
}

void TFormKeyMap::resizeEvent(QResizeEvent* event) {
  TViewerForm::resizeEvent(event);
  SizeColumns();
}

void TFormKeyMap::done(int result) {
  Timer1.stop();
  TViewerForm::done(result);
}

void ShowKeyMapWindow(QWidget* parent, const PrivateProfile& ini, const KeyMapFiles& files,
                      Messages& messages, Clipboard& clipboard) {
  TFormKeyMap form(parent, ini, files, messages, clipboard);
  form.exec();
}

}  // namespace tessary
