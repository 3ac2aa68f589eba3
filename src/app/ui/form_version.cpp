// The version window and its six pictures, drawn here with plain shapes.
#include "app/ui/form_version.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtMath>
#include <functional>

#include "app/version_info.h"
#include "platform/ui/qt_conversions.h"

namespace tessary {

// One picture of kVersionImageCount, painted to fit the widget; a click reports itself.
class VersionPicture final : public QWidget {
 public:
  explicit VersionPicture(QWidget* parent) : QWidget(parent) {
    setFixedSize(240, 160);
    setCursor(Qt::PointingHandCursor);
  }
  void SetIndex(int index) {
    index_ = index;
    update();
  }
  std::function<void()> clicked;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && clicked) clicked();
  }

 private:
  int index_ = 0;
};

namespace {

void Mountains(QPainter& p, QRectF r) {
  p.fillRect(r, QColor(250, 226, 180));
  p.setBrush(QColor(240, 120, 40));
  p.drawEllipse(QPointF(r.width() * 0.7, r.height() * 0.4), 28, 28);
  p.setBrush(QColor(70, 110, 90));
  p.drawPolygon(QPolygonF({QPointF(0, r.height()), QPointF(r.width() * 0.35, r.height() * 0.3),
                           QPointF(r.width() * 0.7, r.height())}));
  p.setBrush(QColor(40, 80, 70));
  p.drawPolygon(
      QPolygonF({QPointF(r.width() * 0.4, r.height()), QPointF(r.width() * 0.75, r.height() * 0.5),
                 QPointF(r.width(), r.height() * 0.8), QPointF(r.width(), r.height())}));
}

void Waves(QPainter& p, QRectF r) {
  p.fillRect(r, QColor(225, 240, 250));
  p.setBrush(Qt::NoBrush);
  for (int row = 0; row < 5; ++row) {
    p.setPen(QPen(QColor(30, 80 + row * 25, 160), 4));
    QPainterPath wave;
    const double y = 30 + row * 28;
    wave.moveTo(0, y);
    for (double x = 0; x <= r.width(); x += 4) wave.lineTo(x, y + 8 * qSin(x / 18.0 + row));
    p.drawPath(wave);
  }
}

void Checker(QPainter& p, QRectF r) {
  const int cell = 20;
  for (int y = 0; y * cell < r.height(); ++y)
    for (int x = 0; x * cell < r.width(); ++x)
      p.fillRect(x * cell, y * cell, cell, cell,
                 (x + y) % 2 ? QColor(30, 90, 70) : QColor(20, 20, 20));
}

void MoonAndStars(QPainter& p, QRectF r) {
  p.fillRect(r, QColor(20, 30, 70));
  p.setBrush(QColor(250, 240, 170));
  QPainterPath moon;
  moon.addEllipse(QPointF(80, 70), 40, 40);
  QPainterPath bite;
  bite.addEllipse(QPointF(100, 58), 36, 36);
  p.drawPath(moon.subtracted(bite));
  const QPointF stars[] = {{150, 30}, {200, 60}, {170, 110}, {215, 130}, {120, 135}, {30, 25}};
  for (const QPointF& s : stars) p.drawEllipse(s, 3, 3);
}

void Tree(QPainter& p, QRectF r) {
  p.fillRect(r, QColor(235, 245, 225));
  p.setBrush(QColor(120, 80, 40));
  p.drawRect(QRectF(r.width() / 2 - 10, r.height() * 0.6, 20, r.height() * 0.4));
  p.setBrush(QColor(60, 140, 60));
  for (int k = 0; k < 3; ++k)
    p.drawPolygon(QPolygonF({QPointF(r.width() / 2, 10 + k * 30.0),
                             QPointF(r.width() / 2 - 50 - k * 10, 70 + k * 30.0),
                             QPointF(r.width() / 2 + 50 + k * 10, 70 + k * 30.0)}));
}

void Pinwheel(QPainter& p, QRectF r) {
  p.fillRect(r, QColor(245, 245, 245));
  const QPointF c = r.center();
  const QColor colours[] = {QColor(220, 60, 60), QColor(60, 120, 220), QColor(240, 190, 40),
                            QColor(60, 170, 90)};
  for (int k = 0; k < 4; ++k) {
    p.save();
    p.translate(c);
    p.rotate(90.0 * k);
    p.setBrush(colours[k]);
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(0, -60), QPointF(45, -15)}));
    p.restore();
  }
  p.setBrush(QColor(80, 80, 80));
  p.drawEllipse(c, 5, 5);
}

}  // namespace

void VersionPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  using Draw = void (*)(QPainter&, QRectF);
  constexpr Draw kPictures[kVersionImageCount] = {Mountains,    Waves, Checker,
                                                  MoonAndStars, Tree,  Pinwheel};
  kPictures[index_](p, QRectF(rect()));
}

TFormVersion::TFormVersion(QWidget* parent, PrivateProfile& ini)
    : TViewerForm(parent, QSize(320, 300)), ini_(ini), index_(ReadVersionImage(ini)) {
  setObjectName("FormVersion");
  setWindowTitle(Q("バージョン情報"));
  std::string version(kVersionPrefix);
  version += VersionText(ProjectVersion(), ExecutableTime());
  auto* name = new QLabel(Q("Tessary"), this);
  QFont big = name->font();
  big.setPointSize(big.pointSize() + 6);
  big.setBold(true);
  name->setFont(big);
  version_ = new QLabel(Q(version), this);
  picture_ = new VersionPicture(this);
  picture_->clicked = [this] { ImageClick(); };
  caption_ = new QLabel(this);
  ok_ = new QPushButton(Q("OK(&O)"), this);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  auto* box = new QVBoxLayout(Body());
  for (QWidget* w : {static_cast<QWidget*>(name), static_cast<QWidget*>(version_),
                     static_cast<QWidget*>(picture_), static_cast<QWidget*>(caption_)})
    box->addWidget(w, 0, Qt::AlignHCenter);
  box->addStretch();
  box->addWidget(ok_, 0, Qt::AlignHCenter);
  ShowImage();
}

void TFormVersion::ShowImage() {
  picture_->SetIndex(index_);
  caption_->setText(Q(VersionImageCaption(index_)));
}

void TFormVersion::ImageClick() {
  index_ = NextVersionImage(index_);
  WriteVersionImage(ini_, index_).IgnoreFailure();  // the picture is only a greeting
  ShowImage();
}

}  // namespace tessary
