// Loading, saving and replacing the main window's document, with the user's questions.
#include "app/main_window_document.h"

#include <filesystem>
#include <system_error>

#include "codec/document_loader.h"
#include "codec/document_saver.h"
#include "codec/sjis_text.h"
#include "codec/streamed_text.h"
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

std::string ReadErrorMessage(const ReadError& e) {
  switch (e.failure) {
    case ReadFailure::Missing:
      return std::string(kDetectFileMissingMessage);
    case ReadFailure::Unreadable:
      return "Error : ファイルが読み込めません\r\n" + e.error.message;
    case ReadFailure::WorkingFileNotWritten:
      return "Error : 作業ファイルに書き込めません\r\n" + e.error.message;
  }
  return e.error.message;  // not reached: every kind is worded above
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
      home_(std::move(home)) {}

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

namespace {

// The file a command line names: one argument, or the second of two. The history and recent
// lists match whole paths, so a relative argument is made absolute.
std::optional<std::string> CommandLineFile(const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2) return std::nullopt;
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(args.back(), ec);
  return ec ? args.back() : p.lexically_normal().string();
}

}  // namespace

void MainWindowDocument::OpenCommandLine(const std::vector<std::string>& args) {
  const std::optional<std::string> path = CommandLineFile(args);
  if (!path) return;
  if (FileExists(*path)) LoadMenuChoice(*path);
  if (previewing_) {  // the load stopped: the start shown is no document
    previewing_ = false;
    editor_.ClearText();
    window_.SetCaptionFileName(text_file_name_);
    ShowCodePanels();
  }
  ApplyCommandLineProtection(args);
}

