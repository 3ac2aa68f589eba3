// Reserved-word and INI-section colouring: the word file, the loaded words and the three modes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/color.h"
#include "codec/file_choosers.h"
#include "editor/editor_control.h"
#include "editor/editor_fountain.h"
#include "platform/messages.h"
#include "platform/private_profile.h"

namespace tessary {

inline constexpr const char* kNoReservedWordsMessage = "予約語が読み込まれていません";
inline constexpr const char* kWordFileMissingMessage = "予約語ファイルがありません";
inline constexpr const char* kWordFileNotUtf8Message =
    "予約語ファイルがUTF-8ではないので読み込みません";
inline constexpr const char* kWordFileUnreadableMessage = "予約語ファイルを読み込めません";
// The settings section whose `FolderFile` holds the word file last read.
inline constexpr const char* kReserveSection = "Reserve";

// Which text takes the reserved-word colour: nothing, the loaded words, or INI section headers.
enum class ReserveMode { NoSet, ReserveSet, IniSet };

// The words of a word file, each line of its UTF-8 text (mark EF BB BF dropped, lines ended by
// CR LF, LF or CR) in Shift-JIS with "?" for what Shift-JIS cannot hold. Empty lines are left
// out: an empty token never matches. Text that is not well-formed UTF-8 gives nothing.
[[nodiscard]] std::optional<std::vector<std::string>> WordsOfWordFile(std::string_view bytes);

// Why a chosen word file gave no words; Loaded when it did.
enum class WordFileRead { Loaded, Missing, Unreadable, NotUtf8, Empty };

// What the reserved-word commands ask of the window around them.
class ReservedWordsPort {
 public:
  virtual ~ReservedWordsPort() = default;
  // The plain open dialog (no filter, no title of its own) started on `start`; the chosen
  // path, or nothing when cancelled.
  virtual std::optional<std::string> ChooseWordFile(const ChooserStart& start) = 0;
  // The colour dialog started on `current`; nothing when cancelled.
  virtual std::optional<TColor> ChooseReserveColor(TColor current) = 0;
  // The editor's normal background colour, the one the background colour command chooses.
  virtual TColor NormalBackColor() const = 0;
  // The check marks of the three mode items: exactly the one of `mode` is checked.
  virtual void SetReserveChecks(ReserveMode mode) = 0;
  // Panel 1 of both status bars.
  virtual void SetWordFilePanel(std::string_view file_name) = 0;
};

// The five commands over the editor's colouring scheme. Each change to the scheme is one batch,
// so the document is re-coloured once per command, and the view keeps its top row.
//
// The panel always names the file whose words are loaded: a word file that is missing, not
// readable, not UTF-8 or without words is reported, and the words, the mode, the panel and the
// stored path stay as they were; only the next dialog starts on the file chosen.
class ReservedWords {
 public:
  // `word_file_path` (UTF-8) is `Reserve`/`FolderFile` as read at start-up. The mode starts
  // as NoSet; the scheme is left as it is.
  ReservedWords(TEditorFountain& scheme, EditorControl& control, ReservedWordsPort& port,
                Messages& messages, PrivateProfile& ini, std::string word_file_path);

  void MenuReserveColorClick();
  void MenuReserveReadClick();
  void MenuReseveIniSetClick();
  void MenuReseveReserveSetClick();
  void MenuReseveNoSetClick();

  ReserveMode Mode() const { return mode_; }
  const std::vector<std::string>& Words() const { return words_; }
  // The file the words came from; empty until a file is loaded.
  const std::string& LoadedFile() const { return loaded_file_; }
  // Where the next open dialog starts: the file chosen last, loaded or not.
  const std::string& WordFilePath() const { return word_file_path_; }
  TColor ReserveColor() const { return scheme_.Reserve().Color(); }

  // Reads a word file as the read command does after its dialog (tests and benchmarks).
  [[nodiscard]] WordFileRead LoadWordFile(const std::string& path);

 private:
  // The three modes' changes to the scheme; the caller holds the batch.
  void ApplyMode(ReserveMode mode);
  void RemoveSectionBrackets();
  TFountainBracketItem* SectionBrackets();
  // Runs `change` as one batch of scheme changes, keeping the view's top row.
  template <class Change>
  void InOneBatch(Change&& change);
  void SetMode(ReserveMode mode);
  void Report(WordFileRead read, const std::string& path);

  TEditorFountain& scheme_;
  EditorControl& control_;
  ReservedWordsPort& port_;
  Messages& messages_;
  PrivateProfile& ini_;
  std::string word_file_path_;
  std::string loaded_file_;
  std::vector<std::string> words_;
  ReserveMode mode_ = ReserveMode::NoSet;
};

}  // namespace tessary
