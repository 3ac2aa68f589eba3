// The case, width and tab conversions: the documented cases, the tables, every byte and pair.
#include "commands/text_conversions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "base/sjis.h"
#include "codec/sjis_text.h"

namespace tessary {
namespace {

// Examples are written in UTF-8 and compared as Shift-JIS.
std::string S(std::string_view utf8) {
  return Utf8ToSjis(utf8);
}

std::string Pair(int lead, int trail) {
  return {static_cast<char>(lead), static_cast<char>(trail)};
}

// The character walk the editor uses: a lead byte takes the byte after it when that is a
// trail byte (0x40-0xFC, not 0x7F).
std::vector<std::string_view> Chars(std::string_view s) {
  std::vector<std::string_view> chars;
  for (size_t i = 0; i < s.size();) {
    const auto next = i + 1 < s.size() ? static_cast<uint8_t>(s[i + 1]) : 0;
    const size_t len =
        sjis::IsLeadByte(s[i]) && next >= 0x40 && next <= 0xFC && next != 0x7F ? 2 : 1;
    chars.push_back(s.substr(i, len));
    i += len;
  }
  return chars;
}

std::string LoneLeadBytes(std::string_view s) {
  std::string leads;
  for (std::string_view c : Chars(s))
    if (c.size() == 1 && sjis::IsLeadByte(c[0])) leads += c;
  return leads;
}

size_t DoubleByteChars(std::string_view s) {
  size_t n = 0;
  for (std::string_view c : Chars(s)) n += c.size() == 2;
  return n;
}

using Routine = std::function<std::string(std::string_view)>;

// ---- half-width to full-width ----

TEST(HanToZen, VoicedKanaJoinTheirMarkOrTakeTheFullWidthMark) {
  EXPECT_EQ(HanToZen(S("ｶﾞｷﾞｸﾞ")), S("ガギグ"));
  EXPECT_EQ(HanToZen(S("ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟﾊﾞﾎﾞ")), S("パピプペポバボ"));
  EXPECT_EQ(HanToZen(S("ｻﾞﾀﾞﾃﾞﾄﾞﾂﾞ")), S("ザダデドヅ"));
  EXPECT_EQ(HanToZen(S("ｳﾞ")), S("ウ゛"));
  EXPECT_EQ(HanToZen(S("ｶﾟ")), S("カ゜"));
  EXPECT_EQ(HanToZen(S("ｱﾞ")), S("ア゛"));
  // A mark after anything but a kana, or after a mark, stays half-width.
  EXPECT_EQ(HanToZen(S("ﾞaﾟ")), S("ﾞａﾟ"));
  EXPECT_EQ(HanToZen(S("ｶﾞﾞ")), S("ガﾞ"));
  // A kana at the end of the text looks no further.
  EXPECT_EQ(HanToZen(S("ﾊ")), S("ハ"));
}

TEST(HanToZen, EveryHalfWidthKanaHasItsTableEntry) {
  EXPECT_EQ(HanToZen(S("ｦｧｨｩｪｫｬｭｮｯｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ")),
            S("ヲァィゥェォャュョッアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミ"
              "ムメモヤユヨラリルレロワン"));
  EXPECT_EQ(HanToZen(S("ﾞﾟ")), S("ﾞﾟ"));
}

TEST(HanToZen, LettersDigitsAndTheSymbolListByPosition) {
  EXPECT_EQ(HanToZen("ABC abc 123"), S("ＡＢＣ　ａｂｃ　１２３"));
  EXPECT_EQ(HanToZen("Zz09"), S("Ｚｚ０９"));
  EXPECT_EQ(HanToZen(" !\"#$%&'()=`|-^\\~{@[+*};:]<>?_" + S("､｡･") + ",./" + S("ｰ｢｣")),
            S("　！”＃＄％＆’（）＝‘｜－＾￥￣｛＠［＋＊｝；：］＜＞？＿、。・，．／ー「」"));
}

TEST(HanToZen, OtherBytesAndDoubleByteCharactersStay) {
  const std::string others = "\t\r\n\x01\x7F\x80\xA0\xFD\xFE\xFF";
  EXPECT_EQ(HanToZen(others), others);
  EXPECT_EQ(HanToZen(S("ぁ漢字ＡＢ＝")), S("ぁ漢字ＡＢ＝"));
}

// ---- full-width to half-width ----

TEST(ZenToHan, EveryKatakanaAsTheTableSays) {
  EXPECT_EQ(ZenToHan(S(
                "ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトド"
                "ナニヌネノハバパヒビピフブプヘベペホボポマミムメモャヤュユョヨラリルレロヮワヰヱヲ"
                "ンヴヵヶ")),
            S("ｧｱｨｲｩｳｪｴｫｵｶｶﾞｷｷﾞｸｸﾞｹｹﾞｺｺﾞｻｻﾞｼｼﾞｽｽﾞｾｾﾞｿｿﾞﾀﾀﾞﾁﾁﾞｯﾂﾂﾞﾃﾃﾞﾄﾄﾞ"
              "ﾅﾆﾇﾈﾉﾊﾊﾞﾊﾟﾋﾋﾞﾋﾟﾌﾌﾞﾌﾟﾍﾍﾞﾍﾟﾎﾎﾞﾎﾟﾏﾐﾑﾒﾓｬﾔｭﾕｮﾖﾗﾘﾙﾚﾛﾜﾜｲｴｵﾝｳﾞｶｹ"));
}

TEST(ZenToHan, SymbolsLettersAndDigitsBack) {
  EXPECT_EQ(ZenToHan(S("ＡＢＣ　ａｂｃ　１２３")), "ABC abc 123");
  EXPECT_EQ(
      ZenToHan(S("　！”＃＄％＆’（）＝‘｜－＾￥￣｛＠［＋＊｝；：］＜＞？＿、。・，．／ー「」")),
      " !\"#$%&'()=`|-^\\~{@[+*};:]<>?_" + S("､｡･") + ",./" + S("ｰ｢｣"));
}

TEST(ZenToHan, HiraganaKanjiMarksAndUnlistedSymbolsStay) {
  const std::string kept = S("ぁあ漢字゛゜～“〈〔");
  EXPECT_EQ(ZenToHan(kept), kept);
  EXPECT_EQ(ZenToHan("abc\t\xA6"), "abc\t\xA6");
}

// Looking up a two-byte string in the list as one byte string would find these at the seam of
// two neighbouring symbols (煤 = the end of ＃ and the start of ＄).
TEST(ZenToHan, CodesAtTheSeamsOfTheSymbolListStay) {
  const std::string seams = S("煤吹刀普潤磨浴п");
  ASSERT_EQ(seams, Pair(0x94, 0x81) + Pair(0x90, 0x81) + Pair(0x93, 0x81) + Pair(0x95, 0x81) +
                       Pair(0x8F, 0x81) + Pair(0x96, 0x81) + Pair(0x97, 0x81) + Pair(0x84, 0x81));
  EXPECT_EQ(ZenToHan(seams), seams);
  EXPECT_EQ(ZenToHan(S("ャ")), S("ｬ"));
}

// Row 0x23 cells that are no digit or letter are no characters; they must not turn into ASCII.
TEST(ZenToHan, UnassignedLatinRowCodesStay) {
  for (int trail : {0x40, 0x4E, 0x59, 0x5F, 0x7A, 0x80, 0x9B, 0x9E}) {
    EXPECT_EQ(ZenToHan(Pair(0x82, trail)), Pair(0x82, trail)) << std::hex << trail;
  }
}

TEST(ZenToHan, ChangesExactlyTheKanaSymbolsDigitsAndLetters) {
  int changed = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!sjis::IsLeadByte(static_cast<uint8_t>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail)
      changed += ZenToHan(Pair(lead, trail)) != Pair(lead, trail);
  }
  EXPECT_EQ(changed, 86 + 39 + 10 + 26 + 26);
}

TEST(WidthRoundTrip, EverySingleByteComesBackExceptWo) {
  for (int b = 0; b < 256; ++b) {
    if (sjis::IsLeadByte(static_cast<uint8_t>(b))) continue;
    const std::string text(1, static_cast<char>(b));
    const std::string back = ZenToHan(HanToZen(text));
    if (b == 0xA6) {
      EXPECT_EQ(back, S("ｵ"));  // ｦ → ヲ → ｵ, ヲ following its vowel
    } else {
      EXPECT_EQ(back, text) << std::hex << b;
    }
  }
  const std::string tail = "abc" + S("ｱｶﾞﾊﾟ") + "~\\";
  EXPECT_EQ(ZenToHan(HanToZen(tail)), tail);
}

// ---- case ----

TEST(CaseConversion, AsciiAndFullWidthLatin) {
  EXPECT_EQ(UpperCase("abc XYZ 09@[`{"), "ABC XYZ 09@[`{");
  EXPECT_EQ(LowerCase("ABC xyz 09@[`{"), "abc xyz 09@[`{");
  EXPECT_EQ(UpperCase(S("ａｚＡ")), S("ＡＺＡ"));
  EXPECT_EQ(LowerCase(S("ＡＺａ")), S("ａｚａ"));
}

TEST(CaseConversion, GreekCyrillicAndRomanNumerals) {
  EXPECT_EQ(UpperCase(S("αωёяⅰⅹ")), S("ΑΩЁЯⅠⅩ"));
  EXPECT_EQ(LowerCase(S("ΑΩЁЯⅠⅩ")), S("αωёяⅰⅹ"));
}

TEST(CaseConversion, KanaKanjiAndHalfWidthKanaStay) {
  const std::string kept = S("ｱｶﾞかな漢字ー") + "\xA0\xFD";
  EXPECT_EQ(UpperCase(kept), kept);
  EXPECT_EQ(LowerCase(kept), kept);
}

// A character with one form and two codes keeps the code it has.
TEST(CaseConversion, DuplicateCodesKeepTheirBytes) {
  for (const std::string& dup : {Pair(0x87, 0x9A), Pair(0x81, 0xE6), Pair(0xFA, 0x55)}) {
    EXPECT_EQ(UpperCase(dup), dup);
    EXPECT_EQ(LowerCase(dup), dup);
  }
  // The NEC-selected IBM extensions: only the small Roman numerals (0xEEEF-0xEEF8) have another
  // case, and upper case writes them with the code page's own code of the capital.
  for (int lead = 0xED; lead <= 0xEE; ++lead) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const std::string c = Pair(lead, trail);
      EXPECT_EQ(LowerCase(c), c);
      const bool small_roman = lead == 0xEE && trail >= 0xEF && trail <= 0xF8;
      if (!small_roman) {
        EXPECT_EQ(UpperCase(c), c) << std::hex << lead << trail;
      }
    }
  }
  EXPECT_EQ(UpperCase(Pair(0xEE, 0xEF)), S("Ⅰ"));
}

