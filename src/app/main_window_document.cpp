// Loading, saving and replacing the main window's document, with the user's questions.
#include "app/main_window_document.h"

#include <filesystem>
#include <system_error>

#include "codec/sjis_text.h"
#include "codec/document_loader.h"
#include "codec/document_saver.h"
#include "platform/app_home.h"
#include "platform/file_io.h"

namespace tessary {
namespace {

constexpr int kTimer1Milliseconds = 100;
constexpr int kTimer2Milliseconds = 200;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

CharCode CodeAt(size_t index) {
  return static_cast<CharCode>(static_cast<int>(index) + 1);
}

}  // namespace

std::string SaveConfirmationText(std::string_view read_code, std::string_view save_code,
                                 std::string_view read_ret, std::string_view save_ret) {
  std::string t = "読込と保存は以下の文字コードです。よろしいですか？\r\n読込 : ";
  t.append(read_code).append("\r\n").append("保存 : ").append(save_code).append("\r\n");
  t.append("読込 : ").append(read_ret).append("\r\n").append("保存 : ").append(save_ret);
  return t;
}

std::string ReplacedCharsQuestion(uint64_t count) {
  return "読込時に SJIS で表示できなかった " + std::to_string(count) +
         " 文字は ? または近い文字として保存されます。\r\nよろしいですか？";
}

bool FileHasReadOnlyAttribute(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::perms p = fs::status(path, ec).permissions();
  if (ec) return false;
  constexpr fs::perms kWrite =
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  return (p & kWrite) == fs::perms::none;
}

bool CommandLineReadOnly(const std::vector<std::string>& args) {
  return args.size() == 2 && EqualsIgnoringCase(args[0], "/r");
}

MainWindowDocument::MainWindowDocument(DocumentEditorPort& editor, MainWindowPort& window,
                                       Messages& messages, PrivateProfile& ini,
                                       const ReadCodeMenu& read_menu, AppHome home)
    : editor_(editor),
      window_(window),
      messages_(messages),
      ini_(ini),
      read_menu_(read_menu),
      home_(std::move(home)) {
  SetNames(CharCodeName(CharCode::SJIS), RetCodeName(RetCode::CrLf));
}

// ---- start-up and shut-down ----

void MainWindowDocument::Start() {
  const PathCodec codec = SjisListCodec();
  history_.Load(home_.PathOf(WorkingFile::History), codec);
  recent_.Load(home_.PathOf(WorkingFile::Recent), codec);
  SetLoadIndexFromMenu();
  SetLoadCharFromMenu();
  window_.SetReadMenuChecks(read_menu_.auto_detect, read_menu_.codes);
  SetMenuRecent();
  window_.SetCaptionFileName("");
  window_.SetStatusText(StatusPanel::Selection, "");
  ShowCodePanels();
  window_.SetStatusText(StatusPanel::Protection, "");
}

void MainWindowDocument::ApplyCommandLineProtection(const std::vector<std::string>& args) {
  if (!CommandLineReadOnly(args)) return;
  menu_read_only_ = true;
  window_.SetReadOnlyChecked(true);
  editor_.SetReadOnly(true);
  editor_.SetEditorColor();
}

void MainWindowDocument::OpenCommandLine(const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2) return;
  // The history and recent lists match whole paths, so a relative argument is made absolute.
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(args.back(), ec);
  const std::string path = ec ? args.back() : p.lexically_normal().string();
  if (FileExists(path)) LoadMenuChoice(path);
  ApplyCommandLineProtection(args);
}

bool MainWindowDocument::CloseQuery() {
  if (!editor_.Modified()) return true;
  return messages_.AskYesNo(std::string(kQuitQuestion)) == Answer::Yes;
}

void MainWindowDocument::OnClose() {
  UpdateHistory();
}

Status MainWindowDocument::SaveLists() const {
  const PathCodec codec = SjisListCodec();
  Status h = history_.Save(home_.PathOf(WorkingFile::History), codec);
  Status r = recent_.Save(home_.PathOf(WorkingFile::Recent), codec);
  return h ? r : h;
}

// ---- loading ----

