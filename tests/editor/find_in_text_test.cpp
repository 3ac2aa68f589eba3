// The match core against the matching rules, and against a plain reference on random texts.
#include "editor/find_in_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/sjis.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;
namespace opt = search_option;
using Found = std::optional<TFoundText>;

Found Fwd(std::string_view text, std::string_view pattern, TSearchOptions o = 0, int64_t start = 0,
          int64_t prev = 0) {
  return FindInText(text, start, prev, pattern, static_cast<TSearchOptions>(o | opt::kForward));
}
Found Back(std::string_view text, std::string_view pattern, TSearchOptions o = 0) {
  return FindInText(text, static_cast<int64_t>(text.size()), 0, pattern, o);
}
Found At(int64_t pos, int64_t len) { return TFoundText{pos, len}; }

TEST(FindInText, CaseFolding) {
  EXPECT_EQ(Fwd("xx abc", "ABC"), At(3, 3));
  EXPECT_EQ(Fwd("xx abc", "aBc"), At(3, 3));
  EXPECT_EQ(Fwd("xx abc", "ABC", opt::kMatchCase), std::nullopt);
  // Full-width, Greek and Cyrillic lower-case letters match their capitals in the pattern.
  EXPECT_EQ(Fwd(Hex("8281 8282"), Hex("8260 8261")), At(0, 4));   // ａｂ / ＡＢ
  EXPECT_EQ(Fwd(Hex("83BF"), Hex("839F")), At(0, 2));             // α / Α
  EXPECT_EQ(Fwd(Hex("8470 8480 8491"), Hex("8440 844F 8460")), At(0, 6));  // а о я / А О Я
  EXPECT_EQ(Fwd(Hex("8281"), Hex("8260"), opt::kMatchCase), std::nullopt);
  // A full-width letter never matches its ASCII form without option 8.
  EXPECT_EQ(Fwd(Hex("8260"), "A"), std::nullopt);
}

TEST(FindInText, NeverStartsOnATrailByte) {
  // "ア" is 83 41: the "A" in its trail must not match.
  EXPECT_EQ(Fwd(Hex("8341"), "A"), std::nullopt);
  EXPECT_EQ(Back(Hex("8341"), "A"), std::nullopt);
  // A long run of lead-range bytes: 88 9F 88 9F ... then a trail 9F 41 pair.
  std::string run;
  for (int i = 0; i < 1000; ++i) run += Hex("889F");
  EXPECT_EQ(Fwd(run + Hex("9F41"), Hex("9F41")), At(2000, 2));
  EXPECT_EQ(Fwd(run + "A", Hex("9F88")), std::nullopt);
  EXPECT_EQ(Back(run + "A", Hex("9F88")), std::nullopt);
  // A lead byte before a line end stands alone; the line end is no trail.
  EXPECT_EQ(Fwd(Hex("82 0D 0A"), "\r\n"), At(1, 2));
  // A first candidate on a trail byte moves one step in the search direction.
  EXPECT_EQ(Fwd(Hex("82A0 41"), "A", 0, 1), At(2, 1));
}

TEST(FindInText, ForwardStartsAfterThePreviousHit) {
  EXPECT_EQ(Fwd("ab ab ab", "ab", 0, 0, 0), At(0, 2));
  EXPECT_EQ(Fwd("ab ab ab", "ab", 0, 0, 2), At(3, 2));
  EXPECT_EQ(Fwd("ab ab ab", "ab", 0, 5, 0), At(6, 2));
  // The very last position is tried: a match may end at the end of the text.
  EXPECT_EQ(Fwd("abc", "c"), At(2, 1));
  EXPECT_EQ(Fwd("abc", "abc"), At(0, 3));
  // Bad starts and empty input find nothing.
  EXPECT_EQ(FindInText("abc", 4, 0, "a", opt::kForward), std::nullopt);
  EXPECT_EQ(FindInText("abc", -1, 0, "a", opt::kForward), std::nullopt);
  EXPECT_EQ(FindInText("abc", 0, -1, "a", opt::kForward), std::nullopt);
  EXPECT_EQ(Fwd("abc", ""), std::nullopt);
  EXPECT_EQ(Fwd("", "a"), std::nullopt);
}

