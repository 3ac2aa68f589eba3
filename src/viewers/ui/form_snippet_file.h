// TFormSnippetFile: the file-snippet window over FileSnippets, inserting into the main editor.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "viewers/ui/form_snippet.h"

namespace tessary {

// A tree page with the folder's files and a preview of the selected one, and an edit page for
// one file. Inserting closes the window with Accepted.
class TFormSnippetFile final : public TViewerForm {
  Q_OBJECT
 public:
  TFormSnippetFile(QWidget* parent, SnippetWindowArgs args);

  [[nodiscard]] FileSnippets& Model() { return model_; }

  // The name box of "追加(&A)" (UTF-8; nothing when cancelled); replaceable for tests.
  std::function<std::optional<std::string>()> ask_name;

  QStackedWidget* Pages = nullptr;
  QWidget* Panel1 = nullptr;
  QTreeView* TreeView1 = nullptr;
  TEditor* Editor1 = nullptr;  // the preview
  QPushButton* ButtonSet = nullptr;
  QPushButton* ButtonClose = nullptr;
  QPushButton* ButtonEdit = nullptr;
  QPushButton* ButtonDelete = nullptr;
  QPushButton* Button3Add = nullptr;
  QWidget* Panel2 = nullptr;
  TEditor* Editor2 = nullptr;
  QPushButton* ButtonSave = nullptr;
  QPushButton* ButtonTree = nullptr;
  QPushButton* ButtonPaste = nullptr;

  // Esc, "終了" and the close box end up here: a modified edit page asks first.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildTreePage();
  void BuildEditPage();
  void BuildMenus();
  // Runs a model step, then shows the page it left the model on.
  void Step(const std::function<void()>& step);
  void ShowPage();
  void Insert();

  FileSnippets model_;
  IndentTreeModel tree_model_{this};
  bool started_ = false;
  bool filling_ = false;
};

}  // namespace tessary
