// The keyboard settings window (TFormKeyBoard): categories, commands, the four key boxes.
#pragma once

#include <functional>

#include "commands/key_board_model.h"
#include "platform/private_profile.h"
#include "platform/ui/viewer_form.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tessary {

// Centred on the window that opens it.
class TFormKeyBoard final : public TViewerForm {
  Q_OBJECT
 public:
  // Opens the key map window modally over the settings window; it reads which file to show
  // from the settings file.
  using KeyMapWindowOpener = std::function<void(QWidget* parent)>;

  // The working copy is read from the key map file now, as the window is created.
  TFormKeyBoard(QWidget* parent, const KeyMap& default_table, KeyMapFiles& files,
                Messages& messages, PrivateProfile& ini, KeyMapWindowOpener open_key_map);

  // How the window closed: Ok makes the main window apply the key map file again, also after
  // Cancel when the file was written meanwhile.
  KeyBoardResult Result() const { return result_; }
  const KeyBoardModel& model() const { return model_; }

  QLabel* Label1 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QTreeWidget* ListView1 = nullptr;
  QComboBox* ComboBox2 = nullptr;  // Shift
  QComboBox* ComboBox3 = nullptr;  // Ctrl
  QComboBox* ComboBox4 = nullptr;  // Alt
  QLabel* Label2 = nullptr;
  QComboBox* ComboBox5 = nullptr;  // key
  QPushButton* Button1 = nullptr;
  QPushButton* ButtonInit = nullptr;
  QPushButton* ButtonOK = nullptr;
  QPushButton* ButtonCancel = nullptr;
  QPushButton* ButtonDiffToFile = nullptr;
  QPushButton* ButtonButtonLoadFromFile = nullptr;
  QPushButton* ButtonShowAll = nullptr;
  QPushButton* ButtonShowDiff = nullptr;

 public slots:
  // Cancel, Esc and the window's close button.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FillCategories();
  void ListCommands();
  void ShowBoxes();
  void ShowSelectedShortcut();
  void ListClicked();
  void AfterBoxChange(void (KeyBoardModel::*change)(int), int index);
  void ButtonOKClick();
  void ButtonInitClick();
  void ShowKeyMap(bool all);
  void SizeList();

  KeyBoardModel model_;
  PrivateProfile& ini_;
  KeyMapWindowOpener open_key_map_;
  KeyBoardResult result_ = KeyBoardResult::Cancel;
  bool filling_ = false;  // the widgets are being set from the model, not by the user
  bool shown_once_ = false;
};

// What the keyboard settings command does: shows the window modally over the main window and
// tells whether the key map must be applied again (SetShortCutKey).
bool ShowKeyBoard(QWidget* main_window, const KeyMap& default_table, KeyMapFiles& files,
                  Messages& messages, PrivateProfile& ini,
                  TFormKeyBoard::KeyMapWindowOpener open_key_map);

}  // namespace tessary