TEST(FindInText, BackwardEndsAtTheStart) {
  EXPECT_EQ(Back("ab ab ab", "ab"), At(6, 2));
  EXPECT_EQ(FindInText("ab ab ab", 7, 0, "ab", 0), At(3, 2));
  EXPECT_EQ(FindInText("ab ab ab", 1, 0, "ab", 0), std::nullopt);
  EXPECT_EQ(FindInText("ab ab ab", 2, 0, "ab", 0), At(0, 2));
}

TEST(FindInText, WholeWords) {
  const TSearchOptions w = opt::kWholeWord;
  EXPECT_EQ(Fwd("cat category", "cat", w, 1), std::nullopt);
  EXPECT_EQ(Fwd("category cat", "cat", w), At(9, 3));
  EXPECT_EQ(Fwd("cat_x", "cat", w), At(0, 3));   // "_" is a delimiter here
  EXPECT_EQ(Fwd("x_cat", "cat", w), At(2, 3));
  EXPECT_EQ(Fwd("cat1", "cat", w), std::nullopt);
  EXPECT_EQ(Back("cat category", "cat", w), At(0, 3));
  // The trail 0x40 of "　" (81 40) is no delimiter: a word right after it is no word start.
  EXPECT_EQ(Fwd(Hex("8140") + "cat", "cat", w), std::nullopt);
  EXPECT_EQ(Fwd("@cat", "cat", w), At(1, 3));
  // A double-byte character after the match is a word byte.
  EXPECT_EQ(Fwd(std::string("cat") + Hex("82A0"), "cat", w), std::nullopt);
}

TEST(FindInText, FullWidthAndHalfWidthAreEqual) {
  const TSearchOptions f = opt::kFullHalf;
  // ｶﾞｷﾞ in the text (B6 DE B7 DE) matches ガギ typed in full width, and the reverse.
  EXPECT_EQ(Fwd(std::string("x") + Hex("B6DE B7DE"), Hex("834B 834D"), f), At(1, 4));
  EXPECT_EQ(Fwd(Hex("834B 834D"), Hex("B6DE B7DE"), f), At(0, 4));
  // ﾊﾟ is パ; a plain ﾊ before the mark is not ハ then.
  EXPECT_EQ(Fwd(Hex("CADF"), Hex("8370"), f), At(0, 2));
  EXPECT_EQ(Fwd(Hex("CADF"), Hex("836E"), f), std::nullopt);
  EXPECT_EQ(Fwd(Hex("B3DE"), Hex("8394"), f), At(0, 2));  // ｳﾞ = ヴ
  EXPECT_EQ(Fwd("Ab1", Hex("8260 8282 8250"), f), At(0, 3));  // Ａｂ１
  EXPECT_EQ(Fwd("ab", Hex("8260 8261"), f | opt::kMatchCase), std::nullopt);
  EXPECT_EQ(Fwd("AB", Hex("8260 8261"), f | opt::kMatchCase), At(0, 2));
  EXPECT_EQ(Fwd(Hex("8281"), "A", f), At(0, 2));  // ａ = A without match case
  // The first pattern character found as a lead and trail pair up to the very end of the text,
  // past the vector scan's blocks.
  std::string longText(40, 'x');
  EXPECT_EQ(Fwd(longText + Hex("8281"), "A", f), At(40, 2));
  EXPECT_EQ(Fwd(longText + Hex("82A0"), Hex("82A0"), f), At(40, 2));
  EXPECT_EQ(Fwd(longText + Hex("82"), Hex("82A0"), f), std::nullopt);
  // Backward steps over a half-width katakana with its mark as one character.
  EXPECT_EQ(Back(std::string("z") + Hex("B6DE"), Hex("834B"), f), At(1, 2));
  EXPECT_EQ(Back("ab", Hex("8260 8261"), f), At(0, 2));
}

