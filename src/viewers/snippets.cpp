// The snippet windows' rules: templates, the snippet file and folder, pages, saving, insertion.
#include "viewers/snippets.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>

#include "base/line_split.h"
#include "base/sjis.h"
#include "codec/sjis_text.h"
#include "editor/editor_control.h"
#include "platform/clipboard.h"
#include "platform/file_io.h"
#include "platform/messages.h"

namespace tessary {
namespace {

// UTF-8 here; the file holds them in Shift-JIS. A leading TAB is one level.
constexpr std::array<std::string_view, 12> kDefaultLines = {
    "親カテゴリ1",
    "親カテゴリ2",
    "\t子カテゴリ21",
    "親カテゴリ3",
    "\t子カテゴリ31",
    "\t\t孫カテゴリ32",
    "$yyyy-mm-dd hh:nn:ss$",
    "$yyyy-mm-dd$",
    "$hh:nn:ss$",
    "$yyyy年mm月dd日 hh時nn分ss秒$",
    "$yyyy年mm月dd日$",
    "$hh時nn分ss秒$",
};

constexpr std::string_view kTextHelp =
    "[TAB] はキーボードのタブを意味します\r\n\r\n"
    "親カテゴリ1\r\n親カテゴリ2\r\n[TAB]子カテゴリ21\r\n"
    "親カテゴリ3\r\n[TAB]子カテゴリ31\r\n[TAB][TAB]孫カテゴリ32\r\n\r\n"
    "ファイルの文字コードは SJIS のみ対応です";
constexpr std::string_view kFileHelp =
    "[SnippetFile] のフォルダの配下にファイルを保存して下さい\r\n"
    "ファイルの文字コードは SJIS のみ対応です";

std::string Digits(int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}

// Every occurrence of an ASCII word that starts at a character start.
std::string ReplaceWord(std::string_view text, std::string_view word, std::string_view by) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, word.size(), word) == 0) {
      out += by;
      i += word.size();
      continue;
    }
    const bool pair = sjis::IsLeadByte(text[i]) && i + 1 < text.size() &&
                      static_cast<uint8_t>(text[i + 1]) >= sjis::kFirstTrailByte;
    const size_t n = pair ? 2 : 1;
    out.append(text.substr(i, n));
    i += n;
  }
  return out;
}

// The text is placed before it is parsed: the nodes point into the shared copy.
std::shared_ptr<const SnippetList> LoadSnippetList(std::string text) {
  auto list = std::make_shared<SnippetList>();
  list->text = std::move(text);
  list->tree = LoadIndentTree(list->text);
  return list;
}

// ASCII letters folded, other bytes as they are: how names are told apart ignoring case.
std::string FoldCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// The Shift-JIS form of a file name as one line of the list: a line end inside a name (which a
// file system allows) would split the name over two lines.
std::string ListLine(const std::string& name) {
  std::string line = Utf8ToSjis(name);
  std::replace_if(
      line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, '?');
  return line;
}

// Every line of the text followed by CR LF: what a file snippet inserts.
std::string AsCrLfLines(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + 2);
  LineSplitter lines(bytes);
  for (std::string_view line; lines.Next(line);) out.append(line).append(kCrLf);
  return out;
}

void SetEditorText(EditorControl& editor, std::string_view text) {
  editor.Lines().SetTextStr(text);
  editor.SetCaret(0, 0);
  editor.SetModified(false);
}

Insertion PasteIntoTarget(const SnippetPorts& ports, std::string_view text) {
  // A stream: a box copied from the main editor when the window opened must not make the
  // snippet paste as a box.
  ports.clipboard.SetText(text, ClipboardShape::Stream);
  ports.target.PasteFromClipboard();
  return Insertion::Inserted;
}

Leaving AskDiscard(Messages& messages, EditorControl& editor) {
  if (!editor.Modified()) return Leaving::Allowed;
  if (messages.AskYesNo(std::string(kDiscardQuestion)) != Answer::Yes) return Leaving::Stay;
  editor.SetModified(false);
  return Leaving::Allowed;
}

// A headline, a line break and the system's reason.
std::string Failure(std::string_view headline, const Error& error) {
  std::string text = "Error : ";
  text += headline;
  text += "\r\n";
  text += error.message;
  return text;
}

std::string WriteFailure(const Error& error) {
  return Failure("保存できませんでした", error);
}

std::string ReadFailure(const Error& error) {
  return Failure("ファイルを読み込めません", error);
}

}  // namespace

LocalDateTime LocalTimeNow() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return LocalDateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                       tm.tm_hour,        tm.tm_min,     tm.tm_sec};
}

