// Block storage of the string list: rows packed per block, a lazily updated line index.
#include "editor/the_string_list.h"

#include <algorithm>
#include <cassert>

namespace tessary {
namespace {

// A block is split above these sizes and a new block is begun when appending reaches the fill
// sizes, so an edit moves at most a few hundred kilobytes and the per-block index stays small.
constexpr int32_t kMaxBlockRows = 2048;
constexpr size_t kMaxBlockBytes = 256 * 1024;
constexpr int32_t kFillBlockRows = 1024;
constexpr size_t kFillBlockBytes = 128 * 1024;
constexpr int32_t kMinBlockRows = 256;

// RowAttribute is bits 0-1 of word 1.
constexpr bool EndsLine(uint32_t w1) {
  return (w1 & 3u) == 0;
}
constexpr bool NotWrapped(uint32_t w1) {
  return (w1 & 3u) != 1;
}

struct Extra {
  std::string state_text;
  int32_t row_data = 0;
};

struct Slot {
  uint32_t end;  // end of the row's text in the block's bytes
  uint32_t w1;
  uint32_t w2;
};

}  // namespace

struct TheStringList::Block {
  std::string bytes;
  std::vector<Slot> slots;
  std::unique_ptr<std::vector<Extra>> extras;  // parallel to slots once any row needs one
  int32_t ends_line = 0;
  int32_t non_wrapped = 0;

  Block() = default;
  Block(const Block& o)
      : bytes(o.bytes),
        slots(o.slots),
        extras(o.extras ? std::make_unique<std::vector<Extra>>(*o.extras) : nullptr),
        ends_line(o.ends_line),
        non_wrapped(o.non_wrapped) {}

