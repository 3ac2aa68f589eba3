// Screen rows of a text as the document wraps them, for the targets that work on rows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/row_attribute_string_list.h"
#include "editor/text_wrapper.h"

namespace tessary::fuzz {

struct Row {
  std::string text;
  RowEnd end;
};

inline std::vector<Row> WrapRows(const TextWrapper& wrapper, std::string_view text) {
  TEditorStringList list;
  wrapper.WrapText(text, list);
  std::vector<Row> rows;
  rows.reserve(static_cast<size_t>(list.Count()));
  for (int32_t i = 0; i < list.Count(); ++i) rows.push_back({list.Get(i), list.GetRowAttribute(i)});
  return rows;
}

// A wrapper from two option bytes: word wrap and its four rules, the row width and tab width.
inline TextWrapper WrapperFrom(uint8_t flags, uint8_t width, uint8_t tab) {
  TEditorWrapOption option;
  option.SetFollowRetMark(flags & 0x02);
  option.SetFollowPunctuation(flags & 0x04);
  option.SetLeading(flags & 0x08);
  option.SetWordBreak(flags & 0x10);
  option.SetWrapByte(kMinWrapByte + width % (kMaxWrapByte - kMinWrapByte + 1));
  const WordWrapMode mode = (flags & 0x01) ? WordWrapMode::On : WordWrapMode::Off;
  return TextWrapper(option, 1 + tab % 16, mode);
}

}  // namespace tessary::fuzz