std::optional<MainWindowDocument::DetectedFile> MainWindowDocument::GetCharCodeRetCode(
    const std::string& file_name) {
  invalid_char_found_ = false;
  mixed_ret_code_ = false;
  if (KindOfPath(file_name) == PathKind::Missing) {
    Show(kDetectFileMissingMessage);
    return std::nullopt;
  }
  // An unreadable file is reported, never classified as the zero bytes it was not.
  Result<std::string> bytes = ReadWholeFile(file_name);
  if (!bytes) {
    Show("Error : ファイルが読み込めません\r\n" + bytes.error().message);
    return std::nullopt;
  }
  DetectedFile f{std::move(bytes).value(), {}};
  f.detection = DetectCharCode(f.bytes);
  detected_code_ = f.detection.code;
  detected_ret_code_ = f.detection.ret;
  invalid_char_found_ = f.detection.invalid_char_found;
  mixed_ret_code_ = f.detection.mixed_ret_code;
  if (f.detection.unknown_file) {
    Status s = WriteFileAtomic(home_.PathOf(WorkingFile::UnKnown), *f.detection.unknown_file);
    if (!s) {
      Show("Error : 作業ファイルに書き込めません\r\n" + s.error().message);
      return std::nullopt;
    }
  }
  return f;
}

void MainWindowDocument::LoadFile() {
  const std::string path = file_name_;
  const CharCode requested = read_code_;
  // Until the text is replaced the document still belongs to its old file.
  auto keep_old_document = [&] {
    file_name_ = text_file_name_;
    read_code_ = text_read_code_;
  };
  // Only a path that is not there is "missing"; a folder, a FIFO or a device is named by what
  // it is when the read refuses it.
  if (KindOfPath(path) == PathKind::Missing) {
    Show(kFileMissingMessage);
    keep_old_document();
    return;
  }
  detected_code_ = CharCode::SJIS;
  detected_ret_code_ = RetCode::CrLf;
  std::optional<DetectedFile> f = GetCharCodeRetCode(path);
  if (!f) {
    keep_old_document();
    return;
  }
  window_.SetCaptionFileName(path);
  for (StatusPanel p :
       {StatusPanel::Selection, StatusPanel::Code, StatusPanel::RetCode, StatusPanel::Protection})
    window_.SetStatusText(p, "");

  // The file's bytes move into the loader, which decodes in place: a 100 MB file is not copied.
  LoadedText t = LoadDocumentBytes(std::move(f->bytes), requested, f->detection);
  f.reset();  // the file's bytes are not needed beside the text
  read_code_ = save_code_ = loaded_code_ = t.code;
  read_ret_code_ = save_ret_code_ = loaded_ret_code_ = t.ret;
  if (mixed_ret_code_) Show(kMixedRetCodeMessage);
  editor_.SetTextLines(t.lines);
  text_file_name_ = path;
  text_read_code_ = t.code;
  replaced_chars_ = t.replaced_chars;
  if (invalid_char_found_) Show(kInvalidCharMessage);
  if (t.text_cut_short) Show(kTextCutMessage);
  editor_.SetCaretRow(0);
  editor_.SetTopRow(0);
  SetNames(t.code_name, t.ret_name);

  const std::optional<uint64_t> size = FileSizeOf(path);
  if (!size) {
    Show(kFileMissingMessage);
    return;
  }
  file_size_ = *size;
  if (file_size_ == 0) {
    read_code_ = save_code_ = loaded_code_ = CharCode::SJIS;
    read_ret_code_ = save_ret_code_ = loaded_ret_code_ = RetCode::CrLf;
    SetNames(CharCodeName(CharCode::SJIS), RetCodeName(RetCode::CrLf));
  }
  SetProtection(FileHasReadOnlyAttribute(path) || t.WriteProtected());
  loaded_read_code_name_ = read_code_name_;
  loaded_read_ret_name_ = read_ret_name_;
  loaded_save_code_name_ = save_code_name_;
  loaded_save_ret_name_ = save_ret_name_;
  UpdateRecent();
  SetMenuRecent();
  window_.CloseOutline();
  window_.StartTimer(MainTimer::Timer1, kTimer1Milliseconds);
}

void MainWindowDocument::Timer1Timer() {
  editor_.ApplyWrapMode();
  JumpHistory();
  if (file_size_ > 0 && editor_.TextEmpty()) Show(kNoTextMessage);
}

void MainWindowDocument::Timer2Timer() {
  Show(kFileMissingMessage);
}

void MainWindowDocument::SetLoadIndexFromMenu() {
  load_index_ = 0;
  if (read_menu_.auto_detect) return;
  for (size_t i = 0; i < read_menu_.codes.size(); ++i) {
    if (read_menu_.codes[i]) {
      load_index_ = static_cast<int>(i) + 1;
      return;
    }
  }
}

