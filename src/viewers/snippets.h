// Text snippets and file snippets: their files, the date-and-time templates, the pages, insertion.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/indent_tree.h"
#include "base/result.h"
#include "platform/app_home.h"

namespace tessary {

class Clipboard;
class EditorControl;
class Messages;

// A moment of the local clock, as the templates fill it in.
struct LocalDateTime {
  int year = 2000;
  int month = 1;   // 1-12
  int day = 1;     // 1-31
  int hour = 0;    // 0-23
  int minute = 0;  // 0-59
  int second = 0;  // 0-59
};

// Asked at each insertion, so tests can fix the moment.
using SnippetClock = std::function<LocalDateTime()>;
[[nodiscard]] LocalDateTime LocalTimeNow();

// What a text snippet inserts (Shift-JIS in and out). A text that begins and ends with "$" is
// a template: the text between them with every "yyyy", then "mm", "dd", "hh", "nn" and "ss"
// replaced by the year, month, day, hour, minute and second. Matches start only at character
// starts, so the trail byte of a double-byte character is never taken for a letter. A lone
// "$" gives nothing; any other text comes back unchanged.
[[nodiscard]] std::string ExpandSnippet(std::string_view text, const LocalDateTime& now);

// The twelve lines a missing "Tessary-Snippet.txt" starts with, each ending in CR LF.
[[nodiscard]] std::string DefaultSnippetText();

// Why a file snippet may not have this name (UTF-8), in Japanese; nothing when it may. A name
// stays one plain file in the folder: no path separators, no "." or "..", no control
// characters, no leading blank or TAB (it would read as indentation in the list), and only
// characters Shift-JIS can hold (the list file is Shift-JIS).
[[nodiscard]] std::optional<std::string> SnippetNameProblem(std::string_view name);

// The message of a list line one level too deep: "アイテム "%1:s" の階層 (%0:d) が不正です".
[[nodiscard]] std::string LevelErrorMessage(const IndentJump& jump);

inline constexpr std::string_view kProtectedMessage = "書き込み禁止では操作できません";
inline constexpr std::string_view kNothingToInsert = "対象がありません";

enum class SnippetPage { Tree, Edit };

// A snippet list as loaded: the nodes' texts point into `text`. A reload makes a new one, so
// a view still showing the old list (say while a message box is up) reads nothing freed.
struct SnippetList {
  std::string text;
  IndentTree tree;
};

enum class Insertion { Inserted, NotInserted };
enum class Leaving { Allowed, Stay };

// Before a snippet window opens over the main editor: a protected document is refused with a
// message; otherwise its selection, if any, goes to the clipboard so that the edit page's
// paste button can take it. Allowed when the window may open.
[[nodiscard]] Leaving PrepareSnippetWindow(EditorControl& main, Messages& messages);

// What both windows work with. Insertion puts the text on `clipboard` as a stream (a box
// copy's mark is dropped) and has `target`, the main editor, paste it over its selection.
struct SnippetPorts {
  const AppHome& home;
  Messages& messages;
  Clipboard& clipboard;
  EditorControl& target;
};

// The text-snippet window without its widgets: the tree page lists the nodes of
// "Tessary-Snippet.txt", the edit page is `editor` holding the file's text.
class TextSnippets {
 public:
  TextSnippets(SnippetPorts ports, EditorControl& editor, SnippetClock clock = LocalTimeNow);

  // On showing: the edit page loaded, then the tree page shown.
  void Start();
  [[nodiscard]] SnippetPage Page() const { return page_; }
  [[nodiscard]] const std::vector<IndentNode>& Nodes() const { return list_->tree.nodes; }
  // The tree the nodes belong to, kept alive for whoever shows it.
  [[nodiscard]] std::shared_ptr<const IndentTree> Tree() const { return {list_, &list_->tree}; }
  [[nodiscard]] int Selected() const { return selected_; }
  void Select(int node);

  // Inserts the selected node's text (expanded) into the main editor; the window then closes.
  [[nodiscard]] Insertion ButtonSetClick();
  void ButtonEditorClick();
  // Stays on the edit page when its changes are not to be discarded.
  void ButtonTreeClick();
  void ButtonSaveClick();
  void ButtonPasteClick();
  void ButtonInitClick();
  void MenuHelpClick();
  // Esc, "終了" or the close box: a modified edit page asks first.
  [[nodiscard]] Leaving CloseQuery();

 private:
  [[nodiscard]] std::optional<std::string> ReadOrCreate();
  void LoadEditor(const std::optional<std::string>& text);
  void LoadTree(const std::optional<std::string>& text);
  [[nodiscard]] bool WriteEditorText();

  SnippetPorts ports_;
  EditorControl& editor_;
  SnippetClock clock_;
  std::string path_;
  std::shared_ptr<const SnippetList> list_ = std::make_shared<const SnippetList>();
  int selected_ = 0;
  SnippetPage page_ = SnippetPage::Tree;
  enum class Unreadable { No, Yes } unreadable_ = Unreadable::No;  // the last read failed
};

// The file-snippet window without its widgets: the tree page lists the regular files of the
// "SnippetFile" folder (also written to "Tessary-SnippetFile.txt") and previews the selected
// one in `preview`; the edit page is `editor` holding one file's text.
class FileSnippets {
 public:
  // Creates the folder when it is missing.
  FileSnippets(SnippetPorts ports, EditorControl& preview, EditorControl& editor);

  // On showing: the list rebuilt and the selected file previewed.
  void Start();
  [[nodiscard]] SnippetPage Page() const { return page_; }
  [[nodiscard]] const std::vector<IndentNode>& Nodes() const { return list_->tree.nodes; }
  // The tree the nodes belong to, kept alive for whoever shows it.
  [[nodiscard]] std::shared_ptr<const IndentTree> Tree() const { return {list_, &list_->tree}; }
  // The file a node stands for, as its name is on disk.
  [[nodiscard]] const std::string& NameOf(int node) const;
  [[nodiscard]] int Selected() const { return selected_; }
  // Selecting a node previews its file.
  void TreeView1Click(int node);

  [[nodiscard]] Insertion ButtonSetClick();
  void ButtonEditClick();
  void ButtonTreeClick();
  void ButtonSaveClick();
  void ButtonDeleteClick();
  // The answer of the name box; nothing when it was cancelled.
  void Button3AddClick(const std::optional<std::string>& name);
  void ButtonPasteClick();
  void MenuHelpClick();
  [[nodiscard]] Leaving CloseQuery();

 private:
  [[nodiscard]] std::string PathOf(int node) const;
  void GetFileList();
  void Preview();
  [[nodiscard]] std::optional<std::string> ReadSnippet(int node);
  void ToTreePage();
  [[nodiscard]] Status WriteEdited() const;

  SnippetPorts ports_;
  EditorControl& preview_;
  EditorControl& editor_;
  std::string folder_;
  std::vector<std::string> names_;  // node i stands for names_[i]
  std::shared_ptr<const SnippetList> list_ = std::make_shared<const SnippetList>();
  int selected_ = 0;
  std::string edited_path_;
  SnippetPage page_ = SnippetPage::Tree;
};

}  // namespace tessary