TEST(CaseConversion, ChangesExactlyTheLettersOfTheOtherCase) {
  int upper = 0, lower = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!sjis::IsLeadByte(static_cast<uint8_t>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const std::string c = Pair(lead, trail);
      const std::string u = UpperCase(c), l = LowerCase(c);
      upper += u != c;
      lower += l != c;
      EXPECT_EQ(UpperCase(u), u);
      EXPECT_EQ(LowerCase(l), l);
    }
  }
  // Full-width Latin 26, Greek 24, Cyrillic 33, Roman numerals 10 at two codes each.
  EXPECT_EQ(upper, 26 + 24 + 33 + 20);
  EXPECT_EQ(lower, 26 + 24 + 33 + 20);
}

// ---- tabs ----

TEST(TabsToBlanks, EveryTabBecomesTheCountWhateverItsColumn) {
  EXPECT_EQ(TabsToBlanks("a\tb", 8), "a        b");
  EXPECT_EQ(TabsToBlanks("abc\td\t", 4), "abc    d    ");
  EXPECT_EQ(TabsToBlanks("\x81\t", 2), "\x81  ");
  EXPECT_EQ(TabsToBlanks(S("漢\t字"), 2), S("漢  字"));
  EXPECT_EQ(TabsToBlanks("", 4), "");
}

