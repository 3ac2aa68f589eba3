// Rules of the keyboard settings window: listing, the new-key checks, reset and the difference
// file.
#include "commands/key_board_model.h"

#include <array>

#include "commands/command_table.h"
#include "commands/key_stroke.h"

namespace tessary {
namespace {

// The first row of each main menu names the category of that menu.
constexpr std::array<CommandId, 9> kCategoryIds = {
    CommandId::MenuNewFile,      CommandId::MenuJump,        CommandId::MenuSearchWord,
    CommandId::MenuWrapNone,     CommandId::MenuKeyBoard,    CommandId::MenuEditorSetFocus,
    CommandId::MenuReserveColor, CommandId::MenuShowCsvList, CommandId::MenuShowHelp};

bool HasWord(std::string_view text, std::string_view word) {
  return text.find(word) != std::string_view::npos;
}

}  // namespace

std::string KeyInUseMessage(std::string_view group) {
  std::string text = "「";
  text.append(group).append("」\r\nで既に使用済みですので設定できません");
  return text;
}

std::vector<std::string> ModifierBoxEntries(std::string_view word) {
  return {" ", std::string(word)};
}

std::vector<std::string> KeyBoxEntries() {
  std::vector<std::string> entries{" "};
  for (std::string_view name : KeyNames()) entries.emplace_back(name);
  return entries;
}

KeyMap ChangedRows(const KeyMap& rows, const KeyMap& default_table) {
  KeyMap changed;
  for (const KeyMapRow& row : rows) {
    const KeyMapRow* def = FindKeyMapRow(default_table, row.id);
    if (def && def->shortcut != row.shortcut) changed.push_back(row);
  }
  return changed;
}

KeyBoardModel::KeyBoardModel(const KeyMap& default_table, KeyMapFiles& files, Messages& messages)
    : default_table_(default_table), files_(files), messages_(messages) {
  Result<std::optional<KeyMap>> loaded = files_.Load(files_.key_map_path());
  if (!loaded)
    messages_.ShowMessage(KeyMapReadErrorText(loaded.error()));
  else if (loaded.value())
    working_ = std::move(*loaded.value());
  BuildCategories();
}

void KeyBoardModel::BuildCategories() {
  categories_.clear();
  for (CommandId id : kCategoryIds)
    if (const KeyMapRow* row = FindKeyMapRow(working_, CommandIdText(id)))
      categories_.push_back(row->group);
}

void KeyBoardModel::Show() {
  category_.reset();
  items_.clear();
  selected_.reset();
  if (!categories_.empty()) ChooseCategory(0);
}

void KeyBoardModel::ChooseCategory(size_t index) {
  if (index >= categories_.size()) return;
  category_ = index;
  ListCategory();
}

std::string_view KeyBoardModel::CategoryText() const {
  return category_ ? std::string_view(categories_[*category_]) : std::string_view();
}

void KeyBoardModel::ListCategory() {
  items_.clear();
  selected_.reset();
  if (!category_) return;
  const std::string_view category = CategoryText();
  for (const KeyMapRow& row : working_)
    if (row.group == category) items_.push_back(Item{row.caption, row.shortcut, row.id});
  if (!items_.empty()) selected_ = 0;
  ShowSelectedKey();
}

void KeyBoardModel::SelectItem(std::optional<size_t> index) {
  selected_ = index && *index < items_.size() ? index : std::nullopt;
  ShowSelectedKey();
}

void KeyBoardModel::ShowSelectedKey() {
  if (items_.empty()) return;
  if (!selected_) selected_ = 0;
  const std::string& text = items_[*selected_].shortcut;
  boxes_.shift = HasWord(text, "Shift") ? 1 : 0;
  boxes_.ctrl = HasWord(text, "Ctrl") ? 1 : 0;
  boxes_.alt = HasWord(text, "Alt") ? 1 : 0;
  // An unknown key name leaves the key box as it was; an empty one matches the blank entry.
  const std::string name = ShortCutKeyName(text);
  if (name.empty()) {
    boxes_.key = 0;
    return;
  }
  const auto names = KeyNames();
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) {
      boxes_.key = static_cast<int>(i) + 1;
      return;
    }
  }
}

void KeyBoardModel::ChangeShift(int index) {
  boxes_.shift = index;
  StoreNewKey();
}

void KeyBoardModel::ChangeCtrl(int index) {
  boxes_.ctrl = index;
  StoreNewKey();
}

void KeyBoardModel::ChangeAlt(int index) {
  boxes_.alt = index;
  StoreNewKey();
}

void KeyBoardModel::ChangeKey(int index) {
  boxes_.key = index;
  StoreNewKey();
}

void KeyBoardModel::Clear() {
  boxes_ = Boxes{};
  StoreNewKey();
}

