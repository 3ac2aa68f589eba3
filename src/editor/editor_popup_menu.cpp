// Builds the control's pop-up menu from its state.
#include "editor/editor_popup_menu.h"

namespace tessary {
namespace {

EditorMenuItem Item(std::string caption, std::string shortcut) {
  EditorMenuItem item;
  item.caption = std::move(caption);
  item.shortcut = std::move(shortcut);
  return item;
}

EditorMenuItem Separator() { return Item("-", ""); }

EditorMenuItem Command(const char* caption, EditorCommand c, bool enabled, bool checked = false) {
  EditorMenuItem item = Item(caption, std::string(ShortcutText(c)));
  item.has_action = true;
  item.action = EditorAction{c};
  item.enabled = enabled;
  item.checked = checked;
  return item;
}

// "0".."9", each checked when its mark stands on some row.
EditorMenuItem MarkMenu(const char* caption, EditorCommand c, MarkSet inUse) {
  EditorMenuItem menu = Item(caption, "");
  for (int32_t n = 0; n <= 9; ++n) {
    const std::string digit(1, static_cast<char>('0' + n));
    EditorMenuItem item = Item(digit, std::string(ShortcutText(c)) + digit);
    item.has_action = true;
    item.action = EditorAction{c, n};
    item.checked = ((inUse >> n) & 1u) != 0;
    menu.children.push_back(std::move(item));
  }
  return menu;
}

}  // namespace

std::vector<EditorMenuItem> BuildEditorPopupMenu(const EditorMenuState& s) {
  const bool writable = !s.read_only;
  std::vector<EditorMenuItem> items;
  items.push_back(MarkMenu("マーク設定", EditorCommand::ToggleMark, s.marks_in_use));
  items.push_back(MarkMenu("マークジャンプ", EditorCommand::GotoMark, s.marks_in_use));
  items.push_back(Separator());
  items.push_back(Command("元に戻す(&U)", EditorCommand::Undo, s.can_undo && writable));
  items.push_back(Command("やり直し(&R)", EditorCommand::Redo, s.can_redo && writable));
  items.push_back(Separator());
  items.push_back(Command("切り取り(&T)", EditorCommand::Cut, s.has_selection && writable));
  items.push_back(Command("コピー(&C)", EditorCommand::Copy, s.has_selection));
  items.push_back(Command("貼り付け(&P)", EditorCommand::Paste, s.clipboard_has_text && writable));
  items.push_back(
      Command("Box貼り付け(&B)", EditorCommand::BoxPaste, s.clipboard_has_text && writable));
  EditorMenuItem del = Command("削除(&D)", EditorCommand::DeleteSelection, s.has_selection && writable);
  del.shortcut.clear();
  items.push_back(del);
  items.push_back(Separator());
  items.push_back(Command("すべて選択(&A)", EditorCommand::SelectAll, s.has_text));
  items.push_back(Separator());
  items.push_back(Command("Box選択モード(&K)", EditorCommand::ToggleBoxMode, true, s.box_mode));
  return items;
}

}  // namespace tessary
