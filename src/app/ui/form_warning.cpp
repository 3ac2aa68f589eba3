// The start-up notice window over the notice's texts.
#include "app/ui/form_warning.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "platform/ui/qt_conversions.h"

namespace tessary {

TFormWarning::TFormWarning(QWidget* main_window, PrivateProfile& ini, const StartupNotice& notice)
    : TViewerForm(main_window, QSize(560, 0)), ini_(ini), notice_(notice) {
  setObjectName("FormWarning");
  setWindowTitle(Q(kStartupNoticeCaption));
  setWindowFlag(Qt::Tool);

  Image1 = new QLabel(this);
  Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
  Label1 = new QLabel(Q(notice.label1), this);
  Label2 = new QLabel(Q(notice.label2), this);
  Label2->setEnabled(notice.label2_enabled);
  CheckBox1 = new QCheckBox(Q(kDontShowAgainCaption), this);
  ButtonOk = new QPushButton(Q("OK(&O)"), this);
  ButtonOk->setDefault(true);
  // The box and the icon belong to the pictograph note; a notice without it hides both.
  Image1->setVisible(notice.check_box_visible);
  CheckBox1->setVisible(notice.check_box_visible);

  auto* grid = new QGridLayout(Body());
  grid->setContentsMargins(20, 16, 20, 12);
  grid->setHorizontalSpacing(16);
  grid->addWidget(Image1, 0, 0, 2, 1, Qt::AlignTop);
  grid->addWidget(Label1, 0, 1);
  grid->addWidget(Label2, 1, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(CheckBox1);
  bottom->addStretch();
  bottom->addWidget(ButtonOk);
  grid->addLayout(bottom, 2, 0, 1, 2);
  grid->setRowMinimumHeight(1, 24);
  grid->setVerticalSpacing(12);
  grid->setColumnStretch(1, 1);

  connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
}

TFormWarning::~TFormWarning() {
  (void)StoreStartupNoticeChoice(ini_, notice_, CheckBox1->isChecked());
}

void TFormWarning::done(int result) {
  TViewerForm::done(result);
  if (parentWidget()) parentWidget()->window()->activateWindow();
}

void ShowStartupNotice(QWidget* main_window, PrivateProfile& ini, KeyMapCheck key_map) {
  const bool show = ReadStartupNoticeShow(ini);
  if (!StartupNoticeWanted(show, key_map)) return;
  TFormWarning form(main_window, ini, StartupNoticeFor(show, key_map));
  form.exec();
}

}  // namespace tessary
