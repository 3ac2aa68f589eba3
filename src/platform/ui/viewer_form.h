// TViewerForm: the modal window the viewers and tool windows are built on.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QSize>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/private_profile.h"
#include "platform/window_placement.h"

class QAbstractScrollArea;
class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QVBoxLayout;
class QWheelEvent;

namespace tessary {

// The bounding rectangle of all screens: saved placements must lie on it.
[[nodiscard]] Rect VirtualScreen();

// A window that remembers where it stood: Left, Top, Width, Height and State in its own section
// of the settings file, read when it first opens and written when it closes.
struct SavedPlacement {
  PrivateProfile& settings;  // outlives the window
  std::string section;       // named after the window
  QSize default_size;        // the size of the first opening, centred on the parent
  // Where a window without a usable saved placement goes instead of the centre of its parent
  // (a tool window that stands beside its parent rather than over it).
  std::optional<Rect> fallback = std::nullopt;
};

// What every such window does: it opens where it stood last (or centred on its parent), never
// smaller than its minimum size and never off the screen; Esc without modifiers closes it from
// any control; a wheel turn anywhere over it scrolls the focused pane; its menu items are known
// by command id so the key map can give them shortcuts; a status panel shows progress.
//
// A new window lays out its widgets in Body() and adds its menus:
//   TFormOutline(QWidget* parent, PrivateProfile& ini)
//       : TViewerForm(parent, {300, 200}, {ini, "FormOutLine", {400, 600}}) {
//     (new QVBoxLayout(Body()))->addWidget(tree_ = new QTreeView);
//     QMenu* file = AddMenu("ファイル(&F)");
//     connect(AddCommand(file, 1021, "閉じる(&X)"), &QAction::triggered, this, &QDialog::reject);
//   }
// and applies its key map rows with ApplyViewerShortcuts (commands/ui/viewer_shortcuts.h).
class TViewerForm : public QDialog {
  Q_OBJECT
 public:
  // A menu of the window's menu bar; the bar appears with the first menu.
  QMenu* AddMenu(std::string_view caption);
  // A menu item of a command of the table: the key map finds it by the id.
  QAction* AddCommand(QMenu* menu, int id, std::string_view caption);
  // The item of a command id; nullptr when the window has none.
  [[nodiscard]] QAction* CommandAction(int id) const;

  // The status panel's text; the panel appears with the first text.
  void SetProgressText(std::string_view text);
  [[nodiscard]] std::string ProgressText() const;

  void done(int result) override;

 protected:
  // Centred on its parent each time it opens; nothing is stored.
  TViewerForm(QWidget* parent, QSize minimum_size);
  // Placed from its settings section and stored there when it closes.
  TViewerForm(QWidget* parent, QSize minimum_size, SavedPlacement placement);

  // For a window whose widgets decide its size, called once they are laid out: the minimum
  // size becomes what the window with its menu bar needs (at least `least`), and so does the
  // size it first opens at, so that neither leaves an empty area below the widgets.
  void FitMinimumToContents(QSize least);

  // Where the window lays out its own widgets, between the menu bar and the status panel.
  [[nodiscard]] QWidget* Body() const { return body_; }

  // The pane a wheel turn anywhere over the window scrolls: by default the scroll area (an
  // editor pane, a list) that holds the focus, so the pane being worked in moves wherever the
  // mouse points. nullptr leaves wheel turns where they fall.
  [[nodiscard]] virtual QAbstractScrollArea* WheelPane() const;

  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  class Events;
  friend class Events;

  void PlaceOnFirstShow();
  void CentreOnParent();
  [[nodiscard]] Rect CentredBounds(QSize size) const;
  void StorePlacement();
  [[nodiscard]] bool KeyPressed(const QKeyEvent& key);
  [[nodiscard]] bool WheelTurned(QWidget* target, const QWheelEvent& wheel);

  QVBoxLayout* frame_ = nullptr;
  QWidget* body_ = nullptr;
  QMenuBar* menu_bar_ = nullptr;
  QStatusBar* status_ = nullptr;
  QLabel* progress_ = nullptr;
  Events* events_ = nullptr;
  std::map<int, QAction*> commands_;
  PrivateProfile* settings_ = nullptr;  // null: centred on the parent, nothing stored
  std::string section_;
  QSize default_size_;
  std::optional<Rect> fallback_;
  bool shown_once_ = false;
  bool forwarding_wheel_ = false;
};

}  // namespace tessary
