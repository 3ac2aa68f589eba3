// The match core: anchored byte scans, lazy lead/trail classification, character comparison.
#include "editor/find_in_text.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "base/byte_scan.h"
#include "base/sjis.h"

namespace tessary {
namespace {

using sjis::CharCode;
namespace opt = search_option;

constexpr uint8_t kCr = '\r';
constexpr uint8_t kLf = '\n';

constexpr std::array<bool, 256> MakeDelimiters() {
  std::array<bool, 256> d{};
  for (int b = 0; b < 256; ++b)
    d[b] = b <= 0x2F || (b >= 0x3A && b <= 0x40) || (b >= 0x5B && b <= 0x60) ||
           (b >= 0x7B && b <= 0x80) || (b >= 0xA0 && b <= 0xA5) || b >= 0xFD;
  return d;
}
constexpr std::array<bool, 256> kDelimiter = MakeDelimiters();

struct TextChar {
  CharCode code;
  int length;
};

// One character of the text at boundary i, folded as the options ask.
inline TextChar ReadChar(const uint8_t* t, int64_t i, int64_t n, TSearchOptions options) {
  const bool matchCase = (options & opt::kMatchCase) != 0;
  uint8_t b = t[i];
  if (sjis::IsLeadByte(b) && i + 1 < n && t[i + 1] != kCr && t[i + 1] != kLf) {
    CharCode c = static_cast<CharCode>(b << 8 | t[i + 1]);
    return {matchCase ? c : sjis::UpperChar(c), 2};
  }
  if ((options & opt::kFullHalf) == 0) return {matchCase ? b : sjis::UpperByte(b), 1};
  if (i + 1 < n && sjis::IsHalfWidthKana(b)) {
    if (CharCode v = sjis::VoicedFullWidth(b, t[i + 1])) return {v, 2};
  }
  CharCode c = sjis::FullWidthByte(b);
  return {matchCase ? c : sjis::UpperChar(c), 1};
}

// Rough frequency of a byte in Japanese text with some ASCII, to pick a rare anchor byte.
int Rarity(uint8_t b) {
  if (b == 0x82) return 100;
  if (b == 0x81 || b == 0x83) return 60;
  if (b == kCr || b == kLf || b == ' ') return 40;
  if (b >= 'a' && b <= 'z') return std::strchr("etaoinsrh", b) != nullptr ? 45 : 25;
  if (b >= 0x88 && b <= 0x9F) return 15;
  if (b >= 0x40 && b <= 0xFC) return 10;
  if (b >= '0' && b <= '9') return 10;
  return 4;
}

// Last position in [begin, end) holding one of four bytes, or nullptr.
const uint8_t* FindAny4Back(const uint8_t* begin, const uint8_t* end,
                            const std::array<uint8_t, 4>& v) {
#ifdef TESSARY_SSE2
  const __m128i va = _mm_set1_epi8(static_cast<char>(v[0]));
  const __m128i vb = _mm_set1_epi8(static_cast<char>(v[1]));
  const __m128i vc = _mm_set1_epi8(static_cast<char>(v[2]));
  const __m128i vd = _mm_set1_epi8(static_cast<char>(v[3]));
  while (end - begin >= 16) {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(end - 16));
    __m128i m = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, va), _mm_cmpeq_epi8(x, vb)),
                             _mm_or_si128(_mm_cmpeq_epi8(x, vc), _mm_cmpeq_epi8(x, vd)));
    unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(m));
    if (bits != 0) return end - 16 + (std::bit_width(bits) - 1);
    end -= 16;
  }
#endif
  while (end > begin) {
    --end;
    if (*end == v[0] || *end == v[1] || *end == v[2] || *end == v[3]) return end;
  }
  return nullptr;
}

