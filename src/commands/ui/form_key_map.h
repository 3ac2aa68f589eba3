// The key map window (TFormKeyMap): the key map or difference file, unsorted or by modifiers.
#pragma once

#include <QTimer>

#include "commands/key_map_view.h"
#include "commands/ui/key_list.h"
#include "platform/clipboard.h"
#include "platform/messages.h"
#include "platform/private_profile.h"
#include "platform/ui/viewer_form.h"

class QPushButton;
class QTreeView;

namespace tessary {

// Centred on the window that opens it.
class TFormKeyMap final : public TViewerForm {
  Q_OBJECT
 public:
  // `ShowKeyMapItem`/`All` of the settings file says which file is shown. The clipboard takes
  // the copied rows.
  TFormKeyMap(QWidget* parent, const PrivateProfile& ini, const KeyMapFiles& files,
              Messages& messages, Clipboard& clipboard);

  QTreeView* ListView1 = nullptr;
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
  std::vector<const KeyMapRow*> shown_;  // the rows the list draws, in its order
  KeyRowsModel* rows_ = nullptr;
  Messages& messages_;
  Clipboard& clipboard_;
  bool shown_once_ = false;
};

// Shows the key map window modally over parent: what "キーボードマップ(&K)..." does after
// writing `All` = true, and what the settings window's two show buttons open.
void ShowKeyMapWindow(QWidget* parent, const PrivateProfile& ini, const KeyMapFiles& files,
                      Messages& messages, Clipboard& clipboard);

}  // namespace tessary