  int32_t Size() const { return static_cast<int32_t>(slots.size()); }
  uint32_t Begin(int32_t k) const { return k == 0 ? 0 : slots[k - 1].end; }
  std::string_view Text(int32_t k) const {
    uint32_t b = Begin(k);
    return std::string_view(bytes).substr(b, slots[k].end - b);
  }
  void Count(uint32_t w1, int32_t sign) {
    if (EndsLine(w1)) ends_line += sign;
    if (NotWrapped(w1)) non_wrapped += sign;
  }
  std::vector<Extra>& Extras() {
    if (!extras) extras = std::make_unique<std::vector<Extra>>(slots.size());
    return *extras;
  }
  const Extra* ExtraAt(int32_t k) const { return extras ? &(*extras)[k] : nullptr; }
  void ShiftEnds(int32_t from, int64_t delta) {
    for (size_t k = from; k < slots.size(); ++k)
      slots[k].end = static_cast<uint32_t>(slots[k].end + delta);
  }
  void SetText(int32_t k, std::string_view s) {
    uint32_t b = Begin(k);
    uint32_t old = slots[k].end - b;
    bytes.replace(b, old, s);
    // A row that keeps its length moves no other row (a replace all of a word by one of the
    // same length rewrites every row of a block one by one).
    if (s.size() != old) ShiftEnds(k, static_cast<int64_t>(s.size()) - old);
  }
  void SetWords(int32_t k, uint32_t w1, uint32_t w2) {
    Count(slots[k].w1, -1);
    Count(w1, +1);
    slots[k].w1 = w1;
    slots[k].w2 = w2;
  }
  void Append(std::string_view s, uint32_t w1, uint32_t w2) {
    bytes.append(s);
    slots.push_back({static_cast<uint32_t>(bytes.size()), w1, w2});
    if (extras) extras->emplace_back();
    Count(w1, +1);
  }
  // Inserts the rows described by text/slot pieces (slot ends relative to `text`) at k.
  void InsertMany(int32_t k, std::string_view text, const std::vector<Slot>& add,
                  const std::vector<Extra>* addExtras) {
    uint32_t b = Begin(k);
    bytes.insert(b, text);
    std::vector<Slot> placed(add);
    for (auto& s : placed) {
      s.end += b;
      Count(s.w1, +1);
    }
    slots.insert(slots.begin() + k, placed.begin(), placed.end());
    ShiftEnds(k + static_cast<int32_t>(add.size()), static_cast<int64_t>(text.size()));
    if (addExtras || extras) {
      auto& ex = Extras();
      if (addExtras)
        ex.insert(ex.begin() + k, addExtras->begin(), addExtras->end());
      else
        ex.insert(ex.begin() + k, add.size(), Extra{});
    }
  }
  void Erase(int32_t k, int32_t n) {
    uint32_t b = Begin(k);
    uint32_t e = slots[k + n - 1].end;
    for (int32_t i = k; i < k + n; ++i) Count(slots[i].w1, -1);
    bytes.erase(b, e - b);
    slots.erase(slots.begin() + k, slots.begin() + k + n);
    ShiftEnds(k, -static_cast<int64_t>(e - b));
    if (extras) extras->erase(extras->begin() + k, extras->begin() + k + n);
  }
};

TheStringList::TheStringList() = default;
TheStringList::~TheStringList() = default;
TheStringList::TheStringList(TheStringList&&) noexcept = default;
TheStringList& TheStringList::operator=(TheStringList&&) noexcept = default;

TheStringList::TheStringList(const TheStringList& o)
    : starts_(o.starts_), count_(o.count_), capacity_(o.capacity_) {
  blocks_.reserve(o.blocks_.size());
  for (const auto& b : o.blocks_) blocks_.push_back(std::make_unique<Block>(*b));
}

TheStringList& TheStringList::operator=(const TheStringList& o) {
  if (this != &o) {
    TheStringList copy(o);
    blocks_ = std::move(copy.blocks_);
    starts_ = std::move(copy.starts_);
    count_ = copy.count_;
    capacity_ = copy.capacity_;
    last_block_ = 0;
    line_index_valid_ = 0;
  }
  return *this;
}

void TheStringList::Changing() {
  if (OnChanging) OnChanging();
}
void TheStringList::Changed() {
  if (OnChange) OnChange();
}

TheStringList::Loc TheStringList::Locate(int32_t i) const {
  size_t lb = last_block_;
  if (lb < blocks_.size() && i >= starts_[lb] && i < starts_[lb] + blocks_[lb]->Size())
    return {lb, i - starts_[lb]};
  auto it = std::upper_bound(starts_.begin(), starts_.end(), i);
  size_t b = static_cast<size_t>(it - starts_.begin()) - 1;
  last_block_ = b;
  return {b, i - starts_[b]};
}

TheStringList::Block& TheStringList::BlockAt(size_t b) {
  return *blocks_[b];
}

void TheStringList::RowCountChanged(size_t fromBlock) {
  starts_.resize(blocks_.size());
  if (blocks_.empty()) {
    count_ = 0;
    return;
  }
  if (fromBlock >= blocks_.size()) fromBlock = blocks_.size() - 1;
  if (fromBlock == 0) starts_[0] = 0;
  for (size_t b = fromBlock + 1; b < blocks_.size(); ++b)
    starts_[b] = starts_[b - 1] + blocks_[b - 1]->Size();
  count_ = starts_.back() + blocks_.back()->Size();
  LineIndexDirty(fromBlock);
}

void TheStringList::LineIndexDirty(size_t fromBlock) const {
  line_index_valid_ = std::min(line_index_valid_, fromBlock);
}

void TheStringList::EnsureLineIndex(size_t upToBlock) const {
  // prefix_*[b] = totals over blocks [0, b); valid for b <= line_index_valid_.
  prefix_ends_line_.resize(blocks_.size() + 1);
  prefix_non_wrapped_.resize(blocks_.size() + 1);
  prefix_span_.resize(blocks_.size() + 1);
  prefix_ends_line_[0] = 0;
  prefix_non_wrapped_[0] = 0;
  prefix_span_[0] = 0;
  upToBlock = std::min(upToBlock, blocks_.size());
  for (size_t b = line_index_valid_; b < upToBlock; ++b) {
    const Block& blk = *blocks_[b];
    prefix_ends_line_[b + 1] = prefix_ends_line_[b] + blk.ends_line;
    prefix_non_wrapped_[b + 1] = prefix_non_wrapped_[b] + blk.non_wrapped;
    prefix_span_[b + 1] = prefix_span_[b] + static_cast<int64_t>(blk.bytes.size()) +
                          2 * static_cast<int64_t>(blk.ends_line);
  }
  line_index_valid_ = std::max(line_index_valid_, upToBlock);
}

int32_t TheStringList::CountEndsLineBefore(int32_t row) const {
  if (row <= 0) return 0;
  if (row >= count_) {
    EnsureLineIndex(blocks_.size());
    return prefix_ends_line_[blocks_.size()];
  }
  Loc l = Locate(row);
  EnsureLineIndex(l.block);
  const Block& blk = *blocks_[l.block];
  int32_t n = prefix_ends_line_[l.block];
  if (l.local * 2 <= blk.Size()) {
    for (int32_t k = 0; k < l.local; ++k) n += EndsLine(blk.slots[k].w1);
  } else {
    n += blk.ends_line;
    for (int32_t k = l.local; k < blk.Size(); ++k) n -= EndsLine(blk.slots[k].w1);
  }
  return n;
}

int32_t TheStringList::CountLineEndsTotal() const {
  EnsureLineIndex(blocks_.size());
  return prefix_non_wrapped_[blocks_.size()];
}

int32_t TheStringList::RowAfterNthLineEnd(int32_t n) const {
  if (n <= 0) return 0;
  EnsureLineIndex(blocks_.size());
  if (n >= prefix_non_wrapped_[blocks_.size()]) return count_;
  // The block holding the n-th non-wrapped row: prefix[b] < n <= prefix[b+1].
  auto first = prefix_non_wrapped_.begin();
  auto it = std::lower_bound(first, first + blocks_.size() + 1, n);
  size_t b = static_cast<size_t>(it - first) - 1;
  int32_t seen = prefix_non_wrapped_[b];
  const Block& blk = *blocks_[b];
  for (int32_t k = 0; k < blk.Size(); ++k) {
    if (NotWrapped(blk.slots[k].w1) && ++seen == n) return starts_[b] + k + 1;
  }
  return count_;  // not reached while the counters are right
}

void TheStringList::SetCapacity(int32_t n) {
  if (n < count_) throw EListError();
  capacity_ = n;
}

void TheStringList::GrowCapacityForOne() {
  if (count_ < capacity_) return;
  int32_t delta = capacity_ > 64 ? capacity_ / 4 : capacity_ > 8 ? 16 : 4;
  capacity_ += delta;
}

std::string_view TheStringList::GetView(int32_t i) const {
  CheckIndex(i);
  Loc l = Locate(i);
  return blocks_[l.block]->Text(l.local);
}

void TheStringList::Put(int32_t i, std::string_view s) {
  CheckIndex(i);
  if (Notifying()) Changing();
  Loc l = Locate(i);
  blocks_[l.block]->SetText(l.local, s);
  LineIndexDirty(l.block);  // the text offsets after the row moved
  SplitIfLarge(l.block);
  if (Notifying()) Changed();
}

int32_t TheStringList::Add(std::string_view s) {
  int32_t i = count_;
  Insert(i, s);
  return i;
}

void TheStringList::Insert(int32_t i, std::string_view s) {
  if (i < 0 || i > count_) throw EListError();
  if (Notifying()) Changing();
  GrowCapacityForOne();
  if (i == count_) {
    AppendRow(s, 0, 0);
  } else {
    Loc l = Locate(i);
    Slot slot{static_cast<uint32_t>(s.size()), 0, 0};
    blocks_[l.block]->InsertMany(l.local, s, {slot}, nullptr);
    RowCountChanged(l.block);
    SplitIfLarge(l.block);
  }
  if (Notifying()) Changed();
}

void TheStringList::Delete(int32_t i) {
  CheckIndex(i);
  if (Notifying()) Changing();
  EraseRows(i, 1);
  if (Notifying()) Changed();
}

void TheStringList::Exchange(int32_t i, int32_t j) {
  CheckIndex(i);
  CheckIndex(j);
  if (Notifying()) Changing();
  if (i != j) {
    TheStringList tmp;
    tmp.InsertRowsFrom(0, *this, i, 1);
    CopyRowFrom(i, *this, j);
    CopyRowFrom(j, tmp, 0);
  }
  if (Notifying()) Changed();
}

void TheStringList::Clear() {
  if (count_ == 0 && capacity_ == 0) return;
  bool had = count_ > 0;
  if (had && Notifying()) Changing();
  RemoveAll();
  capacity_ = 0;
  if (had && Notifying()) Changed();
}

void TheStringList::RemoveAll() {
  blocks_.clear();
  starts_.clear();
  count_ = 0;
  last_block_ = 0;
  line_index_valid_ = 0;
}

void TheStringList::SwapRows(TheStringList& other) noexcept {
  blocks_.swap(other.blocks_);
  starts_.swap(other.starts_);
  std::swap(count_, other.count_);
  std::swap(capacity_, other.capacity_);
  last_block_ = other.last_block_ = 0;
  line_index_valid_ = other.line_index_valid_ = 0;
}

void TheStringList::ClearStateTexts() {
  for (auto& b : blocks_) {
    if (!b->extras) continue;
    bool any = false;
    for (auto& e : *b->extras) {
      e.state_text.clear();
      any |= e.row_data != 0;
    }
    if (!any) b->extras.reset();
  }
}

void TheStringList::SetUpdateState(bool updating) {
  if (updating) {
    Changing();
    ++update_count_;
  } else {
    if (update_count_ > 0) --update_count_;
    Changed();
  }
}

int32_t TheStringList::GetRowData(int32_t i) const {
  CheckIndex(i);
  Loc l = Locate(i);
  const Extra* e = blocks_[l.block]->ExtraAt(l.local);
  return e ? e->row_data : 0;
}

void TheStringList::SetRowData(int32_t i, int32_t v) {
  CheckIndex(i);
  Loc l = Locate(i);
  Block& b = *blocks_[l.block];
  if (v == 0 && !b.extras) return;
  b.Extras()[l.local].row_data = v;
}

std::string TheStringList::GetStateText(int32_t i) const {
  CheckIndex(i);
  Loc l = Locate(i);
  const Extra* e = blocks_[l.block]->ExtraAt(l.local);
  return e ? e->state_text : std::string();
}

void TheStringList::SetStateText(int32_t i, std::string_view s) {
  CheckIndex(i);
  Loc l = Locate(i);
  Block& b = *blocks_[l.block];
  if (s.empty() && !b.extras) return;
  b.Extras()[l.local].state_text.assign(s);
}

uint32_t TheStringList::GetWord1(int32_t i) const {
  CheckIndex(i);
  Loc l = Locate(i);
  return blocks_[l.block]->slots[l.local].w1;
}

uint32_t TheStringList::GetWord2(int32_t i) const {
  CheckIndex(i);
  Loc l = Locate(i);
  return blocks_[l.block]->slots[l.local].w2;
}

void TheStringList::SetWord1(int32_t i, uint32_t w) {
  CheckIndex(i);
  Loc l = Locate(i);
  Block& b = *blocks_[l.block];
  if (((b.slots[l.local].w1 ^ w) & 3u) != 0) LineIndexDirty(l.block);
  b.SetWords(l.local, w, b.slots[l.local].w2);
}

void TheStringList::SetWord2(int32_t i, uint32_t w) {
  CheckIndex(i);
  Loc l = Locate(i);
  blocks_[l.block]->slots[l.local].w2 = w;
}

void TheStringList::SetRow(int32_t i, std::string_view text, uint32_t w1, uint32_t w2) {
  Loc l = Locate(i);
  Block& b = *blocks_[l.block];
  b.SetText(l.local, text);
  b.SetWords(l.local, w1, w2);
  LineIndexDirty(l.block);
  SplitIfLarge(l.block);
}

void TheStringList::CopyRowFrom(int32_t i, const TheStringList& src, int32_t j) {
  Loc s = src.Locate(j);
  const Block& sb = *src.blocks_[s.block];
  std::string text(sb.Text(s.local));
  const Slot slot = sb.slots[s.local];
  const Extra* ex = sb.ExtraAt(s.local);
  Extra extra = ex ? *ex : Extra{};
  Loc l = Locate(i);
  Block& b = *blocks_[l.block];
  if (ex || b.extras) b.Extras()[l.local] = std::move(extra);
  SetRow(i, text, slot.w1, slot.w2);
}

void TheStringList::AppendRow(std::string_view text, uint32_t w1, uint32_t w2) {
  if (blocks_.empty() || blocks_.back()->Size() >= kFillBlockRows ||
      (blocks_.back()->bytes.size() >= kFillBlockBytes && blocks_.back()->Size() > 0)) {
    // Appending runs (loading, rewrapping) fill blocks of similar size: room for what the
    // previous block took, so the block's storage is not grown step by step.
    const size_t expect = blocks_.empty() ? 0 : blocks_.back()->bytes.size();
    blocks_.push_back(std::make_unique<Block>());
    starts_.push_back(count_);
    if (expect > 0) {
      blocks_.back()->bytes.reserve(std::min(expect + expect / 16, kFillBlockBytes + 4096));
      blocks_.back()->slots.reserve(kFillBlockRows);
    }
  }
  Block& b = *blocks_.back();
  b.Append(text, w1, w2);
  ++count_;
  LineIndexDirty(blocks_.size() - 1);
  if (count_ > capacity_) capacity_ = count_;
}

void TheStringList::AppendPackedRows(const char* base, size_t begin, std::span<const size_t> ends,
                                     uint32_t w1, uint32_t w2) {
  size_t i = 0;
  while (i < ends.size()) {
    AppendRow(std::string_view(base + begin, ends[i] - begin), w1, w2);  // opens a block if due
    begin = ends[i++];
    Block& b = *blocks_.back();
    // The rows AppendRow would put in this block too: it takes rows while it holds fewer than
    // kFillBlockRows and fewer than kFillBlockBytes.
    size_t j = i;
    for (size_t rows = b.slots.size(), bytes = b.bytes.size();
         j < ends.size() && rows < kFillBlockRows && bytes < kFillBlockBytes; ++j, ++rows)
      bytes += ends[j] - (j == i ? begin : ends[j - 1]);
    if (j == i) continue;
    const size_t base_offset = b.bytes.size();
    b.bytes.append(base + begin, ends[j - 1] - begin);
    for (size_t k = i; k < j; ++k) {
      b.slots.push_back({static_cast<uint32_t>(base_offset + ends[k] - begin), w1, w2});
      b.Count(w1, +1);
    }
    if (b.extras) b.extras->resize(b.slots.size());
    count_ += static_cast<int32_t>(j - i);
    begin = ends[j - 1];
    i = j;
  }
  if (count_ > capacity_) capacity_ = count_;
  if (!blocks_.empty()) LineIndexDirty(blocks_.size() - 1);
}

void TheStringList::InsertRowsFrom(int32_t pos, const TheStringList& src, int32_t srcStart,
                                   int32_t n) {
  if (n <= 0) return;
  if (pos == count_ && &src != this) {
    // Appending: straight copies, the common case of loading and rewrapping.
    src.ForEachRow(srcStart, [&](int32_t r, std::string_view t, uint32_t w1, uint32_t w2) {
      if (r >= srcStart + n) return false;
      AppendRow(t, w1, w2);
      Loc sl = src.Locate(r);
      if (const Extra* e = src.blocks_[sl.block]->ExtraAt(sl.local);
          e && (e->row_data != 0 || !e->state_text.empty())) {
        Block& b = *blocks_.back();
        b.Extras().back() = *e;
      }
      return true;
    });
    return;
  }
  // Gather the new rows into one piece, then splice it into the block holding pos.
  std::string text;
  std::vector<Slot> add;
  std::vector<Extra> extras;
  bool anyExtra = false;
  add.reserve(n);
  for (int32_t r = srcStart; r < srcStart + n; ++r) {
    Loc sl = src.Locate(r);
    const Block& sb = *src.blocks_[sl.block];
    text.append(sb.Text(sl.local));
    const Slot& s = sb.slots[sl.local];
    add.push_back({static_cast<uint32_t>(text.size()), s.w1, s.w2});
    const Extra* e = sb.ExtraAt(sl.local);
    extras.push_back(e ? *e : Extra{});
    anyExtra |= e && (e->row_data != 0 || !e->state_text.empty());
  }
  if (blocks_.empty()) {
    blocks_.push_back(std::make_unique<Block>());
    starts_.push_back(0);
  }
  Loc l = pos == count_ ? Loc{blocks_.size() - 1, blocks_.back()->Size()} : Locate(pos);
  blocks_[l.block]->InsertMany(l.local, text, add, anyExtra ? &extras : nullptr);
  RowCountChanged(l.block);
  if (count_ > capacity_) capacity_ = count_;
  SplitIfLarge(l.block);
}

void TheStringList::EraseRows(int32_t pos, int32_t n) {
  if (n <= 0) return;
  Loc l = Locate(pos);
  size_t b = l.block;
  int32_t local = l.local;
  size_t firstTouched = b;
  while (n > 0) {
    Block& blk = *blocks_[b];
    int32_t take = std::min(n, blk.Size() - local);
    if (local == 0 && take == blk.Size()) {
      blocks_.erase(blocks_.begin() + b);
      starts_.erase(starts_.begin() + b);
    } else {
      blk.Erase(local, take);
      ++b;
    }
    n -= take;
    local = 0;
  }
  RowCountChanged(firstTouched == 0 ? 0 : firstTouched - 1);
  last_block_ = 0;
  if (firstTouched < blocks_.size()) MergeIfSmall(firstTouched);
}

void TheStringList::SplitBlockAt(size_t b, int32_t local) {
  Block& blk = *blocks_[b];
  auto tail = std::make_unique<Block>();
  uint32_t cut = blk.Begin(local);
  tail->bytes.assign(blk.bytes, cut, std::string::npos);
  tail->slots.assign(blk.slots.begin() + local, blk.slots.end());
  for (auto& s : tail->slots) {
    s.end -= cut;
    tail->Count(s.w1, +1);
    blk.Count(s.w1, -1);
  }
  if (blk.extras) {
    tail->extras =
        std::make_unique<std::vector<Extra>>(std::make_move_iterator(blk.extras->begin() + local),
                                             std::make_move_iterator(blk.extras->end()));
    blk.extras->resize(local);
  }
  blk.bytes.resize(cut);
  blk.bytes.shrink_to_fit();
  blk.slots.resize(local);
  blocks_.insert(blocks_.begin() + b + 1, std::move(tail));
  starts_.insert(starts_.begin() + b + 1, 0);
  RowCountChanged(b);
}

size_t TheStringList::CutBefore(int32_t pos) {
  if (pos >= count_) return blocks_.size();
  const Loc l = Locate(pos);
  if (l.local == 0) return l.block;
  SplitBlockAt(l.block, l.local);
  return l.block + 1;
}

TheStringList TheStringList::SpliceRows(int32_t pos, int32_t count, TheStringList&& src) {
  TheStringList out;
  const size_t b = CutBefore(pos);
  const size_t e = CutBefore(pos + count);
  const auto first = blocks_.begin() + static_cast<std::ptrdiff_t>(b);
  out.blocks_.assign(std::make_move_iterator(first),
                     std::make_move_iterator(blocks_.begin() + static_cast<std::ptrdiff_t>(e)));
  blocks_.erase(first, blocks_.begin() + static_cast<std::ptrdiff_t>(e));
  const size_t inserted = src.blocks_.size();
  blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(b),
                 std::make_move_iterator(src.blocks_.begin()),
                 std::make_move_iterator(src.blocks_.end()));
  src.RemoveAll();
  src.capacity_ = 0;
  last_block_ = 0;
  RowCountChanged(b > 0 ? b - 1 : 0);
  capacity_ = std::max(capacity_, count_);
  out.RowCountChanged(0);
  out.capacity_ = out.count_;
  // The seams may have left small blocks; from the last one back, so that a merge does not
  // move the blocks still to be looked at.
  for (size_t k : {b + inserted, b + inserted - 1, b, b - 1})
    if (k < blocks_.size()) MergeIfSmall(k);
  return out;
}

