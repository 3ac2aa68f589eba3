// TFormSelectFiler and TFormSelectEditor: choose a file manager's or another editor's window.
#pragma once

#include <array>
#include <memory>

#include "app/window_choosers.h"
#include "commands/command_table.h"
#include "platform/app_home.h"
#include "platform/ui/viewer_form.h"

class QCheckBox;
class QHBoxLayout;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tessary {

// The list of matching windows with Run, Get list and Cancel. Run (button, menu item, double
// click, Enter in the list) raises the chosen window and closes; the menu items take the key
// map's rows of the window (1021 closes).
class TFormSelectWindow : public TViewerForm {
  Q_OBJECT
 public:
  QListWidget& ListBox1() const { return *list_; }
  QPushButton& ButtonRun() const { return *run_; }
  QPushButton& ButtonGetList() const { return *get_list_; }
  void ButtonRunClick();
  void ButtonGetListClick();

 protected:
  // `window` names the key map rows of the menu items: Run is 1503 or 1501, 終了 is 1021.
  TFormSelectWindow(QWidget* parent, QSize minimum, const AppHome& home, WindowList& windows,
                    Messages& messages, WindowId own, ShortcutWindow window);
  // The patterns a listing uses.
  [[nodiscard]] virtual TitleLines Lines() const = 0;
  // The buttons row: Run, Get list, then what the window adds, then Cancel.
  QPushButton* AddButton(const char* caption);
  void FinishButtons();
  [[nodiscard]] QHBoxLayout* Buttons() const { return buttons_; }
  void showEvent(QShowEvent* e) override;

 private:
  WindowChooser chooser_;
  QListWidget* list_ = nullptr;
  QPushButton* run_ = nullptr;
  QPushButton* get_list_ = nullptr;
  QHBoxLayout* buttons_ = nullptr;
  bool listed_ = false;
};

// "ファイラー選択": four patterns from "Tessary-Title.txt" that the user can edit, save and
// reset to the defaults.
class TFormSelectFiler final : public TFormSelectWindow {
  Q_OBJECT
 public:
  TFormSelectFiler(QWidget* parent, const AppHome& home, WindowList& windows, Messages& messages,
                   WindowId own);
  QCheckBox& CheckBox(int n) const { return *checks_.at(static_cast<size_t>(n - 1)); }
  QLineEdit& Edit(int n) const { return *edits_.at(static_cast<size_t>(n - 1)); }
  void ButtonSaveClick();
  void ButtonInitClick();

 protected:
  [[nodiscard]] TitleLines Lines() const override;

 private:
  void ShowLines(const TitleLines& lines);

  AppHome home_;
  Messages& messages_;
  std::array<QCheckBox*, 4> checks_{};
  std::array<QLineEdit*, 4> edits_{};
};

// "エディター選択": the other windows of this program.
class TFormSelectEditor final : public TFormSelectWindow {
  Q_OBJECT
 public:
  TFormSelectEditor(QWidget* parent, const AppHome& home, WindowList& windows, Messages& messages,
                    WindowId own);

 protected:
  [[nodiscard]] TitleLines Lines() const override { return EditorTitleLines(); }
};

}  // namespace tessary
