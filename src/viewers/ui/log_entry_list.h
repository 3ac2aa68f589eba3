// A list view's model over log entries (all of them, or a list of entry numbers), shared by the
// board log and the history windows.
#pragma once

#include <QAbstractListModel>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/app_home.h"
#include "viewers/board_log.h"
#include "viewers/log_index.h"

class QEvent;
class QListView;

namespace tessary {

// What the panes of a log viewer take from the main window: its read-only look for the log
// panes, its editable look for the skip-title pane.
enum class LogPane { Log, SkipTitles };
enum class PaneNumbers { Shown, Hidden };
enum class PaneWrap { None, WindowWidth };

class TEditor;

// What both log viewers are opened with. The log is a copy of the main document's lines that
// outlives the window; `look` may be empty (the panes keep their own defaults).
struct LogViewerArgs {
  PrivateProfile& ini;
  const AppHome& home;
  Messages& messages;
  const TextLines& log;
  std::string file_name;  // the document's full path
  std::function<void(TEditor&, LogPane)> look;
  PaneNumbers numbers = PaneNumbers::Shown;
  PaneWrap wrap = PaneWrap::None;
};

// Rows are converted to Unicode only when drawn; the view asks for uniform row heights, so a
// hundred thousand entries cost what the screen shows. The entries and rows live in the model
// of the window; Reset() follows each change of them.
class LogEntryList final : public QAbstractListModel {
  Q_OBJECT
 public:
  // `rows` null: every entry in order.
  LogEntryList(const std::vector<LogEntry>& entries, const std::vector<int32_t>* rows,
               QObject* parent);
  void Reset();
  // The entry of a row, -1 outside.
  [[nodiscard]] int32_t EntryAt(int row) const;
  void SetRowHeight(int height) { row_height_ = height; }

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  const std::vector<LogEntry>& entries_;
  const std::vector<int32_t>* rows_;
  int row_height_ = 16;
  int count_ = 0;  // taken at each reset, so the view never reads a list being refilled
};

// A list view set up for entries: one line each, uniform heights, the 2000-pixel scroll extent,
// the selection visible without the focus.
void SetUpLogListView(QListView& view, LogEntryList& model);
// Moves the current row of a view (and selects it); -1 clears it.
void SetCurrentRow(QListView& view, int row);
[[nodiscard]] int CurrentRow(const QListView& view);
// Enter typed in a list is discarded.
[[nodiscard]] bool IsEnterKey(const QEvent& event);

}  // namespace tessary