void TheStringList::SplitIfLarge(size_t b) {
  Block& blk = *blocks_[b];
  int32_t rows = blk.Size();
  if (rows <= 1 || (rows <= kMaxBlockRows && blk.bytes.size() <= kMaxBlockBytes)) return;
  int32_t half = rows / 2;
  if (rows <= kMaxBlockRows) {
    // Too many bytes: cut where half of them lie.
    uint32_t target = static_cast<uint32_t>(blk.bytes.size() / 2);
    auto it = std::lower_bound(blk.slots.begin(), blk.slots.end(), target,
                               [](const Slot& s, uint32_t v) { return s.end < v; });
    half = std::clamp(static_cast<int32_t>(it - blk.slots.begin()) + 1, 1, rows - 1);
  }
  SplitBlockAt(b, half);
  SplitIfLarge(b + 1);
  SplitIfLarge(b);
}

void TheStringList::MergeIfSmall(size_t b) {
  if (b >= blocks_.size() || blocks_.size() < 2) return;
  if (blocks_[b]->Size() >= kMinBlockRows) return;
  size_t into = b > 0 ? b - 1 : b;
  size_t from = into + 1;
  Block& dst = *blocks_[into];
  Block& src = *blocks_[from];
  if (dst.Size() + src.Size() > kMaxBlockRows ||
      dst.bytes.size() + src.bytes.size() > kMaxBlockBytes)
    return;
  std::vector<Slot> add(src.slots);
  std::vector<Extra>* ex = src.extras ? src.extras.get() : nullptr;
  dst.InsertMany(dst.Size(), src.bytes, add, ex);
  blocks_.erase(blocks_.begin() + from);
  starts_.erase(starts_.begin() + from);
  last_block_ = 0;
  RowCountChanged(into);
}

