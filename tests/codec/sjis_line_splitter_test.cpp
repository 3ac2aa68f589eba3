// The file loader's line rules: line ends, block boundaries, zero bytes and the EOF mark.
#include "codec/sjis_line_splitter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "codec/char_code_detector.h"
#include "codec/document_loader.h"
#include "support/test_files.h"

namespace tessary {
namespace {

std::vector<std::string> Lines(const TextLines& t) {
  std::vector<std::string> out;
  for (size_t i = 0; i < t.Count(); ++i) out.emplace_back(t.Line(i));
  return out;
}

using V = std::vector<std::string>;

TEST(SjisLineSplitter, LineEndsAndTheLastLine) {
  EXPECT_EQ(SplitSjisBytes("").Count(), 0u);
  TextLines abc = SplitSjisBytes("abc\r\n");
  EXPECT_EQ(Lines(abc), V{"abc"});
  EXPECT_TRUE(abc.last_line_has_end());
  TextLines open = SplitSjisBytes("abc");
  EXPECT_EQ(Lines(open), V{"abc"});
  EXPECT_FALSE(open.last_line_has_end());
  EXPECT_EQ(Lines(SplitSjisBytes("\r\n")), V{""});
  EXPECT_EQ(Lines(SplitSjisBytes("a\rb\nc\r\nd")), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(Lines(SplitSjisBytes("\n\r\r\n\n")), (V{"", "", "", ""}));
  EXPECT_EQ(Lines(SplitSjisBytes("a\n\rb")), (V{"a", "", "b"})) << "LF CR is two line ends";
}

TEST(SjisLineSplitter, DoubleByteCharactersPassUnchanged) {
  std::string kana = testing::Hex("82 A0 82 A2 83 5C");  // a trail byte 5C is no separator
  EXPECT_EQ(Lines(SplitSjisBytes(kana + "\r\n" + kana)), (V{kana, kana}));
}

TEST(SjisLineSplitter, CrLfAcrossABlockBoundaryIsOneLineEnd) {
  std::string s(kLoadBlockSize - 1, 'x');
  s += "\r\ny";
  TextLines t = SplitSjisBytes(s);
  ASSERT_EQ(t.Count(), 2u);
  EXPECT_EQ(t.Line(0).size(), kLoadBlockSize - 1);
  EXPECT_EQ(t.Line(1), "y");
}

TEST(SjisLineSplitter, ALineCutByABlockBoundaryIsJoined) {
  std::string s(kLoadBlockSize * 2 + 10, 'q');
  TextLines t = SplitSjisBytes(s + "\n");
  ASSERT_EQ(t.Count(), 1u);
  EXPECT_EQ(t.Line(0), s);
}

TEST(SjisLineSplitter, ZeroByteHidesTheRestOfItsBlock) {
  std::string block1 = "ab";
  block1 += '\0';
  block1 += std::string(kLoadBlockSize - block1.size(), 'z');  // never read
  TextLines t = SplitSjisBytes(block1 + "cd\r\nef");
  EXPECT_EQ(Lines(t), (V{"abcd", "ef"})) << "the line goes on in the next block";
  // A zero in the last block ends the text there.
  EXPECT_EQ(Lines(SplitSjisBytes(std::string("x\ny\0\nw", 6))), (V{"x", "y"}));
}

TEST(SjisLineSplitter, EofMarkEndsTheText) {
  TextLines t = SplitSjisBytes("one\r\ntwo\x1Athree\r\n");
  EXPECT_EQ(Lines(t), (V{"one", "two"}));
  EXPECT_FALSE(t.last_line_has_end());
  TextLines after_end = SplitSjisBytes(
      "one\r\n\x1A"
      "two");
  EXPECT_EQ(Lines(after_end), V{"one"});
  EXPECT_TRUE(after_end.last_line_has_end());
  // In a later block too.
  std::string far(kLoadBlockSize + 100, 'k');
  EXPECT_EQ(SplitSjisBytes(far + "\x1A\nmore").Count(), 1u);
}

TEST(SjisLineSplitter, TellsWhenTheRulesHidText) {
  // Text after a zero in its block, or after an EOF mark, is not shown: a save would delete it.
  std::string block(kLoadBlockSize, 'a');
  block[100] = '\0';
  EXPECT_TRUE(SplitSjisFile(block).cut_short);
  EXPECT_TRUE(SplitSjisFile("one\x1Atwo").cut_short);
  std::string far(kLoadBlockSize + 100, 'k');
  EXPECT_TRUE(SplitSjisFile(far + "\x1A\nmore").cut_short);
  // Zeros and EOF marks alone after the text lose nothing: old files end with one.
  EXPECT_FALSE(SplitSjisFile("one\r\n\x1A").cut_short);
  EXPECT_FALSE(SplitSjisFile(std::string("one\0\0\x1A\0", 7)).cut_short);
  EXPECT_FALSE(SplitSjisFile("one\r\ntwo").cut_short);
  // The rest of a block after a zero, not the next block, is what is hidden.
  std::string zero_then_zeros(kLoadBlockSize, '\0');
  zero_then_zeros[0] = 'a';
  EXPECT_FALSE(SplitSjisFile(zero_then_zeros + "next block").cut_short);
}

TEST(SjisLineSplitter, JoinedRebuildsTheText) {
  TextLines t = SplitSjisBytes("a\rb\nc");
  EXPECT_EQ(t.Joined("\r\n"), "a\r\nb\r\nc");
  EXPECT_EQ(SplitSjisBytes("a\n").Joined("\n"), "a\n");
}

// Packing the lines into the file's own buffer gives what copying them out gives, over random
// bytes rich in line ends, zero bytes and EOF marks, with blocks cut at every kind of byte.
TEST(SjisLineSplitter, InPlaceSplitEqualsTheCopy) {
  static const std::vector<std::string> pieces = {
      "a", "bc", "\r", "\n", "\r\n", "\x82\xa0", std::string(1, '\0'), "\x1a", "xyz"};
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    const size_t size = rng() % (3 * kLoadBlockSize);
    // Control bytes only now and then, so that many texts reach past several blocks.
    const size_t kinds = round % 3 == 0 ? pieces.size() : 5;
    while (bytes.size() < size) {
      const size_t k = rng() % (kinds + 2);
      bytes += k < kinds ? pieces[k] : std::string(rng() % 200, 'q');
    }
    const SjisSplit copied = SplitSjisFile(bytes);
    const SjisSplit packed = SplitSjisFileInPlace(std::string(bytes));
    ASSERT_EQ(Lines(packed.lines), Lines(copied.lines)) << "round " << round;
    EXPECT_EQ(packed.cut_short, copied.cut_short) << "round " << round;
    EXPECT_EQ(packed.lines.last_line_has_end(), copied.lines.last_line_has_end());
    EXPECT_EQ(packed.lines.TotalBytes(), copied.lines.TotalBytes());
  }
}

// The edge cases of a load: empty, no final line end, every mix of CR, LF and CR LF, a CR LF
// cut by a block boundary, a lone lead byte before a boundary, a text past 1 MB, zero bytes and
// an EOF mark.
std::vector<std::string> LoadEdgeCases() {
  std::vector<std::string> cases = {
      "",
      "a",
      "\r",
      "\n",
      "\r\n",
      "a\r\nb",
      "a\rb\nc\r\nd\n\re\r\r\n\n",
      "\n\n\r\r",
      "\x82\xa0\r\n\x82",
  };
  // Control bytes this far in leave the text editable, so the EOF mark cuts it.
  cases.push_back(std::string(5000, 'a') + "x\r\n\x1a\r\ny");
  cases.push_back(std::string(kLoadBlockSize - 1, 'a') + "\r\nb");
  cases.push_back(std::string(kLoadBlockSize - 1, 'a') + "\x82\xa0\r\n");
  cases.push_back(std::string(kLoadBlockSize - 2, 'a') + "\r\n\r\n");
  std::string big;
  while (big.size() < (size_t{1} << 20) + 5) big += "\x93\xfa\x96\x7b\x8c\xea line\r\n\n\r";
  cases.push_back(big + "\x82");
  cases.push_back(big + std::string(3, '\0') + "tail");
  return cases;
}

// The loader splits in the file's own buffer with its line offsets sized from the detection's
// count of CR and LF bytes: the lines, their ends and the cut-short flag are those of the plain
// copying split. A count that is wrong (too small or absurdly large) changes nothing either.
TEST(SjisLineSplitter, LoadSizedByTheLineEndCountEqualsTheCopy) {
  for (const std::string& bytes : LoadEdgeCases()) {
    const SjisSplit copied = SplitSjisFile(bytes);
    const Detection d = DetectCharCode(bytes);
    ASSERT_FALSE(d.invalid_char_found) << bytes.size();
    const LoadedText loaded = LoadDocumentText(bytes, CharCode::SJIS, d);
    ASSERT_EQ(Lines(loaded.lines), Lines(copied.lines)) << bytes.size();
    EXPECT_EQ(loaded.lines.last_line_has_end(), copied.lines.last_line_has_end()) << bytes.size();
    EXPECT_EQ(loaded.text_cut_short, copied.cut_short) << bytes.size();
    if (!bytes.empty()) {
      ASSERT_TRUE(d.line_end_bytes.has_value());
      EXPECT_LE(copied.lines.Count(), *d.line_end_bytes + 1);
    }
    for (const uint64_t wrong : {uint64_t{0}, uint64_t{1}, ~uint64_t{0}}) {
      const SjisSplit packed = SplitSjisFileInPlace(std::string(bytes), wrong);
      ASSERT_EQ(Lines(packed.lines), Lines(copied.lines)) << bytes.size() << " " << wrong;
      EXPECT_EQ(packed.cut_short, copied.cut_short);
      EXPECT_EQ(packed.lines.last_line_has_end(), copied.lines.last_line_has_end());
    }
  }
}

// The count is of the bytes themselves, and only an 8-bit classification makes it.
TEST(SjisLineSplitter, LineEndCountOfTheDetection) {
  EXPECT_EQ(DetectCharCode("a\r\nb\rc\n\n").line_end_bytes, 5u);
  EXPECT_EQ(DetectCharCode("abc").line_end_bytes, 0u);
  EXPECT_FALSE(DetectCharCode(std::string("\xff\xfe"
                                          "a\0\r\0\n\0",
                                          8))
                   .line_end_bytes);
}

}  // namespace
}  // namespace tessary