// First position in [p, end) holding one of `singles`, or `lead` followed by one of `trails`;
// end when none. The byte after end is read only when it is inside the text (`limit`).
const uint8_t* FindPairAnchor(const uint8_t* p, const uint8_t* end, const uint8_t* limit,
                              const std::array<uint8_t, 3>& singles, int singleCount, uint8_t lead,
                              const std::array<uint8_t, 2>& trails) {
#ifdef TESSARY_SSE2
  const __m128i s0 = _mm_set1_epi8(static_cast<char>(singles[0]));
  const __m128i s1 = _mm_set1_epi8(static_cast<char>(singles[1]));
  const __m128i s2 = _mm_set1_epi8(static_cast<char>(singles[2]));
  const __m128i vl = _mm_set1_epi8(static_cast<char>(lead));
  const __m128i t0 = _mm_set1_epi8(static_cast<char>(trails[0]));
  const __m128i t1 = _mm_set1_epi8(static_cast<char>(trails[1]));
  while (end - p >= 16 && limit - p >= 17) {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
    __m128i m = singleCount == 0
                    ? _mm_setzero_si128()
                    : _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, s0), _mm_cmpeq_epi8(x, s1)),
                                   _mm_cmpeq_epi8(x, s2));
    __m128i pair = _mm_and_si128(_mm_cmpeq_epi8(x, vl),
                                 _mm_or_si128(_mm_cmpeq_epi8(y, t0), _mm_cmpeq_epi8(y, t1)));
    int bits = _mm_movemask_epi8(_mm_or_si128(m, pair));
    if (bits != 0) return p + std::countr_zero(static_cast<unsigned>(bits));
    p += 16;
  }
#endif
  for (; p < end; ++p) {
    uint8_t x = *p;
    if (singleCount > 0 && (x == singles[0] || x == singles[1] || x == singles[2])) return p;
    if (x == lead && p + 1 < limit && (p[1] == trails[0] || p[1] == trails[1])) return p;
  }
  return end;
}

}  // namespace

bool IsSearchDelimiter(uint8_t b) {
  return kDelimiter[b];
}

// The per-call state of a search: the text, and what is known of its character boundaries.
class MatchScanner {
 public:
  MatchScanner(const TSearchPattern& p, std::string_view text, TextEnd end = TextEnd::Final)
      : p_(p),
        t_(reinterpret_cast<const uint8_t*>(text.data())),
        n_(static_cast<int64_t>(text.size())),
        more_(end == TextEnd::MoreFollows) {}

  TScanOutcome Forward(int64_t first) {
    const int64_t last = n_ - p_.minMatchBytes_;  // no later start can hold a match here
    TScanOutcome out = ForwardUpTo(first, last);
    // Later starts need bytes beyond the buffer: undecided when the text goes on.
    if (!out.found && out.undecided < 0 && more_) out.undecided = std::max(first, last + 1);
    return out;
  }

  TScanOutcome Backward(int64_t first, int64_t lowest) {
    lowest = std::max<int64_t>(lowest, 0);
    if (first > n_ - p_.minMatchBytes_) {
      if (more_ && first >= lowest) return {std::nullopt, first};
      first = n_ - p_.minMatchBytes_;
    }
    if (first < lowest) return {};
    if (!p_.anchor_.usable) {
      for (int64_t c = first; c >= lowest; --c)
        if (TScanOutcome m = TryAt(c); Decisive(m)) return m;
      return {};
    }
    const int o = p_.anchor_.offset;
    const uint8_t* begin = t_ + lowest + o;
    const uint8_t* end = t_ + first + o + 1;
    while (end > begin) {
      const uint8_t* h = FindAny4Back(begin, end, p_.anchor_.bytes);
      if (h == nullptr) break;
      if (TScanOutcome m = TryAt(h - t_ - o); Decisive(m)) return m;
      end = h;
    }
    return {};
  }

