// Headings of a document: recognition, the entries and their working-file text, the tree.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/indent_tree.h"
#include "base/result.h"
#include "platform/messages.h"
#include "platform/window_placement.h"

namespace tessary {

class EditorControl;
class TEditorScreenStrings;

inline constexpr std::string_view kOutlineEmptyText = "内容がありません";

// A line whose first character that is not a blank, TAB or full-width blank is one of the
// marks ●, ▼, ▲, ■, ★. Characters are whole Shift-JIS characters: a trail byte is never
// taken for a blank, and a lead byte before a byte below the trail range stands alone.
[[nodiscard]] bool IsMarkHeading(std::string_view line);
// A line that opens with "[" and holds a "]" character anywhere after it (an INI section).
[[nodiscard]] bool IsSectionHeading(std::string_view line);

enum class HeadingKinds { MarksOnly, MarksAndSections };

struct OutlineEntry {
  std::string_view text;  // the document line as it stands, leading blanks included
  int32_t line = 0;       // 0-based line index in the document
};

// The headings of one document at the time of the build. Entries and tree point into the
// outline's own file text, so the outline stays whole whatever becomes of the document or of
// the working file.
class Outline {
 public:
  Outline() = default;
  // The entries and the tree point into the text: a copy would point into the original.
  Outline(const Outline&) = delete;
  Outline& operator=(const Outline&) = delete;

  // One pass over the document's lines: mark headings in line order, then (when asked)
  // INI sections in line order.
  [[nodiscard]] static std::shared_ptr<const Outline> Build(const TEditorScreenStrings& document,
                                                            HeadingKinds kinds);
  // The same over a text whose lines end at CR LF, CR or LF.
  [[nodiscard]] static std::shared_ptr<const Outline> BuildFromText(std::string_view text,
                                                                    HeadingKinds kinds);

  [[nodiscard]] const std::vector<OutlineEntry>& Entries() const { return entries_; }
  // The lines the build read.
  [[nodiscard]] int32_t LineCount() const { return line_count_; }
  // Each entry: its text, 35 blanks, its line index with at least five digits; CR LF after
  // every entry. What the working file holds.
  [[nodiscard]] const std::string& FileText() const { return file_text_; }
  // The file text's lines as a tree. Node i is entry i; a level that jumps by more than one
  // ends the tree there, and the entries after it have no node.
  [[nodiscard]] const IndentTree& Tree() const { return tree_; }
  // The line index of a node, carried with it rather than read back from its text.
  [[nodiscard]] int32_t NodeLine(size_t node) const { return entries_[node].line; }

  // Rewrites the working file whole (Shift-JIS, CR LF).
  [[nodiscard]] Status WriteFile(const std::string& path) const;

 private:
  class Collector;

  std::vector<OutlineEntry> entries_;
  int32_t line_count_ = 0;
  std::string file_text_;
  IndentTree tree_;
};

// Moves the editor's caret to the line of a tree node and scrolls it into view. The line is
// clamped to the document as it is now, so an edit after the build never sends the caret past
// the text. Returns the line it went to.
int32_t JumpToNode(EditorControl& editor, const Outline& outline, size_t node);

// The outline command's check: an empty document gets the message and no window.
[[nodiscard]] bool OutlineHasText(const EditorControl& editor, Messages& messages);

enum class OutlineSide { Left, Right };

// The outline beside the main window, both as frames: it takes the main window's top and
// height and keeps its own width, overlapping the main window's edge by 15 pixels.
[[nodiscard]] Rect PlaceBesideMain(OutlineSide side, const Rect& main_frame, int outline_width);

// "%d/%d": the progress text of the build.
[[nodiscard]] std::string OutlineProgressText(int32_t done, int32_t total);

}  // namespace tessary