std::string ExpandSnippet(std::string_view text, const LocalDateTime& now) {
  // "$" is below every trail byte, so a last byte "$" is always a character of its own.
  if (text.empty() || text.front() != '$' || text.back() != '$') return std::string(text);
  if (text.size() == 1) return {};
  std::string s(text.substr(1, text.size() - 2));
  s = ReplaceWord(s, "yyyy", Digits(now.year, 4));
  s = ReplaceWord(s, "mm", Digits(now.month, 2));
  s = ReplaceWord(s, "dd", Digits(now.day, 2));
  s = ReplaceWord(s, "hh", Digits(now.hour, 2));
  s = ReplaceWord(s, "nn", Digits(now.minute, 2));
  return ReplaceWord(s, "ss", Digits(now.second, 2));
}

std::string DefaultSnippetText() {
  std::string text;
  for (std::string_view line : kDefaultLines) text.append(Utf8ToSjis(line)).append(kCrLf);
  return text;
}

std::optional<std::string> SnippetNameProblem(std::string_view name) {
  if (name.find_first_of("/\\") != std::string_view::npos)
    return "ファイル名に \"/\" と \"\\\" は使えません";
  if (std::any_of(name.begin(), name.end(),
                  [](char c) { return static_cast<uint8_t>(c) < 0x20 || c == 0x7F; }))
    return "ファイル名に制御文字は使えません";
  if (name == "." || name == "..") return "\".\" と \"..\" はファイル名に使えません";
  if (!name.empty() && (name.front() == ' ' || name.front() == '\t'))
    return "ファイル名の先頭に空白とタブは使えません";
  if (!Utf8ToSjisExact(name)) return "ファイル名に SJIS で表せない文字があります";
  return std::nullopt;
}

std::string LevelErrorMessage(const IndentJump& jump) {
  std::string text = "アイテム \"";
  text += SjisToUtf8(jump.text);
  text += "\" の階層 (";
  text += std::to_string(jump.depth);
  text += ") が不正です";
  return text;
}

Leaving PrepareSnippetWindow(EditorControl& main, Messages& messages) {
  if (main.ReadOnly()) {
    messages.ShowMessage(std::string(kProtectedMessage));
    return Leaving::Stay;
  }
  if (main.Selected()) main.CopyToClipboard();
  return Leaving::Allowed;
}

// ---- text snippets ----

TextSnippets::TextSnippets(SnippetPorts ports, EditorControl& editor, SnippetClock clock)
    : ports_(ports),
      editor_(editor),
      clock_(std::move(clock)),
      path_(ports.home.PathOf(WorkingFile::Snippet)) {}

// Only a missing file gets the defaults: one that cannot be read is reported and kept.
std::optional<std::string> TextSnippets::ReadOrCreate() {
  if (KindOfPath(path_) == PathKind::Missing) {
    unreadable_ = Unreadable::No;
    std::string defaults = DefaultSnippetText();
    if (Status written = WriteFileAtomic(path_, defaults); !written)
      ports_.messages.ShowMessage(WriteFailure(written.error()));
    return defaults;
  }
  Result<std::string> read = ReadWholeFile(path_);
  if (!read) {
    ports_.messages.ShowMessage(ReadFailure(read.error()));
    unreadable_ = Unreadable::Yes;
    return std::nullopt;
  }
  unreadable_ = Unreadable::No;
  return std::move(read).value();
}

void TextSnippets::LoadEditor(const std::optional<std::string>& text) {
  SetEditorText(editor_, text.value_or(""));
  page_ = SnippetPage::Edit;
}

// A line too deep ends the tree there; this window says nothing about it.
void TextSnippets::LoadTree(const std::optional<std::string>& text) {
  list_ = LoadSnippetList(text.value_or(""));
  selected_ = 0;
  page_ = SnippetPage::Tree;
}

void TextSnippets::Start() {
  const std::optional<std::string> text = ReadOrCreate();
  LoadEditor(text);
  LoadTree(text);
}

void TextSnippets::Select(int node) {
  selected_ = std::clamp(node, 0, std::max(0, static_cast<int>(Nodes().size()) - 1));
}

Insertion TextSnippets::ButtonSetClick() {
  if (Nodes().empty()) {
    ports_.messages.ShowMessage(std::string(kNothingToInsert));
    return Insertion::NotInserted;
  }
  const std::string_view text = Nodes()[static_cast<size_t>(selected_)].text;
  return PasteIntoTarget(ports_, ExpandSnippet(text, clock_()));
}

void TextSnippets::ButtonEditorClick() {
  LoadEditor(ReadOrCreate());
}