  // Backward start with option 8: `count` characters before `start`, a voiced mark staying with
  // the half-width katakana before it; -1 when the text has fewer.
  int64_t StepBackChars(int64_t start, size_t count) {
    int64_t q = start;
    for (size_t k = 0; k < count; ++k) {
      if (q <= 0) return -1;
      if (q >= 2 && IsTrail(q - 1)) {
        q -= 2;
        continue;
      }
      --q;
      if (q >= 1 && sjis::IsHalfWidthKana(t_[q - 1]) && sjis::VoicedFullWidth(t_[q - 1], t_[q]) &&
          !IsTrail(q - 1))
        --q;
    }
    return q;
  }

 private:
  // Whether p is the second byte of a double-byte character. A byte that is not in the lead
  // range always ends a character, so only the run of lead-range bytes just before p matters:
  // p is a trail when that run is odd. The last run seen is remembered, which keeps a forward
  // or backward scan linear even over long runs.
  bool IsTrail(int64_t p) {
    if (p <= 0 || p >= n_) return false;
    if (t_[p] == kCr || t_[p] == kLf) return false;
    if (!sjis::IsLeadByte(t_[p - 1])) return false;
    if (p > runStart_ && p <= runEnd_) return ((p - runStart_) & 1) != 0;
    int64_t q = p;
    while (q > 0 && sjis::IsLeadByte(t_[q - 1])) {
      if (q == runEnd_ && runStart_ < runEnd_) {
        q = runStart_;
        break;
      }
      --q;
    }
    runStart_ = q;
    runEnd_ = p;
    return ((p - q) & 1) != 0;
  }

  bool IsWordStart(int64_t c) {
    if (kDelimiter[t_[c]]) return false;
    if (c == 0) return true;
    uint8_t before = t_[c - 1];
    if (!kDelimiter[before]) return false;
    // Any byte after a lead byte is its trail (CR and LF excepted), so a delimiter value counts
    // only when it stands alone.
    return !IsTrail(c - 1);
  }

  static bool Decisive(const TScanOutcome& m) { return m.found || m.undecided >= 0; }

  TScanOutcome ForwardUpTo(int64_t first, int64_t last) {
    if (first > last) return {};
    if (!p_.anchor_.usable) {
      for (int64_t c = first; c <= last; ++c)
        if (TScanOutcome m = TryAt(c); Decisive(m)) return m;
      return {};
    }
    const TSearchPattern::Anchor& a = p_.anchor_;
    const int o = a.offset;
    const auto& v = a.bytes;
    const uint8_t* p = t_ + first + o;
    const uint8_t* end = t_ + last + o + 1;
    while (p < end) {
      p = a.paired ? FindPairAnchor(p, end, t_ + n_, a.singles, a.singleCount, a.lead, a.trails)
                   : scan::FindAny4(p, end, v[0], v[1], v[2], v[3]);
      if (p == end) break;
      if (TScanOutcome m = TryAt(p - t_ - o); Decisive(m)) return m;
      ++p;
    }
    return {};
  }

  // The candidate at c: a match, no match, or undecided when the comparison reaches the last
  // byte of a buffer that the text continues beyond (the last byte may be a lead byte, a
  // half-width katakana before its voiced mark, or the end of a word).
  TScanOutcome TryAt(int64_t c) {
    if (IsTrail(c)) return {};
    const TSearchOptions options = p_.options_;
    if ((options & opt::kWholeWord) && !IsWordStart(c)) return {};
    const bool skipBreaks = (options & opt::kSkipLineBreaks) != 0;
    const bool skipBlanks = (options & opt::kSkipBlanks) != 0;
    const TScanOutcome undecided{std::nullopt, c};
    const size_t m = p_.chars_.size();
    int64_t i = c;
    size_t k = 0;
    while (k < m) {
      if (more_ && i + 1 >= n_) return undecided;
      if (i >= n_) return {};
      TextChar tc = ReadChar(t_, i, n_, options);
      if (tc.code == p_.chars_[k]) {
        i += tc.length;
        ++k;
        continue;
      }
      if (k == 0) return {};
      uint8_t b = t_[i];
      if (skipBreaks && (b == kCr || b == kLf)) {
        ++i;
        continue;
      }
      if (skipBlanks && (b == '\t' || b == ' ')) {
        ++i;
        continue;
      }
      if (skipBlanks && b == sjis::kFullWidthBlankLead && i + 1 < n_ &&
          t_[i + 1] == sjis::kFullWidthBlankTrail) {
        i += 2;
        continue;
      }
      return {};
    }
    if (options & opt::kWholeWord) {
      if (more_ && i >= n_) return undecided;
      if (i < n_ && !kDelimiter[t_[i]]) return {};
    }
    return {TFoundText{c, i - c}, -1};
  }

