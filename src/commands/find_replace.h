// Find and replace without windows: the option boxes, the word, the history lists and the runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/find_in_text.h"
#include "platform/app_home.h"
#include "platform/mru_list.h"

namespace tessary {

class EditorControl;
class Messages;
class PrivateProfile;

// Which editor a find window searches, and so which history file it keeps.
enum class FindTarget : uint8_t { Main, OstrBoard };
enum class SearchDirection : uint8_t { Previous, Next };
enum class FindWindow : uint8_t { Find, Replace };

// The four option boxes, shared by the find and the replace window through the settings file.
struct FindBoxes {
  bool match_case = false;
  bool whole_word = false;
  bool no_match_zenkaku = false;  // half-width and full-width forms are equal
  bool include_crlf = false;      // line ends and blanks inside the text are skipped
  [[nodiscard]] TSearchOptions Options(SearchDirection direction) const;
  bool operator==(const FindBoxes&) const = default;
};
[[nodiscard]] FindBoxes ReadFindBoxes(const PrivateProfile& ini);

// History entries and stored search words reach at most this many bytes (cut at a character).
constexpr size_t kMaxStoredWordBytes = 1024;
constexpr size_t kFindHistoryLength = 32;

// A text as one line that the settings file keeps exactly: backslash, CR, LF and TAB become
// "\\", "\r", "\n", "\t"; a blank or quote at either end becomes "\s", "\q" or "\a". A
// backslash before any other character stays as it is when read back.
[[nodiscard]] std::string EscapeOneLine(std::string_view text);
[[nodiscard]] std::string UnescapeOneLine(std::string_view line);
// The first kMaxStoredWordBytes bytes of a UTF-8 text, never cutting a character.
[[nodiscard]] std::string CappedWord(std::string_view utf8);

// The history files' codec: each entry escaped into its one line, then Shift-JIS.
[[nodiscard]] ListTextCodec EscapedSjisListCodec();

// Messages of the search commands (UTF-8).
namespace find_text {
inline constexpr std::string_view kNoWord = "検索語が設定されていません";
inline constexpr std::string_view kNotFoundMain = "検索しましたがが見つかりませんでした\r\n";
inline constexpr std::string_view kNotFoundBoard = "検索しましたが見つかりませんでした\r\n";
inline constexpr std::string_view kAskReplaceAll = "現在位置から文末まで、全て置き換えますか？";
inline constexpr std::string_view kReplacedCount = " 個を置き換えました";
inline constexpr std::string_view kReadOnly = "書込禁止なので操作は無効です";
}  // namespace find_text

// The find or the replace window's state and commands. Texts are UTF-8 (the window's boxes);
// they reach the editor as Shift-JIS. Created when the window opens, dropped when it closes.
class FindReplaceModel {
 public:
  // Reads the boxes, Direction, AutoClose and the target from the settings file and the
  // history lists of the target; the word is `handed` when the opener gives it in memory, else
  // the stored SearchWord. Then an empty SearchWord is stored, so that closing without a search
  // hands back an empty word.
  FindReplaceModel(const AppHome& home, Messages& messages, FindWindow window,
                   std::optional<std::string> handed = std::nullopt);

  FindTarget Target() const { return target_; }
  FindWindow Window() const { return window_; }
  FindBoxes boxes;
  std::string word;         // the search box
  std::string replacement;  // the replacement box
  bool auto_close = false;
  SearchDirection direction = SearchDirection::Next;
  const std::vector<std::string>& SearchHistory() const { return words_.entries(); }
  const std::vector<std::string>& ReplaceHistory() const { return replacements_.entries(); }

  enum class Outcome : uint8_t { Found, NotFound, NoWord, Refused, Declined };
  // "次を検索" / "前を検索" (Enter, F3, Shift+F3): remembers the word and the settings, then
  // searches; a failed search shows its message and changes neither selection nor history.
  Outcome Find(EditorControl& editor, SearchDirection direction);
  // Found with the auto-close box checked: the find window closes.
  bool ClosesAfter(Outcome outcome) const {
    return outcome == Outcome::Found && auto_close && window_ == FindWindow::Find;
  }
  // "置換": the replacement goes to the top of its list; a non-empty selection becomes it.
  Outcome Replace(EditorControl& editor);
  // "全て置換": asks first; every match from the current position to the end replaced as one
  // edit; shows and returns the count.
  std::optional<int64_t> ReplaceAll(EditorControl& editor);
  // Closing the window: AutoClose is stored.
  void Close();
  // The word the opener takes back after the window closed: the last one searched for.
  const std::string& HandBack() const { return hand_back_; }

 private:
  void Remember(SearchDirection direction);
  void NotFound();

  AppHome home_;
  Messages& messages_;
  FindWindow window_;
  FindTarget target_ = FindTarget::Main;
  MruList words_;
  MruList replacements_;
  std::string hand_back_;
};

// The main window's search word and direction bit, F3 and Shift+F3, and the words it hands to
// the find and the replace window. The board log viewer keeps one of its own for its full-log
// pane: its F3 and Shift+F3 search without the option boxes.
class MainSearch {
 public:
  MainSearch(const AppHome& home, Messages& messages, FindTarget target = FindTarget::Main)
      : home_(home), messages_(messages), target_(target) {}

  const std::string& Word() const { return word_; }
  void SetWord(std::string word) { word_ = std::move(word); }
  // F3 / Shift+F3 with the option boxes as last stored.
  bool Search(EditorControl& editor, SearchDirection direction);
  // The word for "検索": the selection, else the word at the caret (selected), else empty;
  // stored as SearchWord with the target "Main" for the window that opens next.
  std::string WordForFind(EditorControl& editor);
  // "１行コピーして検索": the caret's line without TABs and surrounding blanks.
  std::string LineForFind(EditorControl& editor);
  // "置換": refused on a read-only editor (message shown); else the selection, or the word at
  // the caret when a delimiter stands before it, without changing the selection.
  std::optional<std::string> WordForReplace(EditorControl& editor);
  // After the window closed.
  void TakeBack(const FindReplaceModel& model) { word_ = model.HandBack(); }

 private:
  void Hand(const std::string& word, FindTarget target);

  AppHome home_;
  Messages& messages_;
  FindTarget target_;
  std::string word_;
};

}  // namespace tessary
