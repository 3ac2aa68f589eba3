// TFormOutLine: the headings of the main document in a tree beside the main window.
#pragma once

#include <QTimer>
#include <memory>

#include "commands/outline.h"
#include "platform/app_home.h"
#include "platform/private_profile.h"
#include "platform/ui/indent_tree_view.h"
#include "platform/ui/viewer_form.h"

class QLabel;
class QTreeView;

namespace tessary {

class EditorControl;

// A modeless window that lives as long as the main window and is hidden and shown again. Each
// showing of a hidden window rebuilds the outline from the current text, 100 ms later so the
// window is drawn first; the build is one pass over the text with no events in between. From
// 200 ms after a build, selecting a heading moves the target's caret to its line while the
// outline keeps the focus.
class TFormOutLine : public TViewerForm {
  Q_OBJECT
 public:
  // The delays of the build and of the ready flag, in milliseconds.
  static constexpr int kBuildDelayMs = 100;
  static constexpr int kReadyDelayMs = 200;

  // `target` (the main editor) outlives the window.
  TFormOutLine(QWidget* main_window, PrivateProfile& ini, const AppHome& home,
               EditorControl& target);

  // The outline command: a hidden window is shown and rebuilt, a visible one comes forward.
  void ShowOutline();
  // Jumping is on: set from 200 ms after a build until the window closes.
  [[nodiscard]] bool Ready() const { return ready_; }
  // The outline on show; null before the first build.
  [[nodiscard]] const Outline* Current() const { return outline_.get(); }
  [[nodiscard]] const IndentTreeModel& TreeModel() const { return model_; }
  // "左側に配置(&L)" and "右側に配置(&R)".
  void PlaceBeside(OutlineSide side);
  // "メインへフォーカス移動(&M)".
  void FocusMain();

  QLabel* Panel3 = nullptr;
  QTreeView* TreeView1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  void BecomeReady();
  void JumpToSelected();

  const AppHome& home_;
  EditorControl& target_;
  IndentTreeModel model_;
  std::shared_ptr<const Outline> outline_;
  QTimer build_timer_;
  QTimer ready_timer_;
  bool ready_ = false;
};

}  // namespace tessary
