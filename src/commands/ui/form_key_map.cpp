// The key map window over its model.
#include "commands/ui/form_key_map.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/ui/qt_conversions.h"

namespace tessary {

void SetUpKeyList(QTreeWidget* list, const QStringList& headers) {
  list->setColumnCount(static_cast<int>(headers.size()));
  list->setHeaderLabels(headers);
  list->setRootIsDecorated(false);
  list->setItemsExpandable(false);
  list->setUniformRowHeights(true);  // some 160 rows, all one line high
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->header()->setStretchLastSection(false);
  QPalette p = list->palette();
  p.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0x00, 0xFF, 0xFF));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             p.color(QPalette::Active, QPalette::WindowText));
  list->setPalette(p);
}

TFormKeyMap::TFormKeyMap(QWidget* parent, const PrivateProfile& ini, const KeyMapFiles& files,
                         Messages& messages, Clipboard& clipboard)
    : TViewerForm(parent, QSize(900, 600)),
      model_(ReadShowKeyMapItem(ini), files),
      messages_(messages),
      clipboard_(clipboard) {
  setObjectName("FormKeyMap");
  setWindowTitle(Q(kKeyMapViewCaption));

  ListView1 = new QTreeWidget(this);
  SetUpKeyList(ListView1, {Q("カテゴリ"), Q("コマンド"), Q("現在のキー"), Q("機能"), ""});
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
  ListView1->clear();
  QList<QTreeWidgetItem*> items;
  for (const KeyMapRow* row : model_.ShownRows())
    items << new QTreeWidgetItem(
        QStringList{Q(row->group), Q(row->caption), Q(row->shortcut), Q(row->id), ""});
  ListView1->addTopLevelItems(items);
  if (const std::optional<size_t> s = model_.selected()) {
    QTreeWidgetItem* item = ListView1->topLevelItem(static_cast<int>(*s));
    ListView1->setCurrentItem(item);
    ListView1->scrollToItem(item);
  }
}

void TFormKeyMap::SizeColumns() {
  // The list stands for the client area; the 40 pixels the columns leave free take its frame
  // and scroll bar, so no horizontal scroll bar appears.
  const int width = ListView1->width();
  const int widths[] = {110, std::max(width - 420, 40), 200, 60, 10};
  for (int c = 0; c < 5; ++c) ListView1->setColumnWidth(c, widths[c]);
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
