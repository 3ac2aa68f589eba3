// TFormCsvList: the CSV list window, a table over the main document's lines.
#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <functional>
#include <list>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/private_profile.h"
#include "platform/ui/viewer_form.h"
#include "viewers/csv_list_model.h"

class QComboBox;
class QLabel;
class QPushButton;
class QStatusBar;
class QTableView;

namespace tessary {

// The rows of a CsvListModel, cut into cells only when a row is drawn; a few recent rows are
// kept converted, so scrolling over a million lines costs what the screen shows.
class CsvRowsModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  CsvRowsModel(const CsvListModel& rows, QObject* parent);

  // The rows were filled anew (or the headings changed): the views start again.
  void Reset();
  void HeadingsChanged();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const std::vector<QString>& Cells(int row) const;

  static constexpr size_t kCachedRows = 256;
  const CsvListModel& rows_;
  // Converted rows by row, the most recently used first.
  mutable std::list<std::pair<int, std::vector<QString>>> cache_;
  mutable std::unordered_map<int, decltype(cache_)::iterator> cached_;
  mutable std::string scratch_;
  mutable std::vector<std::string_view> fields_;
};

// What the window is opened with: the settings and working files, the messages, the lines of
// the main document and the line of its caret.
struct CsvListArgs {
  PrivateProfile& ini;
  const AppHome& home;
  Messages& messages;
  const CsvLines& lines;
  int32_t caret_line;
};

class TFormCsvList final : public TViewerForm {
  Q_OBJECT
 public:
  TFormCsvList(QWidget* parent, const CsvListArgs& args);

  [[nodiscard]] CsvListModel& Model() { return model_; }

  // The font chooser (name, size and colour) and the colour chooser; replaceable for tests.
  // Each returns nothing when cancelled.
  std::function<std::optional<CsvListLook>(const CsvListLook&)> choose_font;
  std::function<std::optional<TColor>(TColor)> choose_color;
  // Runs the jump window; true when it closed with OK (Editor/Jump then holds the entry).
  std::function<bool()> run_jump;

  QTableView* ListView1 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QComboBox* ComboBox2 = nullptr;
  QComboBox* ComboBox3 = nullptr;
  QLabel* Label4 = nullptr;
  QPushButton* ButtonPrev = nullptr;
  QPushButton* ButtonNext = nullptr;
  QPushButton* ButtonSearchPrev = nullptr;
  QPushButton* ButtonSearchNext = nullptr;
  QPushButton* ButtonFitColumnWidth = nullptr;
  QPushButton* ButtonCancel = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  // The status bar's seven panels.
  std::vector<QLabel*> Panels;

  // ---- commands, public so that tests drive them as the menu does ----
  void MenuCsvListLoadAllClick();
  void MenuCsvListFitColumnWidthClick();
  void MenuAddHeaderClick();
  void MenuCsvListSearchClick(SearchDirection direction);
  void MenuCsvListJumpClick();
  void Run(const std::function<void(CsvListModel&, int visible_rows)>& command);

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void BuildMenus();
  void ApplyLook();
  void SetFieldWidths(int width);
  void Sync();
  void ShowPanels();
  void FillHistory();
  void ChooseFont();
  void ChooseBackColor();
  [[nodiscard]] int VisibleRows() const;
  [[nodiscard]] int NumberColumnWidth() const;

  CsvListModel model_;
  CsvRowsModel* rows_ = nullptr;
  uint64_t shown_generation_ = 0;
  bool syncing_ = false;
  bool started_ = false;
};

}  // namespace tessary
