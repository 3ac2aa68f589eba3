// A string list with two packed attribute words per entry, stored in blocks of rows.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tessary {

// The one error the string lists raise: an index outside the list.
class EListError : public std::out_of_range {
 public:
  EListError() : std::out_of_range("リストのインデックスが範囲を超えています") {}
};

// Entries live in blocks of up to a few thousand rows, each block holding its rows' texts back
// to back, so inserting or deleting a row moves only the rest of its block, and a million rows
// cost one allocation per block rather than one per row. StateText and RowData are rarely used;
// a block allocates room for them only once one of its rows has a non-empty value.
class TheStringList {
 public:
  std::function<void()> OnChange;
  std::function<void()> OnChanging;

  TheStringList();
  virtual ~TheStringList();
  TheStringList(const TheStringList&);
  TheStringList& operator=(const TheStringList&);
  TheStringList(TheStringList&&) noexcept;
  TheStringList& operator=(TheStringList&&) noexcept;

  int32_t Count() const { return count_; }
  int32_t Capacity() const { return capacity_; }
  // Reserves room for exactly n entries; fewer than Count is a list error.
  void SetCapacity(int32_t n);

  std::string Get(int32_t i) const { return std::string(GetView(i)); }
  // Valid until the next change of the list.
  std::string_view GetView(int32_t i) const;
  void Put(int32_t i, std::string_view s);
  int32_t Add(std::string_view s);
  void Insert(int32_t i, std::string_view s);
  void Delete(int32_t i);
  void Exchange(int32_t i, int32_t j);
  void Clear();
  void SetUpdateState(bool updating);
  int32_t UpdateCount() const { return update_count_; }

  int32_t GetRowData(int32_t i) const;
  void SetRowData(int32_t i, int32_t v);
  std::string GetStateText(int32_t i) const;
  void SetStateText(int32_t i, std::string_view s);
  uint32_t GetWord1(int32_t i) const;
  void SetWord1(int32_t i, uint32_t w);
  uint32_t GetWord2(int32_t i) const;
  void SetWord2(int32_t i, uint32_t w);

  // Bulk operations used by the document; they raise no notification and check nothing beyond
  // what their callers guarantee (0 <= pos <= Count, the range inside the list).
  // Appends a row; cheap enough to load millions of rows.
  void AppendRow(std::string_view text, uint32_t w1, uint32_t w2);
  // Appends rows that lie one after another in memory, all with the same words: the first
  // starts at base + begin and row k ends at base + ends[k]. The blocks fill as AppendRow
  // fills them, each block's text in one copy.
  void AppendPackedRows(const char* base, size_t begin, std::span<const size_t> ends, uint32_t w1,
                        uint32_t w2);
  // Inserts n rows copied from src (text, words, RowData, StateText) before row pos.
  void InsertRowsFrom(int32_t pos, const TheStringList& src, int32_t srcStart, int32_t n);
  void EraseRows(int32_t pos, int32_t n);
  // Replaces text and words of row i, keeping RowData and StateText.
  void SetRow(int32_t i, std::string_view text, uint32_t w1, uint32_t w2);
  // Replaces the whole entry i with entry j of src.
  void CopyRowFrom(int32_t i, const TheStringList& src, int32_t j);
  void RemoveAll();
  // Rows [pos, pos + count) move out into the returned list and every row of src moves in
  // their place, src left empty. Whole blocks change hands: only the blocks holding the two
  // ends are cut, so replacing a hundred megabytes of rows copies no text. Requires
  // 0 <= pos, 0 <= count, pos + count <= Count().
  [[nodiscard]] TheStringList SpliceRows(int32_t pos, int32_t count, TheStringList&& src);
  // Exchanges the rows (and capacity) with other; notifications and update state stay.
  void SwapRows(TheStringList& other) noexcept;
  // Empties StateText of every row.
  void ClearStateTexts();
  // Calls f(row, w1&, w2&) for every row in order; f may change the words but not the text.
  void ForEachWords(const std::function<void(int32_t, uint32_t&, uint32_t&)>& f);
  // Calls f(row, text, w1, w2) for rows [from, Count) in order until f returns false.
  void ForEachRow(
      int32_t from,
      const std::function<bool(int32_t, std::string_view, uint32_t, uint32_t)>& f) const;
  size_t TotalTextBytes() const;

  // Number of rows among [0, row) whose RowAttribute is RowEndsLine, and the first row after
  // the n-th row that does not continue (is not RowWrapped): what RowToLine and LineToRow
  // count, from a line index kept per block and updated lazily.
  int32_t CountEndsLineBefore(int32_t row) const;
  int32_t RowAfterNthLineEnd(int32_t n) const;
  int32_t CountLineEndsTotal() const;  // rows that are not RowWrapped
  // Text offset of the start of a row, counting each RowEndsLine row before it as its length +
  // 2 (CR LF), and the last row r <= Count() whose offset is at most `offset`: what the
  // control's byte offsets (SelStart) need, from the per-block prefix sums of the line index
  // (a binary search over blocks and a walk inside one block).
  int64_t OffsetOfRow(int32_t row) const;
  int32_t RowAtOffset(int64_t offset) const;

 protected:
  void CheckIndex(int32_t i) const {
    if (i < 0 || i >= count_) throw EListError();
  }
  // Notification hooks; the document overrides them to bundle its own update.
  virtual void Changing();
  virtual void Changed();
  bool Notifying() const { return update_count_ == 0; }

 private:
  struct Block;
  struct Loc {
    size_t block;
    int32_t local;
  };
  Loc Locate(int32_t i) const;
  Block& BlockAt(size_t b);
  void RowCountChanged(size_t fromBlock);
  void LineIndexDirty(size_t fromBlock) const;
  void EnsureLineIndex(size_t upToBlock) const;
  void SplitIfLarge(size_t b);
  void MergeIfSmall(size_t b);
  void SplitBlockAt(size_t b, int32_t local);  // rows [local, end) move to a new block b+1
  // The index of the block that begins at row pos after cutting the block holding it there
  // (the block count when pos is Count()).
  size_t CutBefore(int32_t pos);
  void GrowCapacityForOne();

  std::vector<std::unique_ptr<Block>> blocks_;
  std::vector<int32_t> starts_;  // first row of each block
  int32_t count_ = 0;
  int32_t capacity_ = 0;
  int32_t update_count_ = 0;
  mutable size_t last_block_ = 0;
  // Line index: prefix sums over blocks, valid for blocks [0, line_index_valid_).
  mutable std::vector<int32_t> prefix_ends_line_;
  mutable std::vector<int32_t> prefix_non_wrapped_;
  mutable std::vector<int64_t> prefix_span_;  // text offsets: bytes plus CR LF per line end
  mutable size_t line_index_valid_ = 0;
};

}  // namespace tessary
