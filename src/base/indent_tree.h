// Indented lines to a tree: the form of the outline, the help index and the snippet lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tessary {

// One node per line, in line order, so a view can show the tree as rows without a widget item
// per node. Texts point into the loaded text.
struct IndentNode {
  std::string_view text;  // the line without its leading blanks and TABs
  int32_t depth = 0;      // leading single-byte blanks and TABs, one level each
  int32_t level = 0;      // depth in the tree: 0 for a top-level node
  int32_t parent = -1;    // index of the parent node, -1 at the top
};

// Where loading stopped: a line more than one level deeper than the line before it.
struct IndentJump {
  size_t line = 0;  // 0-based index of the offending line (also the count of nodes kept)
  std::string_view text;
  int32_t depth = 0;
};

struct IndentTree {
  std::vector<IndentNode> nodes;
  // Set when loading stopped early; the nodes before the offending line stay. Callers choose
  // whether to tell the user.
  std::optional<IndentJump> jump;
};

// Lines end at CR LF, CR or LF. The first line is a top-level node whatever its depth. A line
// one level deeper than the line before becomes its child; a line at the same depth its
// sibling; a shallower line a sibling of the ancestor at its depth (top-level when there is
// none). Full-width blanks are text, not indentation.
[[nodiscard]] IndentTree LoadIndentTree(std::string_view text);

}  // namespace tessary
