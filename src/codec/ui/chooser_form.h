// The frame the own Open and Save As windows share: name field, Browse, OK, Cancel, Esc.
#pragma once

#include <QTimer>
#include <functional>
#include <optional>
#include <string>

#include "codec/file_choosers.h"
#include "platform/ui/viewer_form.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tessary {

enum class BrowseKind { Open, Save };

// A plain file dialog: the chosen path, or nothing when the user cancelled it. Tests give a
// scripted one; the windows use PlainFileDialog by default.
using BrowseFunction = std::function<std::optional<std::string>(QWidget* parent, BrowseKind kind,
                                                                const ChooserStart& start)>;
std::optional<std::string> PlainFileDialog(QWidget* parent, BrowseKind kind,
                                           const ChooserStart& start);
// The plain open dialog without a filter: every file is offered.
std::optional<std::string> PlainOpenDialogAnyFile(QWidget* parent, const ChooserStart& start);

// The Qt name filters of the choosers' filter text: "label (pattern pattern ...)", to be shown
// with the details hidden so the user reads the label as it stands.
QStringList ChooserNameFilters(std::string_view filter = kFileChooserFilter);

// Both windows open their Browse dialog by themselves 500 ms after they are shown; cancelling
// that dialog closes the window. Esc without modifiers anywhere in the window is Cancel; Enter
// does nothing in the name field and the lists. Centred on the window that opens it.
class TChooserForm : public TViewerForm {
  Q_OBJECT
 public:
  static constexpr int kBrowseDelayMs = 500;

  QLabel* Label1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* ButtonBrowse = nullptr;
  QLabel* Label2 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QPushButton* ButtonOK = nullptr;
  QPushButton* ButtonCancel = nullptr;
  QTimer Timer1;

 protected:
  TChooserForm(QWidget* parent, const char* caption, const char* ok_caption, BrowseKind kind,
               BrowseFunction browse);
  // The start of the Browse dialog, as read when the window was created.
  virtual const ChooserStart& BrowseStart() const = 0;
  // OK: true when the choice was taken and the window may close.
  virtual bool TakeChoice() = 0;
  // Adds a labelled list below the code list (the Save As window's line ends).
  QComboBox* AddList(const char* caption, QLabel** label);
  void FillList(QComboBox* box, const std::vector<std::string>& items, int index);

  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ButtonBrowseClick();
  void ButtonOKClick();
  void Timer1Timer();
  void SwallowEnterAndEsc(QWidget* w);

  BrowseKind kind_;
  BrowseFunction browse_;
  QGridLayout* grid_ = nullptr;
  bool shown_once_ = false;
};

}  // namespace tessary