  const TSearchPattern& p_;
  const uint8_t* t_;
  int64_t n_;
  bool more_;             // the text goes on after the buffer
  int64_t runStart_ = 0;  // a character boundary; bytes [runStart_, runEnd_) are lead-range
  int64_t runEnd_ = 0;
};

TSearchPattern::TSearchPattern(std::string_view pattern, TSearchOptions options)
    : options_(options) {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(pattern.data());
  const int64_t n = static_cast<int64_t>(pattern.size());
  std::vector<int> lengths;  // bytes of each prepared character without option 8
  for (int64_t i = 0; i < n;) {
    TextChar c = ReadChar(p, i, n, options);
    chars_.push_back(c.code);
    i += c.length;
  }
  for (CharCode c : chars_) lengths.push_back(c >= 0x100 ? 2 : 1);
  for (int len : lengths) byteLength_ += len;
  const bool fullHalf = (options & opt::kFullHalf) != 0;
  minMatchBytes_ = fullHalf ? static_cast<int64_t>(chars_.size()) : byteLength_;
  if (chars_.empty()) return;

  // Text bytes that can stand at byte `offset` of a text character matching `code`.
  auto variants = [&](CharCode code, int offset) {
    std::vector<uint8_t> out;
    for (int b = 0; b < 256; ++b) {
      uint8_t one[2] = {static_cast<uint8_t>(b), 0};
      bool ok = false;
      if (!sjis::IsLeadByte(static_cast<uint8_t>(b)) || offset == 1) {
        // single bytes (and, with option 8, a half-width katakana with a mark)
        if (offset == 0 && ReadChar(one, 0, 1, options).code == code) ok = true;
        for (uint8_t mark : {uint8_t{0xDE}, uint8_t{0xDF}}) {
          uint8_t two[2] = {static_cast<uint8_t>(b), mark};
          TextChar tc = ReadChar(two, 0, 2, options);
          if (offset == 0 && tc.length == 2 && tc.code == code && !sjis::IsLeadByte(two[0]))
            ok = true;
        }
      }
      if (code >= 0x100) {
        uint8_t lead = static_cast<uint8_t>(code >> 8);
        if (offset == 0 && b == lead) ok = true;
        if (offset == 1) {
          uint8_t two[2] = {lead, static_cast<uint8_t>(b)};
          ok = ok || ReadChar(two, 0, 2, options).code == code;
        }
      }
      if (ok) out.push_back(static_cast<uint8_t>(b));
    }
    return out;
  };

  // Fixed byte offsets hold for every pattern character only when text characters match
  // pattern characters of the same length and nothing is skipped; else anchor on the first.
  const bool fixedOffsets = !fullHalf && (options & (opt::kSkipLineBreaks | opt::kSkipBlanks)) == 0;
  const size_t anchorChars = fixedOffsets ? chars_.size() : 1;
  int best = 1 << 30;
  int offset = 0;
  for (size_t k = 0; k < anchorChars; ++k) {
    int within = (chars_[k] >= 0x100 && !fullHalf) ? 2 : 1;
    for (int j = 0; j < within; ++j, ++offset) {
      std::vector<uint8_t> v = variants(chars_[k], j);
      if (v.empty() || v.size() > 4) continue;
      int score = 0;
      for (uint8_t b : v) score += Rarity(b);
      if (score < best) {
        best = score;
        anchor_.usable = true;
        anchor_.offset = offset;
        for (size_t x = 0; x < 4; ++x) anchor_.bytes[x] = v[std::min(x, v.size() - 1)];
      }
    }
  }
  // A lead byte among the anchor bytes is common in Japanese text; where the anchor is the
  // first byte of a double-byte pattern character, also require its trail forward.
  if (anchor_.usable && anchor_.offset == 0 && chars_[0] >= 0x100) {
    const uint8_t lead = static_cast<uint8_t>(chars_[0] >> 8);
    std::vector<uint8_t> singles;
    bool hasLead = false;
    for (size_t x = 0; x < 4; ++x) {
      uint8_t b = anchor_.bytes[x];
      if (b == lead)
        hasLead = true;
      else if (std::find(singles.begin(), singles.end(), b) == singles.end())
        singles.push_back(b);
    }
    std::vector<uint8_t> trails = variants(chars_[0], 1);
    if (!fullHalf) trails.clear();  // without option 8 the trail is anchored on its own
    if (hasLead && !trails.empty() && trails.size() <= 2 && singles.size() <= 3) {
      anchor_.paired = true;
      anchor_.lead = lead;
      for (size_t x = 0; x < 2; ++x) anchor_.trails[x] = trails[std::min(x, trails.size() - 1)];
      anchor_.singleCount = static_cast<int>(singles.size());
      for (size_t x = 0; x < singles.size(); ++x) anchor_.singles[x] = singles[x];
      for (size_t x = singles.size(); x < 3 && !singles.empty(); ++x)
        anchor_.singles[x] = singles[0];
    }
  }
}

