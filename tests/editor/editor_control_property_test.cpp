// Random key sequences on the control against a plain reference editor over the whole text.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/sjis.h"
#include "editor/editor_control.h"
#include "platform/clipboard.h"
#include "support/test_files.h"

namespace tessary {
namespace {

const std::string kA = testing::Hex("82 A0");

// The reference: one string with CR LF line ends and a caret offset. It knows characters and
// line ends, not rows; where a key's effect depends on screen rows (Home, End, Up, Down, and
// every move with FreeCaret) it takes the control's caret afterwards and only checks that the
// control kept the text.
struct Reference {
  std::string text;
  int64_t caret = 0;
  std::optional<int64_t> anchor;
  std::string clipboard;
  int32_t tab = 8;

  int64_t LineStart(int64_t p) const {
    while (p > 0 && text[p - 1] != '\n') --p;
    return p;
  }
  int64_t LineEnd(int64_t p) const {
    while (p < static_cast<int64_t>(text.size()) && text[p] != '\r') ++p;
    return p;
  }
  bool AtLineEnd(int64_t p) const {
    return p + 1 < static_cast<int64_t>(text.size()) + 0 && text[p] == '\r' && text[p + 1] == '\n';
  }
  int64_t CharLen(int64_t p) const {
    return sjis::IsLeadByte(text[p]) && p + 1 < static_cast<int64_t>(text.size()) &&
                   text[p + 1] != '\r'
               ? 2
               : 1;
  }
  int64_t PrevChar(int64_t p) const {
    int64_t i = LineStart(p), last = i;
    while (i < p) {
      last = i;
      i += CharLen(i);
    }
    return last;
  }
  int64_t Right(int64_t p) const {
    if (p >= static_cast<int64_t>(text.size())) return p;
    if (AtLineEnd(p)) return p + 2;
    return p + CharLen(p);
  }
  int64_t Left(int64_t p) const {
    if (p == 0) return 0;
    if (p >= 2 && text[p - 1] == '\n') return p - 2;
    return PrevChar(p);
  }
  bool HasSelection() const { return anchor && *anchor != caret; }
  // What Enter with AutoIndent puts after the line end: the line's leading blanks as spaces,
  // only those before the caret when it stands inside them; nothing on the row after the last.
  std::string IndentAt(int64_t p) const {
    const int64_t size = static_cast<int64_t>(text.size());
    if (p == size && (size == 0 || text.back() == '\n')) return "";
    int32_t w = 0;
    for (int64_t i = LineStart(p); i < size; ++i) {
      if (i == p) break;
      if (text[i] == ' ') {
        ++w;
      } else if (text[i] == '\t') {
        w += tab - w % tab;
      } else if (i + 1 < size && text.compare(i, 2, "\x81\x40") == 0) {
        w += 2;
        ++i;
      } else {
        break;
      }
    }
    return std::string(w, ' ');
  }
  std::pair<int64_t, int64_t> Range() const {
    return {std::min(*anchor, caret), std::max(*anchor, caret)};
  }
  void Replace(int64_t a, int64_t b, const std::string& s) {
    text.replace(a, b - a, s);
    caret = a + static_cast<int64_t>(s.size());
    anchor.reset();
  }
  void DeleteSelection() {
    auto [a, b] = Range();
    Replace(a, b, "");
  }