void MainWindowDocument::SetLoadCharFromMenu() {
  read_code_ = CharCode::SJIS;
  for (size_t i = 0; i < read_menu_.codes.size(); ++i) {
    if (read_menu_.codes[i]) {
      read_code_ = CodeAt(i);
      break;
    }
  }
  read_ret_code_ = RetCode::CrLf;
  save_code_ = read_code_;
  save_ret_code_ = read_ret_code_;
  SetNames(CharCodeName(read_code_), RetCodeName(read_ret_code_));
}

void MainWindowDocument::MenuReadAutoClick() {
  read_menu_.auto_detect = !read_menu_.auto_detect;
  ini_.WriteBool("Editor", "ReadAuto", read_menu_.auto_detect);
  window_.SetReadMenuChecks(read_menu_.auto_detect, read_menu_.codes);
}

void MainWindowDocument::MenuReadCodeClick(CharCode code) {
  if (!IsEightBit(code) && !IsSixteenBit(code)) return;
  if (read_menu_.Checked(code)) return;
  read_menu_.codes.fill(false);
  read_menu_.codes[static_cast<size_t>(code) - 1] = true;
  // Only the newly checked item's key is written; the others follow at shut-down.
  ini_.WriteBool("Editor", ReadMenuKey(code), true);
  window_.SetReadMenuChecks(read_menu_.auto_detect, read_menu_.codes);
}

// ---- saving ----

bool MainWindowDocument::SaveFile(const std::string& target) {
  Status st = Success();
  editor_.WithLines([&](const LineSource& lines) {
    st = ::tessary::SaveFile(target, lines, save_code_, save_ret_code_, home_);
  });
  // The writer never leaves the target half written; the document stays modified so that
  // nothing is lost by quitting after a failed save.
  if (!st) {
    Show("Error : 保存できませんでした\r\n" + st.error().message);
    return false;
  }
  editor_.SetModified(false);
  return true;
}

bool MainWindowDocument::ConfirmOverwrite(std::string_view read_code, std::string_view save_code,
                                          std::string_view read_ret, std::string_view save_ret) {
  if (messages_.AskYesNo(SaveConfirmationText(read_code, save_code, read_ret, save_ret)) !=
      Answer::Yes)
    return false;
  // Writing over the loaded file makes the loss of unrepresentable characters final.
  if (replaced_chars_ == 0) return true;
  return messages_.AskYesNo(ReplacedCharsQuestion(replaced_chars_)) == Answer::Yes;
}

bool MainWindowDocument::OverwriteSave() {
  save_code_ = loaded_code_;
  save_ret_code_ = loaded_ret_code_;
  if (!SaveFile(file_name_)) return false;
  replaced_chars_ = 0;  // the file now holds the "?" itself
  return true;
}

void MainWindowDocument::MenuSaveClick() {
  if (file_name_.empty()) return Show(kNoFileLoadedMessage);
  if (editor_.TextEmpty()) return Show(kNoContentMessage);
  if (file_read_only_) return Show(kFileReadOnlyMessage);
  if (!ConfirmOverwrite(loaded_read_code_name_, loaded_save_code_name_, loaded_read_ret_name_,
                        loaded_save_ret_name_))
    return;
  OverwriteSave();
}

void MainWindowDocument::MenuSaveCloseClick() {
  if (file_name_.empty() || !editor_.Modified()) return window_.CloseWindow();
  if (!ConfirmOverwrite(read_code_name_, save_code_name_, read_ret_name_, save_ret_name_)) return;
  if (OverwriteSave()) window_.CloseWindow();
}

void MainWindowDocument::MenuSaveAsClick() {
  if (editor_.TextEmpty()) return Show(kNoContentMessage);
  ini_.WriteInteger("Save", "CharCode", static_cast<int>(save_code_));
  ini_.WriteInteger("Save", "CrLfCode", static_cast<int>(save_ret_code_));
  std::optional<SaveChoice> choice = window_.ChooseSaveAsFile(save_code_, save_ret_code_);
  if (!choice) return;
  // Saving under the loaded file's own name overwrites it just as an overwrite save does.
  if (replaced_chars_ > 0 && SamePath(choice->path, file_name_) &&
      messages_.AskYesNo(ReplacedCharsQuestion(replaced_chars_)) != Answer::Yes)
    return;
  save_as_file_name_ = choice->path;
  save_code_ = choice->code;
  save_ret_code_ = choice->ret;
  if (SaveFile(choice->path) && SamePath(choice->path, file_name_)) replaced_chars_ = 0;
}

// ---- document commands ----

bool MainWindowDocument::DiscardAllowed() {
  if (!editor_.Modified()) return true;
  return messages_.AskYesNo(std::string(kDiscardQuestion)) == Answer::Yes;
}