std::optional<TFoundText> TSearchPattern::Find(std::string_view text, int64_t start,
                                               int64_t previousLength) const {
  const int64_t n = static_cast<int64_t>(text.size());
  if (chars_.empty() || n == 0 || start < 0 || start > n || previousLength < 0) return std::nullopt;
  if (options_ & opt::kForward)
    return ScanForward(text, start + previousLength, TextEnd::Final).found;
  return ScanBackward(text, FirstBackwardCandidate(text, start), 0, TextEnd::Final).found;
}

TScanOutcome TSearchPattern::ScanForward(std::string_view text, int64_t first, TextEnd end) const {
  if (chars_.empty() || first < 0) return {};
  return MatchScanner(*this, text, end).Forward(first);
}

int64_t TSearchPattern::ScanForwardEach(std::string_view text, int64_t first, TextEnd end,
                                        const std::function<void(const TFoundText&)>& visit) const {
  if (chars_.empty() || first < 0) return -1;
  MatchScanner scanner(*this, text, end);  // one scanner keeps its boundary knowledge
  for (;;) {
    const TScanOutcome o = scanner.Forward(first);
    if (!o.found) return o.undecided;
    visit(*o.found);
    first = o.found->position + o.found->length;
  }
}

TScanOutcome TSearchPattern::ScanBackward(std::string_view text, int64_t first, int64_t lowest,
                                          TextEnd end) const {
  if (chars_.empty() || first < 0) return {};
  return MatchScanner(*this, text, end).Backward(first, lowest);
}

int64_t TSearchPattern::FirstBackwardCandidate(std::string_view text, int64_t start) const {
  if (options_ & opt::kFullHalf)
    return MatchScanner(*this, text).StepBackChars(start, chars_.size());
  return start - byteLength_;
}

std::optional<TFoundText> FindInText(std::string_view text, int64_t start, int64_t previousLength,
                                     std::string_view pattern, TSearchOptions options) {
  return TSearchPattern(pattern, options).Find(text, start, previousLength);
}

}  // namespace tessary
