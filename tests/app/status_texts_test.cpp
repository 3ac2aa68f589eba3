// Status texts: caret position, selection counts (line ends counted as the captions say).
#include "app/status_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "base/sjis.h"

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

// The count as the status bar defines it, one byte at a time.
std::string CountOneByOne(std::string_view s, LineEndCounting ends, SelectionUnit unit) {
  if (s.empty()) return {};
  int64_t n = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if ((c == '\r' || c == '\n') && ends == LineEndCounting::Exclude) continue;
    if (sjis::IsLeadByte(c) && i + 1 < s.size()) {
      n += unit == SelectionUnit::Characters ? 1 : 2;
      ++i;
      continue;
    }
    ++n;
  }
  return std::to_string(n) + "文字";
}

TEST(StatusTexts, SelectionCountInPiecesMatchesTheWholeText) {
  // Runs of lead-byte values of any length (trail bytes that look like leads), line ends after
  // lead bytes, lone leads at the end; cut into pieces anywhere, including inside a pair.
  std::mt19937 rng(3);
  const uint8_t bytes[] = {0x81, 0x88, 0x9F, 0xE0, 0xFC, 0x40, 0x5C, 0x7F, 0x80, 0xA0,
                           0xB1, 0xDF, 0xFD, '\r', '\n', 'a', ' ', 0x00};
  for (int round = 0; round < 2000; ++round) {
    std::string s(rng() % 300, '\0');
    for (char& c : s) c = static_cast<char>(bytes[rng() % std::size(bytes)]);
    for (const LineEndCounting ends : {LineEndCounting::Exclude, LineEndCounting::Include}) {
      for (const SelectionUnit unit : {SelectionUnit::Characters, SelectionUnit::HalfWidthColumns}) {
        SelectionCounter counter(ends, unit);
        for (size_t at = 0; at < s.size();) {
          const size_t n = std::min<size_t>(s.size() - at, rng() % 3 == 0 ? rng() % 4 : rng() % 150);
          counter.Add(std::string_view(s).substr(at, n));
          at += n;
        }
        ASSERT_EQ(counter.Text(), CountOneByOne(s, ends, unit)) << round;
        ASSERT_EQ(SelectionCountText(s, ends, unit), CountOneByOne(s, ends, unit)) << round;
      }
    }
  }
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