TEST(TabsToBlanks, CountsOutsideTheOfferedOnesFallBackToFour) {
  EXPECT_EQ(TabBlankCount(2), 2);
  EXPECT_EQ(TabBlankCount(6), 6);
  EXPECT_EQ(TabBlankCount(8), 8);
  for (int bad : {-4, 0, 1, 3, 5, 7, 9, 16}) EXPECT_EQ(TabBlankCount(bad), 4) << bad;
}

// ---- every routine ----

const std::vector<std::pair<const char*, Routine>>& Routines() {
  static const std::vector<std::pair<const char*, Routine>> routines = {
      {"upper", [](std::string_view t) { return UpperCase(t); }},
      {"lower", [](std::string_view t) { return LowerCase(t); }},
      {"zen2han", [](std::string_view t) { return ZenToHan(t); }},
      {"han2zen", [](std::string_view t) { return HanToZen(t); }},
      {"tabs", [](std::string_view t) { return TabsToBlanks(t, 4); }},
  };
  return routines;
}

TEST(EveryRoutine, LoneLeadByteBeforeALineEndStaysAndTheLineEndSurvives) {
  const std::string text = S("ア") + "\x81\r\n" + S("イ") + "\x9F\n" + "\xE0";
  for (const auto& [name, routine] : Routines()) {
    const std::string out = routine(text);
    EXPECT_NE(out.find("\x81\r\n"), std::string::npos) << name;
    EXPECT_NE(out.find("\x9F\n"), std::string::npos) << name;
    EXPECT_EQ(out.back(), '\xE0') << name;
  }
}

