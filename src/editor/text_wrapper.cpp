// Column codes, display widths and the wrapping of texts into row lists.
#include "editor/text_wrapper.h"

#include <algorithm>

#include "base/byte_scan.h"
#include "base/sjis.h"
#include "editor/row_attribute_string_list.h"

namespace tessary {
namespace {

constexpr size_t kUnwrappedColumnLimit = 1000;

}  // namespace

std::bitset<256> DefaultWordDelimiters() {
  std::bitset<256> d;
  auto range = [&](int a, int b) {
    for (int c = a; c <= b; ++c) d.set(c);
  };
  range(0x00, 0x2F);
  range(0x3A, 0x40);
  range(0x5B, 0x5E);
  range(0x60, 0x60);
  range(0x7B, 0x80);
  range(0xA0, 0xA5);
  range(0xFD, 0xFF);
  return d;
}

TextWrapper::TextWrapper(const TEditorWrapOption& option, int32_t tabSpaceCount, WordWrapMode mode,
                         const std::bitset<256>& delimiters)
    : mode_(mode),
      wrap_byte_(option.WrapByte()),
      tab_(std::max(1, tabSpaceCount)),
      follow_ret_mark_(option.FollowRetMark()),
      follow_punctuation_(option.FollowPunctuation()),
      leading_(option.Leading()),
      word_break_(option.WordBreak()),
      delimiters_(delimiters),
      follow_(MakeSet(option.FollowStr())),
      lead_(MakeSet(option.LeadStr())),
      punctuation_(MakeSet(option.PunctuationStr())) {}

std::unique_ptr<TextWrapper::CharSet> TextWrapper::MakeSet(const std::string& chars) {
  auto set = std::make_unique<CharSet>();
  for (size_t i = 0; i < chars.size(); ++i) {
    const auto b = static_cast<uint8_t>(chars[i]);
    if (sjis::IsLeadByte(b) && i + 1 < chars.size()) {
      set->set((size_t{b} << 8) | static_cast<uint8_t>(chars[i + 1]));
      ++i;
    } else {
      set->set(b);
    }
  }
  return set;
}

bool TextWrapper::In(const std::unique_ptr<CharSet>& set, std::string_view ch) {
  if (ch.size() == 1) return set->test(static_cast<uint8_t>(ch[0]));
  if (ch.size() == 2)
    return set->test((size_t{static_cast<uint8_t>(ch[0])} << 8) | static_cast<uint8_t>(ch[1]));
  return false;
}

// Codes of padding after a tab that stands in column `columnsSoFar` (1-based, the tab's own).
int32_t TextWrapper::TabPad(int32_t columnsSoFar) const {
  int32_t pad = tab_ - (columnsSoFar - 1) % tab_ - 1;
  if (WordWrap()) pad = std::min(pad, wrap_byte_ - (columnsSoFar - 1) % wrap_byte_ - 1);
  return pad;
}

void TextWrapper::ColumnAttributesInto(std::string_view text, std::string& out) const {
  const size_t limit = WordWrap() ? static_cast<size_t>(wrap_byte_) + 3 : kUnwrappedColumnLimit;
  out.clear();
  const size_t n = text.size();
  for (size_t i = 0; i < n && out.size() < limit; ++i) {
    const auto c = static_cast<uint8_t>(text[i]);
    if (sjis::IsLeadByte(c) && i + 1 < n) {
      out.push_back(column_code::kLead);
      out.push_back(column_code::kTrail);
      ++i;
    } else if (c == '\t') {
      out.push_back(column_code::kDelimiter);
      out.append(static_cast<size_t>(TabPad(static_cast<int32_t>(out.size()))),
                 column_code::kTabPad);
    } else {
      out.push_back(delimiters_.test(c) ? column_code::kDelimiter : column_code::kSingle);
    }
  }
  if (out.size() > limit) out.resize(limit);
}

std::string TextWrapper::ColumnAttributes(std::string_view text) const {
  std::string out;
  ColumnAttributesInto(text, out);
  return out;
}

int32_t TextWrapper::DisplayWidth(std::string_view text) const {
  if (text.find('\t') == std::string_view::npos) return static_cast<int32_t>(text.size());
  int32_t w = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<uint8_t>(text[i]);
    if (sjis::IsLeadByte(c) && i + 1 < text.size()) {
      w += 2;
      ++i;
    } else if (c == '\t') {
      int32_t step = tab_ - w % tab_;
      if (WordWrap()) step = std::min(step, wrap_byte_ - w % wrap_byte_);
      w += step;
    } else {
      ++w;
    }
  }
  return w;
}

