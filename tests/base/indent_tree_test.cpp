// Indented lines to a tree and the shared line splitting under it.
#include "base/indent_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/line_split.h"

namespace tessary {
namespace {

struct Shape {
  std::string text;
  int32_t level, parent;
  bool operator==(const Shape&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Shape& s) {
  return os << "{" << s.text << " " << s.level << " " << s.parent << "}";
}

std::vector<Shape> ShapeOf(const IndentTree& t) {
  std::vector<Shape> out;
  for (const IndentNode& n : t.nodes) out.push_back({std::string(n.text), n.level, n.parent});
  return out;
}

TEST(LineSplit, EveryLineEndAndNoLineAfterTheLast) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string_view>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), (std::vector<std::string_view>{"a"}));
  EXPECT_EQ(SplitLines("\r\r\n\n"), (std::vector<std::string_view>{"", "", ""}));
  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_EQ(SplitLines("a\nb\nc\n", 2), (std::vector<std::string_view>{"a", "b"}));
}

TEST(IndentTree, ChildrenSiblingsAndShallowerLines) {
  const IndentTree t = LoadIndentTree("A\r\n\ta1\r\n\t\ta11\r\n\ta2\r\nB\r\n b1\r\n");
  EXPECT_FALSE(t.jump);
  EXPECT_EQ(
      ShapeOf(t),
      (std::vector<Shape>{
          {"A", 0, -1}, {"a1", 1, 0}, {"a11", 2, 1}, {"a2", 1, 0}, {"B", 0, -1}, {"b1", 1, 4}}));
  EXPECT_EQ(t.nodes[2].depth, 2);
}

TEST(IndentTree, TheFirstLineIsTopLevelWhateverItsDepth) {
  const IndentTree t = LoadIndentTree("\t\tfirst\n\t\t\tchild\n\t\tsibling\n\tshallower\n");
  EXPECT_FALSE(t.jump);
  EXPECT_EQ(ShapeOf(t),
            (std::vector<Shape>{
                {"first", 0, -1}, {"child", 1, 0}, {"sibling", 0, -1}, {"shallower", 0, -1}}));
}

TEST(IndentTree, AJumpOfTwoLevelsStopsLoadingAndIsReported) {
  // Two blanks right after a top-level line: two levels deeper.
  const IndentTree t = LoadIndentTree("top\n  ●deep\nafter\n");
  ASSERT_TRUE(t.jump);
  EXPECT_EQ(t.jump->line, 1u);
  EXPECT_EQ(t.jump->text, "●deep");
  EXPECT_EQ(t.jump->depth, 2);
  EXPECT_EQ(ShapeOf(t), (std::vector<Shape>{{"top", 0, -1}}));
  // After a line with one leading TAB the same line is a child.
  EXPECT_FALSE(LoadIndentTree("top\n\tone\n  two\n").jump);
}

TEST(IndentTree, FullWidthBlanksAreTextAndEmptyLinesAreNodes) {
  const IndentTree t = LoadIndentTree("\x81\x40\x81\x40\x81\xA1title\n\nx");
  EXPECT_EQ(ShapeOf(t), (std::vector<Shape>{
                            {"\x81\x40\x81\x40\x81\xA1title", 0, -1}, {"", 0, -1}, {"x", 0, -1}}));
}

}  // namespace
}  // namespace tessary
