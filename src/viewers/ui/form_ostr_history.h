// TFormOstrHistory: the history viewer, the record list beside the log pane.
#pragma once

#include <QTimer>
#include <vector>

#include "platform/ui/viewer_form.h"
#include "viewers/history_log.h"
#include "viewers/ui/log_entry_list.h"

class QAction;
class QListView;
class QSplitter;

namespace tessary {

// Modal, over the main window and as large. Shows the whole log scrolled to the chosen record,
// or the chosen record alone. The list is built in memory each time the window is shown.
class TFormOstrHistory final : public TViewerForm {
  Q_OBJECT
 public:
  TFormOstrHistory(QWidget* parent, LogViewerArgs args);

  [[nodiscard]] const std::vector<LogEntry>& Entries() const { return entries_; }
  [[nodiscard]] HistoryMode Mode() const { return mode_; }

  QListView* ListBox1 = nullptr;
  QSplitter* Splitter1 = nullptr;
  TEditor* Editor1 = nullptr;
  QAction* MenuLogAll = nullptr;
  QAction* MenuLogThis = nullptr;

  // ---- commands, public so that tests drive them as the menu does ----
  void ChooseMode(HistoryMode mode);
  void ListBox1Select(int row);

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void ApplyWrap();
  void FormShow();
  void ShowWholeLog();
  void SyncChecks();

  LogViewerArgs args_;
  std::vector<LogEntry> entries_;
  LogEntryList* list_ = nullptr;
  HistoryMode mode_;
  QTimer rewrap_;
  bool shown_ = false;
  bool busy_ = false;  // a record being shown: list clicks meanwhile are ignored
};

}  // namespace tessary
