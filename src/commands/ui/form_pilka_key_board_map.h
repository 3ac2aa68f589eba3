// The Pilka keyboard-map window (TFormPilkaKeyBoardMap): a map's text, or its rows as a list.
#pragma once

#include <cstdint>

#include "commands/pilka_map.h"
#include "platform/clipboard.h"
#include "platform/messages.h"
#include "platform/ui/viewer_form.h"

class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTreeView;

namespace tessary {

class KeyRowsModel;

// Centred on the window that opens it; the text view and the list take turns in the client area.
class TFormPilkaKeyBoardMap final : public TViewerForm {
  Q_OBJECT
 public:
  // document_text gives the main editor's text for showing and for "ﾃｷｽﾄからﾍﾟｰｽﾄ(&I)"; the
  // clipboard gives pasted maps and takes the copies.
  TFormPilkaKeyBoardMap(QWidget* parent, PilkaDocumentText document_text, Clipboard& clipboard,
                        Messages& messages);

  QPlainTextEdit* Memo1 = nullptr;  // the text view
  QTreeView* ListView1 = nullptr;   // the list view
  QPushButton* ButtonText = nullptr;
  QPushButton* ButtonList = nullptr;
  QPushButton* ButtonPasteText = nullptr;
  QPushButton* ButtonPasteClip = nullptr;
  QPushButton* ButtonSortNone = nullptr;
  QPushButton* ButtonSort = nullptr;
  QPushButton* ButtonCopyTab = nullptr;
  QPushButton* ButtonCopyFixed = nullptr;

  const PilkaMapModel& model() const { return model_; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateButtons();
  void LayOut();
  void Connect();
  // Runs a step of the model and brings the widgets up to date with it.
  template <class Step>
  void Do(Step step);
  void Refresh();
  void SizeColumns();

  PilkaMapModel model_;
  KeyRowsModel* rows_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  uint64_t shown_text_revision_ = 0;
  uint64_t shown_list_revision_ = 0;
  bool shown_once_ = false;
};

// What "Pilka キーボードマップ表示(&M)..." opens, modally over parent.
void ShowPilkaKeyBoardMap(QWidget* parent, PilkaDocumentText document_text, Clipboard& clipboard,
                          Messages& messages);

}  // namespace tessary
