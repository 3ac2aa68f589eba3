// Indented lines to a tree, one pass with a stack of open ancestors.
#include "base/indent_tree.h"

#include "base/line_split.h"

namespace tessary {
namespace {

int32_t LeadingBlanks(std::string_view line) {
  size_t n = 0;
  while (n < line.size() && (line[n] == ' ' || line[n] == '\t')) ++n;
  return static_cast<int32_t>(n);
}

}  // namespace

IndentTree LoadIndentTree(std::string_view text) {
  IndentTree tree;
  std::vector<int32_t> open;  // indices of the ancestors of the next node, deepest last
  LineSplitter lines(text);
  for (std::string_view line; lines.Next(line);) {
    const int32_t depth = LeadingBlanks(line);
    IndentNode node{line.substr(static_cast<size_t>(depth)), depth, 0, -1};
    if (!tree.nodes.empty() && depth > tree.nodes.back().depth + 1) {
      tree.jump = IndentJump{tree.nodes.size(), node.text, depth};
      break;
    }
    while (!open.empty() && tree.nodes[static_cast<size_t>(open.back())].depth >= depth)
      open.pop_back();
    if (!open.empty()) {
      node.parent = open.back();
      node.level = tree.nodes[static_cast<size_t>(node.parent)].level + 1;
    }
    open.push_back(static_cast<int32_t>(tree.nodes.size()));
    tree.nodes.push_back(node);
  }
  return tree;
}

}  // namespace tessary
