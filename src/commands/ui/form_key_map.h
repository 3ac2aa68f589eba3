// The key map window (TFormKeyMap): the key map or difference file, unsorted or by modifiers.
#pragma once

#include <QTimer>

#include "commands/key_map_view.h"
#include "platform/clipboard.h"
#include "platform/messages.h"
#include "platform/private_profile.h"
#include "platform/ui/viewer_form.h"

class QPushButton;
class QTreeWidget;

namespace tessary {

// Centred on the window that opens it.
class TFormKeyMap final : public TViewerForm {
  Q_OBJECT
 public:
  // `ShowKeyMapItem`/`All` of the settings file says which file is shown. The clipboard takes
  // the copied rows.
  TFormKeyMap(QWidget* parent, const PrivateProfile& ini, const KeyMapFiles& files,
              Messages& messages, Clipboard& clipboard);

  QTreeWidget* ListView1 = nullptr;
  QPushButton* ButtonSortNone = nullptr;
  QPushButton* ButtonSort = nullptr;
  QPushButton* ButtonCopy = nullptr;
  QPushButton* ButtonClose = nullptr;
  // Shows the missing-file message once the window stands on the screen.
  QTimer Timer1;

  const KeyMapViewModel& model() const { return model_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // A window closed within the delay does not report afterwards.
  void done(int result) override;

 private:
  void List();
  void SizeColumns();

  KeyMapViewModel model_;
  Messages& messages_;
  Clipboard& clipboard_;
  bool shown_once_ = false;
};

// Shows the key map window modally over parent: what "キーボードマップ(&K)..." does after
// writing `All` = true, and what the settings window's two show buttons open.
void ShowKeyMapWindow(QWidget* parent, const PrivateProfile& ini, const KeyMapFiles& files,
                      Messages& messages, Clipboard& clipboard);

// The key map window's list look shared with the keyboard settings window: whole rows, one at
// a time, read-only; a selected row keeps an aqua background while the list has no focus.
void SetUpKeyList(QTreeWidget* list, const QStringList& headers);

}  // namespace tessary