TEST(FindInText, SkippingLineBreaksAndBlanks) {
  const TSearchOptions s = opt::kSkipLineBreaks | opt::kSkipBlanks;
  EXPECT_EQ(Fwd("foo\r\n\t  bar", "foobar", s), At(0, 11));
  EXPECT_EQ(Fwd(std::string("foo") + Hex("8140") + "bar", "foobar", s), At(0, 8));
  EXPECT_EQ(Fwd("foo\r\nbar", "foobar", opt::kSkipBlanks), std::nullopt);
  EXPECT_EQ(Fwd("foo bar", "foobar", opt::kSkipLineBreaks), std::nullopt);
  // Blanks before the first character are never skipped into the match.
  EXPECT_EQ(Fwd("  foo", "foo", s), At(2, 3));
  // A blank in the pattern still matches a blank in the text.
  EXPECT_EQ(Fwd("a b", "a b", s), At(0, 3));
  // With whole words the byte after the skipped run's end must be a delimiter.
  EXPECT_EQ(Fwd("foo\r\nbarx", "foobar", s | opt::kWholeWord), std::nullopt);
}

// ---- Reference: the matching rules, written plainly ----

struct RefChar {
  uint16_t code;
  int length;
};

RefChar RefRead(const std::string& t, size_t i, TSearchOptions o) {
  auto u = [&](size_t k) { return static_cast<uint8_t>(t[k]); };
  bool mc = o & opt::kMatchCase;
  if (sjis::IsLeadByte(u(i)) && i + 1 < t.size() && t[i + 1] != '\r' && t[i + 1] != '\n') {
    uint16_t c = static_cast<uint16_t>(u(i) << 8 | u(i + 1));
    return {mc ? c : sjis::UpperChar(c), 2};
  }
  if (!(o & opt::kFullHalf)) return {mc ? u(i) : sjis::UpperByte(u(i)), 1};
  if (i + 1 < t.size())
    if (uint16_t v = sjis::VoicedFullWidth(u(i), u(i + 1))) return {v, 2};
  uint16_t c = sjis::FullWidthByte(u(i));
  return {mc ? c : sjis::UpperChar(c), 1};
}

Found Reference(const std::string& t, int64_t start, int64_t prev, const std::string& pat, TSearchOptions o) {
  const int64_t n = static_cast<int64_t>(t.size());
  if (pat.empty() || n == 0 || start < 0 || start > n || prev < 0) return std::nullopt;
  std::vector<bool> trail(t.size(), false);
  for (size_t i = 0; i < t.size(); i += RefRead(t, i, o & ~opt::kFullHalf).length)
    if (RefRead(t, i, o & ~opt::kFullHalf).length == 2) trail[i + 1] = true;
  std::vector<uint16_t> p;
  int64_t patBytes = 0;
  for (size_t i = 0; i < pat.size();) {
    RefChar c = RefRead(pat, i, o);
    p.push_back(c.code);
    patBytes += c.code >= 0x100 ? 2 : 1;
    i += static_cast<size_t>(c.length);
  }
  auto delim = [&](int64_t i) { return IsSearchDelimiter(static_cast<uint8_t>(t[i])) && !trail[i]; };
  auto tryAt = [&](int64_t c) -> Found {
    if (trail[c]) return std::nullopt;
    if (o & opt::kWholeWord) {
      if (IsSearchDelimiter(static_cast<uint8_t>(t[c]))) return std::nullopt;
      if (c > 0 && !delim(c - 1)) return std::nullopt;
    }
    int64_t i = c;
    size_t k = 0;
    while (k < p.size()) {
      if (i >= n) return std::nullopt;
      RefChar tc = RefRead(t, static_cast<size_t>(i), o);
      if (tc.code == p[k]) {
        i += tc.length;
        ++k;
      } else if (k > 0 && (o & opt::kSkipLineBreaks) && (t[i] == '\r' || t[i] == '\n')) {
        ++i;
      } else if (k > 0 && (o & opt::kSkipBlanks) && (t[i] == ' ' || t[i] == '\t')) {
        ++i;
      } else if (k > 0 && (o & opt::kSkipBlanks) && tc.code == 0x8140 && tc.length == 2) {
        i += 2;
      } else {
        return std::nullopt;
      }
    }
    if ((o & opt::kWholeWord) && i < n && !IsSearchDelimiter(static_cast<uint8_t>(t[i])))
      return std::nullopt;
    return TFoundText{c, i - c};
  };
  if (o & opt::kForward) {
    for (int64_t c = start + prev; c < n; ++c)
      if (Found f = tryAt(c)) return f;
    return std::nullopt;
  }
  int64_t first = start - patBytes;
  if (o & opt::kFullHalf) {  // one character back per pattern character
    first = start;
    for (size_t k = 0; k < p.size(); ++k) {
      if (first <= 0) return std::nullopt;
      int64_t q = first - 1;
      if (trail[q]) --q;
      else if (q >= 1 && !trail[q - 1] && sjis::VoicedFullWidth(static_cast<uint8_t>(t[q - 1]), static_cast<uint8_t>(t[q])))
        --q;
      first = q;
    }
  }
  for (int64_t c = first; c >= 0; --c)
    if (Found f = tryAt(c)) return f;
  return std::nullopt;
}

