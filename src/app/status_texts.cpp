// Status-bar, caption and wrap-length texts.
#include "app/status_texts.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "base/byte_scan.h"
#include "base/sjis.h"
#include "codec/char_code.h"

namespace tessary {

std::string CaretPositionText(int64_t line0, int64_t column0) {
  return std::to_string(line0 + 1) + "行, " + std::to_string(column0 + 1) + "桁";
}

std::array<PanelSpan, kStatusPanelCount> StatusPanelSpans(int bar_width) {
  constexpr std::array<int, kStatusPanelCount> kWidths{0, 100, 100, 100, 180, 120, 100};
  constexpr int kFixed = 700;
  std::array<PanelSpan, kStatusPanelCount> spans{};
  int left = 0;
  for (size_t p = 0; p < spans.size(); ++p) {
    const int width = p == 0 ? std::max(0, bar_width - kFixed) : kWidths[p];
    spans[p] = {left, width};
    left += width;
  }
  return spans;
}

std::vector<PanelText> WidestKnownPanelTexts() {
  std::vector<PanelText> texts{
      {2, CaretPositionText(99998, 998)}, {3, "ファイル読取専用"}, {3, "99999文字"}, {6, "書禁"}};
  for (int c = 1; c <= 7; ++c)
    texts.push_back({4, std::string(CharCodeName(static_cast<CharCode>(c)))});
  for (int r = 0; r <= 3; ++r)
    texts.push_back({5, std::string(RetCodeName(static_cast<RetCode>(r)))});
  return texts;
}

std::string SelectionCountText(std::string_view s, LineEndCounting line_ends, SelectionUnit unit) {
  SelectionCounter counter(line_ends, unit);
  counter.Add(s);
  return counter.Text();
}

namespace {

// One bit per byte of the 64 at p: lead-byte values, and CR or LF.
struct ByteBits {
  uint64_t leads = 0;
  uint64_t ends = 0;
};

ByteBits BitsOf(const uint8_t* p) {
  ByteBits bits;
#ifdef TESSARY_SSE2
  // Lead bytes 81-9F and E0-FC are, with bit 5 flipped and 0xA1 taken off, 00-3B.
  const __m128i flip = _mm_set1_epi8(0x20), base = _mm_set1_epi8(static_cast<char>(0xA1));
  const __m128i top = _mm_set1_epi8(0x3B), cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
  for (int k = 0; k < 4; ++k) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    const __m128i d = _mm_sub_epi8(_mm_xor_si128(x, flip), base);
    const __m128i lead = _mm_cmpeq_epi8(_mm_min_epu8(d, top), d);
    const __m128i end = _mm_or_si128(_mm_cmpeq_epi8(x, cr), _mm_cmpeq_epi8(x, lf));
    bits.leads |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(lead))) << (16 * k);
    bits.ends |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(end))) << (16 * k);
  }
#else
  for (int i = 0; i < 64; ++i) {
    if (sjis::IsLeadByte(p[i])) bits.leads |= uint64_t{1} << i;
    if (p[i] == '\r' || p[i] == '\n') bits.ends |= uint64_t{1} << i;
  }
#endif
  return bits;
}

}  // namespace

// n bytes (at most 64) at p, which has 64 readable bytes. A trail byte is counted where it
// stands, so a pair split between two blocks or two pieces is counted once.
void SelectionCounter::AddBlock(const uint8_t* p, int n) {
  const uint64_t valid = n == 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1;
  const ByteBits bits = BitsOf(p);
  const uint64_t leads = bits.leads & valid;
  // With a lead byte pending, the first byte is its trail and the characters start after it.
  const uint64_t first = lead_pending_ ? 1 : 0;
  const uint64_t trails = (sjis::TrailBits(leads & ~first) | first) & valid;
  pairs_ += std::popcount(trails);
  excluded_ += std::popcount(bits.ends & ~trails & valid);
  lead_pending_ = (leads & ~trails) >> (n - 1) & 1;
  bytes_ += n;
}

// Pieces are mostly rows of a few dozen bytes: they are gathered into whole blocks, so that
// the count costs one block per 64 bytes of selection however it is cut.
void SelectionCounter::Add(std::string_view piece) {
  const auto* p = reinterpret_cast<const uint8_t*>(piece.data());
  size_t left = piece.size();
  if (staged_ > 0) {
    const size_t n = std::min(left, sizeof(stage_) - staged_);
    std::memcpy(stage_ + staged_, p, n);
    staged_ += n;
    p += n;
    left -= n;
    if (staged_ < sizeof(stage_)) return;
    AddBlock(stage_, 64);
    staged_ = 0;
  }
  for (; left >= 64; left -= 64, p += 64) AddBlock(p, 64);
  std::memcpy(stage_, p, left);
  staged_ = left;
}

std::string SelectionCounter::Text() const {
  SelectionCounter all = *this;
  if (all.staged_ > 0) {
    std::memset(all.stage_ + all.staged_, 0, sizeof(all.stage_) - all.staged_);
    all.AddBlock(all.stage_, static_cast<int>(all.staged_));
  }
  return all.TextOfCounted();
}

std::string SelectionCounter::TextOfCounted() const {
  if (bytes_ == 0) return {};
  const int64_t counted = line_ends_ == LineEndCounting::Exclude ? excluded_ : 0;
  const int64_t n =
      (unit_ == SelectionUnit::Characters ? bytes_ - pairs_ : bytes_) - counted;
  return std::to_string(n) + "文字";
}

std::string WindowCaption(std::string_view file_name, bool active) {
  std::string_view shown = file_name;
  if (!active) {
    auto slash = file_name.find_last_of('/');
    if (slash != std::string_view::npos) shown = file_name.substr(slash + 1);
  }
  std::string caption(shown);
  caption += " - Tessary";
  return caption;
}

std::optional<std::string> WrapLengthRefusal(int64_t value) {
  if (value <= 9) return std::string("10以上を設定してください");
  if (value > 250) return std::string("250以下を設定してください");
  return std::nullopt;
}

bool NumericEditAccepts(NumericType type, std::string_view text, size_t caret, char typed) {
  if (typed >= '0' && typed <= '9') return true;
  const bool is_signed = type == NumericType::DecimalSigned || type == NumericType::DoubleSigned;
  const bool is_double = type == NumericType::DoubleUnSigned || type == NumericType::DoubleSigned;
  if (typed == '-') return is_signed && caret == 0 && text.find('-') == std::string_view::npos;
  if (typed == '.') return is_double && text.find('.') == std::string_view::npos;
  return false;
}

}  // namespace tessary