std::string KeyBoardModel::NewShortCutText() const {
  const auto names = KeyNames();
  const bool has_key = boxes_.key > 0 && static_cast<size_t>(boxes_.key) <= names.size();
  if (!has_key) return {};
  std::string text;
  if (boxes_.shift == 1) text += "Shift+";
  if (boxes_.ctrl == 1) text += "Ctrl+";
  if (boxes_.alt == 1) text += "Alt+";
  text += names[static_cast<size_t>(boxes_.key) - 1];
  return text;
}

const KeyMapRow* KeyBoardModel::RowHolding(std::string_view text) const {
  // The viewers' commands share the 拡張 group and never meet the main window's keys, so that
  // group is checked only against itself; every other group against all but 拡張.
  const bool extension = CategoryText() == kGroupExtension;
  for (const KeyMapRow& row : working_) {
    if ((row.group == kGroupExtension) != extension) continue;
    if (row.shortcut == text) return &row;
  }
  return nullptr;
}

void KeyBoardModel::StoreNewKey() {
  const bool any_modifier = boxes_.shift == 1 || boxes_.ctrl == 1 || boxes_.alt == 1;
  if (boxes_.key == 0 && any_modifier) {
    messages_.ShowMessage(kModifiersWithoutKeyMessage);
    return;
  }
  const std::string text = NewShortCutText();
  if (items_.empty()) return;  // nothing listed, nothing to change
  if (!selected_) selected_ = 0;
  Item& item = items_[*selected_];
  if (!text.empty()) {
    if (text == item.shortcut) {
      messages_.ShowMessage(kSameKeyMessage);
      return;
    }
    if (const KeyMapRow* holder = RowHolding(text)) {
      messages_.ShowMessage(KeyInUseMessage(holder->group));
      return;
    }
  }
  item.shortcut = text;
  if (KeyMapRow* row = FindKeyMapRow(working_, item.id)) row->shortcut = text;
}

std::optional<KeyBoardResult> KeyBoardModel::Ok() {
  // With nothing loaded there is nothing to save; an empty file would only disable every
  // shortcut until the next start replaced it.
  if (working_.empty()) return Cancel();
  Status saved = files_.Save(files_.key_map_path(), working_);
  if (!saved) {
    messages_.ShowMessage(KeyMapWriteErrorText(saved.error()));
    return std::nullopt;
  }
  return KeyBoardResult::Ok;
}

KeyBoardResult KeyBoardModel::Cancel() const {
  return written_ ? KeyBoardResult::Ok : KeyBoardResult::Cancel;
}

void KeyBoardModel::Reload(const KeyMap& fallback) {
  Result<std::optional<KeyMap>> loaded = files_.Load(files_.key_map_path());
  working_ = loaded && loaded.value() ? std::move(*loaded.value()) : fallback;
}

void KeyBoardModel::Init() {
  if (messages_.AskYesNo(kInitQuestion) != Answer::Yes) return;
  Status saved = files_.Save(files_.key_map_path(), default_table_);
  if (saved) {
    written_ = true;
    Reload(default_table_);
  } else {
    messages_.ShowMessage(KeyMapWriteErrorText(saved.error()));
    working_ = default_table_;
  }
  BuildCategories();
  Show();
}

bool KeyBoardModel::RefuseWithoutKeyMap() {
  // Without a key map every row would count as unchanged: an earlier difference file would be
  // emptied, or an applied one would write an empty key map.
  if (!working_.empty()) return false;
  messages_.ShowMessage(kKeyMapFileMissingMessage);
  return true;
}

void KeyBoardModel::SaveDiff() {
  if (messages_.AskYesNo(kSaveDiffQuestion) != Answer::Yes) return;
  if (RefuseWithoutKeyMap()) return;
  Status saved = files_.Save(files_.key_diff_path(), ChangedRows(working_, default_table_));
  messages_.ShowMessage(saved ? std::string(kDiffSavedMessage)
                              : KeyMapWriteErrorText(saved.error()));
}

void KeyBoardModel::LoadDiff() {
  if (messages_.AskYesNo(kApplyDiffQuestion) != Answer::Yes) return;
  if (RefuseWithoutKeyMap()) return;
  Result<std::optional<KeyMap>> diff = files_.Load(files_.key_diff_path());
  if (!diff) {
    messages_.ShowMessage(KeyMapReadErrorText(diff.error()));
  } else if (!diff.value()) {
    messages_.ShowMessage(kNoDiffFileMessage);
  } else {
    for (const KeyMapRow& changed : *diff.value())
      if (KeyMapRow* row = FindKeyMapRow(working_, changed.id)) row->shortcut = changed.shortcut;
    Status saved = files_.Save(files_.key_map_path(), working_);
    if (saved) {
      written_ = true;
      messages_.ShowMessage(kDiffAppliedMessage);
    } else {
      messages_.ShowMessage(KeyMapWriteErrorText(saved.error()));
    }
  }
  ListCategory();
}

}  // namespace tessary
