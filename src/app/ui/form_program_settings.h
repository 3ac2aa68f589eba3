// TFormFavorite and TFormLauncher: the three favourite files and the three launcher programs.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/program_settings_model.h"
#include "platform/messages.h"
#include "platform/ui/viewer_form.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace tessary {

// The Browse button's file dialog: the chosen path, or nothing when cancelled. Tests script it.
using ProgramBrowse = std::function<std::optional<std::string>(QWidget* parent)>;

// "お気に入り設定": the rows "1"-"3" with path and code; a clicked row fills the edits, the
// edits change the row at once; OK writes Favorite1-3, Cancel and Esc write nothing.
class TFormFavorite final : public TViewerForm {
  Q_OBJECT
 public:
  TFormFavorite(QWidget* parent, PrivateProfile& ini, Messages& messages);
  ProgramBrowse browse;
  QTreeWidget& ListView1() const { return *list_; }
  QLineEdit& Edit1() const { return *edit_; }
  QComboBox& ComboBox1() const { return *combo_; }
  QPushButton& ButtonOK() const { return *ok_; }
  QPushButton& ButtonOpenFile() const { return *open_file_; }
  void ListView1Click(int row);

 private:
  void ShowRow(int row);

  FavoritesModel model_;
  Messages& messages_;
  QTreeWidget* list_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QComboBox* combo_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* open_file_ = nullptr;
  bool loading_ = false;
};

// "外部プログラム設定": the rows "1"-"3" with program and argument template, the example list
// that fills the template edit; OK writes Launcher1-3, Cancel and Esc write nothing.
class TFormLauncher final : public TViewerForm {
  Q_OBJECT
 public:
  TFormLauncher(QWidget* parent, PrivateProfile& ini, Messages& messages);
  ProgramBrowse browse;
  QTreeWidget& ListView1() const { return *list_; }
  QLineEdit& Edit1() const { return *edit1_; }
  QLineEdit& Edit2() const { return *edit2_; }
  QComboBox& ComboBox2() const { return *combo_; }
  QPushButton& ButtonOK() const { return *ok_; }
  QPushButton& ButtonOpenFile() const { return *open_file_; }
  void ListView1Click(int row);

 private:
  void ShowRow(int row);

  LaunchersModel model_;
  Messages& messages_;
  QTreeWidget* list_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QLineEdit* edit2_ = nullptr;
  QComboBox* combo_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* open_file_ = nullptr;
  bool loading_ = false;
};

}  // namespace tessary