// A double-byte form written right after a lone lead byte would become its trail byte.
TEST(EveryRoutine, ByteAfterALoneLeadByteIsNotJoinedToIt) {
  EXPECT_EQ(HanToZen("\x81 a"), "\x81 " + S("ａ"));
  EXPECT_EQ(HanToZen("\x81\x7F"), "\x81\x7F");
  const std::string lead_del = "\x81\x7F";
  EXPECT_EQ(UpperCase(lead_del + "a"), lead_del + "A");
}

TEST(EveryRoutine, AppendFormsAddToTheBuffer) {
  std::string out = "x";
  AppendConverted(TextConversion::UpperCase, "a", 4, out);
  AppendConverted(TextConversion::LowerCase, "B", 4, out);
  AppendConverted(TextConversion::ZenToHan, S("Ｃ"), 4, out);
  AppendConverted(TextConversion::HanToZen, "d", 4, out);
  AppendConverted(TextConversion::TabsToBlanks, "\t", 2, out);
  EXPECT_EQ(out, "xAbC" + S("ｄ") + "  ");
}

// Characters keep their boundaries: lone lead bytes stay lone, the case routines keep every
// character's length, width routines only split (zen2han) or join (han2zen) characters.
void CheckCharacterRules(const char* name, std::string_view in, std::string_view out) {
  SCOPED_TRACE(testing::Message() << name << " of " << testing::PrintToString(std::string(in)));
  EXPECT_EQ(LoneLeadBytes(out), LoneLeadBytes(in));
  const auto cin = Chars(in), cout = Chars(out);
  const std::string_view kind = name;
  if (kind == "upper" || kind == "lower") {
    ASSERT_EQ(cout.size(), cin.size());
    for (size_t i = 0; i < cin.size(); ++i) EXPECT_EQ(cout[i].size(), cin[i].size());
  } else if (kind == "zen2han") {
    EXPECT_GE(cout.size(), cin.size());
    EXPECT_LE(cout.size(), cin.size() + DoubleByteChars(in));
    EXPECT_LE(DoubleByteChars(out), DoubleByteChars(in));
  } else if (kind == "han2zen") {
    EXPECT_LE(cout.size(), cin.size());
    EXPECT_GE(cout.size() * 2, cin.size());
    if (DoubleByteChars(in) == cin.size()) {
      EXPECT_EQ(out, in);
    }
  } else {
    EXPECT_EQ(cout.size(),
              cin.size() + 3 * static_cast<size_t>(std::count(in.begin(), in.end(), '\t')));
  }
}

TEST(EveryRoutine, EverySingleByteAndEveryBytePair) {
  for (const auto& [name, routine] : Routines()) {
    for (int a = 0; a < 256; ++a) {
      const std::string one(1, static_cast<char>(a));
      CheckCharacterRules(name, one, routine(one));
      for (int b = 0; b < 256; ++b) {
        const std::string two = Pair(a, b);
        CheckCharacterRules(name, two, routine(two));
        if (HasFailure()) return;
      }
    }
  }
}

}  // namespace
}  // namespace tessary
