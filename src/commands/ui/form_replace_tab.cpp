// The tab window of the tabs-to-blanks conversion.
#include "commands/ui/form_replace_tab.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "commands/text_conversion_commands.h"
#include "commands/text_conversions.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {
namespace {

// Item k offers 2k + 2 blanks.
constexpr std::array<const char*, 4> kItemCaptions = {" 2 文字", " 4 文字", " 6 文字", " 8 文字"};

}  // namespace

TFormReplaceTab::TFormReplaceTab(QWidget* parent, PrivateProfile& ini, Messages& messages,
                                 int tab_width)
    : TViewerForm(parent, QSize(260, 0)), ini_(ini), messages_(messages) {
  setObjectName("FormReplaceTab");
  setWindowTitle(Q("タブを空白に置き換え"));
  auto* group = new QGroupBox(Q("半角文字数(&T)"), this);
  auto* group_box = new QVBoxLayout(group);
  for (size_t k = 0; k < items_.size(); ++k) {
    items_[k] = new QRadioButton(Q(kItemCaptions[k]), group);
    group_box->addWidget(items_[k]);
  }
  items_[static_cast<size_t>(TabBlankCount(tab_width) - 2) / 2]->setChecked(true);
  ok_ = new QPushButton(Q("OK(&O)"), this);
  cancel_ = new QPushButton(Q("ｷｬﾝｾﾙ(&C)"), this);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, [this] { ButtonOkClick(); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* box = new QVBoxLayout(Body());
  box->addWidget(group);
  box->addLayout(buttons);
}

int TFormReplaceTab::ChosenBlanks() const {
  for (size_t k = 0; k < items_.size(); ++k)
    if (items_[k]->isChecked()) return static_cast<int>(2 * k + 2);
  return TabBlankCount(0);
}

// The command reads the count back from the settings: a write that failed would convert with
// the previous choice, so it is reported and the window stays open.
void TFormReplaceTab::ButtonOkClick() {
  if (Status s = WriteReplaceTab(ini_, ChosenBlanks()); !s) {
    messages_.ShowMessage("Error : 設定ファイルに書き込めません\r\n" + s.error().message);
    return;
  }
  accept();
}

}  // namespace tessary