// Random Shift-JIS-like text: ASCII words, kana, kanji, half-width katakana with marks,
// blanks and line ends, and lead-range trail bytes to stress the lead/trail classification.
std::string RandomText(std::mt19937& rng, int pieces) {
  static const std::vector<std::string> parts = {
      "a", "B", "c_", "Ab", " ", "\t", "\r\n", "\n", "1", ".", "@",
      Hex("82A0"), Hex("82A2"), Hex("8341"), Hex("834B"), Hex("8140"), Hex("8281"), Hex("8260"),
      Hex("889F"), Hex("9F88"), Hex("E0E0"), Hex("8940"), Hex("83BF"), Hex("839F"),
      Hex("B6"), Hex("DE"), Hex("DF"), Hex("CA"), Hex("B3"), Hex("A1"), Hex("81")};
  std::string s;
  std::uniform_int_distribution<size_t> pick(0, parts.size() - 1);
  for (int i = 0; i < pieces; ++i) s += parts[pick(rng)];
  return s;
}

TEST(FindInText, MatchesTheReferenceOnRandomTexts) {
  std::mt19937 rng(20261207);
  const std::vector<TSearchOptions> optionSets = {
      0, opt::kMatchCase, opt::kWholeWord, opt::kFullHalf, opt::kFullHalf | opt::kMatchCase,
      opt::kSkipLineBreaks | opt::kSkipBlanks,
      opt::kFullHalf | opt::kSkipLineBreaks | opt::kSkipBlanks | opt::kWholeWord};
  int found = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string text = RandomText(rng, 40);
    // Patterns: a piece of the text (so matches happen) or a short random text.
    std::string pattern;
    if (round % 3 != 0 && text.size() > 2) {
      size_t a = rng() % (text.size() - 1), len = 1 + rng() % 4;
      pattern = text.substr(a, len);
    } else {
      pattern = RandomText(rng, 1 + static_cast<int>(rng() % 3));
    }
    for (TSearchOptions base : optionSets) {
      for (TSearchOptions dir : {TSearchOptions{0}, opt::kForward}) {
        TSearchOptions o = static_cast<TSearchOptions>(base | dir);
        int64_t start = static_cast<int64_t>(rng() % (text.size() + 1));
        int64_t prev = dir ? static_cast<int64_t>(rng() % 3) : 0;
        Found want = Reference(text, start, prev, pattern, o);
        Found got = FindInText(text, start, prev, pattern, o);
        ASSERT_EQ(got, want) << "options " << o << " start " << start << " prev " << prev
                             << " text " << ::testing::PrintToString(text) << " pattern "
                             << ::testing::PrintToString(pattern);
        found += want.has_value();
      }
    }
  }
  EXPECT_GT(found, 10000);  // the property is not vacuous
}

}  // namespace
}  // namespace tessary