void TextSnippets::ButtonTreeClick() {
  if (AskDiscard(ports_.messages, editor_) == Leaving::Stay) return;
  LoadTree(ReadOrCreate());
}

// A failed write keeps the edit page and its modified mark. A file that could not be read is
// never written over: the edit page did not start from its text.
bool TextSnippets::WriteEditorText() {
  if (unreadable_ == Unreadable::Yes) {
    editor_.SetModified(true);
    std::string text = "Error : 読み込めなかったファイルには保存しません\r\n";
    text += path_;
    ports_.messages.ShowMessage(text);
    return false;
  }
  if (Status written = WriteFileAtomic(path_, editor_.Text()); !written) {
    editor_.SetModified(true);
    ports_.messages.ShowMessage(WriteFailure(written.error()));
    return false;
  }
  editor_.SetModified(false);
  return true;
}

void TextSnippets::ButtonSaveClick() {
  if (WriteEditorText()) ButtonTreeClick();
}

void TextSnippets::ButtonPasteClick() {
  editor_.PasteFromClipboard();
}

void TextSnippets::ButtonInitClick() {
  if (ports_.messages.AskYesNo("現在の内容の最後にデフォルトのデータを追加しますか？") !=
      Answer::Yes)
    return;
  for (std::string_view line : kDefaultLines) editor_.Lines().Add(Utf8ToSjis(line));
  (void)WriteEditorText();  // a failure was shown and the page stays modified
}

void TextSnippets::MenuHelpClick() {
  ports_.messages.ShowMessage(std::string(kTextHelp));
}

Leaving TextSnippets::CloseQuery() {
  if (page_ != SnippetPage::Edit) return Leaving::Allowed;
  return AskDiscard(ports_.messages, editor_);
}

// ---- file snippets ----

FileSnippets::FileSnippets(SnippetPorts ports, EditorControl& preview, EditorControl& editor)
    : ports_(ports),
      preview_(preview),
      editor_(editor),
      folder_(ports.home.PathOf(WorkingFolder::SnippetFile)) {
  if (Status made = MakeFolder(folder_); !made)
    ports_.messages.ShowMessage(Failure("フォルダを作成できません", made.error()));
  SetEditorText(preview_, "");
  SetEditorText(editor_, "");
}

std::string FileSnippets::PathOf(int node) const {
  return folder_ + "/" + NameOf(node);
}

const std::string& FileSnippets::NameOf(int node) const {
  static const std::string kNone;
  if (node < 0 || node >= static_cast<int>(Nodes().size())) return kNone;
  return names_[static_cast<size_t>(node)];
}

// The folder's regular files sorted ignoring case, written to the list and loaded as a tree
// whose node i stands for the i-th name. A line too deep ends the tree there, with a message.
void FileSnippets::GetFileList() {
  names_.clear();
  if (Result<std::vector<std::string>> listed = RegularFilesIn(folder_); listed)
    names_ = std::move(listed).value();
  else
    ports_.messages.ShowMessage(ReadFailure(listed.error()));
  std::vector<std::pair<std::string, std::string>> keyed;  // (folded list line, name)
  keyed.reserve(names_.size());
  for (std::string& name : names_) keyed.emplace_back(FoldCase(ListLine(name)), std::move(name));
  std::sort(keyed.begin(), keyed.end());
  names_.clear();
  std::string text;
  for (auto& [key, name] : keyed) {
    text.append(ListLine(name)).append(kCrLf);
    names_.push_back(std::move(name));
  }
  if (Status written = WriteFileAtomic(ports_.home.PathOf(WorkingFile::SnippetFile), text);
      !written)
    ports_.messages.ShowMessage(WriteFailure(written.error()));
  list_ = LoadSnippetList(std::move(text));
  if (list_->tree.jump) ports_.messages.ShowMessage(LevelErrorMessage(*list_->tree.jump));
  selected_ = std::clamp(selected_, 0, std::max(0, static_cast<int>(Nodes().size()) - 1));
}

void FileSnippets::Start() {
  page_ = SnippetPage::Tree;
  GetFileList();
  Preview();
}

// A file gone since the list was made leaves an empty preview.
void FileSnippets::Preview() {
  std::string text;
  if (!Nodes().empty() && !IsSymbolicLink(PathOf(selected_)))
    if (Result<std::string> read = ReadWholeFile(PathOf(selected_)); read)
      text = std::move(read).value();
  SetEditorText(preview_, text);
}

void FileSnippets::TreeView1Click(int node) {
  if (node < 0 || node >= static_cast<int>(Nodes().size())) return;
  selected_ = node;
  Preview();
}