  // Box pieces over lines [first, last] (no wrapping in box runs) between two columns.
  std::vector<std::pair<int64_t, int64_t>> LineSpans() const {
    std::vector<std::pair<int64_t, int64_t>> spans;
    int64_t s = 0;
    for (;;) {
      const int64_t e = LineEnd(s);
      spans.push_back({s, e});
      if (e >= static_cast<int64_t>(text.size())) break;
      s = e + 2;
      if (s >= static_cast<int64_t>(text.size())) break;
    }
    return spans;
  }
  int64_t ByteOfCol(int64_t start, int64_t end, int32_t col) const {
    int32_t w = 0;
    int64_t i = start;
    while (i < end) {
      const int32_t cw = text[i] == '\t' ? tab - w % tab : CharLen(i) == 2 ? 2 : 1;
      if (w + cw > col) break;
      w += cw;
      i += CharLen(i);
    }
    return i;
  }
  // Removes the box and inserts s at its first row's cut.
  void ReplaceBox(int32_t firstRow, int32_t lastRow, int32_t firstCol, int32_t lastCol,
                  const std::string& s) {
    const auto spans = LineSpans();
    const int32_t last = std::min<int32_t>(lastRow, static_cast<int32_t>(spans.size()) - 1);
    int64_t cut = -1;
    for (int32_t r = last; r >= firstRow; --r) {
      const auto [ls, le] = spans[r];
      const int64_t a = ByteOfCol(ls, le, firstCol);
      const int64_t b = std::max(a, ByteOfCol(ls, le, lastCol));
      text.erase(a, b - a);
      if (r == firstRow) cut = a;
    }
    text.insert(cut, s);
    caret = cut + static_cast<int64_t>(s.size());
    anchor.reset();
  }
};

enum class Mode { Plain, Wrap, FreeCaret, WrapFreeCaret, Box };

std::string RandomText(std::mt19937& rng) {
  const std::vector<std::string> pieces{"a", "b", " ", kA, "\t", "\r\n", "xy", "\r\n"};
  std::string s;
  const int n = std::uniform_int_distribution<int>(0, 40)(rng);
  for (int i = 0; i < n; ++i) s += pieces[rng() % pieces.size()];
  return s;
}

class ControlVersusReference : public ::testing::TestWithParam<Mode> {};

TEST_P(ControlVersusReference, RandomKeysEditLikeTheReference) {
  const Mode run = GetParam();
  std::mt19937 rng(20261207u + static_cast<unsigned>(run));
  for (int round = 0; round < 60; ++round) {
    EditorControl c;
    MemoryClipboard clip;
    c.SetClipboard(&clip);
    c.SetVisibleSize(6, 30);
    c.Caret().AutoIndent = run == Mode::Plain;
    c.Caret().BackSpaceUnIndent = false;
    c.Caret().NextLine = true;
    c.Caret().FreeCaret = run == Mode::FreeCaret || run == Mode::WrapFreeCaret;
    if (run == Mode::Wrap || run == Mode::WrapFreeCaret) {
      c.Document().WrapOption().SetWrapByte(20);
      c.SetWordWrap(true);
    }
    if (run == Mode::Box) c.SetSelectionMode(SelectionMode::Box);
    Reference ref;
    ref.text = RandomText(rng);
    c.Lines().SetTextStr(ref.text);
    c.SetCaret(0, 0);
    ASSERT_EQ(c.Text(), ref.text);

    const std::string start_text = ref.text;
    int edits_made = 0;
    // Text and caret before each key that changed the text, for the undo checks.
    struct Before {
      std::string text;
      int64_t caret;
      size_t key;  // index into the key log
      size_t steps;  // undo records the key made
    };
    std::vector<Before> history;
    std::string log;
    for (int step = 0; step < 120; ++step) {
      const int k = std::uniform_int_distribution<int>(0, 21)(rng);
      const bool shift = k >= 17;
      const int32_t width = c.RowWidth(c.CaretRow());
      const int32_t pad =
          c.CaretRow() < c.RowCount() ? std::max(0, c.CaretCol() - width) : c.CaretCol();
      const bool beyond_end = c.CaretRow() < c.RowCount() && pad > 0;
      const bool box_sel = run == Mode::Box && c.Selected();
      const int32_t bfr = c.BoxFirstRow(), blr = c.BoxLastRow();
      const int32_t bfc = c.BoxFirstCol(), blc = c.BoxLastCol();
      const std::string before = ref.text;
      const size_t undo_before = c.Document().UndoObj().UndoList().size();
      const int64_t caret_before = c.CaretOffset();
      const std::string state = "caret (" + std::to_string(c.CaretRow()) + "," +
                                std::to_string(c.CaretCol()) + ") sel " +
                                std::to_string(static_cast<int>(c.GetSelectionState())) +
                                " text before [" + before + "]";
      auto edit = [&](const std::string& s) {
        if (box_sel) {
          ref.ReplaceBox(bfr, blr, bfc, blc, s);
        } else if (ref.HasSelection()) {
          auto [a, b] = ref.Range();
          ref.Replace(a, b, s);
        } else {
          ref.Replace(ref.caret, ref.caret, std::string(pad, ' ') + s);
        }
      };
      auto resync = [&] { ref.caret = c.CaretOffset(); };
      auto move = [&](EditorKey key, bool byReference) {
        // A box is read from the control; the stream anchor is the reference's own.
        if (shift && !ref.anchor && run != Mode::Box) ref.anchor = ref.caret;
        if (!shift) ref.anchor.reset();
        c.KeyDown(key, shift ? kShift : kNoModifier);
        if (byReference && !c.Caret().FreeCaret)
          ref.caret = key == EditorKey::Left ? ref.Left(ref.caret) : ref.Right(ref.caret);
        else
          resync();
      };
      switch (k) {
        case 0:
        case 1:
          log += "a";
          c.KeyPress('a');
          edit("a");
          break;
        case 2:
          log += "A";
          c.KeyPress(0x82);
          c.KeyPress(0xA0);
          edit(kA);
          break;
        case 3:
          log += "T";
          c.KeyDown(EditorKey::Tab, kNoModifier);
          edit("\t");
          break;
        case 4:
          log += "E";
          c.KeyDown(EditorKey::Enter, kNoModifier);
          if (box_sel) {
            ref.ReplaceBox(bfr, blr, bfc, blc, "");
            ref.Replace(ref.caret, ref.caret, "\r\n");
          } else {
            if (ref.HasSelection()) ref.DeleteSelection();
            const std::string indent = run == Mode::Plain ? ref.IndentAt(ref.caret) : "";
            ref.Replace(ref.caret, ref.caret, "\r\n" + indent);
          }
          break;
        case 5:
          log += "B";
          c.KeyDown(EditorKey::Backspace, kNoModifier);
          if (box_sel)
            ref.ReplaceBox(bfr, blr, bfc, blc, "");
          else if (ref.HasSelection())
            ref.DeleteSelection();
          else if (beyond_end)
            resync();
          else if (ref.caret > 0)
            ref.Replace(ref.Left(ref.caret), ref.caret, "");
          ref.anchor.reset();
          break;
        case 6:
          log += "D";
          c.KeyDown(EditorKey::Delete, kNoModifier);
          if (box_sel) {
            ref.ReplaceBox(bfr, blr, bfc, blc, "");
          } else if (ref.HasSelection()) {
            ref.DeleteSelection();
          } else if (ref.AtLineEnd(ref.caret)) {
            ref.text.replace(ref.caret, 2, std::string(pad, ' '));
            ref.caret += pad;
          } else if (ref.caret < static_cast<int64_t>(ref.text.size())) {
            ref.text.erase(ref.caret, ref.CharLen(ref.caret));
          }
          ref.anchor.reset();
          break;
        case 7:
          if (run == Mode::Box) break;
          log += "C";
          c.KeyDown(EditorKey::C, kCtrl);
          if (ref.HasSelection()) {
            auto [a, b] = ref.Range();
            ref.clipboard = ref.text.substr(a, b - a);
          }
          break;
        case 8:
          if (run == Mode::Box || ref.clipboard.empty()) break;
          log += "V";
          c.KeyDown(EditorKey::V, kCtrl);
          edit(ref.clipboard);
          break;
        case 9:
        case 17:
          log += shift ? "<" : "l";
          move(EditorKey::Left, true);
          break;
        case 10:
        case 18:
          log += shift ? ">" : "r";
          move(EditorKey::Right, true);
          break;
        case 11:
        case 19:
          log += shift ? "^" : "u";
          move(EditorKey::Up, false);
          break;
        case 12:
        case 20:
          log += shift ? "v" : "d";
          move(EditorKey::Down, false);
          break;
        case 13:
        case 21:
          log += shift ? "e" : "n";
          move(EditorKey::End, false);
          break;
        case 14:
          log += "h";
          move(EditorKey::Home, false);
          break;
        case 15:
          log += "p";
          move(EditorKey::PageDown, false);
          break;
        default:
          log += "P";
          move(EditorKey::PageUp, false);
          break;
      }
      if (ref.text != before) ++edits_made;
      const size_t steps = c.Document().UndoObj().UndoList().size() - undo_before;
      if (steps > 0) history.push_back({before, caret_before, log.size() - 1, steps});
      ASSERT_EQ(c.Text(), ref.text) << "round " << round << " keys " << log << " " << state;
      ASSERT_EQ(c.CaretOffset(), ref.caret) << "round " << round << " keys " << log;
      if (run != Mode::Box && ref.HasSelection()) {
        auto [a, b] = ref.Range();
        ASSERT_EQ(c.SelStart(), a) << "round " << round << " keys " << log;
        ASSERT_EQ(c.SelLength(), b - a) << "round " << round << " keys " << log;
      }
    }
    // Every edit is undoable, and redoable.
    const std::string end_text = c.Text();
    // Undoing each key's steps gives back the text and the caret from before the key.
    int undone = 0;
    while (!history.empty()) {
      for (size_t k = 0; k < history.back().steps; ++k) {
        ASSERT_TRUE(c.CanUndo());
        c.Undo();
        ++undone;
      }
      ASSERT_EQ(c.Text(), history.back().text)
          << "round " << round << " keys " << log << " undoing key " << history.back().key;
      ASSERT_EQ(c.CaretOffset(), history.back().caret)
          << "round " << round << " keys " << log << " undoing key " << history.back().key;
      history.pop_back();
    }
    ASSERT_FALSE(c.CanUndo());
    ASSERT_TRUE(history.empty()) << "round " << round << " keys " << log;
    ASSERT_EQ(c.Text(), start_text) << "round " << round << " keys " << log;
    ASSERT_GE(undone, edits_made);
    while (c.CanRedo()) c.Redo();
    ASSERT_EQ(c.Text(), end_text) << "round " << round << " keys " << log;
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, ControlVersusReference,
                         ::testing::Values(Mode::Plain, Mode::Wrap, Mode::FreeCaret,
                                           Mode::WrapFreeCaret, Mode::Box));

// Where the reference expects a position written as an offset to end up: never inside a
// double-byte character or between CR and LF.
int64_t Normalise(const Reference& r, int64_t p, int dir) {
  const int64_t size = static_cast<int64_t>(r.text.size());
  p = std::clamp<int64_t>(p, 0, size);
  if (p > 0 && p < size && r.text[p - 1] == '\r' && r.text[p] == '\n') return p - 1;
  const int64_t start = r.PrevChar(p);
  if (start < p && start + r.CharLen(start) > p) return dir < 0 ? start : start + 2;
  return p;
}

TEST(ControlOffsets, SelStartAndSelLengthWrittenThenRead) {
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    EditorControl c;
    if (round % 2) {
      c.Document().WrapOption().SetWrapByte(20);
      c.SetWordWrap(true);
    }
    Reference ref;
    ref.text = RandomText(rng);
    c.Lines().SetTextStr(ref.text);
    const int64_t size = static_cast<int64_t>(ref.text.size());
    ASSERT_EQ(c.TextLength(), size);
    const int64_t s = std::uniform_int_distribution<int64_t>(-2, size + 2)(rng);
    const int64_t n = std::uniform_int_distribution<int64_t>(-1, size + 2)(rng);
    c.SetSelStart(s);
    const int64_t s1 = Normalise(ref, s, -1);
    ASSERT_EQ(c.SelStart(), s1) << ref.text << " s=" << s;
    c.SetSelLength(n);
    const int64_t e1 = n > 0 ? Normalise(ref, s1 + n, 1) : s1;
    if (e1 > s1) {
      ASSERT_TRUE(c.Selected());
      ASSERT_EQ(c.SelStart(), s1);
      ASSERT_EQ(c.SelLength(), e1 - s1) << ref.text << " s=" << s << " n=" << n;
      ASSERT_EQ(c.SelText(), ref.text.substr(s1, e1 - s1));
    } else {
      ASSERT_FALSE(c.Selected());
      ASSERT_EQ(c.SelLength(), 0);
    }
  }
}

TEST(ControlBoxes, BoxCopyThenBoxPasteReproducesTheBox) {
  std::mt19937 rng(11);
  int checked = 0;
  for (int round = 0; round < 200; ++round) {
    EditorControl c;
    MemoryClipboard clip;
    c.SetClipboard(&clip);
    std::string text;
    const int lines = std::uniform_int_distribution<int>(1, 6)(rng);
    for (int i = 0; i < lines; ++i) {
      const int len = std::uniform_int_distribution<int>(0, 10)(rng);
      for (int j = 0; j < len; ++j) text += (rng() % 3 == 0) ? kA : std::string(1, "abc "[rng() % 4]);
      text += "\r\n";
    }
    c.Lines().SetTextStr(text);
    c.SetSelectionMode(SelectionMode::Box);
    const int32_t r0 = std::uniform_int_distribution<int32_t>(0, lines - 1)(rng);
    const int32_t r1 = std::uniform_int_distribution<int32_t>(r0, lines - 1)(rng);
    const int32_t c0 = std::uniform_int_distribution<int32_t>(0, 8)(rng);
    const int32_t c1 = std::uniform_int_distribution<int32_t>(0, 8)(rng);
    c.Caret().FreeCaret = true;  // so the box's columns are the ones asked for
    c.SetCaret(r0, c0);
    c.KeyDown(EditorKey::Left, kShift);  // anchor
    c.KeyDown(EditorKey::Right, kShift);
    c.SetCaret(r1, c1);
    c.KeyDown(EditorKey::Left, kShift);
    c.KeyDown(EditorKey::Right, kShift);
    if (!c.Selected()) continue;
    // Box edges inside a double-byte character take the whole character on one side; such
    // boxes cannot paste back column for column and are left out.
    bool on_boundaries = true;
    for (int32_t r = c.BoxFirstRow(); r <= c.BoxLastRow(); ++r) {
      for (int32_t col : {c.BoxFirstCol(), c.BoxLastCol()})
        if (col < c.RowWidth(r) && c.ColOfPos(r, c.PosOfCol(r, col)) != col) on_boundaries = false;
    }
    if (!on_boundaries) continue;
    const std::string box = c.SelText();
    c.CopyToClipboard();
    ASSERT_TRUE(clip.HasBoxFormat());
    const int32_t first_row = c.BoxFirstRow();
    const int32_t first_col = c.BoxFirstCol();
    c.DeleteSelection();
    ASSERT_EQ(c.CaretRow(), first_row);
    c.SetCaret(first_row, first_col);
    c.PasteFromClipboard();
    ASSERT_EQ(c.Text(), text) << "box " << box;
    ++checked;
  }
  EXPECT_GT(checked, 50);
}

TEST(ControlDrag, DraggingMovesOrCopiesTheSelectionAsTheReferenceDoes) {
  std::mt19937 rng(5);
  int moved = 0;
  for (int round = 0; round < 300; ++round) {
    EditorControl c;
    c.SetCharWidth(8);
    if (round % 3 == 0) {
      c.Document().WrapOption().SetWrapByte(20);
      c.SetWordWrap(true);
    }
    Reference ref;
    ref.text = RandomText(rng);
    c.Lines().SetTextStr(ref.text);
    const int64_t size = static_cast<int64_t>(ref.text.size());
    if (size < 2) continue;
    c.SetSelStart(std::uniform_int_distribution<int64_t>(0, size - 1)(rng));
    c.SetSelLength(std::uniform_int_distribution<int64_t>(1, size)(rng));
    if (!c.Selected()) continue;
    const int64_t a = c.SelStart(), b = a + c.SelLength();
    // Press inside the selection (its first character), drop somewhere else.
    const TextPos press = c.StreamStart();
    const MousePoint down{press.row, c.ColOfPos(press.row, press.byte), 0, 0};
    const int32_t drop_row = std::uniform_int_distribution<int32_t>(0, c.MaxCaretRow())(rng);
    const int32_t drop_col = std::uniform_int_distribution<int32_t>(0, 25)(rng);
    const bool copy = rng() % 2 == 0;
    c.MouseDown(down, kNoModifier);
    const MousePoint to{drop_row, drop_col, 100, 100};
    c.MouseMove(to, copy ? kCtrl : kNoModifier);
    ASSERT_TRUE(c.Dragging());
    // Where the caret follows the pointer is the drop position.
    const int64_t d = c.CaretOffset();
    const bool inside = d >= a && d < b;
    const std::string sel = ref.text.substr(a, b - a);
    c.MouseUp(to, copy ? kCtrl : kNoModifier);
    std::string expect = ref.text;
    int64_t caret = d;
    if (!inside) {
      if (copy) {
        expect.insert(d, sel);
        caret = d + static_cast<int64_t>(sel.size());
      } else {
        expect.erase(a, b - a);
        const int64_t at = d > a ? d - (b - a) : d;
        expect.insert(at, sel);
        caret = at + static_cast<int64_t>(sel.size());
        ++moved;
      }
    }
    ASSERT_EQ(c.Text(), expect) << ::testing::PrintToString(ref.text) << " " << a << "-" << b
                                << " to " << d << (copy ? " copy" : " move");
    ASSERT_FALSE(c.Selected());
    if (!inside) {
      ASSERT_EQ(c.CaretOffset(), caret);
      c.Undo();  // one step either way
      ASSERT_EQ(c.Text(), ref.text);
    }
  }
  EXPECT_GT(moved, 50);
}

}  // namespace
}  // namespace tessary
