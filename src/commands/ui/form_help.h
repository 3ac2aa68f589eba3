// TFormHelp: the manual in a read-only editor beside a tree of its headings.
#pragma once

#include <QTimer>
#include <memory>
#include <string>

#include "commands/help_index.h"
#include "commands/outline.h"
#include "platform/app_home.h"
#include "platform/private_profile.h"
#include "platform/ui/indent_tree_view.h"
#include "platform/ui/viewer_form.h"

class QAction;
class QSplitter;
class QTreeView;

namespace tessary {

class TEditor;

// Modal, centred on the main window. The headings are the manual's mark headings, built like
// the outline's and written to the help index file; from 200 ms after showing, selecting one
// moves the manual's caret to its line.
class TFormHelp : public TViewerForm {
  Q_OBJECT
 public:
  static constexpr int kReadyDelayMs = 200;

  // `manual` is the path of the manual; a missing file shows an empty text.
  TFormHelp(QWidget* main_window, PrivateProfile& ini, const AppHome& home,
            const std::string& manual);
  ~TFormHelp() override;

  [[nodiscard]] bool Ready() const { return ready_; }
  [[nodiscard]] const Outline& Headings() const { return *headings_; }
  [[nodiscard]] const IndentTreeModel& TreeModel() const { return model_; }
  [[nodiscard]] HelpWrap Wrap() const { return wrap_; }
  void ChooseWrap(HelpWrap wrap);

  QTreeView* TreeView1 = nullptr;
  QSplitter* Splitter1 = nullptr;
  TEditor* Editor1 = nullptr;
  QAction* MenuWrapNone = nullptr;
  QAction* MenuWrapWindowWidth = nullptr;

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void LoadManual(const std::string& manual);
  void ApplyWrap();
  void BecomeReady();
  void JumpToSelected();

  PrivateProfile& ini_;
  IndentTreeModel model_;
  std::shared_ptr<const Outline> headings_;
  HelpWrap wrap_;
  QTimer ready_timer_;
  QTimer rewrap_;
  bool ready_ = false;
};

// The help command: the window over the manual beside the executable, modal.
void ShowHelpWindow(QWidget* main_window, PrivateProfile& ini, const AppHome& home);

}  // namespace tessary