void MainWindowDocument::MenuNewFileClick() {
  if (!DiscardAllowed()) return;
  file_name_.clear();
  text_file_name_.clear();
  editor_.ClearText();
  editor_.SetModified(false);
  SetLoadIndexFromMenu();
  SetLoadCharFromMenu();
  text_read_code_ = read_code_;
  replaced_chars_ = 0;
  file_read_only_ = false;
  menu_read_only_ = false;
  window_.SetReadOnlyChecked(false);
  editor_.SetReadOnly(false);
  editor_.SetEditorColor();
  window_.SetStatusText(StatusPanel::Selection, "");
  ShowCodePanels();
  window_.SetStatusText(StatusPanel::Protection, "");
}

void MainWindowDocument::MenuOpenClick() {
  if (!DiscardAllowed()) return;
  UpdateHistory();
  // The chooser starts on the read menu's current choice, whatever was clicked since the last
  // load.
  SetLoadIndexFromMenu();
  std::optional<OpenChoice> choice = window_.ChooseOpenFile();
  if (!choice) return;
  file_name_ = choice->path;
  read_code_ = choice->code;
  LoadFile();
}

void MainWindowDocument::MenuRecentClick(int n) {
  if (!DiscardAllowed()) return;
  if (n < 1 || n > static_cast<int>(RecentList::kSize)) return;
  const std::string path = recent_.entries()[static_cast<size_t>(n - 1)];
  if (path.empty() || !FileExists(path)) return Show(kFileMissingMessage);
  UpdateHistory();
  LoadMenuChoice(path);
}

void MainWindowDocument::MenuReadOnlyClick() {
  if (menu_read_only_ && file_read_only_) return Show(kFileReadOnlyMessage);
  menu_read_only_ = !menu_read_only_;
  window_.SetReadOnlyChecked(menu_read_only_);
  editor_.SetReadOnly(menu_read_only_);
  window_.SetStatusText(StatusPanel::Protection, menu_read_only_ ? kProtectedPanelText : "");
  editor_.SetEditorColor();
}

void MainWindowDocument::MenuNewEditorClick() {
  window_.StartNewEditorProcess();
}

void MainWindowDocument::DropFiles(const std::vector<std::string>& paths) {
  if (paths.empty() || !DiscardAllowed()) return;
  if (paths.size() > 1) return Show(kDropOneFileMessage);
  if (FileExists(paths.front())) return LoadMenuChoice(paths.front());
  // Shown once the drop operation has ended, so the source program is not held up.
  window_.StartTimer(MainTimer::Timer2, kTimer2Milliseconds);
}

void MainWindowDocument::LoadMenuChoice(const std::string& path) {
  file_name_ = path;
  SetLoadIndexFromMenu();
  read_code_ = static_cast<CharCode>(load_index_);
  LoadFile();
}

// ---- lists ----

void MainWindowDocument::UpdateHistory() {
  history_.Update(file_name_, editor_.CaretRow());
}

void MainWindowDocument::JumpHistory() {
  std::optional<int32_t> row = history_.Lookup(file_name_, editor_.LineCount());
  if (!row) return;
  editor_.SetCaretRow(*row);
  editor_.SetTopRow(*row);
}

void MainWindowDocument::UpdateRecent() {
  recent_.Update(file_name_);
}

void MainWindowDocument::SetMenuRecent() {
  std::array<std::string, RecentList::kSize> captions;
  for (size_t i = 0; i < captions.size(); ++i) captions[i] = recent_.MenuCaption(i + 1);
  window_.SetRecentCaptions(captions);
}

// ---- helpers ----

void MainWindowDocument::SetProtection(bool read_only) {
  editor_.SetReadOnly(read_only);
  editor_.SetModified(false);
  file_read_only_ = read_only;
  menu_read_only_ = read_only;
  window_.SetReadOnlyChecked(read_only);
  editor_.SetEditorColor();
  window_.SetStatusText(StatusPanel::Selection, read_only ? kReadOnlyPanelText : "");
  ShowCodePanels();
  window_.SetStatusText(StatusPanel::Protection, read_only ? kProtectedPanelText : "");
}

void MainWindowDocument::ShowCodePanels() {
  window_.SetStatusText(StatusPanel::Code, read_code_name_);
  window_.SetStatusText(StatusPanel::RetCode, read_ret_name_);
}

void MainWindowDocument::SetNames(std::string_view code, std::string_view ret) {
  read_code_name_ = save_code_name_ = std::string(code);
  read_ret_name_ = save_ret_name_ = std::string(ret);
}

}  // namespace tessary
