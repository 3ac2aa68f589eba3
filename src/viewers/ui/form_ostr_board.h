// TFormOstrBoard: the board log viewer, the index, thread and post lists beside the log panes.
#pragma once

#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "commands/find_replace.h"
#include "platform/ui/viewer_form.h"
#include "viewers/board_log.h"
#include "viewers/ui/log_entry_list.h"

class QAction;
class QLabel;
class QListView;
class QSplitter;
class QStackedWidget;

namespace tessary {

// Modal, over the main window and as large. 100 ms after showing it loads the log (a stored
// index of this log is reused, any other rebuilt) and shows it in log order or by thread. The
// lists and panes are filled in one piece each, without servicing events in between, so no
// command can run while they are half filled.
class TFormOstrBoard final : public TViewerForm {
  Q_OBJECT
 public:
  static constexpr int kLoadDelayMs = 100;

  TFormOstrBoard(QWidget* parent, LogViewerArgs args);
  ~TFormOstrBoard() override;

  [[nodiscard]] BoardLogModel& Model() { return model_; }
  [[nodiscard]] bool Loaded() const { return loaded_; }
  [[nodiscard]] BoardMode Mode() const { return settings_.mode; }
  [[nodiscard]] BoardLayout Layout() const { return layout_; }
  [[nodiscard]] const std::string& SearchWord() const { return search_.Word(); }
  // The Find dialog on the full-log pane with the word handed to it; gives back the word last
  // searched. Replaceable for tests.
  std::function<std::string(const std::string& word)> run_find;

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QListView* ListBox1 = nullptr;
  QListView* ListBox2 = nullptr;
  QListView* ListBox3 = nullptr;
  TEditor* Editor1 = nullptr;
  TEditor* Editor3 = nullptr;
  TEditor* Editor4 = nullptr;
  QSplitter* Splitter1 = nullptr;
  QSplitter* Splitter2 = nullptr;
  QAction* MenuLogAll = nullptr;
  QAction* MenuLogThread = nullptr;
  QAction* MenuIndexAssend = nullptr;
  QAction* MenuIndexDesend = nullptr;
  QAction* MenuThreadAssend = nullptr;
  QAction* MenuThreadDesend = nullptr;
  QAction* MenuShowBoth = nullptr;
  QAction* MenuShowIndex = nullptr;
  QAction* MenuShowLog = nullptr;

  // ---- commands, public so that tests drive them as the menus do ----
  void LoadLog();  // what Timer1 runs
  void MenuLogAllClick();
  void MenuLogThreadClick();
  void MenuGetIndexClick();
  void ChooseIndexOrder(IndexOrder order);
  void ChooseThreadOrder(ThreadOrder order);
  void MenuAddSkipTitleClick();
  void MenuSearchWordClick();
  void MenuSearchClick(SearchDirection direction);
  void MenuRowClick();
  void MenuShowSkipTitleClick();
  void ChooseLayout(BoardLayout layout);
  // Selecting a row of ListBox1, ListBox3 or ListBox2 (a click or a key).
  void ListBox1Select(int row);
  void ListBox3Select(int row);
  void ListBox2Select(int row);
  // A double click on a pane in log order: the entry of the caret's header line.
  void PaneDoubleClick();

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildIndexSide();
  QWidget* BuildLogSide();
  void BuildMenus();
  void StylePanes();
  void ApplyNumbers();
  void ApplyWrap();
  void ShowIndex();
  void SyncChecks();
  void ShowMode();
  void ShowPost(int32_t entry);
  void ShowLogLine(int32_t line);
  void ResetLists();
  void SetCounts();
  void WriteIndex();
  void Progress(int32_t done, int32_t count);
  [[nodiscard]] bool RefusedInThreadMode();
  [[nodiscard]] int IndexSideWidth() const;

  LogViewerArgs args_;
  BoardLogModel model_;
  BoardSettings settings_;
  MainSearch search_;
  BoardLayout layout_ = BoardLayout::Both;
  BoardLayoutMemory layout_memory_;
  PaneNumbers numbers_;
  LogEntryList* all_ = nullptr;
  LogEntryList* starters_ = nullptr;
  LogEntryList* members_ = nullptr;
  QStackedWidget* index_stack_ = nullptr;
  QStackedWidget* pane_stack_ = nullptr;
  QWidget* index_side_ = nullptr;
  QWidget* log_side_ = nullptr;
  QWidget* skip_side_ = nullptr;
  QTimer timer1_;
  QTimer rewrap_;
  bool loaded_ = false;
  bool selecting_ = false;  // a row being selected by the window itself
};

}  // namespace tessary