void TheStringList::ForEachWords(const std::function<void(int32_t, uint32_t&, uint32_t&)>& f) {
  for (size_t b = 0; b < blocks_.size(); ++b) {
    Block& blk = *blocks_[b];
    blk.ends_line = 0;
    blk.non_wrapped = 0;
    for (int32_t k = 0; k < blk.Size(); ++k) {
      Slot& s = blk.slots[k];
      f(starts_[b] + k, s.w1, s.w2);
      blk.Count(s.w1, +1);
    }
  }
  LineIndexDirty(0);
}

void TheStringList::ForEachRow(
    int32_t from,
    const std::function<bool(int32_t, std::string_view, uint32_t, uint32_t)>& f) const {
  if (from < 0 || from >= count_) return;
  Loc l = Locate(from);
  for (size_t b = l.block; b < blocks_.size(); ++b) {
    const Block& blk = *blocks_[b];
    for (int32_t k = b == l.block ? l.local : 0; k < blk.Size(); ++k) {
      if (!f(starts_[b] + k, blk.Text(k), blk.slots[k].w1, blk.slots[k].w2)) return;
    }
  }
}

int64_t TheStringList::OffsetOfRow(int32_t row) const {
  if (row <= 0 || blocks_.empty()) return 0;
  if (row >= count_) {
    EnsureLineIndex(blocks_.size());
    return prefix_span_[blocks_.size()];
  }
  const Loc l = Locate(row);
  EnsureLineIndex(l.block + 1);
  const Block& blk = *blocks_[l.block];
  // From the nearer end of the block.
  if (l.local * 2 <= blk.Size()) {
    int64_t n = prefix_span_[l.block] + blk.Begin(l.local);
    for (int32_t k = 0; k < l.local; ++k) n += EndsLine(blk.slots[k].w1) ? 2 : 0;
    return n;
  }
  int64_t n =
      prefix_span_[l.block + 1] - static_cast<int64_t>(blk.bytes.size() - blk.Begin(l.local));
  for (int32_t k = l.local; k < blk.Size(); ++k) n -= EndsLine(blk.slots[k].w1) ? 2 : 0;
  return n;
}

int32_t TheStringList::RowAtOffset(int64_t offset) const {
  if (offset <= 0 || blocks_.empty()) return 0;
  EnsureLineIndex(blocks_.size());
  // The block whose span holds offset: prefix[b] <= offset < prefix[b + 1].
  const auto first = prefix_span_.begin();
  const auto last = first + static_cast<std::ptrdiff_t>(blocks_.size()) + 1;
  const auto it = std::upper_bound(first, last, offset);
  if (it == last) return count_;
  const size_t b = static_cast<size_t>(it - first) - 1;
  int64_t n = prefix_span_[b];
  const Block& blk = *blocks_[b];
  int32_t k = 0;
  for (; k < blk.Size(); ++k) {
    const int64_t end = n + (blk.slots[k].end - blk.Begin(k)) + (EndsLine(blk.slots[k].w1) ? 2 : 0);
    if (end > offset) break;
    n = end;
  }
  // Row k of the block starts at n <= offset and ends after it; empty rows after a row that
  // ends exactly at offset also start there, and the last of them is the answer.
  return starts_[b] + k;
}

size_t TheStringList::TotalTextBytes() const {
  size_t n = 0;
  for (const auto& b : blocks_) n += b->bytes.size();
  return n;
}

}  // namespace tessary
