// Status texts: caret position, selection counts (line ends counted as the captions say).
#include "app/status_texts.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;

TEST(StatusTexts, CaretPosition) {
  EXPECT_EQ(CaretPositionText(0, 0), "1行, 1桁");
  EXPECT_EQ(CaretPositionText(122, 7), "123行, 8桁");
}

TEST(StatusTexts, SelectionCountFollowsTheCaptions) {
  // "改行をカウントしない" excludes the line ends, "改行をカウントする" includes them.
  EXPECT_EQ(SelectionCountText("ab\r\ncd", LineEndCounting::Exclude, SelectionUnit::Characters),
            "4文字");
  EXPECT_EQ(SelectionCountText("ab\r\ncd", LineEndCounting::Include, SelectionUnit::Characters),
            "6文字");
  EXPECT_EQ(SelectionCountText("", LineEndCounting::Include, SelectionUnit::Characters), "");
}

TEST(StatusTexts, SelectionCountUnits) {
  std::string two_kanji = Hex("93 FA 96 7B");
  EXPECT_EQ(SelectionCountText(two_kanji, LineEndCounting::Include, SelectionUnit::Characters),
            "2文字");
  EXPECT_EQ(
      SelectionCountText(two_kanji, LineEndCounting::Include, SelectionUnit::HalfWidthColumns),
      "4文字");
  // Half-width katakana are single bytes; a trail byte 0x5C is no backslash of its own.
  std::string mixed = Hex("B6 DE 83 5C 5C");
  EXPECT_EQ(SelectionCountText(mixed, LineEndCounting::Include, SelectionUnit::Characters),
            "4文字");
}

TEST(StatusTexts, Caption) {
  EXPECT_EQ(WindowCaption("/home/u/doc.txt", true), "/home/u/doc.txt - Tessary");
  EXPECT_EQ(WindowCaption("/home/u/doc.txt", false), "doc.txt - Tessary");
  EXPECT_EQ(WindowCaption("", true), " - Tessary");
}

TEST(WrapLength, Bounds) {
  EXPECT_EQ(WrapLengthRefusal(9), "10以上を設定してください");
  EXPECT_EQ(WrapLengthRefusal(251), "250以下を設定してください");
  EXPECT_FALSE(WrapLengthRefusal(10).has_value());
  EXPECT_FALSE(WrapLengthRefusal(250).has_value());
}

TEST(NumericEdit, Filters) {
  EXPECT_TRUE(NumericEditAccepts(NumericType::DecimalUnSigned, "", 0, '7'));
  EXPECT_FALSE(NumericEditAccepts(NumericType::DecimalUnSigned, "", 0, '-'));
  EXPECT_FALSE(NumericEditAccepts(NumericType::DecimalUnSigned, "1", 1, 'a'));
  EXPECT_TRUE(NumericEditAccepts(NumericType::DecimalSigned, "12", 0, '-'));
  EXPECT_FALSE(NumericEditAccepts(NumericType::DecimalSigned, "12", 1, '-'));
  EXPECT_FALSE(NumericEditAccepts(NumericType::DecimalSigned, "1", 1, '.'));
  EXPECT_TRUE(NumericEditAccepts(NumericType::DoubleUnSigned, "1", 1, '.'));
  EXPECT_FALSE(NumericEditAccepts(NumericType::DoubleUnSigned, "1.5", 3, '.'));
}

}  // namespace
}  // namespace tessary
