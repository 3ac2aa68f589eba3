// The Unicode CSV reader: record rules, every input code, the separator choice and the index.
#include "viewers/unicode_csv.h"

#include <gtest/gtest.h>

#include <random>

#include "support/test_files.h"

namespace tessary {
namespace {

using Fields = std::vector<std::string>;
using testing::Hex;

CsvText Utf8(std::string_view s) {
  return MakeCsvText(std::string(s), CharCode::UTF8);
}

// Every record of the text, parsed one after another from the start.
std::vector<Fields> AllRecords(const CsvText& t, CsvSeparator sep = CsvSeparator::Comma) {
  std::vector<Fields> out;
  for (size_t pos = t.begin; pos < t.end;) {
    CsvRecord r = ParseCsvRecord(t, sep, pos);
    out.push_back(r.fields);
    pos = r.next;
  }
  return out;
}

// The same records reached through the index, which must agree with the walk above.
std::vector<Fields> IndexedRecords(const CsvText& t, CsvSeparator sep = CsvSeparator::Comma) {
  CsvRecordIndex index(t, sep);
  std::atomic<bool> cancel{false};
  EXPECT_EQ(index.Build(cancel), CsvRecordIndex::Progress::Done);
  std::vector<Fields> out;
  for (size_t i = 0; i < index.Count(); ++i)
    out.push_back(ParseCsvRecord(t, sep, index.Start(i)).fields);
  return out;
}

// UTF-16 bytes of ASCII-and-BMP UTF-8 text (what the tests need), in either order.
std::string ToUtf16(std::u16string_view s, CsvTextCode order) {
  std::string out;
  for (char16_t c : s) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    out += order == CsvTextCode::Utf16Le ? lo : hi;
    out += order == CsvTextCode::Utf16Le ? hi : lo;
  }
  return out;
}

TEST(UnicodeCsvRecords, QuotedFieldsKeepSeparatorsDoubledQuotesAndLineBreaks) {
  const CsvText t = Utf8("a,\"b,c\",\"say \"\"hi\"\"\"\r\n\"two\r\nlines\",\"x\ny\",z\n");
  const std::vector<Fields> want = {{"a", "b,c", "say \"hi\""}, {"two\r\nlines", "x\ny", "z"}};
  EXPECT_EQ(AllRecords(t), want);
  EXPECT_EQ(IndexedRecords(t), want);
}

TEST(UnicodeCsvRecords, LineEndsOfEveryKindAndAFinalRecordWithoutOne) {
  const std::vector<Fields> want = {{"a", "b"}, {"c"}, {"d", ""}, {"e"}};
  for (const char* text : {"a,b\r\nc\r\nd,\r\ne", "a,b\nc\nd,\ne\n", "a,b\rc\rd,\re\r"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(AllRecords(Utf8(text)), want);
    EXPECT_EQ(IndexedRecords(Utf8(text)), want);
  }
}

TEST(UnicodeCsvRecords, EmptyLinesFieldsAndTexts) {
  EXPECT_EQ(AllRecords(Utf8("a\n\n,\n")), (std::vector<Fields>{{"a"}, {""}, {"", ""}}));
  EXPECT_TRUE(AllRecords(Utf8("")).empty());
  EXPECT_EQ(AllRecords(Utf8("\"\"")), (std::vector<Fields>{{""}}));
}

TEST(UnicodeCsvRecords, LenientQuotes) {
  // A quote inside an unquoted field is text; text after a closing quote is kept.
  EXPECT_EQ(AllRecords(Utf8("5\" disk,a\"b\n")), (std::vector<Fields>{{"5\" disk", "a\"b"}}));
  EXPECT_EQ(AllRecords(Utf8("\"a\"b,c\n")), (std::vector<Fields>{{"ab", "c"}}));
  // An unclosed quote runs to the end of the text.
  const CsvText open = Utf8("x,\"never\nclosed,at all\n");
  EXPECT_EQ(AllRecords(open), (std::vector<Fields>{{"x", "never\nclosed,at all\n"}}));
  EXPECT_EQ(IndexedRecords(open), AllRecords(open));
}

TEST(UnicodeCsvRecords, TabSeparatedTextUsesTheSameQuoting) {
  const CsvText t = Utf8("a,b\t\"c\td\"\t\n1\t2\t3\n");
  const std::vector<Fields> want = {{"a,b", "c\td", ""}, {"1", "2", "3"}};
  EXPECT_EQ(AllRecords(t, CsvSeparator::Tab), want);
  EXPECT_EQ(IndexedRecords(t, CsvSeparator::Tab), want);
}

TEST(UnicodeCsvCodes, Utf8WithAndWithoutMark) {
  const std::string body = "名前,値\n\"東京,都\",１\n";
  const std::vector<Fields> want = {{"名前", "値"}, {"東京,都", "１"}};
  std::string with_mark = "\xEF\xBB\xBF";
  with_mark += body;
  const CsvText a = MakeCsvText(with_mark, CharCode::UTF8Bom);
  EXPECT_EQ(a.begin, 3u);
  EXPECT_EQ(AllRecords(a), want);
  EXPECT_EQ(AllRecords(MakeCsvText(body, CharCode::UTF8)), want);
}

TEST(UnicodeCsvCodes, Utf16BothOrdersWithMarksAndUnitsThatHoldSpecialBytes) {
  // U+2C22 and U+0A0D hold the bytes of a comma, a quote, LF and CR: none of them cuts.
  const std::u16string text = u"\uFEFF\u2C22,\"a\"\"\u0A0D\"\r\n😀,x";
  const std::vector<Fields> want = {{"\u2C22", "a\"\u0A0D"}, {"😀", "x"}};
  for (CsvTextCode order : {CsvTextCode::Utf16Le, CsvTextCode::Utf16Be}) {
    const bool le = order == CsvTextCode::Utf16Le;
    const CsvText t =
        MakeCsvText(ToUtf16(text, order), le ? CharCode::UTF16BomLe : CharCode::UTF16BomBe);
    EXPECT_EQ(t.code, order);
    EXPECT_EQ(AllRecords(t), want);
    EXPECT_EQ(IndexedRecords(t), want);
    // Without a mark, and with an odd byte at the end that is left out.
    std::string bare = ToUtf16(text.substr(1), order);
    bare += 'z';
    const CsvText b = MakeCsvText(bare, le ? CharCode::UTF16Le : CharCode::UTF16Be);
    EXPECT_EQ(AllRecords(b), want);
  }
}

TEST(UnicodeCsvCodes, LoneSurrogatesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf16BytesToUtf8(Hex("00 D8 41 00"), CsvTextCode::Utf16Le), "\uFFFDA");
  EXPECT_EQ(Utf16BytesToUtf8(Hex("DC 00"), CsvTextCode::Utf16Be), "\uFFFD");
  EXPECT_EQ(Utf16BytesToUtf8(Hex("D8 3D DE 00"), CsvTextCode::Utf16Be), "😀");
}

TEST(UnicodeCsvCodes, ShiftJisIsShownInUnicode) {
  // 表 (95 5C) ends in a backslash byte and ｱ is half-width: both come through as themselves;
  // 0xED40 is a duplicate code that must not be folded into its twin.
  std::string sjis = Hex("95 5C 2C 22 B1 2C 22 0D 0A ED 40");
  const CsvText t = MakeCsvText(sjis, CharCode::SJIS);
  EXPECT_EQ(t.code, CsvTextCode::Sjis);
  EXPECT_EQ(AllRecords(t), (std::vector<Fields>{{"表", "ｱ,"}, {"\u7E8A"}}));
}

TEST(UnicodeCsvCodes, WellFormedUtf8TheByteTestsTookForShiftJisIsReadAsUtf8) {
  // Kanji only: E5 82 99 (備) looks like a Shift-JIS hiragana pair to the byte tests.
  for (const char* text : {"備考,名前\n住所,😀\n"}) {
    const CsvText t = MakeCsvText(text, CharCode::SJIS);
    EXPECT_EQ(t.code, CsvTextCode::Utf8);
    EXPECT_EQ(AllRecords(t), (std::vector<Fields>{{"備考", "名前"}, {"住所", "😀"}}));
  }
  // Overlong, surrogate and cut-off forms are not UTF-8; plain ASCII reads the same either way.
  for (const char* bytes : {"\xC0\xAF", "\xED\xA0\x80", "\xE5\x82", "\x82\xA0"})
    EXPECT_EQ(MakeCsvText(bytes, CharCode::SJIS).code, CsvTextCode::Sjis) << bytes;
  EXPECT_EQ(MakeCsvText("a,b", CharCode::SJIS).code, CsvTextCode::Sjis);
}

TEST(UnicodeCsvCodes, ReadingAFileDetectsItsCode) {
  testing::TempDir dir;
  std::string bytes = "\xEF\xBB\xBF";
  bytes += "a,é\n";
  Result<CsvText> t = ReadCsvFile(dir.Write("x.csv", bytes));
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(AllRecords(t.value()), (std::vector<Fields>{{"a", "é"}}));
  EXPECT_FALSE(ReadCsvFile(dir.File("missing.csv")).ok());
}

TEST(UnicodeCsvSeparator, ExtensionFirstThenTheFirstRecord) {
  const CsvText tabs = Utf8("a\tb\tc,d\n");
  const CsvText commas = Utf8("a,b,c\td\n");
  EXPECT_EQ(ChooseSeparator("x.TSV", commas), CsvSeparator::Tab);
  EXPECT_EQ(ChooseSeparator("x.tab", commas), CsvSeparator::Tab);
  EXPECT_EQ(ChooseSeparator("x.Csv", tabs), CsvSeparator::Comma);
  EXPECT_EQ(ChooseSeparator("x.txt", tabs), CsvSeparator::Tab);
  EXPECT_EQ(ChooseSeparator("x.txt", commas), CsvSeparator::Comma);
  // Separators inside quotes are not counted.
  EXPECT_EQ(ChooseSeparator("data", Utf8("\"a\t\tb\tc\",d\n")), CsvSeparator::Comma);
  EXPECT_EQ(ChooseSeparator("data", Utf8("")), CsvSeparator::Comma);
}

TEST(UnicodeCsvMarks, EachLineBreakOfAFieldBecomesOneMark) {
  EXPECT_EQ(MarkLineBreaks("a\r\nb\rc\nd", LineBreakMark::Ret), "a<Ret>b<Ret>c<Ret>d");
  EXPECT_EQ(MarkLineBreaks("\n\n", LineBreakMark::Lf), "<Lf><Lf>");
  EXPECT_EQ(MarkLineBreaks("x\r\n", LineBreakMark::Blank), "x ");
  EXPECT_EQ(MarkLineBreaks("plain", LineBreakMark::Ret), "plain");
}

TEST(UnicodeCsvIndex, SlicesGiveTheSameStartsAsOnePassAndCountFields) {
  std::string text;
  for (int i = 0; i < 500; ++i) {
    text += std::to_string(i);
    text += i % 7 == 0 ? ",\"q\nq\",x,y\n" : ",b\n";
  }
  const CsvText t = Utf8(text);
  CsvRecordIndex whole(t, CsvSeparator::Comma);
  std::atomic<bool> cancel{false};
  ASSERT_EQ(whole.Build(cancel), CsvRecordIndex::Progress::Done);
  EXPECT_EQ(whole.Count(), 500u);
  EXPECT_EQ(whole.MaxFields(), 4u);
  CsvRecordIndex sliced(t, CsvSeparator::Comma);
  while (sliced.Advance(7) == CsvRecordIndex::Progress::More) {
  }
  ASSERT_EQ(sliced.Count(), whole.Count());
  for (size_t i = 0; i < whole.Count(); ++i) EXPECT_EQ(sliced.Start(i), whole.Start(i));
  EXPECT_EQ(ParseCsvRecord(t, CsvSeparator::Comma, whole.Start(7)).fields,
            (Fields{"7", "q\nq", "x", "y"}));
}

TEST(UnicodeCsvIndex, ACancelledBuildStopsAndCanResume) {
  std::string text;
  for (int i = 0; i < 300000; ++i) text += "abcdefgh,ijklmnop\n";
  const CsvText t = Utf8(text);
  CsvRecordIndex index(t, CsvSeparator::Comma);
  std::atomic<bool> cancel{true};
  EXPECT_EQ(index.Build(cancel), CsvRecordIndex::Progress::More);
  EXPECT_EQ(index.Count(), 0u);
  cancel = false;
  EXPECT_EQ(index.Build(cancel), CsvRecordIndex::Progress::Done);
  EXPECT_EQ(index.Count(), 300000u);
  EXPECT_TRUE(ParseCsvRecord(t, CsvSeparator::Comma, t.end).fields.empty());
}

// Random tables written as RFC 4180 text (every field quoted, quotes doubled) in each code read
// back as the same fields, through the index as well as record by record.
TEST(UnicodeCsvProperty, WrittenTablesReadBackInEveryCode) {
  std::mt19937 rng(21);
  const std::u16string alphabet = u"a\",\t\r\n あ😀";
  for (int round = 0; round < 200; ++round) {
    std::vector<std::vector<std::u16string>> table(1 + rng() % 6);
    std::u16string text;
    for (auto& record : table) {
      record.resize(1 + rng() % 4);
      for (size_t f = 0; f < record.size(); ++f) {
        for (int n = rng() % 6; n > 0; --n) {
          const size_t k = rng() % (alphabet.size() - 1);
          // The emoji is two units: take both or neither.
          record[f] += alphabet[k] >= 0xD800 && alphabet[k] < 0xDC00   ? alphabet.substr(k, 2)
                       : alphabet[k] >= 0xDC00 && alphabet[k] < 0xE000 ? alphabet.substr(k - 1, 2)
                                                                       : alphabet.substr(k, 1);
        }
        if (f > 0) text += u',';
        text += u'"';
        for (char16_t c : record[f]) text += c == u'"' ? u"\"\"" : std::u16string(1, c);
        text += u'"';
      }
      text += rng() % 2 ? u"\r\n" : u"\n";
    }
    std::vector<Fields> want;
    for (const auto& record : table) {
      Fields fields;
      for (const auto& f : record)
        fields.push_back(Utf16BytesToUtf8(ToUtf16(f, CsvTextCode::Utf16Le), CsvTextCode::Utf16Le));
      want.push_back(fields);
    }
    const std::string le = ToUtf16(text, CsvTextCode::Utf16Le);
    const std::string utf8 = Utf16BytesToUtf8(le, CsvTextCode::Utf16Le);
    for (const CsvText& t : {MakeCsvText(le, CharCode::UTF16Le),
                             MakeCsvText(ToUtf16(text, CsvTextCode::Utf16Be), CharCode::UTF16Be),
                             MakeCsvText(utf8, CharCode::UTF8)}) {
      ASSERT_EQ(AllRecords(t), want) << round;
      ASSERT_EQ(IndexedRecords(t), want) << round;
    }
  }
}

}  // namespace
}  // namespace tessary
