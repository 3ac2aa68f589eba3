// The search core: hits on character starts in the text, as brute force and joined rows say.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "editor/editor_search.h"
#include "editor/find_in_text.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_rows.h"

namespace tessary::fuzz {
namespace {

namespace opt = search_option;

constexpr TSearchOptions kOptionBits[] = {opt::kForward,  opt::kMatchCase,      opt::kWholeWord,
                                          opt::kFullHalf, opt::kSkipLineBreaks, opt::kSkipBlanks};

TSearchOptions OptionsFrom(uint8_t b) {
  TSearchOptions o = 0;
  for (size_t i = 0; i < std::size(kOptionBits); ++i)
    if (b & (1u << i)) o |= kOptionBits[i];
  return o;
}

struct Query {
  TSearchOptions options;
  std::string_view pattern;
  std::string_view text;
  int64_t start;
  int64_t previous;
};

// Options match case with nothing folded or skipped: a hit is the pattern's own bytes.
bool Exact(TSearchOptions o) {
  return (o & ~opt::kForward) == opt::kMatchCase;
}

// The first (forward) or last (backward) place holding the pattern's bytes as whole characters:
// starting a character, and not ending on the lead byte of one.
std::optional<int64_t> BruteForce(const Query& q, const std::vector<bool>& trail) {
  const auto n = static_cast<int64_t>(q.text.size());
  const auto m = static_cast<int64_t>(q.pattern.size());
  auto at = [&](int64_t c) {
    return !trail[c] && (c + m == n || !trail[c + m]) && q.text.compare(c, m, q.pattern) == 0;
  };
  if (q.options & opt::kForward) {
    for (int64_t c = q.start + q.previous; c + m <= n; ++c)
      if (at(c)) return c;
  } else {
    for (int64_t c = std::min(q.start, n) - m; c >= 0; --c)
      if (at(c)) return c;
  }
  return std::nullopt;
}

void CheckFind(const Query& q) {
  const std::optional<TFoundText> hit =
      FindInText(q.text, q.start, q.previous, q.pattern, q.options);
  const std::vector<bool> trail = TrailBytes(q.text);
  if (Exact(q.options)) {
    const std::optional<int64_t> want = BruteForce(q, trail);
    Check(hit.has_value() == want.has_value(), "an exact search finds a hit when there is one");
    if (hit) Check(hit->position == *want, "an exact search finds the nearest hit");
    if (hit) Check(hit->length == static_cast<int64_t>(q.pattern.size()), "exact hit length");
  }
  if (!hit) return;
  const auto n = static_cast<int64_t>(q.text.size());
  Check(hit->position >= 0 && hit->length > 0 && hit->position + hit->length <= n, "in the text");
  Check(!trail[static_cast<size_t>(hit->position)], "a hit never starts on a trail byte");
  if (q.options & opt::kForward) {
    Check(hit->position >= q.start + q.previous, "forward hits lie after the previous hit");
  } else if ((q.options & (opt::kFullHalf | opt::kSkipLineBreaks | opt::kSkipBlanks)) == 0) {
    Check(hit->position + hit->length <= q.start, "backward hits end at the start");
  }
}

struct Rows final : TSearchRows {
  std::vector<Row> rows;
  std::vector<int64_t> starts;  // offset of each row in the joined text
  std::string joined;           // rows with CR LF after each row that ends a line

  int32_t RowCount() const override { return static_cast<int32_t>(rows.size()); }
  std::string_view RowText(int32_t r) const override { return rows[static_cast<size_t>(r)].text; }
  RowEnd RowAttribute(int32_t r) const override { return rows[static_cast<size_t>(r)].end; }

  TextPos PositionOf(int64_t offset) const {
    const auto r = static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), offset) -
                                       starts.begin() - 1);
    const int64_t byte = std::min<int64_t>(offset - starts[r], rows[r].text.size());
    return {static_cast<int32_t>(r), static_cast<int32_t>(byte)};
  }
};

Rows RowsOf(std::string_view text, uint8_t width) {
  Rows r;
  r.rows = WrapRows(WrapperFrom(0x01, width, 4), text);
  for (const Row& row : r.rows) {
    r.starts.push_back(static_cast<int64_t>(r.joined.size()));
    r.joined += row.text;
    if (row.end == RowEnd::RowEndsLine) r.joined += "\r\n";
  }
  return r;
}

// Searching the rows chunk by chunk is searching the joined text, however long it is.
void CheckRows(TSearchOptions options, std::string_view pattern, std::string_view text,
               uint8_t width) {
  const Rows r = RowsOf(text, width);
  const TSearchPattern prepared(pattern, options);
  const bool forward = options & opt::kForward;
  const int32_t last = r.RowCount() - 1;
  const TSearchStart from{
      forward ? TextPos{0, 0} : TextPos{last, static_cast<int32_t>(r.rows.back().text.size()) + 2},
      0};
  const std::optional<TSearchHit> hit = SearchRows(r, prepared, options, from);
  const auto start = forward ? int64_t{0} : static_cast<int64_t>(r.joined.size());
  const std::optional<TFoundText> want = prepared.Find(r.joined, start, 0);
  Check(hit.has_value() == want.has_value(), "rows and joined text agree on a hit");
  if (!hit) return;
  Check(hit->start == r.PositionOf(want->position), "rows and joined text agree on the place");
  Check(hit->length == want->length, "rows and joined text agree on the length");
}

}  // namespace
}  // namespace tessary::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessary::fuzz;
  FuzzInput in(data, size);
  Query q{};
  q.options = OptionsFrom(in.Byte());
  const size_t length = 1 + in.Byte() % 16;
  const uint8_t start = in.Byte(), previous = in.Byte(), width = in.Byte();
  q.pattern = in.Bytes(length);
  q.text = in.Rest();
  if (q.pattern.empty()) return 0;
  // The start as a share of the text; the previous hit may reach past its end.
  q.start = static_cast<int64_t>(q.text.size() * start / 255);
  q.previous = previous % 32;
  CheckFind(q);
  CheckRows(q.options, q.pattern, q.text, width);
  return 0;
}