std::string TextWrapper::ExpandTabs(std::string_view text) const {
  if (text.find('\t') == std::string_view::npos) return std::string(text);
  std::string out;
  int32_t w = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<uint8_t>(text[i]);
    if (sjis::IsLeadByte(c) && i + 1 < text.size()) {
      out.append(text.substr(i, 2));
      w += 2;
      ++i;
    } else if (c == '\t') {
      int32_t step = tab_ - w % tab_;
      if (WordWrap()) step = std::min(step, wrap_byte_ - w % wrap_byte_);
      out.append(static_cast<size_t>(step), ' ');
      w += step;
    } else {
      out.push_back(static_cast<char>(c));
      ++w;
    }
  }
  return out;
}

size_t TextWrapper::NextRow(std::string_view rest, std::string& scratch, bool& fits) const {
  fits = false;
  if (!WordWrap()) {
    fits = true;
    return rest.size();
  }
  const size_t width = static_cast<size_t>(wrap_byte_);
  const std::string_view head = rest.substr(0, width + kRowLookahead);
  if (!follow_punctuation_ && !leading_ && !word_break_ &&
      head.find('\t') == std::string_view::npos) {
    // Without tabs and the optional rules, columns are bytes and the only rule is that a
    // double-byte character does not straddle the edge: the same cuts as the column codes give.
    if (rest.size() < width) {
      fits = true;
      return rest.size();
    }
    return width < rest.size() && StartsDoubleByte(rest, width - 1) ? width - 1 : width;
  }
  ColumnAttributesInto(rest, scratch);  // at most WrapByte + 3 codes
  const int32_t w = wrap_byte_;
  if (static_cast<int32_t>(scratch.size()) < w) {
    fits = true;
    return rest.size();
  }
  using namespace column_code;
  TEditorAttributeArray cur;
  cur.Reset(rest, scratch);
  cur.MoveTo(w);
  const int32_t lead_floor = (w / 5) * 4;
  if (cur.Code() == kLead) {
    cur.StepBack();  // a double-byte character would straddle the edge: it moves down
  } else if (word_break_ && cur.ColumnCount() > w) {
    auto boundary = [&] {
      return cur.Code() == kDelimiter || cur.Code() == kTabPad || cur.Code() == kTrail;
    };
    while (!boundary() && cur.Column() > w / 3) cur.StepBackChar();
    // No word boundary in the last two thirds of the row: the word is cut at the edge rather
    // than leaving a row a third wide.
    if (!boundary()) {
      cur.MoveTo(w);
      if (cur.Code() == kLead) cur.StepBack();
    }
  }
  if (follow_punctuation_) {
    while (cur.Column() < w + 2 && IsPunctuation(cur.NextChar())) {
      cur.StepForward();
      if (cur.Code() == kLead) cur.StepForward();
    }
  }
  if (leading_ && cur.Column() < cur.ColumnCount()) {
    while (cur.Column() > lead_floor && IsLead(cur.CurrentChar())) cur.StepBackChar();
    if (cur.ColumnCount() - cur.Column() >= 2 && IsFollow(cur.NextChar())) {
      while (cur.Column() > lead_floor && (IsLead(cur.CurrentChar()) || IsFollow(cur.NextChar())))
        cur.StepBackChar();
    }
  }
  if (cur.Code() == kLead) cur.StepBack();  // never cut between the bytes of a character
  return std::clamp<size_t>(static_cast<size_t>(cur.ByteCount()), 1, rest.size());
}

int32_t TextWrapper::CountWrappedRows(std::string_view line) const {
  std::string scratch;
  int32_t n = 0;
  WrapLine(line, scratch, [&](std::string_view, RowEnd) { ++n; });
  return n;
}

void TextWrapper::WrapText(std::string_view text, TEditorStringList& rows) const {
  std::string scratch;
  auto emit = [&](std::string_view row, RowEnd end) {
    rows.AppendRow(row, static_cast<uint32_t>(end), 0);
  };
  if (text.empty()) {
    emit({}, RowEnd::RowEndsLine);
    return;
  }
  // Line ends found by a vector scan: find_first_of calls memchr on its set for each byte.
  const auto* t = reinterpret_cast<const uint8_t*>(text.data());
  const uint8_t* end = t + text.size();
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t e = static_cast<size_t>(scan::FindAny4(t + pos, end, '\r', '\n', '\r', '\n') - t);
    WrapLine(text.substr(pos, e - pos), scratch, emit);
    if (e == text.size()) break;
    pos = e + ((text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n') ? 2 : 1);
  }
}

}  // namespace tessary