// The file's text, or nothing (with a message) when it is gone or cannot be read.
std::optional<std::string> FileSnippets::ReadSnippet(int node) {
  const std::string path = PathOf(node);
  if (KindOfPath(path) == PathKind::Missing || IsSymbolicLink(path)) {
    std::string text = "ファイル \"";
    text += NameOf(node);
    text += "\" がありません";
    ports_.messages.ShowMessage(text);
    return std::nullopt;
  }
  Result<std::string> read = ReadWholeFile(path);
  if (!read) {
    ports_.messages.ShowMessage(ReadFailure(read.error()));
    return std::nullopt;
  }
  return std::move(read).value();
}

Insertion FileSnippets::ButtonSetClick() {
  if (Nodes().empty()) {
    ports_.messages.ShowMessage(std::string(kNothingToInsert));
    return Insertion::NotInserted;
  }
  // A vanished file pastes nothing: the main editor's selection and the clipboard stay.
  const std::optional<std::string> text = ReadSnippet(selected_);
  if (!text) return Insertion::NotInserted;
  return PasteIntoTarget(ports_, AsCrLfLines(*text));
}

void FileSnippets::ButtonEditClick() {
  if (Nodes().empty()) {
    ports_.messages.ShowMessage("編集対象がありません");
    return;
  }
  const std::optional<std::string> text = ReadSnippet(selected_);
  if (!text) return;
  edited_path_ = PathOf(selected_);
  SetEditorText(editor_, *text);
  page_ = SnippetPage::Edit;
}

void FileSnippets::ToTreePage() {
  page_ = SnippetPage::Tree;
  Preview();
}

void FileSnippets::ButtonTreeClick() {
  if (AskDiscard(ports_.messages, editor_) == Leaving::Stay) return;
  ToTreePage();
}

// A link that took the file's place is not followed out of the folder.
Status FileSnippets::WriteEdited() const {
  if (IsSymbolicLink(edited_path_)) {
    std::string text = "cannot write: ";
    text += edited_path_;
    text += " is a symbolic link";
    return Error{text, 0};
  }
  return WriteFileAtomic(edited_path_, editor_.Text());
}

// A failed write keeps the edit page and its modified mark.
void FileSnippets::ButtonSaveClick() {
  if (Status written = WriteEdited(); !written) {
    editor_.SetModified(true);
    ports_.messages.ShowMessage(WriteFailure(written.error()));
    return;
  }
  editor_.SetModified(false);
  ToTreePage();
}

void FileSnippets::ButtonDeleteClick() {
  if (Nodes().empty()) {
    ports_.messages.ShowMessage("削除対象がありません");
    return;
  }
  if (ports_.messages.AskYesNo(NameOf(selected_) + "\r\nを削除しますか？") != Answer::Yes) return;
  if (Status removed = RemoveFile(PathOf(selected_)); !removed)
    ports_.messages.ShowMessage(Failure("削除できませんでした", removed.error()));
  GetFileList();
  Preview();
}

void FileSnippets::Button3AddClick(const std::optional<std::string>& name) {
  if (!name || name->empty()) return;
  if (std::optional<std::string> problem = SnippetNameProblem(*name)) {
    ports_.messages.ShowMessage(*problem);
    return;
  }
  const std::string folded = FoldCase(*name);
  const auto same = [&folded](const std::string& n) { return FoldCase(n) == folded; };
  if (std::any_of(names_.begin(), names_.end(), same)) {
    ports_.messages.ShowMessage("同一のファイルがあるので、別の名前を設定してください");
    return;
  }
  // Exclusive: a file of that name that was not listed (a link, a folder, one made meanwhile)
  // is reported, never emptied.
  if (Status created = CreateNewFile(folder_ + "/" + *name); !created) {
    ports_.messages.ShowMessage(Failure("ファイルを作成できません", created.error()));
    return;
  }
  GetFileList();
  const auto it = std::find_if(names_.begin(), names_.end(), same);
  if (it != names_.end() && it - names_.begin() < static_cast<long>(Nodes().size()))
    selected_ = static_cast<int>(it - names_.begin());
  Preview();
}

void FileSnippets::ButtonPasteClick() {
  editor_.PasteFromClipboard();
}

void FileSnippets::MenuHelpClick() {
  ports_.messages.ShowMessage(std::string(kFileHelp));
}

Leaving FileSnippets::CloseQuery() {
  if (page_ != SnippetPage::Edit) return Leaving::Allowed;
  return AskDiscard(ports_.messages, editor_);
}

}  // namespace tessary
