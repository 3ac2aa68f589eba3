// TFormSnippet: the text-snippet window over TextSnippets, inserting into the main editor.
#pragma once

#include <functional>
#include <memory>

#include "base/indent_tree.h"
#include "platform/private_profile.h"
#include "platform/ui/indent_tree_view.h"
#include "platform/ui/viewer_form.h"
#include "viewers/snippets.h"

class QPushButton;
class QStackedWidget;
class QEvent;
class QTreeView;

namespace tessary {

class TEditor;

// Which snippet pane an editor is: its look follows the main editor's writable or read-only
// scheme.
enum class SnippetPane { Editable, Preview };
using SnippetEditorLook = std::function<void(TEditor& editor, SnippetPane pane)>;

// What both snippet windows are opened with. The main editor and its clipboard outlive the
// window; `look` may be empty (the editors keep their own defaults).
struct SnippetWindowArgs {
  PrivateProfile& ini;
  const AppHome& home;
  Messages& messages;
  EditorControl& target;
  Clipboard& clipboard;
  SnippetEditorLook look;
};

// Shows a snippet list in a view set up over `model`: each node's Shift-JIS text, every node
// expanded, the selected node's row current.
void ShowSnippetTree(QTreeView& view, IndentTreeModel& model,
                     std::shared_ptr<const IndentTree> tree, int selected);
// The node of the view's current row, -1 when none.
[[nodiscard]] int CurrentSnippetNode(const QTreeView& view, const IndentTreeModel& model);
// Enter without modifiers (the keypad's too) pressed in a snippet tree: it inserts the chosen
// snippet in both windows.
[[nodiscard]] bool IsInsertKey(const QEvent& event);

// A tree page to choose and insert, an edit page to change "Tessary-Snippet.txt". Inserting
// closes the window with Accepted.
class TFormSnippet final : public TViewerForm {
  Q_OBJECT
 public:
  TFormSnippet(QWidget* parent, SnippetWindowArgs args, SnippetClock clock = LocalTimeNow);

  [[nodiscard]] TextSnippets& Model() { return model_; }

  QStackedWidget* Pages = nullptr;
  QWidget* Panel1 = nullptr;
  QTreeView* TreeView1 = nullptr;
  QPushButton* ButtonSet = nullptr;
  QPushButton* ButtonEditor = nullptr;
  QPushButton* ButtonClose = nullptr;
  QWidget* Panel2 = nullptr;
  TEditor* Editor1 = nullptr;
  QPushButton* ButtonSave = nullptr;
  QPushButton* ButtonTree = nullptr;
  QPushButton* ButtonPaste = nullptr;
  QPushButton* ButtonInit = nullptr;

  // Esc, "終了" and the close box end up here: a modified edit page asks first.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildTreePage();
  void BuildEditPage();
  void BuildMenus();
  void ShowPage();
  void Insert();

  TEditor* MakeEditor();
  TextSnippets model_;
  IndentTreeModel tree_model_{this};
  bool started_ = false;
};

}  // namespace tessary
