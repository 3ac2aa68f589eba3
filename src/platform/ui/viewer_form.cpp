// The shared viewer window: placement, Esc, the wheel, menu items by id, the status panel.
#include "platform/ui/viewer_form.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "platform/ui/qt_conversions.h"

namespace tessary {

// Filters the whole application while the window is shown, so it sees keys and wheel turns
// before the control under the focus or the mouse, which could take them for itself. A helper
// object, not the window, so a window's own event filter never sees other windows' events.
class TViewerForm::Events final : public QObject {
 public:
  explicit Events(TViewerForm* form) : QObject(form), form_(form) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != form_) return false;
    if (event->type() == QEvent::KeyPress)
      return form_->KeyPressed(*static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::Wheel)
      return form_->WheelTurned(widget, *static_cast<QWheelEvent*>(event));
    return false;
  }

 private:
  TViewerForm* form_;
};

Rect VirtualScreen() {
  QRect all;
  for (const QScreen* screen : QGuiApplication::screens()) all = all.united(screen->geometry());
  return FromQRect(all.isEmpty() ? QRect(0, 0, 1280, 1024) : all);
}

TViewerForm::TViewerForm(QWidget* parent, QSize minimum_size)
    : QDialog(parent), events_(new Events(this)) {
  setMinimumSize(minimum_size);
  frame_ = new QVBoxLayout(this);
  frame_->setContentsMargins(0, 0, 0, 0);
  frame_->setSpacing(0);
  body_ = new QWidget(this);
  frame_->addWidget(body_, 1);
}

TViewerForm::TViewerForm(QWidget* parent, QSize minimum_size, SavedPlacement placement)
    : TViewerForm(parent, minimum_size) {
  settings_ = &placement.settings;
  section_ = std::move(placement.section);
  default_size_ = placement.default_size;
  default_origin_ = placement.default_origin;
}

QMenu* TViewerForm::AddMenu(std::string_view caption) {
  if (!menu_bar_) {
    menu_bar_ = new QMenuBar(this);
    frame_->setMenuBar(menu_bar_);
  }
  return menu_bar_->addMenu(Q(caption));
}

QAction* TViewerForm::AddCommand(QMenu* menu, int id, std::string_view caption) {
  QAction* action = menu->addAction(Q(caption));
  commands_[id] = action;
  return action;
}

QAction* TViewerForm::CommandAction(int id) const {
  const auto it = commands_.find(id);
  return it == commands_.end() ? nullptr : it->second;
}

void TViewerForm::SetProgressText(std::string_view text) {
  if (!status_) {
    status_ = new QStatusBar(this);
    progress_ = new QLabel(status_);
    status_->addWidget(progress_, 1);
    frame_->addWidget(status_);
  }
  progress_->setText(Q(text));
}

std::string TViewerForm::ProgressText() const {
  return progress_ ? FromQ(progress_->text()) : std::string();
}

QAbstractScrollArea* TViewerForm::WheelPane() const {
  for (QWidget* w = focusWidget(); w && w != this; w = w->parentWidget())
    if (auto* pane = qobject_cast<QAbstractScrollArea*>(w)) return pane;
  return nullptr;
}

void TViewerForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  QCoreApplication::instance()->installEventFilter(events_);
  if (shown_once_) return;
  shown_once_ = true;
  PlaceOnFirstShow();
}

void TViewerForm::hideEvent(QHideEvent* event) {
  QCoreApplication::instance()->removeEventFilter(events_);
  QDialog::hideEvent(event);
}

void TViewerForm::done(int result) {
  if (shown_once_ && settings_) StorePlacement();
  QDialog::done(result);
}

void TViewerForm::PlaceOnFirstShow() {
  if (!settings_) return CentreOnParent();
  const QSize inside = default_size_.expandedTo(minimumSize());
  const Rect first = default_origin_ ? Rect{default_origin_->x(), default_origin_->y(),
                                            inside.width(), inside.height()}
                                     : CentredBounds(default_size_);
  const WindowPlacement saved =
      ReadPlacement(*settings_, section_, WindowPlacement{first, WindowState::Normal});
  const Rect bounds = PlaceOnScreen(saved.bounds, VirtualScreen(), first);
  move(bounds.left, bounds.top);
  resize(bounds.width, bounds.height);  // never below the minimum size
  // A modal window that opened minimised would leave the user facing a blocked main window.
  if (saved.state == WindowState::Maximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void TViewerForm::CentreOnParent() {
  if (!parentWidget()) return;
  QRect frame = frameGeometry();
  frame.moveCenter(parentWidget()->window()->frameGeometry().center());
  // A window larger than its parent would otherwise start above or left of the screen.
  move(ToQRect(KeepOnScreen(FromQRect(frame), VirtualScreen())).topLeft());
}

Rect TViewerForm::CentredBounds(QSize size) const {
  const QScreen* primary = QGuiApplication::primaryScreen();
  const QRect around = parentWidget() ? parentWidget()->window()->frameGeometry()
                       : primary      ? primary->availableGeometry()
                                      : ToQRect(VirtualScreen());
  // Left and Top place the frame; Width and Height are the inside.
  const QSize inside = size.expandedTo(minimumSize());
  QRect frame(QPoint(0, 0), inside + frameGeometry().size() - geometry().size());
  frame.moveCenter(around.center());
  const Rect placed = KeepOnScreen(FromQRect(frame), VirtualScreen());
  return Rect{placed.left, placed.top, inside.width(), inside.height()};
}

void TViewerForm::StorePlacement() {
  const Qt::WindowStates st = windowState();
  const WindowState state = (st & Qt::WindowMaximized)   ? WindowState::Maximized
                            : (st & Qt::WindowMinimized) ? WindowState::Minimized
                                                         : WindowState::Normal;
  const Rect normal{pos().x(), pos().y(), width(), height()};
  // Closing goes on when the settings cannot be written; the window then opens where it stood
  // before.
  WritePlacement(*settings_, section_, state, normal).IgnoreFailure();
}

bool TViewerForm::KeyPressed(const QKeyEvent& key) {
  if (key.key() != Qt::Key_Escape || key.modifiers() != Qt::NoModifier) return false;
  reject();
  return true;
}

bool TViewerForm::WheelTurned(QWidget* target, const QWheelEvent& wheel) {
  QAbstractScrollArea* pane = WheelPane();
  if (forwarding_wheel_ || !pane || pane == target || pane->isAncestorOf(target)) return false;
  // The pane handles the turn as if the mouse stood over it (an editor pane scrolls three
  // lines a notch). A pane that ignores it passes it up through this window: the flag keeps
  // it from coming back here.
  const QScopedValueRollback forwarding(forwarding_wheel_, true);
  QWidget* viewport = pane->viewport();
  const QPointF centre = QRectF(viewport->rect()).center();
  QWheelEvent copy(centre, viewport->mapToGlobal(centre), wheel.pixelDelta(), wheel.angleDelta(),
                   wheel.buttons(), wheel.modifiers(), wheel.phase(), wheel.inverted(),
                   wheel.source());
  QCoreApplication::sendEvent(viewport, &copy);
  return true;
}

}  // namespace tessary