bool MainWindowDocument::PreviewCommandLine(const std::vector<std::string>& args,
                                            uint64_t preview_bytes) {
  const std::optional<std::string> path = CommandLineFile(args);
  if (!path) return false;
  const std::optional<uint64_t> size = FileSizeOf(*path);
  if (!size || *size < preview_bytes) return false;
  SetLoadIndexFromMenu();
  const std::optional<StreamedText> text =
      StreamedText::Open(*path, static_cast<CharCode>(load_index_));
  if (!text) return false;
  TextLines start = text->StartLines();
  if (start.Empty()) return false;
  // The rest of the file is taken to run as the start does, so the left bar is as wide now as
  // it will be with the whole document and the text does not shift when that arrives.
  const double per_byte =
      static_cast<double>(start.Count()) / static_cast<double>(text->StartBytes());
  editor_.SetTextLines(std::move(start));
  editor_.SetLinesAhead(static_cast<int64_t>(per_byte * static_cast<double>(*size)));
  window_.SetCaptionFileName(*path);
  window_.SetStatusText(StatusPanel::Code, CharCodeName(text->code()));
  window_.SetStatusText(StatusPanel::RetCode, RetCodeName(text->ret()));
  previewing_ = true;
  return true;
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

void MainWindowDocument::LoadFile() {
  const std::string path = state_.FileName;
  // Only a path that is not there is "missing"; a folder, a FIFO or a device is named by what
  // it is when the read refuses it.
  if (KindOfPath(path) == PathKind::Missing) {
    Show(kFileMissingMessage);
    return KeepShownDocument();
  }
  std::optional<LoadedText> t = ReadText(path, state_.ReadCode);
  if (!t) return KeepShownDocument();
  window_.SetCaptionFileName(path);
  for (StatusPanel p :
       {StatusPanel::Selection, StatusPanel::Code, StatusPanel::RetCode, StatusPanel::Protection})
    window_.SetStatusText(p, "");
  ShowText(path, *t);
  // A file gone by now leaves the size, the protection and the confirmation's names as they
  // were.
  const std::optional<uint64_t> size = FileSizeOf(path);
  if (!size) return Show(kFileMissingMessage);
  const bool read_only = FileHasReadOnlyAttribute(path) || t->WriteProtected();
  state_.ApplyFileFacts(*size, read_only ? FileProtection::ReadOnly : FileProtection::Writable);
  ApplyProtection();
  UpdateRecent();
  SetMenuRecent();
  window_.CloseOutline();
  window_.StartTimer(MainTimer::Timer1, kTimer1Milliseconds);
}

// Reads, classifies and decodes the file; nothing (after a message) when the read stops. The
// file's bytes move into the decoder, which decodes in place, and are gone on return: a 100 MB
// file is neither copied nor kept beside its text.
std::optional<LoadedText> MainWindowDocument::ReadText(const std::string& path,
                                                       CharCode requested) {
  std::variant<DetectedFile, ReadError> read = ReadAndDetect(path, WorkingFiles::WriteIn(home_));
  if (const ReadError* e = std::get_if<ReadError>(&read)) {
    state_.ApplyDetection(e->detection);
    Show(ReadErrorMessage(*e));
    return std::nullopt;
  }
  DetectedFile& f = std::get<DetectedFile>(read);
  state_.ApplyDetection(f.detection);
  return LoadDocumentBytes(std::move(f.bytes), requested, f.detection);
}

// The mixed line ends are reported before the text is shown, the other reasons for
// protection after it.
void MainWindowDocument::ShowText(const std::string& path, LoadedText& text) {
  previewing_ = false;
  state_.ApplyText(path, text);
  if (state_.MixedRetCode) Show(kMixedRetCodeMessage);
  editor_.SetTextLines(std::move(text.lines));
  text_file_name_ = path;
  text_read_code_ = text.code;
  if (state_.InvalidCharFound) Show(kInvalidCharMessage);
  if (text.text_cut_short) Show(kTextCutMessage);
  editor_.SetCaretRow(0);
  editor_.SetTopRow(0);
}

// Until the text is replaced the document still belongs to its old file.
void MainWindowDocument::KeepShownDocument() {
  state_.FileName = text_file_name_;
  state_.ReadCode = text_read_code_;
}

void MainWindowDocument::Timer1Timer() {
  editor_.ApplyWrapMode();
  JumpHistory();
  if (state_.FileSize > 0 && editor_.TextEmpty()) Show(kNoTextMessage);
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
  CharCode code = CharCode::SJIS;
  for (size_t i = 0; i < read_menu_.codes.size(); ++i) {
    if (read_menu_.codes[i]) {
      code = CodeAt(i);
      break;
    }
  }
  state_.ResetCodes(code);
}

void MainWindowDocument::MenuReadAutoClick() {
  read_menu_.auto_detect = !read_menu_.auto_detect;
  // Menu toggles write their key at once and again at shut-down: a failed write is retried.
  ini_.WriteBool("Editor", "ReadAuto", read_menu_.auto_detect).IgnoreFailure();
  window_.SetReadMenuChecks(read_menu_.auto_detect, read_menu_.codes);
}

void MainWindowDocument::MenuReadCodeClick(CharCode code) {
  if (!IsEightBit(code) && !IsSixteenBit(code)) return;
  if (read_menu_.Checked(code)) return;
  read_menu_.codes.fill(false);
  read_menu_.codes[static_cast<size_t>(code) - 1] = true;
  // Only the newly checked item's key is written; the others follow at shut-down.
  ini_.WriteBool("Editor", ReadMenuKey(code), true).IgnoreFailure();  // as above
  window_.SetReadMenuChecks(read_menu_.auto_detect, read_menu_.codes);
}

// ---- saving ----

bool MainWindowDocument::SaveFile(const std::string& target) {
  Status st = Success();
  editor_.WithLines([&](const LineSource& lines) {
    st = ::tessary::SaveFile(target, lines, state_.SaveCode, state_.SaveRetCode, home_);
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
  if (!state_.OverwriteLosesCharacters()) return true;
  return messages_.AskYesNo(ReplacedCharsQuestion(state_.ReplacedChars)) == Answer::Yes;
}

bool MainWindowDocument::OverwriteSave() {
  state_.PrepareOverwriteSave();
  if (!SaveFile(state_.FileName)) return false;
  state_.ReplacedChars = 0;  // the file now holds the "?" itself
  return true;
}

void MainWindowDocument::MenuSaveClick() {
  if (state_.FileName.empty()) return Show(kNoFileLoadedMessage);
  if (editor_.TextEmpty()) return Show(kNoContentMessage);
  if (state_.FileReadOnly) return Show(kFileReadOnlyMessage);
  if (!ConfirmOverwrite(state_.LoadedReadCodeName, state_.LoadedSaveCodeName,
                        state_.LoadedReadRetName, state_.LoadedSaveRetName))
    return;
  OverwriteSave();
}

void MainWindowDocument::MenuSaveCloseClick() {
  if (state_.FileName.empty() || !editor_.Modified()) return window_.CloseWindow();
  if (!ConfirmOverwrite(state_.ReadCodeName, state_.SaveCodeName, state_.ReadRetName,
                        state_.SaveRetName))
    return;
  if (OverwriteSave()) window_.CloseWindow();
}

void MainWindowDocument::MenuSaveAsClick() {
  if (editor_.TextEmpty()) return Show(kNoContentMessage);
  // Only the chooser's starting choice: without it the chooser starts on its default.
  ini_.WriteInteger("Save", "CharCode", static_cast<int>(state_.SaveCode)).IgnoreFailure();
  ini_.WriteInteger("Save", "CrLfCode", static_cast<int>(state_.SaveRetCode)).IgnoreFailure();
  std::optional<SaveChoice> choice = window_.ChooseSaveAsFile(state_.SaveCode, state_.SaveRetCode);
  if (!choice) return;
  // Saving under the loaded file's own name overwrites it just as an overwrite save does.
  const bool over_loaded_file = SamePath(choice->path, state_.FileName);
  if (over_loaded_file && state_.OverwriteLosesCharacters() &&
      messages_.AskYesNo(ReplacedCharsQuestion(state_.ReplacedChars)) != Answer::Yes)
    return;
  save_as_file_name_ = choice->path;
  state_.SaveCode = choice->code;
  state_.SaveRetCode = choice->ret;
  if (SaveFile(choice->path) && over_loaded_file) state_.ReplacedChars = 0;
}

// ---- document commands ----

bool MainWindowDocument::DiscardAllowed() {
  if (!editor_.Modified()) return true;
  return messages_.AskYesNo(std::string(kDiscardQuestion)) == Answer::Yes;
}

void MainWindowDocument::MenuNewFileClick() {
  if (!DiscardAllowed()) return;
  state_.FileName.clear();
  text_file_name_.clear();
  editor_.ClearText();
  editor_.SetModified(false);
  SetLoadIndexFromMenu();
  SetLoadCharFromMenu();
  text_read_code_ = state_.ReadCode;
  state_.ReplacedChars = 0;
  state_.FileReadOnly = false;
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
  state_.FileName = choice->path;
  state_.ReadCode = choice->code;
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

void MainWindowDocument::OpenFavorite(const std::string& path, CharCode code) {
  if (!DiscardAllowed()) return;
  if (path.empty() || !FileExists(path)) {
    std::string text(kFileMissingMessage);
    text += "\r\n";
    text += path;
    return Show(text);
  }
  UpdateHistory();
  state_.ReadCode = code;
  state_.FileName = path;
  LoadFile();
}

void MainWindowDocument::MenuReadOnlyClick() {
  if (menu_read_only_ && state_.FileReadOnly) return Show(kFileReadOnlyMessage);
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
  state_.FileName = path;
  SetLoadIndexFromMenu();
  state_.ReadCode = static_cast<CharCode>(load_index_);
  LoadFile();
}

// ---- lists ----

void MainWindowDocument::UpdateHistory() {
  history_.Update(state_.FileName, editor_.CaretRow());
}

void MainWindowDocument::JumpHistory() {
  std::optional<int32_t> row = history_.Lookup(state_.FileName, editor_.LineCount());
  if (!row) return;
  editor_.SetCaretRow(*row);
  editor_.SetTopRow(*row);
}

void MainWindowDocument::UpdateRecent() {
  recent_.Update(state_.FileName);
}

void MainWindowDocument::SetMenuRecent() {
  std::array<std::string, RecentList::kSize> captions;
  for (size_t i = 0; i < captions.size(); ++i) captions[i] = recent_.MenuCaption(i + 1);
  window_.SetRecentCaptions(captions);
}

// ---- helpers ----

void MainWindowDocument::ApplyProtection() {
  const bool read_only = state_.FileReadOnly;
  editor_.SetReadOnly(read_only);
  editor_.SetModified(false);
  menu_read_only_ = read_only;
  window_.SetReadOnlyChecked(read_only);
  editor_.SetEditorColor();
  window_.SetStatusText(StatusPanel::Selection, read_only ? kReadOnlyPanelText : "");
  ShowCodePanels();
  window_.SetStatusText(StatusPanel::Protection, read_only ? kProtectedPanelText : "");
}

void MainWindowDocument::ShowCodePanels() {
  window_.SetStatusText(StatusPanel::Code, state_.ReadCodeName);
  window_.SetStatusText(StatusPanel::RetCode, state_.ReadRetName);
}

}  // namespace tessary
