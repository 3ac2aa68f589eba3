// The keyboard settings window without its widgets: categories, list, the four boxes, buttons.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "commands/key_map.h"
#include "platform/messages.h"

namespace tessary {

inline constexpr const char* kKeyBoardCaption = "キーボード設定";

inline constexpr const char* kModifiersWithoutKeyMessage =
    "Shift,Ctrl,Altのキーが設定されていますが\r\nキーが設定されていません";
inline constexpr const char* kSameKeyMessage = "同一の設定です";
inline constexpr const char* kInitQuestion = "設定を初期化して保存します。初期化を実行しますか？";
inline constexpr const char* kSaveDiffQuestion = "変更分をファイルに上書で保存しますか？";
inline constexpr const char* kDiffSavedMessage = "ファイルが保存されました\r\nTessary-KeyDiff.txt";
inline constexpr const char* kApplyDiffQuestion =
    "変更分のファイルを反映して、ファイルに保存しますか？";
inline constexpr const char* kDiffAppliedMessage =
    "ファイルを読み込み反映しました\r\nTessary-KeyDiff.txt";
inline constexpr const char* kNoDiffFileMessage = "ファイルがありません\r\nTessary-KeyDiff.txt";
// Shown when the window has no key map to work on (the file was missing or unreadable).
inline constexpr const char* kKeyMapFileMissingMessage =
    "キーボード設定のファイルが在りませんでした";

// "「" group "」" CR LF "で既に使用済みですので設定できません".
std::string KeyInUseMessage(std::string_view group);

// The entries of the Shift, Ctrl and Alt boxes ({" ", word}) and of the key box (" " and the
// key names). Entry 0 is the blank entry of each.
std::vector<std::string> ModifierBoxEntries(std::string_view word);
std::vector<std::string> KeyBoxEntries();

// How the window closed; Ok makes the main window re-apply the key map file.
enum class KeyBoardResult { Ok, Cancel };

class KeyBoardModel {
 public:
  struct Item {
    std::string caption;
    std::string shortcut;
    std::string id;
  };
  // Box indexes: 0 blank, 1 the word (modifiers) or the key name KeyNames()[index - 1].
  struct Boxes {
    int shift = 0;
    int ctrl = 0;
    int alt = 0;
    int key = 0;
    bool operator==(const Boxes&) const = default;
  };

  // Creation: the working copy is the key map file (empty when it is missing or unreadable,
  // the latter reported). default_table is the main window's, read by reset and by saving
  // the difference.
  KeyBoardModel(const KeyMap& default_table, KeyMapFiles& files, Messages& messages);

  // Showing: the first category is chosen and listed.
  void Show();
  void ChooseCategory(size_t index);
  // A click or a key press in the list, with the item then selected (nothing: none is).
  void SelectItem(std::optional<size_t> index);

  // A change of one box by the user: the new key is checked and stored.
  void ChangeShift(int index);
  void ChangeCtrl(int index);
  void ChangeAlt(int index);
  void ChangeKey(int index);
  // "ｸﾘｱ(&R)": all boxes blank, then the same as a change.
  void Clear();

  // "OK(&O)": writes the working copy; nothing when the window must stay open because the
  // file could not be written (the working copy is kept, so nothing the user did is lost).
  std::optional<KeyBoardResult> Ok();
  // "ｷｬﾝｾﾙ(&C)" and Esc: Ok when the file was written meanwhile (reset, applied difference).
  KeyBoardResult Cancel() const;
  // "初期化(&I)", "変更分を保存(&S)", "変更分を反映(&A)": each asks first.
  void Init();
  void SaveDiff();
  void LoadDiff();

  const std::vector<std::string>& categories() const { return categories_; }
  std::optional<size_t> category() const { return category_; }
  const std::vector<Item>& items() const { return items_; }
  std::optional<size_t> selected() const { return selected_; }
  const Boxes& boxes() const { return boxes_; }
  const KeyMap& working_copy() const { return working_; }
  bool written() const { return written_; }

 private:
  void BuildCategories();
  void ListCategory();
  void ShowSelectedKey();
  void StoreNewKey();
  std::string NewShortCutText() const;
  const KeyMapRow* RowHolding(std::string_view text) const;
  std::string_view CategoryText() const;
  void Reload(const KeyMap& fallback);
  bool RefuseWithoutKeyMap();

  const KeyMap& default_table_;
  KeyMapFiles& files_;
  Messages& messages_;
  KeyMap working_;
  std::vector<std::string> categories_;
  std::optional<size_t> category_;
  std::vector<Item> items_;
  std::optional<size_t> selected_;
  Boxes boxes_;
  bool written_ = false;
};

// The rows of `rows` whose shortcut differs from that of the first default row with the same
// id, in the order of `rows`; rows whose id the defaults lack are left out.
KeyMap ChangedRows(const KeyMap& rows, const KeyMap& default_table);

}  // namespace tessary
