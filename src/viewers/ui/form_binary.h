// TFormBinary: the binary viewer window, its dump pane and column header over BinaryViewerModel.
#pragma once

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QFont>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/private_profile.h"
#include "platform/ui/viewer_form.h"
#include "viewers/binary_viewer.h"

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QProgressDialog;
class QPushButton;

namespace tessary {

// The look both panes draw with: font, cell metrics and colours.
struct DumpPaneLook {
  QFont font;
  int cell_width = 8;
  int row_height = 16;
  int ascent = 12;
  BinaryLook colours;
};

// Rows of the dump drawn as the editor pane draws text: every column in a cell of the same
// width, the caret, the caret line's underline and the hit's two characters selected. The
// rows are formatted from the file's bytes only when they are drawn, so a file of gigabytes
// costs what the screen shows. The scroll bar counts lines (in steps of several lines when a
// file has more lines than it can count).
class DumpPane final : public QAbstractScrollArea {
  Q_OBJECT
 public:
  DumpPane(BinaryViewerModel& model, const DumpPaneLook& look, QWidget* parent);

  void SetLook(const DumpPaneLook& look);
  // The model's caret or top line changed: the scroll bar and the drawing follow.
  void Sync();
  [[nodiscard]] int RowsPerPage() const;
  // The line and column a point of the viewport stands on.
  [[nodiscard]] DumpCaret PointToCaret(QPoint p) const;

  // After every caret move made in the pane (keys, mouse).
  std::function<void()> on_caret_moved;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void PaintRow(QPainter& p, uint64_t line, int y);
  void UpdateScrollBar();
  [[nodiscard]] uint64_t LinesPerStep() const;

  BinaryViewerModel& model_;
  DumpPaneLook look_;
  std::string text_;
  bool syncing_ = false;
};

// The one-line column header above the dump, with "+j" of the caret's byte selected.
class DumpHeaderPane final : public QWidget {
  Q_OBJECT
 public:
  DumpHeaderPane(const BinaryViewerModel& model, const DumpPaneLook& look, QWidget* parent);
  void SetLook(const DumpPaneLook& look);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  const BinaryViewerModel& model_;
  DumpPaneLook look_;
};

// What the window is opened with.
struct BinaryFormArgs {
  PrivateProfile& ini;
  const AppHome& home;
  Messages& messages;
  std::string file_name;
  CharCode code = CharCode::SJIS;
};

class TFormBinary final : public TViewerForm {
  Q_OBJECT
 public:
  TFormBinary(QWidget* parent, const BinaryFormArgs& args);
  ~TFormBinary() override;

  [[nodiscard]] BinaryViewerModel& Model() { return model_; }
  [[nodiscard]] const BinaryLook& Look() const { return look_; }

  // The font chooser (name, size, colour) and the colour chooser; replaceable for tests. Each
  // returns nothing when cancelled.
  std::function<std::optional<BinaryLook>(const BinaryLook&)> choose_font;
  std::function<std::optional<TColor>(TColor)> choose_color;

  DumpPane* Editor1 = nullptr;
  DumpHeaderPane* Editor2 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLabel* Label2 = nullptr;
  QPushButton* ButtonPrev = nullptr;
  QPushButton* ButtonNext = nullptr;
  QPushButton* ButtonSearchPrev = nullptr;
  QPushButton* ButtonSearchNext = nullptr;
  QPushButton* ButtonCancel = nullptr;

  // ---- commands, public so that tests drive them as the menu does ----
  void MenuBinaryCloseClick();
  void MenuBinarySearchClick(SearchDirection direction);
  void Move(void (BinaryViewerModel::*command)());
  void ToggleLook(bool BinaryLook::*flag);
  void ChooseColor(TColor BinaryLook::*colour);
  void MenuBinaryFontColorClick();

  void reject() override;
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  [[nodiscard]] QLayout* BuildBoxes();
  [[nodiscard]] QLayout* BuildButtons();
  void BuildMenus();
  void ApplyLook();
  void FillHistory();
  void CaretMoved();
  [[nodiscard]] bool RunScanStep(uint64_t done, uint64_t total);
  void Finish();

  PrivateProfile& ini_;
  const AppHome& home_;
  BinaryViewerModel model_;
  BinaryLook look_;
  DumpPaneLook pane_look_;
  bool started_ = false;
  bool closing_by_box_ = false;
  bool cancel_scan_ = false;
  bool scanning_ = false;
  QElapsedTimer scan_clock_;
  int64_t serviced_ms_ = 0;
  std::unique_ptr<QProgressDialog> progress_;
};

}  // namespace tessary
