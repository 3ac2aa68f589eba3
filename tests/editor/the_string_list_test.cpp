// The row store: list error, notifications, capacity, packed attribute fields, block integrity.
#include "editor/the_string_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "editor/row_attribute_string_list.h"

namespace tessary {
namespace {

TEST(TheStringList, IndexOutsideTheListRaisesTheListError) {
  TheStringList l;
  l.Add("a");
  EXPECT_THROW(l.Get(1), EListError);
  EXPECT_THROW(l.Get(-1), EListError);
  EXPECT_THROW(l.Put(1, "x"), EListError);
  EXPECT_THROW(l.Delete(1), EListError);
  EXPECT_THROW(l.Exchange(0, 1), EListError);
  EXPECT_THROW(l.Insert(2, "x"), EListError);
  EXPECT_THROW(l.GetWord1(3), EListError);
  EXPECT_THROW(l.SetStateText(1, "s"), EListError);
  EXPECT_NO_THROW(l.Insert(1, "b"));  // Insert accepts i == count
  try {
    l.Get(9);
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています");
  }
}

TEST(TheStringList, PutKeepsAttributesAndExchangeSwapsWholeEntries) {
  TheStringList l;
  l.Add("a");
  l.Add("b");
  l.SetWord1(0, 0x12345678);
  l.SetWord2(0, 0x9ABCDEF0);
  l.SetRowData(0, 7);
  l.SetStateText(0, "st");
  l.Put(0, "longer text");
  EXPECT_EQ(l.Get(0), "longer text");
  EXPECT_EQ(l.GetWord1(0), 0x12345678u);
  EXPECT_EQ(l.GetRowData(0), 7);
  EXPECT_EQ(l.GetStateText(0), "st");
  l.Exchange(0, 1);
  EXPECT_EQ(l.Get(0), "b");
  EXPECT_EQ(l.GetWord1(0), 0u);
  EXPECT_EQ(l.GetRowData(0), 0);
  EXPECT_EQ(l.Get(1), "longer text");
  EXPECT_EQ(l.GetWord2(1), 0x9ABCDEF0u);
  EXPECT_EQ(l.GetStateText(1), "st");
  EXPECT_EQ(l.GetRowData(1), 7);
  l.Insert(1, "new");
  EXPECT_EQ(l.GetWord1(1), 0u);
  EXPECT_EQ(l.GetStateText(1), "");
  EXPECT_EQ(l.GetStateText(2), "st");
}

TEST(TheStringList, NotifiesAroundChangesButNotInsideAnUpdate) {
  TheStringList l;
  int changing = 0, changed = 0;
  l.OnChanging = [&] { ++changing; };
  l.OnChange = [&] { ++changed; };
  l.Clear();  // empty: nothing
  EXPECT_EQ(changed, 0);
  l.Add("a");
  l.Put(0, "b");
  l.Insert(0, "c");
  l.Exchange(0, 1);
  l.Delete(0);
  EXPECT_EQ(changing, 5);
  EXPECT_EQ(changed, 5);
  l.SetUpdateState(true);
  l.Add("x");
  l.Add("y");
  l.Clear();
  EXPECT_EQ(changing, 6);
  EXPECT_EQ(changed, 5);
  l.SetUpdateState(false);
  EXPECT_EQ(changed, 6);
}

TEST(TheStringList, CapacityGrowsByTheFixedSteps) {
  TheStringList l;
  std::vector<int32_t> seen;
  for (int i = 0; i < 200; ++i) {
    if (l.Count() == l.Capacity()) {
      l.Add("x");
      seen.push_back(l.Capacity());
    } else {
      l.Add("x");
    }
  }
  // 4, 8, 12 (by 4 while <= 8), then +16 while <= 64, then +capacity/4.
  std::vector<int32_t> expected = {4, 8, 12, 28, 44, 60, 76, 95, 118, 147, 183, 228};
  EXPECT_EQ(seen, expected);
  EXPECT_THROW(l.SetCapacity(10), EListError);
  l.SetCapacity(500);
  EXPECT_EQ(l.Capacity(), 500);
  l.Clear();
  EXPECT_EQ(l.Capacity(), 0);
}

TEST(TRowAttributeStringList, EachFieldHasItsOwnBitsAndKeepsTheOthers) {
  TRowAttributeStringList l;
  l.Add("r");
  l.SetRowAttribute(0, RowEnd::RowAtEof);
  l.SetPrevRowAttribute(0, RowEnd::RowWrapped);
  l.SetBracketIndex(0, 13);
  l.SetElementIndex(0, 0x1AB);  // low byte only
  l.SetRemain(0, 0x7F);
  l.SetExtraInt(0, 0x201);
  l.SetTokenKind(0, 0xC3);
  l.SetExtraByte(0, 0x5A);
  l.SetRowMarks(0, 0x8421);
  EXPECT_EQ(l.GetWord1(0), 0x017FABF6u);  // 2 | 1<<2 | 15<<4 | AB<<8 | 7F<<16 | 01<<24
  EXPECT_EQ(l.GetWord2(0), 0x84215AC3u);
  EXPECT_EQ(l.GetRowAttribute(0), RowEnd::RowAtEof);
  EXPECT_EQ(l.GetPrevRowAttribute(0), RowEnd::RowWrapped);
  EXPECT_EQ(l.GetBracketIndex(0), 13);
  EXPECT_EQ(l.GetElementIndex(0), 0xAB);
  EXPECT_EQ(l.GetExtraInt(0), 1);
  l.SetBracketIndex(0, -1);
  EXPECT_EQ(l.GetBracketIndex(0), -1);
  EXPECT_EQ(l.GetWord1(0) & 0xF0u, 0x10u);
  l.SetBracketIndex(0, -2);  // the invalid state is stored as 0
  EXPECT_EQ(l.GetWord1(0) & 0xF0u, 0u);
  EXPECT_EQ(l.GetRemain(0), 0x7F);
  EXPECT_EQ(l.GetRowMarks(0), 0x8421);
  EXPECT_THROW(l.GetRowMarks(1), EListError);

  TRowAttributeData d;
  d.BracketIndex = 3;
  d.Remain = 260;
  d.StateText = "q";
  l.SetRowState(0, d);
  const TRowAttributeData back = l.GetRowState(0);
  EXPECT_EQ(back.RowAttribute, RowEnd::RowAtEof);  // kept
  EXPECT_EQ(back.BracketIndex, 3);
  EXPECT_EQ(back.Remain, 4);
  EXPECT_EQ(back.StateText, "q");
  EXPECT_EQ(l.GetRowMarks(0), 0x8421);  // kept
}

// Random inserts, deletes, puts and attribute writes against a vector; sizes large enough to
// split and merge blocks many times.
TEST(TheStringList, BlocksAgreeWithAPlainVectorUnderRandomEdits) {
  std::mt19937 rng(12345);
  TheStringList l;
  struct Ref {
    std::string text;
    uint32_t w1;
  };
  std::vector<Ref> ref;
  auto text = [&](int n) {
    std::string s(static_cast<size_t>(rng() % n), 'a');
    for (auto& c : s) c = static_cast<char>('a' + rng() % 26);
    return s;
  };
  for (int step = 0; step < 40000; ++step) {
    const int op = static_cast<int>(rng() % 10);
    if (op < 5 || ref.empty()) {
      const int32_t at = static_cast<int32_t>(rng() % (ref.size() + 1));
      std::string s = text(step % 97 == 0 ? 3000 : 40);
      l.Insert(at, s);
      ref.insert(ref.begin() + at, {s, 0});
    } else if (op < 7) {
      const int32_t at = static_cast<int32_t>(rng() % ref.size());
      l.Delete(at);
      ref.erase(ref.begin() + at);
    } else if (op < 8) {
      const int32_t at = static_cast<int32_t>(rng() % ref.size());
      std::string s = text(60);
      l.Put(at, s);
      ref[at].text = s;
    } else {
      const int32_t at = static_cast<int32_t>(rng() % ref.size());
      const uint32_t w = rng() % 3;
      l.SetWord1(at, w);
      ref[at].w1 = w;
    }
    if (step % 4000 == 0 || step == 39999) {
      ASSERT_EQ(l.Count(), static_cast<int32_t>(ref.size()));
      int32_t endsLine = 0;
      for (int32_t i = 0; i < l.Count(); ++i) {
        ASSERT_EQ(l.GetView(i), ref[i].text) << i;
        ASSERT_EQ(l.GetWord1(i), ref[i].w1);
        ASSERT_EQ(l.CountEndsLineBefore(i), endsLine);
        endsLine += ref[i].w1 == 0;
      }
    }
  }
  // A bulk delete across blocks, then a bulk insert in the middle.
  TheStringList src;
  for (int i = 0; i < 5000; ++i) src.AppendRow("s" + std::to_string(i), 0, 0);
  l.EraseRows(10, l.Count() / 2);
  ref.erase(ref.begin() + 10, ref.begin() + 10 + static_cast<int32_t>(ref.size()) / 2);
  l.InsertRowsFrom(7, src, 0, 5000);
  ASSERT_EQ(l.Count(), static_cast<int32_t>(ref.size()) + 5000);
  EXPECT_EQ(l.Get(7), "s0");
  EXPECT_EQ(l.Get(5006), "s4999");
  EXPECT_EQ(l.Get(5007), ref[7].text);
  EXPECT_EQ(l.Get(l.Count() - 1), ref.back().text);
}

TEST(TheStringList, LineIndexCountsLineEndsAcrossBlocks) {
  TheStringList l;
  // Rows alternate RowWrapped (1) and RowEndsLine (0): every second row ends a line.
  for (int i = 0; i < 10000; ++i) l.AppendRow("x", i % 2 == 0 ? 1u : 0u, 0);
  EXPECT_EQ(l.CountLineEndsTotal(), 5000);
  EXPECT_EQ(l.CountEndsLineBefore(10000), 5000);
  EXPECT_EQ(l.CountEndsLineBefore(7001), 3500);
  EXPECT_EQ(l.RowAfterNthLineEnd(0), 0);
  EXPECT_EQ(l.RowAfterNthLineEnd(1), 2);
  EXPECT_EQ(l.RowAfterNthLineEnd(4000), 8000);
  EXPECT_EQ(l.RowAfterNthLineEnd(5000), 10000);
  l.SetWord1(0, 0);  // row 0 now ends a line too
  EXPECT_EQ(l.CountEndsLineBefore(9999), 5000);
  EXPECT_EQ(l.RowAfterNthLineEnd(2), 2);
  l.EraseRows(0, 2);
  EXPECT_EQ(l.CountLineEndsTotal(), 4999);
}

// Splices at random places and sizes (within a block, across many, at both ends) against a
// vector: the rows moved out and the rows left, with their words, offsets and line index.
TEST(TheStringList, SpliceRowsMovesRowsBothWaysAsAVectorWould) {
  std::mt19937 rng(777);
  auto rows = [&](TheStringList& l, std::vector<std::string>& ref, int n, char tag) {
    for (int i = 0; i < n; ++i) {
      std::string s(1 + rng() % 30, tag);
      l.AppendRow(s, rng() % 2, 0);
      ref.push_back(s);
    }
  };
  TheStringList l;
  std::vector<std::string> ref;
  rows(l, ref, 20000, 'a');
  for (int step = 0; step < 60; ++step) {
    const int32_t pos = static_cast<int32_t>(rng() % (ref.size() + 1));
    const int32_t count =
        static_cast<int32_t>(rng() % std::min<size_t>(ref.size() - pos + 1, 6000));
    TheStringList src;
    std::vector<std::string> add;
    rows(src, add, static_cast<int>(rng() % 5000), static_cast<char>('b' + step % 20));
    const TheStringList out = l.SpliceRows(pos, count, std::move(src));
    EXPECT_EQ(src.Count(), 0);
    ASSERT_EQ(out.Count(), count);
    for (int32_t k = 0; k < count; ++k) ASSERT_EQ(out.GetView(k), ref[pos + k]);
    ref.erase(ref.begin() + pos, ref.begin() + pos + count);
    ref.insert(ref.begin() + pos, add.begin(), add.end());
    ASSERT_EQ(l.Count(), static_cast<int32_t>(ref.size()));
    int64_t offset = 0;
    int32_t ends = 0;
    for (int32_t i = 0; i < l.Count(); i += 97) {
      ASSERT_EQ(l.GetView(i), ref[i]) << step << " " << i;
    }
    for (int32_t i = 0; i < l.Count(); ++i) {
      if (i % 251 == 0) {
        ASSERT_EQ(l.OffsetOfRow(i), offset);
        ASSERT_EQ(l.CountEndsLineBefore(i), ends);
      }
      const bool endsLine = (l.GetWord1(i) & 3u) == 0;
      offset += static_cast<int64_t>(ref[i].size()) + (endsLine ? 2 : 0);
      ends += endsLine;
    }
  }
}

// Text offsets from the line index stay right through every kind of change, rows that change
// length by Put included.
TEST(TheStringList, OffsetsOfRowsFollowEveryChange) {
  std::mt19937 rng(11);
  TheStringList list;
  auto naiveOffset = [&](int32_t row) {
    int64_t n = 0;
    for (int32_t r = 0; r < row && r < list.Count(); ++r)
      n += static_cast<int64_t>(list.GetView(r).size()) + ((list.GetWord1(r) & 3u) == 0 ? 2 : 0);
    return n;
  };
  for (int k = 0; k < 6000; ++k) list.AppendRow(std::string(rng() % 9, 'x'), rng() % 2, 0);
  for (int step = 0; step < 400; ++step) {
    const int32_t i = static_cast<int32_t>(rng() % list.Count());
    switch (rng() % 4) {
      case 0:
        list.Put(i, std::string(rng() % 30, 'y'));
        break;
      case 1:
        list.Insert(i, std::string(rng() % 5, 'z'));
        break;
      case 2:
        if (list.Count() > 1) list.Delete(i);
        break;
      default:
        list.SetWord1(i, rng() % 2);
        break;
    }
    const int32_t row = static_cast<int32_t>(rng() % (list.Count() + 1));
    const int64_t offset = naiveOffset(row);
    ASSERT_EQ(list.OffsetOfRow(row), offset) << "step " << step;
    const int32_t at = list.RowAtOffset(offset);
    // The last row that starts at or before the offset.
    ASSERT_GE(at, row);
    ASSERT_LE(list.OffsetOfRow(at), offset);
    if (at < list.Count()) {
      ASSERT_GT(list.OffsetOfRow(at + 1), offset);
    }
  }
}

}  // namespace
}  // namespace tessary
