// The control's keys: caret motion, paging, word motion, commands and character input.
#include <algorithm>

#include "base/sjis.h"
#include "editor/editor_control.h"
#include "platform/clipboard.h"

namespace tessary {

// ---- keys ----

void EditorControl::KeyDown(EditorKey key, KeyModifiers modifiers, KeyRepeat repeat) {
  const std::optional<EditorAction> action = ActionForKey(key, modifiers);
  if (!action) return;
  if (IsCaretMove(action->command)) {
    const bool shift = (modifiers & kShift) != 0;
    if (shift) {
      if (sel_state_ == SelectionState::None) SetAnchorAtCaret();
    } else if (sel_state_ != SelectionState::None) {
      CancelSelection();
    }
    MoveByKey(action->command, repeat);
    if (shift) ExtendSelectionToCaret();
    return;
  }
  if (action->command == EditorCommand::Enter ||
      action->command == EditorCommand::IndentedLineAbove) {
    Enter(modifiers);
    return;
  }
  Execute(*action);
}

void EditorControl::PageMove(int32_t sign, KeyRepeat repeat) {
  const int32_t range =
      repeat == KeyRepeat::Repeat ? speed_.PageVerticalRangeAc : speed_.PageVerticalRange;
  const int32_t n = ((visible_rows_ - 1) / 2) * range;
  const int32_t old_top = top_row_;
  if (sign < 0) {
    if (top_row_ == 0) {
      MoveCaret(0, caret_col_, Move::VerticalKey, -1);
      return;
    }
    SetTopRow(std::max(0, top_row_ - n));
  } else {
    if (RowAttribute(top_row_) == RowEnd::RowAtEof) return;
    SetTopRow(std::min(top_row_ + n, doc_->Count()));
  }
  MoveCaret(caret_row_ + (top_row_ - old_top), caret_col_, Move::VerticalKey, sign);
}

void EditorControl::TokenMove(int32_t dir) {
  const int32_t row = caret_row_;
  const int32_t count = doc_->Count();
  if (row >= count) {
    if (dir < 0 && row > 0) MoveCaret(row - 1, RowWidth(row - 1), Move::Horizontal, -1);
    return;
  }
  const std::string_view t = RowText(row);
  const int32_t len = static_cast<int32_t>(t.size());
  const int32_t pos = PosOfCol(row, caret_col_);
  token_buf_.clear();
  token_starts_->TokenStartsOf(t, doc_->GetRowState(row), token_buf_);
  const int32_t old_col = caret_col_;
  if (dir > 0) {
    auto it = std::upper_bound(token_buf_.begin(), token_buf_.end(), pos);
    if (it != token_buf_.end() && *it < len) {
      MoveCaret(row, ColOfPos(row, *it), Move::Horizontal, 1);
    } else if (pos < len && caret_col_ < RowWidth(row)) {
      MoveCaret(row, RowWidth(row), Move::Horizontal, 1);
    }
    if (caret_col_ == old_col && caret_row_ == row && row + 1 <= MaxCaretRow() &&
        RowAttribute(row) != RowEnd::RowAtEof)
      MoveCaret(row + 1, 0, Move::Horizontal, 1);
    return;
  }
  auto it = std::lower_bound(token_buf_.begin(), token_buf_.end(), pos);
  if (it != token_buf_.begin() && *(it - 1) > 0) {
    MoveCaret(row, ColOfPos(row, *(it - 1)), Move::Horizontal, -1);
  } else if (caret_col_ > 0) {
    MoveCaret(row, 0, Move::Horizontal, -1);
  } else if (row > 0) {
    MoveCaret(row - 1, RowWidth(row - 1), Move::Horizontal, -1);
  }
}

void EditorControl::MoveByKey(EditorCommand c, KeyRepeat repeat) {
  const int32_t row = caret_row_;
  const bool repeating = repeat == KeyRepeat::Repeat;
  switch (c) {
    case EditorCommand::PageUp:
      PageMove(-1, repeat);
      break;
    case EditorCommand::PageDown:
      PageMove(1, repeat);
      break;
    case EditorCommand::RowStart:
      MoveCaret(row, 0, Move::Horizontal, -1);
      break;
    case EditorCommand::TextStart:
      MoveCaret(0, 0, Move::Horizontal, -1);
      break;
    case EditorCommand::RowEnd:
      MoveCaret(row, row < doc_->Count() ? RowWidth(row) : 0, Move::Horizontal, 1);
      break;
    case EditorCommand::TextEnd: {
      const int32_t last = MaxCaretRow();
      MoveCaret(last, last < doc_->Count() ? RowWidth(last) : 0, Move::Horizontal, 1);
      break;
    }
    case EditorCommand::CharLeft:
      if (caret_col_ > 0) {
        MoveCaret(row, caret_col_ - 1, Move::Horizontal, -1);
      } else if (row > 0 && (RowAttribute(row - 1) == RowEnd::RowWrapped || caret_.NextLine)) {
        MoveCaret(row - 1, RowWidth(row - 1), Move::Horizontal, -1);
      }
      break;
    case EditorCommand::CharRight: {
      const int32_t old_col = caret_col_;
      const int32_t next = ValidColumn(row, old_col + 1, Move::Horizontal, 1);
      if (next > old_col) {
        MoveCaret(row, next, Move::Horizontal, 1);
      } else if (row < doc_->Count() && row + 1 <= MaxCaretRow() &&
                 (RowAttribute(row) == RowEnd::RowWrapped || caret_.NextLine)) {
        MoveCaret(row + 1, 0, Move::Horizontal, 1);
      }
      break;
    }
    case EditorCommand::TokenLeft:
      TokenMove(-1);
      break;
    case EditorCommand::TokenRight:
      TokenMove(1);
      break;
    case EditorCommand::RowUp: {
      const int32_t step = repeating && row == top_row_ ? speed_.CaretVerticalAc : 1;
      MoveCaret(std::max(0, row - step), caret_col_, Move::VerticalKey, -1);
      break;
    }
    case EditorCommand::RowDown: {
      const int32_t step =
          repeating && row == top_row_ + visible_rows_ - 1 ? speed_.CaretVerticalAc : 1;
      MoveCaret(std::min(row + step, MaxCaretRow()), caret_col_, Move::VerticalKey, 1);
      break;
    }
    case EditorCommand::ScrollUp: {
      const int32_t step = repeating && row == top_row_ ? speed_.CaretVerticalAc : 1;
      SetTopRow(top_row_ - step);
      if (caret_row_ > top_row_ + visible_rows_ - 1)
        MoveCaret(top_row_ + visible_rows_ - 1, caret_col_, Move::VerticalKey, -1);
      break;
    }
    case EditorCommand::ScrollDown: {
      const int32_t step =
          repeating && row == top_row_ + visible_rows_ - 1 ? speed_.CaretVerticalAc : 1;
      SetTopRow(top_row_ + step);
      if (caret_row_ < top_row_) MoveCaret(top_row_, caret_col_, Move::VerticalKey, 1);
      break;
    }
    default:
      break;
  }
}

void EditorControl::Execute(const EditorAction& action) {
  switch (action.command) {
    case EditorCommand::DeleteChar:
      DeleteChar();
      break;
    case EditorCommand::BackSpace:
      BackSpace();
      break;
    case EditorCommand::Enter:
      Enter(kNoModifier);
      break;
    case EditorCommand::IndentedLineAbove:
      Enter(kShift);
      break;
    case EditorCommand::Tab:
      Tab();
      break;
    case EditorCommand::Undo:
      Undo();
      break;
    case EditorCommand::Redo:
      Redo();
      break;
    case EditorCommand::Cut:
      CutToClipboard();
      break;
    case EditorCommand::Copy:
      CopyToClipboard();
      break;
    case EditorCommand::Paste:
      PasteFromClipboard();
      break;
    case EditorCommand::BoxPaste:
      if (clipboard_ && clipboard_->HasText()) BoxPaste(clipboard_->Text().value_or(""));
      break;
    case EditorCommand::DeleteSelection:
      DeleteSelection();
      break;
    case EditorCommand::SelectAll:
      SelectAll();
      break;
    case EditorCommand::ToggleBoxMode:
      SetSelectionMode(sel_mode_ == SelectionMode::Box ? SelectionMode::Stream
                                                       : SelectionMode::Box);
      break;
    case EditorCommand::ToggleMark:
      if (caret_row_ < doc_->Count()) {
        if ((RowMarks(caret_row_) >> action.arg) & 1u)
          DeleteMark(caret_row_, action.arg);
        else
          PutMark(caret_row_, action.arg);
      }
      break;
    case EditorCommand::GotoMark:
      GotoMark(action.arg);
      break;
    default:
      if (IsCaretMove(action.command)) {
        CancelSelection();
        MoveByKey(action.command, KeyRepeat::First);
      }
      break;
  }
}

void EditorControl::KeyPress(uint8_t byte) {
  if (pending_lead_) {
    const uint8_t lead = *pending_lead_;
    pending_lead_.reset();
    if (byte >= sjis::kFirstTrailByte) {
      if (ime_skip_ > 0) {
        ime_skip_ = std::max(0, ime_skip_ - 2);
        return;
      }
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(byte)};
      InsertText(std::string_view(pair, 2));
      return;
    }
  }
  if (sjis::IsLeadByte(byte)) {
    pending_lead_ = byte;
    return;
  }
  if (ime_skip_ > 0) {
    --ime_skip_;
    return;
  }
  if ((byte >= 0x20 && byte <= 0x7E) || byte >= 0xA0) {
    const char c = static_cast<char>(byte);
    InsertText(std::string_view(&c, 1));
  }
}

void EditorControl::ImeResult(std::string_view s) {
  if (s.empty()) return;
  InsertText(s);
  ime_skip_ = static_cast<int32_t>(s.size());
}

}  // namespace tessary
